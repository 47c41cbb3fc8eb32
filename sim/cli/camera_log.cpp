#include "sim/cli/camera_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string_view>

namespace sim {

namespace {

constexpr const char* CsvHeader =
    "frame,time_s,game_timer_ms,active,rendering,view_mode,x,y,z,pitch,roll,yaw,fov,vehicle_class,vehicle_yaw,"
    "vehicle_speed,look_yaw,look_pitch,lean_right,height_above_seat\n";

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

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

// False for an empty field, which leaves `value` as it was.
template <typename Number>
bool ReadField(std::string_view field, Number& value) {
  return !field.empty() && std::from_chars(field.data(), field.data() + field.size(), value).ec == std::errc();
}

}  // namespace

Vec3 RelativeRotation(const Vec3& from, const Vec3& to) {
  const Rotation a = RotationOf(from), b = RotationOf(to);
  double m[3][3];
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      m[row][column] = a.m[0][row] * b.m[0][column] + a.m[1][row] * b.m[1][column] + a.m[2][row] * b.m[2][column];
  // Rz(yaw) Rx(pitch) Ry(roll): m[2][1] = sin(pitch), and cos(pitch) >= 0 scales the others.
  const double pitch = std::asin(std::clamp(m[2][1], -1.0, 1.0));
  const double roll = std::atan2(-m[2][0], m[2][2]);
  const double yaw = std::atan2(-m[0][1], m[1][1]);
  // Plus zero, so that no column reads "-0".
  return {static_cast<float>(pitch / DegreesToRadians + 0.0), static_cast<float>(roll / DegreesToRadians + 0.0),
          static_cast<float>(yaw / DegreesToRadians + 0.0)};
}

CameraSample SampleCamera(const World& world, int32_t frame, int32_t frameTimeMs) {
  CameraSample sample;
  sample.frame = frame;
  sample.timeSeconds = static_cast<double>(frame) * frameTimeMs / 1000.0;
  sample.gameTimer = world.gameTimer;
  sample.rendering = CameraRendering(world);
  sample.active = sample.rendering == RenderingCamera::Vantor;
  sample.viewMode = world.vehicleCameraViewMode;
  sample.position = world.camera.position;
  sample.rotation = world.camera.rotation;
  sample.fov = world.camera.fov;
  if (const Vehicle* vehicle = ReferenceVehicle(world)) {
    sample.hasVehicle = true;
    sample.vehicleClass = vehicle->vehicleClass;
    sample.vehicleYaw = vehicle->rotation.z;
    sample.vehicleSpeed = vehicle->speed;
    const Vec3 relative = RelativeRotation(vehicle->rotation, sample.rotation);
    sample.lookYaw = relative.z;
    sample.lookPitch = relative.x;
    sample.lean = relative.y;
    const float seatZ = vehicle->hasSeatBone ? vehicle->seatBoneOffset.z : 0.0f;
    sample.heightAboveSeat = WorldToLocal(*vehicle, sample.position).z - seatZ;
  }
  return sample;
}

bool ReadCameraCsv(const std::string& path, std::vector<CameraSample>& samples, std::string& error) {
  enum Column { Frame, Time, Active, Yaw, Fov, Class, VehicleYaw, LookYaw, Lean, Height, ColumnCount };
  static constexpr std::string_view Names[ColumnCount] = {"frame",         "time_s",      "active",   "yaw",
                                                          "fov",           "vehicle_class", "vehicle_yaw", "look_yaw",
                                                          "lean_right",    "height_above_seat"};
  std::ifstream file(path, std::ios::binary);
  std::string line;
  if (!file || !std::getline(file, line)) {
    error = path + ": cannot be read";
    return false;
  }
  const std::vector<std::string_view> header = SplitFields(line);
  size_t at[ColumnCount];
  for (int column = 0; column < ColumnCount; ++column) {
    at[column] = static_cast<size_t>(std::find(header.begin(), header.end(), Names[column]) - header.begin());
    if (at[column] == header.size()) {
      error = path + ": no column " + std::string(Names[column]) + " (a camera.csv of an older vantor-sim?)";
      return false;
    }
  }
  samples.clear();
  while (std::getline(file, line)) {
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != header.size()) continue;
    CameraSample sample;
    int active = 0;
    ReadField(fields[at[Frame]], sample.frame);
    ReadField(fields[at[Time]], sample.timeSeconds);
    ReadField(fields[at[Active]], active);
    sample.active = active != 0;
    ReadField(fields[at[Yaw]], sample.rotation.z);
    ReadField(fields[at[Fov]], sample.fov);
    sample.hasVehicle = ReadField(fields[at[VehicleYaw]], sample.vehicleYaw);
    ReadField(fields[at[Class]], sample.vehicleClass);
    ReadField(fields[at[LookYaw]], sample.lookYaw);
    ReadField(fields[at[Lean]], sample.lean);
    ReadField(fields[at[Height]], sample.heightAboveSeat);
    samples.push_back(sample);
  }
  return true;
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
    text += sample.active ? ",1," : ",0,";
    text += RenderingCameraName(sample.rendering);
    text += ',';
    AppendNumber(text, sample.viewMode);
    for (const float value : {sample.position.x, sample.position.y, sample.position.z, sample.rotation.x,
                              sample.rotation.y, sample.rotation.z, sample.fov})
      AppendField(text, value);
    if (sample.hasVehicle) {
      text += ',';
      AppendNumber(text, sample.vehicleClass);
      AppendField(text, sample.vehicleYaw);
      AppendField(text, sample.vehicleSpeed);
    } else {
      AppendEmpty(text, 3);
    }
    if (sample.hasVehicle && sample.active) {
      AppendField(text, sample.lookYaw);
      AppendField(text, sample.lookPitch);
      AppendField(text, sample.lean);
      AppendField(text, sample.heightAboveSeat);
    } else {
      AppendEmpty(text, 4);
    }
    text += '\n';
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace sim
