// The leaderboard in a real browser: headless Chromium renders the page from
// a running vyrn-scores; the test reads the rendered DOM and keeps a
// screenshot (leaderboard.png in the test's build folder) to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "RunMaker.h"
#include "ServerTestUtil.h"
#include "persist/HighScore.h"
#include "persist/TestFolder.h"
#include "platform/sdl/CurlHttp.h"

namespace {
// Runs a command with a time limit and returns what it printed.
std::string Capture(const std::string& Command) {
  std::string Out;
  FILE* Pipe = ::popen(Command.c_str(), "r");
  if (!Pipe) return Out;
  char Buffer[4096];
  std::size_t Got;
  while ((Got = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Out.append(Buffer, Got);
  ::pclose(Pipe);
  return Out;
}

std::string Chromium(const std::string& Profile, const std::string& Arguments) {
  // --no-sandbox: CI runs as root, where Chromium's sandbox refuses to start.
  return "timeout 90 chromium --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --no-first-run"
         " --disable-extensions --disable-background-networking --user-data-dir=" +
         Profile + " " + Arguments + " 2>/dev/null";
}
}  // namespace

TEST(BrowserTest, RenderedPageShowsTheNamesInOrderAndMarkupAsText) {
  ASSERT_EQ(std::system("command -v chromium >/dev/null 2>&1"), 0)
      << "chromium is missing: run scripts/install-deps.sh";
  ::setenv("NO_PROXY", "127.0.0.1", 1);
  TTestFolder Folder;
  TMessageCapture Boxes;
  TServerProcess Server(Folder.File("scores.db"));
  ASSERT_GT(Server.Port, 0);

  TCurlHttpClient Curl(2000, 4000);
  IHttpClient* Old = SetHttpClient(&Curl);
  THighScore Table(Folder.Path);
  Table.Insert("Ann", 250000);
  Table.Insert("<script>", 150000);
  Table.Insert("Zoe_the|best", 99000);
  Table.Endpoint = "http://127.0.0.1:" + std::to_string(Server.Port);
  const bool Sent = Table.Submit();
  SetHttpClient(Old);
  ASSERT_TRUE(Sent);

  const std::string Url = "http://127.0.0.1:" + std::to_string(Server.Port) + "/";
  const std::string Dom = Capture(Chromium(Folder.File("profile"), "--dump-dom " + Url));
  ASSERT_NE(Dom.find("<td class=\"name\">"), std::string::npos) << Dom.substr(0, 2000);

  // No script element came out of the names; the name is text.
  EXPECT_EQ(Dom.find("<script"), std::string::npos);
  EXPECT_NE(Dom.find("<td class=\"name\">&lt;script&gt;</td>"), std::string::npos);
  // The all-time table lists the whole submitted table in the table's order.
  const std::size_t Recent = Dom.find("id=\"recent\"");
  std::size_t At = Dom.find("id=\"all-time\"");
  ASSERT_NE(At, std::string::npos);
  int Place = 0;
  for (const auto& Entry : Table.Entries) {
    const std::string Name = Entry.Name == "<script>" ? "&lt;script&gt;" : Entry.Name;
    const std::string Row = "<tr><td class=\"place\">" + std::to_string(++Place) + "</td><td class=\"name\">" + Name +
                            "</td><td class=\"score\">" + std::to_string(Entry.Score) + "</td>";
    const std::size_t Found = Dom.find(Row, At);
    ASSERT_NE(Found, std::string::npos) << Row;
    EXPECT_LT(Found, Recent) << Row;
    At = Found + 1;
  }

  const std::string Shot = (std::filesystem::current_path() / "leaderboard.png").string();
  std::filesystem::remove(Shot);
  Capture(Chromium(Folder.File("profile"), "--hide-scrollbars --window-size=1100,1000 --screenshot=" + Shot + " " + Url));
  std::ifstream Png(Shot, std::ios::binary);
  char Signature[8] = {};
  Png.read(Signature, 8);
  EXPECT_EQ(std::string(Signature, 8), "\x89PNG\r\n\x1A\n");
  EXPECT_GT(std::filesystem::exists(Shot) ? std::filesystem::file_size(Shot) : 0, 10000u);
}

// A verified score in the browser: the mark beside it, and its link leads to
// the run file itself.
TEST(BrowserTest, AVerifiedScoreShowsItsMarkAndItsRunDownloads) {
  ASSERT_EQ(std::system("command -v chromium >/dev/null 2>&1"), 0)
      << "chromium is missing: run scripts/install-deps.sh";
  ::setenv("NO_PROXY", "127.0.0.1", 1);
  TTestFolder Folder;
  TMessageCapture Boxes;
  TServerProcess Server(Folder.File("scores.db"), 30, {"--pak", VYRN_GAME_PAK});
  ASSERT_GT(Server.Port, 0);
  const std::string Game = Folder.File("game");
  std::filesystem::create_directories(Game);
  TCurlHttpClient Curl(2000, 4000);
  IHttpClient* Old = SetHttpClient(&Curl);
  bool Sent = false;
  const TMadeRun Made =
      RecordGoldenGame(Golden("complete_level1"), Game, [&](const TReplayRecorder& Recorder, const TMainForm& Form) {
        SetHighScoreRunSource(LatestRunSource(Recorder, Form, Game));
        THighScore Table(Game);
        Table.Endpoint = "http://127.0.0.1:" + std::to_string(Server.Port);
        Sent = Table.Submit() && Table.RunAccepted;
        SetHighScoreRunSource(nullptr);
      });
  SetHttpClient(Old);
  ASSERT_TRUE(Sent);
  for (int I = 0; I < 600 && RawGet(Server.Port, "/api/runs/1").Body.find("\"queued\"") != std::string::npos; ++I)
    ::usleep(100000);

  const std::string Url = "http://127.0.0.1:" + std::to_string(Server.Port) + "/";
  const std::string Dom = Capture(Chromium(Folder.File("profile"), "--dump-dom " + Url));
  // ANNA's row carries the mark and the link; the default entries do not.
  const std::string Row = "<td class=\"name\">ANNA</td><td class=\"score\">5849</td>";
  const std::size_t At = Dom.find(Row);
  ASSERT_NE(At, std::string::npos) << Dom.substr(0, 3000);
  const std::size_t RowEnd = Dom.find("</tr>", At);
  const std::size_t Link = Dom.find("<a class=\"verified\" href=\"", At);
  ASSERT_LT(Link, RowEnd) << Dom.substr(At, RowEnd - At);
  const std::size_t HrefAt = Link + std::strlen("<a class=\"verified\" href=\"");
  const std::string Href = Dom.substr(HrefAt, Dom.find('"', HrefAt) - HrefAt);
  EXPECT_EQ(Href, "/runs/1.vrp");
  std::size_t Marks = 0;
  for (std::size_t P = 0; (P = Dom.find("class=\"verified\"", P)) != std::string::npos; ++P) ++Marks;
  EXPECT_EQ(Marks, 2u);  // all time and the last 30 days

  // The link the page rendered, fetched as a download (curl: headless
  // Chromium saves no downloads): the bytes are the run, a replay the game
  // reads.
  const std::string Saved = Folder.File("saved.vrp");
  Capture("curl -s -o " + Saved + " " + Url.substr(0, Url.size() - 1) + Href);
  std::ifstream In(Saved, std::ios::binary);
  const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  EXPECT_EQ(Bytes, Made.Bytes);
  EXPECT_NO_THROW(LoadReplay(Saved));

  const std::string Shot = (std::filesystem::current_path() / "leaderboard-verified.png").string();
  std::filesystem::remove(Shot);
  Capture(Chromium(Folder.File("profile"), "--hide-scrollbars --window-size=1100,1000 --screenshot=" + Shot + " " + Url));
  EXPECT_TRUE(std::filesystem::exists(Shot));
}
