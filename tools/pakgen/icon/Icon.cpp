// The program's icon for desktop menus: a night-blue field, its lower left
// part already claimed, a glowing trail cutting the next piece and the
// player's marker at its head. Drawn as vectors at each size, so the small
// ones stay crisp instead of being shrunk from the large one.
#include <cairo.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "kit/DrawKit.h"

namespace {

using namespace kit;

TBytes DrawIcon(int Size) {
  const TSurfacePtr S = NewSurface(Size, Size);
  const TContextPtr C = NewContext(S);
  cairo_scale(C, Size / 64.0, Size / 64.0);  // drawn on a 64-unit grid
  const bool Tiny = Size <= 24;

  // The field.
  RoundedRect(C, 1, 1, 62, 62, Tiny ? 6 : 10);
  const TPatternPtr Sky(cairo_pattern_create_linear(0, 0, 0, 64));
  cairo_pattern_add_color_stop_rgb(Sky, 0, 0.10, 0.13, 0.32);
  cairo_pattern_add_color_stop_rgb(Sky, 1, 0.03, 0.04, 0.12);
  cairo_set_source(C, Sky);
  cairo_fill_preserve(C);
  cairo_set_source_rgb(C, 0.55, 0.62, 0.95);
  cairo_set_line_width(C, Tiny ? 3 : 2);
  cairo_stroke(C);

  // The claimed part: an L of land in the lower left.
  cairo_move_to(C, 4, 26);
  cairo_line_to(C, 26, 26);
  cairo_line_to(C, 26, 42);
  cairo_line_to(C, 60, 42);
  cairo_line_to(C, 60, 54);
  cairo_arc(C, 51, 51, 9, 0, Pi / 2);
  cairo_line_to(C, 13, 60);
  cairo_arc(C, 13, 51, 9, Pi / 2, Pi);
  cairo_close_path(C);
  const TPatternPtr Land(cairo_pattern_create_linear(0, 26, 0, 60));
  cairo_pattern_add_color_stop_rgb(Land, 0, 0.25, 0.75, 0.55);
  cairo_pattern_add_color_stop_rgb(Land, 1, 0.08, 0.42, 0.35);
  cairo_set_source(C, Land);
  cairo_fill(C);

  // The trail being cut, from the land's edge up and over.
  cairo_set_line_cap(C, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(C, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(C, 26, 26);
  cairo_line_to(C, 26, 12);
  cairo_line_to(C, 44, 12);
  cairo_line_to(C, 44, 24);
  if (!Tiny) {
    cairo_set_source_rgba(C, 1.0, 0.55, 0.15, 0.35);
    cairo_set_line_width(C, 9);
    cairo_stroke_preserve(C);
  }
  cairo_set_source_rgb(C, 1.0, 0.72, 0.25);
  cairo_set_line_width(C, Tiny ? 5 : 4);
  cairo_stroke(C);

  // The marker at the trail's head.
  cairo_arc(C, 44, 26, Tiny ? 7 : 6, 0, 2 * Pi);
  const TPatternPtr Glow(cairo_pattern_create_radial(42, 24, 1, 44, 26, 7));
  cairo_pattern_add_color_stop_rgb(Glow, 0, 1.0, 1.0, 1.0);
  cairo_pattern_add_color_stop_rgb(Glow, 1, 0.95, 0.30, 0.20);
  cairo_set_source(C, Glow);
  cairo_fill(C);
  return SurfaceToPng(S);
}
}  // namespace

// vyrn-icon OUTDIR: OUTDIR/<size>x<size>/apps/vyrn-rekindled.png for the
// sizes desktops look for, laid out as the hicolor icon theme wants them.
int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::cerr << "usage: vyrn-icon OUTDIR\n";
    return 2;
  }
  try {
    for (const int Size : {16, 24, 32, 48, 64, 128, 256}) {
      const std::filesystem::path Dir =
          std::filesystem::path(Argv[1]) / (std::to_string(Size) + "x" + std::to_string(Size)) / "apps";
      std::filesystem::create_directories(Dir);
      WriteFile((Dir / "vyrn-rekindled.png").string(), DrawIcon(Size));
    }
  } catch (const std::exception& E) {
    std::cerr << "vyrn-icon: " << E.what() << "\n";
    return 1;
  }
  return 0;
}
