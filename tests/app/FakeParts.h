// The main window's parts for its tests: fakes of the splash, the menu and
// the game, writing every call into one shared log so tests can check exact
// call sequences, beside the real settings, music engine and archive reader.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/FormParts.h"
#include "audio/AudioObject.h"
#include "gfx/FastImaging.h"
#include "pak/PakReader.h"
#include "pak/PakWriter.h"
#include "persist/Config.h"
#include "persist/FileStore.h"
#include "common/Scramble.h"
#include "platform/FakeDisplay.h"
#include "platform/Panel.h"
#include "platform/Screen.h"

using TCallLog = std::vector<std::string>;

// The display under the real settings, writing its mode switches into the
// shared log.
class TLoggingDisplay : public TFakeDisplay {
public:
  explicit TLoggingDisplay(TCallLog& Log) : FLog(Log) {}
  int EnterMode(const TDisplayMode& Mode) override {
    FLog.push_back("Display.Enter");
    return TFakeDisplay::EnterMode(Mode);
  }
  int RestoreMode(const TDisplayMode& Mode) override {
    FLog.push_back("Display.Restore");
    return TFakeDisplay::RestoreMode(Mode);
  }

private:
  TCallLog& FLog;
};

class TFakeSplash : public ISplashScreen {
public:
  explicit TFakeSplash(TCallLog& Log) : FLog(Log) {}
  ~TFakeSplash() override { FLog.push_back("~Splash"); }
  void Tick() override { FLog.push_back("Splash.Tick"); }
  void SetDC(TScreen&) override { FLog.push_back("Splash.SetDC"); }
  void SetFinished(bool Value) override {
    FLog.push_back("Splash.SetFinished(" + std::to_string(Value) + ")");
    FinishedValue = Value;
  }
  bool Finished() const override { return FinishedValue; }
  bool FinishedValue = false;

private:
  TCallLog& FLog;
};

// The parts' names in the call log.
inline std::string NameOf(TMenuScreen Screen) {
  static const char* const Names[MenuScreenCount] = {"Main",    "HighScores", "NameEntry", "Credits",
                                                     "Options", "Keys1",      "Keys2"};
  return Names[static_cast<int>(Screen)];
}
inline std::string NameOf(TMenuSound Sound) {
  static const char* const Names[MenuSoundCount] = {"Tick",    "Choose", "Scroll", "ScrollRest",
                                                    "FoldOut", "FoldIn", "Error"};
  return Names[static_cast<int>(Sound)];
}
inline std::string NameOf(TGameSound Sound) {
  static const char* const Names[] = {"Player1Draw", "Player2Draw", "Player1Run", "Player2Run", "All"};
  return Names[static_cast<int>(Sound)];
}

class TFakeMenu : public IMenu {
public:
  explicit TFakeMenu(TCallLog& Log) : Buffer(nullptr, 800, 600), FLog(Log) {}
  ~TFakeMenu() override { FLog.push_back("~Menu"); }
  void SetScreen(TMenuScreen S) override { FLog.push_back("Menu.SetScreen(" + NameOf(S) + ")"); }
  void SetGameResult(std::int64_t A, std::int64_t B) override {
    FLog.push_back("Menu.SetGameResult(" + std::to_string(A) + "," + std::to_string(B) + ")");
  }
  void RestartMusic() override { FLog.push_back("Menu.RestartMusic"); }
  void KeyDown(std::uint16_t& Key) override {
    FLog.push_back("Menu.KeyDown(" + std::to_string(Key) + ")");
    if (Key == SwallowKey) Key = 0;
  }
  void KeyPress(char Ch) override {
    FLog.push_back("Menu.KeyPress(" + std::to_string(static_cast<unsigned char>(Ch)) + ")");
  }
  void SetTargetDC(TScreen&) override { FLog.push_back("Menu.SetTargetDC"); }
  void ShowCheatMark() override { FLog.push_back("Menu.ShowCheatMark"); }
  void SetPaused(bool P) override { FLog.push_back("Menu.SetPaused(" + std::to_string(P) + ")"); }
  void CursorUp() override { FLog.push_back("Menu.CursorUp"); }
  void CursorDown() override { FLog.push_back("Menu.CursorDown"); }
  void CursorLeft() override { FLog.push_back("Menu.CursorLeft"); }
  void CursorRight() override { FLog.push_back("Menu.CursorRight"); }
  void Choose() override { FLog.push_back("Menu.Choose"); }
  void CursorHome() override { FLog.push_back("Menu.CursorHome"); }
  void CursorEnd() override { FLog.push_back("Menu.CursorEnd"); }
  void PageUp() override { FLog.push_back("Menu.PageUp"); }
  void PageDown() override { FLog.push_back("Menu.PageDown"); }
  void Back() override { FLog.push_back("Menu.Back"); }
  void EraseChar(std::uint16_t Key) override { FLog.push_back("Menu.EraseChar(" + std::to_string(Key) + ")"); }
  void StopSound(TMenuSound S) override { FLog.push_back("Menu.StopSound(" + NameOf(S) + ")"); }
  void StopMusic() override { FLog.push_back("Menu.StopMusic"); }
  void Tick() override { FLog.push_back("Menu.Tick"); }
  TFastImageBuffer& FrameBuffer() override { return Buffer; }
  bool StartOnePlayer() const override { return OnePlayer; }
  bool StartTwoPlayers() const override { return TwoPlayers; }
  bool QuitRequested() const override { return Quit; }
  bool TakeDemoCue() override {
    const bool Cue = DemoCue;
    DemoCue = false;
    return Cue;
  }

