#include "Generators.h"

void GenerateAudio(std::vector<TPakEntry>& /*Out*/, const std::string& /*PreviewDir*/) {
  // Filled in as the audio assets are drawn.
}
