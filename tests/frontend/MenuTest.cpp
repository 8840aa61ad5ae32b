#include "frontend/Menu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "frontend/FrontendKit.h"
#include "persist/HighScore.h"
#include "platform/Http.h"

namespace {

// Sounds a second long, so that one started in a tick still plays when the
// test looks; the menu music; a cheat mark. No other pictures: the menu
// draws on black, which keeps its own strokes easy to find.
std::vector<TPakEntry> MenuEntries() {
  std::vector<TPakEntry> Entries = MenuSoundEntries();
  Entries.push_back({"vyrn_menu.ogg", EncodeOggVorbis(std::vector<float>(44100 * 2, 0.0f), 2, 44100)});
  Entries.push_back({"cheat_on.png", SolidPng(20, 10, MakeRGBA(200, 40, 40, 255))});
  return Entries;
}

const TMenuSound AllSounds[] = {TMenuSound::Tick,    TMenuSound::Choose, TMenuSound::Scroll, TMenuSound::ScrollRest,
                                TMenuSound::FoldOut, TMenuSound::FoldIn, TMenuSound::Error};

}  // namespace

// Outside the unnamed namespace: each test derives from it, and the test
// program may be compiled as one unit.
class MenuTest : public ::testing::Test {
protected:
  MenuTest() : W(MenuEntries()) { Menu = std::make_unique<TMenu>(TMenuScreen::Main, *W.Pak, *W.Engine, *W.Config, W.Screen); }

  // Ticks until the frame is open and the content fully shown.
  int Settle() {
    int Ticks = 0;
    while (!Menu->Idle() && Ticks < 500) {
      Menu->Tick();
      ++Ticks;
    }
    EXPECT_TRUE(Menu->Idle());
    EXPECT_EQ(Menu->ContentAlpha(), 255);
    return Ticks;
  }
  // Chooses the current entry and lets the transition run to its end.
  void ChooseAndSettle() {
    Menu->Choose();
    Settle();
  }
  // Holds a key for one tick, as the window does.
  template <typename F>
  void Hold(F Call, int Ticks = 1) {
    for (int I = 0; I < Ticks; ++I) {
      Call();
      Menu->Tick();
    }
  }
  void GoTo(int Entry) {
    while (Menu->Cursor() != Entry) Hold([this] { Menu->CursorDown(); });
  }
  void CutSounds() {
    for (TMenuSound S : AllSounds) Menu->StopSound(S);
  }
  // Fresh settings read back from config.dat.
  std::unique_ptr<TConfig> Reloaded() {
    TFakeDisplay Display;
    return std::make_unique<TConfig>(Display, W.Folder.Path);
  }

  TFrontendWorld W;
  std::unique_ptr<TMenu> Menu;
};

TEST_F(MenuTest, MainMenuRepeatDelayWrapAndPages) {
  Settle();
  // Holding Down moves at once, again after 10 ticks, then once every 4
  // ticks, and wraps from 5 to 0.
  std::vector<int> Seen;
  for (int T = 0; T < 30; ++T) {
    const int Before = Menu->Cursor();
    Hold([this] { Menu->CursorDown(); });
    if (Menu->Cursor() != Before) Seen.push_back(T);
  }
  EXPECT_EQ(Seen, (std::vector<int>{0, 10, 14, 18, 22, 26}));
  EXPECT_EQ(Menu->Cursor(), 0);  // six moves from 0: all the way round
  Hold([] {}, 4);
  Hold([this] { Menu->CursorUp(); });
  EXPECT_EQ(Menu->Cursor(), 5);
  // Page Down from 5 lands on 1, Page Up from 1 wraps to 5.
  Hold([] {}, 4);
  Hold([this] { Menu->PageDown(); });
  EXPECT_EQ(Menu->Cursor(), 1);
  Hold([] {}, 4);
  Hold([this] { Menu->PageUp(); });
  EXPECT_EQ(Menu->Cursor(), 5);
  // Typing pauses the cursor keys too.
  Hold([] {}, 4);
  Menu->KeyPress('x');
  Menu->CursorDown();
  EXPECT_EQ(Menu->Cursor(), 5);
}

// Moves seen while Call is held for Ticks ticks (30 ms each), then let go.
template <typename F, typename G>
std::vector<int> MovesWhileHeld(TMenu& Menu, F Call, G Position, int Ticks) {
  std::vector<int> Moves;
  for (int T = 0; T < Ticks; ++T) {
    const auto Before = Position();
    Call();
    Menu.Tick();
    if (Position() != Before) Moves.push_back(T);
  }
  Menu.Tick();
  return Moves;
}

