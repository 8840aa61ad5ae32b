// 3,000 points.
#pragma once

#include "actors/Itembase.h"

class TItem_dollar01 : public TItemBase {
public:
  static constexpr const char* ImageSetName = "item_dollar01";

  TItem_dollar01(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak);

  void Collect(TPlayer& Player) override;
};
