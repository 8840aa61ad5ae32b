// Only drifts.
#pragma once

#include "actors/SmallEvilBase.h"

class TSmallEvil_evil03 : public TSmallEvilBase {
public:
  TSmallEvil_evil03(TPointF StartPos, const TPakFileReadable& Pak, std::int32_t LevelNumber);

  std::int32_t LevelNumber = 1;  // kept, not used by the motion

  void Move(TPoint FieldSize) override;
};
