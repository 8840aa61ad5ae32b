#include "persist/Config.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "common/CommonTypes.h"
#include "common/Scramble.h"
#include "platform/FakeDisplay.h"
#include "platform/WaveOut.h"
#include "TestFolder.h"

namespace {
const std::string DefaultKeysText = "38,40,37,39,32,87,83,65,68,17,";
const std::string DefaultFile = "0,0,1," + DefaultKeysText;
const std::string TestFailed =
    "Your screen has been tested for the game-resolution (800x600) and failed.\rGame will only run in windowed mode.";

class ConfigTest : public ::testing::Test {
protected:
  ConfigTest() { RandSeed = 20240607; }
  std::string Saved(bool* Valid = nullptr) const { return Folder.Unscrambled("config.dat", Valid); }

  TTestFolder Folder;
  TMessageCapture Boxes;
  TFakeDisplay Display;
};

// The display tests pass for the desktop and for 800 x 600 only at these rates.
void AcceptGameRates(TFakeDisplay& Display, std::vector<std::uint32_t> Rates) { Display.AcceptOnly(std::move(Rates)); }
}  // namespace

// ---- Loading and rebuilding config.dat ----

TEST_F(ConfigTest, EmptyFolderWritesTheDefaultsSilently) {
  TConfig Config(Display, Folder.Path);
  bool Valid = false;
  EXPECT_EQ(Saved(&Valid), DefaultFile);
  EXPECT_TRUE(Valid);
  EXPECT_TRUE(Boxes.Texts().empty());
  EXPECT_FALSE(Config.MusicOff);
  EXPECT_FALSE(Config.SoundOff);
  EXPECT_TRUE(Config.FullScreen);
  EXPECT_EQ(Config.Keys, TConfig::DefaultKeys);
  // Rebuilding the defaults went full screen through the display.
  EXPECT_TRUE(Display.InGameMode);
  EXPECT_EQ(Folder.Names(), std::vector<std::string>{"config.dat"});  // no temporary left behind
}

TEST_F(ConfigTest, EmptyFolderOnADisplayWithout800x600WritesFlagThreeAsZero) {
  AcceptGameRates(Display, {});
  TConfig Config(Display, Folder.Path);
  EXPECT_EQ(Saved(), "0,0,0," + DefaultKeysText);
  EXPECT_FALSE(Config.FullScreen);
  EXPECT_FALSE(Config.FullScreenPossible);
  // The settings never asked for full screen from a file, so no message.
  EXPECT_TRUE(Boxes.Texts().empty());
  EXPECT_EQ(Display.Count("enter"), 0);
}

