// A display and window in memory, for tests and headless runs: it accepts the
// modes it is told to, answers switches with the result codes it is given and
// records every call in order.
#pragma once

#include <string>
#include <vector>

#include "platform/Display.h"

class TFakeDisplay : public IDisplay {
public:
  // Border thickness of the windowed style: three pixels on each side and a
  // 23-pixel caption, so the outer window is 806 x 629 around 800 x 600.
  static constexpr int FrameWidth = 3;
  static constexpr int CaptionHeight = 23;

  // A 32-bit 1024 x 768 desktop at 75 Hz that also takes 800 x 600 at 75 Hz.
  TFakeDisplay();

  // Desktop as found at start.
  TDisplayMode Desktop;
  // Modes TestMode accepts (compared on bits per pixel, size and refresh).
  std::vector<TDisplayMode> Accepted;
  // Results of the next switches; the front is used and dropped, the last one stays.
  std::vector<int> EnterResults{DispChangeSuccessful};
  std::vector<int> RestoreResults{DispChangeSuccessful};

  // What the window and display look like now.
  bool InGameMode = false;
  bool CursorVisible = true;
  TBorderStyle Border = TBorderStyle::Fixed;
  TSize Client{800, 600};
  int Left = 0;
  int Top = 0;
  // False: like a window a window manager has not framed yet, the border
  // reads as none until FrameWindow().
  bool Framed = true;

  // Every call in order, e.g. "test 800x600x32@60", "enter 800x600x32@75",
  // "restore 1024x768x32@75", "broadcast 126 42 0", "cursor hide", "border none",
  // "client 800x600", "position 0,0".
  std::vector<std::string> Log;
  int Count(const std::string& Prefix) const;

  // Accepts exactly this desktop and 800 x 600 at the given refresh rates.
  void AcceptOnly(std::vector<std::uint32_t> GameRefreshRates);

  TDisplayMode CurrentMode() override;
  int TestMode(const TDisplayMode& Mode) override;
  int EnterMode(const TDisplayMode& Mode) override;
  int RestoreMode(const TDisplayMode& Mode) override;
  void BroadcastDisplayChange(std::uint32_t Message, std::uintptr_t WParam, std::intptr_t LParam) override;
  void ShowCursor(bool Visible) override;
  void SetBorderStyle(TBorderStyle Style) override;
  void SetClientSize(int Width, int Height) override;
  TSize OuterSize() override;
  void SetPosition(int NewLeft, int NewTop) override;
  TSize DesktopSize() override;
  void SetFrameChangedHandler(std::function<void()> Handler) override;

  // The window manager frames the window: from now on the border counts, and
  // the handler hears of it when the window has one.
  void FrameWindow();

  static std::string Describe(const TDisplayMode& Mode);

private:
  std::function<void()> FFrameChanged;
  static int Next(std::vector<int>& Results);
};
