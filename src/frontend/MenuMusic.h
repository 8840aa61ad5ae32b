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

  void Play();
  void Stop();
  void Restart();
  void SetPaused(bool Paused);
  // Fades the music out from full level, 2 a tick.
  void StartFadeOut();
  // The level a volume change on the options screen leaves.
  void SetLevel(std::int32_t Level) { FLevel = Level; }
  // The engine's output volume, in percent.
  void SetVolume(int Percent);

  // One tick: the rotators, the fade, and the loop.
  void Tick(TMenuCanvas& Canvas);

  std::int32_t Level() const { return FLevel; }
  bool FadingIn() const { return FFadingIn; }
  bool FadingOut() const { return FFadingOut; }

private:
  TAudioObject& FAudio;
  const TConfig& FConfig;
  std::unique_ptr<TMemoryStream> FData;
  TMusicRotators FRotators;
  bool FFadingIn = true;
  bool FFadingOut = false;
  std::int32_t FLevel = 0;
};
