#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "platform/EventLoop.h"

#include "platform/TimerScheduler.h"

TEST(TimerScheduler, NewTimersAreStoppedAndStartOneIntervalFromNow) {
  TManualClock Clock(1000);
  TTimerScheduler T(Clock);
  const TTimerId A = T.Add(30);
  const TTimerId B = T.Add(50);
  EXPECT_EQ(A, 0);
  EXPECT_EQ(B, 1);
  EXPECT_FALSE(T.Enabled(A));
  EXPECT_FALSE(T.NextDeadline().has_value());
  EXPECT_FALSE(T.PopDue(5000).has_value());

  T.SetEnabled(B, true);
  Clock.Advance(10);
  T.SetEnabled(A, true);
  EXPECT_EQ(T.NextDeadline(), 1040u);  // A at 1010 + 30, B at 1050
  EXPECT_FALSE(T.PopDue(1039).has_value());
  EXPECT_EQ(T.PopDue(1040), A);
  EXPECT_EQ(T.NextDeadline(), 1050u);
}

TEST(TimerScheduler, OnTimeTicksKeepTheirCadenceWithoutDrift) {
  TManualClock Clock;
  TTimerScheduler T(Clock);
  const TTimerId A = T.Add(30);
  T.SetEnabled(A, true);
  // The loop wakes a little late every time; the deadlines stay on the grid.
  for (int I = 1; I <= 5; ++I) {
    ASSERT_EQ(T.PopDue(30u * I + 2), A);
    EXPECT_EQ(T.NextDeadline(), 30u * (I + 1));
  }
}

TEST(TimerScheduler, AStalledTimerFiresOnceAndIsRescheduledFromNow) {
  TManualClock Clock;
  TTimerScheduler T(Clock);
  const TTimerId A = T.Add(30);
  T.SetEnabled(A, true);
  // Ten intervals pass without the loop looking: one tick, not ten.
  EXPECT_EQ(T.PopDue(330), A);
  EXPECT_FALSE(T.PopDue(330).has_value());
  EXPECT_EQ(T.NextDeadline(), 360u);
  // Exactly one interval late also counts as behind: next one from now.
  EXPECT_EQ(T.PopDue(390), A);
  EXPECT_EQ(T.NextDeadline(), 420u);
}

TEST(TimerScheduler, EarliestDeadlineFirstAndTiesToTheLowerId) {
  TManualClock Clock;
  TTimerScheduler T(Clock);
  const TTimerId A = T.Add(50);
  const TTimerId B = T.Add(40);
  const TTimerId C = T.Add(50);
  T.SetEnabled(C, true);
  T.SetEnabled(B, true);
  T.SetEnabled(A, true);
  EXPECT_EQ(T.PopDue(100), B);  // deadline 40
  EXPECT_EQ(T.PopDue(100), A);  // 50, tie with C, lower id
  EXPECT_EQ(T.PopDue(100), C);
  // All three were behind, so each now waits a full interval from 100.
  EXPECT_FALSE(T.PopDue(100).has_value());
  EXPECT_EQ(T.NextDeadline(), 140u);
}

TEST(TimerScheduler, StoppingAndRestartingAndReEnablingARunningTimer) {
  TManualClock Clock;
  TTimerScheduler T(Clock);
  const TTimerId A = T.Add(30);
  T.SetEnabled(A, true);
  Clock.Set(20);
  T.SetEnabled(A, true);  // already running: keeps its deadline at 30
  EXPECT_EQ(T.NextDeadline(), 30u);
  T.SetEnabled(A, false);
  EXPECT_FALSE(T.PopDue(1000).has_value());
  Clock.Set(1000);
  T.SetEnabled(A, true);
  EXPECT_EQ(T.NextDeadline(), 1030u);
}

TEST(TimerScheduler, RejectsUnknownTimersAndZeroIntervals) {
  TManualClock Clock;
  TTimerScheduler T(Clock);
  EXPECT_THROW(T.Add(0), std::invalid_argument);
  EXPECT_THROW(T.SetEnabled(0, true), std::out_of_range);
  EXPECT_THROW((void)T.Enabled(-1), std::out_of_range);
}

// A timer with slack fires at the wake-ups of another instead of its own,
// never later than its slack, and keeps its rate; without slack nothing
// changes.
TEST(TimerScheduler, SlackRidesAlongWithAnotherTimersWakeUps) {
  struct TRecord : IInputSink {
    TManualClock* Clock = nullptr;
    std::vector<std::pair<std::uint64_t, int>> Ticks;
    void Dispatch(const TInputEvent& E) override {
      if (E.Kind == TInputKind::Timer) Ticks.emplace_back(Clock->NowMs(), E.Code);
    }
  };
  for (const std::uint32_t Slack : {0u, 30u}) {
    SCOPED_TRACE(Slack);
    TManualClock Clock(0);
    TTimerScheduler T(Clock);
    const TTimerId Fast = T.Add(30), Slow = T.Add(50);
    T.SetSlack(Slow, Slack);
    T.SetEnabled(Fast, true);
    T.SetEnabled(Slow, true);
    EXPECT_EQ(T.NextDeadline(), 30u);
    EXPECT_EQ(T.WakeDeadline(), 30u);  // the fast timer's, either way
    TRecord Sink;
    Sink.Clock = &Clock;
    THeadlessEventSource Source(Clock);
    THeadlessPresenter Presenter;
    TScreen Screen(8, 8);
    TEventLoop Loop(T, Source, Sink, Presenter, Screen);
    while (Clock.NowMs() < 3000) Loop.Step();
    std::set<std::uint64_t> FastTimes, SlowTimes;
    std::uint64_t Due = 50;
    for (const auto& [At, Id] : Sink.Ticks) {
      if (Id == Fast) {
        FastTimes.insert(At);
        continue;
      }
      SlowTimes.insert(At);
      EXPECT_GE(At, Due);
      EXPECT_LE(At, Due + Slack);
      Due += 50;
    }
    EXPECT_GE(FastTimes.size(), 99u);  // every 30 ms, on time
    EXPECT_GE(SlowTimes.size(), 59u);
    std::size_t Alone = 0;
    for (std::uint64_t At : SlowTimes) Alone += !FastTimes.count(At);
    if (Slack) EXPECT_EQ(Alone, 0u);
    else EXPECT_GT(Alone, 30u);
  }
}
