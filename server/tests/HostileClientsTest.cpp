// Hostile clients against the real server: slow senders and idle
// connections from other addresses must not keep an honest client waiting.
// Counts are small here; `make soak-server` sets VYRN_SOAK_SLOW=64 and
// VYRN_SOAK_IDLE=3000. Also: a second server on a taken port must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "HttpFront.h"
#include "ServerTestUtil.h"
#include "persist/TestFolder.h"

namespace {
int FromEnv(const char* Name, int Default, int High) {
  const char* Env = std::getenv(Name);
  return std::clamp(Env ? std::atoi(Env) : Default, 1, High);
}

// A connection to Port from the loopback address 127.A.B.C, so each group of
// attackers looks like its own client to the server.
int ConnectFrom(int Port, std::uint32_t Source) {
  const int Socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  if (Socket < 0) return -1;
  sockaddr_in From{};
  From.sin_family = AF_INET;
  From.sin_addr.s_addr = htonl(Source);
  sockaddr_in To{};
  To.sin_family = AF_INET;
  To.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  To.sin_port = htons(static_cast<std::uint16_t>(Port));
  if (::bind(Socket, reinterpret_cast<sockaddr*>(&From), sizeof From) != 0 ||
      (::connect(Socket, reinterpret_cast<sockaddr*>(&To), sizeof To) != 0 && errno != EINPROGRESS)) {
    ::close(Socket);
    return -1;
  }
  return Socket;
}

// 100 connections per source address, below the server's bound per address.
std::uint32_t SourceFor(int Group, int I) { return (127u << 24) | (static_cast<std::uint32_t>(Group) << 16) | (1u + I / 100); }

// Keeps Idle silent connections and Slow ones that send a request a byte a
// second open until stopped, reconnecting whatever the server closes.
class THostileClients {
public:
  THostileClients(int Port, int Slow, int Idle) : FPort(Port) {
    for (int I = 0; I < Idle; ++I) FIdle.push_back({ConnectFrom(Port, SourceFor(1, I)), SourceFor(1, I)});
    for (int I = 0; I < Slow; ++I) FSlow.push_back({ConnectFrom(Port, SourceFor(2, I)), SourceFor(2, I), 0});
    FThread = std::thread([this] { Run(); });
  }
  ~THostileClients() {
    FStop = true;
    FThread.join();
    for (auto& C : FIdle) ::close(C.Socket);
    for (auto& C : FSlow) ::close(C.Socket);
  }
  int Open() const { return FOpen.load(); }

private:
  struct TClient {
    int Socket;
    std::uint32_t Source;
    std::size_t Sent = 0;
  };
  // Closed by the server (or refused): reading gives an end or an answer.
  static bool Closed(int Socket) {
    pollfd Poll{Socket, POLLIN, 0};
    return Socket < 0 || (::poll(&Poll, 1, 0) == 1);
  }
  void Renew(TClient& C) {
    if (!Closed(C.Socket)) return;
    if (C.Socket >= 0) ::close(C.Socket);
    C.Socket = ConnectFrom(FPort, C.Source);
    C.Sent = 0;
  }
  void Run() {
    const std::string Request = "GET /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Pad: slowly\r\n\r\n";
    while (!FStop) {
      int Open = 0;
      for (auto& C : FIdle) {
        Renew(C);
        Open += C.Socket >= 0;
      }
      for (auto& C : FSlow) {
        Renew(C);
        if (C.Socket >= 0 && C.Sent < Request.size() &&
            ::send(C.Socket, Request.data() + C.Sent, 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1)
          ++C.Sent;
        Open += C.Socket >= 0;
      }
      FOpen = Open;
      for (int I = 0; I < 10 && !FStop; ++I) ::usleep(100000);
    }
  }

  int FPort;
  std::vector<TClient> FIdle, FSlow;
  std::atomic<bool> FStop{false};
  std::atomic<int> FOpen{0};
  std::thread FThread;
};
}  // namespace

TEST(HostileClients, SlowAndIdleConnectionsDoNotDelayAnHonestRequest) {
  RaiseOpenFileLimit();
  const int Slow = FromEnv("VYRN_SOAK_SLOW", 16, 1000), Idle = FromEnv("VYRN_SOAK_IDLE", 300, 20000);
  const int Seconds = FromEnv("VYRN_SOAK_SECONDS", 4, 600);
  TTestFolder Folder;
  TServerProcess Server(Folder.File("scores.db"));
  ASSERT_GT(Server.Port, 0);
  THostileClients Hostile(Server.Port, Slow, Idle);
  // Let every slow client get its first byte in, so each holds a request
  // open on the server (in the old design: a worker).
  ::usleep(1500000);

  std::vector<double> Ms;
  int Failed = 0;
  const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
  while (std::chrono::steady_clock::now() < End) {
    const auto Sent = std::chrono::steady_clock::now();
    const THttpAnswer Answer = RawGet(Server.Port, "/api/scores?limit=10", 3000);
    Ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Sent).count());
    Failed += Answer.Status != 200;
    ::usleep(20000);
  }
  std::sort(Ms.begin(), Ms.end());
  const double P99 = Ms[std::min(Ms.size() - 1, Ms.size() * 99 / 100)];
  std::printf("hostile: %d slow, %d idle (%d open at the end), %zu honest requests, p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
              Slow, Idle, Hostile.Open(), Ms.size(), Ms[Ms.size() / 2], P99, Ms.back());
  EXPECT_EQ(Failed, 0);
  EXPECT_LT(P99, 200.0);
  EXPECT_GT(Hostile.Open(), Idle / 2) << "the server should hold idle connections, not refuse them all";
}

TEST(HostileClients, ASecondServerOnATakenPortRefusesToStart) {
  TTestFolder Folder;
  TServerProcess First(Folder.File("first.db"));
  ASSERT_GT(First.Port, 0);
  const std::string Command = std::string("timeout 10 ") + VYRN_SCORES_PATH + " --db " + Folder.File("second.db") +
                              " --bind 127.0.0.1 --port " + std::to_string(First.Port) + " 2>&1; echo exit=$?";
  std::string Out;
  FILE* Pipe = ::popen(Command.c_str(), "r");
  ASSERT_NE(Pipe, nullptr);
  char Buffer[512];
  std::size_t Got;
  while ((Got = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Out.append(Buffer, Got);
  ::pclose(Pipe);
  EXPECT_EQ(Out.find("listening"), std::string::npos) << Out;
  EXPECT_NE(Out.find("already in use"), std::string::npos) << Out;
  EXPECT_NE(Out.find("exit=1"), std::string::npos) << Out;
  // The first one still answers.
  EXPECT_EQ(RawGet(First.Port, "/api/scores").Status, 200);
}
