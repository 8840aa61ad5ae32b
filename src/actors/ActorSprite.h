// What the four actor families share: positions, the one rule that turns a
// centre into a sprite's top-left corner, the shaded sprite blend, and a
// safe way to reach a picture of a set that may be empty.
#pragma once

#include <cstdint>

class TAlphaImage;
class TAlphaImageList;
class TFastImageBuffer;
class TShadowMask;

struct TPointF {
  float X = 0;
  float Y = 0;
  friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A coordinate rounded to the nearest whole pixel, halves to even. Values
// beyond the int32 range (and NaN) are held to its ends so that a runaway
// position can never make a cell or pixel index overflow.
std::int32_t NearestPixel(float Value);

// The top-left corner of an image W x H whose centre is (X, Y):
// (Nearest(X) - W div 2, Nearest(Y) - H div 2).
TPoint SpriteTopLeft(float X, float Y, const TAlphaImage& Image);
// The same for whole-pixel centres (items).
TPoint SpriteTopLeft(std::int32_t X, std::int32_t Y, const TAlphaImage& Image);

// Picture Index of Images, or an empty 0 x 0 picture when the set holds no
// such picture: an actor whose set came out empty has nothing to draw and
// nothing to hit with, and never fails.
const TAlphaImage& ImageOrEmpty(const TAlphaImageList& Images, std::int32_t Index);

// The actor sprite blend (shadow-darkened colour, opacity FadeAlpha) of
// Image with its top-left corner at TopLeft.
void PaintActorSprite(TFastImageBuffer& Buffer, const TAlphaImage& Image, TPoint TopLeft,
                      const TShadowMask& ShadowMask, std::int32_t FadeAlpha = 255);

// One animation tick of a big enemy or an item: the tick count grows unless
// Frozen, and once it reaches Duration the next of Count frames shows.
// Counter is each family's own field type (a byte for items).
template <typename Counter>
void AdvanceFrame(Counter& Frame, Counter& Ticks, std::int32_t Duration, std::int32_t Count, bool Frozen) {
  if (!Frozen) ++Ticks;
  if (Ticks >= Duration) {
    ++Frame;
    if (Frame >= Count) Frame = 0;
    Ticks = 0;
  }
}
