#include "persist/FileStore.h"

#include "common/Scramble.h"
#include "platform/MessageBox.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Reason(int Errno) { return std::strerror(Errno); }

}  // namespace

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

TFileLock::TFileLock(const std::string& Path) {
  std::string Error;
  const std::string Target = ResolveSavePath(Path, Error);
  if (Target.empty()) return;
  // A file of its own that is never replaced: a lock on the data file would
  // stay with the old file once a save renames the new one over it.
  FFd = ::open((Target + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (FFd < 0) return;
  while (::flock(FFd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    ::close(FFd);
    FFd = -1;
    return;
  }
}

TFileLock::~TFileLock() {
  if (FFd >= 0) ::close(FFd);  // closing lets go of the lock
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
