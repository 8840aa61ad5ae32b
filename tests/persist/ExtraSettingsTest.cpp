#include "persist/ExtraSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestFolder.h"

namespace {
class ExtraSettingsTest : public ::testing::Test {
protected:
  TTestFolder Folder;
  TMessageCapture Boxes;
};
}  // namespace

TEST_F(ExtraSettingsTest, AMissingFileGivesTheDefaultsAndIsWrittenOnlyAtTheFirstChange) {
  {
    TExtraSettings Extras(Folder.Path);
    EXPECT_EQ(Extras.ClaimedGround, TClaimedGroundLook::Classic);
    EXPECT_FALSE(Extras.HintsSeen);
    EXPECT_FALSE(Folder.Exists("extras.dat"));
    Extras.SetClaimedGround(TClaimedGroundLook::Clear);
    Extras.SetHintsSeen(true);
  }
  EXPECT_EQ(Folder.Read("extras.dat"), "vyrn-extras 1\nclaimed-ground=clear\nhints-seen=1\n");
  TExtraSettings Again(Folder.Path);
  EXPECT_EQ(Again.ClaimedGround, TClaimedGroundLook::Clear);
  EXPECT_TRUE(Again.HintsSeen);
  EXPECT_TRUE(Boxes.Texts().empty());
  EXPECT_EQ(Folder.Names(), std::vector<std::string>{"extras.dat"});  // no temporary left behind
}

TEST_F(ExtraSettingsTest, NamesOfANewerBuildSurviveARoundTrip) {
  Folder.Write("extras.dat", "vyrn-extras 1\r\nfuture-thing=7\r\nhints-seen=1\r\n\r\nclaimed-ground=classic");
  TExtraSettings Extras(Folder.Path);
  EXPECT_TRUE(Extras.HintsSeen);
  EXPECT_TRUE(Boxes.Texts().empty());
  Extras.SetClaimedGround(TClaimedGroundLook::Clear);
  EXPECT_EQ(Folder.Read("extras.dat"), "vyrn-extras 1\nclaimed-ground=clear\nhints-seen=1\nfuture-thing=7\n");
}

TEST_F(ExtraSettingsTest, ADamagedFileIsReportedAndRebuilt) {
  for (const std::string& Damaged : {std::string(), std::string("garbage"), std::string("vyrn-extras 1\nclaimed-ground=neon\n"),
                                    std::string("vyrn-extras 1\nhints-seen=yes\n"), std::string("vyrn-extras 1\n=1\n"),
                                    std::string("vyrn-extras 2\nhints-seen=1\n"), std::string("vyrn-extras 1\nno equals\n")}) {
    SCOPED_TRACE(Damaged);
    Folder.Write("extras.dat", Damaged);
    Boxes.Clear();
    TExtraSettings Extras(Folder.Path);
    EXPECT_EQ(Boxes.Texts(), std::vector<std::string>{TExtraSettings::DamagedMessage});
    EXPECT_EQ(Extras.ClaimedGround, TClaimedGroundLook::Classic);
    EXPECT_FALSE(Extras.HintsSeen);
    EXPECT_EQ(Folder.Read("extras.dat"), "vyrn-extras 1\nclaimed-ground=classic\nhints-seen=0\n");
  }
}

TEST_F(ExtraSettingsTest, AFileThatCannotBeReadIsKeptAndNeverSavedOver) {
  // A folder in the file's place cannot be read, even by root.
  ASSERT_EQ(::mkdir(Folder.File("extras.dat").c_str(), 0700), 0);
  Folder.Write("extras.dat/keep", "x");
  TExtraSettings Extras(Folder.Path);
  ASSERT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_NE(Boxes.Texts()[0].find("Error reading extras.dat"), std::string::npos);
  EXPECT_EQ(Extras.ClaimedGround, TClaimedGroundLook::Classic);
  EXPECT_TRUE(Extras.SavingHeldBack());
  Extras.SetClaimedGround(TClaimedGroundLook::Clear);  // plays on in memory
  EXPECT_EQ(Extras.ClaimedGround, TClaimedGroundLook::Clear);
  EXPECT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_EQ(Folder.Read("extras.dat/keep"), "x");
}

TEST_F(ExtraSettingsTest, AFolderThatRefusesWritesIsReportedOncePerRunOfFailures) {
  const std::string Gone = Folder.File("not-yet");
  TExtraSettings Extras(Gone);
  Extras.SetClaimedGround(TClaimedGroundLook::Clear);
  Extras.SetHintsSeen(true);
  EXPECT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_EQ(Extras.ClaimedGround, TClaimedGroundLook::Clear);
  ASSERT_EQ(::mkdir(Gone.c_str(), 0700), 0);
  EXPECT_TRUE(Extras.Save());
  Extras.SetHintsSeen(false);
  EXPECT_EQ(Boxes.Texts().size(), 1u);
}
