// The big enemies, two per level theme and one for the end. Any pixel with
// alpha above 50 kills a player whose trail lies under it, so every body is
// drawn fully opaque with only its anti-aliased rim soft: what looks solid is
// exactly what is deadly.
#include <algorithm>
#include <array>
#include <cmath>

#include "kit/DrawKit.h"
#include "SpriteParts.h"

using namespace kit;

namespace sprites {
namespace {

double Wave(double T, int Cycles, double Offset = 0) { return std::sin(T * Tau * Cycles + Offset); }

void StrokeOutline(cairo_t* Cr, TRgb Body, double Width) {
  SetColor(Cr, OutlineOf(Body));
  cairo_set_line_width(Cr, Width);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

// A grin of alternating teeth between two curves.
void Grin(cairo_t* Cr, double X, double Y, double W, double H, int Teeth) {
  cairo_move_to(Cr, X - W / 2, Y);
  cairo_curve_to(Cr, X - W / 4, Y + H * 0.35, X + W / 4, Y + H * 0.35, X + W / 2, Y);
  cairo_curve_to(Cr, X + W / 4, Y + H * 1.3, X - W / 4, Y + H * 1.3, X - W / 2, Y);
  cairo_close_path(Cr);
  cairo_set_source_rgb(Cr, 0.18, 0.02, 0.06);
  cairo_fill_preserve(Cr);
  cairo_save(Cr);
  cairo_clip_preserve(Cr);
  for (int i = 0; i < Teeth; ++i) {
    const double Tx = X - W / 2 + (i + 0.5) * W / Teeth;
    cairo_move_to(Cr, Tx - W / Teeth * 0.42, Y - 1);
    cairo_line_to(Cr, Tx + W / Teeth * 0.42, Y - 1);
    cairo_line_to(Cr, Tx, Y + H * 0.62);
    cairo_close_path(Cr);
  }
  cairo_set_source_rgb(Cr, 0.97, 0.95, 0.9);
  cairo_fill(Cr);
  cairo_restore(Cr);
  cairo_set_source_rgb(Cr, 0.1, 0.02, 0.04);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
}

// ----------------------------------------------------------------- simple

void PaintSlime(cairo_t* Cr, double T) {
  const TRgb Body = Rgb(226, 48, 72);
  const double Sq = 0.06 * Wave(T, 1);
  cairo_save(Cr);
  cairo_translate(Cr, 0, 2);
  cairo_scale(Cr, 1 + Sq, 1 - Sq);
  for (int i = 0; i <= 96; ++i) {
    const double A = i * Tau / 96;
    const double R = 24.5 + 1.8 * std::sin(3 * A + T * Tau) + 1.0 * std::sin(5 * A - 2 * T * Tau);
    if (i == 0)
      cairo_move_to(Cr, R * std::cos(A), R * std::sin(A));
    else
      cairo_line_to(Cr, R * std::cos(A), R * std::sin(A));
  }
  cairo_close_path(Cr);
  ShadedFill(Cr, 0, 0, 26, Body, 2.0);
  cairo_restore(Cr);
  Gloss(Cr, 0, 2, 25, 0.8);
  const double Lx = std::cos(T * Tau), Ly = 0.5 * std::sin(T * Tau);
  Eye(Cr, -8.5, -4, 7.0, Lx, Ly, 0.45, false);
  Eye(Cr, 8.5, -4, 7.0, Lx, Ly, 0.45, true);
  Grin(Cr, 0, 8.5, 20, 8, 6);
}

void PaintSawblade(cairo_t* Cr, double T) {
  const TRgb Steel = Rgb(196, 202, 214);
  const int Teeth = 12;
  const double Turn = T * 2 * Tau / Teeth;
  for (int i = 0; i < Teeth; ++i) {
    const double A0 = Turn + i * Tau / Teeth;
    const double A1 = A0 + Tau / Teeth * 0.78;
    const double A2 = A0 + Tau / Teeth;
    if (i == 0) cairo_move_to(Cr, 22 * std::cos(A0), 22 * std::sin(A0));
    cairo_line_to(Cr, 29.5 * std::cos(A1), 29.5 * std::sin(A1));
    cairo_line_to(Cr, 22 * std::cos(A2), 22 * std::sin(A2));
  }
  cairo_close_path(Cr);
  const TPatternPtr P(cairo_pattern_create_linear(-25, -25, 25, 25));
  Stop(P, 0, Rgb(250, 252, 255));
  Stop(P, 0.5, Steel);
  Stop(P, 1, Rgb(110, 116, 132));
  cairo_set_source(Cr, P);
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Steel, 1.8);
  // Engraved ring with holes that turn with the blade.
  Circle(Cr, 0, 0, 19.5);
  SetColor(Cr, Rgb(120, 126, 140));
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  for (int i = 0; i < 6; ++i) {
    const double A = Turn + i * Tau / 6 + 0.26;
    Circle(Cr, 17 * std::cos(A), 17 * std::sin(A), 1.6);
    SetColor(Cr, Rgb(70, 74, 86));
    cairo_fill(Cr);
  }
  // Orange hub with one eye.
  const TRgb Hub = Rgb(245, 140, 30);
  Circle(Cr, 0, 0, 13.5);
  ShadedFill(Cr, 0, 0, 13.5, Hub, 1.8);
  Gloss(Cr, 0, 0, 13.5, 0.6);
  Eye(Cr, 0, 0.5, 8.4, std::cos(T * Tau * 2), 0.6 * std::sin(T * Tau * 2), 0.32, false, Rgb(120, 0, 10));
}

// ------------------------------------------------------------------ space

void PaintSaucer(cairo_t* Cr, double T, int Frame) {
  const TRgb Hull = Rgb(176, 184, 200);
  const double Bob = 1.2 * Wave(T, 1);
  cairo_translate(Cr, 0, Bob);
  // Underside with a glowing hatch.
  Ellipse(Cr, 0, 9, 16, 7);
  ShadedFill(Cr, 0, 9, 16, Rgb(110, 118, 136), 1.8);
  Ellipse(Cr, 0, 13.5, 7, 2.4);
  cairo_set_source_rgb(Cr, 0.55, 1, 0.7);
  cairo_fill(Cr);
  // Glass dome with the pilot.
  cairo_save(Cr);
  cairo_move_to(Cr, -15, 0);
  cairo_arc(Cr, 0, 0, 15, Pi, 2 * Pi);
  cairo_close_path(Cr);
  const TPatternPtr G(cairo_pattern_create_radial(-5, -10, 1, 0, -2, 17));
  Stop(G, 0, Rgb(220, 255, 250));
  Stop(G, 0.6, Rgb(60, 190, 200));
  Stop(G, 1, Rgb(20, 90, 110));
  cairo_set_source(Cr, G);
  cairo_fill_preserve(Cr);
  cairo_clip(Cr);
  // The pilot: a green head with big black eyes.
  Ellipse(Cr, 0, -5.5, 7, 8);
  BodyGradient(Cr, 0, -6, 8, Rgb(110, 220, 80));
  cairo_fill(Cr);
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 3.1, -6.2);
    cairo_rotate(Cr, Side * 0.5);
    Ellipse(Cr, 0, 0, 2.0, 3.4);
    cairo_set_source_rgb(Cr, 0.05, 0.05, 0.08);
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
  cairo_restore(Cr);
  cairo_move_to(Cr, -15, 0);
  cairo_arc(Cr, 0, 0, 15, Pi, 2 * Pi);
  StrokeOutline(Cr, Rgb(40, 120, 140), 1.6);
  Gloss(Cr, 0, -5, 13, 0.7);
  // The disc.
  Ellipse(Cr, 0, 4, 33, 9.5);
  const TPatternPtr D(cairo_pattern_create_linear(0, -5, 0, 13));
  Stop(D, 0, Rgb(245, 248, 255));
  Stop(D, 0.45, Hull);
  Stop(D, 1, Rgb(92, 98, 116));
  cairo_set_source(Cr, D);
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Hull, 1.8);
  Ellipse(Cr, 0, 3, 26, 5.5);
  SetColor(Cr, Rgb(120, 126, 144), 0.9);
  cairo_set_line_width(Cr, 1.0);
  cairo_stroke(Cr);
  // Running lights chase round the rim.
  const int Lights = 10;
  for (int i = 0; i < Lights; ++i) {
    const double A = i * Tau / Lights + 0.15;
    const double Y = 4 + 7.2 * std::sin(A);
    if (std::sin(A) < -0.35) continue;  // behind the dome
    const bool On = (i + Frame) % 5 == 0 || (i + Frame) % 5 == 1;
    const TRgb C = (i % 2) ? Rgb(255, 80, 60) : Rgb(255, 220, 60);
    Circle(Cr, 29 * std::cos(A), Y, On ? 2.3 : 1.8);
    SetColor(Cr, On ? Tone(C, 1.3) : Tone(C, 0.55));
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(40, 30, 30));
    cairo_set_line_width(Cr, 0.7);
    cairo_stroke(Cr);
  }
}

