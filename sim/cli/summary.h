// The summary of a run, gathered frame by frame from the world and the trace: which camera the
// game rendered, when first person came and went, the exits by V and their hold-offs, the
// player's view mode, the hold prompt and the notifications.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/trace.h"
#include "sim/core/world.h"

namespace sim {

// A run of frames over which one thing held: a camera rendering, a view mode; 0 where the span
// says no more than that the frames were there.
struct ValueSpan {
  int32_t first = 0;
  int32_t last = 0;
  int32_t value = 0;
};
using FrameSpan = ValueSpan;

struct RunSummary {
  int32_t frames = 0;                 // frames played
  std::vector<ValueSpan> cameras;     // the camera rendering (a RenderingCamera), span by span
  std::vector<ValueSpan> viewModes;   // the player's vehicle view mode, span by span
  std::vector<int32_t> activations;   // frames on which first person came on
  std::vector<int32_t> activationsByV;  // those on which V had just cycled the view to first person
  std::vector<int32_t> releases;      // frames on which it went off for any reason but V
  std::vector<int32_t> exits;         // frames on which holding V left it
  std::vector<FrameSpan> viewModeHeld;  // spans of frames that set the vehicle camera's view mode
  std::vector<FrameSpan> holdPrompt;    // spans of frames that showed the hold prompt
  std::vector<Notification> notifications;

  // Carried from frame to frame.
  size_t traceCursor = 0;
  bool wasActive = false;
};

// The exit prompt as a player reads it on the screen. The simulator keeps its own copy rather
// than the plugin's constant: what it reads from the screen must not follow a plugin that
// shows the wrong words.
constexpr const char* HoldPromptText = "Keep holding V to exit first person...";

// Takes in one frame, after its pass.
void NoteFrame(RunSummary& summary, const World& world, const Trace& trace, int32_t frame);

// The summary as short lines of text, for the end of a run.
std::string SummaryText(const RunSummary& summary);

}  // namespace sim
