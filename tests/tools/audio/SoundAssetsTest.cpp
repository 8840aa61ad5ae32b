// The finished sounds: file formats as the game's players read them, loop
// seams, levels, lengths and determinism.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

#include "AudioAssets.h"
#include "AudioEncode.h"

using namespace PakAudio;

namespace {

std::uint32_t Le32(const TAudioBytes& B, std::size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (static_cast<std::uint32_t>(B[At + 3]) << 24);
}
std::uint16_t Le16(const TAudioBytes& B, std::size_t At) { return static_cast<std::uint16_t>(B[At] | (B[At + 1] << 8)); }
std::string Tag(const TAudioBytes& B, std::size_t At) { return std::string(B.begin() + At, B.begin() + At + 4); }

struct TWavInfo {
  int Channels = 0, Rate = 0, Bits = 0;
  std::vector<std::int16_t> Samples;
};

// Reads a WAV the way the game's effect player does: WAVE form, the format
// record after "fmt ", chunks skipped by size up to "data".
TWavInfo ReadWav(const TAudioBytes& B) {
  TWavInfo W;
  EXPECT_GE(B.size(), 44u);
  EXPECT_EQ(Tag(B, 0), "RIFF");
  EXPECT_EQ(Le32(B, 4), B.size() - 8);
  EXPECT_EQ(Tag(B, 8), "WAVE");
  EXPECT_EQ(Tag(B, 12), "fmt ");
  const std::uint32_t FmtSize = Le32(B, 16);
  EXPECT_EQ(FmtSize, 16u);
  EXPECT_EQ(Le16(B, 20), 1);  // PCM
  W.Channels = Le16(B, 22);
  W.Rate = static_cast<int>(Le32(B, 24));
  const std::uint32_t BytesPerSecond = Le32(B, 28);
  const std::uint16_t BlockAlign = Le16(B, 32);
  W.Bits = Le16(B, 34);
  EXPECT_EQ(BlockAlign, W.Channels * W.Bits / 8);
  EXPECT_EQ(BytesPerSecond, static_cast<std::uint32_t>(W.Rate) * BlockAlign);
  std::size_t Pos = 20 + FmtSize;
  while (Pos + 8 <= B.size() && Tag(B, Pos) != "data") Pos += 8 + Le32(B, Pos + 4);
  EXPECT_LE(Pos + 8, B.size()) << "no data chunk";
  if (Pos + 8 > B.size()) return W;
  const std::uint32_t Size = Le32(B, Pos + 4);
  EXPECT_EQ(Pos + 8 + Size, B.size());
  for (std::size_t i = Pos + 8; i + 1 < Pos + 8 + Size; i += 2) W.Samples.push_back(static_cast<std::int16_t>(Le16(B, i)));
  return W;
}

// Sample-to-sample steps of a signal, sorted, for percentiles.
std::vector<int> SortedSteps(const std::vector<std::int16_t>& X) {
  std::vector<int> Steps;
  for (std::size_t i = 1; i < X.size(); ++i) Steps.push_back(std::abs(X[i] - X[i - 1]));
  std::sort(Steps.begin(), Steps.end());
  return Steps;
}

struct TDecoded {
  int Channels = 0;
  long Rate = 0;
  long long Frames = 0;
  TStereo Pcm;
};

struct TMemoryFile {
  const TAudioBytes* Data;
  std::size_t Pos = 0;
};

std::size_t MemRead(void* Ptr, std::size_t Size, std::size_t Count, void* Source) {
  auto* F = static_cast<TMemoryFile*>(Source);
  const std::size_t Bytes = std::min(Size * Count, F->Data->size() - F->Pos);
  std::memcpy(Ptr, F->Data->data() + F->Pos, Bytes);
  F->Pos += Bytes;
  return Size ? Bytes / Size : 0;
}
int MemSeek(void* Source, ogg_int64_t Offset, int Whence) {
  auto* F = static_cast<TMemoryFile*>(Source);
  long long Base = Whence == SEEK_SET ? 0 : Whence == SEEK_CUR ? static_cast<long long>(F->Pos) : static_cast<long long>(F->Data->size());
  const long long To = Base + Offset;
  if (To < 0 || To > static_cast<long long>(F->Data->size())) return -1;
  F->Pos = static_cast<std::size_t>(To);
  return 0;
}
long MemTell(void* Source) { return static_cast<long>(static_cast<TMemoryFile*>(Source)->Pos); }

TDecoded DecodeOgg(const TAudioBytes& Bytes) {
  TDecoded D;
  TMemoryFile File{&Bytes};
  OggVorbis_File Vf;
  const ov_callbacks Callbacks{MemRead, MemSeek, nullptr, MemTell};
  if (ov_open_callbacks(&File, &Vf, nullptr, 0, Callbacks) != 0) {
    ADD_FAILURE() << "not an Ogg Vorbis stream";
    return D;
  }
  const vorbis_info* Info = ov_info(&Vf, -1);
  D.Channels = Info->channels;
  D.Rate = Info->rate;
  D.Frames = ov_pcm_total(&Vf, -1);
  int Section = 0;
  for (;;) {
    float** Pcm = nullptr;
    const long Got = ov_read_float(&Vf, &Pcm, 4096, &Section);
    if (Got <= 0) {
      EXPECT_EQ(Got, 0) << "decoding error";
      break;
    }
    D.Pcm.L.insert(D.Pcm.L.end(), Pcm[0], Pcm[0] + Got);
    D.Pcm.R.insert(D.Pcm.R.end(), Pcm[D.Channels > 1 ? 1 : 0], Pcm[D.Channels > 1 ? 1 : 0] + Got);
  }
  ov_clear(&Vf);
  return D;
}

const TMusicAsset& Piece(const std::string& Name) {
  for (const TMusicAsset& M : MusicPieces())
    if (M.Name == Name) return M;
  throw std::runtime_error("no piece " + Name);
}

// Frames in one pass of the menu theme's loop: whole bars on its grid.
std::size_t MenuLoopFrames() {
  const std::size_t FramesPerBeat = static_cast<std::size_t>(std::llround(SampleRate * 60.0 / MenuThemeBpm));
  return static_cast<std::size_t>(MenuThemeBars) * 4 * FramesPerBeat;
}

}  // namespace

