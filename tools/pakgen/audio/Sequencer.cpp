#include "Sequencer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace PakAudio {

namespace {
int PitchClassOfLetter(char Letter) {
  switch (std::tolower(static_cast<unsigned char>(Letter))) {
    case 'c': return 0;
    case 'd': return 2;
    case 'e': return 4;
    case 'f': return 5;
    case 'g': return 7;
    case 'a': return 9;
    case 'b': return 11;
    default: return -1;
  }
}

int Mod12(int V) { return ((V % 12) + 12) % 12; }
}  // namespace

int ParseNoteName(const std::string& Name) {
  if (Name.size() < 2) throw ESequenceError("bad note name '" + Name + "'");
  const int Pc = PitchClassOfLetter(Name[0]);
  if (Pc < 0) throw ESequenceError("bad note name '" + Name + "'");
  std::size_t Pos = 1;
  int Accidental = 0;
  if (Name[Pos] == '#') {
    Accidental = 1;
    ++Pos;
  } else if (Name[Pos] == 'b' && Pos + 1 < Name.size()) {
    Accidental = -1;
    ++Pos;
  }
  if (Pos >= Name.size()) throw ESequenceError("bad note name '" + Name + "'");
  int Octave = 0;
  for (; Pos < Name.size(); ++Pos) {
    if (!std::isdigit(static_cast<unsigned char>(Name[Pos]))) throw ESequenceError("bad note name '" + Name + "'");
    Octave = Octave * 10 + (Name[Pos] - '0');
  }
  if (Octave > 9) throw ESequenceError("bad note name '" + Name + "'");
  return (Octave + 1) * 12 + Pc + Accidental;
}

std::vector<TNote> ParseMelody(const std::string& Text, double StartBeat) {
  std::vector<TNote> Notes;
  std::istringstream In(Text);
  std::string Token;
  int Step = 0;
  int Length = 4;
  while (In >> Token) {
    if (Token == "|") {
      if (Step % 16 != 0)
        throw ESequenceError("bar line after " + std::to_string(Step % 16) + " steps of a bar in '" + Text + "'");
      continue;
    }
    bool Accent = false;
    if (Token.back() == '!') {
      Accent = true;
      Token.pop_back();
    }
    const std::size_t Colon = Token.find(':');
    if (Colon != std::string::npos) {
      const std::string Count = Token.substr(Colon + 1);
      if (Count.empty() || !std::all_of(Count.begin(), Count.end(), [](char C) { return std::isdigit(static_cast<unsigned char>(C)); }))
        throw ESequenceError("bad length in '" + Token + "'");
      Length = std::stoi(Count);
      if (Length <= 0) throw ESequenceError("bad length in '" + Token + "'");
      Token = Token.substr(0, Colon);
    }
    if (Token != "-") {
      Notes.push_back({StartBeat + Step / 4.0, Length / 4.0, ParseNoteName(Token), Accent ? 1.0f : 0.82f});
    }
    Step += Length;
  }
  return Notes;
}

TChord ParseChord(const std::string& Name) {
  if (Name.empty()) throw ESequenceError("empty chord name");
  int Root = PitchClassOfLetter(Name[0]);
  if (Root < 0) throw ESequenceError("bad chord '" + Name + "'");
  std::string Rest = Name.substr(1);
  if (!Rest.empty() && (Rest[0] == '#' || Rest[0] == 'b')) {
    Root = Mod12(Root + (Rest[0] == '#' ? 1 : -1));
    Rest = Rest.substr(1);
  }
  static const std::pair<const char*, std::vector<int>> Kinds[] = {
      {"", {0, 4, 7}},        {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},    {"m7", {0, 3, 7, 10}},
      {"maj7", {0, 4, 7, 11}}, {"sus4", {0, 5, 7}},    {"sus2", {0, 2, 7}},     {"add9", {0, 2, 4, 7}},
      {"dim", {0, 3, 6}},     {"madd9", {0, 2, 3, 7}},
  };
  for (const auto& [Suffix, Intervals] : Kinds)
    if (Rest == Suffix) return {Root, Intervals};
  throw ESequenceError("bad chord '" + Name + "'");
}

std::vector<int> ChordTones(const TChord& Chord, int Low, int High) {
  std::vector<int> Out;
  for (int M = Low; M <= High; ++M)
    for (int I : Chord.Intervals)
      if (Mod12(M - Chord.Root) == Mod12(I)) {
        Out.push_back(M);
        break;
      }
  return Out;
}

int RootAtOrAbove(const TChord& Chord, int Low) { return Low + Mod12(Chord.Root - Low); }

TScale TScale::Major(int Root) { return TScale(Mod12(Root), {0, 2, 4, 5, 7, 9, 11}); }
TScale TScale::Minor(int Root) { return TScale(Mod12(Root), {0, 2, 3, 5, 7, 8, 10}); }

bool TScale::Contains(int Midi) const {
  return std::find(FSteps.begin(), FSteps.end(), Mod12(Midi - FRoot)) != FSteps.end();
}

int TScale::Shift(int Midi, int Steps) const {
  while (!Contains(Midi)) --Midi;
  const int Rel = Midi - FRoot;
  const int Octave = static_cast<int>(std::floor(Rel / 12.0));
  const int Degree = static_cast<int>(std::find(FSteps.begin(), FSteps.end(), Mod12(Rel)) - FSteps.begin());
  const int N = static_cast<int>(FSteps.size());
  const int Target = Octave * N + Degree + Steps;
  const int TargetOctave = static_cast<int>(std::floor(static_cast<double>(Target) / N));
  return FRoot + TargetOctave * 12 + FSteps[Target - TargetOctave * N];
}

