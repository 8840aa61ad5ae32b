// Runs waiting to be played back, and the workers that play them. Each check
// runs in a child process of its own (vyrn-verify-run): the game's code keeps
// global state and is single-threaded, and a process is where a CPU and
// memory budget can be enforced. The queue is bounded; a full one refuses.
// Stopping kills the checks under way: their runs stay waiting in the
// database and are checked again at the next start.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TRunQueue {
public:
  struct TJob {
    std::int64_t Id = 0;
    std::string File;
    std::string Name;
    std::int64_t Score = 0;
  };
  using TVerdict = std::function<void(const TJob& Job, bool Verified, const std::string& Reason)>;

  // Verifier: the checking program; Pak: the game's archive it plays with.
  TRunQueue(std::string Verifier, std::string Pak, int Workers, std::size_t MaxQueued, int WallSeconds, TVerdict Done);
  ~TRunQueue();
  TRunQueue(const TRunQueue&) = delete;
  TRunQueue& operator=(const TRunQueue&) = delete;

  // False when the queue is full.
  bool Push(TJob Job);
  std::size_t Waiting();

  // Runs one check in a child process and waits for it (at most
  // WallSeconds); gives the child's verdict.
  // Started tells the child's id as soon as it runs.
  static bool Check(const std::string& Verifier, const std::string& Pak, const TJob& Job, int WallSeconds,
                    std::string& Reason, const std::function<void(int Pid)>& Started = {});

private:
  void Work();

  std::string FVerifier;
  std::string FPak;
  std::size_t FMaxQueued;
  int FWallSeconds;
  TVerdict FDone;
  std::mutex FLock;
  std::condition_variable FReady;
  std::deque<TJob> FJobs;
  bool FStopping = false;
  std::vector<int> FChildren;  // checks running now
  std::vector<std::thread> FWorkers;
};
