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

// Replaces Path by a file holding Bytes: writes a temporary file of a name
// no one else uses beside it, flushes it to the disk and renames it over
// Path, so a crash or a full disk never leaves a half-written file and
// readers see the old or the new file whole. When Path is a symbolic link
// the link stays and its target is replaced. On failure the old file is
// untouched, the temporary is removed and Error says why.
bool ReplaceFile(const std::string& Path, const std::string& Bytes, std::string& Error);

// Where a save of Path goes: Path, or the end of its chain of symbolic
// links (which need not exist yet). Empty, with Error, for a link loop or a
// link that cannot be read.
std::string ResolveSavePath(const std::string& Path, std::string& Error);

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

// Folder + "/" + Name.
std::string JoinPath(const std::string& Folder, const std::string& Name);
