#include "sim/cli/plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "camera/free_look.h"
#include "settings/settings.h"
#include "sim/cli/out_folder.h"
#include "sim/core/text_file.h"

namespace sim {

namespace {

constexpr const char* ActiveShade = "#E4ECFA";
constexpr int PictureWidth = 1400;
constexpr int PlotHeight = 1050;
// Room above the largest value, so a steady run at it does not hide behind the frame.
constexpr float Headroom = 1.15f;
constexpr float MinimumLeanRange = 1.0f;  // degrees either side, when there is hardly any lean
// Beyond the plugin's bounds on the fixed axes, so that a value at a bound stays off the frame.
constexpr float FovAxisMargin = 5.0f;
constexpr float LookYawAxisMargin = 10.0f;
constexpr float HeightAxisMargin = 0.05f;

std::string Shortest(float value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Appended piece by piece: GCC 12's optimiser warns falsely about "[" + std::string.
std::string Bracketed(const std::string& low, const std::string& high) {
  std::string range = "[";
  range += low;
  range += ':';
  range += high;
  range += ']';
  return range;
}

std::string AxisRange(float low, float high) { return Bracketed(Shortest(low), Shortest(high)); }

// Spans of consecutive active samples, as first and last time.
std::vector<std::pair<double, double>> ActiveSpans(const std::vector<CameraSample>& samples) {
  std::vector<std::pair<double, double>> spans;
  bool open = false;
  for (const CameraSample& sample : samples) {
    if (sample.active && !open) spans.emplace_back(sample.timeSeconds, sample.timeSeconds);
    if (sample.active) spans.back().second = sample.timeSeconds;
    open = sample.active;
  }
  return spans;
}

// A shaded rectangle behind every span of first person, in time.
std::string ShadedSpans(const std::vector<CameraSample>& samples) {
  std::string objects;
  int object = 1;
  for (const auto& [first, last] : ActiveSpans(samples))
    objects += "set object " + std::to_string(object++) + " rect from first " + std::to_string(first) +
               ", graph 0 to first " + std::to_string(last) + ", graph 1 fc rgb '" + ActiveShade +
               "' fillstyle solid noborder behind\n";
  return objects;
}

// The camera's yaw as its offset from the vehicle's continuous yaw.
bool WritePlotData(const std::vector<CameraSample>& samples, const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  file << "# time_s fov camera_yaw vehicle_yaw look_yaw lean speed active (NaN: not shown); long runs every n-th frame\n";
  const std::vector<double> vehicleYaws = ContinuousVehicleYaw(samples);
  char line[256];
  for (size_t row = 0; row < samples.size(); ++row) {
    const CameraSample& sample = samples[row];
    const double vehicleYaw = vehicleYaws[row];
    if (!PlottedRow(row, samples.size())) continue;
    const bool shown = sample.active && sample.hasVehicle;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::snprintf(line, sizeof line, "%.3f %.4f %.4f %.4f %.4f %.4f %.4f %d\n", sample.timeSeconds,
                  sample.active ? static_cast<double>(sample.fov) : nan, shown ? vehicleYaw + sample.lookYaw : nan,
                  sample.hasVehicle ? vehicleYaw : nan, shown ? static_cast<double>(sample.lookYaw) : nan,
                  shown ? static_cast<double>(sample.lean) : nan,
                  sample.hasVehicle ? static_cast<double>(sample.vehicleSpeed) : nan, sample.active ? 1 : 0);
    file << line;
  }
  file.close();
  return static_cast<bool>(file);
}

}  // namespace

bool PlottedRow(size_t row, size_t rows) {
  const size_t stride = (rows + PlotRowsMax - 1) / PlotRowsMax;
  return row % stride == 0 || row + 1 == rows;
}

std::string QuotedForGnuplot(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') quoted += "''";
    else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) quoted += c;
  }
  return quoted + "'";
}

std::vector<double> ContinuousVehicleYaw(const std::vector<CameraSample>& samples) {
  std::vector<double> yaws(samples.size(), std::numeric_limits<double>::quiet_NaN());
  bool seenVehicle = false;
  double previousYaw = 0.0, vehicleYaw = 0.0;
  for (size_t row = 0; row < samples.size(); ++row) {
    const CameraSample& sample = samples[row];
    if (sample.hasVehicle) {
      vehicleYaw = seenVehicle ? vehicleYaw + WrapDegrees(static_cast<float>(sample.vehicleYaw - previousYaw))
                               : sample.vehicleYaw;
      previousYaw = sample.vehicleYaw;
      seenVehicle = true;
    }
    if (seenVehicle) yaws[row] = vehicleYaw;
  }
  return yaws;
}

