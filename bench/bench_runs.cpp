// Runs checked by playback: the CPU one 20,000-tick game (ten minutes of
// play) costs the server's checker, and a burst of 100 runs handed in at
// once to the real server, all of which must be checked, none dropped.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Bot.h"
#include "RunCheck.h"
#include "actors/Player.h"
#include "app/Main.h"
#include "game/GameData.h"
#include "persist/HighScore.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKeys.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayRecorder.h"
#include "program/RunClaim.h"

namespace {
constexpr std::uint32_t RunTicks = 20000;

class TQuietBoxes : public IMessageBox {
public:
  void Show(const std::string&, const std::string&) override {}
};

struct TBenchRun {
  std::string Bytes;
  std::string Name;
  std::int64_t Score = 0;
};

// A game of RunTicks ticks recorded by the game's recorder: the bot plays
// until it has a score, then the player waits on the edge, and at the end
// quits, types a name into the table and confirms it.
TBenchRun MakeRun(std::uint32_t Seed) {
  TQuietBoxes Boxes;
  SetMessageBoxHandler(&Boxes);
  const std::string Folder = MakeReplayFolder();
  {
    THighScore Table(Folder);
    for (auto& Entry : Table.Entries) Entry.Score = 1;
    Table.Save();
  }
  TBenchRun Run;
  {
    THeadlessSession Session(VYRN_GAME_PAK, Folder);
    TMainForm& Form = Session.Form();
    std::uint32_t Clock = 36'000'000;
    TReplayRecorder Recorder("", Form, Folder, [&] { return Clock += 7; }, TReplayRecorder::TFrom::EachGame);
    Form.FormCreate();
    Form.SkipToMenu();
    Form.StartGameNow(false);
    TBot Bot(Seed);
    std::vector<TInputEvent> Keys;
    bool Playing = true;
    const auto Tick = [&](TTimerId Timer) { Recorder.Dispatch(TInputEvent::TimerTick(static_cast<int>(Timer))); };
    const auto Press = [&](std::uint16_t Key) {
      Recorder.Dispatch(TInputEvent::KeyDown(Key));
      Tick(Form.TimerRuns(Form.GameTimer) ? Form.GameTimer : Form.MenuTimer);
      Recorder.Dispatch(TInputEvent::KeyUp(Key));
    };
    std::uint32_t Ticks = 0;
    for (; Ticks < RunTicks - 400 && Form.Game(); ++Ticks) {
      auto* Game = dynamic_cast<TGameData*>(Form.Game());
      if (Playing) {
        Keys.clear();
        Bot.Plan(Form, *Game, Keys);
        for (const auto& E : Keys) Recorder.Dispatch(E);
        // Enough play for a score; stop where no trail is open.
        const TPlayer& P = *Game->Players[0];
        if (Ticks > 2500 && !P.IsDrawing && !P.IsExploding && !Game->Paused()) {
          Playing = false;
          for (std::uint16_t K : {Vk::Left, Vk::Right, Vk::Up, Vk::Down, Vk::Space})
            Recorder.Dispatch(TInputEvent::KeyUp(K));
        }
      }
      Tick(Form.GameTimer);
    }
    if (Form.Game()) {
      Press(Vk::Escape);
      for (int I = 0; I < 10; ++I) Tick(Form.GameTimer);
      Press('Y');
      for (int I = 0; I < 300 && Form.Game(); ++I) Tick(Form.GameTimer);
    }
    for (int I = 0; I < 200; ++I) Tick(Form.MenuTimer);
    for (char C : std::string("BENCH")) {
      Recorder.Dispatch(TInputEvent::KeyPress(C));
      Tick(Form.MenuTimer);
    }
    Press(Vk::Return);
    for (int I = 0; I < 50; ++I) Tick(Form.MenuTimer);
    THighScoreRun Made;
    if (LatestRunSource(Recorder, Form, Folder)(Made)) Run = {Made.Replay, Made.Name, Made.Score};
    Form.FormDestroy();
  }
  RemoveReplayFolder(Folder);
  SetMessageBoxHandler(nullptr);
  return Run;
}

const TBenchRun& TheRun() {
  static const TBenchRun Run = MakeRun(2);
  return Run;
}

void BM_CheckRun20kTicks(benchmark::State& State) {
  const TBenchRun& Run = TheRun();
  if (Run.Bytes.empty()) return State.SkipWithError("the bench could not record its run");
  TQuietBoxes Boxes;
  SetMessageBoxHandler(&Boxes);
  TRunVerdict Verdict;
  for (auto _ : State) {
    Verdict = CheckRun(Run.Bytes, VYRN_GAME_PAK, Run.Name, Run.Score);
    if (!Verdict.Verified) return State.SkipWithError(("refused: " + Verdict.Reason).c_str());
  }
  SetMessageBoxHandler(nullptr);
  State.counters["ticks"] = Verdict.Ticks;
  State.counters["bytes"] = static_cast<double>(Run.Bytes.size());
  State.counters["score"] = static_cast<double>(Run.Score);
}
BENCHMARK(BM_CheckRun20kTicks)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);

