// vantor-sim compare: two runs' camera.csv side by side, as a plot on shared, fixed axes and a
// table of figures per run, so two settings can be told apart at a glance.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "sim/cli/camera_log.h"

namespace sim {

struct CompareOptions {
  std::string runA;  // output folders of two runs
  std::string runB;
  std::string outFolder;
};

constexpr const char* CompareTableFile = "compare.txt";
constexpr const char* ComparePictureFile = "compare.png";

struct RunFigures {
  int32_t frames = 0;
  int32_t firstPersonFrames = 0;
  float widestFov = 0.0f;  // the figures below count first-person frames only
  float leanLeft = 0.0f;   // the largest roll to the left, in degrees (0 or more)
  float leanRight = 0.0f;
  std::map<int32_t, float> heightByClass;  // the height above the seat last seen in each class
};

RunFigures FigureRun(const std::vector<CameraSample>& samples);

// The table of both runs' figures, a row a figure.
std::string FiguresTable(const RunFigures& a, const RunFigures& b, const std::string& nameA, const std::string& nameB);

// Writes the plot and the table into the output folder and prints the table. Returns an exit code.
int RunCompare(const CompareOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sim
