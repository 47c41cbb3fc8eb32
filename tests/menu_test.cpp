// The settings menu through the world: opening and closing, key groups and their latches,
// navigation, the row actions with their bounds, reset and save.
#include <algorithm>
#include <filesystem>

#include "menu_fixture.h"

namespace vantor_test {
namespace {

// --- Opening and closing ----------------------------------------------------------------

TEST_F(MenuTest, F6HeldOpensOnceAndOnlyANewPressCloses) {
  Load();
  RunFrames(1);
  EXPECT_FALSE(MenuShown());
  sim::SetKeyDown(world(), KeyF6, true);
  for (int i = 0; i < 5; ++i) {
    RunFrames(1);
    EXPECT_TRUE(MenuShown()) << "held pass " << i;
  }
  sim::SetKeyDown(world(), KeyF6, false);
  RunFrames(1);
  EXPECT_TRUE(MenuShown());
  Tap(KeyF6);
  EXPECT_FALSE(MenuShown());
  EXPECT_EQ(Count(NextFrame() - 2, "DrawRect"), 0) << "the closing pass draws nothing";
}

TEST_F(MenuTest, F6AndNumpad0OnOnePassLeaveTheMenuClosedAndDrawNothing) {
  Load();
  RunFrames(1);
  const int32_t whileClosed = Tap({KeyF6, KeyNumpad0});
  EXPECT_EQ(Count(whileClosed, "DrawRect"), 0);
  EXPECT_EQ(MenuPolls(whileClosed), (std::vector<int32_t>{KeyF6, KeyNumpad0})) << "no other menu key is polled";
  EXPECT_FALSE(MenuShown());

  Tap(KeyF6);
  EXPECT_TRUE(MenuShown());
  const int32_t whileOpen = Tap({KeyF6, KeyNumpad0});
  EXPECT_EQ(Count(whileOpen, "DrawRect"), 0);
  EXPECT_FALSE(MenuShown());
}

TEST_F(MenuTest, Numpad0ClosesAndItsLatchFollowsTheKeyWhileClosed) {
  LoadAndOpen();
  const int32_t closing = Tap(KeyNumpad0);
  EXPECT_EQ(Count(closing, "DrawRect"), 0);
  EXPECT_EQ(MenuPolls(closing), (std::vector<int32_t>{KeyF6, KeyNumpad0}));
  EXPECT_FALSE(MenuShown());

  // Pressed while closed and held on, Numpad 0 is no new press when F6 opens the menu.
  sim::SetKeyDown(world(), KeyNumpad0, true);
  RunFrames(1);
  EXPECT_FALSE(MenuShown());
  Tap(KeyF6);
  RunFrames(1);
  EXPECT_TRUE(MenuShown());
  sim::SetKeyDown(world(), KeyNumpad0, false);
}

TEST_F(MenuTest, PollsTwoKeysClosedAndTheSecondKeyOfAGroupOnlyWhenTheFirstIsUp) {
  Load();
  RunFrames(1);
  const std::vector<int32_t> closed = PolledKeys(0);
  ASSERT_GE(closed.size(), 2u);
  EXPECT_EQ(std::vector<int32_t>(closed.begin(), closed.begin() + 2), (std::vector<int32_t>{KeyF6, KeyNumpad0}))
      << "the menu stage comes first in the pass";
  EXPECT_EQ(MenuPolls(0).size(), 2u);

  Tap(KeyF6);
  RunFrames(1);
  const std::vector<int32_t> expected = {0x75, 0x60, 0x26, 0x68, 0x28, 0x62, 0x25, 0x64, 0x27, 0x66, 0x0D, 0x65};
  const std::vector<int32_t> open = PolledKeys(NextFrame() - 1);
  ASSERT_GE(open.size(), expected.size());
  EXPECT_EQ(std::vector<int32_t>(open.begin(), open.begin() + 12), expected);
  EXPECT_EQ(MenuPolls(NextFrame() - 1), expected);

  sim::SetKeyDown(world(), KeyUp, true);
  RunFrames(1);
  const std::vector<int32_t> held = MenuPolls(NextFrame() - 1);
  EXPECT_EQ(held.size(), expected.size() - 1);
  EXPECT_EQ(std::count(held.begin(), held.end(), KeyNumpad8), 0);
  sim::SetKeyDown(world(), KeyUp, false);
}

// --- Navigation -------------------------------------------------------------------------

TEST_F(MenuTest, UpAndDownWrapAndCancelOnOnePass) {
  LoadAndOpen();
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  Tap(KeyUp);
  EXPECT_EQ(SelectedRows(), std::vector<int>{9});
  Tap(KeyDown);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  Tap({KeyUp, KeyDown});
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  Tap(KeyNumpad2);
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
}

TEST_F(MenuTest, TwoKeysOfAGroupShareOneLatch) {
  LoadAndOpen();
  sim::SetKeyDown(world(), KeyDown, true);
  RunFrames(1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  Tap(KeyNumpad2);  // while Down is still held: no new press
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  sim::SetKeyDown(world(), KeyDown, false);
  RunFrames(3);
  EXPECT_EQ(SelectedRows(), std::vector<int>{1}) << "holding acts once";
}

TEST_F(MenuTest, SelectionIsKeptWhileClosedAndAnArrowHeldAtOpeningActs) {
  LoadAndOpen();
  SelectRow(3);
  Tap(KeyF6);
  // Down pressed and held while closed: its latch is from the last open pass, so it acts.
  sim::SetKeyDown(world(), KeyDown, true);
  RunFrames(1);
  Tap(KeyF6);
  EXPECT_EQ(SelectedRows(), std::vector<int>{4});
  sim::SetKeyDown(world(), KeyDown, false);
}

// --- Row actions ------------------------------------------------------------------------

TEST_F(MenuTest, LeftAndRightOnOnePassApplyLeftFirst) {
  LoadAndOpen();
  Tap({KeyLeft, KeyRight});
  EXPECT_EQ(RowLabel(0), "Vantor: ON") << "a flag flipped twice ends where it was";
  Tap(KeyLeft);
  EXPECT_EQ(RowLabel(0), "Vantor: OFF");
  Tap(KeyRight);
  EXPECT_EQ(RowLabel(0), "Vantor: ON") << "Right flips too, it does not set";

  SelectRow(1);
  TapTimes(KeyLeft, 11);
  EXPECT_EQ(RowLabel(1), "FOV: 55.0");
  Tap({KeyLeft, KeyRight});
  EXPECT_EQ(RowLabel(1), "FOV: 57.5");
}

TEST_F(MenuTest, NumberRowsStepAndStopAtTheirBounds) {
  struct Step {
    int32_t key;
    int taps;
    std::string label;
  };
  const std::vector<std::pair<int, std::vector<Step>>> rows = {
      {1, {{KeyRight, 1, "FOV: 82.5"}, {KeyRight, 10, "FOV: 107.5"}, {KeyRight, 1, "FOV: 110.0"},
           {KeyRight, 1, "FOV: 110.0"}, {KeyLeft, 30, "FOV: 55.0"}}},
      {2, {{KeyRight, 1, "Height: 0.72"}, {KeyRight, 20, "Height: 1.00"}, {KeyLeft, 3, "Height: 0.94"},
           {KeyLeft, 40, "Height: 0.30"}}},
      // Look Sensitivity moves by 5.
      {6, {{KeyLeft, 1, "Look Sensitivity: 30"}, {KeyLeft, 5, "Look Sensitivity: 10"},
           {KeyRight, 1, "Look Sensitivity: 15"}, {KeyRight, 20, "Look Sensitivity: 80"}}},
  };
  LoadAndOpen();
  int selected = 0;
  for (const auto& [row, steps] : rows) {
    SelectRow(row - selected);
    selected = row;
    for (const Step& step : steps) {
      TapTimes(step.key, step.taps);
      EXPECT_EQ(RowLabel(row), step.label);
    }
  }
}

TEST_F(MenuTest, EveryFlagRowFlipsItsOwnFlag) {
  LoadAndOpen();
  struct FlagRow {
    int row;
    std::string prefix;
    bool before;
  };
  const std::vector<FlagRow> rows = {
      {3, "Auto-Recenter: ", true}, {7, "Dynamic FOV: ", false}, {8, "Corner Lean: ", false},
      {9, "Better Hooker View: ", false}};
  int selected = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    SelectRow(rows[i].row - selected);
    selected = rows[i].row;
    Tap(KeyRight);
    EXPECT_EQ(RowLabel(rows[i].row), rows[i].prefix + (rows[i].before ? "OFF" : "ON"));
    for (size_t j = i + 1; j < rows.size(); ++j) {
      EXPECT_EQ(RowLabel(rows[j].row), rows[j].prefix + (rows[j].before ? "ON" : "OFF"));
    }
  }
  EXPECT_EQ(RowLabel(0), "Vantor: ON");
}

TEST_F(MenuTest, EnterOnValueRowsAndSidewaysOnActionRowsDoNothing) {
  LoadAndOpen();
  std::vector<std::string> labels;
  for (int row = 0; row < 10; ++row) labels.push_back(RowLabel(row));
  for (int row = 0; row < 10; ++row) {
    if (row == 4 || row == 5) {
      Tap(KeyLeft);
      Tap(KeyRight);
    } else {
      Tap(KeyEnter);
      Tap(KeyNumpad5);
    }
    Tap(KeyDown);
  }
  for (int row = 0; row < 10; ++row) EXPECT_EQ(RowLabel(row), labels[static_cast<size_t>(row)]);
  EXPECT_TRUE(world().feed.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "Vantor.ini"));
}

// --- Reset and save ---------------------------------------------------------------------

TEST_F(MenuTest, ResetRestoresTheDefaultsNotifiesAndLeavesTheFileAlone) {
  const std::string file = "FOV=90\r\nLookSensitivity=20\r\n";
  WriteSettingsFile(file);
  LoadAndOpen();
  Tap(KeyLeft);  // ModEnabled off
  SelectRow(1);
  Tap(KeyRight);
  SelectRow(3);  // row 4
  const int32_t frame = Tap(KeyEnter);
  EXPECT_EQ(FeedTexts(), std::vector<std::string>{"Vantor: reset to defaults (Save to keep)"});
  EXPECT_EQ(RowLabel(0), "Vantor: ON");
  EXPECT_EQ(RowLabel(1), "FOV: 80.0");
  EXPECT_EQ(RowLabel(2), "Height: 0.70");
  EXPECT_EQ(RowLabel(6), "Look Sensitivity: 35");
  EXPECT_EQ(SelectedRows(), std::vector<int>{4});
  EXPECT_EQ(ReadSettingsFile(), file);

  // Posted inside the menu stage, so before the caption.
  const std::vector<std::string> lines = Lines(frame);
  const auto posted = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.find("EndFeedPostTicker") != line.npos; });
  const auto caption = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("\"Vantor by Quillon\"") != line.npos;
  });
  EXPECT_LT(posted, caption);
}

