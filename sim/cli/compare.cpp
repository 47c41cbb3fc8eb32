#include "sim/cli/compare.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>

#include "sim/cli/out_folder.h"
#include "sim/cli/plot.h"
#include "sim/cli/run.h"
#include "sim/core/text_file.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

constexpr const char* CameraFile = "camera.csv";
constexpr const char* DataFiles[2] = {"compare-a.dat", "compare-b.dat"};
constexpr const char* CompareScriptFile = "compare.gp";
constexpr const char* CompareLogFile = "compare.log";
constexpr const char* RunColours[2] = {"#1F5FBF", "#C0392B"};
constexpr const char* RunDashes[2] = {"1", "2"};  // B dashed, so A shows where the two agree
constexpr int CompareHeight = 1600;
constexpr int FigureColumnWidth = 18;

std::string RunName(const std::string& folder) {
  const fs::path path = fs::path(folder).lexically_normal();
  const std::string name = path.filename().string();
  return name.empty() ? path.parent_path().filename().string() : name;
}

bool WriteCompareData(const std::vector<CameraSample>& samples, const char* path) {
  std::ofstream file(path, std::ios::binary);
  file << "# time_s fov camera_yaw look_yaw lean_right height_above_seat (NaN: first person off)\n";
  const std::vector<double> vehicleYaws = ContinuousVehicleYaw(samples);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  char line[192];
  for (size_t row = 0; row < samples.size(); ++row) {
    if (!PlottedRow(row, samples.size())) continue;
    const CameraSample& sample = samples[row];
    const bool shown = sample.active && sample.hasVehicle;
    std::snprintf(line, sizeof line, "%.3f %.4f %.4f %.4f %.4f %.4f\n", sample.timeSeconds,
                  shown ? static_cast<double>(sample.fov) : nan, shown ? vehicleYaws[row] + sample.lookYaw : nan,
                  shown ? static_cast<double>(sample.lookYaw) : nan, shown ? static_cast<double>(sample.lean) : nan,
                  shown ? static_cast<double>(sample.heightAboveSeat) : nan);
    file << line;
  }
  file.close();
  return static_cast<bool>(file);
}

std::string CompareScript(const RunFigures figures[2], const std::string names[2], double lastTime) {
  const float widestLean =
      std::max({figures[0].leanLeft, figures[0].leanRight, figures[1].leanLeft, figures[1].leanRight});
  std::string script = GnuplotPreamble("vantor-sim compare", CompareScriptFile, ComparePictureFile, CompareHeight) +
                       "set key top left\nset lmargin 12\n";
  script += TimeAxis(lastTime);
  script += "set multiplot layout 5,1 title " +
            QuotedForGnuplot("A: " + names[0] + " against B: " + names[1] + " (lines only while first person is on)") +
            "\n";
  // Fixed axes where the plugin has bounds, so two comparisons read alike; the yaw alone follows the drive.
  struct Panel {
    int column;
    const char* label;
    std::string range;
  };
  const Panel panels[] = {
      {2, "field of view, degrees", FovAxisRange()},
      {3, "camera yaw, degrees", "[*:*]"},
      {4, "look yaw, degrees", LookYawAxisRange()},
      {5, "lean, degrees (+ right)", LeanAxisRange(widestLean)},
      {6, "height above seat, m", HeightAxisRange()},
  };
  for (const Panel& panel : panels) {
    if (panel.column == 6) script += "set xlabel 'game time, seconds'\n";
    script += std::string("set ylabel '") + panel.label + "'\nset yrange " + panel.range + "\n";
    script += "plot ";
    for (int run = 0; run < 2; ++run)
      script += std::string(run > 0 ? ", \\\n     " : "") + "'" + DataFiles[run] + "' using 1:" +
                std::to_string(panel.column) + " with lines lw 2 dt " + RunDashes[run] + " lc rgb '" + RunColours[run] + "' title " +
                QuotedForGnuplot(std::string(run == 0 ? "A: " : "B: ") + names[run]);
    script += "\n";
  }
  return script + "unset multiplot\n";
}

std::string Figure(float value, bool shown) {
  if (!shown) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  return text;
}

std::string Row(const std::string& label, const std::string& a, const std::string& b) {
  char line[160];
  std::snprintf(line, sizeof line, "%-24s %-*s %s\n", label.c_str(), FigureColumnWidth, a.c_str(), b.c_str());
  return line;
}

// What became of compare.png, for the file list.
std::string ComparePlotLine(PlotOutcome plotted) {
  switch (plotted) {
    case PlotOutcome::Plotted:
      return "field of view, camera yaw, look yaw, lean and height, both runs on shared axes\n";
    case PlotOutcome::NoGnuplot:
      return std::string("skipped, gnuplot is missing (install gnuplot-nox; ") + CompareScriptFile + " is written)\n";
    case PlotOutcome::Failed:
      break;
  }
  return std::string("FAILED, see ") + CompareLogFile + "\n";
}

}  // namespace

