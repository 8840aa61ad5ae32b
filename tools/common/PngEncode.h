// The one PNG encoder of the tools and tests: archive pictures, previews and
// the decoder tests' pictures of every colour type and depth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class EPngEncodeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Colour types, numbered as in the file.
enum class TPngColour : std::uint8_t { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

struct TPngPaletteEntry {
  std::uint8_t R = 0, G = 0, B = 0;
};

// The transparent colour of a grey or RGB picture (its tRNS chunk); samples
// at the picture's bit depth.
struct TPngTransparent {
  std::uint16_t Grey = 0, R = 0, G = 0, B = 0;
};

struct TPngFormat {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  TPngColour Colour = TPngColour::Rgba;
  int BitDepth = 8;
  bool Interlaced = false;
  std::vector<TPngPaletteEntry> Palette;
  std::vector<std::uint8_t> PaletteAlpha;  // tRNS of a palette picture
  std::optional<TPngTransparent> Transparent;
  int Compression = 9;  // zlib level; previews may trade size for speed
};

// Rows holds Height rows top-down, each Stride bytes apart and packed as the
// file stores them (samples of BitDepth bits, 16-bit ones high byte first).
// Throws EPngEncodeError when libpng refuses the format.
TBytes EncodePng(const TPngFormat& Format, const std::uint8_t* Rows, std::size_t Stride);

// 8-bit straight RGBA, rows top-down and packed.
TBytes EncodePngRgba(const std::uint8_t* Rgba, std::int32_t Width, std::int32_t Height, int Compression = 9);
// 8-bit RGB, rows top-down and packed.
TBytes EncodePngRgb(const std::uint8_t* Rgb, std::int32_t Width, std::int32_t Height, int Compression = 9);
