// The table of the 20 best scores, shared by one- and two-player games, kept
// in highscores.dat as scrambled text and handed in to the high-score server.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

struct THighScore_element {
  std::string Name;  // at most 16 characters from the menu, never a ","
  std::int64_t Score = 0;
};

// Where Submit sends the table: the build setting VYRN_HIGHSCORE_ENDPOINT, so
// a local game can talk to a local server.
extern const char* const HighScoreEndpoint;

// A recorded game handed in with the table: its replay file and the entry it
// claims, which the server checks by playing the game back.
struct THighScoreRun {
  std::string Replay;
  std::string Name;
  std::int64_t Score = 0;
};
// Set by the program while it records the games; gives the latest game's run
// when it entered the table. Submit sends it after the table.
using THighScoreRunSource = std::function<bool(THighScoreRun& Run)>;
void SetHighScoreRunSource(THighScoreRunSource Source);

class THighScore {
public:
  static constexpr int Count = 20;
  static constexpr const char* FileName = "highscores.dat";
  static constexpr const char* DefaultName = "Vyrn-master";

  // Loads highscores.dat from Folder, writing the default table when it is
  // missing or damaged. One that cannot be read is reported and kept: the
  // defaults play in memory and nothing is saved over it this run.
  explicit THighScore(std::string Folder = ".");

  // Place 0 is the best; kept in descending order of Score.
  std::array<THighScore_element, Count> Entries{};
  // The server Submit talks to; tests point it at their own.
  std::string Endpoint = HighScoreEndpoint;

  void Load();
  // Writes highscores.dat atomically; a failed write keeps the old file and
  // is reported in a message box. True when written (false also when saving
  // is held back after a read error).
  bool Save();

  void GetEntry(int Index, THighScore_element& Entry) const;
  // The place 0..19 Score would take (ties rank above the stored score), or
  // 20 when it does not enter the table.
  int RankOf(std::int64_t Score) const;
  // Enters a named score if it ranks, and saves. The score goes into the
  // table as it is on disk at that moment (read under a lock shared with
  // other instances), so scores entered meanwhile elsewhere are kept.
  void Insert(const std::string& Name, std::int64_t Score);
  // Sends the table in two requests (places 1-10, then 11-20) through the
  // current HTTP client; true when both succeeded. The second is not sent
  // when the first fails. Then the latest game's run, if there is one: POST
  // /api/runs?name=..&score=.. with the replay as the body. A server that
  // takes no runs still took the table, so the run does not change the
  // result; RunAccepted tells.
  bool Submit();
  bool RunAccepted = false;

  const std::string& FilePath() const { return FPath; }
  // True after a read error: the file on disk is kept as it is.
  bool SavingHeldBack() const { return FHoldSaves; }

private:
  enum class TDiskTable { Read, Missing, Damaged, Unreadable };
  // Parses the file into Table (entries it does not fill keep their values).
  TDiskTable ReadDisk(std::array<THighScore_element, Count>& Table, std::string& Error) const;
  void TakeDefaults();
  std::string PlainText(int First, int Last) const;

  std::string FPath;
  bool FWriteFailureShown = false;
  bool FHoldSaves = false;
};
