#include "platform/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/random.h>
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

// Twelve hex digits nobody can guess; a clock and a counter stand in when
// the system has no random bytes to give.
std::string UniqueSuffix() {
  static std::atomic<unsigned> Counter{0};
  unsigned long long Value = 0;
  if (::getrandom(&Value, sizeof Value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof Value))
    Value = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
            (static_cast<unsigned long long>(::getpid()) << 32) ^ (Counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  char Text[16];
  std::snprintf(Text, sizeof Text, "%012llx", Value & 0xFFFFFFFFFFFFull);
  return Text;
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

std::string ResolveSavePath(const std::string& Path, std::string& Error) {
  std::string At = Path;
  // The kernel's own bound on a chain of links; a loop ends here too.
  for (int Hop = 0; Hop < 40; ++Hop) {
    struct stat Info {};
    if (::lstat(At.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode)) return At;
    std::string Target(4096, '\0');
    const ssize_t N = ::readlink(At.c_str(), Target.data(), Target.size());
    if (N < 0) {
      Error = Reason(errno);
      return "";
    }
    Target.resize(static_cast<std::size_t>(N));
    At = !Target.empty() && Target[0] == '/' ? Target : JoinPath(FolderOf(At), Target);
  }
  Error = Reason(ELOOP);
  return "";
}

bool ReplaceFile(const std::string& Path, const std::string& Bytes, std::string& Error) {
  // A player who links the file elsewhere keeps the link: the new file goes
  // beside its target and replaces that.
  const std::string Target = ResolveSavePath(Path, Error);
  if (Target.empty()) return false;
  // A name of our own each time, made with O_EXCL|O_NOFOLLOW: another
  // instance saving at the same moment cannot truncate it, and a link
  // planted under a guessable name is never written through.
  std::string Temp;
  int Fd = -1;
  for (int Try = 0; Try < 100 && Fd < 0; ++Try) {
    Temp = Target + ".tmp-" + UniqueSuffix();
    Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (Fd < 0 && errno != EEXIST) break;
  }
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
  if (Ok && ::rename(Temp.c_str(), Target.c_str()) != 0) {
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
  const int Dir = ::open(FolderOf(Target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Dir >= 0) {
    ::fsync(Dir);
    ::close(Dir);
  }
  return true;
}
