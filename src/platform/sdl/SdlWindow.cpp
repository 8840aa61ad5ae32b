#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <poll.h>

#include <cmath>
#include <csignal>
#include <stdexcept>
#include <utility>

#include "platform/Screen.h"
#include "platform/sdl/SdlGamepads.h"
#include "platform/sdl/SdlKeys.h"

namespace {
volatile std::sig_atomic_t SignalledToEnd = 0;

extern "C" void OnEndSignal(int) { SignalledToEnd = 1; }
}  // namespace

TPictureFit FitPicture(int OutW, int OutH, int PictureW, int PictureH) {
  TPictureFit Fit;
  if (OutW <= 0 || OutH <= 0 || PictureW <= 0 || PictureH <= 0) return Fit;
  // The side that limits decides; the other follows the picture's shape.
  const bool WidthLimits = static_cast<long long>(OutW) * PictureH <= static_cast<long long>(OutH) * PictureW;
  const long double Scale = WidthLimits ? static_cast<long double>(OutW) / PictureW
                                        : static_cast<long double>(OutH) / PictureH;
  const int Whole = static_cast<int>(std::floor(Scale));
  if (Whole >= 1 && Whole >= WholeMultipleShare * Scale) {
    Fit.Whole = Whole;
    Fit.Width = PictureW * Whole;
    Fit.Height = PictureH * Whole;
  } else if (WidthLimits) {
    Fit.Width = OutW;
    Fit.Height = static_cast<int>(std::nearbyint(static_cast<long double>(OutW) * PictureH / PictureW));
  } else {
    Fit.Height = OutH;
    Fit.Width = static_cast<int>(std::nearbyint(static_cast<long double>(OutH) * PictureW / PictureH));
  }
  Fit.X = (OutW - Fit.Width) / 2;
  Fit.Y = (OutH - Fit.Height) / 2;
  return Fit;
}

void SampleSteps(int Out, int Picture, std::vector<TSampleStep>& Steps) {
  Steps.resize(static_cast<std::size_t>(std::max(Out, 0)));
  if (Out <= 0 || Picture <= 0) return;
  const int Multiple = std::max(1, (Out + Picture - 1) / Picture);
  const long long Enlarged = static_cast<long long>(Picture) * Multiple;
  for (int I = 0; I < Out; ++I) {
    // Centre of output pixel I in enlarged pixels, in 1/256ths:
    // (I + 0.5) * Enlarged / Out - 0.5.
    const long long Pos = std::max(0LL, ((2LL * I + 1) * Enlarged * 256 / Out - 256) / 2);
    const long long Index = std::min(Pos / 256, Enlarged - 1);
    const long long Next = std::min(Index + 1, Enlarged - 1);
    TSampleStep& S = Steps[static_cast<std::size_t>(I)];
    S.First = static_cast<int>(Index / Multiple);
    S.Weight = static_cast<int>(Pos % 256);
    S.Second = S.Weight ? static_cast<int>(Next / Multiple) : S.First;
    if (S.Second == S.First) S.Weight = 0;
  }
}

namespace {
// A + (B - A) * Weight / 256 for each of the four 8-bit parts at once.
inline std::uint32_t Blend(std::uint32_t A, std::uint32_t B, int Weight) {
  const std::uint32_t W = static_cast<std::uint32_t>(Weight), V = 256 - W;
  const std::uint32_t Odd = (((A & 0x00FF00FFu) * V + (B & 0x00FF00FFu) * W) >> 8) & 0x00FF00FFu;
  const std::uint32_t Even = ((((A >> 8) & 0x00FF00FFu) * V + ((B >> 8) & 0x00FF00FFu) * W)) & 0xFF00FF00u;
  return Odd | Even;
}

// The output lines (or columns) [From, To) whose samples read any of the
// picture's lines [Low, High); empty when none.
void Reached(const std::vector<TSampleStep>& Steps, int Low, int High, int& From, int& To) {
  const int N = static_cast<int>(Steps.size());
  From = 0;
  while (From < N && Steps[static_cast<std::size_t>(From)].Second < Low) ++From;
  To = From;
  while (To < N && Steps[static_cast<std::size_t>(To)].First < High) ++To;
}
}  // namespace

bool ShowsNoWindow(const std::string& Driver) { return Driver == "offscreen" || Driver == "dummy"; }

