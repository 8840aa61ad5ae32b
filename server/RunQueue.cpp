#include "RunQueue.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

TRunQueue::TRunQueue(std::string Verifier, std::string Pak, int Workers, std::size_t MaxQueued, int WallSeconds,
                     TVerdict Done)
    : FVerifier(std::move(Verifier)), FPak(std::move(Pak)), FMaxQueued(MaxQueued), FWallSeconds(WallSeconds),
      FDone(std::move(Done)) {
  for (int I = 0; I < Workers; ++I) FWorkers.emplace_back([this] { Work(); });
}

TRunQueue::~TRunQueue() {
  {
    std::lock_guard Lock(FLock);
    FStopping = true;
    for (int Pid : FChildren) ::kill(Pid, SIGKILL);
  }
  FReady.notify_all();
  for (auto& Worker : FWorkers) Worker.join();
}

bool TRunQueue::Push(TJob Job) {
  {
    std::lock_guard Lock(FLock);
    if (FJobs.size() >= FMaxQueued) return false;
    FJobs.push_back(std::move(Job));
  }
  FReady.notify_one();
  return true;
}

std::size_t TRunQueue::Waiting() {
  std::lock_guard Lock(FLock);
  return FJobs.size();
}

void TRunQueue::Work() {
  for (;;) {
    TJob Job;
    {
      std::unique_lock Lock(FLock);
      FReady.wait(Lock, [this] { return FStopping || !FJobs.empty(); });
      if (FStopping) return;  // what waits stays queued in the database
      Job = std::move(FJobs.front());
      FJobs.pop_front();
    }
    std::string Reason;
    int Child = 0;
    const bool Verified = Check(FVerifier, FPak, Job, FWallSeconds, Reason, [&](int Pid) {
      std::lock_guard Lock(FLock);
      Child = Pid;
      if (FStopping) ::kill(Pid, SIGKILL);
      FChildren.push_back(Pid);
    });
    {
      std::lock_guard Lock(FLock);
      std::erase(FChildren, Child);
      if (FStopping) return;  // killed, not judged: it stays waiting
    }
    FDone(Job, Verified, Reason);
  }
}

bool TRunQueue::Check(const std::string& Verifier, const std::string& Pak, const TJob& Job, int WallSeconds,
                      std::string& Reason, const std::function<void(int Pid)>& Started) {
  int Pipe[2];
  if (::pipe2(Pipe, O_CLOEXEC) != 0) {
    Reason = "the server could not start the check";
    return false;
  }
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_adddup2(&Actions, Pipe[1], STDOUT_FILENO);
  // The child's own complaints would only clutter the server's log.
  posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string Score = std::to_string(Job.Score);
  const char* Argv[] = {Verifier.c_str(), "--pak", Pak.c_str(), "--run", Job.File.c_str(), "--name", Job.Name.c_str(),
                        "--score", Score.c_str(), nullptr};
  pid_t Child = 0;
  const int Spawned = ::posix_spawn(&Child, Verifier.c_str(), &Actions, nullptr, const_cast<char* const*>(Argv), environ);
  posix_spawn_file_actions_destroy(&Actions);
  ::close(Pipe[1]);
  if (Spawned != 0) {
    ::close(Pipe[0]);
    Reason = "the server could not start the check";
    return false;
  }
  if (Started) Started(Child);
  std::string Out;
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(WallSeconds);
  bool TimedOut = false;
  for (;;) {
    const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
    if (Left.count() <= 0) {
      TimedOut = true;
      break;
    }
    pollfd Poll{Pipe[0], POLLIN, 0};
    if (::poll(&Poll, 1, static_cast<int>(std::min<long long>(Left.count(), 1000))) <= 0) continue;
    char Buffer[1024];
    const ssize_t Got = ::read(Pipe[0], Buffer, sizeof Buffer);
    if (Got <= 0) break;
    if (Out.size() < 4096) Out.append(Buffer, static_cast<std::size_t>(Got));
  }
  ::close(Pipe[0]);
  if (TimedOut) ::kill(Child, SIGKILL);
  int Status = 0;
  while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
  }
  const std::string Line = Out.substr(0, Out.find('\n'));
  if (TimedOut) {
    Reason = "the playback took too long";
    return false;
  }
  if (WIFEXITED(Status) && WEXITSTATUS(Status) == 0 && Line == "verified") return true;
  if (Line.rfind("refused: ", 0) == 0) {
    Reason = Line.substr(9);
    return false;
  }
  Reason = WIFSIGNALED(Status) && (WTERMSIG(Status) == SIGXCPU || WTERMSIG(Status) == SIGKILL)
               ? "the playback went over its CPU budget"
               : "the playback failed (over its memory budget or broken)";
  return false;
}
