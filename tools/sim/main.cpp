// vyrn-sim: the running game without a window. Starts a game as the menu's
// start request would and drives it through the main window's own game tick
// and key handling on the headless platform, one JSON line per tick, so that
// games can be scripted, replayed, measured and checked.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Bot.h"
#include "PngEncode.h"
#include "SimScript.h"
#include "StderrMessageBox.h"
#include "actors/Evil.h"
#include "actors/Itembase.h"
#include "actors/Player.h"
#include "actors/SmallEvilBase.h"
#include "app/Main.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayPlayer.h"
#include "audio/AudioObject.h"
#include "game/GameData.h"
#include "pak/PakReader.h"
#include "common/CommonTypes.h"
#include "common/OutOfMemory.h"
#include "persist/Config.h"
#include "common/Scramble.h"
#include "common/TimeOfDay.h"
#include "platform/MessageBox.h"

namespace {

const char* const Usage =
    "usage: vyrn-sim [--pak FILE] --seed N [--level L] [--lives K] [--players 1|2]\n"
    "                [--ticks T] [--script FILE] [--frames DIR [--every M]]\n"
    "                [--claimed C] [--bot] [--clear]\n"
    "       vyrn-sim [--pak FILE] --replay FILE [--frames DIR [--every M]]\n"
    "--claimed counts C cells of the first level as claimed already (its board\n"
    "stays as it is), so that checks reach a level's end in a few ticks.\n"
    "--bot plays by itself and stops with exit 1 when the game breaks a rule.\n"
    "--clear draws claimed ground in the Clear look (the game plays the same).\n";

struct TOptions {
  std::string Pak = "game.pak";
  std::uint32_t Seed = 0;
  bool HasSeed = false;
  std::int32_t Level = 1;
  std::int32_t Lives = 2;
  std::int32_t Players = 1;
  std::int64_t Ticks = 600;
  std::string Script;
  std::string Frames;
  std::int64_t Every = 1;
  std::int32_t Claimed = 0;
  std::string Replay;
  bool Bot = false;
  bool Clear = false;
};

int Fail(const std::string& Message) {
  std::fprintf(stderr, "vyrn-sim: %s\n", Message.c_str());
  return 1;
}

// Floats so they read back exactly; JSON has no NaN or infinities.
std::string Num(float V) {
  if (!std::isfinite(V)) return "null";
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, "%.9g", static_cast<double>(V));
  return Buf;
}

const char* Bool(bool V) { return V ? "true" : "false"; }

// The menu as far as the simulation needs it: a black picture under the
// loading bar and a start request on its first tick.
class TSimMenu : public IMenu {
public:
  explicit TSimMenu(bool TwoPlayers) : FTwoPlayers(TwoPlayers) {}
  void SetScreen(TMenuScreen) override {}
  void SetGameResult(std::int64_t, std::int64_t) override {}
  void RestartMusic() override {}
  void KeyDown(std::uint16_t&) override {}
  void KeyPress(char) override {}
  void SetTargetDC(TScreen&) override {}
  void ShowCheatMark() override {}
  void SetPaused(bool) override {}
  void CursorUp() override {}
  void CursorDown() override {}
  void CursorLeft() override {}
  void CursorRight() override {}
  void Choose() override {}
  void CursorHome() override {}
  void CursorEnd() override {}
  void PageUp() override {}
  void PageDown() override {}
  void Back() override {}
  void EraseChar(std::uint16_t) override {}
  void StopSound(TMenuSound) override {}
  void StopMusic() override { FStarted = true; }
  void Tick() override {}
  TFastImageBuffer& FrameBuffer() override { return FBuffer; }
  bool StartOnePlayer() const override { return !FStarted && !FTwoPlayers; }
  bool StartTwoPlayers() const override { return !FStarted && FTwoPlayers; }
  bool QuitRequested() const override { return false; }
  bool TakeDemoCue() override { return false; }

private:
  bool FTwoPlayers;
  bool FStarted = false;
  TFastImageBuffer FBuffer{nullptr, 800, 600};
};

