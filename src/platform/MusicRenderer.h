// Turns a decoded piece of music (16-bit stereo frames) into the music's
// share of the output: the inserted effect, the music volume, the position
// and the peak levels. Plain code, shared by the mixer and the headless
// output, so that both measure and shape the music the same way.
//
// Threads: Render runs on the mixing thread. Load, SetEffect and Start must
// only be called while Render cannot run (the mixer has been told to stop
// calling it); the rest may be called at any time from the main thread.
#pragma once

#include "platform/Audio.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

class TMusicRenderer {
public:
  static constexpr int Channels = 2;

  // Samples: Frames x 2 interleaved values, kept alive by the renderer; null
  // makes a silent piece of that length.
  void Load(std::shared_ptr<const std::int16_t> Samples, std::int64_t Frames);
  void Clear();
  bool Loaded() const { return FLoaded; }
  void SetEffect(std::shared_ptr<IMusicEffect> Effect);

  // From the start.
  void Start();
  void Pause() { FPaused.store(true); }
  void Resume() { FPaused.store(false); }
  // Silences the piece and keeps its position.
  void Stop() { FPlaying.store(false); }
  bool Playing() const { return FPlaying.load() && !FPaused.load(); }

  // 0..100.
  void SetVolume(int Percent);

  std::int64_t PositionFrames() const { return FLoaded ? FPosition.load() : -1; }
  std::int64_t LengthFrames() const { return FLoaded ? FFrames : -1; }
  TMusicLevels Levels() const;

  // Writes Frames stereo frames to Out (silence where the piece does not play).
  void Render(std::int16_t* Out, int Frames);

private:
  static constexpr int BlockFrames = 512;

  std::shared_ptr<const std::int16_t> FSamples;
  std::shared_ptr<IMusicEffect> FEffect;
  std::int64_t FFrames = 0;
  bool FLoaded = false;

  std::atomic<std::int64_t> FPosition{0};
  std::atomic<bool> FPlaying{false};
  std::atomic<bool> FPaused{false};
  std::atomic<int> FVolume{100};
  // Left in the low 16 bits, right in the high 16 bits.
  std::atomic<std::uint32_t> FLevels{0};

  std::array<float, BlockFrames * Channels> FBlock{};
};
