// Submissions per client address in a sliding minute. Thread-safe.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

class TRateLimiter {
public:
  using TClock = std::chrono::steady_clock;

  // At most PerMinute requests in any 60 seconds from one address; 0 turns
  // the limit off.
  explicit TRateLimiter(int PerMinute) : FPerMinute(PerMinute) {}

  // True when the request may go ahead (and counts it); refused requests do
  // not count, so a client that backs off gets in again after a minute.
  bool Allow(const std::string& Address, TClock::time_point Now = TClock::now());

  std::size_t TrackedAddresses();

private:
  void Prune(TClock::time_point Now);

  int FPerMinute;
  std::mutex FLock;
  std::unordered_map<std::string, std::deque<TClock::time_point>> FSeen;
  TClock::time_point FLastPrune{};
};
