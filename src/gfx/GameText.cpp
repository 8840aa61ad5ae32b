#include "gfx/GameText.h"

#include <algorithm>

#include "gfx/FastImaging.h"
#include "pak/PakReader.h"

TGameText::TGameText(const TPakFileReadable& Pak) {
  if (std::unique_ptr<TMemoryStream> Stream = Pak.GetStream(GlyphSheetName)) FGlyphs.LoadFromStream(*Stream);
}

std::int32_t TGameText::GlyphIndex(char Ch) {
  if (Ch >= 'A' && Ch <= 'Z') Ch = static_cast<char>(Ch - 'A' + 'a');
  if (Ch >= 'a' && Ch <= 'z') return Ch - 'a';
  if (Ch >= '0' && Ch <= '9') return 26 + (Ch - '0');
  switch (Ch) {
    case '.': return 36;
    case ',': return 37;
    case '-': return 38;
    case '!': return 39;
    case ':': return 40;
    case '"': return 41;
    default: return -1;
  }
}

bool TGameText::CanShow(const std::string& Text) {
  return std::all_of(Text.begin(), Text.end(), [](char Ch) { return Ch == ' ' || GlyphIndex(Ch) >= 0; });
}

TAlphaImage TGameText::Render(const std::string& Text) const {
  const auto Cells = static_cast<std::int32_t>(std::min(Text.size(), MaxTextLength));
  TAlphaImage Picture(Cells * CellSize, CellSize);
  for (std::int32_t I = 0; I < Cells; ++I) {
    const std::int32_t Glyph = GlyphIndex(Text[static_cast<std::size_t>(I)]);
    if (Glyph < 0) continue;  // no glyph: the cell stays transparent
    Picture.CopyRect(I * CellSize, 0, FGlyphs, Glyph * CellSize, 0, CellSize, CellSize);
  }
  return Picture;
}

void TGameText::ShowText(const std::string& Text, std::uint8_t Opacity, std::uint8_t HoldTicks) {
  FOpacity = Opacity;
  FHoldTicks = HoldTicks;
  FTextImage = std::make_unique<TAlphaImage>(Render(Text));
}

void TGameText::Draw(TFastImageBuffer& Buffer) {
  if (FOpacity > 3 && FTextImage) {
    if (FHoldTicks > 0)
      --FHoldTicks;
    else
      FOpacity = static_cast<std::uint8_t>(FOpacity - 4);
    const std::int32_t X = Buffer.Width() / 2 - FTextImage->Width() / 2 + CellSize;
    const std::int32_t Y = Buffer.Height() / 2 - FTextImage->Height() / 2;
    // Percent to a weight of 0..255; above 100 percent the weight is held
    // at 255 by DrawAlpha.
    const std::int64_t Weight = RoundHalfEven(static_cast<long double>(FOpacity) * 2.55L);
    FTextImage->DrawAlpha(Buffer, X, Y, static_cast<std::int32_t>(Weight));
  } else {
    Clear();
  }
}

void TGameText::Clear() {
  FHoldTicks = 0;
  FOpacity = 0;
  FTextImage.reset();
}
