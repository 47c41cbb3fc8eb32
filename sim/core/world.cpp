#include "sim/core/world.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "sim/core/walking.h"

namespace sim {

namespace {

// The game's own camera. Behind the vehicle it sits farther out and higher in each view mode
// (0 nearest); a mode without a placement of its own uses the middle one.
struct FollowPlacement {
  float distance;  // metres behind the vehicle's position
  float height;    // metres above it
};
constexpr FollowPlacement FollowPlacements[] = {{4.5f, 1.9f}, {6.0f, 2.3f}, {8.5f, 3.0f}};
constexpr int32_t MiddleViewMode = 1;
constexpr Vec3 FollowTarget{0.0f, 3.0f, 1.0f};     // where it looks, ahead of the vehicle
constexpr Vec3 ShoulderOffset{0.5f, -2.4f, 1.7f};  // on foot: right of and behind the player
constexpr Vec3 ShoulderTarget{0.0f, 4.0f, 1.4f};   // where it looks, ahead of the player
constexpr float GameCameraFov = 50.0f;
constexpr float GameCameraNearClip = 0.1f;

// The game's own first-person camera: at the driver's eye, a fixed height over the seat,
// turned with the vehicle exactly, no easing.
constexpr Vec3 GameEyeAboveSeat{0.0f, 0.05f, 0.62f};
constexpr float GameFirstPersonFov = 55.0f;
// The cinematic camera: low beside the vehicle's front wheel, looking back along it.
constexpr Vec3 CinematicOffset{2.6f, 3.2f, 0.5f};
constexpr Vec3 CinematicTarget{0.0f, -1.0f, 0.8f};
constexpr float CinematicFov = 40.0f;
// A cutscene's shot: high and wide over the scene, looking down on the player.
constexpr Vec3 CutsceneOffset{-9.0f, 9.0f, 6.0f};
constexpr Vec3 CutsceneTarget{0.0f, 0.0f, 0.5f};
constexpr float CutsceneFov = 45.0f;
// Another script's camera: a fixed post ahead and to the right of the player, looking back.
constexpr Vec3 OtherScriptOffset{6.0f, 12.0f, 3.0f};
constexpr Vec3 OtherScriptTarget{0.0f, 0.0f, 1.0f};
constexpr float OtherScriptFov = 60.0f;

// The view modes in the order the game's "next camera" control steps through them.
constexpr int32_t ViewModeCycle[] = {0, 1, 2, FirstPersonViewMode};

constexpr double HalfTurn = 180.0, FullTurn = 360.0, Upright = 90.0;

}  // namespace

float WrapDegrees(double degrees) {
  double wrapped = std::fmod(degrees + HalfTurn, FullTurn);
  if (wrapped < 0.0) wrapped += FullTurn;
  return static_cast<float>(wrapped - HalfTurn);
}

Vec3 ReportedRotation(const Vec3& rotation) {
  // A broken attitude has no form of its own: it comes back as it stands.
  if (!IsFinite(rotation)) return rotation;
  const float pitch = WrapDegrees(rotation.x);
  // Roll and yaw stay as they stand: the world keeps them within a turn, and a test may hand the
  // plugin a hostile one.
  if (std::fabs(pitch) <= Upright) return {pitch, rotation.y, rotation.z};
  // Rz(y + 180) Rx(180 - p) Ry(r + 180) is Rz(y) Rx(p) Ry(r): the same attitude.
  return {WrapDegrees(HalfTurn - pitch), WrapDegrees(rotation.y + HalfTurn), WrapDegrees(rotation.z + HalfTurn)};
}

Rotation RotationOf(const Vec3& rotation) {
  const double cp = std::cos(rotation.x * DegreesToRadians), sp = std::sin(rotation.x * DegreesToRadians);
  const double cr = std::cos(rotation.y * DegreesToRadians), sr = std::sin(rotation.y * DegreesToRadians);
  const double cy = std::cos(rotation.z * DegreesToRadians), sy = std::sin(rotation.z * DegreesToRadians);
  Rotation r;
  r.m[0][0] = cy * cr - sy * sp * sr;
  r.m[0][1] = -sy * cp;
  r.m[0][2] = cy * sr + sy * sp * cr;
  r.m[1][0] = sy * cr + cy * sp * sr;
  r.m[1][1] = cy * cp;
  r.m[1][2] = sy * sr - cy * sp * cr;
  r.m[2][0] = -cp * sr;
  r.m[2][1] = sp;
  r.m[2][2] = cp * cr;
  return r;
}

Vec3d Rotate(const Rotation& rotation, const Vec3d& local) {
  const auto& m = rotation.m;
  Vec3d out;
  for (int row = 0; row < 3; ++row) out[row] = m[row][0] * local[0] + m[row][1] * local[1] + m[row][2] * local[2];
  return out;
}

Vec3d RotateBack(const Rotation& rotation, const Vec3d& world) {
  const auto& m = rotation.m;
  Vec3d out;
  for (int column = 0; column < 3; ++column)
    out[column] = m[0][column] * world[0] + m[1][column] * world[1] + m[2][column] * world[2];
  return out;
}

Vec3d OffsetFrom(Vec3 origin, Vec3 point) {
  return {static_cast<double>(point.x) - origin.x, static_cast<double>(point.y) - origin.y,
          static_cast<double>(point.z) - origin.z};
}

std::string FrameFault(int32_t frame, std::string_view what) {
  std::string message = "frame ";
  message += std::to_string(frame);
  message += ": ";
  message += what;
  return message;
}

void ReportFault(World& world, std::string_view what) { world.errors.push_back(FrameFault(world.frame, what)); }

Vehicle* FindVehicle(World& world, int32_t handle) {
  for (Vehicle& vehicle : world.vehicles)
    if (vehicle.handle == handle) return &vehicle;
  return nullptr;
}

const Vehicle* ExistingVehicle(const World& world, int32_t handle) {
  for (const Vehicle& vehicle : world.vehicles)
    if (vehicle.handle == handle && vehicle.exists) return &vehicle;
  return nullptr;
}

int32_t AddVehicle(World& world, Vehicle vehicle) {
  vehicle.handle = FirstVehicleHandle + static_cast<int32_t>(world.vehicles.size());
  world.vehicles.push_back(vehicle);
  return vehicle.handle;
}

void EnterVehicle(World& world, int32_t vehicle, int32_t seat) {
  world.player.vehicle = vehicle;
  world.player.seat = seat;
  world.player.lastVehicle = vehicle;
}

void LeaveVehicle(World& world, Vec3 standAt) {
  world.player.vehicle = 0;
  world.player.seat = -1;
  world.player.position = standAt;
}

void SetKeyDown(World& world, int32_t virtualKey, bool down) {
  const auto key = static_cast<uint8_t>(virtualKey);
  const bool pressed = down && !world.keyDown[key];
  if (pressed) world.pressedSincePoll[key] = true;
  world.keyDown[key] = down;
  if (pressed && virtualKey == ViewKey) CycleViewMode(world);
}

void CycleViewMode(World& world) {
  if (world.player.vehicle == 0 || world.cutscenePlaying) return;
  const int32_t* at = std::find(std::begin(ViewModeCycle), std::end(ViewModeCycle), world.vehicleCameraViewMode);
  // A mode outside the cycle starts it again from the top.
  const bool hasNext = at != std::end(ViewModeCycle) && at + 1 != std::end(ViewModeCycle);
  world.vehicleCameraViewMode = hasNext ? *(at + 1) : ViewModeCycle[0];
}

int16_t PollKey(World& world, int32_t virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  const auto key = static_cast<uint8_t>(virtualKey);
  // Bit 15: down now. Bit 0: pressed since the last poll, as Windows reports it; the plugin
  // must look at bit 15 only, so the low bit is set whenever it can be.
  uint16_t state = world.keyDown[key] ? 0x8000 : 0;
  if (world.pressedSincePoll[key]) state |= 1;
  world.pressedSincePoll[key] = false;
  return static_cast<int16_t>(state);
}

RenderingCamera CameraRendering(const World& world) {
  if (world.cutscenePlaying) return RenderingCamera::Cutscene;
  if (world.scriptCamerasRendering) {
    const bool ours = world.camera.created && world.camera.active;
    const bool other = world.otherCamera.active;
    if (ours && (!other || world.camera.activation > world.otherCamera.activation)) return RenderingCamera::Vantor;
    if (other) return RenderingCamera::OtherScript;
  }
  if (world.cinematicHeld) return RenderingCamera::Cinematic;
  if (ExistingVehicle(world, world.player.vehicle) != nullptr && world.vehicleCameraViewMode == FirstPersonViewMode)
    return RenderingCamera::FirstPerson;
  return RenderingCamera::Gameplay;
}

const char* RenderingCameraName(RenderingCamera camera) {
  switch (camera) {
    case RenderingCamera::Gameplay: return "gameplay";
    case RenderingCamera::FirstPerson: return "first_person";
    case RenderingCamera::Vantor: return "vantor";
    case RenderingCamera::OtherScript: return "other_script";
    case RenderingCamera::Cinematic: return "cinematic";
    case RenderingCamera::Cutscene: return "cutscene";
  }
  return "gameplay";
}

bool ScriptedCameraShown(const World& world) { return CameraRendering(world) == RenderingCamera::Vantor; }

Vec3 PlayerPosition(const World& world) {
  for (const Vehicle& vehicle : world.vehicles)
    if (vehicle.handle == world.player.vehicle) return LocalToWorld(vehicle, vehicle.seatBoneOffset);
  return world.player.position;
}

Vec3 LocalToWorld(const Vehicle& vehicle, Vec3 local) { return LocalToWorld(vehicle.position, vehicle.rotation, local); }

Vec3 LocalToWorld(Vec3 position, Vec3 rotation, Vec3 local) {
  const Vec3d out = Rotate(RotationOf(rotation), {local.x, local.y, local.z});
  return {static_cast<float>(position.x + out[0]), static_cast<float>(position.y + out[1]),
          static_cast<float>(position.z + out[2])};
}

namespace {

// A camera level with the ground at `base`, turned to `yaw`, at `offset` in that frame and
// looking at `target` in it.
CameraView CameraLookingAt(Vec3 base, float yaw, Vec3 offset, Vec3 target) {
  const double pitch = std::atan2(target.z - offset.z, target.y - offset.y) / DegreesToRadians;
  return {LocalToWorld(base, {0.0f, 0.0f, yaw}, offset), {static_cast<float>(pitch), 0.0f, yaw}, GameCameraFov, GameCameraNearClip};
}

}  // namespace

CameraView GameCameraView(const World& world) {
  if (const Vehicle* vehicle = ExistingVehicle(world, world.player.vehicle)) {
    const int32_t mode = world.vehicleCameraViewMode;
    const bool placed = mode >= 0 && mode < static_cast<int32_t>(std::size(FollowPlacements));
    const FollowPlacement& placement = FollowPlacements[placed ? mode : MiddleViewMode];
    return CameraLookingAt(vehicle->position, vehicle->rotation.z, {0.0f, -placement.distance, placement.height},
                           FollowTarget);
  }
  return CameraLookingAt(world.player.position, PlayerFacing(world), ShoulderOffset, ShoulderTarget);
}

float PlayerFacing(const World& world) {
  const Vehicle* last = ExistingVehicle(world, world.player.lastVehicle);
  if (last == nullptr) return 0.0f;
  const double dx = last->position.x - world.player.position.x, dy = last->position.y - world.player.position.y;
  // Yaw 0 looks along +y and positive yaw turns left, towards -x.
  return dx * dx + dy * dy > 0.0 ? static_cast<float>(std::atan2(-dx, dy) / DegreesToRadians) : last->rotation.z;
}

namespace {

// Where the player is and faces: the vehicle's position and heading while inside, else the
// player's own.
struct Subject {
  Vec3 position;
  float heading;
};

Subject SubjectOf(const World& world) {
  if (const Vehicle* vehicle = ExistingVehicle(world, world.player.vehicle))
    return {vehicle->position, vehicle->rotation.z};
  return {world.player.position, PlayerFacing(world)};
}

CameraView ShotOf(const World& world, Vec3 offset, Vec3 target, float fov) {
  const Subject subject = SubjectOf(world);
  // Turned towards the target sideways as well as up or down.
  const double across = target.x - offset.x, along = target.y - offset.y;
  const Vec3 rotation{static_cast<float>(std::atan2(target.z - offset.z, std::hypot(across, along)) / DegreesToRadians),
                      0.0f, WrapDegrees(subject.heading + std::atan2(-across, along) / DegreesToRadians)};
  return {LocalToWorld(subject.position, {0.0f, 0.0f, subject.heading}, offset), rotation, fov, GameCameraNearClip};
}

CameraView GameFirstPersonView(const World& world) {
  const Vehicle* vehicle = ExistingVehicle(world, world.player.vehicle);
  if (vehicle == nullptr) return GameCameraView(world);
  const Vec3 seat = vehicle->hasSeatBone ? vehicle->seatBoneOffset : Vec3{};
  const Vec3 eye{seat.x + GameEyeAboveSeat.x, seat.y + GameEyeAboveSeat.y, seat.z + GameEyeAboveSeat.z};
  return {LocalToWorld(*vehicle, eye), vehicle->rotation, GameFirstPersonFov, GameCameraNearClip};
}

}  // namespace

CameraView RenderedView(const World& world) {
  switch (CameraRendering(world)) {
    case RenderingCamera::Vantor:
      return {world.camera.position, world.camera.rotation, world.camera.fov, world.camera.nearClip};
    case RenderingCamera::FirstPerson: return GameFirstPersonView(world);
    case RenderingCamera::OtherScript: return ShotOf(world, OtherScriptOffset, OtherScriptTarget, OtherScriptFov);
    case RenderingCamera::Cinematic: return ShotOf(world, CinematicOffset, CinematicTarget, CinematicFov);
    case RenderingCamera::Cutscene: return ShotOf(world, CutsceneOffset, CutsceneTarget, CutsceneFov);
    case RenderingCamera::Gameplay: break;
  }
  return GameCameraView(world);
}

Vec3 WorldToLocal(const Vehicle& vehicle, Vec3 world) {
  const Vec3d out = RotateBack(RotationOf(vehicle.rotation), OffsetFrom(vehicle.position, world));
  return {static_cast<float>(out[0]), static_cast<float>(out[1]), static_cast<float>(out[2])};
}

void BeginFrame(World& world) {
  // A text or feed post must end in the frame that began it: the game draws nothing otherwise.
  if (world.textOpen || world.feedOpen) {
    world.errors.push_back(FrameFault(world.frame - 1, "a text or feed post was left open"));
    world.textOpen = world.feedOpen = false;
  }
  world.pendingStyle = TextStyle{};
  world.screen.rects.clear();
  world.screen.texts.clear();
  world.screen.order.clear();
}

void AdvanceWorld(World& world, int32_t frameTimeMs) {
  world.gameTimer = static_cast<int32_t>(static_cast<uint32_t>(world.gameTimer) + static_cast<uint32_t>(frameTimeMs));
  ++world.frame;
  const double seconds = frameTimeMs / 1000.0;
  for (Vehicle& vehicle : world.vehicles) {
    if (vehicle.motion.driven) StepVehicleMotion(vehicle, seconds);
    if (!std::isfinite(vehicle.speed) || !std::isfinite(vehicle.turnRate)) continue;
    // Without a heading a vehicle cannot move; moving it anyway would spread the bad rotation
    // into its position for good, even standing still.
    if (!std::isfinite(vehicle.rotation.x) || !std::isfinite(vehicle.rotation.y) || !std::isfinite(vehicle.rotation.z))
      continue;
    vehicle.rotation.z = WrapDegrees(vehicle.rotation.z + vehicle.turnRate * seconds);
    const Vec3 step{0.0f, static_cast<float>(vehicle.speed * seconds), 0.0f};
    // A driven vehicle's pitch is its body's, not the ground's: it stays on the flat ground.
    const Vec3 ahead = vehicle.motion.driven ? LocalToWorld(vehicle.position, {0.0f, 0.0f, vehicle.rotation.z}, step)
                                             : LocalToWorld(vehicle, step);
    vehicle.position = ahead;
  }
  StepWalking(world, seconds);
}

}  // namespace sim
