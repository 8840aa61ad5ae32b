// Sound output without a device: sounds and music advance on a clock the
// caller moves (Advance), so tests and headless runs see the same states as
// with a real mixer. Music that it can read (RIFF 16-bit PCM at 44,100 Hz)
// is really rendered; an Ogg Vorbis piece plays as silence of its true
// length; a tracker module ("M.K." and its kin) as silence of unknown length.
#pragma once

#include "platform/Audio.h"
#include "platform/MusicRenderer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Length of an Ogg Vorbis stream in sample frames and its sample rate, read
// from its identification header and the last page's granule position.
struct TOggVorbisInfo {
  int SampleRate = 0;
  int Channels = 0;
  std::int64_t Frames = 0;
};
std::optional<TOggVorbisInfo> ReadOggVorbisInfo(std::span<const std::uint8_t> Data);

class THeadlessAudio : public IAudio {
public:
  static constexpr int SampleRate = 44100;

  struct TSound {
    TSoundId Id = 0;
    TWaveFormat Format;
    std::vector<std::uint8_t> Data;
    bool Loop = false;
    bool Paused = false;
    std::int64_t PlayedMs = 0;
    // Reached its end; the notice waits for Poll.
    bool Ended = false;
    ISoundListener* Listener = nullptr;
  };

  TSoundId PlaySound(const TWaveFormat& Format, std::span<const std::uint8_t> Data, bool Loop,
                     ISoundListener* Listener) override;
  bool HaltSound(TSoundId Id) override;
  bool PauseSound(TSoundId Id) override;
  bool ResumeSound(TSoundId Id) override;
  bool IsSoundPlaying(TSoundId Id) override;
  void Poll() override;

  bool LoadMusic(std::span<const std::uint8_t> Data, TMusicKind Kind) override;
  void FreeMusic() override;
  bool SetMusicEffect(std::shared_ptr<IMusicEffect> Effect) override;
  bool PlayMusic() override;
  bool PauseMusic() override;
  bool ResumeMusic() override;
  bool StopMusic() override;
  std::int64_t MusicPositionFrames() override;
  std::int64_t MusicLengthFrames() override;
  int MusicSampleRate() override { return SampleRate; }
  TMusicLevels MusicLevels() override { return FRenderer.Levels(); }
  void SetMusicVolume(int Percent) override;
  void SetBufferLength(double Seconds) override { BufferLength = Seconds; }
  std::vector<std::string> DeviceNames() override { return {"Headless output"}; }

  // Moves the clock: sounds play on, one-shot sounds that reach their end
  // wait for Poll; the music is rendered into MusicOutput.
  void Advance(int Milliseconds);

  // Length of a sound's data in milliseconds (rounded up), as Advance counts it.
  static std::int64_t DurationMs(const TWaveFormat& Format, std::size_t Bytes);

  const std::vector<TSound>& Sounds() const { return FSounds; }
  const TSound* Find(TSoundId Id) const;

  // Makes the next PlaySound fail, as a refused device would.
  bool FailNextPlay = false;
  // How many PlaySound calls succeeded.
  int PlayCount = 0;
  // Everything the music produced since the last Clear.
  std::vector<std::int16_t> MusicOutput;
  int MusicVolume = 100;
  double BufferLength = 0;
  // The kind of the loaded piece; nothing when none is loaded.
  std::optional<TMusicKind> LoadedKind;

private:
  std::vector<TSound> FSounds;
  TMusicRenderer FRenderer;
  // A module's own clock, since its length is not known.
  std::int64_t FModuleFrames = 0;
  bool FModulePlaying = false;
  bool FModulePaused = false;
  std::int64_t FFrameRemainder = 0;
};
