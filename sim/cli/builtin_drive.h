// The drive played when no scenario is named: the text of scenarios/drive.toml, compiled in
// at build time so the example file and the built-in drive are one and the same.
#pragma once

#include <string_view>

namespace sim {

constexpr const char* BuiltinDriveOrigin = "scenarios/drive.toml (built in)";

std::string_view BuiltinDriveText();

}  // namespace sim
