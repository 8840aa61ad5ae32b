#include "program/Replay.h"

#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "actors/Evil.h"
#include "actors/Player.h"
#include "actors/SmallEvilBase.h"
#include "app/Main.h"
#include "board/MemBoard.h"
#include "game/GameData.h"
#include "game/Level.h"
#include "common/ByteOrder.h"
#include "common/CommonTypes.h"
#include "persist/Config.h"
#include "persist/FileStore.h"
#include "persist/HighScore.h"
#include "common/TimeOfDay.h"
#include "platform/EventLoop.h"
#include "platform/TimerScheduler.h"
#include "platform/VirtualKeys.h"

#ifndef VYRN_BUILD_ID
#define VYRN_BUILD_ID "unknown"
#endif

const char* ReplayBuildId() { return VYRN_BUILD_ID; }

namespace {

constexpr std::uint32_t MillisecondsPerDay = 86400000u;

// Reads with a bound check on every step.
class TReader {
public:
  TReader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}
  bool AtEnd() const { return FPos == FSize; }
  std::size_t Pos() const { return FPos; }
  const std::uint8_t* Take(std::size_t N, const char* What) {
    if (FSize - FPos < N) throw TReplayError(std::string("the file is truncated in ") + What);
    const std::uint8_t* P = FData + FPos;
    FPos += N;
    return P;
  }
  std::uint8_t U8(const char* What) { return *Take(1, What); }
  std::uint16_t U16(const char* What) { return Le16(Take(2, What)); }
  std::uint32_t U32(const char* What) { return Le32(Take(4, What)); }
  std::uint64_t U64(const char* What) {
    const std::uint8_t* P = Take(8, What);
    return static_cast<std::uint64_t>(Le32(P)) | (static_cast<std::uint64_t>(Le32(P + 4)) << 32);
  }
  std::string Blob(std::size_t Max, const char* What) {
    const std::uint32_t N = U32(What);
    if (N > Max) throw TReplayError(std::string("the ") + What + " is too large (" + std::to_string(N) + " bytes)");
    const std::uint8_t* P = Take(N, What);
    return std::string(reinterpret_cast<const char*>(P), N);
  }

private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

void PutLe64(std::vector<std::uint8_t>& Out, std::uint64_t V) {
  PutLe32(Out, static_cast<std::uint32_t>(V));
  PutLe32(Out, static_cast<std::uint32_t>(V >> 32));
}

void PutBlob(std::vector<std::uint8_t>& Out, const std::string& S) {
  PutLe32(Out, static_cast<std::uint32_t>(S.size()));
  Out.insert(Out.end(), S.begin(), S.end());
}

// FNV-1a, 64 bits: small, and any changed byte changes it.
class THash {
public:
  void Bytes(const void* Data, std::size_t N) {
    const auto* P = static_cast<const std::uint8_t*>(Data);
    for (std::size_t I = 0; I < N; ++I) {
      FValue ^= P[I];
      FValue *= 1099511628211ull;
    }
  }
  template <typename T>
  void Value(T V) {
    Bytes(&V, sizeof V);
  }
  std::uint64_t Get() const { return FValue; }

private:
  std::uint64_t FValue = 14695981039346656037ull;
};

// A file that may be missing reads as empty; a larger one than any of ours
// is not taken.
std::string ReadSmallFile(const std::string& Path, std::size_t Max) {
  std::string Bytes, Error;
  if (ReadWholeFile(Path, Bytes, Error) != TReadResult::Read || Bytes.size() > Max) return "";
  return Bytes;
}

const TGameData* GameOf(const IGameData* Game) {
  if (!Game) return nullptr;
  if (const auto* Real = dynamic_cast<const TGameData*>(Game)) return Real;
  if (const auto* View = dynamic_cast<const IGameDataView*>(Game)) return &View->GameData();
  return nullptr;
}

}  // namespace

std::uint32_t ReplayHash(const std::uint8_t* Data, std::size_t Size, std::uint32_t Hash) {
  for (std::size_t I = 0; I < Size; ++I) {
    Hash ^= Data[I];
    Hash *= 16777619u;
  }
  return Hash;
}

