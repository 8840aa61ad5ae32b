// 10,000 points.
#pragma once

#include "actors/Itembase.h"

class TItem_dollar03 : public TItemBase {
public:
  static constexpr const char* ImageSetName = "item_dollar03";

  TItem_dollar03(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak);

  void Collect(TPlayer& Player) override;
};
