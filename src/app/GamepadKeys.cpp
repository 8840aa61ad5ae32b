#include "app/GamepadKeys.h"

#include "app/Main.h"
#include "platform/VirtualKeys.h"

std::uint16_t GamepadKey(const TMainForm& Form, int Player, TPadAction Action) {
  if (Player < 1 || Player > PadPlayers) return 0;
  const TConfig* Config = Form.Config();
  const bool InGame = Config && Form.TimerRuns(Form.GameTimer);
  // The pause box asks a question: south answers yes (Y, end the game),
  // east answers no (N, play on). In play south stays the draw key.
  const bool Asking = InGame && Form.Game() && Form.Game()->Paused();
  switch (Action) {
    case TPadAction::Up: return InGame ? Config->PlayerKey(Player, TConfig::KeyUp) : Vk::Up;
    case TPadAction::Down: return InGame ? Config->PlayerKey(Player, TConfig::KeyDown) : Vk::Down;
    case TPadAction::Left: return InGame ? Config->PlayerKey(Player, TConfig::KeyLeft) : Vk::Left;
    case TPadAction::Right: return InGame ? Config->PlayerKey(Player, TConfig::KeyRight) : Vk::Right;
    case TPadAction::Draw:
      if (Asking) return 'Y';
      return Config ? Config->PlayerKey(Player, TConfig::KeyDraw) : 0;
    case TPadAction::Start: return InGame ? Vk::Escape : Vk::Return;
    case TPadAction::Back:
      if (Asking) return 'N';
      return InGame ? 0 : Vk::Escape;
  }
  return 0;
}
