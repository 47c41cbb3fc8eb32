// The plot of a run: field of view, camera yaw against vehicle yaw, look yaw and lean over
// time. The data and a gnuplot script are written beside the picture, so a reader can re-plot.
#pragma once

#include <string>
#include <vector>

#include "sim/cli/camera_log.h"
#include "sim/cli/child_process.h"

namespace sim {

constexpr const char* PlotDataFile = "plot.dat";
constexpr const char* PlotScriptFile = "plot.gp";
constexpr const char* PlotPictureFile = "plot.png";
constexpr const char* PlotLogFile = "plot.log";  // what gnuplot said

enum class PlotOutcome : uint8_t { Plotted, NoGnuplot, Failed };

// The gnuplot script for the samples: shaded spans where first person is on.
std::string PlotScript(const std::vector<CameraSample>& samples, const std::string& title);

// A picture holds no more than about this many points across, so longer runs are plotted
// every n-th frame; the shaded spans still come from every frame.
constexpr size_t PlotRowsMax = 6000;

// Whether a plot takes row `row` of `rows`: every n-th, so no more than PlotRowsMax, and the last.
bool PlottedRow(size_t row, size_t rows);

// gnuplot running in the background while the rest of the outputs are written.
struct PlotRun {
  ChildProcess gnuplot;
  PlotOutcome outcome = PlotOutcome::Failed;
  std::string picture;  // what the script draws
};

// Starts gnuplot on a script in the current folder; what it says goes to `log`.
PlotRun StartGnuplot(const std::string& script, const std::string& log, const std::string& picture);

// The start of a script that draws `picture`, 1400 pixels wide and `height` high: who made it,
// how to redraw it, NaN read as a gap, and a grid.
std::string GnuplotPreamble(const char* maker, const char* script, const char* picture, int height);

// The time axis from 0 to the last sample's time, 0 to 1 s when there is no time at all.
std::string TimeAxis(double lastTime);

// Fixed axes a little beyond the plugin's own bounds: the field of view, the look yaw (its
// limit either side) and the height above the seat, so that two plots read alike.
std::string FovAxisRange();
std::string LookYawAxisRange();
std::string HeightAxisRange();

// The lean's axis, centred on 0, with room above the widest lean seen (degrees either side).
std::string LeanAxisRange(float widestLean);

// A text that gnuplot reads back verbatim inside single quotes.
std::string QuotedForGnuplot(const std::string& text);

// The vehicle's yaw summed up from its frame-to-frame changes, so that turns read as slopes
// without jumps at +-180; NaN until a vehicle is seen.
std::vector<double> ContinuousVehicleYaw(const std::vector<CameraSample>& samples);

// Writes the data file and the script into the current folder and starts gnuplot on them.
PlotRun StartPlot(const std::vector<CameraSample>& samples, const std::string& title);
// Waits for gnuplot: Plotted once its picture is there.
PlotOutcome FinishPlot(PlotRun& run);

}  // namespace sim
