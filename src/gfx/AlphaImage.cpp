#include "gfx/AlphaImage.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "gfx/FastImaging.h"
#include "gfx/PNGObjectImprov.h"
#include "pak/MemoryStream.h"

namespace {

// Round(Opacity * A / 255) for Opacity, A in 0..255: never a half (255 is
// odd), so adding 127 before the division rounds it.
inline std::uint32_t ScaleAlpha(std::uint32_t A, std::uint32_t Opacity) { return (A * Opacity + 127) / 255; }

inline std::uint32_t ClampOpacity(std::int32_t Opacity) {
  return static_cast<std::uint32_t>(std::clamp(Opacity, 0, 255));
}

// Blends one picture pixel into the 3 bytes (blue, green, red) at D.
inline void BlendInto(std::uint8_t* D, TRGBAPixel P, std::uint32_t A) {
  if (A == 0) return;  // weight 0 keeps the buffer exactly
  if (A == 255) {
    D[0] = PixelB(P);
    D[1] = PixelG(P);
    D[2] = PixelR(P);
    return;
  }
  D[0] = TFastImageBuffer::BlendChannel(D[0], PixelB(P), A);
  D[1] = TFastImageBuffer::BlendChannel(D[1], PixelG(P), A);
  D[2] = TFastImageBuffer::BlendChannel(D[2], PixelR(P), A);
}

// Average of two samples, halves to the even neighbour (1 and 2 give 2, 2
// and 3 give 2).
inline std::uint32_t MixChannel(std::uint32_t A, std::uint32_t B) {
  const std::uint32_t Sum = A + B;
  std::uint32_t Half = Sum >> 1;
  if ((Sum & 1) && (Half & 1)) ++Half;
  return Half;
}

}  // namespace

TAlphaImage::TAlphaImage(std::int32_t Width, std::int32_t Height)
    : FWidth(std::max(Width, 0)), FHeight(std::max(Height, 0)) {
  const std::uint64_t Count = static_cast<std::uint64_t>(FWidth) * static_cast<std::uint64_t>(FHeight);
  if (Count > (std::uint64_t{1} << 28))
    throw std::length_error("picture of " + std::to_string(Width) + " x " + std::to_string(Height) + " is too large");
  FPixels.assign(static_cast<std::size_t>(Count), 0);
}

std::unique_ptr<TAlphaImage> TAlphaImage::CreateFromStream(TMemoryStream& Stream) {
  auto Image = std::make_unique<TAlphaImage>();
  Image->LoadFromStream(Stream);
  return Image;
}

void TAlphaImage::LoadFromStream(TMemoryStream& Stream) {
  TPNGObjectImprov PNG;
  PNG.LoadFromStream(Stream);
  LoadFromPNG(PNG);
}

void TAlphaImage::LoadFromPNG(const TPNGObjectImprov& PNG) {
  TAlphaImage Loaded(PNG.Width(), PNG.Height());
  for (std::int32_t Y = 0; Y < Loaded.FHeight; ++Y) {
    const std::uint8_t* Row = PNG.Row(Y);
    for (std::int32_t X = 0; X < Loaded.FWidth; ++X, Row += 4)
      Loaded.FPixels[Loaded.Index(X, Y)] = MakeRGBA(Row[0], Row[1], Row[2], Row[3]);
  }
  *this = std::move(Loaded);
}

