#include "sim/cli/video.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "sim/cli/picture.h"

extern char** environ;

namespace sim {

namespace {

constexpr int MinVideoSide = 16;
constexpr int ProgressWidth = 40;
constexpr int MillisecondsPerSecond = 1000;

bool WriteAll(int descriptor, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(descriptor, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

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
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return VideoOutcome::Failed;
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  // As a fraction, so that 16 ms gives exactly 62.5.
  const std::string rate = frameTimeMs > 0 ? std::to_string(MillisecondsPerSecond) + "/" + std::to_string(frameTimeMs)
                                           : std::to_string(FallbackFrameRate);
  // Arguments go to ffmpeg as they are, never through a shell.
  const char* arguments[] = {"ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
                             "-f", "rawvideo", "-pix_fmt", "bgr0", "-video_size", size.c_str(),
                             "-framerate", rate.c_str(), "-i", "pipe:0",
                             "-c:v", "libx264", "-preset", "veryfast", "-crf", "23", "-pix_fmt", "yuv420p",
                             "-movflags", "+faststart", "-f", "mp4", path.c_str(), nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, VideoLogFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, "ffmpeg", &files, nullptr, const_cast<char**>(arguments), environ);
  posix_spawn_file_actions_destroy(&files);
  close(ends[0]);
  if (spawned != 0) {
    close(ends[1]);
    return spawned == ENOENT ? VideoOutcome::NoFfmpeg : VideoOutcome::Failed;
  }
  run.child = child;
  run.pipe = ends[1];
  // A broken pipe is told by write's error, not by a signal that ends the whole run.
  signal(SIGPIPE, SIG_IGN);
  return VideoOutcome::Written;
}

bool AddVideoFrame(VideoRun& run, const World& world, const std::vector<Road>& roads, int32_t frame,
                   int32_t frameTimeMs) {
  if (run.pipe < 0 || run.failed) return false;
  if (!DrawFrame(world, roads, frame, frameTimeMs, run.picture) ||
      !WriteAll(run.pipe, reinterpret_cast<const char*>(run.picture.pixels.data()),
                run.picture.pixels.size() * sizeof(uint32_t))) {
    run.failed = true;
    return false;
  }
  ++run.frames;
  return true;
}

VideoOutcome FinishVideo(VideoRun& run) {
  if (run.pipe >= 0) close(run.pipe);
  run.pipe = -1;
  if (run.child < 0) return VideoOutcome::Failed;
  int status = 0;
  while (waitpid(run.child, &status, 0) < 0)
    if (errno != EINTR) return VideoOutcome::Failed;
  run.child = -1;
  const bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return clean && !run.failed && run.frames > 0 ? VideoOutcome::Written : VideoOutcome::Failed;
}

void ShowProgress(std::ostream& out, const char* what, int32_t done, int32_t total) {
  const int filled = total > 0 ? static_cast<int>(static_cast<int64_t>(ProgressWidth) * done / total) : ProgressWidth;
  out << '\r' << what << " [" << std::string(static_cast<size_t>(filled), '#')
      << std::string(static_cast<size_t>(ProgressWidth - filled), '.') << "] " << done << " of " << total << std::flush;
}

}  // namespace sim
