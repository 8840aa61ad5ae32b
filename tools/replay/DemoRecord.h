// The menu's demos, recorded at build time by the game being built: the bot
// plays each one from the menu of a fresh session on the archive, through
// the same recorder as `vyrn --record`, so every demo replays on the rules
// it was made with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TDemoPlan {
  int Level;             // 1, or a start level the level word reaches (2..28)
  std::uint32_t Seed;    // the clock's reads and the bot's own generator
  int GameTicks;         // ticks of play before the recording ends
};

// demo1.vrp, demo2.vrp, ... in this order.
const std::vector<TDemoPlan>& DemoPlans();

// The replay file's bytes. Throws std::runtime_error when the session cannot
// be recorded.
std::vector<std::uint8_t> RecordDemo(const std::string& PakFile, const TDemoPlan& Plan);
