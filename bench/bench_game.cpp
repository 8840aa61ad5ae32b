// The running game's tick, level loading and a claim over nearly the whole
// field, on the generated archive and the headless screen.
#include "game/GameData.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "actors/Evil.h"
#include "actors/Player.h"
#include "board/MemBoard.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/FakeDisplay.h"
#include "platform/Panel.h"
#include "platform/Screen.h"

namespace {

// One game with everything it presents to, sound off.
struct TBenchGame {
  explicit TBenchGame(std::int32_t Level, bool TwoPlayers)
      : Folder(std::filesystem::temp_directory_path() / "vyrn-bench-game"),
        Config((std::filesystem::create_directories(Folder), Display), Folder.string()) {
    Config.SoundOff = true;
    RandSeed = 99;
    Game = std::make_unique<TGameData>(600, Level, 9, Pak, nullptr, Config, TwoPlayers, MenuBuffer, &Bottom, &Right,
                                       &Screen, 550);
    for (int I = 0; I < 1000 && Game->Level->Intro; ++I) Game->Update();
  }
  ~TBenchGame() {
    Game.reset();
    std::error_code Ec;
    std::filesystem::remove_all(Folder, Ec);
  }

  std::filesystem::path Folder;
  TFakeDisplay Display;
  TConfig Config;
  TPakFileReadable Pak{VYRN_GAME_PAK};
  TScreen Screen;
  TPanel Bottom{Screen, 0, 550, 600, 50};
  TPanel Right{Screen, 600, 0, 200, 600};
  TFastImageBuffer MenuBuffer{nullptr, 800, 600};
  std::unique_ptr<TGameData> Game;
};

// Level 29 with both players running along the top edge and back, six
// small enemies, the big one, items: the whole tick as the window runs it.
void BM_GameTickLevel29(benchmark::State& State) {
  TBenchGame B(29, true);
  TGameData& G = *B.Game;
  std::int64_t Tick = 0;
  for (auto _ : State) {
    const std::int8_t Dir = (Tick / 60) % 2 == 0 ? 1 : -1;
    G.MovePlayer1(Dir, 0, false);
    G.MovePlayer2(static_cast<std::int8_t>(-Dir), 0, false);
    G.MoveEvil();
    G.MoveSmallEvils();
    G.SpawnItems();
    G.Update();
    ++Tick;
    for (const auto& P : G.Players)
      if (P->Lives < 5) P->SetLives(9);  // keep both in the game
    if (G.Ended() || G.Level->Completed) State.SkipWithError("the game left play");
  }
  State.counters["ticks/s"] = benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GameTickLevel29)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Level 1, one player running along the top edge and back: the big enemy
// alone, the tick as the window runs it.
void BM_GameTickLevel1(benchmark::State& State) {
  TBenchGame B(1, false);
  TGameData& G = *B.Game;
  std::int64_t Tick = 0;
  for (auto _ : State) {
    const std::int8_t Dir = (Tick / 60) % 2 == 0 ? 1 : -1;
    G.MovePlayer1(Dir, 0, false);
    G.MoveEvil();
    G.MoveSmallEvils();
    G.SpawnItems();
    G.Update();
    ++Tick;
    if (G.Players[0]->Lives < 5) G.Players[0]->SetLives(9);
    if (G.Ended() || G.Level->Completed) State.SkipWithError("the game left play");
  }
  State.counters["ticks/s"] = benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GameTickLevel1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadLevel29(benchmark::State& State) {
  TBenchGame B(29, true);
  for (auto _ : State) {
    B.Game->LevelNumber = 29;
    B.Game->LoadLevel();
  }
}
BENCHMARK(BM_LoadLevel29)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Player 1 closes a trail down column 40 with the enemy penned in the strip
// left of it: the claim takes the 274,000 cells right of the trail.
void BM_FullFieldClaimTick(benchmark::State& State) {
  TBenchGame B(1, false);
  TGameData& G = *B.Game;
  TMemBoard& Board = *G.Level->Board;
  Board.VerticalLine(21, 527, 40, CellTrail1);
  std::vector<std::uint8_t> Prepared(Board.Data(), Board.Data() + Board.Width * Board.Height);
  TPlayer& P = *G.Players[0];
  for (auto _ : State) {
    State.PauseTiming();
    std::memcpy(Board.Data(), Prepared.data(), Prepared.size());
    P.X = 40;
    P.Y = 527;
    P.IsDrawing = P.WasDrawing = true;
    P.Appearing = P.Vanishing = P.IsExploding = false;
    P.LastDX = 0;
    P.LastDY = 1;
    G.Level->Evil->X = 30;
    G.Level->Evil->Y = 275;
    G.Level->ClaimedCells = 0;
    G.Frozen = false;
    State.ResumeTiming();
    G.MovePlayer1(0, 1, true);
    State.PauseTiming();
    if (G.Level->ClaimedCells < 270000) State.SkipWithError("the trail did not close");
    State.ResumeTiming();
  }
}
BENCHMARK(BM_FullFieldClaimTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
