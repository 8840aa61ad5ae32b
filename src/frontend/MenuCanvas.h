// What every part of the menu draws with: the 800 x 600 frame buffer that is
// painted to the window, the background every erase copies back from, and
// the small font. Also the rounding the menu's animation values share.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "common/CommonTypes.h"
#include "gfx/AlphaImage.h"
#include "gfx/FastImaging.h"

class TPakFileReadable;
class TScreen;

// Loads one picture of the archive by name; a missing or damaged one comes
// back empty and draws as nothing.
using TMenuPictureLoader = std::function<TAlphaImage(const std::string& Name)>;

// Single-precision values are stepped in extended precision and stored back,
// as every "rounded" value of the game is computed.
inline float MenuSingle(long double Value) { return static_cast<float>(Value); }
inline std::int32_t MenuRound(long double Value) { return static_cast<std::int32_t>(RoundHalfEven(Value)); }

class TMenuCanvas {
public:
  static constexpr int GlyphCount = 54;

  explicit TMenuCanvas(TScreen& DC);

  // Cuts the 54 glyphs of the small font out of Chars ("small_chars.png").
  void CutGlyphs(const TAlphaImage& Chars);
  // "menu_back.jpg" into the background and the frame buffer, with the grey
  // outline round the window.
  void LoadBackground(const TPakFileReadable& Pak, TScreen& DC);

  TFastImageBuffer& FrameBuffer() { return FFrameBuffer; }
  const TFastImageBuffer& FrameBuffer() const { return FFrameBuffer; }
  // Black and 800 x 600 until a picture is loaded.
  const TFastImageBuffer& Background() const;
  const TAlphaImage& CharImage(char Ch) const { return FGlyphs[static_cast<std::size_t>(GlyphIndex(Ch))]; }

  // Copies a rectangle of the background back into the frame buffer.
  void CopyBack(std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H);
  void DrawGlyph(char Ch, std::int32_t X, std::int32_t Y, std::int32_t Alpha);
  // 8 pixels a character.
  void DrawText(const std::string& Text, std::int32_t X, std::int32_t Y, std::int32_t Alpha);
  // The left edge of a picture centred on x = 400.
  static std::int32_t Left(const TAlphaImage& Image) { return 400 - Image.Width() / 2; }
  // The glyph of the small font for Ch (52 is the blank).
  static int GlyphIndex(char Ch);

private:
  TFastImageBuffer FFrameBuffer;
  // Empty until first needed: the picture usually comes first, and a
  // megabyte and a half of black made before it would only be thrown away.
  mutable TFastImageBuffer FBackground;
  std::array<TAlphaImage, GlyphCount> FGlyphs;
};
