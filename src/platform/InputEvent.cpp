#include "platform/InputEvent.h"

TEncodedInputEvent EncodeInputEvent(const TInputEvent& Event) {
  return {static_cast<std::uint8_t>(Event.Kind), Event.Shift, static_cast<std::uint8_t>(Event.Code & 0xFF),
          static_cast<std::uint8_t>(Event.Code >> 8)};
}

std::optional<TInputEvent> DecodeInputEvent(const TEncodedInputEvent& Bytes) {
  if (Bytes[0] < static_cast<std::uint8_t>(TInputKind::Timer) || Bytes[0] > static_cast<std::uint8_t>(TInputKind::Click))
    return std::nullopt;
  TInputEvent E{static_cast<TInputKind>(Bytes[0]), Bytes[1], static_cast<std::uint16_t>(Bytes[2] | (Bytes[3] << 8))};
  // Only the forms the constructors make, so that decoding and encoding are
  // exact inverses.
  const bool IsKey = E.Kind == TInputKind::KeyDown || E.Kind == TInputKind::KeyUp;
  if (!IsKey && E.Shift != 0) return std::nullopt;
  if (E.Kind == TInputKind::KeyPress && E.Code > 0xFF) return std::nullopt;
  if ((E.Kind == TInputKind::FocusGained || E.Kind == TInputKind::FocusLost || E.Kind == TInputKind::Click) &&
      E.Code != 0)
    return std::nullopt;
  if (E.Kind == TInputKind::Close && E.Code > CloseTerminate) return std::nullopt;
  return E;
}

std::string DescribeInputEvent(const TInputEvent& Event) {
  static const char* const Names[] = {"?", "Timer", "KeyDown", "KeyUp", "KeyPress", "FocusGained", "FocusLost", "Close", "Click"};
  const auto K = static_cast<std::size_t>(Event.Kind);
  std::string S = K < std::size(Names) ? Names[K] : "?";
  S += ' ';
  S += std::to_string(Event.Code);
  if (Event.Shift) S += " shift=" + std::to_string(Event.Shift);
  return S;
}

std::string Utf8ToLatin1(std::string_view Utf8) {
  std::string Out;
  std::size_t I = 0;
  while (I < Utf8.size()) {
    const auto B = static_cast<unsigned char>(Utf8[I]);
    std::size_t Len;
    std::uint32_t Cp;
    if (B < 0x80) {
      Len = 1;
      Cp = B;
    } else if ((B & 0xE0) == 0xC0) {
      Len = 2;
      Cp = B & 0x1F;
    } else if ((B & 0xF0) == 0xE0) {
      Len = 3;
      Cp = B & 0x0F;
    } else if ((B & 0xF8) == 0xF0) {
      Len = 4;
      Cp = B & 0x07;
    } else {
      ++I;  // stray continuation or invalid lead byte
      continue;
    }
    bool Valid = I + Len <= Utf8.size();
    for (std::size_t J = 1; Valid && J < Len; ++J) {
      const auto C = static_cast<unsigned char>(Utf8[I + J]);
      if ((C & 0xC0) != 0x80) Valid = false;
      else Cp = (Cp << 6) | (C & 0x3F);
    }
    if (!Valid) {
      ++I;
      continue;
    }
    // Overlong forms would smuggle in characters that were never typed.
    static const std::uint32_t MinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
    if (Cp >= MinForLength[Len] && Cp < 0x100) Out += static_cast<char>(Cp);
    I += Len;
  }
  return Out;
}
