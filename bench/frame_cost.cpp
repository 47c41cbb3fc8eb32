// The plugin's own cost per pass: the frame loop's pass runs against stub natives that only
// hand back fixed answers, so what is measured is the plugin and the C library calls it makes.
// Prints native calls and heap allocations per pass; run under callgrind (frame_cost.sh) for
// instructions per pass.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "game/natives.h"
#include "host/script.h"

namespace {

enum class Scene { Idle, Active, MenuOpen };

Scene scene = Scene::Idle;
bool f6Down = false;
int32_t gameTimer = 100000;
uint64_t nativeCalls = 0;
uint64_t allocations = 0;
uint64_t currentHash = 0;
uint64_t result[3];

constexpr int32_t Player = 1;
constexpr int32_t Vehicle = 2;
constexpr int32_t Camera = 3;

uint64_t FloatSlot(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
void AnswerInt(int32_t value) { result[0] = static_cast<uint32_t>(value); }
void AnswerFloat(float value) { result[0] = FloatSlot(value); }
void AnswerVector(float x, float y, float z) {
  result[0] = FloatSlot(x);
  result[1] = FloatSlot(y);
  result[2] = FloatSlot(z);
}

void Answer(uint64_t hash) {
  const bool inVehicle = scene != Scene::Idle;
  switch (hash) {
    case vantor::CreateCameraWithParamsHash: AnswerInt(Camera); break;
    case vantor::PlayerPedIdHash: AnswerInt(Player); break;
    case vantor::DoesEntityExistHash: AnswerInt(1); break;
    case vantor::IsEntityDeadHash: AnswerInt(0); break;
    case vantor::IsPedInAnyVehicleHash: AnswerInt(inVehicle ? 1 : 0); break;
    case vantor::GetVehiclePedIsInHash: AnswerInt(Vehicle); break;
    case vantor::IsGameplayCameraRenderingHash: AnswerInt(0); break;
    case vantor::GetVehicleMaxPassengersHash: AnswerInt(4); break;
    case vantor::GetPedInVehicleSeatHash: AnswerInt(Player); break;
    case vantor::GetVehicleClassHash: AnswerInt(0); break;
    case vantor::GetEntitySpeedHash: AnswerFloat(20.0f); break;
    case vantor::GetEntityBoneIndexByNameHash: AnswerInt(5); break;
    case vantor::GetGameTimerHash: AnswerInt(gameTimer); break;
    case vantor::GetDisabledControlNormalHash: AnswerFloat(0.0f); break;
    case vantor::GetEntityRotationHash: AnswerVector(1.0f, 2.0f, 30.0f); break;
    case vantor::GetEntityCoordsHash:
    case vantor::GetWorldPositionOfEntityBoneHash:
    case vantor::GetOffsetFromEntityGivenWorldCoordsHash:
    case vantor::GetOffsetFromEntityInWorldCoordsHash: AnswerVector(0.5f, 1.0f, 1.5f); break;
    default: AnswerInt(0); break;
  }
}

}  // namespace

// Counted allocations: any pass but a Save must make none.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  std::abort();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

extern "C" {
void nativeInit(uint64_t hash) {
  ++nativeCalls;
  currentHash = hash;
}
void nativePush64(uint64_t) {}
uint64_t* nativeCall() {
  Answer(currentHash);
  return result;
}
void scriptRegister(void*, void (*)()) {}
void scriptUnregister(void*) {}
void scriptWait(uint32_t) {}
int16_t GetAsyncKeyState(int32_t key) { return key == 0x75 && f6Down ? static_cast<int16_t>(0x8000) : 0; }
}

namespace {

// Passes are measured only inside this function, so callgrind can be told to count it alone.
__attribute__((noinline)) void MeasuredPasses(vantor::Settings& settings, vantor::MenuState& menu,
                                              vantor::CameraRig& rig, int passes) {
  for (int i = 0; i < passes; ++i) {
    vantor::RunFramePass(settings, menu, rig);
    gameTimer += 16;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* name = argc > 1 ? argv[1] : "idle";
  const int passes = argc > 2 ? std::atoi(argv[2]) : 1000;
  scene = std::strcmp(name, "active") == 0 ? Scene::Active
          : std::strcmp(name, "menu") == 0 ? Scene::MenuOpen
                                           : Scene::Idle;
  vantor::Settings settings;
  vantor::MenuState menu;
  vantor::CameraRig rig;
  vantor::StartScript(settings, menu, rig);
  // Settle into the scene: activation and opening the menu happen before measuring.
  f6Down = scene == Scene::MenuOpen;
  vantor::RunFramePass(settings, menu, rig);
  f6Down = false;
  vantor::RunFramePass(settings, menu, rig);

  const uint64_t callsBefore = nativeCalls;
  const uint64_t allocationsBefore = allocations;
  MeasuredPasses(settings, menu, rig, passes);
  std::printf("%-6s passes %d: native calls per pass %.1f, heap allocations per pass %.3f, camera %s, menu %s\n",
              name, passes, static_cast<double>(nativeCalls - callsBefore) / passes,
              static_cast<double>(allocations - allocationsBefore) / passes, rig.active ? "active" : "inactive",
              menu.open ? "open" : "closed");
  return 0;
}
