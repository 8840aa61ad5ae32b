// The level pictures: one look per theme, two variations each and one for the
// end. The game shows the free field at full brightness and claimed land
// darkened, with a cloudy shade over both, so the pictures are bright and
// detailed: claiming uncovers something worth seeing. Their own light and dark
// patches stay smaller than that darkening, so claimed land reads as claimed,
// and nothing in them looks like an edge of the board or an actor.
#include <algorithm>
#include <array>
#include <cmath>

#include "kit/Canvas.h"
#include "Generators.h"
#include "kit/DrawKit.h"
#include "SpriteParts.h"

using namespace kit;

namespace sprites {
namespace {

constexpr int W = 600;
constexpr int H = 550;

void Line(cairo_t* Cr, double X0, double Y0, double X1, double Y1) {
  cairo_move_to(Cr, X0, Y0);
  cairo_line_to(Cr, X1, Y1);
}

// Scattered stars: many faint points, some soft discs, a few with spikes.
void Stars(cairo_surface_t* S, std::uint32_t Seed, int Count, double Bright) {
  TRng Rng(Seed);
  const TContextPtr Cr = NewContext(S);
  for (int i = 0; i < Count; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, H);
    const double M = Rng.Real();
    const double R = M < 0.85 ? Rng.Range(0.4, 0.9) : Rng.Range(0.9, 1.7);
    const double A = Bright * Rng.Range(0.35, 1.0);
    const TRgb C = Mix(Rgb(255, 255, 255), Rng.Real() < 0.5 ? Rgb(170, 200, 255) : Rgb(255, 220, 170), Rng.Range(0, 0.6));
    Circle(Cr, X, Y, R);
    SetColor(Cr, C, A);
    cairo_fill(Cr);
  }
  AddGlow(S, 6, 1.0, [&](cairo_t* G) {
    TRng R2(Seed + 1);
    for (int i = 0; i < Count / 60 + 3; ++i) {
      const double X = R2.Range(10, W - 10), Y = R2.Range(10, H - 10), L = R2.Range(6, 16);
      Circle(G, X, Y, 2.2);
      cairo_set_source_rgba(G, 1, 1, 1, 1);
      cairo_fill(G);
      Line(G, X - L, Y, X + L, Y);
      Line(G, X, Y - L, X, Y + L);
      cairo_set_source_rgba(G, 0.8, 0.9, 1, 0.9);
      cairo_set_line_width(G, 1.2);
      cairo_stroke(G);
    }
  });
  // Crisp centres for the spiked stars after the glow.
  const TContextPtr C2 = NewContext(S);
  TRng R3(Seed + 1);
  for (int i = 0; i < Count / 60 + 3; ++i) {
    const double X = R3.Range(10, W - 10), Y = R3.Range(10, H - 10), L = R3.Range(6, 16);
    Line(C2, X - L * 0.6, Y, X + L * 0.6, Y);
    Line(C2, X, Y - L * 0.6, X, Y + L * 0.6);
    cairo_set_source_rgba(C2, 1, 1, 1, 0.8);
    cairo_set_line_width(C2, 0.8);
    cairo_stroke(C2);
    Circle(C2, X, Y, 1.4);
    cairo_set_source_rgb(C2, 1, 1, 1);
    cairo_fill(C2);
  }
}

// Evens out a picture's large-scale light so that the board's darkening of
// claimed ground is larger than the picture's own light and dark patches:
// the luminance averaged over about Radius pixels is pulled towards the
// picture's mean (Keep of its distance is kept) by scaling each pixel with
// its neighbourhood, which leaves fine detail in place; then the mid-tones
// are lifted (every channel to the power Gamma, below 1).
void EvenOut(cairo_surface_t* S, int Radius, double Keep, double Gamma) {
  std::vector<float> Luma;
  Luma.reserve(static_cast<std::size_t>(W) * H);
  PostProcess(S, [&](int, int, TRgb C) {
    Luma.push_back(static_cast<float>(0.2126 * C.R + 0.7152 * C.G + 0.0722 * C.B));
    return C;
  });
  double Mean = 0;
  for (float L : Luma) Mean += L;
  Mean /= static_cast<double>(Luma.size());
  BlurChannel(Luma, W, H, Radius);
  PostProcess(S, [&](int X, int Y, TRgb C) {
    const double Local = std::max(1e-3, static_cast<double>(Luma[static_cast<std::size_t>(Y) * W + X]));
    const double F = std::clamp((Mean + Keep * (Local - Mean)) / Local, 0.75, 3.0);
    auto Channel = [&](double V) { return std::pow(std::clamp(V * F, 0.0, 1.0), Gamma); };
    return TRgb{Channel(C.R), Channel(C.G), Channel(C.B)};
  });
}

// A sphere lit from the upper left whose surface colour comes from Surface(u, v)
// with (u, v) the point on the disc in [-1, 1].
void Planet(cairo_surface_t* S, double Cx, double Cy, double R, const std::function<TRgb(double, double)>& Surface,
            TRgb Atmosphere, bool FullMoon = false) {
  PostProcess(S, [&](int X, int Y, TRgb C) {
    const double U = (X + 0.5 - Cx) / R, V = (Y + 0.5 - Cy) / R;
    const double D2 = U * U + V * V;
    if (D2 > 1.35) return C;
    const double D = std::sqrt(D2);
    // Thin atmosphere glow outside the rim. The limb's anti-aliasing blends
    // into this glow, not into the bare sky behind it, or the edge pixels
    // form a dotted dark ring.
    const double Dg = std::max(D, 1.0);
    const double G = std::pow(std::max(0.0, 1 - (Dg - 1) / 0.16), 2) * 0.8;
    const TRgb Glow = Mix(C, Atmosphere, G * std::clamp(0.55 - 0.5 * (U + V) / std::max(D, 1e-9), 0.0, 1.0) + G * 0.2);
    if (D > 1 + 0.5 / R) return Glow;
    const double Z = std::sqrt(std::max(0.0, 1 - D2));
    const double Light =
        FullMoon ? 0.72 + 0.28 * Z : std::clamp(-0.55 * U - 0.6 * V + 0.58 * Z, 0.0, 1.0);
    TRgb P = Surface(U, V);
    P = Tone(P, 0.12 + 1.05 * Light);
    // Rim of atmosphere.
    P = Mix(P, Atmosphere, std::pow(std::min(D, 1.0), 6) * 0.6 * (0.3 + Light));
    const double Edge = std::clamp((1 - D) * R + 0.5, 0.0, 1.0);  // anti-aliased limb
    return Mix(Glow, P, Edge);
  });
}

// ----------------------------------------------------------------- simple

TSurfacePtr SimpleTiles() {
  // The grout is a muted mid-tone: light lines between the tiles would read
  // as the board's edges.
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    return Mix(Rgb(176, 166, 156), Rgb(150, 142, 136), (X + Y) / (W + H));
  });
  const TContextPtr Cr = NewContext(S);
  // A cyclic palette: the hue field wraps round it in soft bands.
  const std::vector<TStop> Palette = {{0.0, Rgb(70, 178, 196)},  {0.2, Rgb(120, 214, 170)}, {0.4, Rgb(246, 212, 102)},
                                      {0.6, Rgb(244, 146, 120)}, {0.8, Rgb(170, 148, 226)}, {1.0, Rgb(70, 178, 196)}};
  TRng Rng(101);
  const double Size = 30, Gap = 2;
  for (int j = 0; j * Size < H; ++j)
    for (int i = 0; i * Size < W; ++i) {
      const double X = i * Size + Gap / 2, Y = j * Size + Gap / 2, S2 = Size - Gap;
      const double Hue = std::fmod(Fbm(i * 0.08, j * 0.08, 7, 3) * 3.2 + (i + j) * 0.012, 1.0);
      const TRgb Base = Tone(Ramp(Palette, Hue), Rng.Range(0.9, 1.08));
      RoundedRect(Cr, X, Y, S2, S2, 4);
      const TPatternPtr P(cairo_pattern_create_linear(X, Y, X + S2, Y + S2));
      Stop(P, 0, Tone(Base, 1.3));
      Stop(P, 0.55, Base);
      Stop(P, 1, Tone(Base, 0.78));
      cairo_set_source(Cr, P);
      cairo_fill(Cr);
      // Bevel: light top-left edge, dark bottom-right edge.
      cairo_move_to(Cr, X + 1.5, Y + S2 - 3);
      cairo_line_to(Cr, X + 1.5, Y + 1.5);
      cairo_line_to(Cr, X + S2 - 3, Y + 1.5);
      cairo_set_source_rgba(Cr, 1, 1, 1, 0.25);
      cairo_set_line_width(Cr, 1.4);
      cairo_stroke(Cr);
      cairo_move_to(Cr, X + S2 - 1, Y + 3);
      cairo_line_to(Cr, X + S2 - 1, Y + S2 - 1);
      cairo_line_to(Cr, X + 3, Y + S2 - 1);
      cairo_set_source_rgba(Cr, 0, 0, 0, 0.22);
      cairo_stroke(Cr);
      // Some tiles carry an inlay.
      const double Pick = Rng.Real();
      const double Mx = X + S2 / 2, My = Y + S2 / 2;
      if (Pick < 0.12) {
        Circle(Cr, Mx, My, 6.5);
        SetColor(Cr, Tone(Base, 1.45));
        cairo_fill(Cr);
        Circle(Cr, Mx, My, 3);
        SetColor(Cr, Tone(Base, 0.8));
        cairo_fill(Cr);
      } else if (Pick < 0.22) {
        cairo_move_to(Cr, Mx, My - 8);
        cairo_line_to(Cr, Mx + 8, My);
        cairo_line_to(Cr, Mx, My + 8);
        cairo_line_to(Cr, Mx - 8, My);
        cairo_close_path(Cr);
        SetColor(Cr, Tone(Base, 1.35));
        cairo_fill(Cr);
      } else if (Pick < 0.28) {
        StarPath(Cr, Mx, My, 4, 9, 3, 0);
        SetColor(Cr, Tone(Base, 1.5));
        cairo_fill(Cr);
      }
    }
  // Soft window light falling across the wall.
  const TPatternPtr L(cairo_pattern_create_linear(0, 0, W, H));
  cairo_pattern_add_color_stop_rgba(L, 0, 1, 1, 0.9, 0.22);
  cairo_pattern_add_color_stop_rgba(L, 0.5, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(L, 1, 0, 0, 0.1, 0.18);
  cairo_set_source(Cr, L);
  cairo_paint(Cr);
  Finish(S, 1001, 0.15);
  return S;
}