TEST(PakAudioAssets, ProvidesExactlyTheGamesSoundEntries) {
  const std::set<std::string> Expected = {
      "player_draw.wav",  "player_run.wav",   "player_explosion.wav", "player_warp.wav",
      "player_vanish.wav", "item_heart.wav",  "item_speed.wav",       "item_dollar.wav",
      "fill.wav",         "menu_tick.wav",    "menu_choose.wav",      "menu_scroll.wav",
      "menu_scroll_rest.wav", "menu_foldin.wav", "menu_foldout.wav",  "menu_error.wav",
      "vyrn_menu.ogg",    "level_ended.ogg",  "game_ended.ogg",       "quillon_logo.ogg",
  };
  std::multiset<std::string> Names;
  for (const TEffectAsset& E : SoundEffects()) Names.insert(E.Name);
  for (const TMusicAsset& M : MusicPieces()) Names.insert(M.Name);
  EXPECT_EQ(Names, std::multiset<std::string>(Expected.begin(), Expected.end()));
  // The game loops exactly these three effects, and restarts the menu theme.
  std::set<std::string> Loops;
  for (const TEffectAsset& E : SoundEffects())
    if (E.Loops) Loops.insert(E.Name);
  EXPECT_EQ(Loops, (std::set<std::string>{"player_draw.wav", "player_run.wav", "menu_scroll.wav"}));
  for (const TMusicAsset& M : MusicPieces()) EXPECT_EQ(M.Loops, M.Name == "vyrn_menu.ogg") << M.Name;
}

