#include "Generators.h"

void GenerateSprites(std::vector<TPakEntry>& /*Out*/, const std::string& /*PreviewDir*/) {
  // Filled in as the sprites assets are drawn.
}
