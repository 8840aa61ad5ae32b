#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/sdl/SdlKeys.h"

namespace {
// The keycode SDL reports for a key on a US layout.
int UsKeycode(SDL_Scancode S) {
  if (S >= SDL_SCANCODE_A && S <= SDL_SCANCODE_Z) return 'a' + (S - SDL_SCANCODE_A);
  if (S >= SDL_SCANCODE_1 && S <= SDL_SCANCODE_9) return '1' + (S - SDL_SCANCODE_1);
  switch (S) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_SPACE: return ' ';
    case SDL_SCANCODE_RETURN: return SDLK_RETURN;
    case SDL_SCANCODE_ESCAPE: return SDLK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return SDLK_BACKSPACE;
    case SDL_SCANCODE_TAB: return SDLK_TAB;
    case SDL_SCANCODE_DELETE: return SDLK_DELETE;
    case SDL_SCANCODE_MINUS: return '-';
    case SDL_SCANCODE_EQUALS: return '=';
    case SDL_SCANCODE_LEFTBRACKET: return '[';
    case SDL_SCANCODE_RIGHTBRACKET: return ']';
    case SDL_SCANCODE_BACKSLASH: return '\\';
    case SDL_SCANCODE_SEMICOLON: return ';';
    case SDL_SCANCODE_APOSTROPHE: return '\'';
    case SDL_SCANCODE_GRAVE: return '`';
    case SDL_SCANCODE_COMMA: return ',';
    case SDL_SCANCODE_PERIOD: return '.';
    case SDL_SCANCODE_SLASH: return '/';
    default: return SDL_SCANCODE_TO_KEYCODE(S);
  }
}

std::uint16_t Us(SDL_Scancode S, int Mod = KMOD_NONE) { return VirtualKeyFromSdl(S, UsKeycode(S), Mod); }
}  // namespace

TEST(SdlKeys, LettersDigitsAndSpace) {
  for (int I = 0; I < 26; ++I) {
    const auto S = static_cast<SDL_Scancode>(SDL_SCANCODE_A + I);
    EXPECT_EQ(Us(S), 65 + I) << SDL_GetScancodeName(S);
    EXPECT_EQ(Us(S, KMOD_LSHIFT), 65 + I) << "shift does not change the code";
  }
  EXPECT_EQ(Us(SDL_SCANCODE_0), 48);
  for (int I = 1; I <= 9; ++I) EXPECT_EQ(Us(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + I - 1)), 48 + I);
  EXPECT_EQ(Us(SDL_SCANCODE_SPACE), 32);
}

TEST(SdlKeys, NavigationEditingAndModifierKeys) {
  const std::pair<SDL_Scancode, int> Table[] = {
      {SDL_SCANCODE_LEFT, 37},     {SDL_SCANCODE_UP, 38},       {SDL_SCANCODE_RIGHT, 39},
      {SDL_SCANCODE_DOWN, 40},     {SDL_SCANCODE_LCTRL, 17},    {SDL_SCANCODE_RCTRL, 17},
      {SDL_SCANCODE_LSHIFT, 16},   {SDL_SCANCODE_RSHIFT, 16},   {SDL_SCANCODE_LALT, 18},
      {SDL_SCANCODE_RALT, 18},     {SDL_SCANCODE_RETURN, 13},   {SDL_SCANCODE_KP_ENTER, 13},
      {SDL_SCANCODE_ESCAPE, 27},   {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9},
      {SDL_SCANCODE_INSERT, 45},   {SDL_SCANCODE_DELETE, 46},   {SDL_SCANCODE_HOME, 36},
      {SDL_SCANCODE_END, 35},      {SDL_SCANCODE_PAGEUP, 33},   {SDL_SCANCODE_PAGEDOWN, 34},
      {SDL_SCANCODE_LGUI, 91},     {SDL_SCANCODE_RGUI, 92},     {SDL_SCANCODE_APPLICATION, 93},
      {SDL_SCANCODE_CAPSLOCK, 20}, {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_SCROLLLOCK, 145},
      {SDL_SCANCODE_PAUSE, 19},    {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
  };
  for (const auto& [S, Code] : Table) EXPECT_EQ(Us(S), Code) << SDL_GetScancodeName(S);
}

TEST(SdlKeys, FunctionKeys) {
  for (int I = 0; I < 12; ++I) EXPECT_EQ(Us(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + I)), 112 + I);
  EXPECT_EQ(Us(SDL_SCANCODE_F13), 124);
  EXPECT_EQ(Us(SDL_SCANCODE_F24), 135);
}

