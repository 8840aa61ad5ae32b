#include "audio/TestSounds.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <span>
#include <stdexcept>

#include "OggEncode.h"

namespace {
void Le16(TBytes& B, std::uint32_t V) {
  B.push_back(V & 0xFF);
  B.push_back((V >> 8) & 0xFF);
}
void Le32(TBytes& B, std::uint32_t V) {
  Le16(B, V & 0xFFFF);
  Le16(B, V >> 16);
}
void Tag(TBytes& B, const std::string& T) {
  for (std::size_t I = 0; I < 4; ++I) B.push_back(static_cast<std::uint8_t>(I < T.size() ? T[I] : ' '));
}
}  // namespace

std::uint16_t BlockAlignOf(const TWaveShape& S) {
  return static_cast<std::uint16_t>(S.Channels * ((S.BitsPerSample + 7) / 8));
}

TBytes BuildWave(const TWaveShape& S, const TBytes& Samples) {
  TBytes Body;
  Tag(Body, S.Form);
  Tag(Body, "fmt ");
  Le32(Body, S.FormatSize);
  TBytes Fmt;
  Le16(Fmt, S.FormatTag);
  Le16(Fmt, S.Channels);
  Le32(Fmt, S.SamplesPerSec);
  Le32(Fmt, S.SamplesPerSec * BlockAlignOf(S));
  Le16(Fmt, BlockAlignOf(S));
  Le16(Fmt, S.BitsPerSample);
  if (S.FormatSize >= 18) {
    Le16(Fmt, static_cast<std::uint32_t>(S.Extra.size()));
    Fmt.insert(Fmt.end(), S.Extra.begin(), S.Extra.end());
  }
  Fmt.resize(S.FormatSize, 0);
  Body.insert(Body.end(), Fmt.begin(), Fmt.end());
  if (S.FormatSize & 1) Body.push_back(0);
  for (const auto& [Name, Chunk] : S.Before) {
    Tag(Body, Name);
    Le32(Body, static_cast<std::uint32_t>(Chunk.size()));
    Body.insert(Body.end(), Chunk.begin(), Chunk.end());
    if (Chunk.size() & 1) Body.push_back(0);
  }
  if (S.WithData) {
    Tag(Body, "data");
    Le32(Body, S.DeclaredDataSize >= 0 ? static_cast<std::uint32_t>(S.DeclaredDataSize)
                                       : static_cast<std::uint32_t>(Samples.size()));
    Body.insert(Body.end(), Samples.begin(), Samples.end());
  }
  TBytes File;
  Tag(File, "RIFF");
  Le32(File, static_cast<std::uint32_t>(Body.size()));
  File.insert(File.end(), Body.begin(), Body.end());
  return File;
}

TBytes Pcm16(const std::vector<std::int16_t>& Samples) {
  TBytes B;
  for (std::int16_t S : Samples) Le16(B, static_cast<std::uint16_t>(S));
  return B;
}

std::vector<std::int16_t> Sine(double Frequency, double Amplitude, int Frames, int Rate, int Channels) {
  std::vector<std::int16_t> Out;
  for (int I = 0; I < Frames; ++I) {
    const double V = Amplitude * std::sin(2 * std::numbers::pi * Frequency * I / Rate);
    for (int C = 0; C < Channels; ++C) Out.push_back(static_cast<std::int16_t>(std::lrint(V)));
  }
  return Out;
}

std::vector<std::int16_t> Noise(int Count, int Amplitude, std::uint32_t Seed) {
  std::vector<std::int16_t> Out;
  for (int I = 0; I < Count; ++I) {
    Seed = Seed * 1664525u + 1013904223u;
    Out.push_back(static_cast<std::int16_t>(static_cast<int>(Seed >> 16) % (2 * Amplitude + 1) - Amplitude));
  }
  return Out;
}

TBytes EncodeOggVorbis(const std::vector<float>& Interleaved, int Channels, int Rate) {
  std::vector<std::vector<float>> Planes(static_cast<std::size_t>(Channels));
  for (std::size_t I = 0; I < Interleaved.size(); ++I) Planes[I % Planes.size()].push_back(Interleaved[I]);
  std::vector<std::span<const float>> Spans(Planes.begin(), Planes.end());
  return ::EncodeOggVorbis(Spans, Rate, 0.4f, 1234);
}

TBytes BuildModule(bool LoopForEver) {
  TBytes M(20, 0);
  std::memcpy(M.data(), "test module", 11);
  const std::uint32_t SampleWords = 2000;
  for (int I = 0; I < 31; ++I) {
    TBytes Header(22, 0);
    if (I == 0) {
      std::memcpy(Header.data(), "sine", 4);
      Header.push_back(SampleWords >> 8);
      Header.push_back(SampleWords & 0xFF);
      Header.push_back(0);   // finetune
      Header.push_back(64);  // volume
      Header.push_back(0);   // repeat start
      Header.push_back(0);
      Header.push_back(SampleWords >> 8);  // repeat length: the whole sample
      Header.push_back(SampleWords & 0xFF);
    } else {
      Header.insert(Header.end(), {0, 0, 0, 0, 0, 0, 0, 1});
    }
    M.insert(M.end(), Header.begin(), Header.end());
  }
  M.push_back(1);    // song length
  M.push_back(127);  // restart
  M.resize(M.size() + 128, 0);
  M.insert(M.end(), {'M', '.', 'K', '.'});
  TBytes Pattern(1024, 0);
  const int Period = 428;
  Pattern[0] = static_cast<std::uint8_t>(Period >> 8);
  Pattern[1] = Period & 0xFF;
  Pattern[2] = 1 << 4;  // sample 1
  if (LoopForEver) {
    Pattern[63 * 16 + 2] = 0x0B;  // jump back to order 0
    Pattern[63 * 16 + 3] = 0;
  }
  M.insert(M.end(), Pattern.begin(), Pattern.end());
  for (std::uint32_t I = 0; I < SampleWords * 2; ++I)
    M.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(std::lrint(100 * std::sin(2 * std::numbers::pi * I / 32)))));
  return M;
}
