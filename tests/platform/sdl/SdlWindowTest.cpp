// The real SDL window, started under SDL's dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/sdl/SdlWindow.h"

namespace {
std::vector<TInputEvent> Collect(TSdlWindow& W, int Attempts = 20) {
  std::vector<TInputEvent> Out;
  TInputEvent E;
  for (int I = 0; I < Attempts; ++I)
    if (W.WaitEvent(1, E)) Out.push_back(E);
  return Out;
}

void PushKey(Uint32 Type, SDL_Scancode S, SDL_Keycode K, Uint16 Mod, Uint8 Repeat = 0) {
  SDL_Event E{};
  E.type = Type;
  E.key.state = Type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  E.key.repeat = Repeat;
  E.key.keysym.scancode = S;
  E.key.keysym.sym = K;
  E.key.keysym.mod = Mod;
  SDL_PushEvent(&E);
}

void PushWindowEvent(TSdlWindow& W, Uint8 Which) {
  SDL_Event E{};
  E.type = SDL_WINDOWEVENT;
  E.window.event = Which;
  E.window.windowID = SDL_GetWindowID(W.Handle());
  SDL_PushEvent(&E);
}

// Counts how often the loop looks for input.
class TCountingSource : public IEventSource {
public:
  explicit TCountingSource(IEventSource& Inner) : FInner(Inner) {}
  bool WaitEvent(std::uint32_t TimeoutMs, TInputEvent& Event) override {
    ++Calls;
    return FInner.WaitEvent(TimeoutMs, Event);
  }
  int Calls = 0;

private:
  IEventSource& FInner;
};
}  // namespace

TEST(SdlWindow, KeysTextFocusAndQuitBecomeInputEvents) {
  TSdlWindow W("Vyrn test");
  Collect(W);  // whatever the driver says about the new window
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_LSHIFT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_LSHIFT, 1);  // auto-repeat
  PushKey(SDL_KEYUP, SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_NONE);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY, KMOD_NONE);  // no code: dropped
  SDL_Event T{};
  T.type = SDL_TEXTINPUT;
  std::strcpy(T.text.text, "a\xC3\xA9\xE2\x82\xAC");
  SDL_PushEvent(&T);
  PushWindowEvent(W, SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(W, SDL_WINDOWEVENT_FOCUS_GAINED);
  SDL_Event Q{};
  Q.type = SDL_QUIT;
  SDL_PushEvent(&Q);

  const std::vector<TInputEvent> Expected = {
      TInputEvent::KeyDown(37, ShiftShift), TInputEvent::KeyDown(37, ShiftShift), TInputEvent::KeyUp(37),
      TInputEvent::KeyDown(13),             TInputEvent::KeyPress(13),            TInputEvent::KeyPress('a'),
      TInputEvent::KeyPress('\xE9'),        TInputEvent::FocusLost(),             TInputEvent::FocusGained(),
      TInputEvent::CloseRequest(),
  };
  const auto Got = Collect(W, 40);
  ASSERT_EQ(Got.size(), Expected.size());
  for (std::size_t I = 0; I < Got.size(); ++I)
    EXPECT_EQ(Got[I], Expected[I]) << I << ": " << DescribeInputEvent(Got[I]);
}

TEST(SdlWindow, TheFocusStateIsReportedOnceWhenTheWindowAppears) {
  TSdlWindow W("Vyrn test");
  // Whatever the driver says about the new window, and a second showing.
  PushWindowEvent(W, SDL_WINDOWEVENT_SHOWN);
  std::vector<TInputEvent> Focus;
  for (const TInputEvent& E : Collect(W, 40))
    if (E.Kind == TInputKind::FocusGained || E.Kind == TInputKind::FocusLost) Focus.push_back(E);
  ASSERT_EQ(Focus.size(), 1u);
  EXPECT_EQ(Focus[0], W.HasFocus() ? TInputEvent::FocusGained() : TInputEvent::FocusLost());
}

TEST(SdlWindow, CloseTerminateAndSigtermComeBackAsCloseRequests) {
  TSdlWindow W("Vyrn test");
  Collect(W);
  TInputEvent E;
  W.Close();
  ASSERT_TRUE(W.WaitEvent(0, E));
  EXPECT_EQ(E, TInputEvent::CloseRequest(CloseWindow));
  W.Terminate();
  ASSERT_TRUE(W.WaitEvent(0, E));
  EXPECT_EQ(E, TInputEvent::CloseRequest(CloseTerminate));
  EXPECT_FALSE(W.WaitEvent(0, E));

  TSdlWindow::InstallSignalHandlers();
  std::raise(SIGTERM);
  ASSERT_TRUE(W.WaitEvent(0, E));
  EXPECT_EQ(E, TInputEvent::CloseRequest(CloseWindow));
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
}

