// The player marker on a real level board: speeds on the edge and in the
// open, trails, turns, the fade, blink and explosion phases, and lives.
#include "actors/Player.h"

#include <gtest/gtest.h>

#include "ActorTestUtil.h"

using namespace actortest;

namespace {

class PlayerTest : public ::testing::Test {
protected:
  std::unique_ptr<TPlayer> Make(std::int32_t Index = 0, const std::string& Set = "player01") {
    const TPointF Start = Index == 0 ? TPointF{20, 20} : TPointF{580, 20};
    return std::make_unique<TPlayer>(Start, 2, *W.Reader, W.Settings, Index, Index == 0 ? "Player 1" : "Player 2", Set);
  }
  // Draws until the fade-in is over and returns the number of draws.
  int FadeIn(TPlayer& P) {
    int Ticks = 0;
    while (P.Appearing && Ticks < 1000) {
      P.Draw(W.Buffer, Mask(), {P.TrailStartX, P.TrailStartY});
      ++Ticks;
    }
    return Ticks;
  }
  bool Step(TPlayer& P, int DX, int DY, bool DrawKey) {
    bool Closed = false;
    P.Move(DX, DY, DrawKey, W.Board, Closed);
    return Closed;
  }
  // Whether a Draw painted the sprite: the centre pixel of a black buffer.
  bool DrawShows(TPlayer& P) {
    const std::int32_t CX = NearestPixel(P.X), CY = NearestPixel(P.Y);
    W.Buffer.SetPixel(CX, CY, 0);
    P.Draw(W.Buffer, Mask(), {P.TrailStartX, P.TrailStartY});
    return W.Buffer.GetPixel(CX, CY) != 0;
  }
  std::uint8_t Cell(int X, int Y) const { return W.Board.GetCell(X, Y); }

  TWorld W;
};

TEST_F(PlayerTest, StartsFacingInwardsAndFadesInFor26PaintedTicksBeforeItCanMove) {
  auto P1 = Make(0);
  auto P2 = Make(1);
  EXPECT_EQ(P1->Direction, 1);
  EXPECT_EQ(P2->Direction, 3);
  EXPECT_EQ(P2->TrailCode, CellTrail2);
  for (int Tick = 1; Tick <= 25; ++Tick) {
    P1->Draw(W.Buffer, Mask(), {20, 20});
    EXPECT_EQ(P1->FadeAlpha, 10 * Tick);
    EXPECT_FALSE(Step(*P1, 1, 0, false));
    EXPECT_EQ(P1->X, 20.0f) << "moved while fading in, tick " << Tick;
  }
  P1->Draw(W.Buffer, Mask(), {20, 20});
  EXPECT_FALSE(P1->Appearing);
  EXPECT_EQ(P1->FadeAlpha, 255);
  Step(*P1, 1, 0, false);
  EXPECT_EQ(P1->X, 26.0f);
}

TEST_F(PlayerTest, RunsSixPixelsOnAnEdgeAndStopsAtTheCorner) {
  auto P = Make();
  FadeIn(*P);
  for (int Tick = 1; Tick <= 5; ++Tick) {
    Step(*P, 1, 0, false);
    EXPECT_EQ(P->X, 20.0f + 6 * Tick);
    EXPECT_EQ(P->Y, 20.0f);
  }
  // No direction, or two at once, is no move (and no endless reach test
  // along no axis, even at an absurd speed).
  P->Speed = 1e9f;
  for (const auto& [DX, DY] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 0}}) {
    Step(*P, DX, DY, true);
    EXPECT_EQ(P->X, 50.0f);
    EXPECT_EQ(P->Y, 20.0f);
  }
  P->Speed = 5.0f;
  // Up from the top edge there is only claimed margin.
  Step(*P, 0, -1, false);
  EXPECT_EQ(P->Y, 20.0f);
  EXPECT_EQ(P->Direction, 1) << "a move that goes nowhere keeps the facing";
  // The last edge cell before the corner at 580: 576 is reached after 96
  // ticks in all, then 4 pixels remain.
  while (P->X < 576) Step(*P, 1, 0, false);
  EXPECT_EQ(P->X, 578.0f);
  Step(*P, 1, 0, false);
  EXPECT_EQ(P->X, 580.0f);
  Step(*P, 1, 0, false);
  EXPECT_EQ(P->X, 580.0f);
}

