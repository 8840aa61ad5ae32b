// The SDL2_mixer output under SDL's "disk" audio driver, which writes the
// mixed output as raw 16-bit stereo to a file: what the player would hear.
#include "audio/AudioObject.h"
#include "audio/TestSounds.h"
#include "audio/WavePlayer.h"
#include "platform/OggVorbisSource.h"
#include "platform/sdl/SdlAudio.h"
#include "persist/TestFolder.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

namespace {

namespace fs = std::filesystem;
constexpr int Rate = 44100;

class SdlAudioTest : public ::testing::Test {
protected:
  void SetUp() override {
    char Template[] = "/tmp/vyrn-audio-XXXXXX";
    ASSERT_NE(mkdtemp(Template), nullptr);
    Dir = Template;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (Dir / "out.raw").c_str(), 1);
    Open();
  }
  void TearDown() override {
    Close();
    std::error_code Ignored;
    fs::remove_all(Dir, Ignored);
  }

  void Open() {
    TSdlAudio::TOptions Options;
    Options.VolumeFile = (Dir / "volume.dat").string();
    Audio = std::make_unique<TSdlAudio>(Options);
    ASSERT_TRUE(Audio->IsOpen());
    SetAudioHandler(Audio.get());
    SetWaveOutHandler(Audio.get());
  }
  // Closing the device flushes the output file.
  void Close() { Audio.reset(); }

  std::vector<std::int16_t> Output() const {
    std::ifstream In(Dir / "out.raw", std::ios::binary);
    std::vector<char> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> S(Bytes.size() / 2);
    std::memcpy(S.data(), Bytes.data(), S.size() * 2);
    return S;
  }

  std::uintmax_t OutputBytes() const {
    std::error_code Ignored;
    const auto Size = fs::file_size(Dir / "out.raw", Ignored);
    return Ignored ? 0 : Size;
  }

