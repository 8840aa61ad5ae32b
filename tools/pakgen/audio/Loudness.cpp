#include "Loudness.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace PakAudio {

namespace {
constexpr double BlockSeconds = 0.4;
constexpr int StepsPerBlock = 4;  // 75 % overlap
constexpr double AbsoluteGateLufs = -70.0;
constexpr double RelativeGateLu = -10.0;
constexpr double LoopMeasureSeconds = 3.0;

std::size_t BlockFrames(int Rate) { return static_cast<std::size_t>(std::llround(BlockSeconds * Rate)); }
}  // namespace

TKWeighting KWeighting(int Rate) {
  TKWeighting K;
  {
    // High shelf, +4 dB above about 1.7 kHz.
    const double F0 = 1681.974450955533, GainDb = 3.999843853973347, Q = 0.7071752369554196;
    const double W = std::tan(Pi * F0 / Rate);
    const double Vh = std::pow(10.0, GainDb / 20.0);
    const double Vb = std::pow(Vh, 0.4996667741545416);
    const double A0 = 1.0 + W / Q + W * W;
    K.Shelf.B0 = (Vh + Vb * W / Q + W * W) / A0;
    K.Shelf.B1 = 2.0 * (W * W - Vh) / A0;
    K.Shelf.B2 = (Vh - Vb * W / Q + W * W) / A0;
    K.Shelf.A1 = 2.0 * (W * W - 1.0) / A0;
    K.Shelf.A2 = (1.0 - W / Q + W * W) / A0;
  }
  {
    // Second-order high pass at about 38 Hz.
    const double F0 = 38.13547087602444, Q = 0.5003270373238773;
    const double W = std::tan(Pi * F0 / Rate);
    const double A0 = 1.0 + W / Q + W * W;
    K.HighPass.B0 = 1.0;
    K.HighPass.B1 = -2.0;
    K.HighPass.B2 = 1.0;
    K.HighPass.A1 = 2.0 * (W * W - 1.0) / A0;
    K.HighPass.A2 = (1.0 - W / Q + W * W) / A0;
  }
  return K;
}

double MeanSquareToLufs(double MeanSquare) {
  if (!(MeanSquare > 0.0)) return -std::numeric_limits<double>::infinity();
  return -0.691 + 10.0 * std::log10(MeanSquare);
}

std::vector<double> LoudnessBlocks(const TMono& Samples, int Rate) {
  const std::size_t Block = BlockFrames(Rate);
  const std::size_t Step = Block / StepsPerBlock;
  std::vector<double> Squares(Samples.size());
  TKWeighting K = KWeighting(Rate);
  for (std::size_t i = 0; i < Samples.size(); ++i) {
    const double V = K.HighPass.Process(K.Shelf.Process(Samples[i]));
    Squares[i] = V * V;
  }
  std::vector<double> Blocks;
  for (std::size_t Start = 0; Start + Block <= Squares.size(); Start += Step) {
    double Sum = 0.0;
    for (std::size_t i = Start; i < Start + Block; ++i) Sum += Squares[i];
    Blocks.push_back(Sum / static_cast<double>(Block));
  }
  return Blocks;
}

double IntegratedLoudness(const TMono& Samples, int Rate) {
  const std::vector<double> Blocks = LoudnessBlocks(Samples, Rate);
  auto GatedMean = [&](double GateLufs) {
    double Sum = 0.0;
    std::size_t Count = 0;
    for (double Z : Blocks)
      if (MeanSquareToLufs(Z) > GateLufs) {
        Sum += Z;
        ++Count;
      }
    return Count ? Sum / static_cast<double>(Count) : 0.0;
  };
  const double Ungated = GatedMean(AbsoluteGateLufs);
  if (Ungated <= 0.0) return -std::numeric_limits<double>::infinity();
  return MeanSquareToLufs(GatedMean(MeanSquareToLufs(Ungated) + RelativeGateLu));
}

double MaxMomentaryLoudness(const TMono& Samples, int Rate) {
  const std::vector<double> Blocks = LoudnessBlocks(Samples, Rate);
  return MeanSquareToLufs(Blocks.empty() ? 0.0 : *std::max_element(Blocks.begin(), Blocks.end()));
}

double EffectLoudness(const TMono& Samples, bool Loops, int Rate) {
  if (Samples.empty()) return -std::numeric_limits<double>::infinity();
  if (Loops) {
    const std::size_t Want = static_cast<std::size_t>(std::ceil(LoopMeasureSeconds * Rate));
    TMono Laps;
    while (Laps.size() < Want) Laps.insert(Laps.end(), Samples.begin(), Samples.end());
    return IntegratedLoudness(Laps, Rate);
  }
  TMono Padded = Samples;
  Padded.resize(std::max(Padded.size(), BlockFrames(Rate)), 0.0f);
  return IntegratedLoudness(Padded, Rate);
}

}  // namespace PakAudio
