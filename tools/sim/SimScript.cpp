#include "SimScript.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/Scramble.h"

namespace {
std::string Trim(const std::string& S) {
  const auto B = S.find_first_not_of(" \t\r\n");
  if (B == std::string::npos) return "";
  const auto E = S.find_last_not_of(" \t\r\n");
  return S.substr(B, E - B + 1);
}

}  // namespace

bool ParseInt(const std::string& Text, long long Min, long long Max, long long& Value) {
  if (Text.empty()) return false;
  char* End = nullptr;
  errno = 0;
  const long long V = std::strtoll(Text.c_str(), &End, 10);
  if (errno != 0 || *End != '\0' || V < Min || V > Max) return false;
  Value = V;
  return true;
}

bool KeyFromText(const std::string& Text, std::uint16_t& Key) {
  long long Code = 0;
  if (ParseInt(Text, 0, 65535, Code)) {
    Key = static_cast<std::uint16_t>(Code);
    return true;
  }
  if (Text == "Escape") {
    Key = 27;
    return true;
  }
  for (std::uint32_t C = 1; C < 256; ++C)
    if (KeyName(static_cast<std::uint16_t>(C)) == Text) {
      Key = static_cast<std::uint16_t>(C);
      return true;
    }
  return false;
}

bool LoadScript(const std::string& FileName, TScriptEvents& Events, std::string& Problem) {
  std::ifstream In(FileName, std::ios::binary);
  if (!In) {
    Problem = "cannot read the script \"" + FileName + "\"";
    return false;
  }
  const std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  return ParseScript(Text, FileName, Events, Problem);
}

bool ParseScript(const std::string& Text, const std::string& FileName, TScriptEvents& Events, std::string& Problem) {
  std::istringstream In(Text);
  std::string Line;
  for (int Number = 1; std::getline(In, Line); ++Number) {
    const std::string T = Trim(Line);
    if (T.empty() || T[0] == '#') continue;
    const auto S1 = T.find_first_of(" \t");
    const auto S2 = S1 == std::string::npos ? S1 : T.find_first_of(" \t", T.find_first_not_of(" \t", S1));
    long long Tick = 0;
    std::uint16_t Key = 0;
    const std::string What = S1 == std::string::npos ? "" : Trim(T.substr(S1, S2 - S1));
    const std::string KeyText = S2 == std::string::npos ? "" : Trim(T.substr(S2));
    if (S2 == std::string::npos || !ParseInt(T.substr(0, S1), 0, (1LL << 40), Tick) ||
        (What != "down" && What != "up") || !KeyFromText(KeyText, Key)) {
      Problem = FileName + ":" + std::to_string(Number) + ": expected \"TICK down KEY\" or \"TICK up KEY\"";
      return false;
    }
    Events[Tick].push_back({What == "down", Key});
  }
  return true;
}

