#include "platform/Clock.h"

#include <chrono>

static std::int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TSteadyClock::TSteadyClock() : FStartNs(SteadyNanoseconds()) {}

std::uint64_t TSteadyClock::NowMs() { return static_cast<std::uint64_t>((SteadyNanoseconds() - FStartNs) / 1000000); }
