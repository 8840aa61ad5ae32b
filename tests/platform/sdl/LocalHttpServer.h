// A tiny HTTP server on 127.0.0.1 for tests: one connection at a time, keeps
// each request line and answers with the status it is told to.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class TLocalHttpServer {
public:
  // Statuses for the requests in order; 200 once they run out. A status of 0
  // means: read the request and never answer.
  explicit TLocalHttpServer(std::vector<int> Statuses = {}) : FStatuses(std::move(Statuses)) {
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Address.sin_port = 0;
    int Yes = 1;
    ::setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &Yes, sizeof Yes);
    if (::bind(FListen, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 || ::listen(FListen, 8) != 0)
      return;
    socklen_t Length = sizeof Address;
    ::getsockname(FListen, reinterpret_cast<sockaddr*>(&Address), &Length);
    Port = ntohs(Address.sin_port);
    FThread = std::thread([this] { Serve(); });
  }
  ~TLocalHttpServer() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
    ::close(FListen);
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(Port); }
  std::vector<std::string> RequestLines() {
    std::lock_guard<std::mutex> Lock(FMutex);
    return FLines;
  }

  int Port = 0;

private:
  void Serve() {
    while (!FStop) {
      pollfd Poll{FListen, POLLIN, 0};
      if (::poll(&Poll, 1, 20) <= 0) continue;
      const int Client = ::accept(FListen, nullptr, nullptr);
      if (Client < 0) continue;
      std::string Request;
      char Buffer[4096];
      while (Request.find("\r\n\r\n") == std::string::npos) {
        pollfd Read{Client, POLLIN, 0};
        if (::poll(&Read, 1, 2000) <= 0) break;
        const ssize_t N = ::recv(Client, Buffer, sizeof Buffer, 0);
        if (N <= 0) break;
        Request.append(Buffer, static_cast<std::size_t>(N));
      }
      int Status = 200;
      {
        std::lock_guard<std::mutex> Lock(FMutex);
        FLines.push_back(Request.substr(0, Request.find("\r\n")));
        if (FNext < FStatuses.size()) Status = FStatuses[FNext++];
      }
      if (Status == 0) {
        // Hold the connection open without a word until the client gives up.
        while (!FStop) {
          pollfd Wait{Client, POLLIN, 0};
          if (::poll(&Wait, 1, 20) > 0 && ::recv(Client, Buffer, sizeof Buffer, 0) <= 0) break;
        }
      } else {
        const std::string Body = "ok";
        const std::string Response = "HTTP/1.1 " + std::to_string(Status) + " Whatever\r\nContent-Length: " +
                                     std::to_string(Body.size()) + "\r\nConnection: close\r\n\r\n" + Body;
        ::send(Client, Response.data(), Response.size(), MSG_NOSIGNAL);
      }
      ::close(Client);
    }
  }

  int FListen = -1;
  std::thread FThread;
  std::atomic<bool> FStop{false};
  std::mutex FMutex;
  std::vector<std::string> FLines;
  std::vector<int> FStatuses;
  std::size_t FNext = 0;
};
