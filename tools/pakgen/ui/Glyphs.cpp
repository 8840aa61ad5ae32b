// Glyph sheets and digit strips: every character sits in a fixed cell, so each
// glyph is drawn on its own and centred by its ink, not by its advance.
#include <cmath>
#include <string>

#include "ui/SmallFont.h"
#include "ui/UiParts.h"

namespace ui {

namespace {

struct TCellStyle {
  TFont Font;
  double Baseline;      // within the cell
  double CentreX;       // where the ink is centred
  double MaxInkWidth;   // wider glyphs are narrowed to this
  double Outline;       // stroke width
  double ShadowOffset;  // hard shadow down and right
  double Stretch = 1.0; // horizontal widening of glyphs that have room
};

// Three-stop gold: pale at the top, gold, warm amber at the baseline.
void SetGlyphFill(cairo_t* Cr, double Top, double Baseline) {
  const TPatternPtr P(cairo_pattern_create_linear(0, Top, 0, Baseline));
  cairo_pattern_add_color_stop_rgb(P, 0.0, 1.0, 0.975, 0.86);
  cairo_pattern_add_color_stop_rgb(P, 0.45, 1.0, 0.81, 0.36);
  cairo_pattern_add_color_stop_rgb(P, 1.0, 0.93, 0.50, 0.13);
  cairo_set_source(Cr, P);
}

// Draws Ch into the cell whose left edge is CellX on Cr.
void DrawCellGlyph(cairo_t* Cr, double CellX, double CellW, double CellH, const TCellStyle& St, const std::string& Ch) {
  UseFont(Cr, St.Font);
  cairo_text_extents_t E;
  cairo_text_extents(Cr, Ch.c_str(), &E);
  const double Scale = E.width * St.Stretch > St.MaxInkWidth ? St.MaxInkWidth / E.width : St.Stretch;
  const double InkCentre = (E.x_bearing + E.width / 2) * Scale;
  const double Pen = std::round((St.CentreX - InkCentre) * 2) / 2;

  cairo_save(Cr);
  cairo_rectangle(Cr, CellX, 0, CellW, CellH);
  cairo_clip(Cr);
  auto Path = [&](double Dx, double Dy) {
    cairo_new_path(Cr);
    cairo_save(Cr);
    cairo_translate(Cr, CellX + Pen + Dx, St.Baseline + Dy);
    cairo_scale(Cr, Scale, 1.0);
    cairo_move_to(Cr, 0, 0);
    cairo_text_path(Cr, Ch.c_str());
    cairo_restore(Cr);
  };
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(Cr, St.Outline);
  if (St.ShadowOffset > 0) {
    Path(St.ShadowOffset, St.ShadowOffset);
    SetColor(Cr, pal::Ink, 0.55);
    cairo_fill_preserve(Cr);
    cairo_stroke(Cr);
  }
  Path(0, 0);
  SetColor(Cr, pal::Ink, 1.0);
  cairo_stroke_preserve(Cr);
  SetGlyphFill(Cr, St.Baseline - CapHeight(St.Font), St.Baseline);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

// A strip of the ten digits 0..9 in cells of CellW x CellH.
void MakeDigitStrip(TUiAssets& Assets, const std::string& Name, int CellW, int CellH, const TCellStyle& St) {
  TSurface S(CellW * 10, CellH);
  for (int d = 0; d < 10; ++d) DrawCellGlyph(S.Cr(), d * CellW, CellW, CellH, St, std::string(1, static_cast<char>('0' + d)));
  Assets.AddPng(Name, S.Surface());
}

}  // namespace

void MakeGlyphSheets(TUiAssets& Assets) {
  // The play area's message font: 42 capitals, digits and signs in 18 x 18
  // cells, outlined dark so that they read over any level picture.
  {
    static const char* const Chars[42] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N",
                                          "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "0", "1",
                                          "2", "3", "4", "5", "6", "7", "8", "9", ".", ",", "-", "!", ":", "\""};
    TSurface S(42 * 18, 18);
    const TCellStyle St{{TFontStyle::SansBold, 18.5, 0}, 15.5, 8.5, 14.5, 3.0, 1.0, 1.12};
    // The comma's tail would leave the cell: it sits two pixels higher.
    TCellStyle Comma = St;
    Comma.Baseline -= 2;
    for (int g = 0; g < 42; ++g) DrawCellGlyph(S.Cr(), g * 18, 18, 18, g == 37 ? Comma : St, Chars[g]);
    Assets.AddPng("chars.png", S.Surface());
  }

  // The menu's pixel font, a warm white that reads at half opacity. Glyph 52
  // stands for every character without one, the blank among them.
  const TImage Small = SmallCharsSheet(Rgb(255, 250, 236), Rgb(255, 214, 140));
  for (int g = 0; g < SmallGlyphCount; ++g) {
    int Ink = 0;
    for (int y = 0; y < SmallGlyphSize; ++y)
      for (int x = 0; x < SmallGlyphSize; ++x) Ink += Small.Alpha(g * SmallGlyphSize + x, y) > 0;
    Require((Ink == 0) == (g == SmallBlankGlyph), "small_chars.png: glyph " + std::to_string(g) +
                                                      (Ink ? " should be blank" : " is empty"));
  }
  Assets.AddPng("small_chars.png", Small);

  // Digits: the score and lives (12 x 14), level and percentage (16 x 18) and
  // the bonus screen's, which the game sets 10 pixels apart in 12-pixel
  // cells, so their ink keeps to the first 10 columns.
  MakeDigitStrip(Assets, "numerics_score.png", 12, 14, {{TFontStyle::SansCondensedBold, 13.8, 0}, 12.0, 6.0, 9.0, 2.0, 0});
  MakeDigitStrip(Assets, "numerics_large.png", 16, 18,
                 {{TFontStyle::SansCondensedBold, 18.5, 0}, 15.5, 7.5, 12.0, 2.4, 1.0});
  MakeDigitStrip(Assets, "numerics_bonus.png", 12, 12, {{TFontStyle::SansCondensedBold, 12.4, 0}, 10.5, 4.5, 7.6, 1.8, 0});
}

}  // namespace ui
