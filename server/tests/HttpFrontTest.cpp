// The HTTP front end in-process, with small limits: an address's share of
// connections, the bounded queue, the whole-request deadline, bodies and
// keep-alive.
#include <gtest/gtest.h>

#include <condition_variable>
#include <thread>

#include "HttpFront.h"
#include "ServerTestUtil.h"

namespace {
// A front end on a free loopback port, serving on a thread of its own.
class TRunningFront {
public:
  explicit TRunningFront(THttpFront::TLimits Limits, const std::function<void(THttpFront&)>& Routes) : Front(Limits) {
    Routes(Front);
    std::string Error;
    Port = Front.Bind("127.0.0.1", 0, Error);
    Thread = std::thread([this] { Front.Listen(); });
  }
  ~TRunningFront() {
    Front.Stop();
    Thread.join();
  }
  THttpFront Front;
  int Port = 0;
  std::thread Thread;
};

void Hello(THttpFront& Front) {
  Front.Route("GET", "/hello", [](const THttpRequest& R, THttpResponse& Out) {
    Out.Content("hello " + R.Param("who") + "\n", "text/plain");
  });
  Front.Route("POST", "/echo", [](const THttpRequest& R, THttpResponse& Out) { Out.Content(R.Body, "text/plain"); });
  Front.BodyLimit("/echo", 100);
}

// Everything the server sends until it closes or TimeoutMs pass.
std::string ReadAll(int Socket, int TimeoutMs = 3000) {
  std::string Reply;
  char Buffer[4096];
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (std::chrono::steady_clock::now() < Deadline) {
    pollfd Poll{Socket, POLLIN, 0};
    if (::poll(&Poll, 1, 50) <= 0) continue;
    const ssize_t Got = ::recv(Socket, Buffer, sizeof Buffer, 0);
    if (Got <= 0) break;
    Reply.append(Buffer, static_cast<std::size_t>(Got));
  }
  return Reply;
}

void Send(int Socket, const std::string& Text) { ASSERT_EQ(::send(Socket, Text.data(), Text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(Text.size())); }
}  // namespace

TEST(HttpFront, AnAddressBeyondItsShareOfConnectionsIsToldAtOnce) {
  THttpFront::TLimits Limits;
  Limits.PerAddress = 2;
  TRunningFront Server(Limits, Hello);
  ASSERT_GT(Server.Port, 0);
  const int A = ConnectLoopback(Server.Port), B = ConnectLoopback(Server.Port), C = ConnectLoopback(Server.Port);
  EXPECT_EQ(ReadAll(C, 2000).substr(0, 12), "HTTP/1.1 503");
  ::close(C);
  ::close(A);
  ::usleep(200000);  // the server sees A go
  EXPECT_EQ(RawGet(Server.Port, "/hello?who=you").Body, "hello you\n");
  ::close(B);
}

TEST(HttpFront, AFullQueueRefusesWhileQueuedRequestsAreStillServed) {
  THttpFront::TLimits Limits;
  Limits.Workers = 1;
  Limits.QueueLength = 1;
  std::mutex Lock;
  std::condition_variable Wake;
  bool Open = false;
  TRunningFront Server(Limits, [&](THttpFront& Front) {
    Front.Route("GET", "/slow", [&](const THttpRequest&, THttpResponse& Out) {
      std::unique_lock Hold(Lock);
      Wake.wait(Hold, [&] { return Open; });
      Out.Content("done\n", "text/plain");
    });
  });
  const std::string Request = "GET /slow HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  const int Working = ConnectLoopback(Server.Port);
  Send(Working, Request);
  ::usleep(200000);  // taken by the one worker
  const int Waiting = ConnectLoopback(Server.Port);
  Send(Waiting, Request);
  ::usleep(200000);  // fills the queue
  const int Refused = ConnectLoopback(Server.Port);
  const auto Sent = std::chrono::steady_clock::now();
  Send(Refused, Request);
  EXPECT_EQ(ReadAll(Refused, 2000).substr(0, 12), "HTTP/1.1 503");
  EXPECT_LT(std::chrono::steady_clock::now() - Sent, std::chrono::seconds(1));
  {
    std::lock_guard Hold(Lock);
    Open = true;
  }
  Wake.notify_all();
  EXPECT_NE(ReadAll(Working).find("done"), std::string::npos);
  EXPECT_NE(ReadAll(Waiting).find("done"), std::string::npos);
  EXPECT_EQ(Server.Front.Refused(), 1u);
  for (int S : {Working, Waiting, Refused}) ::close(S);
}

// A byte every 100 ms never lets a per-read limit fire; the deadline is for
// the whole request.
TEST(HttpFront, ATrickledRequestIsCutOffAtItsDeadline) {
  THttpFront::TLimits Limits;
  Limits.RequestDeadline = std::chrono::milliseconds(400);
  TRunningFront Server(Limits, Hello);
  const int Socket = ConnectLoopback(Server.Port);
  const std::string Request = "GET /hello HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Long: " + std::string(100, 'a') + "\r\n\r\n";
  const auto Start = std::chrono::steady_clock::now();
  bool Cut = false;
  for (char C : Request) {
    if (::send(Socket, &C, 1, MSG_NOSIGNAL) != 1) {
      Cut = true;
      break;
    }
    pollfd Poll{Socket, POLLIN, 0};
    if (::poll(&Poll, 1, 100) == 1) {
      char Byte;
      Cut = ::recv(Socket, &Byte, 1, 0) <= 0;
      break;
    }
  }
  EXPECT_TRUE(Cut);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(1500));
  ::close(Socket);
}

