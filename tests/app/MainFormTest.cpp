#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "FakeParts.h"
#include "app/Main.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"
#include "platform/MessageBox.h"
#include "platform/WaveOut.h"
#include "platform/HeadlessWindow.h"

namespace {

constexpr std::uint16_t KLeft = 37, KUp = 38, KRight = 39, KDown = 40, KSpace = 32, KCtrl = 17;
constexpr std::uint16_t KEnter = 13, KEscape = 27;

struct MainForm : ::testing::Test, THeadlessWindow {
  TFakeParts Parts;
  TRecordingMessageBox Box;
  std::unique_ptr<TMainForm> Form;
  TCallLog& Log = Parts.Log;

  THeadlessWaveOut WaveOut;

  void SetUp() override {
    SetMessageBoxHandler(&Box);
    // 77 % on the output device: 196 / 255 of full scale on each side.
    WaveOut.Volume = 50176u | (50176u << 16);
    SetWaveOutHandler(&WaveOut);
    SetTimeOfDaySource([] { return 4711u; });
    Form = std::make_unique<TMainForm>(Parts, Window, Screen, Timers);
  }
  void TearDown() override {
    Form.reset();
    SetMessageBoxHandler(nullptr);
    SetWaveOutHandler(nullptr);
    SetTimeOfDaySource(nullptr);
  }

  void Create() { ASSERT_TRUE(Form->FormCreate()); }
  void Tick(TTimerId Timer) { Form->Dispatch(TInputEvent::TimerTick(Timer)); }
  void Down(std::uint16_t Key) { Form->Dispatch(TInputEvent::KeyDown(Key)); }
  void Up(std::uint16_t Key) { Form->Dispatch(TInputEvent::KeyUp(Key)); }
  void Type(const std::string& Keys) {
    for (char C : Keys) {
      Down(static_cast<std::uint8_t>(C));
      Up(static_cast<std::uint8_t>(C));
    }
  }
  void ToMenu() {
    Create();
    Parts.Splash->FinishedValue = true;
    Tick(Form->SplashScreenTimer);
    ASSERT_NE(Parts.Menu, nullptr);
  }
  void ToGame(bool TwoPlayers = false) {
    ToMenu();
    StartGameFromMenu(TwoPlayers);
  }
  void StartGameFromMenu(bool TwoPlayers) {
    (TwoPlayers ? Parts.Menu->TwoPlayers : Parts.Menu->OnePlayer) = true;
    Tick(Form->MenuTimer);
    (TwoPlayers ? Parts.Menu->TwoPlayers : Parts.Menu->OnePlayer) = false;
    ASSERT_TRUE(Form->TimerRuns(Form->GameTimer));
  }
  // The calls of one game tick before the enemies move.
  TCallLog GameTick() {
    Log.clear();
    Tick(Form->GameTimer);
    TCallLog Moves;
    for (const auto& L : Log) {
      if (L == "Game.MoveEvil") break;
      Moves.push_back(L);
    }
    return Moves;
  }
  TCallLog MenuTick() {
    Log.clear();
    Tick(Form->MenuTimer);
    return Log;
  }
  bool Logged(const std::string& Call) const { return std::find(Log.begin(), Log.end(), Call) != Log.end(); }
  int RunningMainTimers() const {
    return Form->TimerRuns(Form->SplashScreenTimer) + Form->TimerRuns(Form->MenuTimer) +
           Form->TimerRuns(Form->GameTimer);
  }
};

using Calls = TCallLog;

}  // namespace

