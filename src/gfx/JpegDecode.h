// JPEG decoding into a 24-bit bitmap, shared by the frame buffer.
#pragma once

#include <cstddef>
#include <cstdint>

class TFastBMP;

// Decodes a whole JPEG file held in memory into Out (resized to the
// picture). Baseline and progressive; YCbCr, RGB, grayscale, CMYK and YCCK
// pictures all come out as blue, green, red. Throws EImageDecodeError for
// data that is empty, truncated, corrupt or larger than the loaders accept
// (MaxPictureSide, MaxPicturePixels in ImageErrors.h); Out is then left as it
// was only if the failure came before the size was known, so callers decode
// into a scratch bitmap.
void DecodeJpeg(const std::uint8_t* Data, std::size_t Size, TFastBMP& Out);
