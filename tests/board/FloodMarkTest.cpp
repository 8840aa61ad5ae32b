#include "board/MemBoard.h"
#include "BoardTestUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The marking written the obvious way: plain recursion, neighbours in the
// order left, right, up, down. Only for small boards.
struct TReferenceBoard {
  std::int32_t Width;
  std::int32_t Height;
  std::vector<int> Cells;  // [x * Height + y]

  int& At(std::int32_t X, std::int32_t Y) { return Cells[X * Height + Y]; }

  void Enter(std::int32_t X, std::int32_t Y, int MarkCode, int PassCode) {
    int& C = At(X, Y);
    C = C == 4 ? 6 : C == 5 ? 7 : MarkCode;
    const std::int32_t NX[4] = {X - 1, X + 1, X, X};
    const std::int32_t NY[4] = {Y, Y, Y - 1, Y + 1};
    for (int I = 0; I < 4; ++I) {
      if (NX[I] < 0 || NY[I] < 0 || NX[I] >= Width || NY[I] >= Height) continue;
      const int N = At(NX[I], NY[I]);
      if (N == 0 || N == PassCode) Enter(NX[I], NY[I], MarkCode, PassCode);
    }
  }
};

TMemBoard ToBoard(const TReferenceBoard& Ref) {
  TMemBoard Board(Ref.Width, Ref.Height);
  for (std::int32_t X = 0; X < Ref.Width; ++X)
    for (std::int32_t Y = 0; Y < Ref.Height; ++Y)
      Board.SetCell(X, Y, static_cast<std::uint8_t>(Ref.Cells[X * Ref.Height + Y]));
  return Board;
}

// Mark and pass codes for which the recursion ends: the mark is neither free
// nor the pass code, or it is a trail code that turns marked on its second
// visit.
bool RecursionEnds(int MarkCode, int PassCode) {
  if (MarkCode == 0) return false;
  return MarkCode != PassCode || MarkCode == 4 || MarkCode == 5;
}

void CompareOnRandomBoards(std::uint32_t Seed, int Rounds, int MaxWidth, int MaxHeight, int FreePercent) {
  std::mt19937 Rng(Seed);
  const int Codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 200, 255};
  const int Passes[] = {PassNone, 256, 260, 0, 1, 2, 3, 4, 5, 6, 7, 8, 255};
  auto Pick = [&](int N) { return static_cast<int>(Rng() % static_cast<std::uint32_t>(N)); };

  for (int Round = 0; Round < Rounds; ++Round) {
    TReferenceBoard Ref;
    Ref.Width = 1 + Pick(MaxWidth);
    Ref.Height = 1 + Pick(MaxHeight);
    Ref.Cells.resize(static_cast<std::size_t>(Ref.Width * Ref.Height));
    for (int& C : Ref.Cells) C = Pick(100) < FreePercent ? 0 : Codes[Pick(10)];

    const int PassCode = Passes[Pick(13)];
    int MarkCode;
    do MarkCode = 1 + Pick(8); while (!RecursionEnds(MarkCode, PassCode));
    const std::int32_t X = Pick(Ref.Width);
    const std::int32_t Y = Pick(Ref.Height);

    TMemBoard Board = ToBoard(Ref);
    const int StartCode = Ref.At(X, Y);
    Ref.Enter(X, Y, MarkCode, PassCode);
    Board.FloodMark(X, Y, static_cast<std::uint8_t>(MarkCode), PassCode);

    const testing::AssertionResult Same = BoardMatches(Board, [&](std::int32_t CX, std::int32_t CY) {
      return static_cast<std::uint8_t>(Ref.At(CX, CY));
    });
    ASSERT_TRUE(Same) << "round " << Round << ": " << Ref.Width << "x" << Ref.Height << " start (" << X << "," << Y
                      << ") holding " << StartCode << ", mark " << MarkCode << ", pass " << PassCode;
  }
}

}  // namespace

TEST(FloodMarkTest, SameAsPlainRecursionOnRandomBoards) {
  // Small boards with few free cells: many little regions, walls of every
  // code, starts on every code.
  CompareOnRandomBoards(1, 20000, 9, 9, 50);
  // Mostly free boards: long runs, pockets and branches.
  CompareOnRandomBoards(2, 3000, 40, 30, 80);
  CompareOnRandomBoards(3, 3000, 40, 30, 65);
}

