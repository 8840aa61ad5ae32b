// The cloud field: worked small grids, the wrap-around, the number of
// random draws and reproducibility.
#include "gfx/CloudGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "common/CommonTypes.h"

namespace {

// The generator's random source written out: seed' = seed * 134775813 + 1,
// value seed' / 2^32, noise = Round(r * amp * 2 - amp) in extended precision.
struct TRefRandom {
  std::uint32_t Seed;
  long double Real() {
    Seed = Seed * 134775813u + 1u;
    return Seed / 4294967296.0L;
  }
  std::int32_t Noise(float Amp) {
    const long double R = Real();
    return static_cast<std::int32_t>(std::llrint(R * Amp * 2 - static_cast<long double>(Amp)));
  }
};

TEST(CloudGenerator, AverageTruncatesTowardZero) {
  EXPECT_EQ(TCloudGenerator::Average(-1, -1, -1, -2), -1);
  EXPECT_EQ(TCloudGenerator::Average(1, 1, 1, 2), 1);
  EXPECT_EQ(TCloudGenerator::Average(-2, -1, -1, -1), -1);  // -5 div 4
  EXPECT_EQ(TCloudGenerator::Average(-2, -2, -2, -1), -1);  // -7 div 4
  EXPECT_EQ(TCloudGenerator::Average(2, 2, 2, 2), 2);
  EXPECT_EQ(TCloudGenerator::Average(2147483647, 2147483647, 2147483647, 2147483647), 2147483647);
}

TEST(CloudGenerator, SizesFollowTheDetail) {
  EXPECT_EQ(TCloudGenerator(1).GetWidth(), 3);
  EXPECT_EQ(TCloudGenerator(1).GetHeight(), 3);
  EXPECT_EQ(TCloudGenerator(10).GetWidth(), 1025);
  EXPECT_EQ(TCloudGenerator(0).GetWidth(), 2);
  EXPECT_THROW(TCloudGenerator(-1), std::invalid_argument);
  EXPECT_THROW(TCloudGenerator(15), std::invalid_argument);
  const TCloudGenerator Fresh(3);
  for (std::int32_t X = 0; X < 9; ++X)
    for (std::int32_t Y = 0; Y < 9; ++Y) ASSERT_EQ(Fresh.GetValue(X, Y), 0);
}

TEST(CloudGenerator, ThreeByThreeByHand) {
  const std::uint32_t Start = 987654321u;
  RandSeed = Start;
  TCloudGenerator Cloud(1);
  Cloud.Generate(7, 100, 0.5f, 2);

  TRefRandom R{Start};
  const std::int32_t C = -7 + R.Noise(100);                         // centre: average of four corners
  const std::int32_t L = (-7 + C + -7 + C) / 4 + R.Noise(100);      // outer neighbour wraps onto the centre
  const std::int32_t T = (-7 + C + -7 + C) / 4 + R.Noise(100);
  R.Noise(100);                                                      // right: computed, not stored
  R.Noise(100);                                                      // bottom: computed, not stored
  // The corners and the centre were all set to -Base; the centre was then
  // overwritten.
  EXPECT_EQ(Cloud.GetValue(1, 1), C);
  EXPECT_EQ(Cloud.GetValue(0, 1), L);
  EXPECT_EQ(Cloud.GetValue(2, 1), L);
  EXPECT_EQ(Cloud.GetValue(1, 0), T);
  EXPECT_EQ(Cloud.GetValue(1, 2), T);
  for (auto [X, Y] : {std::pair{0, 0}, std::pair{2, 0}, std::pair{0, 2}, std::pair{2, 2}}) EXPECT_EQ(Cloud.GetValue(X, Y), -7);
  EXPECT_EQ(RandSeed, R.Seed) << "five draws for the one square";
}

TEST(CloudGenerator, UnvisitedNeighbourCentresStillHoldZero) {
  // 5 x 5 with noise only at the first level (step 4): the second level
  // only averages, and square (0, 0) reads the centre (3, 1) of square
  // (1, 0), which is not computed yet.
  const std::uint32_t Start = 42u;
  RandSeed = Start;
  TCloudGenerator Cloud(2);
  Cloud.Generate(0, 60, 0.0f, 4);

  TRefRandom R{Start};
  const std::int32_t C = R.Noise(60);
  const std::int32_t L = (2 * C) / 4 + R.Noise(60);  // (0, 2) and (4, 2)
  const std::int32_t T = (2 * C) / 4 + R.Noise(60);  // (2, 0) and (2, 4)
  EXPECT_EQ(Cloud.GetValue(2, 2), C);
  EXPECT_EQ(Cloud.GetValue(0, 2), L);
  EXPECT_EQ(Cloud.GetValue(2, 4), T);
  const std::int32_t C11 = (0 + T + L + C) / 4;     // corners (0,0) (2,0) (0,2) (2,2)
  EXPECT_EQ(Cloud.GetValue(1, 1), C11);
  const std::int32_t L01 = (0 + C11 + L + 0) / 4;   // outer neighbour (3, 1) still 0
  EXPECT_EQ(Cloud.GetValue(0, 1), L01);
  EXPECT_EQ(Cloud.GetValue(4, 1), L01);
  const std::int32_t T10 = (0 + C11 + T + 0) / 4;   // outer neighbour (1, 3) still 0
  EXPECT_EQ(Cloud.GetValue(1, 0), T10);
  EXPECT_EQ(Cloud.GetValue(1, 4), T10);
  // 5 draws for the first level, 4 x 5 for the second, none added.
  for (int I = 0; I < 5 * 4 + 2; ++I) R.Real();
  EXPECT_EQ(RandSeed, R.Seed);
}

TEST(CloudGenerator, HighThresholdLeavesEveryCellAtBaseZeroButTakesEveryDraw) {
  RandSeed = 5;
  TCloudGenerator Cloud(6);
  Cloud.Generate(0, 200, 0.4f, 65);
  for (std::int32_t X = 0; X < 65; ++X)
    for (std::int32_t Y = 0; Y < 65; ++Y) ASSERT_EQ(Cloud.GetValue(X, Y), 0);
  // 5 draws per square: 5 * (1 + 4 + ... + 4^5) = 5 * (4^6 - 1) / 3.
  TRefRandom R{5};
  for (int I = 0; I < 5 * (4096 - 1) / 3; ++I) R.Real();
  EXPECT_EQ(RandSeed, R.Seed);
}

TEST(CloudGenerator, TheShadowMaskFieldWrapsRepeatsAndHasTheExpectedRange) {
  RandSeed = 2;
  TCloudGenerator A(10);
  A.Generate(0, 200, 0.4f, 100);
  const std::uint32_t After = RandSeed;
  RandSeed = 2;
  TCloudGenerator B(10);
  B.Generate(0, 200, 0.4f, 100);
  EXPECT_EQ(RandSeed, After);
  std::int32_t Min = 0, Max = 0;
  for (std::int32_t X = 0; X < 1025; ++X) {
    // The last row and column repeat the first.
    ASSERT_EQ(A.GetValue(X, 0), A.GetValue(X, 1024)) << X;
    ASSERT_EQ(A.GetValue(0, X), A.GetValue(1024, X)) << X;
    for (std::int32_t Y = 0; Y < 1025; ++Y) {
      ASSERT_EQ(A.GetValue(X, Y), B.GetValue(X, Y));
      Min = std::min(Min, A.GetValue(X, Y));
      Max = std::max(Max, A.GetValue(X, Y));
    }
  }
  // Noise of at most 200 + 152 + 115 + 88 around 0.
  EXPECT_GE(Min, -555);
  EXPECT_LE(Max, 555);
  EXPECT_LT(Min, -20);
  EXPECT_GT(Max, 120);
  TRefRandom R{2};
  for (int I = 0; I < 5 * (1048576 - 1) / 3; ++I) R.Real();
  EXPECT_EQ(After, R.Seed);

  // Regenerating starts from a cleared grid: another seed, another field,
  // and the first seed again gives the first field.
  RandSeed = 3;
  B.Generate(0, 200, 0.4f, 100);
  int Differ = 0;
  for (std::int32_t X = 0; X < 1025; X += 7)
    for (std::int32_t Y = 0; Y < 1025; Y += 7) Differ += A.GetValue(X, Y) != B.GetValue(X, Y);
  EXPECT_GT(Differ, 1000);
  RandSeed = 2;
  B.Generate(0, 200, 0.4f, 100);
  for (std::int32_t X = 0; X < 1025; X += 3) ASSERT_EQ(A.GetValue(X, 517), B.GetValue(X, 517));
}

TEST(CloudGenerator, AmplitudeShrinksInSinglePrecision) {
  // With Roughness 1 the amplitude halves exactly: 64, 32, 16. A 5 x 5 grid
  // with threshold 2 adds noise at steps 4 and 2; the draws of the second
  // level use amplitude 32.
  const std::uint32_t Start = 777u;
  RandSeed = Start;
  TCloudGenerator Cloud(2);
  Cloud.Generate(0, 64, 1.0f, 2);
  TRefRandom R{Start};
  const std::int32_t C = R.Noise(64);
  const std::int32_t L = (2 * C) / 4 + R.Noise(64);
  const std::int32_t T = (2 * C) / 4 + R.Noise(64);
  R.Noise(64);
  R.Noise(64);
  const std::int32_t C11 = (0 + T + L + C) / 4 + R.Noise(32);
  EXPECT_EQ(Cloud.GetValue(1, 1), C11);
  const std::int32_t L01 = (0 + C11 + L + 0) / 4 + R.Noise(32);
  EXPECT_EQ(Cloud.GetValue(0, 1), L01);
}

}  // namespace
