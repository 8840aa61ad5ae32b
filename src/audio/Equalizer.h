// Peaking equaliser for the music: a chain of second-order peaking filters,
// one per band, each lifting or cutting the frequencies around its centre by
// its gain and leaving the rest of the spectrum alone. Bandwidth is given in
// semitones, as parametric equalisers of the DirectX kind take it.
#pragma once

#include "platform/Audio.h"

#include <array>
#include <vector>

// One band: a biquad after the audio-EQ cookbook's peaking form.
class TPeakingFilter {
public:
  static constexpr int MaxChannels = 8;

  void Configure(double SampleRate, double Centre, double BandwidthSemitones, double GainDb);
  // One sample of one channel.
  double Process(int Channel, double X) {
    TState& S = FState[Channel];
    // At 0 dB the numerator equals the denominator and each pair below is
    // exactly zero, so a flat band passes its input unchanged, bit for bit.
    const double Y = FB0 * X + (FB1 * S.X1 - FA1 * S.Y1) + (FB2 * S.X2 - FA2 * S.Y2);
    S.X2 = S.X1;
    S.X1 = X;
    S.Y2 = S.Y1;
    S.Y1 = Y;
    return Y;
  }
  void Reset() { FState = {}; }

private:
  struct TState {
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
  };
  double FB0 = 1, FB1 = 0, FB2 = 0, FA1 = 0, FA2 = 0;
  std::array<TState, MaxChannels> FState{};
};

class TEqualizer : public IMusicEffect {
public:
  struct TBand {
    double Centre = 1000;
    double Bandwidth = 12;
    double Gain = 0;
  };

  TEqualizer(int SampleRate, int BandCount);

  int BandCount() const { return static_cast<int>(FBands.size()); }
  // Centre in Hz (kept below the Nyquist frequency), bandwidth in semitones,
  // gain in dB. Call before the equaliser is handed to the mixer.
  void SetBand(int Index, double Centre, double Bandwidth, double Gain);
  const TBand& Band(int Index) const { return FBands[static_cast<std::size_t>(Index)]; }
  void SetGain(int Index, double Gain);
  void Reset();

  void Process(float* Samples, int Frames, int Channels) override;

private:
  void Configure(int Index);

  double FSampleRate;
  std::vector<TBand> FBands;
  std::vector<TPeakingFilter> FFilters;
};
