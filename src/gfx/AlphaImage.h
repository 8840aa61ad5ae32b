// Pictures with an alpha channel: sprites, glyph sheets, digit strips, menu
// pictures and panel overlays, decoded from the archive's PNG entries and
// blended into frame buffers.
//
// Every blend into a frame buffer computes, per colour channel with picture
// sample s, buffer sample d and effective alpha a,
//   Round(s * (a / 255) + d * ((255 - a) / 255))
// with halves to even; the exact value is k / 255 for an integer k and never
// a half, so the integer form used here gives the same result.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/CommonTypes.h"

class TFastImageBuffer;
class TMemoryStream;
class TPNGObjectImprov;

class TAlphaImage {
public:
  // 0 x 0.
  TAlphaImage() = default;
  // Every pixel 0 (transparent black). Negative sizes count as 0.
  TAlphaImage(std::int32_t Width, std::int32_t Height);

  // Decodes the PNG at Stream's position. Throws EImageDecodeError.
  static std::unique_ptr<TAlphaImage> CreateFromStream(TMemoryStream& Stream);
  // Decodes the PNG at Stream's position and takes its size and pixels.
  // Throws EImageDecodeError and then leaves the picture as it was.
  void LoadFromStream(TMemoryStream& Stream);
  void LoadFromPNG(const TPNGObjectImprov& PNG);

  std::int32_t Width() const { return FWidth; }
  std::int32_t Height() const { return FHeight; }

  // 0 outside the picture.
  std::uint8_t GetAlpha(std::int32_t X, std::int32_t Y) const { return PixelA(GetPixel(X, Y)); }
  std::uint8_t GetRed(std::int32_t X, std::int32_t Y) const { return PixelR(GetPixel(X, Y)); }
  std::uint8_t GetGreen(std::int32_t X, std::int32_t Y) const { return PixelG(GetPixel(X, Y)); }
  std::uint8_t GetBlue(std::int32_t X, std::int32_t Y) const { return PixelB(GetPixel(X, Y)); }
  // 0 (transparent black) outside the picture.
  TRGBAPixel GetPixel(std::int32_t X, std::int32_t Y) const {
    if (!Inside(X, Y)) return 0;
    return FPixels[Index(X, Y)];
  }
  // Ignored outside the picture.
  void SetPixel(std::int32_t X, std::int32_t Y, TRGBAPixel Value) {
    if (Inside(X, Y)) FPixels[Index(X, Y)] = Value;
  }
  bool Inside(std::int32_t X, std::int32_t Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }
  // Column X as Height() contiguous pixels (pixels are stored column by
  // column); unchecked.
  const TRGBAPixel* Column(std::int32_t X) const { return FPixels.data() + Index(X, 0); }

  // Raw copy (alpha included, no blending) of the Width x Height block of
  // Source at (SrcX, SrcY) to (DestX, DestY) of this picture. Pixels whose
  // source or destination lies outside its picture are left out; the rest
  // keep their offsets. Source may be this picture.
  void CopyRect(std::int32_t DestX, std::int32_t DestY, const TAlphaImage& Source, std::int32_t SrcX,
                std::int32_t SrcY, std::int32_t Width, std::int32_t Height);

  // Blends the whole picture with its top-left corner at (X, Y).
  void Draw(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y) const;
  // As Draw with every alpha a scaled to Round(Opacity * a / 255); Opacity
  // is held to 0..255.
  void DrawAlpha(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, std::int32_t Opacity) const;
  // The part SrcRect of this picture (edges inclusive; nothing when Right <
  // Left or Bottom < Top) with its top-left corner at (X, Y). Parts of
  // SrcRect outside the picture change nothing.
  void DrawPart(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, const TRect& SrcRect) const;
  void DrawPartAlpha(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, const TRect& SrcRect,
                     std::int32_t Opacity) const;
  // Rotated by Angle degrees about the picture's centre (Width div 2, Height
  // div 2), nearest-neighbour, cut to the picture's own Width x Height box
  // at (X, Y). Destination offset (j, i) samples source
  //   (cx + Round(dx cos - dy sin), cy + Round(dx sin + dy cos)),
  // dx = j - cx, dy = i - cy; samples outside the picture leave the buffer
  // alone. A NaN or infinite angle draws nothing.
  void DrawRotated(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, std::int32_t Opacity,
                   float Angle) const;
  // Mixes this picture into Target with its top-left corner at (X, Y): the
  // colours are averaged (halves to even) even where this picture is
  // transparent, the alphas are added and limited to 255. Pixels outside
  // Target are left out.
  void MixInto(TAlphaImage& Target, std::int32_t X, std::int32_t Y) const;

private:
  std::size_t Index(std::int32_t X, std::int32_t Y) const {
    return static_cast<std::size_t>(X) * static_cast<std::size_t>(FHeight) + static_cast<std::size_t>(Y);
  }
  // Blends picture pixels Left..Right x Top..Bottom (already clipped to the
  // picture) to (X + x - SrcLeft, Y + y - SrcTop).
  void BlendPart(TFastImageBuffer& Buffer, std::int64_t X, std::int64_t Y, std::int64_t SrcLeft,
                 std::int64_t SrcTop, std::int64_t SrcRight, std::int64_t SrcBottom, std::uint32_t Opacity) const;

  std::int32_t FWidth = 0;
  std::int32_t FHeight = 0;
  std::vector<TRGBAPixel> FPixels;  // Width columns of Height pixels
};
