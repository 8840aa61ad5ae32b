#include "audio/WavePlayer.h"
#include "common/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {


// The size of the RIFF header plus the format record up to its extra size.
constexpr std::size_t WaveHeaderBytes = 38;
constexpr std::size_t FormatRecordStart = 20;

// MPEG-1 Layer III bit rates in kbit/s; index 0 is free format, 15 invalid.
constexpr int Layer3BitRates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int Mpeg1SampleRates[3] = {44100, 48000, 32000};

}  // namespace

std::optional<TSoundLayout> ReadWaveLayout(std::span<const std::uint8_t> File) {
  if (File.size() < WaveHeaderBytes) return std::nullopt;
  const std::uint8_t* D = File.data();
  if (std::memcmp(D + 8, "WAVE", 4) != 0) return std::nullopt;

  TSoundLayout L;
  const std::uint32_t FormatSize = Le32(D + 16);
  const std::uint8_t* F = D + FormatRecordStart;
  L.Format.FormatTag = Le16(F);
  L.Format.Channels = Le16(F + 2);
  L.Format.SamplesPerSec = Le32(F + 4);
  L.Format.AvgBytesPerSec = Le32(F + 8);
  L.Format.BlockAlign = Le16(F + 12);
  L.Format.BitsPerSample = Le16(F + 14);

  if (L.Format.FormatTag != TWaveFormat::Pcm && FormatSize >= 18) {
    // The extra bytes belong to the format chunk; a size that claims more
    // than the chunk holds is cut to the chunk.
    const std::size_t ExtraSize = std::min<std::size_t>(Le16(F + 16), FormatSize - 18);
    if (WaveHeaderBytes + ExtraSize > File.size()) return std::nullopt;
    L.Format.Extra.assign(D + WaveHeaderBytes, D + WaveHeaderBytes + ExtraSize);
  }

  // Chunks follow the format chunk; odd-sized chunks carry a pad byte.
  std::uint64_t Pos = FormatRecordStart + static_cast<std::uint64_t>(FormatSize) + (FormatSize & 1);
  for (;;) {
    if (Pos + 8 > File.size()) return std::nullopt;
    const std::uint32_t Size = Le32(D + Pos + 4);
    if (std::memcmp(D + Pos, "data", 4) == 0) {
      L.DataStart = static_cast<std::int64_t>(Pos + 8);
      // A chunk that claims more than the file holds ends with the file.
      L.DataEnd = std::min<std::int64_t>(L.DataStart + static_cast<std::int64_t>(Size),
                                         static_cast<std::int64_t>(File.size()));
      return L;
    }
    Pos += 8 + static_cast<std::uint64_t>(Size) + (Size & 1);
  }
}

std::optional<TSoundLayout> ReadMpegLayout(std::span<const std::uint8_t> File) {
  const std::uint8_t* D = File.data();
  for (std::size_t P = 0; P + 1 < File.size(); ++P) {
    if (D[P] != 0xFF || (D[P + 1] & 0xF0) != 0xF0 || (D[P + 1] & 6) == 0) continue;
    // The first candidate is the header; a cut-off header or a reserved rate
    // cannot be described.
    if (P + 4 > File.size()) return std::nullopt;
    const std::uint8_t B2 = D[P + 2];
    const std::uint8_t B3 = D[P + 3];
    const int RateIndex = (B2 >> 2) & 3;
    if (RateIndex == 3) return std::nullopt;

    TSoundLayout L;
    TWaveFormat& W = L.Format;
    W.FormatTag = TWaveFormat::MpegLayer3;
    W.Channels = ((B3 >> 6) & 3) == 3 ? 1 : 2;
    W.SamplesPerSec = static_cast<std::uint32_t>(Mpeg1SampleRates[RateIndex]);
    W.AvgBytesPerSec = static_cast<std::uint32_t>(Layer3BitRates[B2 >> 4] * 1000 / 8);
    W.BlockAlign = 1;
    W.BitsPerSample = 0;
    const std::uint32_t SamplesPerFrame = W.SamplesPerSec < 32000 ? 576 : 1152;
    PutLe16(W.Extra, 1);                               // identifier: MPEG
    PutLe32(W.Extra, (B2 & 2) ? 1 : 2);                // padding on / off
    PutLe16(W.Extra, W.AvgBytesPerSec * SamplesPerFrame / W.SamplesPerSec);  // block size
    PutLe16(W.Extra, 1);                               // frames per block
    PutLe16(W.Extra, 1393);                            // codec delay
    L.DataStart = static_cast<std::int64_t>(P);
    L.DataEnd = static_cast<std::int64_t>(File.size());
    return L;
  }
  return std::nullopt;
}

std::optional<TSoundLayout> ReadSoundLayout(std::span<const std::uint8_t> File) {
  if (auto L = ReadWaveLayout(File)) return L;
  return ReadMpegLayout(File);
}

TWavePlayer::~TWavePlayer() { Stop(); }

std::uint8_t TWavePlayer::State() {
  if (FState != Stopped) CurrentAudio().Poll();
  return FState;
}

bool TWavePlayer::Play() {
  IAudio& Audio = CurrentAudio();
  // A sound that has played out but whose notice is still on its way counts
  // as stopped.
  if (FState == Playing) Audio.Poll();
  if (FState == Playing) return false;
  if (FState == Paused) {
    if (!Audio.ResumeSound(FSound)) return false;
    FState = Playing;
    return true;
  }

  if (!Stream || Stream->Size() == 0) return false;
  const std::span<const std::uint8_t> File(Stream->Data(), Stream->Size());
  const auto Layout = ReadSoundLayout(File);
  if (!Layout) return false;
  FDataStart = Layout->DataStart;
  FDataEnd = Layout->DataEnd;
  FBufferSize = static_cast<std::int32_t>(
      (static_cast<std::int64_t>(Layout->Format.BlockAlign) * Layout->Format.SamplesPerSec) >> 6);
  // Without samples, or with a format that gives no buffer, there is
  // nothing that could ever come back: the sound does not start.
  if (FBufferSize <= 0 || FDataEnd <= FDataStart) return false;

  const auto Data = File.subspan(static_cast<std::size_t>(FDataStart), static_cast<std::size_t>(FDataEnd - FDataStart));
  const TSoundId Id = Audio.PlaySound(Layout->Format, Data, Looping, this);
  if (Id == 0) return false;
  FSound = Id;
  FState = Playing;
  return true;
}

void TWavePlayer::Release() {
  FState = Stopped;
  FSound = 0;
}

bool TWavePlayer::Stop() {
  if (FState == Stopped) {
    FSound = 0;
    return false;
  }
  CurrentAudio().HaltSound(FSound);
  Release();
  return true;
}

bool TWavePlayer::Halt() {
  const bool Had = FSound != 0 && CurrentAudio().HaltSound(FSound);
  Release();
  return Had;
}

bool TWavePlayer::TogglePause() {
  IAudio& Audio = CurrentAudio();
  if (FState == Playing) Audio.Poll();
  if (FState == Playing) {
    if (!Audio.PauseSound(FSound)) return false;
    FState = Paused;
    return true;
  }
  if (FState == Paused) {
    if (!Audio.ResumeSound(FSound)) return false;
    FState = Playing;
    return true;
  }
  return false;
}

void TWavePlayer::OnSoundFinished(TSoundId Id) {
  // Only the playback this player started last may end it; anything older
  // was halted and is none of its business any more.
  if (Id != FSound || FSound == 0) return;
  Release();
}
