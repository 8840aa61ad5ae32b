// Player markers, their explosion, the small enemies and the items.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "Generators.h"
#include "Manifest.h"
#include "kit/DrawKit.h"
#include "SpriteParts.h"

using namespace kit;

namespace sprites {

void AddImageSet(std::vector<TPakEntry>& Out, const std::string& SetName, int W, int H, const TPaint& Paint) {
  // Frames are drawn on a roomy canvas and then cut to the smallest box that
  // holds the ink of every frame with one clear pixel around it, keeping the
  // drawing's centre in the centre pixel: nothing is clipped, and the box,
  // whose every cell the big enemy's push test counts, is no larger than the
  // drawing. W and H are the nominal size the drawing was designed for.
  const TImageSet& Set = ManifestImageSet(SetName);
  const int Half = std::max(W, H);  // the roomy canvas is 2 * Half + 1 square
  const int Side = 2 * Half + 1;
  std::vector<TSurfacePtr> Drawn;
  int Ex = 0, Ey = 0;  // largest ink distance from the centre pixel
  for (int i = 0; i < Set.Count; ++i) {
    TSurfacePtr S = NewSurface(Side, Side);
    const TContextPtr Cr = NewContext(S);
    cairo_translate(Cr, Side / 2.0, Side / 2.0);
    Paint(Cr, static_cast<double>(i) / Set.Count, i);
    cairo_surface_flush(S);
    const unsigned char* Data = cairo_image_surface_get_data(S);
    const int Stride = cairo_image_surface_get_stride(S);
    for (int y = 0; y < Side; ++y) {
      const auto* Row = reinterpret_cast<const std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
      for (int x = 0; x < Side; ++x)
        if (Row[x] >> 24) {
          Ex = std::max(Ex, std::abs(x - Half));
          Ey = std::max(Ey, std::abs(y - Half));
        }
    }
    Drawn.push_back(std::move(S));
  }
  if (Ex >= Half || Ey >= Half) throw std::runtime_error(SetName + ": drawing larger than its canvas");
  const int Fw = 2 * (Ex + 1) + 1, Fh = 2 * (Ey + 1) + 1;
  for (int i = 0; i < Set.Count; ++i) {
    TSurfacePtr F = NewSurface(Fw, Fh);
    const TContextPtr Cr = NewContext(F);
    cairo_set_source_surface(Cr, Drawn[i], -(Half - Ex - 1), -(Half - Ey - 1));
    cairo_set_operator(Cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(Cr);
    AddPng(Out, ImageSetEntryName(Set.Name, Set.First + i), F);
  }
}

namespace {

// ---------------------------------------------------------------- players

// The first marker's outline pointing up: a round body with a pointed nose (the
// tangents from the nose tip meeting the body's circle) and a flattened back,
// so that the shape alone tells ahead from behind.
void RoundMarkerPath(cairo_t* Cr) {
  const double Cy = 0.3, R = 9.6, Tip = -10.6, Back = 7.0;
  const double D = Cy - Tip;                 // nose tip to body centre
  const double Phi = std::acos(R / D);       // tangent point seen from the centre
  const double A0 = -Pi / 2 + Phi, A1 = -Pi / 2 - Phi + Tau;
  const double B0 = std::asin(Back / R), B1 = Pi - B0;  // where the back cuts the circle
  cairo_move_to(Cr, 0, Tip);
  cairo_line_to(Cr, R * std::cos(A0), Cy + R * std::sin(A0));
  cairo_arc(Cr, 0, Cy, R, A0, B0);
  cairo_line_to(Cr, R * std::cos(B1), Cy + Back);
  cairo_arc(Cr, 0, Cy, R, B1, A1);
  cairo_close_path(Cr);
}

// The second marker's outline pointing up: a square with a swallowtail cut
// into its back, set forward of the centre. It shares no curve with the round
// marker, so the two players are told apart by shape where their colours look
// alike, and the notch, like the nose, tells ahead from behind.
void NotchedMarkerPath(cairo_t* Cr) {
  const double Half = 9.9, Front = -10.6, Back = 8.0, R = 1.6;
  const double NotchHalf = 6.0, NotchTip = 3.2;
  cairo_move_to(Cr, -Half + R, Front);
  cairo_arc(Cr, Half - R, Front + R, R, -Pi / 2, 0);
  cairo_line_to(Cr, Half, Back);
  cairo_line_to(Cr, NotchHalf, Back);
  cairo_line_to(Cr, 0, NotchTip);
  cairo_line_to(Cr, -NotchHalf, Back);
  cairo_line_to(Cr, -Half, Back);
  cairo_arc(Cr, -Half + R, Front + R, R, Pi, 3 * Pi / 2);
  cairo_close_path(Cr);
}

enum class TMarkerShape { Round, Notched };

// The player's marker facing up, turned to its direction: a light halo and a
// near-black outline around a saturated body, so it stands out on light and
// dark ground alike, and a white chevron pointing where it heads. The two
// players differ in outline as well as colour, so that they are told apart
// by those who see the two colours alike.
void PaintMarker(cairo_t* Cr, int Direction, TRgb Body, TMarkerShape Shape) {
  cairo_rotate(Cr, Direction * Pi / 2);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  if (Shape == TMarkerShape::Round)
    RoundMarkerPath(Cr);
  else
    NotchedMarkerPath(Cr);
  SetColor(Cr, Mix(Body, {1, 1, 1}, 0.82), 0.95);
  cairo_set_line_width(Cr, 5.4);
  cairo_stroke_preserve(Cr);
  SetColor(Cr, Mix(Tone(Body, 0.2), {0.02, 0.02, 0.04}, 0.6));
  cairo_set_line_width(Cr, 2.6);
  cairo_stroke_preserve(Cr);
  const TPatternPtr P(cairo_pattern_create_radial(-2.5, -2.5, 0.5, 0, 0.7, 9.5));
  Stop(P, 0, Tone(Body, 1.15));
  Stop(P, 0.5, Body);
  Stop(P, 1, Tone(Body, 0.62));
  cairo_set_source(Cr, P);
  cairo_fill(Cr);
  // The chevron: dark underlay, then white, so it shows on any body colour.
  // In the notched body it moves forward, clear of the notch.
  const double Shift = Shape == TMarkerShape::Notched ? -1.2 : 0;
  for (int Pass = 0; Pass < 2; ++Pass) {
    cairo_move_to(Cr, -4.1, 2.6 + Shift);
    cairo_line_to(Cr, 0, -3.6 + Shift);
    cairo_line_to(Cr, 4.1, 2.6 + Shift);
    if (Pass == 0)
      SetColor(Cr, Tone(Body, 0.3), 0.8);
    else
      SetColor(Cr, {1, 1, 1});
    cairo_set_line_width(Cr, Pass == 0 ? 3.4 : 2.0);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(Cr);
  }
}

// ------------------------------------------------------------- explosion

double Clamp01(double V) { return std::clamp(V, 0.0, 1.0); }

// A death must read on any ground, bright or dark: a white-hot core inside
// a fireball, ringed by dark smoke that outlasts the fire.
void PaintExplosion(cairo_t* Cr, double T, TRng Rng) {
  // Smoke: a ring of dark puffs, each with a lighter top, rising a little.
  const double SmokeAlpha = 0.92 * Clamp01(T * 5) * Clamp01((1.08 - T) * 2.2);
  for (int i = 0; i < 10; ++i) {
    const double A = i * Tau / 10 + 0.3 + Rng.Range(-0.15, 0.15);
    const double D = 10 + 10 * std::sqrt(T) + Rng.Range(-1.0, 1.0);
    const double R = 4.5 + 4 * std::sqrt(T);
    const double X = D * std::cos(A), Y = D * std::sin(A) - 2 * T;
    const TPatternPtr P(cairo_pattern_create_radial(X - R * 0.3, Y - R * 0.35, 0.5, X, Y, R));
    cairo_pattern_add_color_stop_rgba(P, 0, 0.36, 0.32, 0.3, SmokeAlpha);
    cairo_pattern_add_color_stop_rgba(P, 0.7, 0.13, 0.11, 0.1, SmokeAlpha);
    cairo_pattern_add_color_stop_rgba(P, 1, 0.08, 0.06, 0.06, SmokeAlpha * 0.85);
    Circle(Cr, X, Y, R);
    cairo_set_source(Cr, P);
    cairo_fill(Cr);
  }
  // Fireball: white at the centre, yellow, orange, a red rim; it swells and
  // then burns down from the outside in.
  const double Fr = 8 + 12 * std::sqrt(std::min(T, 0.5) * 2) - 7 * Clamp01((T - 0.5) * 2);
  const double Fa = Clamp01((1 - T) * 3.3);
  const double White = 0.22 + 0.28 * (1 - T);
  const TPatternPtr P(cairo_pattern_create_radial(0, 0, 0, 0, 0, Fr));
  cairo_pattern_add_color_stop_rgba(P, 0, 1, 1, 1, Fa);
  cairo_pattern_add_color_stop_rgba(P, White, 1, 1, 0.92, Fa);
  cairo_pattern_add_color_stop_rgba(P, White + 0.22, 1, 0.84, 0.2, Fa);
  cairo_pattern_add_color_stop_rgba(P, 0.84, 1, 0.38, 0.04, Fa);
  cairo_pattern_add_color_stop_rgba(P, 1, 0.62, 0.06, 0.02, Fa * 0.6);
  Circle(Cr, 0, 0, Fr);
  cairo_set_source(Cr, P);
  cairo_fill(Cr);
  // Shock ring in the first frames.
  if (T < 0.5) {
    Circle(Cr, 0, 0, 8 + 36 * T);
    cairo_set_source_rgba(Cr, 1, 1, 0.85, 1 - 2 * T);
    cairo_set_line_width(Cr, 2.6 * (1 - 2 * T) + 0.4);
    cairo_stroke(Cr);
  }
  // Sparks flying outwards, white-yellow with a dark edge; the first frame
  // is the flash alone.
  for (int i = 0; i < 14; ++i) {
    const double A = Rng.Range(0, Tau);
    const double Speed = Rng.Range(0.6, 1.0);
    if (T < 0.1) continue;
    const double D = 4 + 22 * std::pow(T, 0.6) * Speed;
    const double R = 1.8 * (1 - T) + 0.4;
    Circle(Cr, D * std::cos(A), D * std::sin(A), R);
    cairo_set_source_rgba(Cr, 1, 0.95, 0.6, 1 - T * T);
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0.35, 0.08, 0.0, 0.7 * (1 - T * T));
    cairo_set_line_width(Cr, 0.6);
    cairo_stroke(Cr);
  }
}

// ---------------------------------------------------------- small enemies

// First kind: a spiked mine that slowly turns and blinks, the one that dashes.
// Acid green on dark steel spikes, so it stands apart from the red-hot,
// blue and purple grounds it roams.
void PaintMine(cairo_t* Cr, double T) {
  const TRgb Body = Rgb(120, 225, 30);
  const double Turn = T * Tau / 8;
  StarPath(Cr, 0, 0, 8, 12.3, 6.5, Turn);
  SetColor(Cr, Rgb(30, 24, 16));
  cairo_fill(Cr);
  StarPath(Cr, 0, 0, 8, 11.2, 6.5, Turn);
  SetColor(Cr, Rgb(70, 78, 96));
  cairo_fill(Cr);
  Circle(Cr, 0, 0, 7.6);
  ShadedFill(Cr, 0, 0, 7.6, Body, 1.2);
  Gloss(Cr, 0, 0, 7.6, 0.7);
  const double Blink = 0.5 + 0.5 * std::cos(T * Tau);
  Eye(Cr, -2.9, 0.6, 2.6, 0.3, 0.3, 0.5, false, Mix(Rgb(110, 0, 0), Rgb(255, 30, 0), Blink));
  Eye(Cr, 2.9, 0.6, 2.6, -0.3, 0.3, 0.5, true, Mix(Rgb(110, 0, 0), Rgb(255, 30, 0), Blink));
}

// Second kind: a nervous hornet with buzzing wings, in a cold blue that no
// honey or amber ground can swallow.
void PaintWasp(cairo_t* Cr, double /*T*/, int Frame) {
  cairo_scale(Cr, 0.9, 0.9);
  const double Bob = (Frame % 2 == 0) ? -0.4 : 0.4;
  cairo_translate(Cr, 0, Bob);
  // Wings: two beats per pair of frames.
  const double Spread = (Frame % 2 == 0) ? 0.55 : 1.15;
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_save(Cr);
    cairo_translate(Cr, Side * 2.5, -3.5);
    cairo_rotate(Cr, Side * Spread);
    Ellipse(Cr, Side * 0.0, -5.2, 3.2, 5.6);
    cairo_set_source_rgba(Cr, 0.86, 0.94, 1.0, 0.78);
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0.2, 0.25, 0.35, 0.9);
    cairo_set_line_width(Cr, 0.8);
    cairo_stroke(Cr);
    cairo_restore(Cr);
  }
  // Striped abdomen.
  cairo_save(Cr);
  Ellipse(Cr, 0, 4.0, 5.0, 6.8);
  cairo_clip_preserve(Cr);
  BodyGradient(Cr, 0, 4, 6.5, Rgb(40, 130, 255));
  cairo_fill(Cr);
  for (int i = 0; i < 3; ++i) {
    cairo_rectangle(Cr, -6, 1.3 + i * 3.2, 12, 1.5);
    cairo_set_source_rgba(Cr, 0.1, 0.08, 0.05, 0.95);
    cairo_fill(Cr);
  }
  cairo_restore(Cr);
  Ellipse(Cr, 0, 4.0, 5.0, 6.8);
  SetColor(Cr, Rgb(6, 10, 34));
  cairo_set_line_width(Cr, 1.1);
  cairo_stroke(Cr);
  // Sting.
  cairo_move_to(Cr, -1.2, 10.4);
  cairo_line_to(Cr, 0, 12.2);
  cairo_line_to(Cr, 1.2, 10.4);
  SetColor(Cr, Rgb(6, 10, 34));
  cairo_fill(Cr);
  // Head with big red eyes.
  Circle(Cr, 0, -4.3, 4.2);
  ShadedFill(Cr, 0, -4.3, 4.2, Rgb(30, 40, 90), 1.0);
  for (int Side = -1; Side <= 1; Side += 2) {
    Ellipse(Cr, Side * 2.2, -5.0, 1.8, 2.3);
    BodyGradient(Cr, Side * 2.2, -5.0, 2.3, Rgb(230, 30, 30));
    cairo_fill(Cr);
    Circle(Cr, Side * 2.2 - 0.6, -5.8, 0.6);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.9);
    cairo_fill(Cr);
  }
}

