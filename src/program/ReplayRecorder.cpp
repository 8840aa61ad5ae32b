#include "program/ReplayRecorder.h"

#include "app/Main.h"
#include "common/ByteOrder.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"
#include "persist/Config.h"
#include "persist/FileStore.h"
#include "persist/HighScore.h"
#include "program/ReplaySession.h"

namespace {

// A file that may be missing reads as empty; a larger one than any of ours
// is not taken.
std::string ReadSmallFile(const std::string& Path, std::size_t Max) {
  std::string Bytes, Error;
  if (ReadWholeFile(Path, Bytes, Error) != TReadResult::Read || Bytes.size() > Max) return "";
  return Bytes;
}

}  // namespace

TReplayRecorder::TReplayRecorder(const std::string& FileName, TMainForm& Form, const std::string& Folder,
                                 std::function<std::uint32_t()> Clock, TFrom From)
    : FForm(Form), FClock(Clock ? std::move(Clock) : std::function<std::uint32_t()>(SystemUtcMillisecondsOfDay)),
      FFrom(From), FFolder(Folder), FFileName(FileName) {
  FHeader.BuildId = ReplayBuildId();
  if (From == TFrom::Session) {
    FHeader.ConfigText = ReadSmallFile(JoinPath(Folder, TConfig::FileName), ReplayMaxConfig);
    FHeader.HighScoresText = ReadSmallFile(JoinPath(Folder, THighScore::FileName), ReplayMaxHighScores);
    FFile = std::fopen(FileName.c_str(), "wb");
    if (!FFile) FFailed = true;
  } else {
    Form.GameStarting = [this](bool TwoPlayers) { BeginGame(TwoPlayers); };
  }
  // The real clock, with every answer written down.
  SetTimeOfDaySource([this] {
    TReplayRecord R;
    R.Kind = TReplayRecordKind::Time;
    R.Value = FClock() % ReplayMillisecondsPerDay;
    Add(R);
    return R.Value;
  });
}

TReplayRecorder::~TReplayRecorder() {
  Finish();
  SetTimeOfDaySource(nullptr);
  if (FFrom == TFrom::EachGame) FForm.GameStarting = nullptr;
}

void TReplayRecorder::BeginGame(bool TwoPlayers) {
  if (FFile) std::fclose(FFile);
  FFailed = false;
  FInGame = true;
  ++FGames;
  FStarted = true;
  FFinished = false;
  FRecords = 0;
  FTicks = 0;
  FHash = ReplayHashBasis;
  FGameBytes.clear();
  FGamesAtStart = FForm.LastGame().Games;
  FTableAtEndRead = false;
  FTableAtEnd.clear();
  FWatchTicks = 0;
  FHeader.Start = TwoPlayers ? TReplayStart::TwoPlayerGame : TReplayStart::OnePlayerGame;
  FHeader.Seed = RandSeed;
  FHeader.ConfigText = ReadSmallFile(JoinPath(FFolder, TConfig::FileName), ReplayMaxConfig);
  FHeader.HighScoresText = ReadSmallFile(JoinPath(FFolder, THighScore::FileName), ReplayMaxHighScores);
  FPending = SerializeReplayHeader(FHeader);
  FFile = FFileName.empty() ? nullptr : std::fopen(FFileName.c_str(), "wb");
  if (!FFile && !FFileName.empty()) FFailed = true;
  Flush();
}

bool TReplayRecorder::LatestGame(std::vector<std::uint8_t>& Bytes) const {
  if (!FInGame) return false;
  Bytes = FGameBytes;
  Bytes.insert(Bytes.end(), FPending.begin(), FPending.end());
  if (!FFinished) {
    TReplayRecord End;
    End.Kind = TReplayRecordKind::End;
    End.Value = FRecords;
    const auto Tail = SerializeReplayRecord(End);
    Bytes.insert(Bytes.end(), Tail.begin(), Tail.end());
    PutLe32(Bytes, ReplayHash(Bytes.data() + FGameBytes.size(), Bytes.size() - FGameBytes.size(), FHash));
  }
  return true;
}

