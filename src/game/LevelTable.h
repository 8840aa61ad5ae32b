// The 29 levels of a game: names, pictures and the big enemy's speeds.
//
// Plain data with no dependencies, so the asset tools can show the levels
// from the same table the game plays.
#pragma once

#include <cstdint>
#include <string>

struct TLevelInfo {
  const char* Name;          // shown in the level title
  const char* Background;    // JPEG entry of the archive
  const char* EvilImageSet;  // the big enemy's image set
  float NormalMaxSpeed;      // pixels per tick
  float RushMaxSpeed;        // pixels per tick
  float Attraction;          // pull towards the target player, per tick
  std::int32_t SmallEvilSet; // which small enemies join the big one
};

inline constexpr std::int32_t LevelCount = 29;

// Row of level Number (1..LevelCount). Numbers outside the range give the
// nearest valid row, so a bad start level cannot read past the table.
const TLevelInfo& LevelInfo(std::int32_t Number);
// The level title: Level 3 - "Space 1".
std::string LevelTitle(std::int32_t Number, const std::string& Name);