// One POST on its own connection; the status, 0 when none came.
int Post(int Port, const std::string& Target, const std::string& Body) {
  const int Socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in To{};
  To.sin_family = AF_INET;
  To.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  To.sin_port = htons(static_cast<std::uint16_t>(Port));
  if (::connect(Socket, reinterpret_cast<sockaddr*>(&To), sizeof To) != 0) return ::close(Socket), 0;
  const std::string Request = "POST " + Target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Length: " +
                              std::to_string(Body.size()) + "\r\n\r\n" + Body;
  for (std::size_t Sent = 0; Sent < Request.size();) {
    const ssize_t N = ::send(Socket, Request.data() + Sent, Request.size() - Sent, MSG_NOSIGNAL);
    if (N <= 0) break;
    Sent += static_cast<std::size_t>(N);
  }
  std::string Reply;
  char Buffer[4096];
  ssize_t Got;
  while ((Got = ::recv(Socket, Buffer, sizeof Buffer, 0)) > 0) Reply.append(Buffer, static_cast<std::size_t>(Got));
  ::close(Socket);
  return Reply.size() > 12 ? std::atoi(Reply.c_str() + 9) : 0;
}

std::string Get(int Port, const std::string& Target) {
  const int Socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in To{};
  To.sin_family = AF_INET;
  To.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  To.sin_port = htons(static_cast<std::uint16_t>(Port));
  if (::connect(Socket, reinterpret_cast<sockaddr*>(&To), sizeof To) != 0) return ::close(Socket), "";
  const std::string Request = "GET " + Target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  (void)::send(Socket, Request.data(), Request.size(), MSG_NOSIGNAL);
  std::string Reply;
  char Buffer[4096];
  ssize_t Got;
  while ((Got = ::recv(Socket, Buffer, sizeof Buffer, 0)) > 0) Reply.append(Buffer, static_cast<std::size_t>(Got));
  ::close(Socket);
  return Reply;
}

long PeakKilobytes(pid_t Pid) {
  std::ifstream Status("/proc/" + std::to_string(Pid) + "/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind("VmHWM:", 0) == 0) return std::atol(Line.c_str() + 6);
  return 0;
}

// The server in a process of its own; the port it prints.
pid_t StartServer(const std::string& Db, int& Port) {
  int Pipe[2];
  if (::pipe(Pipe) != 0) return -1;
  const pid_t Child = ::fork();
  if (Child == 0) {
    ::dup2(Pipe[1], STDOUT_FILENO);
    ::close(Pipe[0]);
    ::execl(VYRN_SCORES_PATH, VYRN_SCORES_PATH, "--db", Db.c_str(), "--port", "0", "--max-per-minute", "0", "--pak",
            VYRN_GAME_PAK, "--verify-workers", "2", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(Pipe[1]);
  std::string Line;
  char C;
  while (Line.find('\n') == std::string::npos && ::read(Pipe[0], &C, 1) == 1) Line += C;
  ::close(Pipe[0]);
  const std::size_t At = Line.find("127.0.0.1:");
  Port = At == std::string::npos ? 0 : std::atoi(Line.c_str() + At + 10);
  return Child;
}

void BM_BurstOf100Runs(benchmark::State& State) {
  const TBenchRun& Run = TheRun();
  if (Run.Bytes.empty()) return State.SkipWithError("the bench could not record its run");
  constexpr int Runs = 100;
  for (auto _ : State) {
    const auto Folder = std::filesystem::temp_directory_path() / ("vyrn-bench-burst-" + std::to_string(::getpid()));
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    int Port = 0;
    const pid_t Server = StartServer((Folder / "scores.db").string(), Port);
    const auto Start = std::chrono::steady_clock::now();
    std::atomic<int> Accepted{0};
    std::vector<std::thread> Clients;
    const std::string Target = "/api/runs?name=" + Run.Name + "&score=" + std::to_string(Run.Score);
    for (int I = 0; I < Runs; ++I)
      Clients.emplace_back([&] { Accepted += Post(Port, Target, Run.Bytes) == 202; });
    for (auto& Client : Clients) Client.join();
    const double Queued = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    int Verified = 0, Refused = 0;
    long Peak = 0;
    for (int Waited = 0; Waited < 1200 && Verified + Refused < Runs; ++Waited) {
      Verified = Refused = 0;
      for (int Id = 1; Id <= Runs; ++Id) {
        const std::string Reply = Get(Port, "/api/runs/" + std::to_string(Id));
        Verified += Reply.find("\"state\":\"verified\"") != std::string::npos;
        Refused += Reply.find("\"state\":\"refused\"") != std::string::npos;
      }
      Peak = std::max(Peak, PeakKilobytes(Server));
      if (Verified + Refused < Runs) std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    ::kill(Server, SIGTERM);
    int Status = 0;
    rusage Usage{};
    ::wait4(Server, &Status, 0, &Usage);
    rusage Children{};
    ::getrusage(RUSAGE_CHILDREN, &Children);
    std::filesystem::remove_all(Folder);
    State.counters["accepted"] = Accepted.load();
    State.counters["verified"] = Verified;
    State.counters["refused"] = Refused;
    State.counters["queued_s"] = Queued;
    State.counters["all_checked_s"] = Seconds;
    State.counters["server_peak_MB"] = static_cast<double>(Peak) / 1024.0;
    // The largest single checker process (the server's children).
    State.counters["checker_peak_MB"] = static_cast<double>(Children.ru_maxrss) / 1024.0;
    if (Verified != Runs) State.SkipWithError("not every run was verified");
  }
}
BENCHMARK(BM_BurstOf100Runs)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
}  // namespace

BENCHMARK_MAIN();
