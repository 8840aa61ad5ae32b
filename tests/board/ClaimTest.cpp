#include "board/MemBoard.h"
#include "BoardTestUtil.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

struct TClaim {
  std::int32_t Count;
  TRect Dirty;
};

// The board's claim with the player off the board: the trails below already
// end on an edge, so the player's cell changes nothing.
TClaim Claim(TMemBoard& Board, std::int32_t EvilX, std::int32_t EvilY, std::uint8_t TrailCode) {
  TClaim Result{0, {}};
  Result.Count = Board.Claim(-1, -1, EvilX, EvilY, TrailCode, Result.Dirty);
  return Result;
}

constexpr TRect NothingDirty{-4, -4, 2, 2};

// Layout after a straight cut at column CutX from top to bottom border that
// claimed the side without the enemy: the remaining free part is framed by
// edges, the rest (old border included) is claimed.
std::uint8_t AfterVerticalCut(std::int32_t X, std::int32_t Y, std::int32_t CutX, bool LeftClaimed) {
  const std::int32_t L = LeftClaimed ? CutX : 20;
  const std::int32_t R = LeftClaimed ? 580 : CutX;
  if (Inside(X, L + 1, R - 1) && Inside(Y, 21, 529)) return CellFree;
  if (OnOutline(X, Y, L, 20, R, 530)) return CellEdge;
  return CellClaimed;
}

}  // namespace

TEST(ClaimTest, StraightCutClaimsTheSideWithoutTheEnemy) {
  TMemBoard Board = MakeLevelBoard();
  Board.VerticalLine(21, 529, 100, CellTrail1);
  const TClaim Result = Claim(Board, 300, 300, CellTrail1);
  EXPECT_EQ(Result.Count, 79 * 509);  // x 21..99, y 21..529
  EXPECT_EQ(Result.Dirty, (TRect{18, 18, 102, 532}));
  // The trail is edge now; the left border and the top and bottom border
  // left of the cut are buried in claimed area.
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) { return AfterVerticalCut(X, Y, 100, true); }));
}

TEST(ClaimTest, PlayersCellBecomesEdgeAndClosesTheCut) {
  // The trail stops one cell short of the bottom border, where the player
  // stands: that cell closes the cut as part of the claim.
  TMemBoard Board = MakeLevelBoard();
  Board.VerticalLine(21, 528, 100, CellTrail1);
  TRect Dirty{};
  EXPECT_EQ(Board.Claim(100, 529, 300, 300, CellTrail1, Dirty), 79 * 509);
  EXPECT_EQ(Dirty, (TRect{18, 18, 102, 532}));
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) { return AfterVerticalCut(X, Y, 100, true); }));

  // Without that cell the enemy's side reaches round the trail's end and
  // nothing is claimed; the trail still turns edge.
  TMemBoard Open = MakeLevelBoard();
  Open.VerticalLine(21, 528, 100, CellTrail1);
  EXPECT_EQ(Open.Claim(-1, -1, 300, 300, CellTrail1, Dirty), 0);
  EXPECT_EQ(Dirty, NothingDirty);
  EXPECT_EQ(Open.GetCell(100, 300), CellEdge);
  EXPECT_EQ(Open.GetCell(100, 529), CellFree);
}

TEST(ClaimTest, EnemySideIsKeptEvenWhenItIsTheSmallerPart) {
  TMemBoard Board = MakeLevelBoard();
  Board.VerticalLine(21, 529, 500, CellTrail2);
  const TClaim Result = Claim(Board, 550, 300, CellTrail2);
  EXPECT_EQ(Result.Count, 479 * 509);  // x 21..499
  EXPECT_EQ(Result.Dirty, (TRect{18, 18, 502, 532}));
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) { return AfterVerticalCut(X, Y, 500, true); }));

  // Mirrored: the enemy left of the cut, the right part claimed.
  TMemBoard Mirror = MakeLevelBoard();
  Mirror.VerticalLine(529, 21, 500, CellTrail1);
  EXPECT_EQ(Claim(Mirror, 40, 40, CellTrail1).Count, 79 * 509);
  EXPECT_TRUE(BoardMatches(Mirror, [](std::int32_t X, std::int32_t Y) { return AfterVerticalCut(X, Y, 500, false); }));
}

TEST(ClaimTest, OtherPlayersTrailIsSplitByTheClaim) {
  // Player 2's unfinished trail runs from the left border along y = 300 to
  // x = 200; player 1's closed trail at x = 100 cuts through it.
  TMemBoard Board = MakeLevelBoard();
  Board.HorizontalLine(21, 200, 300, CellTrail2);
  Board.VerticalLine(21, 529, 100, CellTrail1);
  const TClaim Result = Claim(Board, 400, 300, CellTrail1);
  // The enclosed part of player 2's trail (79 cells) counts as player 1's
  // claim together with the free cells around it.
  EXPECT_EQ(Result.Count, 79 * 509);
  EXPECT_EQ(Result.Dirty, (TRect{18, 18, 102, 532}));
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    if (Y == 300 && Inside(X, 101, 200)) return CellTrail2;  // enemy side: still a trail
    return AfterVerticalCut(X, Y, 100, true);
  }));
}