TEST(SdlKeys, KeypadFollowsNumLock) {
  const SDL_Scancode Digits[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
                                   SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,
                                   SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9};
  const int WithoutNumLock[10] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33};
  for (int D = 0; D < 10; ++D) {
    EXPECT_EQ(Us(Digits[D], KMOD_NUM), 96 + D) << D;
    EXPECT_EQ(Us(Digits[D]), WithoutNumLock[D]) << D;
  }
  EXPECT_EQ(Us(SDL_SCANCODE_KP_PERIOD, KMOD_NUM), 110);
  EXPECT_EQ(Us(SDL_SCANCODE_KP_PERIOD), 46);
  for (int Mod : {KMOD_NONE, KMOD_NUM}) {
    EXPECT_EQ(Us(SDL_SCANCODE_KP_MULTIPLY, Mod), 106);
    EXPECT_EQ(Us(SDL_SCANCODE_KP_PLUS, Mod), 107);
    EXPECT_EQ(Us(SDL_SCANCODE_KP_MINUS, Mod), 109);
    EXPECT_EQ(Us(SDL_SCANCODE_KP_DIVIDE, Mod), 111);
  }
}

TEST(SdlKeys, PunctuationGetsTheOemCodes) {
  const std::pair<SDL_Scancode, int> Table[] = {
      {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187},      {SDL_SCANCODE_COMMA, 188},
      {SDL_SCANCODE_MINUS, 189},     {SDL_SCANCODE_PERIOD, 190},      {SDL_SCANCODE_SLASH, 191},
      {SDL_SCANCODE_GRAVE, 192},     {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_BACKSLASH, 220},
      {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
  };
  for (const auto& [S, Code] : Table) EXPECT_EQ(Us(S), Code) << SDL_GetScancodeName(S);
}

TEST(SdlKeys, OtherLayoutsFollowTheCharacterOnTheKey) {
  // French AZERTY: the key in the Q position types "a", the M position ",".
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, 'a', 0), 'A');
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_A, 'q', 0), 'Q');
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_M, ',', 0), 188);
  // Its digit row types symbols; the code is still the digit under them.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_1, '&', 0), '1');
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_2, 0xE9, 0), '2');
  // Even where the symbol is one of the punctuation characters: AZERTY types
  // "'" on the 4 and "-" on the 6, yet they must stay digits (cheat words and
  // bindings count on it).
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_4, '\'', 0), '4');
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_6, '-', 0), '6');
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_0, 0xE0, 0), '0');
  // German QWERTZ swaps Y and Z.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Y, 'z', 0), 'Z');
  // A Cyrillic layout has no ASCII on the letters: US positions.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_F, 0x430, 0), 'F');
  // Keys that are not characters never look at the keycode.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_LEFT, 'a', 0), 37);
}

TEST(SdlKeys, UnknownKeysHaveNoCode) {
  EXPECT_EQ(Us(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(Us(SDL_SCANCODE_AUDIOPLAY), 0);
  EXPECT_EQ(Us(SDL_SCANCODE_KP_EQUALS), 0);
}

TEST(SdlKeys, ShiftStateAndControlCharacters) {
  EXPECT_EQ(ShiftStateFromSdl(KMOD_NONE), 0);
  EXPECT_EQ(ShiftStateFromSdl(KMOD_RSHIFT), ShiftShift);
  EXPECT_EQ(ShiftStateFromSdl(KMOD_LALT | KMOD_RCTRL), ShiftAlt | ShiftCtrl);
  EXPECT_EQ(ShiftStateFromSdl(KMOD_NUM | KMOD_CAPS), 0);
  EXPECT_EQ(ControlCharacterForKey(8), 8);
  EXPECT_EQ(ControlCharacterForKey(9), 9);
  EXPECT_EQ(ControlCharacterForKey(13), 13);
  EXPECT_EQ(ControlCharacterForKey(27), 27);
  EXPECT_EQ(ControlCharacterForKey(46), 0);
  EXPECT_EQ(ControlCharacterForKey(65), 0);
}
