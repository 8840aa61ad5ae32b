#include "actors/Item_speed.h"

#include "actors/Player.h"

TItem_speed::TItem_speed(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak)
    : TItemBase(Pos, Settings, Pak, ImageSetName) {}

void TItem_speed::Collect(TPlayer& Player) {
  Player.Speed += 0.5f;
  Message = "Increased speed to " + Player.DisplayName + "!";
  TItemBase::Collect(Player);
}
