#include "program/ReplayFormat.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

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

namespace {

// Checks a whole file and fills Out but for the records' bytes: those lie
// in Data at [Begin, End) and are counted into Out.Records.
void ParseInto(const std::uint8_t* Data, std::size_t Size, bool VerifyHash, TReplay& Out,
               std::vector<std::uint32_t>& Checks, std::size_t& Count, std::size_t& Begin, std::size_t& End) {
  if (Size > ReplayMaxFileSize) throw TReplayError("the file is too large for a replay");
  TReader R(Data, Size);
  if (Size < sizeof ReplayMagic || std::memcmp(Data, ReplayMagic, sizeof ReplayMagic) != 0)
    throw TReplayError("this is not a Vyrn Rekindled replay");
  R.Take(sizeof ReplayMagic, "the header");
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

  Begin = R.Pos();
  Count = 0;
  std::uint32_t LastCheck = 0;
  std::uint32_t Ticks = 0;
  for (;;) {
    if (R.AtEnd()) throw TReplayError("the file is truncated: its end record is missing");
    const std::size_t At = R.Pos();
    const std::uint8_t Kind = R.U8("a record");
    switch (static_cast<TReplayRecordKind>(Kind)) {
      case TReplayRecordKind::Event: {
        TEncodedInputEvent Bytes;
        std::memcpy(Bytes.data(), R.Take(4, "an event"), 4);
        const auto Event = DecodeInputEvent(Bytes);
        if (!Event) throw TReplayError("a damaged event at byte " + std::to_string(At));
        if (Event->Kind == TInputKind::Timer) ++Ticks;
        break;
      }
      case TReplayRecordKind::Time:
        if (R.U32("a clock reading") >= ReplayMillisecondsPerDay)
          throw TReplayError("a damaged clock reading at byte " + std::to_string(At));
        break;
      case TReplayRecordKind::Check: {
        const std::uint32_t Tick = R.U32("a checksum");
        R.U64("a checksum");
        // Checks come in step with the ticks before them.
        if (Tick != Ticks || Tick % ReplayCheckEvery != 0 || Tick <= LastCheck)
          throw TReplayError("a damaged checksum record at byte " + std::to_string(At));
        LastCheck = Tick;
        Checks.push_back(static_cast<std::uint32_t>(Count));
        break;
      }
      case TReplayRecordKind::End: {
        const std::uint32_t Claimed = R.U32("the end record");
        if (Claimed != Count)
          throw TReplayError("the end record counts " + std::to_string(Claimed) + " records, the file holds " +
                             std::to_string(Count));
        const std::size_t Hashed = R.Pos();
        const std::uint32_t Hash = R.U32("the end record");
        if (!R.AtEnd()) throw TReplayError("there is data after the end record");
        if (VerifyHash && Hash != ReplayHash(Data, Hashed))
          throw TReplayError("the file is damaged: its bytes do not match the hash at its end");
        End = At;
        return;
      }
      default:
        throw TReplayError("an unknown record at byte " + std::to_string(At));
    }
    ++Count;
  }
}

}  // namespace

TReplay ParseReplay(const std::uint8_t* Data, std::size_t Size, bool VerifyHash) {
  TReplay Out;
  TReplayRecords& L = Out.Records;
  std::size_t Begin = 0, End = 0;
  ParseInto(Data, Size, VerifyHash, Out, L.FChecks, L.FCount, Begin, End);
  L.FBytes.assign(Data + Begin, Data + End);
  L.FBegin = 0;
  L.FEnd = L.FBytes.size();
  return Out;
}

TReplay ParseReplay(std::vector<std::uint8_t>&& File, bool VerifyHash) {
  TReplay Out;
  TReplayRecords& L = Out.Records;
  ParseInto(File.data(), File.size(), VerifyHash, Out, L.FChecks, L.FCount, L.FBegin, L.FEnd);
  L.FBytes = std::move(File);
  return Out;
}

