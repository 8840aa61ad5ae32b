// The archive the build generated: exactly the manifest's entries, each one of
// the kind and size the game expects, and actor sprites that keep to the rules
// the game's drawing and hit tests rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Manifest.h"
#include "PictureDecode.h"
#include "game/LevelTable.h"
#include "gfx/ImageErrors.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

std::uint32_t ReadU32(const TBytes& B, std::size_t Pos) {
  return B[Pos] | (B[Pos + 1] << 8) | (B[Pos + 2] << 16) | (static_cast<std::uint32_t>(B[Pos + 3]) << 24);
}
std::uint16_t ReadU16(const TBytes& B, std::size_t Pos) { return static_cast<std::uint16_t>(B[Pos] | (B[Pos + 1] << 8)); }

struct TArchive {
  std::vector<std::string> Names;  // directory order, duplicates kept
  std::map<std::string, TBytes> Data;
  std::string Error;
};

// Reads game.pak the way the game's reader walks it: directory offset, then
// name length, name, size, offset until the file ends.
TArchive LoadArchive() {
  TArchive A;
  std::ifstream In(VYRN_GAME_PAK, std::ios::binary);
  if (!In) {
    A.Error = "cannot open " VYRN_GAME_PAK;
    return A;
  }
  const TBytes File((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (File.size() < 4) {
    A.Error = "archive shorter than its header";
    return A;
  }
  std::size_t Pos = ReadU32(File, 0);
  while (Pos < File.size()) {
    const std::size_t Len = File[Pos];
    if (Pos + 1 + Len + 8 > File.size()) {
      A.Error = "directory ends inside an entry";
      return A;
    }
    const std::string Name(reinterpret_cast<const char*>(&File[Pos + 1]), Len);
    const std::uint32_t Size = ReadU32(File, Pos + 1 + Len);
    const std::uint32_t Offset = ReadU32(File, Pos + 1 + Len + 4);
    if (static_cast<std::uint64_t>(Offset) + Size > File.size()) {
      A.Error = "entry " + Name + " reaches past the end of the archive";
      return A;
    }
    A.Names.push_back(Name);
    A.Data.emplace(Name, TBytes(File.begin() + Offset, File.begin() + Offset + Size));
    Pos += 1 + Len + 8;
  }
  return A;
}

const TArchive& Archive() {
  static const TArchive A = LoadArchive();
  return A;
}

// Empty, with the reason in Error, when it does not decode.
struct TImage : TRgbaPicture {
  std::string Error;
};

// Through the game's own decoders. The archive's PNG files must moreover be
// stored as 8-bit RGBA without interlacing: the form the game decodes fastest,
// and the one the generator writes.
TImage Decode(const TBytes& Data) {
  TImage Img;
  if (PictureKind(Data.data(), Data.size()) == TPictureKind::Png) {
    // Signature, chunk length, "IHDR", width, height, then depth, colour
    // type, compression, filter and interlace bytes.
    if (Data.size() < 33 || std::memcmp(&Data[12], "IHDR", 4) != 0) {
      Img.Error = "no IHDR chunk first";
      return Img;
    }
    if (Data[24] != 8 || Data[25] != 6) Img.Error = "not 8-bit RGBA";
    else if (Data[28] != 0) Img.Error = "interlaced";
    if (!Img.Error.empty()) return Img;
  }
  try {
    static_cast<TRgbaPicture&>(Img) = DecodePicture(Data.data(), Data.size());
  } catch (const EImageDecodeError& E) {
    Img.Error = E.what();
  }
  return Img;
}

const TBytes* Entry(const std::string& Name) {
  const auto It = Archive().Data.find(Name);
  return It == Archive().Data.end() ? nullptr : &It->second;
}

class PakgenTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(Archive().Error, "") << "archive " VYRN_GAME_PAK " is damaged or missing"; }
};

