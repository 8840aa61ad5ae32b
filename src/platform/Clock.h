// Monotonic milliseconds for the event loop's timers. The game itself never
// reads a clock: it counts ticks.
#pragma once

#include <cstdint>

class IClock {
public:
  virtual ~IClock() = default;
  virtual std::uint64_t NowMs() = 0;
};

// Time that only moves when told to: tests and headless runs.
class TManualClock : public IClock {
public:
  explicit TManualClock(std::uint64_t Start = 0) : FNow(Start) {}
  std::uint64_t NowMs() override { return FNow; }
  void Advance(std::uint64_t Ms) { FNow += Ms; }
  void Set(std::uint64_t Ms) { FNow = Ms; }

private:
  std::uint64_t FNow;
};

// The machine's steady clock, counted from construction.
class TSteadyClock : public IClock {
public:
  TSteadyClock();
  std::uint64_t NowMs() override;

private:
  std::int64_t FStartNs;
};
