// Shared steps of the menu and drawing suites: key taps, opening the menu, reading what the
// last frame put on screen.
#pragma once

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "harness.h"

namespace vantor_test {

constexpr int32_t KeyF6 = 0x75;
constexpr int32_t KeyNumpad0 = 0x60;
constexpr int32_t KeyUp = 0x26;
constexpr int32_t KeyNumpad8 = 0x68;
constexpr int32_t KeyDown = 0x28;
constexpr int32_t KeyNumpad2 = 0x62;
constexpr int32_t KeyLeft = 0x25;
constexpr int32_t KeyRight = 0x27;
constexpr int32_t KeyEnter = 0x0D;
constexpr int32_t KeyNumpad5 = 0x65;

// The menu's first text is its title; row i's label is the text after it.
constexpr size_t MenuTitleText = 0;
constexpr size_t MenuTextCount = 12;  // title, ten rows, footer

class MenuTest : public PluginTest {
 protected:
  // Holds the keys for one pass, then releases them for one pass. Returns the pressing pass.
  int32_t Tap(std::initializer_list<int32_t> keys) {
    const int32_t pressed = NextFrame();
    for (const int32_t key : keys) sim::SetKeyDown(world(), key, true);
    RunFrames(1);
    for (const int32_t key : keys) sim::SetKeyDown(world(), key, false);
    RunFrames(1);
    return pressed;
  }
  int32_t Tap(int32_t key) { return Tap({key}); }
  void TapTimes(int32_t key, int times) {
    for (int i = 0; i < times; ++i) Tap(key);
  }

  // Loads the plugin, runs the first pass and opens the menu on row 0.
  void LoadAndOpen() {
    Load();
    RunFrames(1);
    Tap(KeyF6);
  }
  void SelectRow(int row) { TapTimes(KeyDown, row); }

  bool MenuShown() const { return host.hook.world.screen.rects.size() >= 6; }

  // Label of a row as the last frame drew it; empty when the menu was not drawn.
  std::string RowLabel(int row) const {
    const sim::Screen& screen = host.hook.world.screen;
    if (!MenuShown() || screen.texts.size() < MenuTextCount) return {};
    return screen.texts[MenuTitleText + 1 + static_cast<size_t>(row)].text;
  }

  // The rows drawn in the selected style in the last frame.
  std::vector<int> SelectedRows() const {
    std::vector<int> rows;
    const sim::Screen& screen = host.hook.world.screen;
    if (screen.texts.size() < MenuTextCount) return rows;
    for (int row = 0; row < 10; ++row) {
      const std::array<int32_t, 4> dark{20, 20, 20, 255};
      if (screen.texts[MenuTitleText + 1 + static_cast<size_t>(row)].style.colour == dark) rows.push_back(row);
    }
    return rows;
  }

  // The virtual keys polled on one frame, in polling order.
  std::vector<int32_t> PolledKeys(int32_t frame) const {
    std::vector<int32_t> keys;
    for (const sim::TraceRecord& record : Calls(frame, "GetAsyncKeyState")) keys.push_back(IntArgument(record, 0));
    return keys;
  }

  // The menu's own polls of one frame: the keys of its seven groups, whatever else is polled.
  std::vector<int32_t> MenuPolls(int32_t frame) const {
    static const std::vector<int32_t> menuKeys = {0x75, 0x60, 0x26, 0x68, 0x28, 0x62,
                                                  0x25, 0x64, 0x27, 0x66, 0x0D, 0x65};
    std::vector<int32_t> keys;
    for (const int32_t key : PolledKeys(frame))
      if (std::find(menuKeys.begin(), menuKeys.end(), key) != menuKeys.end()) keys.push_back(key);
    return keys;
  }

  // The screen-output lines of a frame, without the polls and the camera's calls.
  std::vector<std::string> ScreenLines(int32_t frame) const {
    static const std::vector<std::string> screenCalls = {
        "DrawRect",          "SetTextFont", "SetTextScale",     "SetTextColour",          "SetTextCentre",
        "SetTextDropShadow", "SetTextEdge", "BeginTextDisplay", "AddTextComponentString", "EndTextDisplay",
        "BeginFeedPost",     "EndFeedPostTicker"};
    std::vector<std::string> lines;
    for (const sim::TraceRecord& record : trace().records) {
      if (record.frame != frame) continue;
      if (std::find(screenCalls.begin(), screenCalls.end(), sim::RecordName(record)) == screenCalls.end()) continue;
      lines.push_back(sim::FormatRecord(trace(), record));
    }
    return lines;
  }

  std::vector<std::string> FeedTexts() const {
    std::vector<std::string> texts;
    for (const sim::Notification& notification : host.hook.world.feed) texts.push_back(notification.text);
    return texts;
  }
};

}  // namespace vantor_test
