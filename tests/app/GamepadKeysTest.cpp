// What a pad's actions mean to the main window, and a game controller
// through the whole chain: SDL's virtual joystick, the real SDL window's
// event source, the key map, the main window's key state, into the real
// menu, a real game and a trail cut into its board.
#include <gtest/gtest.h>

#include <SDL.h>

#include "FakeParts.h"
#include "actors/Player.h"
#include "app/GamepadKeys.h"
#include "app/Main.h"
#include "program/HeadlessSession.h"
#include "board/MemBoard.h"
#include "game/GameData.h"
#include "game/Level.h"
#include "persist/TestFolder.h"
#include "platform/MessageBox.h"
#include "platform/WaveOut.h"
#include "platform/HeadlessWindow.h"
#include "platform/sdl/SdlGamepads.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/sdl/VirtualPad.h"

TEST(GamepadKeys, TheMenuTakesArrowsEnterAndEscapeAGameThePlayersOwnBindings) {
  THeadlessWindow Headless;
  TFakeParts Parts;
  TRecordingMessageBox Box;
  SetMessageBoxHandler(&Box);
  THeadlessWaveOut WaveOut;
  SetWaveOutHandler(&WaveOut);
  {
    TMainForm Form(Parts, Headless.Window, Headless.Screen, Headless.Timers);
    EXPECT_EQ(GamepadKey(Form, 1, TPadAction::Draw), 0);  // before the settings exist
    ASSERT_TRUE(Form.FormCreate());
    Parts.Splash->FinishedValue = true;
    Form.Dispatch(TInputEvent::TimerTick(Form.SplashScreenTimer));
    Parts.Config->SetPlayer1Keys({'I', 'K', 'J', 'L', 'M'});
    Parts.Config->SetPlayer2Keys({'T', 'G', 'F', 'H', 'Q'});
    // The menu steers with the arrows whoever holds the pad; draw stays the player's own key.
    for (int P = 1; P <= 2; ++P) {
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Up), 38);
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Right), 39);
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Start), 13);
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Back), 27);
    }
    EXPECT_EQ(GamepadKey(Form, 2, TPadAction::Draw), 'Q');
    Parts.Menu->TwoPlayers = true;
    Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
    ASSERT_TRUE(Form.TimerRuns(Form.GameTimer));
    const TPadAction Order[] = {TPadAction::Up, TPadAction::Down, TPadAction::Left, TPadAction::Right,
                                TPadAction::Draw};
    for (int P = 1; P <= 2; ++P)
      for (int I = 0; I < 5; ++I)
        EXPECT_EQ(GamepadKey(Form, P, Order[I]), Parts.Config->Keys[(P == 1 ? 4 : 9) + I]) << P << " " << I;
    EXPECT_EQ(GamepadKey(Form, 1, TPadAction::Start), 27);
    EXPECT_EQ(GamepadKey(Form, 1, TPadAction::Back), 0);
    EXPECT_EQ(GamepadKey(Form, 3, TPadAction::Up), 0);

    // The pause box asks: south answers yes, east no, for either pad; the
    // directions and start keep their keys.
    Parts.Game->PausedValue = true;
    for (int P = 1; P <= 2; ++P) {
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Draw), 'Y');
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Back), 'N');
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Start), 27);
      EXPECT_EQ(GamepadKey(Form, P, TPadAction::Left), Parts.Config->Keys[P == 1 ? 6 : 11]);
    }
    // And the window takes them as the keys: N resumes, Y ends the game.
    std::uint16_t Key = GamepadKey(Form, 1, TPadAction::Back);
    Form.FormKeyDown(Key, {});
    EXPECT_FALSE(Parts.Game->PausedValue);
    EXPECT_EQ(GamepadKey(Form, 1, TPadAction::Draw), 'M');
    Parts.Game->PausedValue = true;
    Key = GamepadKey(Form, 2, TPadAction::Draw);
    Parts.Log.clear();
    Form.FormKeyDown(Key, {});
    EXPECT_EQ(Parts.Log, (TCallLog{"Game.ConfirmQuit"}));
    Form.FormDestroy();
  }
  SetMessageBoxHandler(nullptr);
  SetWaveOutHandler(nullptr);
}

// The real menu and the real game: a pad's start chooses the highlighted
// "one player" entry and its d-pad with the south button held cuts a trail
// into the board. (The archive holds no pictures: the game plays blank.)
TEST(GamepadRealGame, StartChoosesOnePlayerAndTheDpadWithSouthHeldCutsATrail) {
  const TTestFolder Folder;
  WritePakFile(Folder.File("game.pak"), {{"a.png", {1, 2, 3}}});
  TRecordingMessageBox Box;
  SetMessageBoxHandler(&Box);
  THeadlessWaveOut WaveOut;
  SetWaveOutHandler(&WaveOut);
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  {
    THeadlessSession Session(Folder.File("game.pak"), Folder.Path);
    TMainForm& Form = Session.Form();
    TSdlWindow Window("Vyrn pad test");
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

    // Start pauses the game and resumes it.
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(Game->Paused());
    Button(SDL_CONTROLLER_BUTTON_START, false);
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_FALSE(Game->Paused());

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
}
