// The credits: one picture, no entries but the way back.
#pragma once

#include "frontend/MenuPage.h"

class TCreditsPage : public TMenuPage {
public:
  TCreditsPage(TMenuContext& Context, const TMenuPictureLoader& Load);

  void DrawScreenContent() override;
  void Activate(std::int32_t Entry) override;

private:
  TAlphaImage FPicture;
};
