// The interface's look, on top of the drawing kit: the palette, text through
// the DejaVu faces with outlines, glows and shadows, and the collector that
// encodes finished pictures into archive entries while keeping a decoded copy
// for the alignment composites.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Encode.h"
#include "PictureDecode.h"
#include "kit/DrawKit.h"
#include "pak/PakWriter.h"

namespace ui {

using kit::BlurSurface;
using kit::Mix;
using kit::NewContext;
using kit::NewOpaqueSurface;
using kit::NewSurface;
using kit::Rgb;
using kit::RoundedRect;
using kit::SetColor;
using kit::SetVerticalGradient;
using kit::Stop;
using kit::TContextPtr;
using kit::TPatternPtr;
using kit::TRgb;
using kit::TSurface;
using kit::TSurfacePtr;

// One palette for the whole interface: a deep blue-violet night with warm
// amber and gold accents.
namespace pal {
inline constexpr TRgb NightDeep = Rgb(7, 6, 22);
inline constexpr TRgb Night = Rgb(16, 13, 44);
inline constexpr TRgb Indigo = Rgb(30, 24, 78);
inline constexpr TRgb Violet = Rgb(64, 40, 116);
inline constexpr TRgb Plum = Rgb(104, 50, 112);
inline constexpr TRgb Lavender = Rgb(184, 170, 226);
inline constexpr TRgb PaleGold = Rgb(255, 240, 196);
inline constexpr TRgb Gold = Rgb(255, 206, 92);
inline constexpr TRgb Amber = Rgb(242, 150, 40);
inline constexpr TRgb Ember = Rgb(214, 84, 30);
inline constexpr TRgb Cream = Rgb(246, 238, 222);
inline constexpr TRgb Ink = Rgb(16, 8, 30);
inline constexpr TRgb SlotFill = Rgb(9, 7, 24);
inline constexpr TRgb Trail1 = Rgb(192, 192, 192);  // player 1's trail
inline constexpr TRgb Trail2 = Rgb(172, 192, 0);    // player 2's trail
inline constexpr TRgb Alarm = Rgb(236, 72, 64);
inline constexpr TRgb Success = Rgb(140, 222, 120);
}  // namespace pal

// A decoded picture: straight RGBA, rows top-down.
using TImage = TRgbaPicture;

// Encodes pictures into archive entries and keeps what the game will decode
// from them, for the composites.
class TUiAssets {
public:
  explicit TUiAssets(std::vector<TPakEntry>& Out) : FOut(Out) {}
  void AddPng(const std::string& Name, cairo_surface_t* Surface);
  void AddPng(const std::string& Name, const TImage& Image);
  void AddJpeg(const std::string& Name, cairo_surface_t* Surface);
  // Throws std::out_of_range for a picture not made yet.
  const TImage& Get(const std::string& Name) const;

private:
  std::vector<TPakEntry>& FOut;
  std::map<std::string, TImage> FImages;
};

TImage SurfaceToImage(cairo_surface_t* Surface);

// Text. Sizes are in pixels; Spacing adds pixels between characters.
struct TFont {
  TFontStyle Face = TFontStyle::SansBold;
  double Size = 12;
  double Spacing = 0;
};
void UseFont(cairo_t* Cr, const TFont& Font);
double TextWidth(cairo_t* Cr, const TFont& Font, const std::string& Text);
// Height of a capital letter above the baseline.
double CapHeight(const TFont& Font);
// Appends the outline of Text with its baseline starting at (X, Baseline).
void AppendTextPath(cairo_t* Cr, const TFont& Font, double X, double Baseline, const std::string& Text);

// How a piece of text looks.
struct TTextLook {
  TRgb Top = pal::PaleGold;     // fill at the top of the capitals
  TRgb Bottom = pal::Gold;      // fill at the baseline
  double Alpha = 1.0;
  double OutlineWidth = 0;      // stroke width; half of it lies outside the glyph
  TRgb Outline = pal::Ink;
  double OutlineAlpha = 1.0;
  double ShadowDx = 0, ShadowDy = 0, ShadowAlpha = 0;
  int ShadowBlur = 0;
  int GlowRadius = 0;           // a soft halo of Glow around the text
  TRgb Glow = pal::Amber;
  double GlowAlpha = 0;
};

enum class TAlign { Left, Centre, Right };

// Draws Text; X is the left edge, the centre or the right edge by Align.
// Returns the box the text's ink occupies (for layout checks).
struct TBox {
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  bool Intersects(const TBox& O) const { return X0 < O.X1 && O.X0 < X1 && Y0 < O.Y1 && O.Y0 < Y1; }
};
TBox DrawText(cairo_t* Cr, const TFont& Font, const TTextLook& Look, double X, double Baseline, const std::string& Text,
              TAlign Align = TAlign::Left);

// Layout guard: text that would run into a place where the game draws values
// is a fault of the picture, so the generator stops instead of shipping it.
class TReserved {
public:
  explicit TReserved(std::string Picture) : FPicture(std::move(Picture)) {}
  void Add(double X0, double Y0, double X1, double Y1, std::string What);
  void Check(const TBox& Box, const std::string& Text) const;

private:
  struct TArea {
    TBox Box;
    std::string What;
  };
  std::string FPicture;
  std::vector<TArea> FAreas;
};

// A small deterministic generator for scattering stars and sparks.
class TScatter {
public:
  explicit TScatter(std::uint32_t Seed) : FState(Seed) {}
  double Next();  // [0, 1)
  double Range(double Lo, double Hi) { return Lo + (Hi - Lo) * Next(); }

private:
  std::uint32_t FState;
};

// Throws std::runtime_error with the picture's name when Condition is false.
void Require(bool Condition, const std::string& Message);

}  // namespace ui
