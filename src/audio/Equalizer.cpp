#include "audio/Equalizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void TPeakingFilter::Configure(double SampleRate, double Centre, double BandwidthSemitones, double GainDb) {
  const double A = std::pow(10.0, GainDb / 40.0);
  const double W0 = 2.0 * std::numbers::pi * Centre / SampleRate;
  const double SinW0 = std::sin(W0);
  const double CosW0 = std::cos(W0);
  const double Octaves = BandwidthSemitones / 12.0;
  const double Alpha = SinW0 * std::sinh(std::numbers::ln2 / 2.0 * Octaves * W0 / SinW0);
  const double A0 = 1.0 + Alpha / A;
  FB0 = (1.0 + Alpha * A) / A0;
  FB1 = (-2.0 * CosW0) / A0;
  FB2 = (1.0 - Alpha * A) / A0;
  FA1 = (-2.0 * CosW0) / A0;
  FA2 = (1.0 - Alpha / A) / A0;
}

TEqualizer::TEqualizer(int SampleRate, int BandCount)
    : FSampleRate(SampleRate > 0 ? SampleRate : 44100),
      FBands(static_cast<std::size_t>(std::max(BandCount, 0))),
      FFilters(FBands.size()) {
  for (int I = 0; I < this->BandCount(); ++I) Configure(I);
}

void TEqualizer::SetBand(int Index, double Centre, double Bandwidth, double Gain) {
  if (Index < 0 || Index >= BandCount()) return;
  FBands[static_cast<std::size_t>(Index)] = {Centre, Bandwidth, Gain};
  Configure(Index);
}

void TEqualizer::SetGain(int Index, double Gain) {
  if (Index < 0 || Index >= BandCount()) return;
  FBands[static_cast<std::size_t>(Index)].Gain = Gain;
  Configure(Index);
}

void TEqualizer::Configure(int Index) {
  const TBand& B = FBands[static_cast<std::size_t>(Index)];
  // A centre at or above the Nyquist frequency has no meaning; keep it just
  // below, and the bandwidth within what the filter form can express.
  const double Centre = std::clamp(B.Centre, 1.0, FSampleRate * 0.49);
  const double Bandwidth = std::clamp(B.Bandwidth, 0.01, 36.0);
  FFilters[static_cast<std::size_t>(Index)].Configure(FSampleRate, Centre, Bandwidth, B.Gain);
}

void TEqualizer::Reset() {
  for (TPeakingFilter& F : FFilters) F.Reset();
}

void TEqualizer::Process(float* Samples, int Frames, int Channels) {
  const int Shaped = std::min(Channels, TPeakingFilter::MaxChannels);
  for (int Frame = 0; Frame < Frames; ++Frame) {
    float* S = Samples + static_cast<std::ptrdiff_t>(Frame) * Channels;
    for (int C = 0; C < Shaped; ++C) {
      double X = S[C];
      for (TPeakingFilter& F : FFilters) X = F.Process(C, X);
      S[C] = static_cast<float>(X);
    }
  }
}
