// The menu's demo: the archive's recordings still match the game, the menu
// shows them in turn after its wait, any key ends one, and nothing of the
// player's is touched on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "app/Main.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"
#include "game/GameData.h"
#include "pak/MemoryStream.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "persist/HighScore.h"
#include "platform/FakeDisplay.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKeys.h"
#include "program/Demo.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayPlayer.h"

namespace {

const TPakFileReadable& DemoPak() {
  static const TPakFileReadable Pak(VYRN_GAME_PAK);
  return Pak;
}

TReplay BundledDemo(int Index) {
  const auto Stream = DemoPak().GetStream(DemoEntryName(Index));
  if (!Stream) throw std::runtime_error("no " + DemoEntryName(Index));
  return ParseReplay(Stream->Data(), Stream->Size());
}

std::string FileBytes(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

int DemoLevel(const IDemo* Demo) {
  const auto* D = dynamic_cast<const TDemo*>(Demo);
  const auto* Game = D && D->Form() ? dynamic_cast<const TGameData*>(D->Form()->Game()) : nullptr;
  return Game ? Game->LevelNumber : -1;
}

// Quiet boxes, a fixed clock for the window's own reads, a folder of its own.
struct DemoTest : ::testing::Test {
  void SetUp() override {
    SetMessageBoxHandler(&Box);
    SetTimeOfDaySource([] { return 4711u; });
    Folder = MakeReplayFolder();
    ASSERT_FALSE(Folder.empty());
  }
  void TearDown() override {
    SetTimeOfDaySource(nullptr);
    SetMessageBoxHandler(nullptr);
    RemoveReplayFolder(Folder);
  }
  TRecordingMessageBox Box;
  std::string Folder;
};

}  // namespace

TEST_F(DemoTest, EveryBundledDemoReplaysToItsChecksumsWithHalfAMinuteOfPlayOrMore) {
  const int Count = CountDemos(DemoPak());
  ASSERT_GE(Count, 3);
  std::set<int> Levels;
  for (int I = 1; I <= Count; ++I) {
    SCOPED_TRACE(DemoEntryName(I));
    const TReplay Replay = BundledDemo(I);
    // Each in a fresh folder, as recorded: settings left by the last would
    // change the game.
    const std::string Own = Folder + "/" + std::to_string(I);
    std::filesystem::create_directory(Own);
    THeadlessSession Session(VYRN_GAME_PAK, Own);
    TMainForm& Form = Session.Form();
    TReplayPlayer Player(Replay, Form);
    ASSERT_TRUE(Player.PrepareFolder(Own));
    ASSERT_TRUE(Player.Start()) << Player.Problem();
    int Level = -1;
    std::uint32_t GameTicks = 0;
    for (;;) {
      const TInputEvent* Next = Player.NextEvent();
      const bool GameTick = Next && Next->Kind == TInputKind::Timer && Next->Code == Form.GameTimer;
      if (!Player.Step()) break;
      if (const auto* Game = dynamic_cast<const TGameData*>(Form.Game())) {
        if (Level < 0) Level = Game->LevelNumber;
        if (GameTick) ++GameTicks;
      }
    }
    EXPECT_TRUE(Player.Finished()) << Player.Problem();
    EXPECT_FALSE(Player.OtherBuild());
    EXPECT_GE(Player.ChecksCompared(), 10u);
    // 30 ms ticks: between half a minute and a minute of play.
    EXPECT_GE(GameTicks, 1000u);
    EXPECT_LE(GameTicks, 2000u);
    // The recording ends while its game still runs: a demo never reaches
    // the name entry.
    EXPECT_NE(Form.Game(), nullptr);
    Levels.insert(Level);
    Form.FormDestroy();
  }
  EXPECT_EQ(Levels.size(), static_cast<std::size_t>(Count));  // each on its own level
  EXPECT_TRUE(Box.Shown.empty());
}

TEST_F(DemoTest, TheMenuShowsTheDemosInTurnAfterThirtySecondsAndAKeyEndsEachLeavingThePlayersFilesAlone) {
  {
    TFakeDisplay Display;
    TConfig Config(Display, Folder);
    Config.SetFullScreen(false);
    Config.SetMusicOff(true);
    Config.SetSoundOff(true);
    Config.Extras.SetHintsSeen(true);
    THighScore Table(Folder);
    Table.Insert("Anna", 4321);
  }
  std::map<std::string, std::string> Before;
  for (const auto& E : std::filesystem::directory_iterator(Folder))
    Before[E.path().filename().string()] = FileBytes(E.path());
  ASSERT_EQ(Before.count(TConfig::FileName) + Before.count("extras.dat") + Before.count(THighScore::FileName), 3u);

  const int Count = CountDemos(DemoPak());
  std::vector<int> Levels;
  {
    THeadlessSession Session(VYRN_GAME_PAK, Folder);
    TMainForm& Form = Session.Form();
    const auto Tick = [&Form](TTimerId Timer) { Form.Dispatch(TInputEvent::TimerTick(Timer)); };
    ASSERT_TRUE(Form.FormCreate());
    Form.Dispatch(TInputEvent::KeyDown(Vk::Space));  // past the splash
    Form.Dispatch(TInputEvent::KeyUp(Vk::Space));
    for (int I = 0; I < 100 && !Form.TimerRuns(Form.MenuTimer); ++I) Tick(Form.SplashScreenTimer);
    ASSERT_TRUE(Form.TimerRuns(Form.MenuTimer));

    for (int Round = 0; Round <= Count; ++Round) {
      SCOPED_TRACE(Round);
      // After a demo, the menu's tick as it comes back and the one after the
      // key count already.
      for (int I = Round == 0 ? 1 : 3; I < DemoIdleTicks; ++I) Tick(Form.MenuTimer);
      ASSERT_EQ(Form.Demo(), nullptr);  // 29.97 s
      Tick(Form.MenuTimer);
      ASSERT_NE(Form.Demo(), nullptr);  // 30 s
      EXPECT_TRUE(Form.TimerRuns(Form.DemoTimer));
      EXPECT_FALSE(Form.TimerRuns(Form.MenuTimer));
      const std::uint32_t Seed = RandSeed;
      for (int I = 0; I < 150; ++I) Tick(Form.DemoTimer);
      ASSERT_NE(Form.Demo(), nullptr);
      Levels.push_back(DemoLevel(Form.Demo()));
      // Silent as the player wants it, whatever the recording's settings.
      const auto* Demo = dynamic_cast<const TDemo*>(Form.Demo());
      ASSERT_NE(Demo, nullptr);
      EXPECT_TRUE(Demo->Form()->Config()->MusicOff);
      EXPECT_TRUE(Demo->Form()->Config()->SoundOff);
      // The label over the game, and the window's own generator and clock
      // as they were.
      EXPECT_EQ(Session.Screen.PixelAt(TDemo::LabelX, TDemo::LabelY), RGB(255, 200, 40));
      EXPECT_EQ(RandSeed, Seed);
      EXPECT_EQ(UtcMillisecondsOfDay(), 4711u);

      Form.Dispatch(TInputEvent::KeyDown(Vk::Return));
      EXPECT_EQ(Form.Demo(), nullptr);
      EXPECT_TRUE(Form.TimerRuns(Form.MenuTimer));
      Form.Dispatch(TInputEvent::KeyUp(Vk::Return));
      Tick(Form.MenuTimer);
      // The Return that ended the demo started nothing.
      EXPECT_EQ(Form.Game(), nullptr);
      EXPECT_FALSE(Form.TimerRuns(Form.GameTimer));
    }
    Form.FormDestroy();
  }
  ASSERT_EQ(Levels.size(), static_cast<std::size_t>(Count + 1));
  EXPECT_EQ(Levels.back(), Levels.front());  // round again
  EXPECT_EQ(std::set<int>(Levels.begin(), Levels.end()).size(), static_cast<std::size_t>(Count));

  std::map<std::string, std::string> After;
  for (const auto& E : std::filesystem::directory_iterator(Folder))
    After[E.path().filename().string()] = FileBytes(E.path());
  EXPECT_EQ(After, Before);
  EXPECT_TRUE(Box.Shown.empty());
}

TEST_F(DemoTest, ADemoPlaysOutByItselfAndOneThatPartsFromTheGameEndsQuietly) {
  TScreen Screen;
  {
    const auto Demo = MakeDemo(0, DemoPak(), Screen);
    ASSERT_NE(Demo, nullptr);
    Demo->SetSilence(true, true);  // changes nothing the recording checks
    ASSERT_TRUE(Demo->Start()) << Demo->Problem();
    int Ticks = 0;
    while (Demo->Tick() && Ticks < 5000) ++Ticks;
    EXPECT_GE(Ticks, 1000);
    EXPECT_LT(Ticks, 5000);
    EXPECT_EQ(Demo->Problem(), "");
    EXPECT_FALSE(Demo->Tick());  // over stays over
  }
  // A game that moved since the recording: its checksums no longer match.
  TReplay Changed = BundledDemo(1);
  int Checks = 0;
  for (std::size_t I = 0; I < Changed.Records.size(); ++I) {
    TReplayRecord R = Changed.Records[I];
    if (R.Kind == TReplayRecordKind::Check && ++Checks == 10) {
      R.Checksum ^= 1;
      Changed.Records.Set(I, R);
    }
  }
  TDemo Demo(Changed, DemoPak(), Screen);
  ASSERT_TRUE(Demo.Start());
  int Ticks = 0;
  while (Demo.Tick()) ++Ticks;
  EXPECT_LT(Ticks, 1000);
  EXPECT_NE(Demo.Problem().find("differs"), std::string::npos) << Demo.Problem();
  EXPECT_TRUE(Box.Shown.empty());

  // One that is no replay at all is never made into a demo.
  TReplay Empty;
  TDemo Nothing(Empty, DemoPak(), Screen);
  EXPECT_FALSE(Nothing.Start());
  EXPECT_FALSE(Nothing.Tick());
  EXPECT_TRUE(Box.Shown.empty());
  EXPECT_EQ(UtcMillisecondsOfDay(), 4711u);
}
