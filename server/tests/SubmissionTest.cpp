// The submission check: what the game sends is taken, anything else refused
// with a reason.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "Submission.h"
#include "common/CommonTypes.h"
#include "common/Scramble.h"

namespace {
std::vector<std::pair<std::string, std::string>> TenPairs() {
  std::vector<std::pair<std::string, std::string>> Pairs;
  for (int I = 0; I < 10; ++I) Pairs.push_back({"Player" + std::to_string(I), std::to_string(90000 - 1000 * I)});
  return Pairs;
}

// Scrambled with the correct sum, computed here rather than by the game.
std::string GoodQuery(const std::vector<std::pair<std::string, std::string>>& Pairs) {
  const std::string Plain = PlainTable(Pairs);
  return SubmitQuery(ScrambleWithCheck(Plain, ByteSum(Plain)));
}

std::string Refusal(const std::string& Query) {
  TSubmission Submission;
  std::string Reason;
  EXPECT_FALSE(Submission.Parse(Query, Reason)) << Query;
  EXPECT_TRUE(Submission.Entries.empty());
  return Reason;
}
}  // namespace

TEST(SubmissionTest, TakesTheGamesOwnScrambledTable) {
  RandSeed = 4242;
  std::string Bytes = PlainTable(TenPairs());
  ScrambleText(Bytes);
  TSubmission Submission;
  std::string Reason;
  ASSERT_TRUE(Submission.Parse(SubmitQuery(Bytes), Reason)) << Reason;
  ASSERT_EQ(Submission.Entries.size(), 10u);
  EXPECT_EQ(Submission.Entries[0].Name, "Player0");
  EXPECT_EQ(Submission.Entries[0].Score, 90000);
  EXPECT_EQ(Submission.Entries[9].Name, "Player9");
  EXPECT_EQ(Submission.Entries[9].Score, 81000);
}

TEST(SubmissionTest, IndependentScramblingWithTheRightSumIsTakenAndAnyOtherSumIsNot) {
  TSubmission Submission;
  std::string Reason;
  EXPECT_TRUE(Submission.Parse(GoodQuery(TenPairs()), Reason)) << Reason;
  const std::string Plain = PlainTable(TenPairs());
  const std::int64_t Sum = std::stoll(ByteSum(Plain));
  EXPECT_EQ(Refusal(SubmitQuery(ScrambleWithCheck(Plain, std::to_string(Sum + 1)))), "sum check failed");
  EXPECT_EQ(Refusal(SubmitQuery(ScrambleWithCheck(Plain, ""))), "sum check failed");
  EXPECT_EQ(Refusal(SubmitQuery(ScrambleWithCheck(Plain, "x" + std::to_string(Sum)))), "sum check failed");
}

TEST(SubmissionTest, QueryKeysMustBeExactlyTheGames) {
  const std::string File = GoodQuery(TenPairs()).substr(std::string("game=vyrn&ent=10&").size());
  TSubmission Submission;
  std::string Reason;
  // Order does not matter.
  EXPECT_TRUE(Submission.Parse("ent=10&" + File + "&game=vyrn", Reason)) << Reason;
  EXPECT_EQ(Refusal("game=other&ent=10&" + File), "wrong game");
  EXPECT_EQ(Refusal("game=vyrn&ent=9&" + File), "wrong entry count");
  EXPECT_EQ(Refusal("game=vyrn&ent=010&" + File), "wrong entry count");
  EXPECT_EQ(Refusal("game=vyrn&" + File), "missing query key");
  EXPECT_EQ(Refusal("game=vyrn&game=vyrn&ent=10&" + File), "repeated query key");
  EXPECT_EQ(Refusal("game=vyrn&ent=10&x=1&" + File), "unknown query key");
  EXPECT_EQ(Refusal("game=vyrn&ent=10&" + File + "&"), "malformed query");
  EXPECT_EQ(Refusal(""), "malformed query");
  EXPECT_EQ(Refusal("game=vyrn&ent=10&" + File + std::string(5000, 'A')), "request too long");
}

