// The off-screen picture every screen of the game is composed in.
//
// TFastBMP owns the pixels in the classic device-independent bitmap layout:
// 24 bits per pixel in blue, green, red order, rows padded to 4 bytes and
// stored bottom-up (memory row 0 is the bottom line), reached through a
// precomputed row table. TFastImageBuffer adds top-down coordinates,
// bounds-checked pixel access in 0x00BBGGRR colour values, rectangles,
// lightness, JPEG loading and the copy to the window's screen.
#pragma once

#include <cstdint>
#include <vector>

#include "common/CommonTypes.h"

class TScreen;
class TMemoryStream;

class TFastBMP {
public:
  TFastBMP() = default;  // 0 x 0
  TFastBMP(const TFastBMP&) = delete;
  TFastBMP& operator=(const TFastBMP&) = delete;
  TFastBMP(TFastBMP&&) noexcept = default;
  TFastBMP& operator=(TFastBMP&&) noexcept = default;

  // Same size: nothing happens and the pixels stay. Otherwise a new, black
  // pixel block. Negative sizes count as 0.
  void SetSize(std::int32_t Width, std::int32_t Height);

  std::int32_t Width() const { return FWidth; }
  std::int32_t Height() const { return FHeight; }
  // Bytes per row, ((Width * 24 + 31) div 32) * 4.
  std::int32_t Stride() const { return FStride; }
  // Padding bytes at the end of each row, Width mod 4.
  std::int32_t RowPadding() const { return FRowPadding; }
  // Stride * Height.
  std::int32_t TotalSize() const { return FTotalSize; }

  // Memory row i; row 0 is the bottom line of the picture.
  std::uint8_t* Row(std::int32_t MemoryRow) { return FRows[static_cast<std::size_t>(MemoryRow)]; }
  const std::uint8_t* Row(std::int32_t MemoryRow) const { return FRows[static_cast<std::size_t>(MemoryRow)]; }
  std::uint8_t* Bits() { return FBits.data(); }
  const std::uint8_t* Bits() const { return FBits.data(); }

  // Copies a W x H block of this bitmap at memory column/row (SrcX, SrcY)
  // into Dest at (X, Y), memory-row coordinates (rows counted from the
  // bottom), clipped to both bitmaps with every pixel keeping its offset.
  // 64-bit arguments so that callers' coordinate arithmetic cannot overflow.
  void CopyRect(TFastBMP& Dest, std::int64_t X, std::int64_t Y, std::int64_t W, std::int64_t H, std::int64_t SrcX,
                std::int64_t SrcY) const;
  // Takes Source's size and all its pixel bytes.
  void CopyFrom(const TFastBMP& Source);
  // Copies the whole picture 1:1 into Screen with its top-left corner at
  // (X, Y), clipped to the screen, and marks the boxes whose pixels changed
  // dirty: a frame that repeats the last one shows nothing anew.
  void Draw(TScreen& Screen, std::int32_t X, std::int32_t Y) const;
  // The same for the columns [Left[L], Right[L]) of each picture line L
  // from FirstLine to LastLine alone (empty spans skip the line): the rest
  // of the screen is taken to hold this picture already.
  void DrawSpans(TScreen& Screen, std::int32_t X, std::int32_t Y, const std::int32_t* Left, const std::int32_t* Right,
                 std::int32_t FirstLine, std::int32_t LastLine) const;

private:
  std::int32_t FRowPadding = 0;
  std::int32_t FStride = 0;
  std::int32_t FTotalSize = 0;
  std::int32_t FWidth = 0;
  std::int32_t FHeight = 0;
  std::vector<std::uint8_t*> FRows;
  std::vector<std::uint8_t> FBits;
};

class TFastImageBuffer {
public:
  // DC: the screen PaintTo draws into; nullptr for buffers never presented.
  TFastImageBuffer(TScreen* DC, std::int32_t Width, std::int32_t Height);
  TFastImageBuffer(const TFastImageBuffer&) = delete;
  TFastImageBuffer& operator=(const TFastImageBuffer&) = delete;
  TFastImageBuffer(TFastImageBuffer&&) noexcept = default;
  TFastImageBuffer& operator=(TFastImageBuffer&&) noexcept = default;

  // Not owned; the owner may replace it at any time.
  TScreen* DC = nullptr;

  std::int32_t Width() const { return FBitmap.Width(); }
  std::int32_t Height() const { return FBitmap.Height(); }