// The window owns and frees what CreateGame returns; the simulation keeps
// the game itself to report the tick in which it ended.
class TGameLink : public IGameData {
public:
  explicit TGameLink(TGameData& Game) : G(Game) {}
  void MovePlayer1(std::int8_t DX, std::int8_t DY, bool D) override { G.MovePlayer1(DX, DY, D); }
  void MovePlayer2(std::int8_t DX, std::int8_t DY, bool D) override { G.MovePlayer2(DX, DY, D); }
  void StopSound(TGameSound Sound) override { G.StopSound(Sound); }
  void MoveEvil() override { G.MoveEvil(); }
  void MoveSmallEvils() override { G.MoveSmallEvils(); }
  void SpawnItems() override { G.SpawnItems(); }
  void Update() override { G.Update(); }
  void SetPaused(bool Value) override { G.SetPaused(Value); }
  void ConfirmQuit() override { G.ConfirmQuit(); }
  std::int64_t Score1() const override { return G.Score1(); }
  std::int64_t Score2() const override { return G.Score2(); }
  bool TwoPlayers() const override { return G.TwoPlayers(); }
  bool Paused() const override { return G.Paused(); }
  bool Ended() const override { return G.Ended(); }
  void SetWaitForKey(bool Value) override { G.SetWaitForKey(Value); }
  std::uint64_t StateChecksum(std::uint64_t Hash) const override { return G.StateChecksum(Hash); }

private:
  TGameData& G;
};

class TSimParts : public IFormParts {
public:
  TSimParts(const TOptions& Options, const std::string& Folder, IDisplay& Display)
      : FOptions(Options), FFolder(Folder), FDisplay(Display) {}

  std::unique_ptr<TConfig> CreateConfig() override { return std::make_unique<TConfig>(FDisplay, FFolder); }
  std::unique_ptr<TAudioObject> CreateAudio() override { return std::make_unique<TAudioObject>(); }
  std::unique_ptr<TPakFileReadable> CreatePak(const std::string&) override {
    return std::make_unique<TPakFileReadable>(FOptions.Pak);
  }
  std::unique_ptr<ISplashScreen> CreateSplash(TScreen&, int, int, TAudioObject&, const TPakFileReadable&) override {
    return nullptr;
  }
  std::unique_ptr<IMenu> CreateMenu(TMenuScreen, const TPakFileReadable&, TAudioObject&, TConfig&, TScreen&) override {
    return std::make_unique<TSimMenu>(FOptions.Players == 2);
  }
  std::unique_ptr<IGameData> CreateGame(int Width, int StartLevel, int StartLives, const TPakFileReadable& Pak,
                                        TAudioObject& Audio, TConfig& Config, bool TwoPlayers,
                                        TFastImageBuffer& MenuBuffer, TPanel& BottomImage, TPanel& RightImage,
                                        TScreen& DC, int Height) override {
    RandSeed = FOptions.Seed;
    try {
      Game = std::make_unique<TGameData>(Width, StartLevel, StartLives, Pak, &Audio, Config, TwoPlayers, MenuBuffer,
                                         &BottomImage, &RightImage, &DC, Height);
    } catch (const std::exception& E) {
      ShowMessageBox(std::string("The game could not be started: ") + FailureText(E));
      return nullptr;
    }
    return std::make_unique<TGameLink>(*Game);
  }

  std::unique_ptr<TGameData> Game;

private:
  const TOptions& FOptions;
  std::string FFolder;
  IDisplay& FDisplay;
};

// A recorded session runs through the program's own parts (splash and menu
// included), on the headless platform; the game is kept beyond its end so
// its last tick can be reported.
class TReplayParts : public THeadlessParts {
public:
  TReplayParts(IDisplay& Display, const std::string& Folder, const std::string& Pak)
      : THeadlessParts(Display, Folder, Pak) {}
  std::unique_ptr<IGameData> CreateGame(int Width, int StartLevel, int StartLives, const TPakFileReadable& Pak,
                                        TAudioObject& Audio, TConfig& Config, bool TwoPlayers,
                                        TFastImageBuffer& MenuBuffer, TPanel& BottomImage, TPanel& RightImage,
                                        TScreen& DC, int Height) override {
    auto Made = THeadlessParts::CreateGame(Width, StartLevel, StartLives, Pak, Audio, Config, TwoPlayers, MenuBuffer,
                                           BottomImage, RightImage, DC, Height);
    if (!Made) return nullptr;
    Game.reset(static_cast<TGameData*>(Made.release()));
    return std::make_unique<TGameLink>(*Game);
  }

  std::unique_ptr<TGameData> Game;
};

std::string ItemKind(const TGameData& Game, const TItemBase* Item) {
  static const char* const Names[] = {"heart", "dollar01", "dollar02", "dollar03", "speed"};
  for (std::int32_t I = 0; I < TGameData::ItemCount; ++I)
    if (Game.Items[static_cast<std::size_t>(I)].get() == Item) return Names[I];
  return "unknown";
}