TEST_F(MenuTest, ATapActsOnceAndAHeldKeyRepeatsOnlyAfterAFirstDelay) {
  Settle();
  const auto Down = [this] { Menu->CursorDown(); };
  const auto Cursor = [this] { return Menu->Cursor(); };
  // Taps of 60, 150 and 300 ms move one entry each.
  for (int Ticks : {2, 5, 10}) {
    const int Before = Menu->Cursor();
    EXPECT_EQ(MovesWhileHeld(*Menu, Down, Cursor, Ticks).size(), 1u) << Ticks;
    EXPECT_EQ(Menu->Cursor(), Before + 1);
    Hold([] {}, 4);
  }
  // Held on, it repeats after the 10 ticks at the screen's pace of 4.
  Hold([this] { Menu->CursorUp(); }, 3);  // back to 2, with Up
  Hold([] {}, 4);
  EXPECT_EQ(MovesWhileHeld(*Menu, Down, Cursor, 19), (std::vector<int>{0, 10, 14, 18}));
  // Switching keys counts as a fresh press.
  Hold([] {}, 4);
  Hold(Down);
  Hold([] {}, 3);
  Hold([this] { Menu->CursorUp(); });
  EXPECT_EQ(MovesWhileHeld(*Menu, Down, Cursor, 1).size(), 0u);  // the pace still holds
  Hold([] {}, 3);
  EXPECT_EQ(MovesWhileHeld(*Menu, Down, Cursor, 1).size(), 1u);

  // The high-score list: a 50 ms Page Down moves one page, a held one waits
  // 10 ticks and then pages every tick.
  Hold([] {}, 4);
  GoTo(3);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::HighScores);
  ASSERT_EQ(Menu->Cursor(), 0);
  const auto PageDown = [this] { Menu->PageDown(); };
  EXPECT_EQ(MovesWhileHeld(*Menu, PageDown, Cursor, 2).size(), 1u);
  EXPECT_EQ(Menu->Cursor(), 8);
  EXPECT_EQ(MovesWhileHeld(*Menu, [this] { Menu->PageUp(); }, Cursor, 2).size(), 1u);
  EXPECT_EQ(Menu->Cursor(), 0);
  EXPECT_EQ(MovesWhileHeld(*Menu, PageDown, Cursor, 12), (std::vector<int>{0, 10, 11}));
  EXPECT_EQ(Menu->Cursor(), 24);
  // Holding Up scrolls one position at once, then every tick after 10.
  EXPECT_EQ(MovesWhileHeld(*Menu, [this] { Menu->CursorUp(); }, Cursor, 13), (std::vector<int>{0, 10, 11, 12}));
  EXPECT_EQ(Menu->Cursor(), 20);

  // The name entry: a 100 ms Backspace erases one letter; held, it erases
  // again after 10 ticks and then every tick.
  Menu->SetScreen(TMenuScreen::NameEntry);
  Menu->SetGameResult(5001, -1);
  Settle();
  for (char Ch : std::string("abcdef")) Hold([this, Ch] { Menu->KeyPress(Ch); });
  Hold([] {});
  ASSERT_EQ(Menu->NameText(), "abcdef");
  const auto Backspace = [this] { Menu->EraseChar(8); };
  const auto Name = [this] { return Menu->NameText(); };
  EXPECT_EQ(MovesWhileHeld(*Menu, Backspace, Name, 4).size(), 1u);
  EXPECT_EQ(Menu->NameText(), "abcde");
  EXPECT_EQ(MovesWhileHeld(*Menu, Backspace, Name, 12), (std::vector<int>{0, 10, 11}));
  EXPECT_EQ(Menu->NameText(), "ab");
}

TEST_F(MenuTest, HighlightPhaseStartsDarkAndRestartsBrightOnAMove) {
  EXPECT_FLOAT_EQ(Menu->CursorPhase(), std::numbers::pi_v<float>);
  Settle();
  Hold([this] { Menu->CursorDown(); });
  // Moved, then one idle step of 0.3.
  EXPECT_NEAR(Menu->CursorPhase(), 0.3f, 1e-6f);
  // The pulse on black: two lines at y = 342 + 30 and 357 + 30, white at
  // cos(phase) * 70 + 70 rounded, drawn before the phase stepped on.
  Hold([] {});
  const auto P = static_cast<std::uint32_t>(std::lround(std::cos(0.3L) * 70 + 70));
  EXPECT_EQ(W.Screen.PixelAt(341, 372), RGB(P, P, P));
  EXPECT_EQ(W.Screen.PixelAt(456, 387), RGB(P, P, P));
  EXPECT_EQ(W.Screen.PixelAt(340, 372), 0u);
  EXPECT_EQ(W.Screen.PixelAt(400, 342), 0u);  // the old row was erased
}

