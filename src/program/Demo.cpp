#include "program/Demo.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "app/Main.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"
#include "gfx/FastImaging.h"
#include "gfx/GameText.h"
#include "pak/MemoryStream.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/Clock.h"
#include "platform/FakeDisplay.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/TimerScheduler.h"
#include "platform/WindowControl.h"
#include "platform/WaveOut.h"
#include "program/ProgramParts.h"
#include "program/ReplayFolder.h"
#include "program/ReplayPlayer.h"

namespace {

// The program's parts on the window's own archive; no demo within a demo.
class TDemoParts : public TProgramParts {
public:
  TDemoParts(IDisplay& Display, const std::string& Folder, const TPakFileReadable& Pak)
      : TProgramParts(Display, Folder), FPak(Pak) {}
  std::unique_ptr<TPakFileReadable> CreatePak(const std::string&) override {
    return std::make_unique<TPakFileReadable>(FPak);
  }
  std::unique_ptr<IDemo> CreateDemo(int, const TPakFileReadable&, const TConfig&, TScreen&) override {
    return nullptr;
  }

private:
  const TPakFileReadable& FPak;
};

// A demo that stops fails quietly: whatever its parts would tell the player
// is dropped.
class TQuietBox : public IMessageBox {
public:
  void Show(const std::string&, const std::string&) override {}
};

// While the demo's window runs it has the generator, the clock and the
// output volume to itself; the real window gets them back as they were, so
// the demo leaves no trace in a session (or a recording of it) and the
// player's volume file is never rewritten.
class TDemoTurn {
public:
  TDemoTurn(std::uint32_t& DemoSeed, TTimeOfDaySource& DemoClock)
      : FDemoSeed(DemoSeed), FDemoClock(DemoClock), FOuterSeed(RandSeed), FOuterClock(TimeOfDaySource()),
        FOuterBox(SetMessageBoxHandler(&FBox)) {
    RandSeed = FDemoSeed;
    if (FDemoClock) SetTimeOfDaySource(FDemoClock);
    FHasVolume = CurrentWaveOut().GetVolume(IWaveOut::WaveMapper, FVolume);
  }
  ~TDemoTurn() {
    std::uint32_t Now = 0;
    if (FHasVolume && CurrentWaveOut().GetVolume(IWaveOut::WaveMapper, Now) && Now != FVolume)
      CurrentWaveOut().SetVolume(IWaveOut::WaveMapper, FVolume);
    SetMessageBoxHandler(FOuterBox);
    FDemoClock = TimeOfDaySource();
    SetTimeOfDaySource(std::move(FOuterClock));
    FDemoSeed = RandSeed;
    RandSeed = FOuterSeed;
  }
  TDemoTurn(const TDemoTurn&) = delete;
  TDemoTurn& operator=(const TDemoTurn&) = delete;

private:
  std::uint32_t& FDemoSeed;
  TTimeOfDaySource& FDemoClock;
  std::uint32_t FOuterSeed;
  TTimeOfDaySource FOuterClock;
  TQuietBox FBox;
  IMessageBox* FOuterBox;
  std::uint32_t FVolume = 0;
  bool FHasVolume = false;
};

}  // namespace

std::string DemoEntryName(int Index) { return "demo" + std::to_string(Index) + ".vrp"; }

int CountDemos(const TPakFileReadable& Pak) {
  int Count = 0;
  try {
    while (Pak.GetStream(DemoEntryName(Count + 1))) ++Count;
  } catch (const std::exception&) {
  }
  return Count;
}

struct TDemo::TSession {
  TSession(const TPakFileReadable& Pak, TScreen& Screen, std::string TheFolder)
      : Folder(std::move(TheFolder)), Parts(Display, Folder, Pak), Form(Parts, Window, Screen, Timers) {}
  ~TSession() {
    // The player hands the clock back; the window then frees its parts.
    Player.reset();
    Form.FormDestroy();
    RemoveReplayFolder(Folder);
  }
  std::string Folder;
  TFakeDisplay Display;
  // The replay brings every tick; this clock never moves.
  TManualClock Clock;
  TTimerScheduler Timers{Clock};
  THeadlessWindowControl Window;
  TDemoParts Parts;
  TMainForm Form;
  std::unique_ptr<TReplayPlayer> Player;
  std::unique_ptr<TFastImageBuffer> Label;
};