TEST_F(PakgenTest, ManifestHasNoDuplicateNamesAndSetsFollowTheNamingRule) {
  std::set<std::string> Seen;
  for (const TManifestEntry& M : PakManifest()) EXPECT_TRUE(Seen.insert(M.Name).second) << M.Name;
  EXPECT_EQ(ImageSetEntryName("explo01", 1), "explo01_01.png");
  EXPECT_EQ(ImageSetEntryName("player02", 0), "player02_00.png");
  EXPECT_EQ(ImageSetEntryName("evil_end01", 10), "evil_end01_10.png");
  EXPECT_EQ(ImageSetEntryName("x", 100), "x_100.png");
  // Numbering: from 00 for the player markers, from 01 for every other set.
  for (const TImageSet& S : ManifestImageSets()) {
    const bool Player = S.Name == "player01" || S.Name == "player02";
    EXPECT_EQ(S.First, Player ? 0 : 1) << S.Name;
  }
}

TEST_F(PakgenTest, ArchiveHoldsExactlyTheManifest) {
  std::set<std::string> Want;
  for (const TManifestEntry& M : PakManifest()) Want.insert(M.Name);
  std::set<std::string> Have;
  std::string Duplicates, Missing, Extra;
  for (const std::string& N : Archive().Names)
    if (!Have.insert(N).second) Duplicates += N + " ";
  for (const std::string& N : Want)
    if (!Have.count(N)) Missing += N + " ";
  for (const std::string& N : Have)
    if (!Want.count(N)) Extra += N + " ";
  EXPECT_EQ(Duplicates, "") << "entries stored twice";
  EXPECT_EQ(Missing, "") << "manifest entries missing from the archive";
  EXPECT_EQ(Extra, "") << "entries the manifest does not list";
}

TEST_F(PakgenTest, EveryLevelOfTheLevelTableFindsItsPictures) {
  // The game plays from the level table, the generator draws from the
  // manifest: each level's background and big enemy must be in both.
  for (std::int32_t Number = 1; Number <= LevelCount; ++Number) {
    const TLevelInfo& Level = LevelInfo(Number);
    SCOPED_TRACE(Level.Name);
    const auto M = std::find_if(PakManifest().begin(), PakManifest().end(),
                                [&](const TManifestEntry& E) { return E.Name == Level.Background; });
    ASSERT_NE(M, PakManifest().end());
    EXPECT_EQ(M->Kind, TAssetKind::Jpeg);
    EXPECT_EQ(M->Width, 600);
    EXPECT_EQ(M->Height, 550);
    EXPECT_NO_THROW(ManifestImageSet(Level.EvilImageSet));
    EXPECT_EQ(std::string(Level.EvilImageSet).rfind("evil_", 0), 0u);
  }
}

TEST_F(PakgenTest, ImageSetsEndWhereTheManifestSaysSo) {
  // The game loads a set until the first missing number: the number after the
  // last frame must be absent, or the set would grow.
  for (const TImageSet& S : ManifestImageSets()) {
    EXPECT_GE(S.Count, S.Name.rfind("player", 0) == 0 ? 4 : 2) << S.Name;
    EXPECT_EQ(Entry(ImageSetEntryName(S.Name, S.First + S.Count)), nullptr) << S.Name;
    if (S.First > 0) {
      EXPECT_EQ(Entry(ImageSetEntryName(S.Name, S.First - 1)), nullptr) << S.Name;
    }
  }
}

TEST_F(PakgenTest, PicturesDecodeAtTheirFixedSizes) {
  for (const TManifestEntry& M : PakManifest()) {
    if (M.Kind != TAssetKind::Png && M.Kind != TAssetKind::Jpeg) continue;
    const TBytes* Data = Entry(M.Name);
    if (!Data) continue;  // reported by ArchiveHoldsExactlyTheManifest
    const TImage Img = Decode(*Data);
    EXPECT_EQ(Img.Error, "") << M.Name;
    EXPECT_GT(Img.Width, 0) << M.Name;
    EXPECT_GT(Img.Height, 0) << M.Name;
    if (M.Width != 0) {
      EXPECT_EQ(Img.Width, M.Width) << M.Name;
      EXPECT_EQ(Img.Height, M.Height) << M.Name;
    }
  }
}

