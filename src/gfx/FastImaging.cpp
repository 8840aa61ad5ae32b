#include "gfx/FastImaging.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "gfx/ImageErrors.h"
#include "gfx/JpegDecode.h"
#include "pak/MemoryStream.h"
#include "platform/Screen.h"

// ---------------------------------------------------------------- TFastBMP

void TFastBMP::SetSize(std::int32_t Width, std::int32_t Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == FWidth && Height == FHeight) return;
  const std::int64_t Stride = ((static_cast<std::int64_t>(Width) * 24 + 31) / 32) * 4;
  const std::int64_t Total = Stride * Height;
  if (Total > INT32_MAX) throw std::length_error("bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) + " is too large");
  std::vector<std::uint8_t> Bits(static_cast<std::size_t>(Total), 0);
  std::vector<std::uint8_t*> Rows(static_cast<std::size_t>(Height));
  for (std::int32_t i = 0; i < Height; ++i) Rows[static_cast<std::size_t>(i)] = Bits.data() + i * Stride;
  FBits = std::move(Bits);
  FRows = std::move(Rows);
  FWidth = Width;
  FHeight = Height;
  FStride = static_cast<std::int32_t>(Stride);
  FRowPadding = Width % 4;
  FTotalSize = static_cast<std::int32_t>(Total);
}

void TFastBMP::CopyRect(TFastBMP& Dest, std::int64_t X, std::int64_t Y, std::int64_t W, std::int64_t H,
                        std::int64_t SrcX, std::int64_t SrcY) const {
  // 64-bit so that no combination of 32-bit arguments can overflow.
  std::int64_t x = X, y = Y, w = W, h = H, sx = SrcX, sy = SrcY;
  if (x < 0) { sx -= x; w += x; x = 0; }
  if (y < 0) { sy -= y; h += y; y = 0; }
  if (sx < 0) { x -= sx; w += sx; sx = 0; }
  if (sy < 0) { y -= sy; h += sy; sy = 0; }
  if (sx > FWidth - 1 || sy > FHeight - 1) return;
  w = std::min(w, static_cast<std::int64_t>(FWidth) - sx);
  h = std::min(h, static_cast<std::int64_t>(FHeight) - sy);
  w = std::min(w, static_cast<std::int64_t>(Dest.FWidth) - x);
  h = std::min(h, static_cast<std::int64_t>(Dest.FHeight) - y);
  if (h < 1 || w < 1) return;
  const std::size_t Bytes = static_cast<std::size_t>(w) * 3;
  for (std::int64_t i = 0; i < h; ++i)
    std::memmove(Dest.Row(static_cast<std::int32_t>(y + i)) + 3 * x, Row(static_cast<std::int32_t>(sy + i)) + 3 * sx, Bytes);
}

void TFastBMP::CopyFrom(const TFastBMP& Source) {
  if (&Source == this) return;
  SetSize(Source.FWidth, Source.FHeight);
  if (FTotalSize > 0) std::memcpy(FBits.data(), Source.FBits.data(), static_cast<std::size_t>(FTotalSize));
}

void TFastBMP::Draw(TScreen& Screen, std::int32_t X, std::int32_t Y) const {
  DrawSpans(Screen, X, Y, nullptr, nullptr, 0, FHeight - 1);
}

