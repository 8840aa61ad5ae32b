// The actor work of one tick of the last level: two players drawing trails,
// the big enemy, six small enemies and an item, every Move and every draw
// into the 600 x 550 play area. Sprites have the sizes of the game's own
// art, with soft (partly transparent) edges.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "actors/Evil.h"
#include "actors/Item_dollar03.h"
#include "actors/Player.h"
#include "actors/SmallEvil_evil01.h"
#include "actors/SmallEvil_evil02.h"
#include "actors/SmallEvil_evil03.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/FastImaging.h"
#include "pak/PakReader.h"
#include "pak/PakWriter.h"
#include "common/CommonTypes.h"
#include "persist/Config.h"
#include "platform/FakeDisplay.h"
#include "platform/MessageBox.h"

namespace {

// A disc with a one-pixel soft rim, like the art's anti-aliased outlines.
std::unique_ptr<TAlphaImage> Disc(std::int32_t W, std::int32_t H, std::uint8_t Tag) {
  auto Image = std::make_unique<TAlphaImage>(W, H);
  const double R = std::min(W, H) / 2.0 - 0.5;
  for (std::int32_t X = 0; X < W; ++X)
    for (std::int32_t Y = 0; Y < H; ++Y) {
      const double D = std::hypot(X - W / 2, Y - H / 2);
      const double A = std::clamp(R - D + 0.5, 0.0, 1.0);
      Image->SetPixel(X, Y, MakeRGBA(Tag, 255 - Tag, (X * 7 + Y * 3) & 0xFF, static_cast<std::uint32_t>(A * 255)));
    }
  return Image;
}

void Fill(TAlphaImageList& List, std::int32_t Count, std::int32_t W, std::int32_t H) {
  List.Clear();
  for (std::int32_t I = 0; I < Count; ++I) List.Add(Disc(W, H, static_cast<std::uint8_t>(40 * I + 20)));
}

void BM_ActorTickLevel29(benchmark::State& State) {
  TRecordingMessageBox Boxes;  // the empty archive's set messages
  IMessageBox* Old = SetMessageBoxHandler(&Boxes);
  const std::string Folder = std::filesystem::temp_directory_path() / ("vyrn_bench_actors_" + std::to_string(::getpid()));
  std::filesystem::create_directories(Folder);
  WritePakFile(Folder + "/empty.pak", {});
  {
    TPakFileReadable Pak(Folder + "/empty.pak");
    TFakeDisplay Display;
    TConfig Settings(Display, Folder);
    const TShadowMask Mask(7);
    RandSeed = 29;

    TMemBoard Board(600, 550);
    Board.SetUpLevelBoard();
    TFastImageBuffer Buffer(nullptr, 600, 550);

    TPlayer P1({200, 200}, 2, Pak, Settings, 0, "Player 1", "player01");
    TPlayer P2({400, 300}, 2, Pak, Settings, 1, "Player 2", "player02");
    for (TPlayer* P : {&P1, &P2}) {
      Fill(P->Images, 4, 21, 21);
      Fill(P->ExplosionImages, 8, 49, 49);
      P->Appearing = false;
      P->FadeAlpha = 255;
    }
    TEvil Evil({300, 275}, "evil_end01", 5.0f, 9.0f, 0.08f, Pak);
    Fill(Evil.Images, 10, 67, 67);
    Evil.FrameDuration = 2;
    Evil.ChooseTarget(P1, &P2);
    std::vector<std::unique_ptr<TSmallEvilBase>> Small;
    for (int I = 0; I < 2; ++I) {
      Small.push_back(std::make_unique<TSmallEvil_evil01>(TPointF{100.0f + 150 * I, 120}, Pak, 29));
      Small.push_back(std::make_unique<TSmallEvil_evil02>(TPointF{120.0f + 150 * I, 400}, Pak, 29));
      Small.push_back(std::make_unique<TSmallEvil_evil03>(TPointF{450.0f, 100.0f + 150 * I}, Pak, 29));
    }
    for (auto& S : Small) {
      Fill(S->Images, 6, 27, 27);
      S->FrameDuration = 3;
    }
    TItem_dollar03 Item({300, 150}, Settings, Pak);
    Fill(Item.Images, 8, 27, 27);

    std::vector<TPointF> SmallStart;
    for (auto& S : Small) SmallStart.push_back({S->X, S->Y});
    for (auto _ : State) {
      // The same tick again and again: back to the starting places.
      for (TPlayer* P : {&P1, &P2}) {
        P->X = P->StartX;
        P->Y = P->StartY;
        P->IsDrawing = P->WasDrawing = true;
        P->LastDX = 0;
        P->LastDY = 1;
      }
      Evil.X = 300;
      Evil.Y = 275;
      for (std::size_t I = 0; I < Small.size(); ++I) {
        Small[I]->X = SmallStart[I].X;
        Small[I]->Y = SmallStart[I].Y;
      }
      Item.Lifetime = 200;

      bool Closed = false;
      P1.Move(0, 1, true, Board, Closed);
      P2.Move(0, 1, true, Board, Closed);
      Evil.Move(Board);
      for (auto& S : Small) S->Move({600, 550});
      Item.UpdateAndDraw(Buffer, P1, false, Mask, &P2);
      Evil.Draw(Buffer, Board, false, Mask);
      for (auto& S : Small) S->UpdateAndDraw(Buffer, P1, false, Mask, &P2);
      P1.Draw(Buffer, Mask, {P2.TrailStartX, P2.TrailStartY});
      P2.Draw(Buffer, Mask, {P1.TrailStartX, P1.TrailStartY});
      benchmark::DoNotOptimize(Buffer.ScanLine(0));
      benchmark::ClobberMemory();
    }
  }
  SetMessageBoxHandler(Old);
  std::filesystem::remove_all(Folder);
}
BENCHMARK(BM_ActorTickLevel29)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
