// The classic 16-bit virtual-key codes the game and config.dat use. Letters
// and digits are their upper-case character codes ('A' 65 .. 'Z' 90,
// '0' 48 .. '9' 57).
#pragma once

#include <cstdint>

namespace Vk {
inline constexpr std::uint16_t Back = 8;
inline constexpr std::uint16_t Tab = 9;
inline constexpr std::uint16_t Clear = 12;
inline constexpr std::uint16_t Return = 13;
inline constexpr std::uint16_t Shift = 16;
inline constexpr std::uint16_t Control = 17;
inline constexpr std::uint16_t Menu = 18;  // Alt
inline constexpr std::uint16_t Pause = 19;
inline constexpr std::uint16_t Capital = 20;  // Caps Lock
inline constexpr std::uint16_t Escape = 27;
inline constexpr std::uint16_t Space = 32;
inline constexpr std::uint16_t Prior = 33;  // Page Up
inline constexpr std::uint16_t Next = 34;   // Page Down
inline constexpr std::uint16_t End = 35;
inline constexpr std::uint16_t Home = 36;
inline constexpr std::uint16_t Left = 37;
inline constexpr std::uint16_t Up = 38;
inline constexpr std::uint16_t Right = 39;
inline constexpr std::uint16_t Down = 40;
inline constexpr std::uint16_t Snapshot = 44;  // Print Screen
inline constexpr std::uint16_t Insert = 45;
inline constexpr std::uint16_t Delete = 46;
inline constexpr std::uint16_t LWin = 91;
inline constexpr std::uint16_t RWin = 92;
inline constexpr std::uint16_t Apps = 93;
inline constexpr std::uint16_t Numpad0 = 96;  // .. Numpad9 105
inline constexpr std::uint16_t Multiply = 106;
inline constexpr std::uint16_t Add = 107;
inline constexpr std::uint16_t Subtract = 109;
inline constexpr std::uint16_t Decimal = 110;
inline constexpr std::uint16_t Divide = 111;
inline constexpr std::uint16_t F1 = 112;  // .. F24 135
inline constexpr std::uint16_t NumLock = 144;
inline constexpr std::uint16_t ScrollLock = 145;
inline constexpr std::uint16_t OemSemicolon = 186;  // ;
inline constexpr std::uint16_t OemPlus = 187;       // =
inline constexpr std::uint16_t OemComma = 188;      // ,
inline constexpr std::uint16_t OemMinus = 189;      // -
inline constexpr std::uint16_t OemPeriod = 190;     // .
inline constexpr std::uint16_t OemSlash = 191;      // /
inline constexpr std::uint16_t OemTilde = 192;      // `
inline constexpr std::uint16_t OemOpenBracket = 219;   // [
inline constexpr std::uint16_t OemBackslash = 220;     // backslash
inline constexpr std::uint16_t OemCloseBracket = 221;  // ]
inline constexpr std::uint16_t OemQuote = 222;         // '
inline constexpr std::uint16_t Oem102 = 226;  // the extra key left of Z on ISO keyboards
}  // namespace Vk