std::string StartVideo(const TVideoStartSteps& Steps, const std::string& Requested, int Attempts,
                       std::uint32_t PauseMs) {
  std::string Problem = "no video driver";
  for (int Attempt = 1; Attempt <= Attempts; ++Attempt) {
    if (Attempt > 1) Steps.Pause(PauseMs);
    if (!Steps.Start()) {
      Problem = Steps.Error();
      continue;
    }
    const std::string Driver = Steps.Driver();
    if (!Requested.empty() || !ShowsNoWindow(Driver)) return Driver;
    Problem = "the display could not be reached (only the \"" + Driver + "\" video driver started)";
    Steps.Stop();
  }
  throw std::runtime_error("Cannot start the video system: " + Problem);
}

void TSdlWindow::InstallSignalHandlers() {
  std::signal(SIGTERM, OnEndSignal);
  std::signal(SIGINT, OnEndSignal);
}

TSdlWindow::TSdlWindow(const std::string& Title, int Width, int Height) : FWidth(Width), FHeight(Height) {
  // Our own handlers end the program through the window's closing steps.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The main window decides itself what losing the focus means.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The window's surface is the system's own (shared memory on X11), not a
  // GL texture SDL would otherwise put behind it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const char* Requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  StartVideo({[] { return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0; },
              [] {
                const char* Driver = SDL_GetCurrentVideoDriver();
                return std::string(Driver ? Driver : "");
              },
              [] { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); },
              [](std::uint32_t Ms) { SDL_Delay(Ms); }, [] { return std::string(SDL_GetError()); }},
             Requested ? Requested : "", VideoAttempts, VideoPauseMs);

  FWindow = SDL_CreateWindow(Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width, Height,
                             SDL_WINDOW_RESIZABLE);
  if (!FWindow) {
    const std::string Error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    throw std::runtime_error("Cannot open the window: " + Error);
  }
  FRects.reserve(TScreen::MaxDirtyRects);
  FEventFd = X11ConnectionFd(FWindow);
  SDL_SetWindowMinimumSize(FWindow, Width / 4, Height / 4);
  SDL_StartTextInput();
}

