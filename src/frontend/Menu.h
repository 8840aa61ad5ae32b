// The game's own animated menu: every frame composed in an 800 x 600 buffer
// over a background picture, with a bracket-shaped frame that unfolds around
// the current screen's content and folds away when an entry is chosen, a
// pulsing highlight, two music rotators, the menu music with its fades and
// loop, and seven screens (main, high-score list, name entry, credits,
// options, both players' keys). Drawing is incremental: each tick copies
// back from the background and redraws only what changes, then paints once.
//
// TMenu is what the window talks to. It runs the frame, the content fades and
// the keys' timing, and leaves the rest to its parts: the frame (MenuFrame),
// the music and its rotators (MenuMusic, MusicRotators), the sounds
// (MenuSounds) and one object per screen (MainPage, HighScoreListPage,
// NameEntryPage, CreditsPage, OptionsPage, KeysPage).
//
// Missing pictures draw nothing and missing sounds stay silent: the menu
// stays usable with a thin archive.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/FormParts.h"
#include "frontend/KeysPage.h"
#include "frontend/MenuCanvas.h"
#include "frontend/MenuFrame.h"
#include "frontend/MenuMusic.h"
#include "frontend/MenuPage.h"
#include "frontend/MenuSounds.h"
#include "persist/HighScore.h"

class TAudioObject;
class TConfig;
class TPakFileReadable;
class TMainPage;
class THighScoreListPage;
class TNameEntryPage;
class TCreditsPage;
class TOptionsPage;

class TMenu : public IMenu, private IMenuHost {
public:
  // A key held on after its first action waits this many ticks (about
  // 300 ms) before it repeats at the screen's pace, so a tap acts once.
  static constexpr std::int32_t FirstRepeatDelay = 10;

  TMenu(TMenuScreen Screen, const TPakFileReadable& Pak, TAudioObject& Audio, TConfig& Config, TScreen& DC);
  ~TMenu() override;
  TMenu(const TMenu&) = delete;
  TMenu& operator=(const TMenu&) = delete;

  // The window's calls.
  void SetScreen(TMenuScreen Screen) override;
  void SetGameResult(std::int64_t Score1, std::int64_t Score2) override;
  void RestartMusic() override;
  void KeyDown(std::uint16_t& Key) override;
  void KeyPress(char Ch) override;
  void SetTargetDC(TScreen& DC) override { FCanvas.FrameBuffer().DC = &DC; }
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
  void StopSound(TMenuSound Sound) override;
  void StopMusic() override;
  void Tick() override;
  TFastImageBuffer& FrameBuffer() override { return FCanvas.FrameBuffer(); }
  bool StartOnePlayer() const override { return FStartOnePlayer; }
  bool StartTwoPlayers() const override { return FStartTwoPlayers; }
  bool QuitRequested() const override { return FQuitRequested; }
  bool TakeDemoCue() override;

  TConfig& Config() { return FConfig; }
  THighScore& HighScores() { return FHighScores; }

