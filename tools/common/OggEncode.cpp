#include "OggEncode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

namespace {

// The encoder's C state, cleared in reverse order of set-up however the
// encoding ends.
class TVorbisEncoder {
public:
  TVorbisEncoder(int Channels, int Rate, float Quality, int Serial) {
    vorbis_info_init(&FInfo);
    if (vorbis_encode_init_vbr(&FInfo, Channels, Rate, Quality) != 0) {
      vorbis_info_clear(&FInfo);
      throw EOggEncodeError("Vorbis encoder refused its settings");
    }
    vorbis_comment_init(&FComment);
    vorbis_comment_add_tag(&FComment, "TITLE", "Vyrn Rekindled");
    vorbis_analysis_init(&FDsp, &FInfo);
    vorbis_block_init(&FDsp, &FBlock);
    ogg_stream_init(&FStream, Serial);
  }
  ~TVorbisEncoder() {
    ogg_stream_clear(&FStream);
    vorbis_block_clear(&FBlock);
    vorbis_dsp_clear(&FDsp);
    vorbis_comment_clear(&FComment);
    vorbis_info_clear(&FInfo);
  }
  TVorbisEncoder(const TVorbisEncoder&) = delete;
  TVorbisEncoder& operator=(const TVorbisEncoder&) = delete;

  void Encode(std::span<const std::span<const float>> Channels, TBytes& Out) {
    ogg_page Page;
    auto Append = [&Out](const ogg_page& P) {
      Out.insert(Out.end(), P.header, P.header + P.header_len);
      Out.insert(Out.end(), P.body, P.body + P.body_len);
    };
    ogg_packet Header, HeaderComment, HeaderCode;
    vorbis_analysis_headerout(&FDsp, &FComment, &Header, &HeaderComment, &HeaderCode);
    ogg_stream_packetin(&FStream, &Header);
    ogg_stream_packetin(&FStream, &HeaderComment);
    ogg_stream_packetin(&FStream, &HeaderCode);
    // The audio must start on a fresh page.
    while (ogg_stream_flush(&FStream, &Page) != 0) Append(Page);

    constexpr std::size_t Chunk = 4096;
    const std::size_t Frames = Channels[0].size();
    std::size_t Pos = 0;
    bool Eos = false;
    while (!Eos) {
      const std::size_t Count = std::min(Chunk, Frames - Pos);
      if (Count == 0) {
        vorbis_analysis_wrote(&FDsp, 0);
      } else {
        float** Buffer = vorbis_analysis_buffer(&FDsp, static_cast<int>(Count));
        for (std::size_t C = 0; C < Channels.size(); ++C)
          std::memcpy(Buffer[C], Channels[C].data() + Pos, Count * sizeof(float));
        vorbis_analysis_wrote(&FDsp, static_cast<int>(Count));
        Pos += Count;
      }
      while (vorbis_analysis_blockout(&FDsp, &FBlock) == 1) {
        vorbis_analysis(&FBlock, nullptr);
        vorbis_bitrate_addblock(&FBlock);
        ogg_packet Packet;
        while (vorbis_bitrate_flushpacket(&FDsp, &Packet)) {
          ogg_stream_packetin(&FStream, &Packet);
          while (!Eos && ogg_stream_pageout(&FStream, &Page) != 0) {
            Append(Page);
            if (ogg_page_eos(&Page)) Eos = true;
          }
        }
      }
    }
  }

private:
  vorbis_info FInfo;
  vorbis_comment FComment;
  vorbis_dsp_state FDsp;
  vorbis_block FBlock;
  ogg_stream_state FStream;
};

}  // namespace

TBytes EncodeOggVorbis(std::span<const std::span<const float>> Channels, int Rate, float Quality, int Serial) {
  if (Channels.empty() || Channels.size() > 2) throw EOggEncodeError("Vorbis encoding: one or two channels");
  for (const auto& C : Channels)
    if (C.size() != Channels[0].size()) throw EOggEncodeError("Vorbis encoding: channels differ in length");
  TVorbisEncoder Encoder(static_cast<int>(Channels.size()), Rate, Quality, Serial);
  TBytes Out;
  Encoder.Encode(Channels, Out);
  return Out;
}
