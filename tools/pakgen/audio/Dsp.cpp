#include "Dsp.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace PakAudio {

double MidiToHz(double Midi) { return 440.0 * std::pow(2.0, (Midi - 69.0) / 12.0); }
double DbToGain(double Db) { return std::pow(10.0, Db / 20.0); }

namespace {
// Calls Body(Dst index, Src index) for every source sample that lands in a
// destination of DstSize samples, wrapping around its end when Wrap is set.
template <typename TBody>
void ForEachPlaced(std::size_t DstSize, std::size_t SrcSize, std::size_t Offset, bool Wrap, TBody&& Body) {
  if (DstSize == 0) return;
  std::size_t Src = 0;
  std::size_t At = Wrap ? Offset % DstSize : Offset;
  while (Src < SrcSize && At < DstSize) {
    const std::size_t Run = std::min(SrcSize - Src, DstSize - At);
    for (std::size_t i = 0; i < Run; ++i) Body(At + i, Src + i);
    Src += Run;
    if (!Wrap) break;
    At = 0;
  }
}
}  // namespace

void MixInto(TMono& Dst, const TMono& Src, std::size_t Offset, float Gain, bool Wrap) {
  ForEachPlaced(Dst.size(), Src.size(), Offset, Wrap, [&](std::size_t D, std::size_t S) { Dst[D] += Src[S] * Gain; });
}

void MixInto(TStereo& Dst, const TMono& Src, std::size_t Offset, float Gain, float Pan, bool Wrap) {
  const double Angle = (std::clamp(Pan, -1.0f, 1.0f) + 1.0) * Pi / 4.0;
  // Equal power, normalised so that the centre keeps unity gain per side.
  const float GL = static_cast<float>(Gain * std::cos(Angle) * std::sqrt(2.0));
  const float GR = static_cast<float>(Gain * std::sin(Angle) * std::sqrt(2.0));
  ForEachPlaced(Dst.Size(), Src.size(), Offset, Wrap, [&](std::size_t D, std::size_t S) {
    Dst.L[D] += Src[S] * GL;
    Dst.R[D] += Src[S] * GR;
  });
}

void MixInto(TStereo& Dst, const TStereo& Src, std::size_t Offset, float Gain, bool Wrap) {
  ForEachPlaced(Dst.Size(), Src.Size(), Offset, Wrap, [&](std::size_t D, std::size_t S) {
    Dst.L[D] += Src.L[S] * Gain;
    Dst.R[D] += Src.R[S] * Gain;
  });
}

float Peak(const TMono& Buffer) {
  float P = 0.0f;
  for (float V : Buffer) P = std::max(P, std::fabs(V));
  return P;
}

float Peak(const TStereo& Buffer) { return std::max(Peak(Buffer.L), Peak(Buffer.R)); }

double Rms(const TMono& Buffer) {
  if (Buffer.empty()) return 0.0;
  double Sum = 0.0;
  for (float V : Buffer) Sum += static_cast<double>(V) * V;
  return std::sqrt(Sum / static_cast<double>(Buffer.size()));
}

void Scale(TMono& Buffer, float Gain) {
  for (float& V : Buffer) V *= Gain;
}

void Scale(TStereo& Buffer, float Gain) {
  Scale(Buffer.L, Gain);
  Scale(Buffer.R, Gain);
}

void FadeEdges(TMono& Buffer, double InSeconds, double OutSeconds) {
  const std::size_t N = Buffer.size();
  const std::size_t In = std::min(N, SecondsToFrames(InSeconds));
  const std::size_t Out = std::min(N, SecondsToFrames(OutSeconds));
  for (std::size_t i = 0; i < In; ++i) Buffer[i] *= static_cast<float>(static_cast<double>(i) / In);
  for (std::size_t i = 0; i < Out; ++i) Buffer[N - 1 - i] *= static_cast<float>(static_cast<double>(i) / Out);
}

void FadeEdges(TStereo& Buffer, double InSeconds, double OutSeconds) {
  FadeEdges(Buffer.L, InSeconds, OutSeconds);
  FadeEdges(Buffer.R, InSeconds, OutSeconds);
}

void TrimTail(TMono& Buffer, float Threshold, double KeepSeconds) {
  std::size_t Last = Buffer.size();
  while (Last > 0 && std::fabs(Buffer[Last - 1]) < Threshold) --Last;
  Buffer.resize(std::min(Buffer.size(), Last + SecondsToFrames(KeepSeconds)));
}

double TPinkNoise::Next() {
  const double White = FRng.Bipolar();
  FB0 = 0.99765 * FB0 + White * 0.0990460;
  FB1 = 0.96300 * FB1 + White * 0.2965164;
  FB2 = 0.57000 * FB2 + White * 1.0526913;
  return (FB0 + FB1 + FB2 + White * 0.1848) * 0.22;
}

namespace {
// Polynomial band-limited step residual; T is the phase in [0, 1), Dt the
// phase increment per sample.
double PolyBlep(double T, double Dt) {
  if (T < Dt) {
    T /= Dt;
    return T + T - T * T - 1.0;
  }
  if (T > 1.0 - Dt) {
    T = (T - 1.0) / Dt;
    return T * T + T + T + 1.0;
  }
  return 0.0;
}
}  // namespace

