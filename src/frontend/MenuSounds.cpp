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

bool TMenuSounds::Playing(TMenuSound Sound) const { return Effect(Sound).State() == TWavePlayer::Playing; }

void TMenuSounds::Play(TMenuSound Sound) {
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

void TMenuSounds::Stop(TMenuSound Sound) {
  TSoundEffect& S = Effect(Sound);
  if (Sound == TMenuSound::Scroll) {
    if (S.State() != TWavePlayer::Playing) return;
    S.Halt();
    Play(TMenuSound::ScrollRest);
    return;
  }
  S.Halt();
}
