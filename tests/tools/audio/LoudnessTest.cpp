// The loudness meter against the broadcast standard's own reference values,
// and the effects' balance and cleanliness as measured with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "AudioAssets.h"
#include "AudioEncode.h"
#include "Loudness.h"

using namespace PakAudio;

namespace {

// A sine of the given amplitude, whole cycles not required.
TMono Tone(double Freq, double Amplitude, double Seconds, int Rate = SampleRate) {
  TMono Out(static_cast<std::size_t>(std::llround(Seconds * Rate)));
  for (std::size_t i = 0; i < Out.size(); ++i)
    Out[i] = static_cast<float>(Amplitude * std::sin(TwoPi * Freq * static_cast<double>(i) / Rate));
  return Out;
}

// A 997 Hz sine of peak amplitude A reads -3.01 + 20 log10(A) LUFS: the
// standard's calibration point (full scale on one channel is -3.01).
double ToneAmplitudeForLufs(double Lufs) { return std::pow(10.0, (Lufs + 3.01) / 20.0); }

TMono Concat(std::initializer_list<TMono> Parts) {
  TMono Out;
  for (const TMono& P : Parts) Out.insert(Out.end(), P.begin(), P.end());
  return Out;
}

// The effect as the game reads it: 16-bit samples back to floats.
TMono AsPlayed(const TEffectAsset& E) {
  const std::vector<std::int16_t> Pcm = ToPcm16(E.Render());
  TMono Out(Pcm.size());
  for (std::size_t i = 0; i < Pcm.size(); ++i) Out[i] = static_cast<float>(Pcm[i] / 32767.0);
  return Out;
}

}  // namespace

TEST(Loudness, KWeightingAt48kHasThePublishedCoefficients) {
  const TKWeighting K = KWeighting(48000);
  EXPECT_NEAR(K.Shelf.B0, 1.53512485958697, 1e-9);
  EXPECT_NEAR(K.Shelf.B1, -2.69169618940638, 1e-9);
  EXPECT_NEAR(K.Shelf.B2, 1.19839281085285, 1e-9);
  EXPECT_NEAR(K.Shelf.A1, -1.69065929318241, 1e-9);
  EXPECT_NEAR(K.Shelf.A2, 0.73248077421585, 1e-9);
  EXPECT_EQ(K.HighPass.B0, 1.0);
  EXPECT_EQ(K.HighPass.B1, -2.0);
  EXPECT_EQ(K.HighPass.B2, 1.0);
  EXPECT_NEAR(K.HighPass.A1, -1.99004745483398, 1e-8);
  EXPECT_NEAR(K.HighPass.A2, 0.99007225036621, 1e-8);
}

TEST(Loudness, FullScaleSineReadsMinus3LufsAtEitherRateAndTheWeightingLeansUp) {
  for (int Rate : {44100, 48000}) {
    SCOPED_TRACE(Rate);
    EXPECT_NEAR(IntegratedLoudness(Tone(997.0, 1.0, 5.0, Rate), Rate), -3.01, 0.02);
    EXPECT_NEAR(IntegratedLoudness(Tone(997.0, 0.1, 5.0, Rate), Rate), -23.01, 0.02);
    EXPECT_NEAR(MaxMomentaryLoudness(Tone(997.0, 0.1, 5.0, Rate), Rate), -23.01, 0.02);
  }
  // The shelf adds about 4 dB at the top, against about 0.7 dB at 1 kHz;
  // the high pass all but ignores deep rumble.
  const double At1k = IntegratedLoudness(Tone(997.0, 0.1, 3.0));
  const double At10k = IntegratedLoudness(Tone(10000.0, 0.1, 3.0));
  const double At20 = IntegratedLoudness(Tone(20.0, 0.1, 3.0));
  EXPECT_GT(At10k - At1k, 2.8);
  EXPECT_LT(At10k - At1k, 3.8);
  EXPECT_LT(At20, At1k - 10.0);
}

TEST(Loudness, GatesDropSilenceAndPassagesFarBelowTheRest) {
  // Levels as the standard's gating tests use them: -72 is under the
  // absolute gate, -36 is 13 LU under the programme and falls to the
  // relative gate, so only the -23 passage counts.
  const TMono Gated = Concat({Tone(997.0, ToneAmplitudeForLufs(-72.0), 2.0), Tone(997.0, ToneAmplitudeForLufs(-36.0), 2.0),
                              Tone(997.0, ToneAmplitudeForLufs(-23.0), 30.0), Tone(997.0, ToneAmplitudeForLufs(-36.0), 2.0),
                              Tone(997.0, ToneAmplitudeForLufs(-72.0), 2.0)});
  EXPECT_NEAR(IntegratedLoudness(Gated), -23.0, 0.1);
  // Passages within 10 LU of each other all count, as a power mean.
  const TMono Both = Concat({Tone(997.0, ToneAmplitudeForLufs(-23.0), 10.0), Tone(997.0, ToneAmplitudeForLufs(-28.0), 10.0)});
  const double Expected = 10.0 * std::log10((std::pow(10.0, -2.3) + std::pow(10.0, -2.8)) / 2.0);
  EXPECT_NEAR(IntegratedLoudness(Both), Expected, 0.1);
  // Silence, and anything shorter than one block, has no integrated loudness.
  EXPECT_EQ(IntegratedLoudness(TMono(SampleRate, 0.0f)), -INFINITY);
  EXPECT_EQ(IntegratedLoudness(Tone(997.0, 0.5, 0.3)), -INFINITY);
}