TEST_F(ConfigTest, SettingsRoundTripThroughTheFile) {
  {
    TConfig Config(Display, Folder.Path);
    Config.SetMusicOff(true);
    Config.SetPlayer1Keys({87, 83, 65, 68, 9});
    Config.SetPlayer2Keys({104, 98, 100, 102, 96});
    Config.SetFullScreen(false);
  }
  EXPECT_EQ(Saved(), "1,0,0,87,83,65,68,9,104,98,100,102,96,");
  TFakeDisplay Again;
  TConfig Loaded(Again, Folder.Path);
  EXPECT_TRUE(Loaded.MusicOff);
  EXPECT_FALSE(Loaded.SoundOff);
  EXPECT_FALSE(Loaded.FullScreen);
  const std::array<std::uint16_t, 14> Expected = {0, 0, 0, 0, 87, 83, 65, 68, 9, 104, 98, 100, 102, 96};
  EXPECT_EQ(Loaded.Keys, Expected);
  // Each player's keys by name, as the window and the gamepads read them.
  EXPECT_EQ(Loaded.PlayerKey(1, TConfig::KeyUp), 87);
  EXPECT_EQ(Loaded.PlayerKey(1, TConfig::KeyDraw), 9);
  EXPECT_EQ(Loaded.PlayerKey(2, TConfig::KeyUp), 104);
  EXPECT_EQ(Loaded.PlayerKey(2, TConfig::KeyLeft), 100);
  EXPECT_EQ(Loaded.PlayerKey(2, TConfig::KeyDraw), 96);
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(ConfigTest, EverySetterRewritesOnlyItsField) {
  Folder.WriteScrambled("config.dat", "1,0,0,1,2,3,4,5,6,7,8,9,10,");
  TConfig Config(Display, Folder.Path);
  Config.SetSoundOff(true);
  EXPECT_EQ(Saved(), "1,1,0,1,2,3,4,5,6,7,8,9,10,");
  Config.SetPlayer2Keys({11, 12, 13, 14, 15});
  EXPECT_EQ(Saved(), "1,1,0,1,2,3,4,5,11,12,13,14,15,");
  Config.SetMusicOff(false);
  EXPECT_EQ(Saved(), "0,1,0,1,2,3,4,5,11,12,13,14,15,");
}

TEST_F(ConfigTest, FieldValuesAsTheFileHoldsThem) {
  // Only 1 means true; keys keep their low 16 bits; fields after the 13th do not count.
  Folder.WriteScrambled("config.dat", "2,1,2,70000,65535,0,3,4,5,6,7,8,9,junk,-4,");
  TConfig Config(Display, Folder.Path);
  EXPECT_FALSE(Config.MusicOff);
  EXPECT_TRUE(Config.SoundOff);
  EXPECT_FALSE(Config.FullScreen);
  EXPECT_EQ(Config.Keys[4], 70000 - 65536);
  EXPECT_EQ(Config.Keys[5], 65535);
  EXPECT_EQ(Config.Keys[6], 0);
  EXPECT_EQ(Config.Keys[13], 9);
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(ConfigTest, ThreeFieldsLeaveTheKeysZeroAndSayBug) {
  Folder.WriteScrambled("config.dat", "0,1,0,");
  TConfig Config(Display, Folder.Path);
  EXPECT_TRUE(Config.SoundOff);
  for (int Slot = 4; Slot <= 13; ++Slot) EXPECT_EQ(Config.Keys[Slot], 0) << Slot;
  EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{"bug"});
}

TEST_F(ConfigTest, DamagedFilesAreReportedOnceAndRebuilt) {
  std::string Edited = "0,0,0," + DefaultKeysText;
  ScrambleText(Edited);
  Edited[1] = static_cast<char>(Edited[1] ^ 1);  // "0" becomes "1": the sum no longer matches
  for (const std::string& Bytes : {std::string(), std::string("x"), Edited, std::string("garbage that is no scramble")}) {
    Folder.Write("config.dat", Bytes);
    Boxes.Clear();
    TConfig Config(Display, Folder.Path);
    EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{TConfig::DamagedMessage}) << Bytes.size();
    EXPECT_EQ(Saved(), DefaultFile);
    EXPECT_EQ(Config.Keys, TConfig::DefaultKeys);
  }
}

TEST_F(ConfigTest, NonNumericFieldsWithAGoodSumCountAsDamaged) {
  for (const std::string Plain : {"0,0,1,38,40,37,39,x,87,83,65,68,17,", "0,0,1,38,40,,39,32,87,83,65,68,17,",
                                   "yes,0,1,", "0,0,1,38, 40,37,", "0,0,1,99999999999,"}) {
    Folder.WriteScrambled("config.dat", Plain);
    Boxes.Clear();
    TConfig Config(Display, Folder.Path);
    EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{TConfig::DamagedMessage}) << Plain;
    EXPECT_EQ(Config.Keys, TConfig::DefaultKeys) << Plain;
    EXPECT_EQ(Saved(), DefaultFile) << Plain;
  }
}

TEST_F(ConfigTest, StoredFullScreenOnAFailingDisplayIsTurnedOffWithOneMessage) {
  AcceptGameRates(Display, {});
  Folder.WriteScrambled("config.dat", "0,0,1," + DefaultKeysText);
  TConfig Config(Display, Folder.Path);
  EXPECT_FALSE(Config.FullScreen);
  EXPECT_EQ(Saved(), "0,0,0," + DefaultKeysText);
  EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{TestFailed});
  EXPECT_TRUE(Display.CursorVisible);
  EXPECT_EQ(Display.Border, TBorderStyle::Fixed);
}

