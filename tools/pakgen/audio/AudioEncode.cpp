#include "AudioEncode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

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
  vorbis_info Info;
  vorbis_info_init(&Info);
  if (vorbis_encode_init_vbr(&Info, 2, Rate, Quality) != 0) {
    vorbis_info_clear(&Info);
    throw std::runtime_error("Vorbis encoder refused its settings");
  }
  vorbis_comment Comment;
  vorbis_comment_init(&Comment);
  vorbis_comment_add_tag(&Comment, "TITLE", "Vyrn Rekindled");
  vorbis_dsp_state Dsp;
  vorbis_block Block;
  vorbis_analysis_init(&Dsp, &Info);
  vorbis_block_init(&Dsp, &Block);
  ogg_stream_state Stream;
  ogg_stream_init(&Stream, Serial);

  TAudioBytes Out;
  ogg_page Page;
  auto Append = [&Out](const ogg_page& P) {
    Out.insert(Out.end(), P.header, P.header + P.header_len);
    Out.insert(Out.end(), P.body, P.body + P.body_len);
  };

  {
    ogg_packet Header, HeaderComment, HeaderCode;
    vorbis_analysis_headerout(&Dsp, &Comment, &Header, &HeaderComment, &HeaderCode);
    ogg_stream_packetin(&Stream, &Header);
    ogg_stream_packetin(&Stream, &HeaderComment);
    ogg_stream_packetin(&Stream, &HeaderCode);
    // The audio must start on a fresh page.
    while (ogg_stream_flush(&Stream, &Page) != 0) Append(Page);
  }

  constexpr std::size_t Chunk = 4096;
  std::size_t Pos = 0;
  bool Eos = false;
  while (!Eos) {
    const std::size_t Count = std::min(Chunk, Samples.Size() - Pos);
    if (Count == 0) {
      vorbis_analysis_wrote(&Dsp, 0);
    } else {
      float** Buffer = vorbis_analysis_buffer(&Dsp, static_cast<int>(Count));
      std::memcpy(Buffer[0], Samples.L.data() + Pos, Count * sizeof(float));
      std::memcpy(Buffer[1], Samples.R.data() + Pos, Count * sizeof(float));
      vorbis_analysis_wrote(&Dsp, static_cast<int>(Count));
      Pos += Count;
    }
    while (vorbis_analysis_blockout(&Dsp, &Block) == 1) {
      vorbis_analysis(&Block, nullptr);
      vorbis_bitrate_addblock(&Block);
      ogg_packet Packet;
      while (vorbis_bitrate_flushpacket(&Dsp, &Packet)) {
        ogg_stream_packetin(&Stream, &Packet);
        while (!Eos && ogg_stream_pageout(&Stream, &Page) != 0) {
          Append(Page);
          if (ogg_page_eos(&Page)) Eos = true;
        }
      }
    }
  }

  ogg_stream_clear(&Stream);
  vorbis_block_clear(&Block);
  vorbis_dsp_clear(&Dsp);
  vorbis_comment_clear(&Comment);
  vorbis_info_clear(&Info);
  return Out;
}

}  // namespace PakAudio