// A tapered, waving limb stroked in segments; the outline pass goes first so
// that the joins do not show.
struct TLimb {
  std::vector<double> X, Y, W;
};

void StrokeLimbs(cairo_t* Cr, const std::vector<TLimb>& Limbs, TRgb Body, double Outline) {
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  for (int Pass = 0; Pass < 2; ++Pass)
    for (const TLimb& L : Limbs)
      for (std::size_t k = 0; k + 1 < L.X.size(); ++k) {
        cairo_move_to(Cr, L.X[k], L.Y[k]);
        cairo_line_to(Cr, L.X[k + 1], L.Y[k + 1]);
        cairo_set_line_width(Cr, L.W[k] + (Pass == 0 ? Outline * 2 : 0));
        SetColor(Cr, Pass == 0 ? OutlineOf(Body) : Body);
        cairo_stroke(Cr);
      }
}

void PaintOctopus(cairo_t* Cr, double T) {
  const TRgb Body = Rgb(160, 70, 210);
  std::vector<TLimb> Limbs;
  const int N = 6;
  for (int i = 0; i < N; ++i) {
    const double Base = -0.95 + 1.9 * i / (N - 1);  // spread along the lower head
    TLimb L;
    for (int k = 0; k <= 8; ++k) {
      const double S = k / 8.0;
      const double Dir = Pi / 2 - Base * 0.95;
      const double Sway = 0.55 * S * std::sin(T * Tau + i * 1.3 - S * 3.0);
      const double D = 6 + 18 * S;
      L.X.push_back(Base * 11 + D * std::cos(Dir + Sway));
      L.Y.push_back(3 + D * std::sin(Dir + Sway));
      L.W.push_back(7.0 - 5.0 * S);
    }
    Limbs.push_back(L);
  }
  StrokeLimbs(Cr, Limbs, Body, 1.6);
  // Suckers along the limbs.
  for (const TLimb& L : Limbs)
    for (int k = 1; k < 6; k += 2) {
      Circle(Cr, L.X[k], L.Y[k], 0.9);
      SetColor(Cr, Rgb(240, 190, 250));
      cairo_fill(Cr);
    }
  // Head.
  Ellipse(Cr, 0, -7, 19, 17);
  ShadedFill(Cr, 0, -7, 19, Body, 2.0);
  Gloss(Cr, 0, -8, 18, 0.7);
  // Spots.
  const double Spots[][3] = {{-11, -13, 2.2}, {-14, -4, 1.5}, {12, -14, 1.8}, {14, -5, 2.3}, {5, -19, 1.4}};
  for (const auto& S : Spots) {
    Circle(Cr, S[0], S[1], S[2]);
    SetColor(Cr, Tone(Body, 0.7));
    cairo_fill(Cr);
  }
  // The single eye blinks once per cycle.
  const double Open = std::clamp(std::fabs(std::cos(std::clamp((T - 0.45) * 10, 0.0, 1.0) * Pi)), 0.12, 1.0);
  cairo_save(Cr);
  cairo_translate(Cr, 0, -5);
  cairo_scale(Cr, 1, Open);
  Eye(Cr, 0, 0, 9, 0.7 * std::cos(T * Tau), 0.4, 0, false, Rgb(230, 170, 0));
  cairo_restore(Cr);
  if (Open < 0.9) {
    cairo_move_to(Cr, -9, -5);
    cairo_line_to(Cr, 9, -5);
    SetColor(Cr, OutlineOf(Body));
    cairo_set_line_width(Cr, 1.5);
    cairo_stroke(Cr);
  }
}

// ---------------------------------------------------------------- cartoon

