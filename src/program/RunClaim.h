// What a recorded game claims: the entry it added to the high-score table.
// The game works it out to hand a run in; the server works it out again from
// its own playback and compares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "persist/HighScore.h"

class TMainForm;
class TReplayRecorder;

// The entries of highscores.dat's bytes; empty when they are not a table.
std::vector<THighScore_element> TableEntries(const std::string& FileBytes);
// How many more times (Name, Score) is in After than in Before.
int EntriesAdded(const std::string& BeforeFile, const std::string& AfterFile, const std::string& Name,
                 std::int64_t Score);
// The name the table gained with one of the last game's scores, if any:
// Before and After are highscores.dat as the game started and now.
bool ClaimedEntry(const TMainForm& Form, const std::string& BeforeFile, const std::string& AfterFile,
                  THighScore_element& Entry);

// The run of the latest game for THighScore::Submit: the recorder's replay
// of it with the entry it added to the table in Folder. Nothing while a game
// runs, after a cheat, or when the game entered no score.
THighScoreRunSource LatestRunSource(const TReplayRecorder& Recorder, const TMainForm& Form, std::string Folder);
