#include "platform/sdl/SdlAudio.h"
#include "common/ByteOrder.h"
#include "platform/AtomicFile.h"
#include "platform/OggVorbisSource.h"
#include "common/Fnv.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace {

// The mixer reports finished channels and music through plain callbacks on
// its own thread (or inside a halt on ours): they only raise these flags.
std::atomic<bool> ChannelEnded[TSdlAudio::MaxChannels];
std::atomic<bool> ModuleEnded{false};
std::atomic<TSdlAudio*> Instance{nullptr};

void SDLCALL OnChannelFinished(int Channel) {
  if (Channel >= 0 && Channel < TSdlAudio::MaxChannels) ChannelEnded[Channel].store(true);
}
void SDLCALL OnMusicFinished() { ModuleEnded.store(true); }

// Sound edges. A sound cut mid-wave, or a loop entered mid-wave, clicks:
// halted sounds fade out and loops fade in over a few milliseconds, sample
// by sample, in an effect on the sound's channel (the mixer's own fades move
// the volume once per mixing block, far too coarse for this).
constexpr int FadeFrames = TSdlAudio::SampleRate * TSdlAudio::FadeMs / 1000;

struct TFade {
  // Set by the main thread before the channel starts, read by the mixer.
  std::atomic<bool> FadeIn{false};
  std::atomic<bool> FadeOut{false};
  // Raised by the mixer once the fade-out has reached silence.
  std::atomic<bool> Silent{false};
  // The mixer's own counters: frames since the start and since the fade-out began.
  int Played = 0;
  int Faded = 0;
};
TFade Fades[TSdlAudio::MaxChannels];

// A raised cosine from 0 to 1 over FadeFrames.
float Rise(int Frame) {
  if (Frame >= FadeFrames) return 1.0f;
  return 0.5f - 0.5f * static_cast<float>(std::cos(3.141592653589793 * Frame / FadeFrames));
}

void SDLCALL FadeEffect(int, void* Stream, int Len, void* Arg) {
  TFade& F = *static_cast<TFade*>(Arg);
  auto* S = static_cast<std::int16_t*>(Stream);
  const int Frames = Len / 4;
  const bool In = F.FadeIn.load();
  const bool Out = F.FadeOut.load();
  if ((!In || F.Played >= FadeFrames) && !Out) {
    F.Played = std::min(F.Played + Frames, FadeFrames);
    return;
  }
  for (int I = 0; I < Frames; ++I) {
    float Gain = In ? Rise(F.Played) : 1.0f;
    if (F.Played < FadeFrames) ++F.Played;
    if (Out) {
      Gain *= 1.0f - Rise(F.Faded);
      if (F.Faded < FadeFrames) ++F.Faded;
    }
    S[2 * I] = static_cast<std::int16_t>(std::lrint(S[2 * I] * Gain));
    S[2 * I + 1] = static_cast<std::int16_t>(std::lrint(S[2 * I + 1] * Gain));
  }
  if (Out && F.Faded >= FadeFrames) F.Silent.store(true);
}

void PutTag(std::vector<std::uint8_t>& Out, const char* Tag) { Out.insert(Out.end(), Tag, Tag + 4); }

// A RIFF WAVE file around the samples, for the library's wave decoder, which
// also converts them to the output format.
std::vector<std::uint8_t> WrapAsWave(const TWaveFormat& F, std::span<const std::uint8_t> Data) {
  const bool Pcm = F.FormatTag == TWaveFormat::Pcm;
  const std::uint32_t FormatSize = Pcm ? 16 : 18 + static_cast<std::uint32_t>(F.Extra.size());
  const std::uint32_t DataSize = static_cast<std::uint32_t>(Data.size());
  std::vector<std::uint8_t> W;
  W.reserve(44 + F.Extra.size() + Data.size() + 1);
  PutTag(W, "RIFF");
  PutLe32(W, 4 + 8 + FormatSize + 8 + DataSize + (DataSize & 1));
  PutTag(W, "WAVE");
  PutTag(W, "fmt ");
  PutLe32(W, FormatSize);
  PutLe16(W, F.FormatTag);
  PutLe16(W, F.Channels);
  PutLe32(W, F.SamplesPerSec);
  PutLe32(W, F.AvgBytesPerSec);
  PutLe16(W, F.BlockAlign);
  PutLe16(W, F.BitsPerSample);
  if (!Pcm) {
    PutLe16(W, static_cast<std::uint32_t>(F.Extra.size()));
    W.insert(W.end(), F.Extra.begin(), F.Extra.end());
  }
  PutTag(W, "data");
  PutLe32(W, DataSize);
  W.insert(W.end(), Data.begin(), Data.end());
  if (DataSize & 1) W.push_back(0);
  return W;
}

