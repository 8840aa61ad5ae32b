#include "ScoreServer.h"

#include <httplib.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>

#include "Leaderboard.h"

namespace {
constexpr int WorkerThreads = 16;
constexpr std::int64_t MaxOffset = 1'000'000;

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Nothing on our pages may run script or load anything from elsewhere.
void SetPageHeaders(httplib::Response& Response) {
  Response.set_header("Content-Security-Policy",
                      "default-src 'none'; style-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
  Response.set_header("X-Content-Type-Options", "nosniff");
  Response.set_header("Referrer-Policy", "no-referrer");
}

void Answer(httplib::Response& Response, int Status, const std::string& Text) {
  Response.status = Status;
  Response.set_header("Cache-Control", "no-store");
  SetPageHeaders(Response);
  Response.set_content(Text + "\n", "text/plain; charset=utf-8");
}

// A whole decimal number in Low..High, nothing else.
bool ParseBounded(const std::string& Text, std::int64_t Low, std::int64_t High, std::int64_t& Value) {
  if (Text.empty() || Text.size() > 9) return false;
  Value = 0;
  for (char C : Text) {
    if (C < '0' || C > '9') return false;
    Value = Value * 10 + (C - '0');
  }
  return Value >= Low && Value <= High;
}
}  // namespace

TScoreServer::TScoreServer(TScoreStore& Store, int PerMinute)
    : FStore(Store), FLimiter(PerMinute), FHttp(std::make_unique<httplib::Server>()) {
  httplib::Server& Http = *FHttp;
  Http.new_task_queue = [] { return new httplib::ThreadPool(WorkerThreads); };
  // Bounded in size and time: a slow or oversized request is cut off instead
  // of holding a worker.
  Http.set_read_timeout(5, 0);
  Http.set_write_timeout(5, 0);
  Http.set_keep_alive_timeout(5);
  Http.set_keep_alive_max_count(1000);
  Http.set_payload_max_length(4096);
  // Remember the listening socket: the library listens with a backlog of 5,
  // which drops the connects of a burst of clients (each then waits a second
  // for the SYN to be sent again). Bind widens it.
  Http.set_socket_options([this](int Socket) {
    httplib::default_socket_options(Socket);
    FListenSocket = Socket;
  });
  // Answers are one small write; without this Nagle holds them for the
  // client's delayed ACK (about 40 ms each on loopback).
  Http.set_tcp_nodelay(true);

  Http.Get("/submit_hi.php", [this](const httplib::Request& Request, httplib::Response& Response) {
    if (!FLimiter.Allow(Request.remote_addr)) {
      Response.set_header("Retry-After", "60");
      Answer(Response, 429, "too many submissions, try again in a minute");
      return;
    }
    const std::size_t Mark = Request.target.find('?');
    const std::string Query = Mark == std::string::npos ? std::string() : Request.target.substr(Mark + 1);
    TSubmission Submission;
    std::string Reason;
    if (!Submission.Parse(Query, Reason)) {
      Answer(Response, 400, "refused: " + Reason);
      return;
    }
    try {
      const int Added = FStore.Add(Submission.Entries, NowSeconds());
      Answer(Response, 200, "OK, " + std::to_string(Added) + " new");
    } catch (const TScoreStoreError& Error) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
      Answer(Response, 500, "could not store the scores");
    }
  });

  Http.Get("/", [this](const httplib::Request&, httplib::Response& Response) {
    try {
      const auto AllTime = FStore.Best(PageRows, 0);
      const auto Recent = FStore.Best(PageRows, 0, NowSeconds() - TScoreStore::RecentSeconds);
      SetPageHeaders(Response);
      Response.set_header("Cache-Control", "no-cache");
      Response.set_content(LeaderboardPage(AllTime, Recent), "text/html; charset=utf-8");
    } catch (const TScoreStoreError& Error) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
      Answer(Response, 500, "could not read the scores");
    }
  });

  Http.Get("/style.css", [](const httplib::Request&, httplib::Response& Response) {
    SetPageHeaders(Response);
    Response.set_header("Cache-Control", "max-age=3600");
    Response.set_content(LeaderboardStyle, "text/css; charset=utf-8");
  });

  Http.Get("/api/scores", [this](const httplib::Request& Request, httplib::Response& Response) {
    // A key missing or left empty ("limit=") takes its default; the library
    // gives both as an empty value.
    const std::string Given = Request.get_param_value("period");
    const std::string Period = Given.empty() ? "all" : Given;
    const std::string LimitText = Request.get_param_value("limit"), OffsetText = Request.get_param_value("offset");
    std::int64_t Limit = PageRows, Offset = 0;
    if (Period != "all" && Period != "30d") return Answer(Response, 400, "period must be all or 30d");
    if (!LimitText.empty() && !ParseBounded(LimitText, 1, PageRows, Limit))
      return Answer(Response, 400, "limit must be a whole number from 1 to 100");
    if (!OffsetText.empty() && !ParseBounded(OffsetText, 0, MaxOffset, Offset))
      return Answer(Response, 400, "offset must be a whole number from 0 to 1000000");
    try {
      const std::int64_t Since = Period == "30d" ? NowSeconds() - TScoreStore::RecentSeconds : 0;
      const auto Rows = FStore.Best(static_cast<int>(Limit), static_cast<int>(Offset), Since);
      SetPageHeaders(Response);
      Response.set_header("Cache-Control", "no-cache");
      Response.set_content(LeaderboardJson(Period, static_cast<int>(Offset), Rows), "application/json");
    } catch (const TScoreStoreError& Error) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
      Answer(Response, 500, "could not read the scores");
    }
  });
}

TScoreServer::~TScoreServer() = default;

int TScoreServer::Bind(const std::string& Address, int Port) {
  const int Bound = Port == 0 ? FHttp->bind_to_any_port(Address) : (FHttp->bind_to_port(Address, Port) ? Port : -1);
  // Listening again on a listening socket only changes its backlog.
  if (Bound > 0 && FListenSocket >= 0) ::listen(FListenSocket, SOMAXCONN);
  return Bound;
}

bool TScoreServer::Listen() { return FHttp->listen_after_bind(); }

void TScoreServer::Stop() { FHttp->stop(); }
