// The play area's static cloud shading: a shade of 0..100 for every pixel
// from -50 to 649 in both directions, which darkens the board and every
// sprite drawn over it by the factor (255 - shade) / 255.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

class TAlphaImage;
class TFastImageBuffer;

class TShadowMask {
public:
  // Side of the stored square and the margin left of and above the play
  // area that it covers.
  static constexpr std::int32_t Size = 700;
  static constexpr std::int32_t Margin = 50;
  static constexpr std::int32_t MaxShade = 100;

  // The seeds of the 19 cloud patterns.
  static constexpr std::array<std::uint32_t, 19> ShadeSeeds = {2,  11, 12, 14, 15, 17, 19, 20, 22, 23,
                                                                24, 25, 28, 48, 49, 50, 53, 54, 57};
  static constexpr std::int32_t PatternCount = static_cast<std::int32_t>(ShadeSeeds.size());

  // A pattern drawn from the program-wide generator (Random(19)).
  TShadowMask();
  // Pattern PatternIndex (0..18; other values are taken modulo 19), as a
  // level that drew that index would get it.
  explicit TShadowMask(std::int32_t PatternIndex);

  // Both constructors take the generator over for the cloud field and leave
  // it re-seeded from the clock, so that what the game draws afterwards does
  // not depend on the pattern.

  std::int32_t PatternIndex() const { return FPatternIndex; }

  // Shade of pixel (X, Y); no range test: callers stay within -50..649.
  std::uint8_t GetShade(std::int32_t X, std::int32_t Y) const {
    return FShade[static_cast<std::size_t>(X + Margin) * Size + static_cast<std::size_t>(Y + Margin)];
  }
  // True when (X, Y) lies within the covered -50..649 square.
  static constexpr bool Covers(std::int32_t X, std::int32_t Y) {
    return X >= -Margin && X < Size - Margin && Y >= -Margin && Y < Size - Margin;
  }
  // The shades of pixel column X (-50..649), Size bytes from y = -50 down;
  // the shade of (X, Y) is Column(X)[Y + Margin].
  const std::uint8_t* Column(std::int32_t X) const {
    return FShade.data() + static_cast<std::size_t>(X + Margin) * Size;
  }

private:
  void Build(std::int32_t PatternIndex);

  std::int32_t FPatternIndex = 0;
  std::vector<std::uint8_t> FShade;  // Size columns of Size shades
};

// The actors' sprite blend: draws Image with its top-left corner at (Left,
// Top) of Buffer. Each colour channel C of an image pixel is first shaded by
// the mask at its buffer position, C' = Round(C * (255 - S) / 255); the
// pixel's alpha A becomes A' = Round(A * FadeAlpha / 255) (FadeAlpha held to
// 0..255); the buffer channel D becomes Round(D * (255 - A') / 255 + C' * A'
// / 255). Pixels outside the buffer are left out; a buffer pixel outside the
// mask's square counts as unshaded.
void DrawShadedSprite(TFastImageBuffer& Buffer, const TAlphaImage& Image, std::int32_t Left, std::int32_t Top,
                      const TShadowMask& Mask, std::int32_t FadeAlpha = 255);
