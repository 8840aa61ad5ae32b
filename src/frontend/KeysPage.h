// The key screens, one per player: the five actions with the keys bound to
// them; Enter on a row waits for the next key, which is bound if no other
// action has it.
#pragma once

#include "frontend/MenuPage.h"

// The row of either player that waits for a key. Kept for both screens at
// once: a row that waits stays waiting when the screen changes.
class TKeyRows {
public:
  explicit TKeyRows(TConfig& Config) : FConfig(Config) {}

  // Player 1 or 2 waits for a key for Row.
  bool Wait(int Player, std::int32_t Row);
  // Binds Key to the waiting row, refuses it or cancels the wait (Escape);
  // swallows it (Key := 0) while a row waits. True when the bindings changed.
  bool KeyDown(std::uint16_t& Key, TMenuSounds& Sounds);
  // Whether Key is bound to an action other than the row that waits.
  bool KeyInUse(std::uint16_t Key) const;
  bool Waiting() const { return FWaitingKey1 >= 0 || FWaitingKey2 >= 0; }
  std::int32_t WaitingKey1() const { return FWaitingKey1; }
  std::int32_t WaitingKey2() const { return FWaitingKey2; }

private:
  TConfig& FConfig;
  std::int32_t FWaitingKey1 = -1;
  std::int32_t FWaitingKey2 = -1;
};

class TKeysPage : public TMenuPage {
public:
  TKeysPage(TMenuContext& Context, const TMenuPictureLoader& Load, int Player, TKeyRows& Rows);

  void DrawScreenContent() override { DrawKeysScreen(false); }
  void DrawCursor() override { DrawHighlight(false); }
  void EraseCursor() override { DrawHighlight(true); }
  bool ActsNow(std::int32_t Entry) const override { return Entry <= 4; }
  void Activate(std::int32_t Entry) override;

  // The picture, the heading and the key names; when the content is fully
  // shown only if Force.
  void DrawKeysScreen(bool Force);

private:
  void DrawHighlight(bool Erase);

  int FPlayer;
  TKeyRows& FRows;
  TAlphaImage FPicture;
  TAlphaImage FHeading;
};
