// The replay file: reading, checking and writing it. A replay is the
// window's input as one stream of events (timer ticks included), every read
// of the time of day, the two files the game reads at start and a checksum
// of the session every 100 timer ticks. Knows input events and bytes only,
// never the game: the fuzzing links it alone.
//
// File layout (little-endian):
//   "VYRNRPLY"                       magic, 8 bytes
//   u16 version                      ReplayVersion
//   u8 n, n bytes                    build identifier of the recording game (1..64)
//   u32 seed                         the generator's seed once the window was created
//                                    (version 2: as the game started)
//   u8 start                         version 2 only: 1 a one-player game, 2 a two-player game
//   u32 n, n bytes                   config.dat as it was (0..4096; 0: none)
//   u32 n, n bytes                   highscores.dat as it was (0..65536; 0: none)
//   records, each a kind byte and its data:
//     1 event:    4 bytes, the encoded input event
//     2 time:     u32, a time-of-day read (milliseconds, below 86,400,000)
//     3 check:    u32 timer tick, u64 checksum, after every 100th timer tick
//     4 end:      u32, the number of records before it, then u32, the FNV-1a
//                 hash (32 bits) of every byte of the file before this one;
//                 nothing may follow
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/InputEvent.h"

inline constexpr char ReplayMagic[8] = {'V', 'Y', 'R', 'N', 'R', 'P', 'L', 'Y'};
inline constexpr std::uint16_t ReplayVersion = 1;
// A replay of one game from its start rather than of a whole session.
inline constexpr std::uint16_t ReplayGameVersion = 2;
inline constexpr std::uint32_t ReplayCheckEvery = 100;
inline constexpr std::size_t ReplayMaxBuildId = 64;
inline constexpr std::size_t ReplayMaxConfig = 4096;
inline constexpr std::size_t ReplayMaxHighScores = 65536;
// About 30 hours of play; anything larger is not one of ours.
inline constexpr std::size_t ReplayMaxFileSize = 64u << 20;
inline constexpr std::uint32_t ReplayMillisecondsPerDay = 86400000u;
inline constexpr std::uint32_t ReplayHashBasis = 2166136261u;

class TReplayError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class TReplayRecordKind : std::uint8_t { Event = 1, Time = 2, Check = 3, End = 4 };

struct TReplayRecord {
  TReplayRecordKind Kind = TReplayRecordKind::Event;
  TInputEvent Event{};
  std::uint32_t Value = 0;     // time of day, or the tick of a check
  std::uint64_t Checksum = 0;  // checks only
  friend bool operator==(const TReplayRecord&, const TReplayRecord&) = default;
};

// Where a replay begins: with the window's creation, or with a game's
// start (the splash and the menu are skipped).
enum class TReplayStart : std::uint8_t { Session = 0, OnePlayerGame = 1, TwoPlayerGame = 2 };

struct TReplay {
  std::uint16_t Version = ReplayVersion;
  std::string BuildId;
  std::uint32_t Seed = 0;
  TReplayStart Start = TReplayStart::Session;  // written as version 2 unless Session
  std::string ConfigText;
  std::string HighScoresText;
  std::vector<TReplayRecord> Records;  // the end record is implied
};

// Reads a whole replay. Throws TReplayError saying what is wrong with a
// damaged, truncated or foreign file; never reads outside Data.
// VerifyHash false skips the file's closing hash (the fuzzing, to reach the
// records behind it).
TReplay ParseReplay(const std::uint8_t* Data, std::size_t Size, bool VerifyHash = true);
// The file's closing hash, carried on from Hash over Size more bytes.
std::uint32_t ReplayHash(const std::uint8_t* Data, std::size_t Size, std::uint32_t Hash = ReplayHashBasis);
TReplay LoadReplay(const std::string& FileName);
std::vector<std::uint8_t> SerializeReplayHeader(const TReplay& Replay);
std::vector<std::uint8_t> SerializeReplayRecord(const TReplayRecord& Record);
// Header, records and the end record.
std::vector<std::uint8_t> SerializeReplay(const TReplay& Replay);
