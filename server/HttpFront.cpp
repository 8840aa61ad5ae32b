#include "HttpFront.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
using TClock = std::chrono::steady_clock;

const char* StatusText(int Status) {
  switch (Status) {
    case 100: return "Continue";
    case 200: return "OK";
    case 202: return "Accepted";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 422: return "Unprocessable Content";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    default: return "Unknown";
  }
}

std::string Lower(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Text;
}

std::string Trim(const std::string& Text) {
  std::size_t First = 0, Last = Text.size();
  while (First < Last && (Text[First] == ' ' || Text[First] == '\t')) ++First;
  while (Last > First && (Text[Last - 1] == ' ' || Text[Last - 1] == '\t' || Text[Last - 1] == '\r')) --Last;
  return Text.substr(First, Last - First);
}

std::string Serialize(const THttpResponse& Response, bool Close) {
  std::string Out = "HTTP/1.1 " + std::to_string(Response.Status) + " " + StatusText(Response.Status) + "\r\n";
  for (const auto& [Name, Value] : Response.Headers) Out += Name + ": " + Value + "\r\n";
  Out += "Content-Length: " + std::to_string(Response.Body.size()) + "\r\n";
  Out += Close ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n";
  Out += Response.Body;
  return Out;
}

std::string PlainAnswer(int Status, const std::string& Text) {
  THttpResponse Response;
  Response.Status = Status;
  Response.Set("Cache-Control", "no-store");
  if (Status == 503) Response.Set("Retry-After", "5");
  Response.Content(Text + "\n", "text/plain; charset=utf-8");
  return Serialize(Response, true);
}

// A refusal sent without waiting: if the socket will not take it at once the
// client gets a plain close instead.
void SendNow(int Fd, const std::string& Bytes) { (void)::send(Fd, Bytes.data(), Bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT); }
}  // namespace

std::string THttpRequest::Param(const std::string& Key) const {
  const auto Found = Params.find(Key);
  return Found == Params.end() ? std::string() : Found->second;
}

std::string THttpRequest::Header(const std::string& LowerName) const {
  const auto Found = Headers.find(LowerName);
  return Found == Headers.end() ? std::string() : Found->second;
}

struct THttpFront::TConnection {
  enum TState { Reading, Busy, Writing } State = Reading;
  int Fd = -1;
  std::string Address;
  std::uint64_t Serial = 0;
  std::string In;
  std::string Out;
  std::size_t OutAt = 0;
  bool CloseAfter = false;
  bool Started = false;  // bytes of the current request have arrived
  bool Continued = false;
  bool Stretched = false;  // the deadline has been lengthened for the body
  int Served = 0;
  TClock::time_point Begun;
  TClock::time_point Deadline;
};

std::size_t RaiseOpenFileLimit() {
  rlimit Limit{};
  if (::getrlimit(RLIMIT_NOFILE, &Limit) != 0) return 1024;
  if (Limit.rlim_cur < Limit.rlim_max) {
    rlimit Raised = Limit;
    Raised.rlim_cur = Limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &Raised) == 0) Limit = Raised;
  }
  return Limit.rlim_cur == RLIM_INFINITY ? 1u << 20 : static_cast<std::size_t>(Limit.rlim_cur);
}

THttpFront::THttpFront(TLimits Limits) : FLimits(Limits) {}

THttpFront::~THttpFront() {
  Stop();
  for (auto& Worker : FWorkers)
    if (Worker.joinable()) Worker.join();
  for (auto& [Fd, C] : FConnections) ::close(Fd);
  for (int Fd : {FListen, FEpoll, FWake, FReserve})
    if (Fd >= 0) ::close(Fd);
}

void THttpFront::Route(const std::string& Method, const std::string& Path, THandler Handler) {
  FRoutes[{Method, Path}] = std::move(Handler);
}

void THttpFront::RoutePrefix(const std::string& Method, const std::string& Prefix, THandler Handler) {
  FPrefixRoutes.push_back({{Method, Prefix}, std::move(Handler)});
}

