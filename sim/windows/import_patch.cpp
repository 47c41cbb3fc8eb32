#include "sim/windows/import_patch.h"

#include <windows.h>

#include <cstring>

namespace sim {

namespace {

// Writes one pointer into a page the loader left read-only.
bool WriteSlot(void** slot, void* value) {
  DWORD previousProtection = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previousProtection)) return false;
  *slot = value;
  DWORD ignored = 0;
  VirtualProtect(slot, sizeof *slot, previousProtection, &ignored);
  FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
  return true;
}

const IMAGE_NT_HEADERS64* NtHeaders(const unsigned char* base) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return nullptr;
  return nt;
}

}  // namespace

ImportPatch ReplaceImport(void* module, const char* dllName, const char* functionName, void* replacement) {
  ImportPatch patch;
  const auto* base = static_cast<const unsigned char*>(module);
  const IMAGE_NT_HEADERS64* nt = module == nullptr ? nullptr : NtHeaders(base);
  if (nt == nullptr) {
    patch.failure = "not a loaded 64-bit PE module";
    return patch;
  }
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) {
    patch.failure = "the module has no import table";
    return patch;
  }
  const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; descriptor->Name != 0; ++descriptor) {
    if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), dllName) != 0) continue;
    // The names are in the lookup table; without one the bound table is all there is, and
    // it holds addresses, not names.
    if (descriptor->OriginalFirstThunk == 0) {
      patch.failure = std::string("the imports from ") + dllName + " carry no name table";
      return patch;
    }
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(const_cast<unsigned char*>(base) + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) != 0) continue;
      void** slot = reinterpret_cast<void**>(&slots->u1.Function);
      if (!WriteSlot(slot, replacement)) {
        patch.failure = "VirtualProtect refused the import table page";
        return patch;
      }
      patch.patched = true;
      patch.slot = slot;
      return patch;
    }
  }
  patch.failure = std::string("the module does not import ") + functionName + " from " + dllName + " by name";
  return patch;
}

}  // namespace sim
