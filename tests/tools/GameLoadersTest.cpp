// The built game.pak read the way the game reads it: through the archive
// reader, the frame buffer's JPEG loader, the alpha-image PNG loader, the
// image-set loader and the sound players' format readers. A picture the
// generator writes in a form these loaders misread shows up here, not in play.
#include <gtest/gtest.h>

#include <string>

#include "Manifest.h"
#include "audio/WavePlayer.h"
#include "gfx/AlphaImage.h"
#include "gfx/AlphaImageList.h"
#include "gfx/FastImaging.h"
#include "pak/PakReader.h"
#include "platform/HeadlessAudio.h"
#include "program/ReplayFormat.h"

namespace {

const TPakFileReadable& Pak() {
  static const TPakFileReadable Reader(VYRN_GAME_PAK);
  return Reader;
}

std::span<const std::uint8_t> Bytes(const TMemoryStream& S) { return {S.Data(), S.Size()}; }

TEST(GameLoadersTest, EveryEntryLoadsThroughTheGamesOwnReaders) {
  std::string Problem;
  ASSERT_TRUE(Pak().CheckArchive(Problem)) << Problem;
  for (const TManifestEntry& M : PakManifest()) {
    SCOPED_TRACE(M.Name);
    auto Stream = Pak().GetStream(M.Name);
    ASSERT_NE(Stream, nullptr);
    ASSERT_GT(Stream->Size(), 0u);
    switch (M.Kind) {
      case TAssetKind::Jpeg: {
        TFastImageBuffer Buffer(nullptr, 1, 1);
        ASSERT_NO_THROW(Buffer.LoadJpegFromStream(*Stream));
        if (M.Width != 0) {
          EXPECT_EQ(Buffer.Width(), M.Width);
          EXPECT_EQ(Buffer.Height(), M.Height);
        }
        break;
      }
      case TAssetKind::Png: {
        std::unique_ptr<TAlphaImage> Image;
        ASSERT_NO_THROW(Image = TAlphaImage::CreateFromStream(*Stream));
        ASSERT_NE(Image, nullptr);
        if (M.Width != 0) {
          EXPECT_EQ(Image->Width(), M.Width);
          EXPECT_EQ(Image->Height(), M.Height);
        }
        break;
      }
      case TAssetKind::Wav: {
        const auto Layout = ReadSoundLayout(Bytes(*Stream));
        ASSERT_TRUE(Layout.has_value());
        EXPECT_EQ(Layout->Format.FormatTag, TWaveFormat::Pcm);
        EXPECT_GT(Layout->DataEnd, Layout->DataStart);
        EXPECT_LE(Layout->DataEnd, static_cast<std::int64_t>(Stream->Size()));
        break;
      }
      case TAssetKind::Ogg: {
        const auto Info = ReadOggVorbisInfo(Bytes(*Stream));
        ASSERT_TRUE(Info.has_value());
        EXPECT_EQ(Info->SampleRate, 44100);
        EXPECT_EQ(Info->Channels, 2);
        EXPECT_GT(Info->Frames, 44100);  // every piece lasts well over a second
        break;
      }
      case TAssetKind::Replay: {
        TReplay Replay;
        ASSERT_NO_THROW(Replay = ParseReplay(Stream->Data(), Stream->Size()));
        EXPECT_FALSE(Replay.Records.empty());
        break;
      }
    }
  }
}

TEST(GameLoadersTest, ImageSetsLoadWithTheirManifestCountAndOneSizePerSet) {
  for (const TImageSet& S : ManifestImageSets()) {
    SCOPED_TRACE(S.Name);
    TAlphaImageList List;
    EXPECT_EQ(LoadImageSet(Pak(), S.Name, S.First, List), S.Count);
    ASSERT_EQ(List.Count(), S.Count);
    for (std::int32_t i = 1; i < List.Count(); ++i) {
      EXPECT_EQ(List[i].Width(), List[0].Width());
      EXPECT_EQ(List[i].Height(), List[0].Height());
    }
  }
}

}  // namespace
