// PNG decoding: every colour type and depth comes out as 8-bit RGBA, and
// damaged data gives EImageDecodeError, never a crash or an abort.
#include "gfx/PNGObjectImprov.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/AlphaImage.h"
#include "gfx/ImageErrors.h"
#include "gfx/PngTestUtil.h"
#include "pak/MemoryStream.h"

using namespace pngtest;

namespace {

std::unique_ptr<TAlphaImage> Decode(const TBytes& Png) {
  TMemoryStream Stream(Png);
  return TAlphaImage::CreateFromStream(Stream);
}

// A deterministic sample pattern for W x H pixels of Ch channels at Depth.
std::vector<std::uint16_t> Pattern(std::int32_t W, std::int32_t H, int Ch, int Depth, std::uint32_t Seed) {
  std::vector<std::uint16_t> S;
  const std::uint32_t Max = (1u << Depth) - 1;
  std::uint32_t V = Seed;
  for (std::int32_t I = 0; I < W * H * Ch; ++I) {
    V = V * 1103515245u + 12345u;
    S.push_back(static_cast<std::uint16_t>((V >> 8) % (Max + 1)));
  }
  return S;
}

// Grey of depth 1, 2, 4 spread to 8 bits: v * 255 / (2^depth - 1).
std::uint8_t Spread(std::uint16_t V, int Depth) {
  if (Depth == 16) return static_cast<std::uint8_t>(V >> 8);  // the high byte is kept
  return static_cast<std::uint8_t>(V * 255 / ((1u << Depth) - 1));
}

void ExpectPixels(const TAlphaImage& Image, std::int32_t W, std::int32_t H,
                  const std::function<TRGBAPixel(std::int32_t, std::int32_t)>& Expected) {
  ASSERT_EQ(Image.Width(), W);
  ASSERT_EQ(Image.Height(), H);
  int Bad = 0;
  for (std::int32_t Y = 0; Y < H; ++Y)
    for (std::int32_t X = 0; X < W; ++X)
      if (Image.GetPixel(X, Y) != Expected(X, Y) && Bad++ < 5)
        ADD_FAILURE() << "pixel (" << X << "," << Y << ") is " << std::hex << Image.GetPixel(X, Y) << " not "
                      << Expected(X, Y);
}

class GreyDepths : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(GreyDepths, GreyIsSpreadToAllChannelsAndOpaque) {
  const auto [Depth, Interlaced] = GetParam();
  TPngShape Shape;
  Shape.Width = 13;  // odd width: packed rows end in a partial byte
  Shape.Height = 9;
  Shape.ColorType = PNG_COLOR_TYPE_GRAY;
  Shape.BitDepth = Depth;
  Shape.Interlaced = Interlaced;
  Shape.Samples = Pattern(13, 9, 1, Depth, 7);
  auto Image = Decode(EncodePng(Shape));
  ExpectPixels(*Image, 13, 9, [&](std::int32_t X, std::int32_t Y) {
    const std::uint8_t G = Spread(Shape.Samples[static_cast<std::size_t>(Y * 13 + X)], Depth);
    return MakeRGBA(G, G, G, 255);
  });
}
INSTANTIATE_TEST_SUITE_P(AllDepths, GreyDepths,
                         ::testing::Combine(::testing::Values(1, 2, 4, 8, 16), ::testing::Bool()));

TEST(PngDecode, GreyWithTransparentValueGetsAlphaZeroThere) {
  TPngShape Shape;
  Shape.Width = 4;
  Shape.Height = 1;
  Shape.ColorType = PNG_COLOR_TYPE_GRAY;
  Shape.BitDepth = 4;
  Shape.Samples = {0, 5, 15, 5};
  Shape.HasTransColor = true;
  Shape.TransColor.gray = 5;
  auto Image = Decode(EncodePng(Shape));
  EXPECT_EQ(Image->GetPixel(0, 0), MakeRGBA(0, 0, 0, 255));
  EXPECT_EQ(Image->GetAlpha(1, 0), 0);
  EXPECT_EQ(Image->GetPixel(2, 0), MakeRGBA(255, 255, 255, 255));
  EXPECT_EQ(Image->GetAlpha(3, 0), 0);
}

TEST(PngDecode, GreyAlphaEightAndSixteenBit) {
  for (int Depth : {8, 16}) {
    TPngShape Shape;
    Shape.Width = 5;
    Shape.Height = 3;
    Shape.ColorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    Shape.BitDepth = Depth;
    Shape.Samples = Pattern(5, 3, 2, Depth, 11);
    auto Image = Decode(EncodePng(Shape));
    ExpectPixels(*Image, 5, 3, [&](std::int32_t X, std::int32_t Y) {
      const std::size_t I = static_cast<std::size_t>(Y * 5 + X) * 2;
      const std::uint8_t G = Spread(Shape.Samples[I], Depth);
      return MakeRGBA(G, G, G, Spread(Shape.Samples[I + 1], Depth));
    });
  }
}

TEST(PngDecode, RgbAndRgbaEightAndSixteenBitInterlacedOrNot) {
  for (int Type : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGBA})
    for (int Depth : {8, 16})
      for (bool Interlaced : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "type " << Type << " depth " << Depth << " interlaced " << Interlaced);
        const int Ch = Channels(Type);
        TPngShape Shape;
        Shape.Width = 11;
        Shape.Height = 10;
        Shape.ColorType = Type;
        Shape.BitDepth = Depth;
        Shape.Interlaced = Interlaced;
        Shape.Samples = Pattern(11, 10, Ch, Depth, 3 + Type + Depth);
        auto Image = Decode(EncodePng(Shape));
        ExpectPixels(*Image, 11, 10, [&](std::int32_t X, std::int32_t Y) {
          const std::size_t I = static_cast<std::size_t>(Y * 11 + X) * Ch;
          return MakeRGBA(Spread(Shape.Samples[I], Depth), Spread(Shape.Samples[I + 1], Depth),
                          Spread(Shape.Samples[I + 2], Depth), Ch == 4 ? Spread(Shape.Samples[I + 3], Depth) : 255);
        });
      }
}

