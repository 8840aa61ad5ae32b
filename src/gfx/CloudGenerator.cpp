#include "gfx/CloudGenerator.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "common/CommonTypes.h"

TCloudGenerator::TCloudGenerator(std::int32_t Detail) {
  // Beyond 14 the grid would take gigabytes; nothing in the game asks for it.
  if (Detail < 0 || Detail > 14) throw std::invalid_argument("cloud detail " + std::to_string(Detail) + " is outside 0..14");
  FSize = static_cast<std::int32_t>(RoundHalfEven(std::ldexp(1.0L, Detail) + 1.0L));
  FCells.assign(static_cast<std::size_t>(FSize) * static_cast<std::size_t>(FSize), 0);
}

void TCloudGenerator::Generate(std::uint8_t Base, std::int32_t Amplitude, float Roughness, std::int32_t Threshold) {
  std::fill(FCells.begin(), FCells.end(), 0);
  const std::int32_t N = FSize;
  const std::int32_t M = FSize;
  const std::int32_t Low = -static_cast<std::int32_t>(Base);
  Cell(0, 0) = Low;
  Cell(N - 1, 0) = Low;
  Cell(0, M - 1) = Low;
  Cell(N - 1, M - 1) = Low;
  Cell(N / 2, M / 2) = Low;

  float Amp = static_cast<float>(Amplitude);
  // Halving factor per level, computed once in extended precision; the
  // amplitude itself stays single precision from level to level.
  const long double Decay = std::pow(2.0L, -static_cast<long double>(Roughness));
  std::int32_t Step = N - 1;
  while (Step > 1) {
    const std::int32_t H = Step / 2;
    const bool AddNoise = Step >= Threshold;
    const long double AmpX = Amp;
    // One draw per new cell, whether or not it is used.
    auto Noise = [&]() -> std::int32_t {
      const long double R = RandomReal();
      if (!AddNoise) return 0;
      return static_cast<std::int32_t>(RoundHalfEven(R * AmpX * 2 - AmpX));
    };
    const std::int32_t SquaresX = (N - 1) / Step;
    const std::int32_t SquaresY = (M - 1) / Step;
    for (std::int32_t BX = 0; BX < SquaresX; ++BX) {
      const std::int32_t X1 = BX * Step;
      const std::int32_t X2 = X1 + Step;
      const std::int32_t CX = X1 + H;
      // Outer neighbours across the wrap: the grid is a torus of period N - 1.
      const std::int32_t LeftOuter = X1 - H < 0 ? X1 - H + N - 1 : X1 - H;
      const std::int32_t RightOuter = X2 + H > N - 1 ? X2 + H - (N - 1) : X2 + H;
      for (std::int32_t BY = 0; BY < SquaresY; ++BY) {
        const std::int32_t Y1 = BY * Step;
        const std::int32_t Y2 = Y1 + Step;
        const std::int32_t CY = Y1 + H;
        const std::int32_t TopOuter = Y1 - H < 0 ? Y1 - H + M - 1 : Y1 - H;
        const std::int32_t BottomOuter = Y2 + H > M - 1 ? Y2 + H - (M - 1) : Y2 + H;

        // Square step: the centre.
        const std::int32_t C = Average(Cell(X1, Y1), Cell(X2, Y1), Cell(X1, Y2), Cell(X2, Y2)) + Noise();
        Cell(CX, CY) = C;

        // Left edge midpoint; the first column also writes its wrapped copy.
        const std::int32_t L = Average(Cell(X1, Y1), C, Cell(X1, Y2), Cell(LeftOuter, CY)) + Noise();
        if (X1 < N - 1) Cell(X1, CY) = L;
        if (X1 == 0) Cell(N - 1, CY) = L;

        // Top edge midpoint; the first row also writes its wrapped copy.
        const std::int32_t T = Average(Cell(X1, Y1), C, Cell(X2, Y1), Cell(CX, TopOuter)) + Noise();
        if (Y1 < M - 1) Cell(CX, Y1) = T;
        if (Y1 == 0) Cell(CX, M - 1) = T;

        // Right and bottom midpoints of the last column or row are computed
        // (their draws taken) but not stored: the wrapped copies stay.
        const std::int32_t R = Average(Cell(X2, Y2), C, Cell(X2, Y1), Cell(RightOuter, CY)) + Noise();
        if (X2 < N - 1) Cell(X2, CY) = R;

        const std::int32_t B = Average(Cell(X2, Y2), C, Cell(X1, Y2), Cell(CX, BottomOuter)) + Noise();
        if (Y2 < M - 1) Cell(CX, Y2) = B;
      }
    }
    Amp = static_cast<float>(static_cast<long double>(Amp) * Decay);
    Step /= 2;
  }
}
