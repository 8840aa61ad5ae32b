// Shared by every part of the asset generator: cairo surfaces into the
// formats the game reads, and the DejaVu faces. Output must be byte-for-byte
// the same on every run: no clocks, no system font lookup.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "JpegEncode.h"
#include "PngEncode.h"

// Straight RGBA (4 bytes a pixel, rows top-down) of an ARGB32 cairo surface.
std::vector<std::uint8_t> SurfaceToRgba(cairo_surface_t* Surface);
// RGB of an ARGB32 or RGB24 surface, alpha ignored.
std::vector<std::uint8_t> SurfaceToRgb(cairo_surface_t* Surface);

// 8-bit RGBA PNG, straight alpha. Compression 9 for archive entries;
// previews may trade size for speed.
TBytes SurfaceToPng(cairo_surface_t* Surface, int Compression = 9);
// Baseline 8-bit RGB JPEG.
TBytes SurfaceToJpeg(cairo_surface_t* Surface, int Quality = 90);

enum class TFontStyle { Sans, SansBold, SansCondensedBold, Serif, SerifBold, Mono, MonoBold };
// A cairo face loaded straight from the DejaVu file through FreeType; cached,
// never freed (the generator is a short-lived process).
cairo_font_face_t* DejaVuFace(TFontStyle Style);

// Writes bytes to a file; throws std::runtime_error on failure.
void WriteFile(const std::string& Path, const TBytes& Data);
