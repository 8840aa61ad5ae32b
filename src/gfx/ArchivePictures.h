// Pictures from the archive that the game can do without: a missing entry,
// an archive that cannot be read or data that cannot be decoded leave the
// picture as it was (drawn as nothing, or black) and the game goes on.
#pragma once

#include <string>

#include "gfx/AlphaImage.h"

class TFastImageBuffer;
class TPakFileReadable;

// The PNG entry Name into Image; false, with Image as it was, when it cannot
// be had.
bool LoadPicture(const TPakFileReadable& Pak, const std::string& Name, TAlphaImage& Image);
// The same as a new picture, 0 x 0 when it cannot be had.
TAlphaImage LoadPicture(const TPakFileReadable& Pak, const std::string& Name);
// The JPEG entry Name into Buffer (its size and pixels); false, with Buffer
// as it was, when it cannot be had.
bool LoadJpeg(const TPakFileReadable& Pak, const std::string& Name, TFastImageBuffer& Buffer);
