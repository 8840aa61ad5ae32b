#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "gfx/FastImaging.h"
#include "gfx/ImageErrors.h"
#include "pak/MemoryStream.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

// Encodes Pixels (Components bytes per pixel, rows top first) as a JPEG.
TBytes EncodeJpeg(int Width, int Height, int Components, J_COLOR_SPACE Space, const TBytes& Pixels,
                  bool Progressive = false) {
  jpeg_compress_struct Info;
  jpeg_error_mgr Err;
  Info.err = jpeg_std_error(&Err);
  jpeg_create_compress(&Info);
  unsigned char* Out = nullptr;
  unsigned long OutSize = 0;
  jpeg_mem_dest(&Info, &Out, &OutSize);
  Info.image_width = Width;
  Info.image_height = Height;
  Info.input_components = Components;
  Info.in_color_space = Space;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, 95, TRUE);
  if (Progressive) jpeg_simple_progression(&Info);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Row = const_cast<unsigned char*>(Pixels.data()) + Info.next_scanline * Width * Components;
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  TBytes Result(Out, Out + OutSize);
  std::free(Out);
  return Result;
}

// A smooth picture (JPEG keeps those well): red rises to the right, green
// downwards, blue is fixed.
TBytes Gradient(int Width, int Height) {
  TBytes P;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      P.push_back(static_cast<std::uint8_t>(X * 255 / (Width - 1)));
      P.push_back(static_cast<std::uint8_t>(Y * 255 / (Height - 1)));
      P.push_back(90);
    }
  return P;
}

int ChannelDistance(TColorValue A, TColorValue B) {
  return std::max({std::abs(GetRValue(A) - GetRValue(B)), std::abs(GetGValue(A) - GetGValue(B)),
                   std::abs(GetBValue(A) - GetBValue(B))});
}

TEST(JpegLoadTest, DecodesColourPicturesTopDownWithinTolerance) {
  for (bool Progressive : {false, true}) {
    SCOPED_TRACE(Progressive ? "progressive" : "baseline");
    const int W = 37, H = 23;  // odd width: rows carry padding
    const TBytes Source = Gradient(W, H);
    TMemoryStream Stream(EncodeJpeg(W, H, 3, JCS_RGB, Source, Progressive));
    TFastImageBuffer B(nullptr, 320, 240);
    B.LoadJpegFromStream(Stream);
    ASSERT_EQ(B.Width(), W);
    ASSERT_EQ(B.Height(), H);
    EXPECT_EQ(B.Bitmap().Stride(), 112);
    EXPECT_EQ(Stream.Position(), Stream.Size());
    int Worst = 0;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        const std::uint8_t* S = &Source[(Y * W + X) * 3];
        Worst = std::max(Worst, ChannelDistance(B.GetPixel(X, Y), RGB(S[0], S[1], S[2])));
      }
    EXPECT_LE(Worst, 12);
    // Orientation: top-left is dark red/green, bottom-right bright in both.
    EXPECT_LT(GetRValue(B.GetPixel(0, 0)), 20);
    EXPECT_LT(GetGValue(B.GetPixel(0, 0)), 20);
    EXPECT_GT(GetRValue(B.GetPixel(W - 1, H - 1)), 235);
    EXPECT_GT(GetGValue(B.GetPixel(W - 1, H - 1)), 235);
  }
}

TEST(JpegLoadTest, DecodesFromTheStreamPosition) {
  TBytes Data = {'j', 'u', 'n', 'k'};
  const TBytes Jpeg = EncodeJpeg(8, 8, 3, JCS_RGB, TBytes(8 * 8 * 3, 200));
  Data.insert(Data.end(), Jpeg.begin(), Jpeg.end());
  TMemoryStream Stream(Data);
  Stream.Seek(4);
  TFastImageBuffer B(nullptr, 1, 1);
  B.LoadJpegFromStream(Stream);
  EXPECT_EQ(B.Width(), 8);
  EXPECT_LE(ChannelDistance(B.GetPixel(3, 3), RGB(200, 200, 200)), 2);
}

