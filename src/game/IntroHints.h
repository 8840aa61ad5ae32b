// A few lines of advice over the playfield during the level intro of a
// player's first games: how to cut, how to claim, what the panel's 100 %
// means and how to pause. Pictures only: the hints read no input, take no
// random numbers and are drawn over a copy of the play area, so a game
// plays the same with them or without them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/CommonTypes.h"
#include "gfx/AlphaImage.h"

class TFastImageBuffer;
class TGameText;

class TIntroHints {
public:
  // Widest line in characters: 30 cells of 18 pixels and the box's padding
  // stay inside the field's border.
  static constexpr std::size_t MaxLineLength = 30;
  // Ticks of the fade once the intro is over.
  static constexpr std::int32_t FadeTicks = 20;
  // Weight of the dark box behind the lines at full strength.
  static constexpr std::int32_t BoxAlpha = 170;
  // Top of the box: below the level title in the middle of the field.
  static constexpr std::int32_t BoxTop = 298;

  // The hints for a game whose players draw with DrawKeys (one key each,
  // player 1 first), wrapped to MaxLineLength. An empty string is a gap
  // between two hints. A key whose name the font cannot show is called the
  // draw key.
  static std::vector<std::string> Lines(const std::vector<std::uint16_t>& DrawKeys);
  // Words of Text on lines of at most Width characters; a longer word stands
  // on a line of its own.
  static std::vector<std::string> Wrap(const std::string& Text, std::size_t Width);

  // Sets Lines in Text's font, centred in a field FieldWidth pixels wide.
  TIntroHints(const TGameText& Text, const std::vector<std::string>& Lines, std::int32_t FieldWidth);

  // One tick of the game: full strength through the intro, then a short
  // fade.
  void Step(bool Intro);
  // 0 (gone) to 100.
  std::int32_t Opacity() const { return FOpacity; }
  bool Visible() const { return FOpacity > 0; }
  // The dark box, both edges inclusive.
  const TRect& Box() const { return FBox; }
  // The box and the lines over Buffer at the current strength.
  void Draw(TFastImageBuffer& Buffer) const;

private:
  struct TLine {
    TAlphaImage Picture;
    std::int32_t X = 0;
    std::int32_t Y = 0;
  };
  std::vector<TLine> FLines;
  TRect FBox{0, 0, -1, -1};
  std::int32_t FOpacity = 0;
};
