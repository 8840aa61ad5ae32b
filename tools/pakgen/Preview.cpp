#include "Preview.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <map>
#include <set>

#include "Manifest.h"

namespace {

struct TPngSource {
  const TBytes* Data;
  std::size_t Pos;
};

void PngRead(png_structp Png, png_bytep Out, png_size_t Length) {
  auto* Src = static_cast<TPngSource*>(png_get_io_ptr(Png));
  if (Src->Pos + Length > Src->Data->size()) png_error(Png, "truncated");
  std::memcpy(Out, Src->Data->data() + Src->Pos, Length);
  Src->Pos += Length;
}

// Straight RGBA rows into a premultiplied cairo surface.
cairo_surface_t* SurfaceFromRgba(const std::vector<std::uint8_t>& Rgba, int W, int H) {
  cairo_surface_t* S = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, W, H);
  unsigned char* Dst = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  for (int y = 0; y < H; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Dst + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < W; ++x) {
      const std::uint8_t* P = &Rgba[(static_cast<std::size_t>(y) * W + x) * 4];
      const unsigned A = P[3];
      const unsigned R = (P[0] * A + 127) / 255, G = (P[1] * A + 127) / 255, B = (P[2] * A + 127) / 255;
      Row[x] = (A << 24) | (R << 16) | (G << 8) | B;
    }
  }
  cairo_surface_mark_dirty(S);
  return S;
}

cairo_surface_t* DecodePng(const TBytes& Data) {
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  if (!Png || !Info) {
    png_destroy_read_struct(&Png, &Info, nullptr);
    return nullptr;
  }
  std::vector<std::uint8_t> Rgba;
  TPngSource Src{&Data, 0};
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_read_struct(&Png, &Info, nullptr);
    return nullptr;
  }
  png_set_read_fn(Png, &Src, PngRead);
  png_read_info(Png, Info);
  // The game's pictures are all 8-bit RGBA; convert anything else for viewing.
  png_set_expand(Png);
  png_set_strip_16(Png);
  png_set_gray_to_rgb(Png);
  png_set_add_alpha(Png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(Png, Info);
  const int W = static_cast<int>(png_get_image_width(Png, Info));
  const int H = static_cast<int>(png_get_image_height(Png, Info));
  Rgba.resize(static_cast<std::size_t>(W) * H * 4);
  std::vector<png_bytep> Rows(H);
  for (int y = 0; y < H; ++y) Rows[y] = &Rgba[static_cast<std::size_t>(y) * W * 4];
  png_read_image(Png, Rows.data());
  png_read_end(Png, nullptr);
  png_destroy_read_struct(&Png, &Info, nullptr);
  return SurfaceFromRgba(Rgba, W, H);
}

struct TJpegError {
  jpeg_error_mgr Mgr;
  std::jmp_buf Jump;
};

void JpegFail(j_common_ptr Info) { std::longjmp(reinterpret_cast<TJpegError*>(Info->err)->Jump, 1); }

cairo_surface_t* DecodeJpeg(const TBytes& Data) {
  jpeg_decompress_struct Cinfo;
  TJpegError Err;
  Cinfo.err = jpeg_std_error(&Err.Mgr);
  Err.Mgr.error_exit = JpegFail;
  // Declared before setjmp so that a longjmp does not skip their lifetimes.
  std::vector<std::uint8_t> Rgba;
  std::vector<std::uint8_t> Row;
  if (setjmp(Err.Jump)) {
    jpeg_destroy_decompress(&Cinfo);
    return nullptr;
  }
  jpeg_create_decompress(&Cinfo);
  jpeg_mem_src(&Cinfo, Data.data(), static_cast<unsigned long>(Data.size()));
  jpeg_read_header(&Cinfo, TRUE);
  Cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Cinfo);
  const int W = static_cast<int>(Cinfo.output_width), H = static_cast<int>(Cinfo.output_height);
  Rgba.assign(static_cast<std::size_t>(W) * H * 4, 255);
  Row.resize(static_cast<std::size_t>(W) * 3);
  while (Cinfo.output_scanline < Cinfo.output_height) {
    const int y = static_cast<int>(Cinfo.output_scanline);
    JSAMPROW R = Row.data();
    jpeg_read_scanlines(&Cinfo, &R, 1);
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) Rgba[(static_cast<std::size_t>(y) * W + x) * 4 + c] = Row[x * 3 + c];
  }
  jpeg_finish_decompress(&Cinfo);
  jpeg_destroy_decompress(&Cinfo);
  return SurfaceFromRgba(Rgba, W, H);
}

