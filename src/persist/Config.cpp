#include "persist/Config.h"

#include <utility>
#include <vector>

#include "common/CommonTypes.h"
#include "persist/FileStore.h"
#include "common/Scramble.h"
#include "platform/MessageBox.h"
#include "platform/WaveOut.h"

namespace {
constexpr int GameWidth = 800;
constexpr int GameHeight = 600;
constexpr std::uint32_t FallbackRefresh = 60;
constexpr int FieldCount = 13;

const char* const TestFailedMessage =
    "Your screen has been tested for the game-resolution (800x600) and failed.\r"
    "Game will only run in windowed mode.";

// Why a display change failed; empty for success and for codes without a text.
std::string DisplayChangeReason(int Result) {
  switch (Result) {
    case DispChangeRestart: return "The computer must be restarted in order for the graphics mode to work.";
    case DispChangeFailed: return "The display driver failed the specified graphics mode.";
    case DispChangeBadMode: return "The graphics mode is not supported.";
    case DispChangeNotUpdated: return "Unable to write settings to the registry.";
    case DispChangeBadFlags: return "An invalid set of flags was passed in.";
    default: return "";
  }
}

// Fields of a plain text, each ended by ","; text after the last "," (only
// possible in a two-byte payload without one) counts as a field of its own.
std::vector<std::string> SplitFields(const std::string& Text) {
  std::vector<std::string> Fields;
  std::size_t Start = 0;
  while (Start < Text.size()) {
    const auto Comma = Text.find(',', Start);
    if (Comma == std::string::npos) {
      Fields.push_back(Text.substr(Start));
      break;
    }
    Fields.push_back(Text.substr(Start, Comma - Start));
    Start = Comma + 1;
  }
  return Fields;
}
}  // namespace

int GetWaveOutVolume() {
  IWaveOut& WaveOut = CurrentWaveOut();
  int Device = IWaveOut::WaveMapper;
  const int Count = WaveOut.DeviceCount();
  for (int Id = 0; Id < Count; ++Id)
    if (WaveOut.HasVolumeControl(Id)) Device = Id;
  std::uint32_t LeftRight = 0;
  if (!WaveOut.GetVolume(Device, LeftRight)) LeftRight = 0;
  const std::uint32_t Left = LeftRight & 0xFFFF;
  const std::uint32_t Right = LeftRight >> 16;
  return static_cast<int>(RoundHalfEven(static_cast<long double>((Left + Right) >> 9) * 100.0L / 255.0L));
}

TConfig::TConfig(IDisplay& Display, std::string Folder)
    : Extras(Folder), FDisplay(Display), FPath(JoinPath(Folder, FileName)) {
  TerminateRequested = false;
  WindowRebuilt = false;
  Volume = static_cast<std::uint8_t>(GetWaveOutVolume());
  FullScreenPossible = true;
  TestDisplay();
  Load();
  if (!FullScreenPossible && FullScreen) {
    FullScreen = false;
    Save();
    ShowMessageBox(TestFailedMessage);
  }
  ApplyWindowStyle();
  // The border is known only once the window manager has framed the window;
  // centre again then, so the frame and not the client area is centred.
  FDisplay.SetFrameChangedHandler([this, Alive = std::weak_ptr<int>(FLifetime)] {
    if (!Alive.expired() && !FullScreen) CentreWindow();
  });
}

void TConfig::TestDisplay() {
  const TDisplayMode Current = FDisplay.CurrentMode();
  DesktopMode = TDisplayMode{};
  DesktopMode.BitsPerPel = Current.BitsPerPel;
  DesktopMode.PelsWidth = Current.PelsWidth;
  DesktopMode.PelsHeight = Current.PelsHeight;
  DesktopMode.DisplayFrequency = Current.DisplayFrequency;
  FullScreenPossible = true;

  if (FDisplay.TestMode(DesktopMode) != DispChangeSuccessful) FullScreenPossible = false;
  if (!FullScreenPossible) return;

  GameMode = TDisplayMode{};
  GameMode.BitsPerPel = DesktopMode.BitsPerPel;
  GameMode.PelsWidth = GameWidth;
  GameMode.PelsHeight = GameHeight;
  GameMode.DisplayFrequency = DesktopMode.DisplayFrequency;
  if (FDisplay.TestMode(GameMode) != DispChangeSuccessful) {
    GameMode.DisplayFrequency = FallbackRefresh;
    if (FDisplay.TestMode(GameMode) != DispChangeSuccessful) FullScreenPossible = false;
  }
}

