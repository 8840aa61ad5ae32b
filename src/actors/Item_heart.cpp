#include "actors/Item_heart.h"

#include "actors/Player.h"

TItem_heart::TItem_heart(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak)
    : TItemBase(Pos, Settings, Pak, ImageSetName) {}

void TItem_heart::Collect(TPlayer& Player) {
  Player.SetLives(Player.Lives + 1);
  Message = "Extra life to " + Player.DisplayName + "!";
  TItemBase::Collect(Player);
}
