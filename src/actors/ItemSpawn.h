// When and where the running game places an item: the per-tick chance, the
// kind by the players' scores, speeds and lives, and the free-spot search.
// Every random draw happens in the order and number a replay expects, so
// the conditions are tested in a fixed order and stop at the first that
// fails.
#pragma once

#include <cstdint>

#include "actors/ActorSprite.h"

class TMemBoard;
class TPlayer;

enum class TItemKind { None, Speed, Dollar01, Dollar02, Dollar03, Heart };

// Whether a spawn is tried in this tick: never while frozen or ended (no
// draw); otherwise Random(80) must be 0, then the time bonus must not have
// fallen below 0 and no item may be on the field.
bool SpawnChance(bool FrozenOrEnded, bool TimeBonusBelowZero, bool ItemOnField);

// The speed cap of a level, 0.35 * LevelNumber + 4.65, times 100 and exact
// (35 * LevelNumber + 465), so that a speed equal to the cap is never below
// it through a rounding error.
std::int64_t SpeedCapHundredths(std::int32_t LevelNumber);

// The first rule that holds: 10,000 points, 6,000, 3,000, speed, heart, or
// None. Player2 is nullptr in a one-player game.
TItemKind ChooseItemKind(std::int32_t LevelNumber, const TPlayer& Player1, const TPlayer* Player2);

// How often the free-spot search draws before it gives up.
inline constexpr std::int32_t FreeSpotDraws = 101;

// Draws spots (X = Random(width), Y = Random(height)) until the cell and the
// four cells 10 pixels away diagonally are all free, at most 101 times.
// Spot is the last drawn spot; the result tells whether it is free. Cells
// outside the board count as not free.
bool FindFreeSpot(const TMemBoard& Board, TPoint& Spot);
