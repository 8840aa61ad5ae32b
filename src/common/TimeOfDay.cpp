#include "common/TimeOfDay.h"

#include <chrono>
#include <ctime>
#include <utility>

namespace {
TTimeOfDaySource& Source() {
  static TTimeOfDaySource Current = SystemUtcMillisecondsOfDay;
  return Current;
}
}  // namespace

std::uint32_t SystemUtcMillisecondsOfDay() {
  using namespace std::chrono;
  const auto Now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  // Before 1970 the remainder would be negative.
  const auto Ms = Now % 86400000LL;
  return static_cast<std::uint32_t>(Ms < 0 ? Ms + 86400000LL : Ms);
}

void SetTimeOfDaySource(TTimeOfDaySource NewSource) {
  Source() = NewSource ? std::move(NewSource) : TTimeOfDaySource(SystemUtcMillisecondsOfDay);
}

TTimeOfDaySource TimeOfDaySource() { return Source(); }

std::uint32_t UtcMillisecondsOfDay() { return Source()(); }

TTimeOfDayRecording::~TTimeOfDayRecording() { SetTimeOfDaySource(nullptr); }

void TTimeOfDayRecording::Record(TTimeOfDaySource From) {
  FReplaying = false;
  FSource = From ? std::move(From) : TTimeOfDaySource(SystemUtcMillisecondsOfDay);
  FReads.clear();
  FNext = 0;
  FOverruns = 0;
  SetTimeOfDaySource([this] { return Next(); });
}

void TTimeOfDayRecording::Replay() {
  FReplaying = true;
  FNext = 0;
  FOverruns = 0;
  SetTimeOfDaySource([this] { return Next(); });
}

void TTimeOfDayRecording::Replay(std::vector<std::uint32_t> Reads) {
  FReads = std::move(Reads);
  Replay();
}

std::uint32_t TTimeOfDayRecording::Next() {
  if (!FReplaying) {
    FReads.push_back(FSource());
    return FReads.back();
  }
  if (FNext < FReads.size()) return FReads[FNext++];
  ++FOverruns;
  return FReads.empty() ? 0 : FReads.back();
}

double MeasuringWallMs() {
  timespec T{};
  clock_gettime(CLOCK_REALTIME, &T);
  return static_cast<double>(T.tv_sec) * 1000.0 + static_cast<double>(T.tv_nsec) / 1e6;
}

double ProcessCpuMs() {
  timespec T{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
  return static_cast<double>(T.tv_sec) * 1000.0 + static_cast<double>(T.tv_nsec) / 1e6;
}