// Third kind: a drifting ghost with a rippling hem.
void PaintGhost(cairo_t* Cr, double T) {
  const double Bob = std::sin(T * Tau) * 1.0;
  cairo_translate(Cr, 0, Bob);
  const double Top = -9.0, Hem = 8.0, Rx = 8.2;
  cairo_move_to(Cr, -Rx, Hem - 3);
  cairo_line_to(Cr, -Rx, Top + Rx);
  cairo_arc(Cr, 0, Top + Rx, Rx, Pi, 2 * Pi);
  cairo_line_to(Cr, Rx, Hem - 3);
  // Four scallops that ripple from one side to the other.
  const int N = 4;
  for (int i = 0; i < N; ++i) {
    const double X0 = Rx - i * 2 * Rx / N, X1 = Rx - (i + 1) * 2 * Rx / N;
    const double Wave = std::sin(T * Tau + i * Pi / 2) * 1.2;
    cairo_curve_to(Cr, X0, Hem + 1.5 + Wave, X1, Hem + 1.5 - Wave, X1, Hem - 3);
  }
  cairo_close_path(Cr);
  const TPatternPtr P(cairo_pattern_create_radial(-3, -5, 1, 0, -1, 12));
  Stop(P, 0, Rgb(255, 255, 255));
  Stop(P, 0.5, Rgb(214, 200, 250));
  Stop(P, 1, Rgb(140, 120, 200));
  cairo_set_source(Cr, P);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(50, 30, 90));
  cairo_set_line_width(Cr, 1.2);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(Cr);
  // Hollow eyes and a wailing mouth.
  const double Look = std::sin(T * Tau) * 0.6;
  for (int Side = -1; Side <= 1; Side += 2) {
    Ellipse(Cr, Side * 3.0 + Look, -3.2, 1.7, 2.5);
    SetColor(Cr, Rgb(30, 14, 60));
    cairo_fill(Cr);
    Circle(Cr, Side * 3.0 + Look - 0.5, -4.0, 0.6);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.85);
    cairo_fill(Cr);
  }
  Ellipse(Cr, Look, 2.0, 1.5, 1.4 + 0.6 * (0.5 + 0.5 * std::sin(T * Tau * 2)));
  SetColor(Cr, Rgb(30, 14, 60));
  cairo_fill(Cr);
}