TReplay LoadReplay(const std::string& FileName) {
  std::error_code Ec;
  const auto Size = std::filesystem::file_size(FileName, Ec);
  if (Ec) throw TReplayError("cannot read the replay \"" + FileName + "\"");
  if (Size > ReplayMaxFileSize) throw TReplayError("\"" + FileName + "\" is too large for a replay");
  // Read in one piece of the file's size (one byte more shows a file that
  // grew meanwhile): no doubling buffer, no second copy.
  std::vector<std::uint8_t> Data(static_cast<std::size_t>(Size) + 1);
  std::ifstream In(FileName, std::ios::binary);
  In.read(reinterpret_cast<char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
  if (In.bad() || (!In.eof() && In.fail()) || !In.is_open())
    throw TReplayError("cannot read the replay \"" + FileName + "\"");
  Data.resize(static_cast<std::size_t>(In.gcount()));
  try {
    return ParseReplay(std::move(Data), true);
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
  Out.insert(Out.end(), Replay.Records.EncodedData(), Replay.Records.EncodedData() + Replay.Records.EncodedSize());
  TReplayRecord End;
  End.Kind = TReplayRecordKind::End;
  End.Value = static_cast<std::uint32_t>(Replay.Records.size());
  const auto Bytes = SerializeReplayRecord(End);
  Out.insert(Out.end(), Bytes.begin(), Bytes.end());
  PutLe32(Out, ReplayHash(Out.data(), Out.size()));
  return Out;
}

std::size_t TReplayRecords::OffsetOf(std::size_t I) const {
  const auto ChecksBefore =
      static_cast<std::size_t>(std::lower_bound(FChecks.begin(), FChecks.end(), I) - FChecks.begin());
  return I * ShortSize + ChecksBefore * (CheckSize - ShortSize);
}

TReplayRecord TReplayRecords::operator[](std::size_t I) const {
  const std::uint8_t* P = FBytes.data() + FBegin + OffsetOf(I);
  TReplayRecord R;
  R.Kind = static_cast<TReplayRecordKind>(P[0]);
  switch (R.Kind) {
    case TReplayRecordKind::Event: {
      TEncodedInputEvent Bytes;
      std::memcpy(Bytes.data(), P + 1, 4);
      R.Event = DecodeInputEvent(Bytes).value_or(TInputEvent{});
      break;
    }
    case TReplayRecordKind::Check:
      R.Value = Le32(P + 1);
      R.Checksum = static_cast<std::uint64_t>(Le32(P + 5)) | (static_cast<std::uint64_t>(Le32(P + 9)) << 32);
      break;
    default:
      R.Value = Le32(P + 1);
      break;
  }
  return R;
}

void TReplayRecords::OwnBytes() {
  if (FBegin == 0 && FEnd == FBytes.size()) return;
  FBytes.erase(FBytes.begin() + static_cast<std::ptrdiff_t>(FEnd), FBytes.end());
  FBytes.erase(FBytes.begin(), FBytes.begin() + static_cast<std::ptrdiff_t>(FBegin));
  FBegin = 0;
  FEnd = FBytes.size();
}

namespace {
void CheckStorable(const TReplayRecord& Record) {
  if (Record.Kind != TReplayRecordKind::Event && Record.Kind != TReplayRecordKind::Time &&
      Record.Kind != TReplayRecordKind::Check)
    throw std::invalid_argument("a replay holds events, clock readings and checks only");
}
}  // namespace

void TReplayRecords::push_back(const TReplayRecord& Record) {
  CheckStorable(Record);
  OwnBytes();
  const auto Bytes = SerializeReplayRecord(Record);
  FBytes.insert(FBytes.end(), Bytes.begin(), Bytes.end());
  FEnd = FBytes.size();
  if (Record.Kind == TReplayRecordKind::Check) FChecks.push_back(static_cast<std::uint32_t>(FCount));
  ++FCount;
}

void TReplayRecords::Set(std::size_t I, const TReplayRecord& Record) {
  CheckStorable(Record);
  const bool WasCheck = KindAt(I) == TReplayRecordKind::Check;
  if (WasCheck == (Record.Kind == TReplayRecordKind::Check)) {
    const auto Bytes = SerializeReplayRecord(Record);
    std::memcpy(FBytes.data() + FBegin + OffsetOf(I), Bytes.data(), Bytes.size());
    return;
  }
  // A change of length: build the list anew.
  TReplayRecords Next;
  for (std::size_t J = 0; J < FCount; ++J) Next.push_back(J == I ? Record : (*this)[J]);
  *this = std::move(Next);
}

void TReplayRecords::Erase(std::size_t I) {
  TReplayRecords Next;
  for (std::size_t J = 0; J < FCount; ++J)
    if (J != I) Next.push_back((*this)[J]);
  *this = std::move(Next);
}

bool operator==(const TReplayRecords& A, const TReplayRecords& B) {
  return A.FCount == B.FCount && A.EncodedSize() == B.EncodedSize() &&
         std::equal(A.EncodedData(), A.EncodedData() + A.EncodedSize(), B.EncodedData());
}
