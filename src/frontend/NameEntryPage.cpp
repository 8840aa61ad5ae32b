#include "frontend/NameEntryPage.h"

#include <algorithm>

#include "persist/HighScore.h"

namespace {

constexpr TScreenInfo NameEntryInfo{144, 102, 0, false, 1, 0, -1};
constexpr std::int32_t FieldX = 362, FieldY = 502;
constexpr TColorValue White = RGB(255, 255, 255);

bool Typeable(char Ch) {
  if ((Ch >= 'A' && Ch <= 'Z') || (Ch >= 'a' && Ch <= 'z') || (Ch >= '0' && Ch <= '9')) return true;
  static constexpr char Marks[] = " !'*+-./:;<>[\\]_|";
  for (int I = 0; Marks[I] != 0; ++I)
    if (Marks[I] == Ch) return true;
  return false;
}

}  // namespace

TNameEntryPage::TNameEntryPage(TMenuContext& Context, const TMenuPictureLoader& Load, THighScore& Table)
    : TMenuPage(Context, NameEntryInfo), FTable(Table), FPicture(Load("highscore_achieved.png")) {}

void TNameEntryPage::ClearName() {
  FNameText.clear();
  FNameCursor = 0;
  FTypedAhead.clear();
}

void TNameEntryPage::SetGameResult(std::int64_t Score1, std::int64_t Score2) {
  const THighScore& Table = FTable;
  if (Table.RankOf(Score1) == 20) Score1 = -1;
  if (Table.RankOf(Score2) == 20) Score2 = -1;
  // Only one of the two can take the last place.
  if (Score2 < Score1 && Table.RankOf(Score2) == 19) Score2 = -1;
  if (Score1 < Score2 && Table.RankOf(Score1) == 19) Score1 = -1;
  if (Score1 == Score2 && Table.RankOf(Score1) == 19) Score1 = Score2 = -1;
  FPendingScore1 = Score1;
  FPendingScore2 = Score2;
  FBestScore = std::max<std::int64_t>({-1, Score1, Score2});
  if (FPendingScore1 == -1 && FPendingScore2 == -1 && Ctx.State.Screen == TMenuScreen::NameEntry)
    Ctx.Host.SetScreen(TMenuScreen::Main);
}

void TNameEntryPage::DrawScreenContent() {
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  const std::int32_t T = 517 - FPicture.Height();
  ShowPicture(FPicture, L, T);

  char Player;
  std::int64_t Score;
  int Place;
  if (FPendingScore1 >= 0) {
    Player = '1';
    Score = FPendingScore1;
    // Player 2's higher score will be entered above this one.
    Place = FTable.RankOf(FPendingScore1) + (FPendingScore1 < FPendingScore2 ? 2 : 1);
  } else if (FPendingScore2 >= 0) {
    Player = '2';
    Score = FPendingScore2;
    Place = FTable.RankOf(FPendingScore2) + 1;
  } else {
    return;
  }
  TMenuCanvas& Canvas = Ctx.Canvas;
  const std::int32_t Alpha = ContentAlpha();
  Canvas.DrawGlyph(Player, L + 56, T + 4, Alpha);
  const std::string Digits = std::to_string(Score);
  for (std::size_t I = 1; I <= 10; ++I)
    Canvas.DrawGlyph(I <= Digits.size() ? Digits[I - 1] : ' ', L + 43 + 8 * static_cast<std::int32_t>(I), T + 33, Alpha);
  const std::string PlaceText = std::to_string(Place);
  for (std::size_t I = 1; I <= 2; ++I)
    Canvas.DrawGlyph(I <= PlaceText.size() ? PlaceText[I - 1] : ' ', L + 35 + 8 * static_cast<std::int32_t>(I), T + 45,
                     Alpha);
}

void TNameEntryPage::DrawField(bool Erase) {
  if (Erase) {
    Buffer().FillRect(TRect{FieldX, FieldY, FieldX + 8 * NameLength, FieldY + 7}, RGB(64, 64, 64));
    return;
  }
  Ctx.Canvas.DrawText(FNameText, FieldX, FieldY, 255);
  const std::int32_t Alpha = PulseAlpha(100, 150);
  for (std::int32_t Y = FieldY; Y <= FieldY + 7; ++Y) Buffer().BlendPixel(FieldX + 8 * FNameCursor, Y, White, Alpha);
}

void TNameEntryPage::Jumped(bool ToEnd) { FNameCursor = ToEnd ? static_cast<std::int32_t>(FNameText.size()) : 0; }

void TNameEntryPage::LeftRight(bool Right) {
  if (!Right && FNameCursor > 0) --FNameCursor;
  else if (Right && FNameCursor < static_cast<std::int32_t>(FNameText.size())) ++FNameCursor;
}

bool TNameEntryPage::QueueTyping(char Ch) {
  // Several letters can arrive between two ticks; a name keeps every one of
  // them, in order, and takes them in at the usual pace.
  if (FTypedAhead.empty() && Ctx.State.RepeatDelay % 3 == 0) return false;
  FTypedAhead.push_back(Ch);
  return true;
}

void TNameEntryPage::IdleTick() {
  if (!FTypedAhead.empty() && Ctx.State.RepeatDelay % 3 == 0) {
    Type(FTypedAhead.front());
    FTypedAhead.erase(0, 1);
    Ctx.State.RepeatDelay = Info().RepeatDelay;
  }
}

void TNameEntryPage::Type(char Ch) {
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

void TNameEntryPage::EraseChar(std::uint16_t Key) {
  if (Key == 46) {  // Delete
    if (FNameCursor < static_cast<std::int32_t>(FNameText.size()))
      FNameText.erase(static_cast<std::size_t>(FNameCursor), 1);
  } else if (Key == 8 && FNameCursor > 0) {  // Backspace
    --FNameCursor;
    FNameText.erase(static_cast<std::size_t>(FNameCursor), 1);
  }
}

void TNameEntryPage::Activate(std::int32_t Entry) {
  if (Entry == 0) StoreName();
}

void TNameEntryPage::StoreName() {
  const bool First = FPendingScore1 >= 0;
  const std::int64_t Score = First ? FPendingScore1 : FPendingScore2;
  FTable.Insert(FNameText, Score);
  FNameText.clear();
  FNameCursor = 0;
  (First ? FPendingScore1 : FPendingScore2) = -1;
  if (FPendingScore1 >= 0 || FPendingScore2 >= 0) {
    Ctx.Host.SetScreen(TMenuScreen::NameEntry);
    return;
  }
  Ctx.Host.ShowHighScores(FBestScore);
}