TEST_F(PakgenTest, SoundsAreRiffPcm16AndMusicIsOgg) {
  for (const TManifestEntry& M : PakManifest()) {
    const TBytes* Data = Entry(M.Name);
    if (!Data) continue;
    if (M.Kind == TAssetKind::Ogg) {
      ASSERT_GE(Data->size(), 4u) << M.Name;
      EXPECT_EQ(std::string(Data->begin(), Data->begin() + 4), "OggS") << M.Name;
      continue;
    }
    if (M.Kind != TAssetKind::Wav) continue;
    const TBytes& W = *Data;
    ASSERT_GE(W.size(), 12u) << M.Name;
    EXPECT_EQ(std::string(W.begin(), W.begin() + 4), "RIFF") << M.Name;
    EXPECT_EQ(std::string(W.begin() + 8, W.begin() + 12), "WAVE") << M.Name;
    EXPECT_EQ(ReadU32(W, 4), W.size() - 8) << M.Name;
    bool Format = false, Samples = false;
    int BlockAlign = 0;
    for (std::size_t Pos = 12; Pos + 8 <= W.size();) {
      const std::string Id(W.begin() + Pos, W.begin() + Pos + 4);
      const std::uint32_t Size = ReadU32(W, Pos + 4);
      ASSERT_LE(Pos + 8 + Size, W.size()) << M.Name << " chunk " << Id;
      if (Id == "fmt ") {
        ASSERT_GE(Size, 16u) << M.Name;
        Format = true;
        const int Channels = ReadU16(W, Pos + 10);
        const std::uint32_t Rate = ReadU32(W, Pos + 12);
        BlockAlign = ReadU16(W, Pos + 20);
        EXPECT_EQ(ReadU16(W, Pos + 8), 1) << M.Name << ": not PCM";
        EXPECT_TRUE(Channels == 1 || Channels == 2) << M.Name;
        EXPECT_TRUE(Rate == 22050 || Rate == 44100) << M.Name << ": " << Rate << " Hz";
        EXPECT_EQ(ReadU16(W, Pos + 22), 16) << M.Name << ": not 16-bit";
        EXPECT_EQ(BlockAlign, Channels * 2) << M.Name;
        EXPECT_EQ(ReadU32(W, Pos + 16), Rate * Channels * 2) << M.Name;
      } else if (Id == "data") {
        EXPECT_TRUE(Format) << M.Name << ": data before fmt";
        Samples = Size > 0 && BlockAlign > 0 && Size % BlockAlign == 0;
      }
      Pos += 8 + Size + (Size & 1);
    }
    EXPECT_TRUE(Format && Samples) << M.Name << ": no fmt chunk or no whole samples";
  }
}

// Sizes our actors are drawn at; the game centres every sprite on its actor,
// and the frames of one set must share a size or the animation would jump.
struct TSizeRule {
  const char* Prefix;
  int Min, Max;
};
const TSizeRule SizeRules[] = {
    {"player0", 16, 30}, {"explo01", 24, 64}, {"evil_", 50, 80}, {"small_evil", 20, 30}, {"item_", 24, 32},
};

