// Composites for checking alignment by eye: each screen put together the way
// the game composes it, from the decoded pictures, with sample values drawn at
// the game's own coordinates (written out here independently of the layout
// constants the pictures were drawn with, so that a mismatch shows).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "PictureDecode.h"
#include "Preview.h"
#include "gfx/ImageErrors.h"
#include "ui/SmallFont.h"
#include "ui/UiParts.h"

namespace ui {

namespace {

// A 24-bit picture with the game's blending rule.
class TCanvas {
public:
  TCanvas(int W, int H) : FW(W), FH(H), FRgb(static_cast<std::size_t>(W) * H * 3, 0) {}
  int Width() const { return FW; }
  int Height() const { return FH; }

  void Blend(int X, int Y, int R, int G, int B, int A) {
    if (X < 0 || Y < 0 || X >= FW || Y >= FH || A <= 0) return;
    std::uint8_t* P = Px(X, Y);
    const int Src[3] = {R, G, B};
    for (int c = 0; c < 3; ++c) P[c] = static_cast<std::uint8_t>(std::lround((Src[c] * A + P[c] * (255 - A)) / 255.0));
  }
  void FillRect(int X0, int Y0, int X1, int Y1, int R, int G, int B) {  // inclusive
    for (int y = Y0; y <= Y1; ++y)
      for (int x = X0; x <= X1; ++x) Blend(x, y, R, G, B, 255);
  }
  // Opaque copy (JPEG pictures, background restores).
  void Put(const TImage& Img, int X, int Y) {
    for (int y = 0; y < Img.Height; ++y)
      for (int x = 0; x < Img.Width; ++x) {
        const std::uint8_t* S = Img.At(x, y);
        Blend(X + x, Y + y, S[0], S[1], S[2], 255);
      }
  }
  void CopyFrom(const TCanvas& Src, int X, int Y, int W, int H) {
    for (int y = Y; y < Y + H; ++y)
      for (int x = X; x < X + W; ++x)
        if (x >= 0 && y >= 0 && x < FW && y < FH && x < Src.FW && y < Src.FH) {
          const std::uint8_t* S = Src.Px(x, y);
          std::uint8_t* D = Px(x, y);
          D[0] = S[0], D[1] = S[1], D[2] = S[2];
        }
  }
  void DrawPart(const TImage& Img, int X, int Y, int SX0, int SY0, int SX1, int SY1, int Opacity = 255) {
    for (int y = SY0; y <= SY1; ++y)
      for (int x = SX0; x <= SX1; ++x) {
        if (x < 0 || y < 0 || x >= Img.Width || y >= Img.Height) continue;
        const std::uint8_t* S = Img.At(x, y);
        Blend(X + x - SX0, Y + y - SY0, S[0], S[1], S[2], static_cast<int>(std::lround(Opacity * S[3] / 255.0)));
      }
  }
  void Draw(const TImage& Img, int X, int Y, int Opacity = 255) {
    DrawPart(Img, X, Y, 0, 0, Img.Width - 1, Img.Height - 1, Opacity);
  }
  void DrawRotated(const TImage& Img, int X, int Y, int Opacity, double Angle) {
    const double Rad = Angle * M_PI / 180, S = std::sin(Rad), C = std::cos(Rad);
    const int Cx = Img.Width / 2, Cy = Img.Height / 2;
    for (int i = 0; i < Img.Height; ++i)
      for (int j = 0; j < Img.Width; ++j) {
        const int Dx = j - Cx, Dy = i - Cy;
        const int Sx = Cx + static_cast<int>(std::lround(Dx * C - Dy * S));
        const int Sy = Cy + static_cast<int>(std::lround(Dx * S + Dy * C));
        if (Sx < 0 || Sy < 0 || Sx >= Img.Width || Sy >= Img.Height) continue;
        const std::uint8_t* P = Img.At(Sx, Sy);
        Blend(X + j, Y + i, P[0], P[1], P[2], static_cast<int>(std::lround(Opacity * P[3] / 255.0)));
      }
  }
  void HLine(int X0, int X1, int Y, int R, int G, int B, int A) {
    for (int x = X0; x <= X1; ++x) Blend(x, Y, R, G, B, A);
  }
  void Save(const std::string& Path, int Zoom = 1) const {
    const int W = FW * Zoom, H = FH * Zoom;
    std::vector<std::uint8_t> Rgba(static_cast<std::size_t>(W) * H * 4);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const std::uint8_t* S = Px(x / Zoom, y / Zoom);
        std::uint8_t* D = &Rgba[(static_cast<std::size_t>(y) * W + x) * 4];
        D[0] = S[0], D[1] = S[1], D[2] = S[2], D[3] = 255;
      }
    WriteFile(Path, EncodePngRgba(Rgba.data(), W, H, 1));
  }
  void Paste(const TCanvas& Src, int X, int Y) {
    for (int y = 0; y < Src.FH; ++y)
      for (int x = 0; x < Src.FW; ++x)
        if (X + x >= 0 && Y + y >= 0 && X + x < FW && Y + y < FH) {
          const std::uint8_t* S = Src.Px(x, y);
          std::uint8_t* D = Px(X + x, Y + y);
          D[0] = S[0], D[1] = S[1], D[2] = S[2];
        }
  }
  TCanvas Crop(int X, int Y, int W, int H) const {
    TCanvas C(W, H);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const std::uint8_t* S = Px(X + x, Y + y);
        std::uint8_t* D = C.Px(x, y);
        D[0] = S[0], D[1] = S[1], D[2] = S[2];
      }
    return C;
  }

private:
  std::uint8_t* Px(int X, int Y) { return &FRgb[(static_cast<std::size_t>(Y) * FW + X) * 3]; }
  const std::uint8_t* Px(int X, int Y) const { return &FRgb[(static_cast<std::size_t>(Y) * FW + X) * 3]; }
  int FW, FH;
  std::vector<std::uint8_t> FRgb;
};

