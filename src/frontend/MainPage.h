// The main menu: one- and two-player games, options, high scores, credits
// and quit, with a pulsing pair of lines round the current entry.
#pragma once

#include "frontend/MenuPage.h"

class TMainPage : public TMenuPage {
public:
  TMainPage(TMenuContext& Context, const TMenuPictureLoader& Load);

  void DrawScreenContent() override;
  void DrawCursor() override;
  void EraseCursor() override;
  bool StartsGame(std::int32_t Entry) const override { return Entry == 0 || Entry == 1; }
  void Activate(std::int32_t Entry) override;
  bool MoveRestartsPulse() const override { return true; }

private:
  TAlphaImage FPicture;
};
