// A sound effect that owns its bytes: loaded once by name from the archive,
// freed with the player. Keeps every owner of sounds (players, items, menu,
// game, splash) from having to hold a stream beside each TWavePlayer.
#pragma once

#include <memory>
#include <string>

#include "audio/WavePlayer.h"
#include "pak/PakReader.h"

class TSoundEffect : public TWavePlayer {
public:
  // A missing or unreadable entry leaves the effect silent: Play then fails
  // quietly, as a sound that cannot be played should.
  TSoundEffect(const TPakFileReadable& Pak, const std::string& Name, bool Loop = false);
  ~TSoundEffect() override;

  bool Loaded() const { return FData != nullptr; }

private:
  std::unique_ptr<TMemoryStream> FData;
};
