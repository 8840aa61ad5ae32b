#include "AudioEncode.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "OggEncode.h"

namespace PakAudio {

namespace {
// Little-endian writer into a buffer sized up front.
class TLeWriter {
public:
  explicit TLeWriter(TAudioBytes& Out) : FOut(Out) {}
  void U16(std::uint32_t V) {
    FOut[FPos++] = static_cast<std::uint8_t>(V & 0xFF);
    FOut[FPos++] = static_cast<std::uint8_t>((V >> 8) & 0xFF);
  }
  void U32(std::uint32_t V) {
    U16(V & 0xFFFF);
    U16(V >> 16);
  }
  void Tag(const char (&Name)[5]) {
    for (int i = 0; i < 4; ++i) FOut[FPos++] = static_cast<std::uint8_t>(Name[i]);
  }

private:
  TAudioBytes& FOut;
  std::size_t FPos = 0;
};
}  // namespace

std::vector<std::int16_t> ToPcm16(const TMono& Samples) {
  std::vector<std::int16_t> Out(Samples.size());
  for (std::size_t i = 0; i < Samples.size(); ++i) {
    const long V = std::lrint(static_cast<double>(Samples[i]) * 32767.0);
    Out[i] = static_cast<std::int16_t>(std::clamp<long>(V, -32768, 32767));
  }
  return Out;
}

TAudioBytes EncodeWav(const TMono& Samples, int Rate) {
  const std::vector<std::int16_t> Pcm = ToPcm16(Samples);
  const std::uint32_t DataBytes = static_cast<std::uint32_t>(Pcm.size() * 2);
  TAudioBytes Out(44 + static_cast<std::size_t>(DataBytes));
  TLeWriter W(Out);
  W.Tag("RIFF");
  W.U32(36 + DataBytes);
  W.Tag("WAVE");
  W.Tag("fmt ");
  W.U32(16);
  W.U16(1);                                  // PCM
  W.U16(1);                                  // mono
  W.U32(static_cast<std::uint32_t>(Rate));
  W.U32(static_cast<std::uint32_t>(Rate) * 2);  // bytes per second
  W.U16(2);                                  // block align
  W.U16(16);                                 // bits per sample
  W.Tag("data");
  W.U32(DataBytes);
  for (std::int16_t S : Pcm) W.U16(static_cast<std::uint16_t>(S));
  return Out;
}

TAudioBytes EncodeOgg(const TStereo& Samples, float Quality, int Rate, int Serial) {
  const std::span<const float> Channels[2] = {Samples.L, Samples.R};
  return EncodeOggVorbis(Channels, Rate, Quality, Serial);
}

}  // namespace PakAudio
