// vyrn-scores as its own process on a loopback port, fed by the game's real
// submission code (THighScore::Submit over libcurl).
#include <gtest/gtest.h>

#include <cstdlib>

#include "ServerTestUtil.h"
#include "common/CommonTypes.h"
#include "persist/HighScore.h"
#include "common/Scramble.h"
#include "persist/TestFolder.h"
#include "platform/sdl/CurlHttp.h"

namespace {
class SubmitEndToEndTest : public ::testing::Test {
protected:
  SubmitEndToEndTest() : FOld(SetHttpClient(&Curl)) { ::setenv("NO_PROXY", "127.0.0.1", 1); }
  ~SubmitEndToEndTest() override { SetHttpClient(FOld); }

  std::int64_t Rows() { return std::stoll(TDatabase(Db).One("SELECT count(*) FROM scores")); }

  TTestFolder Folder;
  TMessageCapture Boxes;
  std::string Db = Folder.File("scores.db");
  TServerProcess Server{Db};
  TCurlHttpClient Curl{2000, 4000};

private:
  IHttpClient* FOld;
};

std::string ValidQuery() {
  std::string Plain = "3";
  for (int I = 0; I < 10; ++I) Plain += "Name" + std::to_string(I) + "," + std::to_string(1000 - I) + ",";
  ScrambleText(Plain);
  return SubmitQuery(Plain);
}
}  // namespace

TEST_F(SubmitEndToEndTest, TheGamesTableLandsInTheDatabaseOnceAndOnThePageInOrder) {
  ASSERT_GT(Server.Port, 0);
  THighScore Table(Folder.Path);
  Table.Insert("Ann", 123456);
  Table.Insert("<script>", 97000);
  Table.Insert("Mo [x]|y", 42000);
  Table.Endpoint = "http://127.0.0.1:" + std::to_string(Server.Port);
  ASSERT_TRUE(Table.Submit());

  std::vector<std::string> Expected;
  for (const auto& Entry : Table.Entries) Expected.push_back(Entry.Name + "=" + std::to_string(Entry.Score));
  TDatabase Check(Db);
  EXPECT_EQ(Check.Column("SELECT name || '=' || score FROM scores ORDER BY score DESC"), Expected);
  EXPECT_EQ(Check.One("SELECT count(*) FROM scores WHERE arrived < strftime('%s','now') - 60"), "0");

  // Sent again: nothing new.
  ASSERT_TRUE(Table.Submit());
  EXPECT_EQ(Rows(), 20);

  const THttpAnswer Page = RawGet(Server.Port, "/");
  ASSERT_EQ(Page.Status, 200);
  EXPECT_EQ(Page.Body.find("<script>"), std::string::npos);
  std::size_t At = 0;
  for (const auto& Entry : Table.Entries) {
    std::string Name = Entry.Name;
    if (Name == "<script>") Name = "&lt;script&gt;";
    const std::size_t Row = Page.Body.find("<td class=\"name\">" + Name + "</td><td class=\"score\">" +
                                           std::to_string(Entry.Score) + "</td>", At);
    ASSERT_NE(Row, std::string::npos) << Entry.Name << " " << Entry.Score;
    At = Row + 1;
  }

  const THttpAnswer Json = RawGet(Server.Port, "/api/scores?period=30d&limit=2&offset=1");
  ASSERT_EQ(Json.Status, 200);
  // Ann, then the default 100000, then the <script> name.
  EXPECT_NE(Json.Body.find("{\"place\":2,\"name\":\"Vyrn-master\",\"score\":100000,"), std::string::npos) << Json.Body;
  EXPECT_NE(Json.Body.find("{\"place\":3,\"name\":\"\\u003cscript\\u003e\",\"score\":97000,"), std::string::npos)
      << Json.Body;
  EXPECT_EQ(Json.Body.find("\"place\":4"), std::string::npos);
  const THttpAnswer Defaults = RawGet(Server.Port, "/api/scores?period=&limit=&offset=");
  EXPECT_EQ(Defaults.Status, 200);
  EXPECT_NE(Defaults.Body.find("\"period\":\"all\",\"offset\":0,"), std::string::npos) << Defaults.Body;
  EXPECT_NE(Defaults.Body.find("\"place\":20,"), std::string::npos);
  for (const char* Bad : {"/api/scores?period=week", "/api/scores?limit=0", "/api/scores?limit=101",
                          "/api/scores?offset=-1", "/api/scores?limit=1x"})
    EXPECT_EQ(RawGet(Server.Port, Bad).Status, 400) << Bad;
}

