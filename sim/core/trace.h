// The record of every call the plugin makes, one line a call:
//
//   <frame> <name>(<arguments>)[ -> <result>]
//
// Arguments and results are printed by the kinds in the native table: integers in decimal,
// booleans as 0 or 1, floats as their shortest round-trip decimal followed by their bit
// pattern ("1.25f#3FA00000"), texts as their quoted content, Vector3 results as "(x, y, z)"
// in the float form. Host calls (DllMain, scriptRegister, scriptUnregister, scriptWait,
// GetAsyncKeyState) appear under their own names; a module handle prints as "module" when it
// is the one the loader gave DllMain. No pointers or clock times appear, so two runs of one
// scenario, on Linux or under Wine, give the same bytes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sim/core/native_table.h"

namespace sim {

struct TraceRecord {
  int32_t frame;
  uint16_t entry;      // index into the native table
  uint8_t argumentCount;
  uint32_t firstArgument;  // into Trace::arguments
  CallResult result;
};

// Looks texts up by view, so recording a call builds no string for a text seen before.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct Trace {
  std::vector<TraceRecord> records;
  std::vector<uint64_t> arguments;      // texts are stored as indices into texts
  std::deque<std::string> texts;
  std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>> textIndex;
};

constexpr uint64_t ModuleToken = 0xFFFFFFFFFFFFFFFFull;  // stands for the loader's module handle in a record

void RecordCall(Trace& trace, int32_t frame, int entry, const CallArguments& arguments, const CallResult& result);
// Formats one record as a line, without the line end.
std::string FormatRecord(const Trace& trace, const TraceRecord& record);
// The same line appended to `out`: a whole trace is printed without a string per line.
void AppendRecord(std::string& out, const Trace& trace, const TraceRecord& record);
// The name of the native or host call of a record.
const char* RecordName(const TraceRecord& record);
// An argument of a record: its slot, or for texts the text itself.
uint64_t RecordSlot(const Trace& trace, const TraceRecord& record, int argument);
std::string_view RecordText(const Trace& trace, const TraceRecord& record, int argument);
// Every record as lines, each ended by LF.
std::string FormatTrace(const Trace& trace);
// A float in the trace's form.
std::string FormatFloat(float value);

}  // namespace sim
