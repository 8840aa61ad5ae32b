// Rendering the board: the shade, the claimed darkening and the two-step
// drop shadow with their rounding, the grey border line, and clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "board/BoardTestUtil.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/FastImaging.h"

namespace {

// The renderer's rules written out pixel by pixel: c = (255 - shade) / 255
// as a float, every product in extended precision, rounded half to even.
std::uint8_t Times(long double V, float C, long double Divisor = 1.0L) {
  return static_cast<std::uint8_t>(std::llrint(V * static_cast<long double>(C) / Divisor));
}
TColorValue Scaled(TColorValue P, float C, long double Divisor) {
  return RGB(Times(GetRValue(P), C, Divisor), Times(GetGValue(P), C, Divisor), Times(GetBValue(P), C, Divisor));
}
bool CellIs(const TMemBoard& Board, std::int32_t X, std::int32_t Y, std::uint8_t Code) {
  return X >= 0 && Y >= 0 && X < Board.Width && Y < Board.Height && Board.GetCell(X, Y) == Code;
}

TColorValue RefPixel(const TMemBoard& Board, const TFastImageBuffer& Back, const TShadowMask& Mask,
                     TColorValue Old, std::int32_t X, std::int32_t Y) {
  if (X == 0 || Y == 0) return RGB(160, 160, 160);
  const std::int32_t Shade = TShadowMask::Covers(X, Y) ? Mask.GetShade(X, Y) : 0;
  const float C = (255.0f - Shade) / 255.0f;
  switch (Board.GetCell(X, Y)) {
    case CellFree: {
      TColorValue T = Scaled(Back.GetPixel(X, Y), C, 1.0L);
      const std::uint8_t Near = Board.GetCell(X - 1, Y - 1);
      if (Near == CellEdge || Near == CellTrail1 || Near == CellTrail2) T = Scaled(T, C, 2.0L);
      if (CellIs(Board, X - 2, Y - 2, CellEdge)) T = Scaled(T, C, 1.5L);
      return T;
    }
    case CellEdge: return RGB(Times(255, C), Times(255, C), Times(255, C));
    case CellClaimed: return Scaled(Back.GetPixel(X, Y), C, 1.35L);
    case CellTrail1: return RGB(Times(192, C), Times(192, C), Times(192, C));
    case CellTrail2: return RGB(Times(172, C), Times(192, C), 0);
    default: return Old;
  }
}

TFastImageBuffer Noise(std::int32_t W, std::int32_t H, std::uint32_t Seed) {
  TFastImageBuffer B(nullptr, W, H);
  for (std::int32_t Y = 0; Y < H; ++Y)
    for (std::int32_t X = 0; X < W; ++X) {
      Seed = Seed * 1664525u + 1013904223u;
      B.SetPixel(X, Y, Seed >> 8);
    }
  return B;
}

TFastImageBuffer Copy(const TFastImageBuffer& B) {
  TFastImageBuffer C(nullptr, 0, 0);
  C.CopyFrom(B);
  return C;
}

class BoardRenderTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { FMask = std::make_unique<TShadowMask>(11); }
  static void TearDownTestSuite() { FMask.reset(); }

  // Renders Rect over a noisy target and checks every target pixel: inside
  // Painted (clipped to the board) against the reference, outside unchanged.
  void ExpectRender(const TMemBoard& Board, const TRect& Rect, const TRect& Painted,
                    const TFastImageBuffer& Back) {
    const TFastImageBuffer Before = Noise(Board.Width, Board.Height, 77);
    TFastImageBuffer Target = Copy(Before);
    Board.Render(Rect, Target, Back, *FMask);
    int Bad = 0;
    for (std::int32_t Y = 0; Y < Board.Height; ++Y)
      for (std::int32_t X = 0; X < Board.Width; ++X) {
        const bool Inside = X >= Painted.Left && X <= Painted.Right && Y >= Painted.Top && Y <= Painted.Bottom;
        const TColorValue Old = Before.GetPixel(X, Y);
        const TColorValue Want = Inside ? RefPixel(Board, Back, *FMask, Old, X, Y) : Old;
        if (Target.GetPixel(X, Y) != Want && Bad++ < 6)
          ADD_FAILURE() << "(" << X << "," << Y << ") code " << int(Board.GetCell(X, Y)) << " is " << std::hex
                        << Target.GetPixel(X, Y) << " not " << Want;
      }
  }

