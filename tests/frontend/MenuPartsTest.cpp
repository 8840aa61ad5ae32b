// The menu's parts on their own: the frame's animation, the music rotators,
// the sounds' rules, the key rows and the small font's character table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "frontend/FrontendKit.h"
#include "frontend/KeysPage.h"
#include "frontend/MenuCanvas.h"
#include "frontend/MenuFrame.h"
#include "frontend/MenuSounds.h"
#include "frontend/MusicRotators.h"

namespace {

// The x of every frame pixel on row Y.
std::vector<int> GreyOnRow(const TMenuCanvas& Canvas, int Y) {
  std::vector<int> Xs;
  for (int X = 0; X < 800; ++X)
    if (IsFrameGrey(Canvas.FrameBuffer().GetPixel(X, Y))) Xs.push_back(X);
  return Xs;
}

// Opaque white bars (27 x 139) and no discs.
TAlphaImage RotatorPicture(const std::string& Name) {
  if (Name != "music_rotator_leftbar.png" && Name != "music_rotator_rightbar.png") return {};
  TAlphaImage Bar(27, 139);
  for (int Y = 0; Y < 139; ++Y)
    for (int X = 0; X < 27; ++X) Bar.SetPixel(X, Y, MakeRGBA(255, 255, 255, 255));
  return Bar;
}

// Lit rows of a bar drawn at column X (on black).
int LitBarRows(const TMenuCanvas& Canvas, int X) {
  int Lit = 0;
  for (int Y = 230; Y < 369; ++Y) Lit += Canvas.FrameBuffer().GetPixel(X + 13, Y) != 0 ? 1 : 0;
  return Lit;
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

TEST_F(MenuFrameTest, RotatorsFollowMusicLevelsWithBarsLitAndDiscsSmooth) {
  TMusicRotators Rotators(RotatorPicture);
  // Peak levels as music gives them: a beat a second over a slow swell,
  // roughly a quarter to nine tenths of full scale, with some jitter.
  std::vector<int> Lit;
  float LastAngle = 0;
  std::uint32_t Seed = 12345;
  for (int T = 0; T < 300; ++T) {
    Seed = Seed * 1103515245u + 12345u;
    const double Beat = std::exp(-(T % 33) / 8.0);
    const double Swell = 0.5 + 0.5 * std::sin(T / 60.0);
    const auto Level =
        static_cast<std::uint32_t>(32768 * (0.25 + 0.35 * Beat + 0.25 * Swell) + ((Seed >> 16) % 2000) - 1000);
    Rotators.DrawLevels(Canvas, Level, Level / 2);
    Lit.push_back(LitBarRows(Canvas, 11));
    // Always forwards and by at most 10 degrees a tick: no jumps.
    EXPECT_GE(Rotators.LeftSpeed(), 10.0f) << T;
    EXPECT_LE(Rotators.LeftSpeed(), 100.0f) << T;
    EXPECT_GE(Rotators.RightSpeed(), 10.0f) << T;
    const float Step = std::fmod(Rotators.LeftAngle() - LastAngle + 360.0f, 360.0f);
    EXPECT_LE(Step, 10.0f) << T;
    LastAngle = Rotators.LeftAngle();
  }
  // At rest (speed 10) a bar lights 21 rows; with music it rises well above
  // that most of the time and moves over much of its 139 rows.
  const auto [Low, High] = std::minmax_element(Lit.begin() + 1, Lit.end());
  EXPECT_GE(*High - *Low, 60);
  EXPECT_GE(std::count_if(Lit.begin() + 1, Lit.end(), [](int L) { return L > 50; }), 250);
  EXPECT_GT(LitBarRows(Canvas, 762), 21);
  // Full scale (or beyond) is the top speed but no fall back to rest;
  // silence and a reset are rest.
  Rotators.DrawLevels(Canvas, 40000, 32768);
  EXPECT_FLOAT_EQ(Rotators.LeftSpeed(), 100.0f);
  EXPECT_FLOAT_EQ(Rotators.RightSpeed(), 100.0f);
  Rotators.DrawLevels(Canvas, 0, 0);
  EXPECT_FLOAT_EQ(Rotators.LeftSpeed(), 10.0f);
  Rotators.DrawLevels(Canvas, 16384, 16384);
  EXPECT_FLOAT_EQ(Rotators.LeftSpeed(), 55.0f);
  Rotators.DrawLevels(Canvas, 0, 0);
  EXPECT_EQ(LitBarRows(Canvas, 11), 111);  // the bar shows the last speed
  Rotators.DrawLevels(Canvas, 16384, 16384);
  Rotators.Reset();
  Rotators.DrawLevels(Canvas, 0, 0);
  EXPECT_FLOAT_EQ(Rotators.LeftSpeed(), 10.0f);
  EXPECT_EQ(LitBarRows(Canvas, 11), 21);
}