bool EndsWith(const std::string& S, const char* Tail) {
  const std::size_t N = std::strlen(Tail);
  return S.size() >= N && S.compare(S.size() - N, N, Tail) == 0;
}

// Zoom for a picture of this size: small sprites doubled (nearest neighbour,
// so the real pixels show), big pictures reduced to fit the sheet.
double ThumbScale(int W, int H) {
  double S = (W <= 40 && H <= 40) ? 3.0 : (W <= 100 && H <= 100) ? 2.0 : 1.0;
  if (W * S > 800) S = 800.0 / W;
  if (H * S > 300) S = 300.0 / H;
  if (W >= 300 && H >= 200) S = std::min(S, 0.5);
  return S;
}

struct TCell {
  std::string Name;
  cairo_surface_t* Picture;  // nullptr: did not decode
  bool Known;
  double Scale;
  int W, H;  // cell size
};

constexpr int SheetWidth = 1700;
constexpr int Pad = 6;
constexpr int LabelHeight = 14;

}  // namespace

cairo_surface_t* DecodePicture(const TBytes& Data) {
  static const std::uint8_t PngMagic[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (Data.size() >= 8 && std::memcmp(Data.data(), PngMagic, 8) == 0) return DecodePng(Data);
  if (Data.size() >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF) return DecodeJpeg(Data);
  return nullptr;
}

std::string ManifestDifferences(const std::vector<TPakEntry>& Entries) {
  std::string Out;
  std::set<std::string> Have, Want;
  for (const TPakEntry& E : Entries)
    if (!Have.insert(E.Name).second) Out += "duplicate: " + E.Name + "\n";
  for (const TManifestEntry& M : PakManifest()) {
    Want.insert(M.Name);
    if (!Have.count(M.Name)) Out += "missing: " + M.Name + "\n";
  }
  for (const TPakEntry& E : Entries)
    if (!Want.count(E.Name)) Out += "not in manifest: " + E.Name + "\n";
  return Out;
}

void WriteContactSheet(const std::vector<TPakEntry>& Entries, const std::string& Path) {
  std::map<std::string, std::size_t> Order;
  for (const TManifestEntry& M : PakManifest()) Order.emplace(M.Name, Order.size());
  std::vector<const TPakEntry*> Sorted;
  for (const TPakEntry& E : Entries)
    if (EndsWith(E.Name, ".png") || EndsWith(E.Name, ".jpg")) Sorted.push_back(&E);
  std::stable_sort(Sorted.begin(), Sorted.end(), [&](const TPakEntry* A, const TPakEntry* B) {
    const auto IA = Order.find(A->Name), IB = Order.find(B->Name);
    const std::size_t OA = IA == Order.end() ? Order.size() : IA->second;
    const std::size_t OB = IB == Order.end() ? Order.size() : IB->second;
    return OA < OB;
  });

  cairo_font_face_t* Font = DejaVuFace(TFontStyle::Sans);
  cairo_surface_t* Probe = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* P = cairo_create(Probe);
  cairo_set_font_face(P, Font);
  cairo_set_font_size(P, 10);

  std::vector<TCell> Cells;
  for (const TPakEntry* E : Sorted) {
    TCell C{E->Name, DecodePicture(E->Data), Order.count(E->Name) != 0, 1.0, 0, 0};
    cairo_text_extents_t Ext;
    cairo_text_extents(P, E->Name.c_str(), &Ext);
    int PW = 60, PH = 30;
    if (C.Picture) {
      const int W = cairo_image_surface_get_width(C.Picture), H = cairo_image_surface_get_height(C.Picture);
      C.Scale = ThumbScale(W, H);
      PW = static_cast<int>(std::ceil(W * C.Scale));
      PH = static_cast<int>(std::ceil(H * C.Scale));
    }
    C.W = std::max(PW, static_cast<int>(std::ceil(Ext.x_advance))) + Pad;
    C.H = PH + LabelHeight + Pad;
    Cells.push_back(C);
  }
  cairo_destroy(P);
  cairo_surface_destroy(Probe);

  // Flow the cells into rows; a new image set starts a new row so that the
  // frames of an animation read left to right.
  std::map<std::string, std::string> SetOf;
  for (const TManifestEntry& M : PakManifest()) SetOf[M.Name] = M.Set;
  struct TPlace {
    int X, Y;
  };
  std::vector<TPlace> Places;
  int X = Pad, Y = Pad + 20, RowH = 0;
  std::string LastSet;
  for (const TCell& C : Cells) {
    const std::string Set = SetOf.count(C.Name) ? SetOf[C.Name] : std::string();
    const bool SetChange = Set != LastSet && (!Set.empty() || !LastSet.empty());
    if (X + C.W > SheetWidth || (SetChange && X > Pad)) {
      X = Pad;
      Y += RowH;
      RowH = 0;
    }
    Places.push_back({X, Y});
    X += C.W;
    RowH = std::max(RowH, C.H);
    LastSet = Set;
  }
  const int SheetHeight = Y + RowH + Pad;

  cairo_surface_t* Sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, SheetWidth, SheetHeight);
  cairo_t* Cr = cairo_create(Sheet);
  cairo_set_source_rgb(Cr, 0.16, 0.17, 0.2);
  cairo_paint(Cr);
  cairo_set_font_face(Cr, Font);
  cairo_set_font_size(Cr, 13);
  cairo_set_source_rgb(Cr, 0.95, 0.95, 0.95);
  cairo_move_to(Cr, Pad, 16);
  const std::string Title = "game.pak: " + std::to_string(Entries.size()) + " entries, " +
                            std::to_string(Cells.size()) + " pictures";
  cairo_show_text(Cr, Title.c_str());
  cairo_set_font_size(Cr, 10);

  for (std::size_t i = 0; i < Cells.size(); ++i) {
    const TCell& C = Cells[i];
    const int PX = Places[i].X, PY = Places[i].Y;
    if (C.Picture) {
      const int PW = static_cast<int>(std::ceil(cairo_image_surface_get_width(C.Picture) * C.Scale));
      const int PH = static_cast<int>(std::ceil(cairo_image_surface_get_height(C.Picture) * C.Scale));
      // Checkerboard so that transparency and soft edges show.
      for (int cy = 0; cy < PH; cy += 6)
        for (int cx = 0; cx < PW; cx += 6) {
          const bool Dark = ((cx / 6) + (cy / 6)) % 2;
          cairo_set_source_rgb(Cr, Dark ? 0.55 : 0.75, Dark ? 0.55 : 0.75, Dark ? 0.58 : 0.78);
          cairo_rectangle(Cr, PX + cx, PY + cy, std::min(6, PW - cx), std::min(6, PH - cy));
          cairo_fill(Cr);
        }
      cairo_save(Cr);
      cairo_translate(Cr, PX, PY);
      cairo_scale(Cr, C.Scale, C.Scale);
      cairo_set_source_surface(Cr, C.Picture, 0, 0);
      cairo_pattern_set_filter(cairo_get_source(Cr), C.Scale >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
      cairo_paint(Cr);
      cairo_restore(Cr);
      cairo_move_to(Cr, PX, PY + PH + 11);
    } else {
      cairo_set_source_rgb(Cr, 0.7, 0.1, 0.1);
      cairo_rectangle(Cr, PX, PY, 60, 30);
      cairo_fill(Cr);
      cairo_move_to(Cr, PX, PY + 30 + 11);
    }
    if (C.Known)
      cairo_set_source_rgb(Cr, 0.85, 0.87, 0.9);
    else
      cairo_set_source_rgb(Cr, 1.0, 0.35, 0.3);
    cairo_show_text(Cr, C.Name.c_str());
    if (C.Picture) cairo_surface_destroy(C.Picture);
  }
  cairo_destroy(Cr);
  WriteFile(Path, SurfaceToPng(Sheet, 3));
  cairo_surface_destroy(Sheet);
}
