#include <gtest/gtest.h>

#include <vector>

#include "platform/EventLoop.h"
#include "platform/HeadlessWindow.h"

namespace {
// Records what arrives and when; paints on chosen events.
class TRecordingSink : public IInputSink {
public:
  TRecordingSink(TManualClock& Clock, TScreen& Screen) : FClock(Clock), FScreen(Screen) {}
  void Dispatch(const TInputEvent& Event) override {
    Events.push_back(Event);
    Times.push_back(FClock.NowMs());
    if (PaintOnTimer && Event.Kind == TInputKind::Timer) FScreen.MarkDirty();
    if (OnEvent) OnEvent(Event);
  }
  std::vector<TInputEvent> Events;
  std::vector<std::uint64_t> Times;
  bool PaintOnTimer = false;
  std::function<void(const TInputEvent&)> OnEvent;

private:
  TManualClock& FClock;
  TScreen& FScreen;
};

struct LoopFixture : ::testing::Test, THeadlessWindow {
  TRecordingSink Sink{Clock, Screen};
  TEventLoop Loop{Timers, Source, Sink, Presenter, Screen};

  void RunUntil(std::uint64_t Ms) {
    while (Clock.NowMs() < Ms && Loop.Step()) {
    }
  }
};
}  // namespace

TEST_F(LoopFixture, TimersTickAtTheirIntervalsAndSleepInBetween) {
  const TTimerId Fast = Timers.Add(30);
  const TTimerId Slow = Timers.Add(50);
  Timers.SetEnabled(Fast, true);
  Timers.SetEnabled(Slow, true);
  RunUntil(301);
  int FastTicks = 0, SlowTicks = 0;
  for (std::size_t I = 0; I < Sink.Events.size(); ++I) {
    ASSERT_EQ(Sink.Events[I].Kind, TInputKind::Timer);
    const int Id = Sink.Events[I].Code;
    const std::uint64_t Interval = Id == Fast ? 30 : 50;
    EXPECT_EQ(Sink.Times[I] % Interval, 0u) << "tick off its deadline at " << Sink.Times[I];
    (Id == Fast ? FastTicks : SlowTicks)++;
  }
  EXPECT_EQ(FastTicks, 10);
  EXPECT_EQ(SlowTicks, 6);
}

TEST_F(LoopFixture, InputGoesBeforeDueTimersAndCloseEndsTheLoop) {
  const TTimerId A = Timers.Add(30);
  Timers.SetEnabled(A, true);
  Clock.Set(100);  // the timer is overdue
  Source.Push(TInputEvent::KeyDown(65));
  Source.Push(TInputEvent::KeyUp(65));
  EXPECT_TRUE(Loop.Step());
  EXPECT_TRUE(Loop.Step());
  EXPECT_TRUE(Loop.Step());
  ASSERT_EQ(Sink.Events.size(), 3u);
  EXPECT_EQ(Sink.Events[0], TInputEvent::KeyDown(65));
  EXPECT_EQ(Sink.Events[1], TInputEvent::KeyUp(65));
  EXPECT_EQ(Sink.Events[2], TInputEvent::TimerTick(A));  // once, though three intervals behind
  EXPECT_EQ(Timers.NextDeadline(), 130u);

  Source.Push(TInputEvent::CloseRequest());
  Source.Push(TInputEvent::KeyDown(66));
  EXPECT_FALSE(Loop.Step());
  EXPECT_TRUE(Loop.Finished());
  EXPECT_FALSE(Loop.Step());
  EXPECT_EQ(Sink.Events.back(), TInputEvent::CloseRequest());
  EXPECT_EQ(Source.Pending(), 1u);
}

TEST_F(LoopFixture, PresentsOnlyAfterCallbacksThatPainted) {
  const TTimerId A = Timers.Add(30);
  Timers.SetEnabled(A, true);
  Sink.PaintOnTimer = true;
  Source.Push(TInputEvent::KeyDown(65));
  RunUntil(95);  // the key, then ticks at 30, 60, 90
  EXPECT_EQ(Presenter.Presented, 3);
  EXPECT_FALSE(Screen.TakeDirty());
}

TEST_F(LoopFixture, TheWindowsCloseAndTerminateComeBackAsCloseEvents) {
  const TTimerId A = Timers.Add(30);
  Timers.SetEnabled(A, true);
  Sink.OnEvent = [&](const TInputEvent& E) {
    if (E.Kind == TInputKind::Timer) Window.Close();
  };
  Loop.Run();
  ASSERT_EQ(Sink.Events.size(), 2u);
  EXPECT_EQ(Sink.Events[1], TInputEvent::CloseRequest(CloseWindow));

  TEventLoop Second{Timers, Source, Sink, Presenter, Screen};
  Window.Terminate();
  Second.Run();
  EXPECT_EQ(Sink.Events.back(), TInputEvent::CloseRequest(CloseTerminate));
}

TEST_F(LoopFixture, WithoutTimersTheLoopStillWakesNowAndThen) {
  EXPECT_TRUE(Loop.Step());
  EXPECT_EQ(Clock.NowMs(), TEventLoop::MaxWaitMs);
  EXPECT_TRUE(Sink.Events.empty());
}

TEST_F(LoopFixture, TheTurnHookRunsOnceBeforeEveryStep) {
  const TTimerId A = Timers.Add(30);
  Timers.SetEnabled(A, true);
  int Turns = 0;
  std::size_t EventsSeenAtTurn = 0;
  Loop.SetTurnHook([&] {
    ++Turns;
    EventsSeenAtTurn = Sink.Events.size();
  });
  Source.Push(TInputEvent::KeyDown(65));
  EXPECT_TRUE(Loop.Step());  // the key
  EXPECT_EQ(Turns, 1);
  EXPECT_EQ(EventsSeenAtTurn, 0u);
  EXPECT_TRUE(Loop.Step());  // sleeps until 30
  EXPECT_TRUE(Loop.Step());  // the tick
  EXPECT_EQ(Turns, 3);
  EXPECT_EQ(EventsSeenAtTurn, 1u);
  EXPECT_EQ(Sink.Events.size(), 2u);
}
