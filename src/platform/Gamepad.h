// What a gamepad can ask for, in the game's own terms. The platform turns
// buttons and sticks into these actions; whoever knows the key bindings and
// the window's state turns an action into the virtual-key code it stands for,
// and the pad then sends that key's events through the input seam, as if the
// key itself had been pressed.
#pragma once

#include <cstdint>
#include <functional>

enum class TPadAction : std::uint8_t { Up, Down, Left, Right, Draw, Start, Back };
inline constexpr int PadActionCount = 7;
// The first two pads play; a third waits until one of them is unplugged.
inline constexpr int PadPlayers = 2;

// Player 1 or 2 and an action -> the key code to send, 0 for none.
using TPadKeyMap = std::function<std::uint16_t(int Player, TPadAction Action)>;