void CloudPath(cairo_t* Cr, double Grow) {
  const double Puffs[][3] = {{-17, 2, 11}, {-7, -8, 13}, {8, -9, 12}, {19, 0, 10.5}, {9, 6, 12}, {-6, 6, 12}};
  for (const auto& P : Puffs) Circle(Cr, P[0], P[1], P[2] + Grow);
}

void PaintStormCloud(cairo_t* Cr, double T, int Frame) {
  const TRgb Body = Rgb(130, 142, 178);
  cairo_translate(Cr, 0, -3 + 1.2 * Wave(T, 1));
  // A lightning bolt that strikes every other half-cycle.
  if (Frame % 5 == 2 || Frame % 5 == 3) {
    cairo_save(Cr);
    cairo_translate(Cr, (Frame < 5 ? -7 : 7), 0);
    cairo_move_to(Cr, -2, 14);
    cairo_line_to(Cr, 4, 14);
    cairo_line_to(Cr, 1, 21);
    cairo_line_to(Cr, 5, 21);
    cairo_line_to(Cr, -3, 31);
    cairo_line_to(Cr, -1, 23);
    cairo_line_to(Cr, -5, 23);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(255, 236, 70));
    cairo_fill_preserve(Cr);
    StrokeOutline(Cr, Rgb(200, 140, 0), 1.4);
    cairo_restore(Cr);
  }
  // Outline under, fill over: the puffs merge into one body.
  CloudPath(Cr, 1.0);
  SetColor(Cr, OutlineOf(Body));
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(Cr);
  CloudPath(Cr, 0);
  const TPatternPtr P(cairo_pattern_create_linear(0, -22, 0, 18));
  Stop(P, 0, Rgb(235, 240, 255));
  Stop(P, 0.5, Body);
  Stop(P, 1, Rgb(80, 88, 120));
  cairo_set_source(Cr, P);
  cairo_fill(Cr);
  // Puff highlights.
  const double Hi[][3] = {{-9, -13, 5}, {6, -14, 4.5}, {-19, -3, 3.5}};
  for (const auto& H : Hi) {
    Ellipse(Cr, H[0], H[1], H[2], H[2] * 0.55);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.55);
    cairo_fill(Cr);
  }
  Eye(Cr, -7, -1, 5.5, 0.3, 0.5, 0.55, false);
  Eye(Cr, 7, -1, 5.5, -0.3, 0.5, 0.55, true);
  // Grumpy mouth.
  cairo_move_to(Cr, -6, 10);
  cairo_curve_to(Cr, -3, 6.5 - Wave(T, 2) * 0.8, 3, 6.5 - Wave(T, 2) * 0.8, 6, 10);
  SetColor(Cr, Rgb(30, 30, 50));
  cairo_set_line_width(Cr, 2.0);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

void PaintBomb(cairo_t* Cr, double T, int Frame) {
  const TRgb Body = Rgb(58, 58, 72);
  const double Pulse = 1 + 0.035 * Wave(T, 2);
  // Fuse.
  cairo_move_to(Cr, 11, -14);
  cairo_curve_to(Cr, 15, -22, 22, -20, 20, -25);
  SetColor(Cr, Rgb(60, 40, 20));
  cairo_set_line_width(Cr, 4.2);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
  cairo_move_to(Cr, 11, -14);
  cairo_curve_to(Cr, 15, -22, 22, -20, 20, -25);
  SetColor(Cr, Rgb(200, 160, 100));
  cairo_set_line_width(Cr, 2.2);
  cairo_stroke(Cr);
  // Spark at the fuse's end.
  const double Sp = (Frame % 2) ? 6.8 : 5.2;
  StarPath(Cr, 20, -25, 7, Sp, Sp * 0.42, Frame * 0.45);
  SetColor(Cr, Rgb(255, 150, 20));
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rgb(230, 90, 0), 1.0);
  StarPath(Cr, 20, -25, 5, Sp * 0.55, Sp * 0.25, -Frame * 0.3);
  SetColor(Cr, Rgb(255, 250, 190));
  cairo_fill(Cr);
  // Body.
  cairo_save(Cr);
  cairo_translate(Cr, -2, 5);
  cairo_scale(Cr, Pulse, 1 / Pulse);
  Circle(Cr, 0, 0, 21);
  ShadedFill(Cr, 0, 0, 21, Body, 2.0);
  cairo_restore(Cr);
  // Cap.
  cairo_save(Cr);
  cairo_translate(Cr, 9.5, -12);
  cairo_rotate(Cr, 0.6);
  cairo_rectangle(Cr, -5, -3.5, 10, 6);
  SetColor(Cr, Rgb(150, 156, 170));
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rgb(150, 156, 170), 1.4);
  cairo_restore(Cr);
  Gloss(Cr, -2, 5, 21, 0.55);
  Eye(Cr, -9, 2, 5.6, 0.5, 0.2, 0.55, false, Rgb(200, 20, 20));
  Eye(Cr, 5, 2, 5.6, 0.5, 0.2, 0.55, true, Rgb(200, 20, 20));
  Grin(Cr, -2, 12, 15, 6, 5);
}

// ----------------------------------------------------------------- mystic

// A rune: a few strokes on a 4 x 6 grid, drawn along the ring.
void Rune(cairo_t* Cr, int Kind) {
  static const double Strokes[4][4][4] = {
      {{0, -3, 0, 3}, {0, -1, 2, -3}, {0, 1, -2, -1}, {0, 0, 0, 0}},
      {{-2, -3, -2, 3}, {-2, -3, 2, 0}, {2, 0, -2, 3}, {0, 0, 0, 0}},
      {{-2, 3, 0, -3}, {0, -3, 2, 3}, {-1, 0, 1, 0}, {0, 0, 0, 0}},
      {{0, -3, 0, 3}, {-2, -1, 2, -1}, {-2, 1, 0, 3}, {2, 1, 0, 3}},
  };
  for (const auto& S : Strokes[Kind]) {
    if (S[0] == 0 && S[1] == 0 && S[2] == 0 && S[3] == 0) continue;
    cairo_move_to(Cr, S[0], S[1]);
    cairo_line_to(Cr, S[2], S[3]);
  }
}