TEST_F(PlayerTest, DrawsAThirdSlowerInTheOpenAndClosesExactlyOnTheFirstEdgeCell) {
  W.Board.HorizontalLine(20, 580, 30, CellEdge);
  auto P = Make();
  FadeIn(*P);
  Step(*P, 1, 0, false);
  Step(*P, 1, 0, false);  // (32, 20)
  EXPECT_FALSE(Step(*P, 0, 1, true));
  EXPECT_TRUE(P->IsDrawing);
  EXPECT_FLOAT_EQ(P->GetSpeed(), 10.0f / 3);
  EXPECT_FLOAT_EQ(P->Y, 20 + 10.0f / 3);
  EXPECT_NE(P->Y, 23.0f) << "the fraction stays until a turn snaps it";
  EXPECT_EQ(Cell(32, 20), CellEdge) << "the start cell stays edge";
  for (int Y = 21; Y <= 23; ++Y) EXPECT_EQ(Cell(32, Y), CellTrail1);
  EXPECT_EQ(P->TrailStartX, 32.0f);
  EXPECT_EQ(P->SafeY, 20.0f);

  EXPECT_FALSE(Step(*P, 0, 1, true));
  EXPECT_FLOAT_EQ(P->Y, 20 + 20.0f / 3);
  // Three pixels to the edge at 30, less than a full step: it stops there.
  EXPECT_TRUE(Step(*P, 0, 1, true));
  EXPECT_EQ(NearestPixel(P->Y), 30);
  EXPECT_FALSE(P->IsDrawing);
  for (int Y = 21; Y <= 30; ++Y) EXPECT_EQ(Cell(32, Y), CellTrail1) << Y;
  EXPECT_EQ(Cell(32, 31), CellFree);
}

TEST_F(PlayerTest, TheDrawKeyAgainstClaimedAreaOrATrailStartsNothing) {
  auto P = Make();
  FadeIn(*P);
  Step(*P, 1, 0, false);
  Step(*P, 1, 0, false);  // (32, 20)
  EXPECT_FALSE(Step(*P, 0, -1, true));  // the claimed margin above
  EXPECT_FALSE(P->IsDrawing);
  EXPECT_EQ(P->Y, 20.0f);
  W.Board.SetCell(32, 21, CellTrail2);
  EXPECT_FALSE(Step(*P, 0, 1, true));
  EXPECT_FALSE(P->IsDrawing);
  EXPECT_EQ(P->Y, 20.0f);
  EXPECT_EQ(Cell(32, 20), CellEdge);
}

TEST_F(PlayerTest, ATrailStopsShortOfATrailAndCannotTurnBackOnItself) {
  W.Board.HorizontalLine(21, 100, 25, CellTrail2);
  auto P = Make();
  FadeIn(*P);
  Step(*P, 1, 0, false);
  Step(*P, 1, 0, false);
  Step(*P, 0, 1, true);
  const float Y = P->Y;
  EXPECT_FALSE(Step(*P, 0, 1, true));
  EXPECT_EQ(P->Y, Y);
  EXPECT_TRUE(P->IsDrawing);
  EXPECT_FALSE(Step(*P, 0, -1, true));  // back along its own trail
  EXPECT_EQ(P->Y, Y);
  EXPECT_EQ(P->LastDY, 1) << "a blocked move leaves the last direction";
}

TEST_F(PlayerTest, TurningSnapsToEvenPixelsAndClearsTheCellLeftBehind) {
  auto P = Make();
  FadeIn(*P);
  Step(*P, 1, 0, false);
  Step(*P, 1, 0, false);
  Step(*P, 0, 1, true);
  Step(*P, 0, 1, true);  // Y = 26.67, trail down to row 27
  ASSERT_EQ(NearestPixel(P->Y), 27);
  EXPECT_EQ(Cell(32, 27), CellTrail1);
  Step(*P, 1, 0, true);
  // Snapped back to 26: row 27 is trail no more.
  EXPECT_EQ(Cell(32, 27), CellFree);
  EXPECT_EQ(P->Y, 26.0f);
  EXPECT_FLOAT_EQ(P->X, 32 + 10.0f / 3);
  for (int X = 32; X <= 35; ++X) EXPECT_EQ(Cell(X, 26), CellTrail1) << X;

  // A snap forwards (35.33 -> 36) clears nothing.
  Step(*P, 0, 1, true);
  EXPECT_EQ(P->X, 36.0f);
  EXPECT_EQ(Cell(35, 26), CellTrail1);
}