// ------------------------------------------------------------------ items

void HeartPath(cairo_t* Cr, double Scale) {
  for (int i = 0; i <= 64; ++i) {
    const double U = i * Tau / 64;
    const double X = 16 * std::pow(std::sin(U), 3);
    const double Y = -(13 * std::cos(U) - 5 * std::cos(2 * U) - 2 * std::cos(3 * U) - std::cos(4 * U));
    if (i == 0)
      cairo_move_to(Cr, X * Scale, Y * Scale);
    else
      cairo_line_to(Cr, X * Scale, Y * Scale);
  }
  cairo_close_path(Cr);
}

void PaintHeart(cairo_t* Cr, double T) {
  // Lub-dub: two beats close together, then a rest.
  auto Bump = [](double X, double C) { return std::exp(-((X - C) / 0.07) * ((X - C) / 0.07)); };
  const double Beat = Bump(T, 0.12) + 0.6 * Bump(T, 0.34);
  const double S = 0.6 * (1 + 0.14 * Beat);
  cairo_translate(Cr, 0, 0.8);
  HeartPath(Cr, S);
  ShadedFill(Cr, 0, -1, 10.5, Rgb(228, 28, 58), 1.4);
  Gloss(Cr, -1, -2, 10, 0.85);
  // A small shine on the right lobe.
  Circle(Cr, 4.8 * S / 0.6, -4.6 * S / 0.6, 1.1);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.7);
  cairo_fill(Cr);
}

