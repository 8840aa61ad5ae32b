// Items: the strict pick-up test, lifetimes, the kinds' effects, both
// players in one tick, and the spawn rule checked draw for draw against
// the rule worked through a separate copy of the generator.
#include "actors/ItemSpawn.h"
#include "actors/Item_dollar01.h"
#include "actors/Item_dollar02.h"
#include "actors/Item_dollar03.h"
#include "actors/Item_heart.h"
#include "actors/Item_speed.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ActorTestUtil.h"
#include "actors/Player.h"

using namespace actortest;

namespace {

class ItemTest : public ::testing::Test {
protected:
  ItemTest() {
    P1 = std::make_unique<TPlayer>(TPointF{20, 20}, 2, *W.Reader, W.Settings, 0, "Player 1", "player01");
    P2 = std::make_unique<TPlayer>(TPointF{580, 20}, 2, *W.Reader, W.Settings, 1, "Player 2", "player02");
  }
  TWorld W;
  std::unique_ptr<TPlayer> P1, P2;
};

TEST_F(ItemTest, PickUpNeedsTheCentreStrictlyInsideThePicture) {
  TItem_dollar01 Item({300, 275}, W.Settings, *W.Reader);
  // 15 x 15 at (300, 275): Left 293, Top 268, inside 294..307 x 269..281.
  const struct {
    float X, Y;
    bool Collects;
  } Cases[] = {{293, 275, false}, {293.5f, 275, true}, {294, 275, true}, {308, 275, false}, {307.9f, 275, true},
               {300, 268, false}, {300, 269, true},    {300, 283, false}, {300, 282.5f, true}};
  for (const auto& C : Cases) {
    Item.Finished = Item.Collected = false;
    P1->X = C.X;
    P1->Y = C.Y;
    P1->Score = 0;
    Item.UpdateAndDraw(W.Buffer, *P1, false, Mask(), nullptr);
    EXPECT_EQ(Item.Collected, C.Collects) << C.X << ", " << C.Y;
    EXPECT_EQ(Item.Finished, C.Collects);
    EXPECT_EQ(P1->Score, C.Collects ? 3000 : 0);
  }
}

TEST_F(ItemTest, AnUntouchedItemStaysItsDrawnLifetimeAndFrozenTicksCount) {
  for (std::uint32_t Seed : {1u, 2u, 3u, 1000u}) {
    RandSeed = Seed;
    TItem_heart Item({300, 275}, W.Settings, *W.Reader);
    TLcg G{Seed};
    const int Expected = 150 + G.Below(100);
    EXPECT_EQ(Item.Lifetime, Expected);
    int Ticks = 0;
    while (!Item.Finished && Ticks < 1000) {
      Item.UpdateAndDraw(W.Buffer, *P1, Ticks % 2 == 0, Mask(), P2.get());
      ++Ticks;
    }
    EXPECT_EQ(Ticks, Expected);
    EXPECT_FALSE(Item.Collected);
    Item.UpdateAndDraw(W.Buffer, *P1, false, Mask(), P2.get());
    EXPECT_EQ(Item.Lifetime, 0) << "an expired item does not wrap round to 255";
  }
}

TEST_F(ItemTest, KindsApplyTheirEffectsAndMessages) {
  TItem_speed Speed({0, 0}, W.Settings, *W.Reader);
  TItem_dollar02 Six({0, 0}, W.Settings, *W.Reader);
  TItem_dollar03 Ten({0, 0}, W.Settings, *W.Reader);
  TItem_heart Heart({0, 0}, W.Settings, *W.Reader);
  for (int I = 0; I < 3; ++I) Speed.Collect(*P1);
  EXPECT_EQ(P1->Speed, 6.5f);
  EXPECT_EQ(Speed.Message, "Increased speed to Player 1!");
  EXPECT_TRUE(Speed.Collected);
  P2->Score = 95000;
  Ten.Collect(*P2);
  EXPECT_EQ(P2->Score, 105000);
  EXPECT_EQ(P2->Lives, 3) << "crossing 100,000 gives a life as well";
  EXPECT_EQ(Ten.Message, "10000 bonus to Player 2!");
  Six.Collect(*P1);
  EXPECT_EQ(Six.Message, "6000 bonus to Player 1!");
  Heart.Collect(*P1);
  EXPECT_EQ(P1->Lives, 3);
  EXPECT_EQ(Heart.Message, "Extra life to Player 1!");
  EXPECT_EQ(ItemSoundName("item_dollar02"), "item_dollar.wav");
  EXPECT_EQ(ItemSoundName("item_heart"), "item_heart.wav");
}

TEST_F(ItemTest, BothPlayersInsideCollectInTheSameTick) {
  TItem_dollar01 Item({300, 275}, W.Settings, *W.Reader);
  P1->X = 298;
  P1->Y = 275;
  P2->X = 302;
  P2->Y = 276;
  P1->Score = 49000;
  Item.UpdateAndDraw(W.Buffer, *P1, false, Mask(), P2.get());
  EXPECT_EQ(P1->Score, 52000);
  EXPECT_EQ(P1->Lives, 3);
  EXPECT_EQ(P2->Score, 3000);
  EXPECT_EQ(Item.Message, "3000 bonus to Player 2!");
}

TEST_F(ItemTest, ThePickUpSoundHonoursSoundOff) {
  TItem_dollar01 Item({300, 275}, W.Settings, *W.Reader);
  W.Settings.SoundOff = true;
  Item.Collect(*P1);
  EXPECT_EQ(Item.PickupSound.State(), TWavePlayer::Stopped);
  W.Settings.SoundOff = false;
  Item.Collect(*P1);
  EXPECT_EQ(Item.PickupSound.State(), TWavePlayer::Playing);
  EXPECT_EQ(P1->Score, 6000) << "the effect does not depend on the sound";
}

TEST_F(ItemTest, AnItemWithoutPicturesCannotBeCollected) {
  TItem_heart Item({300, 275}, W.Settings, *W.Reader);
  Item.Images.Clear();
  P1->X = 300;
  P1->Y = 275;
  Item.UpdateAndDraw(W.Buffer, *P1, false, Mask(), nullptr);
  EXPECT_FALSE(Item.Collected);
}

// ---- Spawning ----

// The rule once more, on the separate generator.
TItemKind ReferenceKind(TLcg& G, int Level, const TPlayer& A, const TPlayer* B) {
  const auto Score = [&](std::int64_t M) { return A.Score >= M || (B && B->Score >= M); };
  if (Score(250000) && G.Below(80) == 0) return TItemKind::Dollar03;
  if (Score(100000) && G.Below(40) == 0) return TItemKind::Dollar02;
  if (Score(25000) && G.Below(20) == 0) return TItemKind::Dollar01;
  // The cap as an exact decimal: 0.35 * Level + 4.65 > Speed.
  const auto Below = [&](const TPlayer& P) { return 35 * Level + 465 > std::lround(P.Speed * 100) && P.Speed < 10; };
  if (Below(A) && (!B || Below(*B))) {
    const TPlayer& S = (B && G.Below(2) == 1) ? *B : A;
    if (G.Below(static_cast<int>(std::nearbyint(S.Speed * 6.0))) == 0) return TItemKind::Speed;
  }
  if (A.Lives <= 7 && (!B || B->Lives <= 7)) {
    const TPlayer& H = (B && B->Lives <= A.Lives) ? *B : A;
    if (G.Below(H.Lives * 25 + 25) == 0 && G.Below(static_cast<int>(H.Score / 10000)) == 0) return TItemKind::Heart;
  }
  return TItemKind::None;
}

TEST_F(ItemTest, TheKindRuleDrawsInTheGivenOrderAndNumber) {
  struct TState {
    int Level;
    std::int64_t Score1, Score2;
    float Speed1, Speed2;
    int Lives1, Lives2;
    bool Two;
  };
  const TState States[] = {
      {1, 0, 0, 5.0f, 5.0f, 2, 2, false},          {2, 0, 0, 5.0f, 5.5f, 0, 1, true},
      {11, 30000, 0, 8.5f, 5.0f, 3, 3, true},      {11, 30000, 0, 8.0f, 8.0f, 3, 3, false},
      {29, 260000, 0, 10.0f, 5.0f, 7, 8, true},    {29, 120000, 99999, 9.5f, 9.5f, 1, 4, true},
      {5, 5000, 40000, 5.0f, 6.0f, 5, 5, true},    {20, 2000000, 0, 6.0f, 6.0f, 0, 0, false},
  };
  int Offers[6] = {};
  for (const TState& S : States) {
    P1->Score = S.Score1;
    P2->Score = S.Score2;
    P1->Speed = S.Speed1;
    P2->Speed = S.Speed2;
    P1->Lives = S.Lives1;
    P2->Lives = S.Lives2;
    for (std::uint32_t Seed = 1; Seed <= 3000; ++Seed) {
      RandSeed = Seed;
      TLcg G{Seed};
      const TItemKind Kind = ChooseItemKind(S.Level, *P1, S.Two ? P2.get() : nullptr);
      ASSERT_EQ(Kind, ReferenceKind(G, S.Level, *P1, S.Two ? P2.get() : nullptr)) << S.Level << " seed " << Seed;
      ASSERT_EQ(RandSeed, G.Seed) << "a different number of draws, level " << S.Level << " seed " << Seed;
      ++Offers[static_cast<int>(Kind)];
    }
  }
  for (int K = 1; K < 6; ++K) EXPECT_GT(Offers[K], 0) << "kind " << K << " never offered: the states miss a rule";
}

TEST_F(ItemTest, SpeedAndHeartOffersRespectTheirCaps) {
  RandSeed = 5;
  P1->Speed = 5.0f;  // the cap at level 1 is 5.0 exactly
  P1->Lives = 8;
  for (int Try = 0; Try < 2000; ++Try) EXPECT_EQ(ChooseItemKind(1, *P1, nullptr), TItemKind::None);
  EXPECT_EQ(RandSeed, 5u) << "nothing offered, nothing drawn";
  P1->Speed = 8.5f;  // level 11's cap
  for (int Try = 0; Try < 2000; ++Try) EXPECT_NE(ChooseItemKind(11, *P1, nullptr), TItemKind::Speed);
  P1->Speed = 10.0f;
  for (int Try = 0; Try < 2000; ++Try) EXPECT_NE(ChooseItemKind(29, *P1, nullptr), TItemKind::Speed);
  EXPECT_EQ(SpeedCapHundredths(1), 500);
  EXPECT_EQ(SpeedCapHundredths(2), 535);

  // No lives and under 10,000 points: a heart in one try of 25.
  P1->Speed = 5.0f;
  P1->Lives = 0;
  P1->Score = 9999;
  int Hearts = 0;
  for (int Try = 0; Try < 25000; ++Try) Hearts += ChooseItemKind(1, *P1, nullptr) == TItemKind::Heart;
  EXPECT_NEAR(Hearts, 1000, 120);
}

TEST_F(ItemTest, SpawnChanceDrawsOnlyWhenTheGameRuns) {
  RandSeed = 42;
  EXPECT_FALSE(SpawnChance(true, false, false));
  EXPECT_EQ(RandSeed, 42u);
  int Yes = 0;
  for (int Tick = 0; Tick < 8000; ++Tick) {
    const std::uint32_t Before = RandSeed;
    const bool Chance = SpawnChance(false, false, false);
    TLcg G{Before};
    EXPECT_EQ(Chance, G.Below(80) == 0);
    Yes += Chance;
    const std::uint32_t Again = RandSeed;
    EXPECT_FALSE(SpawnChance(false, true, false));
    EXPECT_FALSE(SpawnChance(false, false, true));
    EXPECT_EQ(DrawsBetween(Again, RandSeed, 2), 2) << "the chance is drawn before the other tests";
    RandSeed = Again;
  }
  EXPECT_NEAR(Yes, 100, 35);
}

TEST_F(ItemTest, FreeSpotSearchFindsASpotClearOfClaimsOrGivesUpAfter101Draws) {
  // Claimed blocks over most of the field.
  for (int X = 21; X < 580; ++X)
    if ((X / 40) % 2 == 0) W.Board.VerticalLine(21, 529, X, CellClaimed);
  for (std::uint32_t Seed = 1; Seed <= 200; ++Seed) {
    RandSeed = Seed;
    TPoint Spot;
    const bool Found = FindFreeSpot(W.Board, Spot);
    TLcg G{Seed};
    TPoint Expected;
    bool ExpectedFound = false;
    for (int Draw = 0; Draw < 101 && !ExpectedFound; ++Draw) {
      Expected = {G.Below(BoardWidth), G.Below(BoardHeight)};
      ExpectedFound = true;
      for (const TPoint D : {TPoint{0, 0}, TPoint{-10, -10}, TPoint{10, -10}, TPoint{-10, 10}, TPoint{10, 10}})
        ExpectedFound = ExpectedFound && W.Board.GetCell(Expected.X + D.X, Expected.Y + D.Y) == CellFree;
    }
    ASSERT_EQ(Found, ExpectedFound);
    ASSERT_EQ(Spot, Expected);
    ASSERT_EQ(RandSeed, G.Seed);
  }
  TMemBoard Full(BoardWidth, BoardHeight);
  Full.HorizontalLine(0, 599, 0, CellClaimed);
  for (int X = 0; X < BoardWidth; ++X) Full.VerticalLine(0, BoardHeight - 1, X, CellClaimed);
  RandSeed = 7;
  TPoint Spot;
  EXPECT_FALSE(FindFreeSpot(Full, Spot));
  EXPECT_EQ(DrawsBetween(7, RandSeed), 202);
  // A free spot near the board's edge: the corner tests outside count as
  // not free and read nothing.
  TMemBoard Open(BoardWidth, BoardHeight);
  for (int Try = 0; Try < 50; ++Try)
    if (FindFreeSpot(Open, Spot)) {
      EXPECT_GE(Spot.X, 10);
      EXPECT_LT(Spot.X, BoardWidth - 10);
    }

}

}  // namespace