TEST_F(PlayerTest, StartingATrailEndsTheBlinkingAtOnce) {
  auto P = Make();
  FadeIn(*P);
  P->Blinking = true;
  P->BlinkTicks = 70;
  Step(*P, 1, 0, false);
  EXPECT_TRUE(P->Blinking) << "running on the edge keeps the protection";
  Step(*P, 0, 1, true);
  EXPECT_FALSE(P->Blinking);
}

TEST_F(PlayerTest, BlinksHiddenEveryFourthTickFor70Ticks) {
  auto P = Make();
  FadeIn(*P);
  P->Blinking = true;
  P->BlinkTicks = TPlayer::BlinkDuration;
  int Hidden = 0;
  for (int Tick = 1; Tick <= 70; ++Tick) {
    const bool Shown = DrawShows(*P);
    // Ticks 2, 6, 10, ... 66 (remaining 68, 64, ... 4) are hidden.
    EXPECT_EQ(Shown, !(Tick % 4 == 2 && Tick < 70)) << Tick;
    Hidden += Shown ? 0 : 1;
  }
  EXPECT_EQ(Hidden, 17);
  EXPECT_FALSE(P->Blinking);
  EXPECT_TRUE(DrawShows(*P));
}

TEST_F(PlayerTest, ExplosionShowsEachFrameTwoTicksThenRespawnsAtTheSafePoint) {
  auto P = Make();
  FadeIn(*P);
  Step(*P, 1, 0, false);
  Step(*P, 1, 0, false);
  Step(*P, 0, 1, true);
  Step(*P, 0, 1, true);
  ASSERT_TRUE(P->IsDrawing);
  P->IsExploding = true;
  // Exploding: snapping and IsDrawing still work, but it neither moves nor writes.
  const float X = P->X;
  Step(*P, 0, 1, true);
  EXPECT_EQ(P->X, X);
  EXPECT_EQ(Cell(32, 28), CellFree);

  for (int Tick = 0; Tick < 2 * ExplosionFrames; ++Tick) {
    const std::int32_t CX = NearestPixel(P->X), CY = NearestPixel(P->Y);
    P->Draw(W.Buffer, Mask(), {P->TrailStartX, P->TrailStartY});
    EXPECT_FALSE(P->Respawned);
    EXPECT_EQ(P->CurrentImage().Width(), PlayerSize + 2);
    // The test set's frames differ in blue: 40 + 20 * frame before shading.
    const int Frame = Tick / 2;
    const std::uint32_t Shade = Mask().GetShade(CX, CY);
    EXPECT_EQ(GetBValue(W.Buffer.GetPixel(CX, CY)), static_cast<int>(RoundHalfEven((40.0L + 20 * Frame) * (255 - Shade) / 255)))
        << Tick;
  }
  EXPECT_FALSE(DrawShows(*P)) << "the respawn tick paints nothing";
  EXPECT_TRUE(P->Respawned);
  EXPECT_EQ(P->X, 32.0f);
  EXPECT_EQ(P->Y, 20.0f);
  EXPECT_EQ(P->Direction, 1) << "the direction when the trail started";
  EXPECT_TRUE(P->Blinking);
  EXPECT_EQ(P->BlinkTicks, 70);
}

TEST_F(PlayerTest, ExtraLivesAtEach50000UpTo500000) {
  auto P = Make();
  const struct {
    std::int64_t From, To;
    int Lives;
  } Cases[] = {{49000, 52000, 1}, {95000, 105000, 1}, {40000, 160000, 3}, {0, 49999, 0},
               {499999, 500000, 1}, {500000, 2000000, 0}, {0, 600000, 10}, {120000, 60000, 0}};
  for (const auto& C : Cases) {
    P->Score = C.From;
    P->Lives = 2;
    P->ExtraLifeAwarded = false;
    P->SetScore(C.To);
    EXPECT_EQ(P->Score, C.To);
    EXPECT_EQ(P->Lives, 2 + C.Lives) << C.From << " -> " << C.To;
    EXPECT_EQ(P->ExtraLifeAwarded, C.Lives > 0);
  }
  P->SetLives(-1);
  EXPECT_EQ(P->Lives, 0);
  EXPECT_TRUE(P->GameOver);
}

