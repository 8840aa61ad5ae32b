// The generator's parts. Each appends its finished entries (name exactly as
// the game asks for it, file bytes) to Out. PreviewDir is a folder for contact
// sheets and composites that help us check alignment by eye.
#pragma once

#include <string>
#include <vector>

#include "pak/PakWriter.h"

void GenerateSprites(std::vector<TPakEntry>& Out, const std::string& PreviewDir);      // actors, items, explosions
void GenerateBackgrounds(std::vector<TPakEntry>& Out, const std::string& PreviewDir);  // level art, splash frames
void GenerateInterface(std::vector<TPakEntry>& Out, const std::string& PreviewDir);    // panels, fonts, menu, game pictures
void GenerateAudio(std::vector<TPakEntry>& Out, const std::string& PreviewDir);        // sound effects and music
