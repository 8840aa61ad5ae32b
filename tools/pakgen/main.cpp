// vyrn-pakgen OUTPUT.pak [PREVIEW_DIR]: draws, synthesises and packs every
// asset of the game. With PREVIEW_DIR it also writes pictures for checking the
// art by eye (contact sheet, composites).
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "Generators.h"
#include "Preview.h"

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
    // The manifest test is the real gate; this tells whoever runs the build
    // at once what is still missing.
    const std::string Differences = ManifestDifferences(Entries);
    if (!Differences.empty()) {
      std::size_t Cut = 0;
      int Lines = 0;
      while (Cut < Differences.size() && Lines < 12) Cut = Differences.find('\n', Cut) + 1, ++Lines;
      const auto Total = std::count(Differences.begin(), Differences.end(), '\n');
      std::fprintf(stderr, "vyrn-pakgen: archive differs from the manifest in %ld names:\n%s%s",
                   static_cast<long>(Total), Differences.substr(0, Cut).c_str(), Cut < Differences.size() ? "...\n" : "");
    }
    WritePakFile(argv[1], Entries);
    if (!PreviewDir.empty()) WriteContactSheet(Entries, PreviewDir + "/contact_sheet.png");
  } catch (const std::exception& E) {
    std::fprintf(stderr, "vyrn-pakgen: %s\n", E.what());
    return 1;
  }
  return 0;
}
