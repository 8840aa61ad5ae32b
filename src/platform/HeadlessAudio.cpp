#include "platform/HeadlessAudio.h"

#include "common/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// 16-bit PCM at the output rate, mono or stereo; anything else is not ours
// to decode here.
bool ReadPcmWave(std::span<const std::uint8_t> D, std::vector<std::int16_t>& Stereo) {
  if (D.size() < 12 || std::memcmp(D.data(), "RIFF", 4) != 0 || std::memcmp(D.data() + 8, "WAVE", 4) != 0)
    return false;
  std::size_t Pos = 12;
  int Channels = 0;
  bool HaveFormat = false;
  while (Pos + 8 <= D.size()) {
    const std::uint32_t Size = Le32(D.data() + Pos + 4);
    const std::size_t Body = Pos + 8;
    if (std::memcmp(D.data() + Pos, "fmt ", 4) == 0 && Size >= 16 && Body + 16 <= D.size()) {
      const std::uint8_t* F = D.data() + Body;
      Channels = Le16(F + 2);
      if (Le16(F) != 1 || Le32(F + 4) != THeadlessAudio::SampleRate || Le16(F + 14) != 16 || Channels < 1 ||
          Channels > 2)
        return false;
      HaveFormat = true;
    } else if (std::memcmp(D.data() + Pos, "data", 4) == 0 && HaveFormat) {
      const std::size_t Bytes = std::min<std::size_t>(Size, D.size() - Body);
      const std::size_t Frames = Bytes / (2 * Channels);
      Stereo.resize(Frames * 2);
      for (std::size_t I = 0; I < Frames; ++I) {
        const std::uint8_t* S = D.data() + Body + I * 2 * Channels;
        const auto L = static_cast<std::int16_t>(Le16(S));
        const auto R = Channels == 2 ? static_cast<std::int16_t>(Le16(S + 2)) : L;
        Stereo[I * 2] = L;
        Stereo[I * 2 + 1] = R;
      }
      return true;
    }
    Pos = Body + Size + (Size & 1);
  }
  return false;
}

bool LooksLikeModule(std::span<const std::uint8_t> D) {
  if (D.size() >= 1084) {
    const char* Tag = reinterpret_cast<const char*>(D.data() + 1080);
    for (const char* Known : {"M.K.", "M!K!", "FLT4", "FLT8", "4CHN", "6CHN", "8CHN"})
      if (std::memcmp(Tag, Known, 4) == 0) return true;
  }
  return D.size() >= 17 && std::memcmp(D.data(), "Extended Module:", 16) == 0;
}

}  // namespace

