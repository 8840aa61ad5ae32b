// Whole-file reads and crash-safe whole-file writes for the game's small
// data files (config.dat, highscores.dat).
#pragma once

#include <string>

enum class TReadResult { Read, Missing, Failed };

// The game's data files are a few hundred bytes; larger ones are refused.
inline constexpr long long MaxDataFileSize = 1 << 20;

// Reads every byte of Path into Bytes. Missing when there is no such file;
// Failed (with the reason in Error) when it exists but cannot be read, is
// not a regular file, or is larger than MaxDataFileSize.
TReadResult ReadWholeFile(const std::string& Path, std::string& Bytes, std::string& Error);

// Replaces Path by a file holding Bytes: writes "Path.tmp" beside it, flushes
// it to the disk and renames it over Path, so a crash or a full disk never
// leaves a half-written file. On failure the old file is untouched, the
// temporary is removed and Error says why.
bool ReplaceFile(const std::string& Path, const std::string& Bytes, std::string& Error);

// Scrambles Plain and writes it with ReplaceFile. A failure is reported to
// the player once per run of failures ("Error writing <file> (<reason>)" and
// Consequence on a new line): rebuilding defaults saves several times in a
// row, and the player needs to hear it only once. FailureShown is the
// caller's memory of that.
bool SaveScrambledFile(const std::string& Path, std::string Plain, bool& FailureShown, const std::string& Consequence);

// Folder + "/" + Name.
std::string JoinPath(const std::string& Folder, const std::string& Name);
