// vyrn-scores --db FILE --port N [--bind ADDR] [--max-per-minute N]
//             [--pak FILE [--runs DIR] [--verify-workers N]] [--verified-only]
// The high-score server: takes the game's submissions and its recorded runs,
// plays the runs back to confirm their scores and shows the leaderboard.
// Stops cleanly on SIGINT or SIGTERM.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <filesystem>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "ScoreServer.h"
#include "ScoreStore.h"

namespace {
int Usage() {
  std::fprintf(stderr,
               "usage: vyrn-scores --db FILE --port N [--bind ADDR] [--max-per-minute N]\n"
               "                   [--pak FILE [--runs DIR] [--verify-workers N]] [--verified-only]\n"
               "  --bind            address to listen on (default 127.0.0.1)\n"
               "  --port 0          picks a free port; the chosen one is printed\n"
               "  --max-per-minute  submissions (and runs) per client address and minute, 0 for no limit (default 30)\n"
               "  --pak             the game's archive: with it, runs (POST /api/runs) are played back and checked\n"
               "  --runs            where runs are kept (default: the folder \"runs\" beside the database)\n"
               "  --verify-workers  runs checked at once (default 2)\n"
               "  --verified-only   list only the scores a run has confirmed\n");
  return 2;
}

bool ParseInt(const char* Text, long Low, long High, int& Value) {
  char* End = nullptr;
  errno = 0;
  const long Parsed = std::strtol(Text, &End, 10);
  if (errno != 0 || End == Text || *End != '\0' || Parsed < Low || Parsed > High) return false;
  Value = static_cast<int>(Parsed);
  return true;
}

// vyrn-verify-run beside this program.
std::string VerifierBeside(const char* Self) {
  std::error_code Ec;
  std::filesystem::path Path = std::filesystem::read_symlink("/proc/self/exe", Ec);
  if (Ec) Path = Self;
  return (Path.parent_path() / "vyrn-verify-run").string();
}
}  // namespace

int main(int Argc, char** Argv) {
  std::string Db, Bind = "127.0.0.1";
  int Port = -1;
  TServerOptions Options;
  for (int I = 1; I < Argc; ++I) {
    const std::string Arg = Argv[I];
    if (Arg == "--verified-only") {
      Options.VerifiedOnly = true;
      continue;
    }
    if (I + 1 >= Argc) return Usage();
    const char* Value = Argv[++I];
    if (Arg == "--db") Db = Value;
    else if (Arg == "--bind") Bind = Value;
    else if (Arg == "--pak") Options.Pak = Value;
    else if (Arg == "--runs") Options.RunsFolder = Value;
    else if (Arg == "--port") {
      if (!ParseInt(Value, 0, 65535, Port)) return Usage();
    } else if (Arg == "--max-per-minute") {
      if (!ParseInt(Value, 0, 1000000, Options.PerMinute)) return Usage();
    } else if (Arg == "--verify-workers") {
      if (!ParseInt(Value, 1, 64, Options.VerifyWorkers)) return Usage();
    } else return Usage();
  }
  if (Db.empty() || Port < 0) return Usage();
  if (!Options.Pak.empty()) {
    if (Options.RunsFolder.empty())
      Options.RunsFolder = (std::filesystem::absolute(Db).parent_path() / "runs").string();
    Options.Verifier = VerifierBeside(Argv[0]);
    if (::access(Options.Verifier.c_str(), X_OK) != 0 || ::access(Options.Pak.c_str(), R_OK) != 0) {
      std::fprintf(stderr, "vyrn-scores: runs need %s and a readable %s\n", Options.Verifier.c_str(), Options.Pak.c_str());
      return 1;
    }
  }

  // The signals are taken by sigwait below, not by whichever worker thread
  // happens to run; the workers inherit this mask.
  sigset_t Stops;
  sigemptyset(&Stops);
  sigaddset(&Stops, SIGINT);
  sigaddset(&Stops, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &Stops, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  // Every idle client holds a descriptor: take all the system allows.
  RaiseOpenFileLimit();

  try {
    TScoreStore Store(Db);
    TScoreServer Server(Store, Options);
    std::string Error;
    const int Bound = Server.Bind(Bind, Port, Error);
    if (Bound <= 0) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.c_str());
      return 1;
    }
    std::printf("vyrn-scores: listening on http://%s:%d/ with %s\n", Bind.c_str(), Bound, Db.c_str());
    std::fflush(stdout);

    bool Served = true;
    std::thread Listener([&] { Served = Server.Listen(); });
    int Signal = 0;
    sigwait(&Stops, &Signal);
    Server.Stop();
    Listener.join();
    std::printf("vyrn-scores: stopped\n");
    return Served ? 0 : 1;
  } catch (const TScoreStoreError& Error) {
    std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
    return 1;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "vyrn-scores: not enough memory (an allocation failed)\n");
    return 1;
  }
}
