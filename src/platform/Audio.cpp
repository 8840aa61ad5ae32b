#include "platform/Audio.h"

#include "platform/HeadlessAudio.h"

namespace {
THeadlessAudio DefaultAudio;
IAudio* Current = &DefaultAudio;
TSoundId LastSoundId = 0;
}  // namespace

TSoundId NewSoundId() { return ++LastSoundId; }

IAudio* SetAudioHandler(IAudio* Handler) {
  IAudio* Old = Current;
  Current = Handler ? Handler : &DefaultAudio;
  return Old;
}

IAudio& CurrentAudio() { return *Current; }
