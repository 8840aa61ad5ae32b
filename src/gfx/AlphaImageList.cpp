#include "gfx/AlphaImageList.h"

#include "common/Scramble.h"

#include <limits>
#include <stdexcept>

#include "pak/PakReader.h"
#include "platform/MessageBox.h"

std::int32_t TAlphaImageList::Add(std::unique_ptr<TAlphaImage> Image) {
  if (!Image) throw std::invalid_argument("TAlphaImageList::Add: no picture");
  FItems.push_back(std::move(Image));
  return Count() - 1;
}

std::size_t TAlphaImageList::IndexOf(std::int32_t Index) const {
  if (Index < 0 || Index >= Count())
    throw std::out_of_range("image list index " + std::to_string(Index) + " outside 0.." + std::to_string(Count() - 1));
  return static_cast<std::size_t>(Index);
}

std::string ImageSetEntryName(const std::string& SetName, std::int32_t Number) {
  return SetName + "_" + TwoDigits(Number) + ".png";
}

std::int32_t LoadImageSet(const TPakFileReadable& Pak, const std::string& SetName, std::int32_t FirstIndex,
                          TAlphaImageList& List) {
  std::int32_t Loaded = 0;
  for (std::int64_t N = FirstIndex; N <= std::numeric_limits<std::int32_t>::max(); ++N) {
    std::unique_ptr<TMemoryStream> Stream = Pak.GetStream(ImageSetEntryName(SetName, static_cast<std::int32_t>(N)));
    if (!Stream) break;
    List.Add(TAlphaImage::CreateFromStream(*Stream));
    ++Loaded;
  }
  return Loaded;
}

std::string MissingImageSetText(const std::string& SetName) { return "No ImageSet \"" + SetName + "\" was found!"; }

std::int32_t LoadRequiredImageSet(const TPakFileReadable& Pak, const std::string& SetName, std::int32_t FirstIndex,
                                  TAlphaImageList& List) {
  const std::int32_t Loaded = LoadImageSet(Pak, SetName, FirstIndex, List);
  if (Loaded == 0) ShowMessageBox(MissingImageSetText(SetName), "Error");
  return Loaded;
}
