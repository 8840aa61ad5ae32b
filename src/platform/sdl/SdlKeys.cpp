#include "platform/sdl/SdlKeys.h"

#include <SDL.h>

#include "platform/VirtualKeys.h"

namespace {

std::uint16_t KeypadKey(int Scancode, bool NumLock) {
  // Scancodes KP_1 .. KP_9, KP_0 are consecutive.
  if (Scancode >= SDL_SCANCODE_KP_1 && Scancode <= SDL_SCANCODE_KP_0) {
    const int Digit = Scancode == SDL_SCANCODE_KP_0 ? 0 : Scancode - SDL_SCANCODE_KP_1 + 1;
    if (NumLock) return static_cast<std::uint16_t>(Vk::Numpad0 + Digit);
    static constexpr std::uint16_t Navigation[10] = {Vk::Insert, Vk::End,  Vk::Down,  Vk::Next, Vk::Left,
                                                     Vk::Clear,  Vk::Right, Vk::Home, Vk::Up,   Vk::Prior};
    return Navigation[Digit];
  }
  switch (Scancode) {
    case SDL_SCANCODE_KP_PERIOD: return NumLock ? Vk::Decimal : Vk::Delete;
    case SDL_SCANCODE_KP_MULTIPLY: return Vk::Multiply;
    case SDL_SCANCODE_KP_PLUS: return Vk::Add;
    case SDL_SCANCODE_KP_MINUS: return Vk::Subtract;
    case SDL_SCANCODE_KP_DIVIDE: return Vk::Divide;
    case SDL_SCANCODE_KP_ENTER: return Vk::Return;
    default: return 0;
  }
}

std::uint16_t FixedKey(int Scancode) {
  if (Scancode >= SDL_SCANCODE_F1 && Scancode <= SDL_SCANCODE_F12)
    return static_cast<std::uint16_t>(Vk::F1 + (Scancode - SDL_SCANCODE_F1));
  if (Scancode >= SDL_SCANCODE_F13 && Scancode <= SDL_SCANCODE_F24)
    return static_cast<std::uint16_t>(Vk::F1 + 12 + (Scancode - SDL_SCANCODE_F13));
  switch (Scancode) {
    case SDL_SCANCODE_RETURN: return Vk::Return;
    case SDL_SCANCODE_ESCAPE: return Vk::Escape;
    case SDL_SCANCODE_BACKSPACE: return Vk::Back;
    case SDL_SCANCODE_TAB: return Vk::Tab;
    case SDL_SCANCODE_SPACE: return Vk::Space;
    case SDL_SCANCODE_LEFT: return Vk::Left;
    case SDL_SCANCODE_UP: return Vk::Up;
    case SDL_SCANCODE_RIGHT: return Vk::Right;
    case SDL_SCANCODE_DOWN: return Vk::Down;
    case SDL_SCANCODE_INSERT: return Vk::Insert;
    case SDL_SCANCODE_DELETE: return Vk::Delete;
    case SDL_SCANCODE_HOME: return Vk::Home;
    case SDL_SCANCODE_END: return Vk::End;
    case SDL_SCANCODE_PAGEUP: return Vk::Prior;
    case SDL_SCANCODE_PAGEDOWN: return Vk::Next;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return Vk::Control;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return Vk::Shift;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return Vk::Menu;
    case SDL_SCANCODE_LGUI: return Vk::LWin;
    case SDL_SCANCODE_RGUI: return Vk::RWin;
    case SDL_SCANCODE_APPLICATION: return Vk::Apps;
    case SDL_SCANCODE_CAPSLOCK: return Vk::Capital;
    case SDL_SCANCODE_NUMLOCKCLEAR: return Vk::NumLock;
    case SDL_SCANCODE_SCROLLLOCK: return Vk::ScrollLock;
    case SDL_SCANCODE_PAUSE: return Vk::Pause;
    case SDL_SCANCODE_PRINTSCREEN: return Vk::Snapshot;
    case SDL_SCANCODE_NONUSBACKSLASH: return Vk::Oem102;
    default: return 0;
  }
}

// Letters, digits and the US punctuation characters, by the character the
// layout puts on the key.
std::uint16_t CharacterKey(int Keycode) {
  if (Keycode >= 'a' && Keycode <= 'z') return static_cast<std::uint16_t>(Keycode - 'a' + 'A');
  if (Keycode >= '0' && Keycode <= '9') return static_cast<std::uint16_t>(Keycode);
  switch (Keycode) {
    case ';': return Vk::OemSemicolon;
    case '=': return Vk::OemPlus;
    case ',': return Vk::OemComma;
    case '-': return Vk::OemMinus;
    case '.': return Vk::OemPeriod;
    case '/': return Vk::OemSlash;
    case '`': return Vk::OemTilde;
    case '[': return Vk::OemOpenBracket;
    case '\\': return Vk::OemBackslash;
    case ']': return Vk::OemCloseBracket;
    case '\'': return Vk::OemQuote;
    default: return 0;
  }
}

// The same keys by their position on a US keyboard.
std::uint16_t CharacterKeyByPosition(int Scancode) {
  if (Scancode >= SDL_SCANCODE_A && Scancode <= SDL_SCANCODE_Z)
    return static_cast<std::uint16_t>('A' + (Scancode - SDL_SCANCODE_A));
  if (Scancode >= SDL_SCANCODE_1 && Scancode <= SDL_SCANCODE_9)
    return static_cast<std::uint16_t>('1' + (Scancode - SDL_SCANCODE_1));
  switch (Scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_MINUS: return Vk::OemMinus;
    case SDL_SCANCODE_EQUALS: return Vk::OemPlus;
    case SDL_SCANCODE_LEFTBRACKET: return Vk::OemOpenBracket;
    case SDL_SCANCODE_RIGHTBRACKET: return Vk::OemCloseBracket;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH: return Vk::OemBackslash;
    case SDL_SCANCODE_SEMICOLON: return Vk::OemSemicolon;
    case SDL_SCANCODE_APOSTROPHE: return Vk::OemQuote;
    case SDL_SCANCODE_GRAVE: return Vk::OemTilde;
    case SDL_SCANCODE_COMMA: return Vk::OemComma;
    case SDL_SCANCODE_PERIOD: return Vk::OemPeriod;
    case SDL_SCANCODE_SLASH: return Vk::OemSlash;
    default: return 0;
  }
}

}  // namespace

