// The Clear look must tell claimed from free ground on every level picture
// and every shade pattern, also for a player who cannot tell red from green:
// nearly every pair of claimed and free pixels a few pixels apart across an
// edge has the claimed one darker by a step the eye sees. Trails must stand
// out from the ground around them. The Classic look is measured alongside
// for the table the test prints; it is the design's and is not judged.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "game/LevelTable.h"
#include "gfx/FastImaging.h"
#include "pak/PakReader.h"
#include "tools/CieLab.h"

namespace {

constexpr std::int32_t LookBoardW = 600;
constexpr std::int32_t LookBoardH = 550;
// A step of 5 in CIE L* is plainly seen side by side (about 2 to 5 times a
// just noticeable difference).
constexpr double SeenStep = 5.0;
constexpr double RequiredShare = 0.97;
// Spacing of the edge grid the boards are cut into.
constexpr std::int32_t GridStep = 40;
// Shade patterns the test runs over, spread across the 19.
constexpr std::array<std::int32_t, 4> MaskPatterns = {0, 6, 12, 18};

// Linear light after a simulated deuteranopia (Machado, Oliveira and
// Fernandes 2009, severity 1), held to 0..1.
std::array<double, 3> Deuteranope(double R, double G, double B) {
  auto Clamp = [](double V) { return std::clamp(V, 0.0, 1.0); };
  return {Clamp(0.367322 * R + 0.860646 * G - 0.227968 * B), Clamp(0.280085 * R + 0.672501 * G + 0.047413 * B),
          Clamp(-0.011820 * R + 0.042940 * G + 0.968881 * B)};
}

double LightnessOfLinear(double R, double G, double B) {
  return 116 * LabCurve(0.2126 * R + 0.7152 * G + 0.0722 * B) - 16;
}

// L* of a platform colour as seen normally or by a deuteranope.
double SeenLightness(TColorValue C, bool Deutan) {
  const double R = SrgbToLinear(GetRValue(C)), G = SrgbToLinear(GetGValue(C)), B = SrgbToLinear(GetBValue(C));
  if (!Deutan) return LightnessOfLinear(R, G, B);
  const auto D = Deuteranope(R, G, B);
  return LightnessOfLinear(D[0], D[1], D[2]);
}

// WCAG contrast ratio of two colours, 1 (same) to 21 (black on white).
double ContrastRatio(TColorValue A, TColorValue B) {
  auto Lum = [](TColorValue C) {
    return 0.2126 * SrgbToLinear(GetRValue(C)) + 0.7152 * SrgbToLinear(GetGValue(C)) +
           0.0722 * SrgbToLinear(GetBValue(C));
  };
  const double La = Lum(A), Lb = Lum(B);
  return (std::max(La, Lb) + 0.05) / (std::min(La, Lb) + 0.05);
}

bool OnGrid(std::int32_t V) { return V >= 20 && (V - 20) % GridStep == 0; }

// The level board cut by edges into squares of GridStep, claimed and free in a
// checkerboard (Phase 0 or 1 says which), as claims leave ground: every
// claimed square walled off from the free ones by an edge line.
TMemBoard Patchwork(std::int32_t Phase) {
  TMemBoard Board(LookBoardW, LookBoardH);
  Board.SetUpLevelBoard();
  for (std::int32_t X = 21; X < LookBoardW - 21; ++X)
    for (std::int32_t Y = 21; Y < LookBoardH - 21; ++Y) {
      if (OnGrid(X) || OnGrid(Y)) {
        Board.SetCell(X, Y, CellEdge);
        continue;
      }
      const std::int32_t Square = (X - 20) / GridStep + (Y - 20) / GridStep;
      if (Square % 2 == Phase) Board.SetCell(X, Y, CellClaimed);
    }
  return Board;
}

struct TOrderCount {
  std::int64_t Right = 0, All = 0;
  void Add(const TOrderCount& O) {
    Right += O.Right;
    All += O.All;
  }
  double Share() const { return All ? static_cast<double>(Right) / static_cast<double>(All) : 0; }
};

// Every pair of a claimed pixel 2 to 4 pixels from an edge line and a free
// pixel 1 to 3 pixels from it on the other side, along rows and columns,
// away from where lines cross. The claimed pixel right beside the edge is
// left out: in the Clear look it is the black border line, not ground.
TOrderCount CountOrdered(const TMemBoard& Board, const TFastImageBuffer& Shown, bool Deutan) {
  std::vector<double> L(static_cast<std::size_t>(LookBoardW) * LookBoardH);
  for (std::int32_t Y = 0; Y < LookBoardH; ++Y)
    for (std::int32_t X = 0; X < LookBoardW; ++X)
      L[static_cast<std::size_t>(Y) * LookBoardW + X] = SeenLightness(Shown.GetPixel(X, Y), Deutan);
  auto At = [&](std::int32_t X, std::int32_t Y) { return L[static_cast<std::size_t>(Y) * LookBoardW + X]; };
  TOrderCount Count;
  // One crossing of the edge at E along a row (Vertical false) or column.
  auto Across = [&](std::int32_t E, std::int32_t Along, bool Vertical) {
    auto CellAt = [&](std::int32_t D) {
      return Vertical ? Board.GetCell(Along, E + D) : Board.GetCell(E + D, Along);
    };
    auto Light = [&](std::int32_t D) { return Vertical ? At(Along, E + D) : At(E + D, Along); };
    for (std::int32_t Side : {-1, 1}) {
      if (CellAt(Side * 2) != CellClaimed || CellAt(-Side) != CellFree) continue;
      for (std::int32_t A = 2; A <= 4; ++A)
        for (std::int32_t B = 1; B <= 3; ++B) {
          ++Count.All;
          if (Light(-Side * B) - Light(Side * A) >= SeenStep) ++Count.Right;
        }
    }
  };
  auto FarFromCrossing = [](std::int32_t V) {
    const std::int32_t Off = (V - 20) % GridStep;
    return Off > 5 && Off < GridStep - 5;
  };
  for (std::int32_t Line = 20 + GridStep; Line < LookBoardW - 21; Line += GridStep)
    for (std::int32_t Y = 21; Y < LookBoardH - 21; ++Y)
      if (FarFromCrossing(Y)) Across(Line, Y, false);
  for (std::int32_t Line = 20 + GridStep; Line < LookBoardH - 21; Line += GridStep)
    for (std::int32_t X = 21; X < LookBoardW - 21; ++X)
      if (FarFromCrossing(X)) Across(Line, X, true);
  return Count;
}

TFastImageBuffer RenderedBoard(const TMemBoard& Board, const TFastImageBuffer& Picture, const TShadowMask& Mask,
                               TClaimedGroundLook Look) {
  TFastImageBuffer Out(nullptr, LookBoardW, LookBoardH);
  Board.Render({0, 0, LookBoardW - 1, LookBoardH - 1}, Out, Picture, Mask, Look);
  return Out;
}

TFastImageBuffer FlatLookPicture(TColorValue C) {
  TFastImageBuffer B(nullptr, LookBoardW, LookBoardH);
  B.FillRect({0, 0, LookBoardW - 1, LookBoardH - 1}, C);
  return B;
}

const TShadowMask& MaskOf(std::int32_t Pattern) {
  static std::vector<std::unique_ptr<TShadowMask>> Masks(TShadowMask::PatternCount);
  auto& M = Masks[static_cast<std::size_t>(Pattern)];
  if (!M) M = std::make_unique<TShadowMask>(Pattern);
  return *M;
}

std::vector<std::string> LevelPictures() {
  std::set<std::string> Names;
  for (std::int32_t N = 1; N <= LevelCount; ++N) Names.insert(LevelInfo(N).Background);
  return {Names.begin(), Names.end()};
}

TFastImageBuffer LoadLevelPicture(const std::string& Name) {
  static const TPakFileReadable Pak(VYRN_GAME_PAK);
  TFastImageBuffer Picture(nullptr, 1, 1);
  auto Stream = Pak.GetStream(Name);
  if (Stream) Picture.LoadJpegFromStream(*Stream);
  return Picture;
}

}  // namespace

