// The panels beside and below the play area and the pictures the running game
// draws into it: loading frame, pause menu, level bonus, the "out" mark.
#include <cmath>
#include <string>
#include <utility>

#include "ui/UiParts.h"

namespace ui {

namespace {

// A gamepad's face button, round and dark so that it reads apart from the
// keyboard's caps, centred on (Cx, Cy).
void DrawPadButton(cairo_t* Cr, double Cx, double Cy, const std::string& Legend) {
  cairo_save(Cr);
  cairo_arc(Cr, Cx, Cy + 1.5, 10, 0, 2 * M_PI);
  SetColor(Cr, pal::NightDeep, 0.8);
  cairo_fill(Cr);
  cairo_arc(Cr, Cx, Cy, 10, 0, 2 * M_PI);
  SetVerticalGradient(Cr, Cy - 10, Rgb(92, 84, 128), Cy + 10, Rgb(38, 32, 64));
  cairo_fill(Cr);
  cairo_arc(Cr, Cx, Cy, 9.5, 0, 2 * M_PI);
  SetColor(Cr, pal::Gold, 0.9);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  TTextLook Ink;
  Ink.Top = Ink.Bottom = pal::Cream;
  const TFont F{TFontStyle::SansBold, 10.5, 0};
  DrawText(Cr, F, Ink, Cx, std::round(Cy + CapHeight(F) / 2 - 0.5), Legend, TAlign::Centre);
  cairo_restore(Cr);
}

// Where the game shows each panel value (panel coordinates, right panel
// starting at window x = 600, bottom panel at window y = 550).
constexpr int ScoreX = 50, ScoreW = 120, DigitH = 14;
constexpr int Score1Y = 46, Score2Y = 166;
constexpr int LivesX = 120, LivesW = 50;
constexpr int Lives1Y = 96, Lives2Y = 216;
constexpr int LevelX = 139, LevelY = 477, LevelW = 32, LargeH = 18;
constexpr int PercentX = 106, PercentY = 537, PercentW = 48;
constexpr int TimeBarX = 49, TimeBarY = 24, TimeBarW = 530, TimeBarH = 7;

// The night behind every panel: indigo fading to near black, with a few
// faint stars.
void PanelBackground(cairo_t* Cr, int W, int H, std::uint32_t Seed) {
  const TPatternPtr P(cairo_pattern_create_linear(0, 0, 0, H));
  cairo_pattern_add_color_stop_rgb(P, 0.0, 0.085, 0.067, 0.21);
  cairo_pattern_add_color_stop_rgb(P, 0.5, 0.065, 0.050, 0.165);
  cairo_pattern_add_color_stop_rgb(P, 1.0, 0.040, 0.032, 0.110);
  cairo_set_source(Cr, P);
  cairo_paint(Cr);
  TScatter Rnd(Seed);
  const int Stars = W * H / 900;
  for (int i = 0; i < Stars; ++i) {
    const double X = Rnd.Range(0, W), Y = Rnd.Range(0, H), R = Rnd.Range(0.3, 0.9), A = Rnd.Range(0.15, 0.55);
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
    SetColor(Cr, Mix(pal::Lavender, pal::PaleGold, Rnd.Next()), A);
    cairo_fill(Cr);
  }
}

TTextLook LabelLook() {
  TTextLook L;
  L.Top = Rgb(226, 216, 250);
  L.Bottom = pal::Lavender;
  L.ShadowDx = 1;
  L.ShadowDy = 1;
  L.ShadowAlpha = 0.7;
  return L;
}

void Heart(cairo_t* Cr, double Cx, double Cy, double Size, const TRgb& Colour, double Alpha) {
  const double s = Size / 2;
  cairo_move_to(Cr, Cx, Cy + s);
  cairo_curve_to(Cr, Cx - s * 1.25, Cy + s * 0.05, Cx - s * 0.95, Cy - s * 1.05, Cx, Cy - s * 0.35);
  cairo_curve_to(Cr, Cx + s * 0.95, Cy - s * 1.05, Cx + s * 1.25, Cy + s * 0.05, Cx, Cy + s);
  cairo_close_path(Cr);
  SetVerticalGradient(Cr, Cy - s, Mix(Colour, pal::Cream, 0.45), Cy + s, Colour, Alpha);
  cairo_fill_preserve(Cr);
  SetColor(Cr, pal::Ink, 0.8 * Alpha);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
}

// A flame standing on (Cx, Base), H tall and about W wide, its tip leaning
// by Lean (a fraction of the width).
void FlamePath(cairo_t* Cr, double Cx, double Base, double H, double W, double Lean) {
  auto P = [&](double X, double Y) { return std::pair<double, double>{Cx + X * W, Base - Y * H}; };
  auto Move = [&](double X, double Y) { auto [a, b] = P(X, Y); cairo_move_to(Cr, a, b); };
  auto Curve = [&](double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    auto [a1, b1] = P(X1, Y1);
    auto [a2, b2] = P(X2, Y2);
    auto [a3, b3] = P(X3, Y3);
    cairo_curve_to(Cr, a1, b1, a2, b2, a3, b3);
  };
  const double T = 0.12 + Lean;
  Move(0, 0);
  Curve(0.62, 0, 0.78, 0.3, 0.56, 0.55);
  Curve(0.42, 0.72, 0.3, 0.8, T, 1.0);
  Curve(T - 0.02, 0.84, -0.22, 0.8, -0.4, 0.62);
  Curve(-0.5, 0.72, -0.46, 0.8, -0.42, 0.88);
  Curve(-0.72, 0.7, -0.82, 0.3, -0.55, 0.1);
  Curve(-0.42, 0.0, -0.2, 0, 0, 0);
  cairo_close_path(Cr);
}

// The game's emblem: a flame in a gold ring over the night.
void Emblem(cairo_t* Cr, double Cx, double Cy, double R) {
  // Halo.
  const TPatternPtr Halo(cairo_pattern_create_radial(Cx, Cy, R * 0.4, Cx, Cy, R * 1.6));
  cairo_pattern_add_color_stop_rgba(Halo, 0, 0.95, 0.55, 0.15, 0.35);
  cairo_pattern_add_color_stop_rgba(Halo, 1, 0.95, 0.55, 0.15, 0.0);
  cairo_set_source(Cr, Halo);
  cairo_arc(Cr, Cx, Cy, R * 1.6, 0, 2 * M_PI);
  cairo_fill(Cr);
  // Disc.
  const TPatternPtr Disc(cairo_pattern_create_radial(Cx, Cy - R * 0.3, R * 0.1, Cx, Cy, R));
  cairo_pattern_add_color_stop_rgb(Disc, 0, 0.30, 0.18, 0.42);
  cairo_pattern_add_color_stop_rgb(Disc, 1, 0.06, 0.04, 0.16);
  cairo_set_source(Cr, Disc);
  cairo_arc(Cr, Cx, Cy, R, 0, 2 * M_PI);
  cairo_fill(Cr);
  // Stars inside the ring.
  TScatter Rnd(77);
  for (int i = 0; i < 26; ++i) {
    const double A = Rnd.Range(0, 2 * M_PI), D = R * std::sqrt(Rnd.Next()) * 0.85;
    cairo_arc(Cr, Cx + std::cos(A) * D, Cy + std::sin(A) * D, Rnd.Range(0.3, 0.9), 0, 2 * M_PI);
    SetColor(Cr, pal::Cream, Rnd.Range(0.2, 0.7));
    cairo_fill(Cr);
  }
  // Flame: three layers, deep red outside, gold, a white-hot core.
  const double Base = Cy + R * 0.62;
  FlamePath(Cr, Cx, Base, R * 1.3, R * 0.62, 0.10);
  SetVerticalGradient(Cr, Base - R * 1.3, Rgb(255, 150, 50), Base, Rgb(190, 40, 30));
  cairo_fill(Cr);
  FlamePath(Cr, Cx + R * 0.02, Base, R * 0.95, R * 0.44, 0.05);
  SetVerticalGradient(Cr, Base - R * 0.95, Rgb(255, 220, 110), Base, Rgb(240, 120, 40));
  cairo_fill(Cr);
  FlamePath(Cr, Cx + R * 0.03, Base, R * 0.55, R * 0.24, -0.05);
  SetVerticalGradient(Cr, Base - R * 0.55, Rgb(255, 255, 240), Base, Rgb(255, 214, 120));
  cairo_fill(Cr);
  // Ring.
  cairo_arc(Cr, Cx, Cy, R, 0, 2 * M_PI);
  cairo_set_line_width(Cr, 2.5);
  const TPatternPtr Ring(cairo_pattern_create_linear(0, Cy - R, 0, Cy + R));
  cairo_pattern_add_color_stop_rgb(Ring, 0, 1.0, 0.93, 0.68);
  cairo_pattern_add_color_stop_rgb(Ring, 1, 0.78, 0.45, 0.12);
  cairo_set_source(Cr, Ring);
  cairo_stroke(Cr);
  cairo_arc(Cr, Cx, Cy, R + 3.5, 0, 2 * M_PI);
  cairo_set_line_width(Cr, 0.8);
  SetColor(Cr, pal::Gold, 0.5);
  cairo_stroke(Cr);
}

void EmblemTitle(cairo_t* Cr, double Cx, double Baseline, double Size) {
  TTextLook Title = GoldLook(2.2);
  Title.GlowRadius = 3;
  Title.GlowAlpha = 0.5;
  DrawText(Cr, {TFontStyle::SerifBold, Size, Size * 0.08}, Title, Cx, Baseline, "VYRN", TAlign::Centre);
  TTextLook Sub = LabelLook();
  DrawText(Cr, {TFontStyle::SansBold, Size * 0.27, Size * 0.11}, Sub, Cx + Size * 0.05, Baseline + Size * 0.45,
           "REKINDLED", TAlign::Centre);
}

// One player's card: heading, score slot, lives slot.
void PlayerCard(cairo_t* Cr, TReserved& Guard, int Player, int ScoreY, int LivesY) {
  const int Top = ScoreY - 40;
  DrawPlaque(Cr, 8, Top, 184, 116, 8);
  DrawPlayerBadge(Cr, Player, 24, Top + 13.5);
  const TRgb Trail = Player == 1 ? pal::Trail1 : pal::Trail2;
  const std::string Heading = "PLAYER " + std::to_string(Player);
  Guard.Check(DrawText(Cr, {TFontStyle::SansBold, 12.5, 1.6}, GoldLook(2.0), 36, Top + 18, Heading), Heading);
  // Trail-coloured underline.
  cairo_rectangle(Cr, 36, Top + 22, 110, 1);
  const TPatternPtr U(cairo_pattern_create_linear(36, 0, 146, 0));
  cairo_pattern_add_color_stop_rgba(U, 0, Trail.R, Trail.G, Trail.B, 0.8);
  cairo_pattern_add_color_stop_rgba(U, 1, Trail.R, Trail.G, Trail.B, 0.0);
  cairo_set_source(Cr, U);
  cairo_fill(Cr);

  Guard.Check(DrawText(Cr, {TFontStyle::SansBold, 8.5, 1.2}, LabelLook(), 48, ScoreY - 6, "SCORE"), "SCORE");
  DrawSlot(Cr, ScoreX - 4, ScoreY - 3, ScoreW + 8, DigitH + 6);
  TTextLook Note = LabelLook();
  Note.Alpha = 0.6;
  DrawText(Cr, {TFontStyle::Sans, 8, 0.4}, Note, 110, ScoreY + 29, "extra life every 50 000 points", TAlign::Centre);
  Guard.Check(DrawText(Cr, {TFontStyle::SansBold, 10, 1.2}, LabelLook(), 90, LivesY + 11, "LIVES", TAlign::Right),
              "LIVES");
  Heart(Cr, 104, LivesY + 7, 10, pal::Alarm, 1.0);
  DrawSlot(Cr, LivesX - 4, LivesY - 4, LivesW + 8, DigitH + 8);
}

void RightPanel(TUiAssets& Assets, bool TwoPlayers) {
  const std::string Name = TwoPlayers ? "main_right_2p.jpg" : "main_right_1p.jpg";
  TSurface S(200, 600);
  cairo_t* Cr = S.Cr();
  TReserved Guard(Name);
  Guard.Add(ScoreX, Score1Y, ScoreX + ScoreW, Score1Y + DigitH, "player 1's score");
  Guard.Add(LivesX, Lives1Y, LivesX + LivesW, Lives1Y + DigitH, "player 1's lives");
  Guard.Add(ScoreX, Score2Y, ScoreX + ScoreW, Score2Y + DigitH, "player 2's score");
  Guard.Add(LivesX, Lives2Y, LivesX + LivesW, Lives2Y + DigitH, "player 2's lives");
  Guard.Add(LevelX, LevelY, LevelX + LevelW, LevelY + LargeH, "the level number");
  Guard.Add(PercentX, PercentY, PercentX + PercentW, PercentY + LargeH, "the percentage");

  PanelBackground(Cr, 200, 600, TwoPlayers ? 11 : 12);
  // The seam with the play area: a gold line and its shadow.
  cairo_rectangle(Cr, 0, 0, 1, 600);
  SetColor(Cr, pal::NightDeep);
  cairo_fill(Cr);
  cairo_rectangle(Cr, 1, 0, 1, 600);
  SetVerticalGradient(Cr, 0, pal::Gold, 600, pal::Amber, 0.75);
  cairo_fill(Cr);
  cairo_rectangle(Cr, 2, 0, 2, 600);
  SetColor(Cr, pal::NightDeep, 0.5);
  cairo_fill(Cr);

  PlayerCard(Cr, Guard, 1, Score1Y, Lives1Y);
  if (TwoPlayers) {
    PlayerCard(Cr, Guard, 2, Score2Y, Lives2Y);
    DrawPlaque(Cr, 8, 246, 184, 216, 8, 0.55);
    Emblem(Cr, 100, 316, 40);
    EmblemTitle(Cr, 100, 404, 34);
    TTextLook Motto = LabelLook();
    Motto.Alpha = 0.8;
    DrawText(Cr, {TFontStyle::Serif, 10.5, 0.3}, Motto, 100, 446, "claim the night", TAlign::Centre);
  } else {
    DrawPlaque(Cr, 8, 126, 184, 336, 8, 0.55);
    Emblem(Cr, 100, 240, 56);
    EmblemTitle(Cr, 100, 364, 40);
    DrawOrnamentRule(Cr, 100, 410, 70, 0.8);
    TTextLook Motto = LabelLook();
    Motto.Alpha = 0.8;
    DrawText(Cr, {TFontStyle::Serif, 10.5, 0.3}, Motto, 100, 436, "claim the night", TAlign::Centre);
  }

  // Level and claimed share.
  DrawPlaque(Cr, 8, 466, 184, 126, 8);
  const TFont Label{TFontStyle::SansBold, 12, 1.5};
  Guard.Check(DrawText(Cr, Label, GoldLook(2.0), 22, LevelY + 14, "LEVEL"), "LEVEL");
  DrawSlot(Cr, LevelX - 4, LevelY - 4, LevelW + 8, LargeH + 8);
  DrawOrnamentRule(Cr, 100, 516, 70, 0.7);
  Guard.Check(DrawText(Cr, Label, GoldLook(2.0), 22, PercentY + 14, "CLAIMED"), "CLAIMED");
  DrawSlot(Cr, PercentX - 4, PercentY - 4, PercentW + 26, LargeH + 8);
  // The per cent sign in the large digits' style, beside the digits' field.
  TTextLook Sign = GoldLook(2.2);
  Guard.Check(DrawText(Cr, {TFontStyle::SansCondensedBold, 15, 0}, Sign, PercentX + PercentW + 3, PercentY + 15, "%"),
              "%");
  Assets.AddJpeg(Name, S.Surface());
}

void BottomPanel(TUiAssets& Assets) {
  TSurface S(600, 50);
  cairo_t* Cr = S.Cr();
  TReserved Guard("main_bottom.jpg");
  Guard.Add(TimeBarX, TimeBarY, TimeBarX + TimeBarW, TimeBarY + TimeBarH, "the time bar");
  PanelBackground(Cr, 600, 50, 13);
  cairo_rectangle(Cr, 0, 0, 600, 1);
  SetColor(Cr, pal::NightDeep);
  cairo_fill(Cr);
  cairo_rectangle(Cr, 0, 1, 600, 1);
  const TPatternPtr P(cairo_pattern_create_linear(0, 0, 600, 0));
  cairo_pattern_add_color_stop_rgba(P, 0, 1.0, 0.8, 0.35, 0.35);
  cairo_pattern_add_color_stop_rgba(P, 0.5, 1.0, 0.8, 0.35, 0.8);
  cairo_pattern_add_color_stop_rgba(P, 1, 1.0, 0.8, 0.35, 0.75);
  cairo_set_source(Cr, P);
  cairo_fill(Cr);

  // Hourglass.
  const double Hx = 24, Hy = 27;
  cairo_move_to(Cr, Hx - 8, Hy - 12);
  cairo_line_to(Cr, Hx + 8, Hy - 12);
  cairo_curve_to(Cr, Hx + 8, Hy - 4, Hx + 1.5, Hy - 2, Hx + 1.5, Hy);
  cairo_curve_to(Cr, Hx + 1.5, Hy + 2, Hx + 8, Hy + 4, Hx + 8, Hy + 12);
  cairo_line_to(Cr, Hx - 8, Hy + 12);
  cairo_curve_to(Cr, Hx - 8, Hy + 4, Hx - 1.5, Hy + 2, Hx - 1.5, Hy);
  cairo_curve_to(Cr, Hx - 1.5, Hy - 2, Hx - 8, Hy - 4, Hx - 8, Hy - 12);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(60, 50, 110), 0.9);
  cairo_fill_preserve(Cr);
  SetColor(Cr, pal::Gold);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  // Sand: a heap below, a little left above, the falling thread.
  cairo_move_to(Cr, Hx - 6.5, Hy + 11);
  cairo_curve_to(Cr, Hx - 4, Hy + 5, Hx + 4, Hy + 5, Hx + 6.5, Hy + 11);
  cairo_close_path(Cr);
  SetColor(Cr, pal::Amber);
  cairo_fill(Cr);
  cairo_move_to(Cr, Hx - 5, Hy - 7);
  cairo_line_to(Cr, Hx + 5, Hy - 7);
  cairo_line_to(Cr, Hx, Hy - 1);
  cairo_close_path(Cr);
  SetColor(Cr, pal::Gold);
  cairo_fill(Cr);
  cairo_rectangle(Cr, Hx - 0.5, Hy - 1, 1, 8);
  cairo_fill(Cr);
  for (double Bar : {Hy - 13.5, Hy + 12.5}) {
    RoundedRect(Cr, Hx - 10, Bar, 20, 2.5, 1);
    SetColor(Cr, pal::Gold);
    cairo_fill(Cr);
  }