// Compressed or plain streams the decoder reads from memory; everything
// else is left to the module loader.
bool LooksLikeStream(std::span<const std::uint8_t> D) {
  if (D.size() < 4) return false;
  const auto Is = [&](const char* Tag, std::size_t At = 0) {
    return D.size() >= At + 4 && std::memcmp(D.data() + At, Tag, 4) == 0;
  };
  if (Is("OggS") || Is("fLaC")) return true;
  if (Is("RIFF") && Is("WAVE", 8)) return true;
  if (std::memcmp(D.data(), "ID3", 3) == 0) return true;
  return D[0] == 0xFF && (D[1] & 0xE0) == 0xE0;
}

}  // namespace

TSdlAudio::TSdlAudio(TOptions Options) : FOptions(std::move(Options)) {
  LoadVolume();
  TSdlAudio* Expected = nullptr;
  if (!Instance.compare_exchange_strong(Expected, this)) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Instance.store(nullptr);
    return;
  }
  Mix_Init(MIX_INIT_OGG | MIX_INIT_MOD | MIX_INIT_MP3 | MIX_INIT_FLAC);
  // No format changes allowed: the renderer and the volume stage work on
  // 16-bit stereo at 44,100 Hz, and SDL converts for the device.
  if (Mix_OpenAudioDevice(SampleRate, AUDIO_S16SYS, 2, std::max(64, FOptions.BlockFrames), nullptr, 0) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Instance.store(nullptr);
    return;
  }
  FOpen = true;
  for (auto& Flag : ChannelEnded) Flag.store(false);
  ModuleEnded.store(false);
  FChannels.resize(static_cast<std::size_t>(Mix_AllocateChannels(16)));
  Mix_ChannelFinished(OnChannelFinished);
  Mix_HookMusicFinished(OnMusicFinished);
  Mix_SetPostMix(PostMix, this);
}

TSdlAudio::~TSdlAudio() {
  if (FOpen) {
    for (int C = 0; C < static_cast<int>(FChannels.size()); ++C)
      if (FChannels[static_cast<std::size_t>(C)].Chunk) {
        Mix_HaltChannel(C);
        ReleaseChannel(C);
      }
    FreeMusic();
    FDecoded.clear();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_ChannelFinished(nullptr);
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Instance.store(nullptr);
  }
  if (&CurrentAudio() == this) SetAudioHandler(nullptr);
  if (&CurrentWaveOut() == this) SetWaveOutHandler(nullptr);
}

// Sounds -------------------------------------------------------------------

int TSdlAudio::FindFreeChannel() {
  // A channel whose sound still fades out is not free yet.
  for (std::size_t C = 0; C < FChannels.size(); ++C)
    if (!FChannels[C].Chunk) return static_cast<int>(C);
  const int Old = static_cast<int>(FChannels.size());
  if (Old >= MaxChannels) return -1;
  const int Now = Mix_AllocateChannels(std::min(MaxChannels, Old * 2));
  if (Now <= Old) return -1;
  FChannels.resize(static_cast<std::size_t>(Now));
  return Old;
}

int TSdlAudio::ChannelOf(TSoundId Id) const {
  if (Id == 0) return -1;
  for (std::size_t C = 0; C < FChannels.size(); ++C)
    if (FChannels[C].Id == Id) return static_cast<int>(C);
  return -1;
}

