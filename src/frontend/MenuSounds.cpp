#include "frontend/MenuSounds.h"

#include "persist/Config.h"

namespace {

const char* const SoundNames[MenuSoundCount] = {"menu_tick.wav",        "menu_choose.wav",  "menu_scroll.wav",
                                                "menu_scroll_rest.wav", "menu_foldout.wav", "menu_foldin.wav",
                                                "menu_error.wav"};

}  // namespace

TMenuSounds::TMenuSounds(const TPakFileReadable& Pak, const TConfig& Config) : FConfig(Config) {
  for (int I = 0; I < MenuSoundCount; ++I)
    FEffects[static_cast<std::size_t>(I)] =
        std::make_unique<TSoundEffect>(Pak, SoundNames[I], static_cast<TMenuSound>(I) == TMenuSound::Scroll);
}

bool TMenuSounds::SoundPlaying(TMenuSound Sound) const { return Effect(Sound).State() == TWavePlayer::Playing; }

void TMenuSounds::PlaySound(TMenuSound Sound) {
  if (FConfig.SoundOff) return;
  TSoundEffect& S = Effect(Sound);
  if (Sound == TMenuSound::Scroll) {
    if (S.State() == TWavePlayer::Playing) return;
    S.Play();
    Effect(TMenuSound::ScrollRest).Halt();
    return;
  }
  S.Play();
}

void TMenuSounds::StopSound(TMenuSound Sound) {
  TSoundEffect& S = Effect(Sound);
  if (Sound == TMenuSound::Scroll) {
    if (S.State() != TWavePlayer::Playing) return;
    S.Halt();
    PlaySound(TMenuSound::ScrollRest);
    return;
  }
  S.Halt();
}
