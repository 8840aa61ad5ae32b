// The scores on disk: one SQLite database in WAL mode, one row per distinct
// (name, score) with the time it first arrived. Safe to use from the server's
// worker threads: writes go through one connection, reads through another,
// and WAL lets them run side by side.
#pragma once

#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "Submission.h"

struct sqlite3;

struct TStoredScore {
  std::string Name;
  std::int64_t Score = 0;
  std::int64_t Arrived = 0;  // seconds since 1970, UTC
  std::int64_t RunId = 0;    // a run that played back to this entry; 0: none
};

// A recorded game handed in for checking, and what the check found.
struct TStoredRun {
  enum TState { Queued, Verified, Refused };
  std::int64_t Id = 0;
  std::string Name;
  std::int64_t Score = 0;
  std::int64_t Arrived = 0;
  TState State = Queued;
  std::string Reason;  // why it was refused
};

class TScoreStoreError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TScoreStore {
public:
  static constexpr std::int64_t RecentSeconds = 30 * 24 * 60 * 60;

  // Opens or creates the database; throws TScoreStoreError when it cannot.
  explicit TScoreStore(const std::string& Path);
  ~TScoreStore();
  TScoreStore(const TScoreStore&) = delete;
  TScoreStore& operator=(const TScoreStore&) = delete;

  // Stores the entries not seen before, all or nothing, and returns how many
  // were new. Throws TScoreStoreError when the write fails; nothing is then
  // stored and the caller must not acknowledge the submission.
  int Add(const std::vector<TScoreEntry>& Entries, std::int64_t Arrived);

  // Best first (ties: earlier arrival first). With Since > 0 only scores that
  // arrived at or after Since.
  // With VerifiedOnly only entries a run has been verified for.
  std::vector<TStoredScore> Best(int Limit, int Offset, std::int64_t Since = 0, bool VerifiedOnly = false);
  std::int64_t Count();

  // A run waiting for its check; returns its id.
  std::int64_t AddRun(const std::string& Name, std::int64_t Score, std::int64_t Arrived);
  // The check's verdict. A verified run's entry joins the scores if it is
  // not there yet.
  void FinishRun(std::int64_t Id, bool Verified, const std::string& Reason, std::int64_t Arrived);
  void DropRun(std::int64_t Id);
  bool FindRun(std::int64_t Id, TStoredRun& Run);
  // Runs still waiting (after a restart), oldest first.
  std::vector<TStoredRun> QueuedRuns();

private:
  sqlite3* FWrite = nullptr;
  sqlite3* FRead = nullptr;
  std::mutex FWriteLock;
  std::mutex FReadLock;
};
