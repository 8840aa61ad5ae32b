// Pictures the tools read back (the archive's entries, the previews they
// write), decoded by the game's own loaders, so that a tool sees exactly what
// the game will see.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TPictureKind { Unknown, Png, Jpeg };

// By the file's signature.
TPictureKind PictureKind(const std::uint8_t* Data, std::size_t Size);

// Straight (not premultiplied) RGBA, rows top-down; a JPEG comes out opaque.
struct TRgbaPicture {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::vector<std::uint8_t> Rgba;

  const std::uint8_t* At(std::int32_t X, std::int32_t Y) const {
    return &Rgba[(static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(X)) * 4];
  }
  // 0 outside the picture.
  std::uint8_t Alpha(std::int32_t X, std::int32_t Y) const {
    return X < 0 || Y < 0 || X >= Width || Y >= Height ? 0 : At(X, Y)[3];
  }
};

// A PNG through the alpha images' decoder, a JPEG through the frame buffer's.
// Throws EImageDecodeError (gfx/ImageErrors.h) for anything else or for data
// those decoders refuse.
TRgbaPicture DecodePicture(const std::uint8_t* Data, std::size_t Size);
