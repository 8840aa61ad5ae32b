#include "actors/SmallEvil_evil01.h"

#include "common/CommonTypes.h"

TSmallEvil_evil01::TSmallEvil_evil01(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber)
    : TSmallEvilBase(StartPos, Pak, "small_evil01"), LevelNumber(LevelNumber) {
  MaxSpeed = LevelSpeed(6, LevelNumber);
  HitRadiusSquared = 500;
}

void TSmallEvil_evil01::Move(TPoint FieldSize) {
  if (Random(100) == 0) DashCountdown = Random(80) + 20;  // may restart a running countdown
  BrakeThenDash(DashCountdown, 10);
  BounceAndStep(FieldSize);
}
