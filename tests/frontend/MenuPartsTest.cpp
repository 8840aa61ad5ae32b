// The menu's parts on their own: the frame's animation, the sounds' rules,
// the key rows and the small font's character table.
#include <gtest/gtest.h>

#include <vector>

#include "frontend/FrontendKit.h"
#include "frontend/KeysPage.h"
#include "frontend/MenuCanvas.h"
#include "frontend/MenuFrame.h"
#include "frontend/MenuSounds.h"

namespace {

// The x of every frame pixel on row Y.
std::vector<int> GreyOnRow(const TMenuCanvas& Canvas, int Y) {
  std::vector<int> Xs;
  for (int X = 0; X < 800; ++X)
    if (IsFrameGrey(Canvas.FrameBuffer().GetPixel(X, Y))) Xs.push_back(X);
  return Xs;
}

}  // namespace

class MenuFrameTest : public ::testing::Test {
protected:
  TScreen Screen;
  TMenuCanvas Canvas{Screen};  // a black background
};

TEST_F(MenuFrameTest, UnfoldsWithTheFoldAccelerationAndStopsAtItsWidth) {
  TMenuFrame Frame(Canvas, 80, 189);
  float Width = 5, Speed = 0, Acc = 0;
  int Expected = 0;
  while (Width <= 80) {
    Acc = std::min(Acc + 0.1f, 1.0f);
    Speed = std::min(Speed + Acc, 12.0f);
    Width += Speed;
    ++Expected;
  }
  int Ticks = 1;
  while (!Frame.StepOpening()) {
    ++Ticks;
    ASSERT_LT(Ticks, 100);
    // Only the frame of this tick stands: every step erases the last one.
    const std::vector<int> Row = GreyOnRow(Canvas, 519);
    ASSERT_EQ(Row.size(), 2u);
    EXPECT_EQ(Row[0] + Row[1], 798);
  }
  EXPECT_EQ(Ticks, Expected);
  EXPECT_FALSE(Frame.Opening());
  EXPECT_EQ(GreyOnRow(Canvas, 519), (std::vector<int>{319, 479}));
  EXPECT_EQ(GreyOnRow(Canvas, 519 - 189), (std::vector<int>{319, 479}));
  EXPECT_TRUE(GreyOnRow(Canvas, 518 - 189 - 3).empty());
}

TEST_F(MenuFrameTest, FoldsThenShrinksAtOnceAndGrowsNoFasterThanEightATick) {
  TMenuFrame Frame(Canvas, 80, 189);
  while (!Frame.StepOpening()) {
  }
  Frame.StartClosing();
  int Ticks = 0;
  while (!Frame.StepClosing()) ASSERT_LT(++Ticks, 100);
  EXPECT_EQ(GreyOnRow(Canvas, 519), (std::vector<int>{394, 404}));

  // Shrinking has no cap on its speed; it ends on the target height exactly.
  Frame.StartResizing(102);
  std::vector<int> Heights;
  while (!Frame.StepResizing()) {
    Heights.push_back(Frame.FrameHeight());
    ASSERT_LT(Heights.size(), 100u);
  }
  EXPECT_TRUE(Frame.Opening());
  EXPECT_EQ(Frame.FrameHeight(), 102);
  EXPECT_FALSE(Heights.empty());
  // Nothing of the taller frame is left above the shorter one and its hooks.
  for (int Y = 300; Y < 516 - 102; ++Y) EXPECT_TRUE(GreyOnRow(Canvas, Y).empty()) << Y;

  // Growing: 0.5 more each tick, never above 8.
  while (!Frame.StepOpening()) {
  }
  Frame.StartClosing();
  while (!Frame.StepClosing()) {
  }
  Frame.StartResizing(210);
  int Last = Frame.FrameHeight(), Steps = 0;
  while (!Frame.StepResizing()) {
    EXPECT_LE(Frame.FrameHeight() - Last, 8);
    EXPECT_GE(Frame.FrameHeight(), Last);
    Last = Frame.FrameHeight();
    ASSERT_LT(++Steps, 100);
  }
  EXPECT_EQ(Frame.FrameHeight(), 210);
}

TEST_F(MenuFrameTest, OpeningAgainErasesTheOldFrameOnlyWhenAskedAndKeepsItsHeightForTheResize) {
  TMenuFrame Frame(Canvas, 80, 189);
  while (!Frame.StepOpening()) {
  }
  Frame.EraseNow();
  EXPECT_TRUE(GreyOnRow(Canvas, 519).empty());
  Frame.Open(160, 200);
  EXPECT_TRUE(Frame.Opening());
  EXPECT_FLOAT_EQ(Frame.HalfWidth(), 5.0f);
  EXPECT_EQ(Frame.FrameHeight(), 200);
}

