// Every actor together for a few thousand ticks on a board with trails and
// claims, played the way the running game calls them: a crude scripted
// pair of players, enemies on pinned seeds, items spawned by the rule.
// Checks what must hold whatever happens: finite positions, only valid
// cell codes, trails only where a marker went. Reads outside the board
// show up under the sanitizer build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "ActorTestUtil.h"
#include "actors/Evil.h"
#include "actors/ItemSpawn.h"
#include "actors/Item_dollar01.h"
#include "actors/Item_heart.h"
#include "actors/Item_speed.h"
#include "actors/Player.h"
#include "actors/SmallEvil_evil01.h"
#include "actors/SmallEvil_evil02.h"
#include "actors/SmallEvil_evil03.h"

using namespace actortest;

namespace {

constexpr int Dirs[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

// Runs along the edges and now and then bites a rectangle out of the field:
// in, sideways, and back out to the edge it came from.
struct TScript {
  TLcg G;  // the script's own generator, so it does not disturb the game's
  int Dir = 1, Left = 0, Phase = 0, Inward = 0, Side = 0;
  bool DrawKey = false;

  void Next(const TPlayer& P, const TMemBoard& Board) {
    if (Phase > 0 && !P.IsDrawing && Phase != 1) Phase = 0;  // closed, or killed
    if (Left-- > 0 && Phase != 3) return;
    if (Phase == 3) {
      if (Left < -200) Phase = 0;  // stuck: give up the bite
      return;
    }
    if (Phase == 1) {
      Phase = 2;
      Dir = Side;
      Left = 3 + G.Below(30);
      return;
    }
    if (Phase == 2) {
      Phase = 3;
      Dir = (Inward + 2) % 4;
      Left = 0;
      return;
    }
    DrawKey = false;
    Dir = G.Below(4);
    Left = 3 + G.Below(20);
    if (G.Below(2) == 0 && !P.IsDrawing) {
      const int X = NearestPixel(P.X), Y = NearestPixel(P.Y);
      for (int D = 0; D < 4; ++D) {
        const int NX = X + Dirs[D][0], NY = Y + Dirs[D][1];
        if (NX > 0 && NY > 0 && NX < Board.Width && NY < Board.Height && Board.GetCell(NX, NY) == CellFree) {
          Phase = 1;
          Inward = Dir = D;
          Side = (D + 1 + 2 * G.Below(2)) % 4;
          DrawKey = true;
          Left = 3 + G.Below(30);
          break;
        }
      }
    }
  }
  int DX() const { return Dirs[Dir][0]; }
  int DY() const { return Dirs[Dir][1]; }
};

TEST(ActorSoak, ThousandsOfTicksKeepTheBoardAndPositionsSane) {
  for (std::uint32_t Seed : {11u, 2024u, 777777u}) {
    TWorld W;
    RandSeed = Seed;
    TPlayer P1({20, 20}, 100, *W.Reader, W.Settings, 0, "Player 1", "player01");
    TPlayer P2({580, 20}, 100, *W.Reader, W.Settings, 1, "Player 2", "player02");
    TPlayer* Players[2] = {&P1, &P2};
    TEvil Evil({300, 275}, "evil_test", 3.0f, 6.0f, 0.05f, *W.Reader);
    std::vector<std::unique_ptr<TSmallEvilBase>> Small;
    for (int I = 0; I < 2; ++I) {
      Small.push_back(std::make_unique<TSmallEvil_evil01>(TPointF{300, 275}, *W.Reader, 29));
      Small.push_back(std::make_unique<TSmallEvil_evil02>(TPointF{300, 275}, *W.Reader, 29));
      Small.push_back(std::make_unique<TSmallEvil_evil03>(TPointF{300, 275}, *W.Reader, 29));
    }
    TItem_speed Speed({0, 0}, W.Settings, *W.Reader);
    TItem_dollar01 Dollar({0, 0}, W.Settings, *W.Reader);
    TItem_heart Heart({0, 0}, W.Settings, *W.Reader);
    TItemBase* Item = nullptr;
    Evil.ChooseTarget(P1, &P2);

    TScript Scripts[2] = {{TLcg{Seed}}, {TLcg{Seed * 3 + 1}}};
    std::vector<std::uint8_t> Visited[2];
    for (auto& V : Visited) V.assign(static_cast<std::size_t>(BoardWidth) * BoardHeight, 0);
    const auto Visit = [&](int K, float X0, float Y0, float X1, float Y1) {
      int AX = NearestPixel(X0), AY = NearestPixel(Y0), BX = NearestPixel(X1), BY = NearestPixel(Y1);
      for (int X = std::min(AX, BX); X <= std::max(AX, BX); ++X)
        for (int Y = std::min(AY, BY); Y <= std::max(AY, BY); ++Y)
          if (X >= 0 && Y >= 0 && X < BoardWidth && Y < BoardHeight) Visited[K][W.Board.CellIndex(X, Y)] = 1;
    };
    int Claims = 0, Deaths = 0, Pickups = 0;

    for (int Tick = 0; Tick < 3000; ++Tick) {
      if (Item != nullptr && Item->Finished) {
        Pickups += Item->Collected;
        Item = nullptr;
      }
      for (int K = 0; K < 2; ++K) {
        TPlayer& P = *Players[K];
        if (P.GameOver) continue;
        Scripts[K].Next(P, W.Board);
        const float X0 = P.X, Y0 = P.Y;
        bool Closed = false;
        P.Move(Scripts[K].DX(), Scripts[K].DY(), Scripts[K].DrawKey, W.Board, Closed);
        Visit(K, X0, Y0, P.X, P.Y);
        if (Closed) {
          TRect Dirty;
          W.Board.FloodMark(NearestPixel(Evil.X), NearestPixel(Evil.Y), CellEvilSide,
                            K == 0 ? CellTrail2 : CellTrail1);
          W.Board.ClaimUnmarked(static_cast<std::uint8_t>(P.TrailCode), Dirty);
          ++Claims;
          TPlayer& Other = *Players[1 - K];
          const int OX = NearestPixel(Other.X), OY = NearestPixel(Other.Y);
          if (OX >= 0 && OY >= 0 && OX < BoardWidth && OY < BoardHeight &&
              W.Board.GetCell(OX, OY) == CellClaimed)
            Other.StartVanish();
        }
      }
      if (Random(100) == 0) Evil.ChooseTarget(P1, &P2);
      Evil.Move(W.Board);
      for (auto& S : Small) {
        if (Random(100) == 0) S->ChooseTarget(P1, &P2);
        S->Move({BoardWidth, BoardHeight});
      }
      if (SpawnChance(false, false, Item != nullptr)) {
        TItemBase* Kinds[] = {nullptr, &Speed, &Dollar, &Dollar, &Dollar, &Heart};
        if (TItemBase* Chosen = Kinds[static_cast<int>(ChooseItemKind(29, P1, &P2))]) {
          TPoint Spot;
          FindFreeSpot(W.Board, Spot);
          Chosen->X = Spot.X;
          Chosen->Y = Spot.Y;
          Chosen->RandomizeLifetime();
          Chosen->Finished = Chosen->Collected = false;
          Item = Chosen;
        }
      }

      if (Item != nullptr) Item->UpdateAndDraw(W.Buffer, P1, false, Mask(), &P2);
      Evil.Draw(W.Buffer, W.Board, false, Mask());
      std::vector<int> Hit;
      if (Evil.HitTrail >= 0) Hit.push_back(Evil.HitTrail);
      for (auto& S : Small) {
        S->UpdateAndDraw(W.Buffer, P1, false, Mask(), &P2);
        if (S->HitPlayer >= 0) Hit.push_back(S->HitPlayer);
      }
      for (int K = 0; K < 2; ++K) {
        TPlayer& P = *Players[K];
        if (!P.GameOver || P.IsExploding)
          P.Draw(W.Buffer, Mask(), {Players[1 - K]->TrailStartX, Players[1 - K]->TrailStartY});
        if (P.Respawned) {
          TRect Dirty;
          W.Board.ClearTrails(K == 0, K == 1, Dirty);
          P.IsExploding = P.IsDrawing = P.Respawned = false;
        }
      }
      for (int K : Hit) {
        TPlayer& P = *Players[K];
        if (P.IsExploding || P.GameOver) continue;
        P.IsExploding = true;
        P.SetLives(P.Lives - 1);
        ++Deaths;
      }

      // The invariants.
      for (TPlayer* P : Players) ASSERT_TRUE(std::isfinite(P->X) && std::isfinite(P->Y)) << Tick;
      ASSERT_TRUE(std::isfinite(Evil.X) && std::isfinite(Evil.Y) && std::isfinite(Evil.VX)) << Tick;
      for (auto& S : Small) {
        ASSERT_TRUE(std::isfinite(S->X) && std::isfinite(S->Y)) << Tick;
        ASSERT_GT(S->X, -50.0f);
        ASSERT_LT(S->X, BoardWidth + 50.0f);
      }
      if (Tick % 50 == 0 || Tick == 2999) {
        const std::uint8_t* Cells = W.Board.Data();
        for (std::size_t I = 0; I < Visited[0].size(); ++I) {
          const std::uint8_t C = Cells[I];
          ASSERT_TRUE(C == CellFree || C == CellEdge || C == CellClaimed || C == CellTrail1 || C == CellTrail2)
              << "cell code " << int(C) << " at tick " << Tick;
          if (C == CellTrail1) {
            ASSERT_TRUE(Visited[0][I]) << "a trail where player 1 never went";
          }
          if (C == CellTrail2) {
            ASSERT_TRUE(Visited[1][I]) << "a trail where player 2 never went";
          }
        }
      }
    }
    EXPECT_GT(Claims, 0) << "the script never closed a trail; the soak proves little";
    EXPECT_GT(Deaths, 0) << "nobody ever died; the soak proves little";
    RecordProperty("claims", Claims);
    RecordProperty("deaths", Deaths);
    RecordProperty("pickups", Pickups);
    std::printf("seed %u: %d claims, %d deaths, %d pickups\n", Seed, Claims, Deaths, Pickups);
  }
}

}  // namespace
