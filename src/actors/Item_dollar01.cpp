#include "actors/Item_dollar01.h"

#include "actors/Player.h"

TItem_dollar01::TItem_dollar01(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak)
    : TItemBase(Pos, Settings, Pak, ImageSetName) {}

void TItem_dollar01::Collect(TPlayer& Player) {
  Player.SetScore(Player.Score + 3000);
  Message = "3000 bonus to " + Player.DisplayName + "!";
  TItemBase::Collect(Player);
}
