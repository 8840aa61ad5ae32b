// The game's sound effects. They share the music's key (A minor, with A major
// for the rewarding ones) so that effects played over the menu theme or the
// jingles do not clash.
#include <algorithm>
#include <cmath>

#include "AudioAssets.h"
#include "Instruments.h"
#include "Loudness.h"

namespace PakAudio {

namespace {

double Seconds(std::size_t Frame) { return static_cast<double>(Frame) / SampleRate; }

// Sample peaks stay below this, leaving room for the 16-bit rounding and for
// the overshoot of a converter between samples.
constexpr double PeakCeilingDb = -1.5;

// The balance, in LUFS as EffectLoudness measures it. A death must cut
// through everything, the music included; rewards sit in the middle; the
// warp that follows every death and the loops that run while a player moves
// stay under them. In the menu a choice is heard clearly, a refusal
// moderately, and the ticks of moving about stay quiet.
constexpr double ExplosionLufs = -14.0;
constexpr double HeartLufs = -17.5;
constexpr double FillLufs = -18.5;
constexpr double DollarLufs = -19.0;
constexpr double SpeedLufs = -19.0;
constexpr double WarpLufs = -21.0;
constexpr double VanishLufs = -21.0;
constexpr double DrawLufs = -25.0;
constexpr double RunLufs = -27.0;
constexpr double ChooseLufs = -21.0;
constexpr double ErrorLufs = -23.0;
constexpr double FoldLufs = -24.0;
constexpr double ScrollRestLufs = -28.0;
constexpr double ScrollLufs = -29.0;
constexpr double TickLufs = -29.0;

// Effects lose any DC offset (narrow pulses carry one): it wastes headroom
// and turns every start and halt into a thump. A loop simply loses its mean,
// which keeps it periodic; a one-shot goes through a gentle high pass and
// gets short fades at both ends. Then every effect is brought to its
// loudness (EffectLoudness, in LUFS), which sets the balance between them:
// see the levels above. A one-shot whose peaks would pass the ceiling at
// that loudness goes through the limiter; a loop is never limited (it would
// bend its seam) and is turned down instead.
TMono Finish(TMono Sound, double Lufs, bool Loop) {
  if (Loop) {
    double Mean = 0.0;
    for (float V : Sound) Mean += V;
    Mean /= static_cast<double>(std::max<std::size_t>(1, Sound.size()));
    for (float& V : Sound) V = static_cast<float>(V - Mean);
  } else {
    TOnePole Dc;
    Dc.SetCutoff(20.0);
    for (float& V : Sound) V = static_cast<float>(Dc.High(V));
    FadeEdges(Sound, 0.002, 0.02);
  }
  if (Peak(Sound) <= 0.0f) return Sound;
  const float Ceiling = static_cast<float>(DbToGain(PeakCeilingDb));
  if (Loop) {
    Scale(Sound, static_cast<float>(DbToGain(Lufs - EffectLoudness(Sound, true))));
    if (Peak(Sound) > Ceiling) Scale(Sound, Ceiling / Peak(Sound));
    return Sound;
  }
  // Once the limiter works, a dB of gain buys less than a dB of loudness, so
  // the gain is found by secant steps, limiting a fresh copy each time.
  const double Start = EffectLoudness(Sound, false);
  auto Render = [&](double GainDb) {
    TMono Out = Sound;
    Scale(Out, static_cast<float>(DbToGain(GainDb)));
    if (Peak(Out) > Ceiling) Limit(Out, Ceiling, 0.0015, 0.06);
    return Out;
  };
  double GainDb = Lufs - Start, LastGainDb = 0.0, LastLufs = Start;
  TMono Out = Render(GainDb);
  for (int Round = 0; Round < 12; ++Round) {
    const double Got = EffectLoudness(Out, false);
    if (std::fabs(Lufs - Got) < 0.02) break;
    const double Slope = std::clamp((Got - LastLufs) / (GainDb - LastGainDb), 0.1, 1.0);
    LastGainDb = GainDb;
    LastLufs = Got;
    GainDb += (Lufs - Got) / Slope;
    Out = Render(GainDb);
  }
  return Out;
}

// A loop of Frames frames from a per-frame source. Every periodic part of
// the source must repeat a whole number of times in Frames (frequencies that
// are multiples of SampleRate / Frames, noise read from a table of Frames
// values). Three laps are rendered and the last kept: by then the filters
// have settled into the same periodic state, so the kept lap runs into its
// own start as smoothly as into any other sample.
template <typename TSource>
TMono RenderLoop(std::size_t Frames, TSource&& Source) {
  TMono Out(Frames);
  for (std::size_t i = 0; i < 3 * Frames; ++i) {
    const float V = static_cast<float>(Source(i));
    if (i >= 2 * Frames) Out[i - 2 * Frames] = V;
  }
  return Out;
}

std::vector<float> NoiseTable(std::size_t Frames, std::uint32_t Seed) {
  TRng Rng(Seed);
  std::vector<float> Table(Frames);
  for (float& V : Table) V = static_cast<float>(Rng.Bipolar());
  return Table;
}

// ---- the player's loops ----------------------------------------------------

// Cutting a trail: a buzzing electric pen. Loop of 0.5 s; every frequency is
// a multiple of 2 Hz.
TMono PlayerDraw() {
  const std::size_t N = SampleRate / 2;
  const std::vector<float> Noise = NoiseTable(N, 0xD4A3u);
  TOsc A, B, Hum, Lfo, Vib;
  TSvf Body, Fizz;
  Fizz.Set(5200.0, 0.3);
  return Finish(RenderLoop(N, [&](std::size_t i) {
    const double L = Lfo.Next(TWave::Sine, 8.0);  // 4 sweeps a loop
    if (i % 8 == 0) Body.Set(1300.0 + 900.0 * L, 0.6);
    const double Buzz = Body.Low(0.5 * A.Next(TWave::Saw, 220.0) + 0.5 * B.Next(TWave::Saw, 222.0));
    // Whole vibrato cycles in the loop leave the phase where it started.
    const double Whine = Hum.Next(TWave::Sine, 440.0 * (1.0 + 0.004 * Vib.Next(TWave::Sine, 6.0)));
    return 0.8 * Buzz + 0.2 * Whine + 0.1 * Fizz.Band(Noise[i % N]);
  }), DrawLufs, true);
}

// Running along the edge: a soft, rolling whirr. Loop of 0.5 s; every
// frequency is a multiple of 2 Hz.
TMono PlayerRun() {
  const std::size_t N = SampleRate / 2;
  const std::vector<float> Noise = NoiseTable(N, 0x52u);
  TOsc Pulse, Tri, Roll;
  TSvf Low, Air;
  Low.Set(900.0, 0.3);
  Air.Set(1200.0, 0.4);
  return Finish(RenderLoop(N, [&](std::size_t i) {
    const double R = Roll.Next(TWave::Sine, 16.0);  // 8 rolls a loop
    const double Whirr = Low.Low(0.5 * Pulse.Next(TWave::Square, 98.0, 0.3)) + 0.35 * Tri.Next(TWave::Triangle, 196.0);
    const double Hiss = Air.Band(Noise[i % N]) * 0.25;
    return (Whirr + Hiss) * (0.7 + 0.3 * R);
  }), RunLufs, true);
}

// ---- the player's one-shots ------------------------------------------------

// One crackle of the settling debris: a few milliseconds of a damped tone
// with a soft onset. A bare impulse would be a single-sample click, which in
// the quiet tail stands out as a fault rather than as debris.
TMono SparkGrain(double Freq, double Tau) {
  const std::size_t N = SecondsToFrames(5.0 * Tau);
  const std::size_t Rise = SecondsToFrames(0.0005);
  TMono Grain(N);
  TOsc Tone;
  for (std::size_t i = 0; i < N; ++i) {
    const double Onset = i < Rise ? 0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / Rise) : 1.0;
    Grain[i] = static_cast<float>(Tone.Next(TWave::Sine, Freq) * std::exp(-Seconds(i) / Tau) * Onset);
  }
  FadeEdges(Grain, 0.0, Tau);
  return Grain;
}

// Losing a life: a low boom under a roaring blast that darkens as it dies,
// and crackling debris. The roar is held long and driven into saturation so
// that the death is the loudest thing in the game without tall peaks: only
// its first few hundred milliseconds need the limiter.
TMono PlayerExplosion() {
  const std::size_t N = SecondsToFrames(1.5);
  TMono Out(N);
  TRng Rng(0xB00Bu);
  TOsc Boom;
  TSvf Blast;
  TPinkNoise Rumble(0x77u);
  TSvf RumbleLow;
  RumbleLow.Set(180.0, 0.1);
  TSvf Crack0;
  Crack0.Set(2000.0, 0.1);
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    if (i % 16 == 0) Blast.Set(150.0 + 7000.0 * std::exp(-T / 0.16), 0.2);
    const double Body = Boom.Next(TWave::Sine, 38.0 + 60.0 * std::exp(-T / 0.1)) * std::exp(-T / 0.3);
    const double White = Rng.Bipolar();
    const double Noise = Blast.Low(White) * std::exp(-T / 0.7) + 0.5 * Crack0.High(White) * std::exp(-T / 0.025);
    const double Tail = RumbleLow.Low(Rumble.Next()) * 3.6 * std::exp(-T / 0.5);
    Out[i] = static_cast<float>((0.45 * Body + 3.0 * Noise + Tail) * std::min(1.0, T / 0.0015));
  }
  // Sparse crackles, thinning out and dying away with the blast.
  TRng Sparks(0x5BA4u);
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    if (Sparks.Unit() >= 0.006 * std::exp(-T / 0.35)) continue;
    const double Freq = 1800.0 + 2600.0 * Sparks.Unit();
    const double Tau = 0.0006 + 0.001 * Sparks.Unit();
    const double Amp = (0.5 + 0.8 * Sparks.Unit()) * std::exp(-T / 0.4) * (Sparks.Unit() < 0.5 ? -1.0 : 1.0);
    MixInto(Out, SparkGrain(Freq, Tau), i, static_cast<float>(Amp), false);
  }
  for (float& V : Out) V = static_cast<float>(std::tanh(1.5 * V));
  FadeEdges(Out, 0.0, 0.25);
  return Finish(Out, ExplosionLufs, false);
}

