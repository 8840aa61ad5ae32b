#include "audio/TestSounds.h"
#include "audio/WavePlayer.h"
#include "platform/HeadlessAudio.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::span<const std::uint8_t> Span(const TBytes& B) { return {B.data(), B.size()}; }

TBytes Samples(int Count) { return Pcm16(Noise(Count, 3000, 7)); }

// ---------------------------------------------------------------- wave layout

TEST(WaveLayout, PcmWithSixteenByteFormatChunkStartsAtTheFirstSample) {
  const TBytes Data = Samples(100);
  const TBytes File = BuildWave({}, Data);
  const auto L = ReadWaveLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->DataStart, 44);  // 20 + 16, then the 8-byte "data" header
  EXPECT_EQ(L->DataEnd, 44 + 200);
  EXPECT_EQ(L->Format.FormatTag, 1);
  EXPECT_EQ(L->Format.Channels, 1);
  EXPECT_EQ(L->Format.SamplesPerSec, 22050u);
  EXPECT_EQ(L->Format.AvgBytesPerSec, 44100u);
  EXPECT_EQ(L->Format.BlockAlign, 2);
  EXPECT_EQ(L->Format.BitsPerSample, 16);
  EXPECT_TRUE(L->Format.Extra.empty());
  EXPECT_TRUE(std::equal(Data.begin(), Data.end(), File.begin() + L->DataStart));
}

TEST(WaveLayout, ChunksBeforeDataAreSkippedIncludingOddOnesWithTheirPadByte) {
  TWaveShape Shape;
  Shape.Before = {{"LIST", TBytes(26, 'x')}, {"junk", TBytes(5, 'y')}, {"fact", TBytes(4, 0)}};
  const TBytes Data = Samples(10);
  const TBytes File = BuildWave(Shape, Data);
  const auto L = ReadWaveLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->DataStart, 44 + (8 + 26) + (8 + 6) + (8 + 4));
  EXPECT_EQ(L->DataEnd - L->DataStart, 20);
  EXPECT_TRUE(std::equal(Data.begin(), Data.end(), File.begin() + L->DataStart));
}

TEST(WaveLayout, FilesWithoutDataOrNotWaveOrCutShortAreRejected) {
  TWaveShape NoData;
  NoData.WithData = false;
  NoData.Before = {{"LIST", TBytes(40, 'x')}};
  EXPECT_FALSE(ReadWaveLayout(Span(BuildWave(NoData, {}))));

  TWaveShape Avi;
  Avi.Form = "AVI ";
  EXPECT_FALSE(ReadWaveLayout(Span(BuildWave(Avi, Samples(10)))));

  const TBytes Full = BuildWave({}, Samples(10));
  EXPECT_FALSE(ReadWaveLayout(Span(TBytes(Full.begin(), Full.begin() + 37))));
  // The "data" header itself cut off.
  EXPECT_FALSE(ReadWaveLayout(Span(TBytes(Full.begin(), Full.begin() + 40))));
  EXPECT_FALSE(ReadWaveLayout({}));
}

TEST(WaveLayout, OtherFormatsCarryTheirExtraBytes) {
  TWaveShape Adpcm;
  Adpcm.FormatTag = 2;
  Adpcm.BitsPerSample = 4;
  Adpcm.Extra = {0xF4, 0x01, 7, 0, 1, 2, 3, 4};
  Adpcm.FormatSize = 18 + 8;
  const TBytes File = BuildWave(Adpcm, Samples(20));
  const auto L = ReadWaveLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->Format.FormatTag, 2);
  EXPECT_EQ(L->Format.Extra, Adpcm.Extra);
  EXPECT_EQ(L->DataStart, 20 + 26 + 8);

  // A float file with a bare 16-byte format chunk has no extra-size field:
  // the next chunk's tag must not be taken for one.
  TWaveShape Float;
  Float.FormatTag = 3;
  Float.BitsPerSample = 32;
  const auto F = ReadWaveLayout(Span(BuildWave(Float, Samples(20))));
  ASSERT_TRUE(F);
  EXPECT_TRUE(F->Format.Extra.empty());
  EXPECT_EQ(F->DataStart, 44);
}

TEST(WaveLayout, DataSizeBeyondTheFileEndsWithTheFile) {
  TWaveShape Shape;
  Shape.DeclaredDataSize = 0xFFFFFFFFll;
  const TBytes File = BuildWave(Shape, Samples(50));
  const auto L = ReadWaveLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->DataEnd, static_cast<std::int64_t>(File.size()));
}

// ---------------------------------------------------------------- MPEG layout

