#include "sim/scenario/scenario_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <toml++/toml.h>

#include "sim/core/text_file.h"
#include "sim/core/track.h"

namespace sim {

namespace {

// Messages are joined by appending: where std::string's operator+ inserts in front of a
// temporary, GCC 12 reports a false -Wrestrict in optimised builds (its bug 105329).
std::string Join(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) text.append(part);
  return text;
}

struct Reader {
  std::string origin;
  std::string error;
  std::vector<std::pair<int32_t, int32_t>> writtenEvents;  // frame and line of each event as written

  bool Fail(const toml::source_region& where, const std::string& what) {
    if (error.empty()) error = Join({origin, ":", std::to_string(where.begin.line), ": ", what});
    return false;
  }
  bool Fail(const toml::node& node, const std::string& what) { return Fail(node.source(), what); }
};

// The names of a table's rows as messages list them: "a, b, c".
template <typename Row, size_t Count, typename NameOf>
std::string NameList(const Row (&rows)[Count], NameOf nameOf) {
  std::string list;
  for (const Row& row : rows) {
    if (!list.empty()) list += ", ";
    list += nameOf(row);
  }
  return list;
}

// The row of a key in a table of (name, reader) rows; null for a key the table lacks.
template <typename Read, size_t Count>
const std::pair<const char*, Read>* FindKey(const std::pair<const char*, Read> (&rows)[Count], std::string_view name) {
  for (const auto& row : rows)
    if (name == row.first) return &row;
  return nullptr;
}

constexpr auto FirstOfPair = [](const auto& row) { return row.first; };

bool ReadValue(Reader& reader, const toml::node& node, const char* key, float& out) {
  if (auto value = node.value<double>()) {
    out = static_cast<float>(*value);
    return true;
  }
  return reader.Fail(node, Join({"expected a number for '", key, "'"}));
}

bool ReadValue(Reader& reader, const toml::node& node, const char* key, int32_t& out) {
  if (auto value = node.value<int64_t>()) {
    if (*value >= INT32_MIN && *value <= INT32_MAX) {
      out = static_cast<int32_t>(*value);
      return true;
    }
  }
  return reader.Fail(node, Join({"expected a 32-bit integer for '", key, "'"}));
}

bool ReadValue(Reader& reader, const toml::node& node, const char* key, std::string& out) {
  if (auto value = node.value<std::string>()) {
    out = *value;
    return true;
  }
  return reader.Fail(node, Join({"expected a text for '", key, "'"}));
}

bool ReadValue(Reader& reader, const toml::node& node, const char* key, bool& out) {
  if (auto value = node.value<bool>()) {
    out = *value;
    return true;
  }
  return reader.Fail(node, Join({"expected true or false for '", key, "'"}));
}

bool ReadValue(Reader& reader, const toml::node& node, const char* key, Vec3& out) {
  const toml::array* array = node.as_array();
  if (array == nullptr || array->size() != 3)
    return reader.Fail(node, Join({"expected [x, y, z] for '", key, "'"}));
  float parts[3];
  for (size_t i = 0; i < 3; ++i)
    if (!ReadValue(reader, (*array)[i], key, parts[i])) return false;
  out = {parts[0], parts[1], parts[2]};
  return true;
}

// A key read straight into a member of the record being read.
template <auto Field, typename Record>
bool ReadMember(Reader& reader, const toml::node& node, const char* key, Record& record) {
  return ReadValue(reader, node, key, record.*Field);
}

// A seat bone's offset, or false for a vehicle without one.
bool ReadSeatBone(Reader& reader, const toml::node& node, const char* key, ScenarioVehicle& vehicle) {
  if (node.is_boolean() && !*node.value<bool>()) {
    vehicle.hasSeatBone = false;
    return true;
  }
  return ReadValue(reader, node, key, vehicle.seatBone);
}

using VehicleKeyRead = bool (*)(Reader&, const toml::node&, const char* key, ScenarioVehicle&);

// The keys of a [[vehicle]] table, in the order its messages list them.
constexpr std::pair<const char*, VehicleKeyRead> VehicleKeys[] = {
    {"name", ReadMember<&ScenarioVehicle::name>},
    {"class", ReadMember<&ScenarioVehicle::vehicleClass>},
    {"seat_bone", ReadSeatBone},
    {"max_passengers", ReadMember<&ScenarioVehicle::maxPassengers>},
    {"position", ReadMember<&ScenarioVehicle::position>},
    {"rotation", ReadMember<&ScenarioVehicle::rotation>},
    {"speed", ReadMember<&ScenarioVehicle::speed>},
    {"turn_rate", ReadMember<&ScenarioVehicle::turnRate>},
};

bool ReadVehicleKey(Reader& reader, std::string_view name, const toml::node& node, ScenarioVehicle& vehicle) {
  if (name == "events" || name == "event")
    return reader.Fail(node, Join({"'", name,
                                   "' inside a [[vehicle]] table: write 'events' before the first [[vehicle]], "
                                   "or write each event as an [[event]] table"}));
  if (const auto* row = FindKey(VehicleKeys, name)) return row->second(reader, node, row->first, vehicle);
  return reader.Fail(node, Join({"unknown vehicle key '", name, "' (expected ", NameList(VehicleKeys, FirstOfPair), ")"}));
}

bool ReadVehicle(Reader& reader, const toml::table& table, ScenarioVehicle& vehicle) {
  for (const auto& [key, node] : table)
    if (!ReadVehicleKey(reader, key.str(), node, vehicle)) return false;
  if (vehicle.name.empty()) return reader.Fail(table.source(), "a vehicle needs a 'name'");
  return true;
}

int32_t VehicleIndex(const Scenario& scenario, std::string_view name) {
  for (size_t i = 0; i < scenario.vehicles.size(); ++i)
    if (scenario.vehicles[i].name == name) return static_cast<int32_t>(i);
  return -1;
}

// One key of an event as the reader meets it.
struct KeyInput {
  Reader& reader;
  std::string_view action;
  const char* key;
  const toml::node& node;
  const Scenario& scenario;
  ScenarioEvent& event;
};
using KeyRead = bool (*)(const KeyInput&);

bool ReadVehicleName(const KeyInput& in) {
  const auto text = in.node.value<std::string>();
  in.event.vehicle = text ? VehicleIndex(in.scenario, *text) : -1;
  if (in.event.vehicle < 0)
    return in.reader.Fail(in.node, "expected the name of a vehicle declared above for 'vehicle'");
  return true;
}

bool ReadKeyName(const KeyInput& in) {
  const auto text = in.node.value<std::string>();
  in.event.key = text ? KeyCodeByName(*text) : 0;
  if (in.event.key == 0)
    return in.reader.Fail(in.node, "expected a key: V, F6, UP, DOWN, LEFT, RIGHT, ENTER, NUMPAD0 to NUMPAD9");
  return true;
}

bool ReadDistance(const KeyInput& in) {
  float distance = 0.0f;
  bool ok = ReadValue(in.reader, in.node, in.key, distance);
  if (ok && !(distance >= 0.0f)) ok = in.reader.Fail(in.node, "expected a distance of 0 or more metres");
  // Beside the driver's door: the vehicle's local -x axis, at the height of its origin.
  in.event.offset = {-distance, 0.0f, 0.0f};
  return ok;
}

bool ReadAmount(const KeyInput& in) {
  bool ok = ReadValue(in.reader, in.node, in.key, in.event.amount);
  const bool steer = in.action == "steer";
  const float lowest = steer ? -1.0f : 0.0f;
  if (ok && !(in.event.amount >= lowest && in.event.amount <= 1.0f))
    ok = in.reader.Fail(in.node, steer ? "expected an amount from -1 (full left) to 1 (full right)"
                                       : "expected an amount from 0 to 1");
  return ok;
}

// A drive's value, given or left as it is.
template <std::optional<float> ScenarioEvent::*Field>
bool ReadDriveValue(const KeyInput& in) {
  float value = 0.0f;
  const bool ok = ReadValue(in.reader, in.node, in.key, value);
  in.event.*Field = value;
  return ok;
}

template <auto Field>
bool ReadEventMember(const KeyInput& in) {
  return ReadValue(in.reader, in.node, in.key, in.event.*Field);
}

// Every key an action may take besides "at", "until" and "do", with how it is read.
constexpr std::pair<const char*, KeyRead> EventKeys[] = {
    {"vehicle", ReadVehicleName},
    {"seat", ReadEventMember<&ScenarioEvent::seat>},
    {"stand", ReadEventMember<&ScenarioEvent::offset>},
    {"offset", ReadEventMember<&ScenarioEvent::offset>},
    {"key", ReadKeyName},
    {"distance", ReadDistance},
    {"x", ReadEventMember<&ScenarioEvent::lookX>},
    {"y", ReadEventMember<&ScenarioEvent::lookY>},
    {"class", ReadEventMember<&ScenarioEvent::value>},
    {"time", ReadEventMember<&ScenarioEvent::value>},
    {"amount", ReadAmount},
    {"speed", ReadDriveValue<&ScenarioEvent::speed>},
    {"turn_rate", ReadDriveValue<&ScenarioEvent::turnRate>},
    {"pitch", ReadDriveValue<&ScenarioEvent::pitch>},
    {"roll", ReadDriveValue<&ScenarioEvent::roll>},
    {"yaw", ReadDriveValue<&ScenarioEvent::yaw>},
};

// A check of one action's own, once its keys are read; may set the event from `until`.
using ActionCheck = bool (*)(Reader&, const toml::table&, std::optional<int32_t> until, ScenarioEvent&);

bool CheckWalk(Reader& reader, const toml::table& table, std::optional<int32_t>, ScenarioEvent& event) {
  if (!(std::fabs(event.lookX) <= 1.0f && std::fabs(event.lookY) <= 1.0f))
    return reader.Fail(table.source(), "expected 'x' and 'y' from -1 to 1 for 'walk'");
  return true;
}

bool CheckStandNear(Reader& reader, const toml::table& table, std::optional<int32_t>, ScenarioEvent&) {
  if (table.contains("offset") && table.contains("distance"))
    return reader.Fail(table.source(), "'stand_near' takes 'offset' or 'distance', not both");
  return true;
}

bool CheckDrive(Reader& reader, const toml::table& table, std::optional<int32_t> until, ScenarioEvent& event) {
  if (!until) return true;
  if (event.yaw) return reader.Fail(table.source(), "a drive with 'until' cannot ramp 'yaw': ramp 'turn_rate' instead");
  event.until = *until;
  return true;
}

// The event that ends an action's span, added after it.
enum class Release : uint8_t {
  None,
  NextFrame,  // the key goes up on the next frame
  AtUntil,    // the key goes up at `until`
  CameraEnd,  // the camera span ends at `until`
  Centre,     // with `until`: x and y back to 0 then
  LetGo,      // with `until`: the amount back to 0 then
};

enum Needs : uint8_t { NeedsNothing = 0, NeedsVehicle = 1, NeedsKey = 2, NeedsAmount = 4 };

// One row per action: its name, the event it makes, its own keys, what it needs, whether it
// takes `until` (and why it must, where it must) and how its span ends. The first row of a
// kind is the action written for it.
struct Action {
  const char* name;
  EventKind kind;
  const char* keys;  // space separated, with a space at either end
  uint8_t needs;
  bool takesUntil;
  const char* untilNeeded;  // the rest of "'<action>' needs 'until', ..."; null where it may be left out
  Release release;
  ActionCheck check;
};

constexpr Action Actions[] = {
    {"enter", EventKind::Enter, " vehicle seat ", NeedsVehicle, false, nullptr, Release::None, nullptr},
    {"leave", EventKind::Leave, " stand ", NeedsNothing, false, nullptr, Release::None, nullptr},
    {"stand_near", EventKind::StandNear, " vehicle offset distance ", NeedsVehicle, false, nullptr, Release::None, CheckStandNear},
    {"die", EventKind::Die, " ", NeedsNothing, false, nullptr, Release::None, nullptr},
    {"revive", EventKind::Revive, " ", NeedsNothing, false, nullptr, Release::None, nullptr},
    {"drive", EventKind::Drive, " vehicle speed turn_rate pitch roll yaw ", NeedsVehicle, true, nullptr, Release::None, CheckDrive},
    {"cutscene", EventKind::Cutscene, " ", NeedsNothing, true, "the frame it ends", Release::CameraEnd, nullptr},
    {"cinematic", EventKind::Cinematic, " ", NeedsNothing, true, "the frame it ends", Release::CameraEnd, nullptr},
    {"other_camera", EventKind::OtherCamera, " ", NeedsNothing, true, "the frame it ends", Release::CameraEnd, nullptr},
    {"look", EventKind::Look, " x y ", NeedsNothing, true, nullptr, Release::Centre, nullptr},
    {"key_down", EventKind::KeyDown, " key ", NeedsKey, false, nullptr, Release::None, nullptr},
    {"key_up", EventKind::KeyUp, " key ", NeedsKey, false, nullptr, Release::None, nullptr},
    {"press", EventKind::KeyDown, " key ", NeedsKey, false, nullptr, Release::NextFrame, nullptr},
    {"hold", EventKind::KeyDown, " key ", NeedsKey, true, "the frame the key is let go", Release::AtUntil, nullptr},
    {"vehicle_class", EventKind::VehicleClass, " vehicle class ", NeedsVehicle, false, nullptr, Release::None, nullptr},
    {"remove_vehicle", EventKind::RemoveVehicle, " vehicle ", NeedsVehicle, false, nullptr, Release::None, nullptr},
    {"set_timer", EventKind::SetTimer, " time ", NeedsNothing, false, nullptr, Release::None, nullptr},
    {"picture", EventKind::Picture, " ", NeedsNothing, false, nullptr, Release::None, nullptr},
    {"throttle", EventKind::Throttle, " vehicle amount ", NeedsVehicle | NeedsAmount, true, nullptr, Release::LetGo, nullptr},
    {"brake", EventKind::Brake, " vehicle amount ", NeedsVehicle | NeedsAmount, true, nullptr, Release::LetGo, nullptr},
    {"steer", EventKind::Steer, " vehicle amount ", NeedsVehicle | NeedsAmount, true, nullptr, Release::LetGo, nullptr},
    {"walk", EventKind::Walk, " x y ", NeedsNothing, true, nullptr, Release::Centre, CheckWalk},
};

std::string ActionList() {
  return NameList(Actions, [](const Action& action) { return action.name; });
}

const Action* FindAction(std::string_view name) {
  for (const Action& action : Actions)
    if (name == action.name) return &action;
  return nullptr;
}

const Action* ActionOf(EventKind kind) {
  for (const Action& action : Actions)
    if (action.kind == kind) return &action;
  return nullptr;
}

// One of the action's own keys into the event; false with a message for a key it does not take.
bool ReadActionKey(Reader& reader, const Action& action, const std::string& name, const toml::node& node,
                   const Scenario& scenario, ScenarioEvent& event) {
  if (std::string_view(action.keys).find(Join({" ", name, " "})) == std::string::npos)
    return reader.Fail(node, Join({"'", action.name, "' takes none of '", name, "' (it takes:", action.keys, "at, until)"}));
  const auto* row = FindKey(EventKeys, name);
  return row == nullptr || row->second({reader, action.name, row->first, node, scenario, event});
}

// What the action needs besides its keys, and what its `until` may be; sets the event's span.
bool CheckEvent(Reader& reader, const toml::table& table, const Action& action, std::optional<int32_t> until,
                ScenarioEvent& event) {
  const auto fail = [&](std::string_view what) { return reader.Fail(table.source(), std::string(what)); };
  if (!table.contains("at")) return fail("an event needs 'at', the frame it happens on");
  if ((action.needs & NeedsVehicle) != 0 && event.vehicle < 0) return fail(Join({"'", action.name, "' needs 'vehicle'"}));
  if ((action.needs & NeedsKey) != 0 && event.key == 0) return fail(Join({"'", action.name, "' needs 'key'"}));
  if (until && *until <= event.frame) return fail("expected 'until' after 'at'");
  if (until && !action.takesUntil)
    return fail("only look, hold, drive, cutscene, cinematic, other_camera, throttle, brake, steer and walk take 'until'");
  if ((action.needs & NeedsAmount) != 0 && !table.contains("amount")) return fail(Join({"'", action.name, "' needs 'amount'"}));
  if (action.untilNeeded != nullptr && !until)
    return fail(Join({"'", action.name, "' needs 'until', ", action.untilNeeded}));
  if (action.check != nullptr && !action.check(reader, table, until, event)) return false;
  event.flag = action.release == Release::CameraEnd;  // the span begins; its end (AddSpanEnd) clears the flag
  return true;
}

// Spans end with the opposite event: a press lasts one frame, a hold until its end.
void AddSpanEnd(Scenario& scenario, const ScenarioEvent& event, Release release, std::optional<int32_t> until) {
  ScenarioEvent end = event;
  switch (release) {
    case Release::NextFrame:
    case Release::AtUntil:
      end.kind = EventKind::KeyUp;
      end.frame = release == Release::NextFrame ? event.frame + 1 : *until;
      break;
    case Release::CameraEnd:
      end.frame = *until;
      end.flag = false;
      break;
    case Release::Centre:
      if (!until) return;
      end.frame = *until;
      end.lookX = 0.0f;
      end.lookY = 0.0f;
      break;
    case Release::LetGo:
      if (!until) return;
      end.frame = *until;
      end.amount = 0.0f;
      break;
    case Release::None:
      return;
  }
  scenario.events.push_back(end);
}

// The event's "at", "until" and the action's own keys; false with a message at the first fault.
bool ReadEventKeys(Reader& reader, const toml::table& table, const Action& action, const Scenario& scenario,
                   ScenarioEvent& event, std::optional<int32_t>& until) {
  for (const auto& [key, node] : table) {
    const std::string name(key.str());
    bool ok = true;
    if (name == "do") continue;
    if (name == "at") {
      ok = ReadValue(reader, node, "at", event.frame);
      if (ok && event.frame < 0) ok = reader.Fail(node, "expected a frame of 0 or more for 'at'");
    } else if (name == "until") {
      int32_t value = 0;
      ok = ReadValue(reader, node, "until", value);
      until = value;
    } else {
      ok = ReadActionKey(reader, action, name, node, scenario, event);
    }
    if (!ok) return false;
  }
  return true;
}

bool ReadEvent(Reader& reader, const toml::table& table, Scenario& scenario) {
  const toml::node* doNode = table.get("do");
  if (doNode == nullptr || !doNode->is_string())
    return reader.Fail(table.source(), Join({"an event needs 'do' with one of: ", ActionList()}));
  const std::string name = *doNode->value<std::string>();
  const Action* action = FindAction(name);
  if (action == nullptr)
    return reader.Fail(*doNode, Join({"unknown action '", name, "' (expected one of: ", ActionList(), ")"}));

  ScenarioEvent event;
  event.line = static_cast<int32_t>(table.source().begin.line);
  std::optional<int32_t> until;
  if (!ReadEventKeys(reader, table, *action, scenario, event, until)) return false;
  if (!CheckEvent(reader, table, *action, until, event)) return false;

  event.kind = action->kind;
  scenario.events.push_back(event);
  reader.writtenEvents.emplace_back(event.frame, event.line);
  AddSpanEnd(scenario, event, action->release, until);
  return true;
}

// The starting Vantor.ini's bytes from a file named relative to the scenario's folder.
bool ReadSettingsFileBeside(Reader& reader, const toml::node& node, const char*, Scenario& scenario) {
  const auto name = node.value<std::string>();
  if (!name) return reader.Fail(node, "expected a file name for 'settings_file_from'");
  const std::string path = (std::filesystem::path(reader.origin).parent_path() / *name).string();
  std::string bytes, error;
  if (!ReadScenarioFile(path, bytes, error)) return reader.Fail(node, Join({"'settings_file_from': ", error}));
  scenario.settingsFile = std::move(bytes);
  return true;
}

// A ramp plans speed, pitch and roll beforehand; a vehicle with motion inputs has them from
// the world, frame by frame, so the two cannot meet.
bool RefuseRampsOfDrivenVehicles(Reader& reader, const Scenario& scenario) {
  const auto driven = [&](int32_t vehicle) {
    return std::any_of(scenario.events.begin(), scenario.events.end(), [vehicle](const ScenarioEvent& event) {
      return event.vehicle == vehicle &&
             (event.kind == EventKind::Throttle || event.kind == EventKind::Brake || event.kind == EventKind::Steer);
    });
  };
  for (const ScenarioEvent& event : scenario.events) {
    if (event.kind != EventKind::Drive || event.until <= event.frame || !driven(event.vehicle)) continue;
    const std::string& name = scenario.vehicles[static_cast<size_t>(event.vehicle)].name;
    reader.error = Join({reader.origin, ":", std::to_string(event.line), ": a 'drive' with 'until' cannot ramp '", name,
                         "': throttle, brake or steer drive it, so its speed, pitch and roll are the world's (a "
                         "'drive' without 'until' sets them for its frame)"});
    return false;
  }
  return true;
}

// Vehicles first, so events may name them wherever the tables stand in the file.
bool ReadVehicles(Reader& reader, const toml::table& root, Scenario& scenario) {
  const toml::node* vehicles = root.get("vehicle");
  if (vehicles == nullptr) return true;
  const toml::array* array = vehicles->as_array();
  if (array == nullptr) return reader.Fail(*vehicles, "expected [[vehicle]] tables");
  for (const toml::node& node : *array) {
    const toml::table* table = node.as_table();
    if (table == nullptr) return reader.Fail(node, "expected a [[vehicle]] table");
    ScenarioVehicle vehicle;
    if (!ReadVehicle(reader, *table, vehicle)) return false;
    if (VehicleIndex(scenario, vehicle.name) >= 0) return reader.Fail(*table, Join({"a second vehicle named ", vehicle.name}));
    scenario.vehicles.push_back(vehicle);
  }
  return true;
}

bool ReadEvents(Reader& reader, const toml::node& node, const char*, Scenario& scenario) {
  const toml::array* array = node.as_array();
  if (array == nullptr) return reader.Fail(node, "expected an array of event tables for 'events'");
  for (const toml::node& item : *array) {
    const toml::table* table = item.as_table();
    if (!(table != nullptr ? ReadEvent(reader, *table, scenario) : reader.Fail(item, "expected an event table"))) return false;
  }
  return true;
}

bool ReadFrameTime(Reader& reader, const toml::node& node, const char* key, Scenario& scenario) {
  bool ok = ReadValue(reader, node, key, scenario.frameTimeMs);
  if (ok && scenario.frameTimeMs < 0) ok = reader.Fail(node, "expected a frame time of 0 or more");
  return ok;
}

bool ReadFrames(Reader& reader, const toml::node& node, const char* key, Scenario& scenario) {
  bool ok = ReadValue(reader, node, key, scenario.frames);
  if (ok && scenario.frames < 1) ok = reader.Fail(node, "expected at least 1 frame");
  return ok;
}

bool ReadViewMode(Reader& reader, const toml::node& node, const char* key, Scenario& scenario) {
  bool ok = ReadValue(reader, node, key, scenario.viewMode);
  if (ok && (scenario.viewMode < 0 || scenario.viewMode > FirstPersonViewMode))
    ok = reader.Fail(node, "expected a view mode from 0 to 4 for 'view_mode' (4: the game's first person)");
  return ok;
}

bool ReadSettingsFileText(Reader& reader, const toml::node& node, const char*, Scenario& scenario) {
  if (auto text = node.value<std::string>()) scenario.settingsFile = *text;
  else return reader.Fail(node, "expected the file's content as a text for 'settings_file'");
  return true;
}

bool ReadTrack(Reader& reader, const toml::node& node, const char*, Scenario& scenario) {
  const auto text = node.value<std::string>();
  if (text && KnownTrack(*text)) scenario.track = *text;
  else return reader.Fail(node, Join({"expected a track for 'track': \"", CircuitTrack, "\""}));
  return true;
}

using ScenarioKeyRead = bool (*)(Reader&, const toml::node&, const char* key, Scenario&);

// The keys of a scenario file's top level, in the order its messages list them.
constexpr std::pair<const char*, ScenarioKeyRead> ScenarioKeys[] = {
    {"name", ReadMember<&Scenario::name>},
    {"frame_time_ms", ReadFrameTime},
    {"frames", ReadFrames},
    {"start_timer", ReadMember<&Scenario::startTimer>},
    {"view_mode", ReadViewMode},
    {"settings_file", ReadSettingsFileText},
    {"settings_file_from", ReadSettingsFileBeside},
    {"settings_file_blocked", ReadMember<&Scenario::settingsFileBlocked>},
    {"track", ReadTrack},
    {"vehicle", [](Reader&, const toml::node&, const char*, Scenario&) { return true; }},  // read first, by ReadVehicles
    {"events", ReadEvents},
};

bool ReadScenarioKey(Reader& reader, std::string_view name, const toml::node& node, Scenario& scenario) {
  if (name == "event") name = "events";
  if (const auto* row = FindKey(ScenarioKeys, name)) return row->second(reader, node, row->first, scenario);
  return reader.Fail(node, Join({"unknown key '", name, "' (expected ", NameList(ScenarioKeys, FirstOfPair), ")"}));
}

// What holds only once the whole file is read: "frames" may stand after the events.
bool CheckWholeScenario(Reader& reader, const toml::table& root, Scenario& scenario) {
  if (root.contains("settings_file") && root.contains("settings_file_from"))
    return reader.Fail(*root.get("settings_file_from"), "'settings_file' and 'settings_file_from' cannot both give the file");
  SortEvents(scenario);
  if (!RefuseRampsOfDrivenVehicles(reader, scenario)) return false;
  for (const auto& [frame, line] : reader.writtenEvents)
    if (frame >= scenario.frames) {
      reader.error = Join({reader.origin, ":", std::to_string(line), ": expected 'at' below ",
                           std::to_string(scenario.frames), ", the number of frames: frame ", std::to_string(frame),
                           " is never played"});
      return false;
    }
  return true;
}

bool ReadScenario(Reader& reader, const toml::table& root, Scenario& scenario) {
  if (!ReadVehicles(reader, root, scenario)) return false;
  for (const auto& [key, node] : root)
    if (!ReadScenarioKey(reader, key.str(), node, scenario)) return false;
  if (!CheckWholeScenario(reader, root, scenario)) return false;
  ExpandRamps(scenario);
  return true;
}

}  // namespace