// Appearing on the field: a rising, shimmering sweep that lands on A.
TMono PlayerWarp() {
  const std::size_t N = SecondsToFrames(0.75);
  TMono Out(N);
  TOsc A, B, Wobble;
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    const double X = std::min(1.0, T / 0.42);
    const double F = 220.0 * std::pow(8.0, X * (2.0 - X));  // eases into A6 (1760 Hz)
    const double W = 1.0 + 0.03 * Wobble.Next(TWave::Sine, 28.0);
    const double Tone = 0.6 * A.Next(TWave::Triangle, F * W) + 0.3 * B.Next(TWave::Sine, F * 1.5 * W);
    const double Env = std::sin(Pi * std::min(1.0, T / 0.75)) * (T < 0.42 ? 1.0 : std::exp(-(T - 0.42) / 0.12) * 0.5 + 0.5);
    Out[i] = static_cast<float>(Tone * Env * 0.7);
  }
  // Three sparkles on the way up: A, E, A.
  const double Sparkles[3][2] = {{0.10, 880.0}, {0.22, 1318.51}, {0.36, 1760.0}};
  for (const auto& [At, Freq] : Sparkles) MixInto(Out, RenderBell(Freq, 0.12, 0.35f, 2.0, 2.0), SecondsToFrames(At), 1.0f, false);
  return Finish(Out, WarpLufs, false);
}