TEST(ClaimTest, PlayerTwosClaimKeepsPlayerOnesTrailOnTheEnemySide) {
  TMemBoard Board = MakeLevelBoard();
  Board.HorizontalLine(21, 60, 300, CellTrail1);  // player 1, enemy side
  Board.VerticalLine(21, 529, 500, CellTrail2);   // player 2 closes
  const TClaim Result = Claim(Board, 100, 300, CellTrail2);
  EXPECT_EQ(Result.Count, 79 * 509);  // x 501..579
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    if (Y == 300 && Inside(X, 21, 60)) return CellTrail1;
    return AfterVerticalCut(X, Y, 500, false);
  }));
}

TEST(ClaimTest, WholeOwnTrailBecomesEdgeEvenWhereTheFloodReachedIt) {
  // The enemy stands on player 1's trail as it closes: the flood starts on
  // the trail and spreads to both sides, so nothing is claimed, but every
  // trail cell, the flooded one included, becomes edge.
  TMemBoard Board = MakeLevelBoard();
  Board.VerticalLine(21, 529, 100, CellTrail1);
  const TClaim Result = Claim(Board, 100, 300, CellTrail1);
  EXPECT_EQ(Result.Count, 0);
  EXPECT_EQ(Result.Dirty, NothingDirty);
  EXPECT_TRUE(BoardMatches(Board, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    if (X == 100 && Inside(Y, 21, 529)) return CellEdge;
    return StartingCell(X, Y);
  }));
}

TEST(ClaimTest, EnemyOnAnEdgeOrClaimedCellLeavesItFree) {
  // On the left border: the flood still covers the whole field.
  TMemBoard OnEdge = MakeLevelBoard();
  const TClaim EdgeResult = Claim(OnEdge, 20, 300, CellTrail1);
  EXPECT_EQ(EdgeResult.Count, 0);
  EXPECT_EQ(EdgeResult.Dirty, NothingDirty);
  EXPECT_TRUE(BoardMatches(OnEdge, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    return X == 20 && Y == 300 ? CellFree : StartingCell(X, Y);
  }));

  // In the claimed margin: the flood marks only that cell, so the whole
  // inner field is claimed, the border is buried, and the enemy's cell is
  // the one free cell left.
  TMemBoard OnClaimed = MakeLevelBoard();
  const TClaim ClaimedResult = Claim(OnClaimed, 10, 10, CellTrail2);
  EXPECT_EQ(ClaimedResult.Count, 284531);
  EXPECT_EQ(ClaimedResult.Dirty, (TRect{18, 18, 582, 532}));
  EXPECT_TRUE(BoardMatches(OnClaimed, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    return X == 10 && Y == 10 ? CellFree : CellClaimed;
  }));
}

TEST(ClaimTest, ClaimEnclosingNothingReturnsZero) {
  // A fresh board: nothing to claim and nothing changes.
  TMemBoard Fresh = MakeLevelBoard();
  const TClaim FreshResult = Claim(Fresh, 300, 300, CellTrail1);
  EXPECT_EQ(FreshResult.Count, 0);
  EXPECT_EQ(FreshResult.Dirty, NothingDirty);
  EXPECT_TRUE(BoardMatches(Fresh, StartingCell));

  // A trail hugging the top border encloses no free cell; it becomes a
  // second edge line beside the border.
  TMemBoard Hugging = MakeLevelBoard();
  Hugging.HorizontalLine(21, 100, 21, CellTrail1);
  const TClaim Result = Claim(Hugging, 300, 300, CellTrail1);
  EXPECT_EQ(Result.Count, 0);
  EXPECT_EQ(Result.Dirty, NothingDirty);
  EXPECT_TRUE(BoardMatches(Hugging, [](std::int32_t X, std::int32_t Y) -> std::uint8_t {
    if (Y == 21 && Inside(X, 21, 100)) return CellEdge;
    return StartingCell(X, Y);
  }));
}

TEST(ClaimTest, FirstPassRewritesEveryCode) {
  // A single column: the buried-edge pass has no inner cells to look at.
  const std::uint8_t Codes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 255};
  const std::uint8_t AfterTrail1[10] = {3, 1, 0, 3, 1, 3, 1, 5, 8, 255};
  const std::uint8_t AfterTrail2[10] = {3, 1, 0, 3, 3, 1, 4, 1, 8, 255};
  for (const std::uint8_t TrailCode : {CellTrail1, CellTrail2}) {
    TMemBoard Board(1, 10);
    for (int Y = 0; Y < 10; ++Y) Board.SetCell(0, Y, Codes[Y]);
    TRect Dirty{};
    // Counted: the free cell and the other player's unreached trail cell.
    EXPECT_EQ(Board.ClaimUnmarked(TrailCode, Dirty), 2);
    EXPECT_EQ(Dirty, (TRect{-3, -3, 3, 3}));  // only the free cell at (0, 0)
    const std::uint8_t* Want = TrailCode == CellTrail1 ? AfterTrail1 : AfterTrail2;
    for (int Y = 0; Y < 10; ++Y)
      EXPECT_EQ(Board.GetCell(0, Y), Want[Y]) << "code " << int(Codes[Y]) << ", trail " << int(TrailCode);
  }
}

