// The leaderboard in a real browser: headless Chromium renders the page from
// a running vyrn-scores; the test reads the rendered DOM and keeps a
// screenshot (leaderboard.png in the test's build folder) to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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
