// The interface pictures, by group. Each appends its entries through Assets;
// the composites read the decoded pictures back from it.
#pragma once

#include <string>
#include <vector>

#include "ui/UiLook.h"

namespace ui {

// "chars.png", "small_chars.png" and the three digit strips.
void MakeGlyphSheets(TUiAssets& Assets);
// Panels and the pictures the running game draws into the play area.
void MakeGamePictures(TUiAssets& Assets);
// The menu's background, main entries, credits, rotators and cheat mark.
void MakeMenuPictures(TUiAssets& Assets);
// Options, key, high-score and name-entry screens.
void MakeMenuScreens(TUiAssets& Assets);

// Writes the message-font composite into Dir.
void WriteComposites(const TUiAssets& Assets, const std::vector<TPakEntry>& Entries, const std::string& Dir);

// Shared looks.
TTextLook GoldLook(double OutlineWidth = 0);
// The thin gold frame and dark glass fill of every panel and plaque.
void DrawPlaque(cairo_t* Cr, double X, double Y, double W, double H, double Radius, double FillAlpha = 0.9);
// A dark inset slot where the game draws a value.
void DrawSlot(cairo_t* Cr, double X, double Y, double W, double H);
// A short gold rule with a diamond in its middle.
void DrawOrnamentRule(cairo_t* Cr, double Cx, double Y, double HalfWidth, double Alpha = 1.0);
// A player's badge, about 11 pixels across and centred on (Cx, Cy), facing
// right in the colour of the player's trail: the outline of the player's
// marker in the field (round with a nose, or a square notched at the back).
void DrawPlayerBadge(cairo_t* Cr, int Player, double Cx, double Cy);
// A keyboard key cap with its legend, for instructions.
void DrawKeyCap(cairo_t* Cr, double X, double Y, double W, double H, const std::string& Legend);

}  // namespace ui
