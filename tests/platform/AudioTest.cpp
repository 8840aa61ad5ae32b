#include "platform/Audio.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace {

constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();

// Count * N / D by parts, as in long division: Count = Whole * D + Rest, so
// Count * N / D = Whole * N + Rest * N / D, where Rest * N stays small for
// N and D below 2^31.
std::int64_t ByParts(std::int64_t Count, std::int64_t N, std::int64_t D, bool Up) {
  const std::int64_t Whole = Count / D, Rest = Count % D;
  std::int64_t Part = Rest * N / D;
  if (Up && Rest * N % D != 0) ++Part;
  if (Whole > (Max - Part) / N) return Max;
  return Whole * N + Part;
}

TEST(ScaleCountTest, AgreesWithLongDivisionAndSaturates) {
  std::mt19937_64 Rng(99);
  for (int I = 0; I < 20000; ++I) {
    // Counts of every magnitude, rates and factors as the audio code uses.
    const std::int64_t Count = static_cast<std::int64_t>(Rng() >> (1 + Rng() % 63));
    const std::int64_t N = 1 + static_cast<std::int64_t>(Rng() % (I % 2 ? 100000 : 0x7FFFFFFF));
    const std::int64_t D = 1 + static_cast<std::int64_t>(Rng() % (I % 3 ? 200000 : 0x7FFFFFFF));
    const bool Up = Rng() & 1;
    ASSERT_EQ(ScaleCount(Count, N, D, Up), Count == 0 ? 0 : ByParts(Count, N, D, Up))
        << Count << " * " << N << " / " << D << (Up ? " up" : "");
  }
}

TEST(ScaleCountTest, EdgesOfTheRange) {
  EXPECT_EQ(ScaleCount(Max, 1000, 44100), Max / 44100 * 1000 + Max % 44100 * 1000 / 44100);
  EXPECT_EQ(ScaleCount(Max, 4, 1), Max);
  EXPECT_EQ(ScaleCount(Max / 4, 4, 1), Max / 4 * 4);
  EXPECT_EQ(ScaleCount(Max / 4 + 1, 4, 1), Max);
  EXPECT_EQ(ScaleCount(Max, Max, Max), Max);
  EXPECT_EQ(ScaleCount(Max, 1, Max), 1);
  // Rounding up: 1 byte at 44,100 bytes a second lasts 1 ms, 0 bytes none.
  EXPECT_EQ(ScaleCount(1, 1000, 44100, true), 1);
  EXPECT_EQ(ScaleCount(44100, 1000, 44100, true), 1000);
  EXPECT_EQ(ScaleCount(44101, 1000, 44100, true), 1001);
  EXPECT_EQ(ScaleCount(0, 1000, 44100, true), 0);
  // Nothing to scale or nothing to scale by.
  EXPECT_EQ(ScaleCount(-5, 1000, 44100), 0);
  EXPECT_EQ(ScaleCount(5, 0, 44100), 0);
  EXPECT_EQ(ScaleCount(5, 1000, 0), 0);
  EXPECT_EQ(ScaleCount(5, 1000, -1), 0);
}

}  // namespace