  // Polls the way the main loop does until Done holds or Ms pass.
  bool WaitUntil(const std::function<bool()>& Done, int Ms) {
    for (int Waited = 0; Waited < Ms; Waited += 5) {
      Audio->Poll();
      if (Done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Done();
  }
  void Wait(int Ms) {
    WaitUntil([] { return false; }, Ms);
  }

  static TBytes StereoWave(const std::vector<std::int16_t>& S) {
    TWaveShape Shape;
    Shape.Channels = 2;
    Shape.SamplesPerSec = Rate;
    return BuildWave(Shape, Pcm16(S));
  }

  static std::size_t CountOccurrences(const std::vector<std::int16_t>& Out, const std::vector<std::int16_t>& Part) {
    std::size_t N = 0;
    for (auto It = Out.begin(); (It = std::search(It, Out.end(), Part.begin(), Part.end())) != Out.end(); It += Part.size()) ++N;
    return N;
  }

  fs::path Dir;
  std::unique_ptr<TSdlAudio> Audio;
};

class TRecordingListener : public ISoundListener {
public:
  void OnSoundFinished(TSoundId Id) override { Finished.push_back(Id); }
  std::vector<TSoundId> Finished;
};

TEST_F(SdlAudioTest, WaveSamplesReachTheOutputUnchanged) {
  const auto Noise_ = Noise(Rate * 3 / 10 * 2, 12000, 99);  // 300 ms of stereo noise
  TMemoryStream Stream(StereoWave(Noise_));
  TWavePlayer P;
  P.Stream = &Stream;
  ASSERT_TRUE(P.Play());
  EXPECT_EQ(P.State(), 1);
  ASSERT_TRUE(WaitUntil([&] { return P.State() == 0; }, 3000));
  EXPECT_EQ(Audio->BusySoundChannels(), 0);
  Close();
  EXPECT_EQ(CountOccurrences(Output(), Noise_), 1u);
}

TEST_F(SdlAudioTest, AFillLikeSoundAt22KilohertzMonoIsConvertedAndPlayed) {
  const auto Tone = Sine(440, 10000, 22050 * 3 / 10, 22050, 1);
  TMemoryStream Stream(BuildWave({}, Pcm16(Tone)));
  TWavePlayer Fill;
  Fill.Stream = &Stream;
  ASSERT_TRUE(Fill.Play());
  ASSERT_TRUE(WaitUntil([&] { return Fill.State() == 0; }, 3000));
  Close();
  const auto Out = Output();
  std::size_t Loud = 0;
  int Peak = 0;
  for (std::size_t I = 0; I + 1 < Out.size(); I += 2) {
    ASSERT_EQ(Out[I], Out[I + 1]) << "mono plays on both sides";
    Peak = std::max(Peak, std::abs(int(Out[I])));
    if (std::abs(Out[I]) > 3000) ++Loud;
  }
  EXPECT_NEAR(Peak, 10000, 500);
  // Above 0.3 of the peak about 80 % of a sine's time: 0.3 s at 44,100 Hz.
  EXPECT_NEAR(double(Loud), 0.3 * Rate * 0.8, 0.3 * Rate * 0.05);
}

TEST_F(SdlAudioTest, AnOggPieceIsDecodedPlayedMeasuredAndEndedEarly) {
  std::vector<float> Samples;
  for (int I = 0; I < Rate / 2; ++I) {
    const float V = static_cast<float>(0.5 * std::sin(2 * 3.141592653589793 * 1000 * I / Rate));
    Samples.push_back(V);
    Samples.push_back(V);
  }
  const TBytes Ogg = EncodeOggVorbis(Samples, 2, Rate);
  TAudioObject Engine(0);
  {
    // The caller's stream may go at once: the engine plays its own copy.
    TMemoryStream Stream(Ogg);
    Engine.PlayFromStream(&Stream);
  }
  ASSERT_EQ(Engine.State(), 1002);
  EXPECT_EQ(Engine.LengthMs(), 500);
  std::uint32_t MaxLeft = 0;
  std::uint32_t MaxRight = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::uint32_t R = 0, L = 0;
        Engine.GetLevels(R, L);
        MaxLeft = std::max(MaxLeft, L);
        MaxRight = std::max(MaxRight, R);
        Engine.CheckEnd();
        return Engine.State() == 1004;
      },
      3000));
  EXPECT_GE(Engine.PositionMs(), 450);
  EXPECT_NEAR(MaxLeft, 16384, 1600);
  EXPECT_NEAR(MaxRight, 16384, 1600);
  Close();

  const auto Out = Output();
  // The tone: left samples above a quarter of full scale, their peak and
  // their rate of sign changes.
  std::size_t First = Out.size(), Last = 0;
  int Peak = 0;
  for (std::size_t I = 0; I < Out.size(); I += 2)
    if (std::abs(Out[I]) > 8000) {
      First = std::min(First, I / 2);
      Last = I / 2;
      Peak = std::max(Peak, std::abs(int(Out[I])));
    }
  ASSERT_LT(First, Last);
  EXPECT_NEAR(Peak, 16384, 1600);
  // Cut once 450 ms had been mixed, so never played to its very end (what
  // the mixer had taken before the stop still sounds).
  EXPECT_GE(double(Last - First), 0.44 * Rate);
  EXPECT_LT(double(Last - First), 0.5 * Rate);
  int Crossings = 0;
  for (std::size_t F = First + 1; F <= Last; ++F)
    if ((Out[2 * F - 2] < 0) != (Out[2 * F] < 0)) ++Crossings;
  const double Frequency = Crossings / 2.0 / (double(Last - First) / Rate);
  EXPECT_NEAR(Frequency, 1000, 20);
}

TEST_F(SdlAudioTest, ALoopedSoundKeepsPlayingUntilHaltedAndThenIsSilent) {
  const auto Part = Noise(Rate / 20 * 2, 9000, 5);  // 50 ms
  TMemoryStream Stream(StereoWave(Part));
  TWavePlayer Run;
  Run.Stream = &Stream;
  Run.Looping = true;
  ASSERT_TRUE(Run.Play());
  Wait(600);
  EXPECT_EQ(Run.State(), 1);
  EXPECT_FALSE(Run.Play());
  EXPECT_TRUE(Run.Halt());
  EXPECT_EQ(Run.State(), 0);
  // Let the device write at least 200 ms more.
  const auto Size = OutputBytes();
  ASSERT_TRUE(WaitUntil([&] { return OutputBytes() >= Size + Rate / 5 * 4; }, 5000));
  EXPECT_EQ(Run.State(), 0);
  EXPECT_EQ(Audio->BusySoundChannels(), 0);
  Close();

  const auto Out = Output();
  EXPECT_GE(CountOccurrences(Out, Part), 4u);
  // After the halt: silence to the end, nothing restarted the sound.
  auto LastLoud = std::find_if(Out.rbegin(), Out.rend(), [](std::int16_t V) { return V != 0; });
  ASSERT_NE(LastLoud, Out.rend());
  const std::size_t SilentTail = static_cast<std::size_t>(LastLoud - Out.rbegin()) / 2;
  EXPECT_GT(SilentTail, static_cast<std::size_t>(Rate / 10));
}