void TFastBMP::DrawSpans(TScreen& Screen, std::int32_t X, std::int32_t Y, const std::int32_t* Lefts,
                         const std::int32_t* Rights, std::int32_t FirstLine, std::int32_t LastLine) const {
  const std::int64_t Left = std::max<std::int64_t>(X, 0);
  const std::int64_t Right = std::min<std::int64_t>(static_cast<std::int64_t>(X) + FWidth, Screen.Width());
  const std::int64_t Top = std::max<std::int64_t>(static_cast<std::int64_t>(Y) + std::max(FirstLine, 0), 0);
  const std::int64_t Bottom = std::min<std::int64_t>(
      static_cast<std::int64_t>(Y) + std::min<std::int64_t>(static_cast<std::int64_t>(LastLine) + 1, FHeight),
      Screen.Height());
  if (Left >= Right || Top >= Bottom) return;
  // Lines that changed, gathered into bands of nearby lines; a band is
  // marked as one box spanning its changed columns.
  constexpr std::int64_t BandGap = 8;
  std::int64_t BandTop = -1, BandBottom = -1, BandLeft = 0, BandRight = 0;
  const auto MarkBand = [&] {
    if (BandTop >= 0)
      Screen.MarkDirty(static_cast<int>(BandLeft), static_cast<int>(BandTop), static_cast<int>(BandRight - BandLeft),
                       static_cast<int>(BandBottom - BandTop));
  };
  for (std::int64_t SY = Top; SY < Bottom; ++SY) {
    const std::int64_t PictureLine = SY - Y;
    // Screen columns [SpanLeft, SpanRight) of this line.
    std::int64_t SpanLeft = Left, SpanRight = Right;
    if (Lefts) {
      SpanLeft = std::max<std::int64_t>(SpanLeft, static_cast<std::int64_t>(X) + Lefts[PictureLine]);
      SpanRight = std::min<std::int64_t>(SpanRight, static_cast<std::int64_t>(X) + Rights[PictureLine]);
      if (SpanLeft >= SpanRight) continue;
    }
    const std::size_t Bytes = static_cast<std::size_t>(SpanRight - SpanLeft) * 3;
    const std::uint8_t* From = Row(static_cast<std::int32_t>(FHeight - 1 - PictureLine)) + 3 * (SpanLeft - X);
    std::uint8_t* To = Screen.Row(static_cast<int>(SY)) + 3 * SpanLeft;
    if (std::memcmp(To, From, Bytes) == 0) continue;
    std::size_t First = 0, Last = Bytes;
    while (To[First] == From[First]) ++First;
    while (To[Last - 1] == From[Last - 1]) --Last;
    std::memcpy(To + First, From + First, Last - First);
    const std::int64_t PixelFirst = SpanLeft + static_cast<std::int64_t>(First / 3);
    const std::int64_t PixelEnd = SpanLeft + static_cast<std::int64_t>((Last + 2) / 3);
    if (BandTop >= 0 && SY - BandBottom <= BandGap) {
      BandBottom = SY + 1;
      BandLeft = std::min(BandLeft, PixelFirst);
      BandRight = std::max(BandRight, PixelEnd);
    } else {
      MarkBand();
      BandTop = SY;
      BandBottom = SY + 1;
      BandLeft = PixelFirst;
      BandRight = PixelEnd;
    }
  }
  MarkBand();
}

// -------------------------------------------------------- TFastImageBuffer

TFastImageBuffer::TFastImageBuffer(TScreen* DC, std::int32_t Width, std::int32_t Height) : DC(DC) {
  FBitmap.SetSize(Width, Height);
}

void TFastImageBuffer::CopyFrom(const TFastImageBuffer& Source) {
  MarkAll();
  FBitmap.CopyFrom(Source.FBitmap);
}

void TFastImageBuffer::SetPaintsAlone(bool Value) {
  FPaintsAlone = Value;
  MarkAll();
}

void TFastImageBuffer::MarkChanged(const TRect& Box) {
  if (!FPaintsAlone || FAllChanged) return;
  const std::int32_t Top = std::max(std::min(Box.Top, Box.Bottom), 0);
  const std::int32_t Bottom = std::min(std::max(Box.Top, Box.Bottom), Height() - 1);
  for (std::int32_t Y = Top; Y <= Bottom; ++Y) MarkLineClipped(Y, Box.Left, Box.Right);
}

void TFastImageBuffer::MarkLineClipped(std::int32_t Y, std::int32_t Left, std::int32_t Right) {
  const std::int32_t L = std::max(Left, 0);
  const std::int32_t R = std::min(Right, Width() - 1) + 1;
  if (L >= R) return;
  const auto I = static_cast<std::size_t>(Y);
  if (FFirstChanged > FLastChanged) {
    FFirstChanged = FLastChanged = Y;
  } else {
    FFirstChanged = std::min(FFirstChanged, Y);
    FLastChanged = std::max(FLastChanged, Y);
  }
  if (FChangedLeft[I] >= FChangedRight[I]) {
    FChangedLeft[I] = L;
    FChangedRight[I] = R;
  } else {
    FChangedLeft[I] = std::min(FChangedLeft[I], L);
    FChangedRight[I] = std::max(FChangedRight[I], R);
  }
}

void TFastImageBuffer::ForgetChanges() const {
  FAllChanged = false;
  // Only the lines marked since the last paint hold spans.
  const auto Lines = static_cast<std::size_t>(Height());
  if (FChangedLeft.size() != Lines) {
    FChangedLeft.assign(Lines, 0);
    FChangedRight.assign(Lines, 0);
  } else {
    for (std::int32_t Y = FFirstChanged; Y <= FLastChanged; ++Y)
      FChangedLeft[static_cast<std::size_t>(Y)] = FChangedRight[static_cast<std::size_t>(Y)] = 0;
  }
  FFirstChanged = 0;
  FLastChanged = -1;
}

void TFastImageBuffer::CopyRect(std::int32_t DestX, std::int32_t DestY, const TFastImageBuffer& Source,
                                std::int32_t SrcX, std::int32_t SrcY, std::int32_t Width, std::int32_t Height) {
  MarkChanged({DestX, DestY, DestX + Width - 1, DestY + Height - 1});
  // Top-down to memory rows: the block's bottom line is the first memory row.
  const std::int64_t DestRow = static_cast<std::int64_t>(this->Height()) - (static_cast<std::int64_t>(DestY) + Height);
  const std::int64_t SrcRow = static_cast<std::int64_t>(Source.Height()) - (static_cast<std::int64_t>(SrcY) + Height);
  Source.FBitmap.CopyRect(FBitmap, DestX, DestRow, Width, Height, SrcX, SrcRow);
}

