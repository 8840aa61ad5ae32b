// One running game, from the loading bar to the moment it reports Ended:
// the players, the current level, the five items, the play area and the
// panels, the game's sounds, and the per-tick steps the main window calls
// in a fixed order (players, big enemy, small enemies, items, Update).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/FormParts.h"
#include "audio/SoundEffect.h"
#include "game/GamePanels.h"
#include "game/IntroHints.h"
#include "game/Level.h"
#include "gfx/AlphaImage.h"
#include "gfx/FastImaging.h"
#include "gfx/GameText.h"

class TAudioObject;
class TConfig;
class TItemBase;
class TPanel;
class TPakFileReadable;
class TPlayer;
class TScreen;

class TGameData : public IGameData {
public:
  // Indexes into Items, in creation order.
  enum : std::int32_t { ItemHeart, ItemDollar01, ItemDollar02, ItemDollar03, ItemSpeed, ItemCount };

  // Builds the game and its first level, advancing the loading bar over
  // MenuBuffer's picture as it goes. Audio may be absent (no music). A
  // picture or sound the archive lacks is left out and the game goes on;
  // an archive too damaged to read throws. PresentNow, when given, shows
  // the window's screen at once, so the loading bar is seen filling.
  TGameData(std::int32_t Width, std::int32_t StartLevel, std::int32_t StartLives, const TPakFileReadable& Pak,
            TAudioObject* Audio, TConfig& Config, bool TwoPlayers, const TFastImageBuffer& MenuBuffer,
            TPanel* BottomImage, TPanel* RightImage, TScreen* DC, std::int32_t Height,
            std::function<void()> PresentNow = {});
  ~TGameData() override;
  TGameData(const TGameData&) = delete;
  TGameData& operator=(const TGameData&) = delete;

  // IGameData, called by the main window every tick in this order.
  void MovePlayer1(std::int8_t DX, std::int8_t DY, bool DrawKey) override;
  void MovePlayer2(std::int8_t DX, std::int8_t DY, bool DrawKey) override;
  void MoveEvil() override;
  void MoveSmallEvils() override;
  void SpawnItems() override;
  void Update() override;

  void SetPaused(bool Value) override;
  // The answer yes on the pause menu: the game-over sequence from 151.
  void ConfirmQuit() override;
  std::int64_t Score1() const override;
  // -1 with one player.
  std::int64_t Score2() const override;
  bool TwoPlayers() const override { return FTwoPlayers; }
  bool Paused() const override { return FPaused; }
  bool Ended() const override { return FEnded; }
  bool WaitForKey() const { return FWaitForKey; }
  void SetWaitForKey(bool Value) override { FWaitForKey = Value; }
  std::uint64_t StateChecksum(std::uint64_t Hash) const override;

  // 4 "fill.wav" from the start, 5 "level_ended.ogg", 6 "game_ended.ogg"
  // (the jingles only when no music plays); nothing when sound is off.
  void PlaySound(std::int32_t Index);
  // 0/1 drawing sound of player 1/2, 2/3 their running sound, 7 all of
  // them, the fill sound and the music.
  void StopSound(TGameSound Sound) override;

  // Panels.
  void DrawScore1();
  void DrawScore2();
  void DrawLives1();
  void DrawLives2();
  // Both scores and both lives; player 2's only in a two-player game.
  void DrawScoresAndLives();
  void DrawLevelNumber();
  void DrawPercent();
  void DrawTimeBar();
  void AwardLevelBonus();
  void DrawBonusScreen();

  // Frees the current level and starts level LevelNumber (held to 1..29).
  void LoadLevel();

  // The intro hints of a player's first games, until the settings say a
  // claim was made; the game then records the first claim there. Only the
  // program's real games ask for them: replays and headless runs play
  // without, and never write the settings for them.
  void OfferHints();
  // Null when the game shows no hints (any more).
  const TIntroHints* Hints() const { return FHints.get(); }
  // The hints are over this frame's play area.
  bool HintsOnScreen() const;

  std::vector<std::unique_ptr<TPlayer>> Players;
  std::unique_ptr<TGameText> Text;
  std::int32_t Width = 600;
  std::int32_t Height = 550;
  std::unique_ptr<TLevel> Level;
  std::int32_t LevelNumber = 1;
  TAlphaImage PauseImage;
  TAlphaImage BonusImage;
  bool Frozen = true;
  bool FadeOut = false;
  std::array<std::unique_ptr<TItemBase>, ItemCount> Items;
  bool QuitConfirmed = false;
  bool BonusShown = false;
  TFastImageBuffer PlayArea;
  TGamePanels Panels;
  bool PauseImageDrawn = false;

private:
  TPlayer* Player2() const { return FTwoPlayers ? Players[1].get() : nullptr; }
  // The loading bar over the menu's picture, which is only needed while the
  // game is built.
  void ShowLoadingBar(const TFastImageBuffer& MenuBuffer, std::int32_t Percent);
  // Puts the board back in the box reaching RX to the sides and RY up and
  // down around (X, Y).
  void EraseBox(std::int32_t X, std::int32_t Y, std::int32_t RX, std::int32_t RY);
  void EraseItemBox(const TItemBase& Item);
  void EraseItemOnField();
  // A box that covers a sprite moving Step pixels a tick.
  void EraseMoverBox(float X, float Y, float Step, const TAlphaImage& Image);
  void EraseSprites();
  void ResolveHits();
  // Drawing markers walled in by trails for too long die as if hit.
  void FreeStuckPlayers();
  // After a respawn: the player's trail leaves the board and the screen.
  void ClearRespawnedTrail(std::size_t Index);
  void Kill(TPlayer& Player);
  void StartGameOver(std::uint8_t Countdown);
  void RunEndSequence();
  void ErasePauseBox();
  void MovePlayer(std::int32_t Index, std::int8_t DX, std::int8_t DY, bool DrawKey);

  const TPakFileReadable& FPak;
  TAudioObject* FAudio;
  TConfig& FConfig;
  TPanel* FBottomImage;
  TPanel* FRightImage;
  std::function<void()> FPresentNow;
  bool FTwoPlayers;
  bool FPaused = false;
  bool FEnded = false;
  bool FWaitForKey = false;
  std::unique_ptr<TMemoryStream> FLevelEndedMusic;
  std::unique_ptr<TMemoryStream> FGameEndedMusic;
  std::unique_ptr<TSoundEffect> FFillSound;
  std::unique_ptr<TIntroHints> FHints;
  // The play area with the hints over it; the play area itself never holds
  // them, so its pictures stay those of a game without hints.
  std::unique_ptr<TFastImageBuffer> FHintFrame;
};
