#include "board/MemBoard.h"
#include "BoardTestUtil.h"

#include <gtest/gtest.h>

TEST(MemBoardGridTest, NewBoardIsFreeAndColumnMajor) {
  TMemBoard Board(7, 5);
  EXPECT_EQ(Board.Width, 7);
  EXPECT_EQ(Board.Height, 5);
  EXPECT_EQ(CountCells(Board, CellFree), 35);

  Board.SetCell(3, 4, CellTrail2);
  Board.SetCell(6, 0, CellEdge);
  EXPECT_EQ(Board.GetCell(3, 4), CellTrail2);
  EXPECT_EQ(Board.GetCell(4, 3), CellFree);
  // Column x holds Height contiguous cells.
  EXPECT_EQ(Board.Column(3)[4], CellTrail2);
  EXPECT_EQ(Board.Data()[3 * 5 + 4], CellTrail2);
  EXPECT_EQ(Board.Data()[6 * 5 + 0], CellEdge);
  EXPECT_EQ(Board.CellIndex(6, 0), 30u);
}

TEST(MemBoardGridTest, StartingBoard) {
  const TMemBoard Board = MakeLevelBoard();
  EXPECT_EQ(Board.GetCell(0, 0), CellClaimed);
  EXPECT_EQ(Board.GetCell(20, 20), CellEdge);
  EXPECT_EQ(Board.GetCell(580, 530), CellEdge);
  EXPECT_EQ(Board.GetCell(21, 21), CellFree);
  EXPECT_EQ(Board.GetCell(581, 300), CellClaimed);
  EXPECT_EQ(Board.GetCell(599, 549), CellClaimed);

  // 559 x 509 free cells; the border outline of 561 x 511 cells has
  // 2 * 561 + 2 * 509 cells; the margin is the rest of 330,000.
  EXPECT_EQ(CountCells(Board, CellFree), 284531);
  EXPECT_EQ(CountCells(Board, CellEdge), 2140);
  EXPECT_EQ(CountCells(Board, CellClaimed), 330000 - 284531 - 2140);
  EXPECT_TRUE(BoardMatches(Board, StartingCell));
}

TEST(MemBoardGridTest, LinesInEitherOrder) {
  TMemBoard Forward(GameWidth, GameHeight);
  TMemBoard Reversed(GameWidth, GameHeight);
  Forward.HorizontalLine(20, 580, 100, CellTrail1);
  Reversed.HorizontalLine(580, 20, 100, CellTrail1);
  Forward.VerticalLine(30, 500, 7, CellEdge);
  Reversed.VerticalLine(500, 30, 7, CellEdge);
  EXPECT_TRUE(BoardMatches(Reversed, [&](std::int32_t X, std::int32_t Y) { return Forward.GetCell(X, Y); }));
  // Exactly the cells between the ends, both ends included.
  EXPECT_TRUE(BoardMatches(Reversed, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    if (X == 7 && Inside(Y, 30, 500)) return CellEdge;
    if (Y == 100 && Inside(X, 20, 580)) return CellTrail1;
    return CellFree;
  }));

  TMemBoard Single(5, 5);
  Single.HorizontalLine(2, 2, 3, CellClaimed);
  Single.VerticalLine(4, 4, 0, CellTrail2);
  EXPECT_EQ(CountCells(Single, CellFree), 23);
  EXPECT_EQ(Single.GetCell(2, 3), CellClaimed);
  EXPECT_EQ(Single.GetCell(0, 4), CellTrail2);
}

TEST(MemBoardGridTest, LinesReachingPastTheBoardAreCut) {
  TMemBoard Board(6, 4);
  Board.HorizontalLine(-3, 2, 1, CellEdge);
  Board.HorizontalLine(9, 4, 2, CellEdge);
  Board.VerticalLine(-2, 10, 3, CellTrail1);
  Board.HorizontalLine(0, 5, 4, CellEdge);   // row outside
  Board.VerticalLine(0, 3, -1, CellEdge);    // column outside
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    if (X == 3) return CellTrail1;
    if ((Y == 1 && X <= 2) || (Y == 2 && X >= 4)) return CellEdge;
    return CellFree;
  }));
}

TEST(MemBoardClearTrailsTest, ClearsChosenTrailsAndReportsTheirBox) {
  TMemBoard Board = MakeLevelBoard();
  Board.VerticalLine(50, 80, 100, CellTrail1);
  Board.HorizontalLine(200, 250, 300, CellTrail2);
  Board.SetCell(400, 400, CellTrail1Marked);  // only 4 and 5 are trails

  TRect Dirty{};
  Board.ClearTrails(true, false, Dirty);
  EXPECT_EQ(Dirty, (TRect{97, 47, 103, 83}));
  EXPECT_EQ(CountCells(Board, CellTrail1), 0);
  EXPECT_EQ(CountCells(Board, CellTrail2), 51);
  EXPECT_EQ(Board.GetCell(100, 65), CellFree);

  Board.ClearTrails(false, true, Dirty);
  EXPECT_EQ(Dirty, (TRect{197, 297, 253, 303}));
  EXPECT_EQ(CountCells(Board, CellTrail2), 0);
  EXPECT_EQ(Board.GetCell(400, 400), CellTrail1Marked);
  Board.SetCell(400, 400, CellFree);
  EXPECT_TRUE(BoardMatches(Board, StartingCell));
}

TEST(MemBoardClearTrailsTest, BoxSpansBothTrailsWhateverTheColumnOrder) {
  // The topmost cell lies in a later column than the bottommost one.
  TMemBoard Board(20, 50);
  Board.SetCell(3, 40, CellTrail2);
  Board.SetCell(10, 5, CellTrail1);
  Board.SetCell(12, 9, CellTrail1);
  TRect Dirty{};
  Board.ClearTrails(true, true, Dirty);
  EXPECT_EQ(Dirty, (TRect{0, 2, 15, 43}));
  EXPECT_EQ(CountCells(Board, CellFree), 1000);
}

TEST(MemBoardClearTrailsTest, NothingClearedGivesTheEmptyBox) {
  TMemBoard Board = MakeLevelBoard();
  TRect Dirty{};
  Board.ClearTrails(true, true, Dirty);
  EXPECT_EQ(Dirty, (TRect{-4, -4, 2, 2}));

  Board.SetCell(300, 300, CellTrail1);
  Board.ClearTrails(false, false, Dirty);
  EXPECT_EQ(Dirty, (TRect{-4, -4, 2, 2}));
  EXPECT_EQ(Board.GetCell(300, 300), CellTrail1);
  Board.ClearTrails(false, true, Dirty);
  EXPECT_EQ(Dirty, (TRect{-4, -4, 2, 2}));
  EXPECT_EQ(Board.GetCell(300, 300), CellTrail1);
}
