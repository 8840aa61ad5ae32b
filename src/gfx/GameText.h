// The one short message shown in the middle of the playfield ("Game Over!",
// "Level complete!", item messages), set in the bitmap font of "chars.png":
// it holds at full strength for a number of draws, then fades out by 4
// percent a draw and clears itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "gfx/AlphaImage.h"

class TFastImageBuffer;
class TPakFileReadable;

class TGameText {
public:
  // Side of a glyph and of every character cell.
  static constexpr std::int32_t CellSize = 18;
  static constexpr std::int32_t GlyphCount = 42;
  static constexpr const char* GlyphSheetName = "chars.png";
  // Characters of a message that are set; the rest is dropped. Messages are a
  // few dozen characters and 256 cells are far wider than any screen, so a
  // runaway string costs a bounded picture instead of memory without end.
  static constexpr std::size_t MaxTextLength = 256;

  // Loads the glyph sheet. A missing "chars.png" leaves every cell blank;
  // one that cannot be decoded throws EImageDecodeError.
  explicit TGameText(const TPakFileReadable& Pak);
  // Sets text with the glyph sheet given; a 0 x 0 sheet leaves every cell
  // blank.
  explicit TGameText(TAlphaImage GlyphSheet) : FGlyphs(std::move(GlyphSheet)) {}

  // Glyph number of a character after lower-casing: a..z 0..25, 0..9 26..35,
  // then . , - ! : and the double quotation mark as 36..41; -1 for every
  // other character (a blank cell).
  static std::int32_t GlyphIndex(char Ch);
  // Whether every character of Text has a glyph or is a space: the text
  // shows whole, with no silent gaps.
  static bool CanShow(const std::string& Text);

  // Text (its first MaxTextLength characters) set in cells, one glyph each;
  // characters without a glyph leave their cell transparent.
  TAlphaImage Render(const std::string& Text) const;

  // Replaces the message (its first MaxTextLength characters). Opacity is a
  // percentage (the game passes 100 or 70), HoldTicks the number of draws
  // before the fade starts.
  void ShowText(const std::string& Text, std::uint8_t Opacity, std::uint8_t HoldTicks);
  // One tick: advances the hold or the fade and draws the message centred
  // (shifted 18 pixels right), or clears a message that has faded out.
  void Draw(TFastImageBuffer& Buffer);
  void Clear();
  bool IsIdle() const { return FTextImage == nullptr; }
  // Size of the current text picture; 0 when idle.
  std::int32_t TextWidth() const { return FTextImage ? FTextImage->Width() : 0; }
  std::int32_t TextHeight() const { return FTextImage ? FTextImage->Height() : 0; }

  std::uint8_t HoldTicks() const { return FHoldTicks; }
  std::uint8_t Opacity() const { return FOpacity; }
  const TAlphaImage& GlyphSheet() const { return FGlyphs; }
  // The rendered message; nullptr when idle.
  const TAlphaImage* TextImage() const { return FTextImage.get(); }

private:
  std::uint8_t FHoldTicks = 0;
  std::uint8_t FOpacity = 0;
  TAlphaImage FGlyphs;
  std::unique_ptr<TAlphaImage> FTextImage;
};
