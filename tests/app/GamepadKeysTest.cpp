// A game controller through the whole chain: SDL's virtual joystick, the
// real SDL window's event source, the key map of the main window, the main
// window's key state, into the menu, a game and a trail being drawn.
#include <gtest/gtest.h>

#include <SDL.h>

#include <unistd.h>

#include "FakeParts.h"
#include "actors/Player.h"
#include "app/GamepadKeys.h"
#include "app/Main.h"
#include "app/ProgramParts.h"
#include "board/MemBoard.h"
#include "game/GameData.h"
#include "game/Level.h"
#include "platform/MessageBox.h"
#include "platform/WaveOut.h"
#include "platform/WindowControl.h"
#include "platform/sdl/SdlGamepads.h"
#include "platform/sdl/SdlWindow.h"

namespace {
// A menu whose Choose starts a one-player game, as the real one's first entry does.
class TStartingMenu : public TFakeMenu {
public:
  using TFakeMenu::TFakeMenu;
  void Choose() override {
    TFakeMenu::Choose();
    OnePlayer = true;
  }
};

class TPadParts : public TFakeParts {
public:
  std::unique_ptr<IMenu> CreateMenu(int Screen, const TPakFileReadable& P, TAudioObject& A, TConfig& C,
                                    TScreen& DC) override {
    TFakeParts::CreateMenu(Screen, P, A, C, DC);  // logs and checks, then is thrown away
    auto M = std::make_unique<TStartingMenu>(Log);
    Menu = M.get();
    return M;
  }
};

int AttachPad() {
  SDL_VirtualJoystickDesc Desc{};
  Desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  Desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  Desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  Desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  Desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  Desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  Desc.name = "Test pad";
  return SDL_JoystickAttachVirtualEx(&Desc);
}

struct GamepadKeys : ::testing::Test {
  TManualClock Clock;
  TTimerScheduler Timers{Clock};
  THeadlessWindowControl Control;
  TScreen Screen;
  TPadParts Parts;
  TRecordingMessageBox Box;
  THeadlessWaveOut WaveOut;
  std::unique_ptr<TSdlWindow> Window;
  std::unique_ptr<TMainForm> Form;
  SDL_Joystick* Stick = nullptr;

  void SetUp() override {
    SetMessageBoxHandler(&Box);
    SetWaveOutHandler(&WaveOut);
    // The dummy video driver never gives its window the keyboard focus, and
    // SDL drops pad input for windows without it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    Window = std::make_unique<TSdlWindow>("Vyrn pad test");
    Form = std::make_unique<TMainForm>(Parts, Control, Screen, Timers);
    Window->EnableGamepads([this](int P, TPadAction A) { return GamepadKey(*Form, P, A); });
    ASSERT_TRUE(Form->FormCreate());
    Parts.Splash->FinishedValue = true;
    Tick(Form->SplashScreenTimer);
    ASSERT_TRUE(Form->TimerRuns(Form->MenuTimer));
  }
  void TearDown() override {
    if (Stick) Unplug();
    Form.reset();
    Window.reset();
    SetMessageBoxHandler(nullptr);
    SetWaveOutHandler(nullptr);
  }

  void Tick(TTimerId Timer) { Form->Dispatch(TInputEvent::TimerTick(Timer)); }
  // Hands the window's key events to the form, as the event loop does. The
  // dummy video driver's focus reports are left out: it has no focus to give.
  void Pump() {
    SDL_JoystickUpdate();
    TInputEvent E;
    for (int I = 0; I < 50; ++I)
      if (Window->WaitEvent(0, E) && E.Kind != TInputKind::FocusGained && E.Kind != TInputKind::FocusLost)
        Form->Dispatch(E);
  }
  void Plug() {
    Stick = SDL_JoystickOpen(AttachPad());
    ASSERT_NE(Stick, nullptr) << SDL_GetError();
    Pump();
    ASSERT_EQ(Window->Gamepads()->Connected(), 1);
  }
  void Unplug() {
    const SDL_JoystickID Id = SDL_JoystickInstanceID(Stick);
    SDL_JoystickClose(Stick);
    Stick = nullptr;
    for (int I = 0; I < SDL_NumJoysticks(); ++I)
      if (SDL_JoystickGetDeviceInstanceID(I) == Id) SDL_JoystickDetachVirtual(I);
    Pump();
  }
  void Button(SDL_GameControllerButton B, bool Down) {
    SDL_JoystickSetVirtualButton(Stick, B, Down ? 1 : 0);
    Pump();
  }
  TCallLog TickLog(TTimerId Timer) {
    Parts.Log.clear();
    Tick(Timer);
    return Parts.Log;
  }
  bool Has(const TCallLog& Log, const std::string& Call) { return std::find(Log.begin(), Log.end(), Call) != Log.end(); }
};
}  // namespace