std::string TickLine(std::int64_t Tick, TGameData& G) {
  const TLevel& L = *G.Level;
  std::string S = "{\"tick\":" + std::to_string(Tick) + ",\"level\":" + std::to_string(G.LevelNumber);
  S += ",\"percent\":" + Num(L.ClaimedShare());
  S += ",\"claimed\":" + std::to_string(L.ClaimedCells);
  S += ",\"time_bonus\":" + std::to_string(L.TimeBonus);
  S += std::string(",\"frozen\":") + Bool(G.Frozen) + ",\"paused\":" + Bool(G.Paused()) + ",\"ended\":" +
       Bool(G.Ended());
  S += ",\"players\":[";
  for (std::size_t I = 0; I < G.Players.size(); ++I) {
    const TPlayer& P = *G.Players[I];
    if (I) S += ",";
    S += "{\"x\":" + Num(P.X) + ",\"y\":" + Num(P.Y) + ",\"score\":" + std::to_string(P.Score) +
         ",\"lives\":" + std::to_string(P.Lives) + ",\"speed\":" + Num(P.Speed) + ",\"drawing\":" +
         Bool(P.IsDrawing) + ",\"exploding\":" + Bool(P.IsExploding) + ",\"game_over\":" + Bool(P.GameOver) + "}";
  }
  S += "],\"evil\":{\"x\":" + Num(L.Evil->X) + ",\"y\":" + Num(L.Evil->Y) + "},\"small\":[";
  for (std::int32_t I = 0; I < L.SmallEvilCount(); ++I) {
    if (I) S += ",";
    S += "{\"x\":" + Num(L.SmallEvil(I).X) + ",\"y\":" + Num(L.SmallEvil(I).Y) + "}";
  }
  S += "],\"item\":";
  if (L.Item)
    S += "{\"kind\":\"" + ItemKind(G, L.Item) + "\",\"x\":" + std::to_string(L.Item->X) +
         ",\"y\":" + std::to_string(L.Item->Y) + "}";
  else
    S += "null";
  S += ",\"end_countdown\":" + std::to_string(L.EndCountdown) + ",\"bonus_shown\":" + Bool(G.BonusShown) +
       ",\"wait_for_key\":" + Bool(G.WaitForKey()) + "}";
  return S;
}

// The final line of a game: both scores, -1 for a missing player 2.
void PrintFinal(const TGameData& Game) {
  std::printf("{\"final\":true,\"score1\":%lld,\"score2\":%lld}\n", static_cast<long long>(Game.Score1()),
              static_cast<long long>(Game.Score2()));
}

// Before either kind of run: the archive must read, and the frames folder
// (when asked for) must exist.
int CheckArchiveAndFrames(const TOptions& Options) {
  std::string Problem;
  TPakFileReadable Pak(Options.Pak);
  if (!Pak.CheckArchive(Problem)) return Fail("cannot read the archive \"" + Options.Pak + "\": " + Problem);
  if (!Options.Frames.empty()) {
    std::error_code Ec;
    std::filesystem::create_directories(Options.Frames, Ec);
    if (!std::filesystem::is_directory(Options.Frames)) return Fail("cannot create \"" + Options.Frames + "\"");
  }
  return 0;
}

bool WriteFrame(const TScreen& Screen, const std::string& Dir, std::int64_t Tick) {
  std::vector<std::uint8_t> Rgba(static_cast<std::size_t>(Screen.Width()) * Screen.Height() * 4);
  for (int Y = 0; Y < Screen.Height(); ++Y) {
    const std::uint8_t* Row = Screen.Row(Y);
    for (int X = 0; X < Screen.Width(); ++X) {
      std::uint8_t* P = &Rgba[(static_cast<std::size_t>(Y) * Screen.Width() + X) * 4];
      P[0] = Row[X * 3 + 2];
      P[1] = Row[X * 3 + 1];
      P[2] = Row[X * 3 + 0];
      P[3] = 255;
    }
  }
  char Name[32];
  std::snprintf(Name, sizeof Name, "frame_%06lld.png", static_cast<long long>(Tick));
  try {
    const TBytes Png = EncodePngRgba(Rgba.data(), Screen.Width(), Screen.Height(), 6);
    std::ofstream Out(std::filesystem::path(Dir) / Name, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Png.data()), static_cast<std::streamsize>(Png.size()));
    Out.close();
    return static_cast<bool>(Out);
  } catch (const std::exception&) {
    return false;
  }
}

