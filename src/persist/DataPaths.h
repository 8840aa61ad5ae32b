// Where the game finds its archive and keeps the player's files. Started
// from a folder that holds game.pak, both are that folder, as they always
// were. An installed game started from a desktop menu finds game.pak under
// "vyrn-rekindled/" in the XDG data folders, then in its install prefix, and
// keeps config.dat, highscores.dat and the volume file in the player's own
// data folder ($XDG_DATA_HOME/vyrn-rekindled, made on first start).
#pragma once

#include <functional>
#include <string>

inline constexpr const char* DataFolderName = "vyrn-rekindled";

struct TDataPaths {
  std::string ArchiveFolder = ".";
  std::string UserFolder = ".";
};

// Reads an environment variable; nullptr when unset.
using TEnvLookup = std::function<const char*(const char*)>;

// InstallDataDir is the prefix's data folder (e.g. /usr/share), without the
// game's own folder name. When game.pak is found nowhere, both folders are
// WorkFolder, so the player is told about the working folder as before.
// A user folder that cannot be made is left as WorkFolder too.
TDataPaths FindDataPaths(const std::string& InstallDataDir, const TEnvLookup& Env, const std::string& WorkFolder = ".");
