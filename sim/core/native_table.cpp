#include "sim/core/native_table.h"

#include <cstring>

#include "sim/core/float_bits.h"
#include "sim/core/native_answers.h"

namespace sim {

namespace {

// The hashes are written out here on their own, apart from the plugin's, so a misspelt one
// on either side shows up as an unknown native.
const NativeEntry Natives[] = {
    {0xB51194800B257161, "CreateCameraWithParams", "sfffffffii", 'i', answers::CreateCameraWithParams},
    {0xC7848EFCCC545182, "SetCameraNearClip", "if", 'n', answers::SetCameraNearClip},
    {0xAE306F2A904BF86E, "SetCameraFarClip", "if", 'n', answers::SetCameraFarClip},
    {0x026FB97D0A425F84, "SetCameraActive", "ib", 'n', answers::SetCameraActive},
    {0x07E5B515DB0636FC, "RenderScriptCameras", "iiiii", 'n', answers::RenderScriptCameras},
    {0x4D41783FB745E42E, "SetCameraPosition", "ifff", 'n', answers::SetCameraPosition},
    {0x85973643155D0B07, "SetCameraRotation", "ifffi", 'n', answers::SetCameraRotation},
    {0xB13C14F66A00D047, "SetCameraFov", "if", 'n', answers::SetCameraFov},
    {0xAC253D7842768F48, "SetVehicleCameraViewMode", "i", 'n', answers::SetVehicleCameraViewMode},
    {0x39B5D1B10383F0C8, "IsGameplayCameraRendering", "", 'b', answers::IsGameplayCameraRendering},
    {0xD80958FC74E988A6, "PlayerPedId", "", 'i', answers::PlayerPedId},
    {0x7239B21A38F536BA, "DoesEntityExist", "i", 'b', answers::DoesEntityExist},
    {0x5F9532F3B5CC2551, "IsEntityDead", "i", 'b', answers::IsEntityDead},
    {0x997ABD671D25CA0B, "IsPedInAnyVehicle", "ib", 'b', answers::IsPedInAnyVehicle},
    {0x9A9112A0FE9A4713, "GetVehiclePedIsIn", "ib", 'i', answers::GetVehiclePedIsIn},
    {0x3FEF770D40960D5A, "GetEntityCoords", "ib", 'v', answers::GetEntityCoords},
    {0xAFBD61CC738D9EB9, "GetEntityRotation", "ii", 'v', answers::GetEntityRotation},
    {0xD5037BA82E12416F, "GetEntitySpeed", "i", 'f', answers::GetEntitySpeed},
    {0xA7C4F2C6E744A550, "GetVehicleMaxPassengers", "i", 'i', answers::GetVehicleMaxPassengers},
    {0xBB40DD2270B65366, "GetPedInVehicleSeat", "ii", 'i', answers::GetPedInVehicleSeat},
    {0x29439776AAA00A62, "GetVehicleClass", "i", 'i', answers::GetVehicleClass},
    {0xFB71170B7E76ACBA, "GetEntityBoneIndexByName", "is", 'i', answers::GetEntityBoneIndexByName},
    {0x44A8FCB8ED227738, "GetWorldPositionOfEntityBone", "ii", 'v', answers::GetWorldPositionOfEntityBone},
    {0x2274BC1C4885E333, "GetOffsetFromEntityGivenWorldCoords", "ifff", 'v',
     answers::GetOffsetFromEntityGivenWorldCoords},
    {0x1899F328B0E12848, "GetOffsetFromEntityInWorldCoords", "ifff", 'v', answers::GetOffsetFromEntityInWorldCoords},
    {0xC1E8A365BF3B29F2, "SetPedResetFlag", "iib", 'n', answers::SetPedResetFlag},
    {0x9CD27B0045628463, "GetGameTimer", "", 'i', answers::GetGameTimer},
    {0x11E65974A982637C, "GetDisabledControlNormal", "ii", 'f', answers::GetDisabledControlNormal},
    {0x3A618A217E5154F0, "DrawRect", "ffffiiii", 'n', answers::DrawRect},
    {0x66E0276CC5F6B9DA, "SetTextFont", "i", 'n', answers::SetTextFont},
    {0x07C837F9A01C34C9, "SetTextScale", "ff", 'n', answers::SetTextScale},
    {0xBE6B23FFA53FB442, "SetTextColour", "iiii", 'n', answers::SetTextColour},
    {0xC02F4DBFB51D988B, "SetTextCentre", "b", 'n', answers::SetTextCentre},
    {0x465C84BC39F1C351, "SetTextDropShadow", "iiiii", 'n', answers::SetTextDropShadow},
    {0x441603240D202FA6, "SetTextEdge", "iiiii", 'n', answers::SetTextEdge},
    {0x25FBB336DF1804CB, "BeginTextDisplay", "s", 'n', answers::BeginTextDisplay},
    {0x6C188BE134E074AA, "AddTextComponentString", "s", 'n', answers::AddTextComponentString},
    {0xCD015E5BB0D96A57, "EndTextDisplay", "ff", 'n', answers::EndTextDisplay},
    {0x202709F4C58A0424, "BeginFeedPost", "s", 'n', answers::BeginFeedPost},
    {0x2ED7843F8F801023, "EndFeedPostTicker", "bb", 'n', answers::EndFeedPostTicker},
    // The host's own functions: traced with the same printer, never dispatched by hash.
    {0, "DllMain", "ii", 'n', nullptr},
    {0, "scriptRegister", "i", 'n', nullptr},
    {0, "scriptUnregister", "i", 'n', nullptr},
    {0, "scriptWait", "i", 'n', nullptr},
    {0, "GetAsyncKeyState", "i", 'k', nullptr},
};

constexpr int TableSize = static_cast<int>(sizeof Natives / sizeof Natives[0]);
constexpr int FirstHostCall = TableSize - static_cast<int>(HostCall::Count);

void Fault(World& world, const NativeEntry& native, const char* what, int argument) {
  ReportFault(world, std::string(native.name) + ": " + what + " (argument " + std::to_string(argument + 1) + ")");
}

// A float fills a slot's low half; a result's high half keeps the filler, as the game leaves it.
uint64_t FloatSlot(float value) { return (static_cast<uint64_t>(ResultFiller) << 32) | FloatBits(value); }

float FloatOfSlot(uint64_t slot) { return FloatOfBits(static_cast<uint32_t>(slot)); }

}  // namespace

float CallArguments::Float(int index) const { return FloatOfSlot(slots[index]); }

int NativeCount() { return TableSize; }
const NativeEntry& NativeAt(int index) { return Natives[index]; }

int FindNative(uint64_t hash) {
  for (int index = 0; index < FirstHostCall; ++index)
    if (Natives[index].hash == hash) return index;
  return -1;
}

int HostCallIndex(HostCall call) { return FirstHostCall + static_cast<int>(call); }

int FindNativeByName(std::string_view name) {
  for (int index = 0; index < TableSize; ++index)
    if (name == Natives[index].name) return index;
  return -1;
}

void SetResultInt(CallResult& result, int32_t value) {
  result.slots[0] = (static_cast<uint64_t>(ResultFiller) << 32) | static_cast<uint32_t>(value);
}

void SetResultFloat(CallResult& result, float value) { result.slots[0] = FloatSlot(value); }

void SetResultVector(CallResult& result, Vec3 value) {
  const float parts[3] = {value.x, value.y, value.z};
  for (int i = 0; i < 3; ++i) result.slots[i] = FloatSlot(parts[i]);
}

int32_t ResultAsInt(const CallResult& result) { return static_cast<int32_t>(static_cast<uint32_t>(result.slots[0])); }

float ResultAsFloat(const CallResult& result) { return FloatOfSlot(result.slots[0]); }

Vec3 ResultAsVector(const CallResult& result) {
  return {FloatOfSlot(result.slots[0]), FloatOfSlot(result.slots[1]), FloatOfSlot(result.slots[2])};
}

bool DispatchNative(World& world, int index, const CallArguments& arguments, CallResult& result) {
  const NativeEntry& native = Natives[index];
  result = {{static_cast<uint64_t>(ResultFiller) << 32 | ResultFiller, static_cast<uint64_t>(ResultFiller) << 32,
             static_cast<uint64_t>(ResultFiller) << 32}};
  const int expected = static_cast<int>(std::strlen(native.arguments));
  if (arguments.count != expected) {
    Fault(world, native, "wrong number of arguments", arguments.count - 1);
    return false;
  }
  for (int i = 0; i < expected; ++i) {
    const uint64_t slot = arguments.slots[i];
    switch (native.arguments[i]) {
      case 'i':
      case 'f':
        if (slot >> 32 != 0) {
          Fault(world, native, "32-bit value with a non-zero high half", i);
          return false;
        }
        break;
      case 'b':
        if (slot > 1) {
          Fault(world, native, "boolean other than 0 or 1", i);
          return false;
        }
        break;
      case 's':
        if (slot == 0) {
          Fault(world, native, "null text", i);
          return false;
        }
        break;
    }
  }
  if (world.beforeAnswer) world.beforeAnswer(world, index);
  native.answer(world, arguments, result);
  return true;
}

}  // namespace sim