void PaintRuneEye(cairo_t* Cr, double T) {
  const TRgb Ring = Rgb(88, 40, 150);
  const double Turn = T * Tau / 4;  // the rune pattern repeats every quarter turn
  // Ring.
  Circle(Cr, 0, 0, 29.5);
  Circle(Cr, 0, 0, 21.5);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  const TPatternPtr P(cairo_pattern_create_radial(-8, -10, 4, 0, 0, 31));
  Stop(P, 0, Rgb(170, 120, 230));
  Stop(P, 0.7, Ring);
  Stop(P, 1, Rgb(40, 16, 80));
  cairo_set_source(Cr, P);
  cairo_fill(Cr);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
  for (double R : {29.5, 21.5}) {
    Circle(Cr, 0, 0, R);
    SetColor(Cr, Rgb(230, 190, 80));
    cairo_set_line_width(Cr, 1.6);
    cairo_stroke(Cr);
  }
  for (int i = 0; i < 8; ++i) {
    const double A = Turn + i * Tau / 8;
    cairo_save(Cr);
    cairo_translate(Cr, 25.5 * std::cos(A), 25.5 * std::sin(A));
    cairo_rotate(Cr, A + Pi / 2);
    Rune(Cr, (i % 2) * 2 + (i / 2) % 2);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    SetColor(Cr, Rgb(140, 255, 240));
    cairo_set_line_width(Cr, 1.3);
    cairo_stroke(Cr);
    cairo_restore(Cr);
  }
  // Crystal ball with swirling mist and an eye.
  Circle(Cr, 0, 0, 16);
  const TPatternPtr B(cairo_pattern_create_radial(-5, -6, 1, 0, 0, 16));
  Stop(B, 0, Rgb(230, 250, 255));
  Stop(B, 0.5, Rgb(90, 170, 240));
  Stop(B, 1, Rgb(30, 50, 130));
  cairo_set_source(Cr, B);
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rgb(60, 90, 180), 1.6);
  cairo_save(Cr);
  Circle(Cr, 0, 0, 15);
  cairo_clip(Cr);
  for (int i = 0; i < 3; ++i) {
    const double A = -T * Tau + i * Tau / 3;
    cairo_arc(Cr, 0, 0, 10, A, A + 1.6);
    cairo_set_source_rgba(Cr, 0.9, 0.8, 1, 0.45);
    cairo_set_line_width(Cr, 2.2);
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);
  // Cat-like eye: narrow lid, slit pupil.
  cairo_save(Cr);
  cairo_move_to(Cr, -10, 0);
  cairo_curve_to(Cr, -4, -7, 4, -7, 10, 0);
  cairo_curve_to(Cr, 4, 7, -4, 7, -10, 0);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(255, 230, 120));
  cairo_fill_preserve(Cr);
  cairo_clip(Cr);
  const double Look = 2.5 * std::sin(T * Tau);
  Ellipse(Cr, Look, 0, 1.6, 5);
  SetColor(Cr, Rgb(20, 10, 30));
  cairo_fill(Cr);
  cairo_restore(Cr);
  cairo_move_to(Cr, -10, 0);
  cairo_curve_to(Cr, -4, -7, 4, -7, 10, 0);
  cairo_curve_to(Cr, 4, 7, -4, 7, -10, 0);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(40, 20, 60));
  cairo_set_line_width(Cr, 1.4);
  cairo_stroke(Cr);
  Gloss(Cr, 0, 0, 15, 0.6);
}

// A closed smooth curve through the points (Catmull-Rom turned into Bezier
// segments).
void SmoothClosed(cairo_t* Cr, const std::vector<std::array<double, 2>>& P) {
  const std::size_t N = P.size();
  cairo_move_to(Cr, P[0][0], P[0][1]);
  for (std::size_t i = 0; i < N; ++i) {
    const auto& P0 = P[(i + N - 1) % N];
    const auto& P1 = P[i];
    const auto& P2 = P[(i + 1) % N];
    const auto& P3 = P[(i + 2) % N];
    cairo_curve_to(Cr, P1[0] + (P2[0] - P0[0]) / 6, P1[1] + (P2[1] - P0[1]) / 6, P2[0] - (P3[0] - P1[0]) / 6,
                   P2[1] - (P3[1] - P1[1]) / 6, P2[0], P2[1]);
  }
  cairo_close_path(Cr);
}

// A flame: round at the bottom, three flickering tongues on top.
void FlamePath(cairo_t* Cr, double T, double Scale, double Cy) {
  auto F = [&](int Cycles, double Offset) { return Wave(T, Cycles, Offset); };
  const std::vector<std::array<double, 2>> Base = {
      {-16, 2},                                  // left flank
      {-15 + 1.5 * F(1, 0), -12 + 2 * F(2, 1)},  // left tongue
      {-8, -9},
      {1.5 * F(1, 2), -30 + 2.5 * F(2, 0)},      // central tongue
      {7, -10},
      {13 + 1.5 * F(1, 4), -17 + 2 * F(2, 3)},   // right tongue
      {16, 2},
      {12, 13},
      {0, 17},
      {-12, 13},
  };
  std::vector<std::array<double, 2>> P;
  for (const auto& B : Base) P.push_back({B[0] * Scale, Cy + B[1] * Scale});
  SmoothClosed(Cr, P);
}

void PaintWisp(cairo_t* Cr, double T) {
  const double Cy = 8;
  FlamePath(Cr, T, 1.0, Cy);
  const TPatternPtr P(cairo_pattern_create_linear(0, -30, 0, 26));
  Stop(P, 0, Rgb(190, 90, 255));
  Stop(P, 0.55, Rgb(60, 200, 220));
  Stop(P, 1, Rgb(20, 110, 150));
  cairo_set_source(Cr, P);
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rgb(60, 40, 140), 1.8);
  FlamePath(Cr, T + 0.25, 0.6, Cy + 4);
  const TPatternPtr Q(cairo_pattern_create_linear(0, -18, 0, 20));
  Stop(Q, 0, Rgb(240, 200, 255));
  Stop(Q, 1, Rgb(170, 255, 250));
  cairo_set_source(Cr, Q);
  cairo_fill(Cr);
  // Slanted glowing eyes.
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 6, 7);
    cairo_rotate(Cr, Side * 0.35);
    Ellipse(Cr, 0, 0, 3.6, 2.0);
    SetColor(Cr, Rgb(40, 10, 80));
    cairo_fill(Cr);
    cairo_restore(Cr);
    Circle(Cr, Side * 6, 7.2, 1.1);
    SetColor(Cr, Rgb(255, 255, 200));
    cairo_fill(Cr);
  }
  // Three orbs circle the flame.
  for (int i = 0; i < 3; ++i) {
    const double A = T * Tau / 3 + i * Tau / 3;
    const double X = 24 * std::cos(A), Y = 9 + 11 * std::sin(A);
    Circle(Cr, X, Y, 3.2);
    ShadedFill(Cr, X, Y, 3.2, Rgb(250, 160, 255), 1.0);
  }
}

