#include "pak/PakWriter.h"

#include <cstdio>
#include <limits>

#include "common/ByteOrder.h"


std::vector<std::uint8_t> BuildPakImage(const std::vector<TPakEntry>& Entries) {
  std::uint64_t Total = 4;
  for (const TPakEntry& E : Entries) {
    if (E.Name.size() > 255) throw EPakWriteError("entry name longer than 255 bytes: " + E.Name.substr(0, 40) + "...");
    Total += E.Data.size() + 1 + E.Name.size() + 8;
  }
  if (Total > std::numeric_limits<std::uint32_t>::max()) throw EPakWriteError("archive would exceed 4 GiB");

  std::vector<std::uint8_t> Out;
  Out.reserve(static_cast<std::size_t>(Total));
  PutLe32(Out, 0);  // directory offset, patched below
  std::vector<std::uint64_t> Offsets;
  for (const TPakEntry& E : Entries) {
    Offsets.push_back(Out.size());
    Out.insert(Out.end(), E.Data.begin(), E.Data.end());
  }
  const std::uint64_t Directory = Out.size();
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    Out.push_back(static_cast<std::uint8_t>(Entries[i].Name.size()));
    Out.insert(Out.end(), Entries[i].Name.begin(), Entries[i].Name.end());
    PutLe32(Out, static_cast<std::uint32_t>(Entries[i].Data.size()));
    PutLe32(Out, static_cast<std::uint32_t>(Offsets[i]));
  }
  for (int i = 0; i < 4; ++i) Out[i] = static_cast<std::uint8_t>(Directory >> (8 * i));
  return Out;
}

void WritePakFile(const std::string& Path, const std::vector<TPakEntry>& Entries) {
  const std::vector<std::uint8_t> Image = BuildPakImage(Entries);
  const std::string Temp = Path + ".tmp";
  std::FILE* F = std::fopen(Temp.c_str(), "wb");
  if (!F) throw EPakWriteError("cannot create " + Temp);
  const bool Written = std::fwrite(Image.data(), 1, Image.size(), F) == Image.size();
  const bool Closed = std::fclose(F) == 0;
  if (!Written || !Closed) {
    std::remove(Temp.c_str());
    throw EPakWriteError("cannot write " + Temp);
  }
  if (std::rename(Temp.c_str(), Path.c_str()) != 0) {
    std::remove(Temp.c_str());
    throw EPakWriteError("cannot replace " + Path);
  }
}
