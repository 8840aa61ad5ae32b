// Test helpers: a fresh folder per test, message boxes captured instead of
// shown, and a scrambled file's plain text read back.
#pragma once

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "common/Scramble.h"
#include "platform/MessageBox.h"

class TTestFolder {
public:
  TTestFolder() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "vyrn-test-XXXXXX").string();
    if (!::mkdtemp(Pattern.data())) std::abort();
    Path = Pattern;
  }
  ~TTestFolder() {
    // Give back write permission first, in case a test took it away.
    std::error_code Ignored;
    for (auto It = std::filesystem::recursive_directory_iterator(Path, Ignored);
         It != std::filesystem::recursive_directory_iterator(); It.increment(Ignored))
      std::filesystem::permissions(It->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   Ignored);
    std::filesystem::permissions(Path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, Ignored);
    std::filesystem::remove_all(Path, Ignored);
  }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  std::string File(const std::string& Name) const { return (std::filesystem::path(Path) / Name).string(); }

  void Write(const std::string& Name, const std::string& Bytes) const {
    std::ofstream Out(File(Name), std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  }
  void WriteScrambled(const std::string& Name, std::string Plain) const {
    ScrambleText(Plain);
    Write(Name, Plain);
  }
  std::string Read(const std::string& Name) const {
    std::ifstream In(File(Name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& Name) const { return std::filesystem::exists(File(Name)); }
  // The plain text of a scrambled file; Valid tells whether its sum matched.
  std::string Unscrambled(const std::string& Name, bool* Valid = nullptr) const {
    std::string Text = Read(Name);
    const bool Ok = UnscrambleText(Text);
    if (Valid) *Valid = Ok;
    return Text;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> Result;
    for (const auto& Entry : std::filesystem::directory_iterator(Path)) Result.push_back(Entry.path().filename());
    return Result;
  }

  std::string Path;
};

// Records every message box shown while it lives.
class TMessageCapture {
public:
  TMessageCapture() : FOld(SetMessageBoxHandler(&FBox)) {}
  ~TMessageCapture() { SetMessageBoxHandler(FOld); }
  TMessageCapture(const TMessageCapture&) = delete;
  TMessageCapture& operator=(const TMessageCapture&) = delete;

  std::vector<std::string> Texts() const {
    std::vector<std::string> Result;
    for (const auto& Shown : FBox.Shown) Result.push_back(Shown.second);
    return Result;
  }
  void Clear() { FBox.Shown.clear(); }

private:
  TRecordingMessageBox FBox;
  IMessageBox* FOld;
};

// Makes every write that grows a file fail (EFBIG) while it lives, as a
// full disk would; unlike permissions it holds for root as well.
class TNoFileGrowth {
public:
  TNoFileGrowth() {
    ::getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit None = FOld;
    None.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &None);
  }
  ~TNoFileGrowth() {
    ::setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }
  TNoFileGrowth(const TNoFileGrowth&) = delete;
  TNoFileGrowth& operator=(const TNoFileGrowth&) = delete;

private:
  rlimit FOld{};
  void (*FOldHandler)(int) = nullptr;
};

// Ways a file that exists cannot be read, root or not: a folder in its
// place, a loop of symbolic links, a file too large to be ours. Each call
// makes Name in Folder one of them (Kind 0..2) and says which.
inline std::string MakeUnreadable(const TTestFolder& Folder, const std::string& Name, int Kind) {
  std::error_code Ignored;
  std::filesystem::remove_all(Folder.File(Name), Ignored);
  switch (Kind) {
    case 0:
      std::filesystem::create_directories(Folder.File(Name + "/keep"));
      return "a folder";
    case 1:
      std::filesystem::create_symlink(Name + ".loop", Folder.File(Name));
      std::filesystem::remove(Folder.File(Name + ".loop"), Ignored);
      std::filesystem::create_symlink(Name, Folder.File(Name + ".loop"));
      return "a link loop";
    default:
      Folder.Write(Name, std::string((1 << 20) + 1, 'x'));
      return "an oversized file";
  }
}
inline constexpr int UnreadableKinds = 3;
