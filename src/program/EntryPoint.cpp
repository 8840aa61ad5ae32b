// The program's entry: the SDL platform around the main window.
#include <SDL.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "app/GamepadKeys.h"
#include "common/OutOfMemory.h"
#include "common/TimeOfDay.h"
#include "app/Main.h"
#include "program/ProgramParts.h"
#include "program/ReplayFolder.h"
#include "program/ReplayFormat.h"
#include "program/ReplayRecorder.h"
#include "program/ReplayWindow.h"
#include "program/RunClaim.h"
#include "persist/DataPaths.h"
#include "persist/FileStore.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Screen.h"
#include "platform/sdl/CurlHttp.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlMessageBox.h"
#include "platform/sdl/SdlWindow.h"

namespace {
constexpr long SubmitConnectTimeoutMs = 2000;
constexpr long SubmitTotalTimeoutMs = 3000;
const std::string NotEnoughMemoryMessage = std::string(NotEnoughMemoryText) +
                                           ".\rClose other programs and start the game again; a damaged game.pak "
                                           "can cause this too.";
constexpr const char* LastGameFile = "last-game.vrp";

// The measuring script notes the wall time before it starts the game; on a
// busy machine the process's own CPU time tells more than the wall clock.
double WallMs() { return MeasuringWallMs(); }
double CpuMs() { return ProcessCpuMs(); }

// --timing: how soon the first picture and the menu are seen, on stderr.
// Sits between the loop and the window; the game never knows.
class TStartTiming : public IInputSink, public IPresenter {
public:
  TStartTiming(IInputSink& Sink, IPresenter& Presenter, const TMainForm& Form, double StartedMs)
      : FSink(Sink), FPresenter(Presenter), FForm(Form), FStartedMs(StartedMs) {}

  void Dispatch(const TInputEvent& Event) override {
    if (Event.Kind == TInputKind::KeyDown && FForm.Splash() && FKeyMs < 0) {
      FKeyMs = WallMs();
      FKeyCpuMs = CpuMs();
    }
    FSink.Dispatch(Event);
  }

  void Present(const TScreen& Screen) override {
    FPresenter.Present(Screen);
    const double Now = WallMs();
    if (!FFirstSeen) {
      FFirstSeen = true;
      std::fprintf(stderr, "timing: first frame at %.3f ms wall, %.1f ms after main, %.1f ms of CPU\n", Now,
                   Now - FStartedMs, CpuMs());
    }
    if (!FPictureSeen) {
      // The first frame of the splash: the first one not all black.
      const auto& Pixels = Screen.Pixels();
      FPictureSeen = std::any_of(Pixels.begin(), Pixels.end(), [](std::uint8_t B) { return B != 0; });
      if (FPictureSeen)
        std::fprintf(stderr, "timing: first picture at %.3f ms wall, %.1f ms after main, %.1f ms of CPU\n", Now,
                     Now - FStartedMs, CpuMs());
    }
    if (FKeyMs >= 0 && !FMenuSeen && FForm.Menu() && FForm.TimerRuns(FForm.MenuTimer)) {
      FMenuSeen = true;
      std::fprintf(stderr, "timing: menu %.1f ms after the key, %.1f ms of CPU\n", Now - FKeyMs, CpuMs() - FKeyCpuMs);
    }
  }

private:
  IInputSink& FSink;
  IPresenter& FPresenter;
  const TMainForm& FForm;
  double FStartedMs;
  double FKeyMs = -1;
  double FKeyCpuMs = 0;
  bool FFirstSeen = false;
  bool FPictureSeen = false;
  bool FMenuSeen = false;
};
}  // namespace