// ----------------------------------------------------------------- horror

void PaintSkull(cairo_t* Cr, double T) {
  const TRgb Bone = Rgb(236, 226, 200);
  // Chatters twice a cycle without resting: a jaw held shut for frames on
  // end reads as the animation stalling. The phase keeps any two frames in
  // a row apart (a cycle of five frames sampled at its peak or at its
  // middle would repeat a position).
  const double Chatter = 1.6 * (1 - std::cos(Tau * (2 * T + 0.05)));
  // Jaw, drawn first so the cranium overlaps it.
  cairo_save(Cr);
  cairo_translate(Cr, 0, Chatter);
  cairo_move_to(Cr, -13, 8);
  cairo_line_to(Cr, 13, 8);
  cairo_curve_to(Cr, 13, 20, 8, 25, 0, 25);
  cairo_curve_to(Cr, -8, 25, -13, 20, -13, 8);
  cairo_close_path(Cr);
  ShadedFill(Cr, 0, 14, 16, Bone, 1.8);
  for (int i = 0; i < 6; ++i) {
    cairo_rectangle(Cr, -10.5 + i * 3.6, 9, 3.0, 5);
    SetColor(Cr, Rgb(252, 250, 240));
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(90, 80, 60));
    cairo_set_line_width(Cr, 0.8);
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);
  // Cranium with cheekbones.
  cairo_move_to(Cr, -14, 12);
  cairo_curve_to(Cr, -26, 2, -24, -27, 0, -27);
  cairo_curve_to(Cr, 24, -27, 26, 2, 14, 12);
  cairo_close_path(Cr);
  ShadedFill(Cr, 0, -8, 24, Bone, 2.0);
  // Upper teeth.
  for (int i = 0; i < 6; ++i) {
    cairo_rectangle(Cr, -10.5 + i * 3.6, 7, 3.0, 5);
    SetColor(Cr, Rgb(252, 250, 240));
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(90, 80, 60));
    cairo_set_line_width(Cr, 0.8);
    cairo_stroke(Cr);
  }
  // Crack.
  cairo_move_to(Cr, 5, -26);
  cairo_line_to(Cr, 8, -20);
  cairo_line_to(Cr, 5, -16);
  cairo_line_to(Cr, 9, -12);
  SetColor(Cr, Rgb(110, 96, 70));
  cairo_set_line_width(Cr, 1.1);
  cairo_stroke(Cr);
  // Sockets with glowing embers.
  const double Glow = 0.65 + 0.35 * Wave(T, 1);
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 9, -6);
    cairo_rotate(Cr, Side * 0.25);
    Ellipse(Cr, 0, 0, 6.5, 7.2);
    cairo_restore(Cr);
    SetColor(Cr, Rgb(30, 14, 16));
    cairo_fill(Cr);
    const TPatternPtr G(cairo_pattern_create_radial(Side * 9, -5, 0, Side * 9, -5, 4.5));
    Stop(G, 0, Rgb(255, 240, 160), 1);
    Stop(G, 0.4, Rgb(255, 40, 20), Glow);
    Stop(G, 1, Rgb(120, 0, 0), 0);
    Circle(Cr, Side * 9, -5, 4.5);
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
  }
  // Nose.
  cairo_move_to(Cr, 0, 0);
  cairo_line_to(Cr, -3, 5.5);
  cairo_line_to(Cr, 3, 5.5);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(40, 20, 20));
  cairo_fill(Cr);
  Gloss(Cr, 0, -10, 20, 0.55);
}

// The candle flickers and the pumpkin sways, both as smooth waves over the
// cycle: the game shows a big enemy's frames in turn within 20 ticks.
void PaintPumpkin(cairo_t* Cr, double T) {
  const double F = 0.8 + 0.14 * std::sin(T * Tau) + 0.06 * std::sin(3 * T * Tau + 1.3);
  const TRgb Skin = Rgb(240, 124, 24);
  cairo_rotate(Cr, 0.04 * std::sin(T * Tau));
  // Stem.
  cairo_move_to(Cr, -2.5, -16);
  cairo_curve_to(Cr, -3, -24, 2, -27, 6, -27);
  cairo_line_to(Cr, 6, -23);
  cairo_curve_to(Cr, 3, -23, 2.5, -20, 3, -16);
  cairo_close_path(Cr);
  ShadedFill(Cr, 2, -22, 6, Rgb(90, 130, 40), 1.5);
  // Lobes, outer ones first.
  const double Lobes[][2] = {{-17, 12}, {17, 12}, {-10, 14}, {10, 14}, {0, 14}};
  for (const auto& L : Lobes) {
    Ellipse(Cr, L[0], 4, L[1], 20);
    ShadedFill(Cr, L[0] * 0.5, 0, 22, Skin, 1.8);
  }
  // Carved face with the candle's glow; it flickers.
  const TRgb Glow = Mix(Rgb(200, 60, 0), Rgb(255, 240, 120), F);
  auto Carve = [&](auto&& Path) {
    Path();
    SetColor(Cr, Glow);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(90, 30, 0));
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
  };
  for (int Side = -1; Side <= 1; Side += 2)
    Carve([&] {
      cairo_move_to(Cr, Side * 3.5, -2);
      cairo_line_to(Cr, Side * 13, -3.5);
      cairo_line_to(Cr, Side * 8.5, -10.5);
      cairo_close_path(Cr);
    });
  Carve([&] {
    cairo_move_to(Cr, 0, 0);
    cairo_line_to(Cr, -2.5, 4);
    cairo_line_to(Cr, 2.5, 4);
    cairo_close_path(Cr);
  });
  Carve([&] {
    cairo_move_to(Cr, -16, 8);
    cairo_curve_to(Cr, -8, 12, 8, 12, 16, 8);
    cairo_curve_to(Cr, 12, 17, 6, 21, 0, 21);
    cairo_curve_to(Cr, -6, 21, -12, 17, -16, 8);
    cairo_close_path(Cr);
  });
  // Teeth left standing in the mouth.
  for (double X : {-7.0, 5.0}) {
    cairo_rectangle(Cr, X, 9.5, 3, 3.5);
    SetColor(Cr, Skin);
    cairo_fill(Cr);
  }
  cairo_rectangle(Cr, -1.5, 17, 3, 4);
  SetColor(Cr, Skin);
  cairo_fill(Cr);
  Gloss(Cr, -4, 0, 20, 0.35);
}

