// The high-score screens of the menu: the scrolling list with its submission,
// and the name entry after a game.
#include <algorithm>

#include "frontend/Menu.h"
#include "platform/Screen.h"

namespace {

constexpr std::int32_t ListWidth = 242;  // 2 * 146 - 50: the list screen's half width
constexpr std::int32_t ListHeight = 400;
constexpr std::int32_t ViewHeight = 236;  // the list screen's frame height plus the heading
constexpr std::int32_t ViewX = 279, ViewY = 284;
constexpr std::int32_t StatusY = 540;
constexpr std::int32_t ArrowX = 526, ArrowDownY = 510, ArrowUpY = 320;
constexpr std::int32_t FieldX = 362, FieldY = 502;
constexpr TColorValue White = RGB(255, 255, 255);

enum : int { StatusHint, StatusSubmitting, StatusOk, StatusError };

bool Typeable(char Ch) {
  if ((Ch >= 'A' && Ch <= 'Z') || (Ch >= 'a' && Ch <= 'z') || (Ch >= '0' && Ch <= '9')) return true;
  static constexpr char Marks[] = " !'*+-./:;<>[\\]_|";
  for (int I = 0; Marks[I] != 0; ++I)
    if (Marks[I] == Ch) return true;
  return false;
}

}  // namespace

const TAlphaImage& TMenu::StatusImage() const {
  switch (FSubmitStatus) {
    case StatusSubmitting: return Image(TImage::Submitting);
    case StatusOk: return Image(TImage::SubmitOk);
    case StatusError: return Image(TImage::SubmitError);
    default: return Image(TImage::SubmitHint);
  }
}

void TMenu::BuildHighScoreImage() {
  FSubmitStatus = StatusHint;
  const TAlphaImage& Heading = Image(TImage::HighScore);
  FHighScoreView = std::make_unique<TAlphaImage>(ListWidth, ViewHeight);
  FHighScoreView->CopyRect(121 - Heading.Width() / 2, 0, Heading, 0, 0, Heading.Width(), Heading.Height());

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
    FHighScores.GetEntry(I, Entry);
    std::string Text = std::to_string(I + 1) + "." + Entry.Name;
    if (Entry.Name.size() < 17) Text.append(17 - Entry.Name.size(), ' ');
    if (I + 1 < 10) Text += ' ';
    const std::string Score = std::to_string(Entry.Score);
    if (Score.size() < 10) Text.append(10 - Score.size(), ' ');
    Text += Score;
    for (std::size_t J = 1; J <= Text.size(); ++J)
      FGlyphs[static_cast<std::size_t>(GlyphIndex(Text[J - 1]))].MixInto(List, 8 * static_cast<std::int32_t>(J) - 7,
                                                                          20 * I + 4);
  }
}

void TMenu::FreeHighScoreImage() {
  FHighScoreList.reset();
  FHighScoreView.reset();
}

void TMenu::DrawHighScoreList(bool Force) {
  if (!FHighScoreView || !FHighScoreList) return;
  FHighScoreView->CopyRect(0, 36, *FHighScoreList, 0, 7 * FCursor, ListWidth, 200);
  const TAlphaImage& Status = StatusImage();
  if (FContentAlpha < 255 || Force) {
    FHighScoreView->DrawAlpha(FFrameBuffer, ViewX, ViewY, FContentAlpha);
    Status.DrawAlpha(FFrameBuffer, 400 - Status.Width() / 2, StatusY, FContentAlpha);
  } else {
    FHighScoreView->Draw(FFrameBuffer, ViewX, ViewY);
  }
}

void TMenu::EraseHighScoreList(bool Force) {
  CopyBack(ViewX, ViewY, ListWidth, ViewHeight);
  if (FContentAlpha < 255 || Force) {
    const TAlphaImage& Status = StatusImage();
    CopyBack(400 - Status.Width() / 2, StatusY, Status.Width(), Status.Height());
  }
}

void TMenu::DrawArrows(bool Erase) {
  const TAlphaImage& Down = Image(TImage::ArrowDown);
  const TAlphaImage& Up = Image(TImage::ArrowUp);
  if (Erase) {
    CopyBack(ArrowX, ArrowDownY, Down.Width(), Down.Height());
    CopyBack(ArrowX, ArrowUpY, Up.Width(), Up.Height());
    return;
  }
  const std::int32_t Alpha = PulseAlpha(30, 70);
  if (FCursor < Info(ScreenHighScores).Last) Down.DrawAlpha(FFrameBuffer, ArrowX, ArrowDownY, Alpha);
  if (FCursor > 0) Up.DrawAlpha(FFrameBuffer, ArrowX, ArrowUpY, Alpha);
}

void TMenu::Submit() {
  EraseHighScoreList(true);
  FSubmitStatus = StatusSubmitting;
  DrawHighScoreList(true);
  // The request blocks the window; show what is going on before it starts.
  FFrameBuffer.PaintTo(0, 0);
  if (FFrameBuffer.DC) FFrameBuffer.DC->PresentNow();
  const bool Ok = FHighScores.Submit();
  EraseHighScoreList(true);
  FSubmitStatus = Ok ? StatusOk : StatusError;
  DrawHighScoreList(true);
}

