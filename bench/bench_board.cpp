// Claim timings on the 600 x 550 board.
#include "board/MemBoard.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <utility>

namespace {

TMemBoard LevelBoard() {
  TMemBoard Board(600, 550);
  Board.SetUpLevelBoard();
  return Board;
}

// The enemy's flood covers the whole inner field (285k cells) and both
// passes run over the whole board. Nothing is enclosed, so the board is back
// in its starting state after every iteration.
void BM_FullFieldClaim(benchmark::State& State) {
  TMemBoard Board = LevelBoard();
  for (auto _ : State) {
    Board.FloodMark(300, 300, CellEvilSide, CellTrail2);
    TRect Dirty;
    benchmark::DoNotOptimize(Board.ClaimUnmarked(CellTrail1, Dirty));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FullFieldClaim)->Unit(benchmark::kMicrosecond);

// A 40 x 40 corner cut; each iteration first restores the prepared board,
// whose copy cost BM_BoardCopy shows on its own.
void BM_CornerClaim(benchmark::State& State) {
  TMemBoard Prepared = LevelBoard();
  Prepared.VerticalLine(21, 60, 60, CellTrail1);
  Prepared.HorizontalLine(21, 59, 60, CellTrail1);
  TMemBoard Board = Prepared;
  const std::size_t Bytes = static_cast<std::size_t>(Board.Width) * static_cast<std::size_t>(Board.Height);
  for (auto _ : State) {
    std::memcpy(Board.Data(), Prepared.Data(), Bytes);
    Board.SetCell(60, 20, CellEdge);
    Board.FloodMark(300, 300, CellEvilSide, CellTrail2);
    TRect Dirty;
    const std::int32_t Count = Board.ClaimUnmarked(CellTrail1, Dirty);
    if (Count != 39 * 39) State.SkipWithError("unexpected claim size");
    benchmark::DoNotOptimize(Count);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CornerClaim)->Unit(benchmark::kMicrosecond);

void BM_BoardCopy(benchmark::State& State) {
  const TMemBoard Prepared = LevelBoard();
  TMemBoard Board = Prepared;
  const std::size_t Bytes = static_cast<std::size_t>(Board.Width) * static_cast<std::size_t>(Board.Height);
  for (auto _ : State) {
    std::memcpy(Board.Data(), Prepared.Data(), Bytes);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BoardCopy)->Unit(benchmark::kMicrosecond);

// Only the flood of the whole inner field.
void BM_FloodWholeField(benchmark::State& State) {
  TMemBoard Board = LevelBoard();
  std::uint8_t Mark = CellEvilSide;
  std::uint8_t Other = 8;
  for (auto _ : State) {
    // The field alternates between two codes, each flood passing the other.
    Board.FloodMark(300, 300, Mark, Other);
    std::swap(Mark, Other);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FloodWholeField)->Unit(benchmark::kMicrosecond);

}  // namespace
