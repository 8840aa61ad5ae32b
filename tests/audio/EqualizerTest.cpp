#include "audio/Equalizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int EqRate = 44100;
constexpr int Centres[10] = {80, 170, 310, 600, 1000, 3000, 6000, 10000, 12000, 14000};

TEqualizer MakeEqualizer() {
  TEqualizer Eq(EqRate, 10);
  for (int I = 0; I < 10; ++I) Eq.SetBand(I, Centres[I], 3.0, 0.0);
  return Eq;
}

// Gain in dB that the equaliser applies to a steady sine of Frequency, from
// the RMS of the second half of two seconds (the filters have settled).
double MeasuredGainDb(TEqualizer& Eq, double Frequency) {
  const int Frames = 2 * EqRate;
  std::vector<float> S(static_cast<std::size_t>(Frames) * 2);
  for (int I = 0; I < Frames; ++I)
    S[2 * I] = S[2 * I + 1] = static_cast<float>(0.25 * std::sin(2 * std::numbers::pi * Frequency * I / EqRate));
  const std::vector<float> In = S;
  Eq.Reset();
  for (int Done = 0; Done < Frames; Done += 512) Eq.Process(S.data() + 2 * Done, std::min(512, Frames - Done), 2);
  double InSum = 0, OutSum = 0;
  for (int I = Frames / 2; I < Frames; ++I) {
    InSum += double(In[2 * I]) * In[2 * I];
    OutSum += double(S[2 * I]) * S[2 * I];
  }
  return 10 * std::log10(OutSum / InSum);
}

TEST(Equalizer, FlatBandsPassTheSignalUnchangedBitForBit) {
  TEqualizer Eq = MakeEqualizer();
  std::vector<float> S(4096);
  std::uint32_t Seed = 1;
  for (float& V : S) {
    Seed = Seed * 1664525u + 1013904223u;
    V = static_cast<float>(static_cast<std::int32_t>(Seed) / 2147483648.0);
  }
  const std::vector<float> In = S;
  Eq.Process(S.data(), 2048, 2);
  EXPECT_EQ(S, In);
}

TEST(Equalizer, ASineAtABandCentreGetsThatBandsGain) {
  for (int Band : {0, 4, 7, 9}) {
    for (double Gain : {6.0, -9.0}) {
      TEqualizer Eq = MakeEqualizer();
      Eq.SetGain(Band, Gain);
      EXPECT_NEAR(MeasuredGainDb(Eq, Centres[Band]), Gain, 0.15) << "band " << Band << " gain " << Gain;
    }
  }
}

TEST(Equalizer, FarBandsAreUntouched) {
  TEqualizer Eq = MakeEqualizer();
  Eq.SetGain(0, 12.0);  // 80 Hz
  Eq.SetGain(9, -12.0); // 14 kHz
  EXPECT_NEAR(MeasuredGainDb(Eq, 1000), 0.0, 0.05);
  EXPECT_NEAR(MeasuredGainDb(Eq, 3000), 0.0, 0.05);
  // Half an octave from the centre, well outside three semitones, the band
  // has lost most of its effect.
  TEqualizer Near = MakeEqualizer();
  Near.SetGain(4, 12.0);
  const double AtCentre = MeasuredGainDb(Near, 1000);
  const double HalfOctaveUp = MeasuredGainDb(Near, 1414);
  EXPECT_NEAR(AtCentre, 12.0, 0.15);
  EXPECT_LT(HalfOctaveUp, 3.0);
  EXPECT_GT(HalfOctaveUp, 0.0);
}

TEST(Equalizer, ChannelsAreFilteredSeparately) {
  TEqualizer Eq = MakeEqualizer();
  Eq.SetGain(4, 12.0);
  std::vector<float> S(2 * 4410);
  for (int I = 0; I < 4410; ++I) S[2 * I] = static_cast<float>(std::sin(2 * std::numbers::pi * 1000 * I / EqRate) * 0.1);
  Eq.Process(S.data(), 4410, 2);
  for (int I = 0; I < 4410; ++I) ASSERT_EQ(S[2 * I + 1], 0.0f);
}

TEST(Equalizer, CentresBeyondNyquistStayStable) {
  TEqualizer Eq(8000, 10);
  for (int I = 0; I < 10; ++I) Eq.SetBand(I, Centres[I], 3.0, 6.0);
  std::vector<float> S(2 * 8000, 0.0f);
  S[0] = 1.0f;
  Eq.Process(S.data(), 8000, 2);
  for (float V : S) ASSERT_TRUE(std::isfinite(V));
  EXPECT_LT(std::fabs(S[2 * 7999]), 1e-3f);
}

}  // namespace
