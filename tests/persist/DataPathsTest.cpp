// Where the archive is looked for and where the player's files go.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "TestFolder.h"
#include "persist/DataPaths.h"

namespace {
namespace fs = std::filesystem;

struct DataPaths : ::testing::Test {
  TTestFolder Root;
  std::map<std::string, std::string> Vars;
  TEnvLookup Env = [this](const char* Name) -> const char* {
    const auto It = Vars.find(Name);
    return It == Vars.end() ? nullptr : It->second.c_str();
  };
  std::string Dir(const std::string& Name) {
    const std::string P = Root.File(Name);
    fs::create_directories(P);
    return P;
  }
  // A folder holding vyrn-rekindled/game.pak.
  std::string DataDirWithArchive(const std::string& Name) {
    const std::string P = Dir(Name);
    fs::create_directories(P + "/vyrn-rekindled");
    Root.Write(Name + "/vyrn-rekindled/game.pak", "pak");
    return P;
  }
};
}  // namespace

TEST_F(DataPaths, AnArchiveInTheWorkingFolderKeepsEverythingThere) {
  const std::string Work = Dir("work");
  Root.Write("work/game.pak", "pak");
  Vars["XDG_DATA_DIRS"] = DataDirWithArchive("share");
  Vars["XDG_DATA_HOME"] = Root.File("home");
  const TDataPaths P = FindDataPaths("/nonexistent", Env, Work);
  EXPECT_EQ(P.ArchiveFolder, Work);
  EXPECT_EQ(P.UserFolder, Work);
  EXPECT_FALSE(fs::exists(Root.File("home")));  // nothing made where it is not used
}

TEST_F(DataPaths, TheXdgDataFoldersInTheirOrderThenThePrefix) {
  const std::string Work = Dir("work");
  const std::string First = Dir("first");  // no archive here
  const std::string Second = DataDirWithArchive("second");
  const std::string Third = DataDirWithArchive("third");
  const std::string Prefix = DataDirWithArchive("prefix");
  Vars["XDG_DATA_HOME"] = Root.File("home/data");
  // Empty and relative entries are ignored, as the base-directory rules ask.
  Vars["XDG_DATA_DIRS"] = "::relative/share:" + First + ":" + Second + "/:" + Third;
  TDataPaths P = FindDataPaths(Prefix, Env, Work);
  EXPECT_EQ(fs::path(P.ArchiveFolder), fs::path(Second) / "vyrn-rekindled");
  EXPECT_EQ(P.UserFolder, Root.File("home/data") + "/vyrn-rekindled");
  EXPECT_TRUE(fs::is_directory(P.UserFolder));  // made on first start, parents too

  Vars["XDG_DATA_DIRS"] = First;
  P = FindDataPaths(Prefix, Env, Work);
  EXPECT_EQ(P.ArchiveFolder, Prefix + "/vyrn-rekindled");

  // Nowhere at all: the working folder, so the player hears about it as before.
  P = FindDataPaths(Root.File("nothing"), Env, Work);
  EXPECT_EQ(P.ArchiveFolder, Work);
  EXPECT_EQ(P.UserFolder, Work);
}

TEST_F(DataPaths, TheUserFolderFallsBackToHomeAndToTheWorkingFolder) {
  const std::string Work = Dir("work");
  Vars["XDG_DATA_DIRS"] = DataDirWithArchive("share");
  Vars["XDG_DATA_HOME"] = "relative/data";  // not absolute: ignored
  Vars["HOME"] = Dir("me");
  EXPECT_EQ(FindDataPaths("", Env, Work).UserFolder, Root.File("me") + "/.local/share/vyrn-rekindled");

  // A data home that cannot be made (a file is in the way): the working folder.
  Root.Write("blocked", "x");
  Vars["XDG_DATA_HOME"] = Root.File("blocked");
  EXPECT_EQ(FindDataPaths("", Env, Work).UserFolder, Work);
  Vars.erase("XDG_DATA_HOME");
  Vars.erase("HOME");
  const TDataPaths P = FindDataPaths("", Env, Work);
  EXPECT_EQ(P.UserFolder, Work);
  EXPECT_EQ(fs::path(P.ArchiveFolder), fs::path(Root.File("share")) / "vyrn-rekindled");
}