TEST_F(SubmitEndToEndTest, EveryKindOfBrokenSubmissionIsRefusedWith400AndStoresNothing) {
  ASSERT_GT(Server.Port, 0);
  auto Pairs = [](const std::string& Name, const std::string& Score) {
    std::vector<std::pair<std::string, std::string>> Out;
    for (int I = 0; I < 10; ++I) Out.push_back({std::string("P").append(std::to_string(I)), std::to_string(500 - I)});
    Out[4] = {Name, Score};
    return Out;
  };
  auto Scrambled = [](const std::vector<std::pair<std::string, std::string>>& List) {
    const std::string Plain = PlainTable(List);
    return ScrambleWithCheck(Plain, ByteSum(Plain));
  };
  const std::string Good = SubmitQuery(Scrambled(Pairs("Fine", "10")));
  const std::string Plain = PlainTable(Pairs("Fine", "10"));
  auto Nine = Pairs("Fine", "10");
  Nine.pop_back();
  std::string BrokenHex = Good;
  BrokenHex[BrokenHex.size() - 1] = 'G';

  const std::vector<std::pair<const char*, std::string>> Cases = {
      {"broken sum", SubmitQuery(ScrambleWithCheck(Plain, std::to_string(std::stoll(ByteSum(Plain)) - 1)))},
      {"ent=9", SubmitQuery(Scrambled(Pairs("Fine", "10")), "9")},
      {"nine pairs", SubmitQuery(Scrambled(Nine))},
      {"bad name", SubmitQuery(Scrambled(Pairs("{evil}", "10")))},
      {"long name", SubmitQuery(Scrambled(Pairs("ABCDEFGHIJKLMNOPQ", "10")))},
      {"negative score", SubmitQuery(Scrambled(Pairs("Fine", "-10")))},
      {"huge score", SubmitQuery(Scrambled(Pairs("Fine", "10000000000")))},
      {"broken hex", BrokenHex},
      {"truncated escape", Good.substr(0, Good.size() - 2)},
      {"plain byte", Good + "A"},
      {"wrong game", "game=vyrm" + Good.substr(9)},
  };
  for (const auto& [What, Query] : Cases) {
    const THttpAnswer Answer = RawGet(Server.Port, "/submit_hi.php?" + Query);
    EXPECT_EQ(Answer.Status, 400) << What;
    EXPECT_EQ(Answer.Body.rfind("refused: ", 0), 0u) << What << ": " << Answer.Body;
  }
  // A request far beyond anything the game sends is cut off, too.
  EXPECT_GE(RawGet(Server.Port, "/submit_hi.php?" + Good + std::string(20000, 'A')).Status, 400);
  EXPECT_EQ(Rows(), 0);

  // The control: the same submission unbroken is taken.
  const THttpAnswer Answer = RawGet(Server.Port, "/submit_hi.php?" + Good);
  EXPECT_EQ(Answer.Status, 200) << Answer.Body;
  EXPECT_EQ(Answer.Body, "OK, 10 new\n");
  EXPECT_EQ(Rows(), 10);
}

TEST_F(SubmitEndToEndTest, OneAddressGets30SubmissionsAMinuteThen429) {
  ASSERT_GT(Server.Port, 0);
  const std::string Target = "/submit_hi.php?" + ValidQuery();
  for (int I = 0; I < 30; ++I) ASSERT_EQ(RawGet(Server.Port, Target).Status, 200) << I;
  const THttpAnswer Refused = RawGet(Server.Port, Target);
  EXPECT_EQ(Refused.Status, 429);
  // The game sees the refusal as a failed submission; the page still works.
  THighScore Table(Folder.Path);
  Table.Endpoint = "http://127.0.0.1:" + std::to_string(Server.Port);
  EXPECT_FALSE(Table.Submit());
  EXPECT_EQ(RawGet(Server.Port, "/").Status, 200);
  EXPECT_EQ(Rows(), 10);
}

TEST_F(SubmitEndToEndTest, StopsCleanlyOnSigtermAndKeepsWhatItAcknowledged) {
  ASSERT_GT(Server.Port, 0);
  ASSERT_EQ(RawGet(Server.Port, "/submit_hi.php?" + ValidQuery()).Status, 200);
  const int Status = Server.Stop(SIGTERM);
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
  EXPECT_EQ(Rows(), 10);
}

TEST_F(SubmitEndToEndTest, AClientThatStallsMidRequestIsCutOffAndOthersAreServed) {
  ASSERT_GT(Server.Port, 0);
  const int Socket = ConnectLoopback(Server.Port);
  ASSERT_GE(Socket, 0);
  const std::string Half = "GET /submit_hi.php?game=vyrn";
  ASSERT_EQ(::send(Socket, Half.data(), Half.size(), MSG_NOSIGNAL), static_cast<ssize_t>(Half.size()));

  EXPECT_EQ(RawGet(Server.Port, "/").Status, 200);

  // The server gives up on the stalled request after its 5 s read limit.
  const auto Start = std::chrono::steady_clock::now();
  pollfd Poll{Socket, POLLIN, 0};
  ASSERT_EQ(::poll(&Poll, 1, 10000), 1);
  char Byte;
  EXPECT_LE(::recv(Socket, &Byte, 1, 0), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(8));
  ::close(Socket);
  EXPECT_EQ(Rows(), 0);
}