TEST(SdlWindow, RunsTheLoopOnRealTimeWithoutSpinning) {
  TSdlWindow W("Vyrn test");
  EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "dummy");
  W.SetCaption("Vyrn caption");
  EXPECT_STREQ(SDL_GetWindowTitle(W.Handle()), "Vyrn caption");
  int Width = 0, Height = 0;
  SDL_GetWindowSize(W.Handle(), &Width, &Height);
  EXPECT_EQ(Width, 800);
  EXPECT_EQ(Height, 600);

  TSteadyClock Clock;
  TTimerScheduler Timers(Clock);
  TScreen Screen;
  const TTimerId Tick = Timers.Add(20);
  // Read before the timer starts counting, so the five intervals lie wholly after it.
  const std::uint64_t Start = Clock.NowMs();
  Timers.SetEnabled(Tick, true);
  struct TSink : IInputSink {
    TSdlWindow* Window;
    TScreen* Screen;
    int Ticks = 0;
    void Dispatch(const TInputEvent& E) override {
      if (E.Kind != TInputKind::Timer) return;
      Screen->MarkDirty();
      if (++Ticks == 5) Window->Close();
    }
  } Sink;
  Sink.Window = &W;
  Sink.Screen = &Screen;
  TCountingSource Source(W);
  TEventLoop Loop(Timers, Source, Sink, W, Screen);
  Loop.Run();
  EXPECT_EQ(Sink.Ticks, 5);
  EXPECT_EQ(W.PresentCount(), 5);
  EXPECT_GE(Clock.NowMs() - Start, 100u);  // five intervals of 20 ms were slept through
  // Sleeping, not polling: a handful of looks per tick at most.
  EXPECT_LT(Source.Calls, 100);
}

TEST(SdlWindow, ThePictureFitsWithItsShapeKeptSharpWhereAWholeMultipleIsCloseEnough) {
  // Exact multiples and the design size itself.
  EXPECT_EQ(FitPicture(800, 600, 800, 600), (TPictureFit{0, 0, 800, 600, 1}));
  EXPECT_EQ(FitPicture(1600, 1200, 800, 600), (TPictureFit{0, 0, 1600, 1200, 2}));
  // Height limits: 700 / 600 = 7/6, far from 1x: fractional 933.33 -> 933, bars left and right.
  EXPECT_EQ(FitPicture(1000, 700, 800, 600), (TPictureFit{33, 0, 933, 700, 0}));
  // Close to 2x (2 / 2.0833 > 0.9): the whole multiple with thin bars.
  EXPECT_EQ(FitPicture(1700, 1250, 800, 600), (TPictureFit{50, 25, 1600, 1200, 2}));
  // A wide desktop: 1080 / 600 = 1.8, fractional 1440 x 1080.
  EXPECT_EQ(FitPicture(1920, 1080, 800, 600), (TPictureFit{240, 0, 1440, 1080, 0}));
  // Smaller than the picture: shrunk, width limits (400 x 300 in 400 x 1000).
  EXPECT_EQ(FitPicture(400, 1000, 800, 600), (TPictureFit{0, 350, 400, 300, 0}));
  // Nothing to show into.
  EXPECT_EQ(FitPicture(0, 600, 800, 600), TPictureFit{});

  // Every size keeps the shape within a pixel, stays inside and is centred.
  for (int W = 100; W <= 4000; W += 37)
    for (int H = 100; H <= 3000; H += 41) {
      const TPictureFit F = FitPicture(W, H, 800, 600);
      ASSERT_LE(F.Width, W);
      ASSERT_LE(F.Height, H);
      ASSERT_TRUE(F.Width == W || F.Height == H || F.Whole) << W << "x" << H;
      ASSERT_LE(std::abs(F.Width * 3 - F.Height * 4), 4) << W << "x" << H;
      ASSERT_LE(std::abs((W - F.Width) - 2 * F.X), 1);
      ASSERT_LE(std::abs((H - F.Height) - 2 * F.Y), 1);
      if (F.Whole) {
        ASSERT_GE(F.Whole * 800, WholeMultipleShare * std::min(W * 1.0, H * 4.0 / 3.0)) << W << "x" << H;
      }
    }
}