TEST_F(MainForm, CreatesItsPartsInOrderAndStartsTheSplash) {
  Parts.WriteSettings(true);
  Create();
  EXPECT_EQ(Log, (Calls{"CreatePak(game.pak)", "CreateConfig", "CreateAudio", "CreateSplash(320,240)",
                        "Display.Enter"}));
  // The music engine takes the settings' volume: 77 % is 196 / 255 per side.
  EXPECT_EQ(WaveOut.Volume, (196u * 257u) | ((196u * 257u) << 16));
  EXPECT_EQ(Window.Caption, "Vyrn Rekindled - a game by the Vyrn Rekindled team");
  EXPECT_EQ(RandSeed, 4711u);
  EXPECT_EQ(Parts.SplashDC, &Screen);
  EXPECT_TRUE(Form->TimerRuns(Form->FocusMonitor));
  EXPECT_TRUE(Form->TimerRuns(Form->SplashScreenTimer));
  EXPECT_EQ(RunningMainTimers(), 1);
  EXPECT_EQ(Timers.Interval(Form->FocusMonitor), 50u);
  EXPECT_EQ(Timers.Interval(Form->SplashScreenTimer), 40u);
  EXPECT_EQ(Timers.Interval(Form->MenuTimer), 30u);
  EXPECT_EQ(Timers.Interval(Form->GameTimer), 30u);
  EXPECT_EQ(Form->StartLives, 2);
  EXPECT_EQ(Form->StartLevel, 1);
  EXPECT_FALSE(Form->CheatUsed);
  EXPECT_FALSE(Form->Minimised);
  ASSERT_NE(Form->RightPanel(), nullptr);
  EXPECT_EQ(Form->RightPanel()->Left(), 600);
  EXPECT_EQ(Form->RightPanel()->Top(), 0);
  EXPECT_EQ(Form->RightPanel()->Width(), 200);
  EXPECT_EQ(Form->RightPanel()->Height(), 600);
  EXPECT_EQ(Form->BottomPanel()->Left(), 0);
  EXPECT_EQ(Form->BottomPanel()->Top(), 550);
  EXPECT_EQ(Form->BottomPanel()->Width(), 600);
  EXPECT_EQ(Form->BottomPanel()->Height(), 50);
  EXPECT_TRUE(Box.Shown.empty());
}

TEST_F(MainForm, AFullScreenThatCannotBeHadIsStoredAsWindowed) {
  Parts.WriteSettings(true);
  Parts.Display.EnterResults = {DispChangeFailed};
  Create();
  EXPECT_FALSE(Parts.Config->FullScreen);
  EXPECT_FALSE(Parts.Display.InGameMode);
  ASSERT_EQ(Box.Shown.size(), 1u);
  EXPECT_NE(Box.Shown[0].second.find("windowed mode"), std::string::npos);
  EXPECT_EQ(Parts.Display.Border, TBorderStyle::Fixed);

  // Windowed by choice: the desktop stays as it is.
  TFakeParts Other;
  Other.WriteSettings(false);
  TTimerScheduler OtherTimers{Clock};
  TMainForm OtherForm(Other, Window, Screen, OtherTimers);
  ASSERT_TRUE(OtherForm.FormCreate());
  EXPECT_EQ(Other.Display.Count("enter"), 0);
  EXPECT_FALSE(Other.Display.InGameMode);
}

