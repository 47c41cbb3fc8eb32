// Replaces one entry of a loaded module's import address table, so that the module's calls
// to an imported function land in the host instead.
#pragma once

#include <string>

namespace sim {

struct ImportPatch {
  bool patched = false;
  void** slot = nullptr;  // the IAT entry that was overwritten
  std::string failure;    // why nothing was patched
};

// Walks the module's import descriptors for dllName (case-insensitive), finds functionName
// imported by name and writes replacement into its slot.
ImportPatch ReplaceImport(void* module, const char* dllName, const char* functionName, void* replacement);

}  // namespace sim