  static std::unique_ptr<TShadowMask> FMask;
};
std::unique_ptr<TShadowMask> BoardRenderTest::FMask;

TMemBoard BusyLevelBoard() {
  TMemBoard Board = MakeLevelBoard();
  Board.VerticalLine(20, 200, 100, CellTrail1);
  Board.HorizontalLine(20, 300, 150, CellTrail2);
  Board.VerticalLine(20, 530, 400, CellEdge);
  for (std::int32_t X = 401; X < 580; ++X) Board.VerticalLine(21, 529, X, CellClaimed);
  Board.SetCell(200, 300, CellEvilSide);
  Board.SetCell(201, 300, CellTrail1Marked);
  Board.SetCell(202, 300, CellTrail2Marked);
  Board.SetCell(203, 300, 200);
  return Board;
}

TEST_F(BoardRenderTest, WholeLevelBoardMatchesTheRulesAtEveryPixel) {
  const TMemBoard Board = BusyLevelBoard();
  ExpectRender(Board, TRect{0, 0, 599, 549}, TRect{0, 0, 599, 549}, Noise(600, 550, 5));
}

TEST_F(BoardRenderTest, RowAndColumnZeroAreGreyWhateverTheirCells) {
  TMemBoard Board = MakeLevelBoard();
  Board.SetCell(0, 10, CellEvilSide);  // even a code that otherwise paints nothing
  Board.SetCell(10, 0, CellTrail2);
  const TFastImageBuffer Back = Noise(600, 550, 6);
  TFastImageBuffer Target = Noise(600, 550, 7);
  Board.Render(TRect{0, 0, 599, 549}, Target, Back, *FMask);
  for (std::int32_t X = 0; X < 600; ++X) ASSERT_EQ(Target.GetPixel(X, 0), RGB(160, 160, 160)) << X;
  for (std::int32_t Y = 0; Y < 550; ++Y) ASSERT_EQ(Target.GetPixel(0, Y), RGB(160, 160, 160)) << Y;
  EXPECT_NE(Target.GetPixel(1, 1), RGB(160, 160, 160));
}

TEST_F(BoardRenderTest, RectanglesAreClippedToTheBoard) {
  const TMemBoard Board = BusyLevelBoard();
  const TFastImageBuffer Back = Noise(600, 550, 8);
  ExpectRender(Board, TRect{-10, -10, 30, 25}, TRect{0, 0, 30, 25}, Back);
  // An empty ClearTrails rectangle: only the corner cells.
  ExpectRender(Board, TRect{-4, -4, 2, 2}, TRect{0, 0, 2, 2}, Back);
  ExpectRender(Board, TRect{590, 540, 5000, 5000}, TRect{590, 540, 599, 549}, Back);
  ExpectRender(Board, TRect{95, 140, 105, 160}, TRect{95, 140, 105, 160}, Back);
  // Wholly outside, or inverted: nothing.
  const TRect Nothing{1, 1, 0, 0};
  ExpectRender(Board, TRect{600, 0, 700, 100}, Nothing, Back);
  ExpectRender(Board, TRect{0, 550, 100, 600}, Nothing, Back);
  ExpectRender(Board, TRect{-20, -20, -1, -1}, Nothing, Back);
  ExpectRender(Board, TRect{50, 50, 49, 60}, Nothing, Back);
  ExpectRender(Board, TRect{50, 50, 60, 49}, Nothing, Back);
  const std::int32_t Min = std::numeric_limits<std::int32_t>::min(), Max = std::numeric_limits<std::int32_t>::max();
  ExpectRender(Board, TRect{Min, Min, Max, Max}, TRect{0, 0, 599, 549}, Back);
}