void TAlphaImage::CopyRect(std::int32_t DestX, std::int32_t DestY, const TAlphaImage& Source, std::int32_t SrcX,
                           std::int32_t SrcY, std::int32_t Width, std::int32_t Height) {
  // Source pixel (x, y) goes to (x + DX, y + DY); keep the x and y for which
  // both lie inside their pictures.
  const std::int64_t DX = static_cast<std::int64_t>(DestX) - SrcX;
  const std::int64_t DY = static_cast<std::int64_t>(DestY) - SrcY;
  const std::int64_t X0 = std::max<std::int64_t>({SrcX, 0, -DX});
  const std::int64_t Y0 = std::max<std::int64_t>({SrcY, 0, -DY});
  const std::int64_t X1 = std::min<std::int64_t>({static_cast<std::int64_t>(SrcX) + Width, Source.FWidth, FWidth - DX});
  const std::int64_t Y1 = std::min<std::int64_t>({static_cast<std::int64_t>(SrcY) + Height, Source.FHeight, FHeight - DY});
  if (X0 >= X1 || Y0 >= Y1) return;
  // A copy within one picture reads from a snapshot, as if the block had
  // been lifted out first.
  std::vector<TRGBAPixel> Snapshot;
  const TRGBAPixel* From = Source.FPixels.data();
  if (&Source == this) {
    Snapshot = FPixels;
    From = Snapshot.data();
  }
  const std::size_t Rows = static_cast<std::size_t>(Y1 - Y0);
  for (std::int64_t X = X0; X < X1; ++X) {
    const TRGBAPixel* S = From + Source.Index(static_cast<std::int32_t>(X), static_cast<std::int32_t>(Y0));
    TRGBAPixel* D = FPixels.data() + Index(static_cast<std::int32_t>(X + DX), static_cast<std::int32_t>(Y0 + DY));
    std::copy(S, S + Rows, D);
  }
}

void TAlphaImage::BlendPart(TFastImageBuffer& Buffer, std::int64_t X, std::int64_t Y, std::int64_t SrcLeft,
                            std::int64_t SrcTop, std::int64_t SrcRight, std::int64_t SrcBottom,
                            std::uint32_t Opacity) const {
  if (Opacity == 0) return;
  // Picture pixel (x, y) lands on buffer pixel (X + x, Y + y); pixels that
  // land outside the buffer are dropped by it, so they are skipped here.
  const std::int64_t X0 = std::max<std::int64_t>(SrcLeft, -X);
  const std::int64_t Y0 = std::max<std::int64_t>(SrcTop, -Y);
  const std::int64_t X1 = std::min<std::int64_t>(SrcRight, Buffer.Width() - 1 - X);
  const std::int64_t Y1 = std::min<std::int64_t>(SrcBottom, Buffer.Height() - 1 - Y);
  for (std::int64_t SY = Y0; SY <= Y1; ++SY) {
    std::uint8_t* Row = Buffer.ScanLine(static_cast<std::int32_t>(Y + SY), static_cast<std::int32_t>(X + X0),
                                        static_cast<std::int32_t>(X + X1));
    for (std::int64_t SX = X0; SX <= X1; ++SX) {
      const TRGBAPixel P = FPixels[Index(static_cast<std::int32_t>(SX), static_cast<std::int32_t>(SY))];
      BlendInto(Row + 3 * (X + SX), P, ScaleAlpha(PixelA(P), Opacity));
    }
  }
}

void TAlphaImage::Draw(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y) const {
  BlendPart(Buffer, X, Y, 0, 0, FWidth - 1, FHeight - 1, 255);
}

void TAlphaImage::DrawAlpha(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, std::int32_t Opacity) const {
  BlendPart(Buffer, X, Y, 0, 0, FWidth - 1, FHeight - 1, ClampOpacity(Opacity));
}

void TAlphaImage::DrawPart(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, const TRect& SrcRect) const {
  DrawPartAlpha(Buffer, X, Y, SrcRect, 255);
}

void TAlphaImage::DrawPartAlpha(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, const TRect& SrcRect,
                                std::int32_t Opacity) const {
  if (SrcRect.Right < SrcRect.Left || SrcRect.Bottom < SrcRect.Top) return;
  // Samples outside the picture read as transparent and change nothing, so
  // the part is cut to the picture; the offset stays that of SrcRect.
  BlendPart(Buffer, static_cast<std::int64_t>(X) - SrcRect.Left, static_cast<std::int64_t>(Y) - SrcRect.Top,
            std::max(SrcRect.Left, 0), std::max(SrcRect.Top, 0), std::min(SrcRect.Right, FWidth - 1),
            std::min(SrcRect.Bottom, FHeight - 1), ClampOpacity(Opacity));
}

