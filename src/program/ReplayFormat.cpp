#include "program/ReplayFormat.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/ByteOrder.h"

namespace {

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
  if (Out.Version != ReplayVersion && Out.Version != ReplayGameVersion)
    throw TReplayError("the replay has version " + std::to_string(Out.Version) + "; this game reads versions " +
                       std::to_string(ReplayVersion) + " and " + std::to_string(ReplayGameVersion));
  const std::uint8_t IdLength = R.U8("the header");
  if (IdLength == 0 || IdLength > ReplayMaxBuildId) throw TReplayError("the build identifier is damaged");
  const std::uint8_t* Id = R.Take(IdLength, "the header");
  for (std::size_t I = 0; I < IdLength; ++I)
    if (Id[I] < 32 || Id[I] > 126) throw TReplayError("the build identifier is damaged");
  Out.BuildId.assign(reinterpret_cast<const char*>(Id), IdLength);
  Out.Seed = R.U32("the header");
  if (Out.Version == ReplayGameVersion) {
    const std::uint8_t Start = R.U8("the header");
    if (Start != 1 && Start != 2) throw TReplayError("the replay starts in an unknown way (" + std::to_string(Start) + ")");
    Out.Start = static_cast<TReplayStart>(Start);
  }
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
        if (Rec.Value >= ReplayMillisecondsPerDay) throw TReplayError("a damaged clock reading at byte " + std::to_string(At));
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
  const bool Game = Replay.Start != TReplayStart::Session;
  PutLe16(Out, Game ? ReplayGameVersion : Replay.Version);
  const std::string Id = Replay.BuildId.substr(0, ReplayMaxBuildId);
  Out.push_back(static_cast<std::uint8_t>(Id.size()));
  Out.insert(Out.end(), Id.begin(), Id.end());
  PutLe32(Out, Replay.Seed);
  if (Game) Out.push_back(static_cast<std::uint8_t>(Replay.Start));
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
