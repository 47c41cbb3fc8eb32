#include "sim/scenario/scenario_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <toml++/toml.h>

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

bool ReadFloat(Reader& reader, const toml::node& node, const char* key, float& out) {
  if (auto value = node.value<double>()) {
    out = static_cast<float>(*value);
    return true;
  }
  return reader.Fail(node, Join({"expected a number for '", key, "'"}));
}

bool ReadInt(Reader& reader, const toml::node& node, const char* key, int32_t& out) {
  if (auto value = node.value<int64_t>()) {
    if (*value >= INT32_MIN && *value <= INT32_MAX) {
      out = static_cast<int32_t>(*value);
      return true;
    }
  }
  return reader.Fail(node, Join({"expected a 32-bit integer for '", key, "'"}));
}

bool ReadBool(Reader& reader, const toml::node& node, const char* key, bool& out) {
  if (auto value = node.value<bool>()) {
    out = *value;
    return true;
  }
  return reader.Fail(node, Join({"expected true or false for '", key, "'"}));
}

bool ReadVec3(Reader& reader, const toml::node& node, const char* key, Vec3& out) {
  const toml::array* array = node.as_array();
  if (array == nullptr || array->size() != 3)
    return reader.Fail(node, Join({"expected [x, y, z] for '", key, "'"}));
  float parts[3];
  for (size_t i = 0; i < 3; ++i)
    if (!ReadFloat(reader, (*array)[i], key, parts[i])) return false;
  out = {parts[0], parts[1], parts[2]};
  return true;
}

bool ReadVehicle(Reader& reader, const toml::table& table, ScenarioVehicle& vehicle) {
  for (const auto& [key, node] : table) {
    const std::string_view name = key.str();
    bool ok = true;
    if (name == "name") {
      if (auto text = node.value<std::string>()) vehicle.name = *text;
      else ok = reader.Fail(node, "expected a text for 'name'");
    } else if (name == "class") {
      ok = ReadInt(reader, node, "class", vehicle.vehicleClass);
    } else if (name == "seat_bone") {
      if (node.is_boolean() && !*node.value<bool>()) vehicle.hasSeatBone = false;
      else ok = ReadVec3(reader, node, "seat_bone", vehicle.seatBone);
    } else if (name == "max_passengers") {
      ok = ReadInt(reader, node, "max_passengers", vehicle.maxPassengers);
    } else if (name == "position") {
      ok = ReadVec3(reader, node, "position", vehicle.position);
    } else if (name == "rotation") {
      ok = ReadVec3(reader, node, "rotation", vehicle.rotation);
    } else if (name == "speed") {
      ok = ReadFloat(reader, node, "speed", vehicle.speed);
    } else if (name == "turn_rate") {
      ok = ReadFloat(reader, node, "turn_rate", vehicle.turnRate);
    } else if (name == "events" || name == "event") {
      ok = reader.Fail(node, Join({"'", name,
                                   "' inside a [[vehicle]] table: write 'events' before the first [[vehicle]], "
                                   "or write each event as an [[event]] table"}));
    } else {
      ok = reader.Fail(node, Join({"unknown vehicle key '", name,
                                   "' (expected name, class, seat_bone, max_passengers, position, rotation, "
                                   "speed, turn_rate)"}));
    }
    if (!ok) return false;
  }
  if (vehicle.name.empty()) return reader.Fail(table.source(), "a vehicle needs a 'name'");
  return true;
}

int32_t VehicleIndex(const Scenario& scenario, std::string_view name) {
  for (size_t i = 0; i < scenario.vehicles.size(); ++i)
    if (scenario.vehicles[i].name == name) return static_cast<int32_t>(i);
  return -1;
}

// The keys each action takes besides "at", "until" and "do".
struct Action {
  const char* name;
  const char* keys;  // space separated
};

constexpr Action Actions[] = {
    {"enter", " vehicle seat "},
    {"leave", " stand "},
    {"stand_near", " vehicle offset distance "},
    {"die", " "},
    {"revive", " "},
    {"drive", " vehicle speed turn_rate pitch roll yaw "},
    {"cutscene", " "},
    {"cinematic", " "},
    {"other_camera", " "},
    {"look", " x y "},
    {"key_down", " key "},
    {"key_up", " key "},
    {"press", " key "},
    {"hold", " key "},
    {"vehicle_class", " vehicle class "},
    {"remove_vehicle", " vehicle "},
    {"set_timer", " time "},
    {"picture", " "},
    {"throttle", " vehicle amount "},
    {"brake", " vehicle amount "},
    {"steer", " vehicle amount "},
    {"walk", " x y "},
};