TEST(ClaimedGroundLookTest, DeuteranopiaKeepsGreyAndMergesRedWithGreen) {
  // Greys pass unchanged; a pure red and a green of the same lightness for
  // a normal eye come out far closer in hue for the deuteranope.
  for (std::uint8_t V : {0, 60, 128, 255})
    EXPECT_NEAR(SeenLightness(RGB(V, V, V), true), SeenLightness(RGB(V, V, V), false), 0.05) << int(V);
  const auto Red = Deuteranope(1, 0, 0), Green = Deuteranope(0, SrgbToLinear(150), 0);
  EXPECT_NEAR(Red[0] / Red[1], Green[0] / Green[1], 0.2);
  EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x777777, 0x777777), 1.0, 1e-12);
}

TEST(ClaimedGroundLookTest, CountSeesEveryCrossingAndTheStepOnFlatGround) {
  // Flat mid grey with no shade: every pair has the same two colours, so
  // the share is all or nothing, and the number of pairs is what the grid
  // gives (9 per crossing, each line crossed once per row or column).
  const TFastImageBuffer Grey = FlatLookPicture(0x808080);
  const TShadowMask& Mask = MaskOf(0);
  const TMemBoard Board = Patchwork(0);
  const TOrderCount Clear = CountOrdered(Board, RenderedBoard(Board, Grey, Mask, TClaimedGroundLook::Clear), false);
  std::int64_t Rows = 0;
  for (std::int32_t Y = 21; Y < LookBoardH - 21; ++Y)
    if ((Y - 20) % GridStep > 5 && (Y - 20) % GridStep < GridStep - 5) ++Rows;
  std::int64_t Columns = 0;
  for (std::int32_t X = 21; X < LookBoardW - 21; ++X)
    if ((X - 20) % GridStep > 5 && (X - 20) % GridStep < GridStep - 5) ++Columns;
  const std::int64_t VerticalLines = (LookBoardW - 42) / GridStep, HorizontalLines = (LookBoardH - 42) / GridStep;
  EXPECT_EQ(Clear.All, 9 * (Rows * VerticalLines + Columns * HorizontalLines));
  EXPECT_GT(Clear.Share(), 0.0);

  // A board that claims nothing gives no pairs; a look that did not darken
  // claimed ground would order none of them.
  TMemBoard Empty(LookBoardW, LookBoardH);
  Empty.SetUpLevelBoard();
  EXPECT_EQ(CountOrdered(Empty, RenderedBoard(Empty, Grey, Mask, TClaimedGroundLook::Clear), false).All, 0);
  TFastImageBuffer Same = RenderedBoard(Board, Grey, Mask, TClaimedGroundLook::Clear);
  for (std::int32_t Y = 0; Y < LookBoardH; ++Y)
    for (std::int32_t X = 0; X < LookBoardW; ++X)
      if (Board.GetCell(X, Y) == CellClaimed) Same.SetPixel(X, Y, 0xFFFFFF);
  EXPECT_EQ(CountOrdered(Board, Same, false).Right, 0);
}