int ParseArguments(int Argc, char** Argv, TOptions& O) {
  for (int I = 1; I < Argc; ++I) {
    const std::string A = Argv[I];
    if (A == "--help" || A == "-h") {
      std::fputs(Usage, stdout);
      return 2;
    }
    if (A == "--bot") {
      O.Bot = true;
      continue;
    }
    if (A == "--clear") {
      O.Clear = true;
      continue;
    }
    if (I + 1 >= Argc) return Fail("missing value after " + A + "\n" + Usage);
    const std::string V = Argv[++I];
    long long N = 0;
    auto Number = [&](long long Min, long long Max) {
      if (ParseInt(V, Min, Max, N)) return true;
      Fail("bad value \"" + V + "\" for " + A + " (" + std::to_string(Min) + " to " + std::to_string(Max) + ")");
      return false;
    };
    if (A == "--pak") O.Pak = V;
    else if (A == "--seed") {
      if (!Number(0, 4294967295LL)) return 1;
      O.Seed = static_cast<std::uint32_t>(N);
      O.HasSeed = true;
    } else if (A == "--level") {
      if (!Number(1, 29)) return 1;
      O.Level = static_cast<std::int32_t>(N);
    } else if (A == "--lives") {
      if (!Number(0, 9)) return 1;
      O.Lives = static_cast<std::int32_t>(N);
    } else if (A == "--players") {
      if (!Number(1, 2)) return 1;
      O.Players = static_cast<std::int32_t>(N);
    } else if (A == "--ticks") {
      if (!Number(0, 100000000)) return 1;
      O.Ticks = N;
    } else if (A == "--script") O.Script = V;
    else if (A == "--replay") O.Replay = V;
    else if (A == "--frames") O.Frames = V;
    else if (A == "--claimed") {
      if (!Number(0, 330000)) return 1;
      O.Claimed = static_cast<std::int32_t>(N);
    }
    else if (A == "--every") {
      if (!Number(1, 100000000)) return 1;
      O.Every = N;
    } else
      return Fail("unknown option " + A + "\n" + Usage);
  }
  if (!O.HasSeed && O.Replay.empty()) return Fail(std::string("--seed is required\n") + Usage);
  return 0;
}

// Plays a recorded session and prints the running game's ticks as a
// scripted game does, a final line whenever a game ends, and exits 1 with
// the first difference when the game parts from its recording.
int RunReplay(const TOptions& Options) {
  TReplay Replay;
  try {
    Replay = LoadReplay(Options.Replay);
  } catch (const TReplayError& E) {
    return Fail(E.what());
  }
  if (const int Code = CheckArchiveAndFrames(Options)) return Code;
  const std::string Folder = MakeReplayFolder();
  if (Folder.empty()) return Fail("cannot create a temporary folder");
  TStderrMessageBox Box("vyrn-sim");
  SetMessageBoxHandler(&Box);
  int Exit = 0;
  {
    THeadlessSession Session(
        [&](IDisplay& Display) { return std::make_unique<TReplayParts>(Display, Folder, Options.Pak); });
    auto& Parts = static_cast<TReplayParts&>(Session.Parts());
    TMainForm& Form = Session.Form();
    const TScreen& Screen = Session.Screen;
    TReplayPlayer Player(Replay, Form);
    if (Player.PrepareFolder(Folder) && Player.Start()) {
      std::int64_t Tick = 0;
      std::int64_t Shown = 0;
      for (;;) {
        const TInputEvent* Next = Player.NextEvent();
        const bool GameTick = Next && Next->Kind == TInputKind::Timer && Next->Code == Form.GameTimer &&
                              Form.TimerRuns(Form.GameTimer) && Form.Game();
        if (!Player.Step()) break;
        if (!GameTick || !Parts.Game) continue;
        std::fputs((TickLine(Tick, *Parts.Game) + "\n").c_str(), stdout);
        if (!Options.Frames.empty() && Shown++ % Options.Every == 0 && !WriteFrame(Screen, Options.Frames, Shown - 1)) {
          Exit = Fail("cannot write a frame into \"" + Options.Frames + "\"");
          break;
        }
        ++Tick;
        if (!Form.Game()) {
          PrintFinal(*Parts.Game);
          Parts.Game.reset();
          Tick = 0;
        }
      }
      if (Parts.Game && Form.Game())
        PrintFinal(*Parts.Game);
    }
    std::fflush(stdout);
    if (Player.Desynced()) Exit = Fail("the replay does not match this game: " + Player.Problem());
    else if (Exit == 0)
      std::fprintf(stderr, "vyrn-sim: replay played to its end, %u ticks, %u checksums matched\n", Player.TimerTicks(),
                   Player.ChecksCompared());
    Parts.Game.reset();  // before the window's panels go
    Form.FormDestroy();
  }
  SetMessageBoxHandler(nullptr);
  RemoveReplayFolder(Folder);
  return Exit;
}

}  // namespace