// ---------------------------------------------------------------- insects

struct TLeg {
  double Bx, By;   // hip on the body
  double Angle;    // rest direction
  double Len1, Len2;
  double Bend;     // knee bend (radians, sign gives side)
};

void PaintLegs(cairo_t* Cr, const std::vector<TLeg>& Legs, double T, double Swing, TRgb Colour, double Width) {
  std::vector<TLimb> Limbs;
  for (std::size_t i = 0; i < Legs.size(); ++i) {
    const TLeg& L = Legs[i];
    // Alternating tripods: neighbours swing in opposite phase.
    const double Phase = ((i / 2) % 2 == i % 2) ? 0 : Pi;
    const double A = L.Angle + Swing * std::sin(T * Tau + Phase);
    const double Kx = L.Bx + L.Len1 * std::cos(A), Ky = L.By + L.Len1 * std::sin(A);
    const double Fx = Kx + L.Len2 * std::cos(A + L.Bend), Fy = Ky + L.Len2 * std::sin(A + L.Bend);
    Limbs.push_back({{L.Bx, Kx, Fx}, {L.By, Ky, Fy}, {Width, Width * 0.8}});
  }
  StrokeLimbs(Cr, Limbs, Colour, 0.9);
}

void PaintLadybug(cairo_t* Cr, double T) {
  std::vector<TLeg> Legs;
  for (int Side = -1; Side <= 1; Side += 2)
    for (int k = 0; k < 3; ++k) {
      const double Rest = (Side > 0 ? 0 : Pi) + Side * (-0.7 + k * 0.7);
      Legs.push_back({Side * 9.0, -4.0 + k * 7.5, Rest, 10, 9, Side * (k == 1 ? 0.0 : (k == 0 ? -0.6 : 0.6))});
    }
  PaintLegs(Cr, Legs, T, 0.28, Rgb(40, 30, 30), 2.6);
  // Antennae.
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_move_to(Cr, Side * 3, -20);
    cairo_curve_to(Cr, Side * 5, -25, Side * 8, -27, Side * 11, -27 + Wave(T, 1) * 1.2);
    SetColor(Cr, Rgb(30, 20, 20));
    cairo_set_line_width(Cr, 1.6);
    cairo_stroke(Cr);
    Circle(Cr, Side * 11, -27 + Wave(T, 1) * 1.2, 1.7);
    cairo_fill(Cr);
  }
  // Head.
  Circle(Cr, 0, -15, 8.5);
  ShadedFill(Cr, 0, -15, 8.5, Rgb(40, 36, 44), 1.6);
  for (int Side = -1; Side <= 1; Side += 2) {
    Ellipse(Cr, Side * 4.2, -18.5, 2.2, 1.8);
    SetColor(Cr, Rgb(250, 250, 250));
    cairo_fill(Cr);
  }
  // Shell.
  const TRgb Shell = Rgb(226, 30, 36);
  Ellipse(Cr, 0, 4, 17, 19);
  ShadedFill(Cr, 0, 4, 19, Shell, 2.0);
  cairo_save(Cr);
  Ellipse(Cr, 0, 4, 16, 18);
  cairo_clip(Cr);
  const double Spots[][3] = {{-8, -5, 3.6}, {8, -5, 3.6}, {-11, 6, 3.0}, {11, 6, 3.0}, {-6, 15, 2.8}, {6, 15, 2.8}};
  for (const auto& S : Spots) {
    Circle(Cr, S[0], S[1], S[2]);
    SetColor(Cr, Rgb(30, 24, 30));
    cairo_fill(Cr);
  }
  cairo_restore(Cr);
  cairo_move_to(Cr, 0, -14.5);
  cairo_line_to(Cr, 0, 23);
  SetColor(Cr, Rgb(40, 10, 10));
  cairo_set_line_width(Cr, 1.6);
  cairo_stroke(Cr);
  Gloss(Cr, -5, 2, 13, 0.75);
  Gloss(Cr, 9, 2, 8, 0.45);
}

void PaintSpider(cairo_t* Cr, double T) {
  std::vector<TLeg> Legs;
  for (int Side = -1; Side <= 1; Side += 2)
    for (int k = 0; k < 4; ++k) {
      // Knees reach forward on the front legs and back on the rear ones; the
      // lower leg bends the other way, so every leg is a sharp angle.
      const double Spread = -1.25 + k * 0.8;
      const double Rest = (Side > 0 ? 0 : Pi) + Side * (Spread + (k < 2 ? -0.35 : 0.35));
      const double Bend = Side * (k < 2 ? 1.25 : -1.25);
      Legs.push_back({Side * 4.0, -7.0 + k * 3.0, Rest, 13, 14, Bend});
    }
  PaintLegs(Cr, Legs, T, 0.2, Rgb(58, 36, 70), 2.6);
  // Abdomen with the red mark.
  const TRgb Body = Rgb(62, 38, 80);
  Ellipse(Cr, 0, 10, 13.5, 15);
  ShadedFill(Cr, 0, 10, 15, Body, 1.8);
  cairo_move_to(Cr, 0, 4);
  cairo_line_to(Cr, 3.5, 9);
  cairo_line_to(Cr, 0, 12);
  cairo_line_to(Cr, 3.5, 17);
  cairo_line_to(Cr, -3.5, 17);
  cairo_line_to(Cr, 0, 12);
  cairo_line_to(Cr, -3.5, 9);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(230, 30, 30));
  cairo_fill(Cr);
  Gloss(Cr, 0, 10, 13, 0.5);
  // Head.
  Circle(Cr, 0, -9, 9.5);
  ShadedFill(Cr, 0, -9, 9.5, Tone(Body, 1.15), 1.8);
  // Eight eyes, the two big ones in front.
  const double Eyes[][3] = {{-3, -9, 2.4}, {3, -9, 2.4}, {-6.5, -11, 1.5}, {6.5, -11, 1.5},
                            {-4.5, -14, 1.3}, {4.5, -14, 1.3}, {-1.5, -15.5, 1.1}, {1.5, -15.5, 1.1}};
  const double Glint = 0.6 + 0.4 * Wave(T, 1);
  for (const auto& E : Eyes) {
    Circle(Cr, E[0], E[1], E[2]);
    SetColor(Cr, Mix(Rgb(150, 0, 0), Rgb(255, 60, 40), Glint));
    cairo_fill(Cr);
    Circle(Cr, E[0] - E[2] * 0.3, E[1] - E[2] * 0.3, E[2] * 0.35);
    SetColor(Cr, Rgb(255, 220, 220));
    cairo_fill(Cr);
  }
  // Fangs.
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_move_to(Cr, Side * 2.5, -3);
    cairo_line_to(Cr, Side * 3.5, 2 + Wave(T, 2) * 0.6);
    cairo_line_to(Cr, Side * 0.8, -1.5);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(240, 230, 210));
    cairo_fill(Cr);
  }
}