int main(int Argc, char** Argv) {
  const double StartedMs = WallMs();
  // Without options the game runs as it always has; --record FILE writes the
  // session down, --replay FILE plays one back (Escape stops it); --timing
  // tells on stderr when the first picture and the menu were shown.
  std::string RecordFile, ReplayFile;
  bool Timing = false;
  for (int I = 1; I < Argc; ++I) {
    const std::string A = Argv[I];
    if ((A == "--record" || A == "--replay") && I + 1 < Argc) (A == "--record" ? RecordFile : ReplayFile) = Argv[++I];
    else if (A == "--timing") Timing = true;
    else {
      std::fprintf(stderr, "usage: vyrn [--record FILE | --replay FILE] [--timing]\n");
      return 2;
    }
  }
  if (!RecordFile.empty() && !ReplayFile.empty()) {
    std::fprintf(stderr, "vyrn: --record and --replay do not go together\n");
    return 2;
  }

#if defined(__GLIBC__)
  // Large buffers (decoded music, level pictures) always get pages of their
  // own that go back to the system when freed. Left to itself the allocator
  // raises this bound to the size of the largest block freed so far: after
  // the menu's music is freed, the game's pictures would land in the heap,
  // which never shrinks past the highest one in use.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
  // Our own SIGTERM handling ends the game through its close path; SDL must
  // not install its handlers when the sound starts, before the window does.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  TSdlMessageBox Box;
  SetMessageBoxHandler(&Box);
  int ExitCode = 0;
  try {
    // The archive where it is found, the player's files beside it or in the
    // player's data folder (an installed game).
    const TDataPaths Paths = FindDataPaths(VYRN_INSTALL_DATADIR, [](const char* Name) { return std::getenv(Name); });
    // Sound first: the settings read the output volume when they start.
    TSdlAudio::TOptions SoundOptions;
    if (Paths.UserFolder != ".") SoundOptions.VolumeFile = JoinPath(Paths.UserFolder, SoundOptions.VolumeFile);
    TSdlAudio Sound(SoundOptions);
    SetAudioHandler(&Sound);
    SetWaveOutHandler(&Sound);
    // The high-score submission blocks the window while it waits: give up
    // after a few seconds rather than the client's defaults.
    TCurlHttpClient Http(SubmitConnectTimeoutMs, SubmitTotalTimeoutMs);
    SetHttpClient(&Http);
    TSdlWindow Window(TMainForm::Caption);
    Box.SetParent(Window.Handle());
    TSdlWindow::InstallSignalHandlers();
    TSdlDisplay Display(Window.Handle());
    Window.WindowEventSeen = [&Display] { Display.CheckFrame(); };
    TSteadyClock Clock;
    TTimerScheduler Timers(Clock);
    TScreen Screen;
    // Lets a callback show its picture before it blocks (the submission) or
    // while it works (the game's loading bar).
    Screen.Presenter = [&Window](const TScreen& Shown) { Window.Present(Shown); };
    std::unique_ptr<TReplay> Replay;
    std::string ReplayFolder;
    if (!ReplayFile.empty()) {
      Replay = std::make_unique<TReplay>(LoadReplay(ReplayFile));  // a damaged file throws: message, exit 1
      ReplayFolder = MakeReplayFolder();
      if (ReplayFolder.empty()) throw TReplayError("cannot create a folder for the replay's settings");
      // A replayed score is never sent anywhere.
      SetHttpClient(nullptr);
    }
    // The replay's own settings and table, in a folder of its own: playing
    // one back never touches the player's files.
    TProgramParts Parts(Display, Replay ? ReplayFolder : Paths.UserFolder, Paths.ArchiveFolder);
    // A replay plays as recorded, whatever the player has learnt since.
    Parts.SetOfferHints(!Replay);
    if (Replay) {
      TMainForm Form(Parts, Window, Screen, Timers);
      if (PlayReplayInWindow(*Replay, ReplayFolder, Form, Timers, Window, Window, Screen,
                             [&Form] { PollAudio(Form.Audio()); }) == TReplayEnd::Failed)
        ExitCode = 1;
      Form.FormDestroy();
    } else {
      TMainForm Form(Parts, Window, Screen, Timers);
      // The focus check rides along with the game's or the menu's tick
      // rather than wake the program twenty more times a second.
      Timers.SetSlack(Form.FocusMonitor, 30);
      std::unique_ptr<TReplayRecorder> Recorder;
      if (!RecordFile.empty()) {
        Recorder = std::make_unique<TReplayRecorder>(RecordFile, Form, Paths.UserFolder);
        if (Recorder->Failed()) throw TReplayError("cannot write the recording \"" + RecordFile + "\"");
      } else {
        // Every game is recorded from its start (the latest one stays in
        // last-game.vrp): the run the high-score server plays back to
        // confirm a submitted score. A disk that refuses the file only costs
        // the file.
        Recorder = std::make_unique<TReplayRecorder>(JoinPath(Paths.UserFolder, LastGameFile), Form, Paths.UserFolder,
                                                     nullptr, TReplayRecorder::TFrom::EachGame);
        SetHighScoreRunSource(LatestRunSource(*Recorder, Form, Paths.UserFolder));
      }
      try {
        Window.EnableGamepads([&Form](int Player, TPadAction Action) { return GamepadKey(Form, Player, Action); });
      } catch (const std::exception&) {
        // No controller support on this system: the keyboard still plays.
      }
      IInputSink& Sink = Recorder ? static_cast<IInputSink&>(*Recorder) : Form;
      TStartTiming StartTiming(Sink, Window, Form, StartedMs);
      if (Timing) Screen.Presenter = [&StartTiming](const TScreen& Shown) { StartTiming.Present(Shown); };
      if (Form.FormCreate()) {
        if (Recorder) Recorder->Started();
        Window.Present(Screen);
        TEventLoop Loop(Timers, Window, Timing ? static_cast<IInputSink&>(StartTiming) : Sink,
                        Timing ? static_cast<IPresenter&>(StartTiming) : Window, Screen);
        Loop.SetTurnHook([&Form] { PollAudio(Form.Audio()); });
        Loop.Run();
      } else {
        ExitCode = 1;
      }
      SetHighScoreRunSource(nullptr);
      if (!RecordFile.empty() && Recorder && !Recorder->Finish()) {
        ShowMessageBox("The recording \"" + RecordFile + "\" could not be written completely.");
        ExitCode = 1;
      }
      Form.FormDestroy();
    }
    RemoveReplayFolder(ReplayFolder);
    Box.SetParent(nullptr);
  } catch (const std::bad_alloc&) {
    // Its own words: a bare "std::bad_alloc" tells the player nothing.
    Box.SetParent(nullptr);
    ShowMessageBox(NotEnoughMemoryMessage);
    ExitCode = 1;
  } catch (const std::exception& E) {
    Box.SetParent(nullptr);  // the window is gone
    ShowMessageBox(E.what());
    ExitCode = 1;
  }
  SetHttpClient(nullptr);
  SetMessageBoxHandler(nullptr);
  SDL_Quit();
  return ExitCode;
}
