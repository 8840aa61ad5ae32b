#include <gtest/gtest.h>

#include "RateLimiter.h"

TEST(RateLimiterTest, ThirtyAMinutePerAddressThenRefusedUntilTheMinuteHasPassed) {
  TRateLimiter Limiter(30);
  const auto Start = TRateLimiter::TClock::time_point() + std::chrono::hours(1);
  for (int I = 0; I < 30; ++I) EXPECT_TRUE(Limiter.Allow("10.0.0.1", Start + std::chrono::seconds(I))) << I;
  EXPECT_FALSE(Limiter.Allow("10.0.0.1", Start + std::chrono::seconds(30)));
  EXPECT_TRUE(Limiter.Allow("10.0.0.2", Start + std::chrono::seconds(30)));
  // Refusals do not count: a minute after the first request one slot is free
  // again, a second later the next.
  EXPECT_FALSE(Limiter.Allow("10.0.0.1", Start + std::chrono::milliseconds(59999)));
  EXPECT_TRUE(Limiter.Allow("10.0.0.1", Start + std::chrono::seconds(60)));
  EXPECT_FALSE(Limiter.Allow("10.0.0.1", Start + std::chrono::seconds(60)));
  EXPECT_TRUE(Limiter.Allow("10.0.0.1", Start + std::chrono::seconds(61)));
}

TEST(RateLimiterTest, ZeroIsNoLimitAndQuietAddressesAreForgotten) {
  TRateLimiter Open(0);
  for (int I = 0; I < 1000; ++I) EXPECT_TRUE(Open.Allow("1.2.3.4"));

  TRateLimiter Limiter(30);
  const auto Start = TRateLimiter::TClock::time_point() + std::chrono::hours(1);
  for (int I = 0; I < 5000; ++I) Limiter.Allow("addr" + std::to_string(I), Start);
  EXPECT_EQ(Limiter.TrackedAddresses(), 5000u);
  Limiter.Allow("late", Start + std::chrono::minutes(2));
  EXPECT_EQ(Limiter.TrackedAddresses(), 1u);
}
