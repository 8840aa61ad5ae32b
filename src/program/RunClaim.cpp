#include "program/RunClaim.h"

#include "app/Main.h"
#include "common/CommonTypes.h"
#include "common/Scramble.h"
#include "persist/FileStore.h"
#include "program/ReplayRecorder.h"

std::vector<THighScore_element> TableEntries(const std::string& FileBytes) {
  std::string Text = FileBytes;
  std::vector<THighScore_element> Out;
  if (!UnscrambleText(Text) || Text.empty() || Text[0] != '3') return Out;
  std::size_t Start = 1;
  for (;;) {
    const std::size_t NameEnd = Text.find(',', Start);
    if (NameEnd == std::string::npos) break;
    const std::size_t ScoreEnd = Text.find(',', NameEnd + 1);
    if (ScoreEnd == std::string::npos) break;
    THighScore_element Entry;
    Entry.Name = Text.substr(Start, NameEnd - Start);
    if (!TryDecimalToInt64(Text.substr(NameEnd + 1, ScoreEnd - NameEnd - 1), Entry.Score)) break;
    Out.push_back(std::move(Entry));
    Start = ScoreEnd + 1;
  }
  return Out;
}

int EntriesAdded(const std::string& BeforeFile, const std::string& AfterFile, const std::string& Name,
                 std::int64_t Score) {
  const auto Count = [&](const std::string& File) {
    int N = 0;
    for (const auto& Entry : TableEntries(File)) N += Entry.Name == Name && Entry.Score == Score;
    return N;
  };
  return Count(AfterFile) - Count(BeforeFile);
}

bool ClaimedEntry(const TMainForm& Form, const std::string& BeforeFile, const std::string& AfterFile,
                  THighScore_element& Entry) {
  const auto& Game = Form.LastGame();
  if (Game.Games == 0 || Game.Cheated) return false;
  for (const std::int64_t Score : {Game.Score1, Game.Score2}) {
    if (Score <= 0) continue;
    for (const auto& Candidate : TableEntries(AfterFile))
      if (Candidate.Score == Score && EntriesAdded(BeforeFile, AfterFile, Candidate.Name, Score) > 0) {
        Entry = Candidate;
        return true;
      }
    if (!Game.TwoPlayers) break;
  }
  return false;
}

THighScoreRunSource LatestRunSource(const TReplayRecorder& Recorder, const TMainForm& Form, std::string Folder) {
  return [&Recorder, &Form, Folder = std::move(Folder)](THighScoreRun& Run) {
    if (Form.Game()) return false;
    std::vector<std::uint8_t> Bytes;
    if (!Recorder.LatestGame(Bytes)) return false;
    std::string Now, Error;
    if (ReadWholeFile(JoinPath(Folder, THighScore::FileName), Now, Error) != TReadResult::Read) return false;
    THighScore_element Entry;
    if (!ClaimedEntry(Form, Recorder.GameStartHighScores(), Now, Entry)) return false;
    Run.Replay.assign(Bytes.begin(), Bytes.end());
    Run.Name = Entry.Name;
    Run.Score = Entry.Score;
    return true;
  };
}
