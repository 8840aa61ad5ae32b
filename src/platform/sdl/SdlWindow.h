// The game's one SDL window: shows the 800 x 600 screen through a streaming
// texture, turns SDL's events into the input seam's events and carries out
// what the main window asks of it. Without a renderer (SDL's dummy video
// driver has none that works) the screen simply stays in memory.
//
// The window may be resized, maximised or shown on a desktop-sized full
// screen: the picture is scaled to fit with its shape kept and black bars,
// by whole multiples where that loses little (sharp pixels), otherwise
// enlarged by the next whole multiple and smoothed down to the size
// (sharp edges without uneven pixels). Sizes are the drawable's pixels, so a
// high-density screen gets a picture of the same size, not a small one.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/EventLoop.h"
#include "platform/Gamepad.h"
#include "platform/WindowControl.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;
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

class TSdlWindow : public IWindowControl, public IEventSource, public IPresenter {
public:
  // Starts SDL's video and makes the window with the given client size.
  // Throws std::runtime_error when there is no video at all.
  explicit TSdlWindow(const std::string& Title, int Width = 800, int Height = 600);
  ~TSdlWindow() override;
  TSdlWindow(const TSdlWindow&) = delete;
  TSdlWindow& operator=(const TSdlWindow&) = delete;

  SDL_Window* Handle() const { return FWindow; }
  bool HasRenderer() const { return FTexture != nullptr; }
  int PresentCount() const { return FPresentCount; }

  // SIGTERM and SIGINT become a close request at the loop's next look at
  // its input (the handler only sets a flag).
  static void InstallSignalHandlers();

  // From now on the first two game controllers send the keys Map names
  // (see TSdlGamepads). Throws std::runtime_error when SDL cannot read them.
  void EnableGamepads(TPadKeyMap Map);
  const TSdlGamepads* Gamepads() const { return FGamepads.get(); }

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
  // The enlarged copy the fractional sizes are smoothed down from; remade
  // when the multiple changes. False when the renderer has no targets.
  bool PrepareEnlarged(int Multiple);
  bool TakePending(TInputEvent& Event);

  SDL_Window* FWindow = nullptr;
  SDL_Renderer* FRenderer = nullptr;
  SDL_Texture* FTexture = nullptr;
  SDL_Texture* FEnlarged = nullptr;
  int FEnlargedMultiple = 0;
  int FWidth, FHeight;
  const TScreen* FLastScreen = nullptr;
  std::unique_ptr<TSdlGamepads> FGamepads;
  std::deque<TInputEvent> FPending;
  bool FCloseRequested = false;
  bool FTerminateRequested = false;
  bool FFocusReported = false;
  int FPresentCount = 0;
};
