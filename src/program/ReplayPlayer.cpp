#include "program/ReplayPlayer.h"

#include <filesystem>
#include <fstream>

#include "app/Main.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"
#include "persist/Config.h"
#include "persist/HighScore.h"
#include "program/ReplaySession.h"

TReplayPlayer::TReplayPlayer(const TReplay& Replay, TMainForm& Form)
    : FReplay(Replay), FForm(Form), FOuterClock(TimeOfDaySource()) {
  FOtherBuild = Replay.BuildId != ReplayBuildId();
  SetTimeOfDaySource([this]() -> std::uint32_t {
    if (FWindowStarting) return 0;  // a game's replay has no record of the window's start
    const auto& Records = FReplay.Records;
    if (FCursor < Records.size() && Records.KindAt(FCursor) == TReplayRecordKind::Time) return Records[FCursor++].Value;
    FClockMissing = true;
    return 0;
  });
}

// A replay played inside a session (the menu's demo) hands the session's
// own clock back, so a recording of that session stays whole.
TReplayPlayer::~TReplayPlayer() { SetTimeOfDaySource(std::move(FOuterClock)); }

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
  const bool OneGame = FReplay.Start != TReplayStart::Session;
  FWindowStarting = OneGame;
  const bool Created = FForm.FormCreate();
  if (Created && OneGame) FForm.SkipToMenu();
  FWindowStarting = false;
  if (!Created) {
    Fail("the window could not start");
    return false;
  }
  if (OneGame) {
    // The generator as the game found it when it was recorded.
    RandSeed = FReplay.Seed;
    FForm.StartGameNow(FReplay.Start == TReplayStart::TwoPlayerGame);
    if (!FForm.Game()) Fail("the game could not start");
    else if (FClockMissing) Fail("the game read the clock more often than recorded while it started");
    return FProblem.empty();
  }
  if (FClockMissing) Fail("the game read the clock more often than recorded while the window started");
  else if (RandSeed != FReplay.Seed)
    Fail("the generator's seed is " + std::to_string(RandSeed) + " after the start, recorded " +
         std::to_string(FReplay.Seed));
  else if (FCursor < FReplay.Records.size() && FReplay.Records.KindAt(FCursor) == TReplayRecordKind::Time)
    Fail("the game read the clock less often than recorded while the window started");
  return FProblem.empty();
}

const TInputEvent* TReplayPlayer::NextEvent() const {
  std::size_t I = FCursor;
  while (I < FReplay.Records.size() && FReplay.Records.KindAt(I) == TReplayRecordKind::Check) ++I;
  if (I < FReplay.Records.size() && FReplay.Records.KindAt(I) == TReplayRecordKind::Event) {
    FNext = FReplay.Records[I].Event;
    return &FNext;
  }
  return nullptr;
}

bool TReplayPlayer::CompareChecks() {
  const auto& Records = FReplay.Records;
  while (FCursor < Records.size() && Records.KindAt(FCursor) == TReplayRecordKind::Check) {
    const TReplayRecord C = Records[FCursor++];
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
  const TReplayRecord R = Records[FCursor];
  if (R.Kind != TReplayRecordKind::Event) {
    Fail("the game read the clock less often than recorded before tick " + std::to_string(FTicks + 1));
    return false;
  }
  ++FCursor;
  if (R.Event.Kind == TInputKind::Timer && R.Event.Code != FForm.FocusMonitor && R.Event.Code != FForm.SplashScreenTimer &&
      R.Event.Code != FForm.MenuTimer && R.Event.Code != FForm.GameTimer && R.Event.Code != FForm.DemoTimer) {
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