// Being swallowed: the warp in reverse, fizzling away.
TMono PlayerVanish() {
  const std::size_t N = SecondsToFrames(0.9);
  TMono Out(N);
  TOsc A, B, Trem;
  TRng Rng(0xF122u);
  TSvf Fizz;
  Fizz.Set(6000.0, 0.2);
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    const double X = std::min(1.0, T / 0.8);
    const double F = 1760.0 * std::pow(1.0 / 12.0, X);
    const double Tremolo = 0.6 + 0.4 * Trem.Next(TWave::Sine, 24.0 - 16.0 * X);
    const double Tone = 0.6 * A.Next(TWave::Triangle, F) + 0.25 * B.Next(TWave::Square, F * 0.5, 0.3);
    const double Noise = Fizz.High(Rng.Bipolar()) * 0.25 * (1.0 - X);
    const double Env = std::min(1.0, T / 0.01) * (1.0 - X) * (1.0 - X);
    Out[i] = static_cast<float>((Tone * Tremolo + Noise) * Env);
  }
  return Finish(Out, VanishLufs, false);
}

// ---- items -----------------------------------------------------------------

// Extra life: a bright rising A-major arpeggio with a held top note.
TMono ItemHeart() {
  TMono Out(SecondsToFrames(1.1));
  const double Notes[4] = {69, 73, 76, 81};  // A4 C#5 E5 A5
  for (int k = 0; k < 4; ++k) {
    const double At = 0.065 * k;
    const double Gate = k == 3 ? 0.45 : 0.08;
    const float Vel = k == 3 ? 1.0f : 0.8f;
    MixInto(Out, RenderSoftLead(MidiToHz(Notes[k] + 12), Gate, Vel), SecondsToFrames(At), 0.55f, false);
    MixInto(Out, RenderBell(MidiToHz(Notes[k] + 12), 0.25, Vel, 2.0, 1.5), SecondsToFrames(At), 0.35f, false);
  }
  return Finish(Out, HeartLufs, false);
}

