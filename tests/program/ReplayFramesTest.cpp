// The pictures of the golden games: every frame the window would show,
// hashed step by step and compared with sums recorded from an earlier
// build, so that work on the drawing and presenting path cannot change a
// single pixel unseen. VYRN_RECORD_FRAME_SUMS=1 writes the sums anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/MessageBox.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayFormat.h"
#include "program/ReplayPlayer.h"

namespace {

// A word-wise mix rather than a byte-wise one: every step hashes the whole
// 800 x 600 screen.
std::uint64_t HashScreen(const TScreen& Screen, std::uint64_t H) {
  const std::vector<std::uint8_t>& P = Screen.Pixels();
  std::size_t I = 0;
  for (; I + 8 <= P.size(); I += 8) {
    std::uint64_t W;
    std::memcpy(&W, P.data() + I, 8);
    H = (H ^ W) * 0x9E3779B97F4A7C15ull;
    H ^= H >> 29;
  }
  for (; I < P.size(); ++I) H = (H ^ P[I]) * 0x100000001B3ull;
  return H;
}

constexpr std::uint32_t StepsPerSum = 100;

// One sum per StepsPerSum steps of the replay, each folding in the screen
// after every one of those steps, and one for the rest at the end.
std::vector<std::uint64_t> FrameSums(const std::string& ReplayPath, std::string& Problem) {
  const TReplay Replay = LoadReplay(ReplayPath);
  TRecordingMessageBox Box;
  SetMessageBoxHandler(&Box);
  std::vector<std::uint64_t> Sums;
  const std::string Folder = MakeReplayFolder();
  {
    THeadlessSession Session(VYRN_GAME_PAK, Folder);
    TMainForm& Form = Session.Form();
    TReplayPlayer Player(Replay, Form);
    std::uint64_t H = 0;
    std::uint32_t Steps = 0;
    if (Player.PrepareFolder(Folder) && Player.Start())
      while (Player.Step()) {
        H = HashScreen(Session.Screen, H);
        if (++Steps % StepsPerSum == 0) {
          Sums.push_back(H);
          H = 0;
        }
      }
    Sums.push_back(H);
    Problem = Player.Problem();
    Form.FormDestroy();
  }
  RemoveReplayFolder(Folder);
  SetMessageBoxHandler(nullptr);
  return Sums;
}

std::string SumsFile(const char* Name) { return std::string(VYRN_REPLAYS) + "/" + Name + ".frames"; }

void CheckFrames(const char* Name) {
  std::string Problem;
  const std::vector<std::uint64_t> Sums = FrameSums(std::string(VYRN_REPLAYS) + "/" + Name + ".vrp", Problem);
  ASSERT_EQ(Problem, "");
  ASSERT_GT(Sums.size(), 5u);
  if (const char* Record = std::getenv("VYRN_RECORD_FRAME_SUMS"); Record && std::string(Record) == "1") {
    std::ofstream Out(SumsFile(Name));
    for (std::uint64_t S : Sums) Out << std::hex << S << "\n";
    ASSERT_TRUE(Out.good());
    GTEST_SKIP() << "recorded " << SumsFile(Name);
  }
  std::ifstream In(SumsFile(Name));
  ASSERT_TRUE(In.good()) << SumsFile(Name);
  std::vector<std::uint64_t> Recorded;
  std::uint64_t V;
  while (In >> std::hex >> V) Recorded.push_back(V);
  ASSERT_EQ(Sums.size(), Recorded.size()) << "the replay took another number of steps";
  for (std::size_t I = 0; I < Sums.size(); ++I)
    EXPECT_EQ(Sums[I], Recorded[I]) << "a frame differs between steps " << I * StepsPerSum << " and "
                                    << (I + 1) * StepsPerSum;
}

}  // namespace

TEST(ReplayFrames, OnePlayerGameShowsTheRecordedPictures) { CheckFrames("complete_level1"); }

TEST(ReplayFrames, CheatedLevelEndShowsTheRecordedPictures) { CheckFrames("cheat_complete_level1"); }

TEST(ReplayFrames, TwoPlayerGameShowsTheRecordedPictures) { CheckFrames("twoplayers_death"); }