std::string PlotScript(const std::vector<CameraSample>& samples, const std::string& title) {
  // gnuplot refuses to autoscale an axis with no point at all: such axes get a fixed range.
  bool anyVehicle = false;
  float topSpeed = 0.0f, widestLean = 0.0f;
  for (const CameraSample& sample : samples) {
    anyVehicle = anyVehicle || sample.hasVehicle;
    if (sample.hasVehicle && std::isfinite(sample.vehicleSpeed)) topSpeed = std::max(topSpeed, std::fabs(sample.vehicleSpeed));
    if (sample.active && sample.hasVehicle && std::isfinite(sample.lean)) widestLean = std::max(widestLean, std::fabs(sample.lean));
  }
  std::string script = GnuplotPreamble("vantor-sim", PlotScriptFile, PlotPictureFile, PlotHeight) +
                       "set key below horizontal\nset lmargin 10\nset rmargin 10\n" + ShadedSpans(samples);
  script += TimeAxis(samples.empty() ? 0.0 : samples.back().timeSeconds);
  script += "set multiplot layout 3,1 title " + QuotedForGnuplot(title + " (shaded: first person on)") + "\n";
  // The field of view and the look yaw on the plugin's fixed axes, so runs compare at a glance;
  // the rest is autoscaled.
  script += "set ylabel 'field of view, degrees'\nset yrange " + FovAxisRange() + "\n";
  script += "set y2label 'speed, m/s'\nset y2tics\nset ytics nomirror\n";
  script += "set y2range [0:" + std::to_string(topSpeed * Headroom + 1.0f) + "]\n";
  script +=
      "plot 'plot.dat' using 1:2 with lines lw 2 lc rgb '#1F5FBF' title 'field of view', \\\n"
      "     '' using 1:7 axes x1y2 with lines dt 2 lc rgb '#777777' title 'vehicle speed (right axis)'\n"
      "unset y2label\nunset y2tics\nset ytics mirror\n"
      "set ylabel 'yaw, degrees'\n";
  script += anyVehicle ? "set yrange [*:*]\n" : "set yrange [-180:180]\n";
  script +=
      "plot 'plot.dat' using 1:4 with lines lw 2 lc rgb '#777777' title 'vehicle yaw', \\\n"
      "     '' using 1:3 with lines lw 2 lc rgb '#C0392B' title 'camera yaw'\n"
      "set ylabel 'look yaw, degrees'\nset yrange " + LookYawAxisRange() + "\nset xlabel 'game time, seconds'\n"
      "set y2label 'lean, degrees'\nset y2tics\nset ytics nomirror\n";
  // Centred like the look yaw's axis, so both zeros sit on one line.
  script += "set y2range " + LeanAxisRange(widestLean) + "\n";
  script +=
      "plot 'plot.dat' using 1:5 with lines lw 2 lc rgb '#C0392B' title 'look yaw (camera - vehicle yaw)', \\\n"
      "     '' using 1:6 axes x1y2 with lines lw 2 lc rgb '#27AE60' title 'lean (camera - vehicle roll, right axis)'\n"
      "unset multiplot\n";
  return script;
}

PlotRun StartPlot(const std::vector<CameraSample>& samples, const std::string& title) {
  PlotRun run;
  std::error_code ignored;
  std::filesystem::remove(PlotPictureFile, ignored);  // never leave an older run's plot behind
  if (!WritePlotData(samples, PlotDataFile) || !WriteWholeFile(PlotScriptFile, PlotScript(samples, title))) return run;
  return StartGnuplot(PlotScriptFile, PlotLogFile, PlotPictureFile);
}

PlotRun StartGnuplot(const std::string& script, const std::string& log, const std::string& picture) {
  PlotRun run;
  run.picture = picture;
  // gnuplot's warnings (a series with nothing shown, say) go to a log beside the plot.
  const ChildStart started = StartChild(run.gnuplot, {"gnuplot", script}, log, false);
  if (started == ChildStart::Missing) run.outcome = PlotOutcome::NoGnuplot;
  return run;
}

PlotOutcome FinishPlot(PlotRun& run) {
  if (run.gnuplot.id < 0) return run.outcome;
  const bool succeeded = WaitForChild(run.gnuplot);
  std::error_code ignored;
  run.outcome = succeeded && std::filesystem::exists(run.picture, ignored) ? PlotOutcome::Plotted : PlotOutcome::Failed;
  return run.outcome;
}

std::string GnuplotPreamble(const char* maker, const char* script, const char* picture, int height) {
  return std::string("# Made by ") + maker + "; run `gnuplot " + script + "` in this folder to redraw " + picture +
         ".\nset terminal pngcairo size " + std::to_string(PictureWidth) + "," + std::to_string(height) +
         " font 'DejaVu Sans,11' noenhanced\nset output '" + picture + "'\nset datafile missing 'NaN'\nset grid\n";
}

std::string TimeAxis(double lastTime) {
  return "set xrange [0:" + std::to_string(lastTime > 0.0 ? lastTime : 1.0) + "]\n";
}

std::string FovAxisRange() { return AxisRange(vantor::FovMin - FovAxisMargin, vantor::FovMax + FovAxisMargin); }

std::string LookYawAxisRange() {
  return AxisRange(-(vantor::LookYawLimit + LookYawAxisMargin), vantor::LookYawLimit + LookYawAxisMargin);
}

std::string HeightAxisRange() {
  return AxisRange(vantor::HeightMin - HeightAxisMargin, vantor::HeightMax + HeightAxisMargin);
}

std::string LeanAxisRange(float widestLean) {
  const float leanRange = std::max(widestLean * Headroom, MinimumLeanRange);
  return Bracketed(std::to_string(-leanRange), std::to_string(leanRange));
}

}  // namespace sim
