// vyrn-verify-run --pak FILE --run FILE --name NAME --score N
// Plays one submitted run back and prints "verified" or "refused: REASON".
// The score server starts one per run; its budget is set here, on itself,
// so a hostile run cannot take more than its share of the machine.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "RunCheck.h"
#include "common/Scramble.h"
#include "persist/FileStore.h"

namespace {
constexpr rlim_t CpuSeconds = 20;
constexpr rlim_t MemoryBytes = rlim_t(1) << 30;

void Limit(int Resource, rlim_t Value) {
  rlimit L{Value, Value};
  setrlimit(Resource, &L);
}
}  // namespace

int main(int Argc, char** Argv) {
  Limit(RLIMIT_CPU, CpuSeconds);
#if !defined(__SANITIZE_ADDRESS__)
  // The address sanitizer reserves terabytes of address space up front.
  Limit(RLIMIT_AS, MemoryBytes);
#endif
  Limit(RLIMIT_FSIZE, 16u << 20);
  std::string Pak, Run, Name, ScoreText;
  for (int I = 1; I + 1 < Argc; I += 2) {
    const std::string Arg = Argv[I];
    if (Arg == "--pak") Pak = Argv[I + 1];
    else if (Arg == "--run") Run = Argv[I + 1];
    else if (Arg == "--name") Name = Argv[I + 1];
    else if (Arg == "--score") ScoreText = Argv[I + 1];
  }
  std::int64_t Score = 0;
  if (Pak.empty() || Run.empty() || !TryDecimalToInt64(ScoreText, Score)) {
    std::fprintf(stderr, "usage: vyrn-verify-run --pak FILE --run FILE --name NAME --score N\n");
    return 2;
  }
  std::string Bytes, Error;
  const TRunLimits Limits;
  if (ReadWholeFile(Run, Bytes, Error) != TReadResult::Read) {
    std::printf("refused: the run could not be read\n");
    return 1;
  }
  const TRunVerdict Verdict = CheckRun(Bytes, Pak, Name, Score, Limits);
  if (Verdict.Verified) std::printf("verified\n");
  else std::printf("refused: %s\n", Verdict.Reason.c_str());
  return Verdict.Verified ? 0 : 1;
}
