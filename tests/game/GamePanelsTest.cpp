#include "game/GamePanels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"

namespace {

// A fully opaque digit picture whose colour names the digit image.
TColorValue DigitColor(std::int32_t Index) { return RGB(static_cast<std::uint32_t>(10 + Index * 8), 200, 50); }

TAlphaImage SolidImage(std::int32_t W, std::int32_t H, TColorValue Color) {
  TAlphaImage Image(W, H);
  for (std::int32_t X = 0; X < W; ++X)
    for (std::int32_t Y = 0; Y < H; ++Y)
      Image.SetPixel(X, Y, MakeRGBA(GetRValue(Color), GetGValue(Color), GetBValue(Color), 255));
  return Image;
}

// Panels with digit strips of the archive's sizes, each digit one colour.
TGamePanels MakePanels() {
  TGamePanels Panels(nullptr);
  const std::int32_t W[3] = {12, 16, 12}, H[3] = {14, 18, 12};
  for (std::int32_t I = 0; I < 30; ++I)
    Panels.Digits[static_cast<std::size_t>(I)] = SolidImage(W[I / 10], H[I / 10], DigitColor(I));
  Panels.DeadImage = SolidImage(50, 14, RGB(255, 0, 255));
  return Panels;
}

// Digit image index shown at (X, Y), -1 for none.
std::int32_t DigitAt(const TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y) {
  for (std::int32_t I = 0; I < 30; ++I)
    if (Buffer.GetPixel(X, Y) == DigitColor(I)) return I;
  return -1;
}

// Reads a row of digits back: every Step pixels from X0, the digit (minus
// First) or '.' where none is drawn.
std::string ReadDigits(const TFastImageBuffer& Buffer, std::int32_t X0, std::int32_t Y, std::int32_t Step,
                       std::int32_t Count, std::int32_t First) {
  std::string Text;
  for (std::int32_t I = 0; I < Count; ++I) {
    const std::int32_t D = DigitAt(Buffer, X0 + I * Step, Y);
    Text += D < 0 ? '.' : static_cast<char>('0' + D - First);
  }
  return Text;
}

}  // namespace

TEST(ScoringTest, ClaimScores) {
  // (10000 / 49) ^ 1.05 = 266.1, (10000 / 40) ^ 1.05 = 329.5 (just below
  // the half), (10000 / 21) ^ 1.05 = 648.3.
  EXPECT_EQ(ClaimScore(10000, 1), 266);
  EXPECT_EQ(ClaimScore(10000, 10), 329);
  EXPECT_EQ(ClaimScore(10000, 29), 648);
  EXPECT_EQ(ClaimScore(49, 1), 1);
  EXPECT_EQ(ClaimScore(1, 1), 0);
  EXPECT_EQ(ClaimScore(0, 29), 0);
  // Against a plain double evaluation away from halves.
  for (std::int32_t Count : {100, 5000, 77777, 300000})
    for (std::int32_t Level = 1; Level <= 29; ++Level) {
      const double Ref = std::pow(static_cast<double>(Count) / (50 - Level), 1.05);
      if (std::abs(Ref - std::floor(Ref) - 0.5) > 1e-6) {
        EXPECT_EQ(ClaimScore(Count, Level), std::llround(Ref)) << Count << " " << Level;
      }
    }
}

TEST(ScoringTest, LevelBonus) {
  // Level 7, 800 time bonus left, 103.2 % claimed: 400 x 7 + 3 x 300.
  const TLevelBonus Bonus = ComputeLevelBonus(800, 103.2f);
  EXPECT_EQ(Bonus.T, 400);
  EXPECT_EQ(Bonus.P, 3);
  EXPECT_EQ(Bonus.Points(7), 3700);
  EXPECT_EQ(ComputeLevelBonus(801, 100.0f).T, 400);  // truncated
  EXPECT_EQ(ComputeLevelBonus(-1, 100.7f).T, 0);
  EXPECT_EQ(ComputeLevelBonus(0, 100.7f).P, 0);
  EXPECT_EQ(ComputeLevelBonus(2000, 117.468f).Points(29), 1000 * 29 + 17 * 300);
  // A game-over level never reached its target: no negative percent bonus.
  EXPECT_EQ(ComputeLevelBonus(100, 42.0f).P, 0);
}

