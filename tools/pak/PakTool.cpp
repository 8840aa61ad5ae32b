#include "PakTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "pak/PakReader.h"
#include "pak/PakWriter.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitNotFound = 1;
constexpr int ExitError = 2;

const char* const Usage =
    "usage: vyrn-pak build ARCHIVE FILE...     pack the files, each named by its base name\n"
    "       vyrn-pak list ARCHIVE              one line per entry: name, tab, size in bytes\n"
    "       vyrn-pak extract ARCHIVE NAME OUTFILE  write one entry's bytes to OUTFILE\n";

struct TFileCloser {
  void operator()(std::FILE* F) const { std::fclose(F); }
};

// The whole file, or false with Problem set.
bool ReadWholeFile(const std::string& Path, std::vector<std::uint8_t>& Data, std::string& Problem) {
  std::error_code Ec;
  if (std::filesystem::is_directory(Path, Ec)) {
    Problem = "is a directory";
    return false;
  }
  std::unique_ptr<std::FILE, TFileCloser> F(std::fopen(Path.c_str(), "rb"));
  if (!F) {
    Problem = std::strerror(errno);
    return false;
  }
  Data.clear();
  std::uint8_t Chunk[65536];
  for (;;) {
    const std::size_t N = std::fread(Chunk, 1, sizeof Chunk, F.get());
    Data.insert(Data.end(), Chunk, Chunk + N);
    if (N < sizeof Chunk) break;
  }
  if (std::ferror(F.get())) {
    Problem = "read error";
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& Path, const std::vector<std::uint8_t>& Data, std::string& Problem) {
  std::unique_ptr<std::FILE, TFileCloser> F(std::fopen(Path.c_str(), "wb"));
  if (!F) {
    Problem = std::strerror(errno);
    return false;
  }
  const bool Written = Data.empty() || std::fwrite(Data.data(), 1, Data.size(), F.get()) == Data.size();
  const bool Closed = std::fclose(F.release()) == 0;
  if (!Written || !Closed) {
    Problem = "write error";
    return false;
  }
  return true;
}

int Build(const std::string& Archive, const std::vector<std::string>& Files, std::ostream& Err) {
  std::vector<TPakEntry> Entries;
  std::map<std::string, std::string> Seen;  // entry name -> file it came from
  for (const std::string& File : Files) {
    const std::string Name = std::filesystem::path(File).filename().string();
    if (Name.empty()) {
      Err << "vyrn-pak: " << File << ": no file name\n";
      return ExitError;
    }
    if (Name.size() > 255) {
      Err << "vyrn-pak: " << File << ": entry name longer than 255 bytes\n";
      return ExitError;
    }
    if (auto It = Seen.find(Name); It != Seen.end()) {
      Err << "vyrn-pak: duplicate entry name \"" << Name << "\" (" << It->second << " and " << File << ")\n";
      return ExitError;
    }
    Seen.emplace(Name, File);
    TPakEntry Entry{Name, {}};
    std::string Problem;
    if (!ReadWholeFile(File, Entry.Data, Problem)) {
      Err << "vyrn-pak: cannot read " << File << ": " << Problem << "\n";
      return ExitError;
    }
    Entries.push_back(std::move(Entry));
  }
  try {
    WritePakFile(Archive, Entries);
  } catch (const EPakWriteError& E) {
    Err << "vyrn-pak: " << E.what() << "\n";
    return ExitError;
  }
  return ExitOk;
}

int List(const std::string& Archive, std::ostream& Out, std::ostream& Err) {
  try {
    for (const TPakDirEntry& E : TPakFileReadable(Archive).ListEntries()) Out << E.Name << '\t' << E.Size << '\n';
  } catch (const EPakReadError& E) {
    Err << "vyrn-pak: " << E.what() << "\n";
    return ExitError;
  }
  return ExitOk;
}

int Extract(const std::string& Archive, const std::string& Name, const std::string& OutFile, std::ostream& Err) {
  std::unique_ptr<TMemoryStream> Stream;
  try {
    Stream = TPakFileReadable(Archive).GetStream(Name);
  } catch (const EPakReadError& E) {
    Err << "vyrn-pak: " << E.what() << "\n";
    return ExitError;
  }
  if (!Stream) {
    std::error_code Ec;
    if (!std::filesystem::exists(Archive, Ec))
      Err << "vyrn-pak: archive " << Archive << " not found\n";
    else
      Err << "vyrn-pak: entry \"" << Name << "\" not found in " << Archive << "\n";
    return ExitNotFound;
  }
  std::string Problem;
  if (!WriteWholeFile(OutFile, Stream->Bytes(), Problem)) {
    Err << "vyrn-pak: cannot write " << OutFile << ": " << Problem << "\n";
    return ExitError;
  }
  return ExitOk;
}

}  // namespace

int RunPakTool(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
  const std::string Command = Args.empty() ? "" : Args[0];
  if (Command == "help" || Command == "--help" || Command == "-h") {
    Out << Usage;
    return ExitOk;
  }
  if (Command == "build" && Args.size() >= 3)
    return Build(Args[1], std::vector<std::string>(Args.begin() + 2, Args.end()), Err);
  if (Command == "list" && Args.size() == 2) return List(Args[1], Out, Err);
  if (Command == "extract" && Args.size() == 4) return Extract(Args[1], Args[2], Args[3], Err);
  Err << Usage;
  return ExitError;
}
