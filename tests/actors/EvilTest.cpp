// The big enemy: its border push and tie order, the bounded random drift,
// the pull towards its target, and the trail hit test by sprite alpha.
#include "actors/Evil.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ActorTestUtil.h"
#include "actors/Player.h"

using namespace actortest;

namespace {

class EvilTest : public ::testing::Test {
protected:
  std::unique_ptr<TEvil> Make(float Attraction = 0.05f, const std::string& Set = "evil_test") {
    return std::make_unique<TEvil>(TPointF{300, 275}, Set, 3.0f, 6.0f, Attraction, *W.Reader);
  }
  std::unique_ptr<TPlayer> MakePlayer(std::int32_t Index, TPointF At) {
    auto P = std::make_unique<TPlayer>(At, 2, *W.Reader, W.Settings, Index, "P", "player01");
    return P;
  }
  // One picture: transparent but for the centre pixel with alpha Alpha.
  static void CentreDot(TEvil& E, std::uint8_t Alpha) {
    E.Images.Clear();
    auto Image = Solid(EvilSize, EvilSize, 0);
    Image->SetPixel(EvilSize / 2, EvilSize / 2, MakeRGBA(255, 0, 0, Alpha));
    E.Images.Add(std::move(Image));
    E.Frame = 0;
    E.FrameDuration = 100;
  }

