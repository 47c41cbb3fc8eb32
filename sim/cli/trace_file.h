// Writes a run's trace, kept compactly in memory during the run, to a file in one pass.
#pragma once

#include <string>

#include "sim/core/trace.h"

namespace sim {

// Every record as a line ended by LF, the text FormatTrace gives, written in blocks so the
// whole text is never held at once. False when the file cannot be written.
bool WriteTraceFile(const Trace& trace, const std::string& path);

}  // namespace sim
