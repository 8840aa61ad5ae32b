// Helpers shared by the board tests.
#pragma once

#include "board/MemBoard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>

inline constexpr std::int32_t GameWidth = 600;
inline constexpr std::int32_t GameHeight = 550;

inline TMemBoard MakeLevelBoard() {
  TMemBoard Board(GameWidth, GameHeight);
  Board.SetUpLevelBoard();
  return Board;
}

inline std::int64_t CountCells(const TMemBoard& Board, std::uint8_t Code) {
  std::int64_t N = 0;
  for (std::int32_t X = 0; X < Board.Width; ++X)
    for (std::int32_t Y = 0; Y < Board.Height; ++Y) N += Board.GetCell(X, Y) == Code ? 1 : 0;
  return N;
}

// Compares every cell with Expected(x, y); reports the first few mismatches.
inline testing::AssertionResult BoardMatches(const TMemBoard& Board,
                                             const std::function<std::uint8_t(std::int32_t, std::int32_t)>& Expected) {
  std::ostringstream Out;
  int Mismatches = 0;
  for (std::int32_t X = 0; X < Board.Width; ++X) {
    for (std::int32_t Y = 0; Y < Board.Height; ++Y) {
      const int Want = Expected(X, Y);
      const int Got = Board.GetCell(X, Y);
      if (Want == Got) continue;
      if (Mismatches < 8) Out << " (" << X << "," << Y << ") is " << Got << " not " << Want << ";";
      ++Mismatches;
    }
  }
  if (Mismatches == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Mismatches << " cells differ:" << Out.str();
}

inline bool Inside(std::int32_t V, std::int32_t Lo, std::int32_t Hi) { return V >= Lo && V <= Hi; }

// The outline of the rectangle (L, T)-(R, B), both corners included.
inline bool OnOutline(std::int32_t X, std::int32_t Y, std::int32_t L, std::int32_t T, std::int32_t R, std::int32_t B) {
  return ((X == L || X == R) && Inside(Y, T, B)) || ((Y == T || Y == B) && Inside(X, L, R));
}

// The level's starting layout, worked out from the geometry: border outline
// (20, 20)-(580, 530), free inside, claimed outside.
inline std::uint8_t StartingCell(std::int32_t X, std::int32_t Y) {
  if (Inside(X, 21, 579) && Inside(Y, 21, 529)) return CellFree;
  if (OnOutline(X, Y, 20, 20, 580, 530)) return CellEdge;
  return CellClaimed;
}

inline std::ostream& operator<<(std::ostream& Out, const TRect& R) {
  return Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
