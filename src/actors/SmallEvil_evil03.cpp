#include "actors/SmallEvil_evil03.h"

TSmallEvil_evil03::TSmallEvil_evil03(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber)
    : TSmallEvilBase(StartPos, Pak, "small_evil03"), LevelNumber(LevelNumber) {
  FrameDuration = 2;
  MaxSpeed = LevelSpeed(6, LevelNumber);
  HitRadiusSquared = 400;
}

void TSmallEvil_evil03::Move(TPoint FieldSize) {
  Drift(10);
  BounceAndStep(FieldSize);
}
