// The running game's score keeping and its panels: the points of a claim
// and of a finished level, and the small picture fields of the right and
// bottom panels (scores, lives, level number, claimed share, time bar),
// each rebuilt from its background when its value changes and presented
// at its window position every tick. Kept apart from the game itself so
// the numbers and pictures can be checked without any actor.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gfx/AlphaImage.h"
#include "gfx/FastImaging.h"

class TPakFileReadable;
class TPanel;
class TScreen;

// Points for a claim of Count cells on level LevelNumber:
// (Count / (50 - LevelNumber)) ^ 1.05 in extended precision, rounded.
std::int64_t ClaimScore(std::int32_t Count, std::int32_t LevelNumber);

// The end-of-level reward before it is added: T is half the remaining time
// bonus, P the whole percent claimed beyond the target, both at least 0.
struct TLevelBonus {
  std::int32_t T = 0;
  std::int32_t P = 0;
  std::int64_t PercentPoints() const { return static_cast<std::int64_t>(P) * 300; }
  std::int64_t TimePoints(std::int32_t LevelNumber) const { return static_cast<std::int64_t>(T) * LevelNumber; }
  std::int64_t Points(std::int32_t LevelNumber) const { return TimePoints(LevelNumber) + PercentPoints(); }
};
TLevelBonus ComputeLevelBonus(std::int32_t TimeBonus, float ClaimedPercent);

// Decimal digits of a panel number: Value, or Overflow when it has more
// than MaxDigits digits. Negative values show as 0.
std::string PanelDigits(std::int64_t Value, std::size_t MaxDigits, const char* Overflow);

class TGamePanels {
public:
  // Window positions of the fields.
  static constexpr std::int32_t ScoreX = 650, Score1Y = 46, Score2Y = 166;
  static constexpr std::int32_t LivesX = 720, Lives1Y = 96, Lives2Y = 216;
  static constexpr std::int32_t LevelX = 739, LevelY = 477;
  static constexpr std::int32_t PercentX = 706, PercentY = 537;
  static constexpr std::int32_t TimeBarX = 49, TimeBarY = 574;
  static constexpr std::int32_t RightPanelLeft = 600;
  static constexpr std::int32_t TimeBarWidth = 530, TimeBarHeight = 7;

  // The seven fields, presenting to DC (nullptr: never presented), all
  // black until their backgrounds are copied.
  explicit TGamePanels(TScreen* DC);

  // Paints the right panel picture ("main_right_2p.jpg" or
  // "main_right_1p.jpg") into its window area and keeps the fields'
  // backgrounds from it. A missing or broken picture leaves black fields.
  void ShowRightPicture(const TPakFileReadable& Pak, bool TwoPlayers, TPanel* RightPanel);
  // "main_bottom.jpg" into the bottom panel.
  void ShowBottomPicture(const TPakFileReadable& Pak, TPanel* BottomPanel);
  // Paints both panel pictures again and lets them go: whatever painted
  // over the window while the game was being created (the menu's last
  // frame) is covered once the game shows its first frame.
  void RepaintPictures();
  // Cuts strip Strip (0 score digits, 1 large, 2 bonus) into ten digits.
  void CutDigits(const TPakFileReadable& Pak, std::int32_t Strip);
  void LoadDeadImage(const TPakFileReadable& Pak);
  // Fills both panel areas black (the game is going away).
  static void ClearPanel(TPanel* Panel);

  // Index 0 player 1, 1 player 2.
  void DrawScore(std::int32_t Index, std::int64_t Score);
  void DrawLives(std::int32_t Index, std::int32_t Lives, bool GameOver);
  void DrawLevelNumber(std::int32_t LevelNumber);
  void DrawPercent(float Percent);
  void DrawTimeBar(std::int32_t TimeBonus, std::int32_t TimeBonusStart);
  // The bonus screen into the play area, before the bonus is added.
  void DrawBonusScreen(TFastImageBuffer& PlayArea, const TAlphaImage& BonusImage, std::int32_t LevelNumber,
                       const TLevelBonus& Bonus) const;
  // Every field at its window position; player 2's only when TwoPlayers.
  void Present(bool TwoPlayers) const;

  // 0..9 score digits, 10..19 large digits, 20..29 bonus digits.
  std::array<TAlphaImage, 30> Digits;
  TAlphaImage DeadImage;
  std::array<TFastImageBuffer, 2> Score;
  std::array<TFastImageBuffer, 2> Lives;
  TFastImageBuffer LevelNumber;
  TFastImageBuffer Percent;
  TFastImageBuffer TimeBar;

private:
  // Right-aligned: digit i of n at Right + Step * (i - n); Y fixed.
  void DrawNumber(TFastImageBuffer& Buffer, const std::string& Text, std::int32_t FirstDigit, std::int32_t Right,
                  std::int32_t Step, std::int32_t Y) const;

  struct TShownPicture {
    std::unique_ptr<TFastImageBuffer> Picture;
    std::int32_t X = 0;
    std::int32_t Y = 0;
  };
  TShownPicture FRightPicture;
  TShownPicture FBottomPicture;
  std::array<TFastImageBuffer, 2> FScoreBack;
  std::array<TFastImageBuffer, 2> FLivesBack;
  TFastImageBuffer FLevelBack;
  TFastImageBuffer FPercentBack;
};