TEST_F(BoardRenderTest, BothShadowStepsDarkenOnePixel) {
  TMemBoard Board = MakeLevelBoard();
  // A diagonal edge: (52, 52) is free with edges at (51, 51) and (50, 50).
  Board.SetCell(50, 50, CellEdge);
  Board.SetCell(51, 51, CellEdge);
  // Trails cast only the near shadow: (72, 72) has trail 1 at both steps.
  Board.SetCell(70, 70, CellTrail1);
  Board.SetCell(71, 71, CellTrail1);
  // Only the far edge: (92, 92).
  Board.SetCell(90, 90, CellEdge);
  // Player 2's trail casts the near shadow too.
  Board.SetCell(111, 111, CellTrail2);
  TFastImageBuffer Back(nullptr, 600, 550);
  Back.FillRect(TRect{0, 0, 599, 549}, RGB(200, 101, 37));
  TFastImageBuffer Target(nullptr, 600, 550);
  Board.Render(TRect{0, 0, 599, 549}, Target, Back, *FMask);

  auto C = [&](std::int32_t X, std::int32_t Y) { return (255.0f - FMask->GetShade(X, Y)) / 255.0f; };
  auto Chain = [&](std::uint8_t V, std::int32_t X, std::int32_t Y, bool Near, bool Far) {
    const float F = C(X, Y);
    std::uint8_t T = Times(V, F);
    if (Near) T = Times(T, F, 2.0L);
    if (Far) T = Times(T, F, 1.5L);
    return T;
  };
  auto Want = [&](std::int32_t X, std::int32_t Y, bool Near, bool Far) {
    return RGB(Chain(200, X, Y, Near, Far), Chain(101, X, Y, Near, Far), Chain(37, X, Y, Near, Far));
  };
  EXPECT_EQ(Target.GetPixel(52, 52), Want(52, 52, true, true));
  EXPECT_EQ(Target.GetPixel(53, 53), Want(53, 53, false, true));  // far step from (51, 51)
  EXPECT_EQ(Target.GetPixel(72, 72), Want(72, 72, true, false));
  EXPECT_EQ(Target.GetPixel(73, 73), Want(73, 73, false, false));
  EXPECT_EQ(Target.GetPixel(92, 92), Want(92, 92, false, true));
  EXPECT_EQ(Target.GetPixel(91, 91), Want(91, 91, true, false));
  EXPECT_EQ(Target.GetPixel(112, 112), Want(112, 112, true, false));
  EXPECT_EQ(Target.GetPixel(53, 52), Want(53, 52, false, false));  // not diagonal: no shadow
  // The level border casts both steps onto the inner field's first pixels.
  EXPECT_EQ(Target.GetPixel(21, 21), Want(21, 21, true, false));
  EXPECT_EQ(Target.GetPixel(22, 22), Want(22, 22, false, true));
  EXPECT_EQ(Target.GetPixel(21, 30), Want(21, 30, true, false));
  EXPECT_EQ(Target.GetPixel(22, 30), Want(22, 30, false, true));
  // And none of this is the plain shaded background.
  EXPECT_NE(Target.GetPixel(52, 52), Want(52, 52, false, false));
}

TEST_F(BoardRenderTest, UnshadedHalfBrightnessRoundsHalvesToEven) {
  // Where the shade is 0 the factor is exactly 1 and the near shadow halves
  // the background: 1 / 2 = 0.5 gives 0, 5 / 2 = 2.5 gives 2, 255 / 2 =
  // 127.5 gives 128.
  std::int32_t PX = -1, PY = -1;
  for (std::int32_t X = 30; X < 570 && PX < 0; ++X)
    for (std::int32_t Y = 30; Y < 520; ++Y)
      if (FMask->GetShade(X, Y) == 0) {
        PX = X;
        PY = Y;
        break;
      }
  ASSERT_GE(PX, 0) << "the pattern has unshaded patches";
  TMemBoard Board = MakeLevelBoard();
  Board.SetCell(PX - 1, PY - 1, CellTrail2);
  TFastImageBuffer Back(nullptr, 600, 550);
  Back.SetPixel(PX, PY, RGB(1, 5, 255));
  TFastImageBuffer Target(nullptr, 600, 550);
  Board.Render(TRect{PX, PY, PX, PY}, Target, Back, *FMask);
  EXPECT_EQ(Target.GetPixel(PX, PY), RGB(0, 2, 128));
}

