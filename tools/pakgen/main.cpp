// vyrn-pakgen [--only=PART,...] OUTPUT.pak [PREVIEW_DIR]: draws, synthesises
// and packs every asset of the game. With PREVIEW_DIR it also writes pictures
// for checking the art by eye (contact sheet, composites). --only runs just
// the named parts (sprites, backgrounds, interface, audio), for quick
// iterations on one of them; the build always runs them all, and records
// the menu's demos on the result.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <set>
#include <string>

#include "DemoRecord.h"
#include "Generators.h"
#include "Preview.h"
#include "program/Demo.h"

namespace {

std::set<std::string> ParseParts(const char* List) {
  std::set<std::string> Parts;
  std::string Item;
  for (const char* P = List;; ++P) {
    if (*P == ',' || *P == '\0') {
      if (!Item.empty()) Parts.insert(Item);
      Item.clear();
      if (*P == '\0') break;
    } else {
      Item += *P;
    }
  }
  return Parts;
}

}  // namespace

int main(int argc, char** argv) {
  std::set<std::string> Only;
  int First = 1;
  if (argc > 1 && std::strncmp(argv[1], "--only=", 7) == 0) {
    Only = ParseParts(argv[1] + 7);
    First = 2;
  }
  if (argc - First < 1 || argc - First > 2) {
    std::fprintf(stderr, "usage: vyrn-pakgen [--only=sprites,backgrounds,interface,audio] OUTPUT.pak [PREVIEW_DIR]\n");
    return 2;
  }
  const auto Runs = [&](const char* Part) { return Only.empty() || Only.count(Part) != 0; };
  try {
    const std::string PreviewDir = argc - First == 2 ? argv[First + 1] : "";
    if (!PreviewDir.empty()) std::filesystem::create_directories(PreviewDir);
    std::vector<TPakEntry> Entries;
    if (Runs("sprites")) GenerateSprites(Entries, PreviewDir);
    if (Runs("backgrounds")) GenerateBackgrounds(Entries, PreviewDir);
    if (Runs("interface")) GenerateInterface(Entries, PreviewDir);
    if (Runs("audio")) GenerateAudio(Entries, PreviewDir);
    // The demos are played by the game on everything else, so they are
    // recorded on the archive written so far and packed after it.
    if (Only.empty()) {
      WritePakFile(argv[First], Entries);
      int Index = 0;
      for (const TDemoPlan& Plan : DemoPlans())
        Entries.push_back({DemoEntryName(++Index), RecordDemo(argv[First], Plan)});
    }
    // The manifest test is the real gate; this tells whoever runs the build
    // at once what is still missing.
    const std::string Differences = ManifestDifferences(Entries);
    if (!Differences.empty() && Only.empty()) {
      std::size_t Cut = 0;
      int Lines = 0;
      while (Cut < Differences.size() && Lines < 12) Cut = Differences.find('\n', Cut) + 1, ++Lines;
      const auto Total = std::count(Differences.begin(), Differences.end(), '\n');
      std::fprintf(stderr, "vyrn-pakgen: archive differs from the manifest in %ld names:\n%s%s",
                   static_cast<long>(Total), Differences.substr(0, Cut).c_str(), Cut < Differences.size() ? "...\n" : "");
    }
    WritePakFile(argv[First], Entries);
    if (!PreviewDir.empty()) {
      WriteContactSheet(Entries, PreviewDir + "/contact_sheet.png");
      WriteLevelPreview(argv[First], PreviewDir + "/levels.png");
      WriteActorGrid(argv[First], PreviewDir);
      WriteUiPreviews(argv[First], PreviewDir);
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "vyrn-pakgen: %s\n", E.what());
    return 1;
  }
  return 0;
}