// A cut-out cell of a horizontal strip, as the game cuts glyphs and digits.
void DrawCell(TCanvas& C, const TImage& Strip, int CellW, int Index, int X, int Y, int Opacity = 255) {
  C.DrawPart(Strip, X, Y, Index * CellW, 0, Index * CellW + CellW - 1, Strip.Height - 1, Opacity);
}

void SmallText(TCanvas& C, const TUiAssets& A, int X, int Y, const std::string& Text, int Opacity = 255) {
  for (std::size_t i = 0; i < Text.size(); ++i)
    DrawCell(C, A.Get("small_chars.png"), 8, SmallGlyphIndex(Text[i]), X + 8 * static_cast<int>(i), Y, Opacity);
}

// The menu's bracket frame, white at alpha 128.
void MenuFrame(TCanvas& C, int W, int H) {
  auto P = [&](int X, int Y) { C.Blend(X, Y, 255, 255, 255, 128); };
  for (int y = 519 - H; y <= 519; ++y) P(399 - W, y), P(399 + W, y);
  const int Bx[4] = {400, 401, 402, 403}, By[4] = {520, 521, 522, 522}, Ty[4] = {518, 517, 516, 516};
  const int Rx[4] = {398, 397, 396, 395};
  for (int i = 0; i < 4; ++i) {
    P(Bx[i] - W, By[i]);
    P(Bx[i] - W, Ty[i] - H);
    P(Rx[i] + W, By[i]);
    P(Rx[i] + W, Ty[i] - H);
  }
}

