// Wanders nervously; when drifting, brakes for 20..29 ticks (1 in 100)
// and dashes at its target.
#pragma once

#include "actors/SmallEvilBase.h"

class TSmallEvil_evil02 : public TSmallEvilBase {
public:
  TSmallEvil_evil02(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber);

  std::int32_t DashCountdown = 0;  // ticks of braking before the dash; 0 while drifting
  std::int32_t LevelNumber = 1;    // kept, not used by the motion

  void Move(TPoint FieldSize) override;
};