TSurfacePtr SimpleBubbles() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    const double T = (X * 0.6 + Y) / (W * 0.6 + H);
    const double Wave = 0.04 * std::sin(X * 0.02 + Y * 0.013);
    return Ramp({{0, Rgb(255, 178, 84)}, {0.45, Rgb(238, 92, 132)}, {1, Rgb(120, 86, 206)}}, T + Wave);
  });
  const TContextPtr Cr = NewContext(S);
  // Fine diagonal stripes.
  for (int i = -H; i < W; i += 9) Line(Cr, i, 0, i + H, H);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.06);
  cairo_set_line_width(Cr, 3);
  cairo_stroke(Cr);
  // Soft discs like out-of-focus lights.
  TRng Rng(202);
  for (int i = 0; i < 70; ++i) {
    const double X = Rng.Range(-40, W + 40), Y = Rng.Range(-40, H + 40), R = Rng.Range(12, 85);
    const double A = Rng.Range(0.08, 0.26);
    const TPatternPtr P(cairo_pattern_create_radial(X, Y, R * 0.7, X, Y, R));
    const TRgb C = Rng.Real() < 0.6 ? Rgb(255, 250, 230) : Rgb(255, 220, 120);
    Stop(P, 0, C, A);
    Stop(P, 0.85, C, A * 1.25);
    Stop(P, 1, C, 0);
    Circle(Cr, X, Y, R);
    cairo_set_source(Cr, P);
    cairo_fill(Cr);
  }
  // Crisp rings and dots for a graphic touch.
  for (int i = 0; i < 26; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, H), R = Rng.Range(6, 40);
    Circle(Cr, X, Y, R);
    cairo_set_source_rgba(Cr, 1, 1, 1, Rng.Range(0.3, 0.6));
    cairo_set_line_width(Cr, Rng.Range(1.5, 4));
    cairo_stroke(Cr);
    if (Rng.Real() < 0.5) {
      Circle(Cr, X, Y, R * 0.35);
      cairo_set_source_rgba(Cr, 1, 1, 0.85, 0.45);
      cairo_fill(Cr);
    }
  }
  Finish(S, 2002, 0.2);
  return S;
}

// ------------------------------------------------------------------ space

TSurfacePtr SpaceNebula() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    const double Q = Fbm(X / 220, Y / 220, 31, 4);
    const double N1 = Fbm(X / 170 + Q * 1.8, Y / 170 - Q, 32, 6);
    const double N2 = Fbm(X / 95 + 7, Y / 95 + Q * 2, 33, 5);
    TRgb C = Mix(Rgb(12, 14, 48), Rgb(36, 20, 80), Y / H);
    C = Mix(C, Rgb(214, 70, 170), SmoothStep(0.42, 0.78, N1) * 0.85);
    C = Mix(C, Rgb(70, 140, 240), SmoothStep(0.45, 0.72, N2) * 0.7);
    C = Mix(C, Rgb(255, 220, 240), SmoothStep(0.68, 0.9, N1) * 0.5);
    return C;
  });
  Stars(S, 303, 1100, 1.0);
  // Ringed giant in the lower right.
  const double Cx = 470, Cy = 420, R = 78;
  auto Ring = [&](bool Front) {
    const TContextPtr Cr = NewContext(S);
    cairo_translate(Cr, Cx, Cy);
    cairo_rotate(Cr, -0.35);
    cairo_scale(Cr, 1, 0.28);
    if (Front) {
      cairo_rectangle(Cr, -200, 0, 400, 400);
      cairo_clip(Cr);
    }
    for (int i = 0; i < 5; ++i) {
      Circle(Cr, 0, 0, R * (1.35 + i * 0.12));
      cairo_set_source_rgba(Cr, 0.95, 0.85 - i * 0.05, 0.7 - i * 0.06, 0.55 - i * 0.06);
      cairo_set_line_width(Cr, R * 0.09);
      cairo_stroke(Cr);
    }
  };
  Ring(false);
  Planet(
      S, Cx, Cy, R,
      [](double U, double V) {
        const double Band = std::sin(V * 14 + Fbm(U * 3, V * 3, 34, 3) * 4);
        return Mix(Rgb(214, 150, 96), Rgb(246, 214, 160), 0.5 + 0.5 * Band);
      },
      Rgb(255, 200, 150));
  Ring(true);
  EvenOut(S, 30, 0.25, 0.6);
  Finish(S, 3003, 0.08);
  return S;
}

TSurfacePtr SpaceGalaxy() {
  const double Gx = 300, Gy = 250;
  TSurfacePtr S = ShadeSurface(W, H, [&](double X, double Y) {
    const double N = Fbm(X / 140, Y / 140, 41, 6);
    TRgb C = Mix(Rgb(6, 26, 40), Rgb(10, 44, 60), N);
    C = Mix(C, Rgb(40, 170, 150), SmoothStep(0.5, 0.8, N) * 0.6);
    C = Mix(C, Rgb(230, 180, 80), SmoothStep(0.62, 0.85, Fbm(X / 80, Y / 80, 42, 5)) * 0.35);
    // The spiral galaxy, tilted.
    const double Dx = X - Gx, Dy = Y - Gy;
    const double Rx = Dx * std::cos(0.5) + Dy * std::sin(0.5);
    const double Ry = (-Dx * std::sin(0.5) + Dy * std::cos(0.5)) / 0.55;
    const double R = std::sqrt(Rx * Rx + Ry * Ry) + 1e-6;
    const double Th = std::atan2(Ry, Rx);
    const double Arm = 0.5 + 0.5 * std::cos(2 * (Th - std::log(R) * 2.2));
    const double Dust = Fbm(Rx / 25, Ry / 25, 43, 4);
    const double Disc = std::exp(-R / 95);
    const double Glow = std::pow(Arm, 2.2) * Disc * (0.6 + 0.8 * Dust) + std::exp(-R / 22) * 1.2;
    C = Mix(C, Rgb(180, 210, 255), std::min(1.0, Glow * 0.9));
    C = Mix(C, Rgb(255, 240, 200), std::min(1.0, std::exp(-R / 30) * 1.1));
    return C;
  });
  Stars(S, 404, 1300, 1.0);
  // A blue world with a moon.
  Planet(
      S, 95, 470, 72,
      [](double U, double V) {
        const double L = Fbm(U * 2.2 + 5, V * 2.2, 44, 5);
        const double Cl = Fbm(U * 3 + 9, V * 5, 45, 4);
        TRgb C = L > 0.53 ? Mix(Rgb(70, 150, 60), Rgb(190, 170, 110), SmoothStep(0.6, 0.75, L)) : Rgb(30, 90, 200);
        return Mix(C, Rgb(250, 250, 255), SmoothStep(0.55, 0.75, Cl) * 0.9);
      },
      Rgb(120, 190, 255));
  Planet(
      S, 520, 80, 26, [](double U, double V) { return Tone(Rgb(200, 196, 190), 0.75 + 0.35 * Fbm(U * 4, V * 4, 46, 4)); },
      Rgb(200, 200, 210));
  EvenOut(S, 30, 0.25, 0.6);
  Finish(S, 4004, 0.08);
  return S;
}

// ---------------------------------------------------------------- cartoon

void PuffyCloud(cairo_t* Cr, double X, double Y, double Scale) {
  const double Puffs[][3] = {{-34, 6, 18}, {-14, -8, 24}, {12, -12, 22}, {32, 2, 17}, {0, 8, 20}};
  for (const auto& P : Puffs) Circle(Cr, X + P[0] * Scale, Y + P[1] * Scale, P[2] * Scale);
  const TPatternPtr G(cairo_pattern_create_linear(0, Y - 30 * Scale, 0, Y + 28 * Scale));
  Stop(G, 0, Rgb(255, 255, 255), 0.75);
  Stop(G, 1, Rgb(214, 230, 248), 0.55);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
}

