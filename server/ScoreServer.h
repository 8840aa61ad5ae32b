// The server's pages and endpoints: the game's submission endpoint, the
// leaderboard page and its JSON form, and the runs (recorded games) that are
// played back to confirm a score, on the epoll front end of HttpFront.
#pragma once

#include <memory>
#include <string>

#include "HttpFront.h"
#include "RateLimiter.h"
#include "ScoreStore.h"

class TRunQueue;

struct TServerOptions {
  int PerMinute = 30;          // submissions one address may send per minute (0: no limit)
  bool VerifiedOnly = false;   // list only the scores a run confirmed
  std::string RunsFolder;      // where runs are kept; empty: runs are not taken
  std::string Pak;             // the game's archive the runs are played with
  std::string Verifier;        // the program that plays one run back
  int VerifyWorkers = 2;
  std::size_t MaxQueuedRuns = 256;
  int VerifyWallSeconds = 60;
  THttpFront::TLimits Http;
};

class TScoreServer {
public:
  static constexpr int DefaultPerMinute = 30;
  static constexpr int PageRows = 100;
  static constexpr std::size_t MaxRunBytes = 4u << 20;

  TScoreServer(TScoreStore& Store, TServerOptions Options);
  ~TScoreServer();

  // Binds Address:Port (Port 0 picks a free one); returns the port, or -1
  // with Error (a port already in use is one).
  int Bind(const std::string& Address, int Port, std::string& Error);
  // Serves until Stop; returns false if serving failed.
  bool Listen();
  void Stop();

private:
  void RunRoutes();
  std::string RunFile(std::int64_t Id) const;

  TScoreStore& FStore;
  TServerOptions FOptions;
  TRateLimiter FLimiter;
  TRateLimiter FRunLimiter;
  THttpFront FHttp;
  std::unique_ptr<TRunQueue> FRuns;
};