// Speed-up: a quick upward zip with a whoosh.
TMono ItemSpeed() {
  const std::size_t N = SecondsToFrames(0.6);
  TMono Out(N);
  TOsc Zip;
  TRng Rng(0x5EEDu);
  TSvf Whoosh;
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    // Three ever higher zips.
    const int Leg = std::min(2, static_cast<int>(T / 0.11));
    const double Local = T - Leg * 0.11;
    const double F = 330.0 * std::pow(2.0, Leg * 0.5) * std::pow(4.0, std::min(1.0, Local / 0.11));
    // Short ramps at each leg's ends keep the steps from clicking.
    const double Ramp = std::clamp(std::min(Local, 0.1 - Local) / 0.003, 0.0, 1.0);
    const double Gate = Leg < 2 ? Ramp : std::min(1.0, Local / 0.003) * std::exp(-std::max(0.0, Local - 0.1) / 0.08);
    const double Tone = Zip.Next(TWave::Square, F, 0.25) * Gate;
    if (i % 16 == 0) Whoosh.Set(500.0 * std::pow(16.0, std::min(1.0, T / 0.45)), 0.5);
    const double Air = Whoosh.Band(Rng.Bipolar()) * std::sin(Pi * std::min(1.0, T / 0.6));
    Out[i] = static_cast<float>(0.35 * Tone + 0.5 * Air);
  }
  // Soften the square's corners at each leg change.
  TSvf Smooth;
  Smooth.Set(7000.0, 0.0);
  for (float& V : Out) V = static_cast<float>(Smooth.Low(V));
  return Finish(Out, SpeedLufs, false);
}

