#include "kit/DrawKit.h"

#include <algorithm>
#include <stdexcept>

namespace kit {

TRgb Mix(const TRgb& A, const TRgb& B, double T) {
  return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
}

TRgb Tone(const TRgb& C, double F) {
  if (F <= 1) return {C.R * F, C.G * F, C.B * F};
  return Mix(C, {1, 1, 1}, std::min(1.0, F - 1));
}

void SetColor(cairo_t* Cr, const TRgb& C, double Alpha) { cairo_set_source_rgba(Cr, C.R, C.G, C.B, Alpha); }

void Stop(cairo_pattern_t* P, double Offset, const TRgb& C, double Alpha) {
  cairo_pattern_add_color_stop_rgba(P, Offset, C.R, C.G, C.B, Alpha);
}

void SetVerticalGradient(cairo_t* Cr, double Y0, const TRgb& Top, double Y1, const TRgb& Bottom, double Alpha) {
  const TPatternPtr P(cairo_pattern_create_linear(0, Y0, 0, Y1));
  Stop(P, 0, Top, Alpha);
  Stop(P, 1, Bottom, Alpha);
  cairo_set_source(Cr, P);
}

namespace {
std::uint32_t Hash(std::int32_t X, std::int32_t Y, std::uint32_t Seed) {
  std::uint32_t H = Seed * 0x27d4eb2du ^ static_cast<std::uint32_t>(X) * 0x85ebca6bu ^
                    static_cast<std::uint32_t>(Y) * 0xc2b2ae35u;
  H ^= H >> 15;
  H *= 0x2c1b3c6du;
  H ^= H >> 12;
  H *= 0x297a2d39u;
  H ^= H >> 15;
  return H;
}
double Lattice(std::int32_t X, std::int32_t Y, std::uint32_t Seed) { return (Hash(X, Y, Seed) >> 8) * (1.0 / 16777216.0); }
double Smooth(double T) { return T * T * T * (T * (T * 6 - 15) + 10); }
}  // namespace

double Noise(double X, double Y, std::uint32_t Seed) {
  const double Fx = std::floor(X), Fy = std::floor(Y);
  const auto Ix = static_cast<std::int32_t>(Fx), Iy = static_cast<std::int32_t>(Fy);
  const double Tx = Smooth(X - Fx), Ty = Smooth(Y - Fy);
  const double A = Lattice(Ix, Iy, Seed), B = Lattice(Ix + 1, Iy, Seed);
  const double C = Lattice(Ix, Iy + 1, Seed), D = Lattice(Ix + 1, Iy + 1, Seed);
  const double Top = A + (B - A) * Tx, Bottom = C + (D - C) * Tx;
  return Top + (Bottom - Top) * Ty;
}

double Fbm(double X, double Y, std::uint32_t Seed, int Octaves) {
  double Sum = 0, Weight = 0.5, Total = 0;
  for (int i = 0; i < Octaves; ++i) {
    Sum += Noise(X, Y, Seed + static_cast<std::uint32_t>(i) * 7919u) * Weight;
    Total += Weight;
    X = X * 2.03 + 17.1;
    Y = Y * 2.03 - 9.7;
    Weight *= 0.5;
  }
  return Sum / Total;
}

namespace {
TSurfacePtr CheckedSurface(cairo_format_t Format, int W, int H) {
  TSurfacePtr S(cairo_image_surface_create(Format, W, H));
  if (cairo_surface_status(S) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cairo cannot make a " + std::to_string(W) + " x " + std::to_string(H) + " surface");
  return S;
}
}  // namespace

TSurfacePtr NewSurface(int W, int H) { return CheckedSurface(CAIRO_FORMAT_ARGB32, W, H); }
TSurfacePtr NewOpaqueSurface(int W, int H) { return CheckedSurface(CAIRO_FORMAT_RGB24, W, H); }
TContextPtr NewContext(cairo_surface_t* S) { return TContextPtr(cairo_create(S)); }

TSurface::TSurface(int Width, int Height)
    : FWidth(Width), FHeight(Height), FSurface(NewSurface(Width, Height)), FCr(NewContext(FSurface)) {
  cairo_font_options_t* Options = cairo_font_options_create();
  cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(FCr, Options);
  cairo_font_options_destroy(Options);
}

void AddPng(std::vector<TPakEntry>& Out, const std::string& Name, cairo_surface_t* S) {
  Out.push_back({Name, SurfaceToPng(S)});
}

void AddJpeg(std::vector<TPakEntry>& Out, const std::string& Name, cairo_surface_t* S) {
  Out.push_back({Name, SurfaceToJpeg(S, 90)});
}

TRgb OutlineOf(const TRgb& Base) { return Mix(Tone(Base, 0.28), {0.05, 0.04, 0.08}, 0.45); }

void BodyGradient(cairo_t* Cr, double Cx, double Cy, double R, const TRgb& Base) {
  const TPatternPtr P(cairo_pattern_create_radial(Cx - R * 0.35, Cy - R * 0.4, R * 0.05, Cx, Cy, R * 1.05));
  Stop(P, 0.0, Tone(Base, 1.45));
  Stop(P, 0.45, Base);
  Stop(P, 1.0, Tone(Base, 0.55));
  cairo_set_source(Cr, P);
}

void ShadedFill(cairo_t* Cr, double Cx, double Cy, double R, const TRgb& Base, double Outline) {
  BodyGradient(Cr, Cx, Cy, R, Base);
  cairo_fill_preserve(Cr);
  SetColor(Cr, OutlineOf(Base));
  cairo_set_line_width(Cr, Outline);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(Cr);
}

void Gloss(cairo_t* Cr, double Cx, double Cy, double R, double Strength) {
  const double Gx = Cx - R * 0.38, Gy = Cy - R * 0.45;
  cairo_save(Cr);
  cairo_translate(Cr, Gx, Gy);
  cairo_rotate(Cr, -0.6);
  cairo_scale(Cr, R * 0.42, R * 0.25);
  const TPatternPtr P(cairo_pattern_create_radial(0, 0, 0, 0, 0, 1));
  cairo_pattern_add_color_stop_rgba(P, 0, 1, 1, 1, Strength);
  cairo_pattern_add_color_stop_rgba(P, 0.6, 1, 1, 1, Strength * 0.45);
  cairo_pattern_add_color_stop_rgba(P, 1, 1, 1, 1, 0);
  cairo_set_source(Cr, P);
  cairo_arc(Cr, 0, 0, 1, 0, Tau);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

void Circle(cairo_t* Cr, double X, double Y, double R) {
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, X, Y, R, 0, Tau);
}

void Ellipse(cairo_t* Cr, double X, double Y, double Rx, double Ry) {
  cairo_save(Cr);
  cairo_translate(Cr, X, Y);
  cairo_scale(Cr, Rx, Ry);
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, 0, 0, 1, 0, Tau);
  cairo_restore(Cr);
}

void RoundedRect(cairo_t* Cr, double X, double Y, double W, double H, double R) {
  R = std::min({R, W / 2, H / 2});
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, X + W - R, Y + R, R, -Pi / 2, 0);
  cairo_arc(Cr, X + W - R, Y + H - R, R, 0, Pi / 2);
  cairo_arc(Cr, X + R, Y + H - R, R, Pi / 2, Pi);
  cairo_arc(Cr, X + R, Y + R, R, Pi, 3 * Pi / 2);
  cairo_close_path(Cr);
}

