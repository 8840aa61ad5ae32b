// The game's music: the menu theme and three short jingles, written out as
// notes on a tempo grid and played by the instruments of Instruments.h.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "AudioAssets.h"
#include "Instruments.h"
#include "Sequencer.h"

namespace PakAudio {

namespace {

enum class TInst { Lead, SoftLead, Bass, Pluck, Brass, Bell, LongBell };

TMono RenderNote(TInst Inst, double Freq, double Gate, float Velocity) {
  switch (Inst) {
    case TInst::Lead: return RenderLead(Freq, Gate, Velocity);
    case TInst::SoftLead: return RenderSoftLead(Freq, Gate, Velocity);
    case TInst::Bass: return RenderBass(Freq, Gate, Velocity);
    case TInst::Pluck: return RenderPluck(Freq, Gate, Velocity);
    case TInst::Brass: return RenderBrass(Freq, Gate, Velocity);
    case TInst::Bell: return RenderBell(Freq, 0.35, Velocity, 2.0, 2.0);
    case TInst::LongBell: return RenderBell(Freq, 0.9, Velocity, 2.0, 1.6);
  }
  return {};
}

struct TPart {
  TBus Bus;
  TInst Inst;
  float Gain;
  float Pan;
  float Reverb = 0.0f;
  float Echo = 0.0f;
  double GateFactor = 0.92;  // fraction of the written length the key is held
};

void Play(TSong& Song, const TPart& Part, const std::vector<TNote>& Notes, int Transpose = 0) {
  for (const TNote& N : Notes) {
    const TMono Voice =
        RenderNote(Part.Inst, MidiToHz(N.Midi + Transpose), Song.Seconds(N.Beats * Part.GateFactor), N.Velocity);
    Song.Add(Part.Bus, Voice, N.Beat, Part.Gain, Part.Pan, Part.Reverb, Part.Echo);
  }
}

std::vector<TNote> Shifted(const std::vector<TNote>& Notes, const TScale& Scale, int Degrees) {
  std::vector<TNote> Out = Notes;
  for (TNote& N : Out) N.Midi = Scale.Shift(N.Midi, Degrees);
  return Out;
}

// A sustained chord: one saw-stack voice per chord tone in [Low, High], the
// tones spread across the stereo field.
void PlayPad(TSong& Song, const std::string& Chord, double Beat, double Beats, float Gain, int Low, int High,
             std::uint32_t Seed, TBus Bus = TBus::Ducked) {
  const std::vector<int> Tones = ChordTones(ParseChord(Chord), Low, High);
  for (std::size_t k = 0; k < Tones.size(); ++k) {
    const float Pan = Tones.size() < 2 ? 0.0f : -0.6f + 1.2f * static_cast<float>(k) / (Tones.size() - 1);
    const TMono Voice = RenderPadVoice(MidiToHz(Tones[k]), Song.Seconds(Beats), 0.8f, Seed + 977u * static_cast<std::uint32_t>(k));
    Song.Add(Bus, Voice, Beat, Gain, Pan, 0.35f, 0.0f);
  }
}

// Drum hits are rendered once and reused; a few variants of the noisy ones
// keep repeats from sounding machine-stamped.
struct TKit {
  TMono Kick = RenderKick(1.0f);
  std::array<TMono, 3> Snare = {RenderSnare(1.0f, 11), RenderSnare(1.0f, 12), RenderSnare(1.0f, 13)};
  std::array<TMono, 2> Clap = {RenderClap(1.0f, 21), RenderClap(1.0f, 22)};
  std::array<TMono, 4> Hat = {RenderHat(false, 1.0f, 31), RenderHat(false, 1.0f, 32), RenderHat(false, 1.0f, 33),
                              RenderHat(false, 1.0f, 34)};
  TMono OpenHat = RenderHat(true, 1.0f, 41);
  TMono Crash = RenderCrash(1.0f, 51);
};

// ---- the menu theme ---------------------------------------------------------
//
// A minor, 125 bpm, 40 bars (76.8 s), looping:
//   bars  0- 3 intro    Am F C G      pads, arpeggio, the beat comes in
//   bars  4-11 verse    Am F C G x2   lead melody, bass, drums
//   bars 12-19 chorus   F G Em Am F G C E   the hook, full beat
//   bars 20-23 break    Dm Am Dm E7   bells over pads, build-up
//   bars 24-31 verse    with a harmony a third below and a quiet arpeggio
//   bars 32-39 chorus   doubled an octave down, bells on top
// The last bar's E major resolves onto the intro's A minor as the piece
// loops; the crash on the first downbeat marks the return.

const std::array<const char*, 40> MenuChords = {
    "Am", "F", "C", "G",                          // intro
    "Am", "F", "C", "G", "Am", "F", "C", "G",     // verse
    "F",  "G", "Em", "Am", "F", "G", "C", "E",    // chorus
    "Dm", "Am", "Dm", "E7",                       // break
    "Am", "F", "C", "G", "Am", "F", "C", "G",     // verse again
    "F",  "G", "Em", "Am", "F", "G", "C", "E",    // chorus again
};

// Where the sections begin, in bars.
constexpr int VerseBars[2] = {4, 24};
constexpr int ChorusBars[2] = {12, 32};
constexpr int BreakBar = 20;

const char* const VerseMelody =
    "e5:2 a4:2 -:1 a4:1 c5:2 e5:2 d5:2 c5:2 d5:2 | "
    "c5:6 a4:2 -:2 a4:2 c5:2 f5:2 | "
    "e5:2 g4:2 -:1 g4:1 c5:2 e5:2 d5:2 c5:2 b4:2 | "
    "d5:6 b4:2 g4:4 -:4 | "
    "e5:2 a4:2 -:1 a4:1 c5:2 e5:2 d5:2 c5:2 e5:2 | "
    "f5:4 e5:2 c5:2 a4:4 c5:4 | "
    "g5:3 e5:3 c5:2 e5:2 g5:2 e5:2 c5:2 | "
    "d5:4 b4:2 d5:2 g5:4 -:4 |";

const char* const ChorusMelody =
    "a5:3! g5:3 f5:2 e5:2 f5:2 c5:4 | "
    "d5:3 e5:3 g5:4 -:2 g5:2 a5:2 | "
    "b5:3! a5:3 g5:2 e5:4 g5:4 | "
    "a5:6! e5:2 a5:4 c6:4 | "
    "a5:3! g5:3 f5:2 e5:2 f5:2 c5:4 | "
    "d5:3 e5:3 g5:4 -:2 g5:2 b5:2 | "
    "c6:6! d6:2 e6:4 c6:4 | "
    "b5:4! g#5:4 e5:4 b4:4 |";

const char* const BreakBells =
    "d6:6 c6:2 a5:8 | "
    "c6:6 b5:2 a5:4 e5:4 | "
    "d6:6 e6:2 f6:4 e6:4 | "
    "d6:4 b5:4 g#5:4 e5:4 |";

// Sixteenth-note arpeggio over a bar's chord, from A4 up.
void PlayArpeggio(TSong& Song, int Bar, float Gain) {
  static const int Order[16] = {0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2, 1, 3, 2, 4, 2};
  const std::vector<int> Tones = ChordTones(ParseChord(MenuChords[Bar]), 69, 88);
  for (int s = 0; s < 16; ++s) {
    const int Midi = Tones[Order[s] % Tones.size()];
    const float Vel = s % 4 == 0 ? 0.9f : (s % 2 == 0 ? 0.7f : 0.55f);
    const TMono Voice = RenderPluck(MidiToHz(Midi), Song.Seconds(0.2), Vel);
    Song.Add(TBus::Ducked, Voice, Bar * 4 + s * 0.25, Gain, s % 2 == 0 ? 0.35f : -0.35f, 0.25f, 0.4f);
  }
}

enum class TBassStyle { Hold, Eighths, Bounce };

void PlayBassBar(TSong& Song, int Bar, TBassStyle Style, float Gain) {
  const int Root = RootAtOrAbove(ParseChord(MenuChords[Bar]), 33);  // A1 .. G#2
  const double B = Bar * 4.0;
  auto Note = [&](double Beat, double Beats, int Midi, float Vel) {
    Song.Add(TBus::Ducked, RenderBass(MidiToHz(Midi), Song.Seconds(Beats), Vel), B + Beat, Gain, 0.0f);
  };
  switch (Style) {
    case TBassStyle::Hold:
      Note(0.0, 3.6, Root, 0.8f);
      break;
    case TBassStyle::Eighths:
      for (int k = 0; k < 8; ++k) Note(k * 0.5, 0.38, (k == 3 || k == 6) ? Root + 12 : Root, k % 2 == 0 ? 0.95f : 0.75f);
      break;
    case TBassStyle::Bounce:
      for (int k = 0; k < 8; ++k) Note(k * 0.5, 0.3, k % 2 == 0 ? Root : Root + 12, k % 2 == 0 ? 1.0f : 0.8f);
      break;
  }
}

enum class TBeat { None, HatsOnly, KickOnly, Verse, Chorus, Break };

void PlayDrumBar(TSong& Song, const TKit& Kit, int Bar, TBeat Beat, bool Fill) {
  const double B = Bar * 4.0;
  auto Hit = [&](const TMono& Sound, double Step, float Gain, float Pan, float Reverb = 0.0f) {
    Song.Add(TBus::Drums, Sound, B + Step / 4.0, Gain, Pan, Reverb);
  };
  auto Kick = [&](double Step, float Gain) {
    Hit(Kit.Kick, Step, Gain * 0.8f, 0.0f);
    Song.MarkKick(B + Step / 4.0, Gain);
  };
  const int Variant = Bar % 3;
  switch (Beat) {
    case TBeat::None:
      break;
    case TBeat::HatsOnly:
      for (int s = 2; s < 16; s += 4) Hit(Kit.Hat[s % 4], s, 0.2f, 0.3f);
      break;
    case TBeat::KickOnly:
      for (int s = 0; s < 16; s += 4) Kick(s, 0.8f);
      for (int s = 2; s < 16; s += 4) Hit(Kit.Hat[(s / 2) % 4], s, 0.25f, 0.3f);
      break;
    case TBeat::Verse:
      Kick(0, 0.9f);
      Kick(6, 0.7f);
      Kick(8, 0.9f);
      if (Bar % 2 == 1) Kick(11, 0.6f);
      Hit(Kit.Snare[Variant], 4, 0.7f, -0.05f, 0.2f);
      Hit(Kit.Snare[(Variant + 1) % 3], 12, 0.7f, -0.05f, 0.2f);
      for (int s = 0; s < 16; s += 2) Hit(Kit.Hat[(s / 2) % 4], s, s % 4 == 2 ? 0.3f : 0.2f, 0.3f);
      if (Bar % 2 == 1) Hit(Kit.OpenHat, 14, 0.22f, 0.3f);
      break;
    case TBeat::Chorus:
      for (int s = 0; s < 16; s += 4) Kick(s, 0.95f);
      Hit(Kit.Snare[Variant], 4, 0.7f, -0.05f, 0.2f);
      Hit(Kit.Snare[(Variant + 1) % 3], 12, 0.7f, -0.05f, 0.2f);
      Hit(Kit.Clap[0], 4, 0.4f, -0.2f, 0.25f);
      Hit(Kit.Clap[1], 12, 0.4f, -0.2f, 0.25f);
      for (int s = 0; s < 16; ++s) {
        if (s % 4 == 2)
          Hit(Kit.OpenHat, s, 0.2f, 0.3f);
        else
          Hit(Kit.Hat[s % 4], s, s % 2 == 0 ? 0.25f : 0.15f, 0.3f);
      }
      break;
    case TBeat::Break:
      for (int s = 0; s < 16; ++s) Hit(Kit.Hat[s % 4], s, s % 4 == 2 ? 0.2f : 0.1f, 0.3f);
      Hit(Kit.Clap[Bar % 2], 12, 0.4f, -0.2f, 0.35f);
      break;
  }
  if (Fill) {
    // A snare run over the last beat, growing louder into the next bar.
    for (int s = 12; s < 16; ++s) Hit(Kit.Snare[s % 3], s, 0.35f + 0.1f * (s - 12), -0.05f, 0.2f);
  }
}

}  // namespace

TStereo RenderMenuTheme() {
  constexpr int Bars = MenuThemeBars;
  TSong Song(MenuThemeBpm, Bars * 4.0, 0.0, true);
  const TKit Kit;
  const TScale AMinor = TScale::Minor(9);

  // Sections by bar.
  auto Within = [](int Bar, int Start, int Length) { return Bar >= Start && Bar < Start + Length; };
  auto InVerse = [&](int Bar) { return Within(Bar, VerseBars[0], 8) || Within(Bar, VerseBars[1], 8); };
  auto InChorus = [&](int Bar) { return Within(Bar, ChorusBars[0], 8) || Within(Bar, ChorusBars[1], 8); };
  auto InBreak = [&](int Bar) { return Within(Bar, BreakBar, 4); };

  for (int Bar = 0; Bar < Bars; ++Bar) {
    // Pads: present throughout, forward in the intro and the break.
    const float PadGain = Bar < 4 ? 0.26f : InBreak(Bar) ? 0.2f : 0.13f;
    PlayPad(Song, MenuChords[Bar], Bar * 4.0, 3.9, PadGain, 57, 69, 1000u + Bar);

    // Bass.
    if (Bar < 4 || InBreak(Bar)) PlayBassBar(Song, Bar, TBassStyle::Hold, 0.4f);
    if (InVerse(Bar)) PlayBassBar(Song, Bar, TBassStyle::Eighths, 0.42f);
    if (InChorus(Bar)) PlayBassBar(Song, Bar, TBassStyle::Bounce, 0.42f);

    // Arpeggio: intro, break and choruses; quietly under the second verse.
    if (Bar < 4 || InBreak(Bar)) PlayArpeggio(Song, Bar, 0.22f);
    if (InChorus(Bar)) PlayArpeggio(Song, Bar, 0.14f);
    if (Within(Bar, VerseBars[1], 8)) PlayArpeggio(Song, Bar, 0.1f);

    // Drums.
    TBeat Beat = TBeat::None;
    if (Bar < 2) Beat = TBeat::HatsOnly;
    else if (Bar < 4) Beat = TBeat::KickOnly;
    else if (InVerse(Bar)) Beat = TBeat::Verse;
    else if (InChorus(Bar)) Beat = TBeat::Chorus;
    else if (Bar < 22) Beat = TBeat::Break;
    else Beat = TBeat::KickOnly;
    const bool Fill = Bar == 3 || Bar == 11 || Bar == 19 || Bar == 23 || Bar == 31 || Bar == 39;
    PlayDrumBar(Song, Kit, Bar, Beat, Fill);
  }

  // Crashes on the section downbeats; risers into the verse and out of the break.
  for (int Bar : {0, 4, 12, 16, 24, 32, 36}) Song.Add(TBus::Drums, Kit.Crash, Bar * 4.0, 0.28f, -0.3f, 0.3f);
  for (int Bar : {3, 23, 39}) Song.Add(TBus::Drums, RenderRiser(Song.Seconds(4.0), 1.0f, 600u + Bar), Bar * 4.0, 0.12f, 0.0f, 0.3f);

  // Lead lines.
  const TPart Lead{TBus::Lead, TInst::Lead, 0.6f, 0.0f, 0.18f, 0.22f};
  const TPart Harmony{TBus::Lead, TInst::SoftLead, 0.3f, -0.35f, 0.25f, 0.0f};
  const TPart Low{TBus::Lead, TInst::SoftLead, 0.28f, 0.25f, 0.2f, 0.0f};
  const TPart Sparkle{TBus::Lead, TInst::Bell, 0.1f, 0.4f, 0.35f, 0.3f};
  const TPart Bells{TBus::Lead, TInst::LongBell, 0.3f, 0.2f, 0.4f, 0.35f};

  const std::vector<TNote> Verse1 = ParseMelody(VerseMelody, VerseBars[0] * 4.0);
  const std::vector<TNote> Verse2 = ParseMelody(VerseMelody, VerseBars[1] * 4.0);
  const std::vector<TNote> Chorus1 = ParseMelody(ChorusMelody, ChorusBars[0] * 4.0);
  const std::vector<TNote> Chorus2 = ParseMelody(ChorusMelody, ChorusBars[1] * 4.0);
  Play(Song, Lead, Verse1);
  Play(Song, Lead, Verse2);
  Play(Song, Harmony, Shifted(Verse2, AMinor, -2));
  Play(Song, Lead, Chorus1);
  Play(Song, Lead, Chorus2);
  Play(Song, Low, Chorus2, -12);
  Play(Song, Sparkle, Chorus2, 12);
  Play(Song, Bells, ParseMelody(BreakBells, BreakBar * 4.0));

  TMixSettings Mix;
  Mix.EchoBeats = 0.75;
  return Song.Mixdown(Mix);
}

// ---- jingles -----------------------------------------------------------------

// Level complete: a brass fanfare in C major at 150 bpm, pickup triplet,
// I-IV-V and a held tonic with timpani and cymbal. About 4.3 s.
TStereo RenderLevelEnded() {
  TSong Song(150.0, 7.0, 1.6, false);
  const TKit Kit;
  const TPart Brass{TBus::Lead, TInst::Brass, 0.42f, 0.0f, 0.3f, 0.0f, 0.95};
  const TPart Chords{TBus::Ducked, TInst::Brass, 0.17f, 0.0f, 0.35f, 0.0f, 0.9};
  const TPart Bass{TBus::Ducked, TInst::Bass, 0.45f, 0.0f, 0.1f, 0.0f, 0.9};

  // Melody: C E G (triplet) | C6 . . A5 | B5 D6 | E6 held.
  std::vector<TNote> Melody = {
      {0.0, 1.0 / 3, ParseNoteName("c5"), 0.8f}, {1.0 / 3, 1.0 / 3, ParseNoteName("e5"), 0.85f},
      {2.0 / 3, 1.0 / 3, ParseNoteName("g5"), 0.9f}, {1.0, 1.5, ParseNoteName("c6"), 1.0f},
      {2.5, 0.5, ParseNoteName("a5"), 0.85f},      {3.0, 0.5, ParseNoteName("b5"), 0.9f},
      {3.5, 0.5, ParseNoteName("d6"), 0.9f},       {4.0, 3.0, ParseNoteName("e6"), 1.0f},
  };
  Play(Song, Brass, Melody);
  // Harmony: stabs on each chord, the tonic held.
  const std::pair<double, const char*> Changes[] = {{1.0, "C"}, {2.0, "F"}, {3.0, "G"}, {4.0, "C"}};
  for (const auto& [Beat, Name] : Changes) {
    const double Len = Beat == 4.0 ? 3.0 : 0.9;
    const std::vector<int> Tones = ChordTones(ParseChord(Name), 55, 72);
    for (std::size_t k = 0; k < Tones.size(); ++k)
      Song.Add(TBus::Ducked, RenderBrass(MidiToHz(Tones[k]), Song.Seconds(Len), 0.8f), Beat, Chords.Gain,
               -0.5f + static_cast<float>(k) / Tones.size(), Chords.Reverb);
    const int Root = RootAtOrAbove(ParseChord(Name), 36);
    Play(Song, Bass, {{Beat, Len, Root, 0.9f}});
    Song.Add(TBus::Drums, RenderTom(MidiToHz(Root - 12 + (Root < 41 ? 12 : 0)), 0.9f, 70u + static_cast<std::uint32_t>(Beat)), Beat,
             0.45f, 0.0f, 0.3f);
  }
  // A timpani roll into the last chord, then kick, cymbal and a bell run.
  for (int k = 0; k < 6; ++k)
    Song.Add(TBus::Drums, RenderTom(MidiToHz(43), 0.3f + 0.1f * k, 80u + k), 3.25 + k * 0.125, 0.35f, 0.1f, 0.3f);
  Song.Add(TBus::Drums, Kit.Kick, 4.0, 0.8f, 0.0f);
  Song.Add(TBus::Drums, Kit.Crash, 4.0, 0.35f, 0.2f, 0.4f);
  const char* Run[] = {"c6", "e6", "g6", "c7", "e7"};
  for (int k = 0; k < 5; ++k)
    Song.Add(TBus::Lead, RenderBell(MidiToHz(ParseNoteName(Run[k])), 0.6, 0.6f, 2.0, 1.5), 4.25 + 0.25 * k, 0.12f,
             k % 2 ? 0.4f : -0.4f, 0.5f);

  TMixSettings Mix;
  Mix.TargetRms = 0.0;
  Mix.DuckDepth = 0.0f;
  Mix.ReverbRoom = 0.85;
  TStereo Out = Song.Mixdown(Mix);
  FadeEdges(Out, 0.002, 0.5);
  return Out;
}

// Game over: a slow lament in A minor at 70 bpm, E D C B A over
// Am Dm E Am, dark pads and a low drum. About 5.6 s.
TStereo RenderGameEnded() {
  TSong Song(70.0, 5.0, 1.3, false);
  const TPart Voice{TBus::Lead, TInst::SoftLead, 0.42f, 0.0f, 0.4f, 0.0f, 0.97};
  const TPart Echo{TBus::Lead, TInst::LongBell, 0.1f, 0.3f, 0.5f, 0.0f};
  const std::vector<TNote> Melody = ParseMelody("e5:4 d5:2 c5:2 b4:4 a4:8", 0.0);
  Play(Song, Voice, Melody);
  Play(Song, Echo, Melody, 12);
  const std::pair<double, const char*> Changes[] = {{0.0, "Am"}, {1.0, "Dm"}, {2.0, "E"}, {3.0, "Am"}};
  for (const auto& [Beat, Name] : Changes) {
    const double Len = Beat == 3.0 ? 2.0 : 1.0;
    PlayPad(Song, Name, Beat, Len, 0.26f, 52, 64, 500u + static_cast<std::uint32_t>(Beat * 10));
    const int Root = RootAtOrAbove(ParseChord(Name), 28);  // E1 .. D#2
    Song.Add(TBus::Ducked, RenderBass(MidiToHz(Root), Song.Seconds(Len * 0.95), 0.6f), Beat, 0.4f, 0.0f, 0.1f);
  }
  Song.Add(TBus::Drums, RenderTom(MidiToHz(33), 0.9f, 91u), 0.0, 0.5f, 0.0f, 0.5f);
  Song.Add(TBus::Drums, RenderTom(MidiToHz(33), 1.0f, 92u), 3.0, 0.6f, 0.0f, 0.5f);

  TMixSettings Mix;
  Mix.TargetRms = 0.0;
  Mix.DuckDepth = 0.0f;
  Mix.ReverbRoom = 0.9;
  Mix.ReverbDamp = 0.6;
  Mix.Ceiling = 0.8f;
  TStereo Out = Song.Mixdown(Mix);
  FadeEdges(Out, 0.002, 0.8);
  return Out;
}

// The splash: a rising swell that lands as the logo appears, a bright
// E-major chord, a bell figure while the frames play and a long shimmer.
// E major at 120 bpm, about 4.3 s.
TStereo RenderLogoJingle() {
  TSong Song(120.0, 7.0, 0.8, false);
  const TKit Kit;
  Song.Add(TBus::Drums, RenderRiser(Song.Seconds(1.0), 1.0f, 4242u), 0.0, 0.3f, 0.0f, 0.4f);
  // The landing: low drum, cymbal, chord.
  Song.Add(TBus::Drums, RenderTom(MidiToHz(28), 1.0f, 4243u), 1.0, 0.6f, 0.0f, 0.3f);
  Song.Add(TBus::Drums, Kit.Crash, 1.0, 0.25f, -0.2f, 0.5f);
  PlayPad(Song, "Eadd9", 1.0, 4.5, 0.22f, 52, 71, 4300u);
  for (int Midi : {64, 68, 71})
    Song.Add(TBus::Ducked, RenderBrass(MidiToHz(Midi), Song.Seconds(1.2), 0.85f), 1.0, 0.16f, (Midi - 68) / 8.0f, 0.4f);
  Song.Add(TBus::Ducked, RenderBass(MidiToHz(40), Song.Seconds(4.0), 0.7f), 1.0, 0.4f, 0.0f, 0.1f);
  // Bells up and down the E-major pentatonic, then a held E.
  const TPart Bells{TBus::Lead, TInst::Bell, 0.2f, 0.0f, 0.45f, 0.3f};
  std::vector<TNote> Figure = ParseMelody("b5:1 e6 f#6 g#6 b6 c#7 e7 c#7 b6 g#6 f#6 e6", 1.5);
  for (std::size_t k = 0; k < Figure.size(); ++k) {
    TPart P = Bells;
    P.Pan = k % 2 ? 0.45f : -0.45f;
    Play(Song, P, {Figure[k]});
  }
  const TPart Shine{TBus::Lead, TInst::LongBell, 0.26f, 0.0f, 0.5f, 0.25f};
  Play(Song, Shine, {{4.5, 2.0, ParseNoteName("e6"), 1.0f}, {4.5, 2.0, ParseNoteName("b6"), 0.6f},
                     {4.5, 2.0, ParseNoteName("g#6"), 0.5f}});

  TMixSettings Mix;
  Mix.TargetRms = 0.0;
  Mix.DuckDepth = 0.0f;
  Mix.ReverbRoom = 0.88;
  TStereo Out = Song.Mixdown(Mix);
  FadeEdges(Out, 0.002, 0.9);
  return Out;
}

TMenuThemeScore MenuThemeScore() {
  TMenuThemeScore Score;
  Score.Chords.assign(MenuChords.begin(), MenuChords.end());
  for (const auto& [Text, Bar] : {std::pair{VerseMelody, VerseBars[0]}, std::pair{ChorusMelody, ChorusBars[0]},
                                  std::pair{BreakBells, BreakBar}, std::pair{VerseMelody, VerseBars[1]},
                                  std::pair{ChorusMelody, ChorusBars[1]}}) {
    const std::vector<TNote> Line = ParseMelody(Text, Bar * 4.0);
    Score.Melodies.insert(Score.Melodies.end(), Line.begin(), Line.end());
  }
  return Score;
}

const std::vector<TMusicAsset>& MusicPieces() {
  static const std::vector<TMusicAsset> List = {
      {"vyrn_menu.ogg", true, 0.085, RenderMenuTheme},
      {"level_ended.ogg", false, 0.0, RenderLevelEnded},
      {"game_ended.ogg", false, 0.0, RenderGameEnded},
      {"quillon_logo.ogg", false, 0.0, RenderLogoJingle},
  };
  return List;
}

}  // namespace PakAudio