RunFigures FigureRun(const std::vector<CameraSample>& samples) {
  RunFigures figures;
  figures.frames = static_cast<int32_t>(samples.size());
  for (const CameraSample& sample : samples) {
    if (!sample.active || !sample.hasVehicle) continue;
    ++figures.firstPersonFrames;
    figures.widestFov = std::max(figures.widestFov, sample.fov);
    figures.leanLeft = std::max(figures.leanLeft, -sample.lean);
    figures.leanRight = std::max(figures.leanRight, sample.lean);
    figures.heightByClass[sample.vehicleClass] = sample.heightAboveSeat;
  }
  return figures;
}

std::string FiguresTable(const RunFigures& a, const RunFigures& b, const std::string& nameA, const std::string& nameB) {
  const bool shownA = a.firstPersonFrames > 0, shownB = b.firstPersonFrames > 0;
  std::string table = Row("", "A: " + nameA, "B: " + nameB);
  table += Row("frames", std::to_string(a.frames), std::to_string(b.frames));
  table += Row("frames in first person", std::to_string(a.firstPersonFrames), std::to_string(b.firstPersonFrames));
  table += Row("largest field of view", Figure(a.widestFov, shownA), Figure(b.widestFov, shownB));
  table += Row("largest lean left", Figure(a.leanLeft, shownA), Figure(b.leanLeft, shownB));
  table += Row("largest lean right", Figure(a.leanRight, shownA), Figure(b.leanRight, shownB));
  std::set<int32_t> classes;
  for (const auto& [vehicleClass, height] : a.heightByClass) classes.insert(vehicleClass);
  for (const auto& [vehicleClass, height] : b.heightByClass) classes.insert(vehicleClass);
  for (const int32_t vehicleClass : classes) {
    const auto inA = a.heightByClass.find(vehicleClass), inB = b.heightByClass.find(vehicleClass);
    table += Row("height, class " + std::to_string(vehicleClass) + ", m",
                 Figure(inA != a.heightByClass.end() ? inA->second : 0.0f, inA != a.heightByClass.end()),
                 Figure(inB != b.heightByClass.end() ? inB->second : 0.0f, inB != b.heightByClass.end()));
  }
  return table + "(field of view, lean and height over first-person frames; the height as last seen in each class)\n";
}

int RunCompare(const CompareOptions& options, std::ostream& out, std::ostream& err) {
  const std::string folders[2] = {options.runA, options.runB};
  std::string names[2];
  std::vector<CameraSample> samples[2];
  RunFigures figures[2];
  std::string error;
  for (int run = 0; run < 2; ++run) {
    if (!ReadCameraCsv((fs::path(folders[run]) / CameraFile).string(), samples[run], error)) {
      err << "vantor-sim compare: " << error << "\n";
      return ExitUsage;
    }
    names[run] = RunName(folders[run]);
    figures[run] = FigureRun(samples[run]);
  }
  std::error_code failure;
  OutFolderVisit visit;
  switch (EnterOutFolder(visit, fs::absolute(options.outFolder, failure), error)) {
    case FolderEntry::Entered:
      break;
    case FolderEntry::Refused:
      err << "vantor-sim compare: " << error << "\n";
      return ExitUsage;
    case FolderEntry::CannotWork:
      err << "vantor-sim compare: cannot work in " << visit.path.string() << ": " << error << "\n";
      return ExitRunFailed;
  }

  const double lastTime = std::max(samples[0].empty() ? 0.0 : samples[0].back().timeSeconds,
                                   samples[1].empty() ? 0.0 : samples[1].back().timeSeconds);
  bool written = WriteCompareData(samples[0], DataFiles[0]) && WriteCompareData(samples[1], DataFiles[1]);
  written = WriteWholeFile(CompareScriptFile, CompareScript(figures, names, lastTime)) && written;
  PlotRun plot = written ? StartGnuplot(CompareScriptFile, CompareLogFile, ComparePictureFile) : PlotRun{};
  const std::string table = FiguresTable(figures[0], figures[1], names[0], names[1]);
  written = WriteWholeFile(CompareTableFile, table) && written;
  const PlotOutcome plotted = FinishPlot(plot);
  if (!LeaveOutFolder(visit)) err << "vantor-sim compare: cannot list its files in " << MadeFilesList << "\n";

  out << table << "files in " << visit.path.string() << ":\n  " << CompareTableFile << ": this table\n  "
      << ComparePictureFile << ": " << ComparePlotLine(plotted);
  return written && plotted != PlotOutcome::Failed ? ExitPlayed : ExitRunFailed;
}

}  // namespace sim
