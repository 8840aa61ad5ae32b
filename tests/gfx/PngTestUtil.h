// Helpers for the picture tests: pictures of every colour type and depth
// described sample by sample, and scratch archives.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PngEncode.h"
#include "pak/PakWriter.h"
#include "common/CommonTypes.h"

namespace pngtest {

struct TPngShape {
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  TPngColour ColorType = TPngColour::Rgba;
  int BitDepth = 8;
  bool Interlaced = false;
  // Samples in PNG order, one value per sample (0..2^BitDepth-1), rows
  // top-down; for palette pictures the indices.
  std::vector<std::uint16_t> Samples;
  std::vector<TPngPaletteEntry> Palette;
  std::vector<std::uint8_t> PaletteAlpha;  // tRNS of a palette picture
  std::optional<TPngTransparent> TransColor;  // tRNS of a grey or RGB picture
};

inline int Channels(TPngColour ColorType) {
  switch (ColorType) {
    case TPngColour::Grey: return 1;
    case TPngColour::GreyAlpha: return 2;
    case TPngColour::Rgb: return 3;
    case TPngColour::Rgba: return 4;
    case TPngColour::Palette: break;
  }
  return 1;
}

// Encodes Shape; samples are packed per the bit depth.
inline TBytes EncodePng(const TPngShape& Shape) {
  const int Ch = Channels(Shape.ColorType);
  const std::size_t PerRow = static_cast<std::size_t>(Shape.Width) * Ch;
  if (Shape.Samples.size() != PerRow * static_cast<std::size_t>(Shape.Height)) throw std::invalid_argument("sample count");
  const std::size_t Stride = (PerRow * static_cast<std::size_t>(Shape.BitDepth) + 7) / 8;
  TBytes Packed(Stride * static_cast<std::size_t>(Shape.Height), 0);
  for (std::int32_t Y = 0; Y < Shape.Height; ++Y) {
    std::uint8_t* Row = Packed.data() + Stride * static_cast<std::size_t>(Y);
    const std::uint16_t* S = Shape.Samples.data() + PerRow * static_cast<std::size_t>(Y);
    if (Shape.BitDepth == 16) {
      for (std::size_t I = 0; I < PerRow; ++I) {
        Row[2 * I] = static_cast<std::uint8_t>(S[I] >> 8);
        Row[2 * I + 1] = static_cast<std::uint8_t>(S[I] & 0xFF);
      }
    } else if (Shape.BitDepth == 8) {
      for (std::size_t I = 0; I < PerRow; ++I) Row[I] = static_cast<std::uint8_t>(S[I]);
    } else {
      const int PerByte = 8 / Shape.BitDepth;
      for (std::size_t I = 0; I < PerRow; ++I) {
        const int Shift = 8 - Shape.BitDepth * (static_cast<int>(I % PerByte) + 1);
        Row[I / PerByte] = static_cast<std::uint8_t>(Row[I / PerByte] | (S[I] << Shift));
      }
    }
  }
  TPngFormat Format;
  Format.Width = Shape.Width;
  Format.Height = Shape.Height;
  Format.Colour = Shape.ColorType;
  Format.BitDepth = Shape.BitDepth;
  Format.Interlaced = Shape.Interlaced;
  Format.Palette = Shape.Palette;
  Format.PaletteAlpha = Shape.PaletteAlpha;
  Format.Transparent = Shape.TransColor;
  return ::EncodePng(Format, Packed.data(), Stride);
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