void TSdlAudio::ReleaseChannel(int Channel) {
  TChannel& Ch = FChannels[static_cast<std::size_t>(Channel)];
  // The chunk is off the channel (halted or played out); freeing it also
  // waits for a mixing pass that might still be under way.
  if (Ch.Chunk) Mix_FreeChunk(Ch.Chunk);
  Ch = {};
  // A halted channel may have been paused; the next sound starts unpaused.
  Mix_Resume(Channel);
  ChannelEnded[Channel].store(false);
}

TSoundId TSdlAudio::PlaySound(const TWaveFormat& Format, std::span<const std::uint8_t> Data, bool Loop,
                              ISoundListener* Listener) {
  if (!FOpen || Data.empty()) return 0;
  Mix_Chunk* Chunk = nullptr;
  if (Format.FormatTag == TWaveFormat::MpegLayer3) {
    Chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(Data.data(), static_cast<int>(Data.size())), 1);
  } else {
    const std::vector<std::uint8_t> Wave = WrapAsWave(Format, Data);
    Chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(Wave.data(), static_cast<int>(Wave.size())), 1);
  }
  if (!Chunk) return 0;
  const int Channel = FindFreeChannel();
  if (Channel < 0) {
    Mix_FreeChunk(Chunk);
    return 0;
  }
  // Cleared before the start, so an end that comes at once is not lost.
  ChannelEnded[Channel].store(false);
  // The channel is idle, so the mixer does not read its fade now. One-shots
  // keep the attack they were made with; loops start anywhere in their wave.
  TFade& Fade = Fades[Channel];
  Fade.FadeIn.store(Loop);
  Fade.FadeOut.store(false);
  Fade.Silent.store(false);
  Fade.Played = 0;
  Fade.Faded = 0;
  // Registered before the start, so the first mixed sample is already faded
  // in; the mixer drops the channel's effects when the channel ends.
  Mix_RegisterEffect(Channel, FadeEffect, nullptr, &Fade);
  if (Mix_PlayChannel(Channel, Chunk, Loop ? -1 : 0) != Channel) {
    Mix_UnregisterAllEffects(Channel);
    Mix_FreeChunk(Chunk);
    ChannelEnded[Channel].store(false);
    return 0;
  }
  const TSoundId Id = NewSoundId();
  FChannels[static_cast<std::size_t>(Channel)] = {Id, Chunk, Listener};
  // A sound halted just before this one (the marker's run and draw loops
  // hand over so) fades out only now: the two overlap for a moment instead
  // of leaving a mixing block of silence between them.
  StartFadeOuts();
  return Id;
}

bool TSdlAudio::HaltSound(TSoundId Id) {
  const int Channel = ChannelOf(Id);
  if (Channel < 0) return false;
  TChannel& Ch = FChannels[static_cast<std::size_t>(Channel)];
  // A paused sound is silent already: no fade to wait for.
  if (Mix_Paused(Channel)) {
    Mix_HaltChannel(Channel);
    // The halt has raised the channel's end flag; ReleaseChannel lowers
    // it, so no notice can come of it.
    ReleaseChannel(Channel);
    return true;
  }
  // Forgotten at once (no notice, no id); the channel stays taken until
  // the fade has reached silence. The fade starts with the next sound's
  // start or the next poll, whichever comes first.
  Ch.Id = 0;
  Ch.Listener = nullptr;
  FPendingFades.push_back(Channel);
  return true;
}

void TSdlAudio::StartFadeOuts() {
  for (const int Channel : FPendingFades) Fades[Channel].FadeOut.store(true);
  FPendingFades.clear();
}

bool TSdlAudio::PauseSound(TSoundId Id) {
  const int Channel = ChannelOf(Id);
  if (Channel < 0) return false;
  Mix_Pause(Channel);
  return true;
}

bool TSdlAudio::ResumeSound(TSoundId Id) {
  const int Channel = ChannelOf(Id);
  if (Channel < 0) return false;
  Mix_Resume(Channel);
  return true;
}

bool TSdlAudio::IsSoundPlaying(TSoundId Id) { return ChannelOf(Id) >= 0; }

