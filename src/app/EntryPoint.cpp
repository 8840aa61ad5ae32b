// The program's entry: the SDL platform around the main window.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/GamepadKeys.h"
#include "app/Main.h"
#include "app/ProgramParts.h"
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
}  // namespace

int main(int, char**) {
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
    TSteadyClock Clock;
    TTimerScheduler Timers(Clock);
    TScreen Screen;
    // Lets a callback show its picture before it blocks (the submission).
    Screen.Presenter = [&Window](const TScreen& Shown) { Window.Present(Shown); };
    TProgramParts Parts(Display, Paths.UserFolder, Paths.ArchiveFolder);
    Parts.SetPresentHook([&Window](const TScreen& Shown) { Window.Present(Shown); });
    {
      TMainForm Form(Parts, Window, Screen, Timers);
      try {
        Window.EnableGamepads([&Form](int Player, TPadAction Action) { return GamepadKey(Form, Player, Action); });
      } catch (const std::exception&) {
        // No controller support on this system: the keyboard still plays.
      }
      if (Form.FormCreate()) {
        Window.Present(Screen);
        TEventLoop Loop(Timers, Window, Form, Window, Screen);
        Loop.SetTurnHook([&Form] { PollAudio(Form.Audio()); });
        Loop.Run();
      } else {
        ExitCode = 1;
      }
      Form.FormDestroy();
    }
    Box.SetParent(nullptr);
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
