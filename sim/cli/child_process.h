// The programs the command hands work to (gnuplot, ffmpeg): started in the background with their
// arguments as they are, never through a shell, what they say kept in a log file, and waited for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class ChildStart : uint8_t { Started, Missing, Failed };

struct ChildProcess {
  int id = -1;     // the process id, -1 when none runs
  int input = -1;  // the write end of its standard input, when it reads one; -1 otherwise
};

// Starts arguments[0], found on PATH, with its standard output and error in `logPath` (made
// afresh); with `feedInput`, its standard input is a pipe whose end the caller writes
// (child.input). Missing when the program is not there.
ChildStart StartChild(ChildProcess& child, const std::vector<std::string>& arguments, const std::string& logPath,
                      bool feedInput);

// Closes its input, if any, and waits for it: true when it exited with status 0.
bool WaitForChild(ChildProcess& child);

// Writes all of `data` to the child's input, retrying after signals. False once it stops taking it.
bool FeedChild(const ChildProcess& child, const char* data, size_t size);

}  // namespace sim
