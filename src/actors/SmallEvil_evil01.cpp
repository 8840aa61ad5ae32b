#include "actors/SmallEvil_evil01.h"

#include "persist/CommonTypes.h"

TSmallEvil_evil01::TSmallEvil_evil01(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber)
    : TSmallEvilBase(StartPos, Pak, "small_evil01"), LevelNumber(LevelNumber) {
  MaxSpeed = static_cast<float>(6 - static_cast<long double>(20 - LevelNumber) / 20);
  HitRadiusSquared = 500;
}

void TSmallEvil_evil01::Move(TPoint FieldSize) {
  if (Random(100) == 0) DashCountdown = Random(80) + 20;  // may restart a running countdown
  if (DashCountdown != 0) {
    if (--DashCountdown > 0) {
      VX = static_cast<float>(VX / 1.1L);
      VY = static_cast<float>(VY / 1.1L);
    } else {
      Dash();
    }
  } else {
    Drift(10);
  }
  BounceAndStep(FieldSize);
}