void StarPath(cairo_t* Cr, double Cx, double Cy, int N, double R1, double R2, double Rotation) {
  cairo_new_sub_path(Cr);
  for (int i = 0; i < 2 * N; ++i) {
    const double A = Rotation + i * Pi / N - Pi / 2;
    const double R = (i % 2 == 0) ? R1 : R2;
    if (i == 0)
      cairo_move_to(Cr, Cx + R * std::cos(A), Cy + R * std::sin(A));
    else
      cairo_line_to(Cr, Cx + R * std::cos(A), Cy + R * std::sin(A));
  }
  cairo_close_path(Cr);
}

void Eye(cairo_t* Cr, double X, double Y, double R, double Lx, double Ly, double Brow, bool Mirror, TRgb Iris) {
  Circle(Cr, X, Y, R);
  const TPatternPtr P(cairo_pattern_create_radial(X - R * 0.3, Y - R * 0.3, R * 0.1, X, Y, R));
  cairo_pattern_add_color_stop_rgb(P, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(P, 1, 0.82, 0.84, 0.88);
  cairo_set_source(Cr, P);
  cairo_fill_preserve(Cr);
  cairo_set_source_rgb(Cr, 0.08, 0.06, 0.1);
  cairo_set_line_width(Cr, std::max(0.8, R * 0.18));
  cairo_stroke(Cr);
  const double Pr = R * 0.5;
  const double Px = X + Lx * (R - Pr) * 0.75, Py = Y + Ly * (R - Pr) * 0.75;
  Circle(Cr, Px, Py, Pr);
  SetColor(Cr, Iris);
  cairo_fill(Cr);
  Circle(Cr, Px - Pr * 0.35, Py - Pr * 0.35, Pr * 0.32);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.9);
  cairo_fill(Cr);
  if (Brow > 0) {
    // A lid that cuts the top of the eye at a slant: angry.
    cairo_save(Cr);
    Circle(Cr, X, Y, R);
    cairo_clip(Cr);
    cairo_translate(Cr, X, Y);
    if (Mirror) cairo_scale(Cr, -1, 1);
    cairo_rotate(Cr, Brow);
    cairo_rectangle(Cr, -R * 1.4, -R * 1.6, R * 2.8, R * 1.25);
    cairo_set_source_rgb(Cr, 0.08, 0.06, 0.1);
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
}

TPixelBuffer::TPixelBuffer(int W_, int H_)
    : W(W_), H(H_), R(static_cast<std::size_t>(W_) * H_), G(R.size()), B(R.size()), A(R.size()) {}

void TPixelBuffer::Blend(int X, int Y, const TRgb& C, double Alpha) {
  if (X < 0 || Y < 0 || X >= W || Y >= H || Alpha <= 0) return;
  const std::size_t I = static_cast<std::size_t>(Y) * W + X;
  const float Al = static_cast<float>(std::min(1.0, Alpha));
  R[I] += (static_cast<float>(C.R) - R[I]) * Al;
  G[I] += (static_cast<float>(C.G) - G[I]) * Al;
  B[I] += (static_cast<float>(C.B) - B[I]) * Al;
  A[I] = A[I] + (1 - A[I]) * Al;
}

TSurfacePtr ToSurface(const TPixelBuffer& P) {
  TSurfacePtr S = NewOpaqueSurface(P.W, P.H);
  unsigned char* Data = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  auto Byte = [](float V) {
    const float C = std::clamp(V, 0.0f, 1.0f);
    return static_cast<std::uint32_t>(C * 255.0f + 0.5f);
  };
  for (int y = 0; y < P.H; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < P.W; ++x) {
      const std::size_t I = static_cast<std::size_t>(y) * P.W + x;
      Row[x] = 0xFF000000u | (Byte(P.R[I]) << 16) | (Byte(P.G[I]) << 8) | Byte(P.B[I]);
    }
  }
  cairo_surface_mark_dirty(S);
  return S;
}