void TConfig::Load() {
  std::string Bytes, Error;
  FHoldSaves = false;
  switch (ReadWholeFile(FPath, Bytes, Error)) {
    case TReadResult::Missing:
      TakeDefaults();
      break;
    case TReadResult::Failed:
      // The file may be perfectly good (a permission, a passing I/O error):
      // play with the defaults, but never write over what we could not read.
      ShowMessageBox(std::string("Error reading ") + FileName + " (" + Error +
                     ")\rThe game runs with the default settings and will not change the file.");
      FHoldSaves = true;
      TakeDefaults();
      break;
    case TReadResult::Read: {
      bool Good = UnscrambleText(Bytes);
      // Parsed into copies first, so a bad field cannot leave half a file applied.
      bool NewMusicOff = MusicOff, NewSoundOff = SoundOff, NewFullScreen = FullScreen;
      auto NewKeys = Keys;
      if (Good) {
        const auto Fields = SplitFields(Bytes);
        for (int N = 1; N <= FieldCount && N <= static_cast<int>(Fields.size()) && Good; ++N) {
          std::int32_t Value = 0;
          if (!TryDecimalToInt32(Fields[N - 1], Value)) {
            Good = false;  // the game never writes one: edited or broken
            break;
          }
          if (N == 1) NewMusicOff = Value == 1;
          else if (N == 2) NewSoundOff = Value == 1;
          else if (N == 3) NewFullScreen = Value == 1;
          else NewKeys[N] = static_cast<std::uint16_t>(Value & 0xFFFF);
        }
      }
      if (Good) {
        MusicOff = NewMusicOff;
        SoundOff = NewSoundOff;
        FullScreen = NewFullScreen;
        Keys = NewKeys;
      } else {
        ShowMessageBox(DamagedMessage);
        TakeDefaults();
      }
      break;
    }
  }
  if (Keys[FirstKey] == 0) ShowMessageBox("bug");
}

void TConfig::TakeDefaults() {
  MusicOff = false;
  SoundOff = false;
  // Keys first, so that the file SetFullScreen writes is complete already.
  Keys = DefaultKeys;
  SetFullScreen(true);
  Save();
}

std::string TConfig::PlainText() const {
  std::string Text;
  Text += MusicOff ? "1," : "0,";
  Text += SoundOff ? "1," : "0,";
  Text += FullScreen ? "1," : "0,";
  for (int Slot = FirstKey; Slot <= LastKey; ++Slot) Text += std::to_string(Keys[Slot]) + ",";
  return Text;
}

bool TConfig::Save() {
  if (FHoldSaves) return false;
  return SaveScrambledFile(FPath, PlainText(), FWriteFailureShown, "Your settings could not be saved.");
}

void TConfig::SetMusicOff(bool Value) {
  MusicOff = Value;
  Save();
}

void TConfig::SetSoundOff(bool Value) {
  SoundOff = Value;
  Save();
}

void TConfig::SetPlayer1Keys(const TKeyGroup& K) {
  for (int I = 0; I < 5; ++I) Keys[static_cast<std::size_t>(KeySlot(1, I))] = K[static_cast<std::size_t>(I)];
  Save();
}

void TConfig::SetPlayer2Keys(const TKeyGroup& K) {
  for (int I = 0; I < 5; ++I) Keys[static_cast<std::size_t>(KeySlot(2, I))] = K[static_cast<std::size_t>(I)];
  Save();
}

void TConfig::SetFullScreen(bool Value) {
  bool V = Value;
  SwitchDisplayMode(V);
  FullScreen = V;
  ApplyWindowStyle();
  Save();
}

void TConfig::SwitchDisplayMode(bool& FullScreen) {
  if (!FullScreenPossible) {
    FullScreen = false;
    return;
  }
  const bool Into = FullScreen;
  const int Result = Into ? FDisplay.EnterMode(GameMode) : FDisplay.RestoreMode(DesktopMode);
  if (Result == DispChangeSuccessful) FDisplay.BroadcastDisplayChange(DisplayChangeMessage, 42, 0);
  const std::string Reason = DisplayChangeReason(Result);
  if (Reason.empty()) return;

  if (Into) {
    ShowMessageBox("Error changing resolution (800x600)\rReason: " + Reason + "\rGame will run in windowed mode.");
    FullScreen = false;
    SwitchDisplayMode(FullScreen);
    FullScreenPossible = false;
  } else {
    ShowMessageBox("Error changing resolution (" + std::to_string(DesktopMode.PelsWidth) + "x" +
                   std::to_string(DesktopMode.PelsHeight) + ")\rReason: " + Reason + "\rGame will terminate!");
    TerminateRequested = true;
  }
}

void TConfig::ApplyWindowStyle() {
  if (FullScreen) {
    FDisplay.ShowCursor(false);
    FDisplay.SetBorderStyle(TBorderStyle::None);
    FDisplay.SetClientSize(GameWidth, GameHeight);
    FDisplay.SetPosition(0, 0);
  } else {
    FDisplay.ShowCursor(true);
    FDisplay.SetBorderStyle(TBorderStyle::Fixed);
    FDisplay.SetClientSize(GameWidth, GameHeight);
    CentreWindow();
  }
  WindowRebuilt = true;
}

void TConfig::CentreWindow() {
  const TSize Outer = FDisplay.OuterSize();
  const TSize Desktop = FDisplay.DesktopSize();
  FDisplay.SetPosition(Desktop.Width / 2 - Outer.Width / 2, Desktop.Height / 2 - Outer.Height / 2);
}
