// A player that is not clever but busy: it runs its markers along the
// edges, cuts short trails of random shape back to an edge, and pauses and
// resumes now and then. It draws on a generator of its own, so the game's
// generator sees exactly what a human game would make it see.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/InputEvent.h"

class TGameData;
class TMainForm;

class TBot {
public:
  explicit TBot(std::uint32_t Seed) : FState(Seed * 2654435761u + 12345u) {}
  // The key events to send before the next game tick.
  void Plan(const TMainForm& Form, const TGameData& Game, std::vector<TInputEvent>& Out);

private:
  struct TMarker {
    int Dir = -1;  // 0 up, 1 down, 2 left, 3 right; -1 none held
    bool Draw = false;
    int Phase = 0;
    int Left = 0;
    int FirstDir = 0;
    int FirstLength = 0;
  };
  std::uint32_t Next(std::uint32_t N);
  void Steer(TMarker& M, const std::array<std::uint16_t, 5>& Keys, std::vector<TInputEvent>& Out);

  std::uint32_t FState;
  std::array<TMarker, 2> FMarkers{};
  int FPausedFor = -1;  // ticks of our own pause still to wait, -1: not paused by us
};

// What must hold after every tick of any game; the first broken rule is
// returned as a sentence, empty while all is well.
class TGameInvariants {
public:
  // ScanBoard: also look at every cell (the costly part).
  std::string Check(const TGameData& Game, bool ScanBoard);

private:
  std::int32_t FLevel = -1;
  std::int32_t FClaimed = 0;
  std::vector<std::int64_t> FScores;
};
