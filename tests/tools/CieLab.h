// CIE L*a*b* (D65 white) of sRGB colours, for the tests that judge how the
// art reads: lightness steps, hue and how far apart two colours look.
#pragma once

#include <cmath>
#include <cstdint>

// sRGB channel to linear light.
inline double SrgbToLinear(std::uint8_t V) {
  const double C = V / 255.0;
  return C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
}

// The curve from a tristimulus value (relative to white) to L*a*b*'s scale:
// L* = 116 f(Y) - 16.
inline double LabCurve(double T) { return T > 216.0 / 24389.0 ? std::cbrt(T) : (24389.0 / 27.0 * T + 16) / 116; }

struct TLab {
  double L, A, B;
  double Chroma() const { return std::hypot(A, B); }
  // Euclidean distance (CIE76).
  double DistanceTo(const TLab& O) const { return std::hypot(L - O.L, A - O.A, B - O.B); }
};

// Of linear-light red, green and blue (0..1), as a colour-vision simulation
// leaves them.
inline TLab LinearToLab(double Lr, double Lg, double Lb) {
  const double X = (0.4124 * Lr + 0.3576 * Lg + 0.1805 * Lb) / 0.95047;
  const double Y = 0.2126 * Lr + 0.7152 * Lg + 0.0722 * Lb;
  const double Z = (0.0193 * Lr + 0.1192 * Lg + 0.9505 * Lb) / 1.08883;
  return {116 * LabCurve(Y) - 16, 500 * (LabCurve(X) - LabCurve(Y)), 200 * (LabCurve(Y) - LabCurve(Z))};
}

inline TLab ToLab(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
  return LinearToLab(SrgbToLinear(R), SrgbToLinear(G), SrgbToLinear(B));
}
// Of the first three bytes (red, green, blue) of a pixel.
inline TLab ToLab(const std::uint8_t* Rgb) { return ToLab(Rgb[0], Rgb[1], Rgb[2]); }
