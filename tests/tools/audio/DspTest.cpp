#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Dsp.h"

using namespace PakAudio;

namespace {
// Upward zero crossings per second of a one-second buffer.
int UpwardCrossings(const TMono& X) {
  int Count = 0;
  for (std::size_t i = 1; i < X.size(); ++i)
    if (X[i - 1] < 0.0f && X[i] >= 0.0f) ++Count;
  return Count;
}

TMono Tone(double Freq, std::size_t Frames) {
  TMono Out(Frames);
  TOsc Osc;
  for (float& V : Out) V = static_cast<float>(Osc.Next(TWave::Sine, Freq));
  return Out;
}
}  // namespace

TEST(PakAudioDsp, NotePitchesFollowEqualTemperamentFromA440) {
  EXPECT_DOUBLE_EQ(MidiToHz(69), 440.0);
  EXPECT_DOUBLE_EQ(MidiToHz(57), 220.0);
  EXPECT_NEAR(MidiToHz(60), 261.6256, 1e-3);
  EXPECT_NEAR(MidiToHz(76), 659.2551, 1e-3);
  EXPECT_NEAR(DbToGain(-6.0206), 0.5, 1e-4);
}

TEST(PakAudioDsp, OscillatorsRunAtTheirFrequencyAndStayBounded) {
  for (TWave Wave : {TWave::Sine, TWave::Saw, TWave::Square, TWave::Triangle}) {
    for (double Freq : {110.0, 441.0, 3000.0}) {
      TOsc Osc;
      TMono X(SampleRate);
      for (float& V : X) V = static_cast<float>(Osc.Next(Wave, Freq, 0.5) + 1e-9);
      // A saw crosses upward once per cycle mid-ramp, every other shape likewise.
      EXPECT_NEAR(UpwardCrossings(X), Freq, 2.0) << static_cast<int>(Wave) << " at " << Freq;
      EXPECT_LE(Peak(X), 1.3f) << static_cast<int>(Wave) << " at " << Freq;
    }
  }
}

TEST(PakAudioDsp, BandLimitedSawFoldsFarLessEnergyBelowItsFundamentalThanANaiveOne) {
  // Every harmonic of a 3001 Hz saw lies at or above 3001 Hz; whatever shows
  // up below 1500 Hz has folded back from above the Nyquist frequency.
  auto FoldedShare = [](bool Corrected) {
    TOsc Osc;
    double Phase = 0.0;
    TMono X(SampleRate);
    for (float& V : X) {
      V = static_cast<float>(Corrected ? Osc.Next(TWave::Saw, 3001.0) : 2.0 * Phase - 1.0);
      Phase += 3001.0 / SampleRate;
      Phase -= std::floor(Phase);
    }
    TSvf Low[4];
    for (TSvf& F : Low) F.Set(1500.0, 0.0);
    TMono Folded(X.size());
    for (std::size_t i = 0; i < X.size(); ++i) {
      double V = X[i];
      for (TSvf& F : Low) V = F.Low(V);
      Folded[i] = static_cast<float>(V);
    }
    return Rms(Folded) / Rms(X);
  };
  EXPECT_LT(FoldedShare(true), 0.4 * FoldedShare(false));
}

TEST(PakAudioDsp, AdsrRisesHoldsAndReleasesToSilence) {
  TAdsr Env(0.01, 0.1, 0.5, 0.2);
  double Level = 0.0;
  for (std::size_t i = 0; i < SecondsToFrames(0.01); ++i) Level = Env.Next();
  EXPECT_NEAR(Level, 1.0, 0.01);
  for (std::size_t i = 0; i < SecondsToFrames(0.5); ++i) Level = Env.Next();
  EXPECT_NEAR(Level, 0.5, 0.01);
  Env.NoteOff();
  std::size_t Frames = 0;
  double Previous = Level;
  while (!Env.Finished() && Frames < SecondsToFrames(1.0)) {
    Level = Env.Next();
    EXPECT_LE(Level, Previous);
    Previous = Level;
    ++Frames;
  }
  EXPECT_TRUE(Env.Finished());
  EXPECT_EQ(Env.Next(), 0.0);
  // -40 dB after the release time, silence soon after.
  EXPECT_GT(Frames, SecondsToFrames(0.2));
  EXPECT_LT(Frames, SecondsToFrames(0.5));
}

TEST(PakAudioDsp, StateVariableFilterPassesAndStopsBands) {
  const TMono Low = Tone(100.0, SampleRate / 2), High = Tone(10000.0, SampleRate / 2);
  auto Through = [](const TMono& In, bool LowPass) {
    TSvf F;
    F.Set(1000.0, 0.2);
    TMono Out(In.size());
    for (std::size_t i = 0; i < In.size(); ++i) Out[i] = static_cast<float>(LowPass ? F.Low(In[i]) : F.High(In[i]));
    return Rms(Out) / Rms(In);
  };
  EXPECT_NEAR(Through(Low, true), 1.0, 0.05);
  EXPECT_LT(Through(High, true), 0.02);
  EXPECT_NEAR(Through(High, false), 1.0, 0.05);
  EXPECT_LT(Through(Low, false), 0.02);
}

