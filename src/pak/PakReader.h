// Reads assets by name from the game's archive (game.pak). The archive holds a
// 4-byte directory offset, the entries' bytes, and at that offset a directory
// running to the end of the file: per entry a 1-byte name length, the name, a
// 4-byte size and a 4-byte absolute offset (little-endian). PakWriter.h
// writes the same format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pak/MemoryStream.h"

// A damaged or unreadable archive: it exists but cannot be opened, is too
// short for its header, or an entry reaches past the end of the file or is
// larger than any entry of its kind can be.
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
  // Most directory entries an archive may hold. Ours holds a few hundred;
  // the index of a damaged directory must not grow without bound.
  static constexpr std::size_t MaxEntries = std::size_t{1} << 18;

  // The most bytes an entry of each kind may claim, told by the name's
  // extension. Our largest picture is about 100 KB, sound 130 KB and music
  // 1.2 MB; the bounds leave room for far richer art, yet a damaged or
  // hostile directory can no longer make every loader allocate gigabytes.
  static constexpr std::uint32_t MaxPictureSize = 16u << 20;  // .png .jpg .jpeg .bmp
  static constexpr std::uint32_t MaxSoundSize = 16u << 20;    // .wav
  static constexpr std::uint32_t MaxMusicSize = 64u << 20;    // .ogg .mp3 .mod .xm .s3m .it
  static constexpr std::uint32_t MaxFontSize = 16u << 20;     // .fnt .ttf .otf
  static constexpr std::uint32_t MaxReplaySize = 64u << 20;   // .vrp
  static constexpr std::uint32_t MaxOtherSize = 16u << 20;    // anything else
  // The bound for an entry called Name.
  static std::uint32_t MaxEntrySize(const std::string& Name);

  // Only stores the path. The first lookup reads the directory into an index
  // by name; later lookups open the file just to read their entry. An archive
  // rebuilt meanwhile (another file, size or modification time) is indexed
  // afresh, so it is read as it is now. No file stays open between calls.
  explicit TPakFileReadable(std::string FileName);
  // Copies take the path; each builds its own index.
  TPakFileReadable(const TPakFileReadable& Other);
  TPakFileReadable& operator=(const TPakFileReadable& Other);
  TPakFileReadable(TPakFileReadable&& Other) noexcept;
  TPakFileReadable& operator=(TPakFileReadable&& Other) noexcept;
  ~TPakFileReadable();

  std::string FileName;

  // The bytes of the first directory entry whose name equals Name exactly
  // (byte for byte, case-sensitive), positioned at 0; the caller owns it.
  // nullptr when the archive file does not exist or no complete entry has
  // that name (a directory cut in the middle of an entry ends the search).
  // Throws EPakReadError when the archive exists but cannot be read (also
  // when it is not a regular file, so a named pipe never hangs the start),
  // or the found entry reaches past the end of the file or claims more than
  // MaxEntrySize allows.
  std::unique_ptr<TMemoryStream> GetStream(const std::string& Name) const;
  // GetStream for sound and art the game can do without: nullptr also when
  // the archive cannot be read, so a damaged entry plays or shows nothing.
  std::unique_ptr<TMemoryStream> GetOptionalStream(const std::string& Name) const;

  // Every complete directory entry in directory order. Throws EPakReadError
  // when the archive is missing or cannot be read.
  std::vector<TPakDirEntry> ListEntries() const;

  // Start-up check: the archive exists, opens, holds a directory offset that
  // lies within the file, and every entry's bytes lie within the file and
  // within the bound of its kind.
  // On failure Problem says why in words a player can act on.
  bool CheckArchive(std::string& Problem) const;

private:
  // The directory by name, with what it was read from.
  struct TIndex;
  mutable std::unique_ptr<TIndex> FIndex;
};