TEST_F(ConfigTest, VolumeComesFromTheDeviceAndIsNeverSaved) {
  class TDevices : public IWaveOut {
  public:
    int DeviceCount() override { return 3; }
    bool HasVolumeControl(int Device) override { return Device != 1 && WithControl; }
    bool GetVolume(int Device, std::uint32_t& LeftRight) override {
      Asked = Device;
      LeftRight = Device == 2 ? Level : 0x12341234u;
      return Answers;
    }
    bool SetVolume(int, std::uint32_t) override { return true; }
    bool WithControl = true, Answers = true;
    std::uint32_t Level = 0xFFFFFFFFu;
    int Asked = -99;
  } Devices;
  IWaveOut* Old = SetWaveOutHandler(&Devices);

  EXPECT_EQ(GetWaveOutVolume(), 100);
  EXPECT_EQ(Devices.Asked, 2);  // the last device with volume control
  Devices.Level = 0x80008000u;
  EXPECT_EQ(GetWaveOutVolume(), 50);
  Devices.Level = 0x0000FFFFu;  // left only: 127 * 100 / 255 = 49.8
  EXPECT_EQ(GetWaveOutVolume(), 50);
  Devices.Level = 0x00010000u;
  EXPECT_EQ(GetWaveOutVolume(), 0);
  Devices.Answers = false;
  EXPECT_EQ(GetWaveOutVolume(), 0);
  Devices.Answers = true;
  Devices.WithControl = false;
  GetWaveOutVolume();
  EXPECT_EQ(Devices.Asked, IWaveOut::WaveMapper);

  Devices.WithControl = true;
  Devices.Level = 0x80008000u;
  {
    TConfig Config(Display, Folder.Path);
    EXPECT_EQ(Config.Volume, 50);
    Config.Volume = 7;
    Config.SetSoundOff(true);
  }
  EXPECT_EQ(Saved(), "0,1,1," + DefaultKeysText);
  Devices.Level = 0xFFFFFFFFu;
  TFakeDisplay Again;
  TConfig Restarted(Again, Folder.Path);
  EXPECT_EQ(Restarted.Volume, 100);
  SetWaveOutHandler(Old);
}

// ---- Files that cannot be read or written ----

TEST_F(ConfigTest, UnwritableFileKeepsTheOldOneAndTellsThePlayerOnce) {
  Folder.WriteScrambled("config.dat", "1,1,0," + DefaultKeysText);
  const std::string Before = Folder.Read("config.dat");
  TConfig Config(Display, Folder.Path);
  {
    TNoFileGrowth Full;
    EXPECT_FALSE(Config.Save());
    Config.SetMusicOff(false);
    Config.SetPlayer1Keys({1, 2, 3, 4, 5});
  }
  ASSERT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_EQ(Boxes.Texts()[0].rfind("Error writing config.dat (", 0), 0u) << Boxes.Texts()[0];
  EXPECT_EQ(Folder.Read("config.dat"), Before);
  // The game goes on with the values in memory.
  EXPECT_FALSE(Config.MusicOff);
  EXPECT_EQ(Config.Keys[4], 1);

  // Once writing works again, the next failure is reported again.
  EXPECT_TRUE(Config.Save());
  EXPECT_EQ(Saved(), "0,1,0,1,2,3,4,5,87,83,65,68,17,");
  {
    TNoFileGrowth Full;
    EXPECT_FALSE(Config.Save());
  }
  EXPECT_EQ(Boxes.Texts().size(), 2u);
  EXPECT_EQ(Folder.Names(), std::vector<std::string>{"config.dat"});  // no temporary left behind
}

TEST_F(ConfigTest, SettingsThatCannotBeReadAreReportedKeptAndNeverSavedOver) {
  for (int Kind = 0; Kind < UnreadableKinds; ++Kind) {
    const std::string What = MakeUnreadable(Folder, "config.dat", Kind);
    const bool WasLink = std::filesystem::is_symlink(Folder.File("config.dat"));
    std::error_code Loop;
    const bool WasFolder = std::filesystem::is_directory(Folder.File("config.dat"), Loop);
    const auto Size = WasLink || WasFolder ? 0 : std::filesystem::file_size(Folder.File("config.dat"));
    Boxes.Clear();
    TConfig Config(Display, Folder.Path);
    ASSERT_EQ(Boxes.Texts().size(), 1u) << What;
    EXPECT_EQ(Boxes.Texts()[0].rfind("Error reading config.dat (", 0), 0u) << What << ": " << Boxes.Texts()[0];
    EXPECT_EQ(Boxes.Texts()[0].find(TConfig::DamagedMessage), std::string::npos) << What;
    EXPECT_TRUE(Config.SavingHeldBack()) << What;
    EXPECT_EQ(Config.Keys, TConfig::DefaultKeys) << What;
    EXPECT_TRUE(Config.FullScreen) << What;
    // Changes hold in memory only, without more messages.
    Config.SetSoundOff(true);
    EXPECT_TRUE(Config.SoundOff) << What;
    EXPECT_FALSE(Config.Save()) << What;
    EXPECT_EQ(Boxes.Texts().size(), 1u) << What;
    EXPECT_EQ(std::filesystem::is_symlink(Folder.File("config.dat")), WasLink) << What;
    if (WasFolder) {
      EXPECT_TRUE(std::filesystem::exists(Folder.File("config.dat/keep"))) << What;
    } else if (!WasLink) {
      EXPECT_EQ(std::filesystem::file_size(Folder.File("config.dat")), Size) << What;
    }
  }
}

