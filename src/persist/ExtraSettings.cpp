#include "persist/ExtraSettings.h"

#include "persist/FileStore.h"
#include "platform/MessageBox.h"

namespace {
constexpr const char* ClaimedGroundName = "claimed-ground";
constexpr const char* HintsSeenName = "hints-seen";

// Splits Text into lines; a final line without a newline still counts.
std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Result;
  std::size_t Start = 0;
  while (Start < Text.size()) {
    std::size_t End = Text.find('\n', Start);
    if (End == std::string::npos) End = Text.size();
    std::string Line = Text.substr(Start, End - Start);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();  // edited on another system
    Result.push_back(std::move(Line));
    Start = End + 1;
  }
  return Result;
}
}  // namespace

TExtraSettings::TExtraSettings(std::string Folder) : FPath(JoinPath(Folder, FileName)) { Load(); }

void TExtraSettings::Load() {
  std::string Bytes, Error;
  FHoldSaves = false;
  switch (ReadWholeFile(FPath, Bytes, Error)) {
    case TReadResult::Missing:
      // Written at the first change: a player who never touches an extra
      // never gets the file.
      ClaimedGround = TClaimedGroundLook::Classic;
      HintsSeen = false;
      FUnknown.clear();
      return;
    case TReadResult::Failed:
      // The file may be perfectly good (a permission, a passing I/O error):
      // play with the defaults, but never write over what we could not read.
      ShowMessageBox(std::string("Error reading ") + FileName + " (" + Error +
                     ")\rThe game runs with the default extras and will not change the file.");
      ClaimedGround = TClaimedGroundLook::Classic;
      HintsSeen = false;
      FUnknown.clear();
      FHoldSaves = true;
      return;
    case TReadResult::Read:
      break;
  }
  const auto All = Lines(Bytes);
  bool Good = !All.empty() && All[0] == Header;
  auto NewLook = TClaimedGroundLook::Classic;
  bool NewHints = false;
  std::vector<std::pair<std::string, std::string>> NewUnknown;
  for (std::size_t I = 1; Good && I < All.size(); ++I) {
    const std::string& Line = All[I];
    if (Line.empty()) continue;
    const std::size_t Eq = Line.find('=');
    if (Eq == std::string::npos || Eq == 0) {
      Good = false;
      break;
    }
    const std::string Name = Line.substr(0, Eq), Value = Line.substr(Eq + 1);
    if (Name == ClaimedGroundName) {
      if (Value == "classic") NewLook = TClaimedGroundLook::Classic;
      else if (Value == "clear") NewLook = TClaimedGroundLook::Clear;
      else Good = false;
    } else if (Name == HintsSeenName) {
      if (Value == "0" || Value == "1") NewHints = Value == "1";
      else Good = false;
    } else {
      NewUnknown.emplace_back(Name, Value);
    }
  }
  if (!Good) {
    ShowMessageBox(DamagedMessage);
    TakeDefaults();
    return;
  }
  ClaimedGround = NewLook;
  HintsSeen = NewHints;
  FUnknown = std::move(NewUnknown);
}

void TExtraSettings::TakeDefaults() {
  ClaimedGround = TClaimedGroundLook::Classic;
  HintsSeen = false;
  FUnknown.clear();
  Save();
}

std::string TExtraSettings::PlainText() const {
  std::string Text = std::string(Header) + "\n";
  Text += std::string(ClaimedGroundName) + "=" + (ClaimedGround == TClaimedGroundLook::Clear ? "clear" : "classic") + "\n";
  Text += std::string(HintsSeenName) + "=" + (HintsSeen ? "1" : "0") + "\n";
  for (const auto& [Name, Value] : FUnknown) Text += Name + "=" + Value + "\n";
  return Text;
}

bool TExtraSettings::Save() {
  if (FHoldSaves) return false;
  std::string Error;
  if (ReplaceFile(FPath, PlainText(), Error)) {
    FWriteFailureShown = false;
    return true;
  }
  if (!FWriteFailureShown) {
    FWriteFailureShown = true;
    ShowMessageBox(std::string("Error writing ") + FileName + " (" + Error + ")\rThe change holds until the game ends.");
  }
  return false;
}

void TExtraSettings::SetClaimedGround(TClaimedGroundLook Value) {
  ClaimedGround = Value;
  Save();
}

void TExtraSettings::SetHintsSeen(bool Value) {
  if (HintsSeen == Value) return;
  HintsSeen = Value;
  Save();
}