TEST(SubmissionTest, EveryByteMustBePercentAndTwoHexDigits) {
  const std::string Good = GoodQuery(TenPairs());
  EXPECT_EQ(Refusal(Good.substr(0, Good.size() - 1)), "broken percent-encoding");  // "%4"
  std::string Bad = Good;
  Bad[Bad.size() - 2] = 'Z';
  EXPECT_EQ(Refusal(Bad), "broken percent-encoding");
  // A plain character where the game writes %XX.
  Bad = Good.substr(0, Good.size() - 3) + "A";
  EXPECT_EQ(Refusal(Bad), "broken percent-encoding");
  // Dropping one whole %XX leaves a pad without its data byte.
  EXPECT_EQ(Refusal(Good.substr(0, Good.size() - 3)), "scrambled text cut short");

  std::string Bytes;
  ASSERT_TRUE(DecodeEveryBytePercent("%4a%4A%00%FF", Bytes));
  EXPECT_EQ(Bytes, std::string("JJ\0\xFF", 4));
  EXPECT_FALSE(DecodeEveryBytePercent("%%41", Bytes));
  EXPECT_FALSE(DecodeEveryBytePercent("+41", Bytes));
}

TEST(SubmissionTest, TenPairsNoMoreNoFewerAfterVersionThree) {
  auto Pairs = TenPairs();
  Pairs.pop_back();
  EXPECT_EQ(Refusal(GoodQuery(Pairs)), "wrong entry count");
  Pairs = TenPairs();
  Pairs.push_back({"Extra", "1"});
  EXPECT_EQ(Refusal(GoodQuery(Pairs)), "wrong entry count");

  std::string Plain = PlainTable(TenPairs());
  Plain[0] = '2';
  EXPECT_EQ(Refusal(SubmitQuery(ScrambleWithCheck(Plain, ByteSum(Plain)))), "wrong format version");
  // A name without its score: an odd number of fields.
  Plain = PlainTable(TenPairs()) + "Lonely,";
  EXPECT_EQ(Refusal(SubmitQuery(ScrambleWithCheck(Plain, ByteSum(Plain)))), "wrong entry count");
}

TEST(SubmissionTest, NamesAreWhatTheNameEntryAllows) {
  // Every character the name entry accepts, in names of at most 16.
  const std::string Alphabet = " !'*+-./0123456789:;<>ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz[\\]_|";
  for (std::size_t I = 0; I < Alphabet.size(); I += 16) {
    auto Pairs = TenPairs();
    Pairs[3].first = Alphabet.substr(I, 16);
    TSubmission Submission;
    std::string Reason;
    EXPECT_TRUE(Submission.Parse(GoodQuery(Pairs), Reason)) << Pairs[3].first << ": " << Reason;
  }
  for (int C = 0; C < 256; ++C) {
    const bool Allowed = C != 0 && Alphabet.find(static_cast<char>(C)) != std::string::npos;
    EXPECT_EQ(IsNameCharacter(static_cast<char>(C)), Allowed) << C;
  }

  auto Pairs = TenPairs();
  Pairs[0].first = "";  // a name entered empty is stored empty
  TSubmission Submission;
  std::string Reason;
  EXPECT_TRUE(Submission.Parse(GoodQuery(Pairs), Reason)) << Reason;
  for (const std::string& Bad : {std::string(17, 'a'), std::string("Caf\xE9"), std::string("tab\there"),
                                 std::string("{brace}"), std::string("a\"b"), std::string("&amp;")}) {
    Pairs = TenPairs();
    Pairs[5].first = Bad;
    EXPECT_EQ(Refusal(GoodQuery(Pairs)), "bad name") << Bad;
  }
}

TEST(SubmissionTest, ScoresAreWholeNumbersFromZeroToTenDigits) {
  for (const char* Good : {"0", "7", "9999999999", "0000000001"}) {
    auto Pairs = TenPairs();
    Pairs[9].second = Good;
    TSubmission Submission;
    std::string Reason;
    ASSERT_TRUE(Submission.Parse(GoodQuery(Pairs), Reason)) << Good << ": " << Reason;
    EXPECT_EQ(Submission.Entries[9].Score, std::stoll(Good));
  }
  for (const char* Bad : {"-1", "10000000000", "99999999999999999999", "+5", "", " 5", "5 ", "1e3", "0x10"}) {
    auto Pairs = TenPairs();
    Pairs[9].second = Bad;
    EXPECT_EQ(Refusal(GoodQuery(Pairs)), "bad score") << Bad;
  }
}