namespace {
// A picture no two neighbouring pixels of which are alike.
void FillPattern(TScreen& Screen, int Salt) {
  for (int Y = 0; Y < Screen.Height(); ++Y)
    for (int X = 0; X < Screen.Width(); ++X) {
      std::uint8_t* P = Screen.Row(Y) + X * TScreen::BytesPerPixel;
      P[0] = static_cast<std::uint8_t>(X * 7 + Y + Salt);
      P[1] = static_cast<std::uint8_t>(Y * 5 + X * 3);
      P[2] = static_cast<std::uint8_t>(X ^ Y ^ Salt);
    }
}

// 0x00BBGGRR of a pixel of the window's surface, read through SDL's own
// format description.
std::uint32_t Shown(SDL_Window* Window, int X, int Y) {
  SDL_Surface* S = SDL_GetWindowSurface(Window);
  const auto* P = static_cast<const std::uint8_t*>(S->pixels) + Y * S->pitch + X * S->format->BytesPerPixel;
  Uint32 Pixel = 0;
  std::memcpy(&Pixel, P, S->format->BytesPerPixel);
  Uint8 R, G, B;
  SDL_GetRGB(Pixel, S->format, &R, &G, &B);
  return R | (G << 8) | (static_cast<std::uint32_t>(B) << 16);
}
}  // namespace

TEST(SdlWindow, ShowsTheScreenOneToOneAndCopiesOnlyTheBoxesMarkedDirty) {
  TSdlWindow W("Vyrn test");
  TScreen Screen;
  FillPattern(Screen, 0);
  Screen.MarkDirty();
  W.Present(Screen);
  Screen.ClearDirty();
  for (int Y = 0; Y < 600; Y += 7)
    for (int X = 0; X < 800; X += 3) ASSERT_EQ(Shown(W.Handle(), X, Y), Screen.PixelAt(X, Y)) << X << "," << Y;

  // Everything changes, but only one box is said to have changed: the
  // window shows exactly that box anew.
  const TScreen Before = Screen;
  FillPattern(Screen, 91);
  Screen.MarkDirty(100, 50, 30, 20);
  W.Present(Screen);
  for (int Y = 40; Y < 80; ++Y)
    for (int X = 90; X < 140; ++X) {
      const bool Inside = X >= 100 && X < 130 && Y >= 50 && Y < 70;
      ASSERT_EQ(Shown(W.Handle(), X, Y), (Inside ? Screen : Before).PixelAt(X, Y)) << X << "," << Y;
    }
  // An exposure shows it all again.
  PushWindowEvent(W, SDL_WINDOWEVENT_EXPOSED);
  Collect(W, 3);
  for (int Y = 0; Y < 600; Y += 11)
    for (int X = 0; X < 800; X += 5) ASSERT_EQ(Shown(W.Handle(), X, Y), Screen.PixelAt(X, Y)) << X << "," << Y;
}

TEST(SdlWindow, ALargerWindowShowsWholeMultiplesAsSquaresAndOtherSizesCentredWithBars) {
  TSdlWindow W("Vyrn test");
  TScreen Screen;
  FillPattern(Screen, 3);
  SDL_SetWindowSize(W.Handle(), 1600, 1200);
  Screen.MarkDirty();
  W.Present(Screen);
  Screen.ClearDirty();
  ASSERT_EQ(SDL_GetWindowSurface(W.Handle())->w, 1600);
  for (int Y = 0; Y < 1200; Y += 13)
    for (int X = 0; X < 1600; X += 9) ASSERT_EQ(Shown(W.Handle(), X, Y), Screen.PixelAt(X / 2, Y / 2)) << X << "," << Y;
  // A dirty box grows by the same multiple, and nothing beside it moves.
  const TScreen Before = Screen;
  FillPattern(Screen, 200);
  Screen.MarkDirty(10, 10, 4, 4);
  W.Present(Screen);
  for (int Y = 16; Y < 32; ++Y)
    for (int X = 16; X < 32; ++X) {
      const bool Inside = X >= 20 && X < 28 && Y >= 20 && Y < 28;
      ASSERT_EQ(Shown(W.Handle(), X, Y), (Inside ? Screen : Before).PixelAt(X / 2, Y / 2)) << X << "," << Y;
    }

  // 1000 x 700: 933 x 700 in the middle, black bars of 33 and 34 columns.
  // A flat picture stays flat through the smoothing.
  for (int Y = 0; Y < 600; ++Y)
    for (int X = 0; X < 800; ++X) {
      std::uint8_t* P = Screen.Row(Y) + X * 3;
      P[0] = 0x30, P[1] = 0x80, P[2] = 0xC0;
    }
  SDL_SetWindowSize(W.Handle(), 1000, 700);
  Screen.MarkDirty(0, 0, 1, 1);  // a new size shows everything regardless
  W.Present(Screen);
  EXPECT_EQ(Shown(W.Handle(), 10, 350), 0u);
  EXPECT_EQ(Shown(W.Handle(), 990, 350), 0u);
  for (int X = 40; X < 960; X += 40) EXPECT_EQ(Shown(W.Handle(), X, 350), 0x3080C0u) << X;
  EXPECT_EQ(Shown(W.Handle(), 500, 0), 0x3080C0u);
  EXPECT_EQ(Shown(W.Handle(), 500, 699), 0x3080C0u);
}