// ---------------------------------------------------------------- heaven

void Wing(cairo_t* Cr, int Side, double Flap) {
  cairo_save(Cr);
  cairo_translate(Cr, Side * 9, -1);
  cairo_rotate(Cr, -Side * Flap);
  cairo_scale(Cr, Side, 1);
  // Feathers, longest at the back.
  const double Feathers[][4] = {{8, 6, 11, 4.5}, {12, 1, 12.5, 4.5}, {14, -5, 13.5, 4.8}, {12, -10, 11, 4.4}};
  for (int Pass = 0; Pass < 2; ++Pass)
    for (const auto& F : Feathers) {
      cairo_save(Cr);
      cairo_translate(Cr, F[0], F[1]);
      cairo_rotate(Cr, -0.35 + F[1] * 0.02);
      Ellipse(Cr, 0, 0, F[2] + (Pass == 0 ? 1.4 : 0), F[3] + (Pass == 0 ? 1.4 : 0));
      cairo_restore(Cr);
      if (Pass == 0) {
        SetColor(Cr, Rgb(90, 110, 150));
      } else {
        const TPatternPtr P(cairo_pattern_create_linear(0, -14, 0, 10));
        Stop(P, 0, Rgb(255, 255, 255));
        Stop(P, 1, Rgb(190, 210, 240));
        cairo_set_source(Cr, P);
      }
      cairo_fill(Cr);
    }
  cairo_restore(Cr);
}

void PaintWingedOrb(cairo_t* Cr, double T) {
  const double Flap = 0.38 * Wave(T, 1);
  cairo_scale(Cr, 0.92, 0.92);
  cairo_translate(Cr, 0, 2 - 1.5 * Wave(T, 1));
  Wing(Cr, -1, Flap);
  Wing(Cr, 1, Flap);
  // Pearl body.
  const TRgb Pearl = Rgb(250, 236, 190);
  Circle(Cr, 0, 2, 15.5);
  ShadedFill(Cr, 0, 2, 15.5, Pearl, 1.8);
  // Stern eyes.
  cairo_new_path(Cr);
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 5.5, 1.5);
    Eye(Cr, 0, 0, 4.2, 0, 0.4, 0.3, Side > 0, Rgb(40, 110, 230));
    cairo_restore(Cr);
  }
  cairo_move_to(Cr, -4, 9.5);
  cairo_line_to(Cr, 4, 9.5);
  SetColor(Cr, Rgb(150, 110, 60));
  cairo_set_line_width(Cr, 1.5);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
  Gloss(Cr, 0, 2, 15, 0.7);
  // Halo.
  Ellipse(Cr, 0, -19, 11, 3.6);
  SetColor(Cr, Rgb(140, 90, 0));
  cairo_set_line_width(Cr, 4.4);
  cairo_stroke(Cr);
  Ellipse(Cr, 0, -19, 11, 3.6);
  SetColor(Cr, Rgb(255, 222, 80));
  cairo_set_line_width(Cr, 2.6);
  cairo_stroke(Cr);
}

void PaintSun(cairo_t* Cr, double T) {
  const double Turn = T * Tau / 6;  // long and short rays alternate: the pattern repeats every sixth of a turn
  for (int i = 0; i < 12; ++i) {
    const double A = Turn + i * Tau / 12;
    const double Len = (i % 2) ? 25.5 : 30.0;
    const double Half = (i % 2) ? 0.2 : 0.24;
    cairo_move_to(Cr, 14 * std::cos(A - Half), 14 * std::sin(A - Half));
    cairo_line_to(Cr, Len * std::cos(A), Len * std::sin(A));
    cairo_line_to(Cr, 14 * std::cos(A + Half), 14 * std::sin(A + Half));
    cairo_close_path(Cr);
  }
  const TPatternPtr P(cairo_pattern_create_radial(0, 0, 12, 0, 0, 30));
  Stop(P, 0, Rgb(255, 240, 120));
  Stop(P, 1, Rgb(255, 140, 20));
  cairo_set_source(Cr, P);
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rgb(230, 120, 20), 1.5);
  const TRgb Disc = Rgb(255, 200, 40);
  Circle(Cr, 0, 0, 18);
  ShadedFill(Cr, 0, 0, 18, Disc, 2.0);
  // Smug face: half-closed eyes, smirk, blushing cheeks.
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 6.5, -3);
    cairo_scale(Cr, 1, 0.75);
    Eye(Cr, 0, 0, 3.8, 0.5 * std::sin(T * Tau), 0.2, 0.05, Side > 0, Rgb(150, 60, 0));
    cairo_restore(Cr);
    Circle(Cr, Side * 10, 4, 2.8);
    cairo_set_source_rgba(Cr, 1, 0.4, 0.3, 0.55);
    cairo_fill(Cr);
  }
  cairo_move_to(Cr, -7, 6);
  cairo_curve_to(Cr, -3, 10, 4, 10, 8, 4.5);
  SetColor(Cr, Rgb(140, 60, 0));
  cairo_set_line_width(Cr, 1.8);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
  Gloss(Cr, 0, 0, 18, 0.6);
}

// -------------------------------------------------------------------- end

