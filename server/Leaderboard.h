// The leaderboard as a web page and as JSON. Pure text building, no I/O.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ScoreStore.h"

// Text safe inside HTML elements and attribute values.
std::string EscapeHtml(const std::string& Text);
// Text safe inside a JSON string (without the quotes); "<" and ">" are
// escaped too, so the JSON can never close a script element it is put in.
std::string EscapeJson(const std::string& Text);
// "YYYY-MM-DD" of a time in seconds since 1970, UTC.
std::string DateOf(std::int64_t Seconds);

// The whole page: the best of all time and the best of the last 30 days.
std::string LeaderboardPage(const std::vector<TStoredScore>& AllTime, const std::vector<TStoredScore>& Recent);
// {"period":..,"offset":..,"scores":[{"place":..,"name":..,"score":..,"date":..,"verified":..}]}
// with "run":"/runs/ID.vrp" after a verified one.
std::string LeaderboardJson(const std::string& Period, int Offset, const std::vector<TStoredScore>& Rows);

// Our own stylesheet, served as /style.css.
extern const char* const LeaderboardStyle;
