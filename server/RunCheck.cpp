#include "RunCheck.h"

#include "app/Main.h"
#include "persist/FileStore.h"
#include "persist/HighScore.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayFormat.h"
#include "program/ReplayPlayer.h"
#include "program/ReplaySession.h"
#include "program/RunClaim.h"

namespace {
TRunVerdict Refuse(std::string Reason, std::uint32_t Ticks = 0) {
  TRunVerdict Out;
  Out.Reason = std::move(Reason);
  Out.Ticks = Ticks;
  return Out;
}
}  // namespace

TRunVerdict CheckRun(const std::string& Bytes, const std::string& PakFile, const std::string& Name, std::int64_t Score,
                     const TRunLimits& Limits) {
  if (Bytes.size() > Limits.MaxBytes) return Refuse("the run is larger than " + std::to_string(Limits.MaxBytes) + " bytes");
  TReplay Replay;
  try {
    Replay = ParseReplay(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
  } catch (const TReplayError& Error) {
    return Refuse(std::string("the run is damaged: ") + Error.what());
  }
  if (Replay.BuildId != ReplayBuildId())
    return Refuse("the run was recorded by build \"" + Replay.BuildId + "\"; this server checks build \"" +
                  ReplayBuildId() + "\"");
  if (Replay.Start == TReplayStart::Session) return Refuse("the run does not start with its game");
  std::uint32_t Ticks = 0;
  for (const auto& Record : Replay.Records) Ticks += Record.Kind == TReplayRecordKind::Event && Record.Event.Kind == TInputKind::Timer;
  if (Ticks > Limits.MaxTicks)
    return Refuse("the run is longer than " + std::to_string(Limits.MaxTicks) + " ticks", Ticks);

  const std::string Folder = MakeReplayFolder();
  if (Folder.empty()) return Refuse("the server has no room to play the run");
  TRunVerdict Verdict;
  std::string After, Error;
  {
    THeadlessSession Session(PakFile, Folder);
    // Nobody looks at the picture: a screen of no size clips every copy to
    // it, which is most of a tick's work. The game's state never reads it.
    Session.Screen = TScreen(0, 0);
    TMainForm& Form = Session.Form();
    TReplayPlayer Player(Replay, Form);
    if (Player.PrepareFolder(Folder) && Player.Start())
      while (Player.Step()) {
      }
    Verdict.Ticks = Player.TimerTicks();
    const auto& Game = Form.LastGame();
    if (Player.Desynced()) Verdict.Reason = "the run does not play back: " + Player.Problem();
    else if (Game.Games == 0) Verdict.Reason = "the run ends before its game does";
    else if (Game.Cheated) Verdict.Reason = "a cheat was used in the game";
    else if (Game.Score1 != Score && !(Game.TwoPlayers && Game.Score2 == Score))
      Verdict.Reason = "the game ends with a score of " + std::to_string(Game.Score1) +
                       (Game.TwoPlayers ? " and " + std::to_string(Game.Score2) : std::string()) + ", the run claims " +
                       std::to_string(Score);
    Form.FormDestroy();
  }
  if (Verdict.Reason.empty()) {
    if (ReadWholeFile(JoinPath(Folder, THighScore::FileName), After, Error) != TReadResult::Read ||
        EntriesAdded(Replay.HighScoresText, After, Name, Score) <= 0)
      Verdict.Reason = "the score " + std::to_string(Score) + " was not entered in the table as \"" + Name + "\"";
    else
      Verdict.Verified = true;
  }
  RemoveReplayFolder(Folder);
  return Verdict;
}
