// Frame-buffer costs per game frame: a full playfield copy and the alpha
// blends of the sprites drawn over it.
#include <benchmark/benchmark.h>

#include "gfx/FastImaging.h"
#include "platform/Screen.h"

namespace {

void FillNoise(TFastImageBuffer& B) {
  RandSeed = 42;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.SetPixel(X, Y, static_cast<TColorValue>(Random(0x1000000)));
}

void BM_CopyRectPlayfield(benchmark::State& State) {
  TFastImageBuffer Source(nullptr, 600, 550), Dest(nullptr, 600, 550);
  FillNoise(Source);
  for (auto _ : State) {
    Dest.CopyRect(0, 0, Source, 0, 0, 600, 550);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyRectPlayfield);

void BM_BlendPixel330k(benchmark::State& State) {
  TFastImageBuffer B(nullptr, 600, 550);
  FillNoise(B);
  for (auto _ : State) {
    int N = 0;
    for (int Y = 0; Y < 550 && N < 330000; ++Y)
      for (int X = 0; X < 600 && N < 330000; ++X, ++N) B.BlendPixel(X, Y, RGB(X, Y, 200), (X + Y) & 255);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 330000);
}
BENCHMARK(BM_BlendPixel330k)->Unit(benchmark::kMillisecond);

void BM_PaintToScreen(benchmark::State& State) {
  TScreen Screen;
  TFastImageBuffer B(&Screen, 600, 550);
  FillNoise(B);
  for (auto _ : State) {
    B.PaintTo(0, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PaintToScreen);

void BM_Lightness(benchmark::State& State) {
  TFastImageBuffer B(nullptr, 800, 600);
  FillNoise(B);
  for (auto _ : State) B.Lightness(-25);
}
BENCHMARK(BM_Lightness);

}  // namespace

BENCHMARK_MAIN();
