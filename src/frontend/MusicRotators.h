// The two music rotators at the menu's sides: discs that spin with the
// loudness of the menu music, each over a bar that shows its speed.
#pragma once

#include <cstdint>

#include "frontend/MenuCanvas.h"

class TAudioObject;
class TConfig;

class TMusicRotators {
public:
  explicit TMusicRotators(const TMenuPictureLoader& Load);

  // Redraws both from the music's current levels (silence while the music
  // is switched off).
  void Draw(TMenuCanvas& Canvas, TAudioObject& Audio, const TConfig& Config);
  // Redraws both from the engine's peak levels (0..32768 each).
  void DrawLevels(TMenuCanvas& Canvas, std::uint32_t Left, std::uint32_t Right);
  // Back to rest: speed 10, last level 0.
  void Reset();

  // The disc arithmetic adds each tick's change of level to a speed of 10
  // at rest and drops a speed above 100 back to 10, so it wants levels of
  // 0..90: the engine's peaks are scaled to that, full scale giving 90.
  static constexpr std::int32_t FullLevel = 90;
  static std::int32_t ScaledLevel(std::uint32_t EngineLevel);

  float LeftSpeed() const { return FLeft.Speed; }
  float RightSpeed() const { return FRight.Speed; }
  float LeftAngle() const { return FLeft.Angle; }
  float RightAngle() const { return FRight.Angle; }

private:
  struct TDisc {
    std::int32_t Level = 0;
    float Angle = 0;
    float Speed = 10;
  };
  void DrawDisc(TMenuCanvas& Canvas, TDisc& Disc, std::int32_t Level, std::int32_t X, int Direction) const;

  TAlphaImage FRotator;
  TAlphaImage FLeftBar;
  TAlphaImage FRightBar;
  TAlphaImage FCentre;
  TDisc FLeft;
  TDisc FRight;
};
