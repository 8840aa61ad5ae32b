// vyrn-scores --db FILE --port N [--bind ADDR] [--max-per-minute N]
// The high-score server: takes the game's submissions and shows the
// leaderboard. Stops cleanly on SIGINT or SIGTERM.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <pthread.h>
#include <string>
#include <thread>

#include "ScoreServer.h"
#include "ScoreStore.h"

namespace {
int Usage() {
  std::fprintf(stderr,
               "usage: vyrn-scores --db FILE --port N [--bind ADDR] [--max-per-minute N]\n"
               "  --bind            address to listen on (default 127.0.0.1)\n"
               "  --port 0          picks a free port; the chosen one is printed\n"
               "  --max-per-minute  submissions per client address and minute, 0 for no limit (default 30)\n");
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
}  // namespace

int main(int Argc, char** Argv) {
  std::string Db, Bind = "127.0.0.1";
  int Port = -1, PerMinute = TScoreServer::DefaultPerMinute;
  for (int I = 1; I < Argc; ++I) {
    const std::string Arg = Argv[I];
    if (I + 1 >= Argc) return Usage();
    const char* Value = Argv[++I];
    if (Arg == "--db") Db = Value;
    else if (Arg == "--bind") Bind = Value;
    else if (Arg == "--port") {
      if (!ParseInt(Value, 0, 65535, Port)) return Usage();
    } else if (Arg == "--max-per-minute") {
      if (!ParseInt(Value, 0, 1000000, PerMinute)) return Usage();
    } else return Usage();
  }
  if (Db.empty() || Port < 0) return Usage();

  // The signals are taken by sigwait below, not by whichever worker thread
  // happens to run; the workers inherit this mask.
  sigset_t Stops;
  sigemptyset(&Stops);
  sigaddset(&Stops, SIGINT);
  sigaddset(&Stops, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &Stops, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  try {
    TScoreStore Store(Db);
    TScoreServer Server(Store, PerMinute);
    const int Bound = Server.Bind(Bind, Port);
    if (Bound <= 0) {
      std::fprintf(stderr, "vyrn-scores: cannot listen on %s:%d\n", Bind.c_str(), Port);
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
