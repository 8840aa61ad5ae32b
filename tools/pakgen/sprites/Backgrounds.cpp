#include "Generators.h"

void GenerateBackgrounds(std::vector<TPakEntry>& /*Out*/, const std::string& /*PreviewDir*/) {
  // Filled in as the level art is drawn.
}
