// FNV-1a, 64 bits: small, and any changed byte changes it. A hash can be
// carried on from a value another part computed (From), so that state kept
// in several places hashes as one stream.
#pragma once

#include <cstddef>
#include <cstdint>

class TFnv64 {
public:
  static constexpr std::uint64_t Basis = 14695981039346656037ull;

  explicit TFnv64(std::uint64_t From = Basis) : FValue(From) {}
  void Bytes(const void* Data, std::size_t N) {
    const auto* P = static_cast<const std::uint8_t*>(Data);
    for (std::size_t I = 0; I < N; ++I) {
      FValue ^= P[I];
      FValue *= 1099511628211ull;
    }
  }
  // The value's bytes as they lie in memory.
  template <typename T>
  void Value(T V) {
    Bytes(&V, sizeof V);
  }
  std::uint64_t Get() const { return FValue; }

private:
  std::uint64_t FValue;
};
