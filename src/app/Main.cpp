#include "app/Main.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/CommonTypes.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/VirtualKeys.h"

namespace {

enum TDirection { DirLeft, DirRight, DirUp, DirDown };

// One set of four directions: a player's or the menu's arrows.
struct TDirectionFlags {
  bool* Held[4];
  bool* Active[4];
};

// The latest pressed direction wins.
void PressDirection(const TDirectionFlags& F, TDirection D) {
  *F.Held[D] = true;
  for (int I = 0; I < 4; ++I) *F.Active[I] = I == D;
}

// A released direction hands over to those still held; the tick's fixed
// order then picks among them.
void ReleaseDirection(const TDirectionFlags& F, TDirection D) {
  static constexpr TDirection Others[4][3] = {
      {DirRight, DirDown, DirUp},    // left released
      {DirLeft, DirDown, DirUp},     // right released
      {DirRight, DirDown, DirLeft},  // up released
      {DirRight, DirLeft, DirUp},    // down released
  };
  *F.Held[D] = false;
  *F.Active[D] = false;
  for (TDirection O : Others[D])
    if (*F.Held[O]) *F.Active[O] = true;
}

// The settings' direction keys in the order they are checked, each with the
// way it steers.
constexpr std::pair<int, TDirection> DirectionKeys[4] = {
    {TConfig::KeyUp, DirUp}, {TConfig::KeyDown, DirDown}, {TConfig::KeyLeft, DirLeft}, {TConfig::KeyRight, DirRight}};

// The two cheat words share their first letter; the second picks the word.
// VAULTnn starts the next game at level nn (02..28); VIGORn gives every
// player n lives (3..9).
constexpr char LevelWord[] = "VAULT";
constexpr char LivesWord[] = "VIGOR";
constexpr std::size_t WordLetters = 5;

}  // namespace

TMainForm::TMainForm(IFormParts& Parts, IWindowControl& Window, TScreen& Screen, TTimerScheduler& Timers)
    : FocusMonitor(Timers.Add(50)),
      SplashScreenTimer(Timers.Add(40)),
      MenuTimer(Timers.Add(30)),
      GameTimer(Timers.Add(30)),
      DemoTimer(Timers.Add(30)),
      FParts(Parts),
      FWindow(Window),
      FScreen(Screen),
      FTimers(Timers) {}

TMainForm::~TMainForm() { FormDestroy(); }

bool TMainForm::FormCreate() {
  FWindow.SetCaption(Caption);

  // Without its archive the game has no pictures, fonts or sounds and would
  // only stumble on; find out before anything touches the display or the
  // settings file.
  FPak = FParts.CreatePak(ArchiveName);
  std::string Problem = "The archive could not be opened.";
  if (!FPak || !FPak->CheckArchive(Problem)) {
    std::error_code Ec;
    std::filesystem::path Folder = std::filesystem::current_path(Ec);
    if (Ec) Folder = ".";
    ShowMessageBox(std::string("The game cannot start: its archive \"") + ArchiveName +
                   "\" could not be read in the folder \"" + Folder.string() + "\".\n" + Problem);
    return false;
  }

  FConfig = FParts.CreateConfig();
  if (!FConfig) throw std::logic_error("the window needs its settings");

  Minimised = false;
  FTimers.SetEnabled(FocusMonitor, true);

  TypedText.clear();
  StartLives = 2;
  StartLevel = 1;
  CheatUsed = false;

  Randomize();

  FRightPanel = std::make_unique<TPanel>(FScreen, 600, 0, 200, 600);
  FBottomPanel = std::make_unique<TPanel>(FScreen, 0, 550, 600, 50);
  // The client area is 800 x 600 from the window's creation on.

  FAudio = FParts.CreateAudio();
  if (!FAudio) throw std::logic_error("the window needs its music engine");
  FAudio->SetVolume(FConfig->Volume);

  FSplash = FParts.CreateSplash(FScreen, 320, 240, *FAudio, *FPak);

  bool Mode = FConfig->FullScreen;
  FConfig->SwitchDisplayMode(Mode);
  if (FConfig->FullScreen != Mode) FConfig->SetFullScreen(Mode);

  FTimers.SetEnabled(SplashScreenTimer, true);
  FScreen.MarkDirty();
  return true;
}

void TMainForm::FormClose() {
  FTimers.SetEnabled(MenuTimer, false);
  FTimers.SetEnabled(GameTimer, false);
  FTimers.SetEnabled(DemoTimer, false);
  if (FConfig) {
    bool Desktop = false;
    FConfig->SwitchDisplayMode(Desktop);
  }
}