void TFastImageBuffer::FillRect(const TRect& Rect, TColorValue Color) {
  const std::int32_t Top = std::min(Rect.Top, Rect.Bottom);
  const std::int32_t Bottom = std::max(Rect.Top, Rect.Bottom);
  // A rectangle that misses the buffer entirely fills nothing (clamping it
  // would paint the nearest edge line).
  if (Rect.Right < Rect.Left || Rect.Right < 0 || Rect.Left >= Width() || Bottom < 0 || Top >= Height()) return;
  const std::int32_t X1 = std::max(Rect.Left, 0);
  const std::int32_t X2 = std::min(Rect.Right, Width() - 1);
  const std::int32_t Y1 = std::max(Top, 0);
  const std::int32_t Y2 = std::min(Bottom, Height() - 1);
  const std::uint8_t B = GetBValue(Color), G = GetGValue(Color), R = GetRValue(Color);
  for (std::int32_t Y = Y1; Y <= Y2; ++Y) {
    std::uint8_t* P = ScanLine(Y, X1, X2) + 3 * X1;
    for (std::int32_t X = X1; X <= X2; ++X, P += 3) {
      P[0] = B;
      P[1] = G;
      P[2] = R;
    }
  }
}

void TFastImageBuffer::FrameRect(const TRect& Rect, TColorValue Color) {
  if (Width() < 1 || Height() < 1) return;
  // A rectangle that misses the buffer entirely draws nothing.
  if (std::max(Rect.Left, Rect.Right) < 0 || std::min(Rect.Left, Rect.Right) >= Width() ||
      std::max(Rect.Top, Rect.Bottom) < 0 || std::min(Rect.Top, Rect.Bottom) >= Height())
    return;
  const std::int32_t X1 = std::clamp(Rect.Left, 0, Width() - 1);
  const std::int32_t X2 = std::clamp(Rect.Right, 0, Width() - 1);
  const std::int32_t Top = std::clamp(std::min(Rect.Top, Rect.Bottom), 0, Height() - 1);
  const std::int32_t Bottom = std::clamp(std::max(Rect.Top, Rect.Bottom), 0, Height() - 1);
  for (std::int32_t X = X1; X <= X2; ++X) {
    SetPixel(X, Top, Color);
    SetPixel(X, Bottom, Color);
  }
  for (std::int32_t Y = Top; Y <= Bottom; ++Y) {
    SetPixel(X1, Y, Color);
    SetPixel(X2, Y, Color);
  }
}

void TFastImageBuffer::Lightness(std::int32_t Amount) {
  // Signed 64-bit so that amounts beyond +-256 saturate instead of wrapping.
  std::uint8_t Table[256];
  for (std::int64_t i = 0; i < 256; ++i) {
    const std::int64_t V = Amount >= 0 ? i + (((255 - i) * Amount) >> 8) : i - ((i * -static_cast<std::int64_t>(Amount)) >> 8);
    Table[i] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(V, 0, 255));
  }
  MarkAll();
  const std::size_t RowBytes = static_cast<std::size_t>(Width()) * 3;
  for (std::int32_t Y = 0; Y < Height(); ++Y) {
    std::uint8_t* P = FBitmap.Row(Y);
    for (std::size_t i = 0; i < RowBytes; ++i) P[i] = Table[P[i]];
  }
}

void TFastImageBuffer::LoadJpegFromStream(TMemoryStream& Stream) {
  TFastBMP Decoded;
  DecodeJpeg(Stream.Remaining(), Stream.RemainingSize(), Decoded);
  MarkAll();
  FBitmap = std::move(Decoded);
  Stream.Seek(0, TSeekOrigin::End);
}

void TFastImageBuffer::PaintTo(std::int32_t X, std::int32_t Y) const {
  if (!DC) return;
  if (!FPaintsAlone) {
    FBitmap.Draw(*DC, X, Y);
    return;
  }
  if (FAllChanged || DC != FPaintedOn || X != FPaintedX || Y != FPaintedY || DC->Width() != FPaintedWidth ||
      DC->Height() != FPaintedHeight) {
    FBitmap.Draw(*DC, X, Y);
  } else if (FFirstChanged <= FLastChanged) {
    FBitmap.DrawSpans(*DC, X, Y, FChangedLeft.data(), FChangedRight.data(), FFirstChanged, FLastChanged);
  }
  FPaintedOn = DC;
  FPaintedX = X;
  FPaintedY = Y;
  FPaintedWidth = DC->Width();
  FPaintedHeight = DC->Height();
  ForgetChanges();
}