TEST_F(MenuTest, FrameOpensToItsWidthAndEveryTransitionLeavesOneCleanFrame) {
  // Enter while the frame opens does nothing; Esc on the main menu neither.
  Menu->Tick();
  Menu->Choose();
  Menu->Back();
  EXPECT_FALSE(Menu->FadingOut());
  Settle();
  EXPECT_EQ(Menu->Screen(), TMenuScreen::Main);

  // Exactly one frame stands after each change of screen: on row 519 (the
  // lines' last row) only x = 399 -/+ w, on row 522 only the hook ends.
  auto CheckFrame = [this](int HalfWidth, int Height) {
    std::vector<int> Row519, Row522, Top;
    for (int X = 0; X < 800; ++X) {
      if (IsFrameGrey(W.Screen.PixelAt(X, 519))) Row519.push_back(X);
      if (IsFrameGrey(W.Screen.PixelAt(X, 522))) Row522.push_back(X);
      if (IsFrameGrey(W.Screen.PixelAt(X, 516 - Height))) Top.push_back(X);
    }
    const int L = 399 - HalfWidth, R = 399 + HalfWidth;
    EXPECT_EQ(Row519, (std::vector<int>{L, R})) << HalfWidth;
    EXPECT_EQ(Row522, (std::vector<int>{L + 3, L + 4, R - 4, R - 3})) << HalfWidth;
    EXPECT_EQ(Top, (std::vector<int>{L + 3, L + 4, R - 4, R - 3})) << HalfWidth;
    EXPECT_TRUE(IsFrameGrey(W.Screen.PixelAt(L, 519 - Height)));
    EXPECT_FALSE(IsFrameGrey(W.Screen.PixelAt(L, 518 - Height)));
  };
  CheckFrame(80, 189);
  // Main -> options -> keys -> options -> main -> credits -> main -> list
  // -> main: taller, shorter and equal heights, wider and narrower frames.
  GoTo(2);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Options);
  CheckFrame(100, 240);
  GoTo(6);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Keys2);
  CheckFrame(85, 182);
  Menu->Back();
  Settle();
  Menu->Back();
  Settle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Main);
  GoTo(4);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Credits);
  CheckFrame(160, 200);
  Menu->Back();
  Settle();
  GoTo(3);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::HighScores);
  CheckFrame(146, 200);
  Menu->Back();
  Settle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Main);
  CheckFrame(80, 189);
}

TEST_F(MenuTest, OnePlayerFadesTheMusicOutAndRaisesTheStartAfterTheFold) {
  // The music fades in from 0, one step a tick.
  for (int T = 0; T < 3; ++T) {
    EXPECT_EQ(Menu->MusicLevel(), T);
    Menu->Tick();
    EXPECT_EQ(W.Audio.MusicVolume, T);
  }
  Settle();
  for (int T = 0; T < 120; ++T) Menu->Tick();
  ASSERT_FALSE(Menu->MusicFadingIn());
  Menu->Choose();  // entry 0
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Choose));
  std::vector<int> Volumes;
  int Ticks = 0;
  while (!Menu->StartOnePlayer() && Ticks < 200) {
    Menu->Tick();
    Volumes.push_back(W.Audio.MusicVolume);
    ++Ticks;
    if (!Menu->StartOnePlayer()) {
      // Not yet folded: the frame is still wider than 5 or only now closing.
      EXPECT_TRUE(Menu->FadingOut() || Menu->Closing()) << Ticks;
    }
  }
  ASSERT_TRUE(Menu->StartOnePlayer());
  EXPECT_EQ(Menu->Screen(), TMenuScreen::Main);
  // 100, 98, ... at one step of 2 per tick while the frame folds.
  for (std::size_t I = 0; I < Volumes.size(); ++I)
    EXPECT_EQ(Volumes[I], std::max(0, 100 - 2 * static_cast<int>(I))) << I;
  // The fold: 9 fade-out steps, then closing from 80 with the fold's
  // acceleration (0.1 more each tick, capped at 1).
  float HalfWidth = 80, Speed = 0, Acc = 0;
  int Closing = 0;
  while (HalfWidth >= 5) {
    Acc = std::min(Acc + 0.1f, 1.0f);
    Speed = std::min(Speed + Acc, 12.0f);
    HalfWidth -= Speed;
    ++Closing;
  }
  // The ninth fade step already takes the first closing step.
  EXPECT_EQ(Ticks, 8 + Closing);
  // The start request clears the frame at half width 5.
  EXPECT_FALSE(IsFrameGrey(W.Screen.PixelAt(394, 519)));
}

TEST_F(MenuTest, TheMusicLoopsAndPausesWithTheWindow) {
  Settle();
  W.Audio.Advance(1950);  // within 100 ms of the end of the 2-second piece
  ASSERT_GT(W.Engine->PositionMs(), W.Engine->LengthMs() - 100);
  Menu->Tick();
  EXPECT_LT(W.Engine->PositionMs(), 100);
  EXPECT_EQ(W.Engine->State(), TAudioEngine::StatePlaying);
  Menu->SetPaused(true);
  EXPECT_EQ(W.Engine->State(), TAudioEngine::StatePaused);
  Menu->SetPaused(false);
  EXPECT_EQ(W.Engine->State(), TAudioEngine::StatePlaying);
  // Quit stops the music and raises the request after the fold.
  GoTo(5);
  Menu->Choose();
  while (!Menu->QuitRequested()) Menu->Tick();
  EXPECT_NE(W.Engine->State(), TAudioEngine::StatePlaying);
}