  // State, read by tests and the window.
  TMenuScreen Screen() const { return FState.Screen; }
  std::int32_t Cursor() const { return FState.Cursor; }
  bool Opening() const { return FFrame->Opening(); }
  bool Closing() const { return FFrame->Closing(); }
  bool Resizing() const { return FFrame->Resizing(); }
  bool FadingIn() const { return FFadingIn; }
  bool FadingOut() const { return FFadingOut; }
  // At rest: no frame or content animation runs.
  bool Idle() const { return !Opening() && !Closing() && !Resizing() && !FFadingIn && !FFadingOut; }
  std::int32_t ContentAlpha() const { return FState.ContentAlpha; }
  float HalfWidth() const { return FFrame->HalfWidth(); }
  std::int32_t FrameHeight() const { return FFrame->FrameHeight(); }
  float CursorPhase() const { return FState.CursorPhase; }
  std::int32_t RepeatDelay() const { return FState.RepeatDelay; }
  // Ticks the main screen has waited untouched.
  std::int32_t IdleTicks() const { return FIdleTicks; }
  std::int32_t MusicLevel() const { return FMusic.MusicLevel(); }
  bool MusicFadingIn() const { return FMusic.MusicFadingIn(); }
  bool MusicFadingOut() const { return FMusic.MusicFadingOut(); }
  std::int64_t PendingScore1() const;
  std::int64_t PendingScore2() const;
  std::int64_t BestScore() const;
  const std::string& NameText() const;
  std::int32_t NameCursor() const;
  std::int32_t WaitingKey1() const { return FKeyRows.WaitingKey1(); }
  std::int32_t WaitingKey2() const { return FKeyRows.WaitingKey2(); }
  std::uint8_t CheatMarkAlpha() const { return FCheatMarkAlpha; }
  std::int32_t OptionCooldown() const;
  // The status picture under the high-score list: 0 hint, 1 submitting,
  // 2 ok, 3 error.
  int SubmitStatus() const;
  const TAlphaImage* HighScoreView() const;
  const TFastImageBuffer& Background() const { return FCanvas.Background(); }
  // Whether that sound is playing now.
  bool SoundPlaying(TMenuSound Sound) const { return FSounds.SoundPlaying(Sound); }
  // Whether Key is bound to an action other than the row that waits.
  bool KeyInUse(std::uint16_t Key) const { return FKeyRows.KeyInUse(Key); }

private:
  // IMenuHost.
  void ShowHighScores(std::int64_t BestScore) override;
  void RequestStart(bool TwoPlayers) override;
  void RequestQuit() override { FQuitRequested = true; }

  // The window's held-key calls, told apart to see a fresh press.
  enum class THeldKey { None, Up, Down, Left, Right, Enter, Home, End, PageUp, PageDown, Escape, Delete, Backspace };

  TMenuPage& Current() const { return *FPages[static_cast<std::size_t>(FState.Screen)]; }
  // Notes the held-key call of this tick; false while a key held on from
  // the last tick waits out its first delay. The screen's repeat delay
  // still applies on top.
  bool HeldKeyMayAct(THeldKey Key);
  // A held key acted: the screen's repeat delay, and the first delay starts
  // if it was the first action of this hold.
  void KeyActed(std::int32_t RepeatDelay);
  void Activate();
  void MoveCursor(int Delta, bool Page);
  // Home (false) or End (true).
  void JumpCursor(bool ToEnd);
  // The phases of a tick.
  void StepFrameAndContent();
  void StepIdle();
  void StepCheatMark();

  TConfig& FConfig;
  TMenuCanvas FCanvas;
  THighScore FHighScores;
  TMenuMusic FMusic;
  TMenuSounds FSounds;
  TMenuState FState;
  TMenuContext FContext;
  TKeyRows FKeyRows;
  std::unique_ptr<TMenuFrame> FFrame;
  std::unique_ptr<TMainPage> FMain;
  std::unique_ptr<THighScoreListPage> FHighScoreList;
  std::unique_ptr<TNameEntryPage> FNameEntry;
  std::unique_ptr<TCreditsPage> FCredits;
  std::unique_ptr<TOptionsPage> FOptions;
  std::unique_ptr<TKeysPage> FKeys1;
  std::unique_ptr<TKeysPage> FKeys2;
  std::array<TMenuPage*, MenuScreenCount> FPages{};
  TAlphaImage FCheatMark;
  bool FFadingIn = false;
  bool FFadingOut = false;
  std::int32_t FChosenEntry = -1;
  bool FStartOnePlayer = false;
  bool FStartTwoPlayers = false;
  bool FQuitRequested = false;
  std::uint8_t FCheatMarkAlpha = 0;
  THeldKey FLastTickKey = THeldKey::None;
  THeldKey FThisTickKey = THeldKey::None;
  // Ticks since the held key first acted; -1 while it has not acted yet.
  std::int32_t FHeldTicks = -1;
  // The demo's wait: ticks of the main screen without a key.
  std::int32_t FIdleTicks = 0;
  bool FKeySeen = false;
};
