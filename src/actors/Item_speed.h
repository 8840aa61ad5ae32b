// Raises the player's speed by 0.5.
#pragma once

#include "actors/Itembase.h"

class TItem_speed : public TItemBase {
public:
  static constexpr const char* ImageSetName = "item_speed";

  TItem_speed(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak);

  void Collect(TPlayer& Player) override;
};
