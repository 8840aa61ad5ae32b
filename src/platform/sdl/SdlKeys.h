// SDL key events in the game's terms: the classic 16-bit virtual-key codes
// (stored in config.dat, so this table must never drift) and the modifier
// bits of the input seam. SDL's values are passed as plain ints.
#pragma once

#include <cstdint>

#include "platform/InputEvent.h"

// The virtual-key code of a key, 0 for keys the game has no code for.
// Letters and punctuation follow the keyboard layout (the key's SDL
// keycode); keys whose keycode is no ASCII character fall back to the US
// position of their scancode. The digit row always gives its digits. The keypad follows NumLock: with it off the
// digit keys are the navigation keys printed on them.
std::uint16_t VirtualKeyFromSdl(int Scancode, int Keycode, int Modifiers);

TShiftState ShiftStateFromSdl(int Modifiers);

// The character a key also types on the classic platform although no text
// input reports it (Backspace 8, Tab 9, Enter 13, Escape 27); 0 otherwise.
char ControlCharacterForKey(std::uint16_t VirtualKey);
