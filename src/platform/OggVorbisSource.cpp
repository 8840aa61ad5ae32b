#include "platform/OggVorbisSource.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>

struct TOggVorbisSource::TState {
  std::vector<std::uint8_t> Data;
  std::size_t At = 0;
  OggVorbis_File File{};
  bool Opened = false;
  // Mono frames before they are spread over both channels.
  std::vector<std::int16_t> Mono;
};

namespace {
std::size_t ReadBytes(void* To, std::size_t Size, std::size_t Count, void* Source) {
  auto& S = *static_cast<TOggVorbisSource::TState*>(Source);
  if (Size == 0) return 0;
  const std::size_t Left = S.Data.size() - S.At;
  const std::size_t Items = std::min(Count, Left / Size);
  std::memcpy(To, S.Data.data() + S.At, Items * Size);
  S.At += Items * Size;
  return Items;
}

int SeekBytes(void* Source, ogg_int64_t Offset, int Whence) {
  auto& S = *static_cast<TOggVorbisSource::TState*>(Source);
  ogg_int64_t Base = 0;
  if (Whence == SEEK_CUR)
    Base = static_cast<ogg_int64_t>(S.At);
  else if (Whence == SEEK_END)
    Base = static_cast<ogg_int64_t>(S.Data.size());
  else if (Whence != SEEK_SET)
    return -1;
  // Within the bytes, and never an overflow on the way there.
  if (Offset < -Base || Offset > static_cast<ogg_int64_t>(S.Data.size()) - Base) return -1;
  S.At = static_cast<std::size_t>(Base + Offset);
  return 0;
}

long TellBytes(void* Source) { return static_cast<long>(static_cast<TOggVorbisSource::TState*>(Source)->At); }

constexpr int BigEndian = std::endian::native == std::endian::big ? 1 : 0;
}  // namespace

TOggVorbisSource::TOggVorbisSource() : FState(std::make_unique<TState>()) {}

TOggVorbisSource::~TOggVorbisSource() {
  if (FState->Opened) ov_clear(&FState->File);
}

std::unique_ptr<TOggVorbisSource> TOggVorbisSource::Open(std::span<const std::uint8_t> Data, int Rate) {
  if (Data.size() < 4 || std::memcmp(Data.data(), "OggS", 4) != 0) return nullptr;
  if (Data.size() > static_cast<std::size_t>(std::numeric_limits<long>::max())) return nullptr;
  std::unique_ptr<TOggVorbisSource> Self(new TOggVorbisSource());
  TState& S = *Self->FState;
  S.Data.assign(Data.begin(), Data.end());
  const ov_callbacks Callbacks{ReadBytes, SeekBytes, nullptr, TellBytes};
  if (ov_open_callbacks(&S, &S.File, nullptr, 0, Callbacks) != 0) return nullptr;
  S.Opened = true;
  const vorbis_info* Info = ov_info(&S.File, -1);
  if (!Info || (Info->channels != 1 && Info->channels != 2) || Info->rate != Rate) return nullptr;
  // A chain of streams of other shapes would need converting part-way.
  for (long Link = 0; Link < ov_streams(&S.File); ++Link) {
    const vorbis_info* L = ov_info(&S.File, static_cast<int>(Link));
    if (!L || L->channels != Info->channels || L->rate != Info->rate) return nullptr;
  }
  const ogg_int64_t Total = ov_pcm_total(&S.File, -1);
  if (Total < 0) return nullptr;
  Self->FChannels = Info->channels;
  Self->FFrames = Total;
  return Self;
}

int TOggVorbisSource::Read(std::int16_t* Out, int Frames) {
  TState& S = *FState;
  int Done = 0;
  while (Done < Frames && !FEnded) {
    std::int16_t* To = Out + static_cast<std::size_t>(Done) * 2;
    if (FChannels == 1) {
      // Grows to the mixer's block size once, then stays.
      if (S.Mono.size() < static_cast<std::size_t>(Frames - Done)) S.Mono.resize(static_cast<std::size_t>(Frames - Done));
      To = S.Mono.data();
    }
    int Link = 0;
    const long Bytes = ov_read(&S.File, reinterpret_cast<char*>(To), (Frames - Done) * FChannels * 2, BigEndian, 2, 1,
                               &Link);
    if (Bytes == OV_HOLE) continue;  // a gap in the data: go on after it
    if (Bytes <= 0) {
      FEnded = true;  // the end, or damage that cannot be read past
      break;
    }
    const int Got = static_cast<int>(Bytes / (2 * FChannels));
    if (FChannels == 1)
      for (int I = Got - 1; I >= 0; --I) Out[(Done + I) * 2] = Out[(Done + I) * 2 + 1] = S.Mono[static_cast<std::size_t>(I)];
    Done += Got;
  }
  return Done;
}

void TOggVorbisSource::Rewind() {
  FEnded = ov_pcm_seek(&FState->File, 0) != 0;
}