// A seamless loop of whole cycles entered mid-wave, as the marker's run and
// draw loops are: its first sample sits far from zero.
std::vector<std::int16_t> MidWaveLoop(int Frequency, double Amplitude, double Phase) {
  const int Frames = Rate / 10;  // 100 ms: whole cycles of any multiple of 10 Hz
  std::vector<std::int16_t> S;
  for (int I = 0; I < Frames; ++I) {
    const auto V = static_cast<std::int16_t>(
        std::lrint(Amplitude * std::sin(2 * 3.141592653589793 * Frequency * I / Rate + Phase)));
    S.push_back(V);
    S.push_back(V);
  }
  return S;
}

// How the handovers between two loops sound: the largest step between
// neighbouring samples set against the largest step within 5 to 20 ms on
// either side, and the longest run of digital silence inside the output.
struct TSwitchSound {
  double WorstJumpRatio = 0;
  std::size_t LongestSilence = 0;
};

TSwitchSound MeasureSwitches(const std::vector<std::int16_t>& Out) {
  std::vector<int> Left;
  for (std::size_t I = 0; I < Out.size(); I += 2) Left.push_back(Out[I]);
  std::vector<int> Step(Left.size(), 0);
  for (std::size_t I = 1; I < Left.size(); ++I) Step[I] = std::abs(Left[I] - Left[I - 1]);
  const auto First = std::find_if(Left.begin(), Left.end(), [](int V) { return V != 0; }) - Left.begin();
  const auto Last = Left.rend() - std::find_if(Left.rbegin(), Left.rend(), [](int V) { return V != 0; });
  TSwitchSound R;
  const std::ptrdiff_t Near = Rate * 5 / 1000;
  const std::ptrdiff_t Far = Rate * 20 / 1000;
  std::size_t Zeros = 0;
  for (std::ptrdiff_t I = First; I < Last; ++I) {
    Zeros = Left[static_cast<std::size_t>(I)] == 0 ? Zeros + 1 : 0;
    R.LongestSilence = std::max(R.LongestSilence, Zeros);
    int Around = 1;
    for (std::ptrdiff_t J = std::max<std::ptrdiff_t>(1, I - Far); J < std::min<std::ptrdiff_t>(Step.size(), I + Far); ++J)
      if (std::abs(J - I) >= Near) Around = std::max(Around, Step[static_cast<std::size_t>(J)]);
    R.WorstJumpRatio = std::max(R.WorstJumpRatio, double(Step[static_cast<std::size_t>(I)]) / Around);
  }
  return R;
}

