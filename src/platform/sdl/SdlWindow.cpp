#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

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

void TSdlWindow::InstallSignalHandlers() {
  std::signal(SIGTERM, OnEndSignal);
  std::signal(SIGINT, OnEndSignal);
}

TSdlWindow::TSdlWindow(const std::string& Title, int Width, int Height) : FWidth(Width), FHeight(Height) {
  // Our own handlers end the program through the window's closing steps.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The main window decides itself what losing the focus means.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw std::runtime_error(std::string("Cannot start the video system: ") + SDL_GetError());

  FWindow = SDL_CreateWindow(Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width, Height,
                             SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
  if (!FWindow) {
    const std::string Error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    throw std::runtime_error("Cannot open the window: " + Error);
  }

  FRenderer = SDL_CreateRenderer(FWindow, -1, 0);
  if (!FRenderer) FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_SOFTWARE);
  if (FRenderer) {
    FTexture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, Width, Height);
    if (FTexture) SDL_SetTextureScaleMode(FTexture, SDL_ScaleModeNearest);
    if (!FTexture) {
      SDL_DestroyRenderer(FRenderer);
      FRenderer = nullptr;
    }
  }
  SDL_SetWindowMinimumSize(FWindow, Width / 4, Height / 4);
  SDL_StartTextInput();
}

TSdlWindow::~TSdlWindow() {
  FGamepads.reset();
  if (FEnlarged) SDL_DestroyTexture(FEnlarged);
  if (FTexture) SDL_DestroyTexture(FTexture);
  if (FRenderer) SDL_DestroyRenderer(FRenderer);
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
  if (TakePending(Event)) return true;
  SDL_Event E;
  const int Got = TimeoutMs == 0 ? SDL_PollEvent(&E) : SDL_WaitEventTimeout(&E, static_cast<int>(TimeoutMs));
  if (Got) Translate(E);
  // Events that are no input (mouse, exposure) end the wait early; the loop
  // then looks at its timers and waits again for the rest.
  return TakePending(Event);
}

void TSdlWindow::Translate(const SDL_Event& E) {
  if (FGamepads && FGamepads->Handle(E, FPending)) return;
  switch (E.type) {
    case SDL_QUIT:
      FCloseRequested = true;
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      // The enlarged copy is drawn afresh every frame; only show it again.
      if (FLastScreen) Present(*FLastScreen);
      break;
    case SDL_WINDOWEVENT:
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
          if (FLastScreen) Present(*FLastScreen);
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
    case SDL_TEXTINPUT:
      for (char Ch : Utf8ToLatin1(E.text.text)) FPending.push_back(TInputEvent::KeyPress(Ch));
      break;
    default: break;
  }
}

void TSdlWindow::Present(const TScreen& Screen) {
  FLastScreen = &Screen;
  ++FPresentCount;
  if (!FTexture || Screen.Width() != FWidth || Screen.Height() != FHeight) return;
  SDL_UpdateTexture(FTexture, nullptr, Screen.Row(0), Screen.Stride());
  int OutW = 0, OutH = 0;
  if (SDL_GetRendererOutputSize(FRenderer, &OutW, &OutH) != 0) SDL_GetWindowSize(FWindow, &OutW, &OutH);
  const TPictureFit Fit = FitPicture(OutW, OutH, FWidth, FHeight);
  const SDL_Rect Target{Fit.X, Fit.Y, Fit.Width, Fit.Height};
  SDL_Texture* Source = FTexture;
  // Fractional sizes above 1: enlarge sharply first, then smooth down.
  if (!Fit.Whole && Fit.Width > FWidth) {
    const int Multiple = static_cast<int>(std::ceil(static_cast<double>(Fit.Width) / FWidth));
    if (PrepareEnlarged(Multiple) && SDL_SetRenderTarget(FRenderer, FEnlarged) == 0) {
      SDL_RenderCopy(FRenderer, FTexture, nullptr, nullptr);
      SDL_SetRenderTarget(FRenderer, nullptr);
      Source = FEnlarged;
    }
  }
  // A picture smaller than its texture is smoothed, never dropped pixels.
  if (Source == FTexture)
    SDL_SetTextureScaleMode(FTexture, !Fit.Whole && Fit.Width < FWidth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_SetRenderDrawColor(FRenderer, 0, 0, 0, 255);
  SDL_RenderClear(FRenderer);
  SDL_RenderCopy(FRenderer, Source, nullptr, &Target);
  SDL_RenderPresent(FRenderer);
}

bool TSdlWindow::PrepareEnlarged(int Multiple) {
  if (FEnlarged && FEnlargedMultiple == Multiple) return true;
  if (FEnlarged) SDL_DestroyTexture(FEnlarged);
  FEnlargedMultiple = 0;
  FEnlarged = SDL_RenderTargetSupported(FRenderer)
                  ? SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, FWidth * Multiple,
                                      FHeight * Multiple)
                  : nullptr;
  if (!FEnlarged) return false;
  SDL_SetTextureScaleMode(FEnlarged, SDL_ScaleModeLinear);
  FEnlargedMultiple = Multiple;
  return true;
}
