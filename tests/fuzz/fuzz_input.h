// The plugin fuzzer's input: the game's answers frame by frame and the starting settings file.
// Laid out so that a small change of the bytes stays a small change of the drive: every frame
// owns one fixed record; the world's state carries over from frame to frame (keys and flags
// toggle, fields are set), so a frame's answers depend on a few bytes; the settings file sits
// at the end behind its length, so frames never shift when it changes.
//
//   [file mode] [frame record] [frame record] ... [settings text] [text length, 2 bytes LE]
//
// The fuzzer decodes it and the seed encoder writes it, both through this header.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "sim/core/float_bits.h"

namespace vantor_fuzz {

// How "Vantor.ini" stands in the folder when the plugin starts.
enum class FileMode : uint8_t { Plain, Absent, Link, DanglingLink, Folder, Count };

constexpr std::size_t HeaderSize = 1;
constexpr std::size_t LengthSize = 2;
constexpr int32_t MaxFrames = 4000;

// The keys the plugin polls; bit i of a record's key toggles flips Keys[i].
constexpr int32_t Keys[] = {0x56 /*V*/,       0x75 /*F6*/,      0x60 /*Numpad 0*/, 0x26 /*Up*/,
                            0x68 /*Numpad 8*/, 0x28 /*Down*/,    0x62 /*Numpad 2*/, 0x25 /*Left*/,
                            0x64 /*Numpad 4*/, 0x27 /*Right*/,   0x66 /*Numpad 6*/, 0x0D /*Enter*/,
                            0x65 /*Numpad 5*/};
constexpr int KeyCount = static_cast<int>(sizeof Keys / sizeof Keys[0]);
static_assert(KeyCount <= 16);

// World flags, one bit each of a record's flag toggles.
enum Flag : uint8_t {
  PlayerExists = 1 << 0,
  PlayerDead = 1 << 1,
  InVehicle = 1 << 2,
  VehicleExists = 1 << 3,   // the current and the last vehicle
  GameplayRendering = 1 << 4,
  OthersExist = 1 << 5,     // any handle that is neither the player nor a vehicle
  PlayerInEverySeat = 1 << 6,
  VehicleDead = 1 << 7,
};
constexpr uint8_t StartFlags = PlayerExists | InVehicle | VehicleExists;

// The fields an op sets. Integers first, then floats; vectors are set one component an op.
enum class Field : uint8_t {
  Timer, PlayerHandle, Vehicle, LastVehicle, MaxPassengers, PlayerSeat, VehicleClass, BoneIndex, OtherPed,
  CameraHandle,
  Speed, LookX, LookY,
  RotationX, RotationY, RotationZ,
  VehiclePositionX, VehiclePositionY, VehiclePositionZ,
  PlayerPositionX, PlayerPositionY, PlayerPositionZ,
  BonePositionX, BonePositionY, BonePositionZ,
  LocalOffsetX, LocalOffsetY, LocalOffsetZ,
  WorldOffsetX, WorldOffsetY, WorldOffsetZ,
  Count
};
constexpr uint8_t FirstFloatField = static_cast<uint8_t>(Field::Speed);
constexpr uint8_t FieldCount = static_cast<uint8_t>(Field::Count);
static_assert(FieldCount < 32, "an op's low five bits name its field; 31 is no op");

// An op's value: its field byte's top two bits say how the four value bytes read.
enum class ValueMode : uint8_t { Small, Raw, Palette, Fine };
constexpr int ValueModeShift = 6;
constexpr uint8_t FieldMask = 0x1F;

// One frame:
//   timer step (see TimerAfter); key toggles, 2 bytes LE; key noise (low bits of every key
//   state); flag toggles; glitch (0: none; else the call numbered (g & 0x7F) - 1 in the pass
//   gets a hostile answer, bit 7 picking the kind); then OpsPerRecord ops of a field byte and
//   four value bytes.
constexpr int OpsPerRecord = 3;
constexpr std::size_t OpSize = 5;
constexpr std::size_t RecordSize = 6 + OpsPerRecord * OpSize;
constexpr uint8_t GlitchCallMask = 0x7F;
constexpr uint8_t GlitchHostileBit = 0x80;

constexpr float FloatPalette[] = {
    std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
    FLT_MAX, -FLT_MAX, std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
    FLT_MIN, 1e30f, -1e30f, -0.0f, 3e38f, 90.0f, -90.0f, 89.99999f, 90.00001f, 180.0f, -180.0f, 270.0f, 360.0f,
    1.5f, 2.25f, 1e-30f};
constexpr int32_t IntPalette[] = {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                                  std::numeric_limits<int32_t>::min() + 1, std::numeric_limits<int32_t>::max() - 1,
                                  -1, 0, 1, -99, -2, 15, 21, 22, 23, 255, 256, 63, 64, 65, 0x7FFF, 0x8000, 0xFFFF,
                                  0x0101, 0x2001, 0x3001, 27, -65536};
// Absolute times a timer step can jump to: the 32-bit edges and around 0.
constexpr int32_t TimerPalette[] = {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max() - 16,
                                    std::numeric_limits<int32_t>::max() - 500,
                                    std::numeric_limits<int32_t>::max() - 1000, std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::min() + 16, -1, -16, -1000, 0, 1, 100000,
                                    0x7FFFFC00, -0x7FFFFC00, 0x40000000, -0x40000000};
static_assert(sizeof TimerPalette / sizeof TimerPalette[0] == 16);

inline uint32_t ReadLittle32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
inline int16_t ReadLittle16(const uint8_t* bytes) {
  return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | bytes[1] << 8));
}

