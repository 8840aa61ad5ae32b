#include "Generators.h"

void GenerateInterface(std::vector<TPakEntry>& /*Out*/, const std::string& /*PreviewDir*/) {
  // Filled in as the ui assets are drawn.
}
