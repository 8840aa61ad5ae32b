// The game's sound output: sound effects, each on a mixer channel of its own,
// and one piece of music at a time. Game code talks to CurrentAudio(); the
// platform installs the real mixer, tests and headless runs use
// THeadlessAudio. Every call comes from the main thread; implementations
// that mix on another thread hand their notices over to Poll().
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// How a sound's sample bytes are laid out, in the classic wave-format record.
struct TWaveFormat {
  static constexpr std::uint16_t Pcm = 1;
  static constexpr std::uint16_t MpegLayer3 = 85;

  std::uint16_t FormatTag = 0;
  std::uint16_t Channels = 0;
  std::uint32_t SamplesPerSec = 0;
  std::uint32_t AvgBytesPerSec = 0;
  std::uint16_t BlockAlign = 0;
  std::uint16_t BitsPerSample = 0;
  // The format's extra bytes (empty for PCM).
  std::vector<std::uint8_t> Extra;

  friend bool operator==(const TWaveFormat&, const TWaveFormat&) = default;
};

// Identifies one playback of one sound; never 0, never handed out twice.
using TSoundId = std::uint64_t;

// Told on the main thread, from IAudio::Poll, that a sound has played to its
// end. Halted sounds are never reported.
class ISoundListener {
public:
  virtual void OnSoundFinished(TSoundId Id) = 0;

protected:
  ~ISoundListener() = default;
};

// An effect inserted into the music. Process runs on the mixing thread, so
// it must not allocate, lock or touch game state; the music's owner sets it
// up before handing it over and leaves it alone afterwards.
class IMusicEffect {
public:
  virtual ~IMusicEffect() = default;
  // Interleaved samples in [-1, 1], processed in place.
  virtual void Process(float* Samples, int Frames, int Channels) = 0;
};

// Streams (Ogg Vorbis and the like) carry their own length and can take
// effects; tracker modules are the fallback.
enum class TMusicKind { Stream, Module };

// Peak levels of the music's own output since the last query's mixing
// block, 0..32768 each; 0 while nothing plays.
struct TMusicLevels {
  std::uint16_t Left = 0;
  std::uint16_t Right = 0;
};

class IAudio {
public:
  virtual ~IAudio() = default;

  // Sounds --------------------------------------------------------------
  // Starts Data (samples laid out as Format says) on a channel of its own,
  // looping until halted when Loop is set. The data is copied; the caller may
  // free it at once. Returns 0 when the sound cannot be played. A mixer
  // fades a loop in over a few milliseconds, since it may start mid-wave.
  virtual TSoundId PlaySound(const TWaveFormat& Format, std::span<const std::uint8_t> Data, bool Loop,
                             ISoundListener* Listener) = 0;
  // Forgets the sound at once (no notice will follow) and silences it: a
  // mixer fades it out over a few milliseconds rather than cutting it
  // mid-wave, starting no earlier than the next PlaySound or Poll, so that
  // a sound started right after it takes over without a gap. False for a
  // sound that is not on a channel any more.
  virtual bool HaltSound(TSoundId Id) = 0;
  virtual bool PauseSound(TSoundId Id) = 0;
  virtual bool ResumeSound(TSoundId Id) = 0;
  // On a channel, playing or paused, and its end not yet reported.
  virtual bool IsSoundPlaying(TSoundId Id) = 0;
  // Delivers the notices of sounds that have ended since the last call. The
  // main loop calls it on every turn.
  virtual void Poll() = 0;

  // Music ---------------------------------------------------------------
  // Replaces the current piece (which is freed first) with a copy of Data.
  // False when Data is not of that kind; nothing is loaded then.
  virtual bool LoadMusic(std::span<const std::uint8_t> Data, TMusicKind Kind) = 0;
  virtual void FreeMusic() = 0;
  // Frees the piece and whatever was kept to start it again quickly (its
  // decoded samples): for a stretch in which it will not play.
  virtual void ReleaseMusic() { FreeMusic(); }
  // Inserted into the current piece until it is freed (streams only; false
  // for a module or when nothing is loaded).
  virtual bool SetMusicEffect(std::shared_ptr<IMusicEffect> Effect) = 0;
  // Plays the loaded piece from its start.
  virtual bool PlayMusic() = 0;
  virtual bool PauseMusic() = 0;
  virtual bool ResumeMusic() = 0;
  // Silences the piece; its position stays where it stopped.
  virtual bool StopMusic() = 0;
  // In sample frames at MusicSampleRate(); -1 when nothing is loaded or the
  // value is unknown.
  virtual std::int64_t MusicPositionFrames() = 0;
  virtual std::int64_t MusicLengthFrames() = 0;
  virtual int MusicSampleRate() = 0;
  virtual TMusicLevels MusicLevels() = 0;
  // 0..100, the music's own volume under the output volume.
  virtual void SetMusicVolume(int Percent) = 0;
  // How far ahead the music may be prepared, in seconds.
  virtual void SetBufferLength(double Seconds) = 0;

  // Descriptions of the output devices, in device order.
  virtual std::vector<std::string> DeviceNames() = 0;
};

// A fresh sound id; shared by every implementation so that ids stay unique
// when the implementation is swapped.
TSoundId NewSoundId();

// Count * Numerator / Denominator, truncated (or rounded up), for frame,
// byte and millisecond counts of any size: 0 when an argument is not
// positive, held at the largest 64-bit value instead of overflowing. A
// damaged header may claim a length near 2^63.
std::int64_t ScaleCount(std::int64_t Count, std::int64_t Numerator, std::int64_t Denominator, bool RoundUp = false);

// Installs the implementation (nullptr restores the headless one); returns the old one.
IAudio* SetAudioHandler(IAudio* Handler);
IAudio& CurrentAudio();
