// The display over SDL, run under SDL's dummy video driver (set by the test
// runner): a 1024 x 768 desktop without an 800 x 600 mode.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "persist/TestFolder.h"
#include "persist/Config.h"
#include "platform/sdl/SdlDisplay.h"

namespace {
class SdlDisplayTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    Window = SDL_CreateWindow("test", 5, 5, 640, 480, SDL_WINDOW_HIDDEN);
    ASSERT_NE(Window, nullptr) << SDL_GetError();
    SDL_GetDesktopDisplayMode(0, &Desktop);
  }
  void TearDown() override {
    if (Window) SDL_DestroyWindow(Window);
    SDL_Quit();
  }
  bool Lists800x600() const {
    for (int I = 0; I < SDL_GetNumDisplayModes(0); ++I) {
      SDL_DisplayMode Mode{};
      SDL_GetDisplayMode(0, I, &Mode);
      if (Mode.w == 800 && Mode.h == 600) return true;
    }
    return false;
  }

  SDL_Window* Window = nullptr;
  SDL_DisplayMode Desktop{};
};
}  // namespace

TEST_F(SdlDisplayTest, DesktopModeAndModeTests) {
  TSdlDisplay Display(Window);
  const TDisplayMode Current = Display.CurrentMode();
  EXPECT_EQ(Current.PelsWidth, static_cast<std::uint32_t>(Desktop.w));
  EXPECT_EQ(Current.PelsHeight, static_cast<std::uint32_t>(Desktop.h));
  EXPECT_EQ(Current.BitsPerPel, SDL_BITSPERPIXEL(Desktop.format));
  EXPECT_EQ(Current.DisplayFrequency, static_cast<std::uint32_t>(Desktop.refresh_rate));
  EXPECT_EQ(Display.DesktopSize(), (TSize{Desktop.w, Desktop.h}));

  EXPECT_EQ(Display.TestMode(Current), DispChangeSuccessful);
  TDisplayMode Game = Current;
  Game.PelsWidth = 800;
  Game.PelsHeight = 600;
  // Listed or not: a size the desktop holds can be shown scaled.
  EXPECT_EQ(Display.TestMode(Game), DispChangeSuccessful);
  TDisplayMode Huge = Current;
  Huge.PelsWidth = Current.PelsWidth + 1;
  EXPECT_EQ(Display.TestMode(Huge), DispChangeBadMode);
  EXPECT_EQ(Display.EnterMode(Huge), DispChangeBadMode);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(SdlDisplayTest, EnteringAListedModeGoesFullScreenAndBack) {
  TSdlDisplay Display(Window);
  const TDisplayMode Current = Display.CurrentMode();
  ASSERT_EQ(Display.EnterMode(Current), DispChangeSuccessful) << SDL_GetError();
  EXPECT_NE(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
  ASSERT_EQ(Display.RestoreMode(Current), DispChangeSuccessful);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(SdlDisplayTest, WithoutAnExact800x600ModeFullScreenTakesTheDesktopSize) {
  if (Lists800x600()) GTEST_SKIP() << "this display has an 800 x 600 mode";
  TSdlDisplay Display(Window);
  TDisplayMode Game = Display.CurrentMode();
  Game.PelsWidth = 800;
  Game.PelsHeight = 600;
  ASSERT_EQ(Display.EnterMode(Game), DispChangeSuccessful) << SDL_GetError();
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP, static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP));
  // The display itself was not switched.
  SDL_DisplayMode Now{};
  SDL_GetCurrentDisplayMode(0, &Now);
  EXPECT_EQ(Now.w, Desktop.w);
  EXPECT_EQ(Now.h, Desktop.h);
  ASSERT_EQ(Display.RestoreMode(Display.CurrentMode()), DispChangeSuccessful);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(SdlDisplayTest, WindowStyleCalls) {
  TSdlDisplay Display(Window);
  // The dummy driver keeps no border, so only a real one can show the change.
  const bool RealDriver = std::string(SDL_GetCurrentVideoDriver()) != "dummy";
  Display.SetBorderStyle(TBorderStyle::None);
  if (RealDriver) {
    EXPECT_NE(SDL_GetWindowFlags(Window) & SDL_WINDOW_BORDERLESS, 0u);
  }
  Display.SetBorderStyle(TBorderStyle::Fixed);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_BORDERLESS, 0u);
  if (RealDriver) {
    EXPECT_NE(SDL_GetWindowFlags(Window) & SDL_WINDOW_RESIZABLE, 0u);  // the picture scales with it
  }
  Display.SetClientSize(800, 600);
  int Width = 0, Height = 0;
  SDL_GetWindowSize(Window, &Width, &Height);
  EXPECT_EQ(Width, 800);
  EXPECT_EQ(Height, 600);
  const TSize Outer = Display.OuterSize();
  EXPECT_GE(Outer.Width, 800);
  EXPECT_GE(Outer.Height, 600);
  Display.ShowCursor(false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  Display.ShowCursor(true);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlDisplayTest, FirstStartInAnEmptyFolderOnADisplayWithout800x600) {
  if (Lists800x600()) GTEST_SKIP() << "this display has an 800 x 600 mode";
  TTestFolder Folder;
  TMessageCapture Boxes;
  TSdlDisplay Display(Window);
  TConfig Config(Display, Folder.Path);
  bool Valid = false;
  // Full screen works, at the desktop's size, so the default stays on.
  EXPECT_EQ(Folder.Unscrambled("config.dat", &Valid), "0,0,1,38,40,37,39,32,87,83,65,68,17,");
  EXPECT_TRUE(Valid);
  EXPECT_TRUE(Boxes.Texts().empty());
  EXPECT_TRUE(Config.FullScreenPossible);
  EXPECT_NE(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);

  // Back to a window: 800 x 600, centred.
  Config.SetFullScreen(false);
  EXPECT_EQ(SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN, 0u);
  int Width = 0, Height = 0, Left = 0, Top = 0;
  SDL_GetWindowSize(Window, &Width, &Height);
  EXPECT_EQ(Width, 800);
  EXPECT_EQ(Height, 600);
  // Centred; with borders the driver cannot report, the client area is the window.
  const TSize Outer = Display.OuterSize();
  SDL_GetWindowPosition(Window, &Left, &Top);
  int BorderTop = 0, BorderLeft = 0, BorderBottom = 0, BorderRight = 0;
  if (SDL_GetWindowBordersSize(Window, &BorderTop, &BorderLeft, &BorderBottom, &BorderRight) != 0) BorderTop = BorderLeft = 0;
  EXPECT_EQ(Left - BorderLeft, Desktop.w / 2 - Outer.Width / 2);
  EXPECT_EQ(Top - BorderTop, Desktop.h / 2 - Outer.Height / 2);
}

TEST_F(SdlDisplayTest, AnUnchangedBorderNeverMovesTheWindowAgain) {
  TTestFolder Folder;
  Folder.WriteScrambled("config.dat", "0,0,0,38,40,37,39,32,87,83,65,68,17,");
  TSdlDisplay Display(Window);
  TConfig Config(Display, Folder.Path);
  ASSERT_FALSE(Config.FullScreen);
  int Left = 0, Top = 0;
  SDL_GetWindowPosition(Window, &Left, &Top);
  // The player moves the window; window events that bring no new border
  // (a bare X server, this driver) must leave it where it is.
  SDL_SetWindowPosition(Window, Left + 7, Top + 5);
  SDL_GetWindowPosition(Window, &Left, &Top);
  for (int I = 0; I < 3; ++I) Display.CheckFrame();
  int AfterLeft = 0, AfterTop = 0;
  SDL_GetWindowPosition(Window, &AfterLeft, &AfterTop);
  EXPECT_EQ(AfterLeft, Left);
  EXPECT_EQ(AfterTop, Top);
}
