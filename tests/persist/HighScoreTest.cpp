#include "persist/HighScore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/CommonTypes.h"
#include "common/Scramble.h"
#include "platform/Http.h"
#include "TestFolder.h"

namespace {
std::string DefaultTablePlain() {
  std::string Text = "3";
  for (int I = 0; I < 20; ++I) Text += "Vyrn-master," + std::to_string(100000 - 5000 * I) + ",";
  return Text;
}

class HighScoreTest : public ::testing::Test {
protected:
  HighScoreTest() { RandSeed = 777; }
  std::string Saved() const { return Folder.Unscrambled("highscores.dat"); }

  TTestFolder Folder;
  TMessageCapture Boxes;
};

// Answers with the results it is given (true once they run out) and keeps every URL.
class TScriptedHttp : public IHttpClient {
public:
  bool Get(const std::string& Url) override {
    Urls.push_back(Url);
    if (Results.empty()) return true;
    const bool Result = Results.front();
    Results.erase(Results.begin());
    return Result;
  }
  std::vector<bool> Results;
  std::vector<std::string> Urls;
};

class THttpGuard {
public:
  explicit THttpGuard(IHttpClient& Client) : FOld(SetHttpClient(&Client)) {}
  ~THttpGuard() { SetHttpClient(FOld); }

private:
  IHttpClient* FOld;
};

std::string PercentDecode(const std::string& Text) {
  std::string Out;
  for (std::size_t I = 0; I + 2 < Text.size() && Text[I] == '%'; I += 3)
    Out.push_back(static_cast<char>(std::stoi(Text.substr(I + 1, 2), nullptr, 16)));
  return Out;
}
}  // namespace

// ---- Loading ----

