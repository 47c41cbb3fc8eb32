// `vantor-sim drive`: the live drive in an SDL window. The window paces the live loop to real
// time, feeds it the person's input, shows each drawn frame with the drive's own overlay, and
// measures the work of each drawn frame.
#pragma once

#include <ostream>

#include "sim/cli/drive_session.h"

namespace sim {

// Plays until the window closes (or --frames), then writes the drive's files. An exit code
// (run.h); without a display it is ExitUsage and nothing is played.
int RunDriveWindow(const DriveOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sim
