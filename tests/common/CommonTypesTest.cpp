#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"

#include <gtest/gtest.h>

// Expected values are worked out from Seed := Seed * 134775813 + 1 by hand:
// from 0 the seeds are 1, 134775814, ...; Random(100) is (Seed * 100) >> 32.
TEST(RandomTest, FirstValuesFromSeedZero) {
  RandSeed = 0;
  EXPECT_EQ(Random(100), 0);           // seed 1
  EXPECT_EQ(RandSeed, 1u);
  EXPECT_EQ(Random(100), 3);           // seed 134775814: 13477581400 / 2^32 = 3.13
  EXPECT_EQ(RandSeed, 134775814u);
  EXPECT_EQ(Random(100), 86);
  EXPECT_EQ(Random(100), 20);
  EXPECT_EQ(Random(100), 27);
}

TEST(RandomTest, KnownSeedAndWrapAround) {
  RandSeed = 12345;
  EXPECT_EQ(Random(1000), 385);
  EXPECT_EQ(RandSeed, 1655067934u);
  EXPECT_EQ(Random(1000), 289);
  EXPECT_EQ(Random(1000), 79);
  EXPECT_EQ(RandSeed, 342459380u);

  // (2^32 - 1) * 134775813 + 1 = -134775812 (mod 2^32)
  RandSeed = 0xFFFFFFFFu;
  const long double R = RandomReal();
  EXPECT_EQ(RandSeed, 4160191484u);
  EXPECT_EQ(R, 4160191484.0L / 4294967296.0L);
  EXPECT_LT(R, 1.0L);
}

TEST(RandomTest, RangeOneAndNonPositiveAdvanceButGiveZero) {
  RandSeed = 7;
  EXPECT_EQ(Random(1), 0);
  EXPECT_EQ(RandSeed, 7u * 134775813u + 1u);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
}

TEST(RandomTest, SeedFromTimeOfDay) {
  // 13:45:10.250 UTC
  SetTimeOfDaySource([] { return ((13u * 60u + 45u) * 60u + 10u) * 1000u + 250u; });
  Randomize();
  EXPECT_EQ(RandSeed, 49510250u);
  SetTimeOfDaySource(nullptr);
  Randomize();
  EXPECT_LT(RandSeed, 86400000u);
}

TEST(RoundingTest, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(-0.5L), 0);
  EXPECT_EQ(RoundHalfEven(-1.5L), -2);
  EXPECT_EQ(RoundHalfEven(2.4999999L), 2);
  EXPECT_EQ(RoundHalfEven(127.5L), 128);
  // 255 * 128 / 255 computed in extended stays exactly 128.
  EXPECT_EQ(RoundHalfEven(255.0L * 128.0L / 255.0L), 128);
}

TEST(ColourTest, LayoutsMatchTheClassicReferences) {
  const TColorValue C = RGB(0x12, 0x34, 0x56);
  EXPECT_EQ(C, 0x00563412u);
  EXPECT_EQ(GetRValue(C), 0x12);
  EXPECT_EQ(GetGValue(C), 0x34);
  EXPECT_EQ(GetBValue(C), 0x56);
  const TRGBAPixel P = MakeRGBA(1, 2, 3, 255);
  EXPECT_EQ(P, 0xFF030201u);
  EXPECT_EQ(PixelA(P), 255);
  EXPECT_EQ(PixelB(P), 3);
  EXPECT_EQ(RGB(0x1FF, 0, 0), 0xFFu);  // only the low byte counts
}