// Money: two bright bell strikes a fifth apart and a scatter of glints.
TMono ItemDollar() {
  TMono Out(SecondsToFrames(0.9));
  MixInto(Out, RenderBell(MidiToHz(88), 0.16, 0.8f, 1.4, 2.5), 0, 0.6f, false);                     // E6
  MixInto(Out, RenderBell(MidiToHz(95), 0.28, 1.0f, 1.4, 2.5), SecondsToFrames(0.075), 0.6f, false);  // B6
  MixInto(Out, RenderBell(MidiToHz(100), 0.22, 0.5f, 3.0, 1.0), SecondsToFrames(0.075), 0.3f, false); // E7
  TRng Rng(0xC014u);
  for (int k = 0; k < 7; ++k) {
    const double At = 0.09 + 0.045 * k + 0.02 * Rng.Unit();
    const double Freq = 3500.0 + 3500.0 * Rng.Unit();
    MixInto(Out, RenderBell(Freq, 0.05, 0.25f * static_cast<float>(1.0 - k / 8.0), 1.0, 0.0), SecondsToFrames(At), 1.0f, false);
  }
  return Finish(Out, DollarLufs, false);
}

// ---- the running game ------------------------------------------------------

// Area claimed: a rising air sweep that opens onto an A-minor chime.
TMono Fill() {
  const std::size_t N = SecondsToFrames(0.95);
  TMono Out(N);
  TPinkNoise Noise(0xF111u);
  TSvf Sweep;
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    if (i % 16 == 0) Sweep.Set(350.0 * std::pow(12.0, std::min(1.0, T / 0.3)), 0.6);
    const double Env = T < 0.3 ? T / 0.3 : std::exp(-(T - 0.3) / 0.12);
    Out[i] = static_cast<float>(Sweep.Band(Noise.Next()) * Env * 2.5);
  }
  const int Chord[3] = {69, 76, 84};  // A4 E5 C6
  for (int k = 0; k < 3; ++k)
    MixInto(Out, RenderBell(MidiToHz(Chord[k] + 12), 0.22, 0.7f, 2.0, 1.8), SecondsToFrames(0.2 + 0.025 * k), 0.45f, false);
  MixInto(Out, RenderPluck(MidiToHz(57), 0.12, 0.7f), SecondsToFrames(0.2), 0.4f, false);
  return Finish(Out, FillLufs, false);
}

// ---- menu ------------------------------------------------------------------

TMono MenuTick() {
  const std::size_t N = SecondsToFrames(0.06);
  TMono Out(N);
  TOsc A, B;
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    const double V = 0.7 * A.Next(TWave::Sine, 1760.0) + 0.3 * B.Next(TWave::Sine, 2640.0);
    Out[i] = static_cast<float>(V * std::exp(-T / 0.009) * std::min(1.0, T / 0.0007));
  }
  return Finish(Out, TickLufs, false);
}

TMono MenuChoose() {
  TMono Out(SecondsToFrames(0.5));
  MixInto(Out, RenderBell(MidiToHz(76), 0.12, 0.8f, 2.0, 2.2), 0, 0.6f, false);                       // E5
  MixInto(Out, RenderBell(MidiToHz(81), 0.2, 1.0f, 2.0, 2.2), SecondsToFrames(0.075), 0.6f, false);    // A5
  MixInto(Out, RenderPluck(MidiToHz(69), 0.1, 0.8f), SecondsToFrames(0.075), 0.35f, false);            // A4
  return Finish(Out, ChooseLufs, false);
}

// Scrolling the score list: a light ratchet, four clicks in a 0.2 s loop.
// Each click has died away long before the next, and the clicks are placed
// around the loop so that the one near the end spills over into the start.
TMono MenuScroll() {
  const std::size_t N = SecondsToFrames(0.2);
  TMono Out(N);
  for (int k = 0; k < 4; ++k) {
    const std::size_t Len = SecondsToFrames(0.03);
    TMono Click(Len);
    TOsc A, B;
    const double F = k % 2 == 0 ? 1568.0 : 1318.5;  // G6 and E6 alternating
    for (std::size_t i = 0; i < Len; ++i) {
      const double T = Seconds(i);
      Click[i] = static_cast<float>((0.7 * A.Next(TWave::Sine, F) + 0.3 * B.Next(TWave::Triangle, F * 2.0)) *
                                    std::exp(-T / 0.0045) * std::min(1.0, T / 0.0006));
    }
    FadeEdges(Click, 0.0, 0.005);
    MixInto(Out, Click, SecondsToFrames(0.012 + 0.05 * k), 1.0f, true);
  }
  return Finish(Out, ScrollLufs, true);
}