int Run(int Argc, char** Argv) {
  TOptions Options;
  if (const int Code = ParseArguments(Argc, Argv, Options)) return Code == 2 ? 0 : Code;
  if (!Options.Replay.empty()) return RunReplay(Options);

  std::map<std::int64_t, std::vector<TScriptEvent>> Events;
  std::string Problem;
  if (!Options.Script.empty() && !LoadScript(Options.Script, Events, Problem)) return Fail(Problem);
  if (const int Code = CheckArchiveAndFrames(Options)) return Code;

  // Settings with the default keys, in a folder of our own.
  const std::string Folder = MakeReplayFolder();
  if (Folder.empty()) return Fail("cannot create a temporary folder");
  if (Options.Clear) TExtraSettings(Folder).SetClaimedGround(TClaimedGroundLook::Clear);

  TStderrMessageBox Box("vyrn-sim");
  SetMessageBoxHandler(&Box);
  // The shade pattern re-seeds the generator from the time of day: make
  // that a function of the seed, so a run never reads the clock.
  const std::uint32_t Seed = Options.Seed;
  SetTimeOfDaySource([Seed] { return Seed % 86400000u; });

  int Exit = 0;
  {
    THeadlessSession Session([&](IDisplay& Display) { return std::make_unique<TSimParts>(Options, Folder, Display); });
    auto& Parts = static_cast<TSimParts&>(Session.Parts());
    TMainForm& Form = Session.Form();
    const TScreen& Screen = Session.Screen;
    if (!Form.FormCreate()) {
      Exit = 1;
    } else {
      // As the menu's start request: level, lives and the players chosen.
      Form.SplashScreenTimerTimer();  // no splash: on to the menu
      Form.StartLevel = Options.Level;
      Form.StartLives = Options.Lives;
      Form.MenuTimerTimer();  // the start request creates the game
      if (!Parts.Game) {
        Exit = Fail("the game could not be started");
      } else {
        Parts.Game->Level->ClaimedCells = Options.Claimed;
        std::unique_ptr<TBot> Bot;
        if (Options.Bot) Bot = std::make_unique<TBot>(Options.Seed);
        TGameInvariants Rules;
        std::vector<TInputEvent> BotKeys;
        for (std::int64_t Tick = 0; Tick < Options.Ticks; ++Tick) {
          if (auto It = Events.find(Tick); It != Events.end())
            for (const TScriptEvent& E : It->second)
              Form.Dispatch(E.Down ? TInputEvent::KeyDown(E.Key) : TInputEvent::KeyUp(E.Key));
          if (Bot) {
            BotKeys.clear();
            Bot->Plan(Form, *Parts.Game, BotKeys);
            for (const TInputEvent& E : BotKeys) Form.Dispatch(E);
          }
          Form.Dispatch(TInputEvent::TimerTick(static_cast<int>(Form.GameTimer)));
          std::fputs((TickLine(Tick, *Parts.Game) + "\n").c_str(), stdout);
          if (Bot) {
            if (const std::string Broken = Rules.Check(*Parts.Game, true); !Broken.empty()) {
              std::fflush(stdout);
              Exit = Fail("tick " + std::to_string(Tick) + ": " + Broken);
              break;
            }
          }
          if (!Options.Frames.empty() && Tick % Options.Every == 0 && !WriteFrame(Screen, Options.Frames, Tick)) {
            Exit = Fail("cannot write a frame into \"" + Options.Frames + "\"");
            break;
          }
          if (!Form.Game()) break;  // ended: the window has let it go
        }
        PrintFinal(*Parts.Game);
      }
    }
    Parts.Game.reset();  // before the window's panels go
    Form.FormDestroy();
  }
  SetMessageBoxHandler(nullptr);
  RemoveReplayFolder(Folder);
  return Exit;
}

int main(int Argc, char** Argv) {
  // Whatever escapes becomes a message and an exit code, not an abort: a
  // bad_alloc from a damaged input or a tight memory limit included.
  try {
    return Run(Argc, Argv);
  } catch (const std::bad_alloc&) {
    return Fail(NotEnoughMemoryText);
  } catch (const std::exception& E) {
    return Fail(E.what());
  }
}