double HillY(double X, double Base, double A1, double F1, double P1, double A2, double F2) {
  return Base + A1 * std::sin(X * F1 + P1) + A2 * std::sin(X * F2 + P1 * 1.7);
}

TSurfacePtr CartoonHills() {
  TSurfacePtr S = ShadeSurface(W, H, [](double, double Y) {
    return Ramp({{0, Rgb(70, 156, 236)}, {300, Rgb(180, 226, 255)}, {550, Rgb(220, 244, 255)}}, Y);
  });
  const TContextPtr Cr = NewContext(S);
  const TRgb Ink = Rgb(36, 60, 50);
  // Sun with rays.
  cairo_save(Cr);
  cairo_translate(Cr, 95, 90);
  for (int i = 0; i < 16; ++i) {
    cairo_save(Cr);
    cairo_rotate(Cr, i * Tau / 16);
    cairo_move_to(Cr, 48, -9);
    cairo_line_to(Cr, i % 2 ? 78 : 92, 0);
    cairo_line_to(Cr, 48, 9);
    cairo_close_path(Cr);
    SetColor(Cr, i % 2 ? Rgb(255, 200, 60) : Rgb(255, 230, 110));
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(200, 110, 20));
    cairo_set_line_width(Cr, 2);
    cairo_stroke(Cr);
    cairo_restore(Cr);
  }
  Circle(Cr, 0, 0, 48);
  const TPatternPtr Sun(cairo_pattern_create_radial(-14, -16, 4, 0, 0, 50));
  Stop(Sun, 0, Rgb(255, 255, 210));
  Stop(Sun, 1, Rgb(255, 196, 40));
  cairo_set_source(Cr, Sun);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(200, 110, 20));
  cairo_set_line_width(Cr, 3);
  cairo_stroke(Cr);
  cairo_restore(Cr);
  // Clouds: soft and flat, without outlines, along the top of the sky, so
  // that none passes for this level's big enemy, a cloud.
  for (const auto& C : {std::array<double, 3>{300, 42, 0.95}, {520, 56, 0.7}, {430, 24, 0.55}})
    PuffyCloud(Cr, C[0], C[1], C[2]);
  // Three rows of hills, far to near.
  struct THill {
    double Base, A1, F1, P1, A2, F2;
    TRgb Fill;
  };
  const THill Hills[] = {{300, 26, 0.011, 0.5, 10, 0.031, Rgb(130, 200, 140)},
                         {360, 34, 0.008, 2.1, 12, 0.024, Rgb(96, 196, 86)},
                         {440, 30, 0.010, 4.0, 9, 0.027, Rgb(120, 214, 70)}};
  TRng Rng(505);
  for (int h = 0; h < 3; ++h) {
    const THill& Hl = Hills[h];
    cairo_move_to(Cr, -5, H + 5);
    for (int X = -5; X <= W + 5; X += 4) cairo_line_to(Cr, X, HillY(X, Hl.Base, Hl.A1, Hl.F1, Hl.P1, Hl.A2, Hl.F2));
    cairo_line_to(Cr, W + 5, H + 5);
    cairo_close_path(Cr);
    const TPatternPtr G(cairo_pattern_create_linear(0, Hl.Base - 40, 0, H));
    Stop(G, 0, Tone(Hl.Fill, 1.25));
    Stop(G, 1, Tone(Hl.Fill, 0.7));
    cairo_set_source(Cr, G);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Ink);
    cairo_set_line_width(Cr, 3);
    cairo_stroke(Cr);
    // Furrows following the hill.
    cairo_save(Cr);
    cairo_move_to(Cr, -5, H + 5);
    for (int X = -5; X <= W + 5; X += 4) cairo_line_to(Cr, X, HillY(X, Hl.Base, Hl.A1, Hl.F1, Hl.P1, Hl.A2, Hl.F2));
    cairo_line_to(Cr, W + 5, H + 5);
    cairo_close_path(Cr);
    cairo_clip(Cr);
    for (int k = 1; k < 8; ++k) {
      for (int X = -5; X <= W + 5; X += 4) {
        const double Y = HillY(X, Hl.Base, Hl.A1 * (1 - k * 0.08), Hl.F1, Hl.P1, Hl.A2, Hl.F2) + k * k * 4.5 + 6;
        if (X == -5)
          cairo_move_to(Cr, X, Y);
        else
          cairo_line_to(Cr, X, Y);
      }
      SetColor(Cr, Tone(Hl.Fill, 0.82), 0.6);
      cairo_set_line_width(Cr, 2);
      cairo_stroke(Cr);
    }
    cairo_restore(Cr);
    // Lollipop trees on the top of each row.
    for (int t = 0; t < 4 + h; ++t) {
      const double X = Rng.Range(20, W - 20);
      const double Y = HillY(X, Hl.Base, Hl.A1, Hl.F1, Hl.P1, Hl.A2, Hl.F2) + 4;
      const double Sc = 0.6 + 0.25 * h;
      cairo_rectangle(Cr, X - 3 * Sc, Y - 26 * Sc, 6 * Sc, 26 * Sc);
      SetColor(Cr, Rgb(140, 90, 50));
      cairo_fill_preserve(Cr);
      SetColor(Cr, Ink);
      cairo_set_line_width(Cr, 2);
      cairo_stroke(Cr);
      Circle(Cr, X, Y - 38 * Sc, 17 * Sc);
      BodyGradient(Cr, X, Y - 38 * Sc, 17 * Sc, Rgb(60, 170, 60));
      cairo_fill_preserve(Cr);
      SetColor(Cr, Ink);
      cairo_stroke(Cr);
    }
  }
  // Flowers in the front meadow.
  for (int f = 0; f < 46; ++f) {
    const double X = Rng.Range(10, W - 10), Y = Rng.Range(470, H - 8);
    const TRgb Petal = std::array<TRgb, 4>{Rgb(255, 255, 255), Rgb(255, 120, 160), Rgb(255, 230, 80), Rgb(180, 140, 255)}[Rng.Next() % 4];
    for (int p = 0; p < 5; ++p) {
      const double A = p * Tau / 5;
      Circle(Cr, X + 3.5 * std::cos(A), Y + 3.5 * std::sin(A), 2.6);
    }
    SetColor(Cr, Petal);
    cairo_fill(Cr);
    Circle(Cr, X, Y, 2);
    SetColor(Cr, Rgb(240, 160, 0));
    cairo_fill(Cr);
  }
  Finish(S, 5005, 0.12);
  return S;
}