TEST(PngDecode, RgbWithTransparentColour) {
  for (int Depth : {8, 16}) {
    TPngShape Shape;
    Shape.Width = 3;
    Shape.Height = 1;
    Shape.ColorType = PNG_COLOR_TYPE_RGB;
    Shape.BitDepth = Depth;
    const std::uint16_t K = Depth == 16 ? 257 : 1;
    Shape.Samples = {std::uint16_t(10 * K), std::uint16_t(20 * K), std::uint16_t(30 * K),
                    std::uint16_t(10 * K), std::uint16_t(20 * K), std::uint16_t(31 * K),
                    std::uint16_t(10 * K), std::uint16_t(20 * K), std::uint16_t(30 * K)};
    Shape.HasTransColor = true;
    Shape.TransColor.red = static_cast<png_uint_16>(10 * K);
    Shape.TransColor.green = static_cast<png_uint_16>(20 * K);
    Shape.TransColor.blue = static_cast<png_uint_16>(30 * K);
    auto Image = Decode(EncodePng(Shape));
    EXPECT_EQ(Image->GetAlpha(0, 0), 0) << Depth;
    EXPECT_EQ(Image->GetPixel(1, 0), MakeRGBA(10, 20, 31, 255)) << Depth;
    EXPECT_EQ(Image->GetAlpha(2, 0), 0) << Depth;
    EXPECT_EQ(Image->GetRed(2, 0), 10) << Depth;
  }
}

TEST(PngDecode, PaletteAtEveryDepthWithAndWithoutTransparency) {
  for (int Depth : {1, 2, 4, 8})
    for (bool WithAlpha : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "depth " << Depth << " alpha " << WithAlpha);
      const int Entries = 1 << Depth;
      TPngShape Shape;
      Shape.Width = 7;
      Shape.Height = 5;
      Shape.ColorType = PNG_COLOR_TYPE_PALETTE;
      Shape.BitDepth = Depth;
      for (int I = 0; I < Entries; ++I)
        Shape.Palette.push_back(png_color{static_cast<png_byte>(I * 7), static_cast<png_byte>(255 - I),
                                         static_cast<png_byte>(I * 3 + 1)});
      // A tRNS shorter than the palette: the entries after it are opaque.
      if (WithAlpha)
        for (int I = 0; I < (Entries + 1) / 2; ++I) Shape.PaletteAlpha.push_back(static_cast<png_byte>(I * 37 % 256));
      Shape.Samples = Pattern(7, 5, 1, Depth, 5);
      auto Image = Decode(EncodePng(Shape));
      ExpectPixels(*Image, 7, 5, [&](std::int32_t X, std::int32_t Y) {
        const std::size_t Index = Shape.Samples[static_cast<std::size_t>(Y * 7 + X)];
        const png_color C = Shape.Palette[Index];
        const std::uint8_t A = Index < Shape.PaletteAlpha.size() ? Shape.PaletteAlpha[Index] : 255;
        return MakeRGBA(C.red, C.green, C.blue, A);
      });
    }
}

