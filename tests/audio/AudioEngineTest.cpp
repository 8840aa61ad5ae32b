#include "audio/AudioObject.h"
#include "audio/TestSounds.h"
#include "common/CommonTypes.h"
#include "platform/HeadlessAudio.h"
#include "platform/WaveOut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int Rate = 44100;

// One second of 44,100 Hz stereo: a 440 Hz sine at 16384 on the left and
// 8192 on the right, so the two levels differ.
std::vector<std::int16_t> MusicSamples(int Frames = Rate) {
  std::vector<std::int16_t> S;
  for (int I = 0; I < Frames; ++I) {
    const double V = std::sin(2 * 3.141592653589793 * 440 * I / Rate);
    S.push_back(static_cast<std::int16_t>(std::lrint(16384 * V)));
    S.push_back(static_cast<std::int16_t>(std::lrint(8192 * V)));
  }
  return S;
}

TBytes MusicWave(const std::vector<std::int16_t>& S) {
  TWaveShape Shape;
  Shape.Channels = 2;
  Shape.SamplesPerSec = Rate;
  return BuildWave(Shape, Pcm16(S));
}

class AudioEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    OldAudio = SetAudioHandler(&Audio);
    OldWaveOut = SetWaveOutHandler(&WaveOut);
    Engine = std::make_unique<TAudioObject>(0);
  }
  void TearDown() override {
    Engine.reset();
    SetAudioHandler(OldAudio);
    SetWaveOutHandler(OldWaveOut);
  }

  THeadlessAudio Audio;
  THeadlessWaveOut WaveOut;
  IAudio* OldAudio = nullptr;
  IWaveOut* OldWaveOut = nullptr;
  std::unique_ptr<TAudioObject> Engine;
};

TEST_F(AudioEngineTest, StartsStoppedWithNothingLoaded) {
  EXPECT_EQ(Engine->State(), 1001);
  EXPECT_EQ(Engine->PositionMs(), 0);
  EXPECT_EQ(Engine->LengthMs(), 0);
  EXPECT_EQ(Engine->SampleRate(), 44100);
  EXPECT_EQ(Engine->Device(), -1);
  EXPECT_DOUBLE_EQ(Engine->BufferLengthSeconds(), 0.5);
  EXPECT_DOUBLE_EQ(Audio.BufferLength, 0.5);
  EXPECT_EQ(Engine->DeviceNames(), std::vector<std::string>{"Headless output"});
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1001);
  std::uint32_t R = 1, L = 1;
  Engine->GetLevels(R, L);
  EXPECT_EQ(R, 0u);
  EXPECT_EQ(L, 0u);
}

TEST_F(AudioEngineTest, PlaysAPieceWithPositionLengthAndLevels) {
  const auto S = MusicSamples();
  TMemoryStream Stream(MusicWave(S));
  Engine->PlayFromStream(&Stream);
  EXPECT_EQ(Engine->State(), 1002);
  EXPECT_EQ(Engine->LengthMs(), 1000);
  EXPECT_EQ(Engine->LengthBytes(), 44100 * 4);
  EXPECT_EQ(Engine->PositionMs(), 0);
  Audio.Advance(500);
  EXPECT_EQ(Engine->PositionMs(), 500);
  std::uint32_t R = 0, L = 0;
  Engine->GetLevels(R, L);
  EXPECT_NEAR(L, 16384u, 40u);
  EXPECT_NEAR(R, 8192u, 20u);
  // The flat equaliser is in the chain and passes every sample unchanged.
  ASSERT_EQ(Audio.MusicOutput.size(), S.size() / 2);
  EXPECT_TRUE(std::equal(Audio.MusicOutput.begin(), Audio.MusicOutput.end(), S.begin()));
}

TEST_F(AudioEngineTest, GlobalVolumesScaleTheMusicAndItsLevels) {
  const auto S = MusicSamples();
  TMemoryStream Stream(MusicWave(S));
  Engine->PlayFromStream(&Stream);
  Engine->SetGlobalVolumes(50);
  Audio.Advance(100);
  std::uint32_t R = 0, L = 0;
  Engine->GetLevels(R, L);
  EXPECT_NEAR(L, 8192u, 20u);
  for (std::size_t I = 0; I < Audio.MusicOutput.size(); ++I)
    ASSERT_EQ(Audio.MusicOutput[I], static_cast<std::int16_t>(std::lrint(S[I] * 0.5f)));
  Engine->SetGlobalVolumes(-5);
  EXPECT_EQ(Audio.MusicVolume, 0);
  Engine->SetGlobalVolumes(500);
  EXPECT_EQ(Audio.MusicVolume, 100);
}

