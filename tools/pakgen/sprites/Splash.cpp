// The start-up logo: 50 frames of 320 x 240 shown at 40 ms each. A spark
// sweeps in and kindles the letters of "VYRN" one after another, the
// subtitle rises beneath, and a glint runs over the finished logo, which the
// last frame holds while the game fades it out.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "kit/Canvas.h"
#include "Manifest.h"
#include "SpriteParts.h"

using namespace kit;

namespace sprites {
namespace {

constexpr int W = 320;
constexpr int H = 240;
constexpr int Frames = 50;

constexpr double TitleSize = 84;
constexpr double TitleBase = 132;  // baseline of "VYRN"
const char* const Title = "VYRN";
const char* const Subtitle = "REKINDLED";

double EaseOut(double T) {
  T = std::clamp(T, 0.0, 1.0);
  return 1 - (1 - T) * (1 - T) * (1 - T);
}

struct TLetter {
  std::string Text;
  double X;       // left of the glyph's advance box
  double Centre;  // horizontal middle of its ink
};

std::vector<TLetter> LayOut(cairo_t* Cr, const char* Text, double Size, double Spacing, double Centre) {
  cairo_set_font_size(Cr, Size);
  std::vector<TLetter> L;
  double Total = 0;
  for (const char* P = Text; *P; ++P) {
    const std::string S(1, *P);
    cairo_text_extents_t E;
    cairo_text_extents(Cr, S.c_str(), &E);
    L.push_back({S, Total, Total + E.x_bearing + E.width / 2});
    Total += E.x_advance + Spacing;
  }
  Total -= Spacing;
  for (TLetter& T : L) {
    T.X += Centre - Total / 2;
    T.Centre += Centre - Total / 2;
  }
  return L;
}

// The spark's path: in from the lower left, a loop, then to the first letter.
std::array<double, 2> SparkAt(double T) {
  const double X = -20 + 110 * T + 30 * std::sin(T * Pi * 1.5);
  const double Y = 215 - 150 * T + 40 * std::sin(T * Pi) * (1 - T);
  return {X, Y};
}

double Ignite(int Frame, int Letter) { return (Frame - (13 + 4 * Letter)) / 6.0; }  // 0..1 while kindling

void FireGradient(cairo_t* Cr, double Heat) {
  // Heat 1: white hot; 0: settled fire colours.
  const TPatternPtr P(cairo_pattern_create_linear(0, TitleBase - TitleSize * 0.75, 0, TitleBase + 4));
  Stop(P, 0, Mix(Rgb(255, 244, 170), Rgb(255, 255, 255), Heat));
  Stop(P, 0.45, Mix(Rgb(255, 170, 40), Rgb(255, 250, 220), Heat));
  Stop(P, 1, Mix(Rgb(210, 40, 20), Rgb(255, 200, 120), Heat));
  cairo_set_source(Cr, P);
}

void DrawTitleLetters(cairo_t* Cr, const std::vector<TLetter>& Letters, int Frame, bool ForGlow) {
  cairo_set_font_face(Cr, DejaVuFace(TFontStyle::SerifBold));
  cairo_set_font_size(Cr, TitleSize);
  for (std::size_t i = 0; i < Letters.size(); ++i) {
    const double K = Ignite(Frame, static_cast<int>(i));
    if (K < 0) continue;
    const double Scale = 1.0 + 0.3 * (1 - EaseOut(K));
    const double Heat = 1 - EaseOut(K);
    cairo_save(Cr);
    cairo_translate(Cr, Letters[i].Centre, TitleBase - TitleSize * 0.35);
    cairo_scale(Cr, Scale, Scale);
    cairo_translate(Cr, -Letters[i].Centre, -(TitleBase - TitleSize * 0.35));
    cairo_move_to(Cr, Letters[i].X, TitleBase);
    cairo_text_path(Cr, Letters[i].Text.c_str());
    if (ForGlow) {
      cairo_set_source_rgba(Cr, 1, 0.45 + 0.4 * Heat, 0.1 + 0.5 * Heat, std::min(1.0, 0.75 + Heat));
      cairo_fill(Cr);
    } else {
      FireGradient(Cr, Heat);
      cairo_fill_preserve(Cr);
      cairo_set_source_rgba(Cr, 0.35, 0.06, 0.02, std::min(1.0, K * 2));
      cairo_set_line_width(Cr, 1.6);
      cairo_stroke(Cr);
    }
    cairo_restore(Cr);
  }
}

TSurfacePtr DrawFrame(int Frame) {
  const double T = Frame / static_cast<double>(Frames - 1);
  // Dark backdrop with slowly drifting smoke.
  TSurfacePtr S = ShadeSurface(W, H, [&](double X, double Y) {
    const double Dx = (X - W / 2.0) / W, Dy = (Y - H * 0.48) / H;
    const double Vig = std::exp(-(Dx * Dx + Dy * Dy) * 5);
    const double Smoke = Fbm(X / 60 + T * 0.8, (Y + T * 40) / 45, 171, 4);
    TRgb C = Mix(Rgb(4, 3, 8), Rgb(36, 22, 30), Vig);
    return Mix(C, Rgb(70, 40, 40), SmoothStep(0.5, 0.8, Smoke) * 0.5 * Vig);
  });
  const TContextPtr Probe = NewContext(S);
  cairo_set_font_face(Probe, DejaVuFace(TFontStyle::SerifBold));
  const std::vector<TLetter> Letters = LayOut(Probe, Title, TitleSize, 2, W / 2.0);
  cairo_set_font_face(Probe, DejaVuFace(TFontStyle::SansBold));
  const std::vector<TLetter> Sub = LayOut(Probe, Subtitle, 17, 6, W / 2.0);

  const double SparkT = std::clamp(Frame / 13.0, 0.0, 1.0);
  const bool SparkFlying = Frame <= 13;
  const double Lit = std::clamp((Frame - 13) / 20.0, 0.0, 1.0);  // how much of the title burns

  // Warm light under the title once it burns.
  AddGlow(S, 26, 0.9, [&](cairo_t* G) {
    if (Lit <= 0) return;
    Ellipse(G, W / 2.0, TitleBase - 30, 120, 40);
    cairo_set_source_rgba(G, 0.8, 0.3, 0.05, 0.55 * Lit);
    cairo_fill(G);
  });
  // Embers rising all the time.
  const TContextPtr Cr = NewContext(S);
  TRng Rng(1717);
  for (int i = 0; i < 60; ++i) {
    const double X0 = Rng.Range(0, W), Y0 = Rng.Range(0, H + 40), V = Rng.Range(1.5, 4.5), Sway = Rng.Range(0, Tau);
    const double Y = std::fmod(Y0 - Frame * V + 10 * (H + 40), H + 40) - 10;
    const double X = X0 + 6 * std::sin(Y / 25 + Sway);
    const double A = Rng.Range(0.3, 0.9) * SmoothStep(0, 80, Y) * (0.4 + 0.6 * Lit);
    Circle(Cr, X, Y, Rng.Range(0.6, 1.6));
    cairo_set_source_rgba(Cr, 1, Rng.Range(0.45, 0.8), 0.15, A);
    cairo_fill(Cr);
  }

  // The spark and its trail.
  if (SparkFlying) {
    AddGlow(S, 8, 1.0, [&](cairo_t* G) {
      for (int k = 0; k < 14; ++k) {
        const double Tk = SparkT - k * 0.03;
        if (Tk < 0) break;
        const auto P = SparkAt(Tk);
        Circle(G, P[0], P[1], 5 - k * 0.3);
        cairo_set_source_rgba(G, 1, 0.6, 0.15, 1 - k / 14.0);
        cairo_fill(G);
      }
    });
    const TContextPtr C2 = NewContext(S);
    const auto P = SparkAt(SparkT);
    for (int k = 1; k < 12; ++k) {
      const double Tk = SparkT - k * 0.02;
      if (Tk < 0) break;
      const auto Q = SparkAt(Tk);
      Circle(C2, Q[0], Q[1], 2.2 - k * 0.15);
      cairo_set_source_rgba(C2, 1, 0.8, 0.4, 0.8 - k * 0.06);
      cairo_fill(C2);
    }
    StarPath(C2, P[0], P[1], 4, 9, 1.6, Frame * 0.4);
    cairo_set_source_rgb(C2, 1, 0.95, 0.8);
    cairo_fill(C2);
    Circle(C2, P[0], P[1], 2.6);
    cairo_set_source_rgb(C2, 1, 1, 1);
    cairo_fill(C2);
  }

  // Title glow, then the letters themselves.
  AddGlow(S, 10, 1.0, [&](cairo_t* G) { DrawTitleLetters(G, Letters, Frame, true); });
  const TContextPtr C3 = NewContext(S);
  DrawTitleLetters(C3, Letters, Frame, false);

  // A glint sweeping across the finished title.
  const double Sweep = (Frame - 36) / 10.0;
  if (Sweep > 0 && Sweep < 1) {
    cairo_save(C3);
    cairo_set_font_face(C3, DejaVuFace(TFontStyle::SerifBold));
    cairo_set_font_size(C3, TitleSize);
    for (const TLetter& L : Letters) {
      cairo_move_to(C3, L.X, TitleBase);
      cairo_text_path(C3, L.Text.c_str());
    }
    cairo_clip(C3);
    const double Gx = 40 + Sweep * 260;
    const TPatternPtr P(cairo_pattern_create_linear(Gx - 22, 0, Gx + 22, 30));
    cairo_pattern_add_color_stop_rgba(P, 0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(P, 0.5, 1, 1, 0.9, 0.85);
    cairo_pattern_add_color_stop_rgba(P, 1, 1, 1, 1, 0);
    cairo_set_source(C3, P);
    cairo_paint(C3);
    cairo_restore(C3);
  }

  // A flame-coloured rule drawn from the middle outwards.
  const double Rule = EaseOut((Frame - 26) / 10.0);
  if (Rule > 0) {
    const double Half = 112 * Rule;
    const TPatternPtr P(cairo_pattern_create_linear(W / 2.0 - Half, 0, W / 2.0 + Half, 0));
    cairo_pattern_add_color_stop_rgba(P, 0, 1, 0.4, 0.05, 0);
    cairo_pattern_add_color_stop_rgba(P, 0.5, 1, 0.85, 0.4, 1);
    cairo_pattern_add_color_stop_rgba(P, 1, 1, 0.4, 0.05, 0);
    cairo_rectangle(C3, W / 2.0 - Half, TitleBase + 12, 2 * Half, 2);
    cairo_set_source(C3, P);
    cairo_fill(C3);
  }

  // The subtitle rises into place, letter by letter.
  cairo_set_font_face(C3, DejaVuFace(TFontStyle::SansBold));
  cairo_set_font_size(C3, 17);
  for (std::size_t i = 0; i < Sub.size(); ++i) {
    const double K = EaseOut((Frame - 28 - static_cast<int>(i) * 0.8) / 7.0);
    if (K <= 0) continue;
    cairo_move_to(C3, Sub[i].X, TitleBase + 42 + 8 * (1 - K));
    cairo_text_path(C3, Sub[i].Text.c_str());
    cairo_set_source_rgba(C3, 1, 0.9, 0.72, K);
    cairo_fill(C3);
  }
  Finish(S, 1800 + static_cast<std::uint32_t>(Frame), 0.1, 0.012);
  // The logo sits in the middle of a black screen: backdrop and grain sink
  // to pure black towards the border, so no box shows around the picture.
  PostProcess(S, [](int X, int Y, TRgb C) {
    const double Edge = std::min({X + 0.5, W - X - 0.5, Y + 0.5, H - Y - 0.5});
    const double K = SmoothStep(2, 40, Edge);
    return TRgb{C.R * K, C.G * K, C.B * K};
  });
  return S;
}

}  // namespace

void AddSplash(std::vector<TPakEntry>& Out) {
  for (int f = 0; f < Frames; ++f) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "Quillon2_%02d.jpg", f + 1);
    AddJpeg(Out, Name, DrawFrame(f));
  }
}

}  // namespace sprites
