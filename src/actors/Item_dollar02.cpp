#include "actors/Item_dollar02.h"

#include "actors/Player.h"

TItem_dollar02::TItem_dollar02(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak)
    : TItemBase(Pos, Settings, Pak, ImageSetName) {}

void TItem_dollar02::Collect(TPlayer& Player) {
  Player.SetScore(Player.Score + 6000);
  Message = "6000 bonus to " + Player.DisplayName + "!";
  TItemBase::Collect(Player);
}