// The menu's frame buffer at rest: background, grey outline, rotators.
TCanvas MenuBase(const TUiAssets& A) {
  TCanvas C(800, 600);
  C.Put(A.Get("menu_back.jpg"), 0, 0);
  for (int x = 0; x < 800; ++x) C.Blend(x, 0, 160, 160, 160, 255), C.Blend(x, 599, 160, 160, 160, 255);
  for (int y = 0; y < 600; ++y) C.Blend(0, y, 160, 160, 160, 255), C.Blend(799, y, 160, 160, 160, 255);
  // Bars as the menu reveals them: rows 138 - 2 speed .. 138.
  const double LeftSpeed = 42, RightSpeed = 61;
  C.DrawPart(A.Get("music_rotator_leftbar.png"), 11, 230 + 138 - static_cast<int>(2 * LeftSpeed), 0,
             138 - static_cast<int>(2 * LeftSpeed), 26, 138);
  C.DrawPart(A.Get("music_rotator_rightbar.png"), 762, 230 + 138 - static_cast<int>(2 * RightSpeed), 0,
             138 - static_cast<int>(2 * RightSpeed), 26, 138);
  C.DrawRotated(A.Get("music_rotator.png"), 11, 370, 200, -37);
  C.Draw(A.Get("music_rotator_center.png"), 11, 370, static_cast<int>(LeftSpeed));
  C.DrawRotated(A.Get("music_rotator.png"), 734, 370, 200, 71);
  C.Draw(A.Get("music_rotator_center.png"), 734, 370, static_cast<int>(RightSpeed));
  return C;
}

int Pulse(double Phase) { return static_cast<int>(std::lround(std::cos(Phase) * 70 + 70)); }

void MainMenu(const TUiAssets& A, const std::string& Dir) {
  TCanvas C = MenuBase(A);
  MenuFrame(C, 80, 189);
  const TImage& Main = A.Get("menu_main.png");
  C.Draw(Main, 337, 300, 240);
  // Highlight on entry 1 at its brightest.
  const int Cursor = 1, P = Pulse(0);
  C.HLine(341, 456, 342 + 30 * Cursor, 255, 255, 255, P);
  C.HLine(341, 456, 357 + 30 * Cursor, 255, 255, 255, P);
  C.Draw(A.Get("cheat_on.png"), 2, 2, 255);
  C.Save(Dir + "/ui_menu_main.png");
  C.Crop(300, 280, 200, 250).Save(Dir + "/ui_menu_main_zoom.png", 3);
}

void CreditsScreen(const TUiAssets& A, const std::string& Dir) {
  TCanvas C = MenuBase(A);
  MenuFrame(C, 160, 200);
  const TImage& Img = A.Get("credits.png");
  C.Draw(Img, 400 - Img.Width / 2, 286, 240);
  C.Save(Dir + "/ui_menu_credits.png");
  C.Crop(230, 280, 340, 250).Save(Dir + "/ui_menu_credits_zoom.png", 2);
}

void OptionsScreen(const TUiAssets& A, const std::string& Dir) {
  TCanvas C = MenuBase(A);
  MenuFrame(C, 100, 210);
  const TImage& Img = A.Get("options.png");
  const int L = 400 - Img.Width / 2;
  C.Draw(Img, L, 282, 255);
  // Values: music on, sound off, volume 60, full screen on.
  auto OnOff = [&](int X, int Y, bool On) {
    const std::string Glyphs = "on/off";
    for (int i = 0; i < 6; ++i) {
      const bool Current = i < 2 ? On : i > 2 ? !On : true;
      DrawCell(C, A.Get("small_chars.png"), 8, SmallGlyphIndex(Glyphs[i]), X + 8 * i, Y, Current ? 255 : 127);
    }
  };
  OnOff(366, 323, true);
  OnOff(380, 353, false);
  C.Draw(A.Get("volume_control.png"), 380 + 60, 383);
  OnOff(410, 413, true);
  const int Row = 2, P = Pulse(0.6);
  const int Span = 2 * (Img.Width / 2) + 1;
  C.HLine(L, L + Span - 1, 318 + 30 * Row, 255, 255, 255, P);
  C.HLine(L, L + Span - 1, 333 + 30 * Row, 255, 255, 255, P);
  C.Save(Dir + "/ui_menu_options.png");
  C.Crop(280, 270, 240, 260).Save(Dir + "/ui_menu_options_zoom.png", 3);
}