// The event each action makes; the first action of a kind is the one written for it.
constexpr std::pair<const char*, EventKind> Kinds[] = {
    {"enter", EventKind::Enter},          {"leave", EventKind::Leave},
    {"stand_near", EventKind::StandNear}, {"die", EventKind::Die},
    {"revive", EventKind::Revive},        {"drive", EventKind::Drive},
    {"cutscene", EventKind::Cutscene},    {"cinematic", EventKind::Cinematic},
    {"other_camera", EventKind::OtherCamera}, {"look", EventKind::Look},
    {"key_down", EventKind::KeyDown},     {"key_up", EventKind::KeyUp},
    {"press", EventKind::KeyDown},        {"hold", EventKind::KeyDown},
    {"vehicle_class", EventKind::VehicleClass}, {"remove_vehicle", EventKind::RemoveVehicle},
    {"set_timer", EventKind::SetTimer},   {"picture", EventKind::Picture},
    {"throttle", EventKind::Throttle},    {"brake", EventKind::Brake},
    {"steer", EventKind::Steer},         {"walk", EventKind::Walk},
};

std::string ActionList() {
  std::string list;
  for (const Action& action : Actions) {
    if (!list.empty()) list += ", ";
    list += action.name;
  }
  return list;
}

// One of the action's own keys into the event.
bool ReadActionKey(Reader& reader, const std::string& action, const std::string& name, const toml::node& node,
                   const Scenario& scenario, ScenarioEvent& event) {
  bool ok = true;
  if (name == "vehicle") {
    const auto text = node.value<std::string>();
    event.vehicle = text ? VehicleIndex(scenario, *text) : -1;
    if (event.vehicle < 0) ok = reader.Fail(node, "expected the name of a vehicle declared above for 'vehicle'");
  } else if (name == "seat") {
    ok = ReadInt(reader, node, "seat", event.seat);
  } else if (name == "stand" || name == "offset") {
    ok = ReadVec3(reader, node, name.c_str(), event.offset);
  } else if (name == "key") {
    const auto text = node.value<std::string>();
    event.key = text ? KeyCodeByName(*text) : 0;
    if (event.key == 0)
      ok = reader.Fail(node, "expected a key: V, F6, UP, DOWN, LEFT, RIGHT, ENTER, NUMPAD0 to NUMPAD9");
  } else if (name == "distance") {
    float distance = 0.0f;
    ok = ReadFloat(reader, node, "distance", distance);
    if (ok && !(distance >= 0.0f)) ok = reader.Fail(node, "expected a distance of 0 or more metres");
    // Beside the driver's door: the vehicle's local -x axis, at the height of its origin.
    event.offset = {-distance, 0.0f, 0.0f};
  } else if (name == "x") {
    ok = ReadFloat(reader, node, "x", event.lookX);
  } else if (name == "y") {
    ok = ReadFloat(reader, node, "y", event.lookY);
  } else if (name == "class") {
    ok = ReadInt(reader, node, "class", event.value);
  } else if (name == "time") {
    ok = ReadInt(reader, node, "time", event.value);
  } else if (name == "amount") {
    ok = ReadFloat(reader, node, "amount", event.amount);
    const float lowest = action == "steer" ? -1.0f : 0.0f;
    if (ok && !(event.amount >= lowest && event.amount <= 1.0f))
      ok = reader.Fail(node, action == "steer" ? "expected an amount from -1 (full left) to 1 (full right)"
                                               : "expected an amount from 0 to 1");
  } else {
    float value = 0.0f;
    ok = ReadFloat(reader, node, name.c_str(), value);
    if (name == "speed") event.speed = value;
    if (name == "turn_rate") event.turnRate = value;
    if (name == "pitch") event.pitch = value;
    if (name == "roll") event.roll = value;
    if (name == "yaw") event.yaw = value;
  }
  return ok;
}

bool IsMotionAction(std::string_view action) { return action == "throttle" || action == "brake" || action == "steer"; }
bool IsCameraSpan(std::string_view action) {
  return action == "cutscene" || action == "cinematic" || action == "other_camera";
}

