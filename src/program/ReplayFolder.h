// The folders a recorded session's settings and high-score table live in
// while it plays, so that a replay never touches the player's own files.
#pragma once

#include <string>

// A fresh folder under the system's temporary folder, or empty.
std::string MakeReplayFolder();
void RemoveReplayFolder(const std::string& Folder);