inline int32_t DecodeInt(ValueMode mode, const uint8_t* value) {
  switch (mode) {
    case ValueMode::Small: return static_cast<int8_t>(value[0]);
    case ValueMode::Raw: return static_cast<int32_t>(ReadLittle32(value));
    case ValueMode::Palette: return IntPalette[value[0] % (sizeof IntPalette / sizeof IntPalette[0])];
    case ValueMode::Fine: return ReadLittle16(value);
  }
  return 0;
}

inline float DecodeFloat(ValueMode mode, const uint8_t* value) {
  switch (mode) {
    case ValueMode::Small: return static_cast<float>(ReadLittle16(value)) / 64.0f;  // +-512, 1/64 steps
    case ValueMode::Raw: return sim::FloatOfBits(ReadLittle32(value));
    case ValueMode::Palette: return FloatPalette[value[0] % (sizeof FloatPalette / sizeof FloatPalette[0])];
    case ValueMode::Fine: return static_cast<float>(ReadLittle16(value)) / 1024.0f;  // +-32, fine steps
  }
  return 0.0f;
}

// The timer after a frame's step byte: forward a little (0 stands still), forward in larger
// steps, backwards, leaps of 2^27 ms and more (16 of them wrap 2^31), or a jump to an edge.
inline int32_t TimerAfter(int32_t timer, uint8_t step) {
  uint32_t next = static_cast<uint32_t>(timer);
  if (step < 128) next += step;
  else if (step < 192) next += static_cast<uint32_t>(step - 128) * 64u;
  else if (step < 224) next -= static_cast<uint32_t>(step - 191) * 16u;
  else if (step < 240) next += static_cast<uint32_t>(step - 223) << 27;
  else return TimerPalette[step - 240];
  return static_cast<int32_t>(next);
}

// The parts of an input: frame records and the settings text.
struct InputParts {
  FileMode fileMode = FileMode::Absent;
  const uint8_t* records = nullptr;
  int32_t frames = 0;
  const uint8_t* settings = nullptr;
  std::size_t settingsSize = 0;
};

inline InputParts SplitInput(const uint8_t* data, std::size_t size) {
  InputParts parts;
  if (size < HeaderSize + LengthSize) return parts;
  parts.fileMode = static_cast<FileMode>(data[0] % static_cast<uint8_t>(FileMode::Count));
  const std::size_t body = size - HeaderSize - LengthSize;
  const std::size_t claimed = static_cast<std::size_t>(data[size - 2] | data[size - 1] << 8);
  parts.settingsSize = claimed < body ? claimed : body;
  parts.settings = data + size - LengthSize - parts.settingsSize;
  parts.records = data + HeaderSize;
  const std::size_t frames = (body - parts.settingsSize) / RecordSize;
  parts.frames = static_cast<int32_t>(frames < MaxFrames ? frames : MaxFrames);
  return parts;
}

}  // namespace vantor_fuzz
