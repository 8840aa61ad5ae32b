#include "Encode.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <map>
#include <stdexcept>

std::vector<std::uint8_t> SurfaceToRgba(cairo_surface_t* Surface) {
  cairo_surface_flush(Surface);
  const int W = cairo_image_surface_get_width(Surface);
  const int H = cairo_image_surface_get_height(Surface);
  const int Stride = cairo_image_surface_get_stride(Surface);
  const bool HasAlpha = cairo_image_surface_get_format(Surface) == CAIRO_FORMAT_ARGB32;
  const unsigned char* Data = cairo_image_surface_get_data(Surface);
  std::vector<std::uint8_t> Out(static_cast<std::size_t>(W) * H * 4);
  for (int y = 0; y < H; ++y) {
    const auto* Row = reinterpret_cast<const std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) {
      const std::uint32_t P = Row[x];
      const unsigned A = HasAlpha ? (P >> 24) : 255;
      unsigned R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
      if (A != 0 && A != 255) {  // cairo stores premultiplied alpha
        R = (R * 255 + A / 2) / A;
        G = (G * 255 + A / 2) / A;
        B = (B * 255 + A / 2) / A;
      } else if (A == 0) {
        R = G = B = 0;
      }
      std::uint8_t* O = &Out[(static_cast<std::size_t>(y) * W + x) * 4];
      O[0] = static_cast<std::uint8_t>(R > 255 ? 255 : R);
      O[1] = static_cast<std::uint8_t>(G > 255 ? 255 : G);
      O[2] = static_cast<std::uint8_t>(B > 255 ? 255 : B);
      O[3] = static_cast<std::uint8_t>(A);
    }
  }
  return Out;
}

std::vector<std::uint8_t> SurfaceToRgb(cairo_surface_t* Surface) {
  cairo_surface_flush(Surface);
  const int W = cairo_image_surface_get_width(Surface);
  const int H = cairo_image_surface_get_height(Surface);
  const int Stride = cairo_image_surface_get_stride(Surface);
  const unsigned char* Data = cairo_image_surface_get_data(Surface);
  std::vector<std::uint8_t> Out(static_cast<std::size_t>(W) * H * 3);
  for (int y = 0; y < H; ++y) {
    const auto* Row = reinterpret_cast<const std::uint32_t*>(Data + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) {
      std::uint8_t* O = &Out[(static_cast<std::size_t>(y) * W + x) * 3];
      O[0] = (Row[x] >> 16) & 0xFF;
      O[1] = (Row[x] >> 8) & 0xFF;
      O[2] = Row[x] & 0xFF;
    }
  }
  return Out;
}

TBytes SurfaceToPng(cairo_surface_t* Surface, int Compression) {
  const auto Rgba = SurfaceToRgba(Surface);
  return EncodePngRgba(Rgba.data(), cairo_image_surface_get_width(Surface), cairo_image_surface_get_height(Surface),
                       Compression);
}

TBytes SurfaceToJpeg(cairo_surface_t* Surface, int Quality) {
  const auto Rgb = SurfaceToRgb(Surface);
  return EncodeJpegRgb(Rgb.data(), cairo_image_surface_get_width(Surface), cairo_image_surface_get_height(Surface),
                       Quality);
}

cairo_font_face_t* DejaVuFace(TFontStyle Style) {
  static FT_Library Library = nullptr;
  static std::map<TFontStyle, cairo_font_face_t*> Cache;
  if (auto It = Cache.find(Style); It != Cache.end()) return It->second;
  if (!Library && FT_Init_FreeType(&Library) != 0) throw std::runtime_error("FreeType initialisation failed");
  const char* File = "DejaVuSans.ttf";
  switch (Style) {
    case TFontStyle::Sans: File = "DejaVuSans.ttf"; break;
    case TFontStyle::SansBold: File = "DejaVuSans-Bold.ttf"; break;
    case TFontStyle::SansCondensedBold: File = "DejaVuSansCondensed-Bold.ttf"; break;
    case TFontStyle::Serif: File = "DejaVuSerif.ttf"; break;
    case TFontStyle::SerifBold: File = "DejaVuSerif-Bold.ttf"; break;
    case TFontStyle::Mono: File = "DejaVuSansMono.ttf"; break;
    case TFontStyle::MonoBold: File = "DejaVuSansMono-Bold.ttf"; break;
  }
  const std::string Path = std::string("/usr/share/fonts/truetype/dejavu/") + File;
  FT_Face Face = nullptr;
  if (FT_New_Face(Library, Path.c_str(), 0, &Face) != 0) {
    // fonts-dejavu-core ships only some faces; fall back to the plain ones.
    const bool Bold = Style == TFontStyle::SansBold || Style == TFontStyle::SansCondensedBold ||
                      Style == TFontStyle::SerifBold || Style == TFontStyle::MonoBold;
    const std::string Fallback =
        std::string("/usr/share/fonts/truetype/dejavu/") + (Bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
    if (FT_New_Face(Library, Fallback.c_str(), 0, &Face) != 0) throw std::runtime_error("cannot load font " + Path);
  }
  cairo_font_face_t* CairoFace = cairo_ft_font_face_create_for_ft_face(Face, 0);
  Cache[Style] = CairoFace;
  return CairoFace;
}

void WriteFile(const std::string& Path, const TBytes& Data) {
  std::FILE* F = std::fopen(Path.c_str(), "wb");
  if (!F) throw std::runtime_error("cannot create " + Path);
  const bool Ok = std::fwrite(Data.data(), 1, Data.size(), F) == Data.size();
  if (std::fclose(F) != 0 || !Ok) throw std::runtime_error("cannot write " + Path);
}