void PaintOverlord(cairo_t* Cr, double T) {
  const double Turn = T * Tau / 8;
  // Crown of horns, turning.
  for (int i = 0; i < 8; ++i) {
    const double A = Turn + i * Tau / 8;
    const double Bend = 0.28;
    cairo_move_to(Cr, 19 * std::cos(A - 0.22), 19 * std::sin(A - 0.22));
    cairo_curve_to(Cr, 26 * std::cos(A - 0.1), 26 * std::sin(A - 0.1), 29 * std::cos(A + Bend * 0.5),
                   29 * std::sin(A + Bend * 0.5), 32 * std::cos(A + Bend), 32 * std::sin(A + Bend));
    cairo_curve_to(Cr, 27 * std::cos(A + 0.25), 27 * std::sin(A + 0.25), 23 * std::cos(A + 0.3),
                   23 * std::sin(A + 0.3), 19 * std::cos(A + 0.22), 19 * std::sin(A + 0.22));
    cairo_close_path(Cr);
  }
  const TPatternPtr H(cairo_pattern_create_radial(0, 0, 18, 0, 0, 32));
  Stop(H, 0, Rgb(50, 30, 120));
  Stop(H, 1, Rgb(235, 235, 255));
  cairo_set_source(Cr, H);
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rgb(50, 40, 130), 1.5);
  // Indigo sphere with cold fire: the last level's ground is red-hot rock,
  // and its master must not melt into it.
  const TRgb Body = Rgb(64, 44, 170);
  Circle(Cr, 0, 0, 22);
  ShadedFill(Cr, 0, 0, 22, Body, 2.0);
  // Molten cracks that pulse.
  const double Heat = 0.55 + 0.45 * Wave(T, 1);
  cairo_save(Cr);
  Circle(Cr, 0, 0, 21);
  cairo_clip(Cr);
  TRng Rng(2024);
  for (int c = 0; c < 7; ++c) {
    double A = Rng.Range(0.1 * Pi, 0.9 * Pi) + (c % 3 == 0 ? Pi * 0.8 * (c % 2 ? 1 : -1) : 0), R = 21;
    cairo_move_to(Cr, R * std::cos(A), R * std::sin(A));
    for (int k = 0; k < 3; ++k) {
      R -= Rng.Range(2.5, 4.0);
      A += Rng.Range(-0.35, 0.35);
      cairo_line_to(Cr, R * std::cos(A), R * std::sin(A));
    }
  }
  SetColor(Cr, Mix(Rgb(0, 150, 255), Rgb(200, 255, 255), Heat));
  cairo_set_line_width(Cr, 1.5);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(Cr);
  cairo_restore(Cr);
  // Three eyes; the big one follows a slow circle, the small ones blink.
  const TRgb Iris = Rgb(255, 210, 0);
  cairo_save(Cr);
  cairo_move_to(Cr, -11, 2);
  cairo_curve_to(Cr, -5, -7, 5, -7, 11, 2);
  cairo_curve_to(Cr, 5, 10, -5, 10, -11, 2);
  cairo_close_path(Cr);
  SetColor(Cr, Iris);
  cairo_fill_preserve(Cr);
  cairo_clip(Cr);
  Ellipse(Cr, 3.5 * std::cos(T * Tau), 2 + 1.5 * std::sin(T * Tau), 1.9, 6.5);
  SetColor(Cr, Rgb(20, 0, 0));
  cairo_fill(Cr);
  cairo_restore(Cr);
  cairo_move_to(Cr, -11, 2);
  cairo_curve_to(Cr, -5, -7, 5, -7, 11, 2);
  cairo_curve_to(Cr, 5, 10, -5, 10, -11, 2);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(30, 0, 0));
  cairo_set_line_width(Cr, 1.6);
  cairo_stroke(Cr);
  const double Blink = (T > 0.5 && T < 0.6) ? 0.15 : 1.0;
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 10.5, -11.5);
    cairo_rotate(Cr, Side * 0.4);
    cairo_scale(Cr, 1, 0.65 * Blink);
    Circle(Cr, 0, 0, 4.8);
    cairo_restore(Cr);
    SetColor(Cr, Iris);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(30, 0, 0));
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
    if (Blink > 0.5) {
      Ellipse(Cr, Side * 10.5, -11.5, 0.9, 2.4);
      SetColor(Cr, Rgb(20, 0, 0));
      cairo_fill(Cr);
    }
  }
  Gloss(Cr, 0, 0, 22, 0.45);
}

}  // namespace

void AddBigEnemies(std::vector<TPakEntry>& Out) {
  AddImageSet(Out, "evil_simple01", 63, 63, [](cairo_t* Cr, double T, int) { PaintSlime(Cr, T); });
  AddImageSet(Out, "evil_simple02", 63, 63, [](cairo_t* Cr, double T, int) { PaintSawblade(Cr, T); });
  AddImageSet(Out, "evil_space01", 71, 51, [](cairo_t* Cr, double T, int F) { PaintSaucer(Cr, T, F); });
  AddImageSet(Out, "evil_space02", 63, 63, [](cairo_t* Cr, double T, int) { PaintOctopus(Cr, T); });
  AddImageSet(Out, "evil_cartoon01", 67, 65, [](cairo_t* Cr, double T, int F) { PaintStormCloud(Cr, T, F); });
  AddImageSet(Out, "evil_cartoon02", 63, 63, [](cairo_t* Cr, double T, int F) { PaintBomb(Cr, T, F); });
  AddImageSet(Out, "evil_mystic01", 63, 63, [](cairo_t* Cr, double T, int) { PaintRuneEye(Cr, T); });
  AddImageSet(Out, "evil_mystic02", 61, 63, [](cairo_t* Cr, double T, int) { PaintWisp(Cr, T); });
  AddImageSet(Out, "evil_horror01", 57, 63, [](cairo_t* Cr, double T, int) { PaintSkull(Cr, T); });
  AddImageSet(Out, "evil_horror02", 63, 63, [](cairo_t* Cr, double T, int) { PaintPumpkin(Cr, T); });
  AddImageSet(Out, "evil_insect01", 63, 63, [](cairo_t* Cr, double T, int) { PaintLadybug(Cr, T); });
  AddImageSet(Out, "evil_insect02", 63, 63, [](cairo_t* Cr, double T, int) { PaintSpider(Cr, T); });
  AddImageSet(Out, "evil_heaven01", 67, 59, [](cairo_t* Cr, double T, int) { PaintWingedOrb(Cr, T); });
  AddImageSet(Out, "evil_heaven02", 63, 63, [](cairo_t* Cr, double T, int) { PaintSun(Cr, T); });
  AddImageSet(Out, "evil_end01", 67, 67, [](cairo_t* Cr, double T, int) { PaintOverlord(Cr, T); });
}

}  // namespace sprites