TEST_F(AudioEngineTest, EndIsReportedFiftyMillisecondsEarlyAndThePositionStays) {
  TMemoryStream Stream(MusicWave(MusicSamples()));
  Engine->PlayFromStream(&Stream);
  Audio.Advance(940);
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1002);
  Audio.Advance(10);
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1004);
  // Stopped: silence follows, the position stays where it was, so the
  // menu sees the piece at its end and starts it again.
  const std::size_t Before = Audio.MusicOutput.size();
  Audio.Advance(100);
  EXPECT_TRUE(std::all_of(Audio.MusicOutput.begin() + Before, Audio.MusicOutput.end(), [](std::int16_t V) { return V == 0; }));
  EXPECT_EQ(Engine->PositionMs(), 950);
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1004);
  Engine->PlayFromStream(&Stream);
  EXPECT_EQ(Engine->State(), 1002);
  EXPECT_EQ(Engine->PositionMs(), 0);
}

TEST_F(AudioEngineTest, PauseHoldsThePositionAndTheEndCheckRunsWhilePaused) {
  TMemoryStream Stream(MusicWave(MusicSamples()));
  Engine->PlayFromStream(&Stream);
  Audio.Advance(300);
  Engine->Pause();
  EXPECT_EQ(Engine->State(), 1003);
  Audio.Advance(300);
  EXPECT_EQ(Engine->PositionMs(), 300);
  std::uint32_t R = 1, L = 1;
  Engine->GetLevels(R, L);
  EXPECT_EQ(L, 0u);
  Engine->Resume();
  EXPECT_EQ(Engine->State(), 1002);
  Audio.Advance(660);
  Engine->Pause();
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1004);
}

TEST_F(AudioEngineTest, DataThatIsNoMusicLeavesStateButFreesThePreviousPiece) {
  TMemoryStream Stream(MusicWave(MusicSamples()));
  Engine->PlayFromStream(&Stream);
  Audio.Advance(100);
  TMemoryStream Junk(TBytes(5000, 0x5A));
  Engine->PlayFromStream(&Junk);
  EXPECT_EQ(Engine->State(), 1002);
  EXPECT_FALSE(Audio.LoadedKind);
  EXPECT_EQ(Engine->PositionMs(), 0);
  EXPECT_EQ(Engine->LengthMs(), 0);
  Engine->PlayFromStream(nullptr);
  EXPECT_EQ(Engine->State(), 1002);
  // With nothing loaded the end check finds the piece over.
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1004);
}

TEST_F(AudioEngineTest, TheEnginePlaysItsOwnCopyOfTheData) {
  const auto S = MusicSamples();
  auto Stream = std::make_unique<TMemoryStream>(MusicWave(S));
  Engine->PlayFromStream(Stream.get());
  std::fill(Stream->Data(), Stream->Data() + Stream->Size(), 0);
  Stream.reset();
  Audio.Advance(200);
  ASSERT_EQ(Audio.MusicOutput.size(), static_cast<std::size_t>(Rate / 5 * 2));
  EXPECT_TRUE(std::equal(Audio.MusicOutput.begin(), Audio.MusicOutput.end(), S.begin()));
}

TEST_F(AudioEngineTest, OggPiecesAreStreamsOfTheirTrueLength) {
  std::vector<float> Samples(Rate * 3 / 4 * 2);  // 750 ms of stereo
  for (std::size_t I = 0; I < Samples.size(); ++I) Samples[I] = static_cast<float>(0.3 * std::sin(I * 0.05));
  const TBytes Ogg = EncodeOggVorbis(Samples, 2, Rate);
  const auto Info = ReadOggVorbisInfo({Ogg.data(), Ogg.size()});
  ASSERT_TRUE(Info);
  EXPECT_EQ(Info->SampleRate, Rate);
  EXPECT_EQ(Info->Channels, 2);
  EXPECT_EQ(Info->Frames, Rate * 3 / 4);

  TMemoryStream Stream(Ogg);
  Engine->PlayFromStream(&Stream);
  EXPECT_EQ(Audio.LoadedKind, TMusicKind::Stream);
  EXPECT_EQ(Engine->LengthMs(), 750);
  EXPECT_FALSE(ReadOggVorbisInfo({Ogg.data(), 20}));
}