double TOsc::Next(TWave Wave, double Freq, double PulseWidth) {
  const double Dt = std::clamp(Freq / SampleRate, 0.0, 0.49);
  const double T = FPhase;
  double Out = 0.0;
  switch (Wave) {
    case TWave::Sine:
      Out = std::sin(TwoPi * T);
      break;
    case TWave::Saw:
      Out = 2.0 * T - 1.0;
      if (Dt > 0.0) Out -= PolyBlep(T, Dt);
      break;
    case TWave::Square: {
      Out = T < PulseWidth ? 1.0 : -1.0;
      if (Dt > 0.0) {
        double T2 = T + 1.0 - PulseWidth;
        T2 -= std::floor(T2);
        Out += PolyBlep(T, Dt) - PolyBlep(T2, Dt);
      }
      break;
    }
    case TWave::Triangle:
      Out = 4.0 * std::fabs(T - 0.5) - 1.0;
      break;
  }
  FPhase += Dt;
  FPhase -= std::floor(FPhase);
  return Out;
}

namespace {
// Per-sample factor that shrinks a distance to 1/100 (-40 dB) in Seconds.
double FortyDbCoef(double Seconds) {
  return std::exp(-std::log(100.0) / std::max(1.0, Seconds * SampleRate));
}
}  // namespace

TAdsr::TAdsr(double Attack, double Decay, double Sustain, double Release)
    : FAttackStep(1.0 / std::max(1.0, Attack * SampleRate)),
      FDecayCoef(FortyDbCoef(Decay)),
      FSustain(Sustain),
      FReleaseCoef(FortyDbCoef(Release)) {}

double TAdsr::Next() {
  switch (FStage) {
    case EStage::Attack:
      FLevel += FAttackStep;
      if (FLevel >= 1.0) {
        FLevel = 1.0;
        FStage = EStage::Decay;
      }
      break;
    case EStage::Decay:
      FLevel = FSustain + (FLevel - FSustain) * FDecayCoef;
      break;
    case EStage::Sustain:
      break;
    case EStage::Release:
      FLevel *= FReleaseCoef;
      if (FLevel < 1e-4) {
        FLevel = 0.0;
        FStage = EStage::Done;
      }
      break;
    case EStage::Done:
      break;
  }
  return FLevel;
}

void TAdsr::NoteOff() {
  if (FStage != EStage::Done) FStage = EStage::Release;
}

double TDecay::TauCoef(double Tau) { return std::exp(-1.0 / std::max(1e-6, Tau * SampleRate)); }

void TSvf::Set(double Cutoff, double Resonance) {
  const double Fc = std::clamp(Cutoff, 10.0, SampleRate * 0.45);
  const double G = std::tan(Pi * Fc / SampleRate);
  FK = 2.0 - 2.0 * std::clamp(Resonance, 0.0, 0.98);
  FA1 = 1.0 / (1.0 + G * (G + FK));
  FA2 = G * FA1;
  FA3 = G * FA2;
}

TSvf::TOut TSvf::Process(double In) {
  const double V3 = In - FIc2;
  const double V1 = FA1 * FIc1 + FA2 * V3;
  const double V2 = FIc2 + FA2 * FIc1 + FA3 * V3;
  FIc1 = 2.0 * V1 - FIc1;
  FIc2 = 2.0 * V2 - FIc2;
  return {V2, V1, In - FK * V1 - V2};
}

void TOnePole::SetCutoff(double Hz) { FCoef = 1.0 - std::exp(-TwoPi * std::max(0.0, Hz) / SampleRate); }

TReverb::TReverb(double RoomSize, double Damping)
    : FFeedback(RoomSize * 0.28 + 0.7), FDamp(Damping * 0.4) {
  static const int CombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static const int AllLengths[] = {556, 441, 341, 225};
  constexpr int Spread = 23;
  for (int Len : CombLengths) {
    FCombL.push_back({TDelayLine(Len), 0.0});
    FCombR.push_back({TDelayLine(Len + Spread), 0.0});
  }
  for (int Len : AllLengths) {
    FAllL.emplace_back(Len);
    FAllR.emplace_back(Len + Spread);
  }
}

void TReverb::Process(float InL, float InR, float& OutL, float& OutR) {
  const double In = (static_cast<double>(InL) + InR) * 0.015;
  auto Run = [&](std::vector<TComb>& Combs, std::vector<TDelayLine>& Alls) {
    double Sum = 0.0;
    for (TComb& C : Combs) {
      const double Out = C.Line.Read();
      C.Store = Out * (1.0 - FDamp) + C.Store * FDamp;
      C.Line.Write(static_cast<float>(In + C.Store * FFeedback));
      Sum += Out;
    }
    for (TDelayLine& A : Alls) {
      const double Buffered = A.Read();
      const double Out = Buffered - Sum;
      A.Write(static_cast<float>(Sum + Buffered * 0.5));
      Sum = Out;
    }
    return Sum;
  };
  OutL = static_cast<float>(Run(FCombL, FAllL));
  OutR = static_cast<float>(Run(FCombR, FAllR));
}