TEST_F(MenuTest, CheatMarkShowsAndFadesIn51Ticks) {
  Settle();
  Menu->ShowCheatMark();
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Tick));
  Menu->Tick();
  EXPECT_EQ(W.Screen.PixelAt(5, 5), RGB(std::lround(200 * 250 / 255.0), std::lround(40 * 250 / 255.0),
                                         std::lround(40 * 250 / 255.0)));
  for (int T = 2; T <= 50; ++T) Menu->Tick();
  EXPECT_NE(W.Screen.PixelAt(5, 5), 0u);
  Menu->Tick();
  EXPECT_EQ(Menu->CheatMarkAlpha(), 0);
  EXPECT_EQ(W.Screen.PixelAt(5, 5), 0u);
}

TEST_F(MenuTest, SoundOffSilencesEverySoundButHaltingStillWorks) {
  Settle();
  Hold([this] { Menu->CursorDown(); });
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Tick));
  W.Config->SetSoundOff(true);
  CutSounds();
  Hold([] {}, 4);
  Hold([this] { Menu->CursorDown(); });
  Menu->Choose();
  for (TMenuSound S : AllSounds) EXPECT_FALSE(Menu->SoundPlaying(S)) << static_cast<int>(S);
}

TEST_F(MenuTest, OptionsVolumeMusicAndSoundRows) {
  GoTo(2);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Options);
  auto SetDeviceVolume = [this](int Percent) {
    W.Engine->SetVolume(Percent);
    Menu->Tick();  // the volume watch takes it over
    ASSERT_EQ(W.Config->Volume, Percent);
    Hold([] {}, 4);
    CutSounds();
  };
  GoTo(2);
  SetDeviceVolume(2);
  Hold([this] { Menu->CursorLeft(); });
  EXPECT_EQ(W.Config->Volume, 0);
  EXPECT_EQ(GetWaveOutVolume(), 0);
  EXPECT_EQ(Menu->MusicLevel(), 0);
  SetDeviceVolume(98);
  Hold([this] { Menu->CursorRight(); });
  EXPECT_EQ(W.Config->Volume, 100);
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Tick));
  Hold([] {}, 4);
  CutSounds();
  Hold([this] { Menu->CursorRight(); });
  EXPECT_EQ(W.Config->Volume, 100);
  EXPECT_FALSE(Menu->SoundPlaying(TMenuSound::Tick));

  // Music row: Right while music is already off changes nothing, plays
  // nothing, but still sets the repeat delay.
  while (Menu->Cursor() != 0) Hold([this] { Menu->CursorUp(); });
  Hold([] {}, 4);
  W.Config->SetMusicOff(true);
  CutSounds();
  Menu->CursorRight();
  EXPECT_FALSE(Menu->SoundPlaying(TMenuSound::Tick));
  EXPECT_EQ(Menu->RepeatDelay(), 4);
  Hold([] {}, 4);
  Hold([this] { Menu->CursorLeft(); });
  EXPECT_FALSE(W.Config->MusicOff);
  EXPECT_EQ(W.Engine->State(), TAudioEngine::StatePlaying);

  // Sound row: off is silent, on ticks; both survive a restart.
  Hold([this] { Menu->CursorDown(); }, 5);
  ASSERT_EQ(Menu->Cursor(), 1);
  Hold([] {}, 4);
  CutSounds();
  Hold([this] { Menu->CursorRight(); });
  EXPECT_TRUE(W.Config->SoundOff);
  EXPECT_FALSE(Menu->SoundPlaying(TMenuSound::Tick));
  Hold([] {}, 4);
  Hold([this] { Menu->CursorLeft(); });
  EXPECT_FALSE(W.Config->SoundOff);
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Tick));

  // Enter toggles the music at once, and again only after 4 ticks.
  Hold([this] { Menu->CursorUp(); }, 5);
  ASSERT_EQ(Menu->Cursor(), 0);
  Hold([] {}, 4);
  std::vector<bool> States;
  for (int T = 0; T < 9; ++T) {
    Hold([this] { Menu->Choose(); });
    States.push_back(W.Config->MusicOff);
  }
  EXPECT_EQ(States, (std::vector<bool>{true, true, true, true, false, false, false, false, true}));
  EXPECT_TRUE(Reloaded()->MusicOff);
}