void TMainForm::FormDestroy() {
  if (FDestroyed) return;
  FDestroyed = true;
  FDemo.reset();
  FTimers.SetEnabled(DemoTimer, false);
  FGame.reset();
  FTimers.SetEnabled(GameTimer, false);
  FBottomPanel.reset();
  FRightPanel.reset();
  FMenu.reset();
  FSplash.reset();
  FAudio.reset();
  FPak.reset();
  FConfig.reset();
  FTimers.SetEnabled(MenuTimer, false);
  FTimers.SetEnabled(SplashScreenTimer, false);
  FTimers.SetEnabled(FocusMonitor, false);
}

void TMainForm::Dispatch(const TInputEvent& Event) {
  switch (Event.Kind) {
    case TInputKind::Timer: {
      const TTimerId Id = Event.Code;
      if (Id >= static_cast<TTimerId>(FTimers.Count()) || !FTimers.Enabled(Id)) return;
      if (Id == FocusMonitor) FocusMonitorTimer();
      else if (Id == SplashScreenTimer) SplashScreenTimerTimer();
      else if (Id == MenuTimer) MenuTimerTimer();
      else if (Id == GameTimer) GameTimerTimer();
      else if (Id == DemoTimer) DemoTimerTimer();
      return;
    }
    case TInputKind::KeyDown: {
      std::uint16_t Key = Event.Code;
      FormKeyDown(Key, Event.Shift);
      return;
    }
    case TInputKind::KeyUp: {
      std::uint16_t Key = Event.Code;
      FormKeyUp(Key, Event.Shift);
      return;
    }
    case TInputKind::KeyPress: {
      char Ch = static_cast<char>(Event.Code & 0xFF);
      FormKeyPress(Ch);
      return;
    }
    case TInputKind::FocusGained:
      Focused = true;
      return;
    case TInputKind::FocusLost:
      Focused = false;
      return;
    case TInputKind::Click:
      // The game is played with keys; a click only ends the demo.
      if (FDemo) EndDemo();
      return;
    case TInputKind::Close:
      // A program that asked itself to end skips the closing steps: they
      // would try once more to restore a display that just refused.
      if (Event.Code != CloseTerminate) FormClose();
      return;
  }
}

void TMainForm::SplashScreenTimerTimer() {
  if (FSplash && !FSplash->Finished()) {
    FSplash->Tick();
    return;
  }
  FSplash.reset();
  FMenu = FParts.CreateMenu(TMenuScreen::Main, *FPak, *FAudio, *FConfig, FScreen);
  FTimers.SetEnabled(SplashScreenTimer, false);
  FTimers.SetEnabled(MenuTimer, true);
}

void TMainForm::MenuTimerTimer() {
  if (FConfig->TerminateRequested) FWindow.Terminate();  // the rest of the tick still runs
  if (!FMenu) return;

  if (MenuActiveUp) FMenu->CursorUp();
  else if (MenuActiveDown) FMenu->CursorDown();
  else if (MenuActiveLeft) FMenu->CursorLeft();
  else if (MenuActiveRight) FMenu->CursorRight();
  else if (MenuEnter) FMenu->Choose();
  else if (MenuHome) FMenu->CursorHome();
  else if (MenuEnd) FMenu->CursorEnd();
  else if (MenuPageUp) FMenu->PageUp();
  else if (MenuPageDown) FMenu->PageDown();
  else if (MenuEscape) FMenu->Back();
  else if (MenuDelete) FMenu->EraseChar(Vk::Delete);
  else if (MenuBackspace) FMenu->EraseChar(Vk::Back);
  else FMenu->StopSound(TMenuSound::Scroll);

  if (FMenu->StartOnePlayer()) StartGame(false);
  else if (FMenu->StartTwoPlayers()) StartGame(true);
  else if (FMenu->QuitRequested()) FWindow.Close();

  FMenu->Tick();
  // A window out of sight shows no demo; the menu asks again after its next
  // wait.
  if (FMenu->TakeDemoCue() && TimerRuns(MenuTimer) && !Minimised) StartDemo();
}

