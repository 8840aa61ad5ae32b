#include "actors/Item_dollar03.h"

#include "actors/Player.h"

TItem_dollar03::TItem_dollar03(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak)
    : TItemBase(Pos, Settings, Pak, ImageSetName) {}

void TItem_dollar03::Collect(TPlayer& Player) {
  Player.SetScore(Player.Score + 10000);
  Message = "10000 bonus to " + Player.DisplayName + "!";
  TItemBase::Collect(Player);
}