  bool OnePlayer = false, TwoPlayers = false, Quit = false, DemoCue = false;
  std::uint16_t SwallowKey = 0xFFFF;
  TFastImageBuffer Buffer;

private:
  TCallLog& FLog;
};

class TFakeGame : public IGameData {
public:
  TFakeGame(TCallLog& Log, bool Two) : TwoPlayersValue(Two), FLog(Log) {}
  ~TFakeGame() override { FLog.push_back("~Game"); }
  void MovePlayer1(std::int8_t DX, std::int8_t DY, bool Draw) override {
    FLog.push_back("Game.MovePlayer1(" + std::to_string(DX) + "," + std::to_string(DY) + "," + std::to_string(Draw) +
                   ")");
  }
  void MovePlayer2(std::int8_t DX, std::int8_t DY, bool Draw) override {
    FLog.push_back("Game.MovePlayer2(" + std::to_string(DX) + "," + std::to_string(DY) + "," + std::to_string(Draw) +
                   ")");
  }
  void StopSound(TGameSound S) override { FLog.push_back("Game.StopSound(" + NameOf(S) + ")"); }
  void MoveEvil() override { FLog.push_back("Game.MoveEvil"); }
  void MoveSmallEvils() override { FLog.push_back("Game.MoveSmallEvils"); }
  void SpawnItems() override { FLog.push_back("Game.SpawnItems"); }
  void Update() override { FLog.push_back("Game.Update"); }
  void SetPaused(bool V) override {
    FLog.push_back("Game.SetPaused(" + std::to_string(V) + ")");
    if (!IgnoresPause) PausedValue = V;
  }
  void ConfirmQuit() override { FLog.push_back("Game.ConfirmQuit"); }
  std::int64_t Score1() const override { return Score1Value; }
  std::int64_t Score2() const override { return Score2Value; }
  bool TwoPlayers() const override { return TwoPlayersValue; }
  bool Paused() const override { return PausedValue; }
  bool Ended() const override { return EndedValue; }
  void SetWaitForKey(bool V) override {
    WaitForKey = V;
  }
  // Nothing of its own to hash.
  std::uint64_t StateChecksum(std::uint64_t Hash) const override { return Hash; }

  bool TwoPlayersValue;
  bool PausedValue = false;
  bool IgnoresPause = false;  // as a real game does in its level intro and level end
  bool EndedValue = false;
  bool WaitForKey = true;
  std::int64_t Score1Value = 1234;
  std::int64_t Score2Value = -1;

private:
  TCallLog& FLog;
};

class TFakeDemo : public IDemo {
public:
  TFakeDemo(TCallLog& Log, int Number) : FLog(Log), FNumber(std::to_string(Number)) {}
  ~TFakeDemo() override { FLog.push_back("~Demo"); }
  bool Start() override {
    FLog.push_back("Demo" + FNumber + ".Start");
    return Starts;
  }
  bool Tick() override {
    FLog.push_back("Demo" + FNumber + ".Tick");
    return --TicksLeft > 0;
  }
  bool Starts = true;
  int TicksLeft = 1000000;

private:
  TCallLog& FLog;
  std::string FNumber;
};

// Hands out the real settings, music engine and archive reader (on a folder
// of the test's own and a logging display) and fakes of the splash, menu and
// game, keeping a pointer to the latest of each (the window owns them).
class TFakeParts : public IFormParts {
public:
  TFakeParts() : Display(Log) {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    Folder = std::filesystem::temp_directory_path() /
             ("vyrn-form-" + std::to_string(::getpid()) + "-" + (Info ? Info->name() : "none") + "-" +
              std::to_string(++Instances));
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    WritePakFile((Folder / "game.pak").string(), {{"a.png", {1, 2, 3}}});
  }
  ~TFakeParts() override { std::filesystem::remove_all(Folder); }

