// Helpers for the picture tests: a libpng encoder for every colour type and
// depth, and scratch archives.
#pragma once

#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "pak/PakWriter.h"
#include "persist/CommonTypes.h"

namespace pngtest {

using TBytes = std::vector<std::uint8_t>;

struct TPngShape {
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  int ColorType = PNG_COLOR_TYPE_RGBA;
  int BitDepth = 8;
  bool Interlaced = false;
  // Samples in PNG order, one value per sample (0..2^BitDepth-1), rows
  // top-down; for palette pictures the indices.
  std::vector<std::uint16_t> Samples;
  std::vector<png_color> Palette;
  std::vector<png_byte> PaletteAlpha;  // tRNS of a palette picture
  bool HasTransColor = false;          // tRNS of a grey or RGB picture
  png_color_16 TransColor{};
};

inline int Channels(int ColorType) {
  switch (ColorType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGBA: return 4;
    default: return 1;  // palette
  }
}

inline void WriteToVector(png_structp Png, png_bytep Data, png_size_t Length) {
  auto* Out = static_cast<TBytes*>(png_get_io_ptr(Png));
  Out->insert(Out->end(), Data, Data + Length);
}
inline void NoFlush(png_structp) {}

// Encodes Shape; samples are packed per the bit depth.
inline TBytes EncodePng(const TPngShape& Shape) {
  const int Ch = Channels(Shape.ColorType);
  const std::size_t PerRow = static_cast<std::size_t>(Shape.Width) * Ch;
  if (Shape.Samples.size() != PerRow * static_cast<std::size_t>(Shape.Height)) throw std::invalid_argument("sample count");
  std::vector<TBytes> Rows(static_cast<std::size_t>(Shape.Height));
  for (std::int32_t Y = 0; Y < Shape.Height; ++Y) {
    TBytes& Row = Rows[static_cast<std::size_t>(Y)];
    const std::uint16_t* S = Shape.Samples.data() + PerRow * static_cast<std::size_t>(Y);
    if (Shape.BitDepth == 16) {
      for (std::size_t I = 0; I < PerRow; ++I) {
        Row.push_back(static_cast<std::uint8_t>(S[I] >> 8));
        Row.push_back(static_cast<std::uint8_t>(S[I] & 0xFF));
      }
    } else if (Shape.BitDepth == 8) {
      for (std::size_t I = 0; I < PerRow; ++I) Row.push_back(static_cast<std::uint8_t>(S[I]));
    } else {
      const int PerByte = 8 / Shape.BitDepth;
      Row.assign((PerRow + PerByte - 1) / PerByte, 0);
      for (std::size_t I = 0; I < PerRow; ++I) {
        const int Shift = 8 - Shape.BitDepth * (static_cast<int>(I % PerByte) + 1);
        Row[I / PerByte] = static_cast<std::uint8_t>(Row[I / PerByte] | (S[I] << Shift));
      }
    }
  }
  TBytes Out;
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  std::vector<png_bytep> RowPointers;
  for (TBytes& R : Rows) RowPointers.push_back(R.data());
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_write_struct(&Png, &Info);
    throw std::runtime_error("test PNG encoding failed");
  }
  png_set_write_fn(Png, &Out, WriteToVector, NoFlush);
  png_set_IHDR(Png, Info, static_cast<png_uint_32>(Shape.Width), static_cast<png_uint_32>(Shape.Height), Shape.BitDepth,
               Shape.ColorType, Shape.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!Shape.Palette.empty())
    png_set_PLTE(Png, Info, Shape.Palette.data(), static_cast<int>(Shape.Palette.size()));
  if (!Shape.PaletteAlpha.empty())
    png_set_tRNS(Png, Info, Shape.PaletteAlpha.data(), static_cast<int>(Shape.PaletteAlpha.size()), nullptr);
  if (Shape.HasTransColor) {
    png_color_16 Trans = Shape.TransColor;
    png_set_tRNS(Png, Info, nullptr, 0, &Trans);
  }
  png_write_info(Png, Info);
  png_write_image(Png, RowPointers.data());
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  return Out;
}

// 8-bit RGBA picture from packed pixels (MakeRGBA layout), rows top-down.
inline TBytes EncodeRgba(std::int32_t Width, std::int32_t Height, const std::vector<TRGBAPixel>& Pixels) {
  TPngShape Shape;
  Shape.Width = Width;
  Shape.Height = Height;
  for (TRGBAPixel P : Pixels) {
    Shape.Samples.push_back(PixelR(P));
    Shape.Samples.push_back(PixelG(P));
    Shape.Samples.push_back(PixelB(P));
    Shape.Samples.push_back(PixelA(P));
  }
  return EncodePng(Shape);
}

// A uniquely named scratch archive, removed with this object.
class TScratchPak {
public:
  explicit TScratchPak(const std::string& Tag) {
    static int Counter = 0;
    FPath = (std::filesystem::temp_directory_path() /
             ("vyrn_pictures_" + std::to_string(::getpid()) + "_" + Tag + "_" + std::to_string(Counter++) + ".pak"))
                .string();
  }
  ~TScratchPak() {
    std::error_code Ec;
    std::filesystem::remove(FPath, Ec);
  }
  TScratchPak(const TScratchPak&) = delete;
  TScratchPak& operator=(const TScratchPak&) = delete;

  void Write(const std::vector<TPakEntry>& Entries) { WritePakFile(FPath, Entries); }
  const std::string& Path() const { return FPath; }

private:
  std::string FPath;
};

}  // namespace pngtest
