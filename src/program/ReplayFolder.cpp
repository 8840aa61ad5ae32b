#include "program/ReplayFolder.h"

#include <stdlib.h>

#include <filesystem>

std::string MakeReplayFolder() {
  std::string Folder = (std::filesystem::temp_directory_path() / "vyrn-replay-XXXXXX").string();
  if (!::mkdtemp(Folder.data())) return "";
  return Folder;
}

void RemoveReplayFolder(const std::string& Folder) {
  if (Folder.empty()) return;
  std::error_code Ec;
  std::filesystem::remove_all(Folder, Ec);
}
