// Cloud-like height fields by midpoint displacement (diamond-square) on a
// grid that wraps around at its edges. The board's shadow mask is made from
// one of these.
#pragma once

#include <cstdint>
#include <vector>

class TCloudGenerator {
public:
  // A (2^Detail + 1) x (2^Detail + 1) grid, all 0. Detail 0..15.
  explicit TCloudGenerator(std::int32_t Detail);

  // Fills the grid. Every new cell takes one draw of the program-wide random
  // generator (RandomReal), so the field depends only on the generator's
  // state when this starts. Noise is added while the subdivision step is at
  // least Threshold; below it the draws are still taken.
  void Generate(std::uint8_t Base, std::int32_t Amplitude, float Roughness, std::int32_t Threshold);

  // No bounds test: callers stay inside 0..GetWidth()-1, 0..GetHeight()-1.
  std::int32_t GetValue(std::int32_t X, std::int32_t Y) const {
    return FCells[static_cast<std::size_t>(X) * static_cast<std::size_t>(FSize) + static_cast<std::size_t>(Y)];
  }
  std::int32_t GetWidth() const { return FSize; }
  std::int32_t GetHeight() const { return FSize; }
  // Column X as GetHeight() contiguous values; cells are stored column by
  // column.
  const std::int32_t* Column(std::int32_t X) const {
    return FCells.data() + static_cast<std::size_t>(X) * static_cast<std::size_t>(FSize);
  }

  // Integer mean of four cells, truncated toward zero (-5 div 4 = -1).
  static std::int32_t Average(std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(A) + B + C + D) / 4);
  }

private:
  std::int32_t& Cell(std::int32_t X, std::int32_t Y) {
    return FCells[static_cast<std::size_t>(X) * static_cast<std::size_t>(FSize) + static_cast<std::size_t>(Y)];
  }

  std::int32_t FSize = 0;
  std::vector<std::int32_t> FCells;
};
