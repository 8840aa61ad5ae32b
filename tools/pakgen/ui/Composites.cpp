// The message font set and centred at the game's coordinates on a level
// picture, from the decoded pictures, for checking it by eye before the
// archive is written. The menu and the panels are previewed through the game
// itself once the archive exists (UiPreview.cpp).
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "PictureDecode.h"
#include "Preview.h"
#include "gfx/ImageErrors.h"
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

void GameMessages(const TUiAssets& A, const std::vector<TPakEntry>& Entries, const std::string& Dir) {
  TCanvas C = PlayArea(Entries);
  Message(C, A, "Level complete!", 550 / 2 - 9);
  Message(C, A, "Space 1", 120);
  Message(C, A, "Increased speed to Player 1!", 180, 178);
  Message(C, A, "10000 bonus to Player 2!", 360, 178);
  Message(C, A, "Game Over! \"0123456789\" .,-:", 420);
  C.Save(Dir + "/ui_game_messages.png");
  C.Crop(0, 100, 600, 360).Save(Dir + "/ui_game_messages_zoom.png", 2);
}

}  // namespace

void WriteComposites(const TUiAssets& A, const std::vector<TPakEntry>& Entries, const std::string& Dir) {
  GameMessages(A, Entries, Dir);
}

}  // namespace ui