TReplay ParseReplay(const std::uint8_t* Data, std::size_t Size, bool VerifyHash) {
  if (Size > ReplayMaxFileSize) throw TReplayError("the file is too large for a replay");
  TReader R(Data, Size);
  if (Size < sizeof ReplayMagic || std::memcmp(Data, ReplayMagic, sizeof ReplayMagic) != 0)
    throw TReplayError("this is not a Vyrn Rekindled replay");
  R.Take(sizeof ReplayMagic, "the header");
  TReplay Out;
  Out.Version = R.U16("the header");
  if (Out.Version != ReplayVersion)
    throw TReplayError("the replay has version " + std::to_string(Out.Version) + "; this game reads version " +
                       std::to_string(ReplayVersion));
  const std::uint8_t IdLength = R.U8("the header");
  if (IdLength == 0 || IdLength > ReplayMaxBuildId) throw TReplayError("the build identifier is damaged");
  const std::uint8_t* Id = R.Take(IdLength, "the header");
  for (std::size_t I = 0; I < IdLength; ++I)
    if (Id[I] < 32 || Id[I] > 126) throw TReplayError("the build identifier is damaged");
  Out.BuildId.assign(reinterpret_cast<const char*>(Id), IdLength);
  Out.Seed = R.U32("the header");
  Out.ConfigText = R.Blob(ReplayMaxConfig, "settings");
  Out.HighScoresText = R.Blob(ReplayMaxHighScores, "high-score table");

  std::uint32_t LastCheck = 0;
  std::uint32_t Ticks = 0;
  for (;;) {
    if (R.AtEnd()) throw TReplayError("the file is truncated: its end record is missing");
    const std::size_t At = R.Pos();
    const std::uint8_t Kind = R.U8("a record");
    TReplayRecord Rec;
    Rec.Kind = static_cast<TReplayRecordKind>(Kind);
    switch (Rec.Kind) {
      case TReplayRecordKind::Event: {
        TEncodedInputEvent Bytes;
        std::memcpy(Bytes.data(), R.Take(4, "an event"), 4);
        const auto Event = DecodeInputEvent(Bytes);
        if (!Event) throw TReplayError("a damaged event at byte " + std::to_string(At));
        Rec.Event = *Event;
        if (Rec.Event.Kind == TInputKind::Timer) ++Ticks;
        break;
      }
      case TReplayRecordKind::Time:
        Rec.Value = R.U32("a clock reading");
        if (Rec.Value >= MillisecondsPerDay) throw TReplayError("a damaged clock reading at byte " + std::to_string(At));
        break;
      case TReplayRecordKind::Check:
        Rec.Value = R.U32("a checksum");
        Rec.Checksum = R.U64("a checksum");
        // Checks come in step with the ticks before them.
        if (Rec.Value != Ticks || Rec.Value % ReplayCheckEvery != 0 || Rec.Value <= LastCheck)
          throw TReplayError("a damaged checksum record at byte " + std::to_string(At));
        LastCheck = Rec.Value;
        break;
      case TReplayRecordKind::End: {
        const std::uint32_t Count = R.U32("the end record");
        if (Count != Out.Records.size())
          throw TReplayError("the end record counts " + std::to_string(Count) + " records, the file holds " +
                             std::to_string(Out.Records.size()));
        const std::size_t Hashed = R.Pos();
        const std::uint32_t Hash = R.U32("the end record");
        if (!R.AtEnd()) throw TReplayError("there is data after the end record");
        if (VerifyHash && Hash != ReplayHash(Data, Hashed))
          throw TReplayError("the file is damaged: its bytes do not match the hash at its end");
        return Out;
      }
      default:
        throw TReplayError("an unknown record at byte " + std::to_string(At));
    }
    Out.Records.push_back(Rec);
  }
}

TReplay LoadReplay(const std::string& FileName) {
  std::error_code Ec;
  const auto Size = std::filesystem::file_size(FileName, Ec);
  if (Ec) throw TReplayError("cannot read the replay \"" + FileName + "\"");
  if (Size > ReplayMaxFileSize) throw TReplayError("\"" + FileName + "\" is too large for a replay");
  std::ifstream In(FileName, std::ios::binary);
  std::vector<std::uint8_t> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (!In.eof() && In.fail()) throw TReplayError("cannot read the replay \"" + FileName + "\"");
  try {
    return ParseReplay(Data.data(), Data.size());
  } catch (const TReplayError& E) {
    throw TReplayError("\"" + FileName + "\": " + E.what());
  }
}

