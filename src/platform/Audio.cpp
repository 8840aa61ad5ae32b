#include "platform/Audio.h"

#include "platform/HeadlessAudio.h"

#include <limits>

namespace {
THeadlessAudio DefaultAudio;
IAudio* Current = &DefaultAudio;
TSoundId LastSoundId = 0;
}  // namespace

TSoundId NewSoundId() { return ++LastSoundId; }

std::int64_t ScaleCount(std::int64_t Count, std::int64_t Numerator, std::int64_t Denominator, bool RoundUp) {
  if (Count <= 0 || Numerator <= 0 || Denominator <= 0) return 0;
  // Both factors are below 2^63, so their product fits in 128 bits.
  const unsigned __int128 Product = static_cast<unsigned __int128>(Count) * static_cast<unsigned __int128>(Numerator);
  unsigned __int128 Result = Product / static_cast<unsigned __int128>(Denominator);
  if (RoundUp && Product % static_cast<unsigned __int128>(Denominator) != 0) ++Result;
  constexpr auto Max = std::numeric_limits<std::int64_t>::max();
  return Result > static_cast<unsigned __int128>(Max) ? Max : static_cast<std::int64_t>(Result);
}

IAudio* SetAudioHandler(IAudio* Handler) {
  IAudio* Old = Current;
  Current = Handler ? Handler : &DefaultAudio;
  return Old;
}

IAudio& CurrentAudio() { return *Current; }