void TReplayRecorder::Started() {
  if (FFrom == TFrom::EachGame) return;  // each game writes its own header
  if (FStarted) return;
  FStarted = true;
  FHeader.Seed = RandSeed;
  std::vector<std::uint8_t> Head = SerializeReplayHeader(FHeader);
  Head.insert(Head.end(), FPending.begin(), FPending.end());
  FPending = std::move(Head);
  Flush();
}

void TReplayRecorder::Add(const TReplayRecord& Record) {
  if (FFinished || !Recording()) return;
  const auto Bytes = SerializeReplayRecord(Record);
  FPending.insert(FPending.end(), Bytes.begin(), Bytes.end());
  ++FRecords;
}

void TReplayRecorder::Flush() {
  if (!FStarted || FPending.empty()) return;
  FHash = ReplayHash(FPending.data(), FPending.size(), FHash);
  // The end record is followed by the hash of everything before it.
  if (FFinished) PutLe32(FPending, FHash);
  if (FFile && std::fwrite(FPending.data(), 1, FPending.size(), FFile) != FPending.size()) FFailed = true;
  if (FFile && std::fflush(FFile) != 0) FFailed = true;
  if (FFrom == TFrom::EachGame) FGameBytes.insert(FGameBytes.end(), FPending.begin(), FPending.end());
  FPending.clear();
}

void TReplayRecorder::Dispatch(const TInputEvent& Event) {
  TReplayRecord R;
  R.Kind = TReplayRecordKind::Event;
  R.Event = Event;
  // The event that starts a game is not part of its recording.
  const bool Recorded = Recording() && !FFinished;
  const std::uint32_t Games = FGames;
  Add(R);
  FForm.Dispatch(Event);
  if (FFrom == TFrom::EachGame && Games == FGames) WatchForEntry(Event);
  if (Event.Kind != TInputKind::Timer || FFinished || !Recorded || Games != FGames) return;
  if (++FTicks % ReplayCheckEvery != 0) return;
  TReplayRecord Check;
  Check.Kind = TReplayRecordKind::Check;
  Check.Value = FTicks;
  Check.Checksum = SessionChecksum(FForm);
  Add(Check);
  // A crash later keeps what was played so far.
  Flush();
}

void TReplayRecorder::EndGame() {
  TReplayRecord End;
  End.Kind = TReplayRecordKind::End;
  End.Value = FRecords;
  Add(End);
  FFinished = true;
  Flush();
  if (FFile && std::fclose(FFile) != 0) FFailed = true;
  FFile = nullptr;
}

void TReplayRecorder::WatchForEntry(const TInputEvent& Event) {
  if (FFinished || !FInGame || FForm.Game() || FForm.LastGame().Games == FGamesAtStart) return;
  // The game is over. Its run ends once the name is in the table: what
  // follows in the menu is not part of it. A key confirms the name and a
  // menu tick after it writes the table, so the table is looked at for a
  // while after every key.
  constexpr int TicksAfterKey = 200;
  const auto Table = [this] { return ReadSmallFile(JoinPath(FFolder, THighScore::FileName), ReplayMaxHighScores); };
  if (!FTableAtEndRead) {
    FTableAtEnd = Table();
    FTableAtEndRead = true;
    return;
  }
  const bool Key = Event.Kind == TInputKind::KeyDown || Event.Kind == TInputKind::KeyUp ||
                   Event.Kind == TInputKind::KeyPress;
  if (Key) FWatchTicks = TicksAfterKey;
  if (FWatchTicks == 0) return;
  if (Event.Kind == TInputKind::Timer) --FWatchTicks;
  if (Table() != FTableAtEnd) EndGame();
}

bool TReplayRecorder::Finish() {
  if (FFinished) return !FFailed;
  if (FFrom == TFrom::EachGame && !FInGame) {
    FFinished = true;
    SetTimeOfDaySource(nullptr);
    return true;
  }
  Started();
  EndGame();
  SetTimeOfDaySource(nullptr);
  return !FFailed;
}
