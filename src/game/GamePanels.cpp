#include "game/GamePanels.h"

#include <algorithm>
#include <cmath>

#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"
#include "platform/Panel.h"
#include "platform/Screen.h"

namespace {

struct TStrip {
  const char* Name;
  std::int32_t Width;
  std::int32_t Height;
};
constexpr std::array<TStrip, 3> Strips = {{
    {"numerics_score.png", 12, 14},
    {"numerics_large.png", 16, 18},
    {"numerics_bonus.png", 12, 12},
}};

constexpr TColorValue TimeBarGrey = TFastImageBuffer::MakeColor(64, 64, 64);

}  // namespace

std::int64_t ClaimScore(std::int32_t Count, std::int32_t LevelNumber) {
  if (Count <= 0) return 0;  // 0 ^ 1.05 = 0
  const long double Cells = static_cast<long double>(Count) / static_cast<long double>(50 - LevelNumber);
  return RoundHalfEven(std::pow(Cells, 1.05L));
}

TLevelBonus ComputeLevelBonus(std::int32_t TimeBonus, float ClaimedPercent) {
  TLevelBonus Bonus;
  Bonus.T = TimeBonus > 0 ? TimeBonus / 2 : 0;
  // Whole percent beyond the target; the share is never near the int range.
  const long double Whole = std::floor(static_cast<long double>(ClaimedPercent));
  Bonus.P = Whole > 100.0L && Whole < 1.0e9L ? static_cast<std::int32_t>(Whole) - 100 : 0;
  return Bonus;
}

std::string PanelDigits(std::int64_t Value, std::size_t MaxDigits, const char* Overflow) {
  if (Value < 0) Value = 0;
  std::string Text = std::to_string(Value);
  return Text.size() > MaxDigits ? std::string(Overflow) : Text;
}

TGamePanels::TGamePanels(TScreen* DC)
    : Score{TFastImageBuffer(DC, 120, 14), TFastImageBuffer(DC, 120, 14)},
      Lives{TFastImageBuffer(DC, 50, 14), TFastImageBuffer(DC, 50, 14)},
      LevelNumber(DC, 32, 18),
      Percent(DC, 48, 18),
      TimeBar(DC, TimeBarWidth, TimeBarHeight),
      FScoreBack{TFastImageBuffer(nullptr, 120, 14), TFastImageBuffer(nullptr, 120, 14)},
      FLivesBack{TFastImageBuffer(nullptr, 50, 14), TFastImageBuffer(nullptr, 50, 14)},
      FLevelBack(nullptr, 32, 18),
      FPercentBack(nullptr, 48, 18) {}

void TGamePanels::ShowRightPicture(const TPakFileReadable& Pak, bool TwoPlayers, TPanel* RightPanel) {
  FRightPicture.Picture = std::make_unique<TFastImageBuffer>(RightPanel ? &RightPanel->Screen() : nullptr, 0, 0);
  const TFastImageBuffer& Picture = *FRightPicture.Picture;
  LoadJpeg(Pak, TwoPlayers ? "main_right_2p.jpg" : "main_right_1p.jpg", *FRightPicture.Picture);
  if (RightPanel) {
    FRightPicture.X = RightPanel->Left();
    FRightPicture.Y = RightPanel->Top();
    Picture.PaintTo(FRightPicture.X, FRightPicture.Y);
  }
  // Positions within the picture, whose left edge is at window x = 600.
  FScoreBack[0].CopyRect(0, 0, Picture, ScoreX - RightPanelLeft, Score1Y, 120, 14);
  FScoreBack[1].CopyRect(0, 0, Picture, ScoreX - RightPanelLeft, Score2Y, 120, 14);
  FLivesBack[0].CopyRect(0, 0, Picture, LivesX - RightPanelLeft, Lives1Y, 50, 14);
  FLivesBack[1].CopyRect(0, 0, Picture, LivesX - RightPanelLeft, Lives2Y, 50, 14);
  FLevelBack.CopyRect(0, 0, Picture, LevelX - RightPanelLeft, LevelY, 32, 18);
  FPercentBack.CopyRect(0, 0, Picture, PercentX - RightPanelLeft, PercentY, 48, 18);
}