TEST_F(MenuTest, KeyScreensBindRefuseAndCancel) {
  GoTo(2);
  ChooseAndSettle();
  GoTo(6);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::Keys2);
  const auto Keys = W.Config->Keys;
  // Player 2's up (W, 87) again to W: accepted.
  Menu->Choose();
  EXPECT_EQ(Menu->WaitingKey2(), 0);
  CutSounds();
  std::uint16_t Key = 87;
  Menu->KeyDown(Key);
  EXPECT_EQ(Key, 0);
  EXPECT_EQ(Menu->WaitingKey2(), -1);
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Tick));
  EXPECT_EQ(W.Config->Keys, Keys);
  // To the Up arrow, player 1's up: refused, still waiting.
  Menu->Choose();
  CutSounds();
  Key = 38;
  Menu->KeyDown(Key);
  EXPECT_EQ(Key, 0);
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Error));
  EXPECT_EQ(Menu->WaitingKey2(), 0);
  // The highlight turns red while a row waits.
  Menu->Tick();
  const TColorValue Waiting = W.Screen.PixelAt(400, 348);
  EXPECT_GT(GetRValue(Waiting), 0);
  EXPECT_EQ(GetGValue(Waiting), 0);
  // Escape cancels with a tick, changes nothing, and the screen stays.
  CutSounds();
  Key = 27;
  Menu->KeyDown(Key);
  EXPECT_EQ(Key, 0);
  EXPECT_EQ(Menu->WaitingKey2(), -1);
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Tick));
  EXPECT_EQ(Menu->Screen(), TMenuScreen::Keys2);
  EXPECT_EQ(W.Config->Keys, Keys);
  Hold([] {}, 2);
  EXPECT_EQ(GetRValue(W.Screen.PixelAt(400, 348)), GetGValue(W.Screen.PixelAt(400, 348)));
  // Bind player 2's draw (row 4) to Q: config.dat holds it as its 13th field.
  Hold([this] { Menu->CursorDown(); });
  GoTo(4);
  Menu->Choose();
  Key = 'Q';
  Menu->KeyDown(Key);
  EXPECT_EQ(W.Config->Keys[13], 'Q');
  EXPECT_EQ(Reloaded()->Keys[13], 'Q');
  // With nothing waiting, keys pass through untouched.
  Key = 38;
  Menu->KeyDown(Key);
  EXPECT_EQ(Key, 38);
}

TEST_F(MenuTest, GameResultRulesForTiesAndTheLastPlace) {
  // The default table runs from 100000 down to 5000 in steps of 5000.
  struct TCase {
    std::int64_t S1, S2, Pending1, Pending2;
    TMenuScreen Screen;
  };
  const TCase Cases[] = {
      {5001, -1, 5001, -1, TMenuScreen::NameEntry},        // between the 20th and the 19th: player 1 enters
      {4999, -1, -1, -1, TMenuScreen::Main},          // no place: main menu
      {5000, 5000, -1, -1, TMenuScreen::Main},        // tie for the last place: nobody
      {5001, 5000, 5001, -1, TMenuScreen::NameEntry},      // the last place goes to the higher score
      {5000, 5001, -1, 5001, TMenuScreen::NameEntry},
      {60000, 60000, 60000, 60000, TMenuScreen::NameEntry},
      {0, 0, -1, -1, TMenuScreen::Main},              // a cheat game
  };
  for (const TCase& C : Cases) {
    Menu->SetScreen(TMenuScreen::NameEntry);
    Menu->SetGameResult(C.S1, C.S2);
    EXPECT_EQ(Menu->PendingScore1(), C.Pending1) << C.S1 << " " << C.S2;
    EXPECT_EQ(Menu->PendingScore2(), C.Pending2) << C.S1 << " " << C.S2;
    EXPECT_EQ(Menu->Screen(), C.Screen) << C.S1 << " " << C.S2;
  }
}

TEST_F(MenuTest, NameEntryEditingAndTheSixteenCharacterLimit) {
  Menu->SetScreen(TMenuScreen::NameEntry);
  Menu->SetGameResult(5001, -1);
  Settle();
  auto Type = [this](const std::string& Text) {
    for (char Ch : Text) Hold([this, Ch] { Menu->KeyPress(Ch); });
  };
  // Letters typed within one tick all arrive, in order, one a tick; the
  // refused comma among them costs nothing.
  for (char Ch : std::string("ab,cd")) Menu->KeyPress(Ch);
  EXPECT_EQ(Menu->NameText(), "a");
  Hold([] {});
  EXPECT_EQ(Menu->NameText(), "ab");
  Hold([] {}, 3);
  EXPECT_EQ(Menu->NameText(), "abcd");
  EXPECT_EQ(Menu->NameCursor(), 4);
  // Editing waits until the typed letters are in.
  for (int I = 0; I < 4; ++I) {
    Hold([] {});
    Hold([this] { Menu->EraseChar(8); });
  }
  ASSERT_EQ(Menu->NameText(), "");
  Hold([] {});
  // Letters still waiting when the screen changes are dropped.
  for (char Ch : std::string("xyz")) Menu->KeyPress(Ch);
  Menu->SetScreen(TMenuScreen::NameEntry);
  Menu->SetGameResult(5001, -1);
  Settle();
  EXPECT_EQ(Menu->NameText(), "");
  Type("Ab,c");  // the comma is refused
  EXPECT_EQ(Menu->NameText(), "Abc");
  Type("defghijklmnop");
  ASSERT_EQ(Menu->NameText(), "Abcdefghijklmnop");
  Type("q");  // a 17th character
  EXPECT_EQ(Menu->NameText(), "Abcdefghijklmnop");
  // Backspace at the start and Delete at the end do nothing.
  Hold([this] { Menu->CursorEnd(); });
  Hold([] {});
  Hold([this] { Menu->EraseChar(46); });
  EXPECT_EQ(Menu->NameText().size(), 16u);
  Hold([this] { Menu->CursorHome(); });
  Hold([] {});
  Hold([this] { Menu->EraseChar(8); });
  EXPECT_EQ(Menu->NameText().size(), 16u);
  Hold([] {});
  Hold([this] { Menu->EraseChar(46); });
  EXPECT_EQ(Menu->NameText(), "bcdefghijklmnop");
  // 15 characters plus a trailing space: a new one goes in at the cursor and
  // the space is dropped.
  Hold([this] { Menu->CursorEnd(); });
  Type(" ");
  ASSERT_EQ(Menu->NameText(), "bcdefghijklmnop ");
  Hold([] {});
  Hold([this] { Menu->CursorHome(); });
  Hold([] {});
  Hold([this] { Menu->CursorRight(); });
  Type("X");
  EXPECT_EQ(Menu->NameText(), "bXcdefghijklmnop");
  EXPECT_EQ(Menu->NameCursor(), 2);
  Hold([] {});
  Hold([this] { Menu->EraseChar(8); });
  EXPECT_EQ(Menu->NameText(), "bcdefghijklmnop");
  EXPECT_EQ(Menu->NameCursor(), 1);
  // Esc does nothing here.
  Menu->Back();
  EXPECT_FALSE(Menu->FadingOut());
}

