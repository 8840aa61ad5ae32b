#include "kit/Canvas.h"

#include <algorithm>

namespace kit {

namespace {
std::uint32_t Pack(TRgb C) {
  auto B = [](double V) { return static_cast<std::uint32_t>(std::clamp(V, 0.0, 1.0) * 255.0 + 0.5); };
  return 0xFF000000u | (B(C.R) << 16) | (B(C.G) << 8) | B(C.B);
}
TRgb Unpack(std::uint32_t P) {
  return {((P >> 16) & 0xFF) / 255.0, ((P >> 8) & 0xFF) / 255.0, (P & 0xFF) / 255.0};
}
}  // namespace

double SmoothStep(double E0, double E1, double X) {
  const double T = std::clamp((X - E0) / (E1 - E0), 0.0, 1.0);
  return T * T * (3 - 2 * T);
}

TRgb Ramp(const std::vector<TStop>& Stops, double X) {
  if (X <= Stops.front().At) return Stops.front().C;
  for (std::size_t i = 1; i < Stops.size(); ++i)
    if (X <= Stops[i].At) return Mix(Stops[i - 1].C, Stops[i].C, (X - Stops[i - 1].At) / (Stops[i].At - Stops[i - 1].At));
  return Stops.back().C;
}

TSurfacePtr ShadeSurface(int W, int H, const std::function<TRgb(double X, double Y)>& Shader) {
  TSurfacePtr S = NewOpaqueSurface(W, H);
  unsigned char* Data = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  for (int y = 0; y < H; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) Row[x] = Pack(Shader(x + 0.5, y + 0.5));
  }
  cairo_surface_mark_dirty(S);
  return S;
}

void PostProcess(cairo_surface_t* S, const std::function<TRgb(int X, int Y, TRgb C)>& Fn) {
  cairo_surface_flush(S);
  const int W = cairo_image_surface_get_width(S), H = cairo_image_surface_get_height(S);
  unsigned char* Data = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  for (int y = 0; y < H; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) Row[x] = Pack(Fn(x, y, Unpack(Row[x])));
  }
  cairo_surface_mark_dirty(S);
}

void AddGlow(cairo_surface_t* Target, int Radius, double Strength, const std::function<void(cairo_t*)>& Paint) {
  const int W = cairo_image_surface_get_width(Target), H = cairo_image_surface_get_height(Target);
  const TSurfacePtr Layer = NewSurface(W, H);
  Paint(NewContext(Layer).Get());
  // Radius is how far the light reaches; three passes of half of it do that.
  BlurSurface(Layer, std::max(1, Radius / 2));
  const TContextPtr Cr = NewContext(Target);
  cairo_set_operator(Cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_surface(Cr, Layer, 0, 0);
  cairo_paint_with_alpha(Cr, Strength);
}

void Finish(cairo_surface_t* S, std::uint32_t Seed, double Vignette, double Grain) {
  const int W = cairo_image_surface_get_width(S), H = cairo_image_surface_get_height(S);
  TRng Rng(Seed);
  PostProcess(S, [&](int X, int Y, TRgb C) {
    const double Dx = (X + 0.5) / W - 0.5, Dy = (Y + 0.5) / H - 0.5;
    const double V = 1 - Vignette * SmoothStep(0.18, 0.75, Dx * Dx + Dy * Dy) * 2.2;
    const double N = (Rng.Real() - 0.5) * 2 * Grain;
    return TRgb{C.R * V + N, C.G * V + N, C.B * V + N};
  });
}

}  // namespace kit
