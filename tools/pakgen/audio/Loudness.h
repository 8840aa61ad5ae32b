// Loudness as broadcast meters measure it (ITU-R BS.1770, EBU R128): the
// signal is K-weighted (a high shelf for the head's effect and a high pass
// that ignores rumble), cut into 400 ms blocks that overlap by 75 %, and the
// blocks' mean squares are averaged after two gates: blocks below -70 LUFS
// (silence) drop out, then blocks more than 10 LU below the mean of the rest.
// Used to balance the sound effects against each other. Mono only: every
// effect is mono, and a mono channel has weight 1.
#pragma once

#include <vector>

#include "Dsp.h"

namespace PakAudio {

// Direct form I biquad; A0 is normalised to 1.
struct TBiquad {
  double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
  double Process(double In) {
    const double Out = B0 * In + B1 * FX1 + B2 * FX2 - A1 * FY1 - A2 * FY2;
    FX2 = FX1;
    FX1 = In;
    FY2 = FY1;
    FY1 = Out;
    return Out;
  }

private:
  double FX1 = 0, FX2 = 0, FY1 = 0, FY2 = 0;
};

// The two stages of the K-weighting at a sample rate, derived from their
// analogue prototypes so that any rate gives the same response.
struct TKWeighting {
  TBiquad Shelf, HighPass;
};
TKWeighting KWeighting(int Rate);

// Loudness of a mean square of K-weighted samples: -0.691 + 10 log10(z).
// Silence gives minus infinity.
double MeanSquareToLufs(double MeanSquare);

// Mean squares of the K-weighted signal over every whole 400 ms block, one
// block every 100 ms. A signal shorter than one block has none.
std::vector<double> LoudnessBlocks(const TMono& Samples, int Rate = SampleRate);

// Gated loudness over the whole signal in LUFS; minus infinity when every
// block is below the absolute gate or there is no whole block.
double IntegratedLoudness(const TMono& Samples, int Rate = SampleRate);

// The loudest single block (momentary loudness), in LUFS.
double MaxMomentaryLoudness(const TMono& Samples, int Rate = SampleRate);

// The loudness we balance effects by, made to suit sounds of any length. A
// loop plays on and on, so it is measured over whole laps repeated to at
// least three seconds. A one-shot is measured as it is; one shorter than a
// block is padded with silence to one block, which spreads its energy over
// 400 ms as the ear's own integration roughly does (a 100 ms burst reads 6 LU
// below the same sound held).
double EffectLoudness(const TMono& Samples, bool Loops, int Rate = SampleRate);

}  // namespace PakAudio