namespace {

// A 5 x 5 board with an edge at the centre (2, 2), claimed cells at the given
// offsets from it and cells that the first pass turns free everywhere else.
// Returns the centre after the claim.
std::uint8_t CentreAfterClaim(std::initializer_list<std::pair<int, int>> ClaimedOffsets) {
  TMemBoard Board(5, 5);
  for (std::int32_t X = 0; X < 5; ++X) Board.VerticalLine(0, 4, X, CellEvilSide);
  Board.SetCell(2, 2, CellEdge);
  for (const auto& [DX, DY] : ClaimedOffsets) Board.SetCell(2 + DX, 2 + DY, CellClaimed);
  TRect Dirty{};
  EXPECT_EQ(Board.ClaimUnmarked(CellTrail1, Dirty), 0);
  return Board.GetCell(2, 2);
}

}  // namespace

TEST(ClaimBuriedEdgeTest, StraightAndDiagonalRules) {
  // Claimed on opposite sides.
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {-1, 0}}), CellClaimed);
  EXPECT_EQ(CentreAfterClaim({{0, 1}, {0, -1}}), CellClaimed);
  // Two sides around a corner plus the diagonal cell opposite that corner.
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {0, 1}, {-1, -1}}), CellClaimed);
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {0, -1}, {-1, 1}}), CellClaimed);
  EXPECT_EQ(CentreAfterClaim({{-1, 0}, {0, 1}, {1, -1}}), CellClaimed);
  EXPECT_EQ(CentreAfterClaim({{-1, 0}, {0, -1}, {1, 1}}), CellClaimed);

  // An edge with free field on a side stays.
  EXPECT_EQ(CentreAfterClaim({{1, 0}}), CellEdge);
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {0, 1}}), CellEdge);
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {0, 1}, {1, 1}}), CellEdge);   // diagonal inside the corner
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {0, 1}, {1, -1}, {-1, 1}}), CellEdge);
  EXPECT_EQ(CentreAfterClaim({{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}), CellEdge);
  EXPECT_EQ(CentreAfterClaim({{1, 0}, {0, -1}, {1, 1}, {-1, -1}}), CellEdge);
}

TEST(ClaimBuriedEdgeTest, EarlierChangesInThePassCount) {
  // (1, 2) is buried by its own neighbours first; the centre then has
  // claimed cells left and right.
  TMemBoard Earlier(5, 5);
  for (std::int32_t X = 0; X < 5; ++X) Earlier.VerticalLine(0, 4, X, CellEvilSide);
  Earlier.SetCell(1, 1, CellClaimed);
  Earlier.SetCell(1, 2, CellEdge);
  Earlier.SetCell(1, 3, CellClaimed);
  Earlier.SetCell(2, 2, CellEdge);
  Earlier.SetCell(3, 2, CellClaimed);
  TRect Dirty{};
  Earlier.ClaimUnmarked(CellTrail1, Dirty);
  EXPECT_EQ(Earlier.GetCell(1, 2), CellClaimed);
  EXPECT_EQ(Earlier.GetCell(2, 2), CellClaimed);

  // Mirrored, the neighbour on the right is only buried after the centre
  // was looked at, so the centre stays an edge.
  TMemBoard Later(5, 5);
  for (std::int32_t X = 0; X < 5; ++X) Later.VerticalLine(0, 4, X, CellEvilSide);
  Later.SetCell(3, 1, CellClaimed);
  Later.SetCell(3, 2, CellEdge);
  Later.SetCell(3, 3, CellClaimed);
  Later.SetCell(2, 2, CellEdge);
  Later.SetCell(1, 2, CellClaimed);
  Later.ClaimUnmarked(CellTrail1, Dirty);
  EXPECT_EQ(Later.GetCell(3, 2), CellClaimed);
  EXPECT_EQ(Later.GetCell(2, 2), CellEdge);
}

TEST(ClaimBuriedEdgeTest, OutermostRingIsNeverBuried) {
  TMemBoard Board(5, 5);
  for (std::int32_t X = 0; X < 5; ++X) Board.VerticalLine(0, 4, X, CellClaimed);
  Board.SetCell(0, 2, CellEdge);
  Board.SetCell(2, 0, CellEdge);
  Board.SetCell(4, 2, CellEdge);
  Board.SetCell(2, 4, CellEdge);
  Board.SetCell(2, 2, CellEdge);
  TRect Dirty{};
  EXPECT_EQ(Board.ClaimUnmarked(CellTrail2, Dirty), 0);
  EXPECT_EQ(Dirty, NothingDirty);
  EXPECT_EQ(Board.GetCell(0, 2), CellEdge);
  EXPECT_EQ(Board.GetCell(2, 0), CellEdge);
  EXPECT_EQ(Board.GetCell(4, 2), CellEdge);
  EXPECT_EQ(Board.GetCell(2, 4), CellEdge);
  EXPECT_EQ(Board.GetCell(2, 2), CellClaimed);
}