TEST_F(PlayerTest, VanishesIn26TicksAndReappearsAtTheOtherTrailStart) {
  auto P = Make();
  P->StartVanish();
  EXPECT_FALSE(P->Vanishing) << "ignored during the fade-in";
  FadeIn(*P);
  P->StartVanish();
  ASSERT_TRUE(P->Vanishing);
  for (int Tick = 1; Tick <= 25; ++Tick) {
    P->Draw(W.Buffer, Mask(), {300, 200});
    EXPECT_EQ(P->FadeAlpha, 255 - 10 * Tick);
    EXPECT_FALSE(Step(*P, 1, 0, false));
  }
  EXPECT_EQ(P->X, 20.0f);
  P->Draw(W.Buffer, Mask(), {300, 200});
  EXPECT_TRUE(P->Appearing);
  EXPECT_EQ(P->FadeAlpha, 0);
  EXPECT_EQ(P->X, 300.0f);
  EXPECT_EQ(P->SafeY, 200.0f);
  EXPECT_EQ(FadeIn(*P), 26);
}

TEST_F(PlayerTest, RunAndDrawSoundsFollowTheMovementUnlessSoundIsOff) {
  auto P = Make();
  FadeIn(*P);
  Step(*P, 1, 0, false);
  EXPECT_EQ(P->RunSound.State(), TWavePlayer::Playing);
  EXPECT_EQ(P->DrawSound.State(), TWavePlayer::Stopped);
  Step(*P, 0, 1, true);
  EXPECT_EQ(P->RunSound.State(), TWavePlayer::Stopped);
  EXPECT_EQ(P->DrawSound.State(), TWavePlayer::Playing);
  Step(*P, 0, -1, true);  // against its own trail: no movement, silence
  EXPECT_EQ(P->RunSound.State(), TWavePlayer::Stopped);
  EXPECT_EQ(P->DrawSound.State(), TWavePlayer::Stopped);

  W.Settings.SoundOff = true;
  auto Q = Make(1);
  FadeIn(*Q);
  EXPECT_EQ(Q->WarpSound.State(), TWavePlayer::Stopped);
  Step(*Q, -1, 0, false);
  EXPECT_EQ(Q->X, 574.0f);
  EXPECT_EQ(Q->RunSound.State(), TWavePlayer::Stopped);
  Q->SetScore(60000);
  EXPECT_EQ(Q->ExtraLifeSound.State(), TWavePlayer::Stopped);
  W.Settings.SoundOff = false;
  Q->SetScore(110000);
  EXPECT_EQ(Q->ExtraLifeSound.State(), TWavePlayer::Playing);
}

TEST_F(PlayerTest, AtTheBoardsEdgeNothingOutsideIsReadOrWritten) {
  // A board whose free field reaches its outer cells: a marker there must
  // not walk or draw off it (the sanitizer build sees any stray read).
  TMemBoard Open(40, 30);
  Open.HorizontalLine(0, 39, 0, CellEdge);
  for (const TPointF At : {TPointF{0, 0}, TPointF{39, 0}, TPointF{39.4f, 29.5f}}) {
    auto P = Make();
    FadeIn(*P);
    P->X = At.X;
    P->Y = At.Y;
    for (const auto& [DX, DY] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{1, 0}, std::pair{0, 1}})
      for (int Tick = 0; Tick < 20; ++Tick) {
        bool Closed = false;
        P->Move(DX, DY, true, Open, Closed);
        // A snap to even pixels may carry it one pixel over (39 -> 40),
        // never further.
        ASSERT_GE(NearestPixel(P->X), 0);
        ASSERT_LE(NearestPixel(P->X), 40);
        ASSERT_GE(NearestPixel(P->Y), 0);
        ASSERT_LE(NearestPixel(P->Y), 30);
      }
  }
}

