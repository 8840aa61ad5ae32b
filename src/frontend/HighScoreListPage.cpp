#include "frontend/HighScoreListPage.h"

#include "persist/HighScore.h"
#include "platform/Screen.h"

namespace {

constexpr TScreenInfo ListInfo{146, 200, 28, false, 1, 8, -2};
constexpr std::int32_t ListWidth = 242;  // 2 * 146 - 50: the list screen's half width
constexpr std::int32_t ListHeight = 400;
constexpr std::int32_t ViewHeight = 236;  // the list screen's frame height plus the heading
constexpr std::int32_t ViewX = 279, ViewY = 284;
constexpr std::int32_t StatusY = 540;
constexpr std::int32_t ArrowX = 526, ArrowDownY = 510, ArrowUpY = 320;

// "arrow.png" upside down.
TAlphaImage TurnedOver(const TAlphaImage& Down) {
  TAlphaImage Up(Down.Width(), Down.Height());
  for (std::int32_t Y = 0; Y < Down.Height(); ++Y) Up.CopyRect(0, Y, Down, 0, Down.Height() - 1 - Y, Down.Width(), 1);
  return Up;
}

}  // namespace

THighScoreListPage::THighScoreListPage(TMenuContext& Context, const TMenuPictureLoader& Load, THighScore& Table)
    : TMenuPage(Context, ListInfo),
      FTable(Table),
      FHeading(Load("highscore.png")),
      FArrowDown(Load("arrow.png")),
      FArrowUp(TurnedOver(FArrowDown)),
      FSubmitHint(Load("submit_hi.png")),
      FSubmitting(Load("submit_hi_submitting.png")),
      FSubmitOk(Load("submit_hi_ok.png")),
      FSubmitError(Load("submit_hi_error.png")) {}

THighScoreListPage::~THighScoreListPage() = default;

const TAlphaImage& THighScoreListPage::StatusImage() const {
  switch (FSubmitStatus) {
    case StatusSubmitting: return FSubmitting;
    case StatusOk: return FSubmitOk;
    case StatusError: return FSubmitError;
    default: return FSubmitHint;
  }
}

void THighScoreListPage::BuildHighScoreImage() {
  FSubmitStatus = StatusHint;
  FHighScoreView = std::make_unique<TAlphaImage>(ListWidth, ViewHeight);
  FHighScoreView->CopyRect(121 - FHeading.Width() / 2, 0, FHeading, 0, 0, FHeading.Width(), FHeading.Height());

  FHighScoreList = std::make_unique<TAlphaImage>(ListWidth, ListHeight);
  TAlphaImage& List = *FHighScoreList;
  for (int I = 0; I < THighScore::Count; ++I) {
    auto Line = [&List](std::int32_t Y, std::uint32_t Alpha) {
      for (std::int32_t X = 0; X < ListWidth; ++X) List.SetPixel(X, Y, MakeRGBA(255, 255, 255, Alpha));
    };
    Line(20 * I, 50);
    Line(20 * I + 15, 50);
    for (std::int32_t Y = 20 * I + 3; Y <= 20 * I + 12; ++Y) Line(Y, 18);

    THighScore_element Entry;
    FTable.GetEntry(I, Entry);
    std::string Text = std::to_string(I + 1) + "." + Entry.Name;
    if (Entry.Name.size() < 17) Text.append(17 - Entry.Name.size(), ' ');
    if (I + 1 < 10) Text += ' ';
    const std::string Score = std::to_string(Entry.Score);
    if (Score.size() < 10) Text.append(10 - Score.size(), ' ');
    Text += Score;
    for (std::size_t J = 1; J <= Text.size(); ++J)
      Ctx.Canvas.CharImage(Text[J - 1]).MixInto(List, 8 * static_cast<std::int32_t>(J) - 7, 20 * I + 4);
  }
}

void THighScoreListPage::FreeHighScoreImage() {
  FHighScoreList.reset();
  FHighScoreView.reset();
}

void THighScoreListPage::DrawScreenContent() {
  EraseHighScoreList(false);
  DrawHighScoreList(false);
}

void THighScoreListPage::Activate(std::int32_t /*Entry*/) {
  Ctx.Host.SetScreen(TMenuScreen::Main);
  FreeHighScoreImage();
}

void THighScoreListPage::DrawHighScoreList(bool Force) {
  if (!FHighScoreView || !FHighScoreList) return;
  FHighScoreView->CopyRect(0, 36, *FHighScoreList, 0, 7 * Cursor(), ListWidth, 200);
  const TAlphaImage& Status = StatusImage();
  if (ContentAlpha() < 255 || Force) {
    FHighScoreView->DrawAlpha(Buffer(), ViewX, ViewY, ContentAlpha());
    Status.DrawAlpha(Buffer(), 400 - Status.Width() / 2, StatusY, ContentAlpha());
  } else {
    FHighScoreView->Draw(Buffer(), ViewX, ViewY);
  }
}

void THighScoreListPage::EraseHighScoreList(bool Force) {
  Ctx.Canvas.CopyBack(ViewX, ViewY, ListWidth, ViewHeight);
  if (ContentAlpha() < 255 || Force) {
    const TAlphaImage& Status = StatusImage();
    Ctx.Canvas.CopyBack(400 - Status.Width() / 2, StatusY, Status.Width(), Status.Height());
  }
}

void THighScoreListPage::DrawArrows(bool Erase) {
  if (Erase) {
    Ctx.Canvas.CopyBack(ArrowX, ArrowDownY, FArrowDown.Width(), FArrowDown.Height());
    Ctx.Canvas.CopyBack(ArrowX, ArrowUpY, FArrowUp.Width(), FArrowUp.Height());
    return;
  }
  const std::int32_t Alpha = PulseAlpha(30, 70);
  if (Cursor() < Info().Last) FArrowDown.DrawAlpha(Buffer(), ArrowX, ArrowDownY, Alpha);
  if (Cursor() > 0) FArrowUp.DrawAlpha(Buffer(), ArrowX, ArrowUpY, Alpha);
}

void THighScoreListPage::KeyPressed(char Ch) {
  if (Ch == 's') Submit();
}

void THighScoreListPage::Submit() {
  EraseHighScoreList(true);
  FSubmitStatus = StatusSubmitting;
  DrawHighScoreList(true);
  // The request blocks the window; show what is going on before it starts.
  Buffer().PaintTo(0, 0);
  if (Buffer().DC) Buffer().DC->PresentNow();
  const bool Ok = FTable.Submit();
  EraseHighScoreList(true);
  FSubmitStatus = Ok ? StatusOk : StatusError;
  DrawHighScoreList(true);
}
