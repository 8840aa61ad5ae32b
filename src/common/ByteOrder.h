// Little-endian reading and writing of the file formats the game handles
// (archive directory, RIFF WAVE chunks).
#pragma once

#include <cstdint>
#include <vector>

inline std::uint16_t Le16(const std::uint8_t* P) { return static_cast<std::uint16_t>(P[0] | (P[1] << 8)); }
inline std::uint32_t Le32(const std::uint8_t* P) {
  return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}
inline void PutLe16(std::vector<std::uint8_t>& Out, std::uint32_t V) {
  Out.push_back(static_cast<std::uint8_t>(V & 0xFF));
  Out.push_back(static_cast<std::uint8_t>((V >> 8) & 0xFF));
}
inline void PutLe32(std::vector<std::uint8_t>& Out, std::uint32_t V) {
  PutLe16(Out, V & 0xFFFF);
  PutLe16(Out, V >> 16);
}
