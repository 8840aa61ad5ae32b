#include "frontend/MenuMusic.h"

#include "audio/AudioObject.h"
#include "pak/PakReader.h"
#include "persist/Config.h"

TMenuMusic::TMenuMusic(const TPakFileReadable& Pak, TAudioObject& Audio, const TConfig& Config,
                       const TMenuPictureLoader& Load)
    : FAudio(Audio), FConfig(Config), FRotators(Load) {
  FAudio.SetGlobalVolumes(FConfig.MusicOff ? 100 : 0);
  FMusicData = Pak.GetOptionalStream("vyrn_menu.ogg");
  if (!FConfig.MusicOff) PlayMenuMusic();
}

TMenuMusic::~TMenuMusic() = default;

void TMenuMusic::PlayMenuMusic() {
  if (FMusicData) FAudio.PlayFromStream(FMusicData.get());
}

void TMenuMusic::StopMusic() {
  FRotators.Reset();
  FAudio.Stop();
  FMusicLevel = 100;
}

void TMenuMusic::RestartMusic() {
  FRotators.Reset();
  FMusicFadingOut = false;
  if (!FConfig.MusicOff) PlayMenuMusic();
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
  FMusicLevel = 100;
  FMusicFadingOut = true;
}

void TMenuMusic::Tick(TMenuCanvas& Canvas) {
  FRotators.Draw(Canvas, FAudio, FConfig);

  if (FMusicFadingIn) {
    FAudio.SetGlobalVolumes(FMusicLevel);
    if (++FMusicLevel > 100) {
      FMusicLevel = 100;
      FMusicFadingIn = false;
    }
  } else if (FMusicFadingOut) {
    FAudio.SetGlobalVolumes(FMusicLevel);
    FMusicLevel -= 2;
    if (FMusicLevel < 0) FMusicLevel = 0;
  }

  // Only a theme that plays starts again: the one freed for a game (this
  // tick still runs after the start) stays freed.
  if (!FConfig.MusicOff && FMusicData && FAudio.State() == TAudioEngine::StatePlaying &&
      FAudio.PositionMs() > FAudio.LengthMs() - 100) {
    FAudio.SetGlobalVolumes(0);
    PlayMenuMusic();
    FAudio.SetGlobalVolumes(FConfig.Volume);
  }
}