TEST(Loudness, ShortOneShotsArePaddedToABlockAndShortLoopsRepeated) {
  const double Held = IntegratedLoudness(Tone(1000.0, 0.1, 3.0));
  // 100 ms in a 400 ms block: a quarter of the energy, 6 LU down.
  EXPECT_NEAR(EffectLoudness(Tone(1000.0, 0.1, 0.1), false), Held - 6.02, 0.05);
  // A 200 ms loop of whole cycles sounds like the held tone.
  EXPECT_NEAR(EffectLoudness(Tone(1000.0, 0.1, 0.2), true), Held, 0.05);
  // Long one-shots are measured as they are.
  EXPECT_NEAR(EffectLoudness(Tone(1000.0, 0.1, 3.0), false), Held, 1e-9);
}

TEST(EffectBalance, DeathIsLoudestThenRewardsThenTheRestAndPeaksStayUnderMinus1Dbfs) {
  // From loud to quiet; every sound in a tier is louder than every sound in
  // the tiers after it.
  const std::vector<std::set<std::string>> Tiers = {
      {"player_explosion.wav"},
      {"item_heart.wav", "item_speed.wav", "item_dollar.wav", "fill.wav"},
      {"player_warp.wav", "player_vanish.wav", "menu_choose.wav", "menu_error.wav", "menu_foldin.wav",
       "menu_foldout.wav", "player_draw.wav"},
      {"menu_tick.wav", "menu_scroll.wav", "menu_scroll_rest.wav", "player_run.wav"},
  };
  std::map<std::string, double> Lufs, Momentary;
  const int PeakLimit = static_cast<int>(32767.0 * std::pow(10.0, -1.0 / 20.0));
  for (const TEffectAsset& E : SoundEffects()) {
    SCOPED_TRACE(E.Name);
    const TMono X = AsPlayed(E);
    Lufs[E.Name] = EffectLoudness(X, E.Loops);
    Momentary[E.Name] = MaxMomentaryLoudness(E.Loops ? Concat({X, X, X}) : Concat({X, TMono(SampleRate / 2, 0.0f)}));
    EXPECT_LT(Peak(X) * 32767.0f, PeakLimit);
    EXPECT_GT(Lufs[E.Name], -35.0);  // still heard
  }
  std::size_t Listed = 0;
  for (std::size_t T = 0; T < Tiers.size(); ++T) {
    Listed += Tiers[T].size();
    for (const std::string& Loud : Tiers[T])
      for (std::size_t U = T + 1; U < Tiers.size(); ++U)
        for (const std::string& Quiet : Tiers[U]) EXPECT_GT(Lufs.at(Loud), Lufs.at(Quiet)) << Loud << " vs " << Quiet;
  }
  EXPECT_EQ(Listed, Lufs.size());
  // The death stands clear of everything else, also at its loudest moment.
  for (const auto& [Name, Level] : Lufs) {
    if (Name == "player_explosion.wav") continue;
    EXPECT_GE(Lufs.at("player_explosion.wav") - Level, 3.0) << Name;
    EXPECT_GT(Momentary.at("player_explosion.wav"), Momentary.at(Name)) << Name;
  }
  // A refusal is plainly louder than a tick, but not a shout over it.
  const double ErrorOverTick = Lufs.at("menu_error.wav") - Lufs.at("menu_tick.wav");
  EXPECT_GE(ErrorOverTick, 3.0);
  EXPECT_LE(ErrorOverTick, 10.0);
}

TEST(EffectBalance, NoEffectHasIsolatedClicks) {
  // A click is a jump between neighbouring samples far larger than the sound
  // around it. Steady band-limited sound cannot jump much more than about
  // 3.5 times its RMS (uniform white noise at most 2 sqrt 3; a sine below
  // 11 kHz under 2.3), so the largest jump over the RMS of the surrounding
  // 10 ms must stay under 4.5. Loops are read around their seam.
  const std::size_t Half = SecondsToFrames(0.005);
  constexpr double QuietFloor = 16.0;  // LSBs: rounding dither in silence is no click
  for (const TEffectAsset& E : SoundEffects()) {
    SCOPED_TRACE(E.Name);
    const std::vector<std::int16_t> X = ToPcm16(E.Render());
    const std::size_t N = X.size();
    ASSERT_GT(N, 2 * Half);
    auto At = [&](long long i) -> double {
      if (E.Loops) return X[static_cast<std::size_t>(((i % static_cast<long long>(N)) + N) % N)];
      return i < 0 || i >= static_cast<long long>(N) ? 0.0 : X[static_cast<std::size_t>(i)];
    };
    // Running sum of squares over the window [i - Half, i + Half).
    double Sum = 0.0;
    for (long long k = -static_cast<long long>(Half); k < static_cast<long long>(Half); ++k) Sum += At(k) * At(k);
    double Worst = 0.0;
    std::size_t WorstAt = 0;
    for (std::size_t i = 0; i < N; ++i) {
      if (i > 0) {
        const long long In = static_cast<long long>(i + Half) - 1, Out = static_cast<long long>(i) - static_cast<long long>(Half) - 1;
        Sum += At(In) * At(In) - At(Out) * At(Out);
      }
      if (!E.Loops && i == 0) continue;
      const double Rms = std::sqrt(std::max(0.0, Sum) / static_cast<double>(2 * Half));
      const double Jump = std::fabs(At(static_cast<long long>(i)) - At(static_cast<long long>(i) - 1));
      const double Ratio = Jump / std::max(Rms, QuietFloor);
      if (Ratio > Worst) {
        Worst = Ratio;
        WorstAt = i;
      }
    }
    EXPECT_LT(Worst, 4.5) << "at " << static_cast<double>(WorstAt) / SampleRate << " s";
  }
}
