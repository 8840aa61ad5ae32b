#include "ScoreStore.h"

#include <sqlite3.h>

namespace {
// Closes a statement on every path out.
class TStatement {
public:
  TStatement(sqlite3* Db, const char* Sql) {
    if (sqlite3_prepare_v2(Db, Sql, -1, &FStatement, nullptr) != SQLITE_OK)
      throw TScoreStoreError(std::string("prepare: ") + sqlite3_errmsg(Db));
  }
  ~TStatement() { sqlite3_finalize(FStatement); }
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;
  sqlite3_stmt* operator*() const { return FStatement; }

private:
  sqlite3_stmt* FStatement = nullptr;
};

void Execute(sqlite3* Db, const char* Sql) {
  char* Message = nullptr;
  if (sqlite3_exec(Db, Sql, nullptr, nullptr, &Message) != SQLITE_OK) {
    std::string Text = Message ? Message : sqlite3_errmsg(Db);
    sqlite3_free(Message);
    throw TScoreStoreError(std::string(Sql) + ": " + Text);
  }
}

sqlite3* Open(const std::string& Path, int Flags) {
  sqlite3* Db = nullptr;
  if (sqlite3_open_v2(Path.c_str(), &Db, Flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    std::string Text = Db ? sqlite3_errmsg(Db) : "out of memory";
    sqlite3_close(Db);
    throw TScoreStoreError("cannot open " + Path + ": " + Text);
  }
  // Readers and the writer share the file; wait for each other briefly
  // instead of failing at once.
  sqlite3_busy_timeout(Db, 5000);
  return Db;
}
}  // namespace

TScoreStore::TScoreStore(const std::string& Path) {
  FWrite = Open(Path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  try {
    Execute(FWrite, "PRAGMA journal_mode=WAL");
    // NORMAL in WAL mode survives a killed process (the log is in the OS's
    // hands once written); only a power cut can lose the last commits.
    Execute(FWrite, "PRAGMA synchronous=NORMAL");
    Execute(FWrite,
            "CREATE TABLE IF NOT EXISTS scores ("
            " id INTEGER PRIMARY KEY,"
            " name TEXT NOT NULL,"
            " score INTEGER NOT NULL,"
            " arrived INTEGER NOT NULL,"
            " UNIQUE (name, score))");
    Execute(FWrite, "CREATE INDEX IF NOT EXISTS scores_best ON scores (score DESC, arrived, id)");
    Execute(FWrite, "CREATE INDEX IF NOT EXISTS scores_arrived ON scores (arrived)");
    // state: 0 waiting, 1 verified, 2 refused (TStoredRun::TState).
    Execute(FWrite,
            "CREATE TABLE IF NOT EXISTS runs ("
            " id INTEGER PRIMARY KEY,"
            " name TEXT NOT NULL,"
            " score INTEGER NOT NULL,"
            " arrived INTEGER NOT NULL,"
            " state INTEGER NOT NULL DEFAULT 0,"
            " reason TEXT NOT NULL DEFAULT '')");
    Execute(FWrite, "CREATE INDEX IF NOT EXISTS runs_entry ON runs (name, score, state)");
    FRead = Open(Path, SQLITE_OPEN_READONLY);
  } catch (...) {
    sqlite3_close(FWrite);
    throw;
  }
}

TScoreStore::~TScoreStore() {
  sqlite3_close(FRead);
  sqlite3_close(FWrite);
}

int TScoreStore::Add(const std::vector<TScoreEntry>& Entries, std::int64_t Arrived) {
  std::lock_guard Lock(FWriteLock);
  Execute(FWrite, "BEGIN IMMEDIATE");
  try {
    TStatement Insert(FWrite, "INSERT OR IGNORE INTO scores (name, score, arrived) VALUES (?, ?, ?)");
    int Added = 0;
    for (const TScoreEntry& Entry : Entries) {
      sqlite3_reset(*Insert);
      sqlite3_bind_text(*Insert, 1, Entry.Name.data(), static_cast<int>(Entry.Name.size()), SQLITE_TRANSIENT);
      sqlite3_bind_int64(*Insert, 2, Entry.Score);
      sqlite3_bind_int64(*Insert, 3, Arrived);
      if (sqlite3_step(*Insert) != SQLITE_DONE) throw TScoreStoreError(std::string("insert: ") + sqlite3_errmsg(FWrite));
      Added += sqlite3_changes(FWrite);
    }
    Execute(FWrite, "COMMIT");
    return Added;
  } catch (...) {
    sqlite3_exec(FWrite, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

std::vector<TStoredScore> TScoreStore::Best(int Limit, int Offset, std::int64_t Since, bool VerifiedOnly) {
  std::lock_guard Lock(FReadLock);
  TStatement Query(FRead, VerifiedOnly
                              ? "SELECT s.name, s.score, s.arrived, r.id FROM scores s"
                                " JOIN (SELECT name, score, min(id) AS id FROM runs WHERE state = 1 GROUP BY name, score) r"
                                " ON r.name = s.name AND r.score = s.score WHERE s.arrived >= ?"
                                " ORDER BY s.score DESC, s.arrived, s.id LIMIT ? OFFSET ?"
                              : "SELECT s.name, s.score, s.arrived,"
                                " (SELECT min(r.id) FROM runs r WHERE r.name = s.name AND r.score = s.score AND r.state = 1)"
                                " FROM scores s WHERE s.arrived >= ?"
                                " ORDER BY s.score DESC, s.arrived, s.id LIMIT ? OFFSET ?");
  sqlite3_bind_int64(*Query, 1, Since);
  sqlite3_bind_int(*Query, 2, Limit);
  sqlite3_bind_int(*Query, 3, Offset);
  std::vector<TStoredScore> Rows;
  int Step;
  while ((Step = sqlite3_step(*Query)) == SQLITE_ROW) {
    TStoredScore Row;
    const auto* Text = reinterpret_cast<const char*>(sqlite3_column_text(*Query, 0));
    Row.Name.assign(Text ? Text : "", static_cast<std::size_t>(sqlite3_column_bytes(*Query, 0)));
    Row.Score = sqlite3_column_int64(*Query, 1);
    Row.Arrived = sqlite3_column_int64(*Query, 2);
    Row.RunId = sqlite3_column_int64(*Query, 3);  // NULL reads as 0
    Rows.push_back(std::move(Row));
  }
  if (Step != SQLITE_DONE) throw TScoreStoreError(std::string("select: ") + sqlite3_errmsg(FRead));
  return Rows;
}

std::int64_t TScoreStore::Count() {
  std::lock_guard Lock(FReadLock);
  TStatement Query(FRead, "SELECT count(*) FROM scores");
  if (sqlite3_step(*Query) != SQLITE_ROW) throw TScoreStoreError(std::string("count: ") + sqlite3_errmsg(FRead));
  return sqlite3_column_int64(*Query, 0);
}

std::int64_t TScoreStore::AddRun(const std::string& Name, std::int64_t Score, std::int64_t Arrived) {
  std::lock_guard Lock(FWriteLock);
  TStatement Insert(FWrite, "INSERT INTO runs (name, score, arrived) VALUES (?, ?, ?)");
  sqlite3_bind_text(*Insert, 1, Name.data(), static_cast<int>(Name.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(*Insert, 2, Score);
  sqlite3_bind_int64(*Insert, 3, Arrived);
  if (sqlite3_step(*Insert) != SQLITE_DONE) throw TScoreStoreError(std::string("insert run: ") + sqlite3_errmsg(FWrite));
  return sqlite3_last_insert_rowid(FWrite);
}

void TScoreStore::FinishRun(std::int64_t Id, bool Verified, const std::string& Reason, std::int64_t Arrived) {
  std::lock_guard Lock(FWriteLock);
  Execute(FWrite, "BEGIN IMMEDIATE");
  try {
    TStatement Update(FWrite, "UPDATE runs SET state = ?, reason = ? WHERE id = ?");
    sqlite3_bind_int(*Update, 1, Verified ? TStoredRun::Verified : TStoredRun::Refused);
    sqlite3_bind_text(*Update, 2, Reason.data(), static_cast<int>(Reason.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(*Update, 3, Id);
    if (sqlite3_step(*Update) != SQLITE_DONE) throw TScoreStoreError(std::string("update run: ") + sqlite3_errmsg(FWrite));
    if (Verified) {
      TStatement Insert(FWrite,
                        "INSERT OR IGNORE INTO scores (name, score, arrived) SELECT name, score, ? FROM runs WHERE id = ?");
      sqlite3_bind_int64(*Insert, 1, Arrived);
      sqlite3_bind_int64(*Insert, 2, Id);
      if (sqlite3_step(*Insert) != SQLITE_DONE) throw TScoreStoreError(std::string("insert: ") + sqlite3_errmsg(FWrite));
    }
    Execute(FWrite, "COMMIT");
  } catch (...) {
    sqlite3_exec(FWrite, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void TScoreStore::DropRun(std::int64_t Id) {
  std::lock_guard Lock(FWriteLock);
  TStatement Delete(FWrite, "DELETE FROM runs WHERE id = ?");
  sqlite3_bind_int64(*Delete, 1, Id);
  if (sqlite3_step(*Delete) != SQLITE_DONE) throw TScoreStoreError(std::string("delete run: ") + sqlite3_errmsg(FWrite));
}

namespace {
TStoredRun RunOf(sqlite3_stmt* Row) {
  TStoredRun Run;
  Run.Id = sqlite3_column_int64(Row, 0);
  const auto* Name = reinterpret_cast<const char*>(sqlite3_column_text(Row, 1));
  Run.Name.assign(Name ? Name : "", static_cast<std::size_t>(sqlite3_column_bytes(Row, 1)));
  Run.Score = sqlite3_column_int64(Row, 2);
  Run.Arrived = sqlite3_column_int64(Row, 3);
  Run.State = static_cast<TStoredRun::TState>(sqlite3_column_int(Row, 4));
  const auto* Reason = reinterpret_cast<const char*>(sqlite3_column_text(Row, 5));
  Run.Reason = Reason ? Reason : "";
  return Run;
}
}  // namespace

bool TScoreStore::FindRun(std::int64_t Id, TStoredRun& Run) {
  std::lock_guard Lock(FReadLock);
  TStatement Query(FRead, "SELECT id, name, score, arrived, state, reason FROM runs WHERE id = ?");
  sqlite3_bind_int64(*Query, 1, Id);
  const int Step = sqlite3_step(*Query);
  if (Step == SQLITE_ROW) {
    Run = RunOf(*Query);
    return true;
  }
  if (Step != SQLITE_DONE) throw TScoreStoreError(std::string("select run: ") + sqlite3_errmsg(FRead));
  return false;
}

std::vector<TStoredRun> TScoreStore::QueuedRuns() {
  std::lock_guard Lock(FReadLock);
  TStatement Query(FRead, "SELECT id, name, score, arrived, state, reason FROM runs WHERE state = 0 ORDER BY id");
  std::vector<TStoredRun> Runs;
  int Step;
  while ((Step = sqlite3_step(*Query)) == SQLITE_ROW) Runs.push_back(RunOf(*Query));
  if (Step != SQLITE_DONE) throw TScoreStoreError(std::string("select runs: ") + sqlite3_errmsg(FRead));
  return Runs;
}
