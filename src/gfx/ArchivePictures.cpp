#include "gfx/ArchivePictures.h"

#include <exception>
#include <memory>

#include "gfx/FastImaging.h"
#include "pak/PakReader.h"

namespace {

// Both decoders leave their target as it was when they throw.
template <class TTarget>
bool LoadEntry(const TPakFileReadable& Pak, const std::string& Name, TTarget& Target,
               void (TTarget::*Decode)(TMemoryStream&)) {
  try {
    const std::unique_ptr<TMemoryStream> Stream = Pak.GetStream(Name);
    if (!Stream) return false;
    (Target.*Decode)(*Stream);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool LoadPicture(const TPakFileReadable& Pak, const std::string& Name, TAlphaImage& Image) {
  return LoadEntry(Pak, Name, Image, &TAlphaImage::LoadFromStream);
}

TAlphaImage LoadPicture(const TPakFileReadable& Pak, const std::string& Name) {
  TAlphaImage Image;
  LoadPicture(Pak, Name, Image);
  return Image;
}

bool LoadJpeg(const TPakFileReadable& Pak, const std::string& Name, TFastImageBuffer& Buffer) {
  return LoadEntry(Pak, Name, Buffer, &TFastImageBuffer::LoadJpegFromStream);
}
