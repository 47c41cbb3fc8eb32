// The simulated game: the player, vehicles, the scripted camera, the keyboard, the look
// controls, the game timer and what is on screen. Plain portable C++, shared by every host.
#pragma once

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/vehicle_motion.h"

namespace sim {

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

inline bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

constexpr double DegreesToRadians = std::numbers::pi / 180.0;

constexpr int32_t PlayerHandle = 0x0101;
constexpr int32_t FirstVehicleHandle = 0x2001;
constexpr int32_t ScriptedCameraHandle = 0x3001;
constexpr int32_t SeatBoneIndex = 27;  // what the seat bone "seat_dside_f" answers when present

struct Vehicle {
  int32_t handle = 0;
  bool exists = true;
  int32_t vehicleClass = 0;
  Vec3 position;
  Vec3 rotation;        // degrees: pitch in x, roll in y, yaw in z
  float speed = 0.0f;   // metres per second along the local y axis, negative reversing;
                        // GetEntitySpeed answers its magnitude
  float turnRate = 0.0f;  // degrees of yaw per second
  bool hasSeatBone = true;
  Vec3 seatBoneOffset{-0.45f, 0.1f, 0.45f};  // in the vehicle's own frame
  int32_t maxPassengers = 3;
  std::vector<int32_t> otherOccupants;  // peds other than the player, index seat + 1
  VehicleMotion motion;  // a driver's throttle, brake and steering, once it has had any
};

struct Player {
  int32_t handle = PlayerHandle;
  bool exists = true;
  bool dead = false;
  Vec3 position;         // used while not in a vehicle
  int32_t vehicle = 0;   // current vehicle, 0 when on foot
  int32_t seat = -1;     // seat in the current vehicle
  int32_t lastVehicle = 0;
  float walkRight = 0.0f;  // on foot: the walking input, -1 to 1, across and along the way
  float walkAhead = 0.0f;  // the player faces (walking.h)
};

struct ScriptedCamera {
  bool created = false;
  int32_t handle = 0;
  bool active = false;
  uint32_t activation = 0;  // when it was last made active, in the world's activation count
  Vec3 position;
  Vec3 rotation;
  int32_t rotationOrder = 0;
  float fov = 0.0f;
  float nearClip = 0.0f;
  float farClip = 0.0f;
};

struct DrawnRect {
  float x, y, width, height;
  int32_t red, green, blue, alpha;
};

// The text style the setters leave for the next text; the game resets it after each text.
struct TextStyle {
  int32_t font = 0;
  float scale = 0.0f;
  float size = 0.0f;
  std::array<int32_t, 4> colour{255, 255, 255, 255};
  bool centre = false;
  bool dropShadow = false;
  std::array<int32_t, 5> dropShadowArgs{};
  bool edge = false;
  std::array<int32_t, 5> edgeArgs{};
};

struct DrawnText {
  std::string text;
  float x, y;
  TextStyle style;
};

struct Notification {
  int32_t frame;
  std::string text;
};

// What a frame put on screen, in the order it was issued.
struct ScreenItem {
  enum class Kind : uint8_t { Rect, Text } kind;
  uint32_t index;  // into rects or texts
};

struct Screen {
  std::vector<DrawnRect> rects;
  std::vector<DrawnText> texts;
  std::vector<ScreenItem> order;
};

// The camera the game renders through, one a frame.
enum class RenderingCamera : uint8_t { Gameplay, FirstPerson, Vantor, OtherScript, Cinematic, Cutscene };

// Another script's camera (a mission's or another mod's): a fixed shot of the player.
struct OtherScriptCamera {
  bool active = false;
  uint32_t activation = 0;
};

// The player's vehicle views as the game's "next camera" control cycles them: three follow
// distances, then the game's own first-person view.
constexpr int32_t FirstPersonViewMode = 4;
constexpr int32_t DefaultViewMode = 1;
constexpr int32_t ViewKey = 0x56;  // V: the game's "next camera" control on the keyboard

struct World {
  int32_t gameTimer = 100000;
  int32_t frame = 0;

  Player player;
  std::vector<Vehicle> vehicles;
  ScriptedCamera camera;
  OtherScriptCamera otherCamera;
  uint32_t cameraActivations = 0;     // script cameras made active so far: the latest wins
  bool scriptCamerasRendering = false;  // one switch for every script (RenderScriptCameras)
  bool cutscenePlaying = false;
  bool cinematicHeld = false;         // the cinematic button held, or the vehicle's idle camera
  int32_t vehicleCameraViewMode = DefaultViewMode;
  float groundLevel = 0.0f;           // height of the flat ground everything stands on
  int32_t resetFlagFrame = -1;  // last frame on which the player's reset flag was set

  std::array<float, 3> lookControls{};  // pad 0 controls 0..2; the plugin reads 1 and 2
  std::array<bool, 256> keyDown{};
  std::array<bool, 256> pressedSincePoll{};

  // Screen output of the current frame, and the feed over the whole run.
  Screen screen;
  TextStyle pendingStyle;
  bool textOpen = false;
  std::string textComponents;
  bool feedOpen = false;
  std::string feedComponents;
  std::vector<Notification> feed;

