// Ordered, owning lists of pictures, and image sets: the frames of an
// animation or the variants of an actor, loaded from the archive by the
// naming rule SetName + "_" + number (at least two digits) + ".png".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/AlphaImage.h"

class TPakFileReadable;

class TAlphaImageList {
public:
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // Takes ownership and returns the new picture's index. Throws
  // std::invalid_argument for nullptr.
  std::int32_t Add(std::unique_ptr<TAlphaImage> Image);
  // Throws std::out_of_range outside 0..Count-1.
  TAlphaImage& Items(std::int32_t Index) { return *FItems[IndexOf(Index)]; }
  const TAlphaImage& Items(std::int32_t Index) const { return *FItems[IndexOf(Index)]; }
  TAlphaImage& operator[](std::int32_t Index) { return Items(Index); }
  const TAlphaImage& operator[](std::int32_t Index) const { return Items(Index); }
  void Clear() { FItems.clear(); }

private:
  // Throws std::out_of_range outside 0..Count-1.
  std::size_t IndexOf(std::int32_t Index) const;

  std::vector<std::unique_ptr<TAlphaImage>> FItems;
};

// "player01", 0 -> "player01_00.png"; 9 -> "_09", 10 -> "_10", 100 -> "_100".
std::string ImageSetEntryName(const std::string& SetName, std::int32_t Number);

// Appends the pictures SetName_FirstIndex, SetName_FirstIndex+1, ... to List
// until the first missing number and returns how many were loaded. Throws
// EImageDecodeError for a picture that cannot be decoded (the pictures before
// it stay in the list) and EPakReadError for a damaged archive.
std::int32_t LoadImageSet(const TPakFileReadable& Pak, const std::string& SetName, std::int32_t FirstIndex,
                          TAlphaImageList& List);

// The error box text for an image set that came out empty:
// No ImageSet "SetName" was found!
std::string MissingImageSetText(const std::string& SetName);

// LoadImageSet for a set an actor cannot do without: when nothing was loaded
// the empty-set error box is shown (ShowMessageBox) and the caller goes on.
std::int32_t LoadRequiredImageSet(const TPakFileReadable& Pak, const std::string& SetName, std::int32_t FirstIndex,
                                  TAlphaImageList& List);
