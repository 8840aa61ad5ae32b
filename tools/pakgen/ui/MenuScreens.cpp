// The options and key screens and the high-score screens: labels placed so
// that the values, key names and numbers the menu draws fall beside them.
#include <cmath>
#include <string>

#include "ui/SmallFont.h"
#include "ui/UiParts.h"

namespace ui {

namespace {

// Headings: no halo, which the picture's edge would cut off square.
TTextLook HeadLook() { return GoldLook(2.2); }

TTextLook RowLook() {
  TTextLook L = GoldLook(2.0);
  L.Top = Rgb(255, 248, 226);
  L.Bottom = Rgb(252, 196, 96);
  return L;
}

// Left edge of a picture of width W centred on x = 400, as the menu places it.
constexpr int CentredLeft(int W) { return 400 - W / 2; }

void CheckHighlightRows(const TImage& Img, const std::string& Name, int FirstRow, int Rows) {
  for (int r = 0; r < Rows; ++r)
    for (int x = 0; x < Img.Width; ++x)
      Require(Img.Alpha(x, FirstRow + 30 * r) == 0 && Img.Alpha(x, FirstRow + 15 + 30 * r) == 0,
              Name + ": row " + std::to_string(r) + " touches its highlight lines");
}

void CheckClear(const TImage& Img, const std::string& Name, int X0, int Y0, int X1, int Y1, const std::string& What) {
  for (int y = Y0; y < Y1; ++y)
    for (int x = X0; x < X1; ++x)
      Require(Img.Alpha(x, y) == 0, Name + ": something is drawn where the menu shows " + What);
}

void Leader(cairo_t* Cr, double X0, double X1, double Y) {
  for (double X = X0; X < X1; X += 3) {
    cairo_rectangle(Cr, std::round(X), Y, 1, 1);
    SetColor(Cr, pal::Lavender, 0.4);
    cairo_fill(Cr);
  }
}

void Options(TUiAssets& Assets) {
  // At (L, 282) with L = 400 - W div 2; highlight lines on rows 36 + 30 r and
  // 51 + 30 r; the on/off words at window x 366, 380 and 410 on rows 0, 1 and
  // 3; the volume marker on a 110-pixel track from window x 380, y 383.
  constexpr int W = 195, H = 236, L = CentredLeft(W), Top = 282;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  TReserved Guard("options.png");
  const int ValueX[4] = {366, 380, 0, 410};
  for (int r : {0, 1, 3}) Guard.Add(ValueX[r] - L - 1, 41 + 30 * r, ValueX[r] - L + 48, 49 + 30 * r, "an on/off value");
  Guard.Add(380 - L, 383 - Top, 490 - L, 392 - Top, "the volume marker");

  DrawText(Cr, {TFontStyle::SerifBold, 16, 2}, HeadLook(), W / 2.0, 18, "OPTIONS", TAlign::Centre);
  DrawOrnamentRule(Cr, W / 2.0, 26, 70, 0.8);

  const TFont F{TFontStyle::SansCondensedBold, 11.5, 0.7};
  static const char* const Labels[4] = {"MUSIC", "SOUND FX", "VOLUME", "FULL SCREEN"};
  for (int r = 0; r < 4; ++r) {
    const double Baseline = 48 + 30 * r;
    const TBox B = DrawText(Cr, F, RowLook(), 6, Baseline, Labels[r]);
    Guard.Check(B, Labels[r]);
    if (r != 2) Leader(Cr, B.X1 + 4, ValueX[r] - L - 5, Baseline - 2);
  }
  // Volume track: a groove the marker's centre runs along, with - and +.
  const double TrackY = 383 - Top + 4.5;
  RoundedRect(Cr, 380 - L + 2, TrackY - 1.5, 106, 3, 1.5);
  SetColor(Cr, pal::NightDeep, 0.9);
  cairo_fill_preserve(Cr);
  SetColor(Cr, pal::Gold, 0.5);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  // Marks at 0, 25, 50, 75 and 100 under the groove, where the marker's
  // centre stands for those volumes.
  for (int k = 0; k <= 4; ++k) {
    cairo_rectangle(Cr, 380 - L + 4 + 25 * k, TrackY + 2.5, 2, 2);
    SetColor(Cr, pal::Gold, k % 2 == 0 ? 0.7 : 0.4);
    cairo_fill(Cr);
  }
  static const char* const Links[3] = {"PLAYER 1 KEYS", "PLAYER 2 KEYS", "BACK"};
  for (int r = 4; r < 7; ++r) DrawText(Cr, F, RowLook(), W / 2.0, 48 + 30 * r, Links[r - 4], TAlign::Centre);

  const TImage Img = SurfaceToImage(S.Surface());
  CheckHighlightRows(Img, "options.png", 36, 7);
  for (int r : {0, 1, 3}) CheckClear(Img, "options.png", ValueX[r] - L, 41 + 30 * r, ValueX[r] - L + 48, 49 + 30 * r, "an on/off value");
  Assets.AddPng("options.png", Img);

  // The volume marker, 10 x 9, centred on the groove.
  TSurface M(10, 9);
  cairo_t* Mc = M.Cr();
  RoundedRect(Mc, 0.5, 0.5, 9, 8, 2.5);
  SetVerticalGradient(Mc, 0, Rgb(255, 246, 210), 9, Rgb(232, 140, 40));
  cairo_fill_preserve(Mc);
  SetColor(Mc, pal::Ink);
  cairo_set_line_width(Mc, 1);
  cairo_stroke(Mc);
  cairo_rectangle(Mc, 4.5, 2, 1, 5);
  SetColor(Mc, Rgb(120, 60, 20), 0.9);
  cairo_fill(Mc);
  Assets.AddPng("volume_control.png", M.Surface());
}

void KeyScreens(TUiAssets& Assets) {
  // "player_keys.png" at (L, 348); highlight lines on rows 30 r and 15 + 30 r;
  // the menu writes each key's name in the small font from column 56, row
  // 5 + 30 r.
  constexpr int W = 165, H = 168;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  TReserved Guard("player_keys.png");
  for (int r = 0; r < 5; ++r) Guard.Add(56, 5 + 30 * r, W, 13 + 30 * r, "a key name");
  const TFont F{TFontStyle::SansCondensedBold, 11.5, 0.7};
  static const char* const Labels[5] = {"UP", "DOWN", "LEFT", "RIGHT", "DRAW"};
  for (int r = 0; r < 5; ++r) {
    RoundedRect(Cr, 53.5, 3.5 + 30 * r, W - 55, 10, 3);
    SetColor(Cr, pal::NightDeep, 0.6);
    cairo_fill_preserve(Cr);
    SetColor(Cr, pal::Lavender, 0.3);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    Guard.Check(DrawText(Cr, F, RowLook(), 6, 12 + 30 * r, Labels[r]), Labels[r]);
  }
  DrawText(Cr, F, RowLook(), W / 2.0, 162, "BACK", TAlign::Centre);
  const TImage Img = SurfaceToImage(S.Surface());
  CheckHighlightRows(Img, "player_keys.png", 0, 6);
  Assets.AddPng("player_keys.png", Img);

  // Headings, centred at y = 312 above the key frame.
  for (int Player = 1; Player <= 2; ++Player) {
    TSurface Hs(164, 22);
    cairo_t* Hc = Hs.Cr();
    const std::string Text = "PLAYER " + std::to_string(Player) + " KEYS";
    const TFont Hf{TFontStyle::SerifBold, 15, 1.2};
    const double Tw = TextWidth(Hc, Hf, Text);
    const double X0 = (164 - Tw - 14) / 2 + 14;
    DrawPlayerBadge(Hc, Player, X0 - 9, 11.5);
    DrawText(Hc, Hf, HeadLook(), X0, 17, Text);
    Assets.AddPng(Player == 1 ? "player_1_keys.png" : "player_2_keys.png", Hs.Surface());
  }
}

void HighScorePictures(TUiAssets& Assets) {
  // Heading of the list: the top 36 rows of the 242-pixel view.
  {
    TSurface S(220, 34);
    cairo_t* Cr = S.Cr();
    DrawText(Cr, {TFontStyle::SerifBold, 17, 2}, HeadLook(), 110, 21, "HIGH SCORES", TAlign::Centre);
    DrawOrnamentRule(Cr, 110, 29.5, 100, 0.8);
    Assets.AddPng("highscore.png", S.Surface());
  }
  // Scroll arrow, pointing down; the menu turns it over for the upper one.
  {
    TSurface S(15, 10);
    cairo_t* Cr = S.Cr();
    cairo_move_to(Cr, 1, 1.5);
    cairo_line_to(Cr, 14, 1.5);
    cairo_line_to(Cr, 7.5, 9);
    cairo_close_path(Cr);
    SetVerticalGradient(Cr, 1, Rgb(255, 240, 190), 9, Rgb(240, 150, 40));
    cairo_fill_preserve(Cr);
    SetColor(Cr, pal::Ink, 0.9);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    Assets.AddPng("arrow.png", S.Surface());
  }
  // Name entry: T = 517 - H, L = 400 - W div 2. The menu writes the player's
  // digit at (L + 56, T + 4), the score in cells from L + 51 on row T + 33,
  // the place in cells from L + 43 on row T + 45, and the name field fills
  // window (362, 502) to (490, 509).
  {
    constexpr int W = 240, H = 100, L = CentredLeft(W), T = 517 - H;
    TSurface S(W, H);
    cairo_t* Cr = S.Cr();
    const TRgb LabelTop = Rgb(214, 204, 246), LabelBottom = Rgb(170, 154, 222);
    const TRgb GoldTop = Rgb(255, 244, 200), GoldBottom = Rgb(250, 176, 64);
    DrawSmallText(Cr, 0, 4, "PLAYER", GoldTop, GoldBottom);
    DrawSmallText(Cr, 0, 17, "NEW HIGH SCORE!", GoldTop, GoldBottom);
    DrawSmallText(Cr, 0, 33, "SCORE", LabelTop, LabelBottom);
    DrawSmallText(Cr, 0, 45, "RANK", LabelTop, LabelBottom);
    DrawSmallText(Cr, 0, 61, "TYPE A NAME, PRESS ENTER", LabelTop, LabelBottom, 0.7);
    DrawSmallText(Cr, 0, 502 - T, "YOUR NAME", LabelTop, LabelBottom);
    // The name field: the menu's own grey, framed in gold.
    cairo_rectangle(Cr, 362 - L, 502 - T, 129, 8);
    SetColor(Cr, Rgb(64, 64, 64));
    cairo_fill(Cr);
    cairo_rectangle(Cr, 362 - L - 1.5, 502 - T - 1.5, 132, 11);
    SetColor(Cr, pal::Gold, 0.8);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    // A thin rule under the heading lines.
    cairo_rectangle(Cr, 0, 27, 120, 1);
    const TPatternPtr P(cairo_pattern_create_linear(0, 0, 120, 0));
    cairo_pattern_add_color_stop_rgba(P, 0, 1.0, 0.8, 0.35, 0.8);
    cairo_pattern_add_color_stop_rgba(P, 1, 1.0, 0.8, 0.35, 0.0);
    cairo_set_source(Cr, P);
    cairo_fill(Cr);
    const TImage Img = SurfaceToImage(S.Surface());
    CheckClear(Img, "highscore_achieved.png", 56, 4, 64, 12, "the player's digit");
    CheckClear(Img, "highscore_achieved.png", 51, 33, 131, 41, "the score");
    CheckClear(Img, "highscore_achieved.png", 43, 45, 59, 53, "the place");
    Assets.AddPng("highscore_achieved.png", Img);
  }
}

void SubmitStatus(TUiAssets& Assets) {
  // Centred on x = 400 at y = 540, under the list's frame. All four the same
  // size, so each replaces the last one exactly.
  constexpr int W = 380, H = 24;
  enum TKind { Hint, Busy, Done, Failed };
  struct TStatus {
    const char* Name;
    TKind Kind;
    TRgb Rim;
  };
  const TStatus List[] = {
      {"submit_hi.png", Hint, pal::Gold},
      {"submit_hi_submitting.png", Busy, pal::Amber},
      {"submit_hi_ok.png", Done, pal::Success},
      {"submit_hi_error.png", Failed, pal::Alarm},
  };
  for (const TStatus& St : List) {
    TSurface S(W, H);
    cairo_t* Cr = S.Cr();
    RoundedRect(Cr, 0.5, 0.5, W - 1, H - 1, 11);
    SetVerticalGradient(Cr, 0, Rgb(34, 26, 80), H, Rgb(12, 9, 32), 0.88);
    cairo_fill_preserve(Cr);
    SetColor(Cr, St.Rim, 0.9);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    TTextLook Text;
    Text.Top = pal::Cream;
    Text.Bottom = Rgb(226, 216, 246);
    Text.ShadowDx = Text.ShadowDy = 1;
    Text.ShadowAlpha = 0.7;
    const TFont F{TFontStyle::SansBold, 11, 0.3};
    const double Base = 16.5;
    switch (St.Kind) {
      case Hint: {
        const double W1 = TextWidth(Cr, F, "Press"), W2 = TextWidth(Cr, F, "to send the table to the high-score server");
        const double X = (W - (W1 + 6 + 18 + 6 + W2)) / 2;
        DrawText(Cr, F, Text, X, Base, "Press");
        DrawKeyCap(Cr, X + W1 + 6, 3, 18, 18, "S");
        DrawText(Cr, F, Text, X + W1 + 30, Base, "to send the table to the high-score server");
        break;
      }
      case Busy: {
        const double Tw = TextWidth(Cr, F, "Sending the high scores\u2026");
        const double X = (W - Tw - 26) / 2 + 26;
        for (int i = 0; i < 3; ++i) {
          cairo_arc(Cr, X - 22 + i * 6, 12, 2, 0, 2 * M_PI);
          SetColor(Cr, pal::Amber, 0.4 + 0.3 * i);
          cairo_fill(Cr);
        }
        DrawText(Cr, F, Text, X, Base, "Sending the high scores\u2026");
        break;
      }
      case Done: {
        const double Tw = TextWidth(Cr, F, "High scores sent. Thank you!");
        const double X = (W - Tw - 22) / 2 + 22;
        cairo_move_to(Cr, X - 19, 12);
        cairo_line_to(Cr, X - 15, 16);
        cairo_line_to(Cr, X - 7, 7);
        SetColor(Cr, pal::Success);
        cairo_set_line_width(Cr, 2.4);
        cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(Cr);
        DrawText(Cr, F, Text, X, Base, "High scores sent. Thank you!");
        break;
      }
      case Failed: {
        const std::string A = "Could not send. Press", B = "to try again";
        const double W1 = TextWidth(Cr, F, A), W2 = TextWidth(Cr, F, B);
        const double X = (W - (18 + W1 + 6 + 18 + 6 + W2)) / 2 + 18;
        cairo_move_to(Cr, X - 16, 8);
        cairo_line_to(Cr, X - 8, 16);
        cairo_move_to(Cr, X - 8, 8);
        cairo_line_to(Cr, X - 16, 16);
        SetColor(Cr, pal::Alarm);
        cairo_set_line_width(Cr, 2.4);
        cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(Cr);
        DrawText(Cr, F, Text, X, Base, A);
        DrawKeyCap(Cr, X + W1 + 6, 3, 18, 18, "S");
        DrawText(Cr, F, Text, X + W1 + 30, Base, B);
        break;
      }
    }
    Assets.AddPng(St.Name, S.Surface());
  }
}

}  // namespace

void MakeMenuScreens(TUiAssets& Assets) {
  Options(Assets);
  KeyScreens(Assets);
  HighScorePictures(Assets);
  SubmitStatus(Assets);
}

}  // namespace ui
