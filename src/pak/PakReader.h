// Reads assets by name from the game's archive (game.pak). The archive holds a
// 4-byte directory offset, the entries' bytes, and at that offset a directory
// running to the end of the file: per entry a 1-byte name length, the name, a
// 4-byte size and a 4-byte absolute offset (little-endian). PakWriter.h
// writes the same format.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pak/MemoryStream.h"

// A damaged or unreadable archive: it exists but cannot be opened, is too
// short for its header, or an entry reaches past the end of the file.
class EPakReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One complete directory entry as stored.
struct TPakDirEntry {
  std::string Name;
  std::uint32_t Size = 0;
  std::uint32_t Offset = 0;
  friend bool operator==(const TPakDirEntry&, const TPakDirEntry&) = default;
};

class TPakFileReadable {
public:
  // Only stores the path; the file is opened afresh by every lookup, so a
  // rebuilt archive is always read as it is now.
  explicit TPakFileReadable(std::string FileName) : FileName(std::move(FileName)) {}

  std::string FileName;

  // The bytes of the first directory entry whose name equals Name exactly
  // (byte for byte, case-sensitive), positioned at 0; the caller owns it.
  // nullptr when the archive file does not exist or no complete entry has
  // that name (a directory cut in the middle of an entry ends the search).
  // Throws EPakReadError when the archive exists but cannot be read, or the
  // found entry reaches past the end of the file.
  std::unique_ptr<TMemoryStream> GetStream(const std::string& Name) const;

  // Every complete directory entry in directory order. Throws EPakReadError
  // when the archive is missing or cannot be read.
  std::vector<TPakDirEntry> ListEntries() const;

  // Start-up check: the archive exists, opens, holds a directory offset that
  // lies within the file, and every entry's bytes lie within the file.
  // On failure Problem says why in words a player can act on.
  bool CheckArchive(std::string& Problem) const;
};
