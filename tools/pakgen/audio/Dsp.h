// The synthesiser's building blocks: buffers, a deterministic noise source,
// band-limited oscillators, envelopes, filters, delay, reverb and a peak
// limiter. Everything is rendered offline, so the classes favour clarity over
// real-time tricks; all state is explicit and nothing reads a clock, so the
// same code always yields the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PakAudio {

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

using TMono = std::vector<float>;

struct TStereo {
  TMono L, R;
  TStereo() = default;
  explicit TStereo(std::size_t Frames) : L(Frames, 0.0f), R(Frames, 0.0f) {}
  std::size_t Size() const { return L.size(); }
};

double MidiToHz(double Midi);
double DbToGain(double Db);
inline std::size_t SecondsToFrames(double Seconds) {
  return Seconds <= 0.0 ? 0 : static_cast<std::size_t>(Seconds * SampleRate + 0.5);
}

// Adds Src * Gain into Dst at Offset. With Wrap the destination is treated as
// a loop and samples past its end continue at its start; without it they are
// dropped.
void MixInto(TMono& Dst, const TMono& Src, std::size_t Offset, float Gain, bool Wrap);
// Constant-power pan: -1 hard left, 0 centre, +1 hard right.
void MixInto(TStereo& Dst, const TMono& Src, std::size_t Offset, float Gain, float Pan, bool Wrap);
void MixInto(TStereo& Dst, const TStereo& Src, std::size_t Offset, float Gain, bool Wrap);

float Peak(const TMono& Buffer);
float Peak(const TStereo& Buffer);
double Rms(const TMono& Buffer);
void Scale(TMono& Buffer, float Gain);
void Scale(TStereo& Buffer, float Gain);
// Linear fades over the first and last samples, reaching exact zero at the
// outer ends, so a sound never starts or stops with a step.
void FadeEdges(TMono& Buffer, double InSeconds, double OutSeconds);
void FadeEdges(TStereo& Buffer, double InSeconds, double OutSeconds);
// Drops trailing near-silence (below Threshold) but keeps Keep seconds of it.
void TrimTail(TMono& Buffer, float Threshold, double KeepSeconds);

// xorshift32: tiny, fast and identical on every platform.
class TRng {
public:
  explicit TRng(std::uint32_t Seed) : FState(Seed ? Seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
  }
  // Uniform in [0, 1).
  double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
  // Uniform in [-1, 1).
  double Bipolar() { return Unit() * 2.0 - 1.0; }

private:
  std::uint32_t FState;
};

// Pink-ish noise (Paul Kellet's economy filter over white noise): softer and
// warmer than white, good for wind and surf-like swooshes.
class TPinkNoise {
public:
  explicit TPinkNoise(std::uint32_t Seed) : FRng(Seed) {}
  double Next();

private:
  TRng FRng;
  double FB0 = 0, FB1 = 0, FB2 = 0;
};

enum class TWave { Sine, Saw, Square, Triangle };

// Phase-accumulating oscillator. Saw and square carry polyBLEP corrections,
// which keep their upper harmonics from folding back as audible aliasing.
class TOsc {
public:
  explicit TOsc(double Phase = 0.0) : FPhase(Phase) {}
  double Next(TWave Wave, double Freq, double PulseWidth = 0.5);
  double Phase() const { return FPhase; }

private:
  double FPhase;
};

// A-D-S-R with a linear attack and exponential decay and release. Times are
// seconds; the decay and release reach about -40 dB of their span after the
// given time.
class TAdsr {
public:
  TAdsr(double Attack, double Decay, double Sustain, double Release);
  double Next();
  void NoteOff();
  bool Finished() const { return FStage == EStage::Done; }

private:
  enum class EStage { Attack, Decay, Sustain, Release, Done };
  EStage FStage = EStage::Attack;
  double FLevel = 0.0;
  double FAttackStep, FDecayCoef, FSustain, FReleaseCoef;
};

// One-shot exponential decay from 1 towards 0: Value(t) = exp(-t / Tau).
class TDecay {
public:
  explicit TDecay(double Tau) : FCoef(TauCoef(Tau)) {}
  double Next() {
    const double Out = FLevel;
    FLevel *= FCoef;
    return Out;
  }
  static double TauCoef(double Tau);

private:
  double FCoef;
  double FLevel = 1.0;
};

// Zero-delay-feedback state-variable filter (trapezoidal integration): stable
// under fast modulation, low/band/high outputs from one pass.
class TSvf {
public:
  struct TOut {
    double Low, Band, High;
  };
  void Set(double Cutoff, double Resonance);  // Resonance 0..~0.97
  TOut Process(double In);
  double Low(double In) { return Process(In).Low; }
  double Band(double In) { return Process(In).Band; }
  double High(double In) { return Process(In).High; }

private:
  double FIc1 = 0, FIc2 = 0;
  double FA1 = 1, FA2 = 0, FA3 = 0, FK = 2;
};

// One-pole low pass, used for smoothing, damping and DC removal.
class TOnePole {
public:
  void SetCutoff(double Hz);
  double Low(double In) {
    FState += FCoef * (In - FState);
    return FState;
  }
  double High(double In) { return In - Low(In); }

private:
  double FCoef = 1.0;
  double FState = 0.0;
};

class TDelayLine {
public:
  explicit TDelayLine(std::size_t Length) : FBuffer(Length ? Length : 1, 0.0f) {}
  float Read() const { return FBuffer[FPos]; }
  void Write(float Value) {
    FBuffer[FPos] = Value;
    if (++FPos == FBuffer.size()) FPos = 0;
  }

private:
  std::vector<float> FBuffer;
  std::size_t FPos = 0;
};

// Schroeder-Moorer style room: eight damped feedback combs and four allpasses
// per channel, the right channel's lines slightly longer for width.
class TReverb {
public:
  TReverb(double RoomSize, double Damping);
  void Process(float InL, float InR, float& OutL, float& OutR);

private:
  struct TComb {
    TDelayLine Line;
    double Store = 0.0;
  };
  std::vector<TComb> FCombL, FCombR;
  std::vector<TDelayLine> FAllL, FAllR;
  double FFeedback, FDamp;
};

// Runs a stereo effect over a buffer that is meant to loop: one pass warms the
// effect up with the buffer's own end, the second pass is kept, so the tail
// that rings past the end is already present at the start.
template <typename TEffect>
TStereo ProcessLooped(const TStereo& In, TEffect& Effect, bool Looped) {
  TStereo Out(In.Size());
  for (int Pass = Looped ? 0 : 1; Pass < 2; ++Pass) {
    for (std::size_t i = 0; i < In.Size(); ++i) Effect.Process(In.L[i], In.R[i], Out.L[i], Out.R[i]);
  }
  return Out;
}

// Tempo-synced ping-pong echo with a darkening feedback path.
class TPingPongDelay {
public:
  TPingPongDelay(double DelaySeconds, double Feedback, double DampHz);
  void Process(float InL, float InR, float& OutL, float& OutR);

private:
  TDelayLine FLeft, FRight;
  TOnePole FDampL, FDampR;
  double FFeedback;
};

// Look-ahead peak limiter: the gain curve is the sliding minimum of the
// needed gain, smoothed by a moving average of the same length, so it is
// already down when a peak arrives and never steps. Looped buffers are
// treated as circular.
void Limit(TStereo& Buffer, float Ceiling, double LookAheadSeconds, double ReleaseSeconds, bool Looped);
void Limit(TMono& Buffer, float Ceiling, double LookAheadSeconds, double ReleaseSeconds);

}  // namespace PakAudio
