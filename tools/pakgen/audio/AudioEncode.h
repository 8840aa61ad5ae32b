// File formats for the game's sounds: RIFF WAVE PCM for the effects, Ogg
// Vorbis for the music. Both are deterministic: the same samples always give
// the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "Dsp.h"

namespace PakAudio {

using TAudioBytes = std::vector<std::uint8_t>;

// 16-bit samples as written: round to nearest, clamp to the 16-bit range.
std::vector<std::int16_t> ToPcm16(const TMono& Samples);

// RIFF/WAVE, a 16-byte "fmt " chunk (format 1, PCM), 16-bit mono, then the
// "data" chunk.
TAudioBytes EncodeWav(const TMono& Samples, int Rate = SampleRate);

// Ogg Vorbis, stereo, variable bit rate at the given quality (-0.1 .. 1.0).
// The stream's serial number is fixed so that output never varies.
TAudioBytes EncodeOgg(const TStereo& Samples, float Quality, int Rate = SampleRate, int Serial = 0x56797231);

}  // namespace PakAudio
