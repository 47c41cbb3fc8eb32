#include "sim/core/trace.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "sim/core/float_bits.h"

namespace sim {

namespace {

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

namespace {

void AppendFloat(std::string& out, float value) {
  char buffer[48];
  char* end = std::to_chars(buffer, buffer + 32, value).ptr;
  const auto bits = FloatBits(value);
  static constexpr char Digits[] = "0123456789ABCDEF";
  *end++ = 'f';
  *end++ = '#';
  for (int shift = 28; shift >= 0; shift -= 4) *end++ = Digits[(bits >> shift) & 0xFu];
  out.append(buffer, end);
}

}  // namespace

std::string FormatFloat(float value) {
  std::string out;
  AppendFloat(out, value);
  return out;
}

void RecordCall(Trace& trace, int32_t frame, int entry, const CallArguments& arguments, const CallResult& result) {
  const NativeEntry& native = NativeAt(entry);
  TraceRecord record{frame, static_cast<uint16_t>(entry), static_cast<uint8_t>(arguments.count),
                     static_cast<uint32_t>(trace.arguments.size()), result};
  const size_t kinds = std::strlen(native.arguments);
  for (int i = 0; i < arguments.count; ++i) {
    uint64_t slot = arguments.slots[i];
    if (static_cast<size_t>(i) < kinds && native.arguments[i] == 's' && slot != 0) {
      const std::string_view text(reinterpret_cast<const char*>(static_cast<uintptr_t>(slot)));
      auto interned = trace.textIndex.find(text);
      if (interned == trace.textIndex.end()) {
        interned = trace.textIndex.emplace(std::string(text), static_cast<uint32_t>(trace.texts.size())).first;
        trace.texts.emplace_back(text);
      }
      slot = interned->second;
    }
    trace.arguments.push_back(slot);
  }
  trace.records.push_back(record);
}

const char* RecordName(const TraceRecord& record) { return NativeAt(record.entry).name; }

uint64_t RecordSlot(const Trace& trace, const TraceRecord& record, int argument) {
  return trace.arguments[record.firstArgument + static_cast<uint32_t>(argument)];
}

std::string_view RecordText(const Trace& trace, const TraceRecord& record, int argument) {
  return trace.texts[static_cast<size_t>(RecordSlot(trace, record, argument))];
}

namespace {

template <typename Integer>
void AppendInteger(std::string& out, Integer value) {
  char buffer[24];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace

namespace {

// One argument as its native declares it: a module handle, a float, a text, an integer, else the raw slot.
void AppendArgument(std::string& line, const Trace& trace, const TraceRecord& record, int index) {
  const NativeEntry& native = NativeAt(record.entry);
  const size_t kinds = std::strlen(native.arguments);
  const bool hostCall = native.hash == 0;
  const uint64_t slot = RecordSlot(trace, record, index);
  const char kind = static_cast<size_t>(index) < kinds ? native.arguments[index] : '?';
  if (hostCall && index == 0 && record.entry != HostCallIndex(HostCall::ScriptWait) &&
      record.entry != HostCallIndex(HostCall::GetAsyncKeyState)) {
    line += slot == ModuleToken ? "module" : "other-module";
  } else if (kind == 'f' && slot >> 32 == 0) {
    AppendFloat(line, FloatOfBits(static_cast<uint32_t>(slot)));
  } else if (kind == 's') {
    AppendQuoted(line, trace.texts[static_cast<size_t>(slot)]);
  } else if ((kind == 'i' || kind == 'b') && slot >> 32 == 0) {
    AppendInteger(line, static_cast<int32_t>(static_cast<uint32_t>(slot)));
  } else {
    char raw[24];
    std::snprintf(raw, sizeof raw, "0x%016llX", static_cast<unsigned long long>(slot));
    line += raw;
  }
}

// The result, " -> " and its value, for the natives that return one.
void AppendResult(std::string& line, char kind, const CallResult& result) {
  switch (kind) {
    case 'i':
    case 'b':
      line += " -> ";
      AppendInteger(line, ResultAsInt(result));
      break;
    case 'k': {
      char state[16];
      std::snprintf(state, sizeof state, " -> 0x%04X", static_cast<unsigned>(ResultAsInt(result)) & 0xFFFFu);
      line += state;
      break;
    }
    case 'f':
      line += " -> ";
      AppendFloat(line, ResultAsFloat(result));
      break;
    case 'v': {
      const Vec3 v = ResultAsVector(result);
      line += " -> (";
      AppendFloat(line, v.x);
      line += ", ";
      AppendFloat(line, v.y);
      line += ", ";
      AppendFloat(line, v.z);
      line += ')';
      break;
    }
    default:
      break;
  }
}

}  // namespace

void AppendRecord(std::string& line, const Trace& trace, const TraceRecord& record) {
  const NativeEntry& native = NativeAt(record.entry);
  AppendInteger(line, record.frame);
  line += ' ';
  line += native.name;
  line += '(';
  for (int i = 0; i < record.argumentCount; ++i) {
    if (i > 0) line += ", ";
    AppendArgument(line, trace, record, i);
  }
  line += ')';
  AppendResult(line, native.result, record.result);
}

std::string FormatRecord(const Trace& trace, const TraceRecord& record) {
  std::string line;
  AppendRecord(line, trace, record);
  return line;
}

std::string FormatTrace(const Trace& trace) {
  std::string out;
  out.reserve(trace.records.size() * 48);
  for (const TraceRecord& record : trace.records) {
    AppendRecord(out, trace, record);
    out += '\n';
  }
  return out;
}

}  // namespace sim
