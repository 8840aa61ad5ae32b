#include "pak/PakReader.h"

#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

namespace {

struct TFileCloser {
  void operator()(std::FILE* F) const { std::fclose(F); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

struct TOpenArchive {
  TFilePtr File;
  std::uint64_t FileSize = 0;
  std::uint32_t DirectoryOffset = 0;
};

std::uint32_t LoadU32(const unsigned char* P) {
  return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
         (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

[[noreturn]] void Fail(const std::string& FileName, const std::string& What) {
  throw EPakReadError("archive " + FileName + ": " + What);
}

void SeekTo(const TOpenArchive& A, const std::string& FileName, std::uint64_t Offset) {
  if (fseeko(A.File.get(), static_cast<off_t>(Offset), SEEK_SET) != 0)
    Fail(FileName, "cannot seek to offset " + std::to_string(Offset) + ": " + std::strerror(errno));
}

// Opens the archive and reads its header. nullopt when no file exists there;
// throws EPakReadError when something is there but cannot be read as one.
std::optional<TOpenArchive> OpenArchive(const std::string& FileName) {
  std::error_code Ec;
  const std::filesystem::file_status Status = std::filesystem::status(FileName, Ec);
  if (Status.type() == std::filesystem::file_type::not_found) return std::nullopt;
  if (Status.type() == std::filesystem::file_type::directory) Fail(FileName, "cannot open: it is a directory");

  TOpenArchive A;
  A.File.reset(std::fopen(FileName.c_str(), "rb"));
  if (!A.File) Fail(FileName, std::string("cannot open: ") + std::strerror(errno));
  if (fseeko(A.File.get(), 0, SEEK_END) != 0) Fail(FileName, std::string("cannot seek: ") + std::strerror(errno));
  const off_t End = ftello(A.File.get());
  if (End < 0) Fail(FileName, std::string("cannot determine its size: ") + std::strerror(errno));
  A.FileSize = static_cast<std::uint64_t>(End);
  if (A.FileSize < 4) Fail(FileName, "too short to hold a directory offset (" + std::to_string(A.FileSize) + " bytes)");
  SeekTo(A, FileName, 0);
  unsigned char Header[4];
  if (std::fread(Header, 1, 4, A.File.get()) != 4) Fail(FileName, "cannot read the directory offset");
  A.DirectoryOffset = LoadU32(Header);
  return A;
}

// The one directory parser: calls Visit for every complete entry in order
// until Visit returns true. A directory offset past the end of the file
// simply yields no entries; an entry cut short by the end of the file ends
// the scan.
void ScanDirectory(const TOpenArchive& A, const std::string& FileName,
                   const std::function<bool(const TPakDirEntry&)>& Visit) {
  std::FILE* F = A.File.get();
  if (A.DirectoryOffset >= A.FileSize) return;
  SeekTo(A, FileName, A.DirectoryOffset);
  TPakDirEntry Entry;
  for (;;) {
    const int Length = std::fgetc(F);
    if (Length == EOF) break;
    Entry.Name.resize(static_cast<std::size_t>(Length));
    if (std::fread(Entry.Name.data(), 1, Entry.Name.size(), F) != Entry.Name.size()) break;
    unsigned char Tail[8];
    if (std::fread(Tail, 1, 8, F) != 8) break;
    Entry.Size = LoadU32(Tail);
    Entry.Offset = LoadU32(Tail + 4);
    if (Visit(Entry)) return;
  }
  if (std::ferror(F)) Fail(FileName, "read error in the directory");
}

}  // namespace

std::unique_ptr<TMemoryStream> TPakFileReadable::GetStream(const std::string& Name) const {
  std::optional<TOpenArchive> A = OpenArchive(FileName);
  if (!A) return nullptr;
  std::optional<TPakDirEntry> Found;
  ScanDirectory(*A, FileName, [&](const TPakDirEntry& E) {
    if (E.Name != Name) return false;
    Found = E;
    return true;
  });
  if (!Found) return nullptr;

  // Checked before allocating, so a bogus size never turns into a huge
  // allocation.
  if (static_cast<std::uint64_t>(Found->Offset) + Found->Size > A->FileSize)
    Fail(FileName, "entry \"" + Name + "\" (offset " + std::to_string(Found->Offset) + ", size " +
                       std::to_string(Found->Size) + ") reaches past the end of the file (" +
                       std::to_string(A->FileSize) + " bytes)");
  std::vector<std::uint8_t> Bytes(Found->Size);
  SeekTo(*A, FileName, Found->Offset);
  if (std::fread(Bytes.data(), 1, Bytes.size(), A->File.get()) != Bytes.size())
    Fail(FileName, "cannot read entry \"" + Name + "\"");
  return std::make_unique<TMemoryStream>(std::move(Bytes));
}

std::vector<TPakDirEntry> TPakFileReadable::ListEntries() const {
  std::optional<TOpenArchive> A = OpenArchive(FileName);
  if (!A) Fail(FileName, "not found");
  std::vector<TPakDirEntry> Entries;
  ScanDirectory(*A, FileName, [&](const TPakDirEntry& E) {
    Entries.push_back(E);
    return false;
  });
  return Entries;
}

bool TPakFileReadable::CheckArchive(std::string& Problem) const {
  try {
    std::optional<TOpenArchive> A = OpenArchive(FileName);
    if (!A) {
      Problem = "The archive " + FileName + " was not found. Start the game from the folder that holds it.";
      return false;
    }
    if (A->DirectoryOffset < 4 || A->DirectoryOffset > A->FileSize) {
      Problem = "The archive " + FileName + " is damaged: its directory offset " + std::to_string(A->DirectoryOffset) +
                " lies outside the file (" + std::to_string(A->FileSize) + " bytes).";
      return false;
    }
    std::optional<std::string> Bad;
    ScanDirectory(*A, FileName, [&](const TPakDirEntry& E) {
      if (static_cast<std::uint64_t>(E.Offset) + E.Size <= A->FileSize) return false;
      Bad = E.Name;
      return true;
    });
    if (Bad) {
      Problem = "The archive " + FileName + " is damaged: the entry \"" + *Bad + "\" reaches past the end of the file.";
      return false;
    }
  } catch (const EPakReadError& E) {
    Problem = std::string("The archive cannot be read: ") + E.what();
    return false;
  }
  Problem.clear();
  return true;
}
