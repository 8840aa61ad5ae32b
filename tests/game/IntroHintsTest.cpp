// The intro hints on their own: the wording follows the player's keys and
// fits the font and the field; the box sits below the title, shows for the
// intro and fades after it.
#include "game/IntroHints.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/FastImaging.h"
#include "gfx/GameText.h"

namespace {

bool Mentions(const std::vector<std::string>& Lines, const std::string& What) {
  std::string All;
  for (const std::string& Line : Lines) All += Line + ' ';
  return All.find(What) != std::string::npos;
}

// A glyph sheet of opaque white cells: every set character is a white square.
TGameText WhiteFont() {
  TAlphaImage Sheet(TGameText::GlyphCount * TGameText::CellSize, TGameText::CellSize);
  for (std::int32_t X = 0; X < Sheet.Width(); ++X)
    for (std::int32_t Y = 0; Y < Sheet.Height(); ++Y) Sheet.SetPixel(X, Y, 0xFFFFFFFFu);
  return TGameText(std::move(Sheet));
}

}  // namespace

TEST(IntroHintsTest, TheWordingNamesTheDrawKeysAndFitsFontAndField) {
  const auto One = TIntroHints::Lines({32});
  EXPECT_TRUE(Mentions(One, "Hold Space and steer"));
  EXPECT_TRUE(Mentions(One, "100 percent"));
  EXPECT_TRUE(Mentions(One, "Esc pauses."));
  EXPECT_FALSE(Mentions(One, "player 2"));

  const auto Two = TIntroHints::Lines({'B', 17});
  EXPECT_TRUE(Mentions(Two, "B for player 1, Ctrl for player 2."));
  // "Numeric *": the font has no star, so the key is not named at all.
  const auto Odd = TIntroHints::Lines({106});
  EXPECT_TRUE(Mentions(Odd, "Hold the draw key"));
  EXPECT_FALSE(Mentions(Odd, "Numeric"));

  for (const auto* Lines : {&One, &Two, &Odd}) {
    for (const std::string& Line : *Lines) {
      EXPECT_LE(Line.size(), TIntroHints::MaxLineLength) << Line;
      EXPECT_TRUE(TGameText::CanShow(Line)) << Line;
      EXPECT_EQ(Line.find("  "), std::string::npos) << Line;
    }
    // Gaps only between hints.
    EXPECT_FALSE(Lines->front().empty());
    EXPECT_FALSE(Lines->back().empty());
  }
}

TEST(IntroHintsTest, WrapKeepsWordsWholeAndLongWordsAlone) {
  using V = std::vector<std::string>;
  EXPECT_EQ(TIntroHints::Wrap("aa bb cc", 5), (V{"aa bb", "cc"}));
  EXPECT_EQ(TIntroHints::Wrap("aa bb", 4), (V{"aa", "bb"}));
  EXPECT_EQ(TIntroHints::Wrap("a verylongword b", 5), (V{"a", "verylongword", "b"}));
  EXPECT_EQ(TIntroHints::Wrap("  spaced   out  ", 20), (V{"spaced out"}));
  EXPECT_TRUE(TIntroHints::Wrap("   ", 5).empty());
}

TEST(IntroHintsTest, TheBoxStaysInsideTheFieldBelowTheTitle) {
  const TGameText Font = WhiteFont();
  // Two players with long key names give the most lines.
  for (const auto& Keys : {std::vector<std::uint16_t>{32}, std::vector<std::uint16_t>{39, 39}}) {
    const TIntroHints Hints(Font, TIntroHints::Lines(Keys), 600);
    const TRect Box = Hints.Box();
    // The title's cells end at 284; the field's border runs at 20 and 530.
    EXPECT_GT(Box.Top, 284);
    EXPECT_LT(Box.Bottom, 530);
    EXPECT_GT(Box.Left, 20);
    EXPECT_LT(Box.Right, 580);
    EXPECT_NEAR(Box.Left + Box.Right, 600, 1);  // centred
  }
  // Nothing to say, nothing to draw.
  const TIntroHints Empty(Font, {}, 600);
  EXPECT_LT(Empty.Box().Right, Empty.Box().Left);
}

TEST(IntroHintsTest, FullThroughTheIntroThenFadingOut) {
  const TGameText Font = WhiteFont();
  TIntroHints Hints(Font, TIntroHints::Lines({32}), 600);
  EXPECT_FALSE(Hints.Visible());
  Hints.Step(true);
  EXPECT_EQ(Hints.Opacity(), 100);
  for (std::int32_t I = 1; I < TIntroHints::FadeTicks; ++I) Hints.Step(false);
  EXPECT_TRUE(Hints.Visible());
  Hints.Step(false);
  EXPECT_FALSE(Hints.Visible());
  Hints.Step(true);  // the next level's intro brings them back
  EXPECT_EQ(Hints.Opacity(), 100);
}

// A dark box under light text: bright ground gets darker, the text shows
// light on dark ground, and nothing outside the box changes.
TEST(IntroHintsTest, DrawsALightTextOnADarkBoxOverAnyGround) {
  const TGameText Font = WhiteFont();
  for (const TColorValue Ground : {TFastImageBuffer::MakeColor(255, 255, 255), TFastImageBuffer::MakeColor(0, 0, 0)}) {
    TIntroHints Hints(Font, {"ab"}, 600);
    const TRect Box = Hints.Box();
    const std::int32_t TextX = 300 - TGameText::CellSize, TextY = Box.Top + 8;
    TFastImageBuffer Buffer(nullptr, 600, 550);
    Buffer.FillRect({0, 0, 599, 549}, Ground);
    Hints.Draw(Buffer);  // not stepped yet: invisible
    EXPECT_EQ(Buffer.GetPixel(Box.Left + 1, Box.Top + 1), Ground);

    Hints.Step(true);
    Hints.Draw(Buffer);
    EXPECT_EQ(Buffer.GetPixel(TextX + 3, TextY + 3), 0xFFFFFFu);
    const TColorValue Shade = Buffer.GetPixel(Box.Left + 2, Box.Bottom - 2);
    EXPECT_LT(GetRValue(Shade), 100u);
    EXPECT_EQ(Buffer.GetPixel(Box.Left - 1, Box.Top), Ground);
    EXPECT_EQ(Buffer.GetPixel(Box.Right + 1, Box.Bottom), Ground);
    EXPECT_EQ(Buffer.GetPixel(Box.Left, Box.Bottom + 1), Ground);
  }
}