  // The settings start from a config.dat with these switches.
  void WriteSettings(bool FullScreen) {
    std::string Text = std::string("0,0,") + (FullScreen ? "1," : "0,");
    for (int Slot = 4; Slot <= 13; ++Slot) Text += std::to_string(TConfig::DefaultKeys[Slot]) + ",";
    ScrambleText(Text);
    std::string Error;
    ASSERT_TRUE(ReplaceFile((Folder / "config.dat").string(), Text, Error)) << Error;
  }
  // The archive is a file that is not one.
  void DamageArchive() {
    std::FILE* F = std::fopen((Folder / "game.pak").string().c_str(), "wb");
    std::fputs("\xff\xff\xff\x7fjunk", F);
    std::fclose(F);
  }

  std::unique_ptr<TConfig> CreateConfig() override {
    Log.push_back("CreateConfig");
    auto C = std::make_unique<TConfig>(Display, Folder.string());
    Config = C.get();
    return C;
  }
  std::unique_ptr<TAudioObject> CreateAudio() override {
    Log.push_back("CreateAudio");
    auto A = std::make_unique<TAudioObject>();
    Audio = A.get();
    return A;
  }
  std::unique_ptr<TPakFileReadable> CreatePak(const std::string& FileName) override {
    Log.push_back("CreatePak(" + FileName + ")");
    auto P = std::make_unique<TPakFileReadable>((Folder / FileName).string());
    Pak = P.get();
    return P;
  }
  std::unique_ptr<ISplashScreen> CreateSplash(TScreen& DC, int Width, int Height, TAudioObject& A,
                                              const TPakFileReadable& P) override {
    Log.push_back("CreateSplash(" + std::to_string(Width) + "," + std::to_string(Height) + ")");
    SplashDC = &DC;
    EXPECT_EQ(&A, Audio);
    EXPECT_EQ(&P, Pak);
    auto S = std::make_unique<TFakeSplash>(Log);
    Splash = S.get();
    return S;
  }
  std::unique_ptr<IMenu> CreateMenu(TMenuScreen Screen, const TPakFileReadable& P, TAudioObject& A, TConfig& C,
                                    TScreen& DC) override {
    Log.push_back("CreateMenu(" + NameOf(Screen) + ")");
    MenuDC = &DC;
    EXPECT_EQ(&P, Pak);
    EXPECT_EQ(&A, Audio);
    EXPECT_EQ(&C, Config);
    auto M = std::make_unique<TFakeMenu>(Log);
    Menu = M.get();
    return M;
  }
  std::unique_ptr<IGameData> CreateGame(int Width, int StartLevel, int StartLives, const TPakFileReadable& P,
                                        TAudioObject& A, TConfig& C, bool TwoPlayers, TFastImageBuffer& MenuBuffer,
                                        TPanel& Bottom, TPanel& Right, TScreen& DC, int Height) override {
    Log.push_back("CreateGame(" + std::to_string(Width) + "," + std::to_string(StartLevel) + "," +
                  std::to_string(StartLives) + "," + std::to_string(TwoPlayers) + "," + std::to_string(Height) + ")");
    EXPECT_EQ(&P, Pak);
    EXPECT_EQ(&A, Audio);
    EXPECT_EQ(&C, Config);
    EXPECT_EQ(&MenuBuffer, &Menu->Buffer);
    GameBottom = &Bottom;
    GameRight = &Right;
    GameDC = &DC;
    auto G = std::make_unique<TFakeGame>(Log, TwoPlayers);
    Game = G.get();
    ++GamesMade;
    return G;
  }

  std::unique_ptr<IDemo> CreateDemo(int Number, const TPakFileReadable& P, const TConfig& C, TScreen& DC) override {
    Log.push_back("CreateDemo(" + std::to_string(Number) + ")");
    EXPECT_EQ(&P, Pak);
    EXPECT_EQ(&C, Config);
    DemoDC = &DC;
    if (!HasDemo) return nullptr;
    auto D = std::make_unique<TFakeDemo>(Log, Number);
    D->Starts = DemoStarts;
    D->TicksLeft = DemoTicks;
    Demo = D.get();
    return D;
  }

  TCallLog Log;
  TLoggingDisplay Display;
  std::filesystem::path Folder;
  TConfig* Config = nullptr;
  TAudioObject* Audio = nullptr;
  TPakFileReadable* Pak = nullptr;
  TFakeSplash* Splash = nullptr;
  TFakeMenu* Menu = nullptr;
  TFakeGame* Game = nullptr;
  TScreen* SplashDC = nullptr;
  TScreen* MenuDC = nullptr;
  TScreen* GameDC = nullptr;
  TPanel* GameBottom = nullptr;
  TPanel* GameRight = nullptr;
  int GamesMade = 0;
  TFakeDemo* Demo = nullptr;
  TScreen* DemoDC = nullptr;
  bool HasDemo = true;
  bool DemoStarts = true;
  int DemoTicks = 1000000;

private:
  static inline int Instances = 0;
};