void BlurChannel(std::vector<float>& C, int W, int H, int Radius) {
  if (Radius <= 0) return;
  std::vector<float> T(C.size());
  const float Norm = 1.0f / static_cast<float>(2 * Radius + 1);
  for (int y = 0; y < H; ++y) {
    float Sum = 0;
    const std::size_t Row = static_cast<std::size_t>(y) * W;
    for (int x = -Radius; x <= Radius; ++x) Sum += C[Row + std::clamp(x, 0, W - 1)];
    for (int x = 0; x < W; ++x) {
      T[Row + x] = Sum * Norm;
      Sum += C[Row + std::min(x + Radius + 1, W - 1)] - C[Row + std::max(x - Radius, 0)];
    }
  }
  for (int x = 0; x < W; ++x) {
    float Sum = 0;
    for (int y = -Radius; y <= Radius; ++y) Sum += T[static_cast<std::size_t>(std::clamp(y, 0, H - 1)) * W + x];
    for (int y = 0; y < H; ++y) {
      C[static_cast<std::size_t>(y) * W + x] = Sum * Norm;
      Sum += T[static_cast<std::size_t>(std::min(y + Radius + 1, H - 1)) * W + x] -
             T[static_cast<std::size_t>(std::max(y - Radius, 0)) * W + x];
    }
  }
}

void BlurSurface(cairo_surface_t* S, int Radius) {
  if (Radius <= 0) return;
  cairo_surface_flush(S);
  const int W = cairo_image_surface_get_width(S), H = cairo_image_surface_get_height(S);
  unsigned char* Data = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  const bool Opaque = cairo_image_surface_get_format(S) != CAIRO_FORMAT_ARGB32;
  std::vector<float> Ch[4];
  for (auto& C : Ch) C.resize(static_cast<std::size_t>(W) * H);
  for (int y = 0; y < H; ++y) {
    const auto* Row = reinterpret_cast<const std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 4; ++c) Ch[c][static_cast<std::size_t>(y) * W + x] = static_cast<float>((Row[x] >> (8 * c)) & 0xFF);
  }
  for (auto& C : Ch)
    for (int Pass = 0; Pass < 3; ++Pass) BlurChannel(C, W, H, Radius);
  for (int y = 0; y < H; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) {
      std::uint32_t P = 0;
      const std::size_t I = static_cast<std::size_t>(y) * W + x;
      const float A = Opaque ? 255.0f : std::clamp(Ch[3][I], 0.0f, 255.0f);
      for (int c = 0; c < 4; ++c) {
        // Premultiplied colour must not exceed alpha.
        const float V = std::clamp(Ch[c][I], 0.0f, c == 3 ? 255.0f : A);
        P |= static_cast<std::uint32_t>(V + 0.5f) << (8 * c);
      }
      Row[x] = P;
    }
  }
  cairo_surface_mark_dirty(S);
}

}  // namespace kit
