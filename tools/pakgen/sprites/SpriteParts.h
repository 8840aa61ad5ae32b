// The pieces of the sprite and background generator.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "pak/PakWriter.h"

namespace sprites {

// Draws every frame of the manifest's image set SetName. Paint gets the
// context with the origin at the sprite's centre, the frame's phase T in
// [0, 1) (the animation loops from the last frame back to the first) and the
// frame index. The frames come out with one odd size, the smallest that holds
// every frame's drawing with a clear pixel around it; W x H is the size the
// drawing was designed for and bounds the canvas (up to twice as large).
using TPaint = std::function<void(cairo_t* Cr, double T, int Frame)>;
void AddImageSet(std::vector<TPakEntry>& Out, const std::string& SetName, int W, int H, const TPaint& Paint);

void AddPlayers(std::vector<TPakEntry>& Out);
void AddExplosion(std::vector<TPakEntry>& Out);
void AddSmallEnemies(std::vector<TPakEntry>& Out);
void AddItems(std::vector<TPakEntry>& Out);
void AddBigEnemies(std::vector<TPakEntry>& Out);

void AddLevelBackgrounds(std::vector<TPakEntry>& Out);
void AddSplash(std::vector<TPakEntry>& Out);

}  // namespace sprites
