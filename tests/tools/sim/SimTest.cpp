// vyrn-sim end to end: scripted games on the generated archive, checked
// against what the rules of the game say they must give.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "pak/PakReader.h"

namespace {

struct TRun {
  int Status = -1;
  std::vector<std::string> Lines;
  std::string Output;
};

TRun Sim(const std::string& Arguments) {
  TRun Run;
  const std::string Command = std::string(VYRN_SIM) + " " + Arguments + " 2>/dev/null";
  FILE* Pipe = ::popen(Command.c_str(), "r");
  if (!Pipe) return Run;
  std::array<char, 65536> Buffer{};
  std::size_t N;
  while ((N = std::fread(Buffer.data(), 1, Buffer.size(), Pipe)) > 0) Run.Output.append(Buffer.data(), N);
  const int Raw = ::pclose(Pipe);
  Run.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : -1;
  std::istringstream In(Run.Output);
  for (std::string Line; std::getline(In, Line);) Run.Lines.push_back(Line);
  return Run;
}

std::string Pak() { return std::string("--pak ") + VYRN_GAME_PAK; }
std::string Script(const char* Name) { return std::string("--script ") + VYRN_SIM_SCRIPTS + "/" + Name; }

// The number after "Key": in Line (the first one, which for player fields
// is player 1's).
double Field(const std::string& Line, const std::string& Key) {
  const auto At = Line.find("\"" + Key + "\":");
  if (At == std::string::npos) return NAN;
  return std::strtod(Line.c_str() + At + Key.size() + 3, nullptr);
}
bool Flag(const std::string& Line, const std::string& Key) {
  return Line.find("\"" + Key + "\":true") != std::string::npos;
}

}  // namespace

TEST(SimTest, SameSeedAndScriptGiveTheSameBytes) {
  const std::string Args = Pak() + " --seed 2 --ticks 400 " + Script("death_level1.txt");
  const TRun A = Sim(Args), B = Sim(Args);
  ASSERT_EQ(A.Status, 0);
  EXPECT_EQ(A.Lines.size(), 401u);
  EXPECT_EQ(A.Output, B.Output);
  const TRun Other = Sim(Pak() + " --seed 3 --ticks 400 " + Script("death_level1.txt"));
  EXPECT_NE(A.Output, Other.Output);
  EXPECT_EQ(A.Lines.back(), "{\"final\":true,\"score1\":0,\"score2\":-1}");
}

// A corner cut on level 1: the claim is the rectangle between the border
// (x, y = 20) and the trail's turning points, scored (cells / 49) ^ 1.05.
TEST(SimTest, ClaimOnLevelOne) {
  const TRun Run = Sim(Pak() + " --seed 7 --ticks 200 " + Script("claim_level1.txt"));
  ASSERT_EQ(Run.Status, 0);
  double TurnX = NAN, TurnY = NAN, LastX = NAN;
  bool WasDrawing = false;
  for (std::size_t T = 0; T + 1 < Run.Lines.size(); ++T) {
    const std::string& L = Run.Lines[T];
    EXPECT_EQ(Field(L, "tick"), static_cast<double>(T));
    const double X = Field(L, "x");
    if (Flag(L, "drawing") && !WasDrawing) TurnX = X;
    if (WasDrawing && std::isnan(TurnY) && X < LastX) TurnY = Field(Run.Lines[T - 1], "y");
    WasDrawing = Flag(L, "drawing");
    LastX = X;
    const double Claimed = Field(L, "claimed");
    if (Claimed == 0) continue;
    ASSERT_FALSE(std::isnan(TurnX));
    ASSERT_FALSE(std::isnan(TurnY));
    // The trail lies on the cells of the rounded positions.
    EXPECT_EQ(Claimed, (std::round(TurnX) - 21) * (std::round(TurnY) - 21));
    EXPECT_EQ(Field(L, "score"), std::round(std::pow(Claimed / 49.0, 1.05)));
    EXPECT_FLOAT_EQ(Field(L, "percent"), static_cast<float>(Claimed * 100.0 / 242220.0));
    EXPECT_EQ(std::round(Field(L, "x")), 20);  // closed on the left border
    return;
  }
  FAIL() << "no claim";
}