TEST_F(ConfigTest, SettingsWithoutReadPermissionAreKept) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  Folder.WriteScrambled("config.dat", "1,1,0," + DefaultKeysText);
  const std::string Before = Folder.Read("config.dat");
  ASSERT_EQ(::chmod(Folder.File("config.dat").c_str(), 0), 0);
  TConfig Config(Display, Folder.Path);
  Config.SetMusicOff(false);
  ASSERT_EQ(::chmod(Folder.File("config.dat").c_str(), 0600), 0);
  EXPECT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_EQ(Folder.Read("config.dat"), Before);
}

TEST_F(ConfigTest, FolderInsideARegularFileCannotBeWritten) {
  Folder.Write("plain", "x");
  TConfig Config(Display, Folder.File("plain"));
  EXPECT_FALSE(Config.Save());
  EXPECT_EQ(Config.Keys, TConfig::DefaultKeys);
  EXPECT_FALSE(Boxes.Texts().empty());
  EXPECT_EQ(Folder.Read("plain"), "x");
}

// ---- Display tests at start-up ----

TEST_F(ConfigTest, DisplayTestsTryDesktopRefreshThenSixtyHertz) {
  AcceptGameRates(Display, {60});
  TConfig Config(Display, Folder.Path);
  const std::vector<std::string> Tests = {"test 1024x768x32@75", "test 800x600x32@75", "test 800x600x32@60"};
  EXPECT_EQ(std::vector<std::string>(Display.Log.begin(), Display.Log.begin() + 3), Tests);
  EXPECT_TRUE(Config.FullScreenPossible);
  EXPECT_EQ(Config.GameMode.DisplayFrequency, 60u);
  EXPECT_EQ(Config.GameMode.PelsWidth, 800u);
  EXPECT_EQ(Config.GameMode.BitsPerPel, 32u);
  EXPECT_EQ(Config.DesktopMode.Size, 156u);
  EXPECT_EQ(Config.DesktopMode.Fields, 0x7C0000u);
  EXPECT_EQ(Config.DesktopMode.PelsWidth, 1024u);
  bool Full = true;
  Config.SwitchDisplayMode(Full);
  EXPECT_TRUE(Full);
  EXPECT_EQ(Display.Log[Display.Log.size() - 2], "enter 800x600x32@60");
}

TEST_F(ConfigTest, FailingDesktopTestSkipsTheGameModeTests) {
  Display.Accepted.clear();
  TConfig Config(Display, Folder.Path);
  EXPECT_EQ(Display.Count("test"), 1);
  EXPECT_FALSE(Config.FullScreenPossible);
}

TEST_F(ConfigTest, DesktopAlready800x600StillTestsAndSwitches) {
  Display.Desktop.PelsWidth = 800;
  Display.Desktop.PelsHeight = 600;
  Display.AcceptOnly({75});
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  TConfig Config(Display, Folder.Path);
  EXPECT_EQ(Display.Count("test"), 2);
  bool Full = true;
  Config.SwitchDisplayMode(Full);
  EXPECT_TRUE(Full);
  EXPECT_EQ(Display.Log.back(), "broadcast 126 42 0");
}

// ---- Switching the display ----