void TAlphaImage::DrawRotated(TFastImageBuffer& Buffer, std::int32_t X, std::int32_t Y, std::int32_t Opacity,
                              float Angle) const {
  if (!std::isfinite(Angle)) return;
  const std::uint32_t Op = ClampOpacity(Opacity);
  // Whole turns come off in single precision, one at a time as the angle
  // always was normalised; far-out angles are first brought near by an
  // exact remainder so that the loops end.
  if (std::fabs(Angle) >= 36000.0f) Angle = std::fmod(Angle, 360.0f);
  while (Angle >= 360.0f) Angle -= 360.0f;
  while (Angle < 0.0f) Angle += 360.0f;
  const long double R = static_cast<long double>(Angle) * std::numbers::pi_v<long double> / 180.0L;
  const long double S = std::sin(R);
  const long double C = std::cos(R);
  const std::int32_t CX = FWidth / 2;
  const std::int32_t CY = FHeight / 2;
  for (std::int32_t I = FHeight - 1; I >= 0; --I) {
    const std::int64_t BY = static_cast<std::int64_t>(Y) + I;
    if (BY < 0 || BY >= Buffer.Height()) continue;
    // Clipped to the buffer by ScanLine's marking.
    std::uint8_t* Row = Buffer.ScanLine(static_cast<std::int32_t>(BY), static_cast<std::int32_t>(std::max<std::int64_t>(X, 0)),
                                        static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(X) + FWidth - 1, Buffer.Width() - 1)));
    const long double DY = I - CY;
    const long double DYS = DY * S;
    const long double DYC = DY * C;
    for (std::int32_t J = FWidth - 1; J >= 0; --J) {
      const std::int64_t BX = static_cast<std::int64_t>(X) + J;
      if (BX < 0 || BX >= Buffer.Width()) continue;
      const long double DX = J - CX;
      const std::int64_t SX = CX + RoundHalfEven(DX * C - DYS);
      const std::int64_t SY = CY + RoundHalfEven(DX * S + DYC);
      if (SX < 0 || SX >= FWidth || SY < 0 || SY >= FHeight) continue;
      const TRGBAPixel P = FPixels[Index(static_cast<std::int32_t>(SX), static_cast<std::int32_t>(SY))];
      BlendInto(Row + 3 * BX, P, ScaleAlpha(PixelA(P), Op));
    }
  }
}

void TAlphaImage::MixInto(TAlphaImage& Target, std::int32_t X, std::int32_t Y) const {
  const std::int64_t X0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(X));
  const std::int64_t Y0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(Y));
  const std::int64_t X1 = std::min<std::int64_t>(FWidth, static_cast<std::int64_t>(Target.FWidth) - X);
  const std::int64_t Y1 = std::min<std::int64_t>(FHeight, static_cast<std::int64_t>(Target.FHeight) - Y);
  // Mixing a picture into itself reads the unmixed pixels.
  std::vector<TRGBAPixel> Snapshot;
  const TRGBAPixel* From = FPixels.data();
  if (&Target == this) {
    Snapshot = FPixels;
    From = Snapshot.data();
  }
  for (std::int64_t PX = X0; PX < X1; ++PX) {
    for (std::int64_t PY = Y0; PY < Y1; ++PY) {
      const TRGBAPixel S = From[Index(static_cast<std::int32_t>(PX), static_cast<std::int32_t>(PY))];
      TRGBAPixel& T = Target.FPixels[Target.Index(static_cast<std::int32_t>(X + PX), static_cast<std::int32_t>(Y + PY))];
      T = MakeRGBA(MixChannel(PixelR(S), PixelR(T)), MixChannel(PixelG(S), PixelG(T)), MixChannel(PixelB(S), PixelB(T)),
                   std::min<std::uint32_t>(255u, static_cast<std::uint32_t>(PixelA(S)) + PixelA(T)));
    }
  }
}