TEST(JpegLoadTest, DecodesGrayscaleAndCmyk) {
  TBytes Gray;
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) Gray.push_back(static_cast<std::uint8_t>(X * 16 + 8));
  TMemoryStream GrayStream(EncodeJpeg(16, 16, 1, JCS_GRAYSCALE, Gray));
  TFastImageBuffer B(nullptr, 1, 1);
  B.LoadJpegFromStream(GrayStream);
  ASSERT_EQ(B.Width(), 16);
  for (int X = 0; X < 16; ++X) {
    const TColorValue C = B.GetPixel(X, 5);
    EXPECT_EQ(GetRValue(C), GetGValue(C));
    EXPECT_EQ(GetRValue(C), GetBValue(C));
    EXPECT_LE(std::abs(GetRValue(C) - (X * 16 + 8)), 6) << X;
  }

  // CMYK as Adobe writers store it (inverted: 255 = no ink): left half pure
  // red (no cyan, full magenta and yellow), right half 50% black.
  TBytes Cmyk;
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      if (X < 8) Cmyk.insert(Cmyk.end(), {255, 0, 0, 255});
      else Cmyk.insert(Cmyk.end(), {255, 255, 255, 128});
    }
  TMemoryStream CmykStream(EncodeJpeg(16, 16, 4, JCS_CMYK, Cmyk));
  B.LoadJpegFromStream(CmykStream);
  ASSERT_EQ(B.Width(), 16);
  EXPECT_LE(ChannelDistance(B.GetPixel(2, 8), RGB(255, 0, 0)), 6);
  EXPECT_LE(ChannelDistance(B.GetPixel(13, 8), RGB(128, 128, 128)), 6);
}

TEST(JpegLoadTest, UndecodableDataThrowsAndLeavesTheBufferAlone) {
  const TBytes Good = EncodeJpeg(40, 30, 3, JCS_RGB, Gradient(40, 30));
  std::vector<TBytes> Bad = {
      {},
      {0xFF},
      {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'},
      TBytes(Good.begin(), Good.begin() + 2),
      TBytes(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Good.size() / 2)),  // truncated scan
      TBytes(Good.begin(), Good.end() - 2),  // no end marker
  };
  TBytes Garbled = Good;
  for (std::size_t i = Good.size() / 3; i < Good.size() - 2; i += 7) Garbled[i] = 0xFF;
  Bad.push_back(Garbled);

  TFastImageBuffer B(nullptr, 3, 2);
  B.SetPixel(1, 1, RGB(1, 2, 3));
  for (std::size_t i = 0; i < Bad.size(); ++i) {
    SCOPED_TRACE(i);
    TMemoryStream Stream(Bad[i]);
    EXPECT_THROW(B.LoadJpegFromStream(Stream), EImageDecodeError);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(B.Height(), 2);
    EXPECT_EQ(B.GetPixel(1, 1), RGB(1, 2, 3));
  }
}

// Decodes Jpeg with its frame header claiming Width x Height; the error
// text, or "decoded".
std::string LoadClaiming(TBytes Jpeg, unsigned Width, unsigned Height, TFastImageBuffer& B) {
  // Frame header: FF C0, length (2), precision (1), height (2), width (2).
  std::size_t Sof = 0;
  for (std::size_t i = 0; i + 1 < Jpeg.size(); ++i)
    if (Jpeg[i] == 0xFF && Jpeg[i + 1] == 0xC0) {
      Sof = i;
      break;
    }
  if (Sof == 0) return "no frame header";
  Jpeg[Sof + 5] = static_cast<std::uint8_t>(Height >> 8);
  Jpeg[Sof + 6] = static_cast<std::uint8_t>(Height);
  Jpeg[Sof + 7] = static_cast<std::uint8_t>(Width >> 8);
  Jpeg[Sof + 8] = static_cast<std::uint8_t>(Width);
  TMemoryStream Stream(Jpeg);
  try {
    B.LoadJpegFromStream(Stream);
  } catch (const EImageDecodeError& E) {
    return E.what();
  }
  return "decoded";
}

TEST(JpegLoadTest, RefusesAbsurdSizesBeforeAllocating) {
  const TBytes Jpeg = EncodeJpeg(8, 8, 3, JCS_RGB, TBytes(8 * 8 * 3, 50));
  TFastImageBuffer B(nullptr, 2, 2);
  for (const auto& [W, H] : {std::pair{65280u, 65280u}, std::pair{4097u, 8u}, std::pair{8u, 4097u},
                             std::pair{4096u, 2049u}}) {
    EXPECT_NE(LoadClaiming(Jpeg, W, H, B).find("too large"), std::string::npos) << W << " x " << H;
    EXPECT_EQ(B.Width(), 2);
  }
  // Within the limits the size is accepted and the missing scan data fails.
  const std::string Within = LoadClaiming(Jpeg, 4096, 16, B);
  EXPECT_NE(Within, "decoded");
  EXPECT_EQ(Within.find("too large"), std::string::npos) << Within;
}

TEST(JpegLoadTest, TheLongestSidesDecodeInFull) {
  for (const auto& [W, H] : {std::pair{4096, 8}, std::pair{8, 4096}}) {
    TMemoryStream Stream(EncodeJpeg(W, H, 3, JCS_RGB, TBytes(static_cast<std::size_t>(W * H * 3), 200)));
    TFastImageBuffer B(nullptr, 2, 2);
    B.LoadJpegFromStream(Stream);
    EXPECT_EQ(B.Width(), W);
    EXPECT_EQ(B.Height(), H);
    EXPECT_LE(ChannelDistance(B.GetPixel(W - 1, H - 1), RGB(200, 200, 200)), 2);
  }
}

}  // namespace
