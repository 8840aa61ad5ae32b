#include "frontend/MenuMusic.h"

#include <exception>

#include "audio/AudioObject.h"
#include "pak/PakReader.h"
#include "persist/Config.h"

TMenuMusic::TMenuMusic(const TPakFileReadable& Pak, TAudioObject& Audio, const TConfig& Config,
                       const TMenuPictureLoader& Load)
    : FAudio(Audio), FConfig(Config), FRotators(Load) {
  FAudio.SetGlobalVolumes(FConfig.MusicOff ? 100 : 0);
  try {
    FData = Pak.GetStream("vyrn_menu.ogg");
  } catch (const std::exception&) {
    FData.reset();
  }
  if (!FConfig.MusicOff) Play();
}

TMenuMusic::~TMenuMusic() = default;

void TMenuMusic::Play() {
  if (FData) FAudio.PlayFromStream(FData.get());
}

void TMenuMusic::Stop() {
  FRotators.Reset();
  FAudio.Stop();
  FLevel = 100;
}

void TMenuMusic::Restart() {
  FRotators.Reset();
  FFadingOut = false;
  if (!FConfig.MusicOff) Play();
}

void TMenuMusic::SetPaused(bool Paused) {
  if (Paused) {
    FAudio.Pause();
  } else {
    FAudio.Resume();
    FRotators.Reset();
  }
}

void TMenuMusic::SetVolume(int Percent) { FAudio.SetVolume(Percent); }

void TMenuMusic::StartFadeOut() {
  FLevel = 100;
  FFadingOut = true;
}

void TMenuMusic::Tick(TMenuCanvas& Canvas) {
  FRotators.Draw(Canvas, FAudio, FConfig);

  if (FFadingIn) {
    FAudio.SetGlobalVolumes(FLevel);
    if (++FLevel > 100) {
      FLevel = 100;
      FFadingIn = false;
    }
  } else if (FFadingOut) {
    FAudio.SetGlobalVolumes(FLevel);
    FLevel -= 2;
    if (FLevel < 0) FLevel = 0;
  }

  // Only a theme that plays starts again: the one freed for a game (this
  // tick still runs after the start) stays freed.
  if (!FConfig.MusicOff && FData && FAudio.State() == TAudioEngine::StatePlaying &&
      FAudio.PositionMs() > FAudio.LengthMs() - 100) {
    FAudio.SetGlobalVolumes(0);
    Play();
    FAudio.SetGlobalVolumes(FConfig.Volume);
  }
}