TEST(PanelsTest, ScoreDigitsRightAlignedInTenSlots) {
  TGamePanels Panels = MakePanels();
  Panels.DrawScore(0, 12345);
  EXPECT_EQ(ReadDigits(Panels.Score[0], 0, 7, 12, 10, 0), ".....12345");
  // Each digit fills exactly its slot: x = 60 .. 71 is the '1'.
  EXPECT_EQ(DigitAt(Panels.Score[0], 60, 0), 1);
  EXPECT_EQ(DigitAt(Panels.Score[0], 71, 13), 1);
  EXPECT_EQ(DigitAt(Panels.Score[0], 59, 0), -1);
  EXPECT_EQ(DigitAt(Panels.Score[0], 108, 0), 5);

  Panels.DrawScore(1, 10'000'000'000LL);
  EXPECT_EQ(ReadDigits(Panels.Score[1], 0, 7, 12, 10, 0), "9999999999");
  Panels.DrawScore(1, 9'876'543'210LL);
  EXPECT_EQ(ReadDigits(Panels.Score[1], 0, 7, 12, 10, 0), "9876543210");
  // Redrawing restores the background first: a shorter score leaves no
  // old digits behind.
  Panels.DrawScore(1, 7);
  EXPECT_EQ(ReadDigits(Panels.Score[1], 0, 7, 12, 10, 0), ".........7");
  EXPECT_EQ(ReadDigits(Panels.Score[0], 0, 7, 12, 10, 0), ".....12345");
}

TEST(PanelsTest, LivesLevelAndPercent) {
  TGamePanels Panels = MakePanels();
  Panels.DrawLives(0, 12, false);
  EXPECT_EQ(DigitAt(Panels.Lives[0], 38, 0), 9);
  EXPECT_EQ(DigitAt(Panels.Lives[0], 37, 0), -1);
  Panels.DrawLives(0, 0, true);
  EXPECT_EQ(Panels.Lives[0].GetPixel(0, 0), RGB(255, 0, 255));
  EXPECT_EQ(Panels.Lives[0].GetPixel(38, 5), RGB(255, 0, 255));

  Panels.DrawLevelNumber(7);
  EXPECT_EQ(ReadDigits(Panels.LevelNumber, 0, 5, 16, 2, 10), ".7");
  Panels.DrawLevelNumber(29);
  EXPECT_EQ(ReadDigits(Panels.LevelNumber, 0, 5, 16, 2, 10), "29");
  Panels.DrawLevelNumber(100);
  EXPECT_EQ(ReadDigits(Panels.LevelNumber, 0, 5, 16, 2, 10), "99");

  Panels.DrawPercent(100.7f);
  EXPECT_EQ(ReadDigits(Panels.Percent, 0, 5, 16, 3, 10), "100");
  Panels.DrawPercent(99.9999f);
  EXPECT_EQ(ReadDigits(Panels.Percent, 0, 5, 16, 3, 10), ".99");
  Panels.DrawPercent(0.0f);
  EXPECT_EQ(ReadDigits(Panels.Percent, 0, 5, 16, 3, 10), "..0");
  Panels.DrawPercent(1000.5f);
  EXPECT_EQ(ReadDigits(Panels.Percent, 0, 5, 16, 3, 10), "999");
  Panels.DrawPercent(std::nanf(""));
  EXPECT_EQ(ReadDigits(Panels.Percent, 0, 5, 16, 3, 10), "999");
}

TEST(PanelsTest, TimeBar) {
  TGamePanels Panels = MakePanels();
  const TColorValue Grey = RGB(64, 64, 64);
  auto Row = [&](std::int32_t Y, std::int32_t X) { return Panels.TimeBar.GetPixel(X, Y); };

  Panels.DrawTimeBar(2000, 2000);  // full: orange over rows 1..5, every column
  EXPECT_EQ(Row(1, 0), RGB(208, 160, 0));
  EXPECT_EQ(Row(5, 529), RGB(208, 160, 0));
  EXPECT_EQ(Row(0, 100), Grey);
  EXPECT_EQ(Row(6, 100), Grey);

  // Half: W = 265 (inclusive right edge), G = 64.
  Panels.DrawTimeBar(1000, 2000);
  EXPECT_EQ(Row(3, 265), RGB(208, 96, 0));
  EXPECT_EQ(Row(3, 266), Grey);

  // One tick left: W = round(0.265) = 0 still paints column 0, colour
  // 160 - round(127.936) = 32.
  Panels.DrawTimeBar(1, 2000);
  EXPECT_EQ(Row(3, 0), RGB(208, 32, 0));
  EXPECT_EQ(Row(3, 1), Grey);

  for (std::int32_t Left : {0, -1}) {
    Panels.DrawTimeBar(Left, 2000);
    for (std::int32_t X = 0; X < 530; X += 53) EXPECT_EQ(Row(3, X), Grey) << Left;
  }
  Panels.DrawTimeBar(500, 0);  // never divides by zero
  EXPECT_EQ(Row(3, 0), Grey);
}

TEST(PanelsTest, BonusScreenNumbers) {
  TGamePanels Panels = MakePanels();
  TFastImageBuffer PlayArea(nullptr, 600, 550);
  const TAlphaImage Bonus = SolidImage(20, 10, RGB(1, 2, 3));
  // Level 7 with 103.2 % and 800 left: P 3, T 400, 900, 2800, 3700.
  Panels.DrawBonusScreen(PlayArea, Bonus, 7, ComputeLevelBonus(800, 103.2f));
  EXPECT_EQ(PlayArea.GetPixel(290, 270), RGB(1, 2, 3));  // centred
  EXPECT_EQ(PlayArea.GetPixel(289, 270), 0u);
  auto Read = [&](std::int32_t X0, std::int32_t Y, std::int32_t Count) {
    return ReadDigits(PlayArea, X0 + 1, Y + 1, 10, Count, 20);
  };
  // The 12-pixel digits overlap by 2; reading one column in is unambiguous.
  EXPECT_EQ(Read(260, 262, 1), "3");  // right edge 270
  EXPECT_EQ(DigitAt(PlayArea, 259, 263), -1);
  EXPECT_EQ(Read(260, 278, 3), "400");  // right edge 290
  EXPECT_EQ(Read(360, 278, 1), "7");  // left edge 360
  EXPECT_EQ(DigitAt(PlayArea, 372, 279), -1);
  EXPECT_EQ(Read(445, 262, 3), "900");
  EXPECT_EQ(Read(435, 278, 4), "2800");
  EXPECT_EQ(Read(435, 299, 4), "3700");
}

TEST(PanelsTest, MissingOrDamagedArchiveLeavesBlankPictures) {
  const std::string Damaged = "damaged_panels.pak";
  {
    std::ofstream Out(Damaged, std::ios::binary);
    Out << "\xff\xff\xff\x7fjunk";
  }
  for (const std::string& Name : {std::string("no_such_archive.pak"), Damaged}) {
    TPakFileReadable Pak(Name);
    TGamePanels Panels(nullptr);
    Panels.ShowRightPicture(Pak, true, nullptr);
    for (std::int32_t Strip = 0; Strip < 3; ++Strip) Panels.CutDigits(Pak, Strip);
    Panels.LoadDeadImage(Pak);
    EXPECT_EQ(Panels.Digits[0].Width(), 12);
    EXPECT_EQ(Panels.Digits[19].Height(), 18);
    Panels.DrawScore(0, 12345);
    Panels.DrawLives(1, 3, true);
    Panels.DrawPercent(50.0f);
    EXPECT_EQ(Panels.Score[0].GetPixel(100, 5), 0u);
    TAlphaImage Picture;
    EXPECT_FALSE(LoadPicture(Pak, "dead.png", Picture));
  }
  std::remove(Damaged.c_str());
}
