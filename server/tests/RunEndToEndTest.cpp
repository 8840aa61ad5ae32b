// The run path end to end: the game's recorder and its real submission code
// (libcurl) hand a game to the real server, which plays it back in its
// checker process, marks the score verified and offers the run for download.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "RunMaker.h"
#include "ServerTestUtil.h"
#include "persist/TestFolder.h"
#include "platform/sdl/CurlHttp.h"

namespace {
// The run's state once its check is done (or "queued" after WaitMs).
std::string WaitForVerdict(int Port, const std::string& Id, std::string& Json, int WaitMs = 60000) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
  while (std::chrono::steady_clock::now() < Deadline) {
    Json = RawGet(Port, "/api/runs/" + Id).Body;
    if (Json.find("\"state\":\"queued\"") == std::string::npos && !Json.empty()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const std::size_t At = Json.find("\"state\":\"");
  return At == std::string::npos ? "" : Json.substr(At + 9, Json.find('"', At + 9) - At - 9);
}
}  // namespace

TEST(RunEndToEnd, TheGamesSubmissionHandsInItsRunAndTheServerVerifiesListsAndOffersIt) {
  ::setenv("NO_PROXY", "127.0.0.1", 1);
  TTestFolder Folder;
  TMessageCapture Boxes;
  const std::string Db = Folder.File("scores.db");
  TServerProcess Server(Db, 30, {"--pak", VYRN_GAME_PAK});
  ASSERT_GT(Server.Port, 0);
  TCurlHttpClient Curl(2000, 4000);
  IHttpClient* Old = SetHttpClient(&Curl);
  const std::string Game = Folder.File("game");
  std::filesystem::create_directories(Game);
  bool Sent = false, RunAccepted = false;
  const TMadeRun Made =
      RecordGoldenGame(Golden("complete_level1"), Game, [&](const TReplayRecorder& Recorder, const TMainForm& Form) {
        // What the program installs for the high-score list's submit key.
        SetHighScoreRunSource(LatestRunSource(Recorder, Form, Game));
        THighScore Table(Game);
        Table.Endpoint = "http://127.0.0.1:" + std::to_string(Server.Port);
        Sent = Table.Submit();
        RunAccepted = Table.RunAccepted;
        SetHighScoreRunSource(nullptr);
      });
  SetHttpClient(Old);
  ASSERT_TRUE(Made.Claimed);
  ASSERT_TRUE(Sent);
  ASSERT_TRUE(RunAccepted);

  std::string Json;
  EXPECT_EQ(WaitForVerdict(Server.Port, "1", Json), "verified") << Json;
  EXPECT_NE(Json.find("\"name\":\"ANNA\",\"score\":5849"), std::string::npos) << Json;

  // The listing marks that entry alone, with the run beside it; the fields
  // it always had come first, unchanged.
  const THttpAnswer Scores = RawGet(Server.Port, "/api/scores");
  ASSERT_EQ(Scores.Status, 200);
  EXPECT_NE(Scores.Body.find("\"name\":\"ANNA\",\"score\":5849,\"date\":\""), std::string::npos) << Scores.Body;
  EXPECT_NE(Scores.Body.find("\"verified\":true,\"run\":\"/runs/1.vrp\"}"), std::string::npos) << Scores.Body;
  std::size_t Marked = 0;
  for (std::size_t At = 0; (At = Scores.Body.find("\"verified\":true", At)) != std::string::npos; ++At) ++Marked;
  EXPECT_EQ(Marked, 1u);
  EXPECT_NE(Scores.Body.find("\"verified\":false"), std::string::npos);

  // The download is the run as the game sent it, and the file is kept.
  const THttpAnswer File = RawGet(Server.Port, "/runs/1.vrp");
  ASSERT_EQ(File.Status, 200);
  EXPECT_EQ(File.Body, Made.Bytes);
  EXPECT_TRUE(std::filesystem::exists(Folder.File("runs/1.vrp")));
  EXPECT_EQ(RawGet(Server.Port, "/runs/2.vrp").Status, 404);

  // A run whose claim is not what its game ended with: refused, with why,
  // not listed and not offered.
  const THttpAnswer Wrong = RawPost(Server.Port, "/api/runs?name=ANNA&score=9999", Made.Bytes);
  ASSERT_EQ(Wrong.Status, 202) << Wrong.Body;
  EXPECT_EQ(WaitForVerdict(Server.Port, "2", Json), "refused") << Json;
  EXPECT_NE(Json.find("ends with a score of 5849, the run claims 9999"), std::string::npos) << Json;
  EXPECT_EQ(RawGet(Server.Port, "/runs/2.vrp").Status, 404);
  EXPECT_EQ(RawGet(Server.Port, "/api/scores").Body.find("9999"), std::string::npos);
  // Not a replay at all: refused at the door.
  EXPECT_EQ(RawPost(Server.Port, "/api/runs?name=ANNA&score=5849", "hello").Status, 400);

  // The same table served with --verified-only lists the verified entry alone.
  TServerProcess Strict(Db, 30, {"--verified-only"});
  ASSERT_GT(Strict.Port, 0);
  const std::string Only = RawGet(Strict.Port, "/api/scores").Body;
  EXPECT_NE(Only.find("{\"place\":1,\"name\":\"ANNA\",\"score\":5849,"), std::string::npos) << Only;
  EXPECT_EQ(Only.find("\"place\":2"), std::string::npos) << Only;
  // A server without the archive takes no runs.
  EXPECT_EQ(RawPost(Strict.Port, "/api/runs?name=ANNA&score=5849", Made.Bytes).Status, 501);
}

// Runs still waiting when the server stops (the checks under way are cut
// short) are checked after the next start: none is lost.
TEST(RunEndToEnd, RunsWaitingAtAStopAreCheckedAfterTheRestart) {
  TTestFolder Folder;
  TMessageCapture Boxes;
  const std::string Game = Folder.File("game");
  std::filesystem::create_directories(Game);
  const TMadeRun Made = RecordGoldenGame(Golden("complete_level1"), Game);
  ASSERT_TRUE(Made.Claimed);
  const std::string Db = Folder.File("scores.db");
  const std::string Target = "/api/runs?name=ANNA&score=5849";
  {
    TServerProcess Server(Db, 0, {"--pak", VYRN_GAME_PAK, "--verify-workers", "1"});
    ASSERT_GT(Server.Port, 0);
    for (int I = 0; I < 3; ++I) ASSERT_EQ(RawPost(Server.Port, Target, Made.Bytes).Status, 202);
    // At once: the first check has barely started, the others wait.
    EXPECT_EQ(WIFEXITED(Server.Stop(SIGTERM)), true);
  }
  EXPECT_EQ(TDatabase(Db).One("SELECT count(*) FROM runs WHERE state = 0"), "3");
  TServerProcess Again(Db, 0, {"--pak", VYRN_GAME_PAK});
  ASSERT_GT(Again.Port, 0);
  std::string Json;
  for (const char* Id : {"1", "2", "3"}) EXPECT_EQ(WaitForVerdict(Again.Port, Id, Json), "verified") << Json;
}
