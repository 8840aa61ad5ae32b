// Costs of the pictures on the board: the shadow mask built at every level
// start, repainting the whole board (level start, big claims), and one
// sprite drawn with the actors' shaded blend, as every tick draws several.
#include <benchmark/benchmark.h>

#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/AlphaImage.h"
#include "gfx/CloudGenerator.h"
#include "gfx/FastImaging.h"
#include "common/CommonTypes.h"

namespace {

void FillNoise(TFastImageBuffer& B, std::uint32_t Seed) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) {
      Seed = Seed * 1664525u + 1013904223u;
      B.SetPixel(X, Y, Seed >> 8);
    }
}

void BM_CloudGenerate(benchmark::State& State) {
  TCloudGenerator Cloud(10);
  for (auto _ : State) {
    RandSeed = 2;
    Cloud.Generate(0, 200, 0.4f, 100);
    benchmark::DoNotOptimize(Cloud.GetValue(512, 512));
  }
}
BENCHMARK(BM_CloudGenerate)->Unit(benchmark::kMillisecond);

// Cloud generation plus the mask, as one level start does it.
void BM_ShadowMaskCreate(benchmark::State& State) {
  std::int32_t K = 0;
  for (auto _ : State) {
    TShadowMask Mask(K);
    benchmark::DoNotOptimize(Mask.GetShade(300, 275));
    K = (K + 1) % TShadowMask::PatternCount;
  }
}
BENCHMARK(BM_ShadowMaskCreate)->Unit(benchmark::kMillisecond);

struct TScene {
  TMemBoard Board{600, 550};
  TFastImageBuffer Background{nullptr, 600, 550};
  TFastImageBuffer Target{nullptr, 600, 550};
  TShadowMask Mask{7};
  TScene() {
    Board.SetUpLevelBoard();
    FillNoise(Background, 1);
  }
};

void BM_RenderLevelStart(benchmark::State& State) {
  TScene S;
  for (auto _ : State) {
    S.Board.Render(TRect{0, 0, 599, 549}, S.Target, S.Background, S.Mask);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 330000);
}
BENCHMARK(BM_RenderLevelStart)->Unit(benchmark::kMillisecond);

// After a big claim: half the field claimed, a staircase of edges casting
// shadows, trails of both players; in the classic look (0) or the clear one.
void BM_RenderBigClaim(benchmark::State& State) {
  const TClaimedGroundLook Look = State.range(0) ? TClaimedGroundLook::Clear : TClaimedGroundLook::Classic;
  TScene S;
  for (int X = 21; X < 300; ++X) S.Board.VerticalLine(21, 529, X, CellClaimed);
  S.Board.VerticalLine(20, 530, 300, CellEdge);
  for (int I = 0; I < 200; ++I) S.Board.SetCell(320 + I, 40 + I, CellEdge);
  S.Board.HorizontalLine(301, 579, 300, CellTrail1);
  S.Board.VerticalLine(301, 529, 450, CellTrail2);
  for (auto _ : State) {
    S.Board.Render(TRect{0, 0, 599, 549}, S.Target, S.Background, S.Mask, Look);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 330000);
}
BENCHMARK(BM_RenderBigClaim)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A sprite's box repainted, as every tick does under each moving actor.
void BM_RenderSpriteBox(benchmark::State& State) {
  TScene S;
  for (auto _ : State) {
    S.Board.Render(TRect{268, 243, 331, 306}, S.Target, S.Background, S.Mask);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RenderSpriteBox)->Unit(benchmark::kMicrosecond);

TAlphaImage Sprite64() {
  TAlphaImage Image(64, 64);
  std::uint32_t Seed = 9;
  for (int X = 0; X < 64; ++X)
    for (int Y = 0; Y < 64; ++Y) {
      Seed = Seed * 1664525u + 1013904223u;
      // A round sprite: opaque inside, soft rim, transparent corners.
      const int DX = X - 32, DY = Y - 32, R2 = DX * DX + DY * DY;
      const std::uint32_t A = R2 < 26 * 26 ? 255 : R2 < 31 * 31 ? 128 : 0;
      Image.SetPixel(X, Y, MakeRGBA(Seed >> 8, Seed >> 16, Seed >> 24, A));
    }
  return Image;
}

void BM_ShadedSprite64(benchmark::State& State) {
  TScene S;
  const TAlphaImage Sprite = Sprite64();
  const std::int32_t Fade = static_cast<std::int32_t>(State.range(0));
  for (auto _ : State) {
    DrawShadedSprite(S.Target, Sprite, 268, 243, S.Mask, Fade);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ShadedSprite64)->Arg(255)->Arg(130)->Unit(benchmark::kMicrosecond);

void BM_AlphaDraw64(benchmark::State& State) {
  TScene S;
  const TAlphaImage Sprite = Sprite64();
  for (auto _ : State) {
    Sprite.Draw(S.Target, 268, 243);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_AlphaDraw64)->Unit(benchmark::kMicrosecond);

void BM_DrawRotated64(benchmark::State& State) {
  TScene S;
  const TAlphaImage Sprite = Sprite64();
  float Angle = 0;
  for (auto _ : State) {
    Sprite.DrawRotated(S.Target, 268, 243, 200, Angle);
    Angle += 3.0f;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawRotated64)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
