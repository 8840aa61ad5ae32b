#include "game/Level.h"

#include <algorithm>

float TLevel::ClaimedPercent() {
  // The target is 73.4 % of the whole 600 x 550 board (margin included) on
  // level 1 and rises by 0.4 % a level up to 81 % from level 20 on.
  const std::int32_t N = std::min(Number, 20);
  // ClaimedCells * 100 is a 32-bit product (it wraps rather than overflow).
  const std::int32_t Scaled =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(ClaimedCells) * 100u);
  const long double Target = (static_cast<long double>(N) / 250.0L + 0.73L) * 330000.0L;
  const float Percent = static_cast<float>(static_cast<long double>(Scaled) / Target);
  if (Percent >= 100.0f) Completed = true;
  return Percent;
}
