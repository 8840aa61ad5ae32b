// Helpers for the server's tests: building submissions without the game's
// code, a raw HTTP GET that sends the target exactly as given, and
// vyrn-scores run as a child process on a free loopback port.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

// The plain text the game builds for one half of its table.
inline std::string PlainTable(const std::vector<std::pair<std::string, std::string>>& Pairs) {
  std::string Text = "3";
  for (const auto& [Name, Score] : Pairs) Text += Name + "," + Score + ",";
  return Text;
}

// Scrambling written from the format's description, with the first pad that
// fits instead of a random one, and any check text the test wants.
inline std::string ScrambleWithCheck(const std::string& Plain, const std::string& Check) {
  std::string Out;
  for (char C : Plain + Check) {
    for (int K = 50; K <= 199; ++K) {
      const int E = K ^ static_cast<unsigned char>(C);
      if (E >= 66 && E <= 128) {
        Out += static_cast<char>(K);
        Out += static_cast<char>(E);
        break;
      }
    }
  }
  return Out;
}

inline std::string ByteSum(const std::string& Text) {
  std::uint64_t Sum = 0;
  for (char C : Text) Sum += static_cast<unsigned char>(C);
  return std::to_string(Sum);
}

inline std::string PercentEveryByte(const std::string& Bytes) {
  std::string Out;
  char Hex[4];
  for (char C : Bytes) {
    std::snprintf(Hex, sizeof Hex, "%%%02X", static_cast<unsigned char>(C));
    Out += Hex;
  }
  return Out;
}

inline std::string SubmitQuery(const std::string& Scrambled, const std::string& Count = "10") {
  return "game=vyrn&ent=" + Count + "&hifile=" + PercentEveryByte(Scrambled);
}

struct THttpAnswer {
  int Status = 0;  // 0: no answer
  std::string Body;
};

