// vyrn-preview: a level's look in one PNG; see PreviewTool.h.
#include <iostream>
#include <string>
#include <vector>

#include "PreviewTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> Args(argv + 1, argv + argc);
  const int Status = RunPreviewTool(Args, std::cout, std::cerr);
  std::cout.flush();
  return std::cout ? Status : 2;
}
