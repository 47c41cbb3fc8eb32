#include "sim/cli/camera_log.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sim {

namespace {

constexpr const char* CsvHeader =
    "frame,time_s,game_timer_ms,active,x,y,z,pitch,roll,yaw,fov,vehicle_yaw,vehicle_speed,look_yaw,look_pitch,lean\n";

const Vehicle* ReferenceVehicle(const World& world) {
  const int32_t handle = world.player.vehicle != 0 ? world.player.vehicle : world.player.lastVehicle;
  for (const Vehicle& vehicle : world.vehicles)
    if (vehicle.handle == handle && handle != 0 && vehicle.exists) return &vehicle;
  return nullptr;
}

// Shortest text that reads back as the same value.
template <typename Number>
void AppendNumber(std::string& line, Number value) {
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  line.append(buffer, written.ptr);
}

void AppendField(std::string& line, float value) {
  line += ',';
  AppendNumber(line, value);
}

void AppendEmpty(std::string& line, int count) { line.append(static_cast<size_t>(count), ','); }

}  // namespace

float WrapDegrees(float degrees) {
  double wrapped = std::fmod(static_cast<double>(degrees) + 540.0, 360.0);
  if (wrapped < 0.0) wrapped += 360.0;
  return static_cast<float>(wrapped - 180.0);
}

CameraSample SampleCamera(const World& world, int32_t frame, int32_t frameTimeMs) {
  CameraSample sample;
  sample.frame = frame;
  sample.timeSeconds = static_cast<double>(frame) * frameTimeMs / 1000.0;
  sample.gameTimer = world.gameTimer;
  sample.active = world.camera.active && world.scriptCamerasRendering;
  sample.position = world.camera.position;
  sample.rotation = world.camera.rotation;
  sample.fov = world.camera.fov;
  if (const Vehicle* vehicle = ReferenceVehicle(world)) {
    sample.hasVehicle = true;
    sample.vehicleYaw = vehicle->rotation.z;
    sample.vehicleSpeed = vehicle->speed;
    sample.lookYaw = WrapDegrees(sample.rotation.z - vehicle->rotation.z);
    sample.lookPitch = WrapDegrees(sample.rotation.x - vehicle->rotation.x);
    sample.lean = WrapDegrees(sample.rotation.y - vehicle->rotation.y);
  }
  return sample;
}

bool WriteCameraCsv(const std::vector<CameraSample>& samples, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::string text = CsvHeader;
  text.reserve(samples.size() * 128 + text.size());
  for (const CameraSample& sample : samples) {
    AppendNumber(text, sample.frame);
    text += ',';
    AppendNumber(text, sample.timeSeconds);
    text += ',';
    AppendNumber(text, sample.gameTimer);
    text += sample.active ? ",1" : ",0";
    for (const float value : {sample.position.x, sample.position.y, sample.position.z, sample.rotation.x,
                              sample.rotation.y, sample.rotation.z, sample.fov})
      AppendField(text, value);
    if (sample.hasVehicle) {
      AppendField(text, sample.vehicleYaw);
      AppendField(text, sample.vehicleSpeed);
    } else {
      AppendEmpty(text, 2);
    }
    if (sample.hasVehicle && sample.active) {
      AppendField(text, sample.lookYaw);
      AppendField(text, sample.lookPitch);
      AppendField(text, sample.lean);
    } else {
      AppendEmpty(text, 3);
    }
    text += '\n';
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace sim