// A TCP connection to Port on loopback; -1 when it cannot be made.
inline int ConnectLoopback(int Port) {
  const int Socket = ::socket(AF_INET, SOCK_STREAM, 0);
  if (Socket < 0) return -1;
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  Address.sin_port = htons(static_cast<std::uint16_t>(Port));
  if (::connect(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0) {
    ::close(Socket);
    return -1;
  }
  return Socket;
}

// The answer on Socket, read until the whole body is in, the server
// closes or TimeoutMs pass; closes the socket.
inline THttpAnswer ReadAnswer(int Socket, int TimeoutMs) {
  THttpAnswer Answer;
  std::string Reply;
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  char Buffer[4096];
  while (std::chrono::steady_clock::now() < Deadline) {
    pollfd Poll{Socket, POLLIN, 0};
    if (::poll(&Poll, 1, 100) <= 0) continue;
    const ssize_t Got = ::recv(Socket, Buffer, sizeof Buffer, 0);
    if (Got <= 0) break;
    Reply.append(Buffer, static_cast<std::size_t>(Got));
    // Done once the whole body is in, whether or not the server closes.
    const std::size_t HeadEnd = Reply.find("\r\n\r\n");
    const std::size_t Length = Reply.find("Content-Length: ");
    if (HeadEnd != std::string::npos && Length != std::string::npos && Length < HeadEnd &&
        Reply.size() >= HeadEnd + 4 + std::stoul(Reply.substr(Length + 16)))
      break;
  }
  ::close(Socket);
  if (Reply.compare(0, 9, "HTTP/1.1 ") != 0 || Reply.size() < 12) return Answer;
  Answer.Status = std::stoi(Reply.substr(9, 3));
  const std::size_t BodyAt = Reply.find("\r\n\r\n");
  if (BodyAt != std::string::npos) Answer.Body = Reply.substr(BodyAt + 4);
  return Answer;
}

// One GET on its own connection, the target sent byte for byte; gives up
// after TimeoutMs.
inline THttpAnswer RawGet(int Port, const std::string& Target, int TimeoutMs = 5000) {
  const int Socket = ConnectLoopback(Port);
  if (Socket < 0) return {};
  const std::string Request = "GET " + Target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  if (::send(Socket, Request.data(), Request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(Request.size())) {
    ::close(Socket);
    return {};
  }
  return ReadAnswer(Socket, TimeoutMs);
}

// One POST with Body on its own connection; gives up after TimeoutMs.
inline THttpAnswer RawPost(int Port, const std::string& Target, const std::string& Body, int TimeoutMs = 5000) {
  const int Socket = ConnectLoopback(Port);
  if (Socket < 0) return {};
  const std::string Request = "POST " + Target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Length: " +
                              std::to_string(Body.size()) + "\r\n\r\n" + Body;
  std::size_t Sent = 0;
  while (Sent < Request.size()) {
    const ssize_t N = ::send(Socket, Request.data() + Sent, Request.size() - Sent, MSG_NOSIGNAL);
    if (N <= 0) break;
    Sent += static_cast<std::size_t>(N);
  }
  return ReadAnswer(Socket, TimeoutMs);
}

// vyrn-scores as a child process. Port 0 lets it pick a free port, which it
// prints; the destructor stops it if the test did not.
class TServerProcess {
public:
  TServerProcess(const std::string& Db, int PerMinute = 30, const std::vector<std::string>& Extra = {}) {
    int Pipe[2];
    if (::pipe(Pipe) != 0) return;
    FChild = ::fork();
    if (FChild == 0) {
      ::dup2(Pipe[1], STDOUT_FILENO);
      ::close(Pipe[0]);
      ::close(Pipe[1]);
      const std::string Limit = std::to_string(PerMinute);
      std::vector<const char*> Argv = {VYRN_SCORES_PATH, "--db", Db.c_str(), "--port", "0", "--bind", "127.0.0.1",
                                       "--max-per-minute", Limit.c_str()};
      for (const auto& Arg : Extra) Argv.push_back(Arg.c_str());
      Argv.push_back(nullptr);
      ::execv(VYRN_SCORES_PATH, const_cast<char* const*>(Argv.data()));
      ::_exit(127);
    }
    ::close(Pipe[1]);
    FOutput = Pipe[0];
    // "vyrn-scores: listening on http://127.0.0.1:PORT/ with ..."
    std::string Line;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < Deadline) {
      pollfd Poll{FOutput, POLLIN, 0};
      if (::poll(&Poll, 1, 100) <= 0) continue;
      char C;
      if (::read(FOutput, &C, 1) != 1) break;
      Line += C;
    }
    const std::size_t At = Line.find("127.0.0.1:");
    if (At != std::string::npos) Port = std::atoi(Line.c_str() + At + 10);
  }
  ~TServerProcess() {
    Stop(SIGTERM);
    if (FOutput >= 0) ::close(FOutput);
  }
  TServerProcess(const TServerProcess&) = delete;
  TServerProcess& operator=(const TServerProcess&) = delete;

  // Sends Signal and waits (at most 10 s, then SIGKILL). The exit status.
  int Stop(int Signal) {
    if (FChild <= 0) return -1;
    ::kill(FChild, Signal);
    int Status = 0;
    for (int I = 0; I < 1000; ++I) {
      if (::waitpid(FChild, &Status, WNOHANG) == FChild) {
        FChild = 0;
        return Status;
      }
      ::usleep(10000);
    }
    ::kill(FChild, SIGKILL);
    ::waitpid(FChild, &Status, 0);
    FChild = 0;
    return Status;
  }

  int Port = 0;

private:
  pid_t FChild = 0;
  int FOutput = -1;
};

// The database read directly, not through the server's own store code.
class TDatabase {
public:
  explicit TDatabase(const std::string& Path) {
    if (sqlite3_open_v2(Path.c_str(), &FDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) ADD_FAILURE() << Path;
  }
  ~TDatabase() { sqlite3_close(FDb); }
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  // The first column of every row, as text.
  std::vector<std::string> Column(const std::string& Sql) {
    std::vector<std::string> Out;
    sqlite3_stmt* Statement = nullptr;
    if (sqlite3_prepare_v2(FDb, Sql.c_str(), -1, &Statement, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(FDb);
      return Out;
    }
    while (sqlite3_step(Statement) == SQLITE_ROW) {
      const auto* Text = reinterpret_cast<const char*>(sqlite3_column_text(Statement, 0));
      Out.emplace_back(Text ? Text : "");
    }
    sqlite3_finalize(Statement);
    return Out;
  }
  std::string One(const std::string& Sql) {
    auto Rows = Column(Sql);
    return Rows.empty() ? std::string() : Rows.front();
  }

private:
  sqlite3* FDb = nullptr;
};