TEST(SdlWindow, FractionalSizesSampleTheEnlargedPictureAtPixelCentres) {
  std::vector<TSampleStep> S;
  // Whole multiples sample each picture pixel exactly, unblended.
  SampleSteps(1600, 800, S);
  ASSERT_EQ(S.size(), 1600u);
  for (int I = 0; I < 1600; ++I) ASSERT_EQ(S[I], (TSampleStep{I / 2, I / 2, 0})) << I;
  // Half size: every output pixel lies half-way between two picture pixels.
  SampleSteps(400, 800, S);
  for (int I = 0; I < 400; ++I) ASSERT_EQ(S[I], (TSampleStep{2 * I, 2 * I + 1, 128})) << I;
  // 7/6 through an enlargement by 2: output pixel 3 has its centre at
  // 3.5 * 12/7 - 0.5 = 5.5 enlarged pixels, between enlarged 5 (picture 2)
  // and 6 (picture 3), half of each.
  SampleSteps(700, 600, S);
  EXPECT_EQ(S[3], (TSampleStep{2, 3, 128}));
  // Inside one picture pixel's pair of enlarged pixels: no blend at all.
  EXPECT_EQ(S[1], (TSampleStep{1, 1, 0}));  // 1.5 * 12/7 - 0.5 = 2.07: enlarged 2 and 3, both picture 1
  EXPECT_EQ(S.front().First, 0);
  EXPECT_EQ(S.back().Second, 599);
  for (std::size_t I = 1; I < S.size(); ++I) {
    ASSERT_GE(S[I].First, S[I - 1].First);
    ASSERT_LE(S[I].Second - S[I].First, 1);
  }
}

TEST(SdlWindow, AFractionalSizeRedrawsOnlyWhatADirtyBoxReachesAndMatchesAWholeRedraw) {
  TSdlWindow W("Vyrn test");
  SDL_SetWindowSize(W.Handle(), 1000, 700);
  TScreen Screen;
  FillPattern(Screen, 5);
  Screen.MarkDirty();
  W.Present(Screen);
  Screen.ClearDirty();
  // A box of new pixels, said to be the only change.
  for (int Y = 200; Y < 240; ++Y)
    for (int X = 300; X < 333; ++X) Screen.Row(Y)[X * 3 + 1] ^= 0x5A;
  Screen.MarkDirty(300, 200, 33, 40);
  W.Present(Screen);
  Screen.ClearDirty();
  std::vector<std::uint32_t> Partial;
  for (int Y = 0; Y < 700; ++Y)
    for (int X = 0; X < 1000; ++X) Partial.push_back(Shown(W.Handle(), X, Y));
  // Drawn afresh in full, the picture is the same to the last pixel.
  PushWindowEvent(W, SDL_WINDOWEVENT_EXPOSED);
  Collect(W, 3);
  std::size_t Differ = 0;
  for (int Y = 0; Y < 700; ++Y)
    for (int X = 0; X < 1000; ++X) Differ += Shown(W.Handle(), X, Y) != Partial[static_cast<std::size_t>(Y * 1000 + X)];
  EXPECT_EQ(Differ, 0u);
}

TEST(SdlWindow, EveryWindowEventReachesTheFrameHookBeforeItsInput) {
  TSdlWindow W("Vyrn test");
  Collect(W);
  int Seen = 0;
  W.WindowEventSeen = [&] { ++Seen; };
  PushWindowEvent(W, SDL_WINDOWEVENT_MOVED);  // no input of its own
  PushWindowEvent(W, SDL_WINDOWEVENT_FOCUS_LOST);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE);  // no window event: no call
  const auto Got = Collect(W, 40);
  EXPECT_EQ(Seen, 2);
  ASSERT_EQ(Got.size(), 2u);
  EXPECT_EQ(Got[0], TInputEvent::FocusLost());
  W.WindowEventSeen = nullptr;
  PushWindowEvent(W, SDL_WINDOWEVENT_MOVED);
  Collect(W);
  EXPECT_EQ(Seen, 2);
}