TEST(PngDecode, ColumnsAndRowsAreNotSwapped) {
  // 3 x 2, every pixel distinct: Pixels[X][Y] must be picture column X, row Y.
  std::vector<TRGBAPixel> P;
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) P.push_back(MakeRGBA(X, Y, 100 + X * 10 + Y, 200 + X + Y));
  auto Image = Decode(EncodeRgba(3, 2, P));
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) {
      EXPECT_EQ(Image->GetRed(X, Y), X);
      EXPECT_EQ(Image->GetGreen(X, Y), Y);
      EXPECT_EQ(Image->GetBlue(X, Y), 100 + X * 10 + Y);
      EXPECT_EQ(Image->GetAlpha(X, Y), 200 + X + Y);
    }
}

TEST(PngDecode, ReadsFromTheStreamPositionAndLeavesItAtTheEnd) {
  TBytes Data = {'x', 'y', 'z'};
  const TBytes Png = EncodeRgba(1, 1, {MakeRGBA(1, 2, 3, 4)});
  Data.insert(Data.end(), Png.begin(), Png.end());
  TMemoryStream Stream(Data);
  Stream.SetPosition(3);
  auto Image = TAlphaImage::CreateFromStream(Stream);
  EXPECT_EQ(Image->GetPixel(0, 0), MakeRGBA(1, 2, 3, 4));
  EXPECT_EQ(Stream.Position(), Stream.Size());
}

// ------------------------------------------------------------ damaged data

TBytes SamplePng() {
  std::vector<TRGBAPixel> P;
  for (int I = 0; I < 24 * 16; ++I) P.push_back(MakeRGBA(I, I * 3, I * 7, I * 11));
  return EncodeRgba(24, 16, P);
}

// Recomputes the CRC of the chunk starting at Offset (length field first).
void FixCrc(TBytes& Png, std::size_t Offset) {
  const std::uint32_t Length = (std::uint32_t(Png[Offset]) << 24) | (std::uint32_t(Png[Offset + 1]) << 16) |
                               (std::uint32_t(Png[Offset + 2]) << 8) | Png[Offset + 3];
  if (Length > Png.size() || Offset + 12 + Length > Png.size()) return;  // length field itself damaged
  std::uint32_t Crc = 0xFFFFFFFFu;
  for (std::size_t I = Offset + 4; I < Offset + 8 + Length; ++I) {
    Crc ^= Png[I];
    for (int K = 0; K < 8; ++K) Crc = (Crc >> 1) ^ (0xEDB88320u & (0u - (Crc & 1)));
  }
  Crc ^= 0xFFFFFFFFu;
  for (int K = 0; K < 4; ++K) Png[Offset + 8 + Length + K] = static_cast<std::uint8_t>(Crc >> (24 - 8 * K));
}

void SetU32(TBytes& Png, std::size_t At, std::uint32_t V) {
  for (int K = 0; K < 4; ++K) Png[At + K] = static_cast<std::uint8_t>(V >> (24 - 8 * K));
}

TEST(PngDecodeDamaged, EveryTruncationThrowsOurError) {
  const TBytes Png = SamplePng();
  for (std::size_t Length = 0; Length < Png.size() - 12; ++Length) {  // the last 12 bytes are IEND
    TBytes Cut(Png.begin(), Png.begin() + static_cast<std::ptrdiff_t>(Length));
    EXPECT_THROW(Decode(Cut), EImageDecodeError) << "cut at " << Length;
  }
}

TEST(PngDecodeDamaged, NotAPngAndEmptyStream) {
  EXPECT_THROW(Decode(TBytes{}), EImageDecodeError);
  EXPECT_THROW(Decode(TBytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}), EImageDecodeError);
  TMemoryStream AtEnd(SamplePng());
  AtEnd.Seek(0, TSeekOrigin::End);
  EXPECT_THROW(TAlphaImage::CreateFromStream(AtEnd), EImageDecodeError);
}

TEST(PngDecodeDamaged, BadChecksumsAndBrokenCompressedData) {
  const TBytes Png = SamplePng();
  // IHDR data byte changed without fixing its CRC.
  TBytes BadHeaderCrc = Png;
  BadHeaderCrc[16 + 3] ^= 0x01;
  EXPECT_THROW(Decode(BadHeaderCrc), EImageDecodeError);
  // The compressed image data scrambled, with a correct CRC: zlib complains.
  TBytes BadZlib = Png;
  const std::size_t Idat = 8 + 25;  // signature, IHDR chunk
  ASSERT_EQ(std::string(BadZlib.begin() + Idat + 4, BadZlib.begin() + Idat + 8), "IDAT");
  for (std::size_t I = Idat + 8; I < Idat + 14; ++I) BadZlib[I] = 0xFF;
  FixCrc(BadZlib, Idat);
  EXPECT_THROW(Decode(BadZlib), EImageDecodeError);
}

