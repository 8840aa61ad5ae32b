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

std::vector<TStoredScore> TScoreStore::Best(int Limit, int Offset, std::int64_t Since) {
  std::lock_guard Lock(FReadLock);
  TStatement Query(FRead,
                   "SELECT name, score, arrived FROM scores WHERE arrived >= ?"
                   " ORDER BY score DESC, arrived, id LIMIT ? OFFSET ?");
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
