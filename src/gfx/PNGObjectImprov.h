// One decoded PNG picture, always as 8-bit red, green, blue, alpha samples:
// palette, grey, grey with alpha, RGB and 16-bit pictures, with or without a
// transparency chunk, are converted on the way in (a picture without alpha
// comes out opaque).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "gfx/ImageErrors.h"

class TMemoryStream;

class TPNGObjectImprov {
public:
  // Decodes the PNG file that starts at Stream's position; the stream is
  // left at its end. Throws EImageDecodeError for data that is not a PNG,
  // truncated, corrupt or too large (MaxPictureSide, MaxPicturePixels); this
  // object is then left as it was.
  void LoadFromStream(TMemoryStream& Stream);
  // The same from a block of memory.
  void LoadFromMemory(const std::uint8_t* Data, std::size_t Size);

  std::int32_t Width() const { return FWidth; }
  std::int32_t Height() const { return FHeight; }
  // Row Y (top-down, unchecked): Width() pixels of red, green, blue, alpha.
  const std::uint8_t* Row(std::int32_t Y) const {
    return FPixels.get() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(FWidth) * 4;
  }

private:
  struct TFree {
    void operator()(std::uint8_t* P) const { std::free(P); }
  };
  std::int32_t FWidth = 0;
  std::int32_t FHeight = 0;
  std::unique_ptr<std::uint8_t, TFree> FPixels;
};
