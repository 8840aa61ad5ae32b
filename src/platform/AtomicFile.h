// Crash-safe whole-file writes: every file the game keeps for the player
// (settings, scores, the output volume) is replaced through these.
#pragma once

#include <string>

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

// Folder + "/" + Name.
std::string JoinPath(const std::string& Folder, const std::string& Name);