TBytes WithHeaderAt(std::size_t Offset, std::size_t Size, std::uint8_t B1, std::uint8_t B2, std::uint8_t B3) {
  TBytes File(Size, 0x11);
  File[Offset] = 0xFF;
  File[Offset + 1] = B1;
  File[Offset + 2] = B2;
  File[Offset + 3] = B3;
  return File;
}

TEST(MpegLayout, FirstFrameHeaderIsDescribedAsMpeg1Layer3) {
  // 128 kbit/s, 44,100 Hz, no padding, joint stereo.
  const TBytes File = WithHeaderAt(100, 1000, 0xFB, 0x90, 0x44);
  const auto L = ReadMpegLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->DataStart, 100);
  EXPECT_EQ(L->DataEnd, 1000);
  const TWaveFormat& W = L->Format;
  EXPECT_EQ(W.FormatTag, 85);
  EXPECT_EQ(W.Channels, 2);
  EXPECT_EQ(W.SamplesPerSec, 44100u);
  EXPECT_EQ(W.AvgBytesPerSec, 16000u);
  EXPECT_EQ(W.BlockAlign, 1);
  EXPECT_EQ(W.BitsPerSample, 0);
  // Identifier 1, flags 2 (no padding), block size 16000 * 1152 / 44100 =
  // 417, one frame per block, codec delay 1393.
  EXPECT_EQ(W.Extra, (std::vector<std::uint8_t>{1, 0, 2, 0, 0, 0, 0xA1, 0x01, 1, 0, 0x71, 0x05}));
}

TEST(MpegLayout, MonoPaddedFortyEightKilohertz) {
  // 64 kbit/s (index 5), 48,000 Hz (index 1), padding, single channel.
  const TBytes File = WithHeaderAt(0, 64, 0xFB, 0x56, 0xC0);
  const auto L = ReadMpegLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->Format.Channels, 1);
  EXPECT_EQ(L->Format.SamplesPerSec, 48000u);
  EXPECT_EQ(L->Format.AvgBytesPerSec, 8000u);
  EXPECT_EQ(L->Format.Extra[2], 1);      // padding on
  EXPECT_EQ(L->Format.Extra[6], 192);    // 8000 * 1152 / 48000
}

TEST(MpegLayout, ScanCrossesBlockBoundariesAndSkipsPairsWithoutALayer) {
  // 0xFF 0xF0 has no layer bits and is passed over.
  TBytes File = WithHeaderAt(4094, 9000, 0xFB, 0x90, 0x44);
  File[10] = 0xFF;
  File[11] = 0xF0;
  const auto L = ReadMpegLayout(Span(File));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->DataStart, 4094);
}

TEST(MpegLayout, NoUsableHeaderMeansFailure) {
  EXPECT_FALSE(ReadMpegLayout(Span(TBytes(5000, 0x11))));
  // Reserved sample-rate index.
  EXPECT_FALSE(ReadMpegLayout(Span(WithHeaderAt(10, 100, 0xFB, 0x9C, 0x44))));
  // A header cut off by the end of the file.
  TBytes Cut(10, 0);
  Cut[8] = 0xFF;
  Cut[9] = 0xFB;
  EXPECT_FALSE(ReadMpegLayout(Span(Cut)));
  // The wave layout comes first; the MPEG scan is the fallback.
  TWaveShape Avi;
  Avi.Form = "AVI ";
  TBytes NotWave = BuildWave(Avi, TBytes(100, 0));
  EXPECT_FALSE(ReadSoundLayout(Span(NotWave)));
  NotWave.insert(NotWave.end(), {0xFF, 0xFB, 0x90, 0x44});
  const auto L = ReadSoundLayout(Span(NotWave));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->Format.FormatTag, 85);
}

// ---------------------------------------------------------------- the player

class WavePlayerTest : public ::testing::Test {
protected:
  void SetUp() override { Old = SetAudioHandler(&Audio); }
  void TearDown() override { SetAudioHandler(Old); }

  // A player over a sound of Frames frames (22,050 Hz mono 16-bit unless Shape says otherwise).
  std::unique_ptr<TWavePlayer> MakePlayer(int Frames, TWaveShape Shape = {}) {
    Streams.push_back(std::make_unique<TMemoryStream>(BuildWave(Shape, Pcm16(Noise(Frames * Shape.Channels, 2000, 3)))));
    auto P = std::make_unique<TWavePlayer>();
    P->Stream = Streams.back().get();
    return P;
  }

