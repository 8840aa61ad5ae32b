// Claimed ground must read as claimed on every level picture. The board
// darkens claimed cells by a fixed factor; a picture whose own light and
// dark patches are larger than that step hides what a player has won. The
// step is measured in CIE L* through the board's own renderer, the picture's
// variation as the spread of its block means at a fine and a coarse scale.
// The pictures are also checked for what would mislead a player: long
// crisp light lines like the board's edges, and ground the colour of the
// big enemy where it starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CieLab.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/AlphaImage.h"
#include "game/LevelTable.h"
#include "gfx/FastImaging.h"
#include "pak/PakReader.h"

namespace {

constexpr std::int32_t BoardW = 600;
constexpr std::int32_t BoardH = 550;

// The thresholds, chosen by looking at every level rendered with a claimed
// corner: pictures at about half of them (dark skies with bright nebulae,
// moons and black silhouettes) hide the claim; at these the claimed corner
// reads as darker ground at a glance.
constexpr double MinStepOverCoarse = 1.5;
constexpr double MinStepOverFine = 1.0;

// CIE L* (D65 white) of a platform colour value.
double Lightness(TColorValue C) {
  static const std::vector<double> Lin = [] {
    std::vector<double> T(256);
    for (int V = 0; V < 256; ++V) T[V] = SrgbToLinear(static_cast<std::uint8_t>(V));
    return T;
  }();
  const double Y = 0.2126 * Lin[C & 0xFF] + 0.7152 * Lin[(C >> 8) & 0xFF] + 0.0722 * Lin[(C >> 16) & 0xFF];
  return 116 * LabCurve(Y) - 16;
}

// The L* of every pixel of the play area below and right of the grey border
// line, as rows of BoardW - 1.
struct TLightnessMap {
  std::vector<double> L;
  double At(std::int32_t X, std::int32_t Y) const { return L[static_cast<std::size_t>(Y - 1) * (BoardW - 1) + (X - 1)]; }
};

TLightnessMap MapOf(const TFastImageBuffer& B) {
  TLightnessMap M;
  M.L.reserve(static_cast<std::size_t>(BoardW - 1) * (BoardH - 1));
  for (std::int32_t Y = 1; Y < BoardH; ++Y)
    for (std::int32_t X = 1; X < BoardW; ++X) M.L.push_back(Lightness(B.GetPixel(X, Y)));
  return M;
}

// Standard deviation of the means of the Size x Size blocks that fit.
double BlockMeanSpread(const TLightnessMap& M, std::int32_t Size) {
  std::vector<double> Means;
  for (std::int32_t Y0 = 1; Y0 + Size <= BoardH; Y0 += Size)
    for (std::int32_t X0 = 1; X0 + Size <= BoardW; X0 += Size) {
      double Sum = 0;
      for (std::int32_t Y = Y0; Y < Y0 + Size; ++Y)
        for (std::int32_t X = X0; X < X0 + Size; ++X) Sum += M.At(X, Y);
      Means.push_back(Sum / (Size * Size));
    }
  double Mean = 0;
  for (double V : Means) Mean += V;
  Mean /= static_cast<double>(Means.size());
  double Var = 0;
  for (double V : Means) Var += (V - Mean) * (V - Mean);
  return std::sqrt(Var / static_cast<double>(Means.size()));
}

struct TFigures {
  double Step = 0;    // mean L* lost by claiming
  double Fine = 0;    // spread of 8 x 8 block means
  double Coarse = 0;  // spread of 64 x 64 block means
};

// The board filled with one cell code, rendered over the picture.
TFastImageBuffer Rendered(const TFastImageBuffer& Picture, const TShadowMask& Mask, std::uint8_t Code) {
  TMemBoard Board(BoardW, BoardH);
  for (std::int32_t X = 0; X < BoardW; ++X)
    for (std::int32_t Y = 0; Y < BoardH; ++Y) Board.SetCell(X, Y, Code);
  TFastImageBuffer Out(nullptr, BoardW, BoardH);
  Board.Render({0, 0, BoardW - 1, BoardH - 1}, Out, Picture, Mask);
  return Out;
}

TFigures Measure(const TFastImageBuffer& Picture, const TShadowMask& Mask) {
  const TLightnessMap Free = MapOf(Rendered(Picture, Mask, CellFree));
  const TLightnessMap Claimed = MapOf(Rendered(Picture, Mask, CellClaimed));
  TFigures F;
  double Sum = 0;
  for (std::size_t i = 0; i < Free.L.size(); ++i) Sum += Free.L[i] - Claimed.L[i];
  F.Step = Sum / static_cast<double>(Free.L.size());
  // The picture's own variation, without the level's shade pattern, which
  // lies over free and claimed ground alike.
  const TLightnessMap Own = MapOf(Picture);
  F.Fine = BlockMeanSpread(Own, 8);
  F.Coarse = BlockMeanSpread(Own, 64);
  return F;
}

TFastImageBuffer FlatPicture(TColorValue C) {
  TFastImageBuffer B(nullptr, BoardW, BoardH);
  for (std::int32_t Y = 0; Y < BoardH; ++Y)
    for (std::int32_t X = 0; X < BoardW; ++X) B.SetPixel(X, Y, C);
  return B;
}

const TShadowMask& Mask() {
  static const TShadowMask M(0);
  return M;
}

TEST(BackgroundContrastTest, LightnessMatchesKnownColours) {
  EXPECT_NEAR(Lightness(0x000000), 0.0, 1e-9);
  EXPECT_NEAR(Lightness(0xFFFFFF), 100.0, 1e-6);
  // sRGB 119 grey is close to L* 50; pure green and blue by their luminance.
  EXPECT_NEAR(Lightness(0x777777), 50.0, 0.5);
  EXPECT_NEAR(Lightness(0x00FF00), 87.74, 0.05);
  EXPECT_NEAR(Lightness(0xFF0000), 32.30, 0.05);
  // The full L*a*b* of white and of pure sRGB red and blue.
  const TLab White = ToLab(255, 255, 255), Red = ToLab(255, 0, 0), Blue = ToLab(0, 0, 255);
  EXPECT_NEAR(White.A, 0.0, 0.05);
  EXPECT_NEAR(White.B, 0.0, 0.05);
  EXPECT_NEAR(Red.L, 53.24, 0.05);
  EXPECT_NEAR(Red.A, 80.09, 0.1);
  EXPECT_NEAR(Red.B, 67.20, 0.1);
  EXPECT_NEAR(Blue.B, -107.86, 0.1);
}

TEST(BackgroundContrastTest, MeasureSeesStepAndPatches) {
  // A flat picture has no spread, and its step is what L* gives for the
  // colour darkened by 1.35 under the shade: between the unshaded step and
  // the step of the fully shaded colour.
  const TFigures Flat = Measure(FlatPicture(0x808080), Mask());
  EXPECT_NEAR(Flat.Fine, 0.0, 1e-9);
  EXPECT_NEAR(Flat.Coarse, 0.0, 1e-9);
  const double Unshaded = Lightness(0x808080) - Lightness(0x5F5F5F);  // 128 / 1.35 = 94.8
  const double FullShade = Lightness(0x4E4E4E) - Lightness(0x3A3A3A);  // 128 * 155 / 255 = 77.8, / 1.35 = 57.6
  EXPECT_LT(Flat.Step, Unshaded + 0.01);
  EXPECT_GT(Flat.Step, FullShade - 0.01);

  // Halves of black and white: every 64-pixel block is one or the other
  // (the border column aside), so the coarse spread is close to 50; 8 x 8
  // blocks see the same.
  TFastImageBuffer Halves = FlatPicture(0);
  for (std::int32_t Y = 0; Y < BoardH; ++Y)
    for (std::int32_t X = 0; X < BoardW; ++X)
      if (((X - 1) / 64 + (Y - 1) / 64) % 2 == 0) Halves.SetPixel(X, Y, 0xFFFFFF);
  const TFigures H = Measure(Halves, Mask());
  EXPECT_NEAR(H.Coarse, 50.0, 0.5);
  EXPECT_NEAR(H.Fine, 50.0, 0.5);

  // A one-pixel checkerboard averages out in every block.
  TFastImageBuffer Checks = FlatPicture(0);
  for (std::int32_t Y = 0; Y < BoardH; ++Y)
    for (std::int32_t X = 0; X < BoardW; ++X)
      if ((X + Y) % 2 == 0) Checks.SetPixel(X, Y, 0xFFFFFF);
  const TFigures C = Measure(Checks, Mask());
  EXPECT_LT(C.Fine, 1e-9);
  EXPECT_LT(C.Coarse, 1e-9);
}

const TPakFileReadable& Pak() {
  static const TPakFileReadable P(VYRN_GAME_PAK);
  return P;
}

TFastImageBuffer LoadPicture(const std::string& Name) {
  TFastImageBuffer Picture(nullptr, 1, 1);
  auto Stream = Pak().GetStream(Name);
  if (Stream) Picture.LoadJpegFromStream(*Stream);
  return Picture;
}

// Share of the directions from a sphere's centre along which its rim is a
// dark line: a pixel within a pixel and a half of the rim darker by more
// than Dip than both the surface and the sky three pixels inside and out.
double DarkRimShare(const TFastImageBuffer& P, double Cx, double Cy, double R, double FromDeg, double ToDeg) {
  auto LightnessAt = [&](double A, double Rr) {
    return Lightness(P.GetPixel(static_cast<std::int32_t>(std::floor(Cx + Rr * std::cos(A))),
                                static_cast<std::int32_t>(std::floor(Cy + Rr * std::sin(A)))));
  };
  constexpr double Dip = 6;
  int Dark = 0, Count = 0;
  for (double Deg = FromDeg; Deg <= ToDeg; Deg += 2) {
    const double A = Deg * 3.14159265358979 / 180;
    double Min = 100;
    for (double Rr = R - 1.5; Rr <= R + 1.5; Rr += 0.5) Min = std::min(Min, LightnessAt(A, Rr));
    if (Min < std::min(LightnessAt(A, R - 3), LightnessAt(A, R + 3)) - Dip) ++Dark;
    ++Count;
  }
  return static_cast<double>(Dark) / Count;
}

TEST(BackgroundContrastTest, SpheresHaveNoDarkRingAtTheirRim) {
  struct TSphere {
    const char* Picture;
    double Cx, Cy, R, FromDeg, ToDeg;  // the arc clear of rings and picture edges
  };
  const TSphere Spheres[] = {{"back_space01.jpg", 470, 420, 78, 190, 280},
                             {"back_space02.jpg", 95, 470, 72, 0, 359},
                             {"back_space02.jpg", 520, 80, 26, 0, 359},
                             {"back_horror01.jpg", 440, 128, 70, 0, 359},
                             {"back_mystic02.jpg", 440, 105, 52, 0, 359}};
  for (const TSphere& S : Spheres) {
    SCOPED_TRACE(S.Picture);
    const TFastImageBuffer P = LoadPicture(S.Picture);
    ASSERT_EQ(P.Width(), BoardW);
    EXPECT_LT(DarkRimShare(P, S.Cx, S.Cy, S.R, S.FromDeg, S.ToDeg), 0.05) << "sphere at " << S.Cx << ", " << S.Cy;
  }
}

TEST(BackgroundContrastTest, ClaimedGroundStandsOutOnEveryLevelPicture) {
  std::set<std::string> Pictures;
  for (std::int32_t N = 1; N <= LevelCount; ++N) Pictures.insert(LevelInfo(N).Background);
  ASSERT_EQ(Pictures.size(), 15u);
  std::printf("%-20s %6s %6s %6s %8s %8s\n", "picture", "step", "fine", "coarse", "s/fine", "s/coarse");
  for (const std::string& Name : Pictures) {
    SCOPED_TRACE(Name);
    const TFastImageBuffer Picture = LoadPicture(Name);
    ASSERT_EQ(Picture.Width(), BoardW);
    ASSERT_EQ(Picture.Height(), BoardH);
    const TFigures F = Measure(Picture, Mask());
    std::printf("%-20s %6.2f %6.2f %6.2f %8.2f %8.2f\n", Name.c_str(), F.Step, F.Fine, F.Coarse, F.Step / F.Fine,
                F.Step / F.Coarse);
    EXPECT_GE(F.Step / F.Coarse, MinStepOverCoarse) << "step " << F.Step << ", coarse spread " << F.Coarse;
    EXPECT_GE(F.Step / F.Fine, MinStepOverFine) << "step " << F.Step << ", fine spread " << F.Fine;
  }
}

// The big enemy starts at the middle of the play area and must stand out
// there from the first tick: the share of its opaque pixels that lie on
// ground of nearly their own colour (CIE76 difference below JustSeen) stays
// small. The shade lies over sprite and ground alike and is left out.
TEST(BackgroundContrastTest, BigEnemyStandsOutWhereItStarts) {
  constexpr double JustSeen = 12;
  // The cream skull on the graveyard's old central moon had 15 % of itself
  // hidden and was hard to find; every start now stays below 8 %.
  constexpr double MaxHiddenShare = 0.1;
  std::printf("%-16s %-20s %6s\n", "big enemy", "picture", "hidden");
  for (std::int32_t N = 1; N <= LevelCount; ++N) {
    const TLevelInfo& Info = LevelInfo(N);
    SCOPED_TRACE(Info.Name);
    const TFastImageBuffer Picture = LoadPicture(Info.Background);
    auto Stream = Pak().GetStream(std::string(Info.EvilImageSet) + "_01.png");
    ASSERT_TRUE(Stream);
    const auto Sprite = TAlphaImage::CreateFromStream(*Stream);
    // Placed as the enemy draws itself: its top-left cell half its size
    // left of and above its centre.
    const std::int32_t X0 = BoardW / 2 - Sprite->Width() / 2, Y0 = BoardH / 2 - Sprite->Height() / 2;
    int Opaque = 0, Hidden = 0;
    for (std::int32_t Y = 0; Y < Sprite->Height(); ++Y)
      for (std::int32_t X = 0; X < Sprite->Width(); ++X) {
        if (Sprite->GetAlpha(X, Y) < 128) continue;
        const TColorValue C = Picture.GetPixel(X0 + X, Y0 + Y);
        const TLab A = ToLab(Sprite->GetRed(X, Y), Sprite->GetGreen(X, Y), Sprite->GetBlue(X, Y));
        const TLab B = ToLab(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
        ++Opaque;
        if (A.DistanceTo(B) < JustSeen) ++Hidden;
      }
    ASSERT_GT(Opaque, 0);
    const double Share = static_cast<double>(Hidden) / Opaque;
    std::printf("%-16s %-20s %6.3f\n", Info.EvilImageSet, Info.Background, Share);
    EXPECT_LT(Share, MaxHiddenShare);
  }
}

// Longest straight run, in pixels, of crisp light lines along rows or
// columns: pixels of L* at least MinLight that are lighter by Step than the
// picture two pixels to one side across the line. Such runs look like the
// board's own edges, which are straight, one pixel wide and white.
int LongestLightLine(const TFastImageBuffer& P, bool Vertical) {
  constexpr double MinLight = 75, Step = 12;
  const std::int32_t Along = Vertical ? BoardH : BoardW, Across = Vertical ? BoardW : BoardH;
  std::vector<double> L(static_cast<std::size_t>(BoardW) * BoardH);
  for (std::int32_t Y = 0; Y < BoardH; ++Y)
    for (std::int32_t X = 0; X < BoardW; ++X) L[static_cast<std::size_t>(Y) * BoardW + X] = Lightness(P.GetPixel(X, Y));
  auto At = [&](std::int32_t A, std::int32_t C) {
    return Vertical ? L[static_cast<std::size_t>(A) * BoardW + C] : L[static_cast<std::size_t>(C) * BoardW + A];
  };
  int Longest = 0;
  for (std::int32_t C = 2; C < Across - 2; ++C) {
    int Run = 0;
    for (std::int32_t A = 0; A < Along; ++A) {
      const double V = At(A, C);
      const bool Line = V >= MinLight && V - std::min(At(A, C - 2), At(A, C + 2)) >= Step;
      Run = Line ? Run + 1 : 0;
      Longest = std::max(Longest, Run);
    }
  }
  return Longest;
}

TEST(BackgroundContrastTest, NoLongCrispLightLines) {
  // Bricks, tiles, seams and grass blades end within about 70 pixels; the
  // white temple columns that read as edges ran for 130 to 330.
  constexpr int MaxRun = 100;
  // A white line drawn across a mid-grey picture is found at its length.
  TFastImageBuffer Lined = FlatPicture(0x777777);
  for (std::int32_t X = 100; X < 300; ++X) Lined.SetPixel(X, 200, 0xFFFFFF);
  for (std::int32_t Y = 50; Y < 170; ++Y) Lined.SetPixel(400, Y, 0xF0F0F0);
  EXPECT_EQ(LongestLightLine(Lined, false), 200);
  EXPECT_EQ(LongestLightLine(Lined, true), 120);

  std::set<std::string> Pictures;
  for (std::int32_t N = 1; N <= LevelCount; ++N) Pictures.insert(LevelInfo(N).Background);
  std::printf("%-20s %6s %6s\n", "picture", "rows", "cols");
  for (const std::string& Name : Pictures) {
    SCOPED_TRACE(Name);
    const TFastImageBuffer Picture = LoadPicture(Name);
    const int Rows = LongestLightLine(Picture, false), Cols = LongestLightLine(Picture, true);
    std::printf("%-20s %6d %6d\n", Name.c_str(), Rows, Cols);
    EXPECT_LT(Rows, MaxRun);
    EXPECT_LT(Cols, MaxRun);
  }
}

}  // namespace