TEST_F(MainForm, AnUnreadableArchiveStopsTheStartWithOneMessage) {
  std::filesystem::remove(Parts.Folder / "game.pak");
  EXPECT_FALSE(Form->FormCreate());
  ASSERT_EQ(Box.Shown.size(), 1u);
  const std::string Text = Box.Shown[0].second;
  EXPECT_NE(Text.find("\"game.pak\""), std::string::npos) << Text;
  EXPECT_NE(Text.find(std::filesystem::current_path().string()), std::string::npos) << Text;
  // Nothing else was started: no settings file, no display switch, no timers.
  EXPECT_EQ(Log, (Calls{"CreatePak(game.pak)"}));
  EXPECT_EQ(Form->Config(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(Parts.Folder / "config.dat"));
  EXPECT_FALSE(Timers.NextDeadline().has_value());
  Form->FormDestroy();
  EXPECT_EQ(Form->Pak(), nullptr);

  // A damaged archive says something else.
  TFakeParts Other;
  Other.DamageArchive();
  TTimerScheduler OtherTimers{Clock};
  TMainForm OtherForm(Other, Window, Screen, OtherTimers);
  EXPECT_FALSE(OtherForm.FormCreate());
  ASSERT_EQ(Box.Shown.size(), 2u);
  EXPECT_NE(Box.Shown[1].second, Text);
}

TEST_F(MainForm, TheSplashTicksUntilFinishedOrAKeyThenTheMenuTakesOver) {
  Create();
  Log.clear();
  Tick(Form->SplashScreenTimer);
  Tick(Form->SplashScreenTimer);
  EXPECT_EQ(Log, (Calls{"Splash.Tick", "Splash.Tick"}));
  Log.clear();
  Down('Q');
  EXPECT_EQ(Log, (Calls{"Splash.SetFinished(1)"}));
  EXPECT_TRUE(Form->TypedText.empty());  // keys for the cheat words count only in the menu
  Log.clear();
  Tick(Form->SplashScreenTimer);
  EXPECT_EQ(Log, (Calls{"~Splash", "CreateMenu(Main)"}));
  EXPECT_EQ(Form->Splash(), nullptr);
  EXPECT_EQ(Parts.MenuDC, &Screen);
  EXPECT_TRUE(Form->TimerRuns(Form->MenuTimer));
  EXPECT_EQ(RunningMainTimers(), 1);
}

TEST_F(MainForm, TheMenuGetsAtMostOneHeldKeyPerTickInItsOrder) {
  ToMenu();
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick"}));
  // Press all of them; release them one by one from the front of the order.
  const std::pair<std::uint16_t, std::string> Order[] = {
      {KUp, "Menu.CursorUp"},     {KDown, "Menu.CursorDown"},      {KLeft, "Menu.CursorLeft"},
      {KRight, "Menu.CursorRight"}, {KEnter, "Menu.Choose"},       {36, "Menu.CursorHome"},
      {35, "Menu.CursorEnd"},     {33, "Menu.PageUp"},             {34, "Menu.PageDown"},
      {KEscape, "Menu.Back"},     {46, "Menu.EraseChar(46)"},      {8, "Menu.EraseChar(8)"},
  };
  for (auto It = std::rbegin(Order); It != std::rend(Order); ++It) Down(It->first);
  // Up was pressed last; each released arrow hands over to those still held.
  for (const auto& [Key, Call] : Order) {
    EXPECT_EQ(MenuTick(), (Calls{Call, "Menu.Tick"})) << Call;
    Up(Key);
  }
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick"}));
}

TEST_F(MainForm, MenuArrowsLatestWinsAndReleasedOnesComeBack) {
  ToMenu();
  Down(KLeft);
  Down(KUp);
  EXPECT_TRUE(Form->MenuActiveUp);
  EXPECT_FALSE(Form->MenuActiveLeft);
  Down(KRight);
  Up(KRight);
  // Left and up are both held again; up comes first in the menu's order.
  EXPECT_TRUE(Form->MenuActiveLeft);
  EXPECT_TRUE(Form->MenuActiveUp);
  EXPECT_FALSE(Form->MenuHeldRight);
  EXPECT_EQ(MenuTick()[0], "Menu.CursorUp");
  Up(KUp);
  EXPECT_EQ(MenuTick()[0], "Menu.CursorLeft");
}

TEST_F(MainForm, TheMenuSeesEveryKeyFirstAndMaySwallowIt) {
  ToMenu();
  Log.clear();
  Down(KEnter);
  EXPECT_EQ(Log, (Calls{"Menu.KeyDown(13)"}));
  EXPECT_TRUE(Form->MenuEnter);
  Up(KEnter);
  Parts.Menu->SwallowKey = KEnter;
  Down(KEnter);
  EXPECT_FALSE(Form->MenuEnter);

  Log.clear();
  char Ch = 'x';
  Form->FormKeyPress(Ch);
  Form->Dispatch(TInputEvent::KeyPress('\xE9'));
  EXPECT_EQ(Log, (Calls{"Menu.KeyPress(120)", "Menu.KeyPress(233)"}));
}

TEST_F(MainForm, StartingAGameFromTheMenu) {
  ToMenu();
  Parts.Menu->TwoPlayers = true;
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.StopSound(FoldOut)", "Menu.StopMusic",
                               "CreateGame(600,1,2,1,550)", "Menu.Tick"}));
  EXPECT_TRUE(Form->TimerRuns(Form->GameTimer));
  EXPECT_EQ(RunningMainTimers(), 1);
  EXPECT_EQ(Parts.GameDC, &Screen);
  EXPECT_EQ(Parts.GameBottom, Form->BottomPanel());
  EXPECT_EQ(Parts.GameRight, Form->RightPanel());
  // The menu's key flags no longer react, and the menu sees no keys.
  Log.clear();
  Down(KEnter);
  EXPECT_FALSE(Form->MenuEnter);
  EXPECT_FALSE(Logged("Menu.KeyDown(13)"));
}

