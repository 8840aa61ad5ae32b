// The big enemy of a level: drifts through the free field with a jittery,
// damped motion, is pushed back off claimed area, is drawn to a target
// player, now and then rushes, and kills a player whose trail its opaque
// pixels touch. Its position decides which side of a closed trail stays free.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "actors/ActorSprite.h"
#include "gfx/AlphaImageList.h"

class TFastImageBuffer;
class TMemBoard;
class TPakFileReadable;
class TPlayer;
class TShadowMask;

class TEvil {
public:
  // Sprite pixels with alpha above this kill a trail beneath them.
  static constexpr std::int32_t HitAlphaThreshold = 50;

  // Loads ImageSetName from number 01 (with the empty-set box), then draws
  // the first frame with Random(count - 1).
  TEvil(TPointF StartPos, const std::string& ImageSetName, float NormalMaxSpeed, float RushMaxSpeed, float Attraction,
        const TPakFileReadable& Pak);
  TEvil(const TEvil&) = delete;
  TEvil& operator=(const TEvil&) = delete;

  float X = 0;
  float Y = 0;
  std::int32_t Frame = 0;
  std::int32_t FrameDuration = 0;  // 20 div the number of pictures
  std::int32_t FrameTicks = 0;
  TAlphaImageList Images;
  float NormalMaxSpeed = 0;
  float RushMaxSpeed = 0;
  float VX = 0;
  float VY = 0;
  float Jitter = 9.0f;
  float Attraction = 0;
  bool Rushing = false;
  std::int32_t HitTrail = -1;       // after Draw: -1 none, 0 player 1's trail, 1 player 2's
  const TPlayer* Target = nullptr;  // not owned; none until ChooseTarget

  // The strictly nearer player; Player1 on a tie or when Player2 is absent.
  void ChooseTarget(const TPlayer& Player1, const TPlayer* Player2);
  void Move(const TMemBoard& Board);
  // Animates (unless Frozen), paints and sets HitTrail.
  void Draw(TFastImageBuffer& Buffer, const TMemBoard& Board, bool Frozen, const TShadowMask& ShadowMask);

  const TAlphaImage& CurrentImage() const;
  float Velocity() const;
  float MaxSpeed() const { return Rushing ? RushMaxSpeed : NormalMaxSpeed; }

  // The claimed cells under the current picture's rectangle, counted per
  // side: 0 upper half, 1 right half, 2 lower half, 3 left half.
  std::array<std::int32_t, 4> BorderCounts(const TMemBoard& Board) const;
  // The push away from the side with the most claimed cells (first largest
  // in the order upper, right, lower, left); (0, 0) with none.
  TPoint BorderPush(const TMemBoard& Board) const;
};
