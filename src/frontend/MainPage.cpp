#include "frontend/MainPage.h"

#include "frontend/MenuMusic.h"

namespace {

constexpr TScreenInfo MainInfo{80, 189, 5, true, 4, 2, -1};
constexpr std::int32_t PictureX = 337, PictureY = 300;
constexpr TColorValue White = RGB(255, 255, 255);

}  // namespace

TMainPage::TMainPage(TMenuContext& Context, const TMenuPictureLoader& Load)
    : TMenuPage(Context, MainInfo), FPicture(Load("menu_main.png")) {}

void TMainPage::DrawScreenContent() {
  if (ContentAlpha() == 255) return;
  ShowPicture(FPicture, PictureX, PictureY);
}

void TMainPage::DrawCursor() {
  const std::int32_t P = PulseAlpha();
  for (std::int32_t Y : {342 + 30 * Cursor(), 357 + 30 * Cursor()})
    for (std::int32_t X = 341; X <= 456; ++X) Buffer().BlendPixel(X, Y, White, P);
}

void TMainPage::EraseCursor() {
  for (std::int32_t Row : {42 + 30 * Cursor(), 57 + 30 * Cursor()}) {
    Ctx.Canvas.CopyBack(341, PictureY + Row, 116, 1);
    FPicture.DrawPart(Buffer(), 341, PictureY + Row, TRect{4, Row, 119, Row});
  }
}

void TMainPage::Activate(std::int32_t Entry) {
  switch (Entry) {
    case 0: Ctx.Host.RequestStart(false); break;
    case 1: Ctx.Host.RequestStart(true); break;
    case 2: Ctx.Host.SetScreen(TMenuScreen::Options); break;
    case 3: Ctx.Host.ShowHighScores(-1); break;
    case 4: Ctx.Host.SetScreen(TMenuScreen::Credits); break;
    case 5:
      Ctx.Music.StopMusic();
      Ctx.Host.RequestQuit();
      break;
    default: break;
  }
}
