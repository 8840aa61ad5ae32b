// The options screen: music, sound effects, volume, full screen and the look
// of claimed ground, each changed with Left and Right (the switches also with
// Enter), and the ways to the two key screens and back.
#pragma once

#include "frontend/MenuPage.h"
#include "persist/ExtraSettings.h"

class TOptionsPage : public TMenuPage {
public:
  TOptionsPage(TMenuContext& Context, const TMenuPictureLoader& Load);

  void DrawScreenContent() override;
  void DrawCursor() override { DrawHighlight(false); }
  void EraseCursor() override { DrawHighlight(true); }
  bool ActsNow(std::int32_t Entry) const override { return Entry <= 4; }
  void Activate(std::int32_t Entry) override;
  void LeftRight(bool Right) override;
  void VolumeChanged() override;

  // Redraws the five values over the picture.
  void DrawOptionValues();
  // One tick off the pause between two toggles by a held Enter.
  void CoolDown() {
    if (FOptionCooldown > 0) --FOptionCooldown;
  }
  std::int32_t OptionCooldown() const { return FOptionCooldown; }

private:
  // The picture's row shown on window line Y, -1 in the band of the row the
  // picture lacks.
  static std::int32_t PictureRowAt(std::int32_t Y);
  // The picture's pixels of the window block at (X, Y), as laid out.
  void DrawPicture(std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H, bool Faded);
  void DrawGroundLabel();
  void DrawHighlight(bool Erase);
  void Toggle(std::int32_t Entry);
  void SetGroundLook(TClaimedGroundLook Look);

  TAlphaImage FPicture;
  TAlphaImage FGroundLabel;  // made from the small font on first use
  TAlphaImage FVolumeMarker;
  std::int32_t FOptionCooldown = 0;
};
