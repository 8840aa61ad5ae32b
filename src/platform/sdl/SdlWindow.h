// The game's one SDL window: shows the 800 x 600 screen on the window's own
// surface, turns SDL's events into the input seam's events and carries out
// what the main window asks of it. Without a surface the screen simply
// stays in memory.
//
// Only the boxes the painters marked are copied and handed to the display
// (no GL: a software GL's texture upload of the whole frame every tick cost
// more than the game). The window may be resized, maximised or shown on a
// desktop-sized full screen: the picture is scaled to fit with its shape
// kept and black bars, by whole multiples where that loses little (sharp
// pixels), otherwise as if enlarged by the next whole multiple and smoothed
// down to the size (sharp edges without uneven pixels); either way only the
// output pixels the changed boxes reach are computed anew. Sizes are the
// surface's pixels.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Gamepad.h"
#include "platform/WindowControl.h"

struct SDL_Window;
struct SDL_Surface;
struct SDL_Rect;
union SDL_Event;
class TScreen;
class TSdlGamepads;

// Where a picture of PictureW x PictureH goes in an output of OutW x OutH
// pixels. Whole is the whole multiple used, 0 when the size is fractional.
struct TPictureFit {
  int X = 0, Y = 0, Width = 0, Height = 0;
  int Whole = 0;
  friend bool operator==(const TPictureFit&, const TPictureFit&) = default;
};
// A whole multiple is kept when it is at least this share of the largest
// size that fits: 1600 x 1200 shows 2x, 1000 x 700 a fractional 7/6.
inline constexpr double WholeMultipleShare = 0.9;
TPictureFit FitPicture(int OutW, int OutH, int PictureW, int PictureH);

// One output line or column of a fractional size: the two picture lines or
// columns it blends and the second one's weight, 0..256. The picture is
// taken as enlarged by the next whole multiple (Picture itself when
// shrinking), sampled at the output pixels' centres.
struct TSampleStep {
  int First = 0, Second = 0, Weight = 0;
  friend bool operator==(const TSampleStep&, const TSampleStep&) = default;
};
void SampleSteps(int Out, int Picture, std::vector<TSampleStep>& Steps);

// SDL falls back to a video driver that shows nothing ("offscreen") when it
// cannot reach the display, and the game then ran unseen until killed. Unless
// such a driver was asked for (Requested names it), a start that lands on one
// is undone and tried again after a pause, for the display may only be slow
// to answer on a busy machine; after Attempts tries it throws
// std::runtime_error. Returns the driver in use.
struct TVideoStartSteps {
  std::function<bool()> Start;  // false with SDL's error when nothing started
  std::function<std::string()> Driver;
  std::function<void()> Stop;
  std::function<void(std::uint32_t)> Pause;
  std::function<std::string()> Error;
};
bool ShowsNoWindow(const std::string& Driver);
std::string StartVideo(const TVideoStartSteps& Steps, const std::string& Requested, int Attempts,
                       std::uint32_t PauseMs);
// The socket of the X connection Window's events come through; -1 when
// the window is not on X. Kept apart from the window: X's headers define
// names the input events use.
int X11ConnectionFd(SDL_Window* Window);

class TSdlWindow : public IWindowControl, public IEventSource, public IPresenter {
public:
  // Starts SDL's video and makes the window with the given client size.
  // Throws std::runtime_error when there is no video at all, or only one
  // that shows nothing which nobody asked for (see StartVideo).
  explicit TSdlWindow(const std::string& Title, int Width = 800, int Height = 600);

  // How often and how far apart the video is started before giving up.
  static constexpr int VideoAttempts = 16;
  static constexpr std::uint32_t VideoPauseMs = 250;
  ~TSdlWindow() override;
  TSdlWindow(const TSdlWindow&) = delete;
  TSdlWindow& operator=(const TSdlWindow&) = delete;

  SDL_Window* Handle() const { return FWindow; }
  int PresentCount() const { return FPresentCount; }

  // SIGTERM and SIGINT become a close request at the loop's next look at
  // its input (the handler only sets a flag).
  static void InstallSignalHandlers();

  // From now on the first two game controllers send the keys Map names
  // (see TSdlGamepads). Throws std::runtime_error when SDL cannot read them.
  void EnableGamepads(TPadKeyMap Map);
  const TSdlGamepads* Gamepads() const { return FGamepads.get(); }

  // Runs on every event of the window (shown, moved, resized...), before it
  // is translated: the window manager's frame becomes known among them.
  std::function<void()> WindowEventSeen;

  void SetCaption(const std::string& Caption) override;
  void Minimise() override;
  void Restore() override;
  bool HasFocus() const override;
  void Close() override { FCloseRequested = true; }
  void Terminate() override { FTerminateRequested = true; }

  bool WaitEvent(std::uint32_t TimeoutMs, TInputEvent& Event) override;
  void Present(const TScreen& Screen) override;

private:
  void Translate(const SDL_Event& E);
  // Shows the dirty boxes, or everything when Whole or the surface is new.
  void Show(const TScreen& Screen, bool Whole);
  // Surfaces of Format in the given size, kept while they fit.
  static SDL_Surface* Keep(SDL_Surface*& Kept, int Width, int Height, std::uint32_t Format);
  bool TakePending(TInputEvent& Event);

  SDL_Window* FWindow = nullptr;
  // The last surface shown on and its size: a new one needs its bars.
  SDL_Surface* FShownOn = nullptr;
  int FShownW = 0, FShownH = 0;
  // The picture in the surface's pixel format, for the scaled sizes, and
  // the sampling of the fractional ones for the size in use.
  SDL_Surface* FFrame = nullptr;
  std::vector<TSampleStep> FColumns, FLines;
  std::vector<SDL_Rect> FRects;
  int FWidth, FHeight;
  const TScreen* FLastScreen = nullptr;
  std::unique_ptr<TSdlGamepads> FGamepads;
  std::deque<TInputEvent> FPending;
  bool FCloseRequested = false;
  bool FTerminateRequested = false;
  bool FFocusReported = false;
  int FPresentCount = 0;
  // The X connection's socket, -1 on other systems: waits sleep on it.
  int FEventFd = -1;
  // The last call looked at the X connection and found nothing; the last
  // wait ran its time out with nothing arriving on it.
  bool FJustLooked = false;
  bool FQuietWait = false;
};
