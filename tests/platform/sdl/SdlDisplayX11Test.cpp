// Full screen on a real X server of the test's own (Xvfb, 1024 x 768, no
// 800 x 600 mode), with and without a window manager. Skipped where Xvfb
// (or, for the window manager's cases, openbox) is not installed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/X11Probe.h"

// With a window manager on the server, SDL's video leaves one buffer of the
// D-Bus library behind at exit; it is neither ours nor growing.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

bool Installed(const char* Program) {
  return std::system((std::string("command -v ") + Program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t Spawn(const char* Program, const char* Arg, int OutFd) {
  const pid_t P = fork();
  if (P == 0) {
    if (OutFd >= 0) {
      // Xvfb writes the number of the display it took here.
      const std::string Fd = std::to_string(OutFd);
      execlp(Program, Program, "-displayfd", Fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
    } else {
      const int Null = open("/dev/null", O_WRONLY);
      dup2(Null, 1);
      dup2(Null, 2);
      execlp(Program, Program, Arg, static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  return P;
}

void Stop(pid_t& P, int Signal = SIGTERM) {
  if (P <= 0) return;
  kill(P, Signal);
  waitpid(P, nullptr, 0);
  P = -1;
}

class SdlDisplayX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Installed("Xvfb")) GTEST_SKIP() << "needs Xvfb";
    // SDL waits without end for a window to be mapped; a server or window
    // manager that never does ends the test here instead of hanging the run.
    alarm(60);
    int Pipe[2];
    ASSERT_EQ(pipe(Pipe), 0);
    Server = Spawn("Xvfb", nullptr, Pipe[1]);
    close(Pipe[1]);
    std::string Number;
    char C;
    while (read(Pipe[0], &C, 1) == 1 && C != '\n') Number += C;
    close(Pipe[0]);
    ASSERT_FALSE(Number.empty()) << "Xvfb did not start";
    setenv("DISPLAY", (":" + Number).c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    Probe = std::make_unique<TX11Probe>();
    ASSERT_TRUE(Probe->Connected());
  }
  void TearDown() override {
    alarm(0);
    if (Window) SDL_DestroyWindow(Window);
    SDL_Quit();
    Probe.reset();
    Stop(Manager);
    Stop(Server);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
  }

  void OpenWindow() {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    Window = SDL_CreateWindow("test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, SDL_WINDOW_RESIZABLE);
    ASSERT_NE(Window, nullptr) << SDL_GetError();
  }

  SDL_Rect OnServer() {
    SDL_PumpEvents();
    return Probe->Geometry(Window);
  }
  bool ManagerRuns() { return Probe->ManagerAnnounced(); }

  void StartManager() {
    Manager = Spawn("openbox", "--sm-disable", -1);
    // It announces itself before it takes new windows in; a window shown
    // before then is left to itself, and one shown at the wrong moment is
    // never mapped at all, which SDL would wait for. Its list of clients
    // comes once it has taken in those already there.
    for (int I = 0; I < 200 && !(ManagerRuns() && Probe->RootHas("_NET_CLIENT_LIST")); ++I) usleep(50000);
    ASSERT_TRUE(ManagerRuns()) << "openbox did not start";
    ASSERT_TRUE(Probe->ManagerTakesWindows(10000)) << "openbox does not frame new windows";
  }

  static TDisplayMode GameMode() {
    TDisplayMode M;
    M.BitsPerPel = 24;
    M.PelsWidth = 800;
    M.PelsHeight = 600;
    return M;
  }

  pid_t Server = -1;
  pid_t Manager = -1;
  std::unique_ptr<TX11Probe> Probe;
  SDL_Window* Window = nullptr;
};

bool Same(const SDL_Rect& A, const SDL_Rect& B) { return A.x == B.x && A.y == B.y && A.w == B.w && A.h == B.h; }

std::string Text(const SDL_Rect& R) {
  return std::to_string(R.w) + "x" + std::to_string(R.h) + "+" + std::to_string(R.x) + "+" + std::to_string(R.y);
}

}  // namespace

TEST_F(SdlDisplayX11Test, WithoutAWindowManagerTheWindowItselfCoversTheDisplayAndGivesItBackAfter) {
  OpenWindow();
  TSdlDisplay Display(Window);
  EXPECT_EQ(OnServer().w, 800);
  ASSERT_EQ(Display.EnterMode(GameMode()), DispChangeSuccessful);
  const SDL_Rect Whole{0, 0, 1024, 768};
  EXPECT_TRUE(Same(OnServer(), Whole)) << Text(OnServer());
  int W = 0, H = 0;
  SDL_GetWindowSize(Window, &W, &H);
  EXPECT_EQ(W, 1024);
  EXPECT_EQ(H, 768);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
  EXPECT_NE(SDL_GetWindowFlags(Window) & SDL_WINDOW_BORDERLESS, 0u);

  // The game's window style for full screen leaves the covering window be.
  Display.ShowCursor(false);
  Display.SetBorderStyle(TBorderStyle::None);
  Display.SetClientSize(800, 600);
  Display.SetPosition(0, 0);
  EXPECT_TRUE(Same(OnServer(), Whole)) << Text(OnServer());

  // Back to a window: the size and place asked for meanwhile, then the
  // game's window style.
  ASSERT_EQ(Display.RestoreMode(Display.CurrentMode()), DispChangeSuccessful);
  EXPECT_TRUE(Same(OnServer(), (SDL_Rect{0, 0, 800, 600}))) << Text(OnServer());
  Display.SetBorderStyle(TBorderStyle::Fixed);
  Display.SetClientSize(800, 600);
  Display.SetPosition(100, 80);
  EXPECT_TRUE(Same(OnServer(), (SDL_Rect{100, 80, 800, 600}))) << Text(OnServer());
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_BORDERLESS, 0u);

  // And full screen once more.
  ASSERT_EQ(Display.EnterMode(GameMode()), DispChangeSuccessful);
  EXPECT_TRUE(Same(OnServer(), Whole)) << Text(OnServer());
}

TEST_F(SdlDisplayX11Test, AWindowManagerIsAskedForFullScreen) {
  if (!Installed("openbox")) GTEST_SKIP() << "needs openbox";
  StartManager();
  OpenWindow();
  TSdlDisplay Display(Window);
  ASSERT_EQ(Display.EnterMode(GameMode()), DispChangeSuccessful);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
  const SDL_Rect Whole{0, 0, 1024, 768};
  for (int I = 0; I < 100 && !Same(OnServer(), Whole); ++I) usleep(20000);
  EXPECT_TRUE(Same(OnServer(), Whole)) << Text(OnServer());
  ASSERT_EQ(Display.RestoreMode(Display.CurrentMode()), DispChangeSuccessful);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(SdlDisplayX11Test, AWindowManagerThatHasEndedIsNotWaitedFor) {
  if (!Installed("openbox")) GTEST_SKIP() << "needs openbox";
  StartManager();
  // Killed, it cannot take its properties off the root window.
  Stop(Manager, SIGKILL);
  ASSERT_TRUE(ManagerRuns());
  OpenWindow();
  TSdlDisplay Display(Window);
  ASSERT_EQ(Display.EnterMode(GameMode()), DispChangeSuccessful);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
  EXPECT_TRUE(Same(OnServer(), (SDL_Rect{0, 0, 1024, 768}))) << Text(OnServer());
}
