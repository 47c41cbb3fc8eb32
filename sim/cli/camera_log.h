// The camera as the world sees it, one sample a frame, and the CSV that holds the samples.
//
// The plugin's own look offsets and lean never reach the world: the world sees only the
// rotation the camera was given. So the offsets here are the camera's rotation minus the
// vehicle's, wrapped to [-180, 180): the plugin's offset plus its smoothing lag behind the
// vehicle. They are the plugin's look yaw, look pitch and lean once the vehicle holds steady.
// A positive roll lowers the camera's right side (the world turns a point at +x towards -z), so
// the CSV calls the lean's column lean_right: negative is a roll to the left.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/world.h"

namespace sim {

struct CameraSample {
  int32_t frame = 0;
  double timeSeconds = 0.0;  // frame times the frame time: the run's own clock
  int32_t gameTimer = 0;     // what GetGameTimer answered on the frame
  bool active = false;       // the scripted camera is active and script cameras render
  Vec3 position;             // the scripted camera's, as last set
  Vec3 rotation;             // pitch, roll, yaw, as last set
  float fov = 0.0f;
  bool hasVehicle = false;   // the player's vehicle, or the one the player last sat in
  int32_t vehicleClass = 0;
  float vehicleYaw = 0.0f;
  float vehicleSpeed = 0.0f;
  float lookYaw = 0.0f;      // camera yaw - vehicle yaw, wrapped
  float lookPitch = 0.0f;    // camera pitch - vehicle pitch, wrapped
  float lean = 0.0f;         // camera roll - vehicle roll, wrapped; positive: rolled right
  float heightAboveSeat = 0.0f;  // along the vehicle's z axis, from the seat bone (the vehicle's
                                 // origin when it has none), where the plugin starts its offset
};

// The difference of two angles reduced to [-180, 180).
float WrapDegrees(float degrees);

CameraSample SampleCamera(const World& world, int32_t frame, int32_t frameTimeMs);

// Reads back what WriteCameraCsv wrote, by the header's column names. False, with the reason,
// when the file cannot be read or lacks a column.
bool ReadCameraCsv(const std::string& path, std::vector<CameraSample>& samples, std::string& error);

// Header line and one line a sample; columns that do not apply (no vehicle, camera inactive)
// are left empty. False when the file cannot be written.
bool WriteCameraCsv(const std::vector<CameraSample>& samples, const std::string& path);

}  // namespace sim