void BoltPath(cairo_t* Cr) {
  cairo_move_to(Cr, 2.2, -8.6);
  cairo_line_to(Cr, -4.6, 1.0);
  cairo_line_to(Cr, -0.6, 1.0);
  cairo_line_to(Cr, -2.4, 8.8);
  cairo_line_to(Cr, 4.8, -1.6);
  cairo_line_to(Cr, 0.8, -1.6);
  cairo_close_path(Cr);
}

void PaintSpeed(cairo_t* Cr, double T) {
  const double R = 11.3;
  Circle(Cr, 0, 0, R);
  ShadedFill(Cr, 0, 0, R, Rgb(30, 128, 235), 1.4);
  // Inner ring.
  Circle(Cr, 0, 0, R - 2.4);
  cairo_set_source_rgba(Cr, 0.75, 0.9, 1, 0.55);
  cairo_set_line_width(Cr, 0.9);
  cairo_stroke(Cr);
  // Shine bands sweeping across the disc, one entering as the last leaves,
  // so the loop has no still stretch and runs on from its last frame to its
  // first.
  cairo_save(Cr);
  Circle(Cr, 0, 0, R - 0.8);
  cairo_clip(Cr);
  constexpr double Spacing = 20;  // between bands, along each axis
  const double Sweep = Spacing * (T - 0.5);
  const TPatternPtr P(cairo_pattern_create_linear(Sweep - Spacing / 2, Sweep - Spacing / 2, Sweep + Spacing / 2,
                                                  Sweep + Spacing / 2));
  const double Band = 5 / Spacing;
  cairo_pattern_add_color_stop_rgba(P, 0, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(P, 0.5 - Band, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(P, 0.5, 1, 1, 1, 0.5);
  cairo_pattern_add_color_stop_rgba(P, 0.5 + Band, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(P, 1, 1, 1, 1, 0);
  cairo_pattern_set_extend(P, CAIRO_EXTEND_REPEAT);
  cairo_set_source(Cr, P);
  cairo_paint(Cr);
  cairo_restore(Cr);
  // Lightning bolt, flickering brighter twice a cycle.
  const double Flick = 0.5 + 0.5 * std::cos(T * Tau * 2);
  cairo_save(Cr);
  cairo_translate(Cr, 0.3, 0.2);
  BoltPath(Cr);
  const TPatternPtr B(cairo_pattern_create_linear(-4, -8, 4, 8));
  Stop(B, 0, Mix(Rgb(255, 250, 200), Rgb(255, 255, 255), Flick));
  Stop(B, 1, Mix(Rgb(255, 190, 0), Rgb(255, 230, 60), Flick));
  cairo_set_source(Cr, B);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(70, 40, 0));
  cairo_set_line_width(Cr, 1.1);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(Cr);
  cairo_restore(Cr);
  Gloss(Cr, 0, 0, R, 0.5);
}

struct TMetal {
  TRgb Face, Edge, Mark;
  bool Enamel = false;  // the face's middle filled with blue enamel
  TRgb EnamelColour = {0, 0, 0};
};

void DollarSign(cairo_t* Cr, TRgb Mark, double Size) {
  cairo_set_font_face(Cr, DejaVuFace(TFontStyle::SansBold));
  cairo_set_font_size(Cr, Size);
  cairo_text_extents_t E;
  cairo_text_extents(Cr, "$", &E);
  cairo_move_to(Cr, -E.x_bearing - E.width / 2, -E.y_bearing - E.height / 2);
  cairo_text_path(Cr, "$");
  SetColor(Cr, Mark);
  cairo_fill(Cr);
}

// A coin that faces the player for a third of its cycle and then turns once
// about its upright axis in even steps, small enough (22.5 degrees a frame
// with 24 frames) that the turn reads as a spin, not a flicker. The face shows
// a dollar sign, the metal tells the value (bronze, silver, gold). A dark
// ring and a light one around the coin make it read on grounds of its own
// colour (bronze and gold on honey); the coin is small enough that the
// picture, whose box is what a marker collects, keeps its size.
void PaintCoin(cairo_t* Cr, double T, const TMetal& M, int Rims, bool Sparkle) {
  const double R = 9.4, Thick = 2.4;
  const double FaceShare = 1.0 / 3;
  const double Theta = T < FaceShare ? 0 : (T - FaceShare) / (1 - FaceShare) * Tau;
  const double C = std::cos(Theta), S = std::sin(Theta);
  const double Rx = std::max(0.01, R * std::fabs(C));
  const double Shift = Thick * S / 2;
  auto Band = [&] {
    Ellipse(Cr, -Shift, 0, Rx, R);
    cairo_rectangle(Cr, -std::fabs(Shift), -R, 2 * std::fabs(Shift), 2 * R);
    Ellipse(Cr, Shift, 0, Rx, R);
  };
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  Band();
  SetColor(Cr, Rgb(225, 240, 255), 0.95);
  cairo_set_line_width(Cr, 4.0);
  cairo_stroke(Cr);
  Band();
  SetColor(Cr, Rgb(40, 20, 0));
  cairo_set_line_width(Cr, 2.4);
  cairo_stroke(Cr);
  // Edge band.
  if (std::fabs(S) > 0.01) {
    Ellipse(Cr, -Shift, 0, Rx, R);
    cairo_rectangle(Cr, -std::fabs(Shift), -R, 2 * std::fabs(Shift), 2 * R);
    Ellipse(Cr, Shift, 0, Rx, R);
    cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
    SetColor(Cr, M.Edge);
    cairo_fill_preserve(Cr);
    SetColor(Cr, OutlineOf(M.Edge));
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
  }
  // Face.
  cairo_save(Cr);
  cairo_translate(Cr, Shift, 0);
  Ellipse(Cr, 0, 0, Rx, R);
  BodyGradient(Cr, 0, 0, R, M.Face);
  cairo_fill_preserve(Cr);
  SetColor(Cr, OutlineOf(M.Face));
  cairo_set_line_width(Cr, 1.3);
  cairo_stroke(Cr);
  if (std::fabs(C) > 0.2) {
    cairo_scale(Cr, std::fabs(C), 1);
    if (M.Enamel) {
      Circle(Cr, 0, 0, R - 1.7);
      BodyGradient(Cr, 0, 0, R - 1.7, M.EnamelColour);
      cairo_fill(Cr);
    }
    for (int i = 0; i < Rims; ++i) {
      Circle(Cr, 0, 0, R - 2.4 - i * 1.6);
      SetColor(Cr, Tone(M.Face, 0.7), 0.8);
      cairo_set_line_width(Cr, 0.8);
      cairo_stroke(Cr);
    }
    DollarSign(Cr, M.Mark, 14);
  }
  cairo_restore(Cr);
  if (std::fabs(C) > 0.2) Gloss(Cr, Shift, 0, Rx, 0.6);
  if (Sparkle) {
    // Two twinkles that come and go at different moments.
    const double Tw[2][3] = {{-8.5, -8.0, 0.0}, {8.5, 7.5, 0.5}};
    for (const auto& W : Tw) {
      const double Ph = std::fmod(T + W[2], 1.0);
      const double Size = std::max(0.0, std::sin(Ph * Pi)) * 3.2;
      if (Size < 0.3) continue;
      StarPath(Cr, W[0], W[1], 4, Size, Size * 0.25, 0);
      cairo_set_source_rgba(Cr, 1, 1, 0.85, 1);
      cairo_fill(Cr);
    }
  }
}

}  // namespace

void AddPlayers(std::vector<TPakEntry>& Out) {
  // Odd sizes put the trail pixel under the marker in the picture's centre.
  // Hot pink and aquamarine: far apart from each other, and in the gaps
  // between the hues the level pictures are dominated by.
  AddImageSet(Out, "player01", 29, 29, [](cairo_t* Cr, double, int Frame) {
    PaintMarker(Cr, Frame, Rgb(255, 0, 175), TMarkerShape::Round);
  });
  AddImageSet(Out, "player02", 29, 29, [](cairo_t* Cr, double, int Frame) {
    PaintMarker(Cr, Frame, Rgb(0, 205, 160), TMarkerShape::Notched);
  });
}

void AddExplosion(std::vector<TPakEntry>& Out) {
  AddImageSet(Out, "explo01", 61, 61, [](cairo_t* Cr, double, int Frame) {
    const int Count = ManifestImageSet("explo01").Count;
    PaintExplosion(Cr, (Frame + 0.6) / Count, TRng(77));
  });
}

void AddSmallEnemies(std::vector<TPakEntry>& Out) {
  AddImageSet(Out, "small_evil01", 27, 27, [](cairo_t* Cr, double T, int) { PaintMine(Cr, T); });
  AddImageSet(Out, "small_evil02", 25, 25, [](cairo_t* Cr, double T, int F) { PaintWasp(Cr, T, F); });
  AddImageSet(Out, "small_evil03", 25, 25, [](cairo_t* Cr, double T, int) { PaintGhost(Cr, T); });
}

void AddItems(std::vector<TPakEntry>& Out) {
  AddImageSet(Out, "item_speed", 27, 27, [](cairo_t* Cr, double T, int) { PaintSpeed(Cr, T); });
  const TMetal Bronze{Rgb(206, 122, 58), Rgb(140, 74, 32), Rgb(120, 58, 20)};
  const TMetal Silver{Rgb(214, 220, 232), Rgb(140, 146, 160), Rgb(80, 90, 110)};
  // The richest coin has a blue enamel middle under a gold sign: gold alone
  // is the colour of the honey it may lie on.
  const TMetal Gold{Rgb(255, 204, 40), Rgb(200, 130, 10), Rgb(255, 214, 60), true, Rgb(30, 70, 210)};
  AddImageSet(Out, "item_dollar01", 27, 27, [&](cairo_t* Cr, double T, int) { PaintCoin(Cr, T, Bronze, 1, false); });
  AddImageSet(Out, "item_dollar02", 27, 27, [&](cairo_t* Cr, double T, int) { PaintCoin(Cr, T, Silver, 2, false); });
  AddImageSet(Out, "item_dollar03", 27, 27, [&](cairo_t* Cr, double T, int) { PaintCoin(Cr, T, Gold, 2, true); });
  AddImageSet(Out, "item_heart", 27, 27, [](cairo_t* Cr, double T, int) { PaintHeart(Cr, T); });
}

}  // namespace sprites

void GenerateSprites(std::vector<TPakEntry>& Out, const std::string& /*PreviewDir*/) {
  sprites::AddPlayers(Out);
  sprites::AddExplosion(Out);
  sprites::AddBigEnemies(Out);
  sprites::AddSmallEnemies(Out);
  sprites::AddItems(Out);
}
