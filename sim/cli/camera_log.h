// The camera as the world sees it, one sample a frame, and the CSV that holds the samples.
//
// The plugin's own look offsets and lean never reach the world: the world sees only the
// rotation the camera was given. So the offsets here are the camera's rotation relative to the
// vehicle's attitude (the vehicle's rotation inverted times the camera's, as yaw, pitch within
// -90 to 90 and roll of rotation order 2): the plugin's offset plus its smoothing lag behind the
// vehicle, meaningful through a loop too. They are the plugin's look yaw, look pitch and lean
// once the vehicle holds steady on level ground.
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
  bool active = false;       // the plugin's camera is the one rendering
  RenderingCamera rendering = RenderingCamera::Gameplay;
  int32_t viewMode = 0;      // the player's vehicle view mode
  Vec3 position;             // the scripted camera's, as last set
  Vec3 rotation;             // pitch, roll, yaw, as last set
  float fov = 0.0f;
  bool hasVehicle = false;   // the player's vehicle, or the one the player last sat in
  int32_t vehicleClass = 0;
  float vehicleYaw = 0.0f;
  float vehicleSpeed = 0.0f;
  float lookYaw = 0.0f;      // the camera's yaw relative to the vehicle; positive: left
  float lookPitch = 0.0f;    // the camera's pitch relative to the vehicle; positive: up
  float lean = 0.0f;         // the camera's roll relative to the vehicle; positive: rolled right
  float heightAboveSeat = 0.0f;  // along the vehicle's z axis, from the seat bone (the vehicle's
                                 // origin when it has none), where the plugin starts its offset
};

// The rotation (pitch, roll, yaw; order 2, pitch within -90 to 90) that turns a frame with
// rotation `from` into one with rotation `to`: from's matrix inverted times to's.
Vec3 RelativeRotation(const Vec3& from, const Vec3& to);

CameraSample SampleCamera(const World& world, int32_t frame, int32_t frameTimeMs);

// Reads back what WriteCameraCsv wrote, by the header's column names. False, with the reason,
// when the file cannot be read or lacks a column.
bool ReadCameraCsv(const std::string& path, std::vector<CameraSample>& samples, std::string& error);

// Header line and one line a sample; columns that do not apply (no vehicle, camera inactive)
// are left empty. False when the file cannot be written.
bool WriteCameraCsv(const std::vector<CameraSample>& samples, const std::string& path);

}  // namespace sim
