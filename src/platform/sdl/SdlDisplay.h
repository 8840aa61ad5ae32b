// The display and the main window over SDL2: the desktop mode from SDL, the
// 800 x 600 game mode as one of the display's own modes, switched by SDL's
// exclusive full screen. A display without that mode gets a desktop-sized
// full screen instead, on which the window scales the picture. Where no
// window manager answers full-screen requests (a bare X server), the window
// itself covers the display.
#pragma once

#include <SDL.h>

#include <functional>
#include <utility>

#include "platform/Display.h"

// Whether a window manager that takes full-screen requests looks after
// Window (always so off X). Lives beside X's headers, in SdlX11.cpp.
bool FullScreenRequestsAnswered(SDL_Window* Window);

class TSdlDisplay : public IDisplay {
public:
  // Window is the main window; it must outlive this object.
  explicit TSdlDisplay(SDL_Window* Window);

  TDisplayMode CurrentMode() override;
  // Success when the display lists a mode of exactly this size, depth and
  // refresh (a refresh of 0 on either side means "any"), or when the size
  // fits on the desktop (shown scaled); otherwise the mode-not-supported code.
  int TestMode(const TDisplayMode& Mode) override;
  int EnterMode(const TDisplayMode& Mode) override;
  int RestoreMode(const TDisplayMode& Mode) override;
  // Other programs hear of the change from the system itself.
  void BroadcastDisplayChange(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
  void ShowCursor(bool Visible) override;
  void SetBorderStyle(TBorderStyle Style) override;
  void SetClientSize(int Width, int Height) override;
  TSize OuterSize() override;
  void SetPosition(int Left, int Top) override;
  TSize DesktopSize() override;
  void SetFrameChangedHandler(std::function<void()> Handler) override { FFrameChanged = std::move(Handler); }

  // Reads the window's border again (call on the window's events); runs the
  // frame handler when it differs from the border last read, unless the
  // window is maximised or minimised, where the window manager owns its place.
  void CheckFrame();

private:
  int DisplayIndex() const;
  bool FitsDesktop(const TDisplayMode& Mode);
  bool FindMode(const TDisplayMode& Mode, SDL_DisplayMode& Found) const;
  void BorderSizes(int& Top, int& Left, int& Bottom, int& Right);
  int CoverDisplay(const TDisplayMode& Mode);

  SDL_Window* FWindow;
  // Set while the window covers the display without a window manager's
  // full screen; the window's own place, size and border are kept here
  // meanwhile, as SDL keeps them for its full-screen windows.
  bool FCovering = false;
  SDL_Rect FWindowed{};
  bool FWindowedBordered = true;
  // Top, left, bottom, right as last read.
  int FBorder[4] = {0, 0, 0, 0};
  std::function<void()> FFrameChanged;
};
