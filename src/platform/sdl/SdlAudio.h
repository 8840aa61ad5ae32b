// Sound output over SDL2_mixer. Every sound effect gets a mixer channel of
// its own; the music is decoded once into memory and fed to the mixer by
// the music renderer, so that its equaliser, volume, position and levels
// concern the music alone (tracker modules, which may loop for ever, are
// streamed by the library instead and play without those). The output
// volume scales the whole mix and is kept in a small file of its own, the
// way a system mixer keeps its setting across a restart.
//
// One instance at a time. All calls from the main thread; the mixing thread
// only raises atomic flags, which Poll turns into notices.
#pragma once

#include "platform/Audio.h"
#include "platform/MusicRenderer.h"
#include "platform/WaveOut.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

class TSdlAudio : public IAudio, public IWaveOut {
public:
  struct TOptions {
    // Where the output volume is kept.
    std::string VolumeFile = "volume.dat";
    // Sample frames per mixing block.
    int BlockFrames = 1024;
  };

  TSdlAudio() : TSdlAudio(TOptions{}) {}
  explicit TSdlAudio(TOptions Options);
  TSdlAudio(const TSdlAudio&) = delete;
  TSdlAudio& operator=(const TSdlAudio&) = delete;
  // Also uninstalls itself where it is the current audio or wave-out handler.
  ~TSdlAudio() override;

  // False when the output device could not be opened: everything then fails
  // quietly and the game runs silent.
  bool IsOpen() const { return FOpen; }

  // IAudio
  TSoundId PlaySound(const TWaveFormat& Format, std::span<const std::uint8_t> Data, bool Loop,
                     ISoundListener* Listener) override;
  bool HaltSound(TSoundId Id) override;
  bool PauseSound(TSoundId Id) override;
  bool ResumeSound(TSoundId Id) override;
  bool IsSoundPlaying(TSoundId Id) override;
  void Poll() override;
  bool LoadMusic(std::span<const std::uint8_t> Data, TMusicKind Kind) override;
  void FreeMusic() override;
  void ReleaseMusic() override;
  bool SetMusicEffect(std::shared_ptr<IMusicEffect> Effect) override;
  bool PlayMusic() override;
  bool PauseMusic() override;
  bool ResumeMusic() override;
  bool StopMusic() override;
  std::int64_t MusicPositionFrames() override;
  std::int64_t MusicLengthFrames() override;
  int MusicSampleRate() override { return SampleRate; }
  TMusicLevels MusicLevels() override;
  void SetMusicVolume(int Percent) override;
  // Recorded only: the mixer's block size, fixed when the device opens,
  // bounds what lies ahead of the ear for sounds and music alike.
  void SetBufferLength(double Seconds) override { FBufferLength = Seconds; }
  std::vector<std::string> DeviceNames() override;

  // IWaveOut: one output device (0) with volume control; the wave mapper
  // (-1) is the same device.
  int DeviceCount() override { return 1; }
  bool HasVolumeControl(int Device) override { return Device == 0; }
  bool GetVolume(int Device, std::uint32_t& LeftRight) override;
  bool SetVolume(int Device, std::uint32_t LeftRight) override;

  double BufferLength() const { return FBufferLength; }
  // Channels that hold a sound (playing, paused, or ended and not yet
  // polled); a halted sound that still fades out is not counted.
  int BusySoundChannels() const;
  // How many pieces of music have been decoded whole (a piece played again
  // lately is not decoded anew; Ogg Vorbis at the output rate never is).
  int DecodeCount() const { return FDecodeCount; }

  static constexpr int SampleRate = 44100;
  static constexpr int MaxChannels = 256;
  // Length of the fade of a halted sound and of a loop's start.
  static constexpr int FadeMs = 5;

private:
  struct TChannel {
    TSoundId Id = 0;
    Mix_Chunk* Chunk = nullptr;
    ISoundListener* Listener = nullptr;
  };
  struct TDecoded {
    std::size_t SourceSize = 0;
    std::uint64_t SourceHash = 0;
    std::shared_ptr<Mix_Chunk> Chunk;
  };

  static void MusicHook(void* Arg, std::uint8_t* Stream, int Len);
  static void PostMix(void* Arg, std::uint8_t* Stream, int Len);

  int FindFreeChannel();
  int ChannelOf(TSoundId Id) const;
  void ReleaseChannel(int Channel);
  void StartFadeOuts();
  std::shared_ptr<Mix_Chunk> Decode(std::span<const std::uint8_t> Data);
  void Unhook();
  void Hook();
  void WaitForMixingPass();
  void LoadVolume();
  void SaveVolume();

  TOptions FOptions;
  bool FOpen = false;
  std::vector<TChannel> FChannels;
  // Halted sounds whose fade-out the mixer has not been told of yet.
  std::vector<int> FPendingFades;

  std::optional<TMusicKind> FKind;
  TMusicRenderer FRenderer;
  bool FHooked = false;
  std::list<TDecoded> FDecoded;  // most recent first
  std::vector<std::uint8_t> FModuleData;
  Mix_Music* FModule = nullptr;
  std::int64_t FModuleLength = -1;
  std::atomic<bool> FModuleActive{false};
  std::atomic<std::int64_t> FModuleFrames{0};
  int FMusicVolume = 100;
  int FDecodeCount = 0;
  double FBufferLength = 0;

  std::atomic<std::uint32_t> FVolume{0xFFFFFFFFu};
};