int THttpFront::Bind(const std::string& Address, int Port, std::string& Error) {
  addrinfo Hints{}, *Found = nullptr;
  Hints.ai_family = AF_UNSPEC;
  Hints.ai_socktype = SOCK_STREAM;
  Hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  const std::string Service = std::to_string(Port);
  if (const int Code = ::getaddrinfo(Address.c_str(), Service.c_str(), &Hints, &Found); Code != 0) {
    Error = std::string("cannot resolve ") + Address + ": " + ::gai_strerror(Code);
    return -1;
  }
  const int Socket = ::socket(Found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (Socket < 0) {
    Error = std::string("socket: ") + std::strerror(errno);
    ::freeaddrinfo(Found);
    return -1;
  }
  // SO_REUSEADDR only lets a restart bind past its old connections in
  // TIME_WAIT; it never lets two servers listen on one port (SO_REUSEPORT
  // would, and each would see part of the traffic).
  const int Yes = 1;
  ::setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Yes, sizeof Yes);
  if (::bind(Socket, Found->ai_addr, Found->ai_addrlen) != 0 || ::listen(Socket, SOMAXCONN) != 0) {
    const int Code = errno;
    Error = Code == EADDRINUSE ? "port " + Service + " on " + Address + " is already in use (is another server running?)"
                               : "cannot listen on " + Address + ":" + Service + ": " + std::strerror(Code);
    ::close(Socket);
    ::freeaddrinfo(Found);
    return -1;
  }
  ::freeaddrinfo(Found);
  sockaddr_storage Bound{};
  socklen_t Size = sizeof Bound;
  ::getsockname(Socket, reinterpret_cast<sockaddr*>(&Bound), &Size);
  FListen = Socket;
  return Bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&Bound)->sin6_port)
                                     : ntohs(reinterpret_cast<sockaddr_in*>(&Bound)->sin_port);
}

void THttpFront::Stop() {
  FStopping = true;
  if (FWake >= 0) {
    const std::uint64_t One = 1;
    (void)!::write(FWake, &One, sizeof One);
  }
  FWorkReady.notify_all();
}

bool THttpFront::Listen() {
  if (FListen < 0) return false;
  const std::size_t Files = RaiseOpenFileLimit();
  // Room for the database, the run files and the workers' own needs.
  FLimits.MaxConnections = std::min(FLimits.MaxConnections, Files > 128 ? Files - 96 : 16);
  FEpoll = ::epoll_create1(EPOLL_CLOEXEC);
  FWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  FReserve = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (FEpoll < 0 || FWake < 0) return false;
  epoll_event Event{};
  Event.events = EPOLLIN;
  Event.data.fd = FListen;
  ::epoll_ctl(FEpoll, EPOLL_CTL_ADD, FListen, &Event);
  Event.data.fd = FWake;
  ::epoll_ctl(FEpoll, EPOLL_CTL_ADD, FWake, &Event);
  for (int I = 0; I < FLimits.Workers; ++I) FWorkers.emplace_back([this] { Work(); });

  std::vector<epoll_event> Events(256);
  auto LastSweep = TClock::now();
  while (!FStopping) {
    const int Count = ::epoll_wait(FEpoll, Events.data(), static_cast<int>(Events.size()), 100);
    if (Count < 0 && errno != EINTR) break;
    for (int I = 0; I < Count; ++I) {
      const int Fd = Events[I].data.fd;
      const std::uint32_t What = Events[I].events;
      if (Fd == FListen) {
        Accept();
        continue;
      }
      if (Fd == FWake) {
        std::uint64_t Ignored;
        (void)!::read(FWake, &Ignored, sizeof Ignored);
        TakeDone();
        continue;
      }
      const auto Found = FConnections.find(Fd);
      if (Found == FConnections.end()) continue;
      TConnection& C = *Found->second;
      if (What & (EPOLLERR | EPOLLHUP)) {
        CloseConnection(Fd);
        continue;
      }
      if ((What & EPOLLIN) && C.State == TConnection::Reading) ReadFrom(C);
      else if ((What & EPOLLOUT) && C.State == TConnection::Writing) WriteTo(C);
    }
    if (TClock::now() - LastSweep >= std::chrono::milliseconds(100)) {
      LastSweep = TClock::now();
      Expire();
    }
  }
  {
    std::lock_guard Lock(FLock);
    FStopping = true;
  }
  FWorkReady.notify_all();
  for (auto& Worker : FWorkers) Worker.join();
  FWorkers.clear();
  for (auto& [Fd, C] : FConnections) ::close(Fd);
  FConnections.clear();
  FPerAddress.clear();
  return true;
}

