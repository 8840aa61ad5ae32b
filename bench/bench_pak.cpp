// Archive lookups: loading an image set probes one name per frame plus one
// past the last, so the cost per lookup decides how long a level takes to
// load. The directory index keeps that linear in the number of frames.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/AlphaImageList.h"
#include "pak/PakReader.h"
#include "pak/PakWriter.h"

namespace {

// A 2 x 2 RGBA picture (red, half-transparent green, blue, clear white).
const std::vector<std::uint8_t> TinyPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xB6, 0x0D,
    0x24, 0x00, 0x00, 0x00, 0x17, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0xCF, 0xC0, 0xF0,
    0x1F, 0x08, 0x1B, 0x18, 0x80, 0xB4, 0xC3, 0xFF, 0xFF, 0xFF, 0x19, 0x00, 0x40, 0x18, 0x07, 0xBA,
    0x5E, 0x42, 0x91, 0x23, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// An archive of Frames pictures of one set, followed by as many of another
// set, so the probed names are spread over a directory twice as long.
std::string BuildArchive(int Frames) {
  const std::string Path = (std::filesystem::temp_directory_path() /
                            ("vyrn_bench_" + std::to_string(::getpid()) + "_" + std::to_string(Frames) + ".pak"))
                               .string();
  std::vector<TPakEntry> Entries;
  for (const char* Set : {"explo", "other"})
    for (int I = 1; I <= Frames; ++I) Entries.push_back({ImageSetEntryName(Set, I), TinyPng});
  WritePakFile(Path, Entries);
  return Path;
}

void BM_LoadImageSet(benchmark::State& State) {
  const int Frames = static_cast<int>(State.range(0));
  const std::string Path = BuildArchive(Frames);
  for (auto _ : State) {
    const TPakFileReadable Pak(Path);  // a fresh reader: the index is built inside the timing
    TAlphaImageList List;
    if (LoadImageSet(Pak, "explo", 1, List) != Frames) State.SkipWithError("frames missing");
    benchmark::DoNotOptimize(List.Count());
  }
  State.SetItemsProcessed(State.iterations() * Frames);
  std::filesystem::remove(Path);
}
BENCHMARK(BM_LoadImageSet)->Arg(100)->Arg(1000)->Arg(12000)->Unit(benchmark::kMillisecond);

void BM_LookupMissingName(benchmark::State& State) {
  const std::string Path = BuildArchive(static_cast<int>(State.range(0)));
  const TPakFileReadable Pak(Path);
  Pak.GetStream("warm-up");
  for (auto _ : State) benchmark::DoNotOptimize(Pak.GetStream("explo_missing.png"));
  std::filesystem::remove(Path);
}
BENCHMARK(BM_LookupMissingName)->Arg(100)->Arg(12000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
