#include "platform/sdl/SdlGamepads.h"

#include <SDL.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/sdl/SdlKeys.h"

namespace {
int ActionIndex(TPadAction A) { return static_cast<int>(A); }

bool ButtonAction(int Button, TPadAction& Action) {
  switch (Button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: Action = TPadAction::Up; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: Action = TPadAction::Down; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: Action = TPadAction::Left; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: Action = TPadAction::Right; return true;
    case SDL_CONTROLLER_BUTTON_A: Action = TPadAction::Draw; return true;  // the south button
    case SDL_CONTROLLER_BUTTON_B: Action = TPadAction::Back; return true;  // the east button
    case SDL_CONTROLLER_BUTTON_START: Action = TPadAction::Start; return true;
    default: return false;
  }
}
}  // namespace

TSdlGamepads::TSdlGamepads(TPadKeyMap Map) : FMap(std::move(Map)) {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    throw std::runtime_error(std::string("Cannot start the game controllers: ") + SDL_GetError());
}

TSdlGamepads::~TSdlGamepads() {
  for (TPad& Pad : FPads)
    if (Pad.Controller) SDL_GameControllerClose(Pad.Controller);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int TSdlGamepads::Connected() const {
  int N = 0;
  for (const TPad& Pad : FPads) N += Pad.Controller != nullptr;
  return N;
}

TSdlGamepads::TPad* TSdlGamepads::Find(std::int32_t Instance) {
  for (TPad& Pad : FPads)
    if (Pad.Controller && Pad.Instance == Instance) return &Pad;
  return nullptr;
}

void TSdlGamepads::Open(int DeviceIndex) {
  if (!SDL_IsGameController(DeviceIndex)) return;
  const SDL_JoystickID Instance = SDL_JoystickGetDeviceInstanceID(DeviceIndex);
  if (Instance < 0 || Find(Instance)) return;  // announced twice: at start and by the event
  for (int Player = 0; Player < PadPlayers; ++Player) {
    TPad& Pad = FPads[Player];
    if (Pad.Controller) continue;
    SDL_GameController* Controller = SDL_GameControllerOpen(DeviceIndex);
    if (!Controller) return;
    Pad = TPad{};
    Pad.Controller = Controller;
    Pad.Instance = Instance;
    SDL_GameControllerSetPlayerIndex(Controller, Player);
    return;
  }
}

void TSdlGamepads::Close(TPad& Pad, std::deque<TInputEvent>& Out) {
  for (int A = 0; A < PadActionCount; ++A)
    if (Pad.Sent[A]) Out.push_back(TInputEvent::KeyUp(Pad.Sent[A]));
  SDL_GameControllerClose(Pad.Controller);
  Pad = TPad{};
}

// A third pad plugged in while two played takes the place that came free.
void TSdlGamepads::AdoptWaitingPads() {
  const int Count = SDL_NumJoysticks();
  for (int I = 0; I < Count && Connected() < PadPlayers; ++I) Open(I);
}

void TSdlGamepads::Update(int Player, TPad& Pad, TPadAction Action, std::deque<TInputEvent>& Out) {
  const int A = ActionIndex(Action);
  const bool Held = Pad.Button[A] || Pad.Stick[A];
  if (Held && !Pad.Sent[A]) {
    const std::uint16_t Key = FMap ? FMap(Player + 1, Action) : 0;
    if (!Key) return;
    Pad.Sent[A] = Key;
    Out.push_back(TInputEvent::KeyDown(Key));
    // As on the keyboard, Enter and Escape also type their character.
    if (const char Ch = ControlCharacterForKey(Key)) Out.push_back(TInputEvent::KeyPress(Ch));
  } else if (!Held && Pad.Sent[A]) {
    Out.push_back(TInputEvent::KeyUp(Pad.Sent[A]));
    Pad.Sent[A] = 0;
  }
}

void TSdlGamepads::Axis(int Player, TPad& Pad, int Axis, int Value, std::deque<TInputEvent>& Out) {
  TPadAction Negative, Positive;
  if (Axis == SDL_CONTROLLER_AXIS_LEFTX) {
    Negative = TPadAction::Left;
    Positive = TPadAction::Right;
  } else if (Axis == SDL_CONTROLLER_AXIS_LEFTY) {
    Negative = TPadAction::Up;  // SDL's y axis points down
    Positive = TPadAction::Down;
  } else {
    return;
  }
  auto Set = [&](TPadAction Action, int Push) {
    bool& Held = Pad.Stick[ActionIndex(Action)];
    if (Push > PressZone) Held = true;
    else if (Push < ReleaseZone) Held = false;
    Update(Player, Pad, Action, Out);
  };
  Set(Negative, -Value);
  Set(Positive, Value);
}

bool TSdlGamepads::Handle(const SDL_Event& E, std::deque<TInputEvent>& Out) {
  switch (E.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(E.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (TPad* Pad = Find(E.cdevice.which)) {
        Close(*Pad, Out);
        AdoptWaitingPads();
      }
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      TPad* Pad = Find(E.cbutton.which);
      TPadAction Action;
      if (!Pad || !ButtonAction(E.cbutton.button, Action)) return true;
      Pad->Button[ActionIndex(Action)] = E.type == SDL_CONTROLLERBUTTONDOWN;
      Update(static_cast<int>(Pad - FPads.data()), *Pad, Action, Out);
      return true;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (TPad* Pad = Find(E.caxis.which))
        Axis(static_cast<int>(Pad - FPads.data()), *Pad, E.caxis.axis, E.caxis.value, Out);
      return true;
    case SDL_CONTROLLERDEVICEREMAPPED:
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_JOYAXISMOTION:
    case SDL_JOYBALLMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      return true;  // the raw joystick side of the same pads
    default:
      return false;
  }
}
