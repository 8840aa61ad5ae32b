// The high-score submission through libcurl against a server inside the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "LocalHttpServer.h"
#include "persist/TestFolder.h"
#include "common/CommonTypes.h"
#include "persist/HighScore.h"
#include "common/Scramble.h"
#include "platform/sdl/CurlHttp.h"

namespace {
std::string Encode(const std::string& Bytes) {
  std::string Out;
  char Hex[4];
  for (char C : Bytes) {
    std::snprintf(Hex, sizeof Hex, "%%%02X", static_cast<unsigned char>(C));
    Out += Hex;
  }
  return Out;
}

class SubmitOverHttpTest : public ::testing::Test {
protected:
  SubmitOverHttpTest() : FOld(SetHttpClient(&Curl)) { ::setenv("NO_PROXY", "127.0.0.1", 1); }
  ~SubmitOverHttpTest() override { SetHttpClient(FOld); }

  TTestFolder Folder;
  TMessageCapture Boxes;
  TCurlHttpClient Curl{1000, 1500};

private:
  IHttpClient* FOld;
};
}  // namespace

TEST_F(SubmitOverHttpTest, BothRequestsArriveByteForByte) {
  TLocalHttpServer Server;
  ASSERT_NE(Server.Port, 0);
  THighScore Table(Folder.Path);
  Table.Insert("Ann", 123456);
  Table.Entries[12].Name = "\xFF\x01!";
  Table.Endpoint = Server.Url();

  // The pads come from the generator: replay it to know the exact bytes.
  RandSeed = 31337;
  std::string First = "3", Second = "3";
  for (int I = 0; I < 10; ++I) First += Table.Entries[I].Name + "," + std::to_string(Table.Entries[I].Score) + ",";
  for (int I = 10; I < 20; ++I) Second += Table.Entries[I].Name + "," + std::to_string(Table.Entries[I].Score) + ",";
  ScrambleText(First);
  ScrambleText(Second);
  RandSeed = 31337;

  EXPECT_TRUE(Table.Submit());
  const std::vector<std::string> Expected = {
      "GET /submit_hi.php?game=vyrn&ent=10&hifile=" + Encode(First) + " HTTP/1.1",
      "GET /submit_hi.php?game=vyrn&ent=10&hifile=" + Encode(Second) + " HTTP/1.1"};
  EXPECT_EQ(Server.RequestLines(), Expected);
}

TEST_F(SubmitOverHttpTest, FailedFirstRequestSendsNothingMore) {
  TLocalHttpServer Server({500});
  THighScore Table(Folder.Path);
  Table.Endpoint = Server.Url();
  EXPECT_FALSE(Table.Submit());
  EXPECT_EQ(Server.RequestLines().size(), 1u);
}

TEST_F(SubmitOverHttpTest, FailedSecondRequestFailsTheSubmission) {
  TLocalHttpServer Server({200, 404});
  THighScore Table(Folder.Path);
  Table.Endpoint = Server.Url();
  EXPECT_FALSE(Table.Submit());
  EXPECT_EQ(Server.RequestLines().size(), 2u);
}

TEST_F(SubmitOverHttpTest, NoServerOrASilentOneFailsInsteadOfHanging) {
  int Port = 0;
  {
    TLocalHttpServer Closed;
    Port = Closed.Port;
  }
  EXPECT_FALSE(Curl.Get("http://127.0.0.1:" + std::to_string(Port) + "/submit_hi.php"));

  TLocalHttpServer Silent({0});
  const auto Start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Curl.Get(Silent.Url() + "/submit_hi.php"));
  const auto Waited = std::chrono::steady_clock::now() - Start;
  EXPECT_LT(Waited, std::chrono::seconds(5));
  EXPECT_EQ(Silent.RequestLines().size(), 1u);
}