TEST_F(SdlAudioTest, RunAndDrawLoopsHandOverWithoutAClickOrAGap) {
  // Steps of at most 5000 * 2 pi * 440 / 44100 = 313 and 6000 * 2 pi * 250 /
  // 44100 = 214 within each loop; a cut from mid-wave is ten times that.
  TMemoryStream RunData(StereoWave(MidWaveLoop(440, 5000, 0.9)));
  TMemoryStream DrawData(StereoWave(MidWaveLoop(250, 6000, 2.2)));
  TWavePlayer Run, Draw;
  Run.Stream = &RunData;
  Draw.Stream = &DrawData;
  Run.Looping = Draw.Looping = true;

  // As the marker does: it runs, starts drawing, closes its trail and runs
  // on, starts again, and stops.
  ASSERT_TRUE(Run.Play());
  for (int Switch = 0; Switch < 6; ++Switch) {
    Wait(130 + 17 * Switch);
    TWavePlayer& From = Switch % 2 ? Draw : Run;
    TWavePlayer& To = Switch % 2 ? Run : Draw;
    ASSERT_TRUE(From.Halt());
    ASSERT_TRUE(To.Play());
  }
  Wait(150);
  EXPECT_TRUE(Run.Halt());
  const auto Size = OutputBytes();
  ASSERT_TRUE(WaitUntil([&] { return OutputBytes() >= Size + Rate / 10 * 4; }, 5000));
  EXPECT_EQ(Audio->BusySoundChannels(), 0);
  Close();

  const auto Out = Output();
  const TSwitchSound S = MeasureSwitches(Out);
  // Exact zero crossings fall on single samples; 2 ms is no crossing.
  EXPECT_LT(S.LongestSilence, static_cast<std::size_t>(Rate * 2 / 1000)) << "frames of silence";
  EXPECT_LT(S.WorstJumpRatio, 1.5) << "the largest step against its neighbourhood's";
  // Both loops were heard, and the start and the final stop were faded too.
  const auto Peak = std::abs(*std::max_element(Out.begin(), Out.end(), [](int A, int B) { return std::abs(A) < std::abs(B); }));
  EXPECT_GT(Peak, 5500);
}

TEST_F(SdlAudioTest, AHaltedSoundNeverReportsItsEndAndChannelsAreReused) {
  TRecordingListener Listener;
  TWaveFormat Format;
  Format.FormatTag = 1;
  Format.Channels = 2;
  Format.SamplesPerSec = Rate;
  Format.AvgBytesPerSec = Rate * 4;
  Format.BlockAlign = 4;
  Format.BitsPerSample = 16;
  const TBytes Short = Pcm16(Noise(Rate / 50 * 2, 5000, 1));  // 20 ms
  const TBytes Long = Pcm16(Noise(Rate * 2, 5000, 2));

  const TSoundId A = Audio->PlaySound(Format, Short, false, &Listener);
  ASSERT_NE(A, 0u);
  // Let the mixer play it out without polling: its end is pending.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(Audio->BusySoundChannels(), 1);
  EXPECT_TRUE(Audio->HaltSound(A));
  const TSoundId B = Audio->PlaySound(Format, Long, true, &Listener);
  ASSERT_NE(B, 0u);
  Wait(100);
  EXPECT_TRUE(Listener.Finished.empty());
  EXPECT_TRUE(Audio->IsSoundPlaying(B));
  EXPECT_FALSE(Audio->IsSoundPlaying(A));
  EXPECT_FALSE(Audio->HaltSound(A));
  EXPECT_TRUE(Audio->HaltSound(B));

  const TSoundId C = Audio->PlaySound(Format, Short, false, &Listener);
  ASSERT_TRUE(WaitUntil([&] { return !Listener.Finished.empty(); }, 2000));
  Wait(100);
  EXPECT_EQ(Listener.Finished, std::vector<TSoundId>{C});
  EXPECT_EQ(Audio->BusySoundChannels(), 0);
}

TEST_F(SdlAudioTest, EverySoundGetsAChannelOfItsOwn) {
  std::vector<std::unique_ptr<TMemoryStream>> Streams;
  std::vector<std::unique_ptr<TWavePlayer>> Players;
  for (int I = 0; I < 40; ++I) {
    Streams.push_back(std::make_unique<TMemoryStream>(StereoWave(Noise(Rate / 10 * 2, 200, I))));
    Players.push_back(std::make_unique<TWavePlayer>());
    Players.back()->Stream = Streams.back().get();
    Players.back()->Looping = true;
    ASSERT_TRUE(Players.back()->Play()) << I;
  }
  EXPECT_EQ(Audio->BusySoundChannels(), 40);
  Wait(50);
  for (auto& P : Players) EXPECT_EQ(P->State(), 1);
  // Pausing one holds it without touching the others.
  EXPECT_TRUE(Players[3]->TogglePause());
  EXPECT_EQ(Players[3]->State(), 2);
  EXPECT_EQ(Players[4]->State(), 1);
  Players.clear();
  EXPECT_EQ(Audio->BusySoundChannels(), 0);
}

