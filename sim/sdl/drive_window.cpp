#include "sim/sdl/drive_window.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <thread>

#include "sim/cli/run.h"
#include "sim/core/live_overlay.h"
#include "sim/render/frame.h"
#include "sim/render/overlay.h"
#include "sim/sdl/drive_input.h"

namespace sim {

namespace {

constexpr const char* WindowTitle = "Vantor drive";
constexpr double FrameRateSpanMs = 1000.0;  // the overlay's frames a second count the last second

struct Window {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0;  // the texture's
};

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

void CloseWindow(Window& window) {
  if (window.texture != nullptr) SDL_DestroyTexture(window.texture);
  if (window.renderer != nullptr) SDL_DestroyRenderer(window.renderer);
  if (window.window != nullptr) SDL_DestroyWindow(window.window);
  SDL_Quit();
}

// The texture at the window's size, made again when the window was resized. A window with no
// area (minimised, on some desktops) keeps the texture it has.
bool FitTexture(Window& window) {
  int width = 0, height = 0;
  SDL_GetWindowSize(window.window, &width, &height);
  if (width < 1 || height < 1) return window.texture != nullptr;
  if (window.texture != nullptr && width == window.width && height == window.height) return true;
  if (window.texture != nullptr) SDL_DestroyTexture(window.texture);
  // cairo's 24-bit pixels are 0x00RRGGBB words: SDL's RGB888.
  window.texture =
      SDL_CreateTexture(window.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
  window.width = width;
  window.height = height;
  return window.texture != nullptr;
}

bool OpenWindow(Window& window, int width, int height, std::ostream& err) {
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // The software renderer draws into the window's surface; SDL would back that surface with an
  // OpenGL texture where it can, which without a GPU is Mesa's software rasteriser, six times
  // slower at presenting than the display's own shared-memory images.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
    err << "vantor-sim: cannot open a window: " << SDL_GetError() << "\n";
    return false;
  }
  window.window = SDL_CreateWindow(WindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                   SDL_WINDOW_RESIZABLE);
  if (window.window != nullptr) window.renderer = SDL_CreateRenderer(window.window, -1, SDL_RENDERER_SOFTWARE);
  if (window.renderer == nullptr || !FitTexture(window)) {
    err << "vantor-sim: cannot open a window: " << SDL_GetError() << "\n";
    return false;
  }
  return true;
}

// Lends the picture the texture's own pixels, so that the frame is drawn where it is shown and
// not copied there (3.7 MB a frame at 1280x720). A texture whose rows are not the picture's
// keeps the picture in its own pixels, copied in by Present.
void LendTexture(Window& window, ScreenPicture& picture) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(window.texture, nullptr, &pixels, &pitch) != 0) return;
  if (pitch == window.width * static_cast<int>(sizeof(uint32_t)))
    picture.borrowed = static_cast<uint32_t*>(pixels);
  else
    SDL_UnlockTexture(window.texture);
}

// Takes the texture back from the picture; false when it was not lent.
bool TakeTextureBack(Window& window, ScreenPicture& picture) {
  if (picture.borrowed == nullptr) return false;
  SDL_UnlockTexture(window.texture);
  picture.borrowed = nullptr;
  return true;
}

void Present(Window& window, ScreenPicture& picture) {
  if (!TakeTextureBack(window, picture))
    SDL_UpdateTexture(window.texture, nullptr, picture.pixels.data(), picture.width * static_cast<int>(sizeof(uint32_t)));
  SDL_RenderCopy(window.renderer, window.texture, nullptr, nullptr);
  SDL_RenderPresent(window.renderer);
}

// The simulator's overlay over the frame drawn, then the picture on screen. `presented` keeps the
// times of the pictures shown in the last FrameRateSpanMs, for the frame rate the overlay tells.
void ShowPicture(Window& window, DriveSession& session, const DriveInput& input, std::deque<double>& presented,
                 double workStarted) {
  while (!presented.empty() && presented.front() < workStarted - FrameRateSpanMs) presented.pop_front();
  presented.push_back(workStarted);
  Painter overlay;
  DrawOverlay(overlay, LiveStatusLines(session.host->hook.world, static_cast<double>(presented.size()), !input.mouseCaptured),
              input.help, session.picture.width, session.picture.height);
  PaintOver(session.picture, overlay);
  Present(window, session.picture);
}

