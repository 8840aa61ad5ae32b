// Notes, keys and chords, a melody notation, and TSong: the tempo grid, the
// mixing buses with their reverb and echo sends, and the master chain.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "Dsp.h"

namespace PakAudio {

class ESequenceError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct TNote {
  double Beat;    // onset, in beats from the start of the song
  double Beats;   // held length
  int Midi;       // 60 = middle C
  float Velocity;
};

// "c4" = 60, "a4" = 69, "f#3" = 54, "bb2" = 46. Throws ESequenceError.
int ParseNoteName(const std::string& Name);

// A melody line in sixteenth-note steps (four to a beat). Tokens are
// separated by blanks: a note name or "-" for a rest, optionally followed by
// ":steps" (the length, kept for the following tokens until changed) and "!"
// for an accent. "|" marks a bar line and must fall on a whole bar (16 steps
// from the start of the line): a miscounted bar is an error, not a surprise.
// Example: "e5:2 a4 -:1 a4 c5:2 e5 d5 c5 d5 |".
std::vector<TNote> ParseMelody(const std::string& Text, double StartBeat);

struct TChord {
  int Root;                  // pitch class, 0 = C
  std::vector<int> Intervals;  // semitones above the root, the root's 0 included
};
// "Am", "F", "E", "G7", "Dm7", "Fmaj7", "Csus4", "Cadd9", "Bdim". Throws.
TChord ParseChord(const std::string& Name);
// Every note of the chord from Low to High inclusive, ascending.
std::vector<int> ChordTones(const TChord& Chord, int Low, int High);
// The chord's root in the octave at or above Low.
int RootAtOrAbove(const TChord& Chord, int Low);

// A diatonic scale: natural minor or major on a root pitch class.
class TScale {
public:
  static TScale Major(int Root);
  static TScale Minor(int Root);
  bool Contains(int Midi) const;
  // Moves a note by Steps scale degrees (negative = down). A note outside the
  // scale is first moved down to the nearest scale note.
  int Shift(int Midi, int Steps) const;

private:
  TScale(int Root, std::vector<int> Steps) : FRoot(Root), FSteps(std::move(Steps)) {}
  int FRoot;
  std::vector<int> FSteps;
};

enum class TBus { Drums, Ducked, Lead };

struct TMixSettings {
  double ReverbRoom = 0.78;
  double ReverbDamp = 0.45;
  float ReverbReturn = 0.9;
  double EchoBeats = 0.75;     // dotted eighth
  double EchoFeedback = 0.35;
  float EchoReturn = 0.7;
  float DuckDepth = 0.35;      // how far the kick pushes the ducked bus down
  double DuckTime = 0.16;      // seconds to recover
  float Ceiling = 0.89;        // master peak, -1 dBFS
  double TargetRms = 0.17;     // master loudness before the limiter; 0 = peak at the ceiling
};

// A piece on a tempo grid. Looped pieces are circular: notes that ring past
// the end continue at the start, and the effects run over the loop twice so
// their tails wrap too. Frames per beat are kept whole so that the grid never
// drifts against the sample clock.
class TSong {
public:
  TSong(double Bpm, double LengthBeats, double TailSeconds, bool Looped);

  std::size_t FramesPerBeat() const { return FFramesPerBeat; }
  std::size_t FrameAt(double Beat) const;
  double Seconds(double Beats) const { return Beats * FFramesPerBeat / SampleRate; }
  std::size_t Frames() const { return FDry[0].Size(); }
  bool Looped() const { return FLooped; }

  void Add(TBus Bus, const TMono& Voice, double Beat, float Gain, float Pan, float ReverbSend = 0.0f,
           float EchoSend = 0.0f);
  void Add(TBus Bus, const TStereo& Voice, double Beat, float Gain, float ReverbSend = 0.0f, float EchoSend = 0.0f);
  // Kicks push the ducked bus down (the pumping of dance music).
  void MarkKick(double Beat, float Strength = 1.0f);

  // Runs the sends, ducking and master chain and returns the finished piece.
  TStereo Mixdown(const TMixSettings& Settings) const;

private:
  double FBpm;
  std::size_t FFramesPerBeat;
  bool FLooped;
  TStereo FDry[3];
  TStereo FReverbSend, FEchoSend;
  std::vector<std::pair<std::size_t, float>> FKicks;
};

}  // namespace PakAudio