TEST_F(SdlAudioTest, OutputVolumeScalesTheWholeMixAndSurvivesARestart) {
  TAudioObject Engine(0);
  Engine.SetVolume(50);  // 128 * 257 = 32896 each side
  std::uint32_t Volume = 0;
  ASSERT_TRUE(CurrentWaveOut().GetVolume(IWaveOut::WaveMapper, Volume));
  EXPECT_EQ(Volume, 32896u | (32896u << 16));
  {
    std::ifstream In(Dir / "volume.dat");
    std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Text, "32896 32896\n");
  }
  EXPECT_FALSE(fs::exists(Dir / "volume.dat.tmp"));

  const auto Part = Noise(Rate / 5 * 2, 20000, 11);
  TMemoryStream Stream(StereoWave(Part));
  TWavePlayer P;
  P.Stream = &Stream;
  ASSERT_TRUE(P.Play());
  ASSERT_TRUE(WaitUntil([&] { return P.State() == 0; }, 3000));
  Close();
  std::vector<std::int16_t> Scaled;
  for (std::int16_t S : Part) Scaled.push_back(static_cast<std::int16_t>(std::lrint(S * (32896.0f / 65535.0f))));
  EXPECT_EQ(CountOccurrences(Output(), Scaled), 1u);

  // A restart finds the volume again; the settings read it through the
  // wave-out interface.
  Open();
  ASSERT_TRUE(CurrentWaveOut().GetVolume(0, Volume));
  EXPECT_EQ(Volume, 32896u | (32896u << 16));
  const IWaveOut* Closed = Audio.get();
  Close();
  // The closed output is no longer the one the game talks to.
  EXPECT_NE(&CurrentWaveOut(), Closed);
  EXPECT_NE(static_cast<const void*>(&CurrentAudio()), static_cast<const void*>(Closed));
  std::ofstream(Dir / "volume.dat") << "loud please";
  Open();
  ASSERT_TRUE(CurrentWaveOut().GetVolume(0, Volume));
  EXPECT_EQ(Volume, 0xFFFFFFFFu);
}

TEST_F(SdlAudioTest, ALinkPlantedAtTheOldTemporaryNameIsNotWrittenThrough) {
  std::ofstream(Dir / "victim") << "precious";
  fs::create_symlink(Dir / "victim", Dir / "volume.dat.tmp");
  std::uint32_t Volume = 0;
  EXPECT_TRUE(Audio->SetVolume(0, 0x00020002));
  ASSERT_TRUE(Audio->GetVolume(IWaveOut::WaveMapper, Volume));
  EXPECT_EQ(Volume, 0x00020002u);
  std::ifstream Victim(Dir / "victim"), Saved(Dir / "volume.dat");
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(Victim)), std::istreambuf_iterator<char>()), "precious");
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(Saved)), std::istreambuf_iterator<char>()), "2 2\n");
}

TEST_F(SdlAudioTest, AVolumeFileThatCannotBeWrittenLeavesTheOldOneAndTheVolumeApplies) {
  std::ofstream(Dir / "volume.dat") << "1000 2000\n";
  Close();
  Open();
  std::uint32_t Volume = 0;
  ASSERT_TRUE(Audio->GetVolume(0, Volume));
  EXPECT_EQ(Volume, 1000u | (2000u << 16));
  // The disk is full, as far as this process can tell: the write fails.
  {
    TNoFileGrowth Full;
    EXPECT_TRUE(Audio->SetVolume(0, 0x00010001));
  }
  ASSERT_TRUE(Audio->GetVolume(IWaveOut::WaveMapper, Volume));
  EXPECT_EQ(Volume, 0x00010001u);
  std::ifstream In(Dir / "volume.dat");
  std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  EXPECT_EQ(Text, "1000 2000\n");
  EXPECT_FALSE(Audio->GetVolume(3, Volume));
}