// What the action needs besides its keys, and what its `until` may be; sets the event's span.
bool CheckEvent(Reader& reader, const toml::table& table, const std::string& action, std::optional<int32_t> until,
                ScenarioEvent& event) {
  if (!table.contains("at")) return reader.Fail(table.source(), "an event needs 'at', the frame it happens on");
  const bool motion = IsMotionAction(action);
  const bool walk = action == "walk";
  const bool needsVehicle = action == "enter" || action == "stand_near" || action == "drive" ||
                            action == "vehicle_class" || action == "remove_vehicle" || motion;
  if (needsVehicle && event.vehicle < 0) return reader.Fail(table.source(), Join({"'", action, "' needs 'vehicle'"}));
  const bool needsKey = action == "key_down" || action == "key_up" || action == "press" || action == "hold";
  if (needsKey && event.key == 0) return reader.Fail(table.source(), Join({"'", action, "' needs 'key'"}));
  if (until && *until <= event.frame) return reader.Fail(table.source(), "expected 'until' after 'at'");
  const bool cameraSpan = IsCameraSpan(action);
  const bool spans = action == "look" || action == "hold" || action == "drive" || cameraSpan || motion || walk;
  if (until && !spans)
    return reader.Fail(table.source(), "only look, hold, drive, cutscene, cinematic, other_camera, throttle, brake, "
                                       "steer and walk take 'until'");
  if (walk && !(std::fabs(event.lookX) <= 1.0f && std::fabs(event.lookY) <= 1.0f))
    return reader.Fail(table.source(), "expected 'x' and 'y' from -1 to 1 for 'walk'");
  if (motion && !table.contains("amount")) return reader.Fail(table.source(), Join({"'", action, "' needs 'amount'"}));
  if (action == "stand_near" && table.contains("offset") && table.contains("distance"))
    return reader.Fail(table.source(), "'stand_near' takes 'offset' or 'distance', not both");
  if (action == "drive" && until) {
    if (event.yaw) return reader.Fail(table.source(), "a drive with 'until' cannot ramp 'yaw': ramp 'turn_rate' instead");
    event.until = *until;
  }
  if (action == "hold" && !until) return reader.Fail(table.source(), "'hold' needs 'until', the frame the key is let go");
  if (cameraSpan && !until) return reader.Fail(table.source(), Join({"'", action, "' needs 'until', the frame it ends"}));
  event.flag = cameraSpan;  // the span begins; its end (AddSpanEnd) clears the flag
  return true;
}

// Spans end with the opposite event: a press lasts one frame, a hold until its end.
void AddSpanEnd(Scenario& scenario, const ScenarioEvent& event, const std::string& action, std::optional<int32_t> until) {
  if (action == "press" || action == "hold") {
    ScenarioEvent release = event;
    release.kind = EventKind::KeyUp;
    release.frame = action == "press" ? event.frame + 1 : *until;
    scenario.events.push_back(release);
  } else if (IsCameraSpan(action)) {
    ScenarioEvent end = event;
    end.frame = *until;
    end.flag = false;
    scenario.events.push_back(end);
  } else if ((action == "look" || action == "walk") && until) {
    ScenarioEvent centre = event;
    centre.frame = *until;
    centre.lookX = 0.0f;
    centre.lookY = 0.0f;
    scenario.events.push_back(centre);
  } else if (IsMotionAction(action) && until) {
    ScenarioEvent letGo = event;
    letGo.frame = *until;
    letGo.amount = 0.0f;
    scenario.events.push_back(letGo);
  }
}

bool ReadEvent(Reader& reader, const toml::table& table, Scenario& scenario) {
  const toml::node* doNode = table.get("do");
  if (doNode == nullptr || !doNode->is_string())
    return reader.Fail(table.source(), Join({"an event needs 'do' with one of: ", ActionList()}));
  const std::string action = *doNode->value<std::string>();
  const Action* known = nullptr;
  for (const Action& candidate : Actions)
    if (action == candidate.name) known = &candidate;
  if (known == nullptr) return reader.Fail(*doNode, Join({"unknown action '", action, "' (expected one of: ", ActionList(), ")"}));

  ScenarioEvent event;
  event.line = static_cast<int32_t>(table.source().begin.line);
  std::optional<int32_t> until;
  for (const auto& [key, node] : table) {
    const std::string name(key.str());
    bool ok = true;
    if (name == "do") continue;
    if (name == "at") {
      ok = ReadInt(reader, node, "at", event.frame);
      if (ok && event.frame < 0) ok = reader.Fail(node, "expected a frame of 0 or more for 'at'");
    } else if (name == "until") {
      int32_t value = 0;
      ok = ReadInt(reader, node, "until", value);
      until = value;
    } else if (std::string_view(known->keys).find(Join({" ", name, " "})) == std::string::npos) {
      ok = reader.Fail(node, Join({"'", action, "' takes none of '", name, "' (it takes:", known->keys, "at, until)"}));
    } else {
      ok = ReadActionKey(reader, action, name, node, scenario, event);
    }
    if (!ok) return false;
  }
  if (!CheckEvent(reader, table, action, until, event)) return false;

  for (const auto& [name, kind] : Kinds)
    if (action == name) event.kind = kind;
  scenario.events.push_back(event);
  reader.writtenEvents.emplace_back(event.frame, event.line);

  AddSpanEnd(scenario, event, action, until);
  return true;
}

