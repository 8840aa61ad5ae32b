// Bitmap text: glyph cutting, lower-casing, the fixed cells, the position
// and the hold-and-fade timing.
#include "gfx/GameText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gfx/ArchivePictures.h"
#include "gfx/FastImaging.h"
#include "gfx/ImageErrors.h"
#include "gfx/PngTestUtil.h"
#include "pak/PakReader.h"

using namespace pngtest;

namespace {

constexpr std::int32_t SheetWidth = 42 * 18;

// Glyph g, pixel (i, j) of its cell: red 10 + 5g, green 100 + i, blue 50 + j,
// alpha 255 - 4g, so every sample says where it came from.
TRGBAPixel SheetPixel(std::int32_t X, std::int32_t Y) {
  const std::int32_t G = X / 18;
  return MakeRGBA(10 + 5 * G, 100 + X % 18, 50 + Y, 255 - 4 * G);
}

class GameTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::vector<TRGBAPixel> Pixels;
    for (std::int32_t Y = 0; Y < 18; ++Y)
      for (std::int32_t X = 0; X < SheetWidth; ++X) Pixels.push_back(SheetPixel(X, Y));
    FPak.Write({TPakEntry{"chars.png", EncodeRgba(SheetWidth, 18, Pixels)}});
  }
  TPakFileReadable Reader() const { return TPakFileReadable(FPak.Path()); }

  TScratchPak FPak{"chars"};
};

// The cell of text position Cell must hold glyph Glyph exactly (raw copy).
void ExpectCell(const TAlphaImage& Text, std::int32_t Cell, std::int32_t Glyph) {
  for (std::int32_t I = 0; I < 18; ++I)
    for (std::int32_t J = 0; J < 18; ++J) {
      const TRGBAPixel Want = Glyph < 0 ? 0 : SheetPixel(18 * Glyph + I, J);
      ASSERT_EQ(Text.GetPixel(18 * Cell + I, J), Want) << "cell " << Cell << " pixel " << I << "," << J;
    }
}

TEST_F(GameTextTest, GameOverIsTenCellsWithLowerCaseGlyphsAndABlankCell) {
  TGameText Text(Reader());
  EXPECT_TRUE(Text.IsIdle());
  Text.ShowText("Game Over!", 100, 30);
  EXPECT_FALSE(Text.IsIdle());
  EXPECT_EQ(Text.TextWidth(), 180);
  EXPECT_EQ(Text.TextHeight(), 18);
  const TAlphaImage& Image = *Text.TextImage();
  const std::int32_t Glyphs[] = {6, 0, 12, 4, -1, 14, 21, 4, 17, 39};
  for (std::int32_t Cell = 0; Cell < 10; ++Cell) ExpectCell(Image, Cell, Glyphs[Cell]);
}

TEST_F(GameTextTest, AGivenSheetSetsTextAsTheArchivesDoes) {
  TGameText Text(LoadPicture(Reader(), TGameText::GlyphSheetName));
  Text.ShowText("Go 1!", 100, 1);
  const std::int32_t Glyphs[] = {6, 14, -1, 27, 39};
  for (std::int32_t Cell = 0; Cell < 5; ++Cell) ExpectCell(*Text.TextImage(), Cell, Glyphs[Cell]);
}

TEST_F(GameTextTest, GlyphTableDigitsAndPunctuation) {
  TGameText Text(Reader());
  Text.ShowText("09.,-!:\"?Z", 100, 1);
  const TAlphaImage& Image = *Text.TextImage();
  const std::int32_t Glyphs[] = {26, 35, 36, 37, 38, 39, 40, 41, -1, 25};
  for (std::int32_t Cell = 0; Cell < 10; ++Cell) ExpectCell(Image, Cell, Glyphs[Cell]);
  // Digit 0 comes from x = 468, the quotation mark from x = 738.
  EXPECT_EQ(Image.GetPixel(0, 0), SheetPixel(468, 0));
  EXPECT_EQ(Image.GetPixel(7 * 18 + 17, 17), SheetPixel(738 + 17, 17));
  // Only A to Z are lower-cased; other bytes have no glyph.
  EXPECT_EQ(TGameText::GlyphIndex('A'), 0);
  EXPECT_EQ(TGameText::GlyphIndex('['), -1);
  EXPECT_EQ(TGameText::GlyphIndex('@'), -1);
  EXPECT_EQ(TGameText::GlyphIndex(static_cast<char>(0xC4)), -1);
  EXPECT_EQ(TGameText::GlyphIndex(' '), -1);
  // Shown whole: every character a glyph, or a space between words.
  EXPECT_TRUE(TGameText::CanShow("Level 3 - \"Space 1\""));
  EXPECT_TRUE(TGameText::CanShow(""));
  EXPECT_FALSE(TGameText::CanShow("100 %"));
  EXPECT_FALSE(TGameText::CanShow("Numeric *"));
  EXPECT_FALSE(TGameText::CanShow(std::string("a\0b", 3)));
}