int TSdlAudio::BusySoundChannels() const {
  return static_cast<int>(std::count_if(FChannels.begin(), FChannels.end(), [](const TChannel& C) { return C.Id != 0; }));
}

void TSdlAudio::Poll() {
  StartFadeOuts();
  std::vector<std::pair<ISoundListener*, TSoundId>> Ended;
  for (std::size_t C = 0; C < FChannels.size(); ++C) {
    if (!FChannels[C].Chunk) continue;
    if (FChannels[C].Id == 0) {
      // Halted and fading: freed once silent (or played out meanwhile).
      if (Fades[C].Silent.load() || ChannelEnded[C].load()) {
        Mix_HaltChannel(static_cast<int>(C));
        ReleaseChannel(static_cast<int>(C));
      }
      continue;
    }
    if (!ChannelEnded[C].load()) continue;
    Ended.emplace_back(FChannels[C].Listener, FChannels[C].Id);
    ReleaseChannel(static_cast<int>(C));
  }
  // Listeners may start or halt sounds; the channels are settled first.
  for (const auto& [Listener, Id] : Ended)
    if (Listener) Listener->OnSoundFinished(Id);
}

// Music --------------------------------------------------------------------

void TSdlAudio::MusicHook(void* Arg, std::uint8_t* Stream, int Len) {
  static_cast<TMusicRenderer*>(Arg)->Render(reinterpret_cast<std::int16_t*>(Stream), Len / 4);
}

void TSdlAudio::Unhook() {
  // Returns only once the mixing thread is out of the hook: the renderer is
  // ours alone until Hook.
  if (FHooked) Mix_HookMusic(nullptr, nullptr);
  FHooked = false;
}

void TSdlAudio::Hook() {
  if (FKind != TMusicKind::Stream) return;
  Mix_HookMusic(MusicHook, &FRenderer);
  FHooked = true;
}

void TSdlAudio::WaitForMixingPass() {
  // Setting the hook again takes the mixer's lock: a pass that began before
  // a pause or stop has ended when this returns, so the position read next
  // is the one the music stays at.
  if (FHooked) Mix_HookMusic(MusicHook, &FRenderer);
}

std::shared_ptr<Mix_Chunk> TSdlAudio::Decode(std::span<const std::uint8_t> Data) {
  // The menu starts its theme again and again: the piece decoded last is
  // taken from here instead of being decoded anew. Only that one: decoded
  // music is by far the largest thing in memory.
  // Known by size and hash rather than by a copy of the encoded piece,
  // which the caller holds already.
  TFnv64 Hash;
  Hash.Bytes(Data.data(), Data.size());
  for (auto It = FDecoded.begin(); It != FDecoded.end(); ++It) {
    if (It->SourceSize == Data.size() && It->SourceHash == Hash.Get()) {
      FDecoded.splice(FDecoded.begin(), FDecoded, It);
      return FDecoded.front().Chunk;
    }
  }
  TDecoded Entry;
  Entry.SourceSize = Data.size();
  Entry.SourceHash = Hash.Get();
  Mix_Chunk* Chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(Data.data(), static_cast<int>(Data.size())), 1);
  if (!Chunk) return nullptr;
  ++FDecodeCount;
  Entry.Chunk = std::shared_ptr<Mix_Chunk>(Chunk, Mix_FreeChunk);
  FDecoded.push_front(std::move(Entry));
  constexpr std::size_t Kept = 1;
  while (FDecoded.size() > Kept) FDecoded.pop_back();
  return FDecoded.front().Chunk;
}

