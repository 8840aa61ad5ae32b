// What the game hands in: GET /submit_hi.php?game=vyrn&ent=10&hifile=... with
// ten name and score pairs as scrambled text, every byte written as %XX.
// Checked here, before anything touches the store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TScoreEntry {
  std::string Name;
  std::int64_t Score = 0;
};

struct TSubmission {
  static constexpr int EntryCount = 10;
  static constexpr std::size_t MaxNameLength = 16;
  static constexpr std::int64_t MaxScore = 9'999'999'999;
  // Longest query the game can produce is well under 2 KB.
  static constexpr std::size_t MaxQueryLength = 4096;

  std::vector<TScoreEntry> Entries;

  // Parses the raw (still percent-encoded) query string. On failure returns
  // false with a short reason for the 400 answer and leaves Entries empty.
  bool Parse(const std::string& Query, std::string& Reason);
};

// The characters the name entry accepts: space ! ' * + - . / 0-9 : ; < > A-Z
// a-z [ \ ] _ | (no comma, which separates the fields).
bool IsNameCharacter(char C);
bool IsValidName(const std::string& Name);

// Strict decimal score: 1 to 10 digits, no sign, so 0 .. 9,999,999,999.
bool ParseScore(const std::string& Text, std::int64_t& Score);

// Every byte as "%" and two hex digits, nothing else. False on anything else.
bool DecodeEveryBytePercent(const std::string& Encoded, std::string& Bytes);