TEST_F(MenuTest, NamesGoIntoTheTableAndTheListOpensAtTheBestScore) {
  // Player 2 scored more: player 1 types first, shown at place + 2.
  Menu->SetScreen(TMenuScreen::NameEntry);
  Menu->SetGameResult(70000, 80000);
  Settle();
  for (char Ch : std::string("  Ann ")) Hold([this, Ch] { Menu->KeyPress(Ch); });
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::NameEntry);
  EXPECT_EQ(Menu->PendingScore1(), -1);
  for (char Ch : std::string("Bob")) Hold([this, Ch] { Menu->KeyPress(Ch); });
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::HighScores);
  THighScore_element E;
  Menu->HighScores().GetEntry(4, E);
  EXPECT_EQ(E.Name, "Bob");
  EXPECT_EQ(E.Score, 80000);
  Menu->HighScores().GetEntry(7, E);
  EXPECT_EQ(E.Name, "Ann");
  // Saved: a fresh table from the file holds both.
  THighScore Fresh(W.Folder.Path);
  EXPECT_EQ(Fresh.Entries[7].Name, "Ann");
  // Scrolled to the best score: place 4 * 20 div 7.
  EXPECT_EQ(Menu->Cursor(), 4 * 20 / 7);

  // A one-player score for place 20 opens the list at the end, 28.
  Menu->SetScreen(TMenuScreen::NameEntry);
  Menu->SetGameResult(Menu->HighScores().Entries[19].Score + 1, -1);
  Settle();
  ChooseAndSettle();
  EXPECT_EQ(Menu->Screen(), TMenuScreen::HighScores);
  EXPECT_EQ(Menu->Cursor(), 28);
}

TEST_F(MenuTest, HighScoreListPagesAndScrolls) {
  GoTo(3);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::HighScores);
  // Down until 25, playing the looping scroll sound.
  while (Menu->Cursor() < 25) Hold([this] { Menu->CursorDown(); });
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::Scroll));
  Menu->StopSound(TMenuSound::Scroll);  // no key held
  EXPECT_FALSE(Menu->SoundPlaying(TMenuSound::Scroll));
  EXPECT_TRUE(Menu->SoundPlaying(TMenuSound::ScrollRest));
  Hold([] {});
  Hold([this] { Menu->PageDown(); });
  EXPECT_EQ(Menu->Cursor(), 28);
  Hold([] {});
  Hold([this] { Menu->CursorHome(); });
  Hold([] {});
  Hold([this] { Menu->CursorUp(); });  // at the top already: no scrolling
  EXPECT_EQ(Menu->Cursor(), 0);
  EXPECT_FALSE(Menu->SoundPlaying(TMenuSound::Scroll));
  // Escape chooses the current position and folds back to the main menu.
  Menu->Back();
  Settle();
  EXPECT_EQ(Menu->Screen(), TMenuScreen::Main);
  EXPECT_EQ(Menu->HighScoreView(), nullptr);
}

namespace {

// A server stand-in that answers as told and notes what the window showed
// when the request came in.
class TWatchingHttp : public IHttpClient {
public:
  explicit TWatchingHttp(bool Answer, const TMenu& Menu, const int& Presented)
      : FAnswer(Answer), FMenu(Menu), FPresented(Presented) {}
  bool Get(const std::string& Url) override {
    Urls.push_back(Url);
    StatusAtRequest.push_back(FMenu.SubmitStatus());
    PresentedAtRequest.push_back(FPresented);
    return FAnswer;
  }
  std::vector<std::string> Urls;
  std::vector<int> StatusAtRequest;
  std::vector<int> PresentedAtRequest;

private:
  bool FAnswer;
  const TMenu& FMenu;
  const int& FPresented;
};

}  // namespace

