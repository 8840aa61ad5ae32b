// The one list of everything game.pak holds: every entry name the game asks
// for, spelled exactly as it asks, with its kind and, where the game's drawing
// code depends on it, its pixel size. The generator's parts draw the image
// sets with the frame counts given here, and the manifest test checks that the
// built archive holds exactly this list.
#pragma once

#include <string>
#include <vector>

// The game's own image-set naming rule (ImageSetEntryName).
#include "gfx/AlphaImageList.h"

enum class TAssetKind { Png, Jpeg, Wav, Ogg, Replay };

struct TManifestEntry {
  std::string Name;
  TAssetKind Kind;
  int Width = 0;   // 0: the game does not depend on the size
  int Height = 0;
  std::string Set;  // image set the entry belongs to, empty for a single file
};

// An image set: SetName + "_" + number (at least two digits) + ".png", for the
// numbers First .. First + Count - 1. The game loads a set until the first
// missing number, so a set has no gaps.
struct TImageSet {
  std::string Name;
  int First;
  int Count;
};

const std::vector<TManifestEntry>& PakManifest();
const std::vector<TImageSet>& ManifestImageSets();

// The set's record; throws std::out_of_range for a name not in the manifest.
const TImageSet& ManifestImageSet(const std::string& SetName);


const char* AssetKindName(TAssetKind Kind);