TEST(ClaimedGroundLookTest, ClearOrdersClaimedBelowFreeOnEveryPictureAndShade) {
  const std::vector<std::string> Pictures = LevelPictures();
  ASSERT_EQ(Pictures.size(), 15u);
  std::printf("share of nearby claimed/free pairs with claimed darker by >= %.0f L* (%zu shade patterns)\n",
              SeenStep, MaskPatterns.size());
  std::printf("%-20s %9s %9s %9s %9s %9s\n", "picture", "classic", "cl.deut", "clear", "clr.deut", "clr.min");
  for (const std::string& Name : Pictures) {
    SCOPED_TRACE(Name);
    const TFastImageBuffer Picture = LoadLevelPicture(Name);
    ASSERT_EQ(Picture.Width(), LookBoardW);
    ASSERT_EQ(Picture.Height(), LookBoardH);
    TOrderCount Total[2][2];  // [look][deutan]
    double WorstClear = 1;
    for (std::int32_t Pattern : MaskPatterns) {
      const TShadowMask& Mask = MaskOf(Pattern);
      for (std::int32_t Phase : {0, 1}) {
        const TMemBoard Board = Patchwork(Phase);
        for (TClaimedGroundLook Look : {TClaimedGroundLook::Classic, TClaimedGroundLook::Clear}) {
          const TFastImageBuffer Shown = RenderedBoard(Board, Picture, Mask, Look);
          for (bool Deutan : {false, true}) {
            const TOrderCount C = CountOrdered(Board, Shown, Deutan);
            Total[static_cast<int>(Look)][Deutan].Add(C);
            if (Look == TClaimedGroundLook::Clear) {
              WorstClear = std::min(WorstClear, C.Share());
              EXPECT_GE(C.Share(), RequiredShare)
                  << "shade pattern " << Pattern << ", phase " << Phase << (Deutan ? ", deuteranopia" : "");
            }
          }
        }
      }
    }
    std::printf("%-20s %8.1f%% %8.1f%% %8.1f%% %8.1f%% %8.1f%%\n", Name.c_str(), 100 * Total[0][0].Share(),
                100 * Total[0][1].Share(), 100 * Total[1][0].Share(), 100 * Total[1][1].Share(), 100 * WorstClear);
  }
}

