#include "ScoreServer.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Leaderboard.h"
#include "RunQueue.h"
#include "Submission.h"

namespace {
constexpr std::int64_t MaxOffset = 1'000'000;

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Nothing on our pages may run script or load anything from elsewhere.
void SetPageHeaders(THttpResponse& Response) {
  Response.Set("Content-Security-Policy",
               "default-src 'none'; style-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
  Response.Set("X-Content-Type-Options", "nosniff");
  Response.Set("Referrer-Policy", "no-referrer");
}

void Answer(THttpResponse& Response, int Status, const std::string& Text) {
  Response.Status = Status;
  Response.Set("Cache-Control", "no-store");
  SetPageHeaders(Response);
  Response.Content(Text + "\n", "text/plain; charset=utf-8");
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

const char* StateName(TStoredRun::TState State) {
  switch (State) {
    case TStoredRun::Verified: return "verified";
    case TStoredRun::Refused: return "refused";
    default: return "queued";
  }
}

std::string RunJson(const TStoredRun& Run) {
  std::string Json = "{\"id\":" + std::to_string(Run.Id) + ",\"name\":\"" + EscapeJson(Run.Name) +
                     "\",\"score\":" + std::to_string(Run.Score) + ",\"state\":\"" + StateName(Run.State) + "\"";
  if (Run.State == TStoredRun::Refused) Json += ",\"reason\":\"" + EscapeJson(Run.Reason) + "\"";
  if (Run.State == TStoredRun::Verified) Json += ",\"download\":\"/runs/" + std::to_string(Run.Id) + ".vrp\"";
  return Json + "}\n";
}
}  // namespace

TScoreServer::TScoreServer(TScoreStore& Store, TServerOptions Options)
    : FStore(Store), FOptions(std::move(Options)), FLimiter(FOptions.PerMinute), FRunLimiter(FOptions.PerMinute),
      FHttp(FOptions.Http) {
  THttpFront& Http = FHttp;
  Http.Route("GET", "/submit_hi.php", [this](const THttpRequest& Request, THttpResponse& Response) {
    if (!FLimiter.Allow(Request.RemoteAddr)) {
      Response.Set("Retry-After", "60");
      Answer(Response, 429, "too many submissions, try again in a minute");
      return;
    }
    TSubmission Submission;
    std::string Reason;
    if (!Submission.Parse(Request.Query, Reason)) {
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

  Http.Route("GET", "/", [this](const THttpRequest&, THttpResponse& Response) {
    try {
      const auto AllTime = FStore.Best(PageRows, 0, 0, FOptions.VerifiedOnly);
      const auto Recent = FStore.Best(PageRows, 0, NowSeconds() - TScoreStore::RecentSeconds, FOptions.VerifiedOnly);
      SetPageHeaders(Response);
      Response.Set("Cache-Control", "no-cache");
      Response.Content(LeaderboardPage(AllTime, Recent), "text/html; charset=utf-8");
    } catch (const TScoreStoreError& Error) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
      Answer(Response, 500, "could not read the scores");
    }
  });

  Http.Route("GET", "/style.css", [](const THttpRequest&, THttpResponse& Response) {
    SetPageHeaders(Response);
    Response.Set("Cache-Control", "max-age=3600");
    Response.Content(LeaderboardStyle, "text/css; charset=utf-8");
  });

  Http.Route("GET", "/api/scores", [this](const THttpRequest& Request, THttpResponse& Response) {
    // A key missing or left empty ("limit=") takes its default.
    const std::string Given = Request.Param("period");
    const std::string Period = Given.empty() ? "all" : Given;
    const std::string LimitText = Request.Param("limit"), OffsetText = Request.Param("offset");
    std::int64_t Limit = PageRows, Offset = 0;
    if (Period != "all" && Period != "30d") return Answer(Response, 400, "period must be all or 30d");
    if (!LimitText.empty() && !ParseBounded(LimitText, 1, PageRows, Limit))
      return Answer(Response, 400, "limit must be a whole number from 1 to 100");
    if (!OffsetText.empty() && !ParseBounded(OffsetText, 0, MaxOffset, Offset))
      return Answer(Response, 400, "offset must be a whole number from 0 to 1000000");
    try {
      const std::int64_t Since = Period == "30d" ? NowSeconds() - TScoreStore::RecentSeconds : 0;
      const auto Rows = FStore.Best(static_cast<int>(Limit), static_cast<int>(Offset), Since, FOptions.VerifiedOnly);
      SetPageHeaders(Response);
      Response.Set("Cache-Control", "no-cache");
      Response.Content(LeaderboardJson(Period, static_cast<int>(Offset), Rows), "application/json");
    } catch (const TScoreStoreError& Error) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
      Answer(Response, 500, "could not read the scores");
    }
  });

  RunRoutes();
}

std::string TScoreServer::RunFile(std::int64_t Id) const {
  return (std::filesystem::path(FOptions.RunsFolder) / (std::to_string(Id) + ".vrp")).string();
}

void TScoreServer::RunRoutes() {
  const bool TakesRuns = !FOptions.RunsFolder.empty() && !FOptions.Pak.empty() && !FOptions.Verifier.empty();
  if (TakesRuns) {
    std::filesystem::create_directories(FOptions.RunsFolder);
    FRuns = std::make_unique<TRunQueue>(
        FOptions.Verifier, FOptions.Pak, FOptions.VerifyWorkers, FOptions.MaxQueuedRuns, FOptions.VerifyWallSeconds,
        [this](const TRunQueue::TJob& Job, bool Verified, const std::string& Reason) {
          try {
            FStore.FinishRun(Job.Id, Verified, Reason, NowSeconds());
          } catch (const TScoreStoreError& Error) {
            std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
            return;
          }
          // A refused run is not kept: only verified ones are offered.
          if (!Verified) std::filesystem::remove(Job.File);
        });
    // Runs that were waiting when the server stopped are checked now.
    for (const TStoredRun& Run : FStore.QueuedRuns())
      if (!FRuns->Push({Run.Id, RunFile(Run.Id), Run.Name, Run.Score}))
        FStore.FinishRun(Run.Id, false, "the server was too busy to check it", NowSeconds());
  }
  FHttp.BodyLimit("/api/runs", MaxRunBytes);

  FHttp.Route("POST", "/api/runs", [this, TakesRuns](const THttpRequest& Request, THttpResponse& Response) {
    if (!TakesRuns) return Answer(Response, 501, "this server does not check runs");
    if (!FRunLimiter.Allow(Request.RemoteAddr)) {
      Response.Set("Retry-After", "60");
      return Answer(Response, 429, "too many runs, try again in a minute");
    }
    const std::string Name = Request.Param("name");
    std::int64_t Score = 0;
    if (!IsValidName(Name)) return Answer(Response, 400, "refused: the name is not one the game can enter");
    if (!ParseScore(Request.Param("score"), Score)) return Answer(Response, 400, "refused: the score is not a number");
    if (Request.Body.size() < 8 || Request.Body.compare(0, 8, "VYRNRPLY") != 0)
      return Answer(Response, 400, "refused: the body is not a replay");
    std::int64_t Id = 0;
    try {
      Id = FStore.AddRun(Name, Score, NowSeconds());
      const std::string File = RunFile(Id);
      {
        std::ofstream Out(File, std::ios::binary);
        Out.write(Request.Body.data(), static_cast<std::streamsize>(Request.Body.size()));
        if (!Out.flush()) throw TScoreStoreError("cannot write " + File);
      }
      if (!FRuns->Push({Id, File, Name, Score})) {
        std::filesystem::remove(File);
        FStore.DropRun(Id);
        Response.Set("Retry-After", "30");
        return Answer(Response, 503, "too many runs waiting, try again soon");
      }
    } catch (const TScoreStoreError& Error) {
      std::fprintf(stderr, "vyrn-scores: %s\n", Error.what());
      return Answer(Response, 500, "could not store the run");
    }
    TStoredRun Run;
    Run.Id = Id;
    Run.Name = Name;
    Run.Score = Score;
    Response.Status = 202;
    Response.Set("Cache-Control", "no-store");
    Response.Set("Location", "/api/runs/" + std::to_string(Id));
    Response.Content(RunJson(Run), "application/json");
  });

  // GET /api/runs/ID: how the check went.
  FHttp.RoutePrefix("GET", "/api/runs/", [this](const THttpRequest& Request, THttpResponse& Response) {
    std::int64_t Id = 0;
    TStoredRun Run;
    if (!ParseBounded(Request.Path.substr(10), 1, 999'999'999, Id) || !FStore.FindRun(Id, Run))
      return Answer(Response, 404, "no such run");
    Response.Set("Cache-Control", "no-store");
    Response.Content(RunJson(Run), "application/json");
  });

  // GET /runs/ID.vrp: a verified run, to watch with `vyrn --replay FILE`.
  FHttp.RoutePrefix("GET", "/runs/", [this](const THttpRequest& Request, THttpResponse& Response) {
    const std::string Rest = Request.Path.substr(6);
    std::int64_t Id = 0;
    TStoredRun Run;
    if (Rest.size() < 5 || Rest.compare(Rest.size() - 4, 4, ".vrp") != 0 ||
        !ParseBounded(Rest.substr(0, Rest.size() - 4), 1, 999'999'999, Id) || !FStore.FindRun(Id, Run) ||
        Run.State != TStoredRun::Verified)
      return Answer(Response, 404, "no such run");
    std::ifstream In(RunFile(Id), std::ios::binary);
    std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    if (Bytes.empty()) return Answer(Response, 404, "no such run");
    Response.Set("Cache-Control", "max-age=86400");
    Response.Set("Content-Disposition", "attachment; filename=\"vyrn-run-" + std::to_string(Id) + ".vrp\"");
    SetPageHeaders(Response);
    Response.Content(std::move(Bytes), "application/octet-stream");
  });
}

TScoreServer::~TScoreServer() {
  FHttp.Stop();
  FRuns.reset();
}

int TScoreServer::Bind(const std::string& Address, int Port, std::string& Error) {
  return FHttp.Bind(Address, Port, Error);
}

bool TScoreServer::Listen() { return FHttp.Listen(); }

void TScoreServer::Stop() { FHttp.Stop(); }
