// Game controllers through SDL's virtual joystick: hot-plugging, the keys
// they send, the stick's dead zone and what unplugging releases.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include "platform/sdl/SdlGamepads.h"
#include "platform/sdl/SdlKeys.h"
#include "platform/sdl/VirtualPad.h"

namespace {
// The virtual joystick opened on the side, to move its buttons and axes.
class TPadHand {
public:
  explicit TPadHand(int DeviceIndex) : FStick(SDL_JoystickOpen(DeviceIndex)), FIndex(DeviceIndex) {}
  ~TPadHand() { Unplug(); }
  void Button(SDL_GameControllerButton B, bool Down) { SDL_JoystickSetVirtualButton(FStick, B, Down ? 1 : 0); }
  void Axis(SDL_GameControllerAxis A, int Value) { SDL_JoystickSetVirtualAxis(FStick, A, static_cast<Sint16>(Value)); }
  void Unplug() {
    if (!FStick) return;
    const SDL_JoystickID Id = SDL_JoystickInstanceID(FStick);
    SDL_JoystickClose(FStick);
    FStick = nullptr;
    for (int I = 0; I < SDL_NumJoysticks(); ++I)
      if (SDL_JoystickGetDeviceInstanceID(I) == Id) SDL_JoystickDetachVirtual(I);
  }
  bool Valid() const { return FStick != nullptr; }

private:
  SDL_Joystick* FStick;
  int FIndex;
};

struct TKeyMap {
  bool InGame = false;
  std::vector<std::pair<int, TPadAction>> Asked;
  std::uint16_t operator()(int Player, TPadAction A) {
    Asked.emplace_back(Player, A);
    // Player 1 plays on the arrows and Space, player 2 on WASD and Ctrl.
    static constexpr std::uint16_t Keys[3][7] = {{}, {38, 40, 37, 39, 32, 27, 0}, {'W', 'S', 'A', 'D', 17, 27, 0}};
    if (!InGame && A == TPadAction::Start) return 13;
    if (!InGame && A == TPadAction::Back) return 27;
    return Keys[Player][static_cast<int>(A)];
  }
};

class SdlGamepads : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    Pads = std::make_unique<TSdlGamepads>([this](int P, TPadAction A) { return Map(P, A); });
  }
  void TearDown() override {
    Pads.reset();
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
  }
  // Every input event the queued SDL events mean.
  std::vector<TInputEvent> Drain() {
    SDL_JoystickUpdate();
    SDL_PumpEvents();
    std::deque<TInputEvent> Out;
    SDL_Event E;
    while (SDL_PollEvent(&E)) Pads->Handle(E, Out);
    return {Out.begin(), Out.end()};
  }

  TKeyMap Map;
  std::unique_ptr<TSdlGamepads> Pads;
};

using Events = std::vector<TInputEvent>;
}  // namespace

TEST_F(SdlGamepads, PlugInPressAndUnplugReleasesWhatWasHeld) {
  EXPECT_EQ(Pads->Connected(), 0);
  TPadHand Pad(AttachPad());
  ASSERT_TRUE(Pad.Valid()) << SDL_GetError();
  EXPECT_TRUE(Drain().empty());
  EXPECT_EQ(Pads->Connected(), 1);

  Pad.Button(SDL_CONTROLLER_BUTTON_START, true);  // in the menu: Enter, which also types its character
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(13), TInputEvent::KeyPress(13)}));
  Map.InGame = true;  // the menu started a game meanwhile
  Pad.Button(SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyUp(13)}));  // the key that went down comes up

  // (one change per look: SDL reports the changes of one update in its own order)
  Pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(39)}));
  Pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(32)}));
  Pad.Button(SDL_CONTROLLER_BUTTON_X, true);  // no action: nothing
  EXPECT_TRUE(Drain().empty());
  Pad.Button(SDL_CONTROLLER_BUTTON_B, true);  // in a game the east button means nothing
  EXPECT_TRUE(Drain().empty());

  Pad.Unplug();
  const Events Released = Drain();
  EXPECT_EQ(Pads->Connected(), 0);
  EXPECT_EQ(Released.size(), 2u);
  for (const TInputEvent E : {TInputEvent::KeyUp(39), TInputEvent::KeyUp(32)})
    EXPECT_NE(std::find(Released.begin(), Released.end(), E), Released.end()) << DescribeInputEvent(E);
}

TEST_F(SdlGamepads, TheStickHasADeadZoneAndSharesItsDirectionWithTheDpad) {
  TPadHand Pad(AttachPad());
  Drain();
  Map.InGame = true;
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -TSdlGamepads::PressZone);  // not beyond the zone yet
  EXPECT_TRUE(Drain().empty());
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -TSdlGamepads::PressZone - 1);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(37)}));
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -TSdlGamepads::ReleaseZone);  // inside the hysteresis: still held
  EXPECT_TRUE(Drain().empty());
  Pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);  // the same direction twice is one key
  EXPECT_TRUE(Drain().empty());
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  EXPECT_TRUE(Drain().empty());  // the d-pad still holds it
  Pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyUp(37)}));

  // Down and right at once: both keys, the window's latest-wins rule picks.
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(40)}));
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(39)}));
  Pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);  // straight over to the other side
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(37), TInputEvent::KeyUp(39)}));
  Pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);  // the right stick is not used
  EXPECT_TRUE(Drain().empty());
}

TEST_F(SdlGamepads, TwoPadsAreTwoPlayersAndAThirdWaitsForAFreePlace) {
  Map.InGame = true;
  TPadHand First(AttachPad());
  TPadHand Second(AttachPad());
  TPadHand Third(AttachPad());
  Drain();
  EXPECT_EQ(Pads->Connected(), 2);
  First.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(38)}));
  Second.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown('W')}));
  Third.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_TRUE(Drain().empty());

  Second.Unplug();  // the third pad becomes player 2
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyUp('W')}));
  EXPECT_EQ(Pads->Connected(), 2);
  Third.Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(Drain(), (Events{TInputEvent::KeyDown(17)}));
}
