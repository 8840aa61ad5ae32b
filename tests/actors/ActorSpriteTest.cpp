// Where sprites go: rounding of centres and the top-left rule, and the
// safe picture lookup.
#include "actors/ActorSprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ActorTestUtil.h"
#include "gfx/AlphaImageList.h"

using namespace actortest;

TEST(ActorSprite, CentresRoundHalfToEvenAndTheCornerIsHalfTheSizeAway) {
  EXPECT_EQ(NearestPixel(20.5f), 20);
  EXPECT_EQ(NearestPixel(21.5f), 22);
  EXPECT_EQ(NearestPixel(-0.5f), 0);
  EXPECT_EQ(NearestPixel(-1.5f), -2);
  EXPECT_EQ(NearestPixel(23.333334f), 23);
  EXPECT_EQ(NearestPixel(std::nanf("")), 0);
  EXPECT_EQ(NearestPixel(1e30f), 2147483520);
  EXPECT_EQ(NearestPixel(-1e30f), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(NearestPixel(std::numeric_limits<float>::infinity()), 2147483520);

  const TAlphaImage Odd(41, 9), Even(10, 4);
  EXPECT_EQ(SpriteTopLeft(300.5f, 20.5f, Odd), (TPoint{280, 16}));
  EXPECT_EQ(SpriteTopLeft(301.5f, 21.5f, Even), (TPoint{297, 20}));
  EXPECT_EQ(SpriteTopLeft(300, 275, Even), (TPoint{295, 273}));
}

TEST(ActorSprite, MissingPicturesAreEmptyNotErrors) {
  TAlphaImageList List;
  EXPECT_EQ(ImageOrEmpty(List, 0).Width(), 0);
  List.Add(Solid(3, 5, 0));
  EXPECT_EQ(ImageOrEmpty(List, 0).Height(), 5);
  EXPECT_EQ(ImageOrEmpty(List, 1).Width(), 0);
  EXPECT_EQ(ImageOrEmpty(List, -1).Width(), 0);
}
