// A playlist of music files. The game keeps one with its music engine but
// plays single pieces only, so it stays empty.
#pragma once

#include <string>
#include <vector>

class TPlaylist {
public:
  std::vector<std::string> Files;
  std::vector<std::string> Titles;
  std::vector<std::string> Lengths;
};