std::vector<std::uint8_t> SerializeReplayHeader(const TReplay& Replay) {
  std::vector<std::uint8_t> Out(ReplayMagic, ReplayMagic + sizeof ReplayMagic);
  PutLe16(Out, Replay.Version);
  const std::string Id = Replay.BuildId.substr(0, ReplayMaxBuildId);
  Out.push_back(static_cast<std::uint8_t>(Id.size()));
  Out.insert(Out.end(), Id.begin(), Id.end());
  PutLe32(Out, Replay.Seed);
  PutBlob(Out, Replay.ConfigText);
  PutBlob(Out, Replay.HighScoresText);
  return Out;
}

std::vector<std::uint8_t> SerializeReplayRecord(const TReplayRecord& Record) {
  std::vector<std::uint8_t> Out{static_cast<std::uint8_t>(Record.Kind)};
  switch (Record.Kind) {
    case TReplayRecordKind::Event: {
      const auto Bytes = EncodeInputEvent(Record.Event);
      Out.insert(Out.end(), Bytes.begin(), Bytes.end());
      break;
    }
    case TReplayRecordKind::Time:
    case TReplayRecordKind::End:
      PutLe32(Out, Record.Value);
      break;
    case TReplayRecordKind::Check:
      PutLe32(Out, Record.Value);
      PutLe64(Out, Record.Checksum);
      break;
  }
  return Out;
}

std::vector<std::uint8_t> SerializeReplay(const TReplay& Replay) {
  std::vector<std::uint8_t> Out = SerializeReplayHeader(Replay);
  for (const TReplayRecord& R : Replay.Records) {
    const auto Bytes = SerializeReplayRecord(R);
    Out.insert(Out.end(), Bytes.begin(), Bytes.end());
  }
  TReplayRecord End;
  End.Kind = TReplayRecordKind::End;
  End.Value = static_cast<std::uint32_t>(Replay.Records.size());
  const auto Bytes = SerializeReplayRecord(End);
  Out.insert(Out.end(), Bytes.begin(), Bytes.end());
  PutLe32(Out, ReplayHash(Out.data(), Out.size()));
  return Out;
}

std::uint64_t SessionChecksum(const TMainForm& Form) {
  THash H;
  H.Value(RandSeed);
  H.Value(Form.TimerRuns(Form.FocusMonitor));
  H.Value(Form.TimerRuns(Form.SplashScreenTimer));
  H.Value(Form.TimerRuns(Form.MenuTimer));
  H.Value(Form.TimerRuns(Form.GameTimer));
  H.Value(Form.StartLevel);
  H.Value(Form.StartLives);
  H.Value(Form.CheatUsed);
  const TGameData* G = GameOf(Form.Game());
  H.Value(G != nullptr);
  if (!G || !G->Level) return H.Get();
  H.Value(G->LevelNumber);
  H.Value(G->Paused());
  H.Value(G->Frozen);
  const TLevel& L = *G->Level;
  H.Value(L.ClaimedCells);
  H.Value(L.TimeBonus);
  H.Value(L.EndCountdown);
  if (L.Board)
    for (std::int32_t X = 0; X < L.Board->Width; ++X) H.Bytes(L.Board->Column(X), static_cast<std::size_t>(L.Board->Height));
  for (const auto& P : G->Players) {
    H.Value(P->X);
    H.Value(P->Y);
    H.Value(P->Score);
    H.Value(P->Lives);
    H.Value(P->IsDrawing);
    H.Value(P->IsExploding);
  }
  if (L.Evil) {
    H.Value(L.Evil->X);
    H.Value(L.Evil->Y);
  }
  for (std::int32_t I = 0; I < L.SmallEvilCount(); ++I) {
    H.Value(L.SmallEvil(I).X);
    H.Value(L.SmallEvil(I).Y);
  }
  return H.Get();
}

// ---- recording ----

TReplayRecorder::TReplayRecorder(const std::string& FileName, TMainForm& Form, const std::string& Folder,
                                 std::function<std::uint32_t()> Clock)
    : FForm(Form), FClock(Clock ? std::move(Clock) : std::function<std::uint32_t()>(SystemUtcMillisecondsOfDay)),
      FFileName(FileName) {
  FHeader.BuildId = ReplayBuildId();
  FHeader.ConfigText = ReadSmallFile(JoinPath(Folder, TConfig::FileName), ReplayMaxConfig);
  FHeader.HighScoresText = ReadSmallFile(JoinPath(Folder, THighScore::FileName), ReplayMaxHighScores);
  FFile = std::fopen(FileName.c_str(), "wb");
  if (!FFile) FFailed = true;
  // The real clock, with every answer written down.
  SetTimeOfDaySource([this] {
    TReplayRecord R;
    R.Kind = TReplayRecordKind::Time;
    R.Value = FClock() % MillisecondsPerDay;
    Add(R);
    return R.Value;
  });
}

