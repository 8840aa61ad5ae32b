// The menu music: "vyrn_menu.ogg" played through the music engine with a
// fade-in when the menu opens, a fade-out while it folds into a game, a loop
// shortly before its end, and the rotators that show its loudness.
#pragma once

#include <cstdint>
#include <memory>

#include "frontend/MusicRotators.h"

class TAudioObject;
class TConfig;
class TMemoryStream;
class TPakFileReadable;

class TMenuMusic {
public:
  // Sets the engine's fade level for the fade-in (none with the music off)
  // and starts the music unless it is switched off.
  TMenuMusic(const TPakFileReadable& Pak, TAudioObject& Audio, const TConfig& Config, const TMenuPictureLoader& Load);
  ~TMenuMusic();
  TMenuMusic(const TMenuMusic&) = delete;
  TMenuMusic& operator=(const TMenuMusic&) = delete;

  void PlayMenuMusic();
  void StopMusic();
  void RestartMusic();
  void SetPaused(bool Paused);
  // Fades the music out from full level, 2 a tick.
  void StartFadeOut();
  // The level a volume change on the options screen leaves.
  void SetMusicLevel(std::int32_t Level) { FMusicLevel = Level; }
  // The engine's output volume, in percent.
  void SetVolume(int Percent);

  // One tick: the rotators, the fade, and the loop.
  void Tick(TMenuCanvas& Canvas);

  std::int32_t MusicLevel() const { return FMusicLevel; }
  bool MusicFadingIn() const { return FMusicFadingIn; }
  bool MusicFadingOut() const { return FMusicFadingOut; }

private:
  TAudioObject& FAudio;
  const TConfig& FConfig;
  std::unique_ptr<TMemoryStream> FMusicData;
  TMusicRotators FRotators;
  bool FMusicFadingIn = true;
  bool FMusicFadingOut = false;
  std::int32_t FMusicLevel = 0;
};
