// The replay reader's entry, apart from the others: its fuzzing program
// links the replay format and nothing of the game.
#include <algorithm>
#include <cstdlib>

#include "FuzzTargets.h"
#include "program/ReplayFormat.h"

int FuzzReplay(const std::uint8_t* Data, std::size_t Size) {
  try {
    (void)ParseReplay(Data, Size);
  } catch (const TReplayError&) {
  }
  // Past the closing hash, which mutations rarely keep: what reads back must
  // write out to the same bytes but that hash.
  try {
    const TReplay R = ParseReplay(Data, Size, false);
    const auto Out = SerializeReplay(R);
    if (Out.size() != Size || !std::equal(Out.begin(), Out.end() - 4, Data)) std::abort();
  } catch (const TReplayError&) {
  }
  return 0;
}
