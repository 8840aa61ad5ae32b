// Recording a session into a replay file as it is played.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/InputEvent.h"
#include "program/ReplayFormat.h"

class TMainForm;

// Sits between the event loop and the window and writes every event, every
// time read and the checks. Install it before FormCreate, call Started after
// it, Finish after the loop. Reads config.dat and highscores.dat from Folder
// as they are before the window starts.
//
// Recording each game instead, it starts over as every game starts, with
// the files as they are then, and stops once the game has put its name in
// the table; so the file (and LatestGame) holds the latest game from its
// start to its name entry: what the high-score server plays back.
class TReplayRecorder : public IInputSink {
public:
  enum class TFrom { Session, EachGame };

  // Clock answers the time reads (the real time of day when not given).
  TReplayRecorder(const std::string& FileName, TMainForm& Form, const std::string& Folder,
                  std::function<std::uint32_t()> Clock = {}, TFrom From = TFrom::Session);
  ~TReplayRecorder() override;
  TReplayRecorder(const TReplayRecorder&) = delete;
  TReplayRecorder& operator=(const TReplayRecorder&) = delete;

  // Writes the header, now that the generator holds its seed.
  void Started();
  void Dispatch(const TInputEvent& Event) override;
  // Writes the end record and closes the file; false when the disk failed.
  bool Finish();
  bool Failed() const { return FFailed; }

  // The latest game's replay as a whole file, as if it ended now; false
  // before any game started.
  bool LatestGame(std::vector<std::uint8_t>& Bytes) const;
  // The table as it was when the latest game started.
  const std::string& GameStartHighScores() const { return FHeader.HighScoresText; }

private:
  void BeginGame(bool TwoPlayers);
  void EndGame();
  void WatchForEntry(const TInputEvent& Event);
  bool Recording() const { return FFrom == TFrom::Session || FInGame; }
  void Add(const TReplayRecord& Record);
  void Flush();

  TMainForm& FForm;
  std::function<std::uint32_t()> FClock;
  TFrom FFrom;
  std::string FFolder;
  bool FInGame = false;
  std::uint32_t FGames = 0;
  int FGamesAtStart = 0;
  bool FTableAtEndRead = false;
  int FWatchTicks = 0;
  std::string FTableAtEnd;
  std::vector<std::uint8_t> FGameBytes;  // the latest game's bytes written so far
  std::string FFileName;
  std::FILE* FFile = nullptr;
  TReplay FHeader;
  std::vector<std::uint8_t> FPending;
  std::uint32_t FRecords = 0;
  std::uint32_t FHash = ReplayHashBasis;
  std::uint32_t FTicks = 0;
  bool FFailed = false;
  bool FStarted = false;
  bool FFinished = false;
};