namespace {
// SDL's video start as a script: each attempt starts the next driver named
// (empty: the start fails), and every call is written down.
struct TScriptedVideo {
  explicit TScriptedVideo(std::vector<std::string> Names) : Drivers(std::move(Names)) {}
  std::vector<std::string> Drivers;
  std::size_t Next = 0;
  bool Running = false;
  std::string Current;
  std::vector<std::string> Calls;

  TVideoStartSteps Steps() {
    return {[this] {
              Calls.push_back("start");
              Current = Next < Drivers.size() ? Drivers[Next] : Drivers.back();
              ++Next;
              Running = !Current.empty();
              return Running;
            },
            [this] { return Current; },
            [this] {
              Calls.push_back("stop");
              Running = false;
            },
            [this](std::uint32_t Ms) { Calls.push_back("pause " + std::to_string(Ms)); },
            [] { return std::string("no display at all"); }};
  }
};
}  // namespace

TEST(SdlWindow, AVideoThatShowsNothingIsUndoneAndStartedAgainUntilTheDisplayAnswers) {
  TScriptedVideo Video({"offscreen", "", "x11"});
  EXPECT_EQ(StartVideo(Video.Steps(), "", 5, 40), "x11");
  EXPECT_TRUE(Video.Running);
  // A failed start has nothing to undo; the unseen one is stopped.
  EXPECT_EQ(Video.Calls, (std::vector<std::string>{"start", "stop", "pause 40", "start", "pause 40", "start"}));

  TScriptedVideo Wayland({"wayland"});
  EXPECT_EQ(StartVideo(Wayland.Steps(), "", 5, 40), "wayland");
  EXPECT_EQ(Wayland.Calls, (std::vector<std::string>{"start"}));
}

TEST(SdlWindow, AVideoThatNeverShowsAWindowEndsInAnErrorWithNothingLeftRunning) {
  TScriptedVideo Video({"offscreen", "dummy", "offscreen"});
  try {
    StartVideo(Video.Steps(), "", 3, 10);
    FAIL() << "a game nobody can see was started";
  } catch (const std::runtime_error& E) {
    EXPECT_NE(std::string(E.what()).find("\"offscreen\""), std::string::npos) << E.what();
  }
  EXPECT_FALSE(Video.Running);
  EXPECT_EQ(std::count(Video.Calls.begin(), Video.Calls.end(), "start"), 3);
  EXPECT_EQ(std::count(Video.Calls.begin(), Video.Calls.end(), "stop"), 3);

  TScriptedVideo Broken({""});
  try {
    StartVideo(Broken.Steps(), "", 2, 10);
    FAIL() << "started without any video";
  } catch (const std::runtime_error& E) {
    EXPECT_NE(std::string(E.what()).find("no display at all"), std::string::npos) << E.what();
  }
}

TEST(SdlWindow, AVideoThatShowsNothingIsKeptWhenItWasAskedFor) {
  for (const char* Asked : {"dummy", "offscreen"}) {
    TScriptedVideo Video({Asked});
    EXPECT_EQ(StartVideo(Video.Steps(), Asked, 5, 40), Asked);
    EXPECT_EQ(Video.Calls, (std::vector<std::string>{"start"}));
  }
}

TEST(SdlWindow, WithoutAReachableDisplayTheWindowIsRefusedInsteadOfMadeUnseen) {
  // No driver asked for and an X display that does not exist: SDL itself
  // would go on with its offscreen driver.
  struct TEnv {
    const char* Name;
    std::string Saved;
    bool Had;
  } Env[] = {{"SDL_VIDEODRIVER", "", false}, {"DISPLAY", "", false}, {"WAYLAND_DISPLAY", "", false}};
  for (TEnv& E : Env) {
    const char* V = std::getenv(E.Name);
    E.Had = V != nullptr;
    if (V) E.Saved = V;
    unsetenv(E.Name);
  }
  setenv("DISPLAY", ":65000", 1);
  std::string Driver;
  bool Refused = false;
  try {
    TSdlWindow W("Vyrn test");
    Driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  } catch (const std::runtime_error&) {
    Refused = true;
  }
  for (TEnv& E : Env) {
    if (E.Had) setenv(E.Name, E.Saved.c_str(), 1);
    else unsetenv(E.Name);
  }
  // A machine with a console display may really show it there.
  EXPECT_TRUE(Refused || !ShowsNoWindow(Driver)) << Driver;
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

// A real video start (the test above) also tries the session message bus,
// whose library keeps a buffer of the failed attempt for good: not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
