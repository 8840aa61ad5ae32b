// The tools' one encoder of each kind, read back through the game's own
// decoders: what the generator writes is what the game reads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "JpegEncode.h"
#include "OggEncode.h"
#include "PictureDecode.h"
#include "PngEncode.h"
#include "gfx/ImageErrors.h"
#include "platform/HeadlessAudio.h"

namespace {

std::vector<std::uint8_t> Scramble(std::size_t Count, std::uint32_t Seed) {
  std::vector<std::uint8_t> Out(Count);
  for (std::uint8_t& B : Out) {
    Seed = Seed * 1664525u + 1013904223u;
    B = static_cast<std::uint8_t>(Seed >> 24);
  }
  return Out;
}

TEST(ToolCodecs, PngRgbaComesBackExactlyAndRgbComesBackOpaque) {
  // Odd sizes and every byte value: no row padding or channel order slips.
  const std::int32_t W = 37, H = 23;
  const auto Rgba = Scramble(static_cast<std::size_t>(W) * H * 4, 7);
  const TBytes Png = EncodePngRgba(Rgba.data(), W, H);
  ASSERT_EQ(PictureKind(Png.data(), Png.size()), TPictureKind::Png);
  const TRgbaPicture Back = DecodePicture(Png.data(), Png.size());
  ASSERT_EQ(Back.Width, W);
  ASSERT_EQ(Back.Height, H);
  EXPECT_EQ(Back.Rgba, Rgba);

  // RGB rows with padding between them (Stride larger than the row).
  const std::size_t Stride = static_cast<std::size_t>(W) * 3 + 5;
  const auto Rgb = Scramble(Stride * H, 9);
  TPngFormat Format;
  Format.Width = W;
  Format.Height = H;
  Format.Colour = TPngColour::Rgb;
  Format.Compression = 1;
  const TBytes RgbPng = EncodePng(Format, Rgb.data(), Stride);
  const TRgbaPicture RgbBack = DecodePicture(RgbPng.data(), RgbPng.size());
  for (std::int32_t Y = 0; Y < H; ++Y)
    for (std::int32_t X = 0; X < W; ++X) {
      const std::uint8_t* In = &Rgb[Stride * Y + 3 * X];
      const std::uint8_t* Out = RgbBack.At(X, Y);
      ASSERT_EQ((std::vector<int>{Out[0], Out[1], Out[2], Out[3]}), (std::vector<int>{In[0], In[1], In[2], 255}))
          << X << "," << Y;
    }
}

TEST(ToolCodecs, JpegKeepsOrientationAndChannelOrder) {
  // Four flat quadrants: red, green (top), blue, white (bottom). A row
  // order or red/blue mix-up moves or swaps them.
  const std::int32_t W = 64, H = 48;
  std::vector<std::uint8_t> Rgb;
  for (std::int32_t Y = 0; Y < H; ++Y)
    for (std::int32_t X = 0; X < W; ++X) {
      const bool Right = X >= W / 2, Bottom = Y >= H / 2;
      const std::uint8_t C[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
      const auto& P = C[(Bottom ? 2 : 0) + (Right ? 1 : 0)];
      Rgb.insert(Rgb.end(), P, P + 3);
    }
  const TBytes Jpeg = EncodeJpegRgb(Rgb.data(), W, H, 95);
  ASSERT_EQ(PictureKind(Jpeg.data(), Jpeg.size()), TPictureKind::Jpeg);
  const TRgbaPicture Back = DecodePicture(Jpeg.data(), Jpeg.size());
  ASSERT_EQ(Back.Width, W);
  ASSERT_EQ(Back.Height, H);
  auto Near = [&](std::int32_t X, std::int32_t Y, int R, int G, int B) {
    const std::uint8_t* P = Back.At(X, Y);
    EXPECT_NEAR(P[0], R, 12) << X << "," << Y;
    EXPECT_NEAR(P[1], G, 12) << X << "," << Y;
    EXPECT_NEAR(P[2], B, 12) << X << "," << Y;
    EXPECT_EQ(P[3], 255);
  };
  Near(8, 8, 255, 0, 0);
  Near(W - 8, 8, 0, 255, 0);
  Near(8, H - 8, 0, 0, 255);
  Near(W - 8, H - 8, 255, 255, 255);
}

TEST(ToolCodecs, RefusalsAreErrorsNotCrashes) {
  const std::uint8_t One[4] = {1, 2, 3, 4};
  EXPECT_THROW(EncodePngRgba(One, 0, 1), EPngEncodeError);
  TPngFormat Odd;
  Odd.Width = 1;
  Odd.Height = 1;
  Odd.BitDepth = 3;  // libpng refuses this inside its own code
  EXPECT_THROW(EncodePng(Odd, One, 4), EPngEncodeError);
  EXPECT_THROW(EncodeJpegRgb(One, 1, 0), EJpegEncodeError);

  const std::uint8_t Text[] = "not a picture";
  EXPECT_EQ(PictureKind(Text, sizeof Text), TPictureKind::Unknown);
  EXPECT_THROW(DecodePicture(Text, sizeof Text), EImageDecodeError);
  // A PNG cut short goes to the game's decoder, which refuses it.
  const TBytes Png = EncodePngRgba(Scramble(16 * 16 * 4, 3).data(), 16, 16);
  EXPECT_THROW(DecodePicture(Png.data(), Png.size() / 2), EImageDecodeError);
}

TEST(ToolCodecs, OggVorbisIsWhatTheGameReadsAndTheSameEveryTime) {
  const int Rate = 22050;
  std::vector<float> Left(Rate + 123), Right(Left.size());
  for (std::size_t I = 0; I < Left.size(); ++I) {
    Left[I] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 440 * static_cast<double>(I) / Rate));
    Right[I] = 0.25f * Left[I];
  }
  const std::span<const float> Stereo[2] = {Left, Right};
  const TBytes Ogg = EncodeOggVorbis(Stereo, Rate, 0.3f);
  const auto Info = ReadOggVorbisInfo(Ogg);
  ASSERT_TRUE(Info.has_value());
  EXPECT_EQ(Info->SampleRate, Rate);
  EXPECT_EQ(Info->Channels, 2);
  EXPECT_EQ(Info->Frames, static_cast<std::int64_t>(Left.size()));
  EXPECT_EQ(EncodeOggVorbis(Stereo, Rate, 0.3f), Ogg);

  const std::span<const float> Mono[1] = {Left};
  const TBytes MonoOgg = EncodeOggVorbis(Mono, Rate, 0.3f);
  ASSERT_TRUE(ReadOggVorbisInfo(MonoOgg).has_value());
  EXPECT_EQ(ReadOggVorbisInfo(MonoOgg)->Channels, 1);

  const std::vector<float> Short(10, 0.0f);
  const std::span<const float> Uneven[2] = {Left, Short};
  EXPECT_THROW(EncodeOggVorbis(Uneven, Rate, 0.3f), EOggEncodeError);
  EXPECT_THROW(EncodeOggVorbis(std::span<const std::span<const float>>(), Rate, 0.3f), EOggEncodeError);
}

}  // namespace
