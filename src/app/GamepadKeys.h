// Which key a gamepad's action stands for, given what the window shows: in a
// game the player's own bindings and Escape for start (pause), and while the
// pause box asks, Y for the south button and N for the east one; elsewhere
// the menu's arrows, Enter for start and Escape for the east button. Either
// pad steers the menu.
#pragma once

#include <cstdint>

#include "platform/Gamepad.h"

class TMainForm;

std::uint16_t GamepadKey(const TMainForm& Form, int Player, TPadAction Action);
