// The first two game controllers as the two players' keys. Buttons and the
// left stick become key-down and key-up events of the keys the key map names
// at the moment of pressing; a release sends the key that the press sent,
// even if the map changed meanwhile (the menu started a game), so no key is
// left held. Unplugging a pad releases everything it held.
#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "platform/Gamepad.h"
#include "platform/InputEvent.h"

struct _SDL_GameController;
union SDL_Event;

class TSdlGamepads {
public:
  // The stick counts as pushed beyond PressZone and as let go below
  // ReleaseZone (of 32767): a stick resting near the edge does not chatter.
  static constexpr int PressZone = 12000;
  static constexpr int ReleaseZone = 9000;

  // Starts SDL's controller support; pads already plugged in announce
  // themselves as events. Throws std::runtime_error when it cannot start.
  explicit TSdlGamepads(TPadKeyMap Map);
  ~TSdlGamepads();
  TSdlGamepads(const TSdlGamepads&) = delete;
  TSdlGamepads& operator=(const TSdlGamepads&) = delete;

  // Takes SDL's controller events and appends the key events they mean to
  // Out. False for events that are none of its business.
  bool Handle(const SDL_Event& E, std::deque<TInputEvent>& Out);
  // How many players have a pad.
  int Connected() const;

private:
  struct TPad {
    _SDL_GameController* Controller = nullptr;
    std::int32_t Instance = -1;
    // Per action: held by a button, held by the stick, and the key sent.
    std::array<bool, PadActionCount> Button{};
    std::array<bool, PadActionCount> Stick{};
    std::array<std::uint16_t, PadActionCount> Sent{};
  };

  void Open(int DeviceIndex);
  void Close(TPad& Pad, std::deque<TInputEvent>& Out);
  void AdoptWaitingPads();
  TPad* Find(std::int32_t Instance);
  void Update(int Player, TPad& Pad, TPadAction Action, std::deque<TInputEvent>& Out);
  void Axis(int Player, TPad& Pad, int Axis, int Value, std::deque<TInputEvent>& Out);

  TPadKeyMap FMap;
  std::array<TPad, PadPlayers> FPads{};
};
