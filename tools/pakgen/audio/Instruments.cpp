#include "Instruments.h"

#include <algorithm>
#include <cmath>

namespace PakAudio {

namespace {
// Filters are retuned every few samples: tan() per sample is wasted work for
// envelopes that move this slowly.
constexpr int ControlRate = 16;

double Cents(double C) { return std::pow(2.0, C / 1200.0); }

// Vibrato that fades in after Delay seconds, in semitones of depth.
double Vibrato(double T, double Delay, double Depth, double Rate) {
  if (T < Delay) return 1.0;
  const double Fade = std::min(1.0, (T - Delay) / 0.3);
  return std::pow(2.0, Depth * Fade * std::sin(TwoPi * Rate * (T - Delay)) / 12.0);
}

std::size_t VoiceLength(double Gate, double Release) { return SecondsToFrames(Gate + Release); }

// The loop every gated voice shares. Signal(i, T) gives frame i (T seconds
// in) of the voice before its envelope; Amp is released at Gate seconds;
// Shape bends each sample after the envelope. The voice ends with the last
// frame its envelope still sounds in, or after Frames frames.
template <class TSignal, class TShape>
TMono RenderGated(std::size_t Frames, double Gate, TAdsr& Amp, float Velocity, TSignal Signal, TShape Shape) {
  TMono Out(Frames);
  const std::size_t GateFrames = SecondsToFrames(Gate);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    if (i == GateFrames) Amp.NoteOff();
    const double Dry = Signal(i, T);
    Out[i] = static_cast<float>(Shape(Dry * Amp.Next() * Velocity));
    if (Amp.Finished()) {
      Out.resize(i + 1);
      break;
    }
  }
  return Out;
}

template <class TSignal>
TMono RenderGated(std::size_t Frames, double Gate, TAdsr& Amp, float Velocity, TSignal Signal) {
  return RenderGated(Frames, Gate, Amp, Velocity, Signal, [](double V) { return V; });
}
}  // namespace

TMono RenderLead(double Freq, double Gate, float Velocity) {
  const double Release = 0.18;
  TOsc A(0.0), B(0.31), Sub(0.0);
  TAdsr Amp(0.006, 0.35, 0.72, Release);
  TSvf Filter;
  return RenderGated(VoiceLength(Gate, Release + 0.2), Gate, Amp, Velocity, [&](std::size_t i, double T) {
    if (i % ControlRate == 0) {
      const double Env = std::exp(-T / 0.12);
      Filter.Set(Freq * 2.5 + 1400.0 + 4200.0 * Env * Velocity, 0.22);
    }
    const double F = Freq * Vibrato(T, 0.22, 0.14, 5.6);
    const double Osc = 0.5 * A.Next(TWave::Saw, F * Cents(5)) + 0.4 * B.Next(TWave::Square, F * Cents(-5), 0.3) +
                       0.25 * Sub.Next(TWave::Sine, F * 0.5);
    return Filter.Low(Osc);
  });
}

TMono RenderSoftLead(double Freq, double Gate, float Velocity) {
  const double Release = 0.2;
  TOsc A(0.0), B(0.0);
  TAdsr Amp(0.015, 0.4, 0.7, Release);
  TSvf Filter;
  Filter.Set(Freq * 4.0 + 800.0, 0.1);
  return RenderGated(VoiceLength(Gate, Release + 0.2), Gate, Amp, Velocity, [&](std::size_t, double T) {
    const double F = Freq * Vibrato(T, 0.25, 0.1, 5.2);
    const double Osc = 0.7 * A.Next(TWave::Triangle, F) + 0.3 * B.Next(TWave::Square, F * Cents(3), 0.5);
    return Filter.Low(Osc);
  });
}

TMono RenderBass(double Freq, double Gate, float Velocity) {
  const double Release = 0.06;
  TOsc A(0.0), B(0.0), Sub(0.0);
  TAdsr Amp(0.003, 0.3, 0.6, Release);
  TSvf Filter;
  const double Drive = 1.6;
  return RenderGated(
      VoiceLength(Gate, Release + 0.1), Gate, Amp, Velocity,
      [&](std::size_t i, double T) {
        if (i % ControlRate == 0) Filter.Set(Freq * 3.0 + 180.0 + 1700.0 * std::exp(-T / 0.08) * Velocity, 0.35);
        const double Osc = 0.55 * A.Next(TWave::Saw, Freq) + 0.3 * B.Next(TWave::Square, Freq * Cents(-4)) +
                           0.65 * Sub.Next(TWave::Sine, Freq);
        return Filter.Low(Osc);
      },
      [&](double V) { return std::tanh(Drive * V) / std::tanh(Drive); });
}

