#include "sim/cli/summary.h"

#include <algorithm>

namespace sim {

namespace {

void ExtendSpans(std::vector<ValueSpan>& spans, int32_t frame, int32_t value = 0) {
  if (!spans.empty() && spans.back().last + 1 == frame && spans.back().value == value) spans.back().last = frame;
  else spans.push_back({frame, frame, value});
}

// "frame 4" or "frames 1, 4 (by V), 7": both lists in frame order, the frames of `byV` marked.
std::string FrameList(const std::vector<int32_t>& frames, const std::vector<int32_t>& byV = {}) {
  std::vector<std::pair<int32_t, bool>> marked;
  for (const int32_t frame : frames) marked.emplace_back(frame, false);
  for (const int32_t frame : byV) marked.emplace_back(frame, true);
  if (marked.empty()) return "none";
  std::sort(marked.begin(), marked.end());
  std::string list = marked.size() == 1 ? "frame " : "frames ";
  for (size_t i = 0; i < marked.size(); ++i)
    list += (i > 0 ? ", " : "") + std::to_string(marked[i].first) + (marked[i].second ? " (by V)" : "");
  return list;
}

// "gameplay 0 to 124, vantor 125 to 300": each span named by `name`.
template <typename Name>
std::string ValueSpanList(const std::vector<ValueSpan>& spans, Name name) {
  std::string list;
  for (const ValueSpan& span : spans) {
    if (!list.empty()) list += ", ";
    list += name(span.value);
    // Appended piece by piece: GCC 12's optimiser reports a false -Wrestrict for a literal put in
    // front of a temporary string (its bug 105329).
    list.append(" ").append(std::to_string(span.first));
    if (span.first != span.last) list.append(" to ").append(std::to_string(span.last));
  }
  return list.empty() ? "none" : list;
}

std::string SpanList(const std::vector<FrameSpan>& spans) {
  if (spans.empty()) return "none";
  std::string list;
  for (const FrameSpan& span : spans)
    list += (list.empty() ? "frames " : ", ") + std::to_string(span.first) + " to " + std::to_string(span.last);
  return list;
}

}  // namespace

void NoteFrame(RunSummary& summary, const World& world, const Trace& trace, int32_t frame) {
  static const int viewModeCall = FindNativeByName("SetVehicleCameraViewMode");
  bool viewModeSet = false;
  for (; summary.traceCursor < trace.records.size(); ++summary.traceCursor)
    if (trace.records[summary.traceCursor].entry == viewModeCall) viewModeSet = true;

  const RenderingCamera camera = CameraRendering(world);
  const bool active = camera == RenderingCamera::Vantor;
  const int32_t viewMode = world.vehicleCameraViewMode;
  // V cycles the view before the pass: first person that comes on as the view reaches the game's
  // first person came on by V.
  const bool viewCameRound = viewMode == FirstPersonViewMode && !summary.viewModes.empty() &&
                             summary.viewModes.back().value != FirstPersonViewMode;
  if (active && !summary.wasActive) (viewCameRound ? summary.activationsByV : summary.activations).push_back(frame);
  ExtendSpans(summary.cameras, frame, static_cast<int32_t>(camera));
  ExtendSpans(summary.viewModes, frame, viewMode);
  // Leaving by V is the only release that sets the view mode on its own frame.
  if (!active && summary.wasActive) (viewModeSet ? summary.exits : summary.releases).push_back(frame);
  summary.wasActive = active;
  if (viewModeSet) ExtendSpans(summary.viewModeHeld, frame);

  for (const DrawnText& text : world.screen.texts)
    if (text.text == HoldPromptText) {
      ExtendSpans(summary.holdPrompt, frame);
      break;
    }
  for (size_t i = summary.notifications.size(); i < world.feed.size(); ++i) summary.notifications.push_back(world.feed[i]);
  summary.frames = frame + 1;
}

std::string SummaryText(const RunSummary& summary) {
  std::string text;
  text += "frames played:    " + std::to_string(summary.frames) + "\n";
  text += "camera rendering: " + ValueSpanList(summary.cameras, [](int32_t camera) {
            return std::string(RenderingCameraName(static_cast<RenderingCamera>(camera)));
          }) + "\n";
  text += "view mode:        " + ValueSpanList(summary.viewModes, [](int32_t mode) { return std::to_string(mode); }) + "\n";
  text += "first person on:  " + FrameList(summary.activations, summary.activationsByV) + "\n";
  text += "first person off: " + FrameList(summary.releases, summary.exits) + "\n";
  text += "hold prompt:      " + SpanList(summary.holdPrompt) + "\n";
  text += "view mode 0 set:  " + SpanList(summary.viewModeHeld) + "\n";
  text += "notifications:    " +
          (summary.notifications.empty() ? std::string("none") : std::to_string(summary.notifications.size())) + "\n";
  for (const Notification& notification : summary.notifications)
    text += "  frame " + std::to_string(notification.frame) + ": \"" + notification.text + "\"\n";
  return text;
}

}  // namespace sim
