// Errors and limits shared by the image loaders (JPEG frame buffers, PNG
// alpha images).
#pragma once

#include <cstdint>
#include <stdexcept>

// The largest pictures the loaders accept, checked before anything is
// allocated. The game's own are at most 800 x 600; this leaves ample room for
// modded art, while a damaged header can no longer make a decoder claim
// hundreds of megabytes before it reads a single pixel.
inline constexpr std::uint32_t MaxPictureSide = 4096;
inline constexpr std::uint64_t MaxPicturePixels = std::uint64_t{1} << 23;  // 4096 x 2048

// Picture data that cannot be decoded: truncated, corrupt, unsupported or
// absurdly large. The message names the decoder's complaint.
class EImageDecodeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
