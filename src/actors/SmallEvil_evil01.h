// Drifts slowly; now and then (1 in 100 ticks, restarting a running
// countdown) brakes for 20..99 ticks, then dashes at its target.
#pragma once

#include "actors/SmallEvilBase.h"

class TSmallEvil_evil01 : public TSmallEvilBase {
public:
  TSmallEvil_evil01(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber);

  std::int32_t DashCountdown = 0;  // ticks of braking before the dash; 0 while drifting
  std::int32_t LevelNumber = 1;    // kept, not used by the motion

  void Move(TPoint FieldSize) override;
};