TEST(PakAudioAssets, EffectsAreMono16BitPcmThatNeverClips) {
  for (const TEffectAsset& E : SoundEffects()) {
    SCOPED_TRACE(E.Name);
    const TWavInfo W = ReadWav(EncodeEffect(E));
    EXPECT_EQ(W.Channels, 1);
    EXPECT_TRUE(W.Rate == 22050 || W.Rate == 44100);
    EXPECT_EQ(W.Bits, 16);
    const double Seconds = static_cast<double>(W.Samples.size()) / W.Rate;
    EXPECT_GE(Seconds, 0.03);
    EXPECT_LE(Seconds, 2.0);
    int Peak = 0;
    for (std::int16_t S : W.Samples) Peak = std::max(Peak, std::abs(static_cast<int>(S)));
    EXPECT_LT(Peak, 32000);  // headroom: not clipped, not at full scale
    EXPECT_GT(Peak, 3000);   // and not near silence
    // No DC offset: it would thump at every start and halt.
    double Mean = 0.0;
    for (std::int16_t S : W.Samples) Mean += S;
    EXPECT_LT(std::fabs(Mean / static_cast<double>(W.Samples.size())), 100.0);
  }
}

TEST(PakAudioAssets, OneShotEffectsStartAndEndAtSilence) {
  for (const TEffectAsset& E : SoundEffects()) {
    if (E.Loops) continue;
    SCOPED_TRACE(E.Name);
    const std::vector<std::int16_t> X = ToPcm16(E.Render());
    ASSERT_GT(X.size(), 200u);
    EXPECT_LE(std::abs(X.front()), 1);
    EXPECT_LE(std::abs(X.back()), 1);
    // The last few milliseconds taper off rather than stop mid-swing.
    const std::size_t Tail = SecondsToFrames(0.003);
    for (std::size_t i = X.size() - Tail; i < X.size(); ++i) EXPECT_LT(std::abs(X[i]), 2000) << i;
  }
}

TEST(PakAudioAssets, LoopingEffectsJoinTheirStartWithoutAClick) {
  for (const TEffectAsset& E : SoundEffects()) {
    if (!E.Loops) continue;
    SCOPED_TRACE(E.Name);
    const std::vector<std::int16_t> X = ToPcm16(E.Render());
    ASSERT_GT(X.size(), 1000u);
    // The jump from the last sample back to the first, and the bend there,
    // are no bigger than the steps and bends the sound makes anyway (their
    // 99th percentiles): a click would stand out far above both.
    const std::vector<int> Steps = SortedSteps(X);
    const int Typical = std::max(4, Steps[Steps.size() * 99 / 100]);
    const std::size_t N = X.size();
    EXPECT_LE(std::abs(X[0] - X[N - 1]), Typical);
    std::vector<int> Bends;
    for (std::size_t i = 1; i + 1 < N; ++i) Bends.push_back(std::abs(X[i + 1] - 2 * X[i] + X[i - 1]));
    std::sort(Bends.begin(), Bends.end());
    const int TypicalBend = std::max(4, Bends[Bends.size() * 99 / 100]);
    EXPECT_LE(std::abs(X[1] - 2 * X[0] + X[N - 1]), TypicalBend);
    EXPECT_LE(std::abs(X[0] - 2 * X[N - 1] + X[N - 2]), TypicalBend);
  }
}

TEST(PakAudioAssets, EffectsAreDeterministic) {
  for (const TEffectAsset& E : SoundEffects()) {
    SCOPED_TRACE(E.Name);
    EXPECT_EQ(EncodeEffect(E), EncodeEffect(E));
  }
}

TEST(PakAudioAssets, JinglesDecodeAsStereo44kVorbisOfTheRightLength) {
  const std::map<std::string, std::pair<double, double>> Lengths = {
      {"level_ended.ogg", {3.0, 6.0}},
      {"game_ended.ogg", {3.0, 6.0}},
      {"quillon_logo.ogg", {3.0, 5.0}},
  };
  for (const auto& [Name, Range] : Lengths) {
    SCOPED_TRACE(Name);
    const TDecoded D = DecodeOgg(EncodeMusic(Piece(Name)));
    EXPECT_EQ(D.Channels, 2);
    EXPECT_EQ(D.Rate, 44100);
    EXPECT_EQ(static_cast<long long>(D.Pcm.Size()), D.Frames);
    const double Seconds = static_cast<double>(D.Frames) / D.Rate;
    EXPECT_GE(Seconds, Range.first);
    EXPECT_LE(Seconds, Range.second);
    // Lossy coding may overshoot a little, but nothing near clipping.
    EXPECT_LT(Peak(D.Pcm), 0.98f);
    EXPECT_GT(Rms(D.Pcm.L), 0.02);
  }
}