std::optional<TOggVorbisInfo> ReadOggVorbisInfo(std::span<const std::uint8_t> D) {
  TOggVorbisInfo Info;
  std::int64_t LastGranule = -1;
  std::uint32_t Serial = 0;
  std::size_t Pos = 0;
  bool First = true;
  while (Pos + 27 <= D.size()) {
    const std::uint8_t* Page = D.data() + Pos;
    if (std::memcmp(Page, "OggS", 4) != 0) break;
    const int Segments = Page[26];
    if (Pos + 27 + Segments > D.size()) break;
    std::size_t BodySize = 0;
    for (int I = 0; I < Segments; ++I) BodySize += Page[27 + I];
    const std::size_t Body = Pos + 27 + Segments;
    if (Body + BodySize > D.size()) break;
    const std::uint32_t PageSerial = Le32(Page + 14);
    if (First) {
      // The identification header: type 1, "vorbis", version, channels, rate.
      if (BodySize < 16 || D[Body] != 1 || std::memcmp(D.data() + Body + 1, "vorbis", 6) != 0) return std::nullopt;
      Info.Channels = D[Body + 11];
      Info.SampleRate = static_cast<int>(Le32(D.data() + Body + 12));
      Serial = PageSerial;
      First = false;
    } else if (PageSerial == Serial) {
      std::uint64_t Granule = 0;
      for (int I = 7; I >= 0; --I) Granule = (Granule << 8) | Page[6 + I];
      // Above 2^63 - 1 only the "no packet ends here" mark (all ones) and damage.
      if (Granule <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        LastGranule = static_cast<std::int64_t>(Granule);
    }
    Pos = Body + BodySize;
  }
  if (First || Info.SampleRate <= 0 || Info.Channels <= 0) return std::nullopt;
  Info.Frames = std::max<std::int64_t>(LastGranule, 0);
  return Info;
}

std::int64_t THeadlessAudio::DurationMs(const TWaveFormat& Format, std::size_t Bytes) {
  std::int64_t PerSecond = Format.AvgBytesPerSec;
  if (PerSecond <= 0) PerSecond = static_cast<std::int64_t>(Format.BlockAlign) * Format.SamplesPerSec;
  return ScaleCount(static_cast<std::int64_t>(std::min<std::size_t>(Bytes, std::numeric_limits<std::int64_t>::max())),
                    1000, PerSecond, true);
}

TSoundId THeadlessAudio::PlaySound(const TWaveFormat& Format, std::span<const std::uint8_t> Data, bool Loop,
                                   ISoundListener* Listener) {
  if (FailNextPlay) {
    FailNextPlay = false;
    return 0;
  }
  if (Data.empty()) return 0;
  TSound S;
  S.Id = NewSoundId();
  S.Format = Format;
  S.Data.assign(Data.begin(), Data.end());
  S.Loop = Loop;
  S.Listener = Listener;
  FSounds.push_back(S);
  ++PlayCount;
  return S.Id;
}

const THeadlessAudio::TSound* THeadlessAudio::Find(TSoundId Id) const {
  for (const TSound& S : FSounds)
    if (S.Id == Id) return &S;
  return nullptr;
}

bool THeadlessAudio::HaltSound(TSoundId Id) {
  const auto It = std::find_if(FSounds.begin(), FSounds.end(), [&](const TSound& S) { return S.Id == Id; });
  if (It == FSounds.end()) return false;
  FSounds.erase(It);
  return true;
}

bool THeadlessAudio::PauseSound(TSoundId Id) {
  for (TSound& S : FSounds)
    if (S.Id == Id) return S.Paused = true;
  return false;
}

bool THeadlessAudio::ResumeSound(TSoundId Id) {
  for (TSound& S : FSounds)
    if (S.Id == Id) {
      S.Paused = false;
      return true;
    }
  return false;
}

bool THeadlessAudio::IsSoundPlaying(TSoundId Id) { return Find(Id) != nullptr; }

void THeadlessAudio::Poll() {
  std::vector<std::pair<ISoundListener*, TSoundId>> Done;
  for (auto It = FSounds.begin(); It != FSounds.end();) {
    if (It->Ended) {
      Done.emplace_back(It->Listener, It->Id);
      It = FSounds.erase(It);
    } else {
      ++It;
    }
  }
  // Listeners may start or halt sounds; the list is settled before they run.
  for (const auto& [Listener, Id] : Done)
    if (Listener) Listener->OnSoundFinished(Id);
}

void THeadlessAudio::Advance(int Milliseconds) {
  if (Milliseconds <= 0) return;
  for (TSound& S : FSounds) {
    if (S.Paused || S.Ended) continue;
    S.PlayedMs += Milliseconds;
    if (!S.Loop && S.PlayedMs >= DurationMs(S.Format, S.Data.size())) S.Ended = true;
  }

  const std::int64_t Total = static_cast<std::int64_t>(Milliseconds) * SampleRate + FFrameRemainder;
  const std::int64_t Frames = Total / 1000;
  FFrameRemainder = Total % 1000;
  if (LoadedKind == TMusicKind::Module) {
    if (FModulePlaying && !FModulePaused) FModuleFrames += Frames;
  } else if (FRenderer.Loaded()) {
    const std::size_t Old = MusicOutput.size();
    MusicOutput.resize(Old + static_cast<std::size_t>(Frames) * 2);
    FRenderer.Render(MusicOutput.data() + Old, static_cast<int>(Frames));
  }
}

bool THeadlessAudio::LoadMusic(std::span<const std::uint8_t> Data, TMusicKind Kind) {
  FreeMusic();
  if (Kind == TMusicKind::Module) {
    if (!LooksLikeModule(Data)) return false;
    LoadedKind = Kind;
    FModuleFrames = 0;
    return true;
  }
  auto Pcm = std::make_shared<std::vector<std::int16_t>>();
  if (ReadPcmWave(Data, *Pcm)) {
    const std::int64_t Frames = static_cast<std::int64_t>(Pcm->size() / 2);
    FRenderer.Load(std::shared_ptr<const std::int16_t>(Pcm, Pcm->data()), Frames);
  } else if (const auto Info = ReadOggVorbisInfo(Data)) {
    // Silence of the piece's length, counted at the output rate.
    FRenderer.Load(std::shared_ptr<const std::int16_t>(), ScaleCount(Info->Frames, SampleRate, Info->SampleRate));
  } else {
    return false;
  }
  FRenderer.SetVolume(MusicVolume);
  LoadedKind = Kind;
  return true;
}

void THeadlessAudio::FreeMusic() {
  FRenderer.Clear();
  LoadedKind.reset();
  FModulePlaying = false;
  FModulePaused = false;
  FModuleFrames = 0;
}

bool THeadlessAudio::SetMusicEffect(std::shared_ptr<IMusicEffect> Effect) {
  if (LoadedKind != TMusicKind::Stream) return false;
  FRenderer.SetEffect(std::move(Effect));
  return true;
}

bool THeadlessAudio::PlayMusic() {
  if (!LoadedKind) return false;
  if (*LoadedKind == TMusicKind::Module) {
    FModuleFrames = 0;
    FModulePlaying = true;
    FModulePaused = false;
  } else {
    FRenderer.Start();
  }
  return true;
}

bool THeadlessAudio::PauseMusic() {
  if (!LoadedKind) return false;
  FModulePaused = true;
  FRenderer.Pause();
  return true;
}

bool THeadlessAudio::ResumeMusic() {
  if (!LoadedKind) return false;
  FModulePaused = false;
  FRenderer.Resume();
  return true;
}

bool THeadlessAudio::StopMusic() {
  if (!LoadedKind) return false;
  FModulePlaying = false;
  FRenderer.Stop();
  return true;
}

std::int64_t THeadlessAudio::MusicPositionFrames() {
  if (LoadedKind == TMusicKind::Module) return FModuleFrames;
  return FRenderer.PositionFrames();
}

std::int64_t THeadlessAudio::MusicLengthFrames() {
  if (LoadedKind == TMusicKind::Module) return -1;
  return FRenderer.LengthFrames();
}

void THeadlessAudio::SetMusicVolume(int Percent) {
  MusicVolume = std::clamp(Percent, 0, 100);
  FRenderer.SetVolume(MusicVolume);
}
