// The fuzzer's settings file: laid out in the current folder before each attach as the input
// says, and checked after every pass that reported a save.
#pragma once

#include <cstddef>
#include <cstdint>

#include "call_checks.h"
#include "fuzz_input.h"

namespace vantor_fuzz {

// Empties the current folder, then puts "Vantor.ini" there as `mode` says, with `text` as the
// content of the file it names (a plain file or a link's target).
void PrepareSettingsFolder(FileMode mode, const uint8_t* text, std::size_t size);

// Null when the pass's save notice agrees with the folder and a saved file holds the lines of
// a save that reading, clamping and writing again leaves byte for byte; else what is wrong.
const char* CheckSave(FileMode mode, SaveNotice notice);

}  // namespace vantor_fuzz
