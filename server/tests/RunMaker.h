// Recorded games for the run tests: a golden session replay played again
// through the game's recorder, which cuts out the game (from its start to the
// name entry) exactly as the game does for every game it plays.
#pragma once

#include <fstream>
#include <string>

#include "app/Main.h"
#include "persist/HighScore.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFormat.h"
#include "program/ReplayRecorder.h"
#include "program/RunClaim.h"

struct TMadeRun {
  std::string Bytes;
  std::string Name;
  std::int64_t Score = 0;
  bool Claimed = false;
};

// Plays the session replay Golden through a recorder of each game, in
// Folder, and then calls Then with the recorder and the window (the way the
// game's submission sees them) before they go.
template <typename TThen>
TMadeRun RecordGoldenGame(const std::string& Golden, const std::string& Folder, TThen Then) {
  const TReplay Session = LoadReplay(Golden);
  std::ofstream(Folder + "/" + TConfig::FileName, std::ios::binary) << Session.ConfigText;
  std::ofstream(Folder + "/" + THighScore::FileName, std::ios::binary) << Session.HighScoresText;
  TMadeRun Made;
  THeadlessSession Window(VYRN_GAME_PAK, Folder);
  TMainForm& Form = Window.Form();
  std::size_t Cursor = 0;
  const auto& Records = Session.Records;
  // The recorded clock answers the game's reads as it asks.
  TReplayRecorder Recorder(
      "", Form, Folder,
      [&]() -> std::uint32_t {
        while (Cursor < Records.size() && Records[Cursor].Kind == TReplayRecordKind::Check) ++Cursor;
        return Cursor < Records.size() && Records[Cursor].Kind == TReplayRecordKind::Time ? Records[Cursor++].Value : 0;
      },
      TReplayRecorder::TFrom::EachGame);
  if (Form.FormCreate()) {
    while (Cursor < Records.size()) {
      const TReplayRecord& R = Records[Cursor++];
      if (R.Kind == TReplayRecordKind::Event) Recorder.Dispatch(R.Event);
    }
  }
  THighScoreRun Run;
  if (LatestRunSource(Recorder, Form, Folder)(Run)) {
    Made = {Run.Replay, Run.Name, Run.Score, true};
  }
  Then(Recorder, Form);
  Form.FormDestroy();
  return Made;
}

inline TMadeRun RecordGoldenGame(const std::string& Golden, const std::string& Folder) {
  return RecordGoldenGame(Golden, Folder, [](const TReplayRecorder&, const TMainForm&) {});
}

inline std::string Golden(const char* Name) { return std::string(VYRN_REPLAYS) + "/" + Name + ".vrp"; }

// The run with its replay parsed, changed by Change, and written again.
template <typename TChange>
std::string Altered(const std::string& Bytes, TChange Change) {
  TReplay Replay = ParseReplay(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
  Change(Replay);
  const auto Out = SerializeReplay(Replay);
  return std::string(Out.begin(), Out.end());
}
