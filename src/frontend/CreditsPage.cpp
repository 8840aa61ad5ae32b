#include "frontend/CreditsPage.h"

namespace {

constexpr TScreenInfo CreditsInfo{160, 200, 0, false, 0, 0, 0};

}  // namespace

TCreditsPage::TCreditsPage(TMenuContext& Context, const TMenuPictureLoader& Load)
    : TMenuPage(Context, CreditsInfo), FPicture(Load("credits.png")) {}

void TCreditsPage::DrawScreenContent() {
  if (ContentAlpha() == 255) return;
  ShowPicture(FPicture, TMenuCanvas::Left(FPicture), 286);
}

void TCreditsPage::Activate(std::int32_t Entry) {
  if (Entry == 0) Ctx.Host.SetScreen(TMenuScreen::Main);
}