TEST(PngDecodeDamaged, AbsurdOrZeroSizesAreRefused) {
  for (std::uint32_t W : {0u, 100000u, 0x7FFFFFFFu}) {
    TBytes Png = SamplePng();
    SetU32(Png, 16, W);
    FixCrc(Png, 8);
    EXPECT_THROW(Decode(Png), EImageDecodeError) << W;
  }
  // Within the side limit but far beyond the pixel limit.
  TBytes Png = SamplePng();
  SetU32(Png, 16, 4096);
  SetU32(Png, 20, 4096);
  FixCrc(Png, 8);
  EXPECT_THROW(Decode(Png), EImageDecodeError);
  // An invalid bit depth for the colour type.
  TBytes BadDepth = SamplePng();
  BadDepth[24] = 3;
  FixCrc(BadDepth, 8);
  EXPECT_THROW(Decode(BadDepth), EImageDecodeError);
}

TEST(PngDecodeDamaged, TheSizeLimitsLieWhereTheySay) {
  // The longest sides pass in full.
  const TRGBAPixel Red = MakeRGBA(255, 0, 0, 255);
  for (const auto& [W, H] : {std::pair{4096, 1}, std::pair{1, 4096}}) {
    const auto Image = Decode(EncodeRgba(W, H, std::vector<TRGBAPixel>(static_cast<std::size_t>(W * H), Red)));
    EXPECT_EQ(Image->Width(), W);
    EXPECT_EQ(Image->GetPixel(W - 1, H - 1), Red);
  }
  // One more pixel on a side, or one more row beyond the pixel count, is
  // refused by its header alone; the sample has data for 1 x 1 only.
  const auto Message = [](std::uint32_t W, std::uint32_t H) {
    TBytes Png = SamplePng();
    SetU32(Png, 16, W);
    SetU32(Png, 20, H);
    FixCrc(Png, 8);
    try {
      Decode(Png);
    } catch (const EImageDecodeError& E) {
      return std::string(E.what());
    }
    return std::string("decoded");
  };
  EXPECT_NE(Message(4097, 1), "decoded");
  EXPECT_NE(Message(1, 4097), "decoded");
  EXPECT_NE(Message(4096, 2049).find("too large"), std::string::npos);
  // At the pixel limit the size is accepted and the missing data fails.
  const std::string AtLimit = Message(4096, 2048);
  EXPECT_NE(AtLimit, "decoded");
  EXPECT_EQ(AtLimit.find("too large"), std::string::npos) << AtLimit;
  EXPECT_EQ(AtLimit.find("limit"), std::string::npos) << AtLimit;
}

TEST(PngDecodeDamaged, RandomByteDamageNeverEscapesAsAnythingElse) {
  const TBytes Png = SamplePng();
  std::uint32_t V = 12345;
  int Thrown = 0;
  for (int Round = 0; Round < 1500; ++Round) {
    TBytes Damaged = Png;
    for (int K = 0; K < 1 + Round % 4; ++K) {
      V = V * 1103515245u + 12345u;
      const std::size_t At = (V >> 8) % Damaged.size();
      V = V * 1103515245u + 12345u;
      Damaged[At] = static_cast<std::uint8_t>(V >> 16);
    }
    if (Round % 3 == 0) FixCrc(Damaged, 8);  // let some header damage through the checksum
    try {
      auto Image = Decode(Damaged);
      EXPECT_GT(Image->Width(), 0);
    } catch (const EImageDecodeError&) {
      ++Thrown;
    }
  }
  EXPECT_GT(Thrown, 0);
}

TEST(PngDecodeDamaged, AFailedLoadLeavesThePictureAsItWas) {
  TAlphaImage Image(2, 2);
  Image.SetPixel(1, 1, MakeRGBA(9, 8, 7, 6));
  TBytes Cut = SamplePng();
  Cut.resize(Cut.size() / 2);
  TMemoryStream Stream(Cut);
  EXPECT_THROW(Image.LoadFromStream(Stream), EImageDecodeError);
  EXPECT_EQ(Image.Width(), 2);
  EXPECT_EQ(Image.GetPixel(1, 1), MakeRGBA(9, 8, 7, 6));
}

}  // namespace
