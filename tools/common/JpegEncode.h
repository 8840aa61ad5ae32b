// The one JPEG encoder of the tools and tests: level backgrounds, panels and
// the decoder tests' pictures.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class EJpegEncodeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// What the pixels handed to the encoder hold, per pixel.
enum class TJpegInput { Rgb, Grey, Cmyk };

struct TJpegFormat {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  TJpegInput Input = TJpegInput::Rgb;
  int Quality = 90;
  bool Progressive = false;
};

// Pixels: Height packed rows top-down of 3 (RGB), 1 (grey) or 4 (CMYK)
// bytes a pixel. Throws EJpegEncodeError when libjpeg refuses.
TBytes EncodeJpeg(const TJpegFormat& Format, const std::uint8_t* Pixels);

// Baseline 8-bit RGB at the given quality.
TBytes EncodeJpegRgb(const std::uint8_t* Rgb, std::int32_t Width, std::int32_t Height, int Quality = 90);