TDemo::TDemo(TReplay Replay, const TPakFileReadable& Pak, TScreen& Screen)
    : FReplay(std::move(Replay)), FPak(Pak), FScreen(Screen) {}

TDemo::~TDemo() {
  if (!FSession) return;
  TDemoTurn Turn(FSeed, FClock);
  FSession.reset();
}

std::uint32_t TDemo::ChecksCompared() const {
  return FSession && FSession->Player ? FSession->Player->ChecksCompared() : 0;
}

const TMainForm* TDemo::Form() const { return FSession ? &FSession->Form : nullptr; }

bool TDemo::Stop(const std::string& Problem) {
  FOver = true;
  if (FProblem.empty() && !Problem.empty()) {
    FProblem = Problem;
    // No box for the player; a line for whoever looks into it.
    std::fprintf(stderr, "vyrn: the demo stopped: %s\n", Problem.c_str());
  }
  return false;
}

bool TDemo::Start() {
  if (FSession || FOver) return false;
  const std::string Folder = MakeReplayFolder();
  if (Folder.empty()) return Stop("no temporary folder for the demo's settings");
  TDemoTurn Turn(FSeed, FClock);
  try {
    FSession = std::make_unique<TSession>(FPak, FScreen, Folder);
    TSession& S = *FSession;
    S.Player = std::make_unique<TReplayPlayer>(FReplay, S.Form);
    if (!S.Player->PrepareFolder(Folder) || !S.Player->Start()) return Stop(S.Player->Problem());
    // The recording's settings, but the player's silence: neither is part
    // of what the recording checks.
    S.Form.Config()->MusicOff = FMusicOff;
    S.Form.Config()->SoundOff = FSoundOff;
    // The splash and the menu of the recording are not shown: on to its game.
    while (!S.Form.Game())
      if (!S.Player->Step()) return Stop(S.Player->Desynced() ? S.Player->Problem() : "the demo holds no game");
    S.Label = std::make_unique<TFastImageBuffer>(&FScreen, LabelWidth, LabelHeight);
    S.Label->FillRect({0, 0, LabelWidth - 1, LabelHeight - 1}, RGB(0, 0, 0));
    S.Label->FrameRect({0, 0, LabelWidth - 1, LabelHeight - 1}, RGB(255, 200, 40));
    TGameText Text(FPak);
    Text.ShowText("DEMO", 100, 255);
    if (const TAlphaImage* Picture = Text.TextImage())
      Picture->Draw(*S.Label, (LabelWidth - Picture->Width()) / 2, (LabelHeight - Picture->Height()) / 2);
  } catch (const std::exception& E) {
    if (!FSession) RemoveReplayFolder(Folder);
    return Stop(E.what());
  }
  DrawLabel();
  return true;
}

bool TDemo::Tick() {
  if (!FSession || FOver) return false;
  TDemoTurn Turn(FSeed, FClock);
  TSession& S = *FSession;
  try {
    // Everything the recording holds up to and including its game's next tick.
    for (;;) {
      const TInputEvent* Next = S.Player->NextEvent();
      const bool GameTick = Next && Next->Kind == TInputKind::Timer && Next->Code == S.Form.GameTimer;
      if (!S.Player->Step()) return Stop(S.Player->Problem());
      // After the game the recording's menu would ask for a name.
      if (!S.Form.Game()) return Stop("");
      if (GameTick) break;
    }
  } catch (const std::exception& E) {
    return Stop(E.what());
  }
  ++FGameTicks;
  DrawLabel();
  return true;
}

void TDemo::DrawLabel() {
  // Drawn after every tick: the game repaints what it moves over.
  if (FSession && FSession->Label) FSession->Label->PaintTo(LabelX, LabelY);
}

std::unique_ptr<TDemo> MakeDemo(int Number, const TPakFileReadable& Pak, TScreen& Screen) {
  const int Count = CountDemos(Pak);
  if (Count == 0 || Number < 0) return nullptr;
  try {
    const auto Stream = Pak.GetStream(DemoEntryName(Number % Count + 1));
    if (!Stream) return nullptr;
    const auto& Bytes = Stream->Bytes();
    return std::make_unique<TDemo>(ParseReplay(Bytes.data(), Bytes.size()), Pak, Screen);
  } catch (const std::exception&) {
    return nullptr;
  }
}