bool TSdlAudio::LoadMusic(std::span<const std::uint8_t> Data, TMusicKind Kind) {
  FreeMusic();
  if (!FOpen || Data.empty()) return false;
  if (Kind == TMusicKind::Stream) {
    if (!LooksLikeStream(Data)) return false;
    // Ogg Vorbis at the output rate is decoded on the mixing thread as it
    // plays: decoded whole, the menu's theme alone took 17 MB and a fifth
    // of a second before the menu could appear. Other streams are decoded
    // whole by the library, which also converts them.
    if (std::unique_ptr<TOggVorbisSource> Source = TOggVorbisSource::Open(Data, SampleRate)) {
      const std::int64_t Frames = Source->Frames();
      FRenderer.Load(std::move(Source), Frames);
    } else {
      const std::shared_ptr<Mix_Chunk> Chunk = Decode(Data);
      if (!Chunk) return false;
      FRenderer.Load(std::shared_ptr<const std::int16_t>(Chunk, reinterpret_cast<const std::int16_t*>(Chunk->abuf)),
                     static_cast<std::int64_t>(Chunk->alen / 4));
    }
    FRenderer.SetVolume(FMusicVolume);
    FKind = Kind;
    Hook();
    return true;
  }
  // The library reads a module from this copy for as long as it plays.
  FModuleData.assign(Data.begin(), Data.end());
  FModule = Mix_LoadMUSType_RW(SDL_RWFromConstMem(FModuleData.data(), static_cast<int>(FModuleData.size())), MUS_MOD, 1);
  if (!FModule) {
    FModuleData.clear();
    return false;
  }
  const double Seconds = Mix_MusicDuration(FModule);
  // A damaged module may claim any duration; converting one beyond 64 bits
  // would be undefined.
  const double Frames = Seconds * SampleRate;
  if (!(Seconds > 0))
    FModuleLength = -1;
  else
    FModuleLength = Frames < 9.2e18 ? static_cast<std::int64_t>(Frames) : std::numeric_limits<std::int64_t>::max();
  FKind = Kind;
  return true;
}

void TSdlAudio::FreeMusic() {
  Unhook();
  FRenderer.Clear();
  if (FModule) {
    FModuleActive.store(false);
    Mix_HaltMusic();
    Mix_FreeMusic(FModule);
    FModule = nullptr;
  }
  FModuleData.clear();
  FModuleLength = -1;
  FModuleFrames.store(0);
  ModuleEnded.store(false);
  FKind.reset();
}

void TSdlAudio::ReleaseMusic() {
  FreeMusic();
  FDecoded.clear();
}

bool TSdlAudio::SetMusicEffect(std::shared_ptr<IMusicEffect> Effect) {
  if (FKind != TMusicKind::Stream) return false;
  Unhook();
  FRenderer.SetEffect(std::move(Effect));
  Hook();
  return true;
}

bool TSdlAudio::PlayMusic() {
  if (FKind == TMusicKind::Stream) {
    Unhook();
    FRenderer.Start();
    Hook();
    return true;
  }
  if (FKind == TMusicKind::Module) {
    FModuleActive.store(false);
    ModuleEnded.store(false);
    FModuleFrames.store(0);
    if (Mix_PlayMusic(FModule, 0) != 0) return false;
    FModuleActive.store(true);
    return true;
  }
  return false;
}

bool TSdlAudio::PauseMusic() {
  if (FKind == TMusicKind::Stream) {
    FRenderer.Pause();
    WaitForMixingPass();
    return true;
  }
  if (FKind == TMusicKind::Module) {
    FModuleActive.store(false);
    Mix_PauseMusic();
    return true;
  }
  return false;
}

bool TSdlAudio::ResumeMusic() {
  if (FKind == TMusicKind::Stream) {
    FRenderer.Resume();
    return true;
  }
  if (FKind == TMusicKind::Module) {
    Mix_ResumeMusic();
    FModuleActive.store(Mix_PlayingMusic() != 0);
    return true;
  }
  return false;
}

bool TSdlAudio::StopMusic() {
  if (FKind == TMusicKind::Stream) {
    FRenderer.Stop();
    WaitForMixingPass();
    return true;
  }
  if (FKind == TMusicKind::Module) {
    FModuleActive.store(false);
    Mix_HaltMusic();
    // The halt calls the finished hook too; a stopped module keeps its
    // position instead of jumping to its end.
    ModuleEnded.store(false);
    return true;
  }
  return false;
}

