// Periodic timers as deadlines of one event loop. A timer fires at most once
// per due check: one that fell behind (a slow frame, a stalled machine) fires
// once and is rescheduled from the moment it fired, never with a burst of
// catch-up ticks, the way the classic window timers behaved.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Clock.h"

using TTimerId = int;

class TTimerScheduler {
public:
  explicit TTimerScheduler(IClock& Clock) : FClock(Clock) {}

  // New timers are disabled; ids count from 0 in the order of adding.
  TTimerId Add(std::uint32_t IntervalMs);

  // Enabling a stopped timer schedules its first tick one interval from now;
  // enabling a running one changes nothing (it keeps its cadence).
  void SetEnabled(TTimerId Id, bool Enabled);
  bool Enabled(TTimerId Id) const;
  std::uint32_t Interval(TTimerId Id) const;
  std::size_t Count() const { return FTimers.size(); }

  // Earliest deadline of an enabled timer.
  std::optional<std::uint64_t> NextDeadline() const;

  // The timer may fire up to SlackMs after its deadline, so that it shares
  // a wake-up with another rather than wake the program on its own; 0, the
  // default, fires on time. Its cadence stays that of its interval.
  void SetSlack(TTimerId Id, std::uint32_t SlackMs);
  // When a loop must wake at the latest: the earliest deadline plus its
  // timer's slack, over the enabled timers. NextDeadline without slack.
  std::optional<std::uint64_t> WakeDeadline() const;

  // The enabled timer with the earliest deadline that is due at Now (ties go
  // to the lower id), already rescheduled: one interval after its deadline,
  // or one interval after Now when that is already past.
  std::optional<TTimerId> PopDue(std::uint64_t Now);

  IClock& Clock() { return FClock; }

private:
  struct TTimer {
    std::uint32_t Interval;
    bool Enabled;
    std::uint64_t Deadline;
    std::uint32_t Slack = 0;
  };
  // Throws std::out_of_range for an id that was never added.
  std::size_t IndexOf(TTimerId Id) const;
  TTimer& At(TTimerId Id) { return FTimers[IndexOf(Id)]; }
  const TTimer& At(TTimerId Id) const { return FTimers[IndexOf(Id)]; }

  IClock& FClock;
  std::vector<TTimer> FTimers;
};