void KeysScreen(const TUiAssets& A, const std::string& Dir, int Player) {
  TCanvas C = MenuBase(A);
  MenuFrame(C, 85, 182);
  const TImage& Img = A.Get("player_keys.png");
  const int L = 400 - Img.Width / 2;
  C.Draw(Img, L, 348, 255);
  const TImage& Head = A.Get(Player == 1 ? "player_1_keys.png" : "player_2_keys.png");
  C.Draw(Head, 400 - Head.Width / 2, 312, 255);
  static const char* const Keys1[5] = {"Up Arrow", "Down Arrow", "Left Arrow", "Right Arrow", "Space"};
  static const char* const Keys2[5] = {"W", "S", "A", "D", "Ctrl"};
  for (int r = 0; r < 5; ++r) SmallText(C, A, L + 56, 353 + 30 * r, Player == 1 ? Keys1[r] : Keys2[r], 127);
  const int Span = 2 * (Img.Width / 2) + 1;
  if (Player == 1) {
    // Row 3 waits for a key: red lines.
    const int Row = 3, Alpha = static_cast<int>(std::lround(std::cos(0.0) * 70 + 170));
    C.HLine(L, L + Span - 1, 348 + 30 * Row, 255, 0, 0, Alpha);
    C.HLine(L, L + Span - 1, 363 + 30 * Row, 255, 0, 0, Alpha);
  } else {
    const int Row = 5, P = Pulse(0);
    C.HLine(L, L + Span - 1, 348 + 30 * Row, 255, 255, 255, P);
    C.HLine(L, L + Span - 1, 363 + 30 * Row, 255, 255, 255, P);
  }
  const std::string Name = "/ui_menu_keys_p" + std::to_string(Player);
  C.Save(Dir + Name + ".png");
  C.Crop(290, 300, 220, 230).Save(Dir + Name + "_zoom.png", 3);
}

// The list picture as the menu builds it: banded rows and each character's
// glyph averaged into them.
TImage HighScoreList(const TUiAssets& A) {
  TImage List;
  List.Width = 242;
  List.Height = 400;
  List.Rgba.assign(static_cast<std::size_t>(242) * 400 * 4, 0);
  auto Set = [&](int X, int Y, int R, int G, int B, int Al) {
    if (X < 0 || Y < 0 || X >= 242 || Y >= 400) return;
    std::uint8_t* P = &List.Rgba[(static_cast<std::size_t>(Y) * 242 + X) * 4];
    P[0] = static_cast<std::uint8_t>(R), P[1] = static_cast<std::uint8_t>(G), P[2] = static_cast<std::uint8_t>(B);
    P[3] = static_cast<std::uint8_t>(Al);
  };
  for (int i = 0; i < 20; ++i)
    for (int x = 0; x < 242; ++x) {
      Set(x, 20 * i, 255, 255, 255, 50);
      Set(x, 20 * i + 15, 255, 255, 255, 50);
      for (int y = 20 * i + 3; y <= 20 * i + 12; ++y) Set(x, y, 255, 255, 255, 18);
    }
  const TImage& Sheet = A.Get("small_chars.png");
  static const char* const Names[5] = {"Starfinder", "Night Owl", "Vyrn-master", "Ember", "Moonlit"};
  for (int i = 0; i < 20; ++i) {
    std::string Name = Names[i % 5];
    std::string Text = std::to_string(i + 1) + ".";
    Text += Name;
    const std::size_t Pad = 17 + (i + 1 < 10 ? 1 : 0);
    while (Text.size() < std::to_string(i + 1).size() + 1 + Pad) Text += ' ';
    std::string Score = std::to_string(100000 - 5000 * i + (i % 3) * 1234);
    while (Score.size() < 10) Score = " " + Score;
    Text += Score;
    for (std::size_t j = 1; j <= Text.size(); ++j) {
      const int G = SmallGlyphIndex(Text[j - 1]);
      const int X0 = 8 * static_cast<int>(j) - 7, Y0 = 20 * i + 4;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
          const int Tx = X0 + x, Ty = Y0 + y;
          if (Tx < 0 || Ty < 0 || Tx >= 242 || Ty >= 400) continue;
          const std::uint8_t* S = Sheet.At(G * 8 + x, y);
          std::uint8_t* D = &List.Rgba[(static_cast<std::size_t>(Ty) * 242 + Tx) * 4];
          for (int c = 0; c < 3; ++c) D[c] = static_cast<std::uint8_t>(std::lrint(S[c] * 0.5 + D[c] * 0.5));
          D[3] = static_cast<std::uint8_t>(std::min(255, S[3] + D[3]));
        }
    }
  }
  return List;
}

