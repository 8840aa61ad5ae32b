#include "game/Level.h"

#include <gtest/gtest.h>

namespace {

// A bookkeeping-only level (no board, no enemies).
struct MakeLevel : TLevel {
  MakeLevel(std::int32_t LevelNumber, std::int32_t Cells) {
    Number = LevelNumber;
    ClaimedCells = Cells;
  }
};

}  // namespace

// Targets worked out by hand: (n / 250 + 0.73) * 330000 cells, that is
// 242,220 on level 1, 243,540 on level 2 and 267,300 from level 20 on.
TEST(LevelClaimedPercentTest, LevelOneTarget) {
  MakeLevel AtTarget(1, 242220);
  EXPECT_EQ(AtTarget.ClaimedPercent(), 100.0f);
  EXPECT_TRUE(AtTarget.Completed);

  MakeLevel JustBelow(1, 242219);
  const float Below = JustBelow.ClaimedPercent();
  EXPECT_LT(Below, 100.0f);
  EXPECT_NEAR(Below, 99.999587, 1e-4);  // 24221900 / 242220
  EXPECT_FALSE(JustBelow.Completed);

  MakeLevel Half(1, 121110);
  EXPECT_EQ(Half.ClaimedPercent(), 50.0f);
  EXPECT_FALSE(Half.Completed);

  MakeLevel None(1, 0);
  EXPECT_EQ(None.ClaimedPercent(), 0.0f);
  EXPECT_FALSE(None.Completed);
}

TEST(LevelClaimedPercentTest, TargetRisesPerLevelUpToLevelTwenty) {
  MakeLevel Two(2, 243540);
  EXPECT_EQ(Two.ClaimedPercent(), 100.0f);
  MakeLevel TwoBelow(2, 242220);  // level 1's target is not enough
  EXPECT_LT(TwoBelow.ClaimedPercent(), 100.0f);
  EXPECT_FALSE(TwoBelow.Completed);

  MakeLevel Twenty(20, 267300);
  EXPECT_EQ(Twenty.ClaimedPercent(), 100.0f);
  EXPECT_TRUE(Twenty.Completed);
  MakeLevel TwentyBelow(20, 267299);
  EXPECT_LT(TwentyBelow.ClaimedPercent(), 100.0f);
  EXPECT_FALSE(TwentyBelow.Completed);

  // Level 25 keeps level 20's target; uncapped it would need 273,900 cells
  // and show 97.59.
  MakeLevel TwentyFive(25, 267300);
  EXPECT_EQ(TwentyFive.ClaimedPercent(), 100.0f);
  EXPECT_TRUE(TwentyFive.Completed);
  MakeLevel TwentyNine(29, 133650);
  EXPECT_EQ(TwentyNine.ClaimedPercent(), 50.0f);
}

TEST(LevelClaimedPercentTest, LastClaimMayOvershootAndCompletedSticks) {
  // The whole inner field claimed on level 1: 28453100 / 242220 = 117.468.
  MakeLevel Level(1, 284531);
  EXPECT_NEAR(Level.ClaimedPercent(), 117.468, 1e-3);
  EXPECT_TRUE(Level.Completed);

  Level.ClaimedCells = 1000;
  EXPECT_NEAR(Level.ClaimedPercent(), 0.41285, 1e-4);
  EXPECT_TRUE(Level.Completed);
}

TEST(LevelClaimedPercentTest, ShareReadsTheSameWithoutCompletingTheLevel) {
  MakeLevel AtTarget(1, 242220);
  EXPECT_EQ(AtTarget.ClaimedShare(), 100.0f);
  EXPECT_FALSE(AtTarget.Completed);
  MakeLevel Half(29, 133650);
  EXPECT_EQ(Half.ClaimedShare(), 50.0f);
}