void TGamePanels::ShowBottomPicture(const TPakFileReadable& Pak, TPanel* BottomPanel) {
  if (!BottomPanel) return;
  FBottomPicture.Picture = std::make_unique<TFastImageBuffer>(&BottomPanel->Screen(), 0, 0);
  LoadJpeg(Pak, "main_bottom.jpg", *FBottomPicture.Picture);
  FBottomPicture.X = BottomPanel->Left();
  FBottomPicture.Y = BottomPanel->Top();
  FBottomPicture.Picture->PaintTo(FBottomPicture.X, FBottomPicture.Y);
}

void TGamePanels::RepaintPictures() {
  for (TShownPicture* Shown : {&FRightPicture, &FBottomPicture}) {
    if (Shown->Picture) Shown->Picture->PaintTo(Shown->X, Shown->Y);
    Shown->Picture.reset();
  }
}

void TGamePanels::CutDigits(const TPakFileReadable& Pak, std::int32_t Strip) {
  if (Strip < 0 || Strip > 2) return;
  const TStrip& S = Strips[static_cast<std::size_t>(Strip)];
  TAlphaImage Whole;
  LoadPicture(Pak, S.Name, Whole);
  // Ten digits of equal width; a missing strip leaves transparent digits
  // of the expected size.
  const std::int32_t W = Whole.Width() >= 10 ? Whole.Width() / 10 : S.Width;
  const std::int32_t H = Whole.Height() > 0 ? Whole.Height() : S.Height;
  for (std::int32_t D = 0; D < 10; ++D) {
    TAlphaImage Digit(W, H);
    Digit.CopyRect(0, 0, Whole, D * W, 0, W, H);
    Digits[static_cast<std::size_t>(Strip * 10 + D)] = std::move(Digit);
  }
}

void TGamePanels::LoadDeadImage(const TPakFileReadable& Pak) { LoadPicture(Pak, "dead.png", DeadImage); }

void TGamePanels::ClearPanel(TPanel* Panel) {
  if (!Panel) return;
  TScreen& Screen = Panel->Screen();
  for (int Y = std::max(0, Panel->Top()); Y < std::min(Screen.Height(), Panel->Top() + Panel->Height()); ++Y) {
    const int X0 = std::max(0, Panel->Left());
    const int X1 = std::min(Screen.Width(), Panel->Left() + Panel->Width());
    if (X1 > X0)
      std::fill(Screen.Row(Y) + X0 * TScreen::BytesPerPixel, Screen.Row(Y) + X1 * TScreen::BytesPerPixel, 0);
  }
  Screen.MarkDirty(Panel->Left(), Panel->Top(), Panel->Width(), Panel->Height());
}

void TGamePanels::DrawNumber(TFastImageBuffer& Buffer, const std::string& Text, std::int32_t FirstDigit,
                             std::int32_t Right, std::int32_t Step, std::int32_t Y) const {
  const std::int32_t N = static_cast<std::int32_t>(Text.size());
  for (std::int32_t I = 0; I < N; ++I)
    Digits[static_cast<std::size_t>(FirstDigit + (Text[static_cast<std::size_t>(I)] - '0'))].Draw(
        Buffer, Right + Step * (I - N), Y);
}

void TGamePanels::DrawScore(std::int32_t Index, std::int64_t Value) {
  TFastImageBuffer& Buffer = Score[static_cast<std::size_t>(Index & 1)];
  Buffer.CopyRect(0, 0, FScoreBack[static_cast<std::size_t>(Index & 1)], 0, 0, 120, 14);
  DrawNumber(Buffer, PanelDigits(Value, 10, "9999999999"), 0, 10 * 12, 12, 0);
}

