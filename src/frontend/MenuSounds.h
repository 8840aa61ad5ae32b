// The menu's seven sound effects. Playing respects the settings' sound
// switch; halting always works. The scroll sound loops, and halting it
// plays its resting sound.
#pragma once

#include <array>
#include <memory>

#include "app/FormParts.h"
#include "audio/SoundEffect.h"

class TConfig;
class TPakFileReadable;

class TMenuSounds {
public:
  TMenuSounds(const TPakFileReadable& Pak, const TConfig& Config);

  void PlaySound(TMenuSound Sound);
  void StopSound(TMenuSound Sound);
  bool SoundPlaying(TMenuSound Sound) const;

private:
  TSoundEffect& Effect(TMenuSound Sound) const { return *FEffects[static_cast<std::size_t>(Sound)]; }

  const TConfig& FConfig;
  std::array<std::unique_ptr<TSoundEffect>, MenuSoundCount> FEffects;
};