const char* ActionName(EventKind kind) {
  const Action* action = ActionOf(kind);
  return action != nullptr ? action->name : "";
}

const char* ActionKeys(EventKind kind) {
  const Action* action = ActionOf(kind);
  return action != nullptr ? action->keys : " ";
}

bool ParseScenario(const std::string& text, const std::string& origin, Scenario& scenario, std::string& error) {
  Reader reader;
  reader.origin = origin;
  scenario = Scenario{};
  try {
    const toml::table root = toml::parse(text, origin);
    if (!ReadScenario(reader, root, scenario)) {
      error = reader.error;
      return false;
    }
  } catch (const toml::parse_error& failure) {
    error = Join({origin, ":", std::to_string(failure.source().begin.line), ": ", failure.description()});
    return false;
  }
  return true;
}

bool ReadScenarioFile(const std::string& path, std::string& text, std::string& error) {
  // A folder opens as a stream on Linux and reads as empty: refuse it rather than play nothing.
  std::error_code failure;
  if (!std::filesystem::is_regular_file(path, failure)) {
    error = path + ": " + (std::filesystem::exists(path, failure) ? "is not a file" : "no such file");
    return false;
  }
  if (!ReadWholeFile(path, text)) {
    error = path + ": cannot be read";
    return false;
  }
  return true;
}

bool LoadScenarioFile(const std::string& path, Scenario& scenario, std::string& error) {
  std::string text;
  return ReadScenarioFile(path, text, error) && ParseScenario(text, path, scenario, error);
}

}  // namespace sim
