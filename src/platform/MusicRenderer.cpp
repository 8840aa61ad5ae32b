#include "platform/MusicRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
// A piece decoded whole beforehand.
class TDecodedSource : public IMusicSource {
public:
  TDecodedSource(std::shared_ptr<const std::int16_t> Samples, std::int64_t Frames)
      : FSamples(std::move(Samples)), FFrames(Frames) {}
  int Read(std::int16_t* Out, int Frames) override {
    const int N = static_cast<int>(std::clamp<std::int64_t>(FFrames - FAt, 0, Frames));
    std::memcpy(Out, FSamples.get() + FAt * TMusicRenderer::Channels,
                static_cast<std::size_t>(N) * TMusicRenderer::Channels * sizeof(std::int16_t));
    FAt += N;
    return N;
  }
  void Rewind() override { FAt = 0; }

private:
  std::shared_ptr<const std::int16_t> FSamples;
  std::int64_t FFrames;
  std::int64_t FAt = 0;
};
}  // namespace

void TMusicRenderer::Load(std::shared_ptr<const std::int16_t> Samples, std::int64_t Frames) {
  Load(Samples ? std::make_unique<TDecodedSource>(std::move(Samples), std::max<std::int64_t>(Frames, 0)) : nullptr,
       Frames);
}

void TMusicRenderer::Load(std::unique_ptr<IMusicSource> Source, std::int64_t Frames) {
  FSource = std::move(Source);
  FFrames = std::max<std::int64_t>(Frames, 0);
  FLoaded = true;
  FEffect.reset();
  FPosition.store(0);
  FPlaying.store(false);
  FPaused.store(false);
  FLevels.store(0);
}

void TMusicRenderer::Clear() {
  FSource.reset();
  FEffect.reset();
  FFrames = 0;
  FLoaded = false;
  FPosition.store(0);
  FPlaying.store(false);
  FPaused.store(false);
  FLevels.store(0);
}

void TMusicRenderer::SetEffect(std::shared_ptr<IMusicEffect> Effect) { FEffect = std::move(Effect); }

void TMusicRenderer::Start() {
  if (FSource) FSource->Rewind();
  FPosition.store(0);
  FPaused.store(false);
  FPlaying.store(FLoaded);
}

void TMusicRenderer::SetVolume(int Percent) { FVolume.store(std::clamp(Percent, 0, 100)); }

TMusicLevels TMusicRenderer::Levels() const {
  const std::uint32_t L = FLevels.load();
  return {static_cast<std::uint16_t>(L & 0xFFFF), static_cast<std::uint16_t>(L >> 16)};
}

void TMusicRenderer::Render(std::int16_t* Out, int Frames) {
  if (Frames <= 0) return;
  std::int64_t Pos = FPosition.load();
  const bool Active = FLoaded && FPlaying.load() && !FPaused.load() && Pos < FFrames;
  if (!Active) {
    std::memset(Out, 0, static_cast<std::size_t>(Frames) * Channels * sizeof(std::int16_t));
    FLevels.store(0);
    return;
  }

  const float Gain = static_cast<float>(FVolume.load()) / 100.0f;
  std::uint32_t PeakL = 0;
  std::uint32_t PeakR = 0;
  int Done = 0;
  while (Done < Frames && Pos < FFrames) {
    const int N = static_cast<int>(std::min<std::int64_t>({BlockFrames, Frames - Done, FFrames - Pos}));
    const int Got = FSource ? std::clamp(FSource->Read(FPcm.data(), N), 0, N) : 0;
    for (int I = 0; I < Got * Channels; ++I) FBlock[I] = static_cast<float>(FPcm[I]) / 32768.0f;
    std::fill(FBlock.begin() + Got * Channels, FBlock.begin() + N * Channels, 0.0f);
    if (FEffect) FEffect->Process(FBlock.data(), N, Channels);

    std::int16_t* Dst = Out + static_cast<std::size_t>(Done) * Channels;
    for (int I = 0; I < N * Channels; ++I) {
      // Round half to even (the default rounding mode); clip to 16 bits.
      const long V = std::clamp(std::lrint(FBlock[I] * Gain * 32768.0f), -32768L, 32767L);
      Dst[I] = static_cast<std::int16_t>(V);
      const std::uint32_t Mag = static_cast<std::uint32_t>(std::labs(V));
      if (I % 2 == 0)
        PeakL = std::max(PeakL, Mag);
      else
        PeakR = std::max(PeakR, Mag);
    }
    Done += N;
    Pos += N;
  }
  if (Done < Frames)
    std::memset(Out + static_cast<std::size_t>(Done) * Channels, 0,
                static_cast<std::size_t>(Frames - Done) * Channels * sizeof(std::int16_t));
  FPosition.store(Pos);
  FLevels.store(PeakL | (PeakR << 16));
}