TMono RenderPadVoice(double Freq, double Gate, float Velocity, std::uint32_t Seed) {
  const double Release = 0.9;
  TRng Rng(Seed);
  TOsc Osc[3] = {TOsc(Rng.Unit()), TOsc(Rng.Unit()), TOsc(Rng.Unit())};
  const double Detune[3] = {Cents(-11), 1.0, Cents(9)};
  const double LfoPhase = Rng.Unit() * TwoPi;
  TAdsr Amp(0.35, 0.9, 0.8, Release);
  TSvf Filter;
  return RenderGated(VoiceLength(Gate, Release + 0.3), Gate, Amp, Velocity, [&](std::size_t i, double T) {
    if (i % ControlRate == 0) Filter.Set(1500.0 + 500.0 * std::sin(TwoPi * 0.35 * T + LfoPhase), 0.15);
    double Sum = 0.0;
    for (int k = 0; k < 3; ++k) Sum += Osc[k].Next(TWave::Saw, Freq * Detune[k]);
    return Filter.Low(Sum / 3.0);
  });
}

TMono RenderPluck(double Freq, double Gate, float Velocity) {
  const double Release = 0.08;
  TOsc A(0.0), B(0.5);
  TAdsr Amp(0.002, 0.45, 0.0, Release);
  TSvf Filter;
  return RenderGated(VoiceLength(Gate, Release + 0.05), Gate, Amp, Velocity, [&](std::size_t i, double T) {
    if (i % ControlRate == 0) Filter.Set(Freq + 500.0 + 5200.0 * std::exp(-T / 0.05), 0.3);
    const double Osc = 0.6 * A.Next(TWave::Saw, Freq) + 0.4 * B.Next(TWave::Square, Freq * Cents(7), 0.25);
    return Filter.Low(Osc);
  });
}

TMono RenderBell(double Freq, double Decay, float Velocity, double Ratio, double Index) {
  TMono Out(SecondsToFrames(Decay * 4.6 + 0.01));
  TOsc Carrier(0.0), Modulator(0.0);
  TDecay Amp(Decay), Bright(Decay * 0.3);
  const std::size_t Attack = SecondsToFrames(0.002);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double Mod = Modulator.Next(TWave::Sine, Freq * Ratio) * (Index * Bright.Next() + 0.25);
    // Phase modulation: offset the carrier's phase by the modulator.
    const double C = std::sin(TwoPi * Carrier.Phase() + Mod);
    Carrier.Next(TWave::Sine, Freq);
    double A = Amp.Next();
    if (i < Attack) A *= static_cast<double>(i) / Attack;
    Out[i] = static_cast<float>(C * A * Velocity);
  }
  FadeEdges(Out, 0.0, 0.01);
  return Out;
}

TMono RenderBrass(double Freq, double Gate, float Velocity) {
  const double Release = 0.25;
  TOsc A(0.0), B(0.37), C(0.71);
  TAdsr Amp(0.025, 0.5, 0.78, Release);
  TSvf Filter;
  return RenderGated(VoiceLength(Gate, Release + 0.2), Gate, Amp, Velocity, [&](std::size_t i, double T) {
    if (i % ControlRate == 0) {
      const double Open = (1.0 - std::exp(-T / 0.035)) * (0.55 + 0.45 * std::exp(-T / 0.35));
      Filter.Set(Freq * 1.2 + 3800.0 * Open * Velocity, 0.18);
    }
    const double F = Freq * Vibrato(T, 0.3, 0.12, 5.0);
    const double Osc = 0.4 * A.Next(TWave::Saw, F * Cents(-6)) + 0.4 * B.Next(TWave::Saw, F * Cents(6)) +
                       0.3 * C.Next(TWave::Square, F, 0.4);
    return Filter.Low(Osc);
  });
}

TMono RenderKick(float Velocity) {
  TMono Out(SecondsToFrames(0.55));
  TOsc Body(0.0);
  TRng Rng(0x4B1C4u);
  TSvf Click;
  Click.Set(3500.0, 0.1);
  const double Drive = 1.8;
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    const double F = 46.0 + 120.0 * std::exp(-T / 0.032);
    const double Amp = std::exp(-T / 0.2) * std::min(1.0, T / 0.001);
    const double V = Body.Next(TWave::Sine, F) * Amp + Click.Band(Rng.Bipolar()) * std::exp(-T / 0.004) * 0.5;
    Out[i] = static_cast<float>(std::tanh(Drive * V) / std::tanh(Drive) * Velocity);
  }
  FadeEdges(Out, 0.0, 0.05);
  return Out;
}

TMono RenderSnare(float Velocity, std::uint32_t Seed) {
  TMono Out(SecondsToFrames(0.4));
  TOsc Low(0.0), High(0.0);
  TRng Rng(Seed);
  TSvf Noise;
  Noise.Set(4200.0, 0.15);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    const double Tone = 0.55 * Low.Next(TWave::Sine, 185.0 * (1.0 + 0.35 * std::exp(-T / 0.012))) * std::exp(-T / 0.055) +
                        0.3 * High.Next(TWave::Sine, 330.0) * std::exp(-T / 0.035);
    const double Rattle = (0.6 * Noise.Band(Rng.Bipolar()) + 0.25 * Rng.Bipolar()) * std::exp(-T / 0.11);
    Out[i] = static_cast<float>((Tone + Rattle) * std::min(1.0, T / 0.0008) * Velocity);
  }
  FadeEdges(Out, 0.0, 0.05);
  return Out;
}

