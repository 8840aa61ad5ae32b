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
  // Back to rest: speed 10, last level 0.
  void Reset();

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
