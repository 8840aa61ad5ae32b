// Writes archives in the format TPakFileReadable reads: a 4-byte directory
// offset, the entries' bytes, then the directory (name length, name, size,
// offset per entry, all little-endian). Used by vyrn-pak and the asset
// generator.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct TPakEntry {
  std::string Name;
  std::vector<std::uint8_t> Data;
};

class EPakWriteError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The archive's bytes, entries in the given order. Throws EPakWriteError for
// a name longer than 255 bytes or an archive beyond 4 GiB.
std::vector<std::uint8_t> BuildPakImage(const std::vector<TPakEntry>& Entries);

// Writes BuildPakImage's result to Path through a temporary file renamed over
// it, so a failed write never leaves half an archive. Throws EPakWriteError.
void WritePakFile(const std::string& Path, const std::vector<TPakEntry>& Entries);
