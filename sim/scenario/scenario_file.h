// Scenario files: TOML, written by hand. The format is described in docs/scenarios.md.
#pragma once

#include <string>

#include "sim/core/scenario.h"

namespace sim {

// Reads a scenario from TOML text; `origin` names it in messages. On a fault, returns false
// with a message "<origin>:<line>: <what was expected>" and leaves `scenario` unspecified.
bool ParseScenario(const std::string& text, const std::string& origin, Scenario& scenario, std::string& error);
// The file's bytes, as ParseScenario takes them. False, with the reason, when it is no readable file.
bool ReadScenarioFile(const std::string& path, std::string& text, std::string& error);
bool LoadScenarioFile(const std::string& path, Scenario& scenario, std::string& error);
// The action that makes an event of this kind in a file ("key_down" for KeyDown).
const char* ActionName(EventKind kind);
// That action's own keys besides "at", "until" and "do", space separated with a space at either end.
const char* ActionKeys(EventKind kind);

}  // namespace sim