  TWorld W;
};

TEST_F(EvilTest, CreationDrawsTheFirstFrameOnceAndNeverTheLast) {
  for (std::uint32_t Seed = 1; Seed < 40; ++Seed) {
    RandSeed = Seed;
    auto E = Make();
    TLcg G{Seed};
    EXPECT_EQ(E->Frame, G.Below(EvilFrames - 1));
    EXPECT_EQ(RandSeed, G.Seed) << "exactly one draw";
  }
  auto E = Make();
  EXPECT_EQ(E->FrameDuration, 20 / EvilFrames);
  EXPECT_EQ(E->HitTrail, -1);
  EXPECT_EQ(E->Target, nullptr);
  EXPECT_EQ(E->Jitter, 9.0f);
}

TEST_F(EvilTest, PushesAwayFromTheSideWithMostClaimedCellsUpperWinningTies) {
  auto E = Make();
  // The 41 x 41 rectangle spans 280..320 x 255..295; its halves split at
  // column 300 and row 275.
  for (int X = 301; X <= 310; ++X) W.Board.SetCell(X, 260, CellClaimed);  // upper right
  EXPECT_EQ(E->BorderCounts(W.Board), (std::array<std::int32_t, 4>{10, 10, 0, 0}));
  EXPECT_EQ(E->BorderPush(W.Board), (TPoint{0, 1}));
  W.Board.SetCell(301, 290, CellClaimed);  // lower right: the right side leads
  EXPECT_EQ(E->BorderPush(W.Board), (TPoint{-1, 0}));

  TMemBoard Lower(BoardWidth, BoardHeight);
  for (int X = 280; X < 290; ++X) Lower.SetCell(X, 295, CellClaimed);  // lower left: lower beats left
  EXPECT_EQ(E->BorderPush(Lower), (TPoint{0, -1}));
  Lower.SetCell(280, 294, CellEdge);  // other codes do not count
  Lower.SetCell(281, 294, CellTrail1);
  Lower.SetCell(280, 256, CellClaimed);  // upper left: left leads 11 to 10
  EXPECT_EQ(E->BorderPush(Lower), (TPoint{1, 0}));

  // The push replaces a rush and drives the enemy off.
  Lower.SetCell(280, 257, CellClaimed);
  E->Rushing = true;
  E->Move(Lower);
  EXPECT_FALSE(E->Rushing);
  EXPECT_GT(E->VX, 0.0f);
  EXPECT_GT(E->VY, 0.0f) << "the random part is added on the axis without push too";
}

TEST_F(EvilTest, WithoutPushOrTargetTheDriftStaysWithinTheCaps) {
  for (std::uint32_t Seed = 1; Seed <= 300; ++Seed) {
    RandSeed = Seed;
    auto E = Make();
    E->Move(W.Board);
    if (E->Rushing) continue;
    // From rest: one acceleration of at most 1 per axis, then the damping.
    EXPECT_LE(std::fabs(E->VX), 0.98f);
    EXPECT_LE(std::fabs(E->VY), 0.98f);
  }
  auto E = Make();
  E->RushMaxSpeed = E->NormalMaxSpeed;
  for (int Tick = 0; Tick < 3000; ++Tick) {
    E->X = 300;
    E->Y = 275;
    E->Move(W.Board);
    ASSERT_LE(E->Velocity(), E->NormalMaxSpeed * 1.000001f) << Tick;
  }
}

TEST_F(EvilTest, ATargetThatDrawsPullsTenTimesHarder) {
  auto Target = MakePlayer(0, {400, 375});
  for (std::uint32_t Seed = 1; Seed <= 50; ++Seed) {
    float Pull[2];
    bool Rushed = false;
    for (int Drawing = 0; Drawing < 2; ++Drawing) {
      RandSeed = Seed;
      auto E = Make(0.05f);
      E->Jitter = 10;  // no random part: the velocity is the pull alone
      E->Target = Target.get();
      Target->IsDrawing = Drawing == 1;
      E->Move(W.Board);
      Rushed = Rushed || E->Rushing;
      if (!E->Rushing) {
        EXPECT_GT(E->VY, 0.0f);
      }
      Pull[Drawing] = E->VX;
    }
    if (Rushed) continue;
    // The pull factor lies in [0.5, 1), then the damping.
    EXPECT_GE(Pull[0], 0.5f * 0.05f * 0.98f * 0.9999f);
    EXPECT_LT(Pull[0], 0.05f * 0.98f);
    EXPECT_NEAR(Pull[1] / Pull[0], 10.0f, 1e-4f);
  }
}

TEST_F(EvilTest, AttractionZeroDriftsAsIfThereWereNoTarget) {
  auto Target = MakePlayer(0, {20, 20});
  RandSeed = 777;
  auto A = Make(0.0f);
  const std::uint32_t Seed = RandSeed;
  A->Move(W.Board);
  RandSeed = Seed;
  auto B = Make(0.0f);
  RandSeed = Seed;
  B->Target = Target.get();
  B->Move(W.Board);
  EXPECT_EQ(A->VX, B->VX);
  EXPECT_EQ(A->VY, B->VY);
}

TEST_F(EvilTest, OnlyPixelsAboveAlpha50KillATrail) {
  auto E = Make();
  W.Board.SetCell(300, 275, CellTrail1);
  CentreDot(*E, 50);
  E->Draw(W.Buffer, W.Board, false, Mask());
  EXPECT_EQ(E->HitTrail, -1);
  CentreDot(*E, 51);
  E->Draw(W.Buffer, W.Board, false, Mask());
  EXPECT_EQ(E->HitTrail, 0);
  W.Board.SetCell(300, 275, CellTrail2);
  E->Draw(W.Buffer, W.Board, false, Mask());
  EXPECT_EQ(E->HitTrail, 1);
}

TEST_F(EvilTest, WithBothTrailsUnderneathTheLastInScanOrderWins) {
  auto E = Make();
  E->Images.Clear();
  E->Images.Add(Solid(EvilSize, EvilSize, MakeRGBA(9, 9, 9, 255)));
  E->Frame = 0;
  W.Board.SetCell(290, 280, CellTrail2);
  W.Board.SetCell(310, 270, CellTrail1);
  E->Draw(W.Buffer, W.Board, false, Mask());
  EXPECT_EQ(E->HitTrail, 1) << "row 280 comes after row 270";
  W.Board.SetCell(315, 280, CellTrail1);
  E->Draw(W.Buffer, W.Board, false, Mask());
  EXPECT_EQ(E->HitTrail, 0) << "column 315 comes after column 290 in the same row";
}

TEST_F(EvilTest, TargetsTheStrictlyNearerPlayer) {
  auto P1 = MakePlayer(0, {20, 20});
  auto P2 = MakePlayer(1, {580, 20});
  auto E = Make();
  E->X = 300;
  E->Y = 100;
  E->ChooseTarget(*P1, P2.get());
  EXPECT_EQ(E->Target, P1.get()) << "a tie keeps player 1";
  E->X = 300.5f;
  E->ChooseTarget(*P1, P2.get());
  EXPECT_EQ(E->Target, P2.get());
  E->ChooseTarget(*P1, nullptr);
  EXPECT_EQ(E->Target, P1.get());
}

TEST_F(EvilTest, AnimatesEveryFiveTicksUnlessFrozen) {
  auto E = Make();
  E->Frame = 0;
  for (int Tick = 1; Tick <= 12; ++Tick) E->Draw(W.Buffer, W.Board, Tick > 10, Mask());
  EXPECT_EQ(E->Frame, 2);
  EXPECT_EQ(E->FrameTicks, 0);
  for (int Tick = 1; Tick <= 15; ++Tick) E->Draw(W.Buffer, W.Board, false, Mask());
  EXPECT_EQ(E->Frame, 1) << "wraps after the fourth picture";
}

TEST_F(EvilTest, AnEmptySetOrAPositionOffTheBoardNeitherCrashesNorReadsOutside) {
  RandSeed = 99;
  auto E = Make(0.05f, "no_evil");
  EXPECT_EQ(W.Boxes.Texts(), std::vector<std::string>{"No ImageSet \"no_evil\" was found!"});
  EXPECT_EQ(DrawsBetween(99, RandSeed), 1);
  W.Board.SetCell(300, 275, CellTrail1);
  for (int Tick = 0; Tick < 50; ++Tick) {
    E->Move(W.Board);
    E->Draw(W.Buffer, W.Board, false, Mask());
    EXPECT_EQ(E->HitTrail, -1);
    EXPECT_EQ(E->Frame, 0);
  }
  auto Off = Make();
  for (const TPointF At : {TPointF{-1000, -1000}, TPointF{5, 5}, TPointF{598, 548}, TPointF{1e30f, -1e30f}}) {
    Off->X = At.X;
    Off->Y = At.Y;
    const auto Counts = Off->BorderCounts(W.Board);
    for (auto C : Counts) EXPECT_GE(C, 0);
    Off->Draw(W.Buffer, W.Board, false, Mask());
    Off->Move(W.Board);
    EXPECT_TRUE(std::isfinite(Off->VX) && std::isfinite(Off->VY));
  }
  Off->X = 5;
  Off->Y = 5;
  // Only the claimed margin inside the board counts: 26 x 26 cells with
  // the centre rounded to (5, 5) and the rectangle from -15 to 25.
  const auto Counts = Off->BorderCounts(W.Board);
  EXPECT_EQ(Counts[0] + Counts[2], 26 * 26 - 6 * 6);
}

}  // namespace