  // Faults of the plugin seen by the world: a run with any of them fails.
  std::vector<std::string> errors;

  // Called before each native is answered, with its table index: lets a test change the
  // world between two calls of one pass.
  std::function<void(World&, int)> beforeAnswer;
};

// A fault of the plugin found on a frame, as the run reports it: "frame N: what".
std::string FrameFault(int32_t frame, std::string_view what);
// The same for the frame being played, kept with the world's errors.
void ReportFault(World& world, std::string_view what);

Vehicle* FindVehicle(World& world, int32_t handle);
// The vehicle with this handle while it exists, else null.
const Vehicle* ExistingVehicle(const World& world, int32_t handle);
int32_t AddVehicle(World& world, Vehicle vehicle);  // returns the new handle

// The player takes a seat (-1 driver), or leaves to stand at a world position.
void EnterVehicle(World& world, int32_t vehicle, int32_t seat);
void LeaveVehicle(World& world, Vec3 standAt);

// Keys as the scenario holds them. V going down also cycles the player's vehicle view, as the
// game's "next camera" control does.
void SetKeyDown(World& world, int32_t virtualKey, bool down);

// The game's "next camera": 0 -> 1 -> 2 -> 4 -> 0, while the player sits in a vehicle and no
// cutscene plays; otherwise nothing.
void CycleViewMode(World& world);
int16_t PollKey(World& world, int32_t virtualKey);

// Which camera renders now, by the game's priority: a cutscene; the script camera activated
// last, while script cameras render; the cinematic camera; in a vehicle the view mode (4: the
// game's first-person camera, any other: the follow camera, which is the gameplay camera); on
// foot the gameplay camera.
RenderingCamera CameraRendering(const World& world);
// "gameplay", "first_person", "vantor", "other_script", "cinematic", "cutscene".
const char* RenderingCameraName(RenderingCamera camera);

// The plugin's scripted camera is what the player sees.
bool ScriptedCameraShown(const World& world);

// A rotation as the game reports it with order 2: the same attitude with the pitch within
// -90 to 90. Past vertical the pitch is 180 - p and roll and yaw turn by 180, each wrapped to
// [-180, 180). A rotation that is not finite comes back unchanged.
Vec3 ReportedRotation(const Vec3& rotation);
// An angle reduced to [-180, 180).
float WrapDegrees(double degrees);

// Position of the player: the vehicle's seat point while inside, its own otherwise.
Vec3 PlayerPosition(const World& world);

// Rotation order 2, as the world uses it: a vehicle-frame point p maps to the world as
// position + Rz(yaw) * Rx(pitch) * Ry(roll) * p, with x right, y forward, z up and positive
// yaw turning left (counter-clockwise seen from above). The two are exact inverses.
Vec3 LocalToWorld(const Vehicle& vehicle, Vec3 local);
Vec3 WorldToLocal(const Vehicle& vehicle, Vec3 world);
// The same for any frame at `position` turned by `rotation`.
Vec3 LocalToWorld(Vec3 position, Vec3 rotation, Vec3 local);

// Rz(yaw) * Rx(pitch) * Ry(roll) of a rotation (pitch in x, roll in y, yaw in z, degrees): its
// columns are the frame's right, forward and up axes in world coordinates.
struct Rotation {
  double m[3][3];
};
Rotation RotationOf(const Vec3& rotation);
// A vector in doubles, as rotations are worked out in before a point is rounded to float.
using Vec3d = std::array<double, 3>;
// From the frame into the world: the rotation times the vector.
Vec3d Rotate(const Rotation& rotation, const Vec3d& local);
// From the world into the frame: the inverse of a rotation is its transpose.
Vec3d RotateBack(const Rotation& rotation, const Vec3d& world);
// `point - origin`, each coordinate widened to double first.
Vec3d OffsetFrom(Vec3 origin, Vec3 point);

// A camera as the game renders through it. It looks along its local y axis with x to the
// right and z up, turned by its rotation with order 2 as above; the field of view is vertical.
struct CameraView {
  Vec3 position;
  Vec3 rotation;  // pitch, roll, yaw in degrees
  float fov = 0.0f;
  float nearClip = 0.0f;
};

// The game's own camera, placed as the game places it: behind and above the player's vehicle,
// farther out in the higher view modes, looking along the vehicle's heading; on foot, over the
// player's right shoulder, the player facing the vehicle last used. Vehicles and the player
// stand with their position on the ground.
CameraView GameCameraView(const World& world);

// The way the player faces on foot, as a yaw in degrees: towards the vehicle last used; with
// none, or standing on its spot, that vehicle's heading, else 0.
float PlayerFacing(const World& world);

// The camera the game renders through on this frame (CameraRendering).
CameraView RenderedView(const World& world);

// Starts a frame: clears the screen output and text style of the last one, and faults a text
// or feed post the last frame left open.
void BeginFrame(World& world);
// Ends a frame: the timer advances by frameTimeMs with 32-bit wrap-around and the vehicles move
// (a driven vehicle by its motion inputs first, and then level with the ground), and the player
// walks.
void AdvanceWorld(World& world, int32_t frameTimeMs);

}  // namespace sim
