// A small world for the actor tests: settings in a scratch folder, an
// archive with plain test sprites for every set the actors load, a level
// board, a play-area buffer and a shade mask; message boxes are captured.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/TestSounds.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/AlphaImage.h"
#include "gfx/AlphaImageList.h"
#include "gfx/FastImaging.h"
#include "gfx/PngTestUtil.h"
#include "pak/PakReader.h"
#include "common/CommonTypes.h"
#include "persist/Config.h"
#include "persist/TestFolder.h"
#include "platform/FakeDisplay.h"
#include "platform/HeadlessAudio.h"

namespace actortest {

inline constexpr std::int32_t BoardWidth = 600;
inline constexpr std::int32_t BoardHeight = 550;

// Sizes of the test sprites (odd, so a position is the middle pixel).
inline constexpr std::int32_t PlayerSize = 9;
inline constexpr std::int32_t ExplosionFrames = 3;
inline constexpr std::int32_t EvilSize = 41;
inline constexpr std::int32_t EvilFrames = 4;
inline constexpr std::int32_t SmallSize = 21;
inline constexpr std::int32_t ItemSize = 15;

inline std::vector<TRGBAPixel> Filled(std::int32_t W, std::int32_t H, TRGBAPixel P) {
  return std::vector<TRGBAPixel>(static_cast<std::size_t>(W) * static_cast<std::size_t>(H), P);
}

inline void AddSet(std::vector<TPakEntry>& Entries, const std::string& Set, std::int32_t First, std::int32_t Count,
                   std::int32_t Size, std::uint8_t Red) {
  for (std::int32_t I = 0; I < Count; ++I)
    Entries.push_back(TPakEntry{ImageSetEntryName(Set, First + I),
                                pngtest::EncodeRgba(Size, Size, Filled(Size, Size, MakeRGBA(Red, 200, 40 + 20 * I, 255)))});
}

// A picture filled with one pixel value.
inline std::unique_ptr<TAlphaImage> Solid(std::int32_t W, std::int32_t H, TRGBAPixel P) {
  auto Image = std::make_unique<TAlphaImage>(W, H);
  for (std::int32_t X = 0; X < W; ++X)
    for (std::int32_t Y = 0; Y < H; ++Y) Image->SetPixel(X, Y, P);
  return Image;
}

// The mask is built once; building it re-seeds the generator from the
// clock, so every test seeds it afterwards.
inline const TShadowMask& Mask() {
  static const TShadowMask Shared(0);
  return Shared;
}

class TWorld {
public:
  TWorld() : OldAudio(SetAudioHandler(&Audio)), Settings(Display, Folder.Path), Pak("actors") {
    std::vector<TPakEntry> Entries;
    for (const char* Sound : {"player_draw.wav", "player_run.wav", "player_warp.wav", "item_dollar.wav", "item_heart.wav"})
      Entries.push_back(TPakEntry{Sound, BuildWave({}, Pcm16(Noise(2205, 2000, 3)))});
    AddSet(Entries, "player01", 0, 4, PlayerSize, 220);
    AddSet(Entries, "player02", 0, 4, PlayerSize, 120);
    AddSet(Entries, "explo01", 1, ExplosionFrames, PlayerSize + 2, 250);
    AddSet(Entries, "evil_test", 1, EvilFrames, EvilSize, 90);
    for (const char* Set : {"small_evil01", "small_evil02", "small_evil03"}) AddSet(Entries, Set, 1, 2, SmallSize, 60);
    for (const char* Set : {"item_speed", "item_dollar01", "item_dollar02", "item_dollar03", "item_heart"})
      AddSet(Entries, Set, 1, 3, ItemSize, 30);
    Pak.Write(Entries);
    Reader = std::make_unique<TPakFileReadable>(Pak.Path());
    Mask();
    Board.SetUpLevelBoard();
    Boxes.Clear();
    RandSeed = 12345;
  }

  ~TWorld() { SetAudioHandler(OldAudio); }
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  THeadlessAudio Audio;
  IAudio* OldAudio;
  TTestFolder Folder;
  TMessageCapture Boxes;
  TFakeDisplay Display;
  TConfig Settings;
  pngtest::TScratchPak Pak;
  std::unique_ptr<TPakFileReadable> Reader;
  TMemBoard Board{BoardWidth, BoardHeight};
  TFastImageBuffer Buffer{nullptr, BoardWidth, BoardHeight};
};

// The generator of the game, written out again: how many draws a piece of
// code made, and what they were, worked out without the game's Random.
struct TLcg {
  std::uint32_t Seed;
  std::uint32_t Next() { return Seed = Seed * 134775813u + 1u; }
  std::int32_t Below(std::int32_t N) {
    Next();
    return N <= 0 ? 0 : static_cast<std::int32_t>((static_cast<std::uint64_t>(Seed) * static_cast<std::uint32_t>(N)) >> 32);
  }
};

// Draws from Start until the generator sits at Now; -1 past Limit.
inline std::int32_t DrawsBetween(std::uint32_t Start, std::uint32_t Now, std::int32_t Limit = 100000) {
  TLcg G{Start};
  for (std::int32_t N = 0; N <= Limit; ++N) {
    if (G.Seed == Now) return N;
    G.Next();
  }
  return -1;
}

}  // namespace actortest
