// The main window over the real settings and archive reader, with the
// display and window in memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "app/Main.h"
#include "game/GameData.h"
#include "persist/Config.h"
#include "program/ProgramParts.h"
#include "audio/TestSounds.h"
#include "pak/PakWriter.h"
#include "gfx/FastImaging.h"
#include "platform/Audio.h"
#include "platform/FakeDisplay.h"
#include "platform/MessageBox.h"
#include "platform/Panel.h"
#include "platform/HeadlessWindow.h"
#include "platform/Screen.h"

namespace fs = std::filesystem;

namespace {
// Runs each test in a fresh folder of its own, the way the game runs in its
// installation folder.
struct ProgramParts : ::testing::Test, THeadlessWindow {
  fs::path Folder;
  fs::path Previous;
  TRecordingMessageBox Box;
  TFakeDisplay Display;

  void SetUp() override {
    Previous = fs::current_path();
    Folder = fs::temp_directory_path() /
             ("vyrn-app-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    fs::current_path(Folder);
    SetMessageBoxHandler(&Box);
  }
  void TearDown() override {
    SetMessageBoxHandler(nullptr);
    fs::current_path(Previous);
    fs::remove_all(Folder);
  }

  // Runs the splash to its end; the menu follows.
  static void SkipSplash(TMainForm& Form) {
    for (int I = 0; I < 200 && Form.Splash(); ++I) Form.Dispatch(TInputEvent::TimerTick(Form.SplashScreenTimer));
  }
  // A key held for one tick of Timer.
  static void Press(TMainForm& Form, std::uint16_t Code, TTimerId Timer) {
    Form.Dispatch(TInputEvent::KeyDown(Code));
    Form.Dispatch(TInputEvent::TimerTick(Timer));
    Form.Dispatch(TInputEvent::KeyUp(Code));
  }
};
}  // namespace

TEST_F(ProgramParts, StartsOnAGoodArchiveAndDrivesTheDisplayThroughTheSettings) {
  WritePakFile("game.pak", {{"a.png", {1, 2, 3}}});
  TProgramParts Parts(Display);
  TMainForm Form(Parts, Window, Screen, Timers);
  ASSERT_TRUE(Form.FormCreate());
  EXPECT_TRUE(Box.Shown.empty());
  EXPECT_TRUE(fs::exists(Folder / "config.dat"));
  // Fresh settings on a display that takes 800 x 600: full screen.
  ASSERT_NE(Form.Config(), nullptr);
  EXPECT_TRUE(Form.Config()->FullScreen);
  EXPECT_TRUE(Display.InGameMode);
  EXPECT_EQ(Form.Config()->Keys[4], 38);
  EXPECT_EQ(Form.Config()->Keys[13], 17);
  // The splash (black, since the archive holds no frames) runs until a key
  // ends it; the next splash tick hands over to the menu.
  ASSERT_NE(Form.Splash(), nullptr);
  Form.Dispatch(TInputEvent::TimerTick(Form.SplashScreenTimer));
  EXPECT_TRUE(Form.TimerRuns(Form.SplashScreenTimer));
  Form.Dispatch(TInputEvent::KeyDown(32));
  Form.Dispatch(TInputEvent::KeyUp(32));
  Form.Dispatch(TInputEvent::TimerTick(Form.SplashScreenTimer));
  EXPECT_EQ(Form.Splash(), nullptr);
  EXPECT_TRUE(Form.TimerRuns(Form.MenuTimer));
  ASSERT_NE(Form.Menu(), nullptr);
  Form.Dispatch(TInputEvent::KeyDown(38));
  Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));

  Form.Dispatch(TInputEvent::FocusLost());
  Form.Dispatch(TInputEvent::TimerTick(Form.FocusMonitor));
  EXPECT_FALSE(Display.InGameMode);
  Form.Dispatch(TInputEvent::FocusGained());
  Form.Dispatch(TInputEvent::TimerTick(Form.FocusMonitor));
  EXPECT_TRUE(Display.InGameMode);

  // The music engine is there and polled; with the window gone it is not.
  ASSERT_NE(Form.Audio(), nullptr);
  EXPECT_EQ(Form.Audio()->PositionMs(), 0);  // the archive holds no music
  PollAudio(Form.Audio());

  Form.Dispatch(TInputEvent::CloseRequest());
  EXPECT_FALSE(Display.InGameMode);
  Form.FormDestroy();
  EXPECT_EQ(Form.Audio(), nullptr);  // the loop's poll then reaches no engine
  PollAudio(Form.Audio());
}