TEST_F(MainForm, QuitAndTerminateRequestsFromTheMenuTick) {
  ToMenu();
  Parts.Menu->Quit = true;
  EXPECT_EQ(MenuTick().back(), "Menu.Tick");
  EXPECT_TRUE(Window.CloseRequested);
  EXPECT_FALSE(Window.TerminateRequested);

  Window.CloseRequested = false;
  Parts.Menu->Quit = false;
  Parts.Config->TerminateRequested = true;
  Down(KDown);
  EXPECT_EQ(MenuTick(), (Calls{"Menu.CursorDown", "Menu.Tick"}));  // the rest of the tick still runs
  EXPECT_TRUE(Window.TerminateRequested);
  EXPECT_FALSE(Window.CloseRequested);
}

TEST_F(MainForm, AGameTickRunsInItsOrder) {
  ToGame(true);
  Log.clear();
  Tick(Form->GameTimer);
  EXPECT_EQ(Log, (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)", "Game.StopSound(Player2Draw)", "Game.StopSound(Player2Run)",
                        "Game.MoveEvil", "Game.MoveSmallEvils", "Game.SpawnItems", "Game.Update"}));
  Down(KRight);
  Down(KSpace);
  Down('W');
  Down(KCtrl);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(1,0,1)", "Game.MovePlayer2(0,-1,1)"}));
  Up(KSpace);
  Down('S');  // player 2: the latest direction wins
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(1,0,0)", "Game.MovePlayer2(0,1,1)"}));
  Down(KLeft);
  Down('A');
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(-1,0,0)", "Game.MovePlayer2(-1,0,1)"}));
}

TEST_F(MainForm, ReleasingTheLatestDirectionGivesBackTheOneStillHeld) {
  ToGame();
  Down(KLeft);
  Down(KRight);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(1,0,0)"}));
  Up(KRight);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(-1,0,0)"}));
  Up(KLeft);
  EXPECT_EQ(GameTick(), (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)"}));
}

TEST_F(MainForm, HeldLeftAndUpBothComeBackAndLeftWins) {
  ToGame();
  Down(KLeft);
  Down(KUp);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(0,-1,0)"}));
  Down(KRight);
  EXPECT_FALSE(Form->ActiveLeft[1]);
  EXPECT_FALSE(Form->ActiveUp[1]);
  Up(KRight);
  EXPECT_TRUE(Form->ActiveLeft[1]);
  EXPECT_TRUE(Form->ActiveUp[1]);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(-1,0,0)"}));
  Up(KLeft);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(0,-1,0)"}));
  Down(KDown);
  Up(KDown);
  Up(KUp);
  EXPECT_FALSE(Form->HeldUp[1]);
  EXPECT_EQ(GameTick(), (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)"}));
}

TEST_F(MainForm, AKeyBoundToTwoSlotsMovesBothPlayers) {
  ToMenu();
  Parts.Config->Keys[11] = KLeft;  // player 2's left on the arrow too
  Parts.Config->Keys[13] = KSpace;  // and both draw with Space
  StartGameFromMenu(true);
  Down(KLeft);
  Down(KSpace);
  EXPECT_TRUE(Form->HeldLeft[1] && Form->HeldLeft[2]);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(-1,0,1)", "Game.MovePlayer2(-1,0,1)"}));
  Up(KLeft);
  Up(KSpace);
  EXPECT_FALSE(Form->DrawHeld[1] || Form->DrawHeld[2]);
  EXPECT_EQ(GameTick(), (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)", "Game.StopSound(Player2Draw)", "Game.StopSound(Player2Run)"}));
}

TEST_F(MainForm, EscapeTogglesThePauseAndNOrYCountOnlyWhilePaused) {
  ToGame();
  Log.clear();
  Down('N');
  Down('Y');
  EXPECT_TRUE(Log.empty());
  Down(KEscape);
  EXPECT_EQ(Log, (Calls{"Game.SetPaused(1)"}));
  Down(KEscape);
  Down(KEscape);
  Log.clear();
  Down('N');
  EXPECT_EQ(Log, (Calls{"Game.SetPaused(0)"}));
  Down(KEscape);
  Log.clear();
  Down('Y');
  EXPECT_EQ(Log, (Calls{"Game.ConfirmQuit"}));
}

TEST_F(MainForm, AnyKeyEndsTheWaitOfALevelEnd) {
  ToGame();
  Parts.Game->WaitForKey = true;
  Down(123);  // F12, bound to nothing
  EXPECT_FALSE(Parts.Game->WaitForKey);
}

TEST_F(MainForm, SecondPlayersKeysSetFlagsButMoveNothingInAOnePlayerGame) {
  ToGame(false);
  Down('A');
  Down(KCtrl);
  EXPECT_TRUE(Form->HeldLeft[2]);
  EXPECT_TRUE(Form->ActiveLeft[2]);
  EXPECT_TRUE(Form->DrawHeld[2]);
  Log.clear();
  Tick(Form->GameTimer);
  EXPECT_EQ(Log, (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)", "Game.MoveEvil", "Game.MoveSmallEvils",
                        "Game.SpawnItems", "Game.Update"}));
}

TEST_F(MainForm, TheEndOfAGameLeadsToNameEntryWithTheScores) {
  ToGame();
  Parts.Game->EndedValue = true;
  Parts.Game->Score1Value = 98765;
  Log.clear();
  Tick(Form->GameTimer);
  EXPECT_EQ(Log, (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)", "Game.MoveEvil", "Game.MoveSmallEvils",
                        "Game.SpawnItems", "Game.Update", "~Game", "Menu.SetScreen(NameEntry)",
                        "Menu.SetGameResult(98765,-1)", "Menu.RestartMusic"}));
  EXPECT_EQ(Form->Game(), nullptr);
  EXPECT_TRUE(Form->TimerRuns(Form->MenuTimer));
  EXPECT_EQ(RunningMainTimers(), 1);
}

