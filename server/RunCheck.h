// Checking a recorded game: played back with the game's own code on the
// headless platform, it must be a game of this build, replay without parting
// from its recording, stay within the tick budget, and end with the claimed
// score entered under the claimed name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TRunLimits {
  // About 100 minutes of play.
  std::uint32_t MaxTicks = 200000;
  std::size_t MaxBytes = 4u << 20;
};

struct TRunVerdict {
  bool Verified = false;
  std::string Reason;  // why not
  std::uint32_t Ticks = 0;
};

TRunVerdict CheckRun(const std::string& Bytes, const std::string& PakFile, const std::string& Name, std::int64_t Score,
                     const TRunLimits& Limits = {});