TSurfacePtr CartoonSea() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    TRgb C = Ramp({{0, Rgb(110, 220, 240)}, {300, Rgb(40, 150, 210)}, {550, Rgb(24, 90, 170)}}, Y);
    // Caustic ripples near the surface.
    const double N = Fbm(X / 40, Y / 25, 61, 3);
    const double Ridge = 1 - std::fabs(N * 2 - 1);
    return Mix(C, Rgb(230, 255, 255), std::pow(Ridge, 6) * 0.5 * std::max(0.0, 1 - Y / 320));
  });
  const TContextPtr Cr = NewContext(S);
  const TRgb Ink = Rgb(20, 50, 80);
  // Shafts of light.
  TRng Rng(606);
  for (int i = 0; i < 7; ++i) {
    const double X = Rng.Range(0, W), Wd = Rng.Range(20, 60);
    cairo_move_to(Cr, X, 0);
    cairo_line_to(Cr, X + Wd, 0);
    cairo_line_to(Cr, X + Wd * 2.5 - 120, H);
    cairo_line_to(Cr, X - 120, H);
    cairo_close_path(Cr);
    const TPatternPtr G(cairo_pattern_create_linear(0, 0, 0, H));
    cairo_pattern_add_color_stop_rgba(G, 0, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(G, 1, 1, 1, 1, 0);
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
  }
  // Seaweed.
  for (int i = 0; i < 14; ++i) {
    const double X = Rng.Range(0, W), Hgt = Rng.Range(90, 230), Ph = Rng.Range(0, Tau);
    const TRgb C = Rng.Real() < 0.5 ? Rgb(60, 170, 80) : Rgb(110, 190, 60);
    for (int Pass = 0; Pass < 2; ++Pass) {
      for (int k = 0; k < 24; ++k) {
        const double T0 = k / 24.0, T1 = (k + 1) / 24.0;
        const double X0 = X + 14 * std::sin(T0 * 6 + Ph) * T0, X1 = X + 14 * std::sin(T1 * 6 + Ph) * T1;
        Line(Cr, X0, H - T0 * Hgt, X1, H - T1 * Hgt);
        cairo_set_line_width(Cr, (9 - 6 * T0) + (Pass == 0 ? 3 : 0));
        SetColor(Cr, Pass == 0 ? Ink : C);
        cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(Cr);
      }
    }
  }
  // Sand dunes.
  cairo_move_to(Cr, -5, H + 5);
  for (int X = -5; X <= W + 5; X += 4) cairo_line_to(Cr, X, 490 + 14 * std::sin(X * 0.017) + 6 * std::sin(X * 0.05 + 1));
  cairo_line_to(Cr, W + 5, H + 5);
  cairo_close_path(Cr);
  const TPatternPtr Sand(cairo_pattern_create_linear(0, 470, 0, H));
  Stop(Sand, 0, Rgb(250, 226, 160));
  Stop(Sand, 1, Rgb(210, 170, 100));
  cairo_set_source(Cr, Sand);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(120, 90, 40));
  cairo_set_line_width(Cr, 3);
  cairo_stroke(Cr);
  // Pebbles and shells.
  for (int i = 0; i < 30; ++i) {
    const double X = Rng.Range(5, W - 5), Y = Rng.Range(515, H - 4);
    Ellipse(Cr, X, Y, Rng.Range(2, 5), Rng.Range(1.5, 3));
    SetColor(Cr, Rgb(180, 140, 90), 0.8);
    cairo_fill(Cr);
  }
  // Coral fans.
  auto Coral = [&](auto&& Self, double X, double Y, double A, double L, int Depth) -> void {
    const double X1 = X + L * std::cos(A), Y1 = Y + L * std::sin(A);
    Line(Cr, X, Y, X1, Y1);
    cairo_set_line_width(Cr, 2 + Depth * 1.6);
    cairo_stroke(Cr);
    if (Depth == 0) return;
    Self(Self, X1, Y1, A - 0.45, L * 0.75, Depth - 1);
    Self(Self, X1, Y1, A + 0.4, L * 0.72, Depth - 1);
  };
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 3; ++i) {
    const double X = 90 + i * 210 + Rng.Range(-30, 30);
    SetColor(Cr, Ink);
    cairo_save(Cr);
    cairo_translate(Cr, 1.5, 1.5);
    Coral(Coral, X, 505, -Pi / 2, 34, 4);
    cairo_restore(Cr);
    SetColor(Cr, i == 1 ? Rgb(255, 140, 90) : Rgb(250, 110, 170));
    Coral(Coral, X, 505, -Pi / 2, 34, 4);
  }
  // Fish: faint, far-off silhouettes without outlines, swimming near the
  // sides, so that none of them passes for one of the actors.
  for (int i = 0; i < 7; ++i) {
    const double Side = Rng.Range(40, 150);
    const double X = i % 2 ? W - Side : Side, Y = Rng.Range(60, 400), Sc = Rng.Range(0.7, 1.1);
    const bool Left = Rng.Real() < 0.5;
    const TRgb C = std::array<TRgb, 4>{Rgb(255, 200, 40), Rgb(255, 120, 60), Rgb(120, 220, 255), Rgb(250, 130, 200)}[i % 4];
    const TRgb Water = Ramp({{0, Rgb(110, 220, 240)}, {300, Rgb(40, 150, 210)}, {550, Rgb(24, 90, 170)}}, Y);
    const TRgb Body = Mix(C, Water, 0.55);
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_scale(Cr, Left ? -Sc : Sc, Sc);
    cairo_move_to(Cr, -14, 0);
    cairo_line_to(Cr, -28, -10);
    cairo_line_to(Cr, -28, 10);
    cairo_close_path(Cr);
    Ellipse(Cr, 0, 0, 18, 11);
    SetColor(Cr, Body, 0.7);
    cairo_fill(Cr);
    Circle(Cr, 9, -2, 1.8);
    SetColor(Cr, Tone(Body, 0.6), 0.7);
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
  // Bubbles.
  for (int i = 0; i < 45; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, 480), R = Rng.Range(2, 9);
    Circle(Cr, X, Y, R);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.15);
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.8);
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
    Circle(Cr, X - R * 0.35, Y - R * 0.35, R * 0.25);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.9);
    cairo_fill(Cr);
  }
  EvenOut(S, 40, 0.6, 0.9);
  Finish(S, 6006, 0.1);
  return S;
}

// ----------------------------------------------------------------- mystic

void RuneGlyph(cairo_t* Cr, TRng& Rng, double Size) {
  for (int k = 0; k < 3; ++k) {
    const double X0 = Rng.Range(-1, 1) * Size, Y0 = Rng.Range(-1, 1) * Size;
    const double X1 = Rng.Range(-1, 1) * Size, Y1 = Rng.Range(-1, 1) * Size;
    Line(Cr, X0, Y0, X1, Y1);
  }
}

TSurfacePtr MysticCircle() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    const double Q = Fbm(X / 160, Y / 160, 71, 4);
    const double N = Fbm(X / 120 + Q * 3, Y / 120 + Q * 3, 72, 6);
    return Ramp({{0.0, Rgb(30, 12, 66)}, {0.4, Rgb(80, 36, 140)}, {0.62, Rgb(140, 70, 200)}, {0.8, Rgb(80, 200, 210)},
                 {1.0, Rgb(220, 255, 250)}},
                N + 0.08);
  });
  const double Cx = W / 2.0, Cy = H / 2.0;
  // Two squares turned against each other make an eight-pointed star. Their
  // sides bow towards the centre: straight light lines across the field
  // would read as the board's edges.
  auto Star = [&](cairo_t* Cr) {
    for (int t = 0; t < 2; ++t) {
      for (int k = 0; k < 4; ++k) {
        const double A0 = -Pi / 2 + t * Pi / 4 + k * Tau / 4, A1 = A0 + Tau / 4;
        const double X0 = Cx + 206 * std::cos(A0), Y0 = Cy + 206 * std::sin(A0);
        const double X1 = Cx + 206 * std::cos(A1), Y1 = Cy + 206 * std::sin(A1);
        const double Mx = Cx + 0.45 * ((X0 + X1) / 2 - Cx), My = Cy + 0.45 * ((Y0 + Y1) / 2 - Cy);
        if (k == 0) cairo_move_to(Cr, X0, Y0);
        cairo_curve_to(Cr, (X0 + 2 * Mx) / 3, (Y0 + 2 * My) / 3, (X1 + 2 * Mx) / 3, (Y1 + 2 * My) / 3, X1, Y1);
      }
      cairo_stroke(Cr);
    }
  };
  auto CircleArt = [&](cairo_t* Cr, double Width) {
    cairo_set_line_width(Cr, Width);
    for (double R : {220.0, 206.0, 150.0, 60.0}) {
      Circle(Cr, Cx, Cy, R);
      cairo_stroke(Cr);
    }
    for (int k = 0; k < 8; ++k) {
      const double A = -Pi / 2 + k * Tau / 8;
      Circle(Cr, Cx + 206 * std::cos(A), Cy + 206 * std::sin(A), 13);
      cairo_stroke(Cr);
    }
    TRng Rng(707);
    cairo_save(Cr);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    for (int k = 0; k < 36; ++k) {
      const double A = k * Tau / 36;
      cairo_save(Cr);
      cairo_translate(Cr, Cx + 213 * std::cos(A), Cy + 213 * std::sin(A));
      cairo_rotate(Cr, A + Pi / 2);
      RuneGlyph(Cr, Rng, 4);
      cairo_stroke(Cr);
      cairo_restore(Cr);
    }
    cairo_restore(Cr);
  };
  AddGlow(S, 14, 1.0, [&](cairo_t* G) {
    cairo_set_source_rgba(G, 0.3, 1, 0.95, 0.9);
    CircleArt(G, 6);
    cairo_set_source_rgba(G, 0.3, 1, 0.95, 0.6);
    cairo_set_line_width(G, 5);
    Star(G);
  });
  const TContextPtr Cr = NewContext(S);
  cairo_set_source_rgba(Cr, 0.85, 1, 1, 0.95);
  CircleArt(Cr, 1.8);
  cairo_set_source_rgba(Cr, 0.85, 1, 1, 0.3);
  cairo_set_line_width(Cr, 1.4);
  Star(Cr);
  // Sparkles drifting over everything.
  TRng Rng(708);
  for (int i = 0; i < 140; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, H), R = Rng.Range(1.5, 5);
    StarPath(Cr, X, Y, 4, R, R * 0.25, 0);
    cairo_set_source_rgba(Cr, 1, 0.95, 1, Rng.Range(0.4, 0.95));
    cairo_fill(Cr);
  }
  EvenOut(S, 30, 0.3, 0.7);
  Finish(S, 7007, 0.1);
  return S;
}

