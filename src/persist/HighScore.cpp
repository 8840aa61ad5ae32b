#include "persist/HighScore.h"

#include <utility>

#include "persist/FileStore.h"
#include "common/Scramble.h"
#include "platform/Http.h"
#include "platform/MessageBox.h"

// Set by the build (VYRN_HIGHSCORE_ENDPOINT); only this file sees it, so
// changing it rebuilds one file.
const char* const HighScoreEndpoint = VYRN_HIGHSCORE_ENDPOINT;

namespace {
THighScoreRunSource RunSource;
}

void SetHighScoreRunSource(THighScoreRunSource Source) { RunSource = std::move(Source); }

namespace {
constexpr char FormatVersion = '3';

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

// Leading and trailing spaces and control characters go; commas go anywhere,
// since they end a field in the file and would shift every entry after it.
std::string CleanName(const std::string& Name) {
  std::size_t First = 0, Last = Name.size();
  while (First < Last && IsBlank(Name[First])) ++First;
  while (Last > First && IsBlank(Name[Last - 1])) --Last;
  std::string Clean;
  for (std::size_t I = First; I < Last; ++I)
    if (Name[I] != ',') Clean.push_back(Name[I]);
  return Clean;
}

std::string PercentEncode(const std::string& Bytes) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string Out;
  Out.reserve(Bytes.size() * 3);
  for (char C : Bytes) {
    const unsigned char B = static_cast<unsigned char>(C);
    Out.push_back('%');
    Out.push_back(Hex[B >> 4]);
    Out.push_back(Hex[B & 0xF]);
  }
  return Out;
}
}  // namespace

THighScore::THighScore(std::string Folder) : FPath(JoinPath(Folder, FileName)) { Load(); }

void THighScore::TakeDefaults() {
  for (int I = 0; I < Count; ++I) Entries[I] = {DefaultName, 100000 - 5000 * static_cast<std::int64_t>(I)};
}

THighScore::TDiskTable THighScore::ReadDisk(std::array<THighScore_element, Count>& Table, std::string& Error) const {
  std::string Bytes;
  switch (ReadWholeFile(FPath, Bytes, Error)) {
    case TReadResult::Missing: return TDiskTable::Missing;
    case TReadResult::Failed: return TDiskTable::Unreadable;
    case TReadResult::Read: break;
  }
  if (!UnscrambleText(Bytes) || Bytes.empty() || Bytes[0] != FormatVersion) return TDiskTable::Damaged;
  int Index = 0;
  bool ReadingName = true;
  std::size_t Start = 1;
  while (Index < Count) {
    const auto Comma = Bytes.find(',', Start);
    if (Comma == std::string::npos) break;
    const std::string Field = Bytes.substr(Start, Comma - Start);
    Start = Comma + 1;
    if (ReadingName) {
      Table[Index].Name = Field;
    } else {
      std::int64_t Score = 0;
      if (!TryDecimalToInt64(Field, Score)) return TDiskTable::Damaged;  // the game never writes one
      Table[Index].Score = Score;
      ++Index;
    }
    ReadingName = !ReadingName;
  }
  return TDiskTable::Read;
}

void THighScore::Load() {
  // Another instance may be rebuilding or inserting right now.
  TFileLock Lock(FPath);
  FHoldSaves = false;
  auto Loaded = Entries;
  std::string Error;
  switch (ReadDisk(Loaded, Error)) {
    case TDiskTable::Read:
      Entries = std::move(Loaded);
      return;
    case TDiskTable::Missing:
    case TDiskTable::Damaged:
      // A missing, damaged or foreign file quietly gives way to the default table.
      TakeDefaults();
      Save();
      return;
    case TDiskTable::Unreadable:
      // The table may be perfectly good (a permission, a passing I/O error):
      // play with the defaults, but never write over what we could not read.
      ShowMessageBox(std::string("Error reading ") + FileName + " (" + Error +
                     ")\rThe game runs with the default table and will not change the file.");
      TakeDefaults();
      FHoldSaves = true;
      return;
  }
}

std::string THighScore::PlainText(int First, int Last) const {
  std::string Text(1, FormatVersion);
  for (int I = First; I <= Last; ++I) Text += Entries[I].Name + "," + std::to_string(Entries[I].Score) + ",";
  return Text;
}

bool THighScore::Save() {
  if (FHoldSaves) return false;
  return SaveScrambledFile(FPath, PlainText(0, Count - 1), FWriteFailureShown,
                           "The high-score table could not be saved.");
}

void THighScore::GetEntry(int Index, THighScore_element& Entry) const {
  if (Index >= 0 && Index < Count) Entry = Entries[Index];
}

int THighScore::RankOf(std::int64_t Score) const {
  for (int I = 0; I < Count; ++I)
    if (Entries[I].Score <= Score) return I;
  return Count;
}

void THighScore::Insert(const std::string& Name, std::int64_t Score) {
  // Other instances in this folder may have entered scores since we read
  // the table: enter ours into the table as it is on disk now, under the
  // lock, so neither loses the other's.
  TFileLock Lock(FPath);
  if (!FHoldSaves) {
    auto Current = Entries;
    std::string Error;
    if (ReadDisk(Current, Error) == TDiskTable::Read) Entries = std::move(Current);
  }
  const int Place = RankOf(Score);
  if (Place == Count) return;
  for (int I = Count - 1; I > Place; --I) Entries[I] = Entries[I - 1];
  Entries[Place] = {CleanName(Name), Score};
  Save();
}

bool THighScore::Submit() {
  IHttpClient& Http = CurrentHttpClient();
  for (int Half = 0; Half < 2; ++Half) {
    std::string Bytes = PlainText(Half * 10, Half * 10 + 9);
    ScrambleText(Bytes);
    const std::string Url = Endpoint + "/submit_hi.php?game=vyrn&ent=10&hifile=" + PercentEncode(Bytes);
    if (!Http.Get(Url)) return false;
  }
  RunAccepted = false;
  THighScoreRun Run;
  if (RunSource && RunSource(Run))
    RunAccepted = Http.Post(Endpoint + "/api/runs?name=" + PercentEncode(Run.Name) + "&score=" + std::to_string(Run.Score),
                            Run.Replay, "application/octet-stream");
  return true;
}
