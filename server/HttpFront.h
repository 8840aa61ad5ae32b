// The server's HTTP side: one thread waits on every connection with epoll and
// reads requests whole, within a deadline per request; only complete requests
// go to a small pool of workers, through a bounded queue. Slow or idle clients
// therefore cost a socket and a buffer, never a worker, and when the queue or
// an address's share of connections is full the answer is a quick 503.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

struct THttpRequest {
  std::string Method;
  std::string Target;  // as sent: path and query
  std::string Path;    // decoded path
  std::string Query;   // raw, still percent-encoded
  std::multimap<std::string, std::string> Params;  // decoded query
  std::multimap<std::string, std::string> Headers;  // names in lower case
  std::string Body;
  std::string RemoteAddr;

  // The first value of a query key, empty when missing.
  std::string Param(const std::string& Key) const;
  std::string Header(const std::string& Lower) const;
};

struct THttpResponse {
  int Status = 200;
  std::vector<std::pair<std::string, std::string>> Headers;
  std::string Body;
  void Set(const std::string& Name, const std::string& Value) { Headers.emplace_back(Name, Value); }
  void Content(std::string Text, const std::string& Type) {
    Body = std::move(Text);
    Set("Content-Type", Type);
  }
};

class THttpFront {
public:
  struct TLimits {
    int Workers = 4;
    std::size_t QueueLength = 512;       // complete requests waiting for a worker
    std::size_t MaxConnections = 20000;  // also bounded by the open-file limit
    std::size_t PerAddress = 128;        // open connections from one client address
    std::size_t MaxHeader = 8192;
    std::size_t MaxBody = 4096;  // per path: see BodyLimit
    std::chrono::milliseconds RequestDeadline{5000};  // first byte to last byte (plus time for a large body)
    std::chrono::milliseconds IdleDeadline{5000};      // a kept-alive connection between requests
    std::chrono::milliseconds WriteDeadline{10000};
    int KeepAliveMax = 1000;
  };
  using THandler = std::function<void(const THttpRequest&, THttpResponse&)>;

  explicit THttpFront(TLimits Limits);
  ~THttpFront();
  THttpFront(const THttpFront&) = delete;
  THttpFront& operator=(const THttpFront&) = delete;

  void Route(const std::string& Method, const std::string& Path, THandler Handler);
  // Paths starting with Prefix (after exact routes found nothing).
  void RoutePrefix(const std::string& Method, const std::string& Prefix, THandler Handler);
  // A larger body allowed on one path (the run uploads).
  void BodyLimit(const std::string& Path, std::size_t Max) {
    FBodyLimits[Path] = Max;
    FMostBody = std::max(FMostBody, Max);
  }

  // Binds Address:Port (0 picks a free port) without sharing the port with
  // anyone: a port in use is an error. Returns the port, or -1 with Error.
  int Bind(const std::string& Address, int Port, std::string& Error);
  // Serves until Stop. False if the loop could not run.
  bool Listen();
  void Stop();

  // Requests refused with 503 since the start (tests and logs).
  std::uint64_t Refused() const { return FRefused.load(); }

private:
  struct TConnection;
  struct TDone {
    int Fd;
    std::uint64_t Serial;
    std::string Bytes;
    bool Close;
  };

  void Accept();
  void ReadFrom(TConnection& C);
  void WriteTo(TConnection& C);
  void TryRequest(TConnection& C);
  void Queue(TConnection& C, THttpRequest Request, bool Close);
  void Reply(TConnection& C, int Status, const std::string& Text, bool Close);
  void CloseConnection(int Fd);
  void Expire();
  void TakeDone();
  void Work();
  std::string Handle(const THttpRequest& Request, bool Close);

  TLimits FLimits;
  std::map<std::pair<std::string, std::string>, THandler> FRoutes;
  std::vector<std::pair<std::pair<std::string, std::string>, THandler>> FPrefixRoutes;
  std::map<std::string, std::size_t> FBodyLimits;
  std::size_t FMostBody = FLimits.MaxBody;
  int FListen = -1;
  int FEpoll = -1;
  int FWake = -1;    // eventfd: workers' answers and Stop
  int FReserve = -1; // a spare descriptor, freed to shed a connection when out of them
  std::atomic<bool> FStopping{false};
  std::atomic<std::uint64_t> FRefused{0};
  std::uint64_t FNextSerial = 1;
  std::unordered_map<int, std::unique_ptr<TConnection>> FConnections;
  std::unordered_map<std::string, std::size_t> FPerAddress;

  std::mutex FLock;
  std::condition_variable FWorkReady;
  std::deque<std::pair<std::pair<int, std::uint64_t>, std::pair<THttpRequest, bool>>> FWork;
  std::vector<TDone> FDone;
  std::vector<std::thread> FWorkers;
};

// Lifts the soft open-file limit to the hard one; returns the new soft limit.
std::size_t RaiseOpenFileLimit();