TEST_F(ConfigTest, SwitchingInAndBackBroadcastsEachChange) {
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  TConfig Config(Display, Folder.Path);
  Display.Log.clear();
  bool Full = true;
  Config.SwitchDisplayMode(Full);
  Full = false;
  Config.SwitchDisplayMode(Full);
  const std::vector<std::string> Expected = {"enter 800x600x32@75", "broadcast 126 42 0", "restore 1024x768x32@75",
                                             "broadcast 126 42 0"};
  EXPECT_EQ(Display.Log, Expected);
  EXPECT_FALSE(Full);
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(ConfigTest, FailedSwitchInGivesItsReasonAndFallsBackToWindowed) {
  const std::vector<std::pair<int, std::string>> Reasons = {
      {1, "The computer must be restarted in order for the graphics mode to work."},
      {-1, "The display driver failed the specified graphics mode."},
      {-2, "The graphics mode is not supported."},
      {-3, "Unable to write settings to the registry."},
      {-4, "An invalid set of flags was passed in."}};
  for (const auto& [Code, Reason] : Reasons) {
    TFakeDisplay Fresh;
    Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
    TConfig Config(Fresh, Folder.Path);
    Boxes.Clear();
    Fresh.Log.clear();
    Fresh.EnterResults = {Code};
    bool Full = true;
    Config.SwitchDisplayMode(Full);
    EXPECT_FALSE(Full) << Code;
    EXPECT_FALSE(Config.FullScreenPossible) << Code;
    EXPECT_FALSE(Config.TerminateRequested) << Code;
    EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{"Error changing resolution (800x600)\rReason: " + Reason +
                                                      "\rGame will run in windowed mode."})
        << Code;
    const std::vector<std::string> Expected = {"enter 800x600x32@75", "restore 1024x768x32@75", "broadcast 126 42 0"};
    EXPECT_EQ(Fresh.Log, Expected) << Code;
    // From now on the game mode is not even tried.
    Full = true;
    Config.SwitchDisplayMode(Full);
    EXPECT_FALSE(Full);
    EXPECT_EQ(Fresh.Count("enter"), 1);
  }
}

TEST_F(ConfigTest, UnknownResultCodeIsNeitherReportedNorBroadcast) {
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  TConfig Config(Display, Folder.Path);
  Display.Log.clear();
  Display.EnterResults = {-5};
  bool Full = true;
  Config.SwitchDisplayMode(Full);
  EXPECT_TRUE(Full);
  EXPECT_TRUE(Config.FullScreenPossible);
  EXPECT_EQ(Display.Log, std::vector<std::string>{"enter 800x600x32@75"});
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(ConfigTest, FailedSwitchBackAsksTheGameToEnd) {
  const std::vector<std::pair<int, std::string>> Reasons = {
      {1, "The computer must be restarted in order for the graphics mode to work."},
      {-1, "The display driver failed the specified graphics mode."},
      {-2, "The graphics mode is not supported."},
      {-3, "Unable to write settings to the registry."},
      {-4, "An invalid set of flags was passed in."}};
  for (const auto& [Code, Reason] : Reasons) {
    TFakeDisplay Fresh;
    Fresh.RestoreResults = {Code};
    TConfig Config(Fresh, Folder.Path);
    Boxes.Clear();
    EXPECT_FALSE(Config.TerminateRequested);
    bool Full = false;
    Config.SwitchDisplayMode(Full);
    EXPECT_TRUE(Config.TerminateRequested) << Code;
    EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{"Error changing resolution (1024x768)\rReason: " + Reason +
                                                      "\rGame will terminate!"})
        << Code;
  }
}

TEST_F(ConfigTest, FailedSwitchInFollowedByFailedSwitchBackShowsBoth) {
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  TConfig Config(Display, Folder.Path);
  Display.EnterResults = {-1};
  Display.RestoreResults = {-2};
  Config.SetFullScreen(true);
  const auto Texts = Boxes.Texts();
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_NE(Texts[0].find("Game will run in windowed mode."), std::string::npos);
  EXPECT_EQ(Texts[1], "Error changing resolution (1024x768)\rReason: The graphics mode is not supported.\rGame will terminate!");
  EXPECT_TRUE(Config.TerminateRequested);
  EXPECT_FALSE(Config.FullScreen);
}

TEST_F(ConfigTest, SetFullScreenStoresTheModeThatResulted) {
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  TConfig Config(Display, Folder.Path);
  Config.SetFullScreen(true);
  EXPECT_TRUE(Config.FullScreen);
  EXPECT_EQ(Saved(), "0,0,1," + DefaultKeysText);
  EXPECT_FALSE(Display.CursorVisible);
  EXPECT_EQ(Display.Border, TBorderStyle::None);

  Display.EnterResults = {-2};
  Config.SetFullScreen(false);
  Config.SetFullScreen(true);  // fails: stored as windowed
  EXPECT_FALSE(Config.FullScreen);
  EXPECT_EQ(Saved(), "0,0,0," + DefaultKeysText);
  EXPECT_TRUE(Display.CursorVisible);
  EXPECT_EQ(Display.Border, TBorderStyle::Fixed);
}

