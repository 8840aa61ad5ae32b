#include "actors/ActorSprite.h"

#include <cmath>
#include <limits>

#include "board/ShadowMask.h"
#include "gfx/AlphaImage.h"
#include "gfx/AlphaImageList.h"
#include "common/CommonTypes.h"

std::int32_t NearestPixel(float Value) {
  constexpr float Low = static_cast<float>(std::numeric_limits<std::int32_t>::min());
  constexpr float High = 2147483520.0f;  // the largest float below 2^31
  if (std::isnan(Value)) return 0;
  if (Value <= Low) return std::numeric_limits<std::int32_t>::min();
  if (Value >= High) return static_cast<std::int32_t>(High);
  return static_cast<std::int32_t>(RoundHalfEven(Value));
}

TPoint SpriteTopLeft(float X, float Y, const TAlphaImage& Image) {
  return SpriteTopLeft(NearestPixel(X), NearestPixel(Y), Image);
}

TPoint SpriteTopLeft(std::int32_t X, std::int32_t Y, const TAlphaImage& Image) {
  // Wrapping arithmetic: only reachable with absurd positions, and then the
  // sprite lies far off the buffer either way.
  return TPoint{static_cast<std::int32_t>(static_cast<std::uint32_t>(X) - static_cast<std::uint32_t>(Image.Width() / 2)),
                static_cast<std::int32_t>(static_cast<std::uint32_t>(Y) - static_cast<std::uint32_t>(Image.Height() / 2))};
}

const TAlphaImage& ImageOrEmpty(const TAlphaImageList& Images, std::int32_t Index) {
  static const TAlphaImage Empty;
  if (Index < 0 || Index >= Images.Count()) return Empty;
  return Images[Index];
}

void PaintActorSprite(TFastImageBuffer& Buffer, const TAlphaImage& Image, TPoint TopLeft,
                      const TShadowMask& ShadowMask, std::int32_t FadeAlpha) {
  DrawShadedSprite(Buffer, Image, TopLeft.X, TopLeft.Y, ShadowMask, FadeAlpha);
}
