// The real SDL window, started under SDL's dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
#include <cstring>
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
  const std::uint64_t Start = Clock.NowMs();
  Loop.Run();
  EXPECT_EQ(Sink.Ticks, 5);
  EXPECT_EQ(W.PresentCount(), 5);
  EXPECT_GE(Clock.NowMs() - Start, 100u);  // five intervals of 20 ms were slept through
  // Sleeping, not polling: a handful of looks per tick at most.
  EXPECT_LT(Source.Calls, 100);
}
