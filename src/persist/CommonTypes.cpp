#include "persist/CommonTypes.h"

#include <chrono>
#include <cmath>
#include <utility>

std::uint32_t RandSeed = 0;

std::int64_t RoundHalfEven(long double Value) {
  // The default floating-point environment rounds to nearest, ties to even;
  // nothing in the program changes it.
  return std::llrint(Value);
}

static inline void AdvanceSeed() { RandSeed = RandSeed * 134775813u + 1u; }

std::int32_t Random(std::int32_t N) {
  AdvanceSeed();
  if (N <= 0) return 0;
  return static_cast<std::int32_t>((static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(N)) >> 32);
}

long double RandomReal() {
  AdvanceSeed();
  return static_cast<long double>(RandSeed) / 4294967296.0L;
}

namespace {
std::uint32_t SystemMillisecondsOfDay() {
  using namespace std::chrono;
  const auto Now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<std::uint32_t>(Now % 86400000LL);
}

TTimeOfDaySource& TimeSource() {
  static TTimeOfDaySource Source = SystemMillisecondsOfDay;
  return Source;
}
}  // namespace

void SetTimeOfDaySource(TTimeOfDaySource Source) {
  TimeSource() = Source ? std::move(Source) : TTimeOfDaySource(SystemMillisecondsOfDay);
}

std::uint32_t UtcMillisecondsOfDay() { return TimeSource()(); }

void Randomize() { RandSeed = UtcMillisecondsOfDay(); }