void TGamePanels::DrawLives(std::int32_t Index, std::int32_t Value, bool GameOver) {
  TFastImageBuffer& Buffer = Lives[static_cast<std::size_t>(Index & 1)];
  Buffer.CopyRect(0, 0, FLivesBack[static_cast<std::size_t>(Index & 1)], 0, 0, 50, 14);
  if (GameOver) DeadImage.Draw(Buffer, 0, 0);
  else Digits[static_cast<std::size_t>(std::clamp(Value, 0, 9))].Draw(Buffer, 38, 0);
}

void TGamePanels::DrawLevelNumber(std::int32_t Value) {
  LevelNumber.CopyRect(0, 0, FLevelBack, 0, 0, 32, 18);
  DrawNumber(LevelNumber, PanelDigits(Value, 2, "99"), 10, 2 * 16, 16, 0);
}

void TGamePanels::DrawPercent(float Value) {
  Percent.CopyRect(0, 0, FPercentBack, 0, 0, 48, 18);
  // "999" beyond 999, and for a value that is not a number.
  const std::string Text =
      Value <= 999.0f ? PanelDigits(static_cast<std::int64_t>(std::floor(std::max(Value, 0.0f))), 3, "999") : "999";
  DrawNumber(Percent, Text, 10, 3 * 16, 16, 0);
}

void TGamePanels::DrawTimeBar(std::int32_t TimeBonus, std::int32_t TimeBonusStart) {
  TimeBar.FillRect({0, 0, TimeBarWidth, TimeBarHeight}, TimeBarGrey);
  if (TimeBonus <= 0 || TimeBonusStart <= 0) return;
  const long double F = static_cast<long double>(TimeBonus) / static_cast<long double>(TimeBonusStart);
  const std::int64_t W = RoundHalfEven(F * TimeBarWidth);
  const std::int64_t G = RoundHalfEven((1.0L - F) * 128.0L);
  TimeBar.FillRect({0, 1, static_cast<std::int32_t>(W), 5},
                   TFastImageBuffer::MakeColor(208, static_cast<std::int32_t>(std::clamp<std::int64_t>(160 - G, 0, 255)), 0));
}

void TGamePanels::DrawBonusScreen(TFastImageBuffer& PlayArea, const TAlphaImage& BonusImage,
                                  std::int32_t Level, const TLevelBonus& Bonus) const {
  BonusImage.Draw(PlayArea, PlayArea.Width() / 2 - BonusImage.Width() / 2,
                  PlayArea.Height() / 2 - BonusImage.Height() / 2);
  const std::string LevelText = PanelDigits(Level, 10, "0");
  DrawNumber(PlayArea, PanelDigits(Bonus.P, 19, "0"), 20, 270, 10, 262);
  DrawNumber(PlayArea, PanelDigits(Bonus.T, 19, "0"), 20, 290, 10, 278);
  // Left-aligned at 360: the right edge follows the length.
  DrawNumber(PlayArea, LevelText, 20, 360 + 10 * static_cast<std::int32_t>(LevelText.size()), 10, 278);
  DrawNumber(PlayArea, PanelDigits(Bonus.PercentPoints(), 19, "0"), 20, 475, 10, 262);
  DrawNumber(PlayArea, PanelDigits(Bonus.TimePoints(Level), 19, "0"), 20, 475, 10, 278);
  DrawNumber(PlayArea, PanelDigits(Bonus.Points(Level), 19, "0"), 20, 475, 10, 299);
}

void TGamePanels::Present(bool TwoPlayers) const {
  Score[0].PaintTo(ScoreX, Score1Y);
  Lives[0].PaintTo(LivesX, Lives1Y);
  if (TwoPlayers) {
    Score[1].PaintTo(ScoreX, Score2Y);
    Lives[1].PaintTo(LivesX, Lives2Y);
  }
  LevelNumber.PaintTo(LevelX, LevelY);
  Percent.PaintTo(PercentX, PercentY);
  TimeBar.PaintTo(TimeBarX, TimeBarY);
}
