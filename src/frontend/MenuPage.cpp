#include "frontend/MenuPage.h"

#include <cmath>

std::int32_t TMenuPage::PulseAlpha(std::int32_t Swing, std::int32_t Middle) const {
  return MenuRound(std::cos(static_cast<long double>(Ctx.State.CursorPhase)) * Swing + Middle);
}

void TMenuPage::ShowPicture(const TAlphaImage& Picture, std::int32_t X, std::int32_t Y) {
  Ctx.Canvas.CopyBack(X, Y, Picture.Width(), Picture.Height());
  Picture.DrawAlpha(Buffer(), X, Y, ContentAlpha());
}
