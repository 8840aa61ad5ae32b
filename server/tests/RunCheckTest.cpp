// Recorded games played back by the server's checker: the game's own run
// passes; a changed event, another build, a wrong score or name, a whole
// session and a damaged file are refused, each with its reason.
#include <gtest/gtest.h>

#include <optional>

#include "RunCheck.h"
#include "RunMaker.h"
#include "persist/TestFolder.h"
#include "platform/VirtualKeys.h"
#include "program/ReplayFolder.h"
#include "program/ReplayPlayer.h"

namespace {
class RunCheckTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    TTestFolder Folder;
    TMessageCapture Boxes;
    Run = RecordGoldenGame(Golden("complete_level1"), Folder.Path);
  }
  static TRunVerdict Check(const std::string& Bytes, const std::string& Name, std::int64_t Score) {
    TMessageCapture Boxes;
    return CheckRun(Bytes, VYRN_GAME_PAK, Name, Score);
  }
  static TMadeRun Run;
};
TMadeRun RunCheckTest::Run;
}  // namespace

TEST_F(RunCheckTest, TheGamesOwnRecordingOfAGameClaimsItsEntryAndIsVerified) {
  ASSERT_TRUE(Run.Claimed);
  EXPECT_EQ(Run.Name, "ANNA");
  EXPECT_EQ(Run.Score, 5849);
  const TReplay Replay = ParseReplay(reinterpret_cast<const std::uint8_t*>(Run.Bytes.data()), Run.Bytes.size());
  EXPECT_EQ(Replay.Start, TReplayStart::OnePlayerGame);
  // Not the splash and menu before the game: those ticks are left out.
  const TReplay Session = LoadReplay(Golden("complete_level1"));
  EXPECT_LT(Replay.Records.size(), Session.Records.size());
  // Nor the menu after it: it ends as the table takes the name, a short
  // while after the key that confirmed it.
  std::optional<TReplayRecord> LastKey;
  int TicksAfter = 0;
  for (const TReplayRecord Record : Replay.Records) {
    if (Record.Kind != TReplayRecordKind::Event) continue;
    if (Record.Event.Kind == TInputKind::Timer) ++TicksAfter;
    else if (Record.Event.Kind == TInputKind::KeyDown || Record.Event.Kind == TInputKind::KeyUp) {
      LastKey = Record;
      TicksAfter = 0;
    }
  }
  ASSERT_TRUE(LastKey.has_value());
  EXPECT_EQ(LastKey->Event.Code, Vk::Return);
  EXPECT_LT(TicksAfter, 100);  // the session went on for about 200 more
  const TRunVerdict Verdict = Check(Run.Bytes, "ANNA", 5849);
  EXPECT_TRUE(Verdict.Verified) << Verdict.Reason;
  EXPECT_GT(Verdict.Ticks, 1500u);
}

TEST_F(RunCheckTest, AChangedEventIsRefusedAsNotPlayingBack) {
  ASSERT_TRUE(Run.Claimed);
  const std::string Changed = Altered(Run.Bytes, [](TReplay& R) {
    for (std::size_t I = 0; I < R.Records.size(); ++I) {
      TReplayRecord Rec = R.Records[I];
      if (Rec.Kind == TReplayRecordKind::Event && Rec.Event.Kind == TInputKind::KeyDown && Rec.Event.Code == Vk::Down) {
        Rec.Event.Code = Vk::Up;  // the first turn down becomes a turn up
        R.Records.Set(I, Rec);
        break;
      }
    }
  });
  const TRunVerdict Verdict = Check(Changed, "ANNA", 5849);
  EXPECT_FALSE(Verdict.Verified);
  EXPECT_NE(Verdict.Reason.find("does not play back"), std::string::npos) << Verdict.Reason;
}

TEST_F(RunCheckTest, ARunOfAnotherBuildIsRefusedNamingBothBuilds) {
  const std::string Other = Altered(Run.Bytes, [](TReplay& R) { R.BuildId = "vyrn-0.9-other"; });
  const TRunVerdict Verdict = Check(Other, "ANNA", 5849);
  EXPECT_FALSE(Verdict.Verified);
  EXPECT_NE(Verdict.Reason.find("\"vyrn-0.9-other\""), std::string::npos) << Verdict.Reason;
}

TEST_F(RunCheckTest, AClaimThatIsNotWhatTheGameEndedWithIsRefused) {
  TRunVerdict Verdict = Check(Run.Bytes, "ANNA", 5850);
  EXPECT_FALSE(Verdict.Verified);
  EXPECT_NE(Verdict.Reason.find("ends with a score of 5849, the run claims 5850"), std::string::npos) << Verdict.Reason;
  // The right score under a name nobody typed.
  Verdict = Check(Run.Bytes, "OTTO", 5849);
  EXPECT_FALSE(Verdict.Verified);
  EXPECT_NE(Verdict.Reason.find("not entered in the table as \"OTTO\""), std::string::npos) << Verdict.Reason;
}

TEST_F(RunCheckTest, CutShortSessionAndDamagedRunsAreRefused) {
  // Cut before the game ends: the claim is never reached.
  const std::string Short = Altered(Run.Bytes, [](TReplay& R) {
    const std::size_t Keep = R.Records.size() / 3;
    while (R.Records.size() > Keep) R.Records.Erase(R.Records.size() - 1);
  });
  TRunVerdict Verdict = Check(Short, "ANNA", 5849);
  EXPECT_FALSE(Verdict.Verified);
  EXPECT_NE(Verdict.Reason.find("before its game"), std::string::npos) << Verdict.Reason;
  // A whole session (the splash and menu) is not a run.
  std::ifstream In(Golden("complete_level1"), std::ios::binary);
  const std::string Session((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  Verdict = Check(Session, "ANNA", 5849);
  EXPECT_NE(Verdict.Reason.find("does not start with its game"), std::string::npos) << Verdict.Reason;
  // One flipped byte breaks the closing hash.
  std::string Damaged = Run.Bytes;
  Damaged[Damaged.size() / 2] ^= 0x40;
  Verdict = Check(Damaged, "ANNA", 5849);
  EXPECT_FALSE(Verdict.Verified);
  EXPECT_NE(Verdict.Reason.find("damaged"), std::string::npos) << Verdict.Reason;
  // Larger than the budget allows: refused before any playback.
  TRunLimits Tight;
  Tight.MaxTicks = 100;
  EXPECT_NE(CheckRun(Run.Bytes, VYRN_GAME_PAK, "ANNA", 5849, Tight).Reason.find("longer than 100 ticks"),
            std::string::npos);
}

// The game-start replay plays in the player the game uses for --replay too.
TEST_F(RunCheckTest, TheRunIsAReplayTheGameCanShow) {
  const TReplay Replay = ParseReplay(reinterpret_cast<const std::uint8_t*>(Run.Bytes.data()), Run.Bytes.size());
  TMessageCapture Boxes;
  const std::string Folder = MakeReplayFolder();
  {
    THeadlessSession Session(VYRN_GAME_PAK, Folder);
    TReplayPlayer Player(Replay, Session.Form());
    ASSERT_TRUE(Player.PrepareFolder(Folder));
    ASSERT_TRUE(Player.Start()) << Player.Problem();
    while (Player.Step()) {
    }
    EXPECT_TRUE(Player.Finished()) << Player.Problem();
    EXPECT_GE(Player.ChecksCompared(), 15u);
    Session.Form().FormDestroy();
  }
  RemoveReplayFolder(Folder);
}