TReplayRecorder::~TReplayRecorder() {
  Finish();
  SetTimeOfDaySource(nullptr);
}

void TReplayRecorder::Started() {
  if (FStarted) return;
  FStarted = true;
  FHeader.Seed = RandSeed;
  std::vector<std::uint8_t> Head = SerializeReplayHeader(FHeader);
  Head.insert(Head.end(), FPending.begin(), FPending.end());
  FPending = std::move(Head);
  Flush();
}

void TReplayRecorder::Add(const TReplayRecord& Record) {
  if (FFinished) return;
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
  FPending.clear();
}

void TReplayRecorder::Dispatch(const TInputEvent& Event) {
  TReplayRecord R;
  R.Kind = TReplayRecordKind::Event;
  R.Event = Event;
  Add(R);
  FForm.Dispatch(Event);
  if (Event.Kind != TInputKind::Timer || FFinished) return;
  if (++FTicks % ReplayCheckEvery != 0) return;
  TReplayRecord Check;
  Check.Kind = TReplayRecordKind::Check;
  Check.Value = FTicks;
  Check.Checksum = SessionChecksum(FForm);
  Add(Check);
  // A crash later keeps what was played so far.
  Flush();
}

bool TReplayRecorder::Finish() {
  if (FFinished) return !FFailed;
  Started();
  TReplayRecord End;
  End.Kind = TReplayRecordKind::End;
  End.Value = FRecords;
  Add(End);
  FFinished = true;
  Flush();
  if (FFile && std::fclose(FFile) != 0) FFailed = true;
  FFile = nullptr;
  SetTimeOfDaySource(nullptr);
  return !FFailed;
}

// ---- playback ----

TReplayPlayer::TReplayPlayer(const TReplay& Replay, TMainForm& Form) : FReplay(Replay), FForm(Form) {
  FOtherBuild = Replay.BuildId != ReplayBuildId();
  SetTimeOfDaySource([this]() -> std::uint32_t {
    const auto& Records = FReplay.Records;
    if (FCursor < Records.size() && Records[FCursor].Kind == TReplayRecordKind::Time) return Records[FCursor++].Value;
    FClockMissing = true;
    return 0;
  });
}

TReplayPlayer::~TReplayPlayer() { SetTimeOfDaySource(nullptr); }

void TReplayPlayer::Fail(const std::string& What) {
  if (!FProblem.empty()) return;
  FProblem = What;
  if (FOtherBuild)
    FProblem += " (the replay was recorded by build \"" + FReplay.BuildId + "\", this is build \"" + ReplayBuildId() +
                "\")";
}

bool TReplayPlayer::PrepareFolder(const std::string& Folder) {
  const auto Write = [&](const char* Name, const std::string& Text) {
    if (Text.empty()) return true;
    std::ofstream Out(std::filesystem::path(Folder) / Name, std::ios::binary);
    Out.write(Text.data(), static_cast<std::streamsize>(Text.size()));
    return static_cast<bool>(Out);
  };
  if (Write(TConfig::FileName, FReplay.ConfigText) && Write(THighScore::FileName, FReplay.HighScoresText)) return true;
  Fail("cannot write the recorded settings into \"" + Folder + "\"");
  return false;
}

bool TReplayPlayer::Start() {
  if (!FForm.FormCreate()) {
    Fail("the window could not start");
    return false;
  }
  if (FClockMissing) Fail("the game read the clock more often than recorded while the window started");
  else if (RandSeed != FReplay.Seed)
    Fail("the generator's seed is " + std::to_string(RandSeed) + " after the start, recorded " +
         std::to_string(FReplay.Seed));
  else if (FCursor < FReplay.Records.size() && FReplay.Records[FCursor].Kind == TReplayRecordKind::Time)
    Fail("the game read the clock less often than recorded while the window started");
  return FProblem.empty();
}