void THttpFront::Accept() {
  for (;;) {
    sockaddr_storage Peer{};
    socklen_t Size = sizeof Peer;
    const int Fd = ::accept4(FListen, reinterpret_cast<sockaddr*>(&Peer), &Size, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (Fd < 0) {
      if ((errno == EMFILE || errno == ENFILE) && FReserve >= 0) {
        // Out of descriptors: take the oldest waiting connection off the
        // backlog and close it, rather than leave it to spin the loop.
        ::close(FReserve);
        const int Shed = ::accept(FListen, nullptr, nullptr);
        if (Shed >= 0) ::close(Shed);
        FReserve = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        ++FRefused;
      }
      return;
    }
    char Text[INET6_ADDRSTRLEN] = "?";
    if (Peer.ss_family == AF_INET)
      ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&Peer)->sin_addr, Text, sizeof Text);
    else if (Peer.ss_family == AF_INET6)
      ::inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&Peer)->sin6_addr, Text, sizeof Text);
    std::size_t& Mine = FPerAddress[Text];
    if (Mine >= FLimits.PerAddress || FConnections.size() >= FLimits.MaxConnections) {
      SendNow(Fd, PlainAnswer(503, "too many connections, try again soon"));
      ::close(Fd);
      if (Mine == 0) FPerAddress.erase(Text);
      ++FRefused;
      continue;
    }
    ++Mine;
    const int Yes = 1;
    // Answers are one small write; Nagle would hold them for the client's
    // delayed acknowledgement.
    ::setsockopt(Fd, IPPROTO_TCP, TCP_NODELAY, &Yes, sizeof Yes);
    auto C = std::make_unique<TConnection>();
    C->Fd = Fd;
    C->Address = Text;
    C->Deadline = TClock::now() + FLimits.IdleDeadline;
    epoll_event Event{};
    Event.events = EPOLLIN | EPOLLRDHUP;
    Event.data.fd = Fd;
    ::epoll_ctl(FEpoll, EPOLL_CTL_ADD, Fd, &Event);
    FConnections[Fd] = std::move(C);
  }
}

void THttpFront::CloseConnection(int Fd) {
  const auto Found = FConnections.find(Fd);
  if (Found == FConnections.end()) return;
  const auto Mine = FPerAddress.find(Found->second->Address);
  if (Mine != FPerAddress.end() && --Mine->second == 0) FPerAddress.erase(Mine);
  ::epoll_ctl(FEpoll, EPOLL_CTL_DEL, Fd, nullptr);
  ::close(Fd);
  FConnections.erase(Found);
}

void THttpFront::ReadFrom(TConnection& C) {
  char Buffer[16384];
  for (;;) {
    const ssize_t Got = ::recv(C.Fd, Buffer, sizeof Buffer, 0);
    if (Got > 0) {
      if (!C.Started) {
        C.Started = true;
        C.Begun = TClock::now();
        C.Deadline = C.Begun + FLimits.RequestDeadline;
      }
      C.In.append(Buffer, static_cast<std::size_t>(Got));
      // Never hold more than one request's worth.
      if (C.In.size() > FLimits.MaxHeader + 4 + FMostBody)
        break;
      continue;
    }
    if (Got == 0) {
      CloseConnection(C.Fd);
      return;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) break;
    CloseConnection(C.Fd);
    return;
  }
  TryRequest(C);
}