TEST_F(GamepadKeys, APadStepsThroughTheMenuIntoAGameAndDrawsATrail) {
  Plug();
  Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_TRUE(Has(TickLog(Form->MenuTimer), "Menu.CursorDown"));
  Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  EXPECT_FALSE(Form->MenuHeldUp);
  Button(SDL_CONTROLLER_BUTTON_B, true);  // east: back
  EXPECT_TRUE(Has(TickLog(Form->MenuTimer), "Menu.Back"));
  Button(SDL_CONTROLLER_BUTTON_B, false);

  Button(SDL_CONTROLLER_BUTTON_START, true);  // start: Enter in the menu
  const TCallLog Start = TickLog(Form->MenuTimer);
  EXPECT_TRUE(Has(Start, "Menu.Choose"));
  EXPECT_TRUE(Has(Start, "CreateGame(600,1,2,0,550)"));
  ASSERT_TRUE(Form->TimerRuns(Form->GameTimer));
  Button(SDL_CONTROLLER_BUTTON_START, false);  // releases the Enter it sent, nothing more
  EXPECT_FALSE(Parts.Game->PausedValue);

  // Right on the d-pad with the south button held: player 1 cuts a trail.
  Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_TRUE(Has(TickLog(Form->GameTimer), "Game.MovePlayer1(1,0,1)"));
  // The stick takes over downwards; the latest direction wins.
  SDL_JoystickSetVirtualAxis(Stick, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  Pump();
  EXPECT_TRUE(Has(TickLog(Form->GameTimer), "Game.MovePlayer1(0,1,1)"));

  // Unplugged mid-trail: every key it held is let go and the player stops.
  Unplug();
  const TCallLog After = TickLog(Form->GameTimer);
  EXPECT_FALSE(Form->DrawHeld[1]);
  EXPECT_TRUE(Has(After, "Game.StopSound(0)"));
  EXPECT_TRUE(Has(After, "Game.StopSound(2)"));
  EXPECT_EQ(Window->Gamepads()->Connected(), 0);

  // Plugged in again during the game: start pauses it.
  Plug();
  Button(SDL_CONTROLLER_BUTTON_START, true);
  EXPECT_TRUE(Parts.Game->PausedValue);
}

TEST_F(GamepadKeys, InAGameEachPadSendsItsPlayersOwnBindings) {
  Parts.Config->SetPlayer1Keys({'I', 'K', 'J', 'L', 'M'});
  Parts.Config->SetPlayer2Keys({'T', 'G', 'F', 'H', 'Q'});
  // The menu steers with the arrows whoever holds the pad; draw stays the player's own key.
  for (int P = 1; P <= 2; ++P) {
    EXPECT_EQ(GamepadKey(*Form, P, TPadAction::Up), 38);
    EXPECT_EQ(GamepadKey(*Form, P, TPadAction::Right), 39);
    EXPECT_EQ(GamepadKey(*Form, P, TPadAction::Start), 13);
    EXPECT_EQ(GamepadKey(*Form, P, TPadAction::Back), 27);
  }
  EXPECT_EQ(GamepadKey(*Form, 2, TPadAction::Draw), 'Q');
  Parts.Menu->TwoPlayers = true;
  Tick(Form->MenuTimer);
  ASSERT_TRUE(Form->TimerRuns(Form->GameTimer));
  const TPadAction Order[] = {TPadAction::Up, TPadAction::Down, TPadAction::Left, TPadAction::Right, TPadAction::Draw};
  for (int P = 1; P <= 2; ++P)
    for (int I = 0; I < 5; ++I)
      EXPECT_EQ(GamepadKey(*Form, P, Order[I]), Parts.Config->Keys[(P == 1 ? 4 : 9) + I]) << P << " " << I;
  EXPECT_EQ(GamepadKey(*Form, 1, TPadAction::Start), 27);
  EXPECT_EQ(GamepadKey(*Form, 1, TPadAction::Back), 0);
  EXPECT_EQ(GamepadKey(*Form, 3, TPadAction::Up), 0);
}

// The real menu and the real game: a pad's start chooses the highlighted
// "one player" entry and its d-pad with the south button held cuts a trail
// into the board. (The archive holds no pictures: the game plays blank.)
TEST(GamepadRealGame, StartChoosesOnePlayerAndTheDpadWithSouthHeldCutsATrail) {
  const std::filesystem::path Folder =
      std::filesystem::temp_directory_path() / ("vyrn-pad-" + std::to_string(::getpid()));
  std::filesystem::remove_all(Folder);
  std::filesystem::create_directories(Folder);
  WritePakFile((Folder / "game.pak").string(), {{"a.png", {1, 2, 3}}});
  TRecordingMessageBox Box;
  SetMessageBoxHandler(&Box);
  THeadlessWaveOut WaveOut;
  SetWaveOutHandler(&WaveOut);
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  {
    TManualClock Clock;
    TTimerScheduler Timers{Clock};
    THeadlessWindowControl Control;
    TScreen Screen;
    TFakeDisplay Display;
    TSdlWindow Window("Vyrn pad test");
    TProgramParts Parts(Display, Folder.string(), Folder.string());
    TMainForm Form(Parts, Control, Screen, Timers);
    Window.EnableGamepads([&Form](int P, TPadAction A) { return GamepadKey(Form, P, A); });
    ASSERT_TRUE(Form.FormCreate());
    auto Tick = [&Form](TTimerId Timer, int N = 1) {
      for (int I = 0; I < N; ++I) Form.Dispatch(TInputEvent::TimerTick(Timer));
    };
    auto Pump = [&] {
      SDL_JoystickUpdate();
      TInputEvent E;
      for (int I = 0; I < 50; ++I)
        if (Window.WaitEvent(0, E) && E.Kind != TInputKind::FocusGained && E.Kind != TInputKind::FocusLost)
          Form.Dispatch(E);
    };
    SDL_Joystick* Stick = SDL_JoystickOpen(AttachPad());
    ASSERT_NE(Stick, nullptr) << SDL_GetError();
    Pump();
    auto Button = [&](SDL_GameControllerButton B, bool Down) {
      SDL_JoystickSetVirtualButton(Stick, B, Down ? 1 : 0);
      Pump();
    };

    // Any button ends the splash.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Tick(Form.SplashScreenTimer);
    ASSERT_NE(Form.Menu(), nullptr);
    Tick(Form.MenuTimer, 40);
    Button(SDL_CONTROLLER_BUTTON_START, true);
    Tick(Form.MenuTimer);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    for (int I = 0; I < 100 && !Form.Game(); ++I) Tick(Form.MenuTimer);
    auto* Game = dynamic_cast<TGameData*>(Form.Game());
    ASSERT_NE(Game, nullptr);
    Tick(Form.GameTimer, 150);  // past the level's title

    // The marker starts in the top-left corner: along the top edge with the
    // stick, then down into the field with the d-pad and the south button.
    const TPlayer& P1 = *Game->Players[0];
    const TMemBoard& Board = *Game->Level->Board;
    ASSERT_EQ(Board.GetCell(static_cast<int>(P1.X), static_cast<int>(P1.Y)), CellEdge);
    SDL_JoystickSetVirtualAxis(Stick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Pump();
    Tick(Form.GameTimer, 15);
    SDL_JoystickSetVirtualAxis(Stick, SDL_CONTROLLER_AXIS_LEFTX, 0);
    Pump();
    const float EdgeX = P1.X, EdgeY = P1.Y;
    EXPECT_GT(EdgeX, 20.0f);
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    Tick(Form.GameTimer, 20);
    EXPECT_EQ(P1.X, EdgeX);
    EXPECT_GT(P1.Y, EdgeY + 10);
    int TrailCells = 0;
    for (int Y = 0; Y < Game->Height; ++Y)
      for (int X = 0; X < Game->Width; ++X) TrailCells += Board.GetCell(X, Y) == CellTrail1;
    // The trail runs from the edge to the marker.
    EXPECT_GE(TrailCells, static_cast<int>(P1.Y - EdgeY) - 1);
    EXPECT_GT(TrailCells, 10);
    EXPECT_EQ(Board.GetCell(static_cast<int>(EdgeX), static_cast<int>(EdgeY + 5)), CellTrail1);

    // Unplugged mid-cut: the keys are let go and the marker stops.
    SDL_JoystickClose(Stick);
    for (int I = 0; I < SDL_NumJoysticks(); ++I)
      if (SDL_JoystickIsVirtual(I)) SDL_JoystickDetachVirtual(I);
    Pump();
    EXPECT_FALSE(Form.DrawHeld[1]);
    Tick(Form.GameTimer);
    const float StopX = P1.X, StopY = P1.Y;
    Tick(Form.GameTimer, 5);
    EXPECT_EQ(P1.X, StopX);
    EXPECT_EQ(P1.Y, StopY);

    Form.Dispatch(TInputEvent::CloseRequest());
    Form.FormDestroy();
  }
  SetMessageBoxHandler(nullptr);
  SetWaveOutHandler(nullptr);
  std::filesystem::remove_all(Folder);
}