const TInputEvent* TReplayPlayer::NextEvent() const {
  std::size_t I = FCursor;
  while (I < FReplay.Records.size() && FReplay.Records[I].Kind == TReplayRecordKind::Check) ++I;
  if (I < FReplay.Records.size() && FReplay.Records[I].Kind == TReplayRecordKind::Event)
    return &FReplay.Records[I].Event;
  return nullptr;
}

bool TReplayPlayer::CompareChecks() {
  const auto& Records = FReplay.Records;
  while (FCursor < Records.size() && Records[FCursor].Kind == TReplayRecordKind::Check) {
    const TReplayRecord& C = Records[FCursor++];
    if (C.Value != FTicks) {
      Fail("the checksum of tick " + std::to_string(C.Value) + " came at tick " + std::to_string(FTicks));
      return false;
    }
    if (C.Checksum != SessionChecksum(FForm)) {
      Fail("the game differs from its recording at tick " + std::to_string(C.Value) + " (first difference within the " +
           std::to_string(ReplayCheckEvery) + " ticks before it)");
      return false;
    }
    ++FChecks;
  }
  return true;
}

bool TReplayPlayer::Step() {
  if (FFinished || !FProblem.empty()) return false;
  const auto& Records = FReplay.Records;
  if (!CompareChecks()) return false;
  if (FCursor >= Records.size()) {
    FFinished = true;
    return false;
  }
  const TReplayRecord& R = Records[FCursor];
  if (R.Kind != TReplayRecordKind::Event) {
    Fail("the game read the clock less often than recorded before tick " + std::to_string(FTicks + 1));
    return false;
  }
  ++FCursor;
  if (R.Event.Kind == TInputKind::Timer && R.Event.Code != FForm.FocusMonitor && R.Event.Code != FForm.SplashScreenTimer &&
      R.Event.Code != FForm.MenuTimer && R.Event.Code != FForm.GameTimer) {
    Fail("the replay names a timer the window does not have (" + std::to_string(R.Event.Code) + ")");
    return false;
  }
  FForm.Dispatch(R.Event);
  if (R.Event.Kind == TInputKind::Timer) ++FTicks;
  if (FClockMissing) {
    Fail("the game read the clock more often than recorded at tick " + std::to_string(FTicks));
    return false;
  }
  return true;
}

bool PlayReplayInWindow(TReplayPlayer& Player, TTimerScheduler& Timers, IEventSource& Source, IPresenter& Presenter,
                        TScreen& Screen, void (*Turn)(void*), void* TurnArg) {
  IClock& Clock = Timers.Clock();
  std::uint64_t Due = Clock.NowMs();
  const auto Stops = [](const TInputEvent& E) {
    return E.Kind == TInputKind::Close || (E.Kind == TInputKind::KeyDown && E.Code == Vk::Escape);
  };
  for (;;) {
    if (Turn) Turn(TurnArg);
    TInputEvent Own;
    while (Source.WaitEvent(0, Own))
      if (Stops(Own)) return true;
    // The recorded ticks come at their timers' pace; the focus monitor's
    // ticks fall between them and do not hold the picture back.
    if (const TInputEvent* Next = Player.NextEvent();
        Next && Next->Kind == TInputKind::Timer && Next->Code < Timers.Count() && Timers.Enabled(Next->Code) &&
        Next->Code != Player.Form().FocusMonitor) {
      const std::uint64_t Now = Clock.NowMs();
      if (Now < Due) {
        const auto Wait = static_cast<std::uint32_t>(std::min<std::uint64_t>(Due - Now, TEventLoop::MaxWaitMs));
        if (Source.WaitEvent(Wait, Own) && Stops(Own)) return true;
        continue;
      }
      Due = std::max(Due + Timers.Interval(Next->Code), Now);
    }
    if (!Player.Step()) break;
    if (Screen.IsDirty()) {
      Presenter.Present(Screen);
      Screen.ClearDirty();
    }
  }
  return !Player.Desynced();
}

std::string MakeReplayFolder() {
  std::string Folder = (std::filesystem::temp_directory_path() / "vyrn-replay-XXXXXX").string();
  if (!::mkdtemp(Folder.data())) return "";
  return Folder;
}

void RemoveReplayFolder(const std::string& Folder) {
  if (Folder.empty()) return;
  std::error_code Ec;
  std::filesystem::remove_all(Folder, Ec);
}