TEST_F(MenuTest, SubmittingShowsItsStatusFirstAndNeverTouchesTheTable) {
  GoTo(3);
  ChooseAndSettle();
  ASSERT_EQ(Menu->Screen(), TMenuScreen::HighScores);
  EXPECT_EQ(Menu->SubmitStatus(), 0);
  int Presented = 0;
  W.Screen.Presenter = [&Presented](const TScreen&) { ++Presented; };
  const auto Before = Menu->HighScores().Entries;
  {
    TWatchingHttp Http(false, *Menu, Presented);
    IHttpClient* Old = SetHttpClient(&Http);
    Menu->KeyPress('S');  // upper case does not submit
    EXPECT_TRUE(Http.Urls.empty());
    Menu->KeyPress('s');
    SetHttpClient(Old);
    ASSERT_EQ(Http.Urls.size(), 1u);  // the second half is not sent after a failure
    EXPECT_EQ(Http.StatusAtRequest[0], 1);
    EXPECT_EQ(Http.PresentedAtRequest[0], 1);
    EXPECT_EQ(Menu->SubmitStatus(), 3);
  }
  for (int I = 0; I < THighScore::Count; ++I) {
    EXPECT_EQ(Menu->HighScores().Entries[static_cast<std::size_t>(I)].Name, Before[static_cast<std::size_t>(I)].Name);
    EXPECT_EQ(Menu->HighScores().Entries[static_cast<std::size_t>(I)].Score, Before[static_cast<std::size_t>(I)].Score);
  }
  {
    TWatchingHttp Http(true, *Menu, Presented);
    IHttpClient* Old = SetHttpClient(&Http);
    Menu->KeyPress('s');
    SetHttpClient(Old);
    EXPECT_EQ(Http.Urls.size(), 2u);
    EXPECT_EQ(Menu->SubmitStatus(), 2);
  }
  W.Screen.Presenter = nullptr;
}

TEST(MenuWithoutAssetsTest, EveryScreenWorksWithAnEmptyOrDamagedArchive) {
  for (bool Damaged : {false, true}) {
    TFrontendWorld W;
    if (Damaged) W.Folder.Write("game.pak", "not an archive");
    TMenu Menu(TMenuScreen::Main, *W.Pak, *W.Engine, *W.Config, W.Screen);
    auto Run = [&Menu](int Ticks) {
      for (int T = 0; T < Ticks; ++T) Menu.Tick();
    };
    Run(80);
    // Through the options, the list and the credits, with every key.
    for (int Entry : {2, 3, 4}) {
      while (Menu.Cursor() != Entry) {
        Menu.CursorDown();
        Run(4);
      }
      Menu.Choose();
      Run(80);
      for (int T = 0; T < 8; ++T) {
        for (auto Key : {&TMenu::CursorDown, &TMenu::PageDown, &TMenu::CursorLeft, &TMenu::CursorRight}) {
          (Menu.*Key)();
          Run(5);
        }
      }
      Menu.KeyPress('s');
      std::uint16_t Key = 'K';
      Menu.KeyDown(Key);
      for (int T = 0; T < 3; ++T) {
        Menu.Back();
        Run(80);
      }
      ASSERT_EQ(Menu.Screen(), TMenuScreen::Main);
      Menu.CursorHome();
      Run(4);
    }
    Menu.SetScreen(TMenuScreen::NameEntry);
    Menu.SetGameResult(90000, -1);
    Run(40);
    Menu.KeyPress('Z');
    Menu.Choose();
    Run(80);
    EXPECT_EQ(Menu.Screen(), TMenuScreen::HighScores);
    Menu.ShowCheatMark();
    Run(60);
    Menu.Back();
    Run(80);
    EXPECT_EQ(Menu.Screen(), TMenuScreen::Main);
  }
}