void HighScoreScreen(const TUiAssets& A, const std::string& Dir) {
  TCanvas C = MenuBase(A);
  MenuFrame(C, 146, 200);
  const TImage List = HighScoreList(A);
  TImage View;
  View.Width = 242;
  View.Height = 236;
  View.Rgba.assign(static_cast<std::size_t>(242) * 236 * 4, 0);
  const TImage& Head = A.Get("highscore.png");
  for (int y = 0; y < Head.Height; ++y)
    for (int x = 0; x < Head.Width; ++x)
      std::copy_n(Head.At(x, y), 4, &View.Rgba[(static_cast<std::size_t>(y) * 242 + 121 - Head.Width / 2 + x) * 4]);
  const int Cursor = 3;
  for (int y = 0; y < 200; ++y)
    std::copy_n(List.At(0, 7 * Cursor + y), 242 * 4, &View.Rgba[(static_cast<std::size_t>(36 + y) * 242) * 4]);
  C.Draw(View, 279, 284, 255);
  const TImage& Status = A.Get("submit_hi.png");
  C.Draw(Status, 400 - Status.Width / 2, 540, 255);
  // Arrows: down as it is, up turned over.
  const TImage& Arrow = A.Get("arrow.png");
  TImage Up = Arrow;
  for (int y = 0; y < Arrow.Height; ++y)
    std::copy_n(Arrow.At(0, Arrow.Height - 1 - y), Arrow.Width * 4, &Up.Rgba[static_cast<std::size_t>(y) * Arrow.Width * 4]);
  const int Al = static_cast<int>(std::lround(std::cos(0.0) * 30 + 70));
  C.Draw(Arrow, 526, 510, Al);
  C.Draw(Up, 526, 320, Al);
  C.Save(Dir + "/ui_menu_highscores.png");
  C.Crop(240, 276, 320, 320).Save(Dir + "/ui_menu_highscores_zoom.png", 2);

  // The three other status pictures in the same place, stacked.
  TCanvas Stack(800, 120);
  int Y = 0;
  for (const char* Name : {"submit_hi_submitting.png", "submit_hi_ok.png", "submit_hi_error.png"}) {
    TCanvas Strip = C.Crop(0, 535, 800, 40);
    Strip.CopyFrom(MenuBase(A).Crop(0, 535, 800, 40), 0, 0, 800, 40);
    const TImage& Img = A.Get(Name);
    Strip.Draw(Img, 400 - Img.Width / 2, 5, 255);
    Stack.Paste(Strip, 0, Y);
    Y += 40;
  }
  Stack.Crop(180, 0, 440, 120).Save(Dir + "/ui_menu_submit_states.png", 2);
}

void NameEntryScreen(const TUiAssets& A, const std::string& Dir) {
  TCanvas C = MenuBase(A);
  MenuFrame(C, 144, 102);
  const TImage& Img = A.Get("highscore_achieved.png");
  const int L = 400 - Img.Width / 2, T = 517 - Img.Height;
  C.Draw(Img, L, T, 255);
  SmallText(C, A, L + 56, T + 4, "1");
  const std::string Score = "123456";
  for (int i = 1; i <= 10; ++i)
    SmallText(C, A, L + 43 + 8 * i, T + 33, i <= static_cast<int>(Score.size()) ? Score.substr(i - 1, 1) : " ");
  const std::string Place = "3";
  for (int i = 1; i <= 2; ++i)
    SmallText(C, A, L + 35 + 8 * i, T + 45, i <= static_cast<int>(Place.size()) ? Place.substr(i - 1, 1) : " ");
  C.FillRect(362, 502, 490, 509, 64, 64, 64);
  const std::string Name = "Stargazer";
  SmallText(C, A, 362, 502, Name);
  const int Cur = 362 + 8 * static_cast<int>(Name.size());
  for (int y = 502; y <= 509; ++y) C.Blend(Cur, y, 255, 255, 255, 250);
  C.Save(Dir + "/ui_menu_name_entry.png");
  C.Crop(250, 400, 300, 130).Save(Dir + "/ui_menu_name_entry_zoom.png", 3);
}

