// One level of the running game.
#pragma once

#include <cstdint>

// So far only the claim bookkeeping; the board, background, shade mask,
// enemies, item and time bonus join this class when the level is built
// around it.
class TLevel {
public:
  std::int32_t ClaimedCells = 0;  // cells claimed in this level
  std::int32_t Number = 1;        // level number 1..29
  bool Completed = false;

  // The claimed share relative to this level's target, 100 at the target
  // (it may exceed 100 with the last claim). Sets Completed once it reaches
  // 100; Completed then stays set.
  float ClaimedPercent();
};