TEST_F(HighScoreTest, MissingFileGivesTheDefaultTableAndWritesIt) {
  THighScore Table(Folder.Path);
  for (int I = 0; I < 20; ++I) {
    THighScore_element Entry;
    Table.GetEntry(I, Entry);
    EXPECT_EQ(Entry.Name, "Vyrn-master");
    EXPECT_EQ(Entry.Score, 100000 - 5000 * I);
  }
  EXPECT_EQ(Saved(), DefaultTablePlain());
  EXPECT_EQ(Saved().rfind("3Vyrn-master,100000,", 0), 0u);
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(HighScoreTest, WrongVersionEmptyOrDamagedFilesQuietlyBecomeTheDefaults) {
  std::string Damaged = "3Ann,5,";
  ScrambleText(Damaged);
  Damaged[3] = static_cast<char>(Damaged[3] ^ 2);
  const std::vector<std::pair<std::string, bool>> Files = {
      {"2Ann,5,", true}, {"", false}, {Damaged, false}, {"xAnn,5,", true}, {"3Ann,five,", true},
      {"3Ann,,", true},  {"3Ann,5 ,", true}, {"3Ann,99999999999999999999,", true}};
  for (const auto& [Bytes, Scramble] : Files) {
    if (Scramble) Folder.WriteScrambled("highscores.dat", Bytes);
    else Folder.Write("highscores.dat", Bytes);
    THighScore Table(Folder.Path);
    EXPECT_EQ(Table.Entries[0].Name, "Vyrn-master") << Bytes;
    EXPECT_EQ(Table.Entries[19].Score, 5000) << Bytes;
    EXPECT_EQ(Saved(), DefaultTablePlain()) << Bytes;
  }
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(HighScoreTest, PartialAndOverlongFilesFillWhatTheyHave) {
  Folder.WriteScrambled("highscores.dat", "3Ann,500,Bob,-7,Cy,");
  THighScore Partial(Folder.Path);
  EXPECT_EQ(Partial.Entries[0].Name, "Ann");
  EXPECT_EQ(Partial.Entries[0].Score, 500);
  EXPECT_EQ(Partial.Entries[1].Name, "Bob");
  EXPECT_EQ(Partial.Entries[1].Score, -7);
  // A name without its score, and the rest keep what a new table starts with.
  EXPECT_EQ(Partial.Entries[2].Name, "Cy");
  EXPECT_EQ(Partial.Entries[2].Score, 0);
  EXPECT_EQ(Partial.Entries[3].Name, "");
  EXPECT_EQ(Partial.Entries[19].Score, 0);

  std::string Long = "3";
  for (int I = 0; I < 25; ++I) {
    Long += 'P';
    Long += std::to_string(I);
    Long += ',';
    Long += std::to_string(9223372036854775000LL - I);
    Long += ',';
  }
  Long += "zz,";
  Folder.WriteScrambled("highscores.dat", Long);
  THighScore Table(Folder.Path);
  EXPECT_EQ(Table.Entries[19].Name, "P19");
  EXPECT_EQ(Table.Entries[19].Score, 9223372036854775000LL - 19);
  // Loading never rewrites a good file.
  EXPECT_EQ(Saved(), Long);
}

// ---- Ranking and insertion ----

TEST_F(HighScoreTest, RankOfTheDefaultTable) {
  THighScore Table(Folder.Path);
  EXPECT_EQ(Table.RankOf(100000), 0);
  EXPECT_EQ(Table.RankOf(1000000), 0);
  EXPECT_EQ(Table.RankOf(99999), 1);
  EXPECT_EQ(Table.RankOf(95000), 1);
  EXPECT_EQ(Table.RankOf(5000), 19);
  EXPECT_EQ(Table.RankOf(4999), 20);
  EXPECT_EQ(Table.RankOf(-1), 20);
  EXPECT_EQ(Table.RankOf(INT64_MIN), 20);
  Table.Entries[19].Score = INT64_MIN;
  EXPECT_EQ(Table.RankOf(INT64_MIN), 19);
}

TEST_F(HighScoreTest, InsertShiftsTheTailAndDropsTheLast) {
  THighScore Table(Folder.Path);
  Table.Insert("Zed", 95000);
  EXPECT_EQ(Table.Entries[0].Score, 100000);
  EXPECT_EQ(Table.Entries[1].Name, "Zed");
  EXPECT_EQ(Table.Entries[1].Score, 95000);
  EXPECT_EQ(Table.Entries[2].Name, "Vyrn-master");
  EXPECT_EQ(Table.Entries[2].Score, 95000);
  EXPECT_EQ(Table.Entries[19].Score, 10000);
  // Saved at once, and loads back the same.
  THighScore Reloaded(Folder.Path);
  for (int I = 0; I < 20; ++I) {
    EXPECT_EQ(Reloaded.Entries[I].Name, Table.Entries[I].Name) << I;
    EXPECT_EQ(Reloaded.Entries[I].Score, Table.Entries[I].Score) << I;
  }

  Table.Insert("Top", 200000);
  EXPECT_EQ(Table.Entries[0].Name, "Top");
  Table.Insert("Last", 5000);  // the bottom score is 15000 now
  EXPECT_EQ(Table.RankOf(5000), 20);
  Table.Insert("Bottom", 15000);
  EXPECT_EQ(Table.Entries[19].Name, "Bottom");
}

TEST_F(HighScoreTest, ScoreThatDoesNotRankChangesNothing) {
  THighScore Table(Folder.Path);
  const std::string Before = Folder.Read("highscores.dat");
  Table.Insert("Nobody", 4999);
  EXPECT_EQ(Folder.Read("highscores.dat"), Before);  // a save would have drawn new pads
  EXPECT_EQ(Table.Entries[19].Name, "Vyrn-master");
}

TEST_F(HighScoreTest, NamesLoseSurroundingBlanksAndCommas) {
  THighScore Table(Folder.Path);
  Table.Insert("  Ann Lee \t", 300000);
  EXPECT_EQ(Table.Entries[0].Name, "Ann Lee");
  Table.Insert("\x01" "Bo,b\r\n", 300000);
  EXPECT_EQ(Table.Entries[0].Name, "Bob");
  Table.Insert("   ", 300000);
  EXPECT_EQ(Table.Entries[0].Name, "");
  THighScore Reloaded(Folder.Path);
  EXPECT_EQ(Reloaded.Entries[0].Name, "");
  EXPECT_EQ(Reloaded.Entries[1].Name, "Bob");
  EXPECT_EQ(Reloaded.Entries[2].Name, "Ann Lee");
  EXPECT_EQ(Reloaded.Entries[3].Score, 100000);
}

// ---- Writing failures ----

TEST_F(HighScoreTest, FailedWriteKeepsTheOldTableAndIsReported) {
  THighScore Table(Folder.Path);
  const std::string Before = Folder.Read("highscores.dat");
  {
    TNoFileGrowth Full;
    Table.Insert("Ann", 50000);
    Table.Insert("Bob", 50000);
  }
  ASSERT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_EQ(Boxes.Texts()[0].rfind("Error writing highscores.dat (", 0), 0u);
  EXPECT_EQ(Folder.Read("highscores.dat"), Before);
  EXPECT_EQ(Table.Entries[10].Name, "Bob");  // the game goes on with the table in memory
}

// ---- Tables that cannot be read ----

namespace {
// What stands at Name: a link's target, a folder's mark or a file's bytes.
std::string Fingerprint(const TTestFolder& Folder, const std::string& Name) {
  const std::filesystem::path P = Folder.File(Name);
  if (std::filesystem::is_symlink(P)) return "link:" + std::filesystem::read_symlink(P).string();
  if (std::filesystem::is_directory(P)) return "folder";
  return "file:" + Folder.Read(Name);
}
}  // namespace

TEST_F(HighScoreTest, TableThatCannotBeReadIsReportedKeptAndNeverSavedOver) {
  for (int Kind = 0; Kind < UnreadableKinds; ++Kind) {
    const std::string What = MakeUnreadable(Folder, "highscores.dat", Kind);
    const std::string Before = Fingerprint(Folder, "highscores.dat");
    Boxes.Clear();
    THighScore Table(Folder.Path);
    ASSERT_EQ(Boxes.Texts().size(), 1u) << What;
    EXPECT_EQ(Boxes.Texts()[0].rfind("Error reading highscores.dat (", 0), 0u) << What << ": " << Boxes.Texts()[0];
    EXPECT_TRUE(Table.SavingHeldBack()) << What;
    // The game plays on with the defaults in memory...
    EXPECT_EQ(Table.Entries[0].Name, "Vyrn-master") << What;
    EXPECT_EQ(Table.Entries[19].Score, 5000) << What;
    Table.Insert("Ann", 70000);
    EXPECT_EQ(Table.Entries[6].Name, "Ann") << What;
    EXPECT_FALSE(Table.Save()) << What;
    // ...and the file stays exactly as it was, with no further message.
    EXPECT_EQ(Fingerprint(Folder, "highscores.dat"), Before) << What;
    EXPECT_EQ(Boxes.Texts().size(), 1u) << What;
  }
}

TEST_F(HighScoreTest, TableWithoutReadPermissionIsKept) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  THighScore First(Folder.Path);
  First.Insert("Ann", 300000);
  const std::string Before = Folder.Read("highscores.dat");
  ASSERT_EQ(::chmod(Folder.File("highscores.dat").c_str(), 0), 0);
  THighScore Table(Folder.Path);
  Table.Insert("Bob", 400000);
  ASSERT_EQ(::chmod(Folder.File("highscores.dat").c_str(), 0600), 0);
  EXPECT_EQ(Boxes.Texts().size(), 1u);
  EXPECT_EQ(Folder.Read("highscores.dat"), Before);
}

TEST_F(HighScoreTest, LinkedTableStaysALinkAndItsTargetIsUpdated) {
  std::filesystem::create_directory(Folder.File("real"));
  std::filesystem::create_symlink("real/scores.dat", Folder.File("highscores.dat"));
  THighScore Table(Folder.Path);  // the target does not exist yet: written through the link
  Table.Insert("Ann", 300000);
  EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("highscores.dat")));
  EXPECT_EQ(std::filesystem::read_symlink(Folder.File("highscores.dat")), "real/scores.dat");
  EXPECT_EQ(Folder.Unscrambled("real/scores.dat").rfind("3Ann,300000,", 0), 0u);
  EXPECT_TRUE(Boxes.Texts().empty());
}