void THttpFront::TryRequest(TConnection& C) {
  const std::size_t HeadEnd = C.In.find("\r\n\r\n");
  if (HeadEnd == std::string::npos) {
    if (C.In.size() > FLimits.MaxHeader) Reply(C, 431, "request head too large", true);
    return;
  }
  if (HeadEnd > FLimits.MaxHeader) return Reply(C, 431, "request head too large", true);
  THttpRequest Request;
  Request.RemoteAddr = C.Address;
  const std::size_t LineEnd = C.In.find("\r\n");
  const std::string Line = C.In.substr(0, LineEnd);
  const std::size_t Space1 = Line.find(' '), Space2 = Line.rfind(' ');
  if (Space1 == std::string::npos || Space2 == Space1) return Reply(C, 400, "bad request line", true);
  Request.Method = Line.substr(0, Space1);
  Request.Target = Line.substr(Space1 + 1, Space2 - Space1 - 1);
  const std::string Version = Line.substr(Space2 + 1);
  if (Version != "HTTP/1.1" && Version != "HTTP/1.0") return Reply(C, 400, "bad request line", true);
  std::size_t At = LineEnd + 2;
  while (At < HeadEnd) {
    const std::size_t End = C.In.find("\r\n", At);
    const std::string Field = C.In.substr(At, End - At);
    At = End + 2;
    const std::size_t Colon = Field.find(':');
    if (Colon == std::string::npos || Colon == 0) return Reply(C, 400, "bad header", true);
    Request.Headers.emplace(Lower(Field.substr(0, Colon)), Trim(Field.substr(Colon + 1)));
  }
  const std::size_t Mark = Request.Target.find('?');
  Request.Path = httplib::detail::decode_url(Request.Target.substr(0, Mark), false);
  if (Mark != std::string::npos) {
    Request.Query = Request.Target.substr(Mark + 1);
    httplib::Params Params;
    httplib::detail::parse_query_text(Request.Query, Params);
    Request.Params.insert(Params.begin(), Params.end());
  }
  if (!Request.Header("transfer-encoding").empty()) return Reply(C, 411, "send the body with a Content-Length", true);
  std::size_t Length = 0;
  const std::string LengthText = Request.Header("content-length");
  if (!LengthText.empty()) {
    if (LengthText.size() > 12 || LengthText.find_first_not_of("0123456789") != std::string::npos)
      return Reply(C, 400, "bad Content-Length", true);
    Length = std::stoull(LengthText);
  }
  const auto Limit = FBodyLimits.find(Request.Path);
  if (Length > (Limit == FBodyLimits.end() ? FLimits.MaxBody : Limit->second))
    return Reply(C, 413, "request body too large", true);
  if (C.In.size() < HeadEnd + 4 + Length) {
    // A large body (a run) gets time in proportion to its size, as a slow
    // line would need: still one fixed deadline for the whole request.
    if (!C.Stretched) {
      C.Stretched = true;
      C.Deadline += std::chrono::milliseconds(Length / 64);  // 64 KB a second
    }
    if (!C.Continued && Lower(Request.Header("expect")) == "100-continue") {
      C.Continued = true;
      SendNow(C.Fd, "HTTP/1.1 100 Continue\r\n\r\n");
    }
    return;
  }
  Request.Body = C.In.substr(HeadEnd + 4, Length);
  C.In.erase(0, HeadEnd + 4 + Length);
  const std::string Connection = Lower(Request.Header("connection"));
  bool Close = Connection == "close" || (Version == "HTTP/1.0" && Connection != "keep-alive") ||
               ++C.Served >= FLimits.KeepAliveMax;
  Queue(C, std::move(Request), Close);
}

void THttpFront::Queue(TConnection& C, THttpRequest Request, bool Close) {
  {
    std::lock_guard Lock(FLock);
    if (FWork.size() < FLimits.QueueLength) {
      C.Serial = FNextSerial++;
      C.State = TConnection::Busy;
      FWork.push_back({{C.Fd, C.Serial}, {std::move(Request), Close}});
      epoll_event Event{};
      Event.events = 0;  // hang-ups still arrive
      Event.data.fd = C.Fd;
      ::epoll_ctl(FEpoll, EPOLL_CTL_MOD, C.Fd, &Event);
      FWorkReady.notify_one();
      return;
    }
  }
  ++FRefused;
  Reply(C, 503, "the server is busy, try again soon", true);
}

void THttpFront::Reply(TConnection& C, int Status, const std::string& Text, bool Close) {
  C.Out = PlainAnswer(Status, Text);
  C.OutAt = 0;
  C.CloseAfter = Close;
  C.State = TConnection::Writing;
  C.Deadline = TClock::now() + FLimits.WriteDeadline;
  WriteTo(C);
}

