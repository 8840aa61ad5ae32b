#include "Submission.h"

#include <cstring>

#include "common/Scramble.h"

namespace {
int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

bool Fail(std::string& Reason, const char* Why) {
  Reason = Why;
  return false;
}
}  // namespace

bool IsNameCharacter(char C) {
  if ((C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z')) return true;
  return C != '\0' && std::strchr(" !'*+-./:;<>[\\]_|", C) != nullptr;
}

bool IsValidName(const std::string& Name) {
  if (Name.size() > TSubmission::MaxNameLength) return false;
  for (char C : Name)
    if (!IsNameCharacter(C)) return false;
  return true;
}

bool ParseScore(const std::string& Text, std::int64_t& Score) {
  if (Text.empty() || Text.size() > 10) return false;
  std::int64_t Value = 0;
  for (char C : Text) {
    if (C < '0' || C > '9') return false;
    Value = Value * 10 + (C - '0');
  }
  Score = Value;
  return true;
}

bool DecodeEveryBytePercent(const std::string& Encoded, std::string& Bytes) {
  if (Encoded.size() % 3 != 0) return false;
  Bytes.clear();
  Bytes.reserve(Encoded.size() / 3);
  for (std::size_t I = 0; I < Encoded.size(); I += 3) {
    if (Encoded[I] != '%') return false;
    const int High = HexValue(Encoded[I + 1]), Low = HexValue(Encoded[I + 2]);
    if (High < 0 || Low < 0) return false;
    Bytes.push_back(static_cast<char>(High * 16 + Low));
  }
  return true;
}

bool TSubmission::Parse(const std::string& Query, std::string& Reason) {
  Entries.clear();
  if (Query.size() > MaxQueryLength) return Fail(Reason, "request too long");

  // Exactly the three keys the game sends, each once, in any order.
  std::string Game, Count, File;
  bool HaveGame = false, HaveCount = false, HaveFile = false;
  std::size_t Start = 0;
  while (Start <= Query.size()) {
    std::size_t End = Query.find('&', Start);
    if (End == std::string::npos) End = Query.size();
    const std::string Pair = Query.substr(Start, End - Start);
    const std::size_t Equals = Pair.find('=');
    if (Equals == std::string::npos) return Fail(Reason, "malformed query");
    const std::string Key = Pair.substr(0, Equals), Value = Pair.substr(Equals + 1);
    bool* Seen = nullptr;
    std::string* Target = nullptr;
    if (Key == "game") Seen = &HaveGame, Target = &Game;
    else if (Key == "ent") Seen = &HaveCount, Target = &Count;
    else if (Key == "hifile") Seen = &HaveFile, Target = &File;
    else return Fail(Reason, "unknown query key");
    if (*Seen) return Fail(Reason, "repeated query key");
    *Seen = true;
    *Target = Value;
    Start = End + 1;
  }
  if (!HaveGame || !HaveCount || !HaveFile) return Fail(Reason, "missing query key");
  if (Game != "vyrn") return Fail(Reason, "wrong game");
  if (Count != "10") return Fail(Reason, "wrong entry count");

  std::string Bytes;
  if (!DecodeEveryBytePercent(File, Bytes)) return Fail(Reason, "broken percent-encoding");
  // The scrambled form is pairs of pad and data byte; a lone byte means the
  // text was cut.
  if (Bytes.empty() || Bytes.size() % 2 != 0) return Fail(Reason, "scrambled text cut short");
  if (!UnscrambleText(Bytes)) return Fail(Reason, "sum check failed");
  if (Bytes.empty() || Bytes[0] != '3') return Fail(Reason, "wrong format version");

  // After the version: name, score, name, score, ... each ended by ",".
  std::vector<std::string> Fields;
  std::size_t From = 1;
  while (From < Bytes.size()) {
    const std::size_t Comma = Bytes.find(',', From);
    if (Comma == std::string::npos) return Fail(Reason, "field without a comma");
    Fields.push_back(Bytes.substr(From, Comma - From));
    From = Comma + 1;
  }
  if (Fields.size() != 2 * EntryCount) return Fail(Reason, "wrong entry count");

  std::vector<TScoreEntry> Parsed;
  for (int I = 0; I < EntryCount; ++I) {
    TScoreEntry Entry;
    Entry.Name = Fields[2 * I];
    if (!IsValidName(Entry.Name)) return Fail(Reason, "bad name");
    if (!ParseScore(Fields[2 * I + 1], Entry.Score)) return Fail(Reason, "bad score");
    Parsed.push_back(std::move(Entry));
  }
  Entries = std::move(Parsed);
  return true;
}
