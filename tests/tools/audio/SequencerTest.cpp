#include <gtest/gtest.h>

#include <cmath>

#include "AudioAssets.h"
#include "Sequencer.h"

using namespace PakAudio;

TEST(PakAudioSequencer, NoteNamesGiveMidiNumbers) {
  EXPECT_EQ(ParseNoteName("c4"), 60);
  EXPECT_EQ(ParseNoteName("a4"), 69);
  EXPECT_EQ(ParseNoteName("f#3"), 54);
  EXPECT_EQ(ParseNoteName("bb2"), 46);
  EXPECT_EQ(ParseNoteName("b2"), 47);
  EXPECT_EQ(ParseNoteName("g#5"), 80);
  EXPECT_EQ(ParseNoteName("C5"), 72);
  for (const char* Bad : {"", "c", "h4", "c#", "cx4", "c44"}) EXPECT_THROW(ParseNoteName(Bad), ESequenceError) << Bad;
}

TEST(PakAudioSequencer, MelodyTokensCarryLengthsRestsAndAccents) {
  const std::vector<TNote> N = ParseMelody("e5:2 a4 -:1 c5! d5:10 |", 8.0);
  ASSERT_EQ(N.size(), 4u);
  EXPECT_DOUBLE_EQ(N[0].Beat, 8.0);
  EXPECT_DOUBLE_EQ(N[0].Beats, 0.5);
  EXPECT_EQ(N[0].Midi, 76);
  EXPECT_DOUBLE_EQ(N[1].Beat, 8.5);   // length 2 carried over
  EXPECT_DOUBLE_EQ(N[1].Beats, 0.5);
  EXPECT_DOUBLE_EQ(N[2].Beat, 9.25);  // after a one-step rest
  EXPECT_DOUBLE_EQ(N[2].Beats, 0.25);
  EXPECT_GT(N[2].Velocity, N[1].Velocity);
  EXPECT_DOUBLE_EQ(N[3].Beat, 9.5);
  EXPECT_DOUBLE_EQ(N[3].Beats, 2.5);
}

TEST(PakAudioSequencer, AMiscountedBarIsAnError) {
  EXPECT_NO_THROW(ParseMelody("c5:8 d5:8 | e5:16 |", 0.0));
  EXPECT_THROW(ParseMelody("c5:8 d5:6 | e5:16 |", 0.0), ESequenceError);
  EXPECT_THROW(ParseMelody("c5:0", 0.0), ESequenceError);
  EXPECT_THROW(ParseMelody("c5:x", 0.0), ESequenceError);
}

TEST(PakAudioSequencer, ChordsAndTheirTonesInARange) {
  const TChord Am = ParseChord("Am");
  EXPECT_EQ(Am.Root, 9);
  EXPECT_EQ(ChordTones(Am, 57, 69), (std::vector<int>{57, 60, 64, 69}));
  EXPECT_EQ(ChordTones(ParseChord("E"), 57, 69), (std::vector<int>{59, 64, 68}));
  EXPECT_EQ(ChordTones(ParseChord("G7"), 60, 72), (std::vector<int>{62, 65, 67, 71}));
  EXPECT_EQ(ChordTones(ParseChord("Bb"), 60, 71), (std::vector<int>{62, 65, 70}));
  EXPECT_EQ(RootAtOrAbove(ParseChord("F"), 33), 41);
  EXPECT_EQ(RootAtOrAbove(ParseChord("A"), 33), 33);
  for (const char* Bad : {"", "H", "Cm9x", "Amaj"}) EXPECT_THROW(ParseChord(Bad), ESequenceError) << Bad;
}