TMono RenderClap(float Velocity, std::uint32_t Seed) {
  TMono Out(SecondsToFrames(0.35));
  TRng Rng(Seed);
  TSvf Filter;
  Filter.Set(1300.0, 0.35);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    // Three quick slaps, then the room's decay.
    double Env = 0.0;
    for (int k = 0; k < 3; ++k) {
      const double Tk = T - 0.011 * k;
      if (Tk >= 0.0) Env = std::max(Env, std::exp(-Tk / 0.0045));
    }
    if (T >= 0.033) Env = std::max(Env, 0.75 * std::exp(-(T - 0.033) / 0.09));
    Out[i] = static_cast<float>(Filter.Band(Rng.Bipolar()) * Env * 1.6 * Velocity);
  }
  FadeEdges(Out, 0.0005, 0.05);
  return Out;
}

namespace {
// Six detuned squares at inharmonic ratios: the metallic core of hats and
// cymbals.
double Metal(TOsc (&Osc)[6], double Base) {
  static const double Ratios[6] = {1.0, 1.4471, 1.6170, 1.9265, 2.5028, 2.6637};
  double Sum = 0.0;
  for (int k = 0; k < 6; ++k) Sum += Osc[k].Next(TWave::Square, Base * Ratios[k]);
  return Sum / 6.0;
}
}  // namespace

TMono RenderHat(bool Open, float Velocity, std::uint32_t Seed) {
  const double Tau = Open ? 0.16 : 0.028;
  TMono Out(SecondsToFrames(Tau * 6.0));
  TRng Rng(Seed);
  TOsc Osc[6];
  TSvf High, Band;
  High.Set(7200.0, 0.2);
  Band.Set(10000.0, 0.1);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    const double Src = 0.6 * Metal(Osc, 392.0) + 0.5 * Rng.Bipolar();
    const double V = Band.Band(High.High(Src)) * std::exp(-T / Tau) * std::min(1.0, T / 0.0005);
    Out[i] = static_cast<float>(V * 1.8 * Velocity);
  }
  FadeEdges(Out, 0.0, Tau);
  return Out;
}

TMono RenderCrash(float Velocity, std::uint32_t Seed) {
  TMono Out(SecondsToFrames(2.6));
  TRng Rng(Seed);
  TOsc Osc[6];
  TSvf High, Low;
  High.Set(4200.0, 0.1);
  Low.Set(12000.0, 0.0);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    const double Src = 0.45 * Metal(Osc, 310.0) + 0.7 * Rng.Bipolar();
    const double Env = (0.35 * std::exp(-T / 0.05) + 0.65 * std::exp(-T / 0.55)) * std::min(1.0, T / 0.001);
    Out[i] = static_cast<float>(Low.Low(High.High(Src)) * Env * Velocity);
  }
  FadeEdges(Out, 0.0, 0.4);
  return Out;
}

TMono RenderTom(double Freq, float Velocity, std::uint32_t Seed) {
  TMono Out(SecondsToFrames(1.3));
  TOsc Body(0.0), Over(0.0);
  TRng Rng(Seed);
  TSvf Skin;
  Skin.Set(Freq * 6.0, 0.2);
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double T = static_cast<double>(i) / SampleRate;
    const double F = Freq * (1.0 + 0.12 * std::exp(-T / 0.06));
    const double V = 0.8 * Body.Next(TWave::Sine, F) * std::exp(-T / 0.35) +
                     0.25 * Over.Next(TWave::Sine, F * 1.5) * std::exp(-T / 0.15) +
                     0.3 * Skin.Band(Rng.Bipolar()) * std::exp(-T / 0.02);
    Out[i] = static_cast<float>(V * std::min(1.0, T / 0.001) * Velocity);
  }
  FadeEdges(Out, 0.0, 0.2);
  return Out;
}

TMono RenderRiser(double Seconds, float Velocity, std::uint32_t Seed) {
  TMono Out(SecondsToFrames(Seconds));
  TRng Rng(Seed);
  TSvf Filter;
  for (std::size_t i = 0; i < Out.size(); ++i) {
    const double X = static_cast<double>(i) / Out.size();
    if (i % ControlRate == 0) Filter.Set(300.0 * std::pow(30.0, X), 0.55);
    Out[i] = static_cast<float>(Filter.Band(Rng.Bipolar()) * X * X * Velocity);
  }
  FadeEdges(Out, 0.0, 0.01);
  return Out;
}

}  // namespace PakAudio