TEST_F(MainForm, AGameStartedWithACheatScoresNothingAndTheNextStartsNormally) {
  ToMenu();
  Type("VAULT12");
  Type("VIGOR7");
  EXPECT_EQ(Form->StartLevel, 12);
  EXPECT_EQ(Form->StartLives, 7);
  EXPECT_TRUE(Form->CheatUsed);
  StartGameFromMenu(true);
  EXPECT_TRUE(Logged("CreateGame(600,12,7,1,550)"));
  Parts.Game->EndedValue = true;
  Parts.Game->Score2Value = 555;
  Log.clear();
  Tick(Form->GameTimer);
  EXPECT_TRUE(Logged("Menu.SetGameResult(0,0)"));
  EXPECT_EQ(Form->StartLevel, 1);
  EXPECT_EQ(Form->StartLives, 2);
  EXPECT_FALSE(Form->CheatUsed);
  StartGameFromMenu(false);
  EXPECT_TRUE(Logged("CreateGame(600,1,2,0,550)"));
}

TEST_F(MainForm, CheatWordsAndTheNumbersTheyAccept) {
  ToMenu();
  Log.clear();
  Type("VAULT");
  EXPECT_EQ(Form->TypedText, "VAULT");
  Type("2");
  EXPECT_EQ(Form->TypedText, "VAULT2");
  Type("8");
  EXPECT_EQ(Form->StartLevel, 28);
  EXPECT_TRUE(Form->TypedText.empty());
  EXPECT_TRUE(Logged("Menu.ShowCheatMark"));
  EXPECT_LT(std::find(Log.begin(), Log.end(), "Menu.ShowCheatMark"),
            std::find(Log.begin(), Log.end(), "Menu.KeyDown(56)"));  // before the menu sees the key

  // 01 and 29..99 change nothing and stay typed until the next key.
  for (const char* Word : {"VAULT01", "VAULT29", "VAULT99", "VAULT00"}) {
    Log.clear();
    Type(Word);
    EXPECT_EQ(Form->TypedText, Word);
    EXPECT_EQ(Form->StartLevel, 28) << Word;
    EXPECT_FALSE(Logged("Menu.ShowCheatMark")) << Word;
    Type("V");
    EXPECT_TRUE(Form->TypedText.empty()) << Word;  // the V itself does not start a new word
  }
  Type("VAULT02");
  EXPECT_EQ(Form->StartLevel, 2);

  Type("VIGOR3");
  EXPECT_EQ(Form->StartLives, 3);
  Type("VIGOR9");
  EXPECT_EQ(Form->StartLives, 9);
  Type("VIGOR2");  // the lives digit is 3..9
  EXPECT_TRUE(Form->TypedText.empty());
  EXPECT_EQ(Form->StartLives, 9);
}

