// The game's own animated menu: every frame composed in an 800 x 600 buffer
// over a background picture, with a bracket-shaped frame that unfolds around
// the current screen's content and folds away when an entry is chosen, a
// pulsing highlight, two music rotators, the menu music with its fades and
// loop, and seven screens (main, high-score list, name entry, credits,
// options, both players' keys). Drawing is incremental: each tick copies
// back from the background and redraws only what changes, then paints once.
//
// Missing pictures draw nothing and missing sounds stay silent: the menu
// stays usable with a thin archive.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/FormParts.h"
#include "audio/SoundEffect.h"
#include "gfx/AlphaImage.h"
#include "gfx/FastImaging.h"
#include "persist/HighScore.h"

class TAudioObject;
class TConfig;
class TMemoryStream;
class TPakFileReadable;

class TMenu : public IMenu {
public:
  // Screens.
  static constexpr int ScreenMain = 0;
  static constexpr int ScreenHighScores = 1;
  static constexpr int ScreenNameEntry = 2;
  static constexpr int ScreenCredits = 3;
  static constexpr int ScreenOptions = 4;
  static constexpr int ScreenKeys1 = 5;
  static constexpr int ScreenKeys2 = 6;
  static constexpr int ScreenCount = 7;

  // Sound numbers for StopSound; the window stops 10 and 12 by number.
  static constexpr int SoundTick = 8;
  static constexpr int SoundChoose = 9;
  static constexpr int SoundScroll = 10;
  static constexpr int SoundScrollRest = 11;
  static constexpr int SoundFoldOut = 12;
  static constexpr int SoundFoldIn = 13;
  static constexpr int SoundError = 14;

  static constexpr int GlyphCount = 54;
  static constexpr int NameLength = 16;

  // Per-screen constants.
  struct TScreenInfo {
    std::int32_t HalfWidth;
    std::int32_t FrameHeight;
    std::int32_t Last;  // highest Cursor value
    bool Wraps;
    std::int32_t RepeatDelay;
    std::int32_t PageStep;
    std::int32_t EscEntry;  // -1: Escape does nothing; -2: the current position
  };
  static const TScreenInfo& Info(int Screen);

  TMenu(int Screen, const TPakFileReadable& Pak, TAudioObject& Audio, TConfig& Config, TScreen& DC);
  ~TMenu() override;
  TMenu(const TMenu&) = delete;
  TMenu& operator=(const TMenu&) = delete;

  // The window's calls.
  void SetScreen(int Screen) override;
  void SetGameResult(std::int64_t Score1, std::int64_t Score2) override;
  void RestartMusic() override;
  void KeyDown(std::uint16_t& Key) override;
  void KeyPress(char Ch) override;
  void SetTargetDC(TScreen& DC) override { FFrameBuffer.DC = &DC; }
  void ShowCheatMark() override;
  void SetPaused(bool Paused) override;
  void CursorUp() override;
  void CursorDown() override;
  void CursorLeft() override;
  void CursorRight() override;
  void Choose() override;
  void CursorHome() override;
  void CursorEnd() override;
  void PageUp() override;
  void PageDown() override;
  void Back() override;
  void EraseChar(std::uint16_t Key) override;
  void StopSound(int Index) override;
  void StopMusic() override;
  void Tick() override;
  TFastImageBuffer& FrameBuffer() override { return FFrameBuffer; }
  bool StartOnePlayer() const override { return FStartOnePlayer; }
  bool StartTwoPlayers() const override { return FStartTwoPlayers; }
  bool QuitRequested() const override { return FQuitRequested; }

  TConfig& Config() { return FConfig; }
  THighScore& HighScores() { return FHighScores; }

  // State, read by tests and the window.
  int Screen() const { return FScreen; }
  std::int32_t Cursor() const { return FCursor; }
  bool Opening() const { return FOpening; }
  bool Closing() const { return FClosing; }
  bool Resizing() const { return FResizing; }
  bool FadingIn() const { return FFadingIn; }
  bool FadingOut() const { return FFadingOut; }
  // At rest: no frame or content animation runs.
  bool Idle() const { return !FOpening && !FClosing && !FResizing && !FFadingIn && !FFadingOut; }
  std::int32_t ContentAlpha() const { return FContentAlpha; }
  float HalfWidth() const { return FHalfWidth; }
  std::int32_t FrameHeight() const { return FFrameHeight; }
  float CursorPhase() const { return FCursorPhase; }
  std::int32_t RepeatDelay() const { return FRepeatDelay; }
  std::int32_t MusicLevel() const { return FMusicLevel; }
  bool MusicFadingIn() const { return FMusicFadingIn; }
  bool MusicFadingOut() const { return FMusicFadingOut; }
  std::int64_t PendingScore1() const { return FPendingScore1; }
  std::int64_t PendingScore2() const { return FPendingScore2; }
  std::int64_t BestScore() const { return FBestScore; }
  const std::string& NameText() const { return FNameText; }
  std::int32_t NameCursor() const { return FNameCursor; }
  std::int32_t WaitingKey1() const { return FWaitingKey1; }
  std::int32_t WaitingKey2() const { return FWaitingKey2; }
  std::uint8_t CheatMarkAlpha() const { return FCheatMarkAlpha; }
  std::int32_t OptionCooldown() const { return FOptionCooldown; }
  // The status picture under the high-score list: 0 hint, 1 submitting,
  // 2 ok, 3 error.
  int SubmitStatus() const { return FSubmitStatus; }
  const TAlphaImage* HighScoreView() const { return FHighScoreView.get(); }
  const TFastImageBuffer& Background() const { return FBackground; }
  // The glyph of the small font for Ch (52 is the blank).
  static int GlyphIndex(char Ch);
  // Whether the sound with that number is playing now.
  bool SoundPlaying(int Index);
  // Whether Key is bound to an action other than the row that waits.
  bool KeyInUse(std::uint16_t Key) const;

private:
  enum class TImage {
    Main, Rotator, LeftBar, RightBar, RotatorCentre, SubmitHint, SubmitError, SubmitOk, Submitting,
    ArrowUp, ArrowDown, Achieved, Credits, Options, Volume, Keys, Player1Keys, Player2Keys, Cheat, HighScore,
    Count
  };
  const TAlphaImage& Image(TImage Which) const { return FImages[static_cast<std::size_t>(Which)]; }
  TSoundEffect* Sound(int Index);