  THeadlessAudio Audio;
  IAudio* Old = nullptr;
  std::vector<std::unique_ptr<TMemoryStream>> Streams;
};

TEST_F(WavePlayerTest, PlayHandsTheSamplesToTheirOwnChannel) {
  auto P = MakePlayer(2205);  // 100 ms
  EXPECT_EQ(P->State(), 0);
  ASSERT_TRUE(P->Play());
  EXPECT_EQ(P->State(), 1);
  EXPECT_EQ(P->BufferSize(), 689);  // 1/64 s of 22,050 Hz 16-bit mono
  ASSERT_EQ(Audio.Sounds().size(), 1u);
  const auto& S = Audio.Sounds()[0];
  EXPECT_FALSE(S.Loop);
  EXPECT_EQ(S.Format.SamplesPerSec, 22050u);
  const TBytes& File = P->Stream->Bytes();
  EXPECT_EQ(S.Data, TBytes(File.begin() + 44, File.end()));

  TWaveShape Stereo;
  Stereo.Channels = 2;
  Stereo.SamplesPerSec = 44100;
  auto Q = MakePlayer(100, Stereo);
  ASSERT_TRUE(Q->Play());
  EXPECT_EQ(Q->BufferSize(), 2756);
  EXPECT_EQ(Audio.Sounds().size(), 2u);  // each sound on its own channel
}

TEST_F(WavePlayerTest, PlayWhilePlayingChangesNothingAndOneShotReturnsToStopped) {
  auto P = MakePlayer(2205);
  ASSERT_TRUE(P->Play());
  const TSoundId First = Audio.Sounds()[0].Id;
  Audio.Advance(50);
  EXPECT_FALSE(P->Play());
  EXPECT_EQ(Audio.PlayCount, 1);
  ASSERT_EQ(Audio.Sounds().size(), 1u);
  EXPECT_EQ(Audio.Sounds()[0].Id, First);
  EXPECT_EQ(Audio.Sounds()[0].PlayedMs, 50);

  Audio.Advance(60);
  // Played out: the notice is taken in and the channel given back.
  EXPECT_EQ(P->State(), 0);
  EXPECT_TRUE(Audio.Sounds().empty());
  // The next start begins from the top on a fresh channel.
  ASSERT_TRUE(P->Play());
  EXPECT_NE(Audio.Sounds()[0].Id, First);
  EXPECT_EQ(Audio.Sounds()[0].PlayedMs, 0);
}

TEST_F(WavePlayerTest, PlayRestartsASoundWhoseEndNoticeIsStillPending) {
  auto P = MakePlayer(2205);
  ASSERT_TRUE(P->Play());
  Audio.Advance(200);  // ended on the mixer; nobody has polled yet
  EXPECT_TRUE(P->Play());
  EXPECT_EQ(P->State(), 1);
  EXPECT_EQ(Audio.Sounds().size(), 1u);
}

TEST_F(WavePlayerTest, LoopingSoundPlaysUntilHalted) {
  auto P = MakePlayer(441);  // 20 ms
  P->Looping = true;
  ASSERT_TRUE(P->Play());
  EXPECT_TRUE(Audio.Sounds()[0].Loop);
  for (int I = 0; I < 100; ++I) {
    Audio.Advance(30);
    Audio.Poll();
  }
  EXPECT_EQ(P->State(), 1);
  EXPECT_EQ(Audio.Sounds().size(), 1u);
  EXPECT_TRUE(P->Halt());
  EXPECT_EQ(P->State(), 0);
  EXPECT_TRUE(Audio.Sounds().empty());
  // Nothing left to halt.
  EXPECT_FALSE(P->Halt());
}

TEST_F(WavePlayerTest, PauseHoldsTheSoundAndPlayOrToggleResumesIt) {
  auto P = MakePlayer(2205);
  EXPECT_FALSE(P->TogglePause());  // stopped
  ASSERT_TRUE(P->Play());
  ASSERT_TRUE(P->TogglePause());
  EXPECT_EQ(P->State(), 2);
  Audio.Advance(500);
  EXPECT_EQ(P->State(), 2);
  EXPECT_EQ(Audio.Sounds()[0].PlayedMs, 0);
  ASSERT_TRUE(P->TogglePause());
  EXPECT_EQ(P->State(), 1);
  ASSERT_TRUE(P->TogglePause());
  const TSoundId Id = Audio.Sounds()[0].Id;
  ASSERT_TRUE(P->Play());  // resumes, does not restart
  EXPECT_EQ(P->State(), 1);
  EXPECT_EQ(Audio.Sounds()[0].Id, Id);
  // Halt from paused.
  EXPECT_TRUE(P->TogglePause());
  EXPECT_TRUE(P->Halt());
  EXPECT_EQ(P->State(), 0);
}