TEST_F(ProgramParts, TheMenuRunsThroughTheWindowAndItsQuitEntryClosesIt) {
  WritePakFile("game.pak", {{"a.png", {1, 2, 3}}});
  TProgramParts Parts(Display);
  TMainForm Form(Parts, Window, Screen, Timers);
  ASSERT_TRUE(Form.FormCreate());
  // Left alone, the splash ends by itself after its 141 ticks.
  int SplashTicks = 0;
  while (Form.Splash() && SplashTicks < 200) {
    Form.Dispatch(TInputEvent::TimerTick(Form.SplashScreenTimer));
    ++SplashTicks;
  }
  EXPECT_EQ(SplashTicks, 142);
  ASSERT_NE(Form.Menu(), nullptr);
  auto Tick = [&Form](int N) {
    for (int I = 0; I < N; ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
  };
  Tick(40);
  EXPECT_FALSE(Window.CloseRequested);
  // End, then Enter on the quit entry.
  Form.Dispatch(TInputEvent::KeyDown(35));
  Tick(1);
  Form.Dispatch(TInputEvent::KeyUp(35));
  Form.Dispatch(TInputEvent::KeyDown(13));
  Tick(1);
  Form.Dispatch(TInputEvent::KeyUp(13));
  Tick(60);
  EXPECT_TRUE(Window.CloseRequested);
  Form.Dispatch(TInputEvent::CloseRequest());
  Form.FormDestroy();
}

// The one-player entry starts a game (an archive without pictures plays
// blank); quitting it from the pause menu leads back to the menu.
TEST_F(ProgramParts, OnePlayerStartsAGameAndQuittingItReturnsToTheMenu) {
  WritePakFile("game.pak", {{"a.png", {1, 2, 3}}});
  TProgramParts Parts(Display);
  TMainForm Form(Parts, Window, Screen, Timers);
  ASSERT_TRUE(Form.FormCreate());
  SkipSplash(Form);
  ASSERT_NE(Form.Menu(), nullptr);
  for (int I = 0; I < 40; ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
  Press(Form, 13, Form.MenuTimer);
  for (int I = 0; I < 100 && !Form.Game(); ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
  ASSERT_NE(Form.Game(), nullptr);
  EXPECT_TRUE(Form.TimerRuns(Form.GameTimer));
  EXPECT_FALSE(Form.TimerRuns(Form.MenuTimer));
  for (int I = 0; I < 150; ++I) Form.Dispatch(TInputEvent::TimerTick(Form.GameTimer));  // past the title
  Press(Form, 27, Form.GameTimer);
  ASSERT_TRUE(Form.Game()->Paused());
  Press(Form, 'Y', Form.GameTimer);
  int Ticks = 0;
  while (Form.Game() && Ticks < 300) {
    Form.Dispatch(TInputEvent::TimerTick(Form.GameTimer));
    ++Ticks;
  }
  EXPECT_EQ(Form.Game(), nullptr);
  EXPECT_EQ(Ticks, 145);  // 146 ticks after the answer, one of them above
  EXPECT_TRUE(Form.TimerRuns(Form.MenuTimer));
  Form.Dispatch(TInputEvent::CloseRequest());
  Form.FormDestroy();
}

// Only a game made for the player shows the first games' hints; the parts
// as tools, tests and replays make them leave the hints out.
TEST_F(ProgramParts, HintsAreOfferedOnlyWhenAskedFor) {
  WritePakFile("game.pak", {{"a.png", {1, 2, 3}}});
  for (const bool Offer : {false, true}) {
    TProgramParts Parts(Display);
    Parts.SetOfferHints(Offer);
    TMainForm Form(Parts, Window, Screen, Timers);
    ASSERT_TRUE(Form.FormCreate());
    ASSERT_FALSE(Form.Config()->Extras.HintsSeen);
    SkipSplash(Form);
    for (int I = 0; I < 40; ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
    Press(Form, 13, Form.MenuTimer);
    for (int I = 0; I < 100 && !Form.Game(); ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
    const auto* Game = dynamic_cast<const TGameData*>(Form.Game());
    ASSERT_NE(Game, nullptr);
    EXPECT_EQ(Game->Hints() != nullptr, Offer) << Offer;
    Form.Dispatch(TInputEvent::CloseRequest());
    Form.FormDestroy();
  }
}

TEST_F(ProgramParts, AMissingOrDamagedArchiveNamesTheFileAndTheFolder) {
  {
    TProgramParts Parts(Display);
    TMainForm Form(Parts, Window, Screen, Timers);
    EXPECT_FALSE(Form.FormCreate());
  }
  // A file that is no archive: its directory offset points past the end.
  {
    std::FILE* F = std::fopen("game.pak", "wb");
    ASSERT_NE(F, nullptr);
    std::fputs("\xff\xff\xff\x7fjunk", F);
    std::fclose(F);
    TProgramParts Parts(Display);
    TMainForm Form(Parts, Window, Screen, Timers);
    EXPECT_FALSE(Form.FormCreate());
  }
  ASSERT_EQ(Box.Shown.size(), 2u);
  for (const auto& [Caption, Text] : Box.Shown) {
    EXPECT_EQ(Caption, "Vyrn Rekindled");
    EXPECT_NE(Text.find("\"game.pak\""), std::string::npos) << Text;
    EXPECT_NE(Text.find(fs::current_path().string()), std::string::npos) << Text;
  }
  EXPECT_NE(Box.Shown[0].second, Box.Shown[1].second);  // each says what was wrong
  // The settings were never touched.
  EXPECT_FALSE(fs::exists(Folder / "config.dat"));
  EXPECT_TRUE(Display.Log.empty());
}

// Missing pictures are left out by the game; a picture that cannot be
// decoded where an actor needs one stops the start with a message, and the
// window stays in the menu instead of crashing.
TEST_F(ProgramParts, GameOnADamagedArchiveIsRefusedWithAMessage) {
  for (bool Damaged : {false, true}) {
    std::vector<TPakEntry> Entries = {{"chars.png", {9, 9, 9}}};  // the font: blank text, no stop
    if (Damaged) Entries.push_back({"player01_00.png", {1, 2, 3}});
    WritePakFile("game.pak", Entries);
    Box.Shown.clear();
    TProgramParts Parts(Display);
    auto Config = Parts.CreateConfig();
    auto Audio = Parts.CreateAudio();
    auto Pak = Parts.CreatePak("game.pak");
    TFastImageBuffer Menu(nullptr, 800, 600);
    TPanel Bottom(Screen, 0, 550, 600, 50), Right(Screen, 600, 0, 200, 600);
    auto Game = Parts.CreateGame(600, 1, 2, *Pak, *Audio, *Config, false, Menu, Bottom, Right, Screen, 550);
    EXPECT_EQ(Game == nullptr, Damaged);
    ASSERT_FALSE(Box.Shown.empty());  // empty image sets, or the refusal
    if (Damaged) {
      EXPECT_NE(Box.Shown.back().second.find("could not be started"), std::string::npos);
    }
    if (Game) {
      for (int I = 0; I < 200; ++I) Game->Update();
      EXPECT_FALSE(Game->Ended());
    }
  }
}

namespace {
// A mono 16-bit wave at 44,100 Hz of Frames samples, as the headless audio
// reads it.
TBytes Wave(std::uint32_t Frames) {
  std::vector<std::int16_t> Samples(Frames);
  for (std::uint32_t I = 0; I < Frames; ++I) Samples[I] = I % 2 ? 3000 : -4096;
  TWaveShape Shape;
  Shape.SamplesPerSec = 44100;
  return BuildWave(Shape, Pcm16(Samples));
}
}  // namespace

TEST_F(ProgramParts, TheMenusMusicIsFreedWhileAGameRunsAndPlaysAgainAfter) {
  SetAudioHandler(nullptr);  // the headless audio, fresh for this test
  IAudio& Audio = CurrentAudio();
  Audio.FreeMusic();
  const std::int64_t Frames = 44100 * 3;
  WritePakFile("game.pak", {{"vyrn_menu.ogg", Wave(static_cast<std::uint32_t>(Frames))}});
  TProgramParts Parts(Display);
  TMainForm Form(Parts, Window, Screen, Timers);
  ASSERT_TRUE(Form.FormCreate());
  SkipSplash(Form);
  ASSERT_NE(Form.Menu(), nullptr);
  for (int I = 0; I < 40; ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
  EXPECT_EQ(Audio.MusicLengthFrames(), Frames);
  Press(Form, 13, Form.MenuTimer);
  for (int I = 0; I < 100 && !Form.Game(); ++I) Form.Dispatch(TInputEvent::TimerTick(Form.MenuTimer));
  ASSERT_NE(Form.Game(), nullptr);
  for (int I = 0; I < 150; ++I) {  // past the title, where Escape counts
    ASSERT_EQ(Audio.MusicLengthFrames(), -1) << "tick " << I;
    Form.Dispatch(TInputEvent::TimerTick(Form.GameTimer));
  }
  EXPECT_EQ(Form.Audio()->LengthMs(), 0);
  Press(Form, 27, Form.GameTimer);
  Press(Form, 'Y', Form.GameTimer);
  for (int I = 0; I < 300 && Form.Game(); ++I) Form.Dispatch(TInputEvent::TimerTick(Form.GameTimer));
  ASSERT_EQ(Form.Game(), nullptr);
  EXPECT_EQ(Audio.MusicLengthFrames(), Frames);
  EXPECT_EQ(Form.Audio()->LengthMs(), 3000);
  Form.Dispatch(TInputEvent::CloseRequest());
  Form.FormDestroy();
}
