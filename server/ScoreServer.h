// The HTTP side: the game's submission endpoint, the leaderboard page and its
// JSON form, on cpp-httplib's thread pool.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "RateLimiter.h"
#include "ScoreStore.h"

namespace httplib {
class Server;
}

class TScoreServer {
public:
  static constexpr int DefaultPerMinute = 30;
  static constexpr int PageRows = 100;

  // PerMinute: submissions one address may send per minute (0: no limit).
  TScoreServer(TScoreStore& Store, int PerMinute = DefaultPerMinute);
  ~TScoreServer();

  // Binds Address:Port (Port 0 picks a free one); returns the port, or -1.
  int Bind(const std::string& Address, int Port);
  // Serves until Stop; returns false if serving failed.
  bool Listen();
  void Stop();

private:
  TScoreStore& FStore;
  TRateLimiter FLimiter;
  std::unique_ptr<httplib::Server> FHttp;
  int FListenSocket = -1;
};