// The claimed-ground row of the options screen, with a small font of solid
// white squares so that the words' opacity shows on the black screen.
TEST(OptionsGroundRowTest, LeftRightAndEnterSwitchTheLookAndStoreItInTheExtrasOnly) {
  std::vector<TPakEntry> Entries = MenuEntries();
  Entries.push_back({"small_chars.png", SolidPng(8 * TMenuCanvas::GlyphCount, 8, MakeRGBA(255, 255, 255, 255))});
  TFrontendWorld W(Entries);
  TMenu Menu(TMenuScreen::Options, *W.Pak, *W.Engine, *W.Config, W.Screen);
  auto Tick = [&Menu](int Ticks = 1) {
    for (int T = 0; T < Ticks; ++T) Menu.Tick();
  };
  auto Cut = [&Menu] {
    for (TMenuSound S : AllSounds) Menu.StopSound(S);
  };
  for (int T = 0; T < 500 && !Menu.Idle(); ++T) Tick();
  ASSERT_TRUE(Menu.Idle());
  while (Menu.Cursor() != 4) {
    Menu.CursorDown();
    Tick(4);
  }
  Tick();
  // The row's highlight lies in the band between full screen and the key
  // screens: lines at y = 408 and 423 (the picture is missing: one pixel).
  EXPECT_NE(W.Screen.PixelAt(400, 408), 0u);
  EXPECT_NE(W.Screen.PixelAt(400, 423), 0u);
  EXPECT_EQ(W.Screen.PixelAt(400, 378), 0u);  // full screen's row is not lit

  // "classic/clear" from x = 390 at y = 413: the current word at full
  // opacity, the other at half.
  auto Shown = [&W](int X) { return GetRValue(W.Screen.PixelAt(X, 413)); };
  const std::string ConfigBefore = W.Folder.Read("config.dat");
  ASSERT_EQ(W.Config->Extras.ClaimedGround, TClaimedGroundLook::Classic);
  // (The fade's last step drew them at 240.)
  EXPECT_EQ(Shown(390), 240);
  EXPECT_EQ(Shown(390 + 8 * 8), 120);

  Cut();
  Menu.CursorRight();
  Tick();
  EXPECT_EQ(W.Config->Extras.ClaimedGround, TClaimedGroundLook::Clear);
  EXPECT_TRUE(Menu.SoundPlaying(TMenuSound::Tick));
  EXPECT_EQ(Shown(390), 127);
  EXPECT_EQ(Shown(390 + 8 * 8), 255);
  EXPECT_EQ(TExtraSettings(W.Folder.Path).ClaimedGround, TClaimedGroundLook::Clear);
  // Right again changes nothing and stays silent.
  Tick(4);
  Cut();
  Menu.CursorRight();
  Tick();
  EXPECT_FALSE(Menu.SoundPlaying(TMenuSound::Tick));
  EXPECT_EQ(W.Config->Extras.ClaimedGround, TClaimedGroundLook::Clear);

  // Enter toggles at once and a held Enter again only every 4 ticks.
  Tick(4);
  std::vector<bool> States;
  for (int T = 0; T < 5; ++T) {
    Menu.Choose();
    Tick();
    States.push_back(W.Config->Extras.ClaimedGround == TClaimedGroundLook::Clear);
  }
  EXPECT_EQ(States, (std::vector<bool>{false, false, false, false, true}));
  Tick(4);
  Menu.CursorLeft();
  Tick();
  EXPECT_EQ(TExtraSettings(W.Folder.Path).ClaimedGround, TClaimedGroundLook::Classic);
  EXPECT_EQ(W.Folder.Read("config.dat"), ConfigBefore);

  // Escape still leads back through the last entry.
  Menu.Back();
  for (int T = 0; T < 500 && !(Menu.Idle() && Menu.Screen() == TMenuScreen::Main); ++T) Tick();
  EXPECT_EQ(Menu.Screen(), TMenuScreen::Main);
}

// 30 seconds are 1000 ticks of 30 ms: 999 ticks (29.97 s) untouched give no
// cue, the thousandth does, once; any key, held or fresh, starts the wait
// again, and only the main screen waits.
TEST_F(MenuTest, TheMainScreenCuesItsDemoAfterThirtyUntouchedSecondsOnly) {
  const auto Idle = [this](int Ticks) {
    for (int I = 0; I < Ticks; ++I) {
      Menu->Tick();
      if (Menu->TakeDemoCue()) return I + 1;
    }
    return 0;
  };
  EXPECT_EQ(Idle(DemoIdleTicks + 5), DemoIdleTicks);
  EXPECT_EQ(Menu->IdleTicks(), 0);
  EXPECT_EQ(Idle(DemoIdleTicks - 1), 0);
  EXPECT_FALSE(Menu->TakeDemoCue());
  EXPECT_EQ(Idle(1), 1);

  const std::vector<std::function<void()>> Touches = {
      [this] {
        std::uint16_t Key = 16;  // a key that does nothing on this screen
        Menu->KeyDown(Key);
      },
      [this] { Menu->KeyPress('x'); },
      [this] { Menu->CursorLeft(); },
      [this] { Menu->PageDown(); },
  };
  for (std::size_t T = 0; T < Touches.size(); ++T) {
    SCOPED_TRACE(T);
    EXPECT_EQ(Idle(DemoIdleTicks - 10), 0);
    Touches[T]();
    Menu->Tick();
    EXPECT_EQ(Menu->IdleTicks(), 0);
    EXPECT_EQ(Idle(DemoIdleTicks), DemoIdleTicks);
  }

  // A key held down all along is a player there.
  for (int I = 0; I < DemoIdleTicks + 10; ++I) {
    Menu->CursorRight();
    Menu->Tick();
    ASSERT_FALSE(Menu->TakeDemoCue()) << I;
  }

  // Other screens never cue; back on the main screen the wait starts over.
  Menu->SetScreen(TMenuScreen::Credits);
  EXPECT_EQ(Idle(DemoIdleTicks + 10), 0);
  Menu->SetScreen(TMenuScreen::Main);
  EXPECT_EQ(Idle(DemoIdleTicks + 10), DemoIdleTicks);
}