TSurfacePtr MysticForest() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    TRgb C = Ramp({{0, Rgb(40, 64, 140)}, {260, Rgb(90, 150, 200)}, {420, Rgb(170, 220, 215)}}, Y);
    return Mix(C, Rgb(150, 170, 230), SmoothStep(0.55, 0.8, Fbm(X / 120, Y / 60, 81, 5)) * 0.35);
  });
  Stars(S, 808, 260, 0.7);
  // Moon with its halo.
  AddGlow(S, 40, 0.9, [](cairo_t* G) {
    Circle(G, 440, 105, 70);
    cairo_set_source_rgba(G, 0.8, 0.9, 1, 0.8);
    cairo_fill(G);
  });
  Planet(
      S, 440, 105, 52, [](double U, double V) { return Tone(Rgb(255, 250, 220), 0.8 + 0.25 * Fbm(U * 3, V * 3, 82, 4)); },
      Rgb(220, 240, 255), true);
  const TContextPtr Cr = NewContext(S);
  TRng Rng(809);
  // Three rows of fir trees, far to near, with mist between them.
  const TRgb Rows[] = {Rgb(100, 160, 176), Rgb(56, 110, 128), Rgb(28, 66, 80)};
  const double Ground[] = {330, 400, 480};
  for (int r = 0; r < 3; ++r) {
    cairo_move_to(Cr, -5, H + 5);
    for (int X = -5; X <= W + 5; X += 5) cairo_line_to(Cr, X, Ground[r] + 10 * std::sin(X * 0.02 + r));
    cairo_line_to(Cr, W + 5, H + 5);
    cairo_close_path(Cr);
    SetColor(Cr, Rows[r]);
    cairo_fill(Cr);
    const int Trees = 22 - r * 5;
    for (int t = 0; t < Trees; ++t) {
      const double X = (t + Rng.Range(0.1, 0.9)) * W / Trees;
      const double Base = Ground[r] + 10 * std::sin(X * 0.02 + r) + 4;
      const double Hgt = Rng.Range(70, 130) * (1 + r * 0.35), Wd = Hgt * 0.36;
      const int Tiers = 5;
      for (int k = 0; k < Tiers; ++k) {
        const double Ty = Base - Hgt * k / Tiers * 0.85;
        const double Tw = Wd * (1 - k * 0.17);
        cairo_move_to(Cr, X - Tw, Ty);
        cairo_line_to(Cr, X, Ty - Hgt * 0.32);
        cairo_line_to(Cr, X + Tw, Ty);
        cairo_close_path(Cr);
      }
      SetColor(Cr, Rows[r]);
      cairo_fill(Cr);
    }
    // Mist band in front of the row.
    if (r < 2) {
      const TPatternPtr M(cairo_pattern_create_linear(0, Ground[r] - 30, 0, Ground[r] + 40));
      cairo_pattern_add_color_stop_rgba(M, 0, 0.7, 0.9, 0.95, 0);
      cairo_pattern_add_color_stop_rgba(M, 0.6, 0.7, 0.9, 0.95, 0.35);
      cairo_pattern_add_color_stop_rgba(M, 1, 0.7, 0.9, 0.95, 0.1);
      cairo_rectangle(Cr, 0, Ground[r] - 30, W, 70);
      cairo_set_source(Cr, M);
      cairo_fill(Cr);
    }
  }
  // Glowing mushrooms in the foreground.
  for (int i = 0; i < 9; ++i) {
    const double X = Rng.Range(20, W - 20), Y = Rng.Range(500, 535), Sc = Rng.Range(0.7, 1.3);
    cairo_rectangle(Cr, X - 2 * Sc, Y - 10 * Sc, 4 * Sc, 10 * Sc);
    SetColor(Cr, Rgb(200, 230, 220));
    cairo_fill(Cr);
    cairo_move_to(Cr, X - 9 * Sc, Y - 9 * Sc);
    cairo_curve_to(Cr, X - 8 * Sc, Y - 20 * Sc, X + 8 * Sc, Y - 20 * Sc, X + 9 * Sc, Y - 9 * Sc);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(90, 230, 220));
    cairo_fill(Cr);
  }
  // Fireflies.
  AddGlow(S, 5, 1.0, [&](cairo_t* G) {
    TRng F(810);
    for (int i = 0; i < 70; ++i) {
      Circle(G, F.Range(0, W), F.Range(220, H - 10), F.Range(1.5, 3));
      cairo_set_source_rgba(G, 1, 1, 0.5, 1);
      cairo_fill(G);
    }
  });
  const TContextPtr C2 = NewContext(S);
  TRng F(810);
  for (int i = 0; i < 70; ++i) {
    Circle(C2, F.Range(0, W), F.Range(220, H - 10), F.Range(1.5, 3) * 0.6);
    cairo_set_source_rgba(C2, 1, 1, 0.8, 1);
    cairo_fill(C2);
  }
  EvenOut(S, 30, 0.3, 0.7);
  Finish(S, 8008, 0.1);
  return S;
}

// ----------------------------------------------------------------- horror

void Branch(cairo_t* Cr, TRng& Rng, double X, double Y, double A, double L, double Wd, int Depth) {
  const double X1 = X + L * std::cos(A), Y1 = Y + L * std::sin(A);
  cairo_move_to(Cr, X, Y);
  cairo_line_to(Cr, X1, Y1);
  cairo_set_line_width(Cr, Wd);
  cairo_stroke(Cr);
  if (Depth == 0) return;
  const int Kids = 2 + (Rng.Real() < 0.3 ? 1 : 0);
  for (int k = 0; k < Kids; ++k)
    Branch(Cr, Rng, X1, Y1, A + Rng.Range(-0.75, 0.75), L * Rng.Range(0.6, 0.8), Wd * 0.66, Depth - 1);
}