TEST_F(AudioEngineTest, ModulesAreTheFallbackAndAnUnknownLengthIsNotAnEnd) {
  TMemoryStream Stream(BuildModule(true));
  Engine->PlayFromStream(&Stream);
  EXPECT_EQ(Audio.LoadedKind, TMusicKind::Module);
  EXPECT_EQ(Engine->State(), 1002);
  EXPECT_EQ(Engine->LengthMs(), 0);
  EXPECT_EQ(Engine->LengthBytes(), -1);
  Audio.Advance(2000);
  Engine->CheckEnd();
  EXPECT_EQ(Engine->State(), 1002);
  EXPECT_EQ(Engine->PositionMs(), 2000);
  EXPECT_TRUE(Engine->Stop());
  EXPECT_EQ(Engine->State(), 1001);
}

TEST_F(AudioEngineTest, BufferLengthIsClamped) {
  Engine->SetBufferLength(100);
  EXPECT_DOUBLE_EQ(Audio.BufferLength, 0.15);
  Engine->SetBufferLength(5000);
  EXPECT_DOUBLE_EQ(Audio.BufferLength, 2.0);
  Engine->SetBufferLength(700);
  EXPECT_DOUBLE_EQ(Audio.BufferLength, 0.7);
}

// The settings read the output volume back in percent: both channels
// summed, shifted right by 9, times 100 / 255, rounded.
int VolumePercent(std::uint32_t LeftRight) {
  const std::uint32_t Sum = (LeftRight & 0xFFFF) + (LeftRight >> 16);
  return static_cast<int>(RoundHalfEven((Sum >> 9) * 100.0L / 255.0L));
}

TEST_F(AudioEngineTest, OutputVolumeReadsBackAsThePercentSet) {
  for (int P = 0; P <= 100; ++P) {
    Engine->SetVolume(P);
    ASSERT_EQ(VolumePercent(WaveOut.Volume), P) << P;
    ASSERT_EQ(WaveOut.Volume & 0xFFFF, WaveOut.Volume >> 16);
  }
  Engine->SetVolume(100);
  EXPECT_EQ(WaveOut.Volume, 0xFFFFFFFFu);
  Engine->SetVolume(150);
  EXPECT_EQ(WaveOut.Volume, 0xFFFFFFFFu);
  Engine->SetVolume(-3);
  EXPECT_EQ(WaveOut.Volume, 0u);
}

TEST_F(AudioEngineTest, FileFiltersNameStreamsTrackersAndPlaylists) {
  const std::string Engine_ =
      "mp1/mp2/mp3/wav/ogg/mod/s3m/it/umx/mo3/mtm/xm|*.mp1;*.mp2;*.mp3;*.wav;*.ogg;*.mod;*.s3m;*.it;*.umx;*.mo3;*.mtm;"
      "*.xm|Streams (mp1/mp2/mp3/wav/ogg)|*.mp1;*.mp2;*.mp3;*.wav;*.ogg|Trackers (mod/s3m/it/umx/mo3/mtm/xm)|*.mod;"
      "*.s3m;*.it;*.umx;*.mo3;*.mtm;*.xm";
  EXPECT_EQ(Engine->TAudioEngine::FileFilter(), Engine_);
  EXPECT_EQ(Engine->FileFilter(), Engine_ + "|Playlist (pls/m3u)|*.pls;*.m3u");
  const TAudioEngine& AsEngine = *Engine;
  EXPECT_EQ(AsEngine.FileFilter(), Engine_ + "|Playlist (pls/m3u)|*.pls;*.m3u");
  ASSERT_TRUE(Engine->Playlist);
  EXPECT_TRUE(Engine->Playlist->Files.empty());
}

TEST_F(AudioEngineTest, EqualizerGainsApplyToTheNextPiece) {
  // A 1 kHz tone through the 1 kHz band lifted by 6 dB.
  std::vector<std::int16_t> S;
  for (int I = 0; I < Rate; ++I) {
    const auto V = static_cast<std::int16_t>(std::lrint(4000 * std::sin(2 * 3.141592653589793 * 1000 * I / Rate)));
    S.push_back(V);
    S.push_back(V);
  }
  Engine->EqualizerGains[4] = 6;
  TMemoryStream Stream(MusicWave(S));
  Engine->PlayFromStream(&Stream);
  Audio.Advance(500);
  std::uint32_t R = 0, L = 0;
  Engine->GetLevels(R, L);
  EXPECT_NEAR(L, 4000 * 1.995, 40);
}

}  // namespace