TEST(PakAudioAssets, JinglesFadeOutBeforeTheEngineCutsTheirEnd) {
  // The music engine reports the end 50 ms early and cuts the rest: the last
  // 100 ms must already be near silence, and the start must not jump in.
  for (TStereo (*Render)() : {RenderLevelEnded, RenderGameEnded, RenderLogoJingle}) {
    const TStereo J = Render();
    ASSERT_GT(J.Size(), SecondsToFrames(3.0));
    EXPECT_LE(Peak(J), 0.9f);
    const std::size_t Tail = SecondsToFrames(0.1);
    TMono End(J.L.end() - Tail, J.L.end());
    EXPECT_LT(Rms(End), 0.01);
    EXPECT_EQ(J.L.back(), 0.0f);
    EXPECT_EQ(J.L.front(), 0.0f);
    EXPECT_EQ(J.R.front(), 0.0f);
  }
}

TEST(PakAudioAssets, MenuThemeIsAMinuteLongLoopThatRestartsSeamlessly) {
  // One render and encode for all the theme's checks: it is the slow one.
  const TDecoded D = DecodeOgg(EncodeMusic(Piece("vyrn_menu.ogg")));
  EXPECT_EQ(D.Channels, 2);
  EXPECT_EQ(D.Rate, 44100);
  EXPECT_LT(Peak(D.Pcm), 0.98f);
  const TStereo& T = D.Pcm;
  const std::size_t N = MenuLoopFrames();
  EXPECT_GE(static_cast<double>(N) / SampleRate, 60.0);
  // The file is the loop plus a short copy of its start, so that the
  // engine's early cut (about 100 ms before the end) lands on the loop point.
  ASSERT_GT(T.Size(), N + SecondsToFrames(0.05));
  EXPECT_LE(T.Size(), N + SecondsToFrames(0.15));
  double Diff = 0.0, Energy = 0.0;
  for (std::size_t i = 0; i + N < T.Size(); ++i) {
    Diff += std::pow(T.L[N + i] - T.L[i], 2.0);
    Energy += std::pow(T.L[i], 2.0);
  }
  EXPECT_LT(Diff, 0.05 * Energy);
  // Seam: the step from the loop's last frame to its first is like any other.
  for (const TMono* Ch : {&T.L, &T.R}) {
    const std::vector<std::int16_t> X = ToPcm16(TMono(Ch->begin(), Ch->begin() + N));
    const std::vector<int> Steps = SortedSteps(X);
    EXPECT_LE(std::abs(X.front() - X.back()), Steps[Steps.size() * 999 / 1000]);
  }
  // Never drops out: every bar carries sound.
  const std::size_t Bar = N / MenuThemeBars;
  for (int b = 0; b < MenuThemeBars; ++b) {
    TMono Part(T.L.begin() + b * Bar, T.L.begin() + (b + 1) * Bar);
    EXPECT_GT(Rms(Part), 0.02) << "bar " << b;
  }
}

TEST(PakAudioAssets, OggEncodingIsDeterministicAndFaithful) {
  const TStereo J = RenderGameEnded();
  const TAudioBytes A = EncodeOgg(J, 0.4f), B = EncodeOgg(J, 0.4f);
  EXPECT_EQ(A, B);
  const TDecoded D = DecodeOgg(A);
  ASSERT_EQ(D.Pcm.Size(), J.Size());
  double Diff = 0.0, Energy = 0.0;
  for (std::size_t i = 0; i < J.Size(); ++i) {
    Diff += std::pow(D.Pcm.L[i] - J.L[i], 2.0) + std::pow(D.Pcm.R[i] - J.R[i], 2.0);
    Energy += std::pow(J.L[i], 2.0) + std::pow(J.R[i], 2.0);
  }
  EXPECT_LT(Diff, 0.01 * Energy);  // better than -20 dB of coding noise
}
