// vyrn-demo-record PAK LEVEL SEED TICKS OUT: records one demo as the asset
// generator does, to pick the levels and seeds of its demo list by eye
// (`vyrn --replay OUT`) or by the game's ticks (`vyrn-sim --replay OUT`).
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "DemoRecord.h"

int main(int Argc, char** Argv) {
  if (Argc != 6) {
    std::fprintf(stderr, "usage: vyrn-demo-record PAK LEVEL SEED TICKS OUT\n");
    return 2;
  }
  try {
    const TDemoPlan Plan{std::stoi(Argv[2]), static_cast<std::uint32_t>(std::stoul(Argv[3])), std::stoi(Argv[4])};
    const auto Bytes = RecordDemo(Argv[1], Plan);
    std::ofstream Out(Argv[5], std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    if (!Out) throw std::runtime_error(std::string("cannot write ") + Argv[5]);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "vyrn-demo-record: %s\n", E.what());
    return 1;
  }
  return 0;
}