  Guard.Check(DrawText(Cr, {TFontStyle::SansBold, 8.5, 2.0}, LabelLook(), TimeBarX, 16, "TIME BONUS"), "TIME BONUS");
  DrawSlot(Cr, TimeBarX - 4, TimeBarY - 4, TimeBarW + 8, TimeBarH + 8);
  // Quarter marks above the slot.
  for (int k = 1; k < 4; ++k) {
    const double X = TimeBarX + TimeBarW * k / 4.0;
    cairo_rectangle(Cr, std::round(X), 15, 1, 3);
    SetColor(Cr, pal::Gold, 0.55);
    cairo_fill(Cr);
  }
  Assets.AddJpeg("main_bottom.jpg", S.Surface());
}

void DeadMark(TUiAssets& Assets) {
  // Fills the 50 x 14 lives field of a player who is out.
  TSurface S(50, 14);
  cairo_t* Cr = S.Cr();
  Heart(Cr, 11, 7.5, 13, Rgb(200, 150, 176), 1.0);
  // The crack.
  cairo_move_to(Cr, 11, 2.5);
  cairo_line_to(Cr, 9.5, 6);
  cairo_line_to(Cr, 12.5, 8.5);
  cairo_line_to(Cr, 10.5, 13.5);
  SetColor(Cr, pal::Ink);
  cairo_set_line_width(Cr, 1.6);
  cairo_stroke(Cr);
  TTextLook Out;
  Out.Top = Rgb(255, 150, 130);
  Out.Bottom = Rgb(214, 48, 48);
  Out.OutlineWidth = 2;
  DrawText(Cr, {TFontStyle::SansCondensedBold, 12, 0.5}, Out, 49, 12, "OUT", TAlign::Right);
  Assets.AddPng("dead.png", S.Surface());
}

void LoadingFrame(TUiAssets& Assets) {
  // Drawn at (304, 285) of the play area; the game fills the bar at
  // (305, 295), 197 wide and 9 high, so the slot's inside is columns 1..198
  // and rows 10..18 of this picture.
  constexpr int W = 200, H = 40, SlotTop = 10, SlotRows = 9;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  // Caption tab below the bar.
  cairo_new_path(Cr);
  cairo_move_to(Cr, 40, 19);
  cairo_line_to(Cr, 160, 19);
  cairo_line_to(Cr, 160, H - 7);
  cairo_arc(Cr, 153, H - 7, 7, 0, M_PI / 2);
  cairo_line_to(Cr, 47, H);
  cairo_arc(Cr, 47, H - 7, 7, M_PI / 2, M_PI);
  cairo_close_path(Cr);
  SetVerticalGradient(Cr, 19, Rgb(34, 26, 80), H, Rgb(12, 9, 32), 0.92);
  cairo_fill_preserve(Cr);
  SetColor(Cr, pal::Gold, 0.8);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  DrawText(Cr, {TFontStyle::SansBold, 9.5, 3.0}, GoldLook(1.6), 101.5, 33, "LOADING", TAlign::Centre);
  // Slot: dark glass with faint diagonal hatching that the bar wipes away.
  cairo_rectangle(Cr, 1, SlotTop, W - 2, SlotRows);
  SetColor(Cr, pal::NightDeep, 0.88);
  cairo_fill(Cr);
  cairo_save(Cr);
  cairo_rectangle(Cr, 1, SlotTop, W - 2, SlotRows);
  cairo_clip(Cr);
  for (int x = -10; x < W + 10; x += 6) {
    cairo_move_to(Cr, x, SlotTop + SlotRows);
    cairo_line_to(Cr, x + SlotRows, SlotTop);
  }
  SetColor(Cr, pal::Gold, 0.16);
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
  cairo_restore(Cr);
  // Gold frame on the slot's border pixels.
  cairo_rectangle(Cr, 0.5, SlotTop - 0.5, W - 1, SlotRows + 1);
  SetColor(Cr, pal::Gold, 0.95);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  // Ornament above.
  DrawOrnamentRule(Cr, 100, 4.5, 90, 0.9);
  Assets.AddPng("loading.png", S.Surface());
}

void PauseMenu(TUiAssets& Assets) {
  constexpr int W = 320, H = 150;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  DrawPlaque(Cr, 2, 2, W - 4, H - 4, 14, 0.94);
  TTextLook Title = GoldLook(2.4);
  Title.GlowRadius = 4;
  Title.GlowAlpha = 0.45;
  DrawText(Cr, {TFontStyle::SerifBold, 28, 3}, Title, W / 2.0, 44, "PAUSED", TAlign::Centre);
  DrawOrnamentRule(Cr, W / 2.0, 58, 110);
  TTextLook Line;
  Line.Top = pal::Cream;
  Line.Bottom = Rgb(226, 214, 246);
  Line.ShadowDx = Line.ShadowDy = 1;
  Line.ShadowAlpha = 0.7;
  const TFont F{TFontStyle::SansBold, 12, 0.6};
  TTextLook Or = Line;
  Or.Top = Or.Bottom = pal::Lavender;
  const auto DrawOr = [&](double X, double Y) {
    DrawText(Cr, {TFontStyle::Sans, 10.5, 0}, Or, X, Y, "or", TAlign::Centre);
  };
  // Resume: Escape or N, or a pad's east button.
  DrawKeyCap(Cr, 28, 76, 34, 20, "Esc");
  DrawOr(74, 90);
  DrawKeyCap(Cr, 86, 76, 22, 20, "N");
  DrawOr(120, 90);
  DrawPadButton(Cr, 142, 86, "B");
  DrawText(Cr, F, Line, 164, 91, "resume the game");
  // Quit: Y, or a pad's south button.
  DrawKeyCap(Cr, 86, 108, 22, 20, "Y");
  DrawOr(120, 122);
  DrawPadButton(Cr, 142, 118, "A");
  DrawText(Cr, F, Line, 164, 123, "end this game");
  Assets.AddPng("game_paused_menu.png", S.Surface());
}

void BonusPicture(TUiAssets& Assets) {
  // Centred in the 600 x 550 play area; drawn here in play-area coordinates
  // so that the labels line up with the game's six numbers.
  constexpr int W = 420, H = 190;
  constexpr int Left = 300 - W / 2, Top = 275 - H / 2;
  TSurface S(W, H);
  cairo_t* Cr = S.Cr();
  cairo_translate(Cr, -Left, -Top);
  TReserved Guard("bonus_awarded.png");
  // Numbers: right edges R with up to n digits of 10 pixels, 12 high.
  auto Number = [&](double R, double Y, int MaxDigits, const char* What) {
    Guard.Add(R - 10 * MaxDigits, Y, R + 2, Y + 12, What);
  };
  Number(270, 262, 3, "the percent beyond the target");
  Number(290, 278, 4, "half the time bonus");
  Guard.Add(360, 278, 382, 290, "the level number");
  Number(475, 262, 6, "the area bonus");
  Number(475, 278, 6, "the time bonus");
  Number(475, 299, 6, "the total");

  DrawPlaque(Cr, Left + 2, Top + 2, W - 4, H - 4, 16, 0.95);
  TTextLook Title = GoldLook(2.4);
  Title.GlowRadius = 4;
  Title.GlowAlpha = 0.5;
  DrawText(Cr, {TFontStyle::SerifBold, 24, 2.5}, Title, 300, 220, "LEVEL BONUS", TAlign::Centre);
  DrawOrnamentRule(Cr, 300, 234, 150);

  TTextLook Label = LabelLook();
  TTextLook Op;
  Op.Top = pal::Cream;
  Op.Bottom = Rgb(236, 222, 250);
  Op.ShadowDx = Op.ShadowDy = 1;
  Op.ShadowAlpha = 0.7;
  const TFont LabelFont{TFontStyle::SansBold, 10.5, 1.2};
  const TFont OpFont{TFontStyle::SansBold, 11, 0.3};
  const double RowA = 272.5, RowB = 288.5, RowC = 309.5;
  auto Put = [&](const TFont& F, const TTextLook& L, double X, double Y, const std::string& T, TAlign A) {
    Guard.Check(DrawText(Cr, F, L, X, Y, T, A), T);
  };
  // Area: P % x 300 = P x 300
  Put(LabelFont, Label, 112, RowA, "AREA BONUS", TAlign::Left);
  Put(OpFont, Op, 273, RowA, "%", TAlign::Left);
  Put(OpFont, Op, 297, RowA, "\u00d7", TAlign::Left);
  Put(OpFont, Op, 309, RowA, "300", TAlign::Left);
  Put(OpFont, Op, 398, RowA, "=", TAlign::Centre);
  // Time: T x LEVEL n = n x T
  Put(LabelFont, Label, 112, RowB, "TIME BONUS", TAlign::Left);
  Put(OpFont, Op, 297, RowB, "\u00d7", TAlign::Left);
  Put({TFontStyle::SansBold, 9, 0.8}, Label, 309, RowB - 0.5, "LEVEL", TAlign::Left);
  Put(OpFont, Op, 398, RowB, "=", TAlign::Centre);
  // Sum rule and total.
  cairo_rectangle(Cr, 404, 294, 74, 1);
  SetColor(Cr, pal::Gold, 0.8);
  cairo_fill(Cr);
  Put({TFontStyle::SansBold, 12.5, 1.6}, GoldLook(2.0), 112, RowC + 0.5, "TOTAL", TAlign::Left);
  Put(OpFont, Op, 398, RowC, "=", TAlign::Centre);

  TTextLook Hint = Label;
  Hint.Alpha = 0.85;
  DrawText(Cr, {TFontStyle::SansBold, 9, 2.2}, Hint, 300, 350, "PRESS ANY KEY", TAlign::Centre);
  Assets.AddPng("bonus_awarded.png", S.Surface());
}

}  // namespace

void MakeGamePictures(TUiAssets& Assets) {
  RightPanel(Assets, false);
  RightPanel(Assets, true);
  BottomPanel(Assets);
  DeadMark(Assets);
  LoadingFrame(Assets);
  PauseMenu(Assets);
  BonusPicture(Assets);
}

}  // namespace ui