  // Machinery (Menu.cpp).
  void PlaySound(int Index);
  void Activate();
  void DrawCursor();
  void EraseCursor();
  void DrawScreenContent();
  void CopyBack(std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H);
  void DrawFrame(std::int32_t W);
  void EraseFrame(std::int32_t W);
  void DrawRotators();
  void ResetRotators();
  void PlayMenuMusic();
  void StepFold();
  void MoveCursor(int Delta, bool Page);
  // Home (false) or End (true).
  void JumpCursor(bool ToEnd);
  void DrawText(const std::string& Text, std::int32_t X, std::int32_t Y, std::int32_t Alpha);
  void DrawGlyph(char Ch, std::int32_t X, std::int32_t Y, std::int32_t Alpha);
  static std::int32_t Left(const TAlphaImage& Image) { return 400 - Image.Width() / 2; }
  // The cursor's pulse: Middle +- Swing, following the cursor phase.
  std::int32_t PulseAlpha(std::int32_t Swing = 70, std::int32_t Middle = 70) const;

  // Options and key screens (MenuOptions.cpp).
  void DrawOptionsContent();
  void DrawOptionValues();
  void DrawOptionCursor(bool Erase);
  void OptionLeftRight(bool Right);
  void ActivateOption(int Entry);
  void DrawKeysScreen(int Player, bool Force);
  void DrawKeysCursor(bool Erase);

  // High-score screens (MenuHighScores.cpp).
  void BuildHighScoreImage();
  void FreeHighScoreImage();
  void DrawHighScoreList(bool Force);
  void EraseHighScoreList(bool Force);
  void DrawNameEntry();
  void DrawNameField(bool Erase);
  void DrawArrows(bool Erase);
  void StoreName();
  void TypeChar(char Ch);
  void EditName(std::uint16_t Key);
  void Submit();
  const TAlphaImage& StatusImage() const;

  TAudioObject& FAudio;
  TFastImageBuffer FFrameBuffer;
  TFastImageBuffer FBackground;
  std::array<TAlphaImage, static_cast<std::size_t>(TImage::Count)> FImages;
  std::int32_t FLeftLevel = 0;
  float FLeftAngle = 0;
  float FLeftSpeed = 10;
  std::int32_t FRightLevel = 0;
  float FRightAngle = 0;
  float FRightSpeed = 10;
  int FScreen = 0;
  std::int32_t FCursor = 0;
  bool FOpening = false;
  bool FClosing = false;
  bool FResizing = false;
  float FFrameHeightF = 0;
  float FResizeSpeed = 0;
  std::int32_t FTargetHeight = 0;
  std::int32_t FTargetHalfWidth = 0;
  float FHalfWidth = 5;
  float FFoldSpeed = 0;
  float FFoldAcceleration = 0;
  std::int32_t FFrameHeight = 0;
  bool FFadingIn = false;
  bool FFadingOut = false;
  std::int32_t FContentAlpha = 0;
  float FCursorPhase = 0;
  std::int32_t FRepeatDelay = 0;
  std::int32_t FChosenEntry = -1;
  bool FStartOnePlayer = false;
  bool FStartTwoPlayers = false;
  bool FMusicFadingOut = false;
  bool FMusicFadingIn = false;
  std::int32_t FMusicLevel = 0;
  TConfig& FConfig;
  std::array<TAlphaImage, GlyphCount> FGlyphs;
  std::unique_ptr<TAlphaImage> FHighScoreList;
  std::unique_ptr<TAlphaImage> FHighScoreView;
  int FSubmitStatus = 0;
  bool FQuitRequested = false;
  THighScore FHighScores;
  std::unique_ptr<TMemoryStream> FMusicData;
  std::int64_t FPendingScore1 = -1;
  std::int64_t FPendingScore2 = -1;
  std::string FNameText;
  std::int32_t FNameCursor = 0;
  std::string FTypedAhead;  // name letters typed faster than the repeat delay lets them in
  std::int64_t FBestScore = -1;
  std::array<std::unique_ptr<TSoundEffect>, 7> FSounds;
  std::int32_t FOptionCooldown = 0;
  std::int32_t FWaitingKey1 = -1;
  std::int32_t FWaitingKey2 = -1;
  std::uint8_t FCheatMarkAlpha = 0;
};
