// The drawing kit every part of the generator draws with: one colour type,
// cairo objects that free themselves, surfaces and their encoding into
// archive entries, shapes, gradients, one blur, and the shading of bodies lit
// from the upper left (one light direction, one outline weight) so that
// everything looks like it belongs to the same game.
#pragma once

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Encode.h"
#include "pak/PakWriter.h"

namespace kit {

constexpr double Pi = 3.14159265358979323846;
constexpr double Tau = 2 * Pi;

// A colour with components in 0..1.
struct TRgb {
  double R = 0, G = 0, B = 0;
};

constexpr TRgb Rgb(int R, int G, int B) { return {R / 255.0, G / 255.0, B / 255.0}; }
TRgb Mix(const TRgb& A, const TRgb& B, double T);
// Towards black (F < 1) or towards white (F > 1, F = 2 is white).
TRgb Tone(const TRgb& C, double F);

// Owns one cairo object and frees it with Free when it goes. It converts to
// the raw pointer for cairo's calls only while it lives: a temporary handle
// does not convert, so no pointer can outlive its owner.
template <typename T, void (*Free)(T*)>
class TCairoPtr {
public:
  TCairoPtr() = default;
  explicit TCairoPtr(T* Object) : FObject(Object) {}
  ~TCairoPtr() {
    if (FObject) Free(FObject);
  }
  TCairoPtr(TCairoPtr&& Other) noexcept : FObject(std::exchange(Other.FObject, nullptr)) {}
  TCairoPtr& operator=(TCairoPtr&& Other) noexcept {
    if (this != &Other) {
      if (FObject) Free(FObject);
      FObject = std::exchange(Other.FObject, nullptr);
    }
    return *this;
  }
  TCairoPtr(const TCairoPtr&) = delete;
  TCairoPtr& operator=(const TCairoPtr&) = delete;

  operator T*() const& { return FObject; }
  operator T*() const&& = delete;
  T* Get() const { return FObject; }

private:
  T* FObject = nullptr;
};

using TContextPtr = TCairoPtr<cairo_t, cairo_destroy>;
using TPatternPtr = TCairoPtr<cairo_pattern_t, cairo_pattern_destroy>;
using TSurfacePtr = TCairoPtr<cairo_surface_t, cairo_surface_destroy>;

// A new transparent ARGB32 surface; throws std::runtime_error when cairo
// cannot make it.
TSurfacePtr NewSurface(int W, int H);
// A new RGB24 surface (opaque; for backgrounds and sheets).
TSurfacePtr NewOpaqueSurface(int W, int H);
// A context drawing on S.
TContextPtr NewContext(cairo_surface_t* S);

// An ARGB32 surface with its context, both freed with the object. Text drawn
// on it looks the same on every machine: grey anti-aliasing, slight hinting,
// no sub-pixel colour fringes.
class TSurface {
public:
  TSurface(int Width, int Height);

  cairo_t* Cr() const { return FCr; }
  cairo_surface_t* Surface() const { return FSurface; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

private:
  int FWidth, FHeight;
  TSurfacePtr FSurface;
  TContextPtr FCr;
};

// Encodes the surface as the game's PNG or JPEG and appends it as Name.
void AddPng(std::vector<TPakEntry>& Out, const std::string& Name, cairo_surface_t* S);
void AddJpeg(std::vector<TPakEntry>& Out, const std::string& Name, cairo_surface_t* S);
// The same for a surface made for the purpose, e.g. AddJpeg(Out, Name, Draw()).
inline void AddPng(std::vector<TPakEntry>& Out, const std::string& Name, const TSurfacePtr& S) { AddPng(Out, Name, S.Get()); }
inline void AddJpeg(std::vector<TPakEntry>& Out, const std::string& Name, const TSurfacePtr& S) {
  AddJpeg(Out, Name, S.Get());
}

// Colours and gradients.
void SetColor(cairo_t* Cr, const TRgb& C, double Alpha = 1.0);
void Stop(cairo_pattern_t* P, double Offset, const TRgb& C, double Alpha = 1.0);
// A vertical gradient from Top at Y0 to Bottom at Y1, as the source.
void SetVerticalGradient(cairo_t* Cr, double Y0, const TRgb& Top, double Y1, const TRgb& Bottom, double Alpha = 1.0);

// Paths.
void Circle(cairo_t* Cr, double X, double Y, double R);
void Ellipse(cairo_t* Cr, double X, double Y, double Rx, double Ry);
// A rectangle with corners of radius R (at most half the shorter side).
void RoundedRect(cairo_t* Cr, double X, double Y, double W, double H, double R);
// A rounded star polygon: N points alternating between radii R1 and R2.
void StarPath(cairo_t* Cr, double Cx, double Cy, int N, double R1, double R2, double Rotation);

// Blurs an ARGB32 or RGB24 surface in place: three box passes of the given
// radius on every channel, edges repeated outwards.
void BlurSurface(cairo_surface_t* S, int Radius);
// Box blur of a single channel, edges repeated outwards; Radius in pixels.
void BlurChannel(std::vector<float>& C, int W, int H, int Radius);

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

// A body lit from the upper left: a radial gradient from a light spot through
// the base colour to a darker rim, for the path the caller sets afterwards.
void BodyGradient(cairo_t* Cr, double Cx, double Cy, double R, const TRgb& Base);
// Fills the current path with BodyGradient and strokes it with the outline.
void ShadedFill(cairo_t* Cr, double Cx, double Cy, double R, const TRgb& Base, double Outline);
// The dark outline colour of a body colour.
TRgb OutlineOf(const TRgb& Base);
// A soft white gloss spot on the upper left of a round body.
void Gloss(cairo_t* Cr, double Cx, double Cy, double R, double Strength = 0.75);
// An eye: white ball with outline, pupil looking towards (Lx, Ly) in [-1, 1].
// Brow > 0 draws an angry lid slanted by Brow radians (Mirror flips it).
void Eye(cairo_t* Cr, double X, double Y, double R, double Lx, double Ly, double Brow, bool Mirror,
         TRgb Iris = {0.1, 0.1, 0.12});

// Straight-alpha pixel access for per-pixel effects.
struct TPixelBuffer {
  int W, H;
  std::vector<float> R, G, B, A;  // 0..1, straight
  TPixelBuffer(int W, int H);
  void Blend(int X, int Y, const TRgb& C, double Alpha);  // source over, clipped
};
// Copies an opaque float picture into a new RGB24 surface (values clamped).
TSurfacePtr ToSurface(const TPixelBuffer& P);

}  // namespace kit
