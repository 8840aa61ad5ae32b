// Small enemies: animated creatures that fly over the whole play area,
// bounce off its bounds and kill a player marker they come close to. The
// kinds differ only in their motion (Move) and a few constants.
#pragma once

#include <cstdint>
#include <string>

#include "actors/ActorSprite.h"
#include "gfx/AlphaImageList.h"

class TFastImageBuffer;
class TPakFileReadable;
class TPlayer;
class TShadowMask;

class TSmallEvilBase {
public:
  TSmallEvilBase(const TSmallEvilBase&) = delete;
  TSmallEvilBase& operator=(const TSmallEvilBase&) = delete;
  virtual ~TSmallEvilBase() = default;

  std::int32_t Frame = 0;
  std::int32_t FrameTicks = 0;
  TAlphaImageList Images;
  std::int32_t HitPlayer = -1;  // after UpdateAndDraw: -1 none, else the PlayerIndex hit
  std::int32_t FrameDuration = 0;
  float MaxSpeed = 6.0f;
  float X = 0;
  float Y = 0;
  float VX = 0;
  float VY = 0;
  std::int32_t HitRadiusSquared = 0;
  const TPlayer* Target = nullptr;  // not owned; none until ChooseTarget

  // The strictly nearer player; Player1 on a tie or when Player2 is absent.
  void ChooseTarget(const TPlayer& Player1, const TPlayer* Player2);
  // One motion step inside a field of FieldSize (the play area, 600 x 550).
  virtual void Move(TPoint FieldSize) = 0;
  // Target check, animation (unless Frozen), painting and hit test.
  // Player2 is nullptr in a one-player game.
  void UpdateAndDraw(TFastImageBuffer& Buffer, const TPlayer& Player1, bool Frozen, const TShadowMask& ShadowMask,
                     const TPlayer* Player2);

  const TAlphaImage& CurrentImage() const;
  float Velocity() const;

protected:
  // Loads ImageSetName from number 01 (with the empty-set box); draws the
  // first frame with Random(count - 1) and the start velocity from two
  // fresh reals, scaled to length 6.
  TSmallEvilBase(TPointF StartPos, const TPakFileReadable& Pak, const std::string& ImageSetName);

  // Motion pieces the kinds share.
  // Adds (Random * 2 - 1) / Divisor to each axis (X first) and caps the
  // length at MaxSpeed.
  void Drift(std::int32_t Divisor);
  // Reverses a velocity component that would carry the centre past the
  // current picture's margins; then moves.
  void BounceAndStep(TPoint FieldSize);
  // (Target - position) scaled to MaxSpeed; the velocity stays when it has
  // no direction.
  void Dash();
  // A braking countdown running: slows down by 1.1 a tick and dashes when
  // it runs out; no countdown: drifts by DriftDivisor.
  void BrakeThenDash(std::int32_t& Countdown, std::int32_t DriftDivisor);
  // Base speed less (20 - level) / 20, in extended precision.
  static float LevelSpeed(std::int32_t Base, std::int32_t LevelNumber);
};
