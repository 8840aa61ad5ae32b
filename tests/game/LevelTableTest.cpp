#include "game/LevelTable.h"

#include <gtest/gtest.h>

#include <string>

// Levels 15 to 28 replay the backgrounds of levels 1 to 14 in order, each
// with the other enemy of the same theme: the picture names carry the theme
// and number, so swapping means the set of the row with the other number.
TEST(LevelTableTest, SecondRoundReusesPicturesWithEnemiesSwapped) {
  for (int N = 15; N <= 28; ++N) {
    const TLevelInfo& Late = LevelInfo(N);
    const TLevelInfo& Early = LevelInfo(N - 14);
    EXPECT_STREQ(Late.Background, Early.Background) << N;
    // Same theme: the image set matches the first round's row of the same
    // theme, but not this row's own first-round set.
    const std::string LateSet = Late.EvilImageSet, EarlySet = Early.EvilImageSet;
    EXPECT_NE(LateSet, EarlySet) << N;
    EXPECT_EQ(LateSet.substr(0, LateSet.size() - 2), EarlySet.substr(0, EarlySet.size() - 2)) << N;
    // Each first-round background comes with its own-numbered enemy.
    const std::string Back = Early.Background;
    EXPECT_EQ(Back.substr(5, Back.size() - 9), EarlySet.substr(5)) << N;
  }
}

TEST(LevelTableTest, RowsAsPlayed) {
  EXPECT_STREQ(LevelInfo(3).Name, "Space 1");
  EXPECT_EQ(LevelInfo(3).SmallEvilSet, 1);
  EXPECT_STREQ(LevelInfo(29).Name, "End Game");
  EXPECT_STREQ(LevelInfo(29).Background, "back_end01.jpg");
  EXPECT_EQ(LevelInfo(29).SmallEvilSet, 6);
  // Single precision: the float nearest to the decimal, not the double.
  EXPECT_EQ(LevelInfo(4).Attraction, 0.01f);
  EXPECT_NE(static_cast<double>(LevelInfo(4).Attraction), 0.01);
  EXPECT_EQ(LevelInfo(7).RushMaxSpeed, 9.5f);
  // Enemies never get weaker in pull or company as the levels go on.
  for (int N = 2; N <= LevelCount; ++N) {
    EXPECT_GE(LevelInfo(N).Attraction, LevelInfo(N - 1).Attraction) << N;
    EXPECT_GE(LevelInfo(N).SmallEvilSet, LevelInfo(N - 1).SmallEvilSet) << N;
    EXPECT_GE(LevelInfo(N).RushMaxSpeed, LevelInfo(N).NormalMaxSpeed) << N;
  }
}

TEST(LevelTableTest, NumbersOutsideTheTableClamp) {
  EXPECT_EQ(&LevelInfo(0), &LevelInfo(1));
  EXPECT_EQ(&LevelInfo(-5), &LevelInfo(1));
  EXPECT_EQ(&LevelInfo(30), &LevelInfo(29));
}
