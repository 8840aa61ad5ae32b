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
    R.Value = FClock() % ReplayMillisecondsPerDay;
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
