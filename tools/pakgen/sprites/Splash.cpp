// The start-up logo: 50 frames of 320 x 240.
#include "Canvas.h"
#include "SpriteParts.h"

namespace sprites {
void AddSplash(std::vector<TPakEntry>&) {}
}  // namespace sprites
