#include "common/CommonTypes.h"

#include <cmath>

#include "common/TimeOfDay.h"

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

void Randomize() { RandSeed = UtcMillisecondsOfDay(); }
