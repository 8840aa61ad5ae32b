// A byte buffer with a read/write position: what the archive hands out for
// every asset, and what the image and sound loaders read from.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

enum class TSeekOrigin { Beginning, Current, End };

class TMemoryStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> Bytes) : FBytes(std::move(Bytes)) {}

  std::size_t Size() const { return FBytes.size(); }
  std::size_t Position() const { return FPosition; }
  // Positions past the end are allowed (reads there deliver nothing, writes
  // fill the gap with zeros), like a file.
  void SetPosition(std::size_t Position) { FPosition = Position; }

  // Moves the position relative to Origin and returns the new position; a
  // result before the start is held at 0.
  std::size_t Seek(std::int64_t Offset, TSeekOrigin Origin = TSeekOrigin::Beginning) {
    std::int64_t Base = 0;
    if (Origin == TSeekOrigin::Current) Base = static_cast<std::int64_t>(FPosition);
    if (Origin == TSeekOrigin::End) Base = static_cast<std::int64_t>(FBytes.size());
    const std::int64_t Target = Base + Offset;
    FPosition = Target < 0 ? 0 : static_cast<std::size_t>(Target);
    return FPosition;
  }

  // Copies up to Count bytes from the position on and advances it; returns
  // the number of bytes copied (0 at or past the end).
  std::size_t Read(void* Buffer, std::size_t Count) {
    if (FPosition >= FBytes.size() || Count == 0) return 0;
    const std::size_t N = std::min(Count, FBytes.size() - FPosition);
    std::memcpy(Buffer, FBytes.data() + FPosition, N);
    FPosition += N;
    return N;
  }

  // Writes Count bytes at the position, growing the buffer as needed.
  std::size_t Write(const void* Buffer, std::size_t Count) {
    if (Count == 0) return 0;
    if (FPosition + Count > FBytes.size()) FBytes.resize(FPosition + Count);
    std::memcpy(FBytes.data() + FPosition, Buffer, Count);
    FPosition += Count;
    return Count;
  }

  // Shrinks or grows (with zeros); the position is left where it was.
  void SetSize(std::size_t Size) { FBytes.resize(Size); }

  const std::uint8_t* Data() const { return FBytes.data(); }
  std::uint8_t* Data() { return FBytes.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

  // The bytes from the position to the end, without moving the position.
  const std::uint8_t* Remaining() const { return FBytes.data() + std::min(FPosition, FBytes.size()); }
  std::size_t RemainingSize() const { return FPosition >= FBytes.size() ? 0 : FBytes.size() - FPosition; }

private:
  std::vector<std::uint8_t> FBytes;
  std::size_t FPosition = 0;
};