// The enemy runs into a waiting trail: one life less, the explosion's
// pictures two ticks each, then the marker is back where the trail began.
TEST(SimTest, DeathAndRespawn) {
  std::int32_t Frames = 0;
  for (const TPakDirEntry& E : TPakFileReadable(VYRN_GAME_PAK).ListEntries())
    Frames += E.Name.rfind("explo01_", 0) == 0 && E.Name != "explo01_00.png";
  ASSERT_GT(Frames, 0);
  const TRun Run = Sim(Pak() + " --seed 2 --ticks 400 " + Script("death_level1.txt"));
  ASSERT_EQ(Run.Status, 0);
  std::size_t Death = 0;
  double StartX = NAN, StartY = NAN;
  for (std::size_t T = 1; T + 1 < Run.Lines.size(); ++T) {
    if (Flag(Run.Lines[T], "drawing") && !Flag(Run.Lines[T - 1], "drawing")) {
      StartX = Field(Run.Lines[T - 1], "x");
      StartY = Field(Run.Lines[T - 1], "y");
    }
    if (Flag(Run.Lines[T], "exploding")) {
      Death = T;
      break;
    }
  }
  ASSERT_GT(Death, 0u);
  EXPECT_EQ(Field(Run.Lines[Death], "lives"), 1);
  EXPECT_EQ(Field(Run.Lines[Death - 1], "lives"), 2);
  const std::size_t Respawn = Death + 2 * static_cast<std::size_t>(Frames);
  ASSERT_LT(Respawn, Run.Lines.size());
  EXPECT_TRUE(Flag(Run.Lines[Respawn - 1], "exploding"));
  const std::string& Back = Run.Lines[Respawn];
  EXPECT_FALSE(Flag(Back, "exploding"));
  EXPECT_FALSE(Flag(Back, "drawing"));
  EXPECT_EQ(Field(Back, "x"), StartX);
  EXPECT_EQ(Field(Back, "y"), StartY);
  EXPECT_EQ(Field(Back, "lives"), 1);
  EXPECT_EQ(Field(Back, "claimed"), 0);
}

TEST(SimTest, BadInputIsRefused) {
  EXPECT_EQ(Sim("").Status, 1);                                      // no seed
  EXPECT_EQ(Sim(Pak() + " --seed x").Status, 1);                      // not a number
  EXPECT_EQ(Sim(Pak() + " --seed 1 --players 3").Status, 1);          // one or two
  EXPECT_EQ(Sim(Pak() + " --seed 1 --level 30").Status, 1);           // 29 levels
  EXPECT_EQ(Sim("--pak /no/such.pak --seed 1").Status, 1);            // no archive
  EXPECT_EQ(Sim(Pak() + " --seed 1 --script /no/such/script").Status, 1);
  EXPECT_EQ(Sim(Pak() + " --seed 1 --claimed -1").Status, 1);
  EXPECT_EQ(Sim(Pak() + " --seed 1 --bogus 1").Status, 1);
  const TRun Short = Sim(Pak() + " --seed 1 --ticks 3");
  EXPECT_EQ(Short.Status, 0);
  EXPECT_EQ(Short.Lines.size(), 4u);
}

// Level 1 played to its target: the countdown runs from 180 in the tick of
// the claim, the bonus lands at 70 (half the time left, plus 300 per whole
// percent beyond 100), the game waits there for a key, and 70 ticks after
// the key level 2 starts afresh.
TEST(SimTest, LevelCompletedWithBonusAndNextLevel) {
  const TRun Run = Sim(Pak() + " --seed 5 --lives 9 --ticks 1800 " + Script("complete_level1.txt"));
  ASSERT_EQ(Run.Status, 0);
  std::size_t Done = 0;
  for (std::size_t T = 0; T + 1 < Run.Lines.size() && !Done; ++T)
    if (Field(Run.Lines[T], "percent") >= 100) Done = T;
  ASSERT_GT(Done, 0u);
  const std::string& At = Run.Lines[Done];
  EXPECT_EQ(Field(At, "end_countdown"), 179);
  EXPECT_TRUE(Flag(At, "frozen"));
  const double TimeLeft = Field(At, "time_bonus");
  const double Bonus = std::floor(TimeLeft / 2) + (std::floor(Field(At, "percent")) - 100) * 300;
  const std::string& Before = Run.Lines[Done + 108];
  const std::string& Award = Run.Lines[Done + 109];
  EXPECT_EQ(Field(Before, "end_countdown"), 71);
  EXPECT_EQ(Field(Award, "end_countdown"), 70);
  EXPECT_EQ(Field(Award, "score") - Field(Before, "score"), Bonus);
  EXPECT_EQ(Field(Award, "time_bonus"), TimeLeft);  // no ticking after the claim
  // Waiting for the key (pressed before tick 1620).
  EXPECT_EQ(Field(Run.Lines[1619], "end_countdown"), 70);
  EXPECT_EQ(Field(Run.Lines[1620], "end_countdown"), 69);
  const std::string& Next = Run.Lines[1620 + 69];
  EXPECT_EQ(Field(Run.Lines[1620 + 68], "level"), 1);
  EXPECT_EQ(Field(Next, "level"), 2);
  EXPECT_EQ(Field(Next, "claimed"), 0);
  EXPECT_EQ(Field(Next, "time_bonus"), 2000);
  EXPECT_EQ(Field(Next, "x"), 20);
  EXPECT_EQ(Field(Next, "y"), 20);
  EXPECT_EQ(Field(Next, "score"), Field(Award, "score"));
  EXPECT_FALSE(Flag(Next, "ended"));
}