// The starting Vantor.ini's bytes from a file named relative to the scenario's folder.
bool ReadSettingsFileBeside(Reader& reader, const toml::node& node, Scenario& scenario) {
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

bool ReadScenario(Reader& reader, const toml::table& root, Scenario& scenario) {
  // Vehicles first, so events may name them wherever the tables stand in the file.
  if (const toml::node* vehicles = root.get("vehicle")) {
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
  }
  for (const auto& [key, node] : root) {
    const std::string_view name = key.str();
    bool ok = true;
    if (name == "vehicle") continue;
    if (name == "name") {
      if (auto text = node.value<std::string>()) scenario.name = *text;
      else ok = reader.Fail(node, "expected a text for 'name'");
    } else if (name == "frame_time_ms") {
      ok = ReadInt(reader, node, "frame_time_ms", scenario.frameTimeMs);
      if (ok && scenario.frameTimeMs < 0) ok = reader.Fail(node, "expected a frame time of 0 or more");
    } else if (name == "frames") {
      ok = ReadInt(reader, node, "frames", scenario.frames);
      if (ok && scenario.frames < 1) ok = reader.Fail(node, "expected at least 1 frame");
    } else if (name == "start_timer") {
      ok = ReadInt(reader, node, "start_timer", scenario.startTimer);
    } else if (name == "view_mode") {
      ok = ReadInt(reader, node, "view_mode", scenario.viewMode);
      if (ok && (scenario.viewMode < 0 || scenario.viewMode > FirstPersonViewMode))
        ok = reader.Fail(node, "expected a view mode from 0 to 4 for 'view_mode' (4: the game's first person)");
    } else if (name == "settings_file") {
      if (auto text = node.value<std::string>()) scenario.settingsFile = *text;
      else ok = reader.Fail(node, "expected the file's content as a text for 'settings_file'");
    } else if (name == "track") {
      const auto text = node.value<std::string>();
      if (text && KnownTrack(*text)) scenario.track = *text;
      else ok = reader.Fail(node, Join({"expected a track for 'track': \"", CircuitTrack, "\""}));
    } else if (name == "settings_file_from") {
      ok = ReadSettingsFileBeside(reader, node, scenario);
    } else if (name == "settings_file_blocked") {
      ok = ReadBool(reader, node, "settings_file_blocked", scenario.settingsFileBlocked);
    } else if (name == "events" || name == "event") {
      const toml::array* array = node.as_array();
      if (array == nullptr) ok = reader.Fail(node, "expected an array of event tables for 'events'");
      for (size_t i = 0; ok && array != nullptr && i < array->size(); ++i) {
        const toml::table* table = (*array)[i].as_table();
        ok = table != nullptr ? ReadEvent(reader, *table, scenario) : reader.Fail((*array)[i], "expected an event table");
      }
    } else {
      ok = reader.Fail(node, Join({"unknown key '", name,
                                   "' (expected name, frame_time_ms, frames, start_timer, view_mode, settings_file, "
                                   "settings_file_from, settings_file_blocked, track, vehicle, events)"}));
    }
    if (!ok) return false;
  }
  if (root.contains("settings_file") && root.contains("settings_file_from"))
    return reader.Fail(*root.get("settings_file_from"), "'settings_file' and 'settings_file_from' cannot both give the file");
  SortEvents(scenario);
  if (!RefuseRampsOfDrivenVehicles(reader, scenario)) return false;
  // Checked once the whole file is read: "frames" may stand after the events.
  for (const auto& [frame, line] : reader.writtenEvents)
    if (frame >= scenario.frames) {
      reader.error = Join({reader.origin, ":", std::to_string(line), ": expected 'at' below ",
                           std::to_string(scenario.frames), ", the number of frames: frame ", std::to_string(frame),
                           " is never played"});
      return false;
    }
  ExpandRamps(scenario);
  return true;
}

}  // namespace

const char* ActionName(EventKind kind) {
  for (const auto& [name, candidate] : Kinds)
    if (candidate == kind) return name;
  return "";
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
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read";
    return false;
  }
  std::ostringstream bytes;
  bytes << file.rdbuf();
  text = bytes.str();
  return true;
}

bool LoadScenarioFile(const std::string& path, Scenario& scenario, std::string& error) {
  std::string text;
  return ReadScenarioFile(path, text, error) && ParseScenario(text, path, scenario, error);
}

}  // namespace sim