TSong::TSong(double Bpm, double LengthBeats, double TailSeconds, bool Looped)
    : FBpm(Bpm), FFramesPerBeat(static_cast<std::size_t>(std::llround(SampleRate * 60.0 / Bpm))), FLooped(Looped) {
  const std::size_t N =
      static_cast<std::size_t>(std::llround(LengthBeats * FFramesPerBeat)) + (Looped ? 0 : SecondsToFrames(TailSeconds));
  for (TStereo& Bus : FDry) Bus = TStereo(N);
  FReverbSend = TStereo(N);
  FEchoSend = TStereo(N);
}

std::size_t TSong::FrameAt(double Beat) const {
  return static_cast<std::size_t>(std::llround(Beat * FFramesPerBeat));
}

void TSong::Add(TBus Bus, const TMono& Voice, double Beat, float Gain, float Pan, float ReverbSend, float EchoSend) {
  const std::size_t At = FrameAt(Beat);
  MixInto(FDry[static_cast<int>(Bus)], Voice, At, Gain, Pan, FLooped);
  if (ReverbSend > 0.0f) MixInto(FReverbSend, Voice, At, Gain * ReverbSend, Pan, FLooped);
  if (EchoSend > 0.0f) MixInto(FEchoSend, Voice, At, Gain * EchoSend, Pan, FLooped);
}

void TSong::Add(TBus Bus, const TStereo& Voice, double Beat, float Gain, float ReverbSend, float EchoSend) {
  const std::size_t At = FrameAt(Beat);
  MixInto(FDry[static_cast<int>(Bus)], Voice, At, Gain, FLooped);
  if (ReverbSend > 0.0f) MixInto(FReverbSend, Voice, At, Gain * ReverbSend, FLooped);
  if (EchoSend > 0.0f) MixInto(FEchoSend, Voice, At, Gain * EchoSend, FLooped);
}

void TSong::MarkKick(double Beat, float Strength) { FKicks.push_back({FrameAt(Beat), Strength}); }

TStereo TSong::Mixdown(const TMixSettings& Settings) const {
  const std::size_t N = Frames();
  // Ducking gain: every kick dips the bus and lets it swell back.
  std::vector<float> Duck(N, 1.0f);
  if (Settings.DuckDepth > 0.0f) {
    const std::size_t Span = SecondsToFrames(Settings.DuckTime * 3.0);
    for (const auto& [At, Strength] : FKicks) {
      for (std::size_t i = 0; i < Span; ++i) {
        const std::size_t k = FLooped ? (At + i) % N : At + i;
        if (k >= N) break;
        const double T = static_cast<double>(i) / SampleRate;
        // A short ramp into the dip keeps the ducking itself from clicking.
        const double Shape = std::min(1.0, T / 0.004) * std::exp(-T / Settings.DuckTime);
        Duck[k] = std::min(Duck[k], static_cast<float>(1.0 - Settings.DuckDepth * Strength * Shape));
      }
    }
  }
  TStereo Mix(N);
  for (int b = 0; b < 3; ++b) {
    const bool Ducked = static_cast<TBus>(b) == TBus::Ducked;
    for (std::size_t i = 0; i < N; ++i) {
      const float G = Ducked ? Duck[i] : 1.0f;
      Mix.L[i] += FDry[b].L[i] * G;
      Mix.R[i] += FDry[b].R[i] * G;
    }
  }
  // The echo feeds the room as well, so repeats sit in the same space.
  TPingPongDelay Echo(Seconds(Settings.EchoBeats), Settings.EchoFeedback, 3500.0);
  const TStereo Echoes = ProcessLooped(FEchoSend, Echo, FLooped);
  TReverb Room(Settings.ReverbRoom, Settings.ReverbDamp);
  for (int Pass = FLooped ? 0 : 1; Pass < 2; ++Pass) {
    for (std::size_t i = 0; i < N; ++i) {
      float WetL, WetR;
      Room.Process(FReverbSend.L[i] + 0.3f * Echoes.L[i], FReverbSend.R[i] + 0.3f * Echoes.R[i], WetL, WetR);
      if (Pass == 1) {
        Mix.L[i] += Settings.EchoReturn * Echoes.L[i] + Settings.ReverbReturn * WetL;
        Mix.R[i] += Settings.EchoReturn * Echoes.R[i] + Settings.ReverbReturn * WetR;
      }
    }
  }

  // Remove any DC (the first pass over a loop only settles the filter).
  TOnePole DcL, DcR;
  DcL.SetCutoff(12.0);
  DcR.SetCutoff(12.0);
  for (int Pass = FLooped ? 0 : 1; Pass < 2; ++Pass) {
    for (std::size_t i = 0; i < N; ++i) {
      const float L = static_cast<float>(DcL.High(Mix.L[i]));
      const float R = static_cast<float>(DcR.High(Mix.R[i]));
      if (Pass == 1) {
        Mix.L[i] = L;
        Mix.R[i] = R;
      }
    }
  }
  if (Settings.TargetRms > 0.0) {
    const double Level = std::sqrt((Rms(Mix.L) * Rms(Mix.L) + Rms(Mix.R) * Rms(Mix.R)) / 2.0);
    if (Level > 0.0) Scale(Mix, static_cast<float>(Settings.TargetRms / Level));
  } else if (Peak(Mix) > 0.0f) {
    Scale(Mix, Settings.Ceiling / Peak(Mix));
  }
  Limit(Mix, Settings.Ceiling, 0.003, 0.12, FLooped);
  return Mix;
}

}  // namespace PakAudio
