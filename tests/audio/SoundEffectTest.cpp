#include "audio/SoundEffect.h"
#include "audio/TestSounds.h"
#include "pak/PakWriter.h"
#include "platform/HeadlessAudio.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class SoundEffectTest : public ::testing::Test {
protected:
  void SetUp() override {
    Old = SetAudioHandler(&Audio);
    Path = (std::filesystem::temp_directory_path() /
            ("sfx_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".pak"))
               .string();
    WritePakFile(Path, {{"beep.wav", BuildWave({}, Pcm16(Noise(2205, 2000, 3)))}, {"junk.wav", {1, 2, 3}}});
  }
  void TearDown() override {
    SetAudioHandler(Old);
    std::filesystem::remove(Path);
  }

  THeadlessAudio Audio;
  IAudio* Old = nullptr;
  std::string Path;
};

TEST_F(SoundEffectTest, LoadsByNameAndPlaysWithItsLoopFlag) {
  TPakFileReadable Pak(Path);
  TSoundEffect Once(Pak, "beep.wav");
  TSoundEffect Loop(Pak, "beep.wav", true);
  ASSERT_TRUE(Once.Loaded());
  EXPECT_TRUE(Once.Play());
  EXPECT_TRUE(Loop.Play());
  ASSERT_EQ(Audio.Sounds().size(), 2u);
  EXPECT_FALSE(Audio.Sounds()[0].Loop);
  EXPECT_TRUE(Audio.Sounds()[1].Loop);
}

TEST_F(SoundEffectTest, MissingOrUnplayableEntriesAndArchivesStaySilent) {
  TPakFileReadable Pak(Path);
  TSoundEffect Missing(Pak, "nothing.wav");
  EXPECT_FALSE(Missing.Loaded());
  EXPECT_FALSE(Missing.Play());
  TSoundEffect Junk(Pak, "junk.wav");
  EXPECT_TRUE(Junk.Loaded());
  EXPECT_FALSE(Junk.Play());
  TPakFileReadable NoArchive(Path + ".absent");
  TSoundEffect None(NoArchive, "beep.wav");
  EXPECT_FALSE(None.Play());
  EXPECT_TRUE(Audio.Sounds().empty());
}

TEST_F(SoundEffectTest, FreeingAPlayingLoopEndsItsPlayback) {
  TPakFileReadable Pak(Path);
  TSoundId Id = 0;
  {
    TSoundEffect Loop(Pak, "beep.wav", true);
    ASSERT_TRUE(Loop.Play());
    Id = Audio.Sounds().back().Id;
    EXPECT_TRUE(Audio.IsSoundPlaying(Id));
  }
  EXPECT_FALSE(Audio.IsSoundPlaying(Id));
}

}  // namespace
