// Sound files built inside the tests: RIFF WAVE files with any layout, Ogg
// Vorbis pieces encoded on the spot, and a minimal tracker module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

struct TWaveShape {
  std::uint16_t FormatTag = 1;
  std::uint16_t Channels = 1;
  std::uint32_t SamplesPerSec = 22050;
  std::uint16_t BitsPerSample = 16;
  // Size written for the "fmt " chunk: 16 for plain PCM, 18 + extra for
  // the others.
  std::uint32_t FormatSize = 16;
  TBytes Extra;  // written after the extra-size field when FormatSize >= 18
  // Chunks written between "fmt " and "data": tag and body.
  std::vector<std::pair<std::string, TBytes>> Before;
  bool WithData = true;
  // Size written into the data chunk's header; -1 for the true size.
  std::int64_t DeclaredDataSize = -1;
  std::string Form = "WAVE";
};

std::uint16_t BlockAlignOf(const TWaveShape& Shape);
TBytes BuildWave(const TWaveShape& Shape, const TBytes& Samples);

// 16-bit little-endian sample bytes.
TBytes Pcm16(const std::vector<std::int16_t>& Samples);
// A sine of the given amplitude (of 32767), interleaved over Channels.
std::vector<std::int16_t> Sine(double Frequency, double Amplitude, int Frames, int Rate, int Channels);
// Deterministic noise, distinctive enough to be found again in a mix.
std::vector<std::int16_t> Noise(int Count, int Amplitude, std::uint32_t Seed);

// Ogg Vorbis, quality 0.4, from interleaved float samples in [-1, 1].
TBytes EncodeOggVorbis(const std::vector<float>& Interleaved, int Channels, int Rate);

// A four-channel "M.K." module of one 64-row pattern with one note of a
// sine sample; LoopForEver jumps back to the start at its last row.
TBytes BuildModule(bool LoopForEver);