TEST_F(MainForm, AnyWrongCharacterClearsTheTypedText) {
  ToMenu();
  Type("VAUL");
  Down(16);  // Shift
  EXPECT_TRUE(Form->TypedText.empty());
  Type("VX");
  EXPECT_TRUE(Form->TypedText.empty());
  Type("VAULTX");
  EXPECT_TRUE(Form->TypedText.empty());
  Type("VIGORA");
  EXPECT_TRUE(Form->TypedText.empty());
  Type("VVAULT12");  // a mismatch throws away the whole attempt
  EXPECT_EQ(Form->StartLevel, 1);
  EXPECT_FALSE(Form->CheatUsed);
  // The low byte of the key code counts: numeric-keypad digits are not digits.
  Type("VAULT");
  Down(96 + 5);
  EXPECT_TRUE(Form->TypedText.empty());
}

TEST_F(MainForm, LosingTheFocusInAGamePausesMinimisesAndRestoresTheDesktop) {
  ToGame();
  Form->Dispatch(TInputEvent::FocusLost());
  Log.clear();
  Tick(Form->FocusMonitor);
  EXPECT_EQ(Log, (Calls{"Game.SetPaused(1)", "Display.Restore"}));
  EXPECT_TRUE(Form->Minimised);
  EXPECT_TRUE(Window.Minimised);
  Log.clear();
  Tick(Form->FocusMonitor);  // still away: nothing more
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Window.MinimiseCount, 1);

  Form->Dispatch(TInputEvent::FocusGained());
  Tick(Form->FocusMonitor);
  EXPECT_EQ(Log, (Calls{"Display.Enter"}));  // and the game stays paused
  EXPECT_FALSE(Form->Minimised);
  EXPECT_FALSE(Window.Minimised);
  EXPECT_EQ(Window.RestoreCount, 1);
  EXPECT_TRUE(Parts.Game->PausedValue);
}

// Focus lost while the game ignores the pause (its level intro): the game
// is paused on the first tick it takes the pause, before anything moves.
// Back in focus, a resumed game is left alone.
TEST_F(MainForm, AGameThatIgnoredThePauseWhileAwayIsPausedOnceItTakesIt) {
  ToGame();
  Parts.Game->IgnoresPause = true;
  Form->Dispatch(TInputEvent::FocusLost());
  Tick(Form->FocusMonitor);
  ASSERT_TRUE(Form->Minimised);
  EXPECT_FALSE(Parts.Game->PausedValue);
  Down(KRight);
  Log.clear();
  Tick(Form->GameTimer);  // still in the intro: asked again, refused again
  EXPECT_EQ(Log.front(), "Game.SetPaused(1)");
  EXPECT_FALSE(Parts.Game->PausedValue);
  Parts.Game->IgnoresPause = false;  // the intro is over
  EXPECT_EQ(GameTick(), (Calls{"Game.SetPaused(1)", "Game.MovePlayer1(1,0,0)"}));
  EXPECT_TRUE(Parts.Game->PausedValue);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(1,0,0)"}));  // paused: asked no more

  // Back: the player resumes before the focus monitor notices; the game
  // plays on.
  Form->Dispatch(TInputEvent::FocusGained());
  Down(KEscape);
  EXPECT_FALSE(Parts.Game->PausedValue);
  EXPECT_EQ(GameTick(), (Calls{"Game.MovePlayer1(1,0,0)"}));
  EXPECT_FALSE(Parts.Game->PausedValue);
}

TEST_F(MainForm, TheMenuPausesWhileAwayAndResumesOnReturn) {
  Parts.WriteSettings(false);
  ToMenu();
  Tick(Form->FocusMonitor);  // the settings' fresh window style is handed over first
  Form->Dispatch(TInputEvent::FocusLost());
  Log.clear();
  Tick(Form->FocusMonitor);
  EXPECT_EQ(Log, (Calls{"Menu.SetPaused(1)", "Display.Restore"}));
  Form->Dispatch(TInputEvent::FocusGained());
  Log.clear();
  Tick(Form->FocusMonitor);
  EXPECT_EQ(Log, (Calls{"Menu.SetPaused(0)"}));  // windowed: no full screen to re-enter
}

