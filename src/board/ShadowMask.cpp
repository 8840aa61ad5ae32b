#include "board/ShadowMask.h"

#include <algorithm>

#include "gfx/AlphaImage.h"
#include "gfx/CloudGenerator.h"
#include "gfx/FastImaging.h"
#include "common/CommonTypes.h"

TShadowMask::TShadowMask() {
  const std::int32_t Index = Random(PatternCount);
  Build(Index);
}

TShadowMask::TShadowMask(std::int32_t PatternIndex) {
  Build(((PatternIndex % PatternCount) + PatternCount) % PatternCount);
}

void TShadowMask::Build(std::int32_t PatternIndex) {
  FPatternIndex = PatternIndex;
  RandSeed = ShadeSeeds[static_cast<std::size_t>(PatternIndex)];
  TCloudGenerator Cloud(10);
  Cloud.Generate(0, 200, 0.4f, 100);
  // The pattern took a fixed run of draws; what follows must not depend on
  // which pattern it was.
  Randomize();

  FShade.resize(static_cast<std::size_t>(Size) * Size);
  for (std::int32_t X = 0; X < Size; ++X) {
    const std::int32_t* From = Cloud.Column(X);
    std::uint8_t* To = FShade.data() + static_cast<std::size_t>(X) * Size;
    for (std::int32_t Y = 0; Y < Size; ++Y) To[Y] = static_cast<std::uint8_t>(std::clamp(From[Y], 0, MaxShade));
  }
}

void DrawShadedSprite(TFastImageBuffer& Buffer, const TAlphaImage& Image, std::int32_t Left, std::int32_t Top,
                      const TShadowMask& Mask, std::int32_t FadeAlpha) {
  const std::uint32_t Fade = static_cast<std::uint32_t>(std::clamp(FadeAlpha, 0, 255));
  if (Fade == 0) return;  // every effective alpha is 0: nothing changes
  // Only the part inside the buffer is touched. 64-bit so that positions near
  // the integer limits cannot overflow.
  const std::int64_t X0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(Left));
  const std::int64_t Y0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(Top));
  const std::int64_t X1 = std::min<std::int64_t>(Image.Width(), static_cast<std::int64_t>(Buffer.Width()) - Left);
  const std::int64_t Y1 = std::min<std::int64_t>(Image.Height(), static_cast<std::int64_t>(Buffer.Height()) - Top);
  for (std::int64_t IY = Y0; IY < Y1; ++IY) {
    const std::int32_t PY = static_cast<std::int32_t>(Top + IY);
    std::uint8_t* Row =
        Buffer.ScanLine(PY, static_cast<std::int32_t>(Left + X0), static_cast<std::int32_t>(Left + X1 - 1));
    for (std::int64_t IX = X0; IX < X1; ++IX) {
      const TRGBAPixel P = Image.Column(static_cast<std::int32_t>(IX))[IY];
      // Round(A * Fade / 255): A * Fade / 255 is never halfway between two
      // integers (255 is odd), so adding 127 before the division rounds it.
      const std::uint32_t A = (PixelA(P) * Fade + 127) / 255;
      if (A == 0) continue;  // blending with weight 0 keeps the pixel exactly
      const std::int32_t PX = static_cast<std::int32_t>(Left + IX);
      const std::uint32_t Light = 255u - (TShadowMask::Covers(PX, PY) ? Mask.GetShade(PX, PY) : 0u);
      std::uint8_t* D = Row + 3 * PX;
      if (A == 255) {  // opaque: the shaded colour replaces the pixel
        D[0] = static_cast<std::uint8_t>((PixelB(P) * Light + 127) / 255);
        D[1] = static_cast<std::uint8_t>((PixelG(P) * Light + 127) / 255);
        D[2] = static_cast<std::uint8_t>((PixelR(P) * Light + 127) / 255);
        continue;
      }
      D[0] = TFastImageBuffer::BlendChannel(D[0], (PixelB(P) * Light + 127) / 255, A);
      D[1] = TFastImageBuffer::BlendChannel(D[1], (PixelG(P) * Light + 127) / 255, A);
      D[2] = TFastImageBuffer::BlendChannel(D[2], (PixelR(P) * Light + 127) / 255, A);
    }
  }
}
