#include "actors/SmallEvil_evil02.h"

#include "common/CommonTypes.h"

TSmallEvil_evil02::TSmallEvil_evil02(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber)
    : TSmallEvilBase(StartPos, Pak, "small_evil02"), LevelNumber(LevelNumber) {
  FrameDuration = 2;
  MaxSpeed = LevelSpeed(5, LevelNumber);
  HitRadiusSquared = 400;
}

void TSmallEvil_evil02::Move(TPoint FieldSize) {
  // A running countdown is never restarted, and no draw is made meanwhile.
  if (DashCountdown == 0 && Random(100) == 0) DashCountdown = Random(10) + 20;
  BrakeThenDash(DashCountdown, 2);
  BounceAndStep(FieldSize);
}
