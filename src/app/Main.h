// The program's only window: owns the settings, the music engine, the
// archive reader, the splash, the menu, the running game and the menu's
// demo; turns key events into held-key state and drives everything from
// five timers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/FormParts.h"
#include "audio/AudioObject.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/InputEvent.h"
#include "platform/Panel.h"
#include "platform/TimerScheduler.h"
#include "platform/WindowControl.h"

class TScreen;

class TMainForm : public IInputSink {
public:
  static constexpr const char* Caption = "Vyrn Rekindled - a game by the Vyrn Rekindled team";
  static constexpr const char* ArchiveName = "game.pak";

  // The form adds its four timers to Timers (all stopped) and draws into
  // Screen, its device context.
  TMainForm(IFormParts& Parts, IWindowControl& Window, TScreen& Screen, TTimerScheduler& Timers);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // False when the program cannot run (the archive is unreadable); the
  // player has then been told which file and folder, and the caller should
  // end the program with an error code after FormDestroy.
  bool FormCreate();
  void FormClose();
  void FormDestroy();
  void FormKeyDown(std::uint16_t& Key, TShiftState Shift);
  void FormKeyUp(std::uint16_t& Key, TShiftState Shift);
  void FormKeyPress(char& Ch);
  void GameTimerTimer();
  void MenuTimerTimer();
  void FocusMonitorTimer();
  void SplashScreenTimerTimer();
  void DemoTimerTimer();

  // The one door for input: timer ticks, keys, characters, focus, closing.
  void Dispatch(const TInputEvent& Event) override;

  bool TimerRuns(TTimerId Timer) const { return FTimers.Enabled(Timer); }

  // Called as a game starts, before the game draws anything from the
  // generator: where a recording of that one game begins.
  std::function<void(bool TwoPlayers)> GameStarting;
  // Skips the splash and shows the main menu at once; then starts a game
  // as the menu would. A replay of one game begins this way.
  void SkipToMenu();
  void StartGameNow(bool TwoPlayers);

  // How the last game ended (Games counts the games ended so far).
  struct TGameResult {
    int Games = 0;
    bool TwoPlayers = false;
    std::int64_t Score1 = 0;
    std::int64_t Score2 = 0;
    bool Cheated = false;
  };
  const TGameResult& LastGame() const { return FLastGame; }

  // Timers, in the order they are added to the scheduler.
  const TTimerId FocusMonitor;       // 50 ms, always
  const TTimerId SplashScreenTimer;  // 40 ms, while the splash plays
  const TTimerId MenuTimer;          // 30 ms, while the menu shows
  const TTimerId GameTimer;          // 30 ms, while a game runs
  const TTimerId DemoTimer;          // 30 ms, while the menu's demo plays

  // Key state per player; index 1 and 2, index 0 unused.
  using TPlayerFlags = std::array<bool, 3>;
  TPlayerFlags HeldLeft{}, HeldRight{}, HeldUp{}, HeldDown{};
  TPlayerFlags ActiveLeft{}, ActiveRight{}, ActiveUp{}, ActiveDown{};
  TPlayerFlags DrawHeld{};

  bool MenuHeldLeft = false, MenuHeldRight = false, MenuHeldUp = false, MenuHeldDown = false;
  bool MenuActiveLeft = false, MenuActiveRight = false, MenuActiveUp = false, MenuActiveDown = false;
  bool MenuEnter = false, MenuBackspace = false, MenuDelete = false, MenuHome = false, MenuEnd = false;
  bool MenuPageUp = false, MenuPageDown = false, MenuEscape = false;

  bool Minimised = false;
  std::string TypedText;
  std::int32_t StartLives = 2;
  std::int32_t StartLevel = 1;
  bool CheatUsed = false;
  // The demo to show next; the parts go round the ones they have.
  std::int32_t DemoNumber = 0;
  // Follows the focus events. The platform reports the real state once when
  // the window appears, so a window that starts without the focus is paused
  // like one that loses it.
  bool Focused = true;

  TConfig* Config() const { return FConfig.get(); }
  TAudioObject* Audio() const { return FAudio.get(); }
  const TPakFileReadable* Pak() const { return FPak.get(); }
  ISplashScreen* Splash() const { return FSplash.get(); }
  IMenu* Menu() const { return FMenu.get(); }
  IGameData* Game() const { return FGame.get(); }
  IDemo* Demo() const { return FDemo.get(); }
  TPanel* RightPanel() const { return FRightPanel.get(); }
  TPanel* BottomPanel() const { return FBottomPanel.get(); }

private:
  void StartGame(bool TwoPlayers);
  void StartDemo();
  void EndDemo();
  void CheckCheatWords();
  void ClearPlayerKeys();
  void ClearMenuKeys();

  IFormParts& FParts;
  IWindowControl& FWindow;
  TScreen& FScreen;
  TTimerScheduler& FTimers;
  bool FDestroyed = false;
  TGameResult FLastGame;

  std::unique_ptr<TConfig> FConfig;
  std::unique_ptr<TAudioObject> FAudio;
  std::unique_ptr<TPakFileReadable> FPak;
  std::unique_ptr<ISplashScreen> FSplash;
  std::unique_ptr<IMenu> FMenu;
  std::unique_ptr<IGameData> FGame;
  std::unique_ptr<IDemo> FDemo;
  std::unique_ptr<TPanel> FRightPanel;
  std::unique_ptr<TPanel> FBottomPanel;
};