TEST_F(GameTextTest, DrawsCentredShiftedRightByOneCell) {
  TGameText Text(Reader());
  Text.ShowText("ab", 100, 5);
  TFastImageBuffer Buffer(nullptr, 600, 550);
  Text.Draw(Buffer);
  // x = 300 - 36 / 2 + 18 = 300, y = 275 - 9 = 266. Glyph a is opaque.
  EXPECT_EQ(Buffer.GetPixel(300, 266), RGB(10, 100, 50));
  EXPECT_EQ(Buffer.GetPixel(299, 266), 0u);
  EXPECT_EQ(Buffer.GetPixel(300, 265), 0u);
  EXPECT_EQ(Buffer.GetPixel(317, 283), RGB(10, 117, 67));
  EXPECT_EQ(Buffer.GetPixel(300, 284), 0u);
  // Odd buffer sides round the centre down.
  TFastImageBuffer Odd(nullptr, 101, 51);
  Text.Draw(Odd);
  EXPECT_EQ(Odd.GetPixel(50 - 18 + 18, 25 - 9), RGB(10, 100, 50));
}

// Draws on a fresh black buffer until the message clears; returns the
// percentages seen after each draw that still showed it, checking the drawn
// strength of glyph a's top-left pixel (red 10, opaque) every time.
std::vector<int> FadeRun(TGameText& Text, int& Draws) {
  std::vector<int> Seen;
  Draws = 0;
  for (;;) {
    TFastImageBuffer Buffer(nullptr, 600, 550);
    Text.Draw(Buffer);
    ++Draws;
    if (Text.IsIdle()) {
      EXPECT_EQ(Buffer.GetPixel(309, 266), 0u) << "a clearing draw paints nothing";
      break;
    }
    const int Percent = Text.Opacity();
    const long double Weight = std::llrint(Percent * 2.55L);
    const auto Red = static_cast<std::uint32_t>(std::llrint(10 * (Weight / 255.0L)));
    EXPECT_EQ(GetRValue(Buffer.GetPixel(309, 266)), Red) << "draw " << Draws << " at " << Percent << "%";
    Seen.push_back(Percent);
    if (Draws > 1000) break;
  }
  return Seen;
}

TEST_F(GameTextTest, HoldsThirtyDrawsThenFadesByFourToZeroThenClears) {
  TGameText Text(Reader());
  Text.ShowText("a", 100, 30);
  int Draws = 0;
  const std::vector<int> Seen = FadeRun(Text, Draws);
  std::vector<int> Want(30, 100);
  for (int P = 96; P >= 0; P -= 4) Want.push_back(P);
  EXPECT_EQ(Seen, Want);
  EXPECT_EQ(Draws, 30 + 25 + 1);
  EXPECT_EQ(Text.HoldTicks(), 0);
  EXPECT_EQ(Text.Opacity(), 0);
}

TEST_F(GameTextTest, SeventyPercentFadesThroughTwoAndIsClearedByTheNextDraw) {
  TGameText Text(Reader());
  Text.ShowText("a", 70, 50);
  int Draws = 0;
  const std::vector<int> Seen = FadeRun(Text, Draws);
  std::vector<int> Want(50, 70);
  for (int P = 66; P >= 2; P -= 4) Want.push_back(P);
  EXPECT_EQ(Seen, Want);
  EXPECT_EQ(Seen.back(), 2);
  EXPECT_EQ(Draws, 50 + 17 + 1);
}

TEST_F(GameTextTest, OpacityThreeClearsWithoutDrawing) {
  TGameText Text(Reader());
  Text.ShowText("a", 3, 10);
  TFastImageBuffer Buffer(nullptr, 600, 550);
  Text.Draw(Buffer);
  EXPECT_TRUE(Text.IsIdle());
  EXPECT_EQ(Text.HoldTicks(), 0);
  EXPECT_EQ(Buffer.GetPixel(309, 266), 0u);
  EXPECT_EQ(Text.TextWidth(), 0);
}