TEST_F(BoardRenderTest, FreeCellsNextToTheBoardsEdgeReadNoCellsOutsideIt) {
  // No claimed margin: free cells at x = 1 and y = 1 look two cells up-left,
  // beyond the board; only the near neighbour (inside) counts.
  TMemBoard Board(40, 30);
  Board.SetCell(0, 0, CellEdge);
  Board.SetCell(0, 4, CellTrail1);
  const TFastImageBuffer Back = Noise(40, 30, 9);
  ExpectRender(Board, TRect{0, 0, 39, 29}, TRect{0, 0, 39, 29}, Back);
  TFastImageBuffer Target(nullptr, 40, 30);
  Board.Render(TRect{0, 0, 39, 29}, Target, Back, *FMask);
  const float C11 = (255.0f - FMask->GetShade(1, 1)) / 255.0f;
  EXPECT_EQ(GetRValue(Target.GetPixel(1, 1)), Times(Times(GetRValue(Back.GetPixel(1, 1)), C11), C11, 2.0L));
}

TEST_F(BoardRenderTest, SmallBackgroundsReadBlackAndSmallTargetsAreCut) {
  const TMemBoard Board = BusyLevelBoard();
  const TFastImageBuffer Small = Noise(120, 90, 10);
  ExpectRender(Board, TRect{0, 0, 599, 549}, TRect{0, 0, 599, 549}, Small);
  TFastImageBuffer Tiny(nullptr, 50, 40);
  Board.Render(TRect{0, 0, 599, 549}, Tiny, Small, *FMask);
  const TFastImageBuffer Empty(nullptr, 0, 0);
  TFastImageBuffer Target(nullptr, 600, 550);
  Board.Render(TRect{0, 0, 599, 549}, Target, Empty, *FMask);
  EXPECT_EQ(Target.GetPixel(300, 300), 0u);  // free, black background
  EXPECT_EQ(Target.GetPixel(21, 21), 0u);
  TFastImageBuffer None(nullptr, 0, 0);
  Board.Render(TRect{0, 0, 599, 549}, None, Small, *FMask);
}

TEST_F(BoardRenderTest, BoardsBeyondTheMaskAreUnshadedThere) {
  TMemBoard Board(700, 660);
  const TFastImageBuffer Back = Noise(700, 660, 11);
  ExpectRender(Board, TRect{600, 600, 699, 659}, TRect{600, 600, 699, 659}, Back);
  TFastImageBuffer Target(nullptr, 700, 660);
  Board.Render(TRect{0, 0, 699, 659}, Target, Back, *FMask);
  EXPECT_EQ(Target.GetPixel(680, 100), Back.GetPixel(680, 100));
  EXPECT_EQ(Target.GetPixel(100, 655), Back.GetPixel(100, 655));
}

// The Clear look ---------------------------------------------------------

TEST_F(BoardRenderTest, ClearRepaintsOfAnyRectangleMatchAWholeRepaint) {
  // The game repaints small rectangles over what the last frame left; each
  // pixel must come out as a whole-board repaint paints it, whatever lay
  // under it, and nothing outside the rectangle may change.
  TMemBoard Board = BusyLevelBoard();
  Board.VerticalLine(160, 300, 398, CellTrail2);  // a trail beside claimed ground's edge
  const TFastImageBuffer Back = Noise(600, 550, 21);
  TFastImageBuffer Whole = Noise(600, 550, 22);
  Board.Render(TRect{0, 0, 599, 549}, Whole, Back, *FMask, TClaimedGroundLook::Clear);
  const TRect Rects[] = {{95, 140, 105, 160}, {396, 150, 404, 310}, {-5, -5, 25, 25},
                         {399, 20, 402, 22},  {580, 520, 650, 600}, {199, 299, 204, 301}};
  for (const TRect& R : Rects) {
    const TFastImageBuffer Before = Noise(600, 550, 23);
    TFastImageBuffer Part = Copy(Before);
    Board.Render(R, Part, Back, *FMask, TClaimedGroundLook::Clear);
    int Bad = 0;
    for (std::int32_t Y = 0; Y < 550; ++Y)
      for (std::int32_t X = 0; X < 600; ++X) {
        const bool Inside = X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
        const std::uint8_t Code = Board.GetCell(X, Y);
        const bool Paints = X == 0 || Y == 0 || Code == CellFree || Code == CellEdge || Code == CellClaimed ||
                            Code == CellTrail1 || Code == CellTrail2;
        const TColorValue Want = Inside && Paints ? Whole.GetPixel(X, Y) : Before.GetPixel(X, Y);
        if (Part.GetPixel(X, Y) != Want && Bad++ < 4)
          ADD_FAILURE() << "rect " << R.Left << "," << R.Top << " pixel (" << X << "," << Y << ") code " << int(Code);
      }
  }
}

