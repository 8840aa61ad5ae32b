#include "Canvas.h"

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

cairo_surface_t* ShadeSurface(int W, int H, const std::function<TRgb(double X, double Y)>& Shader) {
  cairo_surface_t* S = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
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

void BlurSurface(cairo_surface_t* S, int Radius) {
  cairo_surface_flush(S);
  const int W = cairo_image_surface_get_width(S), H = cairo_image_surface_get_height(S);
  unsigned char* Data = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  std::vector<float> Ch[4];
  for (auto& C : Ch) C.resize(static_cast<std::size_t>(W) * H);
  for (int y = 0; y < H; ++y) {
    const auto* Row = reinterpret_cast<const std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 4; ++c) Ch[c][static_cast<std::size_t>(y) * W + x] = static_cast<float>((Row[x] >> (8 * c)) & 0xFF);
  }
  const int Step = std::max(1, Radius / 2);
  for (auto& C : Ch)
    for (int Pass = 0; Pass < 3; ++Pass) BlurChannel(C, W, H, Step);
  for (int y = 0; y < H; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) {
      std::uint32_t P = 0;
      const std::size_t I = static_cast<std::size_t>(y) * W + x;
      const float A = std::clamp(Ch[3][I], 0.0f, 255.0f);
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

void AddGlow(cairo_surface_t* Target, int Radius, double Strength, const std::function<void(cairo_t*)>& Paint) {
  const int W = cairo_image_surface_get_width(Target), H = cairo_image_surface_get_height(Target);
  cairo_surface_t* Layer = NewSurface(W, H);
  cairo_t* L = cairo_create(Layer);
  Paint(L);
  cairo_destroy(L);
  BlurSurface(Layer, Radius);
  cairo_t* Cr = cairo_create(Target);
  cairo_set_operator(Cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_surface(Cr, Layer, 0, 0);
  cairo_paint_with_alpha(Cr, Strength);
  cairo_destroy(Cr);
  cairo_surface_destroy(Layer);
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
