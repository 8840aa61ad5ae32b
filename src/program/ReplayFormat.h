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
#include <iterator>
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

struct TReplay;

// The records of a replay, kept as the file encodes them (5 bytes for an
// event or a clock reading, 13 for a check) rather than as structs of 24:
// the largest replay holds some 13 million records. Records are handed out
// by value; the position of record I follows from the checks before it.
class TReplayRecords {
public:
  static constexpr std::size_t ShortSize = 5;  // events and clock readings
  static constexpr std::size_t CheckSize = 13;

  std::size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  TReplayRecord operator[](std::size_t I) const;
  TReplayRecordKind KindAt(std::size_t I) const {
    return static_cast<TReplayRecordKind>(FBytes[FBegin + OffsetOf(I)]);
  }
  // Events, clock readings and checks only; the end record is implied.
  void push_back(const TReplayRecord& Record);
  void Set(std::size_t I, const TReplayRecord& Record);
  void Erase(std::size_t I);

  class const_iterator {
  public:
    using iterator_category = std::input_iterator_tag;
    using value_type = TReplayRecord;
    using difference_type = std::ptrdiff_t;
    using reference = TReplayRecord;
    using pointer = void;
    const_iterator() = default;
    const_iterator(const TReplayRecords* List, std::size_t I) : FList(List), FI(I) {}
    TReplayRecord operator*() const { return (*FList)[FI]; }
    const_iterator& operator++() {
      ++FI;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator Old = *this;
      ++FI;
      return Old;
    }
    friend bool operator==(const const_iterator& A, const const_iterator& B) { return A.FI == B.FI; }

  private:
    const TReplayRecords* FList = nullptr;
    std::size_t FI = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, FCount}; }

  // The records' bytes as the file holds them.
  const std::uint8_t* EncodedData() const { return FBytes.data() + FBegin; }
  std::size_t EncodedSize() const { return FEnd - FBegin; }

  friend bool operator==(const TReplayRecords& A, const TReplayRecords& B);

private:
  friend TReplay ParseReplay(std::vector<std::uint8_t>&& File, bool VerifyHash);
  friend TReplay ParseReplay(const std::uint8_t* Data, std::size_t Size, bool VerifyHash);
  std::size_t OffsetOf(std::size_t I) const;
  // Drops bytes outside [FBegin, FEnd) that an adopted file brought along.
  void OwnBytes();

  // Bytes [FBegin, FEnd) are the records: a whole file read is adopted as
  // it is, header and end record around them, so reading never copies it.
  std::vector<std::uint8_t> FBytes;
  std::size_t FBegin = 0;
  std::size_t FEnd = 0;
  std::size_t FCount = 0;
  // The indices of the check records, ascending.
  std::vector<std::uint32_t> FChecks;
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
  TReplayRecords Records;  // the end record is implied
};

// Reads a whole replay. Throws TReplayError saying what is wrong with a
// damaged, truncated or foreign file; never reads outside Data.
// VerifyHash false skips the file's closing hash (the fuzzing, to reach the
// records behind it).
TReplay ParseReplay(const std::uint8_t* Data, std::size_t Size, bool VerifyHash = true);
// The same for a whole file in memory, which the replay keeps as its
// records' storage: reading takes little more than the file's own size.
TReplay ParseReplay(std::vector<std::uint8_t>&& File, bool VerifyHash = true);
// The file's closing hash, carried on from Hash over Size more bytes.
std::uint32_t ReplayHash(const std::uint8_t* Data, std::size_t Size, std::uint32_t Hash = ReplayHashBasis);
TReplay LoadReplay(const std::string& FileName);
std::vector<std::uint8_t> SerializeReplayHeader(const TReplay& Replay);
std::vector<std::uint8_t> SerializeReplayRecord(const TReplayRecord& Record);
// Header, records and the end record.
std::vector<std::uint8_t> SerializeReplay(const TReplay& Replay);
