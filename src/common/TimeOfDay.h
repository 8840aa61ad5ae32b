// The time of day: the game's only wall-clock read. The generator is seeded
// from it at start-up and after every level's shadow mask; everything else
// counts ticks. Every read goes through UtcMillisecondsOfDay, whose source is
// replaceable, so tests fix it and a recording of its reads together with
// the input events replays a session exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Milliseconds since UTC midnight, 0..86,399,999.
using TTimeOfDaySource = std::function<std::uint32_t()>;
// An empty source puts the machine's clock back.
void SetTimeOfDaySource(TTimeOfDaySource Source);
// The source now in use, so that a borrower can hand it back.
TTimeOfDaySource TimeOfDaySource();
std::uint32_t UtcMillisecondsOfDay();
// The machine's clock itself, for sources that pass it on.
std::uint32_t SystemUtcMillisecondsOfDay();

// For measuring the program from outside (start-up timing), never for the
// game: the wall clock in milliseconds since the epoch, comparable with
// another process's, and this process's CPU time in milliseconds.
double MeasuringWallMs();
double ProcessCpuMs();

// Keeps every time-of-day read of a session, or hands the kept reads back in
// the same order. While it lives it is the time-of-day source; destroying it
// puts the machine's clock back.
class TTimeOfDayRecording {
public:
  TTimeOfDayRecording() = default;
  TTimeOfDayRecording(const TTimeOfDayRecording&) = delete;
  TTimeOfDayRecording& operator=(const TTimeOfDayRecording&) = delete;
  ~TTimeOfDayRecording();

  // Forgets what was kept; from now on every read comes from Source (the
  // machine's clock when empty) and is kept.
  void Record(TTimeOfDaySource Source = {});
  // Reads give the kept values from the first on. A read past the last one
  // means the replay went another way than the recording: it gives the last
  // value again (0 when nothing was kept) and is counted in Overruns.
  void Replay();
  // Replays the given reads (a recording loaded from elsewhere).
  void Replay(std::vector<std::uint32_t> Reads);

  const std::vector<std::uint32_t>& Reads() const { return FReads; }
  std::size_t Overruns() const { return FOverruns; }

private:
  std::uint32_t Next();

  bool FReplaying = false;
  TTimeOfDaySource FSource;
  std::vector<std::uint32_t> FReads;
  std::size_t FNext = 0;
  std::size_t FOverruns = 0;
};
