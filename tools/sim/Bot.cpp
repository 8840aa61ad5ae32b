#include "Bot.h"

#include <cmath>

#include "actors/Evil.h"
#include "actors/Player.h"
#include "actors/SmallEvilBase.h"
#include "app/Main.h"
#include "board/MemBoard.h"
#include "game/GameData.h"
#include "game/Level.h"
#include "persist/Config.h"

namespace {
constexpr std::uint16_t EscapeKey = 27;
int Reverse(int Dir) { return Dir ^ 1; }
int Perpendicular(int Dir, bool Other) { return (Dir < 2 ? 2 : 0) + (Other ? 1 : 0); }
}  // namespace

std::uint32_t TBot::Next(std::uint32_t N) {
  // xorshift32: the bot's own numbers, never the game's generator.
  FState ^= FState << 13;
  FState ^= FState >> 17;
  FState ^= FState << 5;
  return FState % N;
}

void TBot::Steer(TMarker& M, const std::array<std::uint16_t, 5>& Keys, std::vector<TInputEvent>& Out) {
  if (M.Left > 0) {
    --M.Left;
    return;
  }
  int Dir = M.Dir;
  bool Draw = M.Draw;
  switch (M.Phase) {
    case 0:  // along the edge (or wherever the marker is)
      Dir = static_cast<int>(Next(4));
      Draw = false;
      M.Left = 5 + static_cast<int>(Next(40));
      M.Phase = Next(2) ? 1 : 0;
      break;
    case 1:  // into the field
      M.FirstDir = static_cast<int>(Next(4));
      M.FirstLength = 3 + static_cast<int>(Next(25));
      Dir = M.FirstDir;
      Draw = true;
      M.Left = M.FirstLength;
      M.Phase = 2;
      break;
    case 2:  // across
      Dir = Perpendicular(M.FirstDir, Next(2) != 0);
      M.Left = 2 + static_cast<int>(Next(25));
      M.Phase = 3;
      break;
    default:  // back to the edge it came from, and beyond if needed
      Dir = Reverse(M.FirstDir);
      M.Left = M.FirstLength + 10;
      M.Phase = 0;
      break;
  }
  if (Dir != M.Dir) {
    if (M.Dir >= 0) Out.push_back(TInputEvent::KeyUp(Keys[static_cast<std::size_t>(M.Dir)]));
    Out.push_back(TInputEvent::KeyDown(Keys[static_cast<std::size_t>(Dir)]));
    M.Dir = Dir;
  }
  if (Draw != M.Draw) {
    Out.push_back(Draw ? TInputEvent::KeyDown(Keys[4]) : TInputEvent::KeyUp(Keys[4]));
    M.Draw = Draw;
  }
}

void TBot::Plan(const TMainForm& Form, const TGameData& Game, std::vector<TInputEvent>& Out) {
  if (FPausedFor > 0) {
    if (--FPausedFor == 0) {
      Out.push_back(TInputEvent::KeyDown(EscapeKey));
      Out.push_back(TInputEvent::KeyUp(EscapeKey));
      FPausedFor = -1;
    }
    return;
  }
  if (!Game.Paused() && Next(1500) == 0) {
    Out.push_back(TInputEvent::KeyDown(EscapeKey));
    Out.push_back(TInputEvent::KeyUp(EscapeKey));
    FPausedFor = 5 + static_cast<int>(Next(60));
    return;
  }
  const auto& K = Form.Config()->Keys;
  for (int P = 0; P < (Game.TwoPlayers() ? 2 : 1); ++P) {
    const std::size_t B = P == 0 ? TConfig::Player1Keys : TConfig::Player2Keys;
    // Slots: up, down, left, right, draw.
    Steer(FMarkers[static_cast<std::size_t>(P)], {K[B], K[B + 1], K[B + 2], K[B + 3], K[B + 4]}, Out);
  }
}

std::string TGameInvariants::Check(const TGameData& G, bool ScanBoard) {
  if (!G.Level || !G.Level->Board) return "the game has no level";
  const TLevel& L = *G.Level;
  const TMemBoard& Board = *L.Board;
  if (G.LevelNumber != FLevel) {
    FLevel = G.LevelNumber;
    FClaimed = 0;
  }
  if (L.ClaimedCells < FClaimed)
    return "the claimed cells fell from " + std::to_string(FClaimed) + " to " + std::to_string(L.ClaimedCells);
  FClaimed = L.ClaimedCells;
  auto Inside = [&](float X, float Y) {
    return std::isfinite(X) && std::isfinite(Y) && X >= 0 && Y >= 0 && X < static_cast<float>(Board.Width) &&
           Y < static_cast<float>(Board.Height);
  };
  FScores.resize(G.Players.size(), 0);
  for (std::size_t I = 0; I < G.Players.size(); ++I) {
    const TPlayer& P = *G.Players[I];
    const std::string Who = "player " + std::to_string(I + 1);
    if (P.Score < FScores[I])
      return Who + "'s score fell from " + std::to_string(FScores[I]) + " to " + std::to_string(P.Score);
    FScores[I] = P.Score;
    if (P.Lives < 0) return Who + " has " + std::to_string(P.Lives) + " lives";
    if (!Inside(P.X, P.Y)) return Who + " is outside the field";
  }
  if (L.Evil && !Inside(L.Evil->X, L.Evil->Y)) return "the big enemy is outside the field";
  for (std::int32_t I = 0; I < L.SmallEvilCount(); ++I)
    if (!Inside(L.SmallEvil(I).X, L.SmallEvil(I).Y)) return "a small enemy is outside the field";
  if (!ScanBoard) return "";
  // Outside a claim only these codes exist; a trail only while its marker
  // draws or explodes.
  // Branch-free, so the compiler runs it over many cells at once.
  std::uint8_t Bad = 0, Trail1 = 0, Trail2 = 0;
  for (std::int32_t X = 0; X < Board.Width; ++X) {
    const std::uint8_t* C = Board.Column(X);
    for (std::int32_t Y = 0; Y < Board.Height; ++Y) {
      const std::uint8_t V = C[Y];
      Bad |= static_cast<std::uint8_t>((V > CellTrail2) | (V == CellEvilSide));
      Trail1 |= static_cast<std::uint8_t>(V == CellTrail1);
      Trail2 |= static_cast<std::uint8_t>(V == CellTrail2);
    }
  }
  if (Bad) {
    for (std::int32_t X = 0; X < Board.Width; ++X)
      for (std::int32_t Y = 0; Y < Board.Height; ++Y) {
        const std::uint8_t V = Board.GetCell(X, Y);
        if (V > CellTrail2 || V == CellEvilSide)
          return "the cell (" + std::to_string(X) + ", " + std::to_string(Y) + ") holds the code " + std::to_string(V);
      }
  }
  const bool Seen[2] = {Trail1 != 0, Trail2 != 0};
  for (std::size_t I = 0; I < 2; ++I) {
    if (!Seen[I]) continue;
    if (I >= G.Players.size()) return "a trail of player 2 in a one-player game";
    const TPlayer& P = *G.Players[I];
    if (!P.IsDrawing && !P.IsExploding)
      return "a trail of player " + std::to_string(I + 1) + " who neither draws nor explodes";
  }
  return "";
}
