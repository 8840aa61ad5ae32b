// Small value types and helpers shared by every subsystem: colour values,
// RGBA pixels, rectangles, rounding and the one pseudo-random generator.
// The time of day that seeds it has its own unit (TimeOfDay.h), and text
// scrambling and key names theirs (Scramble.h): include what you use.
#pragma once

#include <cstdint>

// 0x00BBGGRR, the classic RGB colour reference layout.
using TColorValue = std::uint32_t;
// 0xAABBGGRR, alpha 255 opaque.
using TRGBAPixel = std::uint32_t;

constexpr TColorValue RGB(std::uint32_t R, std::uint32_t G, std::uint32_t B) {
  return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16);
}
constexpr std::uint8_t GetRValue(TColorValue C) { return C & 0xFF; }
constexpr std::uint8_t GetGValue(TColorValue C) { return (C >> 8) & 0xFF; }
constexpr std::uint8_t GetBValue(TColorValue C) { return (C >> 16) & 0xFF; }

constexpr TRGBAPixel MakeRGBA(std::uint32_t R, std::uint32_t G, std::uint32_t B, std::uint32_t A) {
  return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16) | ((A & 0xFF) << 24);
}
constexpr std::uint8_t PixelR(TRGBAPixel P) { return P & 0xFF; }
constexpr std::uint8_t PixelG(TRGBAPixel P) { return (P >> 8) & 0xFF; }
constexpr std::uint8_t PixelB(TRGBAPixel P) { return (P >> 16) & 0xFF; }
constexpr std::uint8_t PixelA(TRGBAPixel P) { return P >> 24; }

// Right and Bottom are inclusive.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Rounds to the nearest integer, halves to the even neighbour, in extended
// precision. Every "rounded" value of the game goes through here.
std::int64_t RoundHalfEven(long double Value);

// The program-wide linear congruential generator:
//   Seed := Seed * 134775813 + 1 (mod 2^32).
// Everything random in the game draws from it. Its seeds come from fixed
// tables or from the time of day, so the recorded time-of-day reads
// (TimeOfDay.h) replay every draw.
extern std::uint32_t RandSeed;

// Advances the generator and returns the high 32 bits of Seed * N, that is a
// number in 0..N-1 (0 when N <= 0).
std::int32_t Random(std::int32_t N);
// Advances the generator and returns Seed / 2^32, in [0, 1).
long double RandomReal();

// Seed := ((hour * 60 + minute) * 60 + second) * 1000 + ms of the UTC time,
// read through the time-of-day source.
void Randomize();