TEST_F(SdlAudioTest, DataThatIsNoMusicIsRefusedAndModulesAreTheFallback) {
  const TBytes Junk(5000, 0x5A);
  EXPECT_FALSE(Audio->LoadMusic(Junk, TMusicKind::Stream));
  EXPECT_FALSE(Audio->LoadMusic(Junk, TMusicKind::Module));
  TAudioObject Engine(0);
  TMemoryStream JunkStream(Junk);
  Engine.PlayFromStream(&JunkStream);
  EXPECT_EQ(Engine.State(), 1001);

  TMemoryStream Module(BuildModule(true));
  Engine.PlayFromStream(&Module);
  ASSERT_EQ(Engine.State(), 1002);
  EXPECT_GT(Engine.LengthMs(), 5000);
  ASSERT_TRUE(WaitUntil([&] { return Engine.PositionMs() >= 300; }, 3000));
  Engine.CheckEnd();
  EXPECT_EQ(Engine.State(), 1002);
  Engine.Pause();
  const auto Held = Engine.PositionMs();
  Wait(200);
  EXPECT_EQ(Engine.PositionMs(), Held);
  EXPECT_TRUE(Engine.Stop());
  EXPECT_EQ(Engine.State(), 1001);
}

TEST_F(SdlAudioTest, PausedMusicHoldsItsPositionAndReplayingReusesTheDecodedPiece) {
  // A wave piece is decoded whole by the library, and kept for a replay.
  const auto Wave = [](int Frames, double Frequency) {
    TWaveShape Shape;
    Shape.Channels = 2;
    Shape.SamplesPerSec = Rate;
    return BuildWave(Shape, Pcm16(Sine(Frequency, 3000, Frames, Rate, 2)));
  };
  TAudioObject Engine(0);
  TMemoryStream Stream(Wave(Rate * 2, 440));
  Engine.PlayFromStream(&Stream);
  EXPECT_EQ(Audio->DecodeCount(), 1);
  ASSERT_TRUE(WaitUntil([&] { return Engine.PositionMs() >= 200; }, 3000));
  Engine.Pause();
  EXPECT_EQ(Engine.State(), 1003);
  const auto Held = Engine.PositionMs();
  Wait(200);
  EXPECT_EQ(Engine.PositionMs(), Held);
  std::uint32_t R = 1, L = 1;
  Engine.GetLevels(R, L);
  EXPECT_EQ(L, 0u);
  Engine.Resume();
  EXPECT_TRUE(WaitUntil([&] { return Engine.PositionMs() > Held; }, 3000));

  // Started again from the same bytes: no second decode.
  Engine.PlayFromStream(&Stream);
  EXPECT_EQ(Audio->DecodeCount(), 1);
  EXPECT_LT(Engine.PositionMs(), 100);
  EXPECT_EQ(Engine.LengthMs(), 2000);
  TMemoryStream Other(Wave(Rate, 660));
  Engine.PlayFromStream(&Other);
  EXPECT_EQ(Audio->DecodeCount(), 2);
  EXPECT_EQ(Engine.LengthMs(), 1000);

  // Freed for a while (a game runs): nothing is kept, the piece is read anew.
  Engine.Free();
  EXPECT_EQ(Engine.State(), 1001);
  EXPECT_EQ(Engine.LengthMs(), 0);
  Engine.PlayFromStream(&Other);
  EXPECT_EQ(Audio->DecodeCount(), 3);
  EXPECT_EQ(Engine.LengthMs(), 1000);
}

// Interleaved float samples of a chord whose partials move, so that every
// block of the piece differs from the others.
std::vector<float> Chord(int Frames, int Channels, int SampleRate) {
  std::vector<float> S;
  for (int I = 0; I < Frames; ++I) {
    const double T = double(I) / SampleRate;
    for (int C = 0; C < Channels; ++C)
      S.push_back(static_cast<float>(0.3 * std::sin(2 * 3.141592653589793 * (220 + 30 * C + 40 * T) * T) +
                                     0.2 * std::sin(2 * 3.141592653589793 * 331 * T + C)));
  }
  return S;
}

// What the library makes of the piece when it decodes it whole, converted
// to the output's 16-bit stereo.
std::vector<std::int16_t> DecodedWhole(const TBytes& Ogg) {
  Mix_Chunk* Chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(Ogg.data(), static_cast<int>(Ogg.size())), 1);
  if (!Chunk) return {};
  const auto* From = reinterpret_cast<const std::int16_t*>(Chunk->abuf);
  std::vector<std::int16_t> S(From, From + Chunk->alen / 2);
  Mix_FreeChunk(Chunk);
  return S;
}

