#include "platform/sdl/SdlDisplay.h"

#include <SDL.h>

namespace {
TDisplayMode FromSdl(const SDL_DisplayMode& Mode) {
  TDisplayMode Result;
  Result.BitsPerPel = SDL_BITSPERPIXEL(Mode.format);
  Result.PelsWidth = static_cast<std::uint32_t>(Mode.w);
  Result.PelsHeight = static_cast<std::uint32_t>(Mode.h);
  Result.DisplayFrequency = static_cast<std::uint32_t>(Mode.refresh_rate);
  return Result;
}

bool SameMode(const TDisplayMode& A, const TDisplayMode& B) {
  return A.BitsPerPel == B.BitsPerPel && A.PelsWidth == B.PelsWidth && A.PelsHeight == B.PelsHeight &&
         (A.DisplayFrequency == 0 || B.DisplayFrequency == 0 || A.DisplayFrequency == B.DisplayFrequency);
}
}  // namespace

TSdlDisplay::TSdlDisplay(SDL_Window* Window) : FWindow(Window) {}

int TSdlDisplay::DisplayIndex() const {
  const int Index = SDL_GetWindowDisplayIndex(FWindow);
  return Index < 0 ? 0 : Index;
}

TDisplayMode TSdlDisplay::CurrentMode() {
  SDL_DisplayMode Mode{};
  if (SDL_GetDesktopDisplayMode(DisplayIndex(), &Mode) != 0) return TDisplayMode{};
  return FromSdl(Mode);
}

bool TSdlDisplay::FindMode(const TDisplayMode& Mode, SDL_DisplayMode& Found) const {
  const int Display = DisplayIndex();
  const int Count = SDL_GetNumDisplayModes(Display);
  for (int I = 0; I < Count; ++I) {
    SDL_DisplayMode Candidate{};
    if (SDL_GetDisplayMode(Display, I, &Candidate) == 0 && SameMode(FromSdl(Candidate), Mode)) {
      Found = Candidate;
      return true;
    }
  }
  return false;
}

bool TSdlDisplay::FitsDesktop(const TDisplayMode& Mode) {
  const TDisplayMode Desktop = CurrentMode();
  return Mode.PelsWidth > 0 && Mode.PelsHeight > 0 && Mode.PelsWidth <= Desktop.PelsWidth &&
         Mode.PelsHeight <= Desktop.PelsHeight;
}

int TSdlDisplay::TestMode(const TDisplayMode& Mode) {
  // The desktop as it is always passes, even where a driver leaves it out of
  // its mode list; so does any smaller size, shown scaled on a desktop-sized
  // full screen when the display has no such mode.
  if (SameMode(CurrentMode(), Mode)) return DispChangeSuccessful;
  SDL_DisplayMode Found{};
  return FindMode(Mode, Found) || FitsDesktop(Mode) ? DispChangeSuccessful : DispChangeBadMode;
}

int TSdlDisplay::EnterMode(const TDisplayMode& Mode) {
  if (!FullScreenRequestsAnswered(FWindow)) return CoverDisplay(Mode);
  SDL_DisplayMode Found{};
  TDisplayMode AnyRefresh = Mode;
  AnyRefresh.DisplayFrequency = 0;
  if (FindMode(Mode, Found) || FindMode(AnyRefresh, Found)) {
    // The display really switches to the mode, as the game was designed.
    if (SDL_SetWindowDisplayMode(FWindow, &Found) != 0) return DispChangeFailed;
    if (SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN) == 0) return DispChangeSuccessful;
  }
  // No such mode (or the switch failed): the desktop's own size, and the
  // window's presenter scales the picture up with bars.
  if (!FitsDesktop(Mode)) return DispChangeBadMode;
  if (SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return DispChangeFailed;
  return DispChangeSuccessful;
}

int TSdlDisplay::CoverDisplay(const TDisplayMode& Mode) {
  // SDL asks the window manager for full screen and waits a tenth of a
  // second for an answer that, without one, never comes; the window then
  // keeps its size while SDL draws for the display's. A bare X server lets
  // a window take any place and size at once: the window covers the
  // display and the picture is scaled to it.
  if (!FitsDesktop(Mode)) return DispChangeBadMode;
  SDL_Rect Bounds{};
  if (SDL_GetDisplayBounds(DisplayIndex(), &Bounds) != 0) return DispChangeFailed;
  if (!FCovering) {
    SDL_GetWindowPosition(FWindow, &FWindowed.x, &FWindowed.y);
    SDL_GetWindowSize(FWindow, &FWindowed.w, &FWindowed.h);
    FWindowedBordered = (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_BORDERLESS) == 0;
  }
  FCovering = true;
  SDL_SetWindowBordered(FWindow, SDL_FALSE);
  SDL_SetWindowPosition(FWindow, Bounds.x, Bounds.y);
  SDL_SetWindowSize(FWindow, Bounds.w, Bounds.h);
  SDL_RaiseWindow(FWindow);
  return DispChangeSuccessful;
}