// A play area to put game pictures on: a level picture when the archive has
// one already, else a plain field.
TCanvas PlayArea(const std::vector<TPakEntry>& Entries) {
  TCanvas C(600, 550);
  C.FillRect(0, 0, 599, 549, 40, 60, 90);
  for (const TPakEntry& E : Entries)
    if (E.Name == "back_space01.jpg") {
      try {
        C.Put(DecodePicture(E.Data.data(), E.Data.size()), 0, 0);
      } catch (const EImageDecodeError&) {
      }
    }
  return C;
}

// Digits of a number with strip cells of CellW at x positions X(i, n).
template <typename TPos>
void Digits(TCanvas& C, const TImage& Strip, int CellW, const std::string& Text, int Y, TPos X) {
  const int N = static_cast<int>(Text.size());
  for (int i = 0; i < N; ++i) DrawCell(C, Strip, CellW, Text[static_cast<std::size_t>(i)] - '0', X(i, N), Y);
}

void Panels(const TUiAssets& A, const std::vector<TPakEntry>& Entries, const std::string& Dir, bool TwoPlayers) {
  TCanvas C(800, 600);
  C.Paste(PlayArea(Entries), 0, 0);
  C.Put(A.Get(TwoPlayers ? "main_right_2p.jpg" : "main_right_1p.jpg"), 600, 0);
  C.Put(A.Get("main_bottom.jpg"), 0, 550);
  const TImage& Score = A.Get("numerics_score.png");
  const TImage& Large = A.Get("numerics_large.png");
  auto ScoreAt = [&](const std::string& T, int Y) {
    Digits(C, Score, 12, T, Y, [](int i, int n) { return 650 + (i - n + 10) * 12; });
  };
  ScoreAt(TwoPlayers ? "9999999999" : "12345", 46);
  DrawCell(C, Score, 12, 3, 720 + 38, 96);
  if (TwoPlayers) {
    ScoreAt("487650", 166);
    C.Draw(A.Get("dead.png"), 720, 216);
  }
  Digits(C, Large, 16, TwoPlayers ? "29" : "7", 477, [](int i, int n) { return 739 + (i - n + 2) * 16; });
  Digits(C, Large, 16, TwoPlayers ? "100" : "63", 537, [](int i, int n) { return 706 + (i - n + 3) * 16; });
  // Time bar, 60 % left: grey slot, bar rows 1..5.
  const double F = 0.6;
  C.FillRect(49, 574, 49 + 529, 574 + 6, 64, 64, 64);
  const int W = static_cast<int>(std::lround(F * 530)), G = static_cast<int>(std::lround((1 - F) * 128));
  C.FillRect(49, 575, 49 + W, 579, 208, 160 - G, 0);
  const std::string Name = TwoPlayers ? "/ui_panels_2p" : "/ui_panels_1p";
  C.Save(Dir + Name + ".png");
  C.Crop(600, 0, 200, 600).Save(Dir + Name + "_right_zoom.png", 2);
  C.Crop(0, 550, 600, 50).Save(Dir + Name + "_bottom_zoom.png", 2);
}

void BonusScreen(const TUiAssets& A, const std::vector<TPakEntry>& Entries, const std::string& Dir, int P, int T,
                 int Level, const std::string& Suffix) {
  TCanvas C = PlayArea(Entries);
  const TImage& Img = A.Get("bonus_awarded.png");
  C.Draw(Img, 600 / 2 - Img.Width / 2, 550 / 2 - Img.Height / 2);
  const TImage& Strip = A.Get("numerics_bonus.png");
  auto Right = [&](long long V, int R, int Y) {
    Digits(C, Strip, 12, std::to_string(V), Y, [R](int i, int n) { return R + 10 * (i - n); });
  };
  Right(P, 270, 262);
  Right(T, 290, 278);
  Digits(C, Strip, 12, std::to_string(Level), 278, [](int i, int) { return 360 + 10 * i; });
  Right(P * 300LL, 475, 262);
  Right(static_cast<long long>(Level) * T, 475, 278);
  Right(static_cast<long long>(Level) * T + P * 300LL, 475, 299);
  C.Save(Dir + "/ui_bonus" + Suffix + ".png");
  C.Crop(80, 170, 440, 210).Save(Dir + "/ui_bonus" + Suffix + "_zoom.png", 2);
}

