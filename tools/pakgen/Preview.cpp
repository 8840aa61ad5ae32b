#include "Preview.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "Manifest.h"
#include "kit/DrawKit.h"
#include "PictureDecode.h"
#include "gfx/ImageErrors.h"

namespace {

// Straight RGBA rows into a premultiplied cairo surface.
kit::TSurfacePtr SurfaceFromRgba(const TRgbaPicture& Picture) {
  kit::TSurfacePtr S = kit::NewSurface(Picture.Width, Picture.Height);
  unsigned char* Dst = cairo_image_surface_get_data(S);
  const int Stride = cairo_image_surface_get_stride(S);
  for (int y = 0; y < Picture.Height; ++y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Dst + static_cast<std::size_t>(y) * Stride);
    for (int x = 0; x < Picture.Width; ++x) {
      const std::uint8_t* P = Picture.At(x, y);
      const unsigned A = P[3];
      const unsigned R = (P[0] * A + 127) / 255, G = (P[1] * A + 127) / 255, B = (P[2] * A + 127) / 255;
      Row[x] = (A << 24) | (R << 16) | (G << 8) | B;
    }
  }
  cairo_surface_mark_dirty(S);
  return S;
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
  kit::TSurfacePtr Picture;  // none: did not decode
  bool Known;
  double Scale;
  int W, H;  // cell size
};

constexpr int SheetWidth = 1700;
constexpr int Pad = 6;
constexpr int LabelHeight = 14;

}  // namespace

kit::TSurfacePtr DecodeToSurface(const TBytes& Data) {
  try {
    return SurfaceFromRgba(DecodePicture(Data.data(), Data.size()));
  } catch (const EImageDecodeError&) {
    return kit::TSurfacePtr();
  }
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
  const kit::TSurfacePtr Probe = kit::NewSurface(1, 1);
  const kit::TContextPtr P = kit::NewContext(Probe);
  cairo_set_font_face(P, Font);
  cairo_set_font_size(P, 10);

  std::vector<TCell> Cells;
  for (const TPakEntry* E : Sorted) {
    TCell C{E->Name, DecodeToSurface(E->Data), Order.count(E->Name) != 0, 1.0, 0, 0};
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
    Cells.push_back(std::move(C));
  }

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

  const kit::TSurfacePtr Sheet = kit::NewOpaqueSurface(SheetWidth, SheetHeight);
  const kit::TContextPtr Cr = kit::NewContext(Sheet);
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
  }
  WriteFile(Path, SurfaceToPng(Sheet, 3));
}