std::vector<std::int16_t> ReadAll(TOggVorbisSource& Source, int Step) {
  std::vector<std::int16_t> S;
  std::vector<std::int16_t> Block(static_cast<std::size_t>(Step) * 2);
  for (;;) {
    const int Got = Source.Read(Block.data(), Step);
    S.insert(S.end(), Block.begin(), Block.begin() + Got * 2);
    if (Got < Step) return S;
  }
}

TEST_F(SdlAudioTest, AnOggPieceStreamsTheVerySamplesTheLibraryDecodesWhole) {
  for (const int Channels : {2, 1}) {
    SCOPED_TRACE(Channels);
    const TBytes Ogg = EncodeOggVorbis(Chord(Rate * 13 / 10, Channels, Rate), Channels, Rate);
    const std::vector<std::int16_t> Whole = DecodedWhole(Ogg);
    ASSERT_FALSE(Whole.empty());
    auto Source = TOggVorbisSource::Open(Ogg, Rate);
    ASSERT_NE(Source, nullptr);
    EXPECT_EQ(Source->Frames() * 2, static_cast<std::int64_t>(Whole.size()));
    // Odd block sizes cross the decoder's own packets everywhere. Mono is
    // spread over both channels; the library goes through floats for that,
    // which may round a sample one step the other way.
    const auto Streamed = ReadAll(*Source, 333);
    ASSERT_EQ(Streamed.size(), Whole.size());
    if (Channels == 2) {
      EXPECT_EQ(Streamed, Whole);
    }
    int Worst = 0;
    for (std::size_t I = 0; I < Whole.size(); ++I) Worst = std::max(Worst, std::abs(Streamed[I] - Whole[I]));
    EXPECT_LE(Worst, 1);
    for (std::size_t I = 0; Channels == 1 && I < Streamed.size(); I += 2) {
      ASSERT_EQ(Streamed[I], Streamed[I + 1]);
    }
    EXPECT_EQ(Source->Read(std::vector<std::int16_t>(64).data(), 32), 0);
    Source->Rewind();
    EXPECT_EQ(ReadAll(*Source, 4096), Streamed);
  }
}

TEST_F(SdlAudioTest, OggPiecesTheStreamCannotPlayAreDecodedWholeOrRefused) {
  // Another rate: converted by the library, decoded whole.
  const TBytes Slow = EncodeOggVorbis(Chord(22050, 2, 22050), 2, 22050);
  EXPECT_EQ(TOggVorbisSource::Open(Slow, Rate), nullptr);
  ASSERT_TRUE(Audio->LoadMusic(Slow, TMusicKind::Stream));
  EXPECT_EQ(Audio->DecodeCount(), 1);
  EXPECT_NEAR(static_cast<double>(Audio->MusicLengthFrames()), Rate, 64);

  // Streamed at the output rate: never decoded whole.
  const TBytes Ogg = EncodeOggVorbis(Chord(Rate / 2, 2, Rate), 2, Rate);
  ASSERT_TRUE(Audio->LoadMusic(Ogg, TMusicKind::Stream));
  EXPECT_EQ(Audio->DecodeCount(), 1);
  EXPECT_EQ(Audio->MusicLengthFrames(), Rate / 2);

  // Only the first pages: whatever opens reads no further than its data,
  // and the piece still plays to its stated end.
  for (const std::size_t Kept : {Ogg.size() / 2, Ogg.size() / 8, std::size_t{40}}) {
    SCOPED_TRACE(Kept);
    const TBytes Cut(Ogg.begin(), Ogg.begin() + static_cast<std::ptrdiff_t>(Kept));
    if (auto Source = TOggVorbisSource::Open(Cut, Rate)) ReadAll(*Source, 1000);
    if (!Audio->LoadMusic(Cut, TMusicKind::Stream)) continue;
    ASSERT_TRUE(Audio->PlayMusic());
    const std::int64_t Length = Audio->MusicLengthFrames();
    EXPECT_TRUE(WaitUntil([&] { return Audio->MusicPositionFrames() >= Length; }, 3000));
  }
  TBytes Junk = Ogg;
  std::fill(Junk.begin() + 4, Junk.end(), std::uint8_t{0x5A});
  EXPECT_EQ(TOggVorbisSource::Open(Junk, Rate), nullptr);
  EXPECT_FALSE(Audio->LoadMusic(Junk, TMusicKind::Stream));
  Audio->FreeMusic();
}

}  // namespace
