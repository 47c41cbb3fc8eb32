// The rules every call of the plugin keeps, beyond the sanitizers: a native of the table with
// its argument count and widths, the camera it created, handles the game answered in this
// pass, finite floats while the game answered finite ones, a field of view within its bounds,
// the menu's bar on one of its rows, texts and feed posts closed in the pass that opened them.
#pragma once

#include <cstdint>

#include "sim/core/native_table.h"

namespace vantor_fuzz {

enum class SaveNotice : uint8_t { None, Saved, Failed };

struct CallChecks {
  // From the attach on.
  bool cameraCreated = false;
  int32_t camera = 0;
  // This pass only.
  bool tainted = false;  // a float the game answered in this pass was not finite
  int32_t entities[8] = {};  // handles the game answered in this pass: the player, vehicles
  int entityCount = 0;
  bool boneAnswered = false;
  int32_t bone = 0;
  bool textOpen = false;
  bool feedOpen = false;
  SaveNotice notice = SaveNotice::None;
};

// A new attach: no camera yet.
void BeginAttachChecks(CallChecks& checks);
void BeginPassChecks(CallChecks& checks);
// Null when call `index` of the table keeps every rule, else the rule it broke.
const char* CheckCall(CallChecks& checks, int index, const sim::CallArguments& arguments);
// Takes note of what the game answered.
void NoteAnswer(CallChecks& checks, int index, const sim::CallResult& result);
// Null when the pass left nothing open.
const char* CheckPassEnd(const CallChecks& checks);

}  // namespace vantor_fuzz
