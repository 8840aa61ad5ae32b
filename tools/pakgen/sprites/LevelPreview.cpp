// How each level picture will look in play: the game's way of showing free
// and claimed land, edges with their drop shadow, a trail, and the level's
// actors on top. Only for checking the art by eye.
#include <cmath>
#include <map>

#include "Canvas.h"
#include "Manifest.h"
#include "Preview.h"
#include "SpriteParts.h"

using namespace kit;

namespace sprites {
namespace {

constexpr int W = 600;
constexpr int H = 550;

enum TCell { Free, Edge, Claimed, Trail1 };

// A board after some play: the claimed margin, two claimed corners, a trail.
TCell CellAt(int X, int Y) {
  auto Inside = [](int X, int Y) {
    if (X < 20 || Y < 20 || X > 579 || Y > 529) return false;
    if (X < 200 && Y > 330) return false;
    if (X > 420 && Y < 160) return false;
    return true;
  };
  if (!Inside(X, Y)) {
    // Claimed cells next to free ones are the edge.
    for (int Dy = -1; Dy <= 1; ++Dy)
      for (int Dx = -1; Dx <= 1; ++Dx)
        if (Inside(X + Dx, Y + Dy)) return Edge;
    return Claimed;
  }
  if (Y == 400 && X >= 200 && X <= 300) return Trail1;
  return Free;
}

void Place(cairo_t* Cr, const std::map<std::string, cairo_surface_t*>& Pics, const std::string& Name, int X, int Y) {
  const auto It = Pics.find(Name);
  if (It == Pics.end()) return;
  const int Pw = cairo_image_surface_get_width(It->second), Ph = cairo_image_surface_get_height(It->second);
  cairo_set_source_surface(Cr, It->second, X - Pw / 2, Y - Ph / 2);
  cairo_paint(Cr);
}

}  // namespace

void WriteLevelPreview(const std::vector<TPakEntry>& Entries, const std::string& Path) {
  std::map<std::string, cairo_surface_t*> Pics;
  for (const TPakEntry& E : Entries)
    if (cairo_surface_t* S = DecodePicture(E.Data)) Pics[E.Name] = S;
  struct TLevelLook {
    const char* Back;
    const char* Evil1;
    const char* Evil2;
  };
  const TLevelLook Looks[] = {
      {"back_simple01.jpg", "evil_simple01", "evil_simple02"},   {"back_simple02.jpg", "evil_simple02", "evil_simple01"},
      {"back_space01.jpg", "evil_space01", "evil_space02"},      {"back_space02.jpg", "evil_space02", "evil_space01"},
      {"back_cartoon01.jpg", "evil_cartoon01", "evil_cartoon02"}, {"back_cartoon02.jpg", "evil_cartoon02", "evil_cartoon01"},
      {"back_mystic01.jpg", "evil_mystic01", "evil_mystic02"},   {"back_mystic02.jpg", "evil_mystic02", "evil_mystic01"},
      {"back_horror01.jpg", "evil_horror01", "evil_horror02"},   {"back_horror02.jpg", "evil_horror02", "evil_horror01"},
      {"back_insect01.jpg", "evil_insect01", "evil_insect02"},   {"back_insect02.jpg", "evil_insect02", "evil_insect01"},
      {"back_heaven01.jpg", "evil_heaven01", "evil_heaven02"},   {"back_heaven02.jpg", "evil_heaven02", "evil_heaven01"},
      {"back_end01.jpg", "evil_end01", "evil_end01"},
  };
  const int Cols = 3, Rows = 5;
  cairo_surface_t* Sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Cols * W, Rows * H);
  cairo_t* Cr = cairo_create(Sheet);
  for (int i = 0; i < 15; ++i) {
    const TLevelLook& L = Looks[i];
    const auto It = Pics.find(L.Back);
    if (It == Pics.end()) continue;
    cairo_surface_t* Board = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
    cairo_t* B = cairo_create(Board);
    cairo_set_source_surface(B, It->second, 0, 0);
    cairo_paint(B);
    cairo_destroy(B);
    PostProcess(Board, [](int X, int Y, TRgb C) {
      const double Shade = std::clamp((Fbm(X / 90.0, Y / 90.0, 5, 5) - 0.45) * 400, 0.0, 100.0);
      const double F = (255 - Shade) / 255;
      switch (CellAt(X, Y)) {
        case Edge: return TRgb{F, F, F};
        case Claimed: return Tone(C, F / 1.35);
        case Trail1: return TRgb{192 / 255.0 * F, 192 / 255.0 * F, 192 / 255.0 * F};
        case Free: break;
      }
      TRgb Out = Tone(C, F);
      const TCell Near = CellAt(X - 1, Y - 1);
      if (Near == Edge || Near == Trail1) Out = Tone(Out, F / 2);
      if (CellAt(X - 2, Y - 2) == Edge) Out = Tone(Out, F / 1.5);
      return Out;
    });
    cairo_t* A = cairo_create(Board);
    Place(A, Pics, ImageSetEntryName(L.Evil1, 1), 300, 260);
    Place(A, Pics, ImageSetEntryName(L.Evil2, 3), 470, 330);
    Place(A, Pics, "small_evil01_01.png", 120, 120);
    Place(A, Pics, "small_evil02_01.png", 330, 120);
    Place(A, Pics, "small_evil03_01.png", 520, 470);
    const char* Items[] = {"item_heart_01.png", "item_speed_01.png", "item_dollar01_01.png", "item_dollar02_01.png",
                           "item_dollar03_01.png"};
    Place(A, Pics, Items[i % 5], 400, 460);
    Place(A, Pics, "player01_01.png", 300, 400);
    Place(A, Pics, "player02_03.png", 500, 159);
    Place(A, Pics, "explo01_05.png", 250, 480);
    cairo_destroy(A);
    cairo_set_source_surface(Cr, Board, (i % Cols) * W, (i / Cols) * H);
    cairo_paint(Cr);
    cairo_surface_destroy(Board);
  }
  cairo_destroy(Cr);
  WriteFile(Path, SurfaceToPng(Sheet, 3));
  cairo_surface_destroy(Sheet);
  for (auto& P : Pics) cairo_surface_destroy(P.second);
}

}  // namespace sprites