TEST_F(MenuTest, SaveThatWorksSaysSo) {
  LoadAndOpen();
  SelectRow(1);
  Tap(KeyRight);
  SelectRow(4);  // row 5
  Tap(KeyEnter);
  ASSERT_TRUE(std::filesystem::exists(folder / "Vantor.ini"));
  EXPECT_EQ(FeedTexts(), std::vector<std::string>{"Vantor: settings saved"});
  EXPECT_NE(ReadSettingsFile().find("FOV=82.5\r\n"), std::string::npos);
}

TEST_F(MenuTest, SaveThatFailsSaysItCouldNotSave) {
  // A folder where the file should be: no one, root included, can write the file.
  std::filesystem::create_directory(folder / "Vantor.ini");
  LoadAndOpen();
  SelectRow(5);
  Tap(KeyEnter);
  EXPECT_EQ(FeedTexts(), std::vector<std::string>{"Vantor: settings could not be saved"});
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Vantor.ini"));
  EXPECT_TRUE(MenuShown()) << "the menu stays open on row 5";
  EXPECT_EQ(SelectedRows(), std::vector<int>{5});
}

TEST_F(MenuTest, OneHeightAdjustmentSetsEveryVehicleClass) {
  std::string file = "Height=0.5\r\nHeight_1=0.8\r\n";
  WriteSettingsFile(file);
  LoadAndOpen();
  ASSERT_EQ(RowLabel(2), "Height: 0.80");
  SelectRow(2);
  Tap(KeyLeft);
  EXPECT_EQ(RowLabel(2), "Height: 0.78");
  SelectRow(3);  // row 5
  Tap(KeyEnter);
  ASSERT_EQ(FeedTexts(), std::vector<std::string>{"Vantor: settings saved"});
  const std::string saved = ReadSettingsFile();
  for (int i = 0; i < 22; ++i) {
    EXPECT_NE(saved.find("Height_" + std::to_string(i) + "=0.78\r\n"), std::string::npos) << "entry " << i;
  }
}

TEST_F(MenuTest, HeightJustAboveItsLowerBoundStopsAtIt) {
  WriteSettingsFile("FOV=108\r\nHeight_1=0.31\r\n");
  LoadAndOpen();
  ASSERT_EQ(RowLabel(1), "FOV: 108.0");
  SelectRow(1);
  Tap(KeyRight);
  EXPECT_EQ(RowLabel(1), "FOV: 110.0");
  Tap(KeyDown);
  EXPECT_EQ(RowLabel(2), "Height: 0.31");
  Tap(KeyLeft);
  EXPECT_EQ(RowLabel(2), "Height: 0.30");
}

}  // namespace
}  // namespace vantor_test
