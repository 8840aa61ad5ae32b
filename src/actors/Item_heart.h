// One extra life.
#pragma once

#include "actors/Itembase.h"

class TItem_heart : public TItemBase {
public:
  static constexpr const char* ImageSetName = "item_heart";

  TItem_heart(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak);

  void Collect(TPlayer& Player) override;
};
