// Every file in tests/data/fuzz is a damaged input that a fuzzer found
// expensive or undefined in one of the game's readers. Each goes through the
// game's own reader for its kind and must be refused, or played with sane
// numbers; a file dropped into the folder is picked up by its extension.
// The sanitizer build turns any overflow on the way into a failure.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "audio/AudioEngine.h"
#include "gfx/AlphaImage.h"
#include "gfx/FastImaging.h"
#include "gfx/ImageErrors.h"
#include "pak/MemoryStream.h"
#include "platform/HeadlessAudio.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

std::vector<std::filesystem::path> FilesEndingIn(const std::string& Extension) {
  std::vector<std::filesystem::path> Result;
  for (const auto& Entry : std::filesystem::directory_iterator(VYRN_FUZZ_DIR))
    if (Entry.path().extension() == Extension) Result.push_back(Entry.path());
  return Result;
}

TBytes ReadFile(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

TEST(FuzzFound, TheFolderHoldsEveryKind) {
  EXPECT_FALSE(FilesEndingIn(".png").empty());
  EXPECT_FALSE(FilesEndingIn(".jpg").empty());
  EXPECT_FALSE(FilesEndingIn(".ogg").empty());
}

TEST(FuzzFound, PicturesClaimingHugeSizesAreRefusedBeforeAnyPixel) {
  for (const auto& Path : FilesEndingIn(".png")) {
    SCOPED_TRACE(Path.filename().string());
    TMemoryStream Stream(ReadFile(Path));
    TAlphaImage Picture(3, 2);
    EXPECT_THROW(Picture.LoadFromStream(Stream), EImageDecodeError);
    EXPECT_EQ(Picture.Width(), 3);
    EXPECT_EQ(Picture.Height(), 2);
  }
  for (const auto& Path : FilesEndingIn(".jpg")) {
    SCOPED_TRACE(Path.filename().string());
    TMemoryStream Stream(ReadFile(Path));
    TFastImageBuffer Buffer(nullptr, 3, 2);
    try {
      Buffer.LoadJpegFromStream(Stream);
      ADD_FAILURE() << "decoded";
    } catch (const EImageDecodeError& E) {
      EXPECT_NE(std::string(E.what()).find("too large"), std::string::npos) << E.what();
    }
    EXPECT_EQ(Buffer.Width(), 3);
    EXPECT_EQ(Buffer.Height(), 2);
  }
}

TEST(FuzzFound, MusicWithAbsurdLengthsPlaysWithSaneNumbers) {
  THeadlessAudio Audio;
  IAudio* Old = SetAudioHandler(&Audio);
  for (const auto& Path : FilesEndingIn(".ogg")) {
    SCOPED_TRACE(Path.filename().string());
    const TBytes Data = ReadFile(Path);
    const auto Info = ReadOggVorbisInfo(Data);
    ASSERT_TRUE(Info);
    ASSERT_GT(Info->SampleRate, 0);
    ASSERT_GE(Info->Frames, 0);
    // The claimed length in milliseconds, reckoned in floating point where
    // nothing wraps; the engine holds it at the 32-bit limit.
    const long double ClaimedMs = static_cast<long double>(Info->Frames) * 1000.0L / Info->SampleRate;
    const long double WantMs = std::min<long double>(ClaimedMs, std::numeric_limits<std::int32_t>::max());

    TAudioEngine Engine;
    TMemoryStream Stream(Data);
    Engine.PlayFromStream(&Stream);
    ASSERT_EQ(Engine.State(), TAudioEngine::StatePlaying);
    EXPECT_NEAR(static_cast<long double>(Engine.LengthMs()), WantMs, 2.0L + WantMs * 1e-12L);
    EXPECT_GE(Engine.LengthBytes(), 0);
    const long double Frames = std::floor(static_cast<long double>(Info->Frames) * THeadlessAudio::SampleRate /
                                          Info->SampleRate);
    const long double WantBytes = std::min<long double>(Frames * 4, std::numeric_limits<std::int64_t>::max());
    EXPECT_LE(std::fabs(static_cast<long double>(Engine.LengthBytes()) - WantBytes), WantBytes * 1e-15L + 4);

    // One tick of play: a piece that long is nowhere near its end.
    Audio.Advance(30);
    Engine.CheckEnd();
    EXPECT_GE(Engine.PositionMs(), 0);
    if (WantMs > 1000) {
      EXPECT_EQ(Engine.State(), TAudioEngine::StatePlaying);
    }
  }
  SetAudioHandler(Old);
}

}  // namespace
