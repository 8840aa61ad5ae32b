// 6,000 points.
#pragma once

#include "actors/Itembase.h"

class TItem_dollar02 : public TItemBase {
public:
  static constexpr const char* ImageSetName = "item_dollar02";

  TItem_dollar02(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak);

  void Collect(TPlayer& Player) override;
};