TEST_F(MainForm, ARebuiltWindowHandsTheScreenAgainToWhoeverPaints) {
  Create();
  Parts.Config->WindowRebuilt = true;
  Log.clear();
  Tick(Form->FocusMonitor);
  EXPECT_EQ(Log, (Calls{"Splash.SetDC"}));
  EXPECT_FALSE(Parts.Config->WindowRebuilt);
  Log.clear();
  Tick(Form->FocusMonitor);
  EXPECT_TRUE(Log.empty());  // handed over once
  Parts.Splash->FinishedValue = true;
  Tick(Form->SplashScreenTimer);
  Parts.Config->WindowRebuilt = true;
  Log.clear();
  Tick(Form->FocusMonitor);
  EXPECT_EQ(Log, (Calls{"Menu.SetTargetDC"}));
}

TEST_F(MainForm, ClosingStopsTheTimersAndRestoresTheDesktopThenFreesInOrder) {
  ToGame();
  Log.clear();
  Form->Dispatch(TInputEvent::CloseRequest());
  EXPECT_EQ(Log, (Calls{"Display.Restore"}));
  EXPECT_FALSE(Form->TimerRuns(Form->GameTimer));
  EXPECT_FALSE(Form->TimerRuns(Form->MenuTimer));
  Log.clear();
  Form->FormDestroy();
  EXPECT_EQ(Log, (Calls{"~Game", "~Menu"}));
  EXPECT_EQ(Form->Config(), nullptr);
  EXPECT_EQ(Form->Audio(), nullptr);
  EXPECT_EQ(Form->Pak(), nullptr);
  EXPECT_FALSE(Timers.NextDeadline().has_value());
  Log.clear();
  Form.reset();  // destroying twice frees nothing twice
  EXPECT_TRUE(Log.empty());
}

TEST_F(MainForm, AProgramThatAskedToEndSkipsTheClosingSteps) {
  ToMenu();
  Log.clear();
  Form->Dispatch(TInputEvent::CloseRequest(CloseTerminate));
  EXPECT_TRUE(Log.empty());
}

TEST_F(MainForm, TicksOfStoppedTimersAreIgnored) {
  ToMenu();
  Log.clear();
  Tick(Form->GameTimer);
  Tick(Form->SplashScreenTimer);
  Tick(99);
  EXPECT_TRUE(Log.empty());
}

TEST_F(MainForm, KeysReleasedInAnotherStateDoNotStickIntoTheNext) {
  ToMenu();
  // Enter starts the game and is let go while it runs.
  Down(KEnter);
  StartGameFromMenu(false);
  Up(KEnter);
  // Left is still held when the game ends and let go in the menu.
  Down(KLeft);
  Parts.Game->EndedValue = true;
  Tick(Form->GameTimer);
  Up(KLeft);
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick"}));  // no Choose on the name entry
  StartGameFromMenu(false);
  EXPECT_EQ(GameTick(), (Calls{"Game.StopSound(Player1Draw)", "Game.StopSound(Player1Run)"}));  // the new game stands still
}

TEST_F(MainForm, KeyPressesReachOnlyTheMenu) {
  Create();
  Log.clear();
  Form->Dispatch(TInputEvent::KeyPress('a'));
  EXPECT_TRUE(Log.empty());
}

// The menu's demo ------------------------------------------------------------

TEST_F(MainForm, TheMenuCueStartsTheDemoInPlaceOfTheMenuAndItsMusic) {
  ToMenu();
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick"}));  // no cue: nothing more
  Parts.Menu->DemoCue = true;
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick", "CreateDemo(0)", "Menu.StopSound(FoldOut)",
                               "Menu.StopMusic", "Demo0.Start"}));
  EXPECT_EQ(Parts.DemoDC, &Screen);
  EXPECT_TRUE(Form->TimerRuns(Form->DemoTimer));
  EXPECT_FALSE(Form->TimerRuns(Form->MenuTimer));
  EXPECT_EQ(RunningMainTimers(), 0);
  Log.clear();
  Tick(Form->DemoTimer);
  Tick(Form->MenuTimer);  // stopped: ignored
  EXPECT_EQ(Log, (Calls{"Demo0.Tick"}));
}

