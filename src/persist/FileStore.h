// Whole-file reads and crash-safe whole-file writes for the game's small
// data files (config.dat, highscores.dat).
#pragma once

#include <string>

// ReplaceFile, ResolveSavePath and JoinPath.
#include "platform/AtomicFile.h"

enum class TReadResult { Read, Missing, Failed };

// The game's data files are a few hundred bytes; larger ones are refused.
inline constexpr long long MaxDataFileSize = 1 << 20;

// Reads every byte of Path into Bytes. Missing when there is no such file;
// Failed (with the reason in Error) when it exists but cannot be read, is
// not a regular file, or is larger than MaxDataFileSize.
TReadResult ReadWholeFile(const std::string& Path, std::string& Bytes, std::string& Error);

// Holds an exclusive lock beside Path ("<target>.lock") while it lives, so
// game instances sharing a folder take turns at a read-change-write of the
// file. Without a lock file (a read-only folder) it holds nothing; callers
// go on, as a lone instance would.
class TFileLock {
public:
  explicit TFileLock(const std::string& Path);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;
  bool Held() const { return FFd >= 0; }

private:
  int FFd = -1;
};

// Scrambles Plain and writes it with ReplaceFile. A failure is reported to
// the player once per run of failures ("Error writing <file> (<reason>)" and
// Consequence on a new line): rebuilding defaults saves several times in a
// row, and the player needs to hear it only once. FailureShown is the
// caller's memory of that.
bool SaveScrambledFile(const std::string& Path, std::string Plain, bool& FailureShown, const std::string& Consequence);
