#include "actors/SmallEvil_evil02.h"

#include "persist/CommonTypes.h"

TSmallEvil_evil02::TSmallEvil_evil02(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber)
    : TSmallEvilBase(StartPos, Pak, "small_evil02"), LevelNumber(LevelNumber) {
  FrameDuration = 2;
  MaxSpeed = static_cast<float>(5 - static_cast<long double>(20 - LevelNumber) / 20);
  HitRadiusSquared = 400;
}

void TSmallEvil_evil02::Move(TPoint FieldSize) {
  // A running countdown is never restarted, and no draw is made meanwhile.
  if (DashCountdown == 0 && Random(100) == 0) DashCountdown = Random(10) + 20;
  if (DashCountdown != 0) {
    if (--DashCountdown > 0) {
      VX = static_cast<float>(VX / 1.1L);
      VY = static_cast<float>(VY / 1.1L);
    } else {
      Dash();
    }
  } else {
    Drift(2);
  }
  BounceAndStep(FieldSize);
}