void TellNoDisplay(std::ostream& err) {
  err << "vantor-sim: drive opens a window and needs a display (X11 or Wayland), but neither DISPLAY nor "
         "WAYLAND_DISPLAY is set. Run it on a desktop, or under a virtual display:\n"
         "  xvfb-run -s '-screen 0 1280x720x24' vantor-sim drive --frames 600 --screenshot-at 599\n"
         "vantor-sim: nothing was played\n";
}

// The window, then the drive in it. An exit code: ExitPlayed when the drive can start; otherwise
// nothing was played, the reason is on `err` and the window is closed.
int OpenDriveWindow(Window& window, DriveSession& session, const DriveOptions& options, std::ostream& err) {
  if (!HasDisplay()) {
    TellNoDisplay(err);
    return ExitUsage;
  }
  if (!OpenWindow(window, options.width, options.height, err)) {
    CloseWindow(window);
    err << "vantor-sim: nothing was played\n";
    return ExitUsage;
  }
  const int opened = OpenDrive(session, options, err);
  if (opened != ExitPlayed) CloseWindow(window);
  return opened;
}

// The events since the last frame into `input`, and the mouse captured or let go as it asks.
// False when the person closes the window and the drive has played a frame: a drive plays at
// least one, so that it can be played again.
bool TakeEvents(DriveInput& input, int32_t played) {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) HandleDriveEvent(input, event);
  if (input.quit && played > 0) return false;
  if (SDL_GetRelativeMouseMode() != (input.mouseCaptured ? SDL_TRUE : SDL_FALSE))
    SDL_SetRelativeMouseMode(input.mouseCaptured ? SDL_TRUE : SDL_FALSE);
  return true;
}

// Plays the frames due, drawing only the last into the window's texture; the keys gathered
// belong to the first. True when a picture was drawn.
bool PlayFramesDue(Window& window, DriveSession& session, DriveInput& input, int32_t due) {
  session.picture.width = window.width;
  session.picture.height = window.height;
  LendTexture(window, session.picture);
  if (session.options.frames > 0) due = std::min(due, session.options.frames - session.loop.frame);
  bool drawn = false;
  for (int32_t i = 0; i < due && !DriveOver(session); ++i) {
    const bool last = i == due - 1;
    drawn = StepDrive(session, TakeLiveInputs(input), last, last && input.screenshot) || drawn;
  }
  input.screenshot = false;
  if (!drawn) TakeTextureBack(window, session.picture);
  return drawn;
}

}  // namespace

int RunDriveWindow(const DriveOptions& options, std::ostream& out, std::ostream& err) {
  Window window;
  DriveSession session;
  if (const int opened = OpenDriveWindow(window, session, options, err); opened != ExitPlayed) return opened;

  DriveInput input;
  SDL_SetRelativeMouseMode(SDL_TRUE);
  const int32_t frameTimeMs = session.loop.start.frameTimeMs;
  const auto started = std::chrono::steady_clock::now();
  const auto nowMs = [&] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  };
  LivePacer pacer;
  std::deque<double> presented;  // times of the pictures shown in the last FrameRateSpanMs
  while (!DriveOver(session)) {
    const int32_t played = session.loop.frame;
    const int32_t due = FramesDue(pacer, nowMs(), played, frameTimeMs);
    if (due == 0) {
      std::this_thread::sleep_for(
          std::chrono::duration<double, std::milli>(NextFrameDueMs(pacer, played, frameTimeMs) - nowMs()));
      continue;
    }
    const double workStarted = nowMs();
    if (!TakeEvents(input, played)) break;
    if (!FitTexture(window)) {
      err << "vantor-sim: the window's picture cannot be made: " << SDL_GetError() << "\n";
      break;
    }
    if (!PlayFramesDue(window, session, input, due)) continue;
    ShowPicture(window, session, input, presented, workStarted);
    session.workMs.push_back(nowMs() - workStarted);
  }
  session.playedSeconds = nowMs() / 1000.0;
  if (input.controller != nullptr) SDL_GameControllerClose(input.controller);
  CloseWindow(window);
  return CloseDrive(session, out, err);
}

}  // namespace sim
