#include "audio/SoundEffect.h"

TSoundEffect::TSoundEffect(const TPakFileReadable& Pak, const std::string& Name, bool Loop) {
  FData = Pak.GetOptionalStream(Name);
  Stream = FData.get();
  Looping = Loop;
}

// The playback must end before the bytes it reads from go away.
TSoundEffect::~TSoundEffect() {
  Halt();
  Stream = nullptr;
}