void TMainForm::StartDemo() {
  FDemo = FParts.CreateDemo(DemoNumber, *FPak, *FConfig, FScreen);
  if (!FDemo) return;
  ++DemoNumber;
  // The demo's game brings its own sounds; the menu's music comes back
  // afterwards as it does after a game.
  FMenu->StopSound(TMenuSound::FoldOut);
  FMenu->StopMusic();
  FAudio->Free();
  FTimers.SetEnabled(MenuTimer, false);
  ClearMenuKeys();
  if (!FDemo->Start()) {
    EndDemo();
    return;
  }
  FTimers.SetEnabled(DemoTimer, true);
}

void TMainForm::DemoTimerTimer() {
  if (FDemo && !FDemo->Tick()) EndDemo();
}

void TMainForm::EndDemo() {
  FDemo.reset();
  FTimers.SetEnabled(DemoTimer, false);
  // The key that ended the demo is not meant for the menu.
  ClearMenuKeys();
  if (FMenu) {
    // The main screen comes back as it was left, at once; reading its music
    // back takes a while.
    FMenu->Tick();
    FScreen.PresentNow();
    FMenu->RestartMusic();
  }
  FTimers.SetEnabled(MenuTimer, true);
}

void TMainForm::SkipToMenu() {
  if (FMenu || !FPak) return;
  FSplash.reset();
  FMenu = FParts.CreateMenu(TMenuScreen::Main, *FPak, *FAudio, *FConfig, FScreen);
  FTimers.SetEnabled(SplashScreenTimer, false);
  FTimers.SetEnabled(MenuTimer, true);
}

void TMainForm::StartGameNow(bool TwoPlayers) {
  if (FMenu && !FGame) StartGame(TwoPlayers);
}

void TMainForm::StartGame(bool TwoPlayers) {
  FMenu->StopSound(TMenuSound::FoldOut);
  FMenu->StopMusic();
  // Nothing of the menu's music is kept while the game runs; the menu reads
  // it again when it restarts its music.
  FAudio->Free();
  FTimers.SetEnabled(MenuTimer, false);
  // Keys released while the menu ran were never seen by the game's flags;
  // start the game from a clean state so no direction is stuck.
  ClearPlayerKeys();
  if (GameStarting) GameStarting(TwoPlayers);
  FGame = FParts.CreateGame(600, StartLevel, StartLives, *FPak, *FAudio, *FConfig, TwoPlayers, FMenu->FrameBuffer(),
                            *FBottomPanel, *FRightPanel, FScreen, 550);
  if (FGame) {
    FTimers.SetEnabled(GameTimer, true);
    return;
  }
  // Nothing to play (the program has no game yet): back to the main menu,
  // with its start request cleared so it is not raised again.
  FMenu->SetScreen(TMenuScreen::Main);
  FMenu->RestartMusic();
  FTimers.SetEnabled(MenuTimer, true);
}

void TMainForm::GameTimerTimer() {
  if (!FGame) return;
  IGameData& G = *FGame;

  // The game ignores a pause during its level intro and its level end, so
  // a focus lost then would let it play on unseen once it may move again:
  // pause it the moment it takes the pause. Both flags follow the focus
  // events alone, so a replay pauses on the same tick.
  if (Minimised && !Focused && !G.Paused()) G.SetPaused(true);

  if (ActiveLeft[1]) G.MovePlayer1(-1, 0, DrawHeld[1]);
  else if (ActiveRight[1]) G.MovePlayer1(1, 0, DrawHeld[1]);
  else if (ActiveUp[1]) G.MovePlayer1(0, -1, DrawHeld[1]);
  else if (ActiveDown[1]) G.MovePlayer1(0, 1, DrawHeld[1]);
  else {
    G.StopSound(TGameSound::Player1Draw);
    G.StopSound(TGameSound::Player1Run);
  }

  if (G.TwoPlayers()) {
    if (ActiveLeft[2]) G.MovePlayer2(-1, 0, DrawHeld[2]);
    else if (ActiveRight[2]) G.MovePlayer2(1, 0, DrawHeld[2]);
    else if (ActiveUp[2]) G.MovePlayer2(0, -1, DrawHeld[2]);
    else if (ActiveDown[2]) G.MovePlayer2(0, 1, DrawHeld[2]);
    else {
      G.StopSound(TGameSound::Player2Draw);
      G.StopSound(TGameSound::Player2Run);
    }
  }

  G.MoveEvil();
  G.MoveSmallEvils();
  G.SpawnItems();
  G.Update();

  if (!G.Ended()) return;
  const std::int64_t Score1 = G.Score1();
  const std::int64_t Score2 = G.Score2();
  FLastGame = {FLastGame.Games + 1, G.TwoPlayers(), Score1, Score2, CheatUsed};
  FGame.reset();
  FTimers.SetEnabled(GameTimer, false);
  // Keys released during the game never reached the menu's flags: a held
  // Enter from the start of the game would otherwise confirm the name entry
  // at once.
  ClearMenuKeys();
  if (FMenu) {
    FMenu->SetScreen(TMenuScreen::NameEntry);
    if (CheatUsed) FMenu->SetGameResult(0, 0);
    else FMenu->SetGameResult(Score1, Score2);
    FMenu->RestartMusic();
  }
  FTimers.SetEnabled(MenuTimer, true);
  StartLives = 2;
  StartLevel = 1;
  CheatUsed = false;
}