TSdlWindow::~TSdlWindow() {
  FGamepads.reset();
  if (FFrame) SDL_FreeSurface(FFrame);
  SDL_DestroyWindow(FWindow);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

void TSdlWindow::EnableGamepads(TPadKeyMap Map) { FGamepads = std::make_unique<TSdlGamepads>(std::move(Map)); }

void TSdlWindow::SetCaption(const std::string& Caption) { SDL_SetWindowTitle(FWindow, Caption.c_str()); }

void TSdlWindow::Minimise() { SDL_MinimizeWindow(FWindow); }

void TSdlWindow::Restore() {
  SDL_RestoreWindow(FWindow);
  SDL_RaiseWindow(FWindow);
}

bool TSdlWindow::HasFocus() const { return (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_INPUT_FOCUS) != 0; }

bool TSdlWindow::TakePending(TInputEvent& Event) {
  if (SignalledToEnd) {
    SignalledToEnd = 0;
    FCloseRequested = true;
  }
  if (FTerminateRequested) {
    FTerminateRequested = false;
    Event = TInputEvent::CloseRequest(CloseTerminate);
    return true;
  }
  if (FCloseRequested) {
    FCloseRequested = false;
    Event = TInputEvent::CloseRequest(CloseWindow);
    return true;
  }
  if (FPending.empty()) return false;
  Event = FPending.front();
  FPending.pop_front();
  return true;
}

bool TSdlWindow::WaitEvent(std::uint32_t TimeoutMs, TInputEvent& Event) {
  const bool JustLooked = FJustLooked;
  const bool QuietWait = FQuietWait;
  FJustLooked = FQuietWait = false;
  if (TakePending(Event)) return true;
  SDL_Event E;
  int Got = 0;
  if (TimeoutMs == 0) {
    // After a wait that ran out with nothing on the X connection there is
    // nothing new to fetch from it.
    Got = QuietWait ? SDL_PeepEvents(&E, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 : SDL_PollEvent(&E);
    FJustLooked = !Got;
  } else if (FEventFd >= 0 && SDL_NumJoysticks() == 0) {
    // SDL's own wait looks at the X connection (several system calls) once
    // before it sleeps and once after; the loop looks again right after
    // any wait anyway, and usually looked just before. Sleep on the
    // connection alone then: what is already in SDL's queue first, a fresh
    // look only when the last one was not just now.
    Got = JustLooked ? SDL_PeepEvents(&E, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 : SDL_PollEvent(&E);
    if (!Got) {
      pollfd Fd{FEventFd, POLLIN, 0};
      FQuietWait = poll(&Fd, 1, static_cast<int>(TimeoutMs)) == 0;
    }
  } else {
    // Controllers are read when SDL looks, not through the X connection.
    Got = SDL_WaitEventTimeout(&E, static_cast<int>(TimeoutMs));
  }
  if (Got) Translate(E);
  // Events that are no input (mouse motion, exposure) end the wait early; the loop
  // then looks at its timers and waits again for the rest.
  return TakePending(Event);
}

void TSdlWindow::Translate(const SDL_Event& E) {
  if (FGamepads && FGamepads->Handle(E, FPending)) return;
  switch (E.type) {
    case SDL_QUIT:
      FCloseRequested = true;
      break;
    case SDL_WINDOWEVENT:
      if (WindowEventSeen) WindowEventSeen();
      switch (E.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: FPending.push_back(TInputEvent::FocusGained()); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: FPending.push_back(TInputEvent::FocusLost()); break;
        case SDL_WINDOWEVENT_SHOWN:
          // Focus events only tell of changes: a window that appears without
          // the focus (the player clicked elsewhere during start-up) would
          // otherwise never be treated as away. Reported once, through the
          // same seam as every other input, so replays see it too.
          if (!FFocusReported) {
            FFocusReported = true;
            FPending.push_back(HasFocus() ? TInputEvent::FocusGained() : TInputEvent::FocusLost());
          }
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
          if (FLastScreen) Show(*FLastScreen, true);
          break;
        default: break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const std::uint16_t Key = VirtualKeyFromSdl(E.key.keysym.scancode, E.key.keysym.sym, E.key.keysym.mod);
      if (Key == 0) break;
      const TShiftState Shift = ShiftStateFromSdl(E.key.keysym.mod);
      if (E.type == SDL_KEYUP) {
        FPending.push_back(TInputEvent::KeyUp(Key, Shift));
        break;
      }
      // Held keys repeat as further key-downs, as the classic platform did.
      FPending.push_back(TInputEvent::KeyDown(Key, Shift));
      if (const char Ch = ControlCharacterForKey(Key)) FPending.push_back(TInputEvent::KeyPress(Ch));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      // The game is played with keys; a click only ends the menu's demo.
      FPending.push_back(TInputEvent::Click());
      break;
    case SDL_TEXTINPUT:
      for (char Ch : Utf8ToLatin1(E.text.text)) FPending.push_back(TInputEvent::KeyPress(Ch));
      break;
    default: break;
  }
}

void TSdlWindow::Present(const TScreen& Screen) { Show(Screen, false); }

SDL_Surface* TSdlWindow::Keep(SDL_Surface*& Kept, int Width, int Height, std::uint32_t Format) {
  if (Kept && (Kept->w != Width || Kept->h != Height || Kept->format->format != Format)) {
    SDL_FreeSurface(Kept);
    Kept = nullptr;
  }
  if (!Kept) Kept = SDL_CreateRGBSurfaceWithFormat(0, Width, Height, 32, Format);
  return Kept;
}

void TSdlWindow::Show(const TScreen& Screen, bool Whole) {
  // Talking to the X server may queue its events where SDL has not looked.
  FJustLooked = FQuietWait = false;
  FLastScreen = &Screen;
  ++FPresentCount;
  if (Screen.Width() != FWidth || Screen.Height() != FHeight) return;
  // Valid until the window's size changes; SDL makes a new one then.
  SDL_Surface* Out = SDL_GetWindowSurface(FWindow);
  if (!Out || Out->format->BytesPerPixel < 2) return;
  if (Out != FShownOn || Out->w != FShownW || Out->h != FShownH) {
    FShownOn = Out;
    FShownW = Out->w;
    FShownH = Out->h;
    Whole = true;
  }
  const TPictureFit Fit = FitPicture(Out->w, Out->h, FWidth, FHeight);
  if (Fit.Width <= 0) return;
  const std::uint32_t Format = Out->format->format;

  FRects.clear();
  if (Whole || !Screen.IsDirty()) {
    FRects.push_back(SDL_Rect{0, 0, FWidth, FHeight});
  } else {
    for (const TScreenRect& R : Screen.DirtyRects()) FRects.push_back(SDL_Rect{R.X, R.Y, R.Width, R.Height});
  }
  // Pixels of the screen's box R converted into Surface at (X, Y).
  const auto Convert = [&Screen](const SDL_Rect& R, SDL_Surface* Surface, int X, int Y) {
    const std::uint8_t* From = Screen.Row(R.y) + R.x * TScreen::BytesPerPixel;
    auto* To = static_cast<std::uint8_t*>(Surface->pixels) + static_cast<std::ptrdiff_t>(Y) * Surface->pitch +
               X * Surface->format->BytesPerPixel;
    SDL_ConvertPixels(R.w, R.h, SDL_PIXELFORMAT_BGR24, From, Screen.Stride(), Surface->format->format, To,
                      Surface->pitch);
  };

  if (Whole && (Fit.Width != Out->w || Fit.Height != Out->h)) SDL_FillRect(Out, nullptr, 0);
  if (Fit.Whole == 1) {
    // The common case: straight into the window's surface.
    for (SDL_Rect& R : FRects) {
      Convert(R, Out, Fit.X + R.x, Fit.Y + R.y);
      R.x += Fit.X;
      R.y += Fit.Y;
    }
  } else {
    SDL_Surface* Frame = Keep(FFrame, FWidth, FHeight, Format);
    if (!Frame) return;
    for (const SDL_Rect& R : FRects) Convert(R, Frame, R.x, R.y);
    if (Fit.Whole > 1) {
      // Every pixel becomes an exact square of Whole x Whole.
      for (SDL_Rect& R : FRects) {
        SDL_Rect Target{Fit.X + R.x * Fit.Whole, Fit.Y + R.y * Fit.Whole, R.w * Fit.Whole, R.h * Fit.Whole};
        SDL_BlitScaled(Frame, &R, Out, &Target);
        R = Target;
      }
    } else if (Out->format->BytesPerPixel != 4) {
      // Smoothing works on 32-bit pixels; anything else is shown unsmoothed.
      SDL_Rect Target{Fit.X, Fit.Y, Fit.Width, Fit.Height};
      SDL_BlitScaled(Frame, nullptr, Out, &Target);
      FRects.assign(1, Target);
    } else {
      if (static_cast<int>(FColumns.size()) != Fit.Width || static_cast<int>(FLines.size()) != Fit.Height) {
        SampleSteps(Fit.Width, FWidth, FColumns);
        SampleSteps(Fit.Height, FHeight, FLines);
      }
      for (SDL_Rect& R : FRects) {
        int X0, X1, Y0, Y1;
        Reached(FColumns, R.x, R.x + R.w, X0, X1);
        Reached(FLines, R.y, R.y + R.h, Y0, Y1);
        for (int Y = Y0; Y < Y1; ++Y) {
          const TSampleStep& L = FLines[static_cast<std::size_t>(Y)];
          const auto* Upper = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(Frame->pixels) +
                                                                     static_cast<std::ptrdiff_t>(L.First) * Frame->pitch);
          const auto* Lower = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(Frame->pixels) +
                                                                     static_cast<std::ptrdiff_t>(L.Second) * Frame->pitch);
          auto* To = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(Out->pixels) +
                                                      static_cast<std::ptrdiff_t>(Fit.Y + Y) * Out->pitch) +
                     Fit.X;
          for (int X = X0; X < X1; ++X) {
            const TSampleStep& C = FColumns[static_cast<std::size_t>(X)];
            To[X] = Blend(Blend(Upper[C.First], Upper[C.Second], C.Weight), Blend(Lower[C.First], Lower[C.Second], C.Weight),
                          L.Weight);
          }
        }
        R = SDL_Rect{Fit.X + X0, Fit.Y + Y0, X1 - X0, Y1 - Y0};
      }
    }
  }
  if (Whole) FRects.assign(1, SDL_Rect{0, 0, Out->w, Out->h});
  SDL_UpdateWindowSurfaceRects(FWindow, FRects.data(), static_cast<int>(FRects.size()));
}
