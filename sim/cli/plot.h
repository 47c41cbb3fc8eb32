// The plot of a run: field of view, camera yaw against vehicle yaw, look yaw and lean over
// time. The data and a gnuplot script are written beside the picture, so a reader can re-plot.
#pragma once

#include <string>
#include <vector>

#include "sim/cli/camera_log.h"

namespace sim {

constexpr const char* PlotDataFile = "plot.dat";
constexpr const char* PlotScriptFile = "plot.gp";
constexpr const char* PlotPictureFile = "plot.png";
constexpr const char* PlotLogFile = "plot.log";  // what gnuplot said

enum class PlotOutcome : uint8_t { Plotted, NoGnuplot, Failed };

// The gnuplot script for the samples: shaded spans where first person is on.
std::string PlotScript(const std::vector<CameraSample>& samples, const std::string& title);

// Writes the data file and the script into the current folder and runs gnuplot on them.
PlotOutcome MakePlot(const std::vector<CameraSample>& samples, const std::string& title);

}  // namespace sim
