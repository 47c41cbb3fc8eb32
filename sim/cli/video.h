// A video of the drive: every frame of a range drawn as the game shows it, piped as raw
// pixels to Debian's ffmpeg command, which encodes it to H.264 at the scenario's frame rate.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "sim/cli/child_process.h"
#include "sim/core/world.h"
#include "sim/render/road.h"
#include "sim/render/screen_png.h"

namespace sim {

constexpr int DefaultVideoWidth = 1280;  // small enough to share, large enough to read the menu
constexpr int DefaultVideoHeight = 720;
constexpr int MaxVideoSide = 4096;
constexpr const char* VideoLogFile = "video.log";  // what ffmpeg said

// A scenario whose timer stands still (a frame time of 0) has no rate of its own.
constexpr int FallbackFrameRate = 60;

// Frames a second of the video: 1000 / frameTimeMs, or FallbackFrameRate.
double VideoFrameRate(int32_t frameTimeMs);

// "WIDTHxHEIGHT", each even (the encoder's colour format halves them) and 16..MaxVideoSide.
bool ParseVideoSize(const std::string& text, int& width, int& height);

enum class VideoOutcome : uint8_t { Written, NoFfmpeg, Failed };

struct VideoRun {
  ChildProcess ffmpeg;  // fed the frames' pixels on its standard input
  bool failed = false;
  int32_t frames = 0;  // frames handed over
  ScreenPicture picture;  // the frame being drawn, reused
};

// Starts ffmpeg writing `path` at VideoFrameRate(frameTimeMs); its messages go to
// VideoLogFile in the current folder. NoFfmpeg when the command is not there.
VideoOutcome StartVideo(VideoRun& run, const std::string& path, int width, int height, int32_t frameTimeMs);

// Draws the frame and hands it to ffmpeg. False once ffmpeg stops taking frames.
bool AddVideoFrame(VideoRun& run, const World& world, const std::vector<Road>& roads, int32_t frame,
                   int32_t frameTimeMs);

// Whether ffmpeg was started and still takes frames.
bool VideoRunning(const VideoRun& run);

// Closes the pipe and waits for ffmpeg: Written when it finished cleanly.
VideoOutcome FinishVideo(VideoRun& run);

// A bar of `done` out of `total` on one terminal line, redrawn in place.
void ShowProgress(std::ostream& out, const char* what, int32_t done, int32_t total);

}  // namespace sim