void TMenu::SetGameResult(std::int64_t Score1, std::int64_t Score2) {
  const THighScore& Table = FHighScores;
  if (Table.RankOf(Score1) == 20) Score1 = -1;
  if (Table.RankOf(Score2) == 20) Score2 = -1;
  // Only one of the two can take the last place.
  if (Score2 < Score1 && Table.RankOf(Score2) == 19) Score2 = -1;
  if (Score1 < Score2 && Table.RankOf(Score1) == 19) Score1 = -1;
  if (Score1 == Score2 && Table.RankOf(Score1) == 19) Score1 = Score2 = -1;
  FPendingScore1 = Score1;
  FPendingScore2 = Score2;
  FBestScore = std::max<std::int64_t>({-1, Score1, Score2});
  if (FPendingScore1 == -1 && FPendingScore2 == -1 && FScreen == ScreenNameEntry) SetScreen(ScreenMain);
}

void TMenu::DrawNameEntry() {
  const TAlphaImage& Picture = Image(TImage::Achieved);
  const std::int32_t L = Left(Picture);
  const std::int32_t T = 517 - Picture.Height();
  CopyBack(L, T, Picture.Width(), Picture.Height());
  Picture.DrawAlpha(FFrameBuffer, L, T, FContentAlpha);

  char Player;
  std::int64_t Score;
  int Place;
  if (FPendingScore1 >= 0) {
    Player = '1';
    Score = FPendingScore1;
    // Player 2's higher score will be entered above this one.
    Place = FHighScores.RankOf(FPendingScore1) + (FPendingScore1 < FPendingScore2 ? 2 : 1);
  } else if (FPendingScore2 >= 0) {
    Player = '2';
    Score = FPendingScore2;
    Place = FHighScores.RankOf(FPendingScore2) + 1;
  } else {
    return;
  }
  DrawGlyph(Player, L + 56, T + 4, FContentAlpha);
  const std::string Digits = std::to_string(Score);
  for (std::size_t I = 1; I <= 10; ++I)
    DrawGlyph(I <= Digits.size() ? Digits[I - 1] : ' ', L + 43 + 8 * static_cast<std::int32_t>(I), T + 33,
              FContentAlpha);
  const std::string PlaceText = std::to_string(Place);
  for (std::size_t I = 1; I <= 2; ++I)
    DrawGlyph(I <= PlaceText.size() ? PlaceText[I - 1] : ' ', L + 35 + 8 * static_cast<std::int32_t>(I), T + 45,
              FContentAlpha);
}

void TMenu::DrawNameField(bool Erase) {
  if (Erase) {
    FFrameBuffer.FillRect(TRect{FieldX, FieldY, FieldX + 8 * NameLength, FieldY + 7}, RGB(64, 64, 64));
    return;
  }
  DrawText(FNameText, FieldX, FieldY, 255);
  const std::int32_t Alpha = PulseAlpha(100, 150);
  for (std::int32_t Y = FieldY; Y <= FieldY + 7; ++Y) FFrameBuffer.BlendPixel(FieldX + 8 * FNameCursor, Y, White, Alpha);
}

void TMenu::TypeChar(char Ch) {
  if (!Typeable(Ch)) return;
  const auto Used = FNameText.find_last_not_of(' ');
  const std::size_t Trimmed = Used == std::string::npos ? 0 : Used + 1;
  if (Trimmed > NameLength - 1 || FNameCursor > NameLength - 1) return;
  // A full name gives up its last (blank) character for the new one.
  if (FNameText.size() >= NameLength) FNameText.resize(NameLength - 1);
  const auto At = std::min(static_cast<std::size_t>(FNameCursor), FNameText.size());
  FNameText.insert(At, 1, Ch);
  FNameCursor = static_cast<std::int32_t>(At) + 1;
}

void TMenu::EditName(std::uint16_t Key) {
  if (Key == 46) {  // Delete
    if (FNameCursor < static_cast<std::int32_t>(FNameText.size()))
      FNameText.erase(static_cast<std::size_t>(FNameCursor), 1);
  } else if (Key == 8 && FNameCursor > 0) {  // Backspace
    --FNameCursor;
    FNameText.erase(static_cast<std::size_t>(FNameCursor), 1);
  }
}

void TMenu::StoreName() {
  const bool First = FPendingScore1 >= 0;
  const std::int64_t Score = First ? FPendingScore1 : FPendingScore2;
  FHighScores.Insert(FNameText, Score);
  FNameText.clear();
  FNameCursor = 0;
  (First ? FPendingScore1 : FPendingScore2) = -1;
  if (FPendingScore1 >= 0 || FPendingScore2 >= 0) {
    SetScreen(ScreenNameEntry);
    return;
  }
  SetScreen(ScreenHighScores);
  BuildHighScoreImage();
  if (FBestScore >= 0) FCursor = std::min(FHighScores.RankOf(FBestScore) * 20 / 7, Info(ScreenHighScores).Last);
}
