// Playing a replay back into the main window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/TimeOfDay.h"
#include "platform/InputEvent.h"
#include "program/ReplayFormat.h"

class TMainForm;

// Feeds a replay into the window: its time reads from the recording, its
// events in order, and its checks compared as they come.
class TReplayPlayer {
public:
  TReplayPlayer(const TReplay& Replay, TMainForm& Form);
  ~TReplayPlayer();
  TReplayPlayer(const TReplayPlayer&) = delete;
  TReplayPlayer& operator=(const TReplayPlayer&) = delete;

  // Writes the recorded config.dat and highscores.dat into Folder, where the
  // window's parts will read them. False (with Problem) when it cannot.
  bool PrepareFolder(const std::string& Folder);
  // FormCreate with the recorded time reads; false when the window could
  // not start or started differently. A replay of one game then goes
  // straight to that game's start.
  bool Start();
  // Dispatches the next event (and compares the checks before it). False
  // once the replay is over or has parted from the game: see Problem.
  bool Step();
  // The next event, if the next thing in the replay is one; valid until the
  // next call.
  const TInputEvent* NextEvent() const;

  bool Finished() const { return FFinished; }
  bool Desynced() const { return !FProblem.empty(); }
  const std::string& Problem() const { return FProblem; }
  std::uint32_t TimerTicks() const { return FTicks; }
  std::uint32_t ChecksCompared() const { return FChecks; }
  bool OtherBuild() const { return FOtherBuild; }
  const TMainForm& Form() const { return FForm; }

private:
  void Fail(const std::string& What);
  bool CompareChecks();

  const TReplay& FReplay;
  TMainForm& FForm;
  std::size_t FCursor = 0;
  std::uint32_t FTicks = 0;
  std::uint32_t FChecks = 0;
  bool FFinished = false;
  bool FOtherBuild = false;
  bool FClockMissing = false;
  bool FWindowStarting = false;
  std::string FProblem;
  mutable TInputEvent FNext{};  // what NextEvent points at
  TTimeOfDaySource FOuterClock;
};
