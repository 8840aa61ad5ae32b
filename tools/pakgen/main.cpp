// vyrn-pakgen OUTPUT.pak [PREVIEW_DIR]: draws, synthesises and packs every
// asset of the game.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "Generators.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: vyrn-pakgen OUTPUT.pak [PREVIEW_DIR]\n");
    return 2;
  }
  try {
    const std::string PreviewDir = argc == 3 ? argv[2] : "";
    if (!PreviewDir.empty()) std::filesystem::create_directories(PreviewDir);
    std::vector<TPakEntry> Entries;
    GenerateSprites(Entries, PreviewDir);
    GenerateBackgrounds(Entries, PreviewDir);
    GenerateInterface(Entries, PreviewDir);
    GenerateAudio(Entries, PreviewDir);
    WritePakFile(argv[1], Entries);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "vyrn-pakgen: %s\n", E.what());
    return 1;
  }
  return 0;
}
