#include "game/LevelTable.h"

#include <algorithm>
#include <array>

namespace {

// Levels 15 to 28 replay the pictures of 1 to 14 with each theme's two
// enemies swapped, and get faster.
constexpr std::array<TLevelInfo, LevelCount> Levels = {{
    {"Simple 1", "back_simple01.jpg", "evil_simple01", 4.0f, 6.0f, 0.0f, 0},
    {"Simple 2", "back_simple02.jpg", "evil_simple02", 4.0f, 6.5f, 0.0f, 0},
    {"Space 1", "back_space01.jpg", "evil_space01", 4.5f, 7.0f, 0.0f, 1},
    {"Space 2", "back_space02.jpg", "evil_space02", 4.5f, 7.0f, 0.01f, 1},
    {"Cartoon 1", "back_cartoon02.jpg", "evil_cartoon02", 4.5f, 7.5f, 0.02f, 1},
    {"Cartoon 2", "back_cartoon01.jpg", "evil_cartoon01", 5.0f, 7.5f, 0.02f, 1},
    {"Mystic 1", "back_mystic01.jpg", "evil_mystic01", 4.5f, 9.5f, 0.025f, 1},
    {"Mystic 2", "back_mystic02.jpg", "evil_mystic02", 5.5f, 7.5f, 0.025f, 2},
    {"Horror 1", "back_horror01.jpg", "evil_horror01", 6.5f, 7.5f, 0.03f, 2},
    {"Horror 2", "back_horror02.jpg", "evil_horror02", 7.0f, 7.5f, 0.03f, 2},
    {"Insects 1", "back_insect01.jpg", "evil_insect01", 7.0f, 8.0f, 0.03f, 2},
    {"Insects 2", "back_insect02.jpg", "evil_insect02", 7.5f, 8.5f, 0.03f, 2},
    {"Heaven 1", "back_heaven02.jpg", "evil_heaven02", 7.5f, 8.0f, 0.035f, 3},
    {"Heaven 2", "back_heaven01.jpg", "evil_heaven01", 7.5f, 8.0f, 0.035f, 3},
    {"Simple 3", "back_simple01.jpg", "evil_simple02", 7.5f, 8.0f, 0.035f, 3},
    {"Simple 4", "back_simple02.jpg", "evil_simple01", 8.0f, 8.5f, 0.035f, 3},
    {"Space 3", "back_space01.jpg", "evil_space02", 8.0f, 9.0f, 0.04f, 3},
    {"Space 4", "back_space02.jpg", "evil_space01", 8.0f, 9.0f, 0.04f, 4},
    {"Cartoon 3", "back_cartoon02.jpg", "evil_cartoon01", 8.5f, 9.0f, 0.04f, 4},
    {"Cartoon 4", "back_cartoon01.jpg", "evil_cartoon02", 8.5f, 9.0f, 0.04f, 4},
    {"Mystic 3", "back_mystic01.jpg", "evil_mystic02", 9.0f, 9.5f, 0.045f, 4},
    {"Mystic 4", "back_mystic02.jpg", "evil_mystic01", 9.0f, 9.5f, 0.045f, 4},
    {"Horror 3", "back_horror01.jpg", "evil_horror02", 9.0f, 10.0f, 0.045f, 5},
    {"Horror 4", "back_horror02.jpg", "evil_horror01", 9.0f, 10.0f, 0.05f, 5},
    {"Insects 3", "back_insect01.jpg", "evil_insect02", 9.0f, 10.0f, 0.05f, 5},
    {"Insects 4", "back_insect02.jpg", "evil_insect01", 9.0f, 10.0f, 0.055f, 5},
    {"Heaven 3", "back_heaven02.jpg", "evil_heaven01", 9.5f, 10.0f, 0.06f, 5},
    {"Heaven 4", "back_heaven01.jpg", "evil_heaven02", 9.5f, 10.0f, 0.07f, 5},
    {"End Game", "back_end01.jpg", "evil_end01", 10.0f, 10.0f, 0.08f, 6},
}};

}  // namespace

const TLevelInfo& LevelInfo(std::int32_t Number) {
  return Levels[static_cast<std::size_t>(std::clamp(Number, 1, LevelCount) - 1)];
}

std::string LevelTitle(std::int32_t Number, const std::string& Name) {
  return "Level " + std::to_string(Number) + " - \"" + Name + "\"";
}
