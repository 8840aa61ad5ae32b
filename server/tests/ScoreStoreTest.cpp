// The store on a real database file: once per (name, score), best first, the
// recent window, and what survives a reopen.
#include <gtest/gtest.h>

#include <thread>

#include "ScoreStore.h"
#include "ServerTestUtil.h"
#include "persist/TestFolder.h"

namespace {
std::vector<TScoreEntry> Entries(std::initializer_list<std::pair<const char*, std::int64_t>> List) {
  std::vector<TScoreEntry> Out;
  for (const auto& [Name, Score] : List) Out.push_back({Name, Score});
  return Out;
}

std::vector<std::string> Names(const std::vector<TStoredScore>& Rows) {
  std::vector<std::string> Out;
  for (const auto& Row : Rows) Out.push_back(Row.Name);
  return Out;
}
}  // namespace

TEST(ScoreStoreTest, EachNameAndScoreIsStoredOnceWithItsFirstArrival) {
  TTestFolder Folder;
  TScoreStore Store(Folder.File("scores.db"));
  EXPECT_EQ(Store.Add(Entries({{"Ann", 500}, {"Bob", 400}, {"Ann", 500}}), 1000), 2);
  // The same pair again adds nothing and keeps the first time; the same name
  // with another score is a new row.
  EXPECT_EQ(Store.Add(Entries({{"Ann", 500}, {"Ann", 501}}), 2000), 1);
  EXPECT_EQ(Store.Count(), 3);
  const auto Rows = Store.Best(10, 0);
  ASSERT_EQ(Rows.size(), 3u);
  EXPECT_EQ(Rows[1].Name, "Ann");
  EXPECT_EQ(Rows[1].Score, 500);
  EXPECT_EQ(Rows[1].Arrived, 1000);
  EXPECT_EQ(Rows[0].Arrived, 2000);
}

TEST(ScoreStoreTest, BestFirstTiesByArrivalAndPagesWithLimitAndOffset) {
  TTestFolder Folder;
  TScoreStore Store(Folder.File("scores.db"));
  Store.Add(Entries({{"Late", 300}}), 3000);
  Store.Add(Entries({{"Early", 300}, {"Low", 1}, {"High", 9999999999}}), 1000);
  Store.Add(Entries({{"Zero", 0}}), 500);
  EXPECT_EQ(Names(Store.Best(100, 0)), (std::vector<std::string>{"High", "Early", "Late", "Low", "Zero"}));
  EXPECT_EQ(Names(Store.Best(2, 1)), (std::vector<std::string>{"Early", "Late"}));
  EXPECT_TRUE(Store.Best(10, 5).empty());
  // Since keeps the arrivals at or after it.
  EXPECT_EQ(Names(Store.Best(100, 0, 1000)), (std::vector<std::string>{"High", "Early", "Late", "Low"}));
  EXPECT_EQ(Names(Store.Best(100, 0, 1001)), (std::vector<std::string>{"Late"}));
}

TEST(ScoreStoreTest, NamesWithMarkupAndBackslashesRoundTripAndSurviveAReopen) {
  TTestFolder Folder;
  const std::string Path = Folder.File("scores.db");
  {
    TScoreStore Store(Path);
    Store.Add(Entries({{"<script>", 7}, {"a\\b'c", 6}, {"", 5}}), 42);
  }
  TScoreStore Store(Path);
  EXPECT_EQ(Names(Store.Best(10, 0)), (std::vector<std::string>{"<script>", "a\\b'c", ""}));
  TDatabase Db(Path);
  EXPECT_EQ(Db.One("PRAGMA journal_mode"), "wal");
}

TEST(ScoreStoreTest, WritersOnSeveralThreadsLoseNothing) {
  TTestFolder Folder;
  TScoreStore Store(Folder.File("scores.db"));
  std::vector<std::thread> Threads;
  for (int T = 0; T < 4; ++T)
    Threads.emplace_back([&Store, T] {
      const std::string Own = std::string(1, static_cast<char>('A' + T));
      for (int I = 0; I < 50; ++I) {
        Store.Add({{Own, I}, {"Shared", I}}, I);
        Store.Best(10, 0);
      }
    });
  for (auto& Thread : Threads) Thread.join();
  EXPECT_EQ(Store.Count(), 4 * 50 + 50);
}

TEST(ScoreStoreTest, AnUnusableFileIsReportedNotIgnored) {
  TTestFolder Folder;
  Folder.Write("junk.db", std::string(4096, 'x'));
  EXPECT_THROW(TScoreStore(Folder.File("junk.db")), TScoreStoreError);
  EXPECT_THROW(TScoreStore(Folder.File("no/such/folder/scores.db")), TScoreStoreError);
}
