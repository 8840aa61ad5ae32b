// Drawing helpers shared by the actor sprites, the level art and the logo:
// one light direction (from the upper left), one outline weight, one way of
// shading a body, so that everything looks like it belongs to the same game.
#pragma once

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Encode.h"
#include "pak/PakWriter.h"

namespace kit {

constexpr double Pi = 3.14159265358979323846;
constexpr double Tau = 2 * Pi;

struct TRgb {
  double R, G, B;
};

inline TRgb Rgb(int R, int G, int B) { return {R / 255.0, G / 255.0, B / 255.0}; }
TRgb Mix(TRgb A, TRgb B, double T);
// Towards black (F < 1) or towards white (F > 1, F = 2 is white).
TRgb Tone(TRgb C, double F);
void Source(cairo_t* Cr, TRgb C, double A = 1.0);
void Stop(cairo_pattern_t* P, double Offset, TRgb C, double A = 1.0);

// Deterministic generator for scattering things (stars, spots, sparks); each
// picture seeds its own so that pictures do not depend on one another.
class TRng {
public:
  explicit TRng(std::uint32_t Seed) : FState(Seed * 2654435761u + 0x9E3779B9u) {}
  std::uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
  }
  double Real() { return (Next() >> 8) * (1.0 / 16777216.0); }  // [0, 1)
  double Range(double Lo, double Hi) { return Lo + (Hi - Lo) * Real(); }

private:
  std::uint32_t FState;
};

// Smooth value noise in [0, 1], periodic in neither axis; Seed picks the field.
double Noise(double X, double Y, std::uint32_t Seed);
// Sum of Octaves noise layers, each twice the frequency and half the weight.
double Fbm(double X, double Y, std::uint32_t Seed, int Octaves);

// A transparent ARGB32 canvas.
cairo_surface_t* NewSurface(int W, int H);
// Encodes the surface as the game's PNG, appends it as Name and destroys it.
void AddPng(std::vector<TPakEntry>& Out, const std::string& Name, cairo_surface_t* S);
void AddJpeg(std::vector<TPakEntry>& Out, const std::string& Name, cairo_surface_t* S);

// A body lit from the upper left: a radial gradient from a light spot through
// the base colour to a darker rim, for the path the caller sets afterwards.
void BodyGradient(cairo_t* Cr, double Cx, double Cy, double R, TRgb Base);
// Fills the current path with BodyGradient and strokes it with the outline.
void ShadedFill(cairo_t* Cr, double Cx, double Cy, double R, TRgb Base, double Outline);
// The dark outline colour of a body colour.
TRgb OutlineOf(TRgb Base);
// A soft white gloss spot on the upper left of a round body.
void Gloss(cairo_t* Cr, double Cx, double Cy, double R, double Strength = 0.75);
// An eye: white ball with outline, pupil looking towards (Lx, Ly) in [-1, 1].
// Brow > 0 draws an angry lid slanted by Brow radians (Mirror flips it).
void Eye(cairo_t* Cr, double X, double Y, double R, double Lx, double Ly, double Brow, bool Mirror,
         TRgb Iris = {0.1, 0.1, 0.12});
void Circle(cairo_t* Cr, double X, double Y, double R);
void Ellipse(cairo_t* Cr, double X, double Y, double Rx, double Ry);
// A rounded star polygon: N points alternating between radii R1 and R2.
void StarPath(cairo_t* Cr, double Cx, double Cy, int N, double R1, double R2, double Rotation);

// Straight-alpha pixel access for per-pixel effects on ARGB32 surfaces.
struct TPixelBuffer {
  int W, H;
  std::vector<float> R, G, B, A;  // 0..1, straight
  TPixelBuffer(int W, int H);
  void Blend(int X, int Y, TRgb C, double Alpha);  // source over, clipped
};
// Copies an opaque float picture into a new RGB24 surface (values clamped).
cairo_surface_t* ToSurface(const TPixelBuffer& P);

// Box blur of a single channel, used for glows; Radius in pixels.
void BlurChannel(std::vector<float>& C, int W, int H, int Radius);

}  // namespace kit