TSurfacePtr HorrorGraveyard() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    TRgb C = Ramp({{0, Rgb(46, 16, 60)}, {200, Rgb(150, 40, 60)}, {330, Rgb(230, 100, 50)}, {430, Rgb(255, 170, 80)}}, Y);
    const double Streak = Fbm(X / 160, Y / 22, 91, 5);
    return Mix(C, Rgb(40, 10, 40), SmoothStep(0.5, 0.75, Streak) * 0.55);
  });
  AddGlow(S, 30, 0.8, [](cairo_t* G) {
    Circle(G, 300, 200, 100);
    cairo_set_source_rgba(G, 1, 0.8, 0.5, 0.8);
    cairo_fill(G);
  });
  Planet(
      S, 300, 200, 88, [](double U, double V) { return Tone(Rgb(255, 236, 200), 0.7 + 0.3 * Fbm(U * 3, V * 3, 92, 4)); },
      Rgb(255, 200, 150), true);
  // Clouds drifting over the moon.
  PostProcess(S, [](int X, int Y, TRgb C) {
    const double N = Fbm(X / 130.0, Y / 30.0, 93, 5);
    // Faded out downwards: a hard stop would draw a straight line across.
    return Mix(C, Rgb(60, 20, 50), SmoothStep(0.55, 0.7, N) * 0.7 * (1 - SmoothStep(280, 340, Y)));
  });
  const TContextPtr Cr = NewContext(S);
  // Silhouettes in a dusky purple rather than black, so that claimed ground
  // still shows on them.
  const TRgb Black = Rgb(50, 26, 56);
  TRng Rng(909);
  // Ground.
  cairo_move_to(Cr, -5, H + 5);
  for (int X = -5; X <= W + 5; X += 5) cairo_line_to(Cr, X, 440 + 18 * std::sin(X * 0.012 + 1) + 6 * std::sin(X * 0.05));
  cairo_line_to(Cr, W + 5, H + 5);
  cairo_close_path(Cr);
  SetColor(Cr, Black);
  cairo_fill(Cr);
  // Dead trees.
  SetColor(Cr, Black);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  Branch(Cr, Rng, 70, 450, -Pi / 2 - 0.1, 80, 14, 6);
  Branch(Cr, Rng, 540, 445, -Pi / 2 + 0.15, 70, 12, 6);
  // Tombstones and crosses.
  for (int i = 0; i < 9; ++i) {
    const double X = 130 + i * 44 + Rng.Range(-10, 10), Y = 450 + 18 * std::sin(X * 0.012 + 1) + Rng.Range(0, 30);
    const double Tilt = Rng.Range(-0.15, 0.15);
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_rotate(Cr, Tilt);
    if (i % 3 == 1) {
      cairo_rectangle(Cr, -3, -46, 6, 50);
      cairo_rectangle(Cr, -14, -36, 28, 6);
    } else {
      cairo_move_to(Cr, -13, 4);
      cairo_line_to(Cr, -13, -24);
      cairo_arc(Cr, 0, -24, 13, Pi, 2 * Pi);
      cairo_line_to(Cr, 13, 4);
      cairo_close_path(Cr);
    }
    SetColor(Cr, Black);
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
  // Bats against the sky.
  for (int i = 0; i < 8; ++i) {
    const double X = Rng.Range(40, W - 40), Y = Rng.Range(40, 320), Sc = Rng.Range(0.6, 1.2);
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_scale(Cr, Sc, Sc);
    cairo_move_to(Cr, 0, 2);
    cairo_curve_to(Cr, -6, -6, -14, -8, -22, -4);
    cairo_curve_to(Cr, -17, -2, -16, 2, -14, 5);
    cairo_curve_to(Cr, -10, 1, -6, 3, 0, 8);
    cairo_curve_to(Cr, 6, 3, 10, 1, 14, 5);
    cairo_curve_to(Cr, 16, 2, 17, -2, 22, -4);
    cairo_curve_to(Cr, 14, -8, 6, -6, 0, 2);
    cairo_close_path(Cr);
    SetColor(Cr, Black);
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
  // Ground fog.
  PostProcess(S, [](int X, int Y, TRgb C) {
    const double N = Fbm(X / 90.0, Y / 25.0, 94, 4);
    const double Band = SmoothStep(380, 470, Y) * (1 - SmoothStep(500, 550, Y) * 0.4);
    return Mix(C, Rgb(150, 120, 160), Band * SmoothStep(0.35, 0.7, N) * 0.55);
  });
  EvenOut(S, 30, 0.25, 0.7);
  Finish(S, 9009, 0.1);
  return S;
}

TSurfacePtr HorrorDungeon() {
  const double Tx[2] = {110, 490}, Ty = 190;
  TRng Rng(1010);
  // Brick layout: per row an offset, per brick a tint.
  struct TBrick {
    double X0, X1, Tint;
  };
  std::vector<std::vector<TBrick>> Rows;
  const double RowH = 34;
  for (int r = 0; r * RowH < H; ++r) {
    std::vector<TBrick> Row;
    double X = -Rng.Range(0, 60);
    while (X < W) {
      const double Wd = Rng.Range(56, 96);
      Row.push_back({X, X + Wd, Rng.Range(0.82, 1.12)});
      X += Wd;
    }
    Rows.push_back(Row);
  }
  TSurfacePtr S = ShadeSurface(W, H, [&](double X, double Y) {
    const int R = static_cast<int>(Y / RowH);
    const double InRow = Y - R * RowH;
    const TBrick* B = nullptr;
    for (const TBrick& Bk : Rows[R])
      if (X >= Bk.X0 && X < Bk.X1) B = &Bk;
    const double Stone = Fbm(X / 14, Y / 14, 101, 4);
    TRgb C;
    const double Mortar = 3;
    // Soft, mid-dark mortar: crisp dark lines would read as the board's edges.
    if (!B || InRow < Mortar || X - B->X0 < Mortar) {
      C = Tone(Mix(Rgb(92, 82, 74), Rgb(110, 98, 86), Stone), 0.95);
    } else {
      C = Tone(Mix(Rgb(120, 108, 100), Rgb(150, 130, 110), Stone), B->Tint * (0.8 + 0.4 * Stone));
      // Bevel: lit top edge, shaded bottom edge.
      if (InRow < Mortar + 3) C = Tone(C, 1.07);
      if (InRow > RowH - 4) C = Tone(C, 0.88);
      // Moss creeping from the mortar.
      const double Moss = Fbm(X / 30, Y / 30, 102, 4);
      C = Mix(C, Rgb(70, 110, 50), SmoothStep(0.62, 0.75, Moss) * 0.7);
    }
    // Warm light of two torches over a dim ambient.
    double Light = 0.4;
    for (double Cx : Tx) {
      const double D2 = (X - Cx) * (X - Cx) + (Y - Ty) * (Y - Ty);
      Light += 1.15 * std::exp(-D2 / (2 * 150.0 * 150.0));
    }
    return TRgb{C.R * Light * 1.15, C.G * Light * 0.98, C.B * Light * 0.8};
  });
  const TContextPtr Cr = NewContext(S);
  // Blood seeping over the top edge and running down in drips.
  cairo_move_to(Cr, 0, 0);
  for (int X = 0; X <= W; X += 6) cairo_line_to(Cr, X, 4 + 3 * std::sin(X * 0.09) + 2 * std::sin(X * 0.23));
  cairo_line_to(Cr, W, 0);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(130, 6, 16));
  cairo_fill(Cr);
  for (int i = 0; i < 9; ++i) {
    const double X = Rng.Range(20, W - 20), L = Rng.Range(30, 170), Wd = Rng.Range(2.5, 6);
    cairo_move_to(Cr, X - Wd, 0);
    cairo_line_to(Cr, X + Wd, 0);
    cairo_curve_to(Cr, X + Wd * 0.6, L * 0.4, X + Wd * 0.4, L * 0.8, X + Wd * 0.5, L);
    cairo_arc(Cr, X, L, Wd * 0.6, 0, Pi);
    cairo_curve_to(Cr, X - Wd * 0.4, L * 0.8, X - Wd * 0.6, L * 0.4, X - Wd, 0);
    cairo_close_path(Cr);
    const TPatternPtr G(cairo_pattern_create_linear(X - Wd, 0, X + Wd, 0));
    Stop(G, 0, Rgb(110, 0, 10));
    Stop(G, 0.4, Rgb(200, 20, 30));
    Stop(G, 1, Rgb(90, 0, 8));
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
    Circle(Cr, X + Rng.Range(-2, 2), L + Rng.Range(20, 40), Wd * 0.5);
    SetColor(Cr, Rgb(150, 10, 20));
    cairo_fill(Cr);
  }
  // A chain hanging in the middle.
  for (int k = 0; k < 14; ++k) {
    const double Y = k * 17;
    if (k % 2 == 0)
      Ellipse(Cr, 300, Y, 6, 11);
    else
      Ellipse(Cr, 300, Y, 2, 11);
    SetColor(Cr, Rgb(30, 26, 24));
    cairo_set_line_width(Cr, 5);
    cairo_stroke(Cr);
    if (k % 2 == 0)
      Ellipse(Cr, 300, Y, 6, 11);
    else
      Ellipse(Cr, 300, Y, 2, 11);
    SetColor(Cr, Rgb(150, 140, 130));
    cairo_set_line_width(Cr, 2.5);
    cairo_stroke(Cr);
  }
  // Cobwebs in the top corners.
  for (int Side = 0; Side < 2; ++Side) {
    const double Cx = Side ? W : 0;
    for (int k = 0; k <= 6; ++k) {
      const double A = (Side ? Pi / 2 : 0) + k * (Pi / 2) / 6;
      Line(Cr, Cx, 0, Cx + 130 * std::cos(A), 130 * std::sin(A));
    }
    for (int Ring = 1; Ring <= 5; ++Ring) {
      for (int k = 0; k <= 6; ++k) {
        const double A = (Side ? Pi / 2 : 0) + k * (Pi / 2) / 6;
        const double R = Ring * 24.0 + 3 * std::sin(k * 1.7);
        if (k == 0)
          cairo_move_to(Cr, Cx + R * std::cos(A), R * std::sin(A));
        else
          cairo_line_to(Cr, Cx + R * std::cos(A), R * std::sin(A));
      }
    }
    cairo_set_source_rgba(Cr, 0.92, 0.9, 0.86, 0.55);
    cairo_set_line_width(Cr, 1.1);
    cairo_stroke(Cr);
  }
  // Torch brackets.
  for (double X : Tx) {
    cairo_rectangle(Cr, X - 5, Ty + 8, 10, 40);
    SetColor(Cr, Rgb(60, 40, 30));
    cairo_fill(Cr);
    cairo_move_to(Cr, X - 12, Ty + 8);
    cairo_line_to(Cr, X + 12, Ty + 8);
    cairo_line_to(Cr, X + 6, Ty + 20);
    cairo_line_to(Cr, X - 6, Ty + 20);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(80, 70, 60));
    cairo_fill(Cr);
  }
  AddGlow(S, 16, 1.0, [&](cairo_t* G) {
    for (double X : Tx) {
      Ellipse(G, X, Ty - 10, 14, 24);
      cairo_set_source_rgba(G, 1, 0.6, 0.1, 1);
      cairo_fill(G);
    }
  });
  const TContextPtr C2 = NewContext(S);
  for (double X : Tx) {
    cairo_move_to(C2, X - 10, Ty + 6);
    cairo_curve_to(C2, X - 14, Ty - 10, X - 4, Ty - 18, X, Ty - 34);
    cairo_curve_to(C2, X + 4, Ty - 18, X + 14, Ty - 10, X + 10, Ty + 6);
    cairo_close_path(C2);
    const TPatternPtr F(cairo_pattern_create_linear(0, Ty - 34, 0, Ty + 6));
    Stop(F, 0, Rgb(255, 240, 150));
    Stop(F, 0.5, Rgb(255, 170, 40));
    Stop(F, 1, Rgb(220, 60, 10));
    cairo_set_source(C2, F);
    cairo_fill(C2);
  }
  EvenOut(S, 30, 0.4, 0.8);
  Finish(S, 10010, 0.1);
  return S;
}

// ---------------------------------------------------------------- insects