TEST(PakAudioSequencer, DiatonicShiftsStayInTheScale) {
  const TScale AMinor = TScale::Minor(9);
  EXPECT_EQ(AMinor.Shift(72, -2), 69);  // C5 -> A4
  EXPECT_EQ(AMinor.Shift(76, -2), 72);  // E5 -> C5
  EXPECT_EQ(AMinor.Shift(69, 7), 81);   // an octave up
  EXPECT_EQ(AMinor.Shift(59, -2), 55);  // B3 -> G3 across the octave boundary
  EXPECT_EQ(AMinor.Shift(68, 0), 67);   // G#4 is not in A minor: taken as G4
  const TScale CMajor = TScale::Major(0);
  for (int M = 48; M < 84; ++M)
    for (int Steps : {-3, -1, 2, 5}) EXPECT_TRUE(CMajor.Contains(CMajor.Shift(M, Steps)));
}

TEST(PakAudioSequencer, SongGridUsesWholeFramesPerBeat) {
  const TSong Song(125.0, 8.0, 0.0, true);
  EXPECT_EQ(Song.FramesPerBeat(), 21168u);
  EXPECT_EQ(Song.Frames(), 8u * 21168u);
  EXPECT_EQ(Song.FrameAt(2.25), 2u * 21168u + 5292u);
  const TSong Jingle(150.0, 4.0, 1.0, false);
  EXPECT_EQ(Jingle.Frames(), 4u * 17640u + 44100u);
}

TEST(PakAudioSequencer, LoopedSongWrapsNotesPastItsEnd) {
  TSong Song(120.0, 4.0, 0.0, true);
  // One second of tone, starting half a second before the end.
  TMono Long(SampleRate);
  for (std::size_t i = 0; i < Long.size(); ++i) Long[i] = static_cast<float>(0.5 * std::sin(TwoPi * 440.0 * i / SampleRate));
  Song.Add(TBus::Lead, Long, 3.0, 1.0f, 0.0f);
  TMixSettings Plain;
  Plain.ReverbReturn = 0.0f;
  Plain.EchoReturn = 0.0f;
  Plain.DuckDepth = 0.0f;
  Plain.TargetRms = 0.0;
  const TStereo Out = Song.Mixdown(Plain);
  auto Level = [&](std::size_t From) { return Rms(TMono(Out.L.begin() + From, Out.L.begin() + From + 2000)); };
  // Sounding at the very start (wrapped) and just before the end, silent between.
  EXPECT_GT(Level(0), 0.3);
  EXPECT_GT(Level(Out.Size() - 2000), 0.3);
  EXPECT_LT(Level(SampleRate), 0.01);
}

TEST(PakAudioSequencer, MenuThemeMelodiesStayInKey) {
  // Every written note is in A minor or in the chord of its bar (the E major
  // of the turnaround brings its G#).
  const TMenuThemeScore Score = MenuThemeScore();
  ASSERT_EQ(Score.Chords.size(), static_cast<std::size_t>(MenuThemeBars));
  ASSERT_FALSE(Score.Melodies.empty());
  const TScale AMinor = TScale::Minor(9);
  for (const TNote& N : Score.Melodies) {
    const int Bar = static_cast<int>(N.Beat / 4.0);
    ASSERT_GE(Bar, 0);
    ASSERT_LT(Bar, MenuThemeBars);
    EXPECT_LE(N.Beat + N.Beats, MenuThemeBars * 4.0);
    const std::vector<int> Tones = ChordTones(ParseChord(Score.Chords[Bar]), N.Midi, N.Midi);
    EXPECT_TRUE(AMinor.Contains(N.Midi) || !Tones.empty()) << "note " << N.Midi << " in bar " << Bar;
    EXPECT_GE(N.Midi, 55);  // within a lead's comfortable range
    EXPECT_LE(N.Midi, 91);
  }
  // Downbeat notes of every bar are chord tones or the chord's ninth.
  for (const TNote& N : Score.Melodies) {
    if (std::fmod(N.Beat, 4.0) != 0.0) continue;
    const int Bar = static_cast<int>(N.Beat / 4.0);
    const TChord C = ParseChord(Score.Chords[Bar]);
    const int Interval = ((N.Midi - C.Root) % 12 + 12) % 12;
    const bool ChordTone = !ChordTones(C, N.Midi, N.Midi).empty();
    EXPECT_TRUE(ChordTone || Interval == 2) << "downbeat " << N.Midi << " in bar " << Bar;
  }
}
