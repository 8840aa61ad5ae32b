#include "platform/TimerScheduler.h"

#include <stdexcept>

TTimerId TTimerScheduler::Add(std::uint32_t IntervalMs) {
  if (IntervalMs == 0) throw std::invalid_argument("timer interval must be positive");
  FTimers.push_back({IntervalMs, false, 0});
  return static_cast<TTimerId>(FTimers.size() - 1);
}

std::size_t TTimerScheduler::IndexOf(TTimerId Id) const {
  if (Id < 0 || static_cast<std::size_t>(Id) >= FTimers.size()) throw std::out_of_range("no such timer");
  return static_cast<std::size_t>(Id);
}

void TTimerScheduler::SetEnabled(TTimerId Id, bool Enabled) {
  TTimer& T = At(Id);
  if (Enabled && !T.Enabled) T.Deadline = FClock.NowMs() + T.Interval;
  T.Enabled = Enabled;
}

bool TTimerScheduler::Enabled(TTimerId Id) const { return At(Id).Enabled; }

std::uint32_t TTimerScheduler::Interval(TTimerId Id) const { return At(Id).Interval; }

std::optional<std::uint64_t> TTimerScheduler::NextDeadline() const {
  std::optional<std::uint64_t> Best;
  for (const TTimer& T : FTimers)
    if (T.Enabled && (!Best || T.Deadline < *Best)) Best = T.Deadline;
  return Best;
}

void TTimerScheduler::SetSlack(TTimerId Id, std::uint32_t SlackMs) { At(Id).Slack = SlackMs; }

std::optional<std::uint64_t> TTimerScheduler::WakeDeadline() const {
  std::optional<std::uint64_t> Best;
  for (const TTimer& T : FTimers)
    if (T.Enabled && (!Best || T.Deadline + T.Slack < *Best)) Best = T.Deadline + T.Slack;
  return Best;
}

std::optional<TTimerId> TTimerScheduler::PopDue(std::uint64_t Now) {
  std::optional<TTimerId> Best;
  for (std::size_t I = 0; I < FTimers.size(); ++I) {
    const TTimer& T = FTimers[I];
    if (!T.Enabled || T.Deadline > Now) continue;
    if (!Best || T.Deadline < FTimers[static_cast<std::size_t>(*Best)].Deadline) Best = static_cast<TTimerId>(I);
  }
  if (Best) {
    TTimer& T = FTimers[static_cast<std::size_t>(*Best)];
    T.Deadline += T.Interval;
    if (T.Deadline <= Now) T.Deadline = Now + T.Interval;
  }
  return Best;
}
