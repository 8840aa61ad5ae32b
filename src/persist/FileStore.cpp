#include "persist/FileStore.h"

#include "common/Scramble.h"
#include "platform/MessageBox.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Reason(int Errno) { return std::strerror(Errno); }

std::string FolderOf(const std::string& Path) {
  const auto Slash = Path.find_last_of('/');
  if (Slash == std::string::npos) return ".";
  if (Slash == 0) return "/";
  return Path.substr(0, Slash);
}

bool WriteAll(int Fd, const std::string& Bytes) {
  std::size_t Done = 0;
  while (Done < Bytes.size()) {
    const ssize_t N = ::write(Fd, Bytes.data() + Done, Bytes.size() - Done);
    if (N < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    Done += static_cast<std::size_t>(N);
  }
  return true;
}
}  // namespace

std::string JoinPath(const std::string& Folder, const std::string& Name) {
  if (Folder.empty()) return Name;
  if (Folder.back() == '/') return Folder + Name;
  return Folder + "/" + Name;
}

TReadResult ReadWholeFile(const std::string& Path, std::string& Bytes, std::string& Error) {
  Bytes.clear();
  // O_NONBLOCK: a FIFO put in the file's place must not hang the start.
  const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    if (errno == ENOENT) return TReadResult::Missing;
    Error = Reason(errno);
    return TReadResult::Failed;
  }
  struct stat Info {};
  if (::fstat(Fd, &Info) == 0 && !S_ISREG(Info.st_mode) && !S_ISDIR(Info.st_mode)) {
    ::close(Fd);
    Error = "not a regular file";
    return TReadResult::Failed;
  }
  char Buffer[4096];
  for (;;) {
    const ssize_t N = ::read(Fd, Buffer, sizeof Buffer);
    if (N < 0) {
      if (errno == EINTR) continue;
      Error = Reason(errno);  // a directory ends up here too (EISDIR)
      ::close(Fd);
      Bytes.clear();
      return TReadResult::Failed;
    }
    if (N == 0) break;
    if (Bytes.size() + static_cast<std::size_t>(N) > static_cast<std::size_t>(MaxDataFileSize)) {
      ::close(Fd);
      Bytes.clear();
      Error = "file too large";
      return TReadResult::Failed;
    }
    Bytes.append(Buffer, static_cast<std::size_t>(N));
  }
  ::close(Fd);
  return TReadResult::Read;
}

bool ReplaceFile(const std::string& Path, const std::string& Bytes, std::string& Error) {
  const std::string Temp = Path + ".tmp";
  const int Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (Fd < 0) {
    Error = Reason(errno);
    return false;
  }
  bool Ok = WriteAll(Fd, Bytes) && ::fsync(Fd) == 0;
  int Failure = Ok ? 0 : errno;
  if (::close(Fd) != 0 && Ok) {
    Ok = false;
    Failure = errno;
  }
  if (Ok && ::rename(Temp.c_str(), Path.c_str()) != 0) {
    Ok = false;
    Failure = errno;
  }
  if (!Ok) {
    ::unlink(Temp.c_str());
    Error = Reason(Failure);
    return false;
  }
  // Make the rename itself durable; a folder that cannot be flushed still
  // holds the complete new file, so this is best effort.
  const int Dir = ::open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Dir >= 0) {
    ::fsync(Dir);
    ::close(Dir);
  }
  return true;
}

bool SaveScrambledFile(const std::string& Path, std::string Plain, bool& FailureShown, const std::string& Consequence) {
  ScrambleText(Plain);
  std::string Error;
  if (ReplaceFile(Path, Plain, Error)) {
    FailureShown = false;
    return true;
  }
  if (!FailureShown) {
    FailureShown = true;
    const std::size_t Slash = Path.find_last_of('/');
    const std::string Name = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
    ShowMessageBox("Error writing " + Name + " (" + Error + ")\r" + Consequence);
  }
  return false;
}