TEST_F(HighScoreTest, InsertKeepsScoresAnotherInstanceEnteredMeanwhile) {
  THighScore Mine(Folder.Path), Theirs(Folder.Path);
  Theirs.Insert("Theirs", 300000);
  Mine.Insert("Mine", 200000);
  THighScore Reloaded(Folder.Path);
  EXPECT_EQ(Reloaded.Entries[0].Name, "Theirs");
  EXPECT_EQ(Reloaded.Entries[1].Name, "Mine");
  EXPECT_EQ(Mine.Entries[0].Name, "Theirs");  // the instance shows what it saved
}

TEST_F(HighScoreTest, InstancesInsertingAtOnceLoseNoScore) {
  // Game instances sharing one folder, each started once and entering its
  // scores while the others do; a fifth only starts, again and again, as a
  // new instance would. 4 x 5 scores all rank above the defaults and fit.
  constexpr int Writers = 4, ScoresEach = 5, Starts = 300;
  { THighScore Seed(Folder.Path); }
  std::vector<pid_t> Children;
  for (int W = 0; W <= Writers; ++W) {
    const pid_t Pid = ::fork();
    ASSERT_GE(Pid, 0);
    if (Pid > 0) {
      Children.push_back(Pid);
      continue;
    }
    TRecordingMessageBox Box;
    SetMessageBoxHandler(&Box);
    int Failures = 0;
    if (W == Writers) {
      // Scores are only ever added, so each start sees at least as many as
      // the one before; a short or empty file would rebuild the defaults.
      int Seen = 0;
      for (int I = 0; I < Starts; ++I) {
        THighScore Start(Folder.Path);
        int Entered = 0;
        for (const auto& E : Start.Entries) Entered += E.Score >= 200000;
        if (Entered < Seen) ++Failures;
        Seen = std::max(Seen, Entered);
      }
    } else {
      THighScore Table(Folder.Path);
      for (int I = 0; I < ScoresEach; ++I) {
        Table.Insert("W" + std::to_string(W) + "-" + std::to_string(I), 200000 + W * 100 + I);
        ::usleep(2000);
      }
    }
    std::_Exit(Failures == 0 && Box.Shown.empty() ? 0 : 1);
  }
  for (const pid_t Pid : Children) {
    int Status = 0;
    ASSERT_EQ(::waitpid(Pid, &Status, 0), Pid);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "an instance saw a broken table";
  }
  THighScore Final(Folder.Path);
  std::set<std::string> Names;
  for (const auto& E : Final.Entries) Names.insert(E.Name);
  for (int W = 0; W < Writers; ++W)
    for (int I = 0; I < ScoresEach; ++I)
      EXPECT_TRUE(Names.count("W" + std::to_string(W) + "-" + std::to_string(I))) << W << "-" << I << " was lost";
}