TEST(ClaimedGroundLookTest, ClearTrailsStandOutFromTheGroundBesideThem) {
  // Both players' trails laid across the whole field on every picture; each
  // trail pixel against the free ground right above and below it.
  constexpr double MinRatio = 3.0;  // large-text legibility
  std::printf("lowest contrast ratio of a trail pixel to the ground beside it\n");
  std::printf("%-20s %9s %9s %9s %9s\n", "picture", "cl.p1", "cl.p2", "clear.p1", "clear.p2");
  for (const std::string& Name : LevelPictures()) {
    SCOPED_TRACE(Name);
    const TFastImageBuffer Picture = LoadLevelPicture(Name);
    TMemBoard Board(LookBoardW, LookBoardH);
    Board.SetUpLevelBoard();
    for (std::int32_t Y = 30; Y < LookBoardH - 30; Y += 10)
      Board.HorizontalLine(21, LookBoardW - 22, Y, (Y / 10) % 2 ? CellTrail1 : CellTrail2);
    double Lowest[2][2] = {{100, 100}, {100, 100}};  // [look][player]
    for (TClaimedGroundLook Look : {TClaimedGroundLook::Classic, TClaimedGroundLook::Clear}) {
      const TFastImageBuffer Shown = RenderedBoard(Board, Picture, MaskOf(12), Look);
      for (std::int32_t Y = 30; Y < LookBoardH - 30; Y += 10)
        for (std::int32_t X = 22; X < LookBoardW - 22; ++X) {
          const TColorValue Trail = Shown.GetPixel(X, Y);
          double& Low = Lowest[static_cast<int>(Look)][(Y / 10) % 2 ? 0 : 1];
          Low = std::min({Low, ContrastRatio(Trail, Shown.GetPixel(X, Y - 1)),
                          ContrastRatio(Trail, Shown.GetPixel(X, Y + 1))});
        }
    }
    std::printf("%-20s %9.2f %9.2f %9.2f %9.2f\n", Name.c_str(), Lowest[0][0], Lowest[0][1], Lowest[1][0],
                Lowest[1][1]);
    EXPECT_GE(Lowest[1][0], MinRatio);
    EXPECT_GE(Lowest[1][1], MinRatio);
  }
}
