// Looks shared by every interface picture, so that panels, menu screens and
// game pictures read as one set.
#include <algorithm>
#include <cmath>

#include "ui/UiParts.h"

namespace ui {

TTextLook GoldLook(double OutlineWidth) {
  TTextLook L;
  L.Top = pal::PaleGold;
  L.Bottom = Rgb(250, 176, 64);
  L.OutlineWidth = OutlineWidth;
  L.Outline = pal::Ink;
  return L;
}

void DrawPlaque(cairo_t* Cr, double X, double Y, double W, double H, double Radius, double FillAlpha) {
  cairo_save(Cr);
  // Soft dark halo so the plaque lifts off whatever lies beneath.
  RoundedRect(Cr, X - 1, Y - 1, W + 2, H + 2, Radius + 1);
  SetColor(Cr, pal::NightDeep, 0.5 * FillAlpha);
  cairo_fill(Cr);
  // Glass: violet at the top fading to night.
  RoundedRect(Cr, X, Y, W, H, Radius);
  const TPatternPtr P(cairo_pattern_create_linear(0, Y, 0, Y + H));
  cairo_pattern_add_color_stop_rgba(P, 0.0, 0.17, 0.13, 0.36, FillAlpha);
  cairo_pattern_add_color_stop_rgba(P, 0.5, 0.09, 0.07, 0.22, FillAlpha);
  cairo_pattern_add_color_stop_rgba(P, 1.0, 0.05, 0.04, 0.13, FillAlpha);
  cairo_set_source(Cr, P);
  cairo_fill(Cr);
  // A faint sheen along the top edge.
  RoundedRect(Cr, X + 2.5, Y + 2.5, W - 5, H * 0.45, std::max(Radius - 2, 1.0));
  const TPatternPtr Sheen(cairo_pattern_create_linear(0, Y, 0, Y + H * 0.45));
  cairo_pattern_add_color_stop_rgba(Sheen, 0, 1, 1, 1, 0.07);
  cairo_pattern_add_color_stop_rgba(Sheen, 1, 1, 1, 1, 0.0);
  cairo_set_source(Cr, Sheen);
  cairo_fill(Cr);
  // Gold rim with a darker inner line.
  RoundedRect(Cr, X + 0.5, Y + 0.5, W - 1, H - 1, Radius);
  const TPatternPtr Rim(cairo_pattern_create_linear(0, Y, 0, Y + H));
  cairo_pattern_add_color_stop_rgba(Rim, 0, 1.0, 0.88, 0.55, 0.95);
  cairo_pattern_add_color_stop_rgba(Rim, 1, 0.80, 0.50, 0.18, 0.85);
  cairo_set_source(Cr, Rim);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  RoundedRect(Cr, X + 1.5, Y + 1.5, W - 3, H - 3, std::max(Radius - 1, 0.5));
  SetColor(Cr, pal::NightDeep, 0.6);
  cairo_stroke(Cr);
  cairo_restore(Cr);
}

void DrawSlot(cairo_t* Cr, double X, double Y, double W, double H) {
  cairo_save(Cr);
  // Bevel: dark above, a warm glint below.
  RoundedRect(Cr, X - 1, Y - 1, W + 2, H + 2, 4);
  const TPatternPtr B(cairo_pattern_create_linear(0, Y - 1, 0, Y + H + 1));
  cairo_pattern_add_color_stop_rgba(B, 0, 0.0, 0.0, 0.02, 0.9);
  cairo_pattern_add_color_stop_rgba(B, 1, 0.95, 0.70, 0.35, 0.55);
  cairo_set_source(Cr, B);
  cairo_fill(Cr);
  RoundedRect(Cr, X, Y, W, H, 3);
  SetColor(Cr, pal::SlotFill);
  cairo_fill(Cr);
  // Inner shadow along the top.
  cairo_rectangle(Cr, X + 1, Y, W - 2, 3);
  const TPatternPtr S(cairo_pattern_create_linear(0, Y, 0, Y + 3));
  cairo_pattern_add_color_stop_rgba(S, 0, 0, 0, 0, 0.6);
  cairo_pattern_add_color_stop_rgba(S, 1, 0, 0, 0, 0.0);
  cairo_set_source(Cr, S);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

void DrawPlayerBadge(cairo_t* Cr, int Player, double Cx, double Cy) {
  if (Player == 1) {
    const double R = 4.4, Tip = 6.2, Phi = std::acos(R / Tip);
    cairo_move_to(Cr, Cx + Tip, Cy);
    cairo_arc(Cr, Cx, Cy, R, Phi, 2 * M_PI - Phi);
  } else {
    cairo_move_to(Cr, Cx - 4.5, Cy - 4.5);
    cairo_line_to(Cr, Cx + 4.5, Cy - 4.5);
    cairo_line_to(Cr, Cx + 4.5, Cy + 4.5);
    cairo_line_to(Cr, Cx - 4.5, Cy + 4.5);
    cairo_line_to(Cr, Cx - 1.5, Cy);
  }
  cairo_close_path(Cr);
  const TRgb Trail = Player == 1 ? pal::Trail1 : pal::Trail2;
  SetVerticalGradient(Cr, Cy - 5, Mix(Trail, pal::Cream, 0.5), Cy + 5, Trail);
  cairo_fill_preserve(Cr);
  SetColor(Cr, pal::Ink);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
}

void DrawOrnamentRule(cairo_t* Cr, double Cx, double Y, double HalfWidth, double Alpha) {
  cairo_save(Cr);
  for (int Side = -1; Side <= 1; Side += 2) {
    const double X0 = Cx + Side * 6, X1 = Cx + Side * HalfWidth;
    const TPatternPtr P(cairo_pattern_create_linear(X0, 0, X1, 0));
    cairo_pattern_add_color_stop_rgba(P, 0, 1.0, 0.82, 0.42, 0.9 * Alpha);
    cairo_pattern_add_color_stop_rgba(P, 1, 1.0, 0.82, 0.42, 0.0);
    cairo_set_source(Cr, P);
    cairo_rectangle(Cr, std::min(X0, X1), Y - 0.5, std::fabs(X1 - X0), 1);
    cairo_fill(Cr);
  }
  cairo_move_to(Cr, Cx, Y - 3.5);
  cairo_line_to(Cr, Cx + 3.5, Y);
  cairo_line_to(Cr, Cx, Y + 3.5);
  cairo_line_to(Cr, Cx - 3.5, Y);
  cairo_close_path(Cr);
  SetColor(Cr, pal::Gold, Alpha);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

void DrawKeyCap(cairo_t* Cr, double X, double Y, double W, double H, const std::string& Legend) {
  cairo_save(Cr);
  RoundedRect(Cr, X, Y + 1.5, W, H, 4);
  SetColor(Cr, pal::NightDeep, 0.8);
  cairo_fill(Cr);
  RoundedRect(Cr, X, Y, W, H - 1, 4);
  SetVerticalGradient(Cr, Y, Rgb(250, 236, 206), Y + H, Rgb(206, 168, 112));
  cairo_fill(Cr);
  RoundedRect(Cr, X + 0.5, Y + 0.5, W - 1, H - 2, 3.5);
  SetColor(Cr, Rgb(120, 80, 40), 0.9);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  TTextLook Ink;
  Ink.Top = Ink.Bottom = Rgb(40, 22, 44);
  const TFont F{TFontStyle::SansBold, H * 0.52, 0};
  DrawText(Cr, F, Ink, X + W / 2, std::round(Y + H / 2 + CapHeight(F) / 2 - 0.5), Legend, TAlign::Centre);
  cairo_restore(Cr);
}

}  // namespace ui