// The last level of a game started with the lives word: the closing claim
// completes it, the bonus counts level 29, and instead of a level 30 the
// game ends when the countdown runs out.
TEST(SimTest, LastLevelCompletedEndsTheGame) {
  constexpr double Preset = 265500;
  const TRun Run = Sim(Pak() + " --seed 5 --level 29 --lives 9 --claimed 265500 --ticks 1000 " +
                       Script("complete_level29.txt"));
  ASSERT_EQ(Run.Status, 0);
  std::size_t Done = 0;
  int Playing = 0;  // ticks out of the title and before the claim: the time bonus ran in each
  for (std::size_t T = 0; T + 1 < Run.Lines.size() && !Done; ++T) {
    if (Field(Run.Lines[T], "claimed") > Preset) Done = T;
    else Playing += !Flag(Run.Lines[T], "frozen");
  }
  ASSERT_GT(Done, 0u);
  const std::string& At = Run.Lines[Done];
  const double Claimed = Field(At, "claimed");
  EXPECT_EQ(Field(At, "score"), std::round(std::pow((Claimed - Preset) / 21.0, 1.05)));
  // The target from level 20 on: 81 % of the 600 x 550 board.
  EXPECT_FLOAT_EQ(Field(At, "percent"), static_cast<float>(Claimed * 100.0 / 267300.0));
  EXPECT_EQ(Field(At, "end_countdown"), 179);
  EXPECT_EQ(Field(At, "lives"), 9);
  const double TimeLeft = Field(At, "time_bonus");
  EXPECT_EQ(TimeLeft, 2000 - Playing);
  const double Beyond = std::floor(Field(At, "percent")) - 100;
  ASSERT_GE(Beyond, 1);  // so that the percent part of the bonus shows
  // The bonus screen from 90 to 66, the bonus itself at 70.
  for (std::size_t T = Done; T + 1 < Run.Lines.size(); ++T) {
    const double Count = Field(Run.Lines[T], "end_countdown");
    EXPECT_EQ(Flag(Run.Lines[T], "bonus_shown"), Count <= 90 && Count >= 66) << T;
  }
  const std::string& Before = Run.Lines[Done + 108];
  const std::string& Award = Run.Lines[Done + 109];
  EXPECT_EQ(Field(Before, "end_countdown"), 71);
  EXPECT_EQ(Field(Award, "end_countdown"), 70);
  EXPECT_EQ(Field(Award, "score") - Field(Before, "score"), std::floor(TimeLeft / 2) * 29 + Beyond * 300);
  // Waiting for the key of tick 300, then 69 ticks to the end.
  EXPECT_TRUE(Flag(Run.Lines[299], "wait_for_key"));
  EXPECT_EQ(Field(Run.Lines[299], "end_countdown"), 70);
  EXPECT_EQ(Field(Run.Lines[300], "end_countdown"), 69);
  const std::size_t End = 300 + 69;
  ASSERT_EQ(Run.Lines.size(), End + 2);  // the last tick, then the final line
  EXPECT_FALSE(Flag(Run.Lines[End - 1], "ended"));
  EXPECT_TRUE(Flag(Run.Lines[End], "ended"));
  EXPECT_EQ(Field(Run.Lines[End], "level"), 29);
  EXPECT_EQ(Run.Lines.back(), "{\"final\":true,\"score1\":" +
                                  std::to_string(static_cast<long long>(Field(Award, "score"))) +
                                  ",\"score2\":-1}");
}
