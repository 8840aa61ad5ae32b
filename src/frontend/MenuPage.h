// One screen of the menu: its constants, its content, its highlight and what
// its entries do. The menu runs the frame, the fades and the keys' timing
// and asks the current screen for the rest.
#pragma once

#include <cstdint>
#include <string>

#include "app/FormParts.h"
#include "frontend/MenuCanvas.h"

class TConfig;
class TMenuMusic;
class TMenuSounds;

// The per-screen constants.
struct TScreenInfo {
  std::int32_t HalfWidth;
  std::int32_t FrameHeight;
  std::int32_t Last;  // highest Cursor value
  bool Wraps;
  std::int32_t RepeatDelay;
  std::int32_t PageStep;
  std::int32_t EscEntry;  // -1: Escape does nothing; -2: the current position
};

// What the screens share with the menu and with each other.
struct TMenuState {
  TMenuScreen Screen = TMenuScreen::Main;
  std::int32_t Cursor = 0;
  std::int32_t ContentAlpha = 0;
  float CursorPhase = 0;
  std::int32_t RepeatDelay = 0;
};

// What a screen's entries ask of the menu.
class IMenuHost {
public:
  virtual ~IMenuHost() = default;
  virtual void SetScreen(TMenuScreen Screen) = 0;
  // The high-score list, scrolled to BestScore's place (-1: the top).
  virtual void ShowHighScores(std::int64_t BestScore) = 0;
  virtual void RequestStart(bool TwoPlayers) = 0;
  virtual void RequestQuit() = 0;
};

// Everything a screen draws and plays with.
struct TMenuContext {
  TMenuCanvas& Canvas;
  TMenuSounds& Sounds;
  TMenuMusic& Music;
  TConfig& Config;
  TMenuState& State;
  IMenuHost& Host;
};

class TMenuPage {
public:
  TMenuPage(TMenuContext& Context, const TScreenInfo& Info) : Ctx(Context), FInfo(Info) {}
  virtual ~TMenuPage() = default;
  TMenuPage(const TMenuPage&) = delete;
  TMenuPage& operator=(const TMenuPage&) = delete;

  const TScreenInfo& Info() const { return FInfo; }

  // The content at the state's ContentAlpha, on every fade step.
  virtual void DrawScreenContent() = 0;
  // The highlight, redrawn on every idle tick.
  virtual void DrawCursor() {}
  virtual void EraseCursor() {}
  // Whether Entry is carried out at once, without the fold.
  virtual bool ActsNow(std::int32_t /*Entry*/) const { return false; }
  // Whether choosing Entry fades the music out for a game.
  virtual bool StartsGame(std::int32_t /*Entry*/) const { return false; }
  virtual void Activate(std::int32_t Entry) = 0;

  // A list scrolls: its view is redrawn around every move, and moving plays
  // the scroll sound instead of the tick.
  virtual bool Scrolls() const { return false; }
  virtual void BeforeMove() {}
  virtual void AfterMove() {}
  // A move restarts the highlight's pulse at its brightest.
  virtual bool MoveRestartsPulse() const { return false; }
  // Home (false) or End (true), after the cursor moved.
  virtual void Jumped(bool /*ToEnd*/) {}
  virtual void LeftRight(bool /*Right*/) {}
  virtual void EraseChar(std::uint16_t /*Key*/) {}
  // Every typed character, before the repeat delay is looked at.
  virtual void KeyPressed(char /*Ch*/) {}
  // Keeps Ch for later (true) instead of taking it now.
  virtual bool QueueTyping(char /*Ch*/) { return false; }
  // A typed character that passed the repeat delay.
  virtual void Type(char /*Ch*/) {}
  // The end of an idle tick.
  virtual void IdleTick() {}
  // The output volume changed outside the menu.
  virtual void VolumeChanged() {}

protected:
  // The highlight's pulse: Middle +- Swing, following the cursor phase.
  std::int32_t PulseAlpha(std::int32_t Swing = 70, std::int32_t Middle = 70) const;
  // A picture at the content's opacity, the background copied back under it.
  void ShowPicture(const TAlphaImage& Picture, std::int32_t X, std::int32_t Y);
  std::int32_t Cursor() const { return Ctx.State.Cursor; }
  std::int32_t ContentAlpha() const { return Ctx.State.ContentAlpha; }
  TFastImageBuffer& Buffer() { return Ctx.Canvas.FrameBuffer(); }

  TMenuContext& Ctx;

private:
  TScreenInfo FInfo;
};
