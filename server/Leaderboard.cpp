#include "Leaderboard.h"

#include <cstdio>
#include <ctime>

std::string EscapeHtml(const std::string& Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (char C : Text) {
    switch (C) {
      case '&': Out += "&amp;"; break;
      case '<': Out += "&lt;"; break;
      case '>': Out += "&gt;"; break;
      case '"': Out += "&quot;"; break;
      case '\'': Out += "&#39;"; break;
      default: Out += C;
    }
  }
  return Out;
}

std::string EscapeJson(const std::string& Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (char C : Text) {
    const auto Byte = static_cast<unsigned char>(C);
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += C;
    } else if (Byte < 0x20 || C == '<' || C == '>' || C == '&' || Byte >= 0x7F) {
      // Names are plain ASCII; anything else is written as its byte value
      // rather than passed on as broken UTF-8.
      char Buffer[8];
      std::snprintf(Buffer, sizeof Buffer, "\\u%04x", Byte);
      Out += Buffer;
    } else {
      Out += C;
    }
  }
  return Out;
}

std::string DateOf(std::int64_t Seconds) {
  const std::time_t Time = static_cast<std::time_t>(Seconds);
  std::tm Parts{};
  if (!gmtime_r(&Time, &Parts)) return "?";
  char Buffer[32];
  std::snprintf(Buffer, sizeof Buffer, "%04d-%02d-%02d", Parts.tm_year + 1900, Parts.tm_mon + 1, Parts.tm_mday);
  return Buffer;
}

namespace {
// A verified score links its run, to download and watch in the game.
std::string RunCell(const TStoredScore& Row) {
  if (Row.RunId <= 0) return "";
  const std::string Id = std::to_string(Row.RunId);
  return "<a class=\"verified\" href=\"/runs/" + Id + ".vrp\" download=\"vyrn-run-" + Id +
         ".vrp\" title=\"Verified: the server played this game back. Watch it with vyrn --replay FILE\">"
         "&#10003; verified</a>";
}

void AppendTable(std::string& Page, const char* Id, const char* Title, const std::vector<TStoredScore>& Rows) {
  Page += "<section id=\"";
  Page += Id;
  Page += "\">\n<h2>";
  Page += Title;
  Page += "</h2>\n";
  if (Rows.empty()) {
    Page += "<p class=\"empty\">No scores yet.</p>\n</section>\n";
    return;
  }
  Page += "<table>\n<thead><tr><th>Place</th><th>Name</th><th>Score</th><th>Date</th><th>Run</th></tr></thead>\n"
          "<tbody>\n";
  int Place = 0;
  for (const TStoredScore& Row : Rows) {
    Page += "<tr><td class=\"place\">" + std::to_string(++Place) + "</td><td class=\"name\">" + EscapeHtml(Row.Name) +
            "</td><td class=\"score\">" + std::to_string(Row.Score) + "</td><td class=\"date\">" + DateOf(Row.Arrived) +
            "</td><td class=\"run\">" + RunCell(Row) + "</td></tr>\n";
  }
  Page += "</tbody>\n</table>\n</section>\n";
}
}  // namespace

std::string LeaderboardPage(const std::vector<TStoredScore>& AllTime, const std::vector<TStoredScore>& Recent) {
  std::string Page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Vyrn Rekindled - High scores</title>\n"
      "<link rel=\"stylesheet\" href=\"/style.css\">\n</head>\n<body>\n"
      "<h1>Vyrn Rekindled high scores</h1>\n<main>\n";
  AppendTable(Page, "all-time", "Best 100 of all time", AllTime);
  AppendTable(Page, "recent", "Best 100 of the last 30 days", Recent);
  Page += "</main>\n<footer>Dates are UTC. Also as JSON: <a href=\"/api/scores?period=all\">/api/scores</a>."
          " A verified score was played back by the server from the game's own recording.</footer>\n"
          "</body>\n</html>\n";
  return Page;
}

std::string LeaderboardJson(const std::string& Period, int Offset, const std::vector<TStoredScore>& Rows) {
  std::string Json = "{\"period\":\"" + EscapeJson(Period) + "\",\"offset\":" + std::to_string(Offset) + ",\"scores\":[";
  int Place = Offset;
  bool First = true;
  for (const TStoredScore& Row : Rows) {
    if (!First) Json += ',';
    First = false;
    Json += "{\"place\":" + std::to_string(++Place) + ",\"name\":\"" + EscapeJson(Row.Name) +
            "\",\"score\":" + std::to_string(Row.Score) + ",\"date\":\"" + DateOf(Row.Arrived) +
            "\",\"verified\":" + (Row.RunId > 0 ? "true,\"run\":\"/runs/" + std::to_string(Row.RunId) + ".vrp\"}" : "false}");
  }
  Json += "]}\n";
  return Json;
}

const char* const LeaderboardStyle = R"(body { margin: 0; padding: 1em 2em; background: #10131c; color: #e8e6df;
  font: 16px/1.4 "DejaVu Sans", Verdana, sans-serif; }
h1 { color: #ffb347; font-size: 1.8em; margin: 0.3em 0 0.8em; }
h2 { color: #9fd3ff; font-size: 1.2em; margin: 0 0 0.4em; }
main { display: flex; flex-wrap: wrap; gap: 2em; align-items: flex-start; }
section { background: #1a2030; border: 1px solid #2c3650; border-radius: 6px; padding: 0.8em 1.2em; }
table { border-collapse: collapse; }
th, td { padding: 0.15em 0.8em; text-align: left; }
th { color: #9aa3b5; font-weight: normal; border-bottom: 1px solid #2c3650; }
tbody tr:nth-child(odd) { background: #20283b; }
td.place, td.score { text-align: right; font-variant-numeric: tabular-nums; }
td.name { font-family: "DejaVu Sans Mono", monospace; white-space: pre; }
.empty { color: #9aa3b5; }
footer { margin-top: 1.5em; color: #9aa3b5; font-size: 0.85em; }
a { color: #9fd3ff; }
a.verified { color: #7fe08a; text-decoration: none; white-space: nowrap; }
a.verified:hover { text-decoration: underline; }
)";