TEST(MenuSoundsTest, TheScrollSoundRestsOnlyWhenItWasPlaying) {
  TFrontendWorld W(MenuSoundEntries());
  TMenuSounds Sounds(*W.Pak, *W.Config);
  Sounds.StopSound(TMenuSound::Scroll);
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::ScrollRest));
  Sounds.PlaySound(TMenuSound::ScrollRest);
  Sounds.PlaySound(TMenuSound::Scroll);  // starting to scroll cuts the rest short
  EXPECT_TRUE(Sounds.SoundPlaying(TMenuSound::Scroll));
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::ScrollRest));
  Sounds.StopSound(TMenuSound::Scroll);
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::Scroll));
  EXPECT_TRUE(Sounds.SoundPlaying(TMenuSound::ScrollRest));
}

TEST(MenuSoundsTest, SoundOffSilencesPlayingButNotStopping) {
  TFrontendWorld W(MenuSoundEntries());
  TMenuSounds Sounds(*W.Pak, *W.Config);
  Sounds.PlaySound(TMenuSound::FoldIn);
  W.Config->SoundOff = true;
  Sounds.PlaySound(TMenuSound::Tick);
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::Tick));
  EXPECT_TRUE(Sounds.SoundPlaying(TMenuSound::FoldIn));
  Sounds.StopSound(TMenuSound::FoldIn);
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::FoldIn));
}

TEST(MenuSoundsTest, AnEmptyArchiveLeavesEverySoundSilent) {
  TFrontendWorld W;
  TMenuSounds Sounds(*W.Pak, *W.Config);
  Sounds.PlaySound(TMenuSound::Scroll);
  Sounds.StopSound(TMenuSound::Scroll);
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::Scroll));
  EXPECT_FALSE(Sounds.SoundPlaying(TMenuSound::ScrollRest));
}

TEST(KeyRowsTest, WaitsForOneKeyAndBindsRefusesOrCancels) {
  TFrontendWorld W(MenuSoundEntries());
  TMenuSounds Sounds(*W.Pak, *W.Config);
  TKeyRows Rows(*W.Config);
  // Nothing waits: the key goes on to the window.
  std::uint16_t Key = 38;
  EXPECT_FALSE(Rows.KeyDown(Key, Sounds));
  EXPECT_EQ(Key, 38);

  EXPECT_TRUE(Rows.Wait(2, 1));
  EXPECT_FALSE(Rows.Wait(2, 3));  // a row already waits
  EXPECT_EQ(Rows.WaitingKey2(), 1);
  // Player 1's up arrow is taken; player 2's own down key is not.
  EXPECT_TRUE(Rows.KeyInUse(38));
  EXPECT_FALSE(Rows.KeyInUse(W.Config->Keys[TConfig::Player2Keys + 1]));
  Key = 38;
  EXPECT_FALSE(Rows.KeyDown(Key, Sounds));
  EXPECT_EQ(Key, 0);
  EXPECT_TRUE(Sounds.SoundPlaying(TMenuSound::Error));
  EXPECT_EQ(Rows.WaitingKey2(), 1);
  Key = 'J';
  EXPECT_TRUE(Rows.KeyDown(Key, Sounds));
  EXPECT_EQ(Key, 0);
  EXPECT_EQ(W.Config->Keys[TConfig::Player2Keys + 1], 'J');
  EXPECT_FALSE(Rows.Waiting());

  // Escape ends the wait and binds nothing.
  const auto Before = W.Config->Keys;
  EXPECT_TRUE(Rows.Wait(1, 4));
  Key = 27;
  Rows.KeyDown(Key, Sounds);
  EXPECT_EQ(Key, 0);
  EXPECT_FALSE(Rows.Waiting());
  EXPECT_EQ(W.Config->Keys, Before);
}

TEST(MenuCanvasTest, TheSmallFontHasOneCaseDigitsMarksAndABlank) {
  EXPECT_EQ(TMenuCanvas::GlyphIndex('A'), 0);
  EXPECT_EQ(TMenuCanvas::GlyphIndex('z'), 25);
  EXPECT_EQ(TMenuCanvas::GlyphIndex('0'), 26);
  EXPECT_EQ(TMenuCanvas::GlyphIndex('9'), 35);
  EXPECT_EQ(TMenuCanvas::GlyphIndex(','), 36);
  EXPECT_EQ(TMenuCanvas::GlyphIndex('/'), 51);
  EXPECT_EQ(TMenuCanvas::GlyphIndex('+'), 53);
  for (char Ch : {' ', '@', '#', static_cast<char>(0xC4)}) EXPECT_EQ(TMenuCanvas::GlyphIndex(Ch), 52) << Ch;
}
