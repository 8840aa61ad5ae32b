#include "common/Scramble.h"

#include <algorithm>
#include <charconv>

#include "common/CommonTypes.h"

namespace {
std::uint64_t ByteSum(const std::string& Text) {
  std::uint64_t Sum = 0;
  for (char C : Text) Sum += static_cast<unsigned char>(C);
  return Sum;
}


template <typename T>
bool TryDecimal(const std::string& Text, T& Value) {
  const char* First = Text.data();
  const char* Last = First + Text.size();
  // from_chars takes "-" itself but not "+"; either sign must be followed by a digit.
  const bool Plus = First != Last && *First == '+';
  if (Plus) ++First;
  const char* Digits = (!Plus && First != Last && *First == '-') ? First + 1 : First;
  if (Digits == Last || *Digits < '0' || *Digits > '9') return false;
  T Parsed{};
  auto [End, Error] = std::from_chars(First, Last, Parsed);
  if (Error != std::errc() || End != Last) return false;
  Value = Parsed;
  return true;
}
}  // namespace

bool TryDecimalToInt32(const std::string& Text, std::int32_t& Value) { return TryDecimal(Text, Value); }
bool TryDecimalToInt64(const std::string& Text, std::int64_t& Value) { return TryDecimal(Text, Value); }

void ScrambleText(std::string& Text) {
  const std::string Extended = Text + std::to_string(ByteSum(Text));
  std::string Out;
  Out.reserve(Extended.size() * 2);
  for (char C : Extended) {
    const unsigned Plain = static_cast<unsigned char>(C);
    unsigned K, E;
    // Every byte has at least six pads that put E inside 66..128.
    do {
      K = static_cast<unsigned>(Random(150)) + 50;
      E = K ^ Plain;
    } while (E < 66 || E > 128);
    Out.push_back(static_cast<char>(K));
    Out.push_back(static_cast<char>(E));
  }
  Text = std::move(Out);
}

bool UnscrambleText(std::string& Text) {
  std::string Plain;
  Plain.reserve(Text.size() / 2);
  for (std::size_t I = 0; I + 1 < Text.size(); I += 2) Plain.push_back(static_cast<char>(Text[I] ^ Text[I + 1]));

  if (Plain.empty()) {
    Text.clear();
    return false;
  }
  // The last "," at or after the second byte ends the payload; without one the
  // payload is the first two bytes and everything after the first is the check.
  std::size_t PayloadLength = 0;
  std::string Check;
  for (std::size_t I = Plain.size() - 1; I >= 1; --I) {
    if (Plain[I] == ',') {
      PayloadLength = I + 1;
      Check = Plain.substr(I + 1);
      break;
    }
  }
  if (PayloadLength == 0) {
    PayloadLength = std::min<std::size_t>(2, Plain.size());
    Check = Plain.substr(1);
  }
  Text = Plain.substr(0, PayloadLength);

  std::int32_t Value = 0;
  if (!TryDecimalToInt32(Check, Value)) return false;
  // Compared as 64-bit values: a negative check sign-extends and never matches.
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(Value)) == ByteSum(Text);
}

bool IsBindableKey(std::uint16_t Key) {
  return Key == 8 || Key == 9 || Key == 13 || (Key >= 16 && Key <= 18) || Key == 27 || (Key >= 32 && Key <= 40) ||
         Key == 45 || Key == 46 || (Key >= 48 && Key <= 57) || (Key >= 65 && Key <= 93) ||
         (Key >= 96 && Key <= 107) || Key == 109 || (Key >= 111 && Key <= 123);
}

std::string KeyName(std::uint16_t Key) {
  switch (Key) {
    case 8: return "Backspace";
    case 9: return "Tab";
    case 13: return "Enter";
    case 16: return "Shift";
    case 17: return "Ctrl";
    case 18: return "Alt";
    case 32: return "Space";
    case 33: return "Page Up";
    case 34: return "Page Down";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "Left Arrow";
    case 38: return "Up Arrow";
    case 39: return "Right Arrow";
    case 40: return "Down Arrow";
    case 45: return "Insert";
    case 46: return "Delete";
    case 91: return "Left Win";
    case 92: return "Right Win";
    case 93: return "App. key";
    case 106: return "Numeric *";
    case 107: return "Numeric +";
    case 109: return "Numeric -";
    case 111: return "Numeric /";
    default: break;
  }
  // Appending (rather than literal + string) keeps GCC 12's -Wrestrict quiet.
  std::string Name;
  if (Key >= 96 && Key <= 105) return Name.append("Numeric ").append(1, static_cast<char>('0' + Key - 96));
  if (Key >= 112 && Key <= 123) return Name.append("F").append(std::to_string(Key - 111));
  return Name.append(1, static_cast<char>(Key & 0xFF));
}

std::string TwoDigits(int N) {
  std::string Text = N < 10 ? "0" : "";
  return Text.append(std::to_string(N));
}
