// vyrn-pak: the game archive's command-line tool; see PakTool.h.
#include <iostream>
#include <string>
#include <vector>

#include "PakTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> Args(argv + 1, argv + argc);
  const int Status = RunPakTool(Args, std::cout, std::cerr);
  std::cout.flush();
  return std::cout ? Status : 2;
}