void TMainForm::FocusMonitorTimer() {
  // Nobody watches a demo in a window that lost the focus.
  if (!Focused && FDemo) EndDemo();

  if (FConfig->WindowRebuilt) {
    // Our screen outlives the window's rebuilding; hand it over again so
    // whoever paints starts afresh on it.
    if (TimerRuns(MenuTimer) && FMenu) FMenu->SetTargetDC(FScreen);
    if (TimerRuns(SplashScreenTimer) && FSplash) FSplash->SetDC(FScreen);
    FConfig->WindowRebuilt = false;
  }

  if (Minimised) {
    if (!Focused) return;
    if (FConfig->FullScreen) FConfig->SetFullScreen(true);
    FWindow.Restore();
    Minimised = false;
    if (TimerRuns(MenuTimer) && FMenu) FMenu->SetPaused(false);
    // A running game stays paused until the player resumes it.
  } else if (!Focused) {
    if (TimerRuns(MenuTimer) && FMenu) FMenu->SetPaused(true);
    if (TimerRuns(GameTimer) && FGame) FGame->SetPaused(true);
    Minimised = true;
    FWindow.Minimise();
    bool Desktop = false;
    FConfig->SwitchDisplayMode(Desktop);
  }
}

void TMainForm::FormKeyDown(std::uint16_t& Key, TShiftState) {
  // Any key ends the demo and does nothing else.
  if (FDemo) {
    EndDemo();
    return;
  }
  if (TimerRuns(SplashScreenTimer) && FSplash) FSplash->SetFinished(true);

  if (TimerRuns(GameTimer) && FGame) {
    FGame->SetWaitForKey(false);
    for (int P = 1; P <= 2; ++P) {
      const TDirectionFlags Flags{{&HeldLeft[P], &HeldRight[P], &HeldUp[P], &HeldDown[P]},
                                  {&ActiveLeft[P], &ActiveRight[P], &ActiveUp[P], &ActiveDown[P]}};
      for (const auto& [Which, Direction] : DirectionKeys)
        if (Key == FConfig->PlayerKey(P, Which)) PressDirection(Flags, Direction);
      if (Key == FConfig->PlayerKey(P, TConfig::KeyDraw)) DrawHeld[P] = true;
    }
    if (Key == Vk::Escape) FGame->SetPaused(!FGame->Paused());
    if (Key == 'N' && FGame->Paused()) FGame->SetPaused(false);
    if (Key == 'Y' && FGame->Paused()) FGame->ConfirmQuit();
  }

  if (TimerRuns(MenuTimer)) {
    TypedText += static_cast<char>(Key & 0xFF);
    CheckCheatWords();
    if (FMenu) FMenu->KeyDown(Key);
    const TDirectionFlags Arrows{{&MenuHeldLeft, &MenuHeldRight, &MenuHeldUp, &MenuHeldDown},
                                 {&MenuActiveLeft, &MenuActiveRight, &MenuActiveUp, &MenuActiveDown}};
    switch (Key) {
      case Vk::Back: MenuBackspace = true; break;
      case Vk::Return: MenuEnter = true; break;
      case Vk::Escape: MenuEscape = true; break;
      case Vk::Prior: MenuPageUp = true; break;
      case Vk::Next: MenuPageDown = true; break;
      case Vk::End: MenuEnd = true; break;
      case Vk::Home: MenuHome = true; break;
      case Vk::Delete: MenuDelete = true; break;
      case Vk::Left: PressDirection(Arrows, DirLeft); break;
      case Vk::Up: PressDirection(Arrows, DirUp); break;
      case Vk::Right: PressDirection(Arrows, DirRight); break;
      case Vk::Down: PressDirection(Arrows, DirDown); break;
      default: break;
    }
  }
}

