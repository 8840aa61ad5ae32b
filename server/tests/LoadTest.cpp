// Load on loopback: 8 clients with their own keep-alive connections send
// valid submissions; every acknowledged one must be in the database. The
// second test kills the server with SIGKILL half-way and restarts it on the
// same file. Counts are small here; `make soak-server` sets
// VYRN_SOAK_SUBMISSIONS=20000.
#include <gtest/gtest.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "ServerTestUtil.h"
#include "common/CommonTypes.h"
#include "common/Scramble.h"
#include "persist/TestFolder.h"

namespace {
constexpr int Clients = 8;

int Submissions() {
  const char* Env = std::getenv("VYRN_SOAK_SUBMISSIONS");
  const int Count = Env ? std::atoi(Env) : 400;
  return std::clamp(Count, 16, 100000);
}

// Submission I carries the ten pairs ("load<I>", 10 I + J), J = 0..9, so each
// acknowledged one must leave exactly ten rows with its name.
std::vector<std::string> Targets(int Count) {
  RandSeed = 777;
  std::vector<std::string> Out;
  Out.reserve(static_cast<std::size_t>(Count));
  for (int I = 0; I < Count; ++I) {
    std::string Plain = "3";
    for (int J = 0; J < 10; ++J) Plain += "load" + std::to_string(I) + "," + std::to_string(10LL * I + J) + ",";
    ScrambleText(Plain);  // here, on one thread: the generator is not shared safely
    Out.push_back("/submit_hi.php?" + SubmitQuery(Plain));
  }
  return Out;
}

struct TLoad {
  std::vector<char> Acked;
  std::vector<double> LatencyMs;
  std::atomic<int> AckedCount{0};
  int Failures = 0;
  double Seconds = 0;
};

// Client C sends the targets C, C + 8, ...; stops at the deadline.
void RunLoad(int Port, const std::vector<std::string>& All, TLoad& Load, std::chrono::seconds Limit) {
  using TClock = std::chrono::steady_clock;
  Load.Acked.assign(All.size(), 0);
  std::vector<std::vector<double>> Latency(Clients);
  std::vector<int> Failures(Clients, 0);
  const auto Start = TClock::now(), Deadline = Start + Limit;
  std::vector<std::thread> Threads;
  for (int C = 0; C < Clients; ++C)
    Threads.emplace_back([&, C] {
      httplib::Client Http("127.0.0.1", Port);
      Http.set_keep_alive(true);
      Http.set_tcp_nodelay(true);
      Http.set_connection_timeout(2, 0);
      Http.set_read_timeout(5, 0);
      Http.set_write_timeout(5, 0);
      for (std::size_t I = static_cast<std::size_t>(C); I < All.size() && TClock::now() < Deadline; I += Clients) {
        const auto Sent = TClock::now();
        const auto Reply = Http.Get(All[I]);
        if (Reply && Reply->status == 200) {
          Latency[C].push_back(std::chrono::duration<double, std::milli>(TClock::now() - Sent).count());
          Load.Acked[I] = 1;
          ++Load.AckedCount;
        } else {
          ++Failures[C];
        }
      }
    });
  for (auto& Thread : Threads) Thread.join();
  Load.Seconds = std::chrono::duration<double>(TClock::now() - Start).count();
  for (int C = 0; C < Clients; ++C) {
    Load.LatencyMs.insert(Load.LatencyMs.end(), Latency[C].begin(), Latency[C].end());
    Load.Failures += Failures[C];
  }
}

double Percentile(std::vector<double> Values, double Share) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  const std::size_t Rank = static_cast<std::size_t>(Share * static_cast<double>(Values.size() - 1) + 0.5);
  return Values[std::min(Rank, Values.size() - 1)];
}

// Acknowledged submissions whose ten rows are not all there.
int Missing(TDatabase& Db, const TLoad& Load) {
  // "load<I>" becomes "I COUNT".
  std::vector<int> Rows(Load.Acked.size(), 0);
  for (const std::string& Group : Db.Column("SELECT substr(name, 5) || ' ' || count(*) FROM scores GROUP BY name")) {
    int I = -1, Count = 0;
    if (std::sscanf(Group.c_str(), "%d %d", &I, &Count) == 2 && I >= 0 && static_cast<std::size_t>(I) < Rows.size())
      Rows[static_cast<std::size_t>(I)] = Count;
  }
  int Lost = 0;
  for (std::size_t I = 0; I < Load.Acked.size(); ++I)
    if (Load.Acked[I] && Rows[I] != 10) ++Lost;
  return Lost;
}

void Report(const char* What, const TLoad& Load, const std::string& Rows) {
  std::printf("%s: %d of %zu acknowledged by %d clients in %.2f s (%.0f/s), p50 %.2f ms, p99 %.2f ms, rows %s\n", What,
              Load.AckedCount.load(), Load.Acked.size(), Clients, Load.Seconds, Load.AckedCount / Load.Seconds,
              Percentile(Load.LatencyMs, 0.5), Percentile(Load.LatencyMs, 0.99), Rows.c_str());
}
}  // namespace

TEST(LoadTest, EveryAcknowledgedSubmissionIsStored) {
  TTestFolder Folder;
  const std::string Db = Folder.File("scores.db");
  const auto All = Targets(Submissions());
  TServerProcess Server(Db, 0);
  ASSERT_GT(Server.Port, 0);
  TLoad Load;
  RunLoad(Server.Port, All, Load, std::chrono::seconds(300));
  TDatabase Check(Db);
  const std::string Rows = Check.One("SELECT count(*) FROM scores");
  Report("load", Load, Rows);
  EXPECT_EQ(Load.AckedCount, static_cast<int>(All.size()));
  EXPECT_EQ(Load.Failures, 0);
  EXPECT_EQ(Rows, std::to_string(10 * Load.AckedCount));
  EXPECT_EQ(Missing(Check, Load), 0);
}

TEST(LoadTest, SigkillMidRunLosesNothingAcknowledgedAndTheFileStaysSound) {
  TTestFolder Folder;
  const std::string Db = Folder.File("scores.db");
  const auto All = Targets(Submissions());
  TLoad Load;
  {
    TServerProcess Server(Db, 0);
    ASSERT_GT(Server.Port, 0);
    std::thread Clients([&] { RunLoad(Server.Port, All, Load, std::chrono::seconds(300)); });
    // Kill once a third is in, or after 60 s at the latest.
    for (int Wait = 0; Wait < 6000 && Load.AckedCount < static_cast<int>(All.size()) / 3; ++Wait) ::usleep(10000);
    const int Status = Server.Stop(SIGKILL);
    Clients.join();
    EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL) << Status;
  }
  EXPECT_GT(Load.AckedCount, 0);
  EXPECT_LT(Load.AckedCount, static_cast<int>(All.size()));

  // The restarted server opens the same file and goes on taking submissions.
  TServerProcess Again(Db, 0);
  ASSERT_GT(Again.Port, 0);
  TDatabase Check(Db);
  const std::string Integrity = Check.One("PRAGMA integrity_check");
  EXPECT_EQ(Integrity, "ok");
  const std::string Rows = Check.One("SELECT count(*) FROM scores") + ", integrity_check " + Integrity;
  Report("kill", Load, Rows);
  EXPECT_EQ(Missing(Check, Load), 0);
  EXPECT_GE(std::stoll(Check.One("SELECT count(*) FROM scores")), 10LL * Load.AckedCount);
  EXPECT_EQ(RawGet(Again.Port, All.back()).Status, 200);
}
