// Tools for the large pictures (level art, logo): per-pixel shading into cairo
// surfaces, blurred glow layers and a finishing pass of vignette and grain.
#pragma once

#include <cairo.h>

#include <functional>

#include "kit/DrawKit.h"

namespace kit {

// A new opaque W x H surface whose every pixel is Shader(x + 0.5, y + 0.5).
TSurfacePtr ShadeSurface(int W, int H, const std::function<TRgb(double X, double Y)>& Shader);
// Rewrites every pixel of an RGB24 or opaque ARGB32 surface.
void PostProcess(cairo_surface_t* S, const std::function<TRgb(int X, int Y, TRgb C)>& Fn);
// Adds a blurred copy of what Paint draws (on a transparent layer) onto Target:
// light that bleeds, for glows, lamps and magic.
void AddGlow(cairo_surface_t* Target, int Radius, double Strength, const std::function<void(cairo_t*)>& Paint);
// Darkened corners and a faint grain, so flat areas do not band in the JPEG.
void Finish(cairo_surface_t* S, std::uint32_t Seed, double Vignette = 0.22, double Grain = 0.018);

double SmoothStep(double E0, double E1, double X);
// A colour from a list of (position, colour) stops, positions ascending.
struct TStop {
  double At;
  TRgb C;
};
TRgb Ramp(const std::vector<TStop>& Stops, double X);

}  // namespace kit
