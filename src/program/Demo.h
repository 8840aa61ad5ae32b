// The menu's demo: a replay from the archive played into a window of its own
// (headless display, timers and window control, the settings and table the
// replay carries in a temporary folder) that draws into the real screen,
// one tick of its game per tick of the real window's demo timer, with a
// "DEMO" label over the picture. The player's files are never touched.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/FormParts.h"
#include "common/TimeOfDay.h"
#include "program/ReplayFormat.h"

class TMainForm;

// The archive's demos are demo1.vrp, demo2.vrp, ... up to the first missing.
std::string DemoEntryName(int Index);
int CountDemos(const TPakFileReadable& Pak);

class TDemo : public IDemo {
public:
  // Where the label sits: the top middle of the playfield.
  static constexpr int LabelX = 256, LabelY = 8, LabelWidth = 88, LabelHeight = 26;

  // Pak and Screen must outlive the demo.
  TDemo(TReplay Replay, const TPakFileReadable& Pak, TScreen& Screen);
  ~TDemo() override;
  TDemo(const TDemo&) = delete;
  TDemo& operator=(const TDemo&) = delete;

  // Starts the recorded session and plays it on, without showing it, up to
  // the start of its game.
  bool Start() override;
  bool Tick() override;
  // The player's music and sound switches, before Start.
  void SetSilence(bool MusicOff, bool SoundOff) {
    FMusicOff = MusicOff;
    FSoundOff = SoundOff;
  }

  // Why the demo ended early (empty when it played out or still plays).
  const std::string& Problem() const { return FProblem; }
  // The game ticks played since the game started.
  std::uint32_t GameTicks() const { return FGameTicks; }
  std::uint32_t ChecksCompared() const;
  // The demo's own window; nullptr before Start.
  const TMainForm* Form() const;

private:
  struct TSession;
  bool Stop(const std::string& Problem);
  void DrawLabel();

  TReplay FReplay;
  const TPakFileReadable& FPak;
  TScreen& FScreen;
  std::unique_ptr<TSession> FSession;
  // The demo's generator and clock while the window's own run.
  std::uint32_t FSeed = 0;
  TTimeOfDaySource FClock;
  std::uint32_t FGameTicks = 0;
  bool FOver = false;
  bool FMusicOff = false;
  bool FSoundOff = false;
  std::string FProblem;
};

// The demo numbered Number, going round those the archive holds; nothing
// when it holds none or the chosen one cannot be read.
std::unique_ptr<TDemo> MakeDemo(int Number, const TPakFileReadable& Pak, TScreen& Screen);