int TSdlDisplay::RestoreMode(const TDisplayMode&) {
  if (FCovering) {
    FCovering = false;
    SDL_SetWindowBordered(FWindow, FWindowedBordered ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowSize(FWindow, FWindowed.w, FWindowed.h);
    SDL_SetWindowPosition(FWindow, FWindowed.x, FWindowed.y);
    return DispChangeSuccessful;
  }
  // Leaving exclusive full screen gives the display its desktop mode back.
  if (SDL_SetWindowFullscreen(FWindow, 0) != 0) return DispChangeFailed;
  return DispChangeSuccessful;
}

void TSdlDisplay::ShowCursor(bool Visible) { SDL_ShowCursor(Visible ? SDL_ENABLE : SDL_DISABLE); }

void TSdlDisplay::SetBorderStyle(TBorderStyle Style) {
  // A window with a border may be resized and maximised; the picture scales.
  SDL_SetWindowResizable(FWindow, Style == TBorderStyle::Fixed ? SDL_TRUE : SDL_FALSE);
  if (FCovering)
    FWindowedBordered = Style == TBorderStyle::Fixed;
  else
    SDL_SetWindowBordered(FWindow, Style == TBorderStyle::Fixed ? SDL_TRUE : SDL_FALSE);
}

void TSdlDisplay::SetClientSize(int Width, int Height) {
  if (FCovering) {
    FWindowed.w = Width;
    FWindowed.h = Height;
    return;
  }
  // SDL waits up to a tenth of a second for the window to change; asked
  // for what it already is, it waits all of it.
  int Now[2] = {0, 0};
  SDL_GetWindowSize(FWindow, &Now[0], &Now[1]);
  if (Now[0] != Width || Now[1] != Height) SDL_SetWindowSize(FWindow, Width, Height);
}

void TSdlDisplay::BorderSizes(int& Top, int& Left, int& Bottom, int& Right) {
  Top = Left = Bottom = Right = 0;
  // Fails where the driver or window manager cannot tell; no border then.
  if (SDL_GetWindowBordersSize(FWindow, &Top, &Left, &Bottom, &Right) != 0) Top = Left = Bottom = Right = 0;
  FBorder[0] = Top;
  FBorder[1] = Left;
  FBorder[2] = Bottom;
  FBorder[3] = Right;
}

void TSdlDisplay::CheckFrame() {
  const int Before[4] = {FBorder[0], FBorder[1], FBorder[2], FBorder[3]};
  int Top, Left, Bottom, Right;
  BorderSizes(Top, Left, Bottom, Right);
  if (Top == Before[0] && Left == Before[1] && Bottom == Before[2] && Right == Before[3]) return;
  if (SDL_GetWindowFlags(FWindow) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) return;
  if (FFrameChanged) FFrameChanged();
}

TSize TSdlDisplay::OuterSize() {
  int Width = 0, Height = 0, Top, Left, Bottom, Right;
  SDL_GetWindowSize(FWindow, &Width, &Height);
  BorderSizes(Top, Left, Bottom, Right);
  return {Width + Left + Right, Height + Top + Bottom};
}

void TSdlDisplay::SetPosition(int Left, int Top) {
  // SDL places the client area; the outer corner sits the border before it.
  int BorderTop, BorderLeft, BorderBottom, BorderRight;
  BorderSizes(BorderTop, BorderLeft, BorderBottom, BorderRight);
  if (FCovering) {
    FWindowed.x = Left + BorderLeft;
    FWindowed.y = Top + BorderTop;
    return;
  }
  int Now[2] = {0, 0};
  SDL_GetWindowPosition(FWindow, &Now[0], &Now[1]);
  if (Now[0] != Left + BorderLeft || Now[1] != Top + BorderTop)
    SDL_SetWindowPosition(FWindow, Left + BorderLeft, Top + BorderTop);
}

TSize TSdlDisplay::DesktopSize() {
  SDL_DisplayMode Mode{};
  if (SDL_GetDesktopDisplayMode(DisplayIndex(), &Mode) != 0) return {800, 600};
  return {Mode.w, Mode.h};
}