TEST(HttpFront, BodiesKeepAliveAndPipelinedRequests) {
  TRunningFront Server(THttpFront::TLimits{}, Hello);
  // Two requests in one write on one connection: answered in order, the
  // connection kept until the second asks to close.
  int Socket = ConnectLoopback(Server.Port);
  Send(Socket, "POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nfirstGET /hello?who=a%20b HTTP/1.1\r\n"
               "Host: x\r\nConnection: close\r\n\r\n");
  const std::string Both = ReadAll(Socket);
  ::close(Socket);
  const std::size_t First = Both.find("\r\n\r\nfirst"), Second = Both.find("hello a b\n");
  ASSERT_NE(First, std::string::npos) << Both;
  ASSERT_NE(Second, std::string::npos) << Both;
  EXPECT_LT(First, Second);
  EXPECT_NE(Both.find("Connection: keep-alive"), std::string::npos);

  // Over the path's limit: refused before the body is read.
  Socket = ConnectLoopback(Server.Port);
  Send(Socket, "POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 101\r\n\r\n");
  EXPECT_EQ(ReadAll(Socket).substr(0, 12), "HTTP/1.1 413");
  ::close(Socket);

  // A client that waits for leave to send its body gets it.
  Socket = ConnectLoopback(Server.Port);
  Send(Socket, "POST /echo HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\nContent-Length: 4\r\nConnection: close\r\n\r\n");
  pollfd Poll{Socket, POLLIN, 0};
  ASSERT_EQ(::poll(&Poll, 1, 2000), 1);
  char Buffer[64];
  const ssize_t Got = ::recv(Socket, Buffer, sizeof Buffer, 0);
  EXPECT_EQ(std::string(Buffer, static_cast<std::size_t>(std::max<ssize_t>(Got, 0))), "HTTP/1.1 100 Continue\r\n\r\n");
  Send(Socket, "body");
  EXPECT_NE(ReadAll(Socket).find("\r\n\r\nbody"), std::string::npos);
  ::close(Socket);

  // HEAD: the head of the GET answer, no body.
  Socket = ConnectLoopback(Server.Port);
  Send(Socket, "HEAD /hello?who=x HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  const std::string Head = ReadAll(Socket);
  ::close(Socket);
  EXPECT_EQ(Head.substr(0, 12), "HTTP/1.1 200");
  EXPECT_NE(Head.find("Content-Length: 8\r\n"), std::string::npos) << Head;
  EXPECT_EQ(Head.substr(Head.size() - 4), "\r\n\r\n");

  EXPECT_EQ(RawGet(Server.Port, "/nowhere").Status, 404);
  EXPECT_EQ(RawGet(Server.Port, "/echo").Status, 405);
}