  // 0 (black) outside the buffer.
  TColorValue GetPixel(std::int32_t X, std::int32_t Y) const {
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return 0;
    const std::uint8_t* P = ScanLine(Y) + 3 * X;
    return P[2] | (static_cast<TColorValue>(P[1]) << 8) | (static_cast<TColorValue>(P[0]) << 16);
  }
  // Dropped outside the buffer.
  void SetPixel(std::int32_t X, std::int32_t Y, TColorValue Color) {
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return;
    std::uint8_t* P = ScanLine(Y, X, X) + 3 * X;
    P[0] = GetBValue(Color);
    P[1] = GetGValue(Color);
    P[2] = GetRValue(Color);
  }
  // Mixes Color into the pixel with weight Alpha / 255 (Alpha held to
  // 0..255), each channel rounded half to even. Outside the buffer nothing.
  void BlendPixel(std::int32_t X, std::int32_t Y, TColorValue Color, std::int32_t Alpha) {
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return;
    const std::uint32_t A = static_cast<std::uint32_t>(Alpha < 0 ? 0 : Alpha > 255 ? 255 : Alpha);
    std::uint8_t* P = ScanLine(Y, X, X) + 3 * X;
    P[0] = BlendChannel(P[0], GetBValue(Color), A);
    P[1] = BlendChannel(P[1], GetGValue(Color), A);
    P[2] = BlendChannel(P[2], GetRValue(Color), A);
  }
  // One channel of every blend: Old * (255 - A) / 255 + New * A / 255,
  // rounded half to even, for Old, New, A in 0..255. The sum is k / 255 for
  // an integer k, which is never exactly halfway between integers (255 is
  // odd), so adding 127 and dividing gives the same result as rounding the
  // extended-precision sum, without floating point in the per-pixel path.
  static constexpr std::uint8_t BlendChannel(std::uint32_t Old, std::uint32_t New, std::uint32_t A) {
    return static_cast<std::uint8_t>((Old * (255 - A) + New * A + 127) / 255);
  }
  static constexpr TColorValue MakeColor(std::int32_t R, std::int32_t G, std::int32_t B) {
    return RGB(static_cast<std::uint32_t>(R), static_cast<std::uint32_t>(G), static_cast<std::uint32_t>(B));
  }

  // Takes Source's size and pixels.
  void CopyFrom(const TFastImageBuffer& Source);
  // Copies the Width x Height block of Source at (SrcX, SrcY) to (DestX,
  // DestY), top-down coordinates; whatever lies outside either buffer is cut
  // off and every copied pixel keeps its offset.
  void CopyRect(std::int32_t DestX, std::int32_t DestY, const TFastImageBuffer& Source, std::int32_t SrcX,
                std::int32_t SrcY, std::int32_t Width, std::int32_t Height);
  // Both edges inclusive, cut at the buffer; Top and Bottom may come in
  // either order, Right < Left fills nothing.
  void FillRect(const TRect& Rect, TColorValue Color);
  // One-pixel outline on the four inclusive edges; edges outside the buffer
  // are moved onto its border.
  void FrameRect(const TRect& Rect, TColorValue Color);
  // Brightens (Amount > 0) or darkens (Amount < 0) every channel of every
  // pixel: i + (255 - i) * Amount / 256, or i - i * -Amount / 256, floored.
  void Lightness(std::int32_t Amount);

  // Decodes the JPEG from Stream's position and takes its size and pixels;
  // the stream is left at its end. Throws EImageDecodeError (leaving this
  // buffer unchanged) when the data cannot be decoded.
  void LoadJpegFromStream(TMemoryStream& Stream);

  // Copies the whole buffer 1:1 into DC at (X, Y), clipped to the screen,
  // and marks the screen for presenting. Nothing when DC is nullptr.
  void PaintTo(std::int32_t X, std::int32_t Y) const;

  // A buffer that alone paints its place on its screen (the play area) may
  // say so: its PaintTo then compares and copies only the pixels written
  // since its last one to the same screen and place, instead of the whole
  // picture. Each paint elsewhere, or the first, still copies it all.
  void SetPaintsAlone(bool Value);
  bool PaintsAlone() const { return FPaintsAlone; }

  // Fast access for renderers: picture line Y (top-down, unchecked), 3 bytes
  // per pixel in blue, green, red order. The writable line counts as
  // changed, all of it or columns Left..Right (inclusive, clipped) only.
  std::uint8_t* ScanLine(std::int32_t Y) {
    MarkLine(Y, 0, Width() - 1);
    return FBitmap.Row(FBitmap.Height() - 1 - Y);
  }
  std::uint8_t* ScanLine(std::int32_t Y, std::int32_t Left, std::int32_t Right) {
    MarkLine(Y, Left, Right);
    return FBitmap.Row(FBitmap.Height() - 1 - Y);
  }
  const std::uint8_t* ScanLine(std::int32_t Y) const { return FBitmap.Row(FBitmap.Height() - 1 - Y); }
  // The writable bitmap counts as changed everywhere.
  TFastBMP& Bitmap() {
    MarkAll();
    return FBitmap;
  }
  const TFastBMP& Bitmap() const { return FBitmap; }

  // Pixels written other than through this class's own methods or the
  // writable ScanLine or Bitmap: both edges inclusive, clipped.
  void MarkChanged(const TRect& Box);

private:
  void MarkLine(std::int32_t Y, std::int32_t Left, std::int32_t Right) {
    if (!FPaintsAlone || FAllChanged || Y < 0 || Y >= Height()) return;
    MarkLineClipped(Y, Left, Right);
  }
  void MarkLineClipped(std::int32_t Y, std::int32_t Left, std::int32_t Right);
  void MarkAll() { FAllChanged = true; }
  void ForgetChanges() const;

  TFastBMP FBitmap;
  bool FPaintsAlone = false;
  // Where the last paint went; a paint anywhere else copies everything.
  // The bookkeeping below changes with painting, the picture does not.
  mutable const TScreen* FPaintedOn = nullptr;
  mutable std::int32_t FPaintedX = 0, FPaintedY = 0, FPaintedWidth = 0, FPaintedHeight = 0;
  // Written since the last paint: everything, or per picture line the
  // columns [FChangedLeft, FChangedRight) within lines FFirstChanged to
  // FLastChanged (none while FFirstChanged > FLastChanged).
  mutable bool FAllChanged = true;
  mutable std::vector<std::int32_t> FChangedLeft, FChangedRight;
  mutable std::int32_t FFirstChanged = 0, FLastChanged = -1;
};
