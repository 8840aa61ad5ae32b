#include "frontend/MenuCanvas.h"

#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"

TMenuCanvas::TMenuCanvas(TScreen& DC) : FFrameBuffer(&DC, 800, 600), FBackground(nullptr, 0, 0) {}

const TFastImageBuffer& TMenuCanvas::Background() const {
  if (FBackground.Width() == 0 || FBackground.Height() == 0) FBackground = TFastImageBuffer(nullptr, 800, 600);
  return FBackground;
}

int TMenuCanvas::GlyphIndex(char Ch) {
  if (Ch >= 'A' && Ch <= 'Z') return Ch - 'A';
  if (Ch >= 'a' && Ch <= 'z') return Ch - 'a';
  if (Ch >= '0' && Ch <= '9') return 26 + (Ch - '0');
  static constexpr char Marks[] = ",.-_[]|'*:<>;!\\/";
  for (int I = 0; Marks[I] != 0; ++I)
    if (Marks[I] == Ch) return 36 + I;
  if (Ch == '+') return 53;
  return 52;
}

void TMenuCanvas::CutGlyphs(const TAlphaImage& Chars) {
  for (int I = 0; I < GlyphCount; ++I) {
    TAlphaImage& Glyph = FGlyphs[static_cast<std::size_t>(I)];
    Glyph = TAlphaImage(8, 8);
    Glyph.CopyRect(0, 0, Chars, 8 * I, 0, 8, 8);
  }
}

void TMenuCanvas::LoadBackground(const TPakFileReadable& Pak, TScreen& DC) {
  LoadJpeg(Pak, "menu_back.jpg", FBackground);  // else a black background
  FFrameBuffer.CopyFrom(Background());
  FFrameBuffer.DC = &DC;
  if (FFrameBuffer.Width() != 800 || FFrameBuffer.Height() != 600) {
    // The window always shows 800 x 600; a background of another size only
    // covers part of it.
    TFastImageBuffer Full(&DC, 800, 600);
    Full.CopyRect(0, 0, FBackground, 0, 0, FBackground.Width(), FBackground.Height());
    FFrameBuffer = std::move(Full);
  }
  FFrameBuffer.FrameRect(TRect{0, 0, 799, 599}, RGB(160, 160, 160));
}

void TMenuCanvas::CopyBack(std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H) {
  FFrameBuffer.CopyRect(X, Y, Background(), X, Y, W, H);
}

void TMenuCanvas::DrawGlyph(char Ch, std::int32_t X, std::int32_t Y, std::int32_t Alpha) {
  CharImage(Ch).DrawAlpha(FFrameBuffer, X, Y, Alpha);
}

void TMenuCanvas::DrawText(const std::string& Text, std::int32_t X, std::int32_t Y, std::int32_t Alpha) {
  for (std::size_t I = 0; I < Text.size(); ++I) DrawGlyph(Text[I], X + 8 * static_cast<std::int32_t>(I), Y, Alpha);
}
