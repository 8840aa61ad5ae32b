#include "pak/PakReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

struct TFileCloser {
  void operator()(std::FILE* F) const { std::fclose(F); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

struct TOpenArchive {
  TFilePtr File;
  struct stat Info {};
  std::uint64_t Size() const { return static_cast<std::uint64_t>(Info.st_size); }
};

std::uint32_t LoadU32(const unsigned char* P) {
  return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
         (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

[[noreturn]] void Fail(const std::string& FileName, const std::string& What) {
  throw EPakReadError("archive " + FileName + ": " + What);
}

void SeekTo(std::FILE* F, const std::string& FileName, std::uint64_t Offset) {
  if (fseeko(F, static_cast<off_t>(Offset), SEEK_SET) != 0)
    Fail(FileName, "cannot seek to offset " + std::to_string(Offset) + ": " + std::strerror(errno));
}

// Reads a file in large pieces: a directory is thousands of small fields,
// and a call into stdio for each costs more than parsing them.
class TChunkReader {
public:
  explicit TChunkReader(std::FILE* File) : FFile(File) {}
  // Copies the next Count bytes into Into; false when the file ends first.
  bool Read(void* Into, std::size_t Count) {
    auto* Out = static_cast<unsigned char*>(Into);
    while (Count > 0) {
      if (FPos == FLength) {
        FLength = std::fread(FBuffer.data(), 1, FBuffer.size(), FFile);
        FPos = 0;
        if (FLength == 0) return false;
      }
      const std::size_t N = std::min(Count, FLength - FPos);
      std::memcpy(Out, FBuffer.data() + FPos, N);
      FPos += N;
      Out += N;
      Count -= N;
    }
    return true;
  }

private:
  std::FILE* FFile;
  std::vector<unsigned char> FBuffer = std::vector<unsigned char>(std::size_t{1} << 16);
  std::size_t FPos = 0;
  std::size_t FLength = 0;
};

bool SameTime(const timespec& A, const timespec& B) { return A.tv_sec == B.tv_sec && A.tv_nsec == B.tv_nsec; }

// Opens the archive. nullopt when no file exists there; throws EPakReadError
// when something is there but cannot be read as one. O_NONBLOCK: opening a
// named pipe must not wait for a writer; it is refused as not regular.
std::optional<TOpenArchive> OpenArchive(const std::string& FileName) {
  const int Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    Fail(FileName, std::string("cannot open: ") + std::strerror(errno));
  }
  TOpenArchive A;
  if (::fstat(Fd, &A.Info) != 0) {
    const int Error = errno;
    ::close(Fd);
    Fail(FileName, std::string("cannot open: ") + std::strerror(Error));
  }
  if (!S_ISREG(A.Info.st_mode)) {
    ::close(Fd);
    Fail(FileName, S_ISDIR(A.Info.st_mode) ? "cannot open: it is a directory" : "cannot open: not a regular file");
  }
  A.File.reset(::fdopen(Fd, "rb"));
  if (!A.File) {
    const int Error = errno;
    ::close(Fd);
    Fail(FileName, std::string("cannot open: ") + std::strerror(Error));
  }
  return A;
}

}  // namespace

struct TPakFileReadable::TIndex {
  // What the index was read from: another file (device, inode), size or
  // time means the archive was rebuilt.
  std::string Path;
  struct stat From {};

  std::uint32_t DirectoryOffset = 0;
  std::vector<TPakDirEntry> Entries;
  // Each name to the position of its first entry in Entries.
  std::unordered_map<std::string, std::size_t> First;

  bool Describes(const std::string& FileName, const struct stat& Info) const {
    return Path == FileName && From.st_dev == Info.st_dev && From.st_ino == Info.st_ino &&
           From.st_size == Info.st_size && SameTime(From.st_mtim, Info.st_mtim) && SameTime(From.st_ctim, Info.st_ctim);
  }

  // The index of the open archive A, read afresh unless Slot already holds it.
  static const TIndex& For(std::unique_ptr<TIndex>& Slot, const std::string& FileName, TOpenArchive& A) {
    if (Slot && Slot->Describes(FileName, A.Info)) return *Slot;
    Slot.reset();  // a failed read must not leave the old archive's index behind
    Slot = Read(FileName, A);
    return *Slot;
  }

  // Reads the header and the whole directory. A directory offset past the
  // end of the file simply yields no entries; an entry cut short by the end
  // of the file ends the directory.
  static std::unique_ptr<TIndex> Read(const std::string& FileName, TOpenArchive& A) {
    auto I = std::make_unique<TIndex>();
    I->Path = FileName;
    I->From = A.Info;

    std::FILE* F = A.File.get();
    if (A.Size() < 4) Fail(FileName, "too short to hold a directory offset (" + std::to_string(A.Size()) + " bytes)");
    SeekTo(F, FileName, 0);
    unsigned char Header[4];
    if (std::fread(Header, 1, 4, F) != 4) Fail(FileName, "cannot read the directory offset");
    I->DirectoryOffset = LoadU32(Header);
    if (I->DirectoryOffset >= A.Size()) return I;

    SeekTo(F, FileName, I->DirectoryOffset);
    TChunkReader Directory(F);
    TPakDirEntry Entry;
    unsigned char Length;
    while (Directory.Read(&Length, 1)) {
      Entry.Name.resize(Length);
      unsigned char Tail[8];
      if (!Directory.Read(Entry.Name.data(), Length) || !Directory.Read(Tail, 8)) break;
      Entry.Size = LoadU32(Tail);
      Entry.Offset = LoadU32(Tail + 4);
      if (I->Entries.size() == MaxEntries)
        Fail(FileName, "the directory holds more than " + std::to_string(MaxEntries) + " entries");
      I->First.try_emplace(Entry.Name, I->Entries.size());
      I->Entries.push_back(Entry);
    }
    if (std::ferror(F)) Fail(FileName, "read error in the directory");
    return I;
  }
};

std::uint32_t TPakFileReadable::MaxEntrySize(const std::string& Name) {
  const auto Dot = Name.find_last_of('.');
  std::string Ext = Dot == std::string::npos ? "" : Name.substr(Dot + 1);
  for (char& C : Ext)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  if (Ext == "png" || Ext == "jpg" || Ext == "jpeg" || Ext == "bmp") return MaxPictureSize;
  if (Ext == "wav") return MaxSoundSize;
  if (Ext == "ogg" || Ext == "mp3" || Ext == "mod" || Ext == "xm" || Ext == "s3m" || Ext == "it") return MaxMusicSize;
  if (Ext == "fnt" || Ext == "ttf" || Ext == "otf") return MaxFontSize;
  if (Ext == "vrp") return MaxReplaySize;
  return MaxOtherSize;
}

TPakFileReadable::TPakFileReadable(std::string FileName) : FileName(std::move(FileName)) {}
TPakFileReadable::TPakFileReadable(const TPakFileReadable& Other) : FileName(Other.FileName) {}
TPakFileReadable& TPakFileReadable::operator=(const TPakFileReadable& Other) {
  if (this != &Other) {
    FileName = Other.FileName;
    FIndex.reset();
  }
  return *this;
}
TPakFileReadable::TPakFileReadable(TPakFileReadable&& Other) noexcept = default;
TPakFileReadable& TPakFileReadable::operator=(TPakFileReadable&& Other) noexcept = default;
TPakFileReadable::~TPakFileReadable() = default;

std::unique_ptr<TMemoryStream> TPakFileReadable::GetStream(const std::string& Name) const {
  std::optional<TOpenArchive> A = OpenArchive(FileName);
  if (!A) return nullptr;
  const TIndex& Index = TIndex::For(FIndex, FileName, *A);
  const auto Found = Index.First.find(Name);
  if (Found == Index.First.end()) return nullptr;
  const TPakDirEntry& E = Index.Entries[Found->second];

  // Checked before allocating, so a bogus size never turns into a huge
  // allocation.
  if (static_cast<std::uint64_t>(E.Offset) + E.Size > A->Size())
    Fail(FileName, "entry \"" + Name + "\" (offset " + std::to_string(E.Offset) + ", size " + std::to_string(E.Size) +
                       ") reaches past the end of the file (" + std::to_string(A->Size()) + " bytes)");
  if (E.Size > MaxEntrySize(Name))
    Fail(FileName, "entry \"" + Name + "\" claims " + std::to_string(E.Size) + " bytes, more than its kind may hold (" +
                       std::to_string(MaxEntrySize(Name)) + ")");
  std::vector<std::uint8_t> Bytes(E.Size);
  SeekTo(A->File.get(), FileName, E.Offset);
  if (std::fread(Bytes.data(), 1, Bytes.size(), A->File.get()) != Bytes.size())
    Fail(FileName, "cannot read entry \"" + Name + "\"");
  return std::make_unique<TMemoryStream>(std::move(Bytes));
}

std::unique_ptr<TMemoryStream> TPakFileReadable::GetOptionalStream(const std::string& Name) const {
  try {
    return GetStream(Name);
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::vector<TPakDirEntry> TPakFileReadable::ListEntries() const {
  std::optional<TOpenArchive> A = OpenArchive(FileName);
  if (!A) Fail(FileName, "not found");
  return TIndex::For(FIndex, FileName, *A).Entries;
}

bool TPakFileReadable::CheckArchive(std::string& Problem) const {
  try {
    std::optional<TOpenArchive> A = OpenArchive(FileName);
    if (!A) {
      Problem = "The archive " + FileName + " was not found. Start the game from the folder that holds it.";
      return false;
    }
    const TIndex& Index = TIndex::For(FIndex, FileName, *A);
    if (Index.DirectoryOffset < 4 || Index.DirectoryOffset > A->Size()) {
      Problem = "The archive " + FileName + " is damaged: its directory offset " +
                std::to_string(Index.DirectoryOffset) + " lies outside the file (" + std::to_string(A->Size()) +
                " bytes).";
      return false;
    }
    for (const TPakDirEntry& E : Index.Entries)
      if (static_cast<std::uint64_t>(E.Offset) + E.Size > A->Size()) {
        Problem = "The archive " + FileName + " is damaged: the entry \"" + E.Name +
                  "\" reaches past the end of the file.";
        return false;
      } else if (E.Size > MaxEntrySize(E.Name)) {
        Problem = "The archive " + FileName + " is damaged: the entry \"" + E.Name + "\" claims " +
                  std::to_string(E.Size) + " bytes, more than its kind may hold (" +
                  std::to_string(MaxEntrySize(E.Name)) + ").";
        return false;
      }
  } catch (const EPakReadError& E) {
    Problem = std::string("The archive cannot be read: ") + E.what();
    return false;
  }
  Problem.clear();
  return true;
}
