#include "call_checks.h"

#include <cmath>
#include <cstring>

#include "game/natives.h"
#include "settings/settings.h"

namespace vantor_fuzz {

namespace {

constexpr int32_t MaxColour = 255;
// The menu's figure as the plugin draws it: the selected row's bar in its colour, centred on
// row i at i * RowSpacing + FirstRowCentre.
constexpr int32_t MenuRowCount = 10;
constexpr float FirstRowCentre = 0.358f;
constexpr float RowSpacing = 0.032f;
constexpr int32_t RowBarColour[4] = {255, 185, 60, 235};
// The notices of a save, as the menu posts them.
constexpr const char* SavedNotice = "Vantor: settings saved";
constexpr const char* SaveFailedNotice = "Vantor: settings could not be saved";

bool IsCameraCall(uint64_t hash) {
  return hash == vantor::SetCameraNearClipHash || hash == vantor::SetCameraFarClipHash ||
         hash == vantor::SetCameraActiveHash || hash == vantor::SetCameraPositionHash ||
         hash == vantor::SetCameraRotationHash || hash == vantor::SetCameraFovHash;
}

// Natives whose first argument is an entity: the player or a vehicle.
bool IsEntityCall(uint64_t hash) {
  switch (hash) {
    case vantor::DoesEntityExistHash:
    case vantor::IsEntityDeadHash:
    case vantor::IsPedInAnyVehicleHash:
    case vantor::GetVehiclePedIsInHash:
    case vantor::GetEntityCoordsHash:
    case vantor::GetEntityRotationHash:
    case vantor::GetEntitySpeedHash:
    case vantor::GetVehicleMaxPassengersHash:
    case vantor::GetPedInVehicleSeatHash:
    case vantor::GetVehicleClassHash:
    case vantor::GetEntityBoneIndexByNameHash:
    case vantor::GetWorldPositionOfEntityBoneHash:
    case vantor::GetOffsetFromEntityGivenWorldCoordsHash:
    case vantor::GetOffsetFromEntityInWorldCoordsHash:
    case vantor::SetPedResetFlagHash: return true;
    default: return false;
  }
}

bool Answered(const CallChecks& checks, int32_t handle) {
  for (int i = 0; i < checks.entityCount; ++i)
    if (checks.entities[i] == handle) return true;
  return false;
}

bool OnScreen(float value) { return value >= 0.0f && value <= 1.0f; }
bool IsColour(int32_t value) { return value >= 0 && value <= MaxColour; }
bool FovWithin(float fov) { return fov >= vantor::FovMin && fov <= vantor::FovMax; }

std::size_t textBytes = 0;  // the texts' lengths, summed so that reading them is kept

// Count, zero upper halves of 32-bit values, booleans 0 or 1, texts present.
const char* CheckWidths(const sim::NativeEntry& native, const sim::CallArguments& arguments) {
  if (arguments.count != static_cast<int>(std::strlen(native.arguments))) return "wrong number of arguments";
  for (int i = 0; i < arguments.count; ++i) {
    const uint64_t slot = arguments.slots[i];
    switch (native.arguments[i]) {
      case 'i':
      case 'f':
        if (slot >> 32 != 0) return "a 32-bit argument with a non-zero upper half";
        break;
      case 'b':
        if (slot > 1) return "a boolean other than 0 or 1";
        break;
      case 's':
        if (slot == 0) return "a null text";
        // Read to its end: AddressSanitizer stops a text that runs off its memory.
        textBytes += std::strlen(arguments.Text(i));
        break;
    }
  }
  return nullptr;
}

const char* CheckFloats(const CallChecks& checks, const sim::NativeEntry& native, const sim::CallArguments& arguments) {
  if (checks.tainted) return nullptr;
  for (int i = 0; i < arguments.count; ++i)
    if (native.arguments[i] == 'f' && !std::isfinite(arguments.Float(i)))
      return "a float not finite, with every float the game answered in this pass finite";
  return nullptr;
}

const char* CheckCamera(CallChecks& checks, uint64_t hash, const sim::CallArguments& arguments) {
  if (hash == vantor::CreateCameraWithParamsHash) {
    if (checks.cameraCreated) return "a second camera";
    if (!FovWithin(arguments.Float(7))) return "a field of view out of bounds";
    if (arguments.Int(9) != vantor::RotationOrder) return "another rotation order";
    return nullptr;
  }
  if (!IsCameraCall(hash)) return nullptr;
  if (!checks.cameraCreated || arguments.Int(0) != checks.camera) return "a camera other than the one created";
  if (hash == vantor::SetCameraFovHash && !FovWithin(arguments.Float(1))) return "a field of view out of bounds";
  if (hash == vantor::SetCameraRotationHash && arguments.Int(4) != vantor::RotationOrder)
    return "another rotation order";
  return nullptr;
}

const char* CheckEntities(const CallChecks& checks, uint64_t hash, const sim::CallArguments& arguments) {
  if (!IsEntityCall(hash)) return nullptr;
  if (!Answered(checks, arguments.Int(0))) return "an entity the game did not answer in this pass";
  if (hash == vantor::GetWorldPositionOfEntityBoneHash && (!checks.boneAnswered || arguments.Int(1) != checks.bone))
    return "a bone the game did not answer in this pass";
  if (hash == vantor::GetEntityRotationHash && arguments.Int(1) != vantor::RotationOrder)
    return "another rotation order";
  return nullptr;
}

const char* CheckRect(const sim::CallArguments& arguments) {
  for (int i = 0; i < 4; ++i)
    if (!OnScreen(arguments.Float(i))) return "a rectangle off the screen";
  bool bar = true;
  for (int i = 0; i < 4; ++i) {
    if (!IsColour(arguments.Int(4 + i))) return "a colour out of range";
    bar = bar && arguments.Int(4 + i) == RowBarColour[i];
  }
  if (!bar) return nullptr;
  for (int32_t row = 0; row < MenuRowCount; ++row) {
    // Two statements, as the plugin rounds them: a fused multiply-add rounds once.
    const float offset = static_cast<float>(row) * RowSpacing;
    if (arguments.Float(1) == offset + FirstRowCentre) return nullptr;
  }
  return "the menu's bar on no row of the menu";
}

// Texts: setters, begin, components, end, all in one pass; feed posts the same way.
const char* CheckScreen(CallChecks& checks, uint64_t hash, const sim::CallArguments& arguments) {
  switch (hash) {
    case vantor::DrawRectHash: return CheckRect(arguments);
    case vantor::SetTextColourHash:
      for (int i = 0; i < 4; ++i)
        if (!IsColour(arguments.Int(i))) return "a colour out of range";
      return nullptr;
    case vantor::BeginTextDisplayHash:
    case vantor::BeginFeedPostHash:
      if (checks.textOpen || checks.feedOpen) return "a text begun inside another";
      (hash == vantor::BeginFeedPostHash ? checks.feedOpen : checks.textOpen) = true;
      return nullptr;
    case vantor::AddTextComponentStringHash:
      if (!checks.textOpen && !checks.feedOpen) return "a text component outside a text";
      if (checks.feedOpen && std::strcmp(arguments.Text(0), SavedNotice) == 0) checks.notice = SaveNotice::Saved;
      if (checks.feedOpen && std::strcmp(arguments.Text(0), SaveFailedNotice) == 0) checks.notice = SaveNotice::Failed;
      return nullptr;
    case vantor::EndTextDisplayHash:
      if (!checks.textOpen) return "a text ended that was not begun";
      if (!OnScreen(arguments.Float(0)) || !OnScreen(arguments.Float(1))) return "a text off the screen";
      checks.textOpen = false;
      return nullptr;
    case vantor::EndFeedPostTickerHash:
      if (!checks.feedOpen) return "a feed post ended that was not begun";
      checks.feedOpen = false;
      return nullptr;
    default: return nullptr;
  }
}

}  // namespace

void BeginAttachChecks(CallChecks& checks) { checks = CallChecks{}; }

void BeginPassChecks(CallChecks& checks) {
  const bool created = checks.cameraCreated;
  const int32_t camera = checks.camera;
  checks = CallChecks{};
  checks.cameraCreated = created;
  checks.camera = camera;
}

const char* CheckCall(CallChecks& checks, int index, const sim::CallArguments& arguments) {
  const sim::NativeEntry& native = sim::NativeAt(index);
  for (const char* problem : {CheckWidths(native, arguments), CheckFloats(checks, native, arguments)})
    if (problem != nullptr) return problem;
  for (const char* problem : {CheckCamera(checks, native.hash, arguments), CheckEntities(checks, native.hash, arguments),
                              CheckScreen(checks, native.hash, arguments)})
    if (problem != nullptr) return problem;
  return nullptr;
}

void NoteAnswer(CallChecks& checks, int index, const sim::CallResult& result) {
  const sim::NativeEntry& native = sim::NativeAt(index);
  switch (native.hash) {
    case vantor::CreateCameraWithParamsHash:
      checks.cameraCreated = true;
      checks.camera = sim::ResultAsInt(result);
      break;
    case vantor::PlayerPedIdHash:
    case vantor::GetVehiclePedIsInHash:
      if (checks.entityCount < static_cast<int>(std::size(checks.entities)))
        checks.entities[checks.entityCount++] = sim::ResultAsInt(result);
      break;
    case vantor::GetEntityBoneIndexByNameHash:
      checks.boneAnswered = true;
      checks.bone = sim::ResultAsInt(result);
      break;
    default: break;
  }
  if (native.result == 'f' && !std::isfinite(sim::ResultAsFloat(result))) checks.tainted = true;
  if (native.result == 'v' && !sim::IsFinite(sim::ResultAsVector(result))) checks.tainted = true;
}

const char* CheckPassEnd(const CallChecks& checks) {
  if (checks.textOpen || checks.feedOpen) return "a text or feed post left open at the end of the pass";
  return nullptr;
}

}  // namespace vantor_fuzz
