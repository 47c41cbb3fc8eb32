// The slot encodings of arguments and the reading of results.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "game/native_invoker.h"

namespace {

using namespace vantor;

TEST(SlotEncoding, IntegersAreZeroExtended) {
  EXPECT_EQ(SlotFromInt(-1), 0x00000000FFFFFFFFull);
  EXPECT_EQ(SlotFromInt(-99), 0x00000000FFFFFF9Dull);
  EXPECT_EQ(SlotFromInt(166), 166u);
  EXPECT_EQ(SlotFromInt(std::numeric_limits<int32_t>::min()), 0x0000000080000000ull);
  EXPECT_EQ(SlotFromBool(true), 1u);
  EXPECT_EQ(SlotFromBool(false), 0u);
}

TEST(SlotEncoding, FloatsTravelAsTheirBitPattern) {
  EXPECT_EQ(SlotFromFloat(80.0f), 0x0000000042A00000ull);
  EXPECT_EQ(SlotFromFloat(-0.0f), 0x0000000080000000ull);
  EXPECT_EQ(SlotFromFloat(0.05f), 0x000000003D4CCCCDull);
  EXPECT_EQ(SlotFromFloat(std::numeric_limits<float>::infinity()), 0x000000007F800000ull);
}

TEST(SlotEncoding, TextIsItsAddress) {
  static const char text[] = "STRING";
  EXPECT_EQ(SlotFromText(text), reinterpret_cast<uintptr_t>(text));
}

TEST(ResultReading, OnlyTheLowHalfOfASlotCounts) {
  const uint64_t slots[3] = {0xA5A5A5A5FFFFFFFFull, 0, 0};
  EXPECT_EQ(ResultInt(slots), -1);
  EXPECT_TRUE(ResultBool(slots));
  const uint64_t zero[3] = {0xA5A5A5A500000000ull, 0, 0};
  EXPECT_FALSE(ResultBool(zero));
  const uint64_t fov[3] = {0xA5A5A5A542A00000ull, 0, 0};
  EXPECT_EQ(ResultFloat(fov), 80.0f);
}

TEST(ResultReading, Vector3TakesEachFloatFromItsOwnSlot) {
  const uint64_t slots[3] = {0xDEADBEEF3F800000ull, 0xDEADBEEF40000000ull, 0xDEADBEEFC0400000ull};
  const Vector3 v = ResultVector3(slots);
  EXPECT_EQ(v.x, 1.0f);
  EXPECT_EQ(v.y, 2.0f);
  EXPECT_EQ(v.z, -3.0f);
}

}  // namespace
