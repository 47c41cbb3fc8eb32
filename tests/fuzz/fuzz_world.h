// The fuzzer's game: every answer comes from the input. Its state carries over from frame to
// frame; each frame's record changes it, and one call of the pass may get a hostile answer.
#pragma once

#include <cstdint>

#include "fuzz_input.h"
#include "sim/core/native_table.h"

namespace vantor_fuzz {

struct FuzzWorld {
  // Carried from frame to frame, by Field.
  int32_t ints[FirstFloatField];
  float floats[FieldCount - FirstFloatField];
  uint8_t flags = StartFlags;
  uint16_t keysDown = 0;
  // This frame only.
  uint8_t keyNoise = 0;
  uint8_t glitch = 0;
  int32_t callsThisPass = 0;
};

// A sane drive: the player at the wheel, the gameplay camera off, everything at rest.
void ResetWorld(FuzzWorld& world);
// One frame's record (RecordSize bytes) over the state; the pass's call count starts again.
void ApplyRecord(FuzzWorld& world, const uint8_t* record);

int32_t IntField(const FuzzWorld& world, Field field);
float FloatField(const FuzzWorld& world, Field field);
void SetIntField(FuzzWorld& world, Field field, int32_t value);
void SetFloatField(FuzzWorld& world, Field field, float value);
// A vector's three fields, from its x field on.
void SetVectorField(FuzzWorld& world, Field x, sim::Vec3 value);

// The answer to native `index` of the table, written as the game writes it.
void AnswerNative(FuzzWorld& world, int index, const sim::CallArguments& arguments, sim::CallResult& result);
// A key's async state: bit 15 while down, the frame's noise in the bits below.
int16_t AnswerKey(FuzzWorld& world, int32_t virtualKey);

}  // namespace vantor_fuzz