TEST_F(BoardRenderTest, ClearSetsClaimedGroundApartAndRimsItsEdgesAndTrails) {
  // One flat colour under the whole board, so every difference comes from
  // the cells; lightness as luma, enough to order colours here.
  auto Luma = [](TColorValue C) { return 0.299 * GetRValue(C) + 0.587 * GetGValue(C) + 0.114 * GetBValue(C); };
  auto Spread = [](TColorValue C) {
    const int R = GetRValue(C), G = GetGValue(C), B = GetBValue(C);
    return std::max({R, G, B}) - std::min({R, G, B});
  };
  for (TColorValue Ground : {RGB(0, 0, 0), RGB(230, 40, 20), RGB(255, 255, 255), RGB(40, 160, 90)}) {
    SCOPED_TRACE(Ground);
    TFastImageBuffer Back(nullptr, 600, 550);
    Back.FillRect(TRect{0, 0, 599, 549}, Ground);
    TMemBoard Board = BusyLevelBoard();  // claimed right of the edge at x = 400
    Board.SetCell(300, 400, CellEvilSide);
    TFastImageBuffer Shown = Noise(600, 550, 24);
    const TColorValue KeptByEvilSide = Shown.GetPixel(300, 400);
    Board.Render(TRect{0, 0, 599, 549}, Shown, Back, *FMask, TClaimedGroundLook::Clear);

    for (std::int32_t Y : {60, 250, 480}) {
      // Free ground a few pixels left of the edge against claimed ground a
      // few pixels right of it: darker, however dark the picture.
      EXPECT_LT(Luma(Shown.GetPixel(405, Y)) + 10, Luma(Shown.GetPixel(395, Y))) << Y;
      EXPECT_LE(Spread(Shown.GetPixel(405, Y)), Spread(Shown.GetPixel(395, Y)) / 2 + 1) << Y;
      // The claimed side of the edge is a black line; the edge stays light.
      EXPECT_EQ(Shown.GetPixel(401, Y), 0u) << Y;
      EXPECT_GT(Luma(Shown.GetPixel(400, Y)), 150) << Y;
    }
    // The margin outside the border is claimed ground too.
    EXPECT_LT(Luma(Shown.GetPixel(10, 300)) + 10, Luma(Shown.GetPixel(300, 300)));
    // Trails are the brightest thing on the field, with darkened ground on
    // both sides: player 1's vertical trail at x = 100, player 2's at y = 150.
    for (auto [TrailX, TrailY, SideX, SideY] : {std::array{100, 100, 1, 0}, std::array{250, 150, 0, 1}}) {
      const double Trail = Luma(Shown.GetPixel(TrailX, TrailY));
      for (int Side : {-1, 1}) {
        const TColorValue Rim = Shown.GetPixel(TrailX + Side * SideX, TrailY + Side * SideY);
        EXPECT_GT(Trail, 3 * Luma(Rim) + 60) << TrailX << "," << TrailY;
        EXPECT_LT(Luma(Rim), Luma(Shown.GetPixel(TrailX + 5 * Side * SideX + 30 * SideY, TrailY + 5 * Side * SideY)) + 1);
      }
    }
    // Cells that paint nothing still paint nothing; the grey border stays.
    EXPECT_EQ(Shown.GetPixel(300, 400), KeptByEvilSide);
    EXPECT_EQ(Shown.GetPixel(0, 200), RGB(160, 160, 160));
    EXPECT_EQ(Shown.GetPixel(200, 0), RGB(160, 160, 160));
  }
}

}  // namespace