void THttpFront::WriteTo(TConnection& C) {
  while (C.OutAt < C.Out.size()) {
    const ssize_t Sent = ::send(C.Fd, C.Out.data() + C.OutAt, C.Out.size() - C.OutAt, MSG_NOSIGNAL);
    if (Sent > 0) {
      C.OutAt += static_cast<std::size_t>(Sent);
      continue;
    }
    if (Sent < 0 && errno == EINTR) continue;
    if (Sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      epoll_event Event{};
      Event.events = EPOLLOUT;
      Event.data.fd = C.Fd;
      ::epoll_ctl(FEpoll, EPOLL_CTL_MOD, C.Fd, &Event);
      return;
    }
    CloseConnection(C.Fd);
    return;
  }
  if (C.CloseAfter) {
    // Half-close and let the client read the answer before the socket goes.
    ::shutdown(C.Fd, SHUT_WR);
    CloseConnection(C.Fd);
    return;
  }
  C.Out.clear();
  C.Out.shrink_to_fit();
  C.OutAt = 0;
  C.State = TConnection::Reading;
  C.Started = !C.In.empty();
  C.Continued = false;
  C.Stretched = false;
  C.Begun = TClock::now();
  C.Deadline = C.Begun + (C.Started ? FLimits.RequestDeadline : FLimits.IdleDeadline);
  epoll_event Event{};
  Event.events = EPOLLIN | EPOLLRDHUP;
  Event.data.fd = C.Fd;
  ::epoll_ctl(FEpoll, EPOLL_CTL_MOD, C.Fd, &Event);
  if (!C.In.empty()) TryRequest(C);  // a pipelined request already read
}

void THttpFront::Expire() {
  const auto Now = TClock::now();
  std::vector<int> Late;
  for (const auto& [Fd, C] : FConnections)
    if (C->State != TConnection::Busy && C->Deadline <= Now) Late.push_back(Fd);
  for (int Fd : Late) {
    // Late requests, idle connections and stuck readers are simply closed:
    // whoever stalls learns nothing from us and costs nothing more.
    CloseConnection(Fd);
  }
}

void THttpFront::TakeDone() {
  std::vector<TDone> Done;
  {
    std::lock_guard Lock(FLock);
    Done.swap(FDone);
  }
  for (TDone& D : Done) {
    const auto Found = FConnections.find(D.Fd);
    if (Found == FConnections.end() || Found->second->Serial != D.Serial ||
        Found->second->State != TConnection::Busy)
      continue;  // the client left meanwhile
    TConnection& C = *Found->second;
    C.Out = std::move(D.Bytes);
    C.OutAt = 0;
    C.CloseAfter = D.Close;
    C.State = TConnection::Writing;
    C.Deadline = TClock::now() + FLimits.WriteDeadline;
    WriteTo(C);
  }
}

void THttpFront::Work() {
  for (;;) {
    std::pair<std::pair<int, std::uint64_t>, std::pair<THttpRequest, bool>> Job;
    {
      std::unique_lock Lock(FLock);
      FWorkReady.wait(Lock, [this] { return FStopping || !FWork.empty(); });
      if (FStopping) return;
      Job = std::move(FWork.front());
      FWork.pop_front();
    }
    std::string Bytes = Handle(Job.second.first, Job.second.second);
    {
      std::lock_guard Lock(FLock);
      FDone.push_back({Job.first.first, Job.first.second, std::move(Bytes), Job.second.second});
    }
    const std::uint64_t One = 1;
    (void)!::write(FWake, &One, sizeof One);
  }
}

std::string THttpFront::Handle(const THttpRequest& Request, bool Close) {
  // HEAD is GET without the body.
  if (Request.Method == "HEAD") {
    THttpRequest Get = Request;
    Get.Method = "GET";
    std::string Whole = Handle(Get, Close);
    Whole.resize(Whole.find("\r\n\r\n") + 4);
    return Whole;
  }
  THttpResponse Response;
  const THandler* Handler = nullptr;
  if (const auto Found = FRoutes.find({Request.Method, Request.Path}); Found != FRoutes.end()) Handler = &Found->second;
  for (const auto& [Key, Prefixed] : FPrefixRoutes)
    if (!Handler && Key.first == Request.Method && Request.Path.rfind(Key.second, 0) == 0) Handler = &Prefixed;
  if (!Handler) {
    bool OtherMethod = false;
    for (const auto& [Key, Ignored] : FRoutes) OtherMethod |= Key.second == Request.Path;
    Response.Status = OtherMethod ? 405 : 404;
    Response.Content(OtherMethod ? "method not allowed\n" : "not found\n", "text/plain; charset=utf-8");
    return Serialize(Response, Close);
  }
  try {
    (*Handler)(Request, Response);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
    Response = THttpResponse();
    Response.Status = 500;
    Response.Content("internal error\n", "text/plain; charset=utf-8");
  }
  return Serialize(Response, Close);
}
