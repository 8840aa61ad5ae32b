// The menu's small 8 x 8 pixel font: our own hand-set glyphs, one case only,
// strokes two pixels wide so that names stay legible at half opacity.
#pragma once

#include <cairo.h>

#include <string>

#include "ui/UiLook.h"

namespace ui {

constexpr int SmallGlyphCount = 54;
constexpr int SmallGlyphSize = 8;
constexpr int SmallBlankGlyph = 52;

// The glyph the menu shows for a character (52, the blank, for any other).
int SmallGlyphIndex(char Ch);

// The sheet "small_chars.png": glyph i at x = 8 i, colour graded from Top to
// Bottom over the rows; transparent pixels carry their row's colour too, so
// that a glyph averaged into another picture keeps its tint.
TImage SmallCharsSheet(const TRgb& Top, const TRgb& Bottom);

// Draws Text in the small font into Cr at the whole pixel (X, Y), 8 pixels a
// character, with the given colours and opacity.
void DrawSmallText(cairo_t* Cr, int X, int Y, const std::string& Text, const TRgb& Top, const TRgb& Bottom,
                   double Alpha = 1.0);

}  // namespace ui