TPingPongDelay::TPingPongDelay(double DelaySeconds, double Feedback, double DampHz)
    : FLeft(SecondsToFrames(DelaySeconds)), FRight(SecondsToFrames(DelaySeconds)), FFeedback(Feedback) {
  FDampL.SetCutoff(DampHz);
  FDampR.SetCutoff(DampHz);
}

void TPingPongDelay::Process(float InL, float InR, float& OutL, float& OutR) {
  // The input enters on the left; each repeat crosses to the other side.
  const float EchoL = FLeft.Read();
  const float EchoR = FRight.Read();
  FLeft.Write(static_cast<float>((InL + InR) * 0.5 + FDampL.Low(EchoR) * FFeedback));
  FRight.Write(static_cast<float>(FDampR.Low(EchoL)));
  OutL = EchoL;
  OutR = EchoR;
}

namespace {
// Gain curve for the limiter from the per-frame peak magnitude.
std::vector<double> LimiterGain(const std::vector<float>& Magnitude, float Ceiling, double LookAheadSeconds,
                                double ReleaseSeconds, bool Looped) {
  const std::size_t N = Magnitude.size();
  std::vector<double> Gain(N, 1.0);
  if (N == 0) return Gain;
  const std::size_t La = std::max<std::size_t>(1, SecondsToFrames(LookAheadSeconds));
  // Needed gain on an extended timeline: La frames before and after the
  // buffer, wrapped around for a loop, unity otherwise.
  const std::size_t Ext = N + 2 * La;
  std::vector<double> Need(Ext, 1.0);
  for (std::size_t k = 0; k < Ext; ++k) {
    const long long Src = static_cast<long long>(k) - static_cast<long long>(La);
    float M = 0.0f;
    if (Src >= 0 && Src < static_cast<long long>(N))
      M = Magnitude[Src];
    else if (Looped)
      M = Magnitude[((Src % static_cast<long long>(N)) + N) % N];
    Need[k] = M > Ceiling ? Ceiling / M : 1.0;
  }
  // Hold[k] = min Need[k .. k + La - 1], with a monotonic queue.
  std::vector<double> Hold(Ext, 1.0);
  std::deque<std::size_t> Queue;
  for (std::size_t k = Ext; k-- > 0;) {
    while (!Queue.empty() && Need[Queue.back()] >= Need[k]) Queue.pop_back();
    Queue.push_back(k);
    while (Queue.front() >= k + La) Queue.pop_front();
    Hold[k] = Need[Queue.front()];
  }
  // Smooth[n] = mean Hold[k - La + 1 .. k] with k = n + La: every term covers
  // frame n, so the smoothed gain is never above what frame n needs.
  std::vector<double> Smooth(N);
  double Sum = 0.0;
  for (std::size_t k = 0; k < La; ++k) Sum += Hold[k];
  for (std::size_t n = 0; n < N; ++n) {
    const std::size_t k = n + La;
    Sum += Hold[k] - Hold[k - La];
    Smooth[n] = Sum / static_cast<double>(La);
  }
  const double Rel = 1.0 - std::exp(-1.0 / (ReleaseSeconds * SampleRate));
  double G = 1.0;
  for (int Pass = Looped ? 0 : 1; Pass < 2; ++Pass) {
    for (std::size_t n = 0; n < N; ++n) {
      G = std::min(Smooth[n], G + (1.0 - G) * Rel);
      Gain[n] = G;
    }
  }
  return Gain;
}
}  // namespace

void Limit(TStereo& Buffer, float Ceiling, double LookAheadSeconds, double ReleaseSeconds, bool Looped) {
  std::vector<float> Magnitude(Buffer.Size());
  for (std::size_t i = 0; i < Buffer.Size(); ++i) Magnitude[i] = std::max(std::fabs(Buffer.L[i]), std::fabs(Buffer.R[i]));
  const std::vector<double> Gain = LimiterGain(Magnitude, Ceiling, LookAheadSeconds, ReleaseSeconds, Looped);
  for (std::size_t i = 0; i < Buffer.Size(); ++i) {
    Buffer.L[i] = static_cast<float>(Buffer.L[i] * Gain[i]);
    Buffer.R[i] = static_cast<float>(Buffer.R[i] * Gain[i]);
  }
}

void Limit(TMono& Buffer, float Ceiling, double LookAheadSeconds, double ReleaseSeconds) {
  std::vector<float> Magnitude(Buffer.size());
  for (std::size_t i = 0; i < Buffer.size(); ++i) Magnitude[i] = std::fabs(Buffer[i]);
  const std::vector<double> Gain = LimiterGain(Magnitude, Ceiling, LookAheadSeconds, ReleaseSeconds, false);
  for (std::size_t i = 0; i < Buffer.size(); ++i) Buffer[i] = static_cast<float>(Buffer[i] * Gain[i]);
}

}  // namespace PakAudio
