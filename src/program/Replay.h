// Recording and playing back whole sessions. The window's input is one
// stream of events (timer ticks included) and every read of the time of day
// goes through one replaceable source; recording both, in the order they
// happen, and the two files the game reads at start replays a session
// exactly. A checksum of the session every 100 timer ticks finds the first
// tick at which a playback parts from its recording.
//
// File layout (little-endian):
//   "VYRNRPLY"                       magic, 8 bytes
//   u16 version                      ReplayVersion
//   u8 n, n bytes                    build identifier of the recording game (1..64)
//   u32 seed                         the generator's seed once the window was created
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
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/InputEvent.h"

class TMainForm;
class TGameData;
class IEventSource;
class IPresenter;
class IClock;
class TScreen;
class TTimerScheduler;

inline constexpr char ReplayMagic[8] = {'V', 'Y', 'R', 'N', 'R', 'P', 'L', 'Y'};
inline constexpr std::uint16_t ReplayVersion = 1;
inline constexpr std::uint32_t ReplayCheckEvery = 100;
inline constexpr std::size_t ReplayMaxBuildId = 64;
inline constexpr std::size_t ReplayMaxConfig = 4096;
inline constexpr std::size_t ReplayMaxHighScores = 65536;
// About 30 hours of play; anything larger is not one of ours.
inline constexpr std::size_t ReplayMaxFileSize = 64u << 20;

// The identifier of this build of the game's rules.
const char* ReplayBuildId();

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

struct TReplay {
  std::uint16_t Version = ReplayVersion;
  std::string BuildId;
  std::uint32_t Seed = 0;
  std::string ConfigText;
  std::string HighScoresText;
  std::vector<TReplayRecord> Records;  // the end record is implied
};

// Reads a whole replay. Throws TReplayError saying what is wrong with a
// damaged, truncated or foreign file; never reads outside Data.
// VerifyHash false skips the file's closing hash (the fuzzing, to reach the
// records behind it).
TReplay ParseReplay(const std::uint8_t* Data, std::size_t Size, bool VerifyHash = true);
std::uint32_t ReplayHash(const std::uint8_t* Data, std::size_t Size, std::uint32_t Hash = 2166136261u);
TReplay LoadReplay(const std::string& FileName);
std::vector<std::uint8_t> SerializeReplayHeader(const TReplay& Replay);
std::vector<std::uint8_t> SerializeReplayRecord(const TReplayRecord& Record);
// Header, records and the end record.
std::vector<std::uint8_t> SerializeReplay(const TReplay& Replay);

// The session state a desync would change: the generator, the window's
// timers and start values, and while a game runs its board, players,
// enemies and scores.
std::uint64_t SessionChecksum(const TMainForm& Form);

// A game part that stands in front of the real game (vyrn-sim keeps the
// game beyond its end) shows the checksum what it stands for.
class IGameDataView {
public:
  virtual ~IGameDataView() = default;
  virtual const TGameData& GameData() const = 0;
};

// Sits between the event loop and the window and writes every event, every
// time read and the checks. Install it before FormCreate, call Started after
// it, Finish after the loop. Reads config.dat and highscores.dat from Folder
// as they are before the window starts.
class TReplayRecorder : public IInputSink {
public:
  // Clock answers the time reads (the real time of day when not given).
  TReplayRecorder(const std::string& FileName, TMainForm& Form, const std::string& Folder,
                  std::function<std::uint32_t()> Clock = {});
  ~TReplayRecorder() override;
  TReplayRecorder(const TReplayRecorder&) = delete;
  TReplayRecorder& operator=(const TReplayRecorder&) = delete;

  // Writes the header, now that the generator holds its seed.
  void Started();
  void Dispatch(const TInputEvent& Event) override;
  // Writes the end record and closes the file; false when the disk failed.
  bool Finish();
  bool Failed() const { return FFailed; }

private:
  void Add(const TReplayRecord& Record);
  void Flush();

  TMainForm& FForm;
  std::function<std::uint32_t()> FClock;
  std::string FFileName;
  std::FILE* FFile = nullptr;
  TReplay FHeader;
  std::vector<std::uint8_t> FPending;
  std::uint32_t FRecords = 0;
  std::uint32_t FHash = 2166136261u;
  std::uint32_t FTicks = 0;
  bool FFailed = false;
  bool FStarted = false;
  bool FFinished = false;
};

// Feeds a replay into the window: its time reads from the recording, its
// events in order, and its checks compared as they come.
class TReplayPlayer {
public:
  TReplayPlayer(const TReplay& Replay, TMainForm& Form);
  ~TReplayPlayer();
  TReplayPlayer(const TReplayPlayer&) = delete;
  TReplayPlayer& operator=(const TReplayPlayer&) = delete;

  // Writes the recorded config.dat and highscores.dat into Folder, where the
  // window's parts will read them. False (with Problem) when it cannot.
  bool PrepareFolder(const std::string& Folder);
  // FormCreate with the recorded time reads; false when the window could
  // not start or started differently.
  bool Start();
  // Dispatches the next event (and compares the checks before it). False
  // once the replay is over or has parted from the game: see Problem.
  bool Step();
  // The next event, if the next thing in the replay is one.
  const TInputEvent* NextEvent() const;

  bool Finished() const { return FFinished; }
  bool Desynced() const { return !FProblem.empty(); }
  const std::string& Problem() const { return FProblem; }
  std::uint32_t TimerTicks() const { return FTicks; }
  std::uint32_t ChecksCompared() const { return FChecks; }
  bool OtherBuild() const { return FOtherBuild; }
  const TMainForm& Form() const { return FForm; }

private:
  void Fail(const std::string& What);
  bool CompareChecks();

  const TReplay& FReplay;
  TMainForm& FForm;
  std::size_t FCursor = 0;
  std::uint32_t FTicks = 0;
  std::uint32_t FChecks = 0;
  bool FFinished = false;
  bool FOtherBuild = false;
  bool FClockMissing = false;
  std::string FProblem;
};

// Plays a replay in the window at the pace of its timers. The window's own
// input is ignored except Escape and closing, which stop it. Turn runs once
// per loop turn (the audio's polling). True when it ran to its end or was
// stopped; false on a desync (Player.Problem says where).
bool PlayReplayInWindow(TReplayPlayer& Player, TTimerScheduler& Timers, IEventSource& Source, IPresenter& Presenter,
                        TScreen& Screen, void (*Turn)(void*), void* TurnArg);

// A fresh folder under the system's temporary folder, or empty.
std::string MakeReplayFolder();
void RemoveReplayFolder(const std::string& Folder);