TMono MenuScrollRest() {
  const std::size_t N = SecondsToFrames(0.25);
  TMono Out(N);
  TOsc A, B;
  TRng Rng(0x8E57u);
  TSvf Knock;
  Knock.Set(900.0, 0.3);
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    const double V = 0.6 * A.Next(TWave::Sine, 659.25 * (1.0 + 0.05 * std::exp(-T / 0.01))) * std::exp(-T / 0.05) +
                     0.4 * B.Next(TWave::Sine, 329.63) * std::exp(-T / 0.07) +
                     0.4 * Knock.Band(Rng.Bipolar()) * std::exp(-T / 0.008);
    Out[i] = static_cast<float>(V * std::min(1.0, T / 0.0008));
  }
  return Finish(Out, ScrollRestLufs, false);
}

// The frame folding and unfolding: an air sweep with a gliding tone, down
// for folding in, up for folding out.
TMono FoldSweep(bool Up, std::uint32_t Seed) {
  const std::size_t N = SecondsToFrames(0.65);
  TMono Out(N);
  TPinkNoise Noise(Seed);
  TSvf Band;
  TOsc Tone;
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    const double X = std::min(1.0, T / 0.5);
    const double P = Up ? X : 1.0 - X;
    if (i % 16 == 0) Band.Set(400.0 * std::pow(8.0, P), 0.55);
    const double F = 220.0 * std::pow(3.0, P);
    const double Env = std::sin(Pi * std::min(1.0, T / 0.65));
    Out[i] = static_cast<float>((Band.Band(Noise.Next()) * 2.2 + 0.18 * Tone.Next(TWave::Triangle, F)) * Env);
  }
  return Finish(Out, FoldLufs, false);
}

TMono MenuFoldIn() { return FoldSweep(false, 0xF01Du); }
TMono MenuFoldOut() { return FoldSweep(true, 0xF0D0u); }

// Refused: two low, dissonant buzzes.
TMono MenuError() {
  const std::size_t N = SecondsToFrames(0.36);
  TMono Out(N);
  TOsc A, B;
  TSvf Low;
  Low.Set(1400.0, 0.2);
  for (std::size_t i = 0; i < N; ++i) {
    const double T = Seconds(i);
    const double Local = T < 0.17 ? T : T - 0.19;
    const double Gate = (T < 0.15 || (T >= 0.19 && T < 0.34)) ? std::min({1.0, Local / 0.005, (0.15 - Local) / 0.01}) : 0.0;
    const double V = 0.5 * A.Next(TWave::Square, 155.56) + 0.5 * B.Next(TWave::Saw, 110.0);
    Out[i] = static_cast<float>(Low.Low(V) * std::max(0.0, Gate));
  }
  return Finish(Out, ErrorLufs, false);
}

}  // namespace

const std::vector<TEffectAsset>& SoundEffects() {
  static const std::vector<TEffectAsset> List = {
      {"player_draw.wav", true, PlayerDraw},
      {"player_run.wav", true, PlayerRun},
      {"player_explosion.wav", false, PlayerExplosion},
      {"player_warp.wav", false, PlayerWarp},
      {"player_vanish.wav", false, PlayerVanish},
      {"item_heart.wav", false, ItemHeart},
      {"item_speed.wav", false, ItemSpeed},
      {"item_dollar.wav", false, ItemDollar},
      {"fill.wav", false, Fill},
      {"menu_tick.wav", false, MenuTick},
      {"menu_choose.wav", false, MenuChoose},
      {"menu_scroll.wav", true, MenuScroll},
      {"menu_scroll_rest.wav", false, MenuScrollRest},
      {"menu_foldin.wav", false, MenuFoldIn},
      {"menu_foldout.wav", false, MenuFoldOut},
      {"menu_error.wav", false, MenuError},
  };
  return List;
}

}  // namespace PakAudio
