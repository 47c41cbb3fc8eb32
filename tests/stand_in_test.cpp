// The stand-in ScriptHookV itself: it must refuse what the real game would choke on, so that
// a fault of the plugin can never pass in silence.
#include <gtest/gtest.h>

#include "sim/core/script_hook.h"
#include "support.h"

namespace {

uint64_t FloatSlot(float value) { return vantor_test::FloatBits(value); }

const uint64_t* Call(sim::ScriptHook& hook, uint64_t hash, std::initializer_list<uint64_t> slots) {
  sim::HookNativeInit(hook, hash);
  for (const uint64_t slot : slots) sim::HookNativePush(hook, slot);
  return sim::HookNativeCall(hook);
}

constexpr uint64_t GetEntityCoords = 0x3FEF770D40960D5A;
constexpr uint64_t SetCameraFov = 0xB13C14F66A00D047;

TEST(StandIn, AnUnknownHashFailsTheRunNamingIt) {
  sim::ScriptHook hook;
  Call(hook, 0x1234567812345678ull, {});
  ASSERT_EQ(hook.world.errors.size(), 1u);
  EXPECT_NE(hook.world.errors[0].find("unknown native 0x1234567812345678"), std::string::npos);
}

TEST(StandIn, ArgumentsOfTheWrongWidthOrCountAreFaults) {
  const struct {
    const char* what;
    uint64_t hash;
    std::initializer_list<uint64_t> slots;
    const char* fault;
  } cases[] = {
      {"a sign-extended handle", GetEntityCoords, {0xFFFFFFFFFFFFFFFFull, 1}, "non-zero high half"},
      {"a boolean of 2", GetEntityCoords, {0x2001, 2}, "boolean other than 0 or 1"},
      {"a float widened to double", SetCameraFov, {0x3001, 0x4054000000000000ull}, "non-zero high half"},
      {"one argument short", GetEntityCoords, {0x2001}, "wrong number of arguments"},
  };
  for (const auto& c : cases) {
    sim::ScriptHook hook;
    hook.world.camera.created = true;
    hook.world.camera.handle = sim::ScriptedCameraHandle;
    Call(hook, c.hash, c.slots);
    ASSERT_EQ(hook.world.errors.size(), 1u) << c.what;
    EXPECT_NE(hook.world.errors[0].find(c.fault), std::string::npos) << c.what << ": " << hook.world.errors[0];
  }
}

TEST(StandIn, Vector3ResultsFillTheUpperHalfOfEachSlot) {
  sim::ScriptHook hook;
  sim::Vehicle car;
  car.position = {1.0f, 2.0f, 3.0f};
  const int32_t handle = sim::AddVehicle(hook.world, car);
  const uint64_t* result = Call(hook, GetEntityCoords, {static_cast<uint32_t>(handle), 1});
  ASSERT_TRUE(hook.world.errors.empty());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(static_cast<uint32_t>(result[i]), FloatSlot(static_cast<float>(i + 1)));
    EXPECT_NE(result[i] >> 32, 0u) << "slot " << i << " has filler above the float";
  }
}

TEST(StandIn, CallsMustNotInterleave) {
  sim::ScriptHook hook;
  sim::HookNativeInit(hook, GetEntityCoords);
  sim::HookNativeInit(hook, GetEntityCoords);
  EXPECT_FALSE(hook.world.errors.empty());
}

TEST(StandIn, ATextLeftOpenAtTheEndOfAFrameIsAFault) {
  static const char entry[] = "STRING";
  sim::ScriptHook hook;
  Call(hook, 0x25FBB336DF1804CBull, {reinterpret_cast<uintptr_t>(entry)});  // BeginTextDisplay
  ASSERT_TRUE(hook.world.errors.empty());
  sim::AdvanceWorld(hook.world, 16);
  sim::BeginFrame(hook.world);
  ASSERT_EQ(hook.world.errors.size(), 1u);
  EXPECT_NE(hook.world.errors[0].find("frame 0: a text or feed post was left open"), std::string::npos);
}

}  // namespace