TEST_F(PlayerTest, AMissingOrShortImageSetShowsTheBoxAndDrawsNothing) {
  auto P = Make(0, "no_such_set");
  ASSERT_EQ(W.Boxes.Texts(), std::vector<std::string>{"No ImageSet \"no_such_set\" was found!"});
  EXPECT_EQ(P->CurrentImage().Width(), 0);
  EXPECT_EQ(FadeIn(*P), 26);
  P->IsExploding = true;
  P->ExplosionImages.Clear();  // an empty explosion set respawns at once
  EXPECT_FALSE(DrawShows(*P));
  EXPECT_TRUE(P->Respawned);

  // Two direction pictures only: the other directions have no picture.
  auto Q = Make();
  FadeIn(*Q);
  Q->Images.Clear();
  Q->Images.Add(Solid(3, 3, MakeRGBA(255, 255, 255, 255)));
  Q->Images.Add(Solid(3, 3, MakeRGBA(255, 255, 255, 255)));
  Q->Direction = 3;
  EXPECT_EQ(Q->CurrentImage().Width(), 0);
  EXPECT_FALSE(DrawShows(*Q));
}

// A marker drawn into a pocket: its own trail behind, another trail an
// arm's length to either side and ahead. Every move is refused, so after
// StuckLimit ticks of play the count says it must give way; a way out, or
// a marker on the edge, never counts.
TEST_F(PlayerTest, AWalledInDrawingMarkerCountsItsTicksUntilItGivesWay) {
  auto P = Make();
  FadeIn(*P);
  EXPECT_TRUE(P->HasLegalMove(W.Board));
  EXPECT_FALSE(P->CountStuckTick(W.Board)) << "on the edge";
  Step(*P, 1, 0, false);
  Step(*P, 1, 0, false);
  for (int I = 0; I < 3; ++I) Step(*P, 0, 1, true);  // (32, 30), drawing down
  ASSERT_TRUE(P->IsDrawing);
  ASSERT_EQ(NearestPixel(P->X), 32);
  const std::int32_t Y = NearestPixel(P->Y);
  EXPECT_TRUE(P->HasLegalMove(W.Board));
  W.Board.HorizontalLine(28, 36, Y + 2, CellTrail2);  // ahead
  EXPECT_TRUE(P->HasLegalMove(W.Board)) << "left and right are open";
  W.Board.VerticalLine(21, Y + 2, 30, CellTrail2);  // left
  EXPECT_TRUE(P->HasLegalMove(W.Board)) << "right is open";
  W.Board.VerticalLine(21, Y + 2, 34, CellTrail2);  // right
  EXPECT_FALSE(P->HasLegalMove(W.Board));
  // Whatever the player presses, the marker stays.
  for (const auto& [DX, DY] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{1, 0}, std::pair{0, 1}}) {
    const float X0 = P->X, Y0 = P->Y;
    Step(*P, DX, DY, true);
    EXPECT_EQ(NearestPixel(P->X), NearestPixel(X0));
    EXPECT_EQ(NearestPixel(P->Y), NearestPixel(Y0));
  }
  ASSERT_FALSE(P->HasLegalMove(W.Board));

  for (int Tick = 1; Tick < TPlayer::StuckLimit; ++Tick) ASSERT_FALSE(P->CountStuckTick(W.Board)) << Tick;
  // A way out on the last tick starts the count afresh.
  W.Board.SetCell(34, Y, CellFree);
  W.Board.SetCell(35, Y, CellFree);
  EXPECT_TRUE(P->HasLegalMove(W.Board));
  EXPECT_FALSE(P->CountStuckTick(W.Board));
  EXPECT_EQ(P->StuckTicks, 0);
  W.Board.SetCell(34, Y, CellTrail2);
  for (int Tick = 1; Tick < TPlayer::StuckLimit; ++Tick) ASSERT_FALSE(P->CountStuckTick(W.Board)) << Tick;
  EXPECT_TRUE(P->CountStuckTick(W.Board));
  // An exploding marker is already giving way.
  P->IsExploding = true;
  EXPECT_FALSE(P->CountStuckTick(W.Board));
  EXPECT_EQ(P->StuckTicks, 0);
}

}  // namespace