std::uint16_t VirtualKeyFromSdl(int Scancode, int Keycode, int Modifiers) {
  if (const std::uint16_t Key = KeypadKey(Scancode, (Modifiers & KMOD_NUM) != 0)) return Key;
  if (const std::uint16_t Key = FixedKey(Scancode)) return Key;
  // The digit row gives its digits on every layout, whatever symbol the
  // layout prints on the key (AZERTY has "'" on the 4 and "-" on the 6).
  if (Scancode >= SDL_SCANCODE_1 && Scancode <= SDL_SCANCODE_0) return CharacterKeyByPosition(Scancode);
  if (const std::uint16_t ByPosition = CharacterKeyByPosition(Scancode)) {
    const std::uint16_t ByLayout = CharacterKey(Keycode);
    return ByLayout ? ByLayout : ByPosition;
  }
  return 0;
}

TShiftState ShiftStateFromSdl(int Modifiers) {
  TShiftState S = 0;
  if (Modifiers & KMOD_SHIFT) S |= ShiftShift;
  if (Modifiers & KMOD_ALT) S |= ShiftAlt;
  if (Modifiers & KMOD_CTRL) S |= ShiftCtrl;
  return S;
}

char ControlCharacterForKey(std::uint16_t VirtualKey) {
  switch (VirtualKey) {
    case Vk::Back: return 8;
    case Vk::Tab: return 9;
    case Vk::Return: return 13;
    case Vk::Escape: return 27;
    default: return 0;
  }
}
