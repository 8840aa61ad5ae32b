// The shadow mask: pattern choice, reproducibility, the clock re-seed, the
// margin mapping, and the actors' shaded sprite blend.
#include "board/ShadowMask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/AlphaImage.h"
#include "gfx/CloudGenerator.h"
#include "gfx/FastImaging.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"

namespace {

// A fixed clock, so that the re-seed after a mask is known.
class FixedClock : public ::testing::Test {
protected:
  void SetUp() override { SetTimeOfDaySource([] { return 12u * 3600000u + 34u * 60000u + 56789u; }); }
  void TearDown() override { SetTimeOfDaySource(nullptr); }
  static constexpr std::uint32_t ClockSeed = 12u * 3600000u + 34u * 60000u + 56789u;
};

bool SameMask(const TShadowMask& A, const TShadowMask& B) {
  for (std::int32_t X = -50; X < 650; ++X)
    if (!std::equal(A.Column(X), A.Column(X) + TShadowMask::Size, B.Column(X))) return false;
  return true;
}

TEST(ShadowMaskSeeds, TheNineteenSeeds) {
  const std::uint32_t Want[] = {2, 11, 12, 14, 15, 17, 19, 20, 22, 23, 24, 25, 28, 48, 49, 50, 53, 54, 57};
  ASSERT_EQ(TShadowMask::ShadeSeeds.size(), 19u);
  for (std::size_t I = 0; I < 19; ++I) EXPECT_EQ(TShadowMask::ShadeSeeds[I], Want[I]);
}

TEST_F(FixedClock, SamePatternSameMaskAndTheSequenceAfterwardsDoesNotDependOnIt) {
  const TShadowMask A(4);
  const std::int32_t AfterA = Random(1000000);
  const TShadowMask B(4);
  const std::int32_t AfterB = Random(1000000);
  const TShadowMask C(17);
  const std::int32_t AfterC = Random(1000000);
  EXPECT_TRUE(SameMask(A, B));
  EXPECT_FALSE(SameMask(A, C));
  EXPECT_EQ(AfterA, AfterB);
  EXPECT_EQ(AfterA, AfterC);
  // That is the draw from the clock's seed.
  const std::uint32_t Next = ClockSeed * 134775813u + 1u;
  EXPECT_EQ(AfterA, static_cast<std::int32_t>((static_cast<std::uint64_t>(Next) * 1000000u) >> 32));
}

TEST(ShadowMaskReplay, RecordedClockReadsReplayEveryLevelsMaskAndDraws) {
  // The start-up seed, then per level a mask (its pattern drawn, then the
  // generator reseeded from the clock) and the level's draws.
  const auto Session = [] {
    std::vector<std::int64_t> Seen;
    Randomize();
    for (int Level = 0; Level < 3; ++Level) {
      const TShadowMask Mask;
      Seen.push_back(Mask.PatternIndex());
      Seen.push_back(Random(1000000));
    }
    return Seen;
  };
  std::uint32_t Clock = 12345;
  TTimeOfDayRecording Recording;
  Recording.Record([&] { return Clock += 1009; });  // time moves between the reads
  const std::vector<std::int64_t> First = Session();
  EXPECT_EQ(Recording.Reads().size(), 4u);
  Recording.Replay();
  EXPECT_EQ(Session(), First);
  EXPECT_EQ(Recording.Overruns(), 0u);
}

TEST_F(FixedClock, TheDefaultMaskDrawsItsPatternFromTheGenerator) {
  for (std::uint32_t Seed : {0u, 123456789u, 0xFFFFFFFFu}) {
    RandSeed = Seed;
    const TShadowMask Drawn;
    const std::uint32_t Next = Seed * 134775813u + 1u;
    const auto Want = static_cast<std::int32_t>((static_cast<std::uint64_t>(Next) * 19u) >> 32);
    EXPECT_EQ(Drawn.PatternIndex(), Want) << Seed;
    EXPECT_EQ(RandSeed, ClockSeed);
    if (Seed == 0u) {
      EXPECT_TRUE(SameMask(Drawn, TShadowMask(Want)));
    }
  }
  EXPECT_EQ(TShadowMask(19 + 3).PatternIndex(), 3);
  EXPECT_EQ(TShadowMask(-1).PatternIndex(), 18);
}

TEST_F(FixedClock, MarginMappingAndClampingOfTheCloudField) {
  const std::int32_t K = 6;
  RandSeed = TShadowMask::ShadeSeeds[K];
  TCloudGenerator Cloud(10);
  Cloud.Generate(0, 200, 0.4f, 100);
  const TShadowMask Mask(K);
  auto Clamped = [&](std::int32_t X, std::int32_t Y) { return std::clamp(Cloud.GetValue(X, Y), 0, 100); };
  EXPECT_EQ(Mask.GetShade(-50, -50), Clamped(0, 0));
  EXPECT_EQ(Mask.GetShade(649, 649), Clamped(699, 699));
  EXPECT_EQ(Mask.GetShade(0, 0), Clamped(50, 50));
  EXPECT_EQ(Mask.GetShade(599, 3), Clamped(649, 53));
  int Zero = 0, Full = 0, Between = 0;
  for (std::int32_t X = -50; X < 650; ++X)
    for (std::int32_t Y = -50; Y < 650; ++Y) {
      const int S = Mask.GetShade(X, Y);
      ASSERT_EQ(S, Clamped(X + 50, Y + 50));
      Zero += S == 0;
      Full += S == 100;
      Between += S > 0 && S < 100;
    }
  // A cloud pattern: clear patches, full shade and soft transitions.
  EXPECT_GT(Zero, 0);
  EXPECT_GT(Between, 10000);
  (void)Full;
}

// ---------------------------------------------------------- sprite blend

std::uint8_t RefSprite(std::uint32_t C, std::uint32_t A, std::uint32_t D, std::uint32_t S, std::uint32_t Fade) {
  const long double CS = std::llrint(C * (255.0L - S) / 255.0L);
  const long double AS = std::llrint(A * static_cast<long double>(Fade) / 255.0L);
  return static_cast<std::uint8_t>(std::llrint(D * (255.0L - AS) / 255.0L + CS * AS / 255.0L));
}

TEST_F(FixedClock, ShadedSpriteMatchesTheActorBlendAndClips) {
  const TShadowMask Mask(9);
  std::uint32_t V = 99;
  auto Next = [&] {
    V = V * 1664525u + 1013904223u;
    return V >> 8;
  };
  TAlphaImage Sprite(20, 16);
  for (std::int32_t X = 0; X < 20; ++X)
    for (std::int32_t Y = 0; Y < 16; ++Y) {
      std::uint32_t A = Next() & 0xFF;
      if (A < 30) A = 0;
      if (A > 220) A = 255;
      Sprite.SetPixel(X, Y, MakeRGBA(Next(), Next(), Next(), A));
    }
  for (std::int32_t Fade : {255, 128, 10, 0})
    for (auto [Left, Top] : {std::pair{100, 200}, std::pair{-7, -5}, std::pair{590, 540}, std::pair{-30, 0}}) {
      SCOPED_TRACE(::testing::Message() << "fade " << Fade << " at " << Left << "," << Top);
      TFastImageBuffer Before(nullptr, 600, 550);
      for (std::int32_t Y = 0; Y < 550; ++Y)
        for (std::int32_t X = 0; X < 600; ++X) Before.SetPixel(X, Y, (X * 7 + Y * 13) * 2654435761u & 0xFFFFFF);
      TFastImageBuffer After(nullptr, 0, 0);
      After.CopyFrom(Before);
      DrawShadedSprite(After, Sprite, Left, Top, Mask, Fade);
      int Bad = 0;
      for (std::int32_t Y = std::max(0, Top - 2); Y < std::min(550, Top + 18); ++Y)
        for (std::int32_t X = std::max(0, Left - 2); X < std::min(600, Left + 22); ++X) {
          TColorValue Want = Before.GetPixel(X, Y);
          const std::int32_t SX = X - Left, SY = Y - Top;
          if (SX >= 0 && SY >= 0 && SX < 20 && SY < 16) {
            const TRGBAPixel P = Sprite.GetPixel(SX, SY);
            const std::uint32_t S = Mask.GetShade(X, Y), A = PixelA(P);
            Want = RGB(RefSprite(PixelR(P), A, GetRValue(Want), S, Fade), RefSprite(PixelG(P), A, GetGValue(Want), S, Fade),
                       RefSprite(PixelB(P), A, GetBValue(Want), S, Fade));
          }
          if (After.GetPixel(X, Y) != Want && Bad++ < 5)
            ADD_FAILURE() << "(" << X << "," << Y << ") is " << std::hex << After.GetPixel(X, Y) << " not " << Want;
        }
    }
}

}  // namespace
