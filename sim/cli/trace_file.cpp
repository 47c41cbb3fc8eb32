#include "sim/cli/trace_file.h"

#include <cstdio>

namespace sim {

namespace {

constexpr size_t TraceBlockSize = 1 << 20;

}  // namespace

bool WriteTraceFile(const Trace& trace, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::string block;
  block.reserve(TraceBlockSize + 256);
  bool written = true;
  for (const TraceRecord& record : trace.records) {
    AppendRecord(block, trace, record);
    block += '\n';
    if (block.size() >= TraceBlockSize) {
      written = written && std::fwrite(block.data(), 1, block.size(), file) == block.size();
      block.clear();
    }
  }
  written = written && std::fwrite(block.data(), 1, block.size(), file) == block.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace sim