TEST(FloodMarkTest, StartCellIsRewrittenWhateverItHolds) {
  TMemBoard Board(3, 3);
  Board.VerticalLine(0, 2, 0, CellEdge);
  Board.VerticalLine(0, 2, 2, CellEdge);
  Board.SetCell(1, 0, CellClaimed);
  Board.SetCell(1, 2, CellClaimed);
  Board.SetCell(1, 1, CellEdge);
  Board.FloodMark(1, 1, CellEvilSide, PassNone);
  EXPECT_EQ(Board.GetCell(1, 1), CellEvilSide);
  EXPECT_EQ(CountCells(Board, CellEvilSide), 1);  // walled in: nothing else

  Board.SetCell(1, 1, CellTrail1);
  Board.FloodMark(1, 1, CellEvilSide, PassNone);
  EXPECT_EQ(Board.GetCell(1, 1), CellTrail1Marked);
  Board.SetCell(1, 1, CellTrail2);
  Board.FloodMark(1, 1, CellEvilSide, PassNone);
  EXPECT_EQ(Board.GetCell(1, 1), CellTrail2Marked);
}

TEST(FloodMarkTest, TrailEnteredThroughThePassCodeIsMarked) {
  // A row: free, trail 2, trail 2, free | edge | free.
  TMemBoard Board(6, 1);
  Board.SetCell(1, 0, CellTrail2);
  Board.SetCell(2, 0, CellTrail2);
  Board.SetCell(4, 0, CellEdge);
  Board.FloodMark(0, 0, CellEvilSide, CellTrail2);
  const std::uint8_t Want[6] = {CellEvilSide, CellTrail2Marked, CellTrail2Marked, CellEvilSide, CellEdge, CellFree};
  for (int X = 0; X < 6; ++X) EXPECT_EQ(Board.GetCell(X, 0), Want[X]) << "x " << X;

  // Without the pass code the trail blocks the flood.
  TMemBoard Blocked(6, 1);
  Blocked.SetCell(1, 0, CellTrail2);
  Blocked.FloodMark(0, 0, CellEvilSide, CellTrail1);
  EXPECT_EQ(Blocked.GetCell(1, 0), CellTrail2);
  EXPECT_EQ(Blocked.GetCell(2, 0), CellFree);
}

TEST(FloodMarkTest, PassCodeIsComparedAsAWholeNumber) {
  // 256 + 5 must not match trail code 5 once truncated to a byte.
  TMemBoard Board(3, 1);
  Board.SetCell(1, 0, CellTrail2);
  Board.FloodMark(0, 0, CellEvilSide, 256 + CellTrail2);
  EXPECT_EQ(Board.GetCell(1, 0), CellTrail2);
  EXPECT_EQ(Board.GetCell(2, 0), CellFree);
}

TEST(FloodMarkTest, WholeInnerFieldWithoutStackGrowth) {
  // A deep serpentine region: every column of the inner field joined at
  // alternate ends, the worst case for recursion depth.
  TMemBoard Board = MakeLevelBoard();
  for (std::int32_t X = 22; X < 579; X += 2) {
    if ((X / 2) % 2 == 0)
      Board.VerticalLine(21, 528, X, CellEdge);
    else
      Board.VerticalLine(22, 529, X, CellEdge);
  }
  const std::int64_t Free = CountCells(Board, CellFree);
  Board.FloodMark(21, 21, CellEvilSide, PassNone);
  EXPECT_EQ(CountCells(Board, CellEvilSide), Free);
  EXPECT_EQ(CountCells(Board, CellFree), 0);

  TMemBoard Open = MakeLevelBoard();
  Open.FloodMark(300, 300, CellEvilSide, PassNone);
  EXPECT_EQ(CountCells(Open, CellEvilSide), 284531);
}

TEST(FloodMarkTest, MarkCodesThatWouldNeverSettleMarkTheRegionOnce) {
  // Marking with the free code (or with the pass code itself) would enter
  // the same cells forever; the region is marked once instead.
  TMemBoard Board(5, 3);
  Board.VerticalLine(0, 2, 2, CellEdge);
  Board.SetCell(0, 0, CellEvilSide);
  Board.SetCell(1, 1, CellTrail1);
  Board.FloodMark(0, 1, CellFree, CellEvilSide);
  EXPECT_EQ(Board.GetCell(0, 0), CellFree);
  EXPECT_EQ(Board.GetCell(1, 1), CellTrail1);  // not entered: neither free nor the pass code
  EXPECT_EQ(CountCells(Board, CellFree), 5 + 6);
  EXPECT_EQ(CountCells(Board, CellEdge), 3);

  TMemBoard Same(5, 3);
  Same.VerticalLine(0, 2, 2, CellEdge);
  Same.SetCell(1, 2, CellClaimed);
  Same.FloodMark(0, 0, CellClaimed, CellClaimed);
  EXPECT_EQ(CountCells(Same, CellClaimed), 6);
  EXPECT_EQ(CountCells(Same, CellFree), 6);  // right of the wall
}

TEST(FloodMarkTest, StartOutsideTheBoardChangesNothing) {
  TMemBoard Board = MakeLevelBoard();
  Board.FloodMark(-1, 10, CellEvilSide, PassNone);
  Board.FloodMark(10, 550, CellEvilSide, PassNone);
  Board.FloodMark(600, 0, CellEvilSide, PassNone);
  EXPECT_TRUE(BoardMatches(Board, StartingCell));
}