TSurfacePtr InsectHoneycomb() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    return Mix(Rgb(200, 130, 20), Rgb(150, 80, 10), (X + Y) / (W + H));
  });
  const TContextPtr Cr = NewContext(S);
  TRng Rng(1111);
  const double R = 30;  // hexagon radius, pointy top
  const double Dx = R * std::sqrt(3.0), Dy = R * 1.5;
  for (int j = -1; j * Dy < H + R; ++j)
    for (int i = -1; i * Dx < W + R; ++i) {
      const double Cx = i * Dx + (j % 2 ? Dx / 2 : 0), Cy = j * Dy;
      auto Hex = [&](double Rr) {
        for (int k = 0; k < 6; ++k) {
          const double A = Pi / 6 + k * Tau / 6;
          if (k == 0)
            cairo_move_to(Cr, Cx + Rr * std::cos(A), Cy + Rr * std::sin(A));
          else
            cairo_line_to(Cr, Cx + Rr * std::cos(A), Cy + Rr * std::sin(A));
        }
        cairo_close_path(Cr);
      };
      // Wax wall.
      Hex(R - 0.5);
      SetColor(Cr, Rgb(236, 170, 50));
      cairo_fill(Cr);
      const double Kind = Rng.Real();
      Hex(R - 5);
      const TPatternPtr P(cairo_pattern_create_radial(Cx - 8, Cy - 9, 2, Cx, Cy, R));
      if (Kind < 0.55) {  // full of honey
        Stop(P, 0, Rgb(255, 236, 140));
        Stop(P, 0.5, Rgb(250, 180, 30));
        Stop(P, 1, Rgb(190, 100, 0));
      } else if (Kind < 0.8) {  // capped with wax
        Stop(P, 0, Rgb(255, 246, 200));
        Stop(P, 0.7, Rgb(246, 216, 140));
        Stop(P, 1, Rgb(210, 170, 90));
      } else {  // empty
        Stop(P, 0, Rgb(120, 60, 10));
        Stop(P, 0.7, Rgb(170, 100, 20));
        Stop(P, 1, Rgb(220, 150, 40));
      }
      cairo_set_source(Cr, P);
      cairo_fill(Cr);
      // Inner rim shading and a shine on honey.
      Hex(R - 5);
      SetColor(Cr, Rgb(150, 80, 0), 0.6);
      cairo_set_line_width(Cr, 1.5);
      cairo_stroke(Cr);
      if (Kind < 0.55) {
        Ellipse(Cr, Cx - 8, Cy - 9, 7, 3.5);
        cairo_set_source_rgba(Cr, 1, 1, 0.9, 0.55);
        cairo_fill(Cr);
      }
    }
  // Honey dripping down from the top.
  for (int i = 0; i < 8; ++i) {
    const double X = Rng.Range(20, W - 20), L = Rng.Range(30, 110), Wd = Rng.Range(5, 10);
    cairo_move_to(Cr, X - Wd * 2, 0);
    cairo_curve_to(Cr, X - Wd, 4, X - Wd * 0.6, L * 0.5, X - Wd * 0.6, L);
    cairo_arc_negative(Cr, X, L, Wd * 0.6, Pi, 0);
    cairo_curve_to(Cr, X + Wd * 0.6, L * 0.5, X + Wd, 4, X + Wd * 2, 0);
    cairo_close_path(Cr);
    const TPatternPtr G(cairo_pattern_create_linear(X - Wd, 0, X + Wd, 0));
    Stop(G, 0, Rgb(220, 130, 0));
    Stop(G, 0.35, Rgb(255, 220, 100));
    Stop(G, 1, Rgb(200, 110, 0));
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
    Circle(Cr, X - Wd * 0.2, L - 2, Wd * 0.2);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.7);
    cairo_fill(Cr);
  }
  // Deep amber rather than bright yellow honey: the yellow and gold actors
  // (a player, the wasps, the gold coin) must stand out from it.
  PostProcess(S, [](int, int, TRgb C) { return TRgb{C.R * 0.86, C.G * 0.6, C.B * 0.5}; });
  Finish(S, 11011, 0.12);
  return S;
}

TSurfacePtr InsectMeadow() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    TRgb C = Ramp({{0, Rgb(196, 230, 150)}, {250, Rgb(110, 180, 80)}, {550, Rgb(30, 90, 40)}}, Y);
    return Mix(C, Rgb(240, 250, 200), SmoothStep(0.6, 0.8, Fbm(X / 50, Y / 50, 121, 3)) * 0.35 * (1 - Y / H));
  });
  const TContextPtr Cr = NewContext(S);
  TRng Rng(1212);
  // Out-of-focus light in the distance.
  for (int i = 0; i < 30; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, 250), R = Rng.Range(10, 40);
    Circle(Cr, X, Y, R);
    cairo_set_source_rgba(Cr, 1, 1, 0.85, Rng.Range(0.08, 0.2));
    cairo_fill(Cr);
  }
  // Blades of grass, back (pale) to front (deep).
  for (int i = 0; i < 420; ++i) {
    const double Depth = i / 420.0;
    const double X = Rng.Range(-20, W + 20), Base = H + 5;
    const double Hgt = Rng.Range(120, 420) * (1.1 - Depth * 0.3), Lean = Rng.Range(-90, 90), Wd = Rng.Range(4, 9);
    const TRgb C = Tone(Mix(Rgb(150, 210, 90), Rgb(40, 130, 40), Depth), Rng.Range(0.85, 1.15));
    cairo_move_to(Cr, X - Wd, Base);
    cairo_curve_to(Cr, X - Wd * 0.6, Base - Hgt * 0.5, X + Lean * 0.5, Base - Hgt * 0.8, X + Lean, Base - Hgt);
    cairo_curve_to(Cr, X + Lean * 0.5 + Wd * 0.3, Base - Hgt * 0.8, X + Wd * 0.6, Base - Hgt * 0.5, X + Wd, Base);
    cairo_close_path(Cr);
    const TPatternPtr G(cairo_pattern_create_linear(X - Wd, 0, X + Wd, 0));
    Stop(G, 0, Tone(C, 0.8));
    Stop(G, 0.5, Tone(C, 1.2));
    Stop(G, 1, Tone(C, 0.85));
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
  }
  // Daisies: soft, without outlines, low in the meadow and away from the
  // middle, where they would pass for items or players.
  for (int i = 0; i < 9; ++i) {
    const double Side = Rng.Range(25, 170);
    const double X = i % 2 ? W - Side : Side, Y = Rng.Range(440, 530), R = Rng.Range(8, 13);
    for (int p = 0; p < 12; ++p) {
      cairo_save(Cr);
      cairo_translate(Cr, X, Y);
      cairo_rotate(Cr, p * Tau / 12);
      Ellipse(Cr, R * 0.6, 0, R * 0.55, R * 0.17);
      cairo_restore(Cr);
    }
    cairo_set_source_rgba(Cr, 0.95, 0.96, 0.86, 0.45);
    cairo_fill(Cr);
    Circle(Cr, X, Y, R * 0.3);
    SetColor(Cr, Rgb(230, 190, 60), 0.7);
    cairo_fill(Cr);
  }
  // Dew drops.
  for (int i = 0; i < 40; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(120, H), R = Rng.Range(2, 5);
    Circle(Cr, X, Y, R);
    const TPatternPtr D(cairo_pattern_create_radial(X - R * 0.3, Y - R * 0.3, 0, X, Y, R));
    cairo_pattern_add_color_stop_rgba(D, 0, 1, 1, 1, 0.95);
    cairo_pattern_add_color_stop_rgba(D, 0.4, 0.8, 1, 0.8, 0.4);
    cairo_pattern_add_color_stop_rgba(D, 1, 0.2, 0.4, 0.2, 0.5);
    cairo_set_source(Cr, D);
    cairo_fill(Cr);
  }
  EvenOut(S, 40, 0.6, 0.9);
  Finish(S, 12012, 0.12);
  return S;
}

// ----------------------------------------------------------------- heaven

TSurfacePtr HeavenRays() {
  TSurfacePtr S = ShadeSurface(W, H, [](double X, double Y) {
    TRgb C = Ramp({{0, Rgb(255, 244, 200)}, {250, Rgb(252, 210, 140)}, {550, Rgb(240, 170, 140)}}, Y);
    // Rays from a light above the top edge.
    const double A = std::atan2(Y + 120, X - 300);
    const double Ray = 0.5 + 0.5 * std::cos(A * 26 + 3 * Fbm(A * 3, 0.5, 131, 2));
    C = Mix(C, Rgb(255, 255, 240), std::pow(Ray, 2) * 0.45 * std::exp(-Y / 450));
    // Cloud banks lit from above: brighter where the field rises upwards.
    const double N = Fbm(X / 170, Y / 75, 132, 5);
    const double Up = Fbm(X / 170, (Y - 8) / 75, 132, 5);
    const double Cloud = SmoothStep(0.47, 0.62, N);
    const double Lit = std::clamp(0.55 + (N - Up) * 9, 0.0, 1.0);
    const TRgb Cc = Mix(Rgb(244, 190, 160), Rgb(255, 253, 245), Lit);
    return Mix(C, Cc, Cloud);
  });
  const TContextPtr Cr = NewContext(S);
  TRng Rng(1313);
  for (int i = 0; i < 90; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, H), R = Rng.Range(1.5, 5);
    StarPath(Cr, X, Y, 4, R, R * 0.25, 0);
    cairo_set_source_rgba(Cr, 1, 1, 0.95, Rng.Range(0.5, 1));
    cairo_fill(Cr);
  }
  AddGlow(S, 30, 0.5, [](cairo_t* G) {
    Circle(G, 300, -40, 120);
    cairo_set_source_rgba(G, 1, 1, 0.9, 1);
    cairo_fill(G);
  });
  Finish(S, 13013, 0.12);
  return S;
}

// A bank of cumulus: many overlapping puffs merged into one body, a pale
// rim first, then the body lit from above.
void CumulusRow(cairo_t* Cr, TRng& Rng, double Y0, int Count, double Scale, double X0 = -30, double X1 = W + 30) {
  std::vector<std::array<double, 3>> Puffs;
  for (int i = 0; i < Count * 3; ++i) {
    const double X = Rng.Range(X0, X1), R = Rng.Range(18, 40) * Scale;
    Puffs.push_back({X, Y0 + Rng.Range(-10, 14) * Scale - R * 0.3, R});
  }
  for (const auto& P : Puffs) Circle(Cr, P[0], P[1], P[2] + 2);
  SetColor(Cr, Rgb(196, 184, 226));
  cairo_fill(Cr);
  for (const auto& P : Puffs) Circle(Cr, P[0], P[1], P[2]);
  const TPatternPtr G(cairo_pattern_create_linear(0, Y0 - 50 * Scale, 0, Y0 + 30 * Scale));
  Stop(G, 0, Rgb(255, 255, 255));
  Stop(G, 0.55, Rgb(250, 244, 252));
  Stop(G, 1, Rgb(214, 204, 236));
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  // Bright tops where light falls.
  for (const auto& P : Puffs) {
    Ellipse(Cr, P[0] - P[2] * 0.2, P[1] - P[2] * 0.45, P[2] * 0.5, P[2] * 0.25);
    cairo_set_source_rgba(Cr, 1, 1, 1, 0.5);
    cairo_fill(Cr);
  }
}

