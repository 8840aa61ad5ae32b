// The options screen: music, sound effects, volume and full screen, each
// changed with Left and Right (the switches also with Enter), and the ways to
// the two key screens and back.
#pragma once

#include "frontend/MenuPage.h"

class TOptionsPage : public TMenuPage {
public:
  TOptionsPage(TMenuContext& Context, const TMenuPictureLoader& Load);

  void DrawScreenContent() override;
  void DrawCursor() override { DrawHighlight(false); }
  void EraseCursor() override { DrawHighlight(true); }
  bool ActsNow(std::int32_t Entry) const override { return Entry <= 3; }
  void Activate(std::int32_t Entry) override;
  void LeftRight(bool Right) override;
  void VolumeChanged() override;

  // Redraws the four values over the picture.
  void DrawOptionValues();
  // One tick off the pause between two toggles by a held Enter.
  void CoolDown() {
    if (FOptionCooldown > 0) --FOptionCooldown;
  }
  std::int32_t OptionCooldown() const { return FOptionCooldown; }

private:
  void DrawHighlight(bool Erase);
  void Toggle(std::int32_t Entry);

  TAlphaImage FPicture;
  TAlphaImage FVolumeMarker;
  std::int32_t FOptionCooldown = 0;
};