TEST_F(PakgenTest, ActorSetsHaveOneSizeInTheirRangeAndRoomAroundTheDrawing) {
  for (const TImageSet& S : ManifestImageSets()) {
    const TSizeRule* Rule = nullptr;
    for (const TSizeRule& R : SizeRules)
      if (S.Name.rfind(R.Prefix, 0) == 0) Rule = &R;
    ASSERT_NE(Rule, nullptr) << S.Name;
    int W = -1, H = -1;
    for (int n = S.First; n < S.First + S.Count; ++n) {
      const std::string Name = ImageSetEntryName(S.Name, n);
      const TBytes* Data = Entry(Name);
      if (!Data) continue;
      const TImage Img = Decode(*Data);
      if (!Img.Error.empty()) continue;  // reported by PicturesDecodeAtTheirFixedSizes
      if (W < 0) {
        W = Img.Width;
        H = Img.Height;
        // Wide or tall shapes (a saucer, a skull) may be narrower one way.
        EXPECT_GE(std::max(W, H), Rule->Min) << Name;
        EXPECT_LE(std::max(W, H), Rule->Max) << Name;
        EXPECT_GE(std::min(W, H) * 3, Rule->Min * 2) << Name;
      }
      EXPECT_EQ(Img.Width, W) << Name;
      EXPECT_EQ(Img.Height, H) << Name;
      // The game puts the actor's position at column W div 2: with an odd
      // size that is the drawing's middle pixel, so a marker sits exactly
      // on its one-pixel trail.
      EXPECT_EQ(Img.Width % 2, 1) << Name;
      EXPECT_EQ(Img.Height % 2, 1) << Name;
      // Nothing cut off at the picture's edge: the outer ring stays clear.
      int Clipped = 0;
      for (int x = 0; x < Img.Width; ++x) Clipped += (Img.Alpha(x, 0) > 0) + (Img.Alpha(x, Img.Height - 1) > 0);
      for (int y = 0; y < Img.Height; ++y) Clipped += (Img.Alpha(0, y) > 0) + (Img.Alpha(Img.Width - 1, y) > 0);
      EXPECT_EQ(Clipped, 0) << Name;
      // Something is drawn (the explosion fades to nothing on purpose).
      if (S.Name == "explo01") continue;
      int Visible = 0;
      for (int y = 0; y < Img.Height; ++y)
        for (int x = 0; x < Img.Width; ++x) Visible += Img.Alpha(x, y) > 50;
      EXPECT_GT(Visible, Img.Width * Img.Height / 10) << Name;
    }
  }
}

TEST_F(PakgenTest, TheSplashLeavesNoBoxOnTheBlackScreen) {
  // The logo is shown in the middle of a black screen: its frames' edges
  // must be black too (a JPEG's rounding aside), or a faint box shows.
  for (int f = 1; f <= 50; ++f) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "Quillon2_%02d.jpg", f);
    const TBytes* Data = Entry(Name);
    ASSERT_NE(Data, nullptr) << Name;
    const TImage Img = Decode(*Data);
    ASSERT_EQ(Img.Error, "") << Name;
    ASSERT_EQ(Img.Width, 320);
    ASSERT_EQ(Img.Height, 240);
    int Brightest = 0;
    long Sum = 0, Count = 0;
    const auto Take = [&](int x, int y) {
      const std::uint8_t* P = Img.At(x, y);
      for (int c = 0; c < 3; ++c) {
        Brightest = std::max<int>(Brightest, P[c]);
        Sum += P[c];
        ++Count;
      }
    };
    for (int x = 0; x < Img.Width; ++x) Take(x, 0), Take(x, Img.Height - 1);
    for (int y = 1; y + 1 < Img.Height; ++y) Take(0, y), Take(Img.Width - 1, y);
    EXPECT_LE(Brightest, 6) << Name;
    EXPECT_LE(Sum, Count / 2) << Name << ": the edge's mean above half a level";
  }
}

TEST_F(PakgenTest, BigEnemyBodiesAreWhatKills) {
  // A trail under any pixel with alpha above 50 kills, so what the player sees
  // of the enemy must be that area: a solid body with a thin soft rim, no
  // faint glow that would look harmless, and a body that fills the box whose
  // every cell counts when the enemy is pushed off claimed area.
  for (const TImageSet& S : ManifestImageSets()) {
    if (S.Name.rfind("evil_", 0) != 0) continue;
    for (int n = S.First; n < S.First + S.Count; ++n) {
      const std::string Name = ImageSetEntryName(S.Name, n);
      const TBytes* Data = Entry(Name);
      if (!Data) continue;
      const TImage Img = Decode(*Data);
      if (!Img.Error.empty()) continue;
      int Solid = 0, Faint = 0;
      for (int y = 0; y < Img.Height; ++y)
        for (int x = 0; x < Img.Width; ++x) {
          const int A = Img.Alpha(x, y);
          Solid += A > 50;
          Faint += A > 0 && A <= 50;
        }
      EXPECT_LT(Faint * 4, Solid) << Name << ": " << Faint << " faint pixels against " << Solid << " solid ones";
      EXPECT_GT(Solid * 100, Img.Width * Img.Height * 35) << Name << ": body too small for its box";
    }
  }
}

}  // namespace
