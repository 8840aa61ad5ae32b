// The playfield model: one byte per pixel of the play area holding a cell
// code, plus the operations that draw lines into it, remove unfinished trails
// and claim area.
#pragma once

#include "common/CommonTypes.h"
#include "persist/ExtraSettings.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TFastImageBuffer;
class TShadowMask;

// Cell codes. 2, 6 and 7 only exist between FloodMark and ClaimUnmarked of
// one claim; outside a claim the board holds 0, 1, 3, 4 and 5.
inline constexpr std::uint8_t CellFree = 0;          // free field, shows the background
inline constexpr std::uint8_t CellEdge = 1;          // walkable line: border and finished trails
inline constexpr std::uint8_t CellEvilSide = 2;      // free cell the big enemy can reach
inline constexpr std::uint8_t CellClaimed = 3;       // claimed area and the outer margin
inline constexpr std::uint8_t CellTrail1 = 4;        // player 1's unfinished trail
inline constexpr std::uint8_t CellTrail2 = 5;        // player 2's unfinished trail
inline constexpr std::uint8_t CellTrail1Marked = 6;  // player 1's trail reached by the enemy flood
inline constexpr std::uint8_t CellTrail2Marked = 7;  // player 2's trail reached by the enemy flood

// A pass code that matches no cell (cells hold 0..255).
inline constexpr std::int32_t PassNone = -1;

class TMemBoard {
public:
  // All cells free.
  TMemBoard(std::int32_t Width, std::int32_t Height);

  const std::int32_t Width;
  const std::int32_t Height;

  bool Contains(std::int32_t X, std::int32_t Y) const { return X >= 0 && Y >= 0 && X < Width && Y < Height; }
  // Plain access without range checks; callers stay inside the board.
  std::uint8_t GetCell(std::int32_t X, std::int32_t Y) const { return FCells[CellIndex(X, Y)]; }
  void SetCell(std::int32_t X, std::int32_t Y, std::uint8_t Code) { FCells[CellIndex(X, Y)] = Code; }

  // Cells are stored column by column: column X is Height contiguous bytes,
  // cell (X, Y) at X * Height + Y. Renderers and scanners walk the columns
  // directly instead of calling GetCell per pixel.
  std::size_t CellIndex(std::int32_t X, std::int32_t Y) const {
    return static_cast<std::size_t>(X) * static_cast<std::size_t>(Height) + static_cast<std::size_t>(Y);
  }
  const std::uint8_t* Column(std::int32_t X) const { return FCells.data() + CellIndex(X, 0); }
  std::uint8_t* Column(std::int32_t X) { return FCells.data() + CellIndex(X, 0); }
  const std::uint8_t* Data() const { return FCells.data(); }
  std::uint8_t* Data() { return FCells.data(); }

  // Cells (x, Y) for every x between X1 and X2 inclusive, in either order.
  // Parts outside the board are left out.
  void HorizontalLine(std::int32_t X1, std::int32_t X2, std::int32_t Y, std::uint8_t Code);
  // Cells (X, y) for every y between Y1 and Y2 inclusive, in either order.
  void VerticalLine(std::int32_t Y1, std::int32_t Y2, std::int32_t X, std::uint8_t Code);

  // The level's starting board: the border rectangle of edge lines 20 pixels
  // inside the board and the claimed margin outside it. Expects an all-free
  // board.
  void SetUpLevelBoard();

  // Turns the selected players' unfinished trails back into free field.
  // DirtyRect covers the cleared cells widened by 3 on every side, or is
  // (-4, -4, 2, 2) when nothing was cleared.
  void ClearTrails(bool ClearTrail1, bool ClearTrail2, TRect& DirtyRect);

  // Marks the 4-connected region around (X, Y). The start cell is rewritten
  // whatever it holds; a neighbour is entered when it is free or equals
  // PassCode (compared as a whole number, so PassNone matches nothing).
  // Entered trail cells become their marked codes, everything else MarkCode.
  // Runs on a work list, not on the machine stack. A start outside the board
  // does nothing.
  void FloodMark(std::int32_t X, std::int32_t Y, std::uint8_t MarkCode, std::int32_t PassCode);

  // Second step of a claim after FloodMark(enemy, CellEvilSide, other trail):
  // every free cell the flood did not reach becomes claimed, the claiming
  // player's trail (TrailCode 4 or 5) becomes edge, the other trail is
  // claimed where it was enclosed and kept where the flood reached it, and
  // edges buried in claimed area are claimed too. Returns the number of cells
  // newly claimed by the first pass; DirtyRect covers the claimed free cells
  // widened by 3.
  std::int32_t ClaimUnmarked(std::uint8_t TrailCode, TRect& DirtyRect);

  // A whole claim after a player closed a trail (TrailCode 4 or 5): the
  // player's cell (PlayerX, PlayerY) becomes edge when it lies on the board,
  // the enemy's side is flooded from (EvilX, EvilY) through the other
  // player's trail, and the rest is claimed by ClaimUnmarked, whose count and
  // DirtyRect it returns.
  std::int32_t Claim(std::int32_t PlayerX, std::int32_t PlayerY, std::int32_t EvilX, std::int32_t EvilY,
                     std::uint8_t TrailCode, TRect& DirtyRect);

  // Paints the cells of Rect (Right and Bottom inclusive, clipped to the
  // board) into Target: row 0 and column 0 grey 160; free cells show
  // Background darkened by the mask's shade, with a two-pixel drop shadow of
  // edges and trails; claimed cells the same darkened further by 1.35; edges
  // and trails flat colours under the shade; cells of other codes keep the
  // pixel as it is. Pixels outside Target are left out, Background reads
  // black outside itself. Defined in BoardRender.cpp.
  //
  // The Clear look tells claimed from free ground at a glance on every
  // picture: free ground keeps its colours with the deepest darks lifted,
  // claimed ground is dark and nearly grey with a black line along its
  // edges, and trails are bright with a dark rim. Every pixel still depends
  // only on its own background pixel and the cells within two of it, so
  // partial repaints match a full one.
  void Render(TRect Rect, TFastImageBuffer& Target, const TFastImageBuffer& Background,
              const TShadowMask& ShadowMask, TClaimedGroundLook Look = TClaimedGroundLook::Classic) const;

private:
  // One pending step of the exact recursive marking order.
  struct TFloodFrame {
    std::int32_t X;
    std::int32_t Y;
    std::int32_t NextNeighbour;
  };

  // A run still to be filled in column X at row Y, found beside the run
  // FromY0..FromY1 of column FromX (FromX -1: none).
  struct TFloodSeed {
    std::int32_t X;
    std::int32_t Y;
    std::int32_t FromX;
    std::int32_t FromY0;
    std::int32_t FromY1;
  };

  void FloodMarkRuns(std::int32_t X, std::int32_t Y, std::uint8_t PassByte, const std::uint8_t* Mark);
  void FloodMarkOrdered(std::int32_t X, std::int32_t Y, const std::uint8_t* Enter, const std::uint8_t* Mark,
                        bool EnterOnce);

  std::vector<std::uint8_t> FCells;
  // Reused between claims so that a claim does not allocate.
  std::vector<TFloodSeed> FSeeds;
  std::vector<TFloodFrame> FFrames;
};