void TMainForm::FormKeyUp(std::uint16_t& Key, TShiftState) {
  if (TimerRuns(GameTimer)) {
    for (int P = 1; P <= 2; ++P) {
      const TDirectionFlags Flags{{&HeldLeft[P], &HeldRight[P], &HeldUp[P], &HeldDown[P]},
                                  {&ActiveLeft[P], &ActiveRight[P], &ActiveUp[P], &ActiveDown[P]}};
      for (const auto& [Which, Direction] : DirectionKeys)
        if (Key == FConfig->PlayerKey(P, Which)) ReleaseDirection(Flags, Direction);
      if (Key == FConfig->PlayerKey(P, TConfig::KeyDraw)) DrawHeld[P] = false;
    }
  }

  if (TimerRuns(MenuTimer)) {
    const TDirectionFlags Arrows{{&MenuHeldLeft, &MenuHeldRight, &MenuHeldUp, &MenuHeldDown},
                                 {&MenuActiveLeft, &MenuActiveRight, &MenuActiveUp, &MenuActiveDown}};
    switch (Key) {
      case Vk::Left: ReleaseDirection(Arrows, DirLeft); break;
      case Vk::Right: ReleaseDirection(Arrows, DirRight); break;
      case Vk::Up: ReleaseDirection(Arrows, DirUp); break;
      case Vk::Down: ReleaseDirection(Arrows, DirDown); break;
      case Vk::Return: MenuEnter = false; break;
      case Vk::Home: MenuHome = false; break;
      case Vk::End: MenuEnd = false; break;
      case Vk::Back: MenuBackspace = false; break;
      case Vk::Delete: MenuDelete = false; break;
      case Vk::Prior: MenuPageUp = false; break;
      case Vk::Next: MenuPageDown = false; break;
      case Vk::Escape: MenuEscape = false; break;
      default: break;
    }
  }
}

void TMainForm::FormKeyPress(char& Ch) {
  if (TimerRuns(MenuTimer) && FMenu) FMenu->KeyPress(Ch);
}

void TMainForm::CheckCheatWords() {
  if (TypedText.empty()) return;
  const std::size_t Pos = TypedText.size();  // 1-based position of the newest character
  const char C = TypedText.back();
  const char* Word = nullptr;
  std::size_t Length = 0;
  if (Pos == 1) {
    Word = LevelWord;  // both words start alike
    Length = 1;
  } else if (TypedText[1] == LevelWord[1]) {
    Word = LevelWord;
    Length = WordLetters + 2;
  } else if (TypedText[1] == LivesWord[1]) {
    Word = LivesWord;
    Length = WordLetters + 1;
  }

  bool Match = false;
  if (Word && Pos <= Length) {
    if (Pos <= WordLetters) Match = C == Word[Pos - 1];
    else if (Word == LivesWord) Match = C >= '3' && C <= '9';
    else Match = C >= '0' && C <= '9';
  }
  if (!Match) {
    TypedText.clear();
    return;
  }
  if (Pos < Length || Pos == 1) return;

  // Only digits can reach here, so the number always converts.
  int N = 0;
  for (std::size_t I = WordLetters; I < TypedText.size(); ++I) N = N * 10 + (TypedText[I] - '0');
  bool Applied = false;
  if (Word == LevelWord && N >= 2 && N <= 28) {
    StartLevel = N;
    Applied = true;
  } else if (Word == LivesWord && N >= 3) {
    StartLives = N;
    Applied = true;
  }
  if (!Applied) return;  // stays typed until the next key clears it
  CheatUsed = true;
  TypedText.clear();
  if (FMenu) FMenu->ShowCheatMark();
}

void TMainForm::ClearPlayerKeys() {
  for (TPlayerFlags* F : {&HeldLeft, &HeldRight, &HeldUp, &HeldDown, &ActiveLeft, &ActiveRight, &ActiveUp,
                          &ActiveDown, &DrawHeld})
    F->fill(false);
}

void TMainForm::ClearMenuKeys() {
  for (bool* F : {&MenuHeldLeft, &MenuHeldRight, &MenuHeldUp, &MenuHeldDown, &MenuActiveLeft, &MenuActiveRight,
                  &MenuActiveUp, &MenuActiveDown, &MenuEnter, &MenuBackspace, &MenuDelete, &MenuHome, &MenuEnd,
                  &MenuPageUp, &MenuPageDown, &MenuEscape})
    *F = false;
}