TEST(PakAudioDsp, MixingWrapsAroundALoopOnlyWhenAsked) {
  TMono Src(10, 1.0f);
  TMono Loop(20, 0.0f), Line(20, 0.0f);
  MixInto(Loop, Src, 15, 0.5f, true);
  MixInto(Line, Src, 15, 0.5f, false);
  for (std::size_t i = 0; i < 20; ++i) {
    const bool Covered = i >= 15 || i < 5;
    EXPECT_FLOAT_EQ(Loop[i], Covered ? 0.5f : 0.0f) << i;
    EXPECT_FLOAT_EQ(Line[i], i >= 15 ? 0.5f : 0.0f) << i;
  }
  // A centred mono source keeps unity gain on both sides; hard left is silent right.
  TStereo St(4);
  MixInto(St, TMono{1.0f}, 0, 1.0f, 0.0f, false);
  MixInto(St, TMono{1.0f}, 1, 1.0f, -1.0f, false);
  EXPECT_NEAR(St.L[0], 1.0f, 1e-6);
  EXPECT_NEAR(St.R[0], 1.0f, 1e-6);
  EXPECT_NEAR(St.R[1], 0.0f, 1e-6);
  EXPECT_NEAR(St.L[1], std::sqrt(2.0f), 1e-6);
}

TEST(PakAudioDsp, FadesReachZeroAtBothEnds) {
  TMono X(1000, 0.8f);
  FadeEdges(X, 0.001, 0.002);
  EXPECT_EQ(X.front(), 0.0f);
  EXPECT_EQ(X.back(), 0.0f);
  EXPECT_FLOAT_EQ(X[500], 0.8f);
  for (std::size_t i = 1; i < 44; ++i) EXPECT_GE(X[i], X[i - 1]);
}

TEST(PakAudioDsp, LimiterHoldsTheCeilingWithoutTouchingQuietMaterial) {
  TStereo X(SampleRate);
  TOsc Osc;
  for (std::size_t i = 0; i < X.Size(); ++i) {
    // A loud, smoothly swelling burst amid a quiet tone.
    const double T = (static_cast<double>(i) - 20000.0) / 400.0;
    const double Level = 0.3 + 2.7 * std::exp(-T * T);
    X.L[i] = X.R[i] = static_cast<float>(Level * Osc.Next(TWave::Sine, 440.0));
  }
  const TStereo Before = X;
  Limit(X, 0.9f, 0.003, 0.05, false);
  EXPECT_LE(Peak(X), 0.9f + 1e-5f);
  // Well before the burst the signal passes untouched; well after, the gain
  // has released back to (nearly) unity.
  for (std::size_t i : {1000u, 10000u}) EXPECT_FLOAT_EQ(X.L[i], Before.L[i]);
  EXPECT_NEAR(X.L[42000], Before.L[42000], 0.01f * 0.3f);
  // The gain moves smoothly: no sample-to-sample step much beyond that of a
  // 440 Hz tone at the ceiling.
  float MaxStep = 0.0f;
  for (std::size_t i = 1; i < X.Size(); ++i) MaxStep = std::max(MaxStep, std::fabs(X.L[i] - X.L[i - 1]));
  EXPECT_LT(MaxStep, 0.9f * static_cast<float>(TwoPi * 440.0 / SampleRate) * 1.5f);
}

TEST(PakAudioDsp, LoopedEffectsCarryTheirTailIntoTheStart) {
  // A click near the end of a loop: the echo of a looped buffer rings on at
  // its start, that of a one-shot does not.
  TStereo X(SampleRate);
  X.L[X.Size() - 100] = X.R[X.Size() - 100] = 1.0f;
  TReverb RoomA(0.8, 0.4), RoomB(0.8, 0.4);
  const TStereo Looped = ProcessLooped(X, RoomA, true);
  const TStereo Once = ProcessLooped(X, RoomB, false);
  TMono HeadLooped(Looped.L.begin(), Looped.L.begin() + 5000), HeadOnce(Once.L.begin(), Once.L.begin() + 5000);
  EXPECT_GT(Rms(HeadLooped), 1e-4);
  EXPECT_EQ(Rms(HeadOnce), 0.0);
}

TEST(PakAudioDsp, NoiseIsDeterministicAndCentred) {
  TRng A(7), B(7), C(8);
  double Sum = 0.0;
  bool Differs = false;
  for (int i = 0; i < 100000; ++i) {
    const double V = A.Bipolar();
    EXPECT_EQ(V, B.Bipolar());
    Differs = Differs || V != C.Bipolar();
    EXPECT_GE(V, -1.0);
    EXPECT_LT(V, 1.0);
    Sum += V;
  }
  EXPECT_TRUE(Differs);
  EXPECT_NEAR(Sum / 100000.0, 0.0, 0.01);
}
