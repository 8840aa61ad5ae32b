#include "actors/ItemSpawn.h"

#include <algorithm>
#include <limits>

#include "actors/Player.h"
#include "board/MemBoard.h"
#include "common/CommonTypes.h"

bool SpawnChance(bool FrozenOrEnded, bool TimeBonusBelowZero, bool ItemOnField) {
  if (FrozenOrEnded) return false;
  if (Random(80) != 0) return false;
  return !TimeBonusBelowZero && !ItemOnField;
}

std::int64_t SpeedCapHundredths(std::int32_t LevelNumber) { return 35 * static_cast<std::int64_t>(LevelNumber) + 465; }

namespace {

// Speed * 100 is exact in extended precision (24 + 7 bits), so the cap
// comparison is exact as well.
bool BelowCap(const TPlayer& Player, std::int64_t CapHundredths) {
  return static_cast<long double>(Player.Speed) * 100 < static_cast<long double>(CapHundredths);
}

bool SpeedBelowTen(const TPlayer& Player) { return Player.Speed < 10; }

std::int32_t ClampToInt32(std::int64_t V) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(V, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TItemKind ChooseItemKind(std::int32_t LevelNumber, const TPlayer& Player1, const TPlayer* Player2) {
  const auto AnyScoreAtLeast = [&](std::int64_t Minimum) {
    return Player1.Score >= Minimum || (Player2 != nullptr && Player2->Score >= Minimum);
  };
  if (AnyScoreAtLeast(250000) && Random(80) == 0) return TItemKind::Dollar03;
  if (AnyScoreAtLeast(100000) && Random(40) == 0) return TItemKind::Dollar02;
  if (AnyScoreAtLeast(25000) && Random(20) == 0) return TItemKind::Dollar01;

  const std::int64_t Cap = SpeedCapHundredths(LevelNumber);
  if (BelowCap(Player1, Cap) && (Player2 == nullptr || BelowCap(*Player2, Cap)) && SpeedBelowTen(Player1) &&
      (Player2 == nullptr || SpeedBelowTen(*Player2))) {
    const TPlayer& Picked = Player2 != nullptr && Random(2) == 1 ? *Player2 : Player1;
    const std::int64_t Range = RoundHalfEven(static_cast<long double>(Picked.Speed) * 6);
    if (Random(ClampToInt32(Range)) == 0) return TItemKind::Speed;
  }

  const TPlayer& Needy = Player2 != nullptr && Player2->Lives <= Player1.Lives ? *Player2 : Player1;
  if (Player1.Lives <= 7 && (Player2 == nullptr || Player2->Lives <= 7)) {
    const std::int32_t Lives = std::max(Needy.Lives, 0);
    if (Random(Lives * 25 + 25) == 0 && Random(ClampToInt32(Needy.Score / 10000)) == 0) return TItemKind::Heart;
  }
  return TItemKind::None;
}

bool FindFreeSpot(const TMemBoard& Board, TPoint& Spot) {
  const auto Free = [&Board](std::int32_t X, std::int32_t Y) {
    return Board.Contains(X, Y) && Board.GetCell(X, Y) == CellFree;
  };
  for (std::int32_t Draw = 0; Draw < FreeSpotDraws; ++Draw) {
    Spot.X = Random(Board.Width);
    Spot.Y = Random(Board.Height);
    if (Free(Spot.X, Spot.Y) && Free(Spot.X - 10, Spot.Y - 10) && Free(Spot.X + 10, Spot.Y - 10) &&
        Free(Spot.X - 10, Spot.Y + 10) && Free(Spot.X + 10, Spot.Y + 10))
      return true;
  }
  return false;
}
