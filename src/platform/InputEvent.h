// Every input that reaches the game is one small value: a timer tick, a key
// going down or up, a typed character, the keyboard focus coming or going, a
// request to close, a mouse click. They all enter through IInputSink::Dispatch, so a
// recorded list of these values replays a whole session exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TInputKind : std::uint8_t {
  Timer = 1,     // Code: the timer's id
  KeyDown = 2,   // Code: 16-bit virtual-key code; Shift: modifiers held
  KeyUp = 3,     // as KeyDown
  KeyPress = 4,  // Code: the typed 8-bit character (0..255)
  FocusGained = 5,
  FocusLost = 6,
  Close = 7,     // Code: one of TCloseReason
  Click = 8,     // a mouse button went down over the window
};

// Modifier bits of a key event.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ShiftShift = 1;
inline constexpr TShiftState ShiftAlt = 2;
inline constexpr TShiftState ShiftCtrl = 4;

enum TCloseReason : std::uint16_t {
  CloseWindow = 0,  // close button, SIGTERM, the menu's quit: the window closes normally
  CloseTerminate = 1,  // the program asked itself to end (the display could not be restored)
};

struct TInputEvent {
  TInputKind Kind = TInputKind::Timer;
  TShiftState Shift = 0;
  std::uint16_t Code = 0;

  static constexpr TInputEvent TimerTick(int Id) { return {TInputKind::Timer, 0, static_cast<std::uint16_t>(Id)}; }
  static constexpr TInputEvent KeyDown(std::uint16_t Key, TShiftState Shift = 0) {
    return {TInputKind::KeyDown, Shift, Key};
  }
  static constexpr TInputEvent KeyUp(std::uint16_t Key, TShiftState Shift = 0) { return {TInputKind::KeyUp, Shift, Key}; }
  static constexpr TInputEvent KeyPress(char Ch) {
    return {TInputKind::KeyPress, 0, static_cast<std::uint16_t>(static_cast<unsigned char>(Ch))};
  }
  static constexpr TInputEvent FocusGained() { return {TInputKind::FocusGained, 0, 0}; }
  static constexpr TInputEvent FocusLost() { return {TInputKind::FocusLost, 0, 0}; }
  static constexpr TInputEvent Click() { return {TInputKind::Click, 0, 0}; }
  static constexpr TInputEvent CloseRequest(TCloseReason Reason = CloseWindow) {
    return {TInputKind::Close, 0, static_cast<std::uint16_t>(Reason)};
  }

  friend bool operator==(const TInputEvent&, const TInputEvent&) = default;
};

// Four bytes: kind, shift, code little-endian.
using TEncodedInputEvent = std::array<std::uint8_t, 4>;
TEncodedInputEvent EncodeInputEvent(const TInputEvent& Event);
// Nothing for bytes that no event encodes to.
std::optional<TInputEvent> DecodeInputEvent(const TEncodedInputEvent& Bytes);
// Readable form for logs and test messages, e.g. "KeyDown 37 shift=1".
std::string DescribeInputEvent(const TInputEvent& Event);

class IInputSink {
public:
  virtual ~IInputSink() = default;
  virtual void Dispatch(const TInputEvent& Event) = 0;
};

// Typed text arrives as UTF-8; the game takes 8-bit characters. Keeps the
// code points below 256 (Latin-1) and drops everything else, including
// malformed sequences.
std::string Utf8ToLatin1(std::string_view Utf8);
