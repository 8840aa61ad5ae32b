// The menu's own pictures: the background with the title art, the main menu
// entries, the credits, the music rotators with their level bars and the
// cheat mark.
#include <cmath>
#include <string>
#include <utility>

#include "ui/UiParts.h"

namespace ui {

namespace {

// Where the menu draws its moving parts over the background.
constexpr int LeftBarX = 11, RightBarX = 762, BarY = 230, BarW = 27, BarH = 139;
constexpr int LeftDiscX = 11, RightDiscX = 734, DiscY = 370, DiscSize = 55;
constexpr int HorizonY = 286;

// The menu's level bar: 20 segments from the bottom up, narrowing towards the
// top along the screen edge, amber turning to a hot rose.
void BarSegments(cairo_t* Cr, double X, bool AlignRight, double Alpha, bool Lit) {
  for (int k = 0; k < 20; ++k) {
    const double Bottom = BarY + BarH - 7.0 * k, Top = Bottom - 5;
    const double W = BarW - k * 0.7;
    const double Left = AlignRight ? X + BarW - W : X;
    const double T = k / 19.0;
    const TRgb C = T < 0.5 ? Mix(Rgb(255, 214, 96), Rgb(250, 134, 40), T * 2)
                           : Mix(Rgb(250, 134, 40), Rgb(232, 52, 96), (T - 0.5) * 2);
    RoundedRect(Cr, Left, Top, W, 5, 1.5);
    if (Lit) {
      SetVerticalGradient(Cr, Top, Mix(C, pal::Cream, 0.35), Top + 5, C, Alpha);
      cairo_fill_preserve(Cr);
      SetColor(Cr, Mix(C, pal::Ink, 0.6), Alpha);
      cairo_set_line_width(Cr, 0.8);
      cairo_stroke(Cr);
    } else {
      SetColor(Cr, C, Alpha);
      cairo_set_line_width(Cr, 0.8);
      cairo_stroke(Cr);
    }
  }
}

double Ridge(double X, double Base, double Amp, double Phase) {
  const double Edge = (X - 400) / 400.0;
  return Base - Amp * (0.55 * std::sin(X * 0.013 + Phase) + 0.3 * std::sin(X * 0.031 + Phase * 2.1) +
                       0.15 * std::sin(X * 0.077 + Phase * 0.7)) -
         26 * Edge * Edge;
}

void FillRidge(cairo_t* Cr, double Base, double Amp, double Phase, const TRgb& Top, const TRgb& Bottom) {
  cairo_move_to(Cr, 0, 600);
  for (int x = 0; x <= 800; x += 4) cairo_line_to(Cr, x, Ridge(x, Base, Amp, Phase));
  cairo_line_to(Cr, 800, 600);
  cairo_close_path(Cr);
  SetVerticalGradient(Cr, Base - Amp - 26, Top, HorizonY + 20, Bottom);
  cairo_fill(Cr);
}

void Glow(cairo_t* Cr, double Cx, double Cy, double Rx, double Ry, const TRgb& C, double Alpha) {
  cairo_save(Cr);
  cairo_translate(Cr, Cx, Cy);
  cairo_scale(Cr, Rx, Ry);
  const TPatternPtr P(cairo_pattern_create_radial(0, 0, 0, 0, 0, 1));
  cairo_pattern_add_color_stop_rgba(P, 0, C.R, C.G, C.B, Alpha);
  cairo_pattern_add_color_stop_rgba(P, 0.5, C.R, C.G, C.B, Alpha * 0.35);
  cairo_pattern_add_color_stop_rgba(P, 1, C.R, C.G, C.B, 0);
  cairo_set_source(Cr, P);
  cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

void MenuBackground(TUiAssets& Assets) {
  TSurface S(800, 600);
  cairo_t* Cr = S.Cr();
  // Sky, from deep night down to a plum horizon.
  const TPatternPtr Sky(cairo_pattern_create_linear(0, 0, 0, HorizonY));
  cairo_pattern_add_color_stop_rgb(Sky, 0.0, 0.020, 0.020, 0.080);
  cairo_pattern_add_color_stop_rgb(Sky, 0.45, 0.070, 0.055, 0.225);
  cairo_pattern_add_color_stop_rgb(Sky, 0.80, 0.200, 0.110, 0.350);
  cairo_pattern_add_color_stop_rgb(Sky, 1.0, 0.420, 0.200, 0.340);
  cairo_set_source(Cr, Sky);
  cairo_paint(Cr);
  // Nebulae.
  Glow(Cr, 170, 90, 230, 120, Rgb(120, 64, 190), 0.20);
  Glow(Cr, 650, 70, 240, 110, Rgb(50, 96, 180), 0.17);
  Glow(Cr, 560, 200, 170, 70, Rgb(170, 60, 140), 0.12);
  Glow(Cr, 250, 215, 160, 50, Rgb(90, 50, 150), 0.12);
  // Stars, denser towards the zenith; a few bright ones with rays.
  TScatter Rnd(2024);
  for (int i = 0; i < 520; ++i) {
    const double X = Rnd.Range(0, 800), Y = HorizonY * std::pow(Rnd.Next(), 1.4);
    const double R = Rnd.Range(0.3, 1.1), A = Rnd.Range(0.25, 0.9) * (1 - 0.6 * Y / HorizonY);
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
    SetColor(Cr, Mix(Rgb(200, 210, 255), Rgb(255, 236, 200), Rnd.Next()), A);
    cairo_fill(Cr);
  }
  for (int i = 0; i < 14; ++i) {
    const double X = Rnd.Range(20, 780), Y = Rnd.Range(12, 200), L = Rnd.Range(4, 8);
    Glow(Cr, X, Y, L * 0.8, L * 0.8, Rgb(220, 226, 255), 0.45);
    cairo_move_to(Cr, X - L, Y);
    cairo_line_to(Cr, X + L, Y);
    cairo_move_to(Cr, X, Y - L);
    cairo_line_to(Cr, X, Y + L);
    SetColor(Cr, Rgb(235, 238, 255), 0.55);
    cairo_set_line_width(Cr, 0.7);
    cairo_stroke(Cr);
    cairo_arc(Cr, X, Y, 1.2, 0, 2 * M_PI);
    SetColor(Cr, pal::Cream, 0.95);
    cairo_fill(Cr);
  }
  // The ember glow behind the title and on the horizon.
  Glow(Cr, 400, 150, 330, 170, Rgb(240, 140, 60), 0.22);
  Glow(Cr, 400, HorizonY, 420, 70, Rgb(255, 150, 80), 0.45);

  // Two ridges of hills.
  FillRidge(Cr, HorizonY - 18, 16, 1.3, Rgb(58, 34, 96), Rgb(34, 22, 66));
  FillRidge(Cr, HorizonY - 4, 12, 4.1, Rgb(26, 17, 52), Rgb(14, 10, 32));

  // The plain below the hills, with a faint claimed-land grid running to the
  // horizon.
  cairo_rectangle(Cr, 0, HorizonY + 6, 800, 600 - HorizonY - 6);
  SetVerticalGradient(Cr, HorizonY + 6, Rgb(16, 11, 36), 600, Rgb(6, 5, 16));
  cairo_fill(Cr);
  cairo_save(Cr);
  cairo_rectangle(Cr, 0, HorizonY + 8, 800, 600);
  cairo_clip(Cr);
  const double Vx = 400, Vy = HorizonY - 6;
  for (int k = -16; k <= 16; ++k) {
    cairo_move_to(Cr, Vx, Vy);
    cairo_line_to(Cr, Vx + k * 70.0, 600);
  }
  for (int k = 1; k <= 12; ++k) {
    const double Y = Vy + (600 - Vy) * std::pow(k / 12.0, 2.0);
    cairo_move_to(Cr, 0, Y);
    cairo_line_to(Cr, 800, Y);
  }
  const TPatternPtr Grid(cairo_pattern_create_linear(0, Vy, 0, 600));
  cairo_pattern_add_color_stop_rgba(Grid, 0, 0.6, 0.45, 0.9, 0.0);
  cairo_pattern_add_color_stop_rgba(Grid, 0.4, 0.6, 0.45, 0.9, 0.10);
  cairo_pattern_add_color_stop_rgba(Grid, 1, 0.6, 0.45, 0.9, 0.16);
  cairo_set_source(Cr, Grid);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  cairo_restore(Cr);
  // The horizon's glow on the plain, and calm, darker ground where the menu's
  // screens open.
  Glow(Cr, 400, HorizonY + 10, 380, 40, Rgb(255, 150, 80), 0.16);
  Glow(Cr, 400, 425, 260, 190, Rgb(4, 3, 12), 0.75);

  // Title.
  {
    const TFont Big{TFontStyle::SerifBold, 150, 14};
    TTextLook Title;
    Title.OutlineWidth = 5;
    Title.GlowRadius = 12;
    Title.GlowAlpha = 0.6;
    Title.Glow = Rgb(255, 130, 40);
    Title.ShadowDx = 4;
    Title.ShadowDy = 6;
    Title.ShadowAlpha = 0.6;
    Title.ShadowBlur = 4;
    Title.Top = Rgb(255, 250, 224);
    Title.Bottom = Rgb(230, 120, 40);
    const double W = TextWidth(Cr, Big, "VYRN");
    DrawText(Cr, Big, Title, 400 - W / 2, 190, "VYRN");
    // A brighter band through the middle of the letters.
    cairo_save(Cr);
    cairo_new_path(Cr);
    AppendTextPath(Cr, Big, 400 - W / 2, 190, "VYRN");
    cairo_clip(Cr);
    const TPatternPtr Band(cairo_pattern_create_linear(0, 80, 0, 190));
    cairo_pattern_add_color_stop_rgba(Band, 0.0, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(Band, 0.42, 1, 1, 0.9, 0.35);
    cairo_pattern_add_color_stop_rgba(Band, 0.47, 1, 1, 0.9, 0.0);
    cairo_pattern_add_color_stop_rgba(Band, 1.0, 1, 1, 1, 0.0);
    cairo_set_source(Cr, Band);
    cairo_paint(Cr);
    cairo_restore(Cr);

    const TFont Sub{TFontStyle::SansBold, 22, 11};
    TTextLook SubLook;
    SubLook.Top = Rgb(236, 228, 255);
    SubLook.Bottom = Rgb(196, 180, 240);
    SubLook.OutlineWidth = 2.5;
    SubLook.GlowRadius = 5;
    SubLook.GlowAlpha = 0.55;
    SubLook.Glow = Rgb(120, 70, 220);
    const double SubW = TextWidth(Cr, Sub, "REKINDLED");
    DrawText(Cr, Sub, SubLook, 400 - SubW / 2, 232, "REKINDLED");
    DrawOrnamentRule(Cr, 400 - SubW / 2 - 52, 224, 40);
    DrawOrnamentRule(Cr, 400 + SubW / 2 + 52, 224, 40);
  }
  // Embers rising around the title.
  TScatter Sparks(99);
  for (int i = 0; i < 46; ++i) {
    const double X = Sparks.Range(150, 650), Y = Sparks.Range(30, 260), R = Sparks.Range(0.6, 1.8);
    if (std::fabs(X - 400) < 200 && Y > 70 && Y < 200) continue;  // not over the letters
    Glow(Cr, X, Y, R * 4, R * 4, Rgb(255, 150, 50), 0.35);
    cairo_arc(Cr, X, Y, R * 0.6, 0, 2 * M_PI);
    SetColor(Cr, Rgb(255, 226, 150), 0.9);
    cairo_fill(Cr);
  }

  // Housings for the level bars and sockets for the rotator discs, with the
  // unlit segments showing faintly.
  for (int Side = 0; Side < 2; ++Side) {
    const double Bx = Side == 0 ? LeftBarX : RightBarX;
    RoundedRect(Cr, Bx - 3, BarY - 3, BarW + 6, BarH + 6, 5);
    SetColor(Cr, pal::NightDeep, 0.85);
    cairo_fill_preserve(Cr);
    SetColor(Cr, pal::Gold, 0.45);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    BarSegments(Cr, Bx, Side == 1, 0.22, false);
    const double Dx = (Side == 0 ? LeftDiscX : RightDiscX) + DiscSize / 2.0;
    const double Dy = DiscY + DiscSize / 2.0;
    Glow(Cr, Dx, Dy, 40, 40, Rgb(255, 150, 60), 0.18);
    cairo_arc(Cr, Dx, Dy, 29.5, 0, 2 * M_PI);
    SetColor(Cr, pal::NightDeep, 0.9);
    cairo_fill_preserve(Cr);
    SetColor(Cr, pal::Gold, 0.55);
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
    cairo_arc(Cr, Dx, Dy, 26, 0, 2 * M_PI);
    SetColor(Cr, pal::Violet, 0.5);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
  }

  // Key hints along the bottom edge.
  TTextLook Hint;
  Hint.Top = Hint.Bottom = pal::Lavender;
  Hint.Alpha = 0.55;
  DrawText(Cr, {TFontStyle::SansBold, 9, 1.5}, Hint, 400, 590,
           "\u2191 \u2193  SELECT      \u2190 \u2192  CHANGE      ENTER  CHOOSE      ESC  BACK", TAlign::Centre);
  Assets.AddJpeg("menu_back.jpg", S.Surface());
}

TTextLook EntryLook() {
  TTextLook L = GoldLook(2.2);
  L.Top = Rgb(255, 248, 226);
  L.Bottom = Rgb(252, 196, 96);
  return L;
}

void MainEntries(TUiAssets& Assets) {
  // Drawn at (337, 300); the highlight lines run along rows 42 + 30 k and
  // 57 + 30 k, columns 4..119, so each label sits in rows 45..53 between them.
  constexpr int W = 124, H = 212;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  DrawText(Cr, {TFontStyle::SerifBold, 14, 1.0}, GoldLook(2.2), W / 2.0, 17, "MAIN MENU", TAlign::Centre);
  DrawOrnamentRule(Cr, W / 2.0, 24.5, 52, 0.8);
  static const char* const Entries[6] = {"ONE PLAYER", "TWO PLAYERS", "OPTIONS", "HIGH SCORES", "CREDITS", "QUIT"};
  for (int k = 0; k < 6; ++k)
    DrawText(Cr, {TFontStyle::SansCondensedBold, 13, 1.0}, EntryLook(), W / 2.0, 54 + 30 * k, Entries[k], TAlign::Centre);
  const TImage Img = SurfaceToImage(S.Surface());
  for (int k = 0; k < 6; ++k)
    for (int x = 4; x <= 119; ++x)
      Require(Img.Alpha(x, 42 + 30 * k) == 0 && Img.Alpha(x, 57 + 30 * k) == 0,
              "menu_main.png: entry " + std::to_string(k) + " touches its highlight rows");
  Assets.AddPng("menu_main.png", Img);
}

void Credits(TUiAssets& Assets) {
  // Centred on x = 400 at y = 286 inside the credits frame (half width 160,
  // frame top at y = 319, bottom at 519).
  constexpr int W = 304, H = 230;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  DrawText(Cr, {TFontStyle::SerifBold, 16, 2}, GoldLook(2.2), W / 2.0, 20, "CREDITS", TAlign::Centre);
  DrawOrnamentRule(Cr, W / 2.0, 28, 70, 0.8);

  DrawText(Cr, {TFontStyle::SerifBold, 15, 1.5}, GoldLook(2.0), W / 2.0, 54, "VYRN REKINDLED", TAlign::Centre);
  TTextLook Pale;
  Pale.Top = pal::Cream;
  Pale.Bottom = Rgb(226, 216, 246);
  Pale.ShadowDx = Pale.ShadowDy = 1;
  Pale.ShadowAlpha = 0.7;
  TTextLook Dim = Pale;
  Dim.Top = Dim.Bottom = pal::Lavender;
  DrawText(Cr, {TFontStyle::Serif, 10.5, 0}, Dim, W / 2.0, 68, "an area-claiming arcade game", TAlign::Centre);
  DrawText(Cr, {TFontStyle::Sans, 9.5, 0}, Dim, W / 2.0, 81, "pictures, music and sounds drawn by its own generator",
           TAlign::Centre);
  DrawOrnamentRule(Cr, W / 2.0, 90, 110, 0.7);
  DrawText(Cr, {TFontStyle::SansBold, 8.5, 1.6}, Dim, W / 2.0, 104, "BUILT WITH FREE SOFTWARE", TAlign::Centre);
  struct TLine {
    const char* Name;
    const char* Licence;
  };
  static const TLine Lines[] = {
      {"SDL2", "zlib licence"},
      {"SDL2_mixer", "zlib licence"},
      {"libpng", "libpng licence"},
      {"libjpeg-turbo", "IJG / BSD licences"},
      {"zlib", "zlib licence"},
      {"libcurl", "curl licence"},
      {"libogg, libvorbis", "BSD licence"},
      {"cairo", "LGPL 2.1 / MPL 1.1"},
      {"FreeType", "FreeType licence"},
      {"DejaVu fonts", "Bitstream Vera licence"},
  };
  TTextLook Name = GoldLook(0);
  Name.ShadowDx = Name.ShadowDy = 1;
  Name.ShadowAlpha = 0.8;
  double Y = 118;
  for (const TLine& L : Lines) {
    const TBox A = DrawText(Cr, {TFontStyle::SansBold, 10, 0.2}, Name, 16, Y, L.Name);
    const TBox B = DrawText(Cr, {TFontStyle::Sans, 10, 0}, Pale, W - 16, Y, L.Licence, TAlign::Right);
    Require(A.X1 + 8 < B.X0, std::string("credits.png: line of ") + L.Name + " too long");
    // Dotted leader between name and licence.
    for (double X = A.X1 + 5; X < B.X0 - 4; X += 3) {
      cairo_rectangle(Cr, std::round(X), Y - 1, 1, 1);
      SetColor(Cr, pal::Lavender, 0.35);
      cairo_fill(Cr);
    }
    Y += 11.5;
  }
  Assets.AddPng("credits.png", S.Surface());
}

void Rotators(TUiAssets& Assets) {
  // The disc spins about pixel (27, 27); nearest-neighbour turning keeps only
  // broad shapes readable, so the blades are bold.
  {
    TSurface S(DiscSize, DiscSize);
    cairo_t* Cr = S.Cr();
    const double C = 27.5, R = 25.5;
    const TPatternPtr Disc(cairo_pattern_create_radial(C - 6, C - 8, 2, C, C, R));
    cairo_pattern_add_color_stop_rgb(Disc, 0, 0.32, 0.22, 0.52);
    cairo_pattern_add_color_stop_rgb(Disc, 1, 0.08, 0.05, 0.18);
    cairo_set_source(Cr, Disc);
    cairo_arc(Cr, C, C, R, 0, 2 * M_PI);
    cairo_fill(Cr);
    // Three swept fan blades from the hub to the rim, widening outwards.
    for (int b = 0; b < 3; ++b) {
      const double Base = b * 2 * M_PI / 3;
      auto Edge = [&](double T, double Side) {
        const double Radius = 6 + 17 * T;
        const double Angle = Base + 0.95 * std::pow(T, 1.2) + Side * (0.22 + 0.2 * T);
        return std::pair<double, double>{C + Radius * std::cos(Angle), C + Radius * std::sin(Angle)};
      };
      cairo_new_path(Cr);
      for (int i = 0; i <= 16; ++i) {
        auto [X, Y] = Edge(i / 16.0, 1);
        cairo_line_to(Cr, X, Y);
      }
      const double TipA0 = Base + 0.95 + 0.42, TipA1 = Base + 0.95 - 0.42;
      cairo_arc_negative(Cr, C, C, 23, TipA0, TipA1);
      for (int i = 16; i >= 0; --i) {
        auto [X, Y] = Edge(i / 16.0, -1);
        cairo_line_to(Cr, X, Y);
      }
      cairo_close_path(Cr);
      const TPatternPtr Blade(cairo_pattern_create_radial(C, C, 5, C, C, 24));
      cairo_pattern_add_color_stop_rgb(Blade, 0, 1.0, 0.90, 0.60);
      cairo_pattern_add_color_stop_rgb(Blade, 1, 0.90, 0.45, 0.14);
      cairo_set_source(Cr, Blade);
      cairo_fill_preserve(Cr);
      SetColor(Cr, pal::Ink, 0.5);
      cairo_set_line_width(Cr, 0.8);
      cairo_stroke(Cr);
    }
    cairo_arc(Cr, C, C, R - 0.5, 0, 2 * M_PI);
    cairo_set_line_width(Cr, 2);
    SetColor(Cr, pal::Gold, 0.95);
    cairo_stroke(Cr);
    // A notch on the rim so the spin shows even in the ring.
    cairo_arc(Cr, C, C - R + 3.5, 2.2, 0, 2 * M_PI);
    SetColor(Cr, pal::Cream);
    cairo_fill(Cr);
    cairo_arc(Cr, C, C, 6.5, 0, 2 * M_PI);
    SetVerticalGradient(Cr, C - 6, Rgb(255, 240, 200), C + 6, Rgb(200, 110, 40));
    cairo_fill_preserve(Cr);
    SetColor(Cr, pal::Ink, 0.8);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    Assets.AddPng("music_rotator.png", S.Surface());
  }
  {
    // The hub's glow, shown stronger the faster the disc turns.
    TSurface S(DiscSize, DiscSize);
    cairo_t* Cr = S.Cr();
    const double C = 27.5;
    const TPatternPtr G(cairo_pattern_create_radial(C, C, 0, C, C, 26));
    cairo_pattern_add_color_stop_rgba(G, 0.0, 1.0, 1.0, 0.92, 1.0);
    cairo_pattern_add_color_stop_rgba(G, 0.25, 1.0, 0.86, 0.45, 0.95);
    cairo_pattern_add_color_stop_rgba(G, 0.6, 1.0, 0.55, 0.15, 0.45);
    cairo_pattern_add_color_stop_rgba(G, 1.0, 1.0, 0.45, 0.10, 0.0);
    cairo_set_source(Cr, G);
    cairo_paint(Cr);
    Assets.AddPng("music_rotator_center.png", S.Surface());
  }
  for (int Side = 0; Side < 2; ++Side) {
    TSurface S(BarW, BarH);
    cairo_t* Cr = S.Cr();
    cairo_translate(Cr, -(Side == 0 ? LeftBarX : RightBarX), -BarY);
    BarSegments(Cr, Side == 0 ? LeftBarX : RightBarX, Side == 1, 1.0, true);
    Assets.AddPng(Side == 0 ? "music_rotator_leftbar.png" : "music_rotator_rightbar.png", S.Surface());
  }
}

void CheatMark(TUiAssets& Assets) {
  constexpr int W = 96, H = 22;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  RoundedRect(Cr, 0.5, 0.5, W - 1, H - 1, 10);
  SetVerticalGradient(Cr, 0, Rgb(70, 16, 40), H, Rgb(30, 8, 24), 0.92);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(255, 120, 90), 0.95);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  // A four-pointed spark.
  const double Cx = 13, Cy = 11;
  cairo_move_to(Cr, Cx, Cy - 6);
  cairo_curve_to(Cr, Cx + 1, Cy - 1, Cx + 1, Cy - 1, Cx + 6, Cy);
  cairo_curve_to(Cr, Cx + 1, Cy + 1, Cx + 1, Cy + 1, Cx, Cy + 6);
  cairo_curve_to(Cr, Cx - 1, Cy + 1, Cx - 1, Cy + 1, Cx - 6, Cy);
  cairo_curve_to(Cr, Cx - 1, Cy - 1, Cx - 1, Cy - 1, Cx, Cy - 6);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(255, 220, 120));
  cairo_fill(Cr);
  TTextLook L;
  L.Top = Rgb(255, 236, 190);
  L.Bottom = Rgb(255, 140, 80);
  L.OutlineWidth = 1.6;
  DrawText(Cr, {TFontStyle::SansBold, 10, 1.5}, L, 23, 15, "CHEAT ON");
  Assets.AddPng("cheat_on.png", S.Surface());
}

}  // namespace

void MakeMenuPictures(TUiAssets& Assets) {
  MenuBackground(Assets);
  MainEntries(Assets);
  Credits(Assets);
  Rotators(Assets);
  CheatMark(Assets);
}

}  // namespace ui