TSurfacePtr HeavenTemple() {
  TSurfacePtr S = ShadeSurface(W, H, [](double, double Y) {
    return Ramp({{0, Rgb(130, 180, 250)}, {300, Rgb(220, 200, 250)}, {550, Rgb(255, 210, 226)}}, Y);
  });
  const TContextPtr Cr = NewContext(S);
  // Rainbow.
  const TRgb Bands[] = {Rgb(255, 80, 80), Rgb(255, 170, 60), Rgb(255, 240, 90), Rgb(110, 220, 110), Rgb(90, 160, 255),
                        Rgb(170, 110, 240)};
  for (int b = 0; b < 6; ++b) {
    Circle(Cr, 300, 560, 420 - b * 12);
    SetColor(Cr, Bands[b], 0.33);
    cairo_set_line_width(Cr, 12.5);
    cairo_stroke(Cr);
  }
  TRng Rng(1414);
  CumulusRow(Cr, Rng, 105, 2, 0.7, 50, 190);
  CumulusRow(Cr, Rng, 70, 2, 0.6, 420, 560);
  // Temple of white marble.
  const TRgb Marble = Rgb(250, 246, 236), Shade = Rgb(190, 180, 196);
  auto Block = [&](double X, double Y, double Bw, double Bh) {
    cairo_rectangle(Cr, X, Y, Bw, Bh);
    const TPatternPtr G(cairo_pattern_create_linear(X, 0, X + Bw, 0));
    Stop(G, 0, Marble);
    Stop(G, 1, Shade);
    cairo_set_source(Cr, G);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(140, 130, 160));
    cairo_set_line_width(Cr, 1.5);
    cairo_stroke(Cr);
  };
  const double L = 140, R = 460, Top = 235, Base = 420;
  Block(L - 30, Base, R - L + 60, 14);
  Block(L - 18, Base - 12, R - L + 36, 12);
  for (int c = 0; c < 6; ++c) {
    const double X = L + c * (R - L - 26) / 5;
    Block(X, Top + 42, 26, Base - 12 - Top - 42);
    for (int f = 1; f < 4; ++f) {
      Line(Cr, X + f * 6.5, Top + 46, X + f * 6.5, Base - 16);
      SetColor(Cr, Rgb(200, 190, 204));
      cairo_set_line_width(Cr, 1.2);
      cairo_stroke(Cr);
    }
    Block(X - 4, Top + 34, 34, 8);
  }
  Block(L - 14, Top + 14, R - L + 28, 20);
  // Pediment.
  cairo_move_to(Cr, L - 24, Top + 14);
  cairo_line_to(Cr, 300, Top - 50);
  cairo_line_to(Cr, R + 24, Top + 14);
  cairo_close_path(Cr);
  const TPatternPtr P(cairo_pattern_create_linear(0, Top - 50, 0, Top + 14));
  Stop(P, 0, Marble);
  Stop(P, 1, Shade);
  cairo_set_source(Cr, P);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(140, 130, 160));
  cairo_set_line_width(Cr, 2);
  cairo_stroke(Cr);
  cairo_move_to(Cr, L, Top + 8);
  cairo_line_to(Cr, 300, Top - 38);
  cairo_line_to(Cr, R, Top + 8);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(210, 200, 220));
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  Circle(Cr, 300, Top - 10, 11);
  SetColor(Cr, Rgb(255, 210, 80));
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(190, 130, 30));
  cairo_stroke(Cr);
  // The temple stands on clouds; more clouds in front.
  CumulusRow(Cr, Rng, 450, 8, 1.0);
  CumulusRow(Cr, Rng, 540, 8, 1.3);
  // Doves.
  for (int i = 0; i < 6; ++i) {
    const double X = Rng.Range(40, W - 40), Y = Rng.Range(40, 200), Sc = Rng.Range(0.7, 1.2);
    cairo_move_to(Cr, X - 12 * Sc, Y - 4 * Sc);
    cairo_curve_to(Cr, X - 6 * Sc, Y - 8 * Sc, X - 2 * Sc, Y - 4 * Sc, X, Y);
    cairo_curve_to(Cr, X + 2 * Sc, Y - 4 * Sc, X + 6 * Sc, Y - 8 * Sc, X + 12 * Sc, Y - 4 * Sc);
    cairo_set_source_rgb(Cr, 1, 1, 1);
    cairo_set_line_width(Cr, 2.5);
    cairo_stroke(Cr);
  }
  Finish(S, 14014, 0.12);
  return S;
}

// -------------------------------------------------------------------- end

TSurfacePtr EndLava() {
  // Voronoi plates of cooled rock with molten seams between them.
  TRng Rng(1515);
  std::vector<std::array<double, 2>> Seeds;
  const int Gx = 9, Gy = 8;
  for (int j = -1; j <= Gy; ++j)
    for (int i = -1; i <= Gx; ++i)
      Seeds.push_back({(i + Rng.Range(0.15, 0.85)) * W / Gx, (j + Rng.Range(0.15, 0.85)) * H / Gy});
  TSurfacePtr S = ShadeSurface(W, H, [&](double X, double Y) {
    // Warp the lookup so that the seams wander.
    const double Wx = X + 18 * (Fbm(X / 80, Y / 80, 151, 3) - 0.5), Wy = Y + 18 * (Fbm(X / 80 + 9, Y / 80, 152, 3) - 0.5);
    double D1 = 1e9, D2 = 1e9;
    for (const auto& P : Seeds) {
      const double D = std::hypot(Wx - P[0], Wy - P[1]);
      if (D < D1) {
        D2 = D1;
        D1 = D;
      } else if (D < D2) {
        D2 = D;
      }
    }
    const double Edge = D2 - D1;
    const double Rock = Fbm(X / 20, Y / 20, 153, 5);
    // Cool slate rock: the end level's enemies are dark red and would
    // vanish on warm brown.
    TRgb C = Mix(Rgb(58, 62, 78), Rgb(118, 122, 136), Rock);
    C = Tone(C, 0.75 + 0.5 * SmoothStep(0, 60, Edge));  // plates rise towards their middle
    const double Heat = std::exp(-Edge / 5.0);
    C = Mix(C, Rgb(255, 90, 10), std::min(1.0, Heat * 1.1));
    C = Mix(C, Rgb(255, 230, 120), std::pow(Heat, 3));
    // A red haze over everything.
    C = Mix(C, Rgb(200, 40, 20), 0.06 * Fbm(X / 150, Y / 150, 154, 3));
    return C;
  });
  AddGlow(S, 12, 0.6, [&](cairo_t* G) {
    cairo_set_source_surface(G, S, 0, 0);
    cairo_paint(G);
    // Keep only the hot parts: darken the copy strongly.
    cairo_set_source_rgba(G, 0, 0, 0, 0.55);
    cairo_paint(G);
  });
  const TContextPtr Cr = NewContext(S);
  for (int i = 0; i < 160; ++i) {
    const double X = Rng.Range(0, W), Y = Rng.Range(0, H), R = Rng.Range(0.8, 2.4);
    Circle(Cr, X, Y, R);
    cairo_set_source_rgba(Cr, 1, Rng.Range(0.5, 0.9), 0.2, Rng.Range(0.5, 1));
    cairo_fill(Cr);
  }
  Finish(S, 15015, 0.28);
  return S;
}

}  // namespace

void AddLevelBackgrounds(std::vector<TPakEntry>& Out) {
  AddJpeg(Out, "back_simple01.jpg", SimpleTiles());
  AddJpeg(Out, "back_simple02.jpg", SimpleBubbles());
  AddJpeg(Out, "back_space01.jpg", SpaceNebula());
  AddJpeg(Out, "back_space02.jpg", SpaceGalaxy());
  AddJpeg(Out, "back_cartoon01.jpg", CartoonHills());
  AddJpeg(Out, "back_cartoon02.jpg", CartoonSea());
  AddJpeg(Out, "back_mystic01.jpg", MysticCircle());
  AddJpeg(Out, "back_mystic02.jpg", MysticForest());
  AddJpeg(Out, "back_horror01.jpg", HorrorGraveyard());
  AddJpeg(Out, "back_horror02.jpg", HorrorDungeon());
  AddJpeg(Out, "back_insect01.jpg", InsectHoneycomb());
  AddJpeg(Out, "back_insect02.jpg", InsectMeadow());
  AddJpeg(Out, "back_heaven01.jpg", HeavenRays());
  AddJpeg(Out, "back_heaven02.jpg", HeavenTemple());
  AddJpeg(Out, "back_end01.jpg", EndLava());
}

}  // namespace sprites

void GenerateBackgrounds(std::vector<TPakEntry>& Out, const std::string& /*PreviewDir*/) {
  sprites::AddLevelBackgrounds(Out);
  sprites::AddSplash(Out);
}
