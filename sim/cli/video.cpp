#include "sim/cli/video.h"

#include <string>

#include "sim/cli/picture.h"

namespace sim {

namespace {

constexpr int MinVideoSide = 16;
constexpr int ProgressWidth = 40;
constexpr int MillisecondsPerSecond = 1000;

}  // namespace

double VideoFrameRate(int32_t frameTimeMs) {
  return frameTimeMs > 0 ? static_cast<double>(MillisecondsPerSecond) / frameTimeMs : FallbackFrameRate;
}

bool ParseVideoSize(const std::string& text, int& width, int& height) {
  return ParsePictureSize(text, MinVideoSide, MaxVideoSide, true, width, height);
}

VideoOutcome StartVideo(VideoRun& run, const std::string& path, int width, int height, int32_t frameTimeMs) {
  run = VideoRun{};
  run.picture.width = width;
  run.picture.height = height;
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  // As a fraction, so that 16 ms gives exactly 62.5.
  const std::string rate = frameTimeMs > 0 ? std::to_string(MillisecondsPerSecond) + "/" + std::to_string(frameTimeMs)
                                           : std::to_string(FallbackFrameRate);
  const std::vector<std::string> arguments = {
      "ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr0",
      "-video_size", size, "-framerate", rate, "-i", "pipe:0", "-c:v", "libx264", "-preset", "veryfast", "-crf", "23",
      "-pix_fmt", "yuv420p", "-movflags", "+faststart", "-f", "mp4", path};
  switch (StartChild(run.ffmpeg, arguments, VideoLogFile, true)) {
    case ChildStart::Started:
      return VideoOutcome::Written;
    case ChildStart::Missing:
      return VideoOutcome::NoFfmpeg;
    case ChildStart::Failed:
      break;
  }
  return VideoOutcome::Failed;
}

bool AddVideoFrame(VideoRun& run, const World& world, const std::vector<Road>& roads, int32_t frame,
                   int32_t frameTimeMs) {
  if (!VideoRunning(run) || run.failed) return false;
  if (!DrawFrame(world, roads, frame, frameTimeMs, run.picture) ||
      !FeedChild(run.ffmpeg, reinterpret_cast<const char*>(run.picture.pixels.data()),
                 run.picture.pixels.size() * sizeof(uint32_t))) {
    run.failed = true;
    return false;
  }
  ++run.frames;
  return true;
}

bool VideoRunning(const VideoRun& run) { return run.ffmpeg.input >= 0; }

VideoOutcome FinishVideo(VideoRun& run) {
  const bool clean = WaitForChild(run.ffmpeg);
  return clean && !run.failed && run.frames > 0 ? VideoOutcome::Written : VideoOutcome::Failed;
}

void ShowProgress(std::ostream& out, const char* what, int32_t done, int32_t total) {
  const int filled = total > 0 ? static_cast<int>(static_cast<int64_t>(ProgressWidth) * done / total) : ProgressWidth;
  out << '\r' << what << " [" << std::string(static_cast<size_t>(filled), '#')
      << std::string(static_cast<size_t>(ProgressWidth - filled), '.') << "] " << done << " of " << total << std::flush;
}

}  // namespace sim
