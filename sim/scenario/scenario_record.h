// A scenario written out as the TOML that ParseScenario reads back to the same scenario: the
// ground, the starting world and settings file, and every event in the order given, so that
// a recorded drive plays again to the same trace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/core/scenario.h"

namespace sim {

struct ScenarioText {
  std::string toml;
  // The starting settings file's bytes when TOML cannot carry them (they are not UTF-8): to be
  // written as `settingsFileName` beside the scenario, which names it by `settings_file_from`.
  std::optional<std::string> settingsBeside;
};

// Events are written as plain events (a drive with `until` as it was expanded, a press as its
// two edges), a camera span as its start with `until`; every float as its shortest round-trip
// decimal.
ScenarioText WriteScenarioToml(const Scenario& scenario, std::string_view settingsFileName);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes);

}  // namespace sim