TEST_F(GameTextTest, ShowTextDuringAFadeRestartsHoldAndOpacity) {
  TGameText Text(Reader());
  TFastImageBuffer Buffer(nullptr, 600, 550);
  Text.ShowText("a", 100, 2);
  for (int I = 0; I < 5; ++I) Text.Draw(Buffer);
  EXPECT_EQ(Text.Opacity(), 88);
  Text.ShowText("Level complete!", 70, 50);
  EXPECT_EQ(Text.Opacity(), 70);
  EXPECT_EQ(Text.HoldTicks(), 50);
  EXPECT_EQ(Text.TextWidth(), 15 * 18);
  Text.Draw(Buffer);
  EXPECT_EQ(Text.HoldTicks(), 49);
  EXPECT_EQ(Text.Opacity(), 70);
  Text.Clear();
  EXPECT_TRUE(Text.IsIdle());
  EXPECT_EQ(Text.Opacity(), 0);
  Text.Draw(Buffer);  // idle: stays idle
  EXPECT_TRUE(Text.IsIdle());
}

TEST_F(GameTextTest, EmptyTextFadesLikeAnyOther) {
  TGameText Text(Reader());
  Text.ShowText("", 100, 0);
  EXPECT_FALSE(Text.IsIdle());
  EXPECT_EQ(Text.TextWidth(), 0);
  TFastImageBuffer Buffer(nullptr, 20, 20);
  int Draws = 0;
  while (!Text.IsIdle() && Draws < 100) {
    Text.Draw(Buffer);
    ++Draws;
  }
  EXPECT_EQ(Draws, 26);  // 96 .. 0, then the clearing draw
}

TEST_F(GameTextTest, ARunawayStringSetsOnlyItsFirstCellsAndNeverThrows) {
  TGameText Text(Reader());
  // Position i shows glyph i mod 36 (letters and digits), so a shifted or
  // repeated cell would show.
  std::string Long;
  for (std::size_t I = 0; I < TGameText::MaxTextLength + 40; ++I)
    Long += "abcdefghijklmnopqrstuvwxyz0123456789"[I % 36];
  Text.ShowText(Long, 100, 5);
  EXPECT_EQ(Text.TextWidth(), static_cast<std::int32_t>(TGameText::MaxTextLength) * 18);
  for (std::int32_t Cell : {0, 35, 36, static_cast<std::int32_t>(TGameText::MaxTextLength) - 1})
    ExpectCell(*Text.TextImage(), Cell, Cell % 36);

  // Far longer than any picture could hold: still the same bounded picture.
  ASSERT_NO_THROW(Text.ShowText(std::string(std::size_t{1} << 22, 'x'), 100, 5));
  EXPECT_EQ(Text.TextWidth(), static_cast<std::int32_t>(TGameText::MaxTextLength) * 18);
  TFastImageBuffer Buffer(nullptr, 600, 550);
  Text.Draw(Buffer);
  EXPECT_EQ(Text.HoldTicks(), 4);
}

TEST(GameTextNoSheet, AMissingGlyphSheetLeavesBlankCells) {
  TScratchPak Empty("nochars");
  Empty.Write({TPakEntry{"other.png", EncodeRgba(1, 1, {0xFFFFFFFF})}});
  TGameText Text{TPakFileReadable(Empty.Path())};
  Text.ShowText("abc", 100, 1);
  EXPECT_EQ(Text.TextWidth(), 54);
  for (std::int32_t X = 0; X < 54; ++X)
    for (std::int32_t Y = 0; Y < 18; ++Y) ASSERT_EQ(Text.TextImage()->GetPixel(X, Y), 0u);
}

TEST(GameTextNoSheet, AnUndecodableSheetThrowsButGivenAsNothingLeavesBlankCells) {
  TScratchPak Cut("cutchars");
  const TBytes Sheet = EncodeRgba(SheetWidth, 18, std::vector<TRGBAPixel>(SheetWidth * 18, 0xFFFFFFFF));
  Cut.Write({TPakEntry{TGameText::GlyphSheetName, TBytes(Sheet.begin(), Sheet.begin() + 60)}});
  const TPakFileReadable Pak(Cut.Path());
  EXPECT_THROW(TGameText{Pak}, EImageDecodeError);
  TGameText Text(LoadPicture(Pak, TGameText::GlyphSheetName));
  Text.ShowText("ab", 100, 1);
  EXPECT_EQ(Text.TextWidth(), 36);
  for (std::int32_t X = 0; X < 36; ++X)
    for (std::int32_t Y = 0; Y < 18; ++Y) ASSERT_EQ(Text.TextImage()->GetPixel(X, Y), 0u);
}

}  // namespace