TEST_F(MainForm, AnyKeyClickOrLostFocusEndsTheDemoAndTheMenuComesBackWithItsMusic) {
  ToMenu();
  const Calls Back = {"~Demo", "Menu.Tick", "Menu.RestartMusic"};
  const std::vector<std::function<void()>> Enders = {
      [this] { Down(KEnter); },
      [this] { Down('A'); },
      [this] { Form->Dispatch(TInputEvent::Click()); },
      [this] {
        Form->Dispatch(TInputEvent::FocusLost());
        Tick(Form->FocusMonitor);
      },
  };
  int Number = 0;
  for (const auto& End : Enders) {
    SCOPED_TRACE(Number);
    Form->Dispatch(TInputEvent::FocusGained());
    Tick(Form->FocusMonitor);
    Parts.Menu->DemoCue = true;
    MenuTick();
    ASSERT_TRUE(Logged("CreateDemo(" + std::to_string(Number++) + ")"));  // the demos go round
    ASSERT_NE(Form->Demo(), nullptr);
    Log.clear();
    End();
    ASSERT_GE(Log.size(), Back.size());
    EXPECT_EQ(Calls(Log.begin(), Log.begin() + 3), Back);
    EXPECT_EQ(Form->Demo(), nullptr);
    EXPECT_TRUE(Form->TimerRuns(Form->MenuTimer));
    EXPECT_FALSE(Form->TimerRuns(Form->DemoTimer));
    // The key that ended it is not the menu's: no key call, no held flag.
    EXPECT_FALSE(Logged("Menu.KeyDown(13)"));
    EXPECT_FALSE(Form->MenuEnter);
    EXPECT_FALSE(Logged("Menu.Choose"));
  }
  // A release after the demo's end and the next menu tick act on nothing.
  Up(KEnter);
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick"}));
}

TEST_F(MainForm, ADemoThatEndsOrCannotStartGoesBackToTheMenuAndOneThatIsMissingChangesNothing) {
  ToMenu();
  Parts.DemoTicks = 3;
  Parts.Menu->DemoCue = true;
  MenuTick();
  Log.clear();
  for (int I = 0; I < 3; ++I) Tick(Form->DemoTimer);
  EXPECT_EQ(Log, (Calls{"Demo0.Tick", "Demo0.Tick", "Demo0.Tick", "~Demo", "Menu.Tick", "Menu.RestartMusic"}));
  EXPECT_TRUE(Form->TimerRuns(Form->MenuTimer));

  Parts.DemoStarts = false;
  Parts.Menu->DemoCue = true;
  MenuTick();
  EXPECT_EQ(Calls(Log.end() - 4, Log.end()),
            (Calls{"Demo1.Start", "~Demo", "Menu.Tick", "Menu.RestartMusic"}));
  EXPECT_TRUE(Form->TimerRuns(Form->MenuTimer));
  EXPECT_FALSE(Form->TimerRuns(Form->DemoTimer));

  // No demo to show: the menu and its music go on as they were.
  Parts.HasDemo = false;
  Parts.Menu->DemoCue = true;
  EXPECT_EQ(MenuTick(), (Calls{"Menu.StopSound(Scroll)", "Menu.Tick", "CreateDemo(2)"}));
  EXPECT_TRUE(Form->TimerRuns(Form->MenuTimer));
  EXPECT_EQ(Form->DemoNumber, 2);
}

TEST_F(MainForm, AMinimisedWindowShowsNoDemoAndClosingStopsOne) {
  ToMenu();
  Form->Dispatch(TInputEvent::FocusLost());
  Tick(Form->FocusMonitor);
  ASSERT_TRUE(Form->Minimised);
  Parts.Menu->DemoCue = true;
  MenuTick();
  EXPECT_FALSE(Logged("CreateDemo(0)"));
  EXPECT_FALSE(Parts.Menu->DemoCue);  // taken: asked again only after another wait

  Form->Dispatch(TInputEvent::FocusGained());
  Tick(Form->FocusMonitor);
  Parts.Menu->DemoCue = true;
  MenuTick();
  ASSERT_NE(Form->Demo(), nullptr);
  Form->Dispatch(TInputEvent::CloseRequest());
  EXPECT_FALSE(Form->TimerRuns(Form->DemoTimer));
  Form->FormDestroy();
  EXPECT_TRUE(std::find(Log.begin(), Log.end(), "~Demo") < std::find(Log.begin(), Log.end(), "~Menu"));
}