TEST_F(WavePlayerTest, StopEndsPlaybackAndReportsWhetherThereWasOne) {
  auto P = MakePlayer(2205);
  EXPECT_FALSE(P->Stop());
  ASSERT_TRUE(P->Play());
  EXPECT_TRUE(P->Stop());
  EXPECT_EQ(P->State(), 0);
  EXPECT_TRUE(Audio.Sounds().empty());

  // Destroying a playing player frees its channel.
  ASSERT_TRUE(P->Play());
  P.reset();
  EXPECT_TRUE(Audio.Sounds().empty());
  Audio.Advance(1000);
  Audio.Poll();  // no notice reaches the destroyed player
}

TEST_F(WavePlayerTest, MissingOrUnplayableStreamsFailQuietly) {
  TWavePlayer Absent;
  EXPECT_FALSE(Absent.Play());
  EXPECT_EQ(Absent.State(), 0);

  TMemoryStream Empty;
  Absent.Stream = &Empty;
  EXPECT_FALSE(Absent.Play());

  TWaveShape NoData;
  NoData.WithData = false;
  TMemoryStream Headless(BuildWave(NoData, {}));
  Absent.Stream = &Headless;
  EXPECT_FALSE(Absent.Play());

  // A data chunk without samples: nothing would ever come back.
  TMemoryStream Silent(BuildWave({}, {}));
  Absent.Stream = &Silent;
  EXPECT_FALSE(Absent.Play());

  // A format without a block size.
  TWaveShape Broken;
  Broken.Channels = 0;
  TMemoryStream Zero(BuildWave(Broken, Samples(10)));
  Absent.Stream = &Zero;
  EXPECT_FALSE(Absent.Play());
  EXPECT_EQ(Absent.State(), 0);
  EXPECT_TRUE(Audio.Sounds().empty());
  EXPECT_EQ(Audio.PlayCount, 0);

  // A device that refuses.
  auto P = MakePlayer(100);
  Audio.FailNextPlay = true;
  EXPECT_FALSE(P->Play());
  EXPECT_EQ(P->State(), 0);
  EXPECT_TRUE(P->Play());
}

TEST_F(WavePlayerTest, SoundShorterThanOneBufferPlaysOnceAndEnds) {
  auto P = MakePlayer(50);  // 100 bytes, below the 689-byte buffer
  ASSERT_TRUE(P->Play());
  EXPECT_LT(Audio.Sounds()[0].Data.size(), static_cast<std::size_t>(P->BufferSize()));
  EXPECT_EQ(Audio.Sounds()[0].Data.size(), 100u);
  Audio.Advance(3);
  EXPECT_EQ(P->State(), 0);
}

// A mixer whose halted sounds still report their end later, the way a
// device's late buffer-done notices would.
class TLateNoticeAudio : public THeadlessAudio {
public:
  bool HaltSound(TSoundId Id) override {
    for (const TSound& S : Sounds())
      if (S.Id == Id) Late.emplace_back(S.Listener, Id);
    return THeadlessAudio::HaltSound(Id);
  }
  void Poll() override {
    auto Pending = std::move(Late);
    Late.clear();
    for (auto [Listener, Id] : Pending) Listener->OnSoundFinished(Id);
    THeadlessAudio::Poll();
  }
  std::vector<std::pair<ISoundListener*, TSoundId>> Late;
};

TEST(WavePlayerLateNotice, ANoticeOfAHaltedPlaybackNeverTouchesTheNextOne) {
  TLateNoticeAudio Audio;
  IAudio* Old = SetAudioHandler(&Audio);
  TMemoryStream Stream(BuildWave({}, Samples(22050)));
  TWavePlayer P;
  P.Stream = &Stream;
  P.Looping = true;
  ASSERT_TRUE(P.Play());
  ASSERT_TRUE(P.Halt());
  ASSERT_TRUE(P.Play());
  ASSERT_EQ(Audio.Late.size(), 1u);
  Audio.Poll();
  EXPECT_EQ(P.State(), 1);
  EXPECT_EQ(Audio.Sounds().size(), 1u);
  // And a late notice after a halt leaves the player stopped, not restarted.
  ASSERT_TRUE(P.Halt());
  Audio.Poll();
  EXPECT_EQ(P.State(), 0);
  EXPECT_TRUE(Audio.Sounds().empty());
  SetAudioHandler(Old);
}

}  // namespace
