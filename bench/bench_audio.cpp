// What the music costs the mixing thread: one second of stereo music
// through the ten-band equaliser and the renderer (volume, levels), and one
// second of the menu's theme decoded as it plays. The mixer asks for 1024
// frames every 23 ms; these must stay far below that.
#include "audio/Equalizer.h"
#include "pak/PakReader.h"
#include "platform/MusicRenderer.h"
#include "platform/OggVorbisSource.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr int Centres[10] = {80, 170, 310, 600, 1000, 3000, 6000, 10000, 12000, 14000};

std::shared_ptr<TEqualizer> MakeEqualizer() {
  auto Eq = std::make_shared<TEqualizer>(Rate, 10);
  for (int I = 0; I < 10; ++I) Eq->SetBand(I, Centres[I], 3.0, 0.0);
  return Eq;
}

void BM_EqualizerOneSecondStereo(benchmark::State& State) {
  auto Eq = MakeEqualizer();
  std::vector<float> Block(1024 * 2);
  for (std::size_t I = 0; I < Block.size(); ++I) Block[I] = static_cast<float>(0.3 * std::sin(I * 0.01));
  for (auto _ : State) {
    for (int Done = 0; Done < Rate; Done += 1024) Eq->Process(Block.data(), 1024, 2);
    benchmark::DoNotOptimize(Block.data());
  }
  State.SetItemsProcessed(State.iterations() * Rate);
}
BENCHMARK(BM_EqualizerOneSecondStereo)->Unit(benchmark::kMillisecond);

void BM_RenderOneMixingBlock(benchmark::State& State) {
  auto Samples = std::make_shared<std::vector<std::int16_t>>(static_cast<std::size_t>(Rate) * 60 * 2);
  for (std::size_t I = 0; I < Samples->size(); ++I) (*Samples)[I] = static_cast<std::int16_t>(10000 * std::sin(I * 0.01));
  TMusicRenderer R;
  R.Load(std::shared_ptr<const std::int16_t>(Samples, Samples->data()), Rate * 60);
  R.SetEffect(MakeEqualizer());
  R.Start();
  std::vector<std::int16_t> Out(1024 * 2);
  for (auto _ : State) {
    R.Render(Out.data(), 1024);
    if (R.PositionFrames() >= Rate * 59) R.Start();
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetItemsProcessed(State.iterations() * 1024);
}
BENCHMARK(BM_RenderOneMixingBlock)->Unit(benchmark::kMicrosecond);

std::unique_ptr<TMemoryStream> MenuTheme() {
  return TPakFileReadable{VYRN_GAME_PAK}.GetOptionalStream("vyrn_menu.ogg");
}

// Opening costs the menu's start once; the rest is spread over the mixing
// blocks.
void BM_OpenMenuTheme(benchmark::State& State) {
  const auto Theme = MenuTheme();
  if (!Theme) {
    State.SkipWithError("no game.pak; build the game_pak target");
    return;
  }
  for (auto _ : State) {
    auto Source = TOggVorbisSource::Open({Theme->Data(), Theme->Size()}, Rate);
    benchmark::DoNotOptimize(Source.get());
  }
}
BENCHMARK(BM_OpenMenuTheme)->Unit(benchmark::kMillisecond);

void BM_DecodeOneSecondOfTheMenuTheme(benchmark::State& State) {
  const auto Theme = MenuTheme();
  auto Source = Theme ? TOggVorbisSource::Open({Theme->Data(), Theme->Size()}, Rate) : nullptr;
  if (!Source) {
    State.SkipWithError("no game.pak; build the game_pak target");
    return;
  }
  std::vector<std::int16_t> Out(1024 * 2);
  for (auto _ : State) {
    for (int Done = 0; Done < Rate; Done += 1024)
      if (Source->Read(Out.data(), 1024) < 1024) Source->Rewind();
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetItemsProcessed(State.iterations() * Rate);
}
BENCHMARK(BM_DecodeOneSecondOfTheMenuTheme)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