std::int64_t TSdlAudio::MusicPositionFrames() {
  if (FKind == TMusicKind::Stream) return FRenderer.PositionFrames();
  if (FKind == TMusicKind::Module) {
    const std::int64_t Frames = FModuleFrames.load();
    return ModuleEnded.load() && FModuleLength >= 0 ? std::max(Frames, FModuleLength) : Frames;
  }
  return -1;
}

std::int64_t TSdlAudio::MusicLengthFrames() {
  if (FKind == TMusicKind::Stream) return FRenderer.LengthFrames();
  if (FKind == TMusicKind::Module) return FModuleLength;
  return -1;
}

TMusicLevels TSdlAudio::MusicLevels() { return FKind == TMusicKind::Stream ? FRenderer.Levels() : TMusicLevels{}; }

void TSdlAudio::SetMusicVolume(int Percent) {
  FMusicVolume = std::clamp(Percent, 0, 100);
  FRenderer.SetVolume(FMusicVolume);
  if (FOpen) Mix_VolumeMusic(FMusicVolume * MIX_MAX_VOLUME / 100);
}

std::vector<std::string> TSdlAudio::DeviceNames() {
  std::vector<std::string> Names;
  if (!FOpen) return Names;
  const int Count = SDL_GetNumAudioDevices(0);
  for (int I = 0; I < Count; ++I) {
    const char* Name = SDL_GetAudioDeviceName(I, 0);
    if (!Name || !*Name) break;
    Names.emplace_back(Name);
  }
  return Names;
}

// Output volume --------------------------------------------------------------

void TSdlAudio::PostMix(void* Arg, std::uint8_t* Stream, int Len) {
  auto* Self = static_cast<TSdlAudio*>(Arg);
  const int Frames = Len / 4;
  if (Self->FModuleActive.load() && !ModuleEnded.load()) Self->FModuleFrames.fetch_add(Frames);

  const std::uint32_t Volume = Self->FVolume.load();
  if (Volume == 0xFFFFFFFFu) return;
  const float Left = static_cast<float>(Volume & 0xFFFF) / 65535.0f;
  const float Right = static_cast<float>(Volume >> 16) / 65535.0f;
  auto* S = reinterpret_cast<std::int16_t*>(Stream);
  for (int I = 0; I < Frames; ++I) {
    S[2 * I] = static_cast<std::int16_t>(std::lrint(S[2 * I] * Left));
    S[2 * I + 1] = static_cast<std::int16_t>(std::lrint(S[2 * I + 1] * Right));
  }
}

bool TSdlAudio::GetVolume(int Device, std::uint32_t& LeftRight) {
  if (Device != 0 && Device != WaveMapper) return false;
  LeftRight = FVolume.load();
  return true;
}

bool TSdlAudio::SetVolume(int Device, std::uint32_t LeftRight) {
  if (Device != 0 && Device != WaveMapper) return false;
  if (FVolume.exchange(LeftRight) != LeftRight) SaveVolume();
  return true;
}

void TSdlAudio::LoadVolume() {
  std::FILE* F = std::fopen(FOptions.VolumeFile.c_str(), "rb");
  if (!F) return;
  char Text[64] = {};
  const std::size_t N = std::fread(Text, 1, sizeof(Text) - 1, F);
  std::fclose(F);
  Text[N] = 0;
  unsigned Left = 0;
  unsigned Right = 0;
  char Tail = 0;
  // "left right", each 0..65535; anything else leaves full volume.
  const int Got = std::sscanf(Text, "%u %u %c", &Left, &Right, &Tail);
  if (Got == 2 && Left <= 0xFFFF && Right <= 0xFFFF) FVolume.store(Left | (Right << 16));
}

void TSdlAudio::SaveVolume() {
  // Replaced whole through a temporary of its own, so a crash never leaves a
  // half-written setting behind and a link planted beside it is never
  // written through. A failure keeps the old file; the volume still applies.
  const std::uint32_t V = FVolume.load();
  std::string Error;
  ReplaceFile(FOptions.VolumeFile, std::to_string(V & 0xFFFF) + " " + std::to_string(V >> 16) + "\n", Error);
}
