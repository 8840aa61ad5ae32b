#include "audio/AudioEngine.h"

#include "audio/Equalizer.h"
#include "common/CommonTypes.h"
#include "platform/Audio.h"
#include "platform/WaveOut.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace {

// Saturating: a damaged piece may claim a length near 2^63 frames, and a
// wrapped product would make it end at once.
std::int32_t FramesToMs(std::int64_t Frames, int Rate) {
  const std::int64_t Ms = ScaleCount(Frames, 1000, Rate);
  return static_cast<std::int32_t>(std::min<std::int64_t>(Ms, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TAudioEngine::TAudioEngine(std::intptr_t Window) : FWindow(Window) {
  IAudio& Audio = CurrentAudio();
  Audio.StopMusic();
  Audio.FreeMusic();
  FDeviceNames = Audio.DeviceNames();
  SetBufferLength(500);
}

TAudioEngine::~TAudioEngine() {
  Stop();
  CurrentAudio().FreeMusic();
}

std::string TAudioEngine::FileFilter() const {
  return "mp1/mp2/mp3/wav/ogg/mod/s3m/it/umx/mo3/mtm/xm|*.mp1;*.mp2;*.mp3;*.wav;*.ogg;*.mod;*.s3m;*.it;*.umx;*.mo3;"
         "*.mtm;*.xm|Streams (mp1/mp2/mp3/wav/ogg)|*.mp1;*.mp2;*.mp3;*.wav;*.ogg|Trackers "
         "(mod/s3m/it/umx/mo3/mtm/xm)|*.mod;*.s3m;*.it;*.umx;*.mo3;*.mtm;*.xm";
}

void TAudioEngine::PlayFromStream(const TMemoryStream* Stream) {
  if (Stream)
    PlayFromMemory(std::span<const std::uint8_t>(Stream->Data(), Stream->Size()));
  else
    PlayFromMemory({});
}

void TAudioEngine::PlayFromMemory(std::span<const std::uint8_t> Data) {
  IAudio& Audio = CurrentAudio();
  Audio.FreeMusic();
  FHasPiece = false;
  FLengthBytes = -1;
  if (!Audio.LoadMusic(Data, TMusicKind::Stream) && !Audio.LoadMusic(Data, TMusicKind::Module)) return;
  FHasPiece = true;

  auto Equalizer = std::make_shared<TEqualizer>(Audio.MusicSampleRate(), EqualizerBands);
  for (int I = 0; I < EqualizerBands; ++I) Equalizer->SetBand(I, EqualizerCentres[I], EqualizerBandwidth, 0.0);
  for (int I = 0; I < EqualizerBands; ++I) Equalizer->SetGain(I, EqualizerGains[I]);
  // Modules take no effects; they play without the equaliser.
  Audio.SetMusicEffect(std::move(Equalizer));

  Audio.PlayMusic();
  const std::int64_t Frames = Audio.MusicLengthFrames();
  FLengthBytes = Frames >= 0 ? ScaleCount(Frames, 4, 1) : -1;
  FState = StatePlaying;
}

bool TAudioEngine::Stop() {
  const bool Result = CurrentAudio().StopMusic();
  FState = StateStopped;
  return Result;
}

void TAudioEngine::Free() {
  Stop();
  CurrentAudio().ReleaseMusic();
  FHasPiece = false;
  FLengthBytes = -1;
}

void TAudioEngine::Pause() {
  CurrentAudio().PauseMusic();
  FState = StatePaused;
}

void TAudioEngine::Resume() {
  CurrentAudio().ResumeMusic();
  FState = StatePlaying;
}

std::int32_t TAudioEngine::PositionMs() {
  IAudio& Audio = CurrentAudio();
  return FramesToMs(Audio.MusicPositionFrames(), Audio.MusicSampleRate());
}

std::int32_t TAudioEngine::LengthMs() {
  IAudio& Audio = CurrentAudio();
  return FramesToMs(Audio.MusicLengthFrames(), Audio.MusicSampleRate());
}

void TAudioEngine::GetLevels(std::uint32_t& Right, std::uint32_t& Left) {
  const TMusicLevels L = CurrentAudio().MusicLevels();
  Right = L.Right;
  Left = L.Left;
}

void TAudioEngine::SetVolume(int Percent) {
  // Each side as k * 257 with k = 0..255, so that reading the volume back in
  // percent gives exactly the percent set.
  const auto K = static_cast<std::uint32_t>(RoundHalfEven(std::clamp(Percent, 0, 100) * 255.0L / 100.0L));
  const std::uint32_t Side = K * 257;
  CurrentWaveOut().SetVolume(IWaveOut::WaveMapper, Side | (Side << 16));
}

void TAudioEngine::SetGlobalVolumes(int Percent) { CurrentAudio().SetMusicVolume(std::clamp(Percent, 0, 100)); }

void TAudioEngine::SetBufferLength(int Milliseconds) {
  FBufferLength = std::clamp(Milliseconds, 150, 2000) / 1000.0;
  CurrentAudio().SetBufferLength(FBufferLength);
}

void TAudioEngine::CheckEnd() {
  // A loaded piece of unknown length (a module the decoder cannot measure)
  // plays until stopped rather than being cut at once.
  if (FHasPiece && CurrentAudio().MusicLengthFrames() < 0) return;
  if (FState != StateStopped && PositionMs() >= LengthMs() - EndMarginMs) {
    Stop();
    FState = StateEnded;
  }
}
