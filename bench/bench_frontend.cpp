// The front end's per-tick cost and its start-up, on the real archive: one
// menu tick at rest and one mid-animation (target under 1 ms each), creating
// the splash, and creating the menu (what the player waits for between the
// splash's key and the menu: under 100 ms in all, with two timer ticks).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "audio/AudioObject.h"
#include "frontend/Menu.h"
#include "frontend/SplashScreen.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/FakeDisplay.h"
#include "platform/HeadlessAudio.h"
#include "platform/Screen.h"

namespace {

// Settings in a scratch folder, the headless mixer, the generator's archive.
struct TWorld {
  TWorld() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "vyrn-bench-XXXXXX").string();
    if (!::mkdtemp(Pattern.data())) std::abort();
    Folder = Pattern;
    Old = SetAudioHandler(&Audio);
    Config = std::make_unique<TConfig>(Display, Folder);
    Engine = std::make_unique<TAudioObject>(0);
  }
  ~TWorld() {
    Engine.reset();
    SetAudioHandler(Old);
    std::error_code Ignored;
    std::filesystem::remove_all(Folder, Ignored);
  }
  bool HaveArchive() const { return std::filesystem::exists(Pak.FileName); }

  std::string Folder;
  THeadlessAudio Audio;
  IAudio* Old = nullptr;
  TFakeDisplay Display;
  std::unique_ptr<TConfig> Config;
  std::unique_ptr<TAudioObject> Engine;
  TPakFileReadable Pak{VYRN_GAME_PAK};
  TScreen Screen;
};

void BM_MenuTickAtRest(benchmark::State& State) {
  TWorld W;
  if (!W.HaveArchive()) {
    State.SkipWithError("no game.pak; build the game_pak target");
    return;
  }
  TMenu Menu(TMenuScreen::Main, W.Pak, *W.Engine, *W.Config, W.Screen);
  for (int I = 0; I < 200; ++I) Menu.Tick();
  for (auto _ : State) {
    Menu.Tick();
    // The headless mixer's own rendering is not the menu's cost.
    State.PauseTiming();
    W.Audio.Advance(30);
    State.ResumeTiming();
  }
}
BENCHMARK(BM_MenuTickAtRest)->Unit(benchmark::kMicrosecond);

void BM_MenuTickMidAnimation(benchmark::State& State) {
  TWorld W;
  if (!W.HaveArchive()) {
    State.SkipWithError("no game.pak; build the game_pak target");
    return;
  }
  TMenu Menu(TMenuScreen::Main, W.Pak, *W.Engine, *W.Config, W.Screen);
  for (int I = 0; I < 200; ++I) Menu.Tick();
  // Back and forth between the main menu and the credits: every measured
  // tick folds, resizes, unfolds or fades.
  for (int I = 0; I < 4; ++I) {
    Menu.CursorDown();
    for (int T = 0; T < 4; ++T) Menu.Tick();
  }
  for (auto _ : State) {
    if (Menu.Idle()) {
      if (Menu.Screen() == TMenuScreen::Credits) Menu.Back();
      else Menu.Choose();
    }
    Menu.Tick();
    // The headless mixer's own rendering is not the menu's cost.
    State.PauseTiming();
    W.Audio.Advance(30);
    State.ResumeTiming();
  }
}
BENCHMARK(BM_MenuTickMidAnimation)->Unit(benchmark::kMicrosecond);

void BM_SplashCreation(benchmark::State& State) {
  TWorld W;
  if (!W.HaveArchive()) {
    State.SkipWithError("no game.pak; build the game_pak target");
    return;
  }
  for (auto _ : State) {
    TSplashScreen Splash(W.Screen, 320, 240, *W.Engine, W.Pak);
    benchmark::DoNotOptimize(Splash.Frame(49).GetPixel(0, 0));
  }
}
BENCHMARK(BM_SplashCreation)->Unit(benchmark::kMillisecond);

void BM_MenuCreation(benchmark::State& State) {
  TWorld W;
  if (!W.HaveArchive()) {
    State.SkipWithError("no game.pak; build the game_pak target");
    return;
  }
  for (auto _ : State) {
    TMenu Menu(TMenuScreen::Main, W.Pak, *W.Engine, *W.Config, W.Screen);
    benchmark::DoNotOptimize(Menu.Screen());
  }
}
BENCHMARK(BM_MenuCreation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
