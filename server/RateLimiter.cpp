#include "RateLimiter.h"

namespace {
constexpr auto Window = std::chrono::seconds(60);
// Forget quiet addresses once the table holds this many, so a stream of new
// addresses cannot grow it without end.
constexpr std::size_t PruneAbove = 4096;
}  // namespace

bool TRateLimiter::Allow(const std::string& Address, TClock::time_point Now) {
  if (FPerMinute <= 0) return true;
  std::lock_guard Lock(FLock);
  if (FSeen.size() > PruneAbove && Now - FLastPrune > std::chrono::seconds(1)) Prune(Now);
  auto& Times = FSeen[Address];
  while (!Times.empty() && Now - Times.front() >= Window) Times.pop_front();
  if (Times.size() >= static_cast<std::size_t>(FPerMinute)) return false;
  Times.push_back(Now);
  return true;
}

std::size_t TRateLimiter::TrackedAddresses() {
  std::lock_guard Lock(FLock);
  return FSeen.size();
}

void TRateLimiter::Prune(TClock::time_point Now) {
  FLastPrune = Now;
  for (auto It = FSeen.begin(); It != FSeen.end();) {
    if (It->second.empty() || Now - It->second.back() >= Window) It = FSeen.erase(It);
    else ++It;
  }
}
