// Turns a piece of music (16-bit stereo frames, decoded whole or as it
// plays) into the music's share of the output: the inserted effect, the
// music volume, the position and the peak levels. Plain code, shared by the
// mixer and the headless output, so that both measure and shape the music
// the same way.
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

// Where a piece's samples come from, read in order on the mixing thread.
class IMusicSource {
public:
  virtual ~IMusicSource() = default;
  // Up to Frames stereo frames into Out, returning how many; fewer only at
  // the piece's end or where it is damaged.
  virtual int Read(std::int16_t* Out, int Frames) = 0;
  // Back to the first frame.
  virtual void Rewind() = 0;
};

class TMusicRenderer {
public:
  static constexpr int Channels = 2;

  // Samples: Frames x 2 interleaved values, kept alive by the renderer; null
  // makes a silent piece of that length.
  void Load(std::shared_ptr<const std::int16_t> Samples, std::int64_t Frames);
  // A piece of Frames frames read from Source as it plays; what the source
  // cannot give before that length is silence.
  void Load(std::unique_ptr<IMusicSource> Source, std::int64_t Frames);
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

  std::unique_ptr<IMusicSource> FSource;
  std::shared_ptr<IMusicEffect> FEffect;
  std::int64_t FFrames = 0;
  bool FLoaded = false;

  std::atomic<std::int64_t> FPosition{0};
  std::atomic<bool> FPlaying{false};
  std::atomic<bool> FPaused{false};
  std::atomic<int> FVolume{100};
  // Left in the low 16 bits, right in the high 16 bits.
  std::atomic<std::uint32_t> FLevels{0};

  std::array<std::int16_t, BlockFrames * Channels> FPcm{};
  std::array<float, BlockFrames * Channels> FBlock{};
};
