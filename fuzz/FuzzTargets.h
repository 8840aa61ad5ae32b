// The entry functions of the fuzzing: one per reader of data a player can
// swap or damage. libFuzzer calls them from fuzz/ (clang, `make fuzz`); the
// kept corpus and every crash input found run through the same functions
// as ordinary tests in every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using TFuzzEntry = int (*)(const std::uint8_t* Data, std::size_t Size);

struct TFuzzTarget {
  const char* Name;  // also the corpus folder's name
  TFuzzEntry Entry;
};

int FuzzArchive(const std::uint8_t* Data, std::size_t Size);     // game.pak through the reader
int FuzzConfig(const std::uint8_t* Data, std::size_t Size);      // config.dat through its load path
int FuzzHighScores(const std::uint8_t* Data, std::size_t Size);  // highscores.dat through its load path
int FuzzSoundLayout(const std::uint8_t* Data, std::size_t Size); // WAV and MPEG layout reader
int FuzzPng(const std::uint8_t* Data, std::size_t Size);
int FuzzJpeg(const std::uint8_t* Data, std::size_t Size);
int FuzzOgg(const std::uint8_t* Data, std::size_t Size);         // the Ogg Vorbis length reader
int FuzzReplay(const std::uint8_t* Data, std::size_t Size);
int FuzzSimScript(const std::uint8_t* Data, std::size_t Size);

const std::vector<TFuzzTarget>& FuzzTargets();
