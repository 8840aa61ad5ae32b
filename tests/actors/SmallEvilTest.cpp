// Small enemies: creation draws, hit radii and immunity, dashes and their
// countdowns, the bounce, and what an empty set or a missing target does.
#include "actors/SmallEvil_evil01.h"
#include "actors/SmallEvil_evil02.h"
#include "actors/SmallEvil_evil03.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ActorTestUtil.h"
#include "actors/Player.h"

using namespace actortest;

namespace {

constexpr TPoint Field{BoardWidth, BoardHeight};

class SmallEvilTest : public ::testing::Test {
protected:
  std::unique_ptr<TPlayer> MakePlayer(std::int32_t Index, TPointF At) {
    return std::make_unique<TPlayer>(At, 2, *W.Reader, W.Settings, Index, "P", "player01");
  }
  // A seed whose next draw Random(100) is 0 (or, with Zero false, is not).
  static std::uint32_t SeedWithFirstHundred(bool Zero) {
    for (std::uint32_t S = 1;; ++S) {
      TLcg G{S};
      if ((G.Below(100) == 0) == Zero) return S;
    }
  }

  TWorld W;
};

TEST_F(SmallEvilTest, CreationDrawsTheFrameThenAStartVelocityOfLengthSixHeadingRightAndDown) {
  for (std::uint32_t Seed = 1; Seed <= 30; ++Seed) {
    RandSeed = Seed;
    TSmallEvil_evil03 E({300, 200}, *W.Reader, 5);
    TLcg G{Seed};
    EXPECT_EQ(E.Frame, G.Below(1));  // two pictures: Random(1)
    const double UX = G.Next() / 4294967296.0;
    const double UY = G.Next() / 4294967296.0;
    EXPECT_EQ(RandSeed, G.Seed) << "three draws";
    EXPECT_NEAR(E.VX, 6 * UX / std::hypot(UX, UY), 1e-5);
    EXPECT_NEAR(E.VY, 6 * UY / std::hypot(UX, UY), 1e-5);
    EXPECT_NEAR(E.Velocity(), 6.0f, 1e-5f);
    EXPECT_EQ(E.HitPlayer, -1);
  }
}

TEST_F(SmallEvilTest, KindConstantsFollowTheLevel) {
  TSmallEvil_evil01 A1({300, 200}, *W.Reader, 1);
  TSmallEvil_evil01 A20({300, 200}, *W.Reader, 20);
  TSmallEvil_evil02 B({300, 200}, *W.Reader, 20);
  TSmallEvil_evil03 C({300, 200}, *W.Reader, 29);
  EXPECT_EQ(A1.MaxSpeed, 5.05f);
  EXPECT_EQ(A20.MaxSpeed, 6.0f);
  EXPECT_EQ(B.MaxSpeed, 5.0f);
  EXPECT_EQ(C.MaxSpeed, 6.45f);
  EXPECT_EQ(A1.FrameDuration, 10);  // 20 div 2 pictures
  EXPECT_EQ(B.FrameDuration, 2);
  EXPECT_EQ(C.FrameDuration, 2);
  EXPECT_EQ(A1.DashCountdown, 0);
  EXPECT_EQ(C.LevelNumber, 29);
}

TEST_F(SmallEvilTest, HitRadiiAndImmunityAndPlayerTwoWins) {
  auto P1 = MakePlayer(0, {300, 200});
  auto P2 = MakePlayer(1, {300, 200});
  TSmallEvil_evil01 A({300, 200}, *W.Reader, 1);
  TSmallEvil_evil02 B({300, 200}, *W.Reader, 1);
  TSmallEvil_evil03 C({300, 200}, *W.Reader, 1);
  const auto HitAt = [&](TSmallEvilBase& E, float DX, float DY) {
    P1->X = 300 + DX;
    P1->Y = 200 + DY;
    E.UpdateAndDraw(W.Buffer, *P1, false, Mask(), nullptr);
    return E.HitPlayer;
  };
  EXPECT_EQ(HitAt(A, 22, 0), 0);
  EXPECT_EQ(HitAt(A, 0, -23), -1);
  EXPECT_EQ(HitAt(A, 15, 16), 0);  // 481
  EXPECT_EQ(HitAt(A, 14, 18), -1);  // 520
  for (TSmallEvilBase* E : {static_cast<TSmallEvilBase*>(&B), static_cast<TSmallEvilBase*>(&C)}) {
    EXPECT_EQ(HitAt(*E, -19, 0), 0);
    EXPECT_EQ(HitAt(*E, 0, 20), -1);
    EXPECT_EQ(HitAt(*E, 12, 16), -1);  // 400 is not less than 400
  }
  P1->Blinking = true;
  EXPECT_EQ(HitAt(A, 0, 0), -1);
  P1->Blinking = false;
  P1->X = 305;
  P1->Y = 200;
  A.UpdateAndDraw(W.Buffer, *P1, false, Mask(), P2.get());
  EXPECT_EQ(A.HitPlayer, 1);
  P2->Blinking = true;
  A.UpdateAndDraw(W.Buffer, *P1, false, Mask(), P2.get());
  EXPECT_EQ(A.HitPlayer, 0);
}

TEST_F(SmallEvilTest, TheFirstKindRestartsARunningCountdownTheSecondNever) {
  const std::uint32_t Seed = SeedWithFirstHundred(true);
  TSmallEvil_evil01 A({300, 200}, *W.Reader, 10);
  TSmallEvil_evil02 B({300, 200}, *W.Reader, 10);
  A.DashCountdown = B.DashCountdown = 50;
  RandSeed = Seed;
  A.Move(Field);
  TLcg G{Seed};
  G.Below(100);
  EXPECT_EQ(A.DashCountdown, G.Below(80) + 20 - 1);
  RandSeed = Seed;
  B.Move(Field);
  EXPECT_EQ(B.DashCountdown, 49);
  EXPECT_EQ(RandSeed, Seed) << "no draw while the countdown runs";

  B.DashCountdown = 0;
  RandSeed = Seed;
  B.Move(Field);
  TLcg H{Seed};
  H.Below(100);
  EXPECT_EQ(B.DashCountdown, H.Below(10) + 20 - 1);
}

TEST_F(SmallEvilTest, BrakesThenDashesAtTheTargetWithMaxSpeed) {
  auto P = MakePlayer(0, {330, 240});
  TSmallEvil_evil01 A({300, 200}, *W.Reader, 20);
  A.Target = P.get();
  A.DashCountdown = 3;
  A.VX = 2.2f;
  A.VY = -1.1f;
  RandSeed = SeedWithFirstHundred(false);
  A.Move(Field);
  EXPECT_FLOAT_EQ(A.VX, 2.0f);
  EXPECT_FLOAT_EQ(A.VY, -1.0f);
  RandSeed = SeedWithFirstHundred(false);
  A.Move(Field);
  A.X = 300;
  A.Y = 200;
  RandSeed = SeedWithFirstHundred(false);
  A.Move(Field);
  EXPECT_EQ(A.DashCountdown, 0);
  EXPECT_FLOAT_EQ(A.VX, 6.0f * 0.6f);  // (30, 40) scaled to 6
  EXPECT_FLOAT_EQ(A.VY, 6.0f * 0.8f);
}

TEST_F(SmallEvilTest, ADashWithoutDirectionOrTargetKeepsTheVelocity) {
  auto P = MakePlayer(0, {300, 200});
  TSmallEvil_evil02 B({300, 200}, *W.Reader, 20);
  B.VX = 1.5f;
  B.VY = -0.5f;
  B.DashCountdown = 1;
  RandSeed = SeedWithFirstHundred(false);
  B.Move(Field);  // no target yet
  EXPECT_EQ(B.VX, 1.5f);
  B.X = 300;
  B.Y = 200;
  B.Target = P.get();
  B.DashCountdown = 1;
  B.Move(Field);  // the target exactly on the enemy
  EXPECT_EQ(B.VX, 1.5f);
  EXPECT_EQ(B.VY, -0.5f);
}

TEST_F(SmallEvilTest, BouncesOffTheFieldBoundsWithoutClamping) {
  TSmallEvil_evil03 C({0, 300}, *W.Reader, 20);
  C.VX = -1;
  C.VY = 0;
  C.Move(Field);  // margin 21 div 2 - 4 = 6
  EXPECT_GT(C.VX, 0.8f);
  EXPECT_NEAR(C.X, C.VX, 1e-6f);
  const float Before = C.VX;
  C.Move(Field);  // still outside the margin: flips back
  EXPECT_LT(C.VX, 0.0f);
  EXPECT_NEAR(C.VX, -Before, 0.2f);
  C.X = 594;
  C.VX = 0.5f;
  C.Move(Field);  // 594.5 > 600 - 6
  EXPECT_LT(C.VX, 0.0f);
}

TEST_F(SmallEvilTest, FrozenStopsTheAnimationAndTargetsAreChosenOnce) {
  auto P1 = MakePlayer(0, {100, 100});
  auto P2 = MakePlayer(1, {310, 200});
  TSmallEvil_evil02 B({300, 200}, *W.Reader, 20);
  B.Frame = 0;
  for (int Tick = 0; Tick < 5; ++Tick) B.UpdateAndDraw(W.Buffer, *P1, true, Mask(), P2.get());
  EXPECT_EQ(B.Frame, 0);
  EXPECT_EQ(B.Target, P2.get());
  for (int Tick = 0; Tick < 2; ++Tick) B.UpdateAndDraw(W.Buffer, *P1, false, Mask(), P2.get());
  EXPECT_EQ(B.Frame, 1);
  P2->X = 580;
  B.UpdateAndDraw(W.Buffer, *P1, false, Mask(), P2.get());
  EXPECT_EQ(B.Target, P2.get()) << "kept until the game retargets";
}

TEST_F(SmallEvilTest, AnEmptySetDrawsNothingAndStillFlies) {
  auto P = MakePlayer(0, {20, 20});
  struct TEmpty : TSmallEvilBase {
    TEmpty(const TPakFileReadable& Pak) : TSmallEvilBase({300, 200}, Pak, "no_small") {}
    void Move(TPoint FieldSize) override {
      Drift(10);
      BounceAndStep(FieldSize);
    }
  } E(*W.Reader);
  EXPECT_EQ(W.Boxes.Texts(), std::vector<std::string>{"No ImageSet \"no_small\" was found!"});
  for (int Tick = 0; Tick < 100; ++Tick) {
    E.Move(Field);
    E.UpdateAndDraw(W.Buffer, *P, false, Mask(), nullptr);
    ASSERT_TRUE(std::isfinite(E.X) && std::isfinite(E.Y));
    EXPECT_EQ(E.Frame, 0);
  }
}

}  // namespace