// ---- Submission ----

TEST_F(HighScoreTest, SubmitSendsBothHalvesEncoded) {
  THighScore Table(Folder.Path);
  Table.Insert("Ann", 97500);
  Table.Entries[15].Name = "\xE9t\xE9";  // bytes above 127 travel as they are
  const auto Before = Table.Entries;
  TScriptedHttp Http;
  THttpGuard Guard(Http);
  Table.Endpoint = "http://127.0.0.1:9";
  EXPECT_TRUE(Table.Submit());
  ASSERT_EQ(Http.Urls.size(), 2u);
  const std::string Prefix = "http://127.0.0.1:9/submit_hi.php?game=vyrn&ent=10&hifile=";
  for (int Half = 0; Half < 2; ++Half) {
    const std::string& Url = Http.Urls[Half];
    ASSERT_EQ(Url.rfind(Prefix, 0), 0u) << Url;
    const std::string Encoded = Url.substr(Prefix.size());
    ASSERT_EQ(Encoded.size() % 3, 0u);
    for (std::size_t I = 0; I < Encoded.size(); I += 3) {
      EXPECT_EQ(Encoded[I], '%') << I;
      for (char Digit : {Encoded[I + 1], Encoded[I + 2]})
        EXPECT_TRUE((Digit >= '0' && Digit <= '9') || (Digit >= 'A' && Digit <= 'F')) << Encoded.substr(I, 3);
    }
    std::string Bytes = PercentDecode(Encoded);
    EXPECT_EQ(Bytes.size() * 3, Encoded.size());
    EXPECT_TRUE(UnscrambleText(Bytes));
    std::string Expected = "3";
    for (int I = Half * 10; I < Half * 10 + 10; ++I)
      Expected += Before[I].Name + "," + std::to_string(Before[I].Score) + ",";
    EXPECT_EQ(Bytes, Expected);
  }
  for (int I = 0; I < 20; ++I) EXPECT_EQ(Table.Entries[I].Name, Before[I].Name);
}

TEST_F(HighScoreTest, FailedFirstRequestSendsNothingMore) {
  THighScore Table(Folder.Path);
  TScriptedHttp Http;
  THttpGuard Guard(Http);
  Http.Results = {false};
  EXPECT_FALSE(Table.Submit());
  EXPECT_EQ(Http.Urls.size(), 1u);
  EXPECT_EQ(Http.Urls[0].rfind(std::string(HighScoreEndpoint) + "/submit_hi.php?game=vyrn&ent=10&hifile=%", 0), 0u);

  Http.Urls.clear();
  Http.Results = {true, false};
  EXPECT_FALSE(Table.Submit());
  EXPECT_EQ(Http.Urls.size(), 2u);
}

TEST_F(HighScoreTest, WithoutANetworkLayerSubmitFails) {
  THighScore Table(Folder.Path);
  EXPECT_FALSE(Table.Submit());
}