// The message font as the game's text object sets and centres it.
void Message(TCanvas& C, const TUiAssets& A, const std::string& Text, int Y, int Opacity = 255) {
  static const std::string Signs = ".,-!:\"";
  const int W = 18 * static_cast<int>(Text.size());
  const int X = 600 / 2 - W / 2 + 18;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    char Ch = Text[i];
    if (Ch >= 'A' && Ch <= 'Z') Ch = static_cast<char>(Ch - 'A' + 'a');
    int G = -1;
    if (Ch >= 'a' && Ch <= 'z') G = Ch - 'a';
    if (Ch >= '0' && Ch <= '9') G = 26 + Ch - '0';
    if (const auto P = Signs.find(Ch); P != std::string::npos) G = 36 + static_cast<int>(P);
    if (G >= 0) DrawCell(C, A.Get("chars.png"), 18, G, X + 18 * static_cast<int>(i), Y, Opacity);
  }
}

void GameScreens(const TUiAssets& A, const std::vector<TPakEntry>& Entries, const std::string& Dir) {
  // Loading: the menu's picture, the frame, the bar at 60.
  {
    TCanvas Menu = MenuBase(A);
    TCanvas C = Menu.Crop(0, 0, 600, 550);
    C.Draw(A.Get("loading.png"), 304, 285);
    const int B = static_cast<int>(std::lround(60 * 197 / 100.0));
    C.CopyFrom(Menu, 305, 295, B, 9);
    for (int y = 295; y <= 303; ++y)
      for (int x = 305; x <= 305 + B; ++x) C.Blend(x, y, 160, 0, 0, 70);
    C.Save(Dir + "/ui_game_loading.png");
    C.Crop(280, 270, 250, 70).Save(Dir + "/ui_game_loading_zoom.png", 3);
  }
  // Pause menu centred; a message at the centre.
  {
    TCanvas C = PlayArea(Entries);
    const TImage& Img = A.Get("game_paused_menu.png");
    C.Draw(Img, 600 / 2 - Img.Width / 2, 550 / 2 - Img.Height / 2);
    C.Save(Dir + "/ui_game_paused.png");
  }
  {
    TCanvas C = PlayArea(Entries);
    Message(C, A, "Level complete!", 550 / 2 - 9);
    Message(C, A, "Space 1", 120);
    Message(C, A, "Increased speed to Player 1!", 180, 178);
    Message(C, A, "10000 bonus to Player 2!", 360, 178);
    Message(C, A, "Game Over! \"0123456789\" .,-:", 420);
    C.Save(Dir + "/ui_game_messages.png");
    C.Crop(0, 100, 600, 360).Save(Dir + "/ui_game_messages_zoom.png", 2);
  }
}

}  // namespace

void WriteComposites(const TUiAssets& A, const std::vector<TPakEntry>& Entries, const std::string& Dir) {
  MainMenu(A, Dir);
  CreditsScreen(A, Dir);
  OptionsScreen(A, Dir);
  KeysScreen(A, Dir, 1);
  KeysScreen(A, Dir, 2);
  HighScoreScreen(A, Dir);
  NameEntryScreen(A, Dir);
  Panels(A, Entries, Dir, false);
  Panels(A, Entries, Dir, true);
  BonusScreen(A, Entries, Dir, 3, 400, 7, "");
  BonusScreen(A, Entries, Dir, 133, 1000, 29, "_widest");
  GameScreens(A, Entries, Dir);
}

}  // namespace ui
