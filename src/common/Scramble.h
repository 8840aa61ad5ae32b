// Scrambled text for config.dat, highscores.dat and high-score submissions,
// and the names of the keys a player can bind.
//
// Texts are byte strings of 8-bit characters. The scrambled form holds two
// bytes per plain byte: a random pad K in 50..199, then K xor the byte, which
// lies in 66..128. A decimal byte sum appended before scrambling lets the
// reader tell a damaged or edited file from a good one.
#pragma once

#include <cstdint>
#include <string>

// Appends the text's decimal byte sum and replaces Text by its scrambled form.
// The pads come from the program-wide generator (Random).
void ScrambleText(std::string& Text);

// Replaces Text by its plain payload (up to and including its last ",") and
// returns true only when the appended sum matches. Never throws; a trailing
// odd byte is ignored.
bool UnscrambleText(std::string& Text);

// Whether a player may bind the virtual-key code Key to an action.
bool IsBindableKey(std::uint16_t Key);

// The shown name of a key: a fixed name for the special keys, otherwise the
// one character whose code is the key code's low byte.
std::string KeyName(std::uint16_t Key);

// Decimal text of N with a "0" in front below 10 (frame numbers in image names).
std::string TwoDigits(int N);

// Decimal text with an optional sign and nothing else (no spaces, no hex), in
// range: the only number form the game's files contain.
bool TryDecimalToInt32(const std::string& Text, std::int32_t& Value);
bool TryDecimalToInt64(const std::string& Text, std::int64_t& Value);