TEST_F(ConfigTest, FullScreenChosenOnAFailingDisplayStaysWindowedWithoutAMessage) {
  AcceptGameRates(Display, {});
  TConfig Config(Display, Folder.Path);
  Boxes.Clear();
  Config.SetFullScreen(true);
  EXPECT_FALSE(Config.FullScreen);
  EXPECT_EQ(Saved(), "0,0,0," + DefaultKeysText);
  EXPECT_TRUE(Boxes.Texts().empty());
  EXPECT_EQ(Display.Count("enter"), 0);
}

// ---- Window style ----

TEST_F(ConfigTest, WindowedStyleCentresTheOuterWindowOnTheDesktop) {
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  Display.Left = Display.Top = -1;
  TConfig Config(Display, Folder.Path);
  EXPECT_TRUE(Config.WindowRebuilt);
  EXPECT_TRUE(Display.CursorVisible);
  EXPECT_EQ(Display.Border, TBorderStyle::Fixed);
  EXPECT_EQ(Display.Client, (TSize{800, 600}));
  // Outer 806 x 629 on 1024 x 768: 512 - 403 and 384 - 314.
  EXPECT_EQ(Display.Left, 109);
  EXPECT_EQ(Display.Top, 70);

  Display.Desktop.PelsWidth = 801;  // odd sizes: both halves round towards zero
  Display.Desktop.PelsHeight = 601;
  Config.WindowRebuilt = false;
  Config.ApplyWindowStyle();
  EXPECT_TRUE(Config.WindowRebuilt);
  EXPECT_EQ(Display.Left, 400 - 403);
  EXPECT_EQ(Display.Top, 300 - 314);
}

TEST_F(ConfigTest, WindowFramedAfterItIsShownIsCentredAgainWithItsFrame) {
  // A window manager adds the border only after the window is shown: the
  // first placement sees none and centres the bare 800 x 600.
  Folder.WriteScrambled("config.dat", "0,0,0," + DefaultKeysText);
  Display.Framed = false;
  TConfig Config(Display, Folder.Path);
  EXPECT_EQ(Display.Left, 112);
  EXPECT_EQ(Display.Top, 84);
  Config.WindowRebuilt = false;
  const int Placements = Display.Count("position");
  Display.FrameWindow();
  // Outer 806 x 629 once framed: 512 - 403 and 384 - 314. Only the place
  // changes; the window is not rebuilt.
  EXPECT_EQ(Display.Count("position"), Placements + 1);
  EXPECT_EQ(Display.Left, 109);
  EXPECT_EQ(Display.Top, 70);
  EXPECT_EQ(Display.Client, (TSize{800, 600}));
  EXPECT_FALSE(Config.WindowRebuilt);
}

TEST_F(ConfigTest, FrameNewsLeavesAFullScreenWindowAndAGoneConfigAlone) {
  {
    TConfig Config(Display, Folder.Path);
    ASSERT_TRUE(Config.FullScreen);
    Display.Framed = false;
    Display.Border = TBorderStyle::Fixed;  // as if the frame came late after leaving full screen
    Display.Left = Display.Top = 0;
    Display.FrameWindow();
    EXPECT_EQ(Display.Left, 0);
    EXPECT_EQ(Display.Top, 0);
  }
  // The settings are gone: news of the frame must reach nobody.
  Display.Framed = false;
  Display.FrameWindow();
  EXPECT_EQ(Display.Left, 0);
}

TEST_F(ConfigTest, FullScreenStyleHidesCursorAndBorderAtTheOrigin) {
  TConfig Config(Display, Folder.Path);
  ASSERT_TRUE(Config.FullScreen);
  Display.Left = Display.Top = 55;
  Config.WindowRebuilt = false;
  Config.ApplyWindowStyle();
  EXPECT_TRUE(Config.WindowRebuilt);
  EXPECT_FALSE(Display.CursorVisible);
  EXPECT_EQ(Display.Border, TBorderStyle::None);
  EXPECT_EQ(Display.Client, (TSize{800, 600}));
  EXPECT_EQ(Display.Left, 0);
  EXPECT_EQ(Display.Top, 0);
}
