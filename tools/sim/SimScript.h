// The scripts of vyrn-sim: "TICK down KEY" and "TICK up KEY" lines, a key
// as its virtual-key code or its name ("Right Arrow"), "#" comments.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TScriptEvent {
  bool Down;
  std::uint16_t Key;
};

using TScriptEvents = std::map<std::int64_t, std::vector<TScriptEvent>>;

// A whole decimal number within [Min, Max]; nothing else on the text.
bool ParseInt(const std::string& Text, long long Min, long long Max, long long& Value);
bool KeyFromText(const std::string& Text, std::uint16_t& Key);
// Text is the script itself; Name only goes into the messages.
bool ParseScript(const std::string& Text, const std::string& Name, TScriptEvents& Events, std::string& Problem);
bool LoadScript(const std::string& FileName, TScriptEvents& Events, std::string& Problem);
