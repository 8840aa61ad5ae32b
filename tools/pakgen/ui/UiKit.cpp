#include "ui/UiKit.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Preview.h"

namespace ui {

TRgb Mix(const TRgb& A, const TRgb& B, double T) {
  return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
}

TSurface::TSurface(int Width, int Height)
    : FWidth(Width), FHeight(Height), FSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height)),
      FCr(cairo_create(FSurface)) {
  if (cairo_surface_status(FSurface) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo surface failed");
  // Small text must look the same on every machine: grey anti-aliasing,
  // slight hinting, no sub-pixel colour fringes.
  cairo_font_options_t* Options = cairo_font_options_create();
  cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(FCr, Options);
  cairo_font_options_destroy(Options);
}

TSurface::~TSurface() {
  cairo_destroy(FCr);
  cairo_surface_destroy(FSurface);
}

std::uint8_t TImage::Alpha(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= Width || Y >= Height) return 0;
  return At(X, Y)[3];
}

TImage SurfaceToImage(cairo_surface_t* Surface) {
  TImage Img;
  Img.Width = cairo_image_surface_get_width(Surface);
  Img.Height = cairo_image_surface_get_height(Surface);
  Img.Rgba = SurfaceToRgba(Surface);
  return Img;
}

void TUiAssets::AddPng(const std::string& Name, cairo_surface_t* Surface) { AddPng(Name, SurfaceToImage(Surface)); }

void TUiAssets::AddPng(const std::string& Name, const TImage& Image) {
  FOut.push_back({Name, EncodePng(Image.Rgba.data(), Image.Width, Image.Height)});
  FImages[Name] = Image;
}

void TUiAssets::AddJpeg(const std::string& Name, cairo_surface_t* Surface) {
  TBytes Bytes = SurfaceToJpeg(Surface, 90);
  // Keep what the game will see, compression artefacts included.
  cairo_surface_t* Decoded = DecodePicture(Bytes);
  if (!Decoded) throw std::runtime_error("cannot decode " + Name + " again");
  FImages[Name] = SurfaceToImage(Decoded);
  cairo_surface_destroy(Decoded);
  FOut.push_back({Name, std::move(Bytes)});
}

const TImage& TUiAssets::Get(const std::string& Name) const {
  auto It = FImages.find(Name);
  if (It == FImages.end()) throw std::out_of_range("interface picture " + Name + " not drawn yet");
  return It->second;
}

void SetColor(cairo_t* Cr, const TRgb& C, double Alpha) { cairo_set_source_rgba(Cr, C.R, C.G, C.B, Alpha); }

void SetVerticalGradient(cairo_t* Cr, double Y0, const TRgb& Top, double Y1, const TRgb& Bottom, double Alpha) {
  cairo_pattern_t* P = cairo_pattern_create_linear(0, Y0, 0, Y1);
  cairo_pattern_add_color_stop_rgba(P, 0, Top.R, Top.G, Top.B, Alpha);
  cairo_pattern_add_color_stop_rgba(P, 1, Bottom.R, Bottom.G, Bottom.B, Alpha);
  cairo_set_source(Cr, P);
  cairo_pattern_destroy(P);
}

void RoundedRect(cairo_t* Cr, double X, double Y, double W, double H, double R) {
  R = std::min({R, W / 2, H / 2});
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, X + W - R, Y + R, R, -M_PI / 2, 0);
  cairo_arc(Cr, X + W - R, Y + H - R, R, 0, M_PI / 2);
  cairo_arc(Cr, X + R, Y + H - R, R, M_PI / 2, M_PI);
  cairo_arc(Cr, X + R, Y + R, R, M_PI, 3 * M_PI / 2);
  cairo_close_path(Cr);
}

namespace {
// One box pass along rows (Horizontal) or columns, on all four channels.
void BoxPass(std::uint8_t* Data, int W, int H, int Stride, int Radius, bool Horizontal) {
  const int Len = Horizontal ? W : H;
  const int Lines = Horizontal ? H : W;
  std::vector<std::uint32_t> Line(static_cast<std::size_t>(Len) * 4);
  const int Win = 2 * Radius + 1;
  for (int l = 0; l < Lines; ++l) {
    auto Px = [&](int i) -> std::uint8_t* {
      return Horizontal ? Data + static_cast<std::size_t>(l) * Stride + static_cast<std::size_t>(i) * 4
                        : Data + static_cast<std::size_t>(i) * Stride + static_cast<std::size_t>(l) * 4;
    };
    for (int i = 0; i < Len; ++i)
      for (int c = 0; c < 4; ++c) Line[static_cast<std::size_t>(i) * 4 + c] = Px(i)[c];
    for (int c = 0; c < 4; ++c) {
      std::uint32_t Sum = 0;
      for (int k = 0; k <= Radius && k < Len; ++k) Sum += Line[static_cast<std::size_t>(k) * 4 + c];
      for (int i = 0; i < Len; ++i) {
        Px(i)[c] = static_cast<std::uint8_t>((Sum + Win / 2) / Win);
        const int Out = i - Radius, In = i + Radius + 1;
        if (Out >= 0) Sum -= Line[static_cast<std::size_t>(Out) * 4 + c];
        if (In < Len) Sum += Line[static_cast<std::size_t>(In) * 4 + c];
      }
    }
  }
}
}  // namespace

void BlurSurface(cairo_surface_t* Surface, int Radius) {
  if (Radius <= 0) return;
  cairo_surface_flush(Surface);
  std::uint8_t* Data = cairo_image_surface_get_data(Surface);
  const int W = cairo_image_surface_get_width(Surface);
  const int H = cairo_image_surface_get_height(Surface);
  const int Stride = cairo_image_surface_get_stride(Surface);
  for (int Pass = 0; Pass < 3; ++Pass) {
    BoxPass(Data, W, H, Stride, Radius, true);
    BoxPass(Data, W, H, Stride, Radius, false);
  }
  cairo_surface_mark_dirty(Surface);
}

namespace {
// The text split into UTF-8 characters.
std::vector<std::string> Characters(const std::string& Text) {
  std::vector<std::string> Out;
  for (std::size_t i = 0; i < Text.size();) {
    const unsigned char C = static_cast<unsigned char>(Text[i]);
    const std::size_t Len = C < 0x80 ? 1 : (C >> 5) == 6 ? 2 : (C >> 4) == 14 ? 3 : 4;
    Out.push_back(Text.substr(i, Len));
    i += Len;
  }
  return Out;
}
}  // namespace

void UseFont(cairo_t* Cr, const TFont& Font) {
  cairo_set_font_face(Cr, DejaVuFace(Font.Face));
  cairo_set_font_size(Cr, Font.Size);
}

double TextWidth(cairo_t* Cr, const TFont& Font, const std::string& Text) {
  UseFont(Cr, Font);
  double W = 0;
  const auto Chars = Characters(Text);
  for (const std::string& C : Chars) {
    cairo_text_extents_t E;
    cairo_text_extents(Cr, C.c_str(), &E);
    W += E.x_advance;
  }
  if (!Chars.empty()) W += Font.Spacing * static_cast<double>(Chars.size() - 1);
  return W;
}

double CapHeight(const TFont& Font) {
  // DejaVu's capitals stand 0.729 em tall.
  return Font.Size * 0.729;
}

void AppendTextPath(cairo_t* Cr, const TFont& Font, double X, double Baseline, const std::string& Text) {
  UseFont(Cr, Font);
  double Pen = X;
  for (const std::string& C : Characters(Text)) {
    cairo_move_to(Cr, Pen, Baseline);
    cairo_text_path(Cr, C.c_str());
    cairo_text_extents_t E;
    cairo_text_extents(Cr, C.c_str(), &E);
    Pen += E.x_advance + Font.Spacing;
  }
}

namespace {
// Paints the path of the text, filled (and stroked when Grow > 0) in one
// colour, blurred, onto Cr at an offset.
void SoftCopy(cairo_t* Cr, const TFont& Font, double X, double Baseline, const std::string& Text, const TRgb& Colour,
              double Alpha, double Grow, int Blur, double Dx, double Dy) {
  cairo_surface_t* Target = cairo_get_target(Cr);
  const int W = cairo_image_surface_get_width(Target);
  const int H = cairo_image_surface_get_height(Target);
  TSurface Tmp(W, H);
  cairo_matrix_t M;
  cairo_get_matrix(Cr, &M);
  cairo_set_matrix(Tmp.Cr(), &M);
  AppendTextPath(Tmp.Cr(), Font, X + Dx, Baseline + Dy, Text);
  SetColor(Tmp.Cr(), Colour, 1.0);
  if (Grow > 0) {
    cairo_set_line_width(Tmp.Cr(), Grow);
    cairo_set_line_join(Tmp.Cr(), CAIRO_LINE_JOIN_ROUND);
    cairo_fill_preserve(Tmp.Cr());
    cairo_stroke(Tmp.Cr());
  } else {
    cairo_fill(Tmp.Cr());
  }
  BlurSurface(Tmp.Surface(), Blur);
  cairo_save(Cr);
  cairo_identity_matrix(Cr);
  cairo_set_source_surface(Cr, Tmp.Surface(), 0, 0);
  cairo_paint_with_alpha(Cr, Alpha);
  cairo_restore(Cr);
}
}  // namespace

TBox DrawText(cairo_t* Cr, const TFont& Font, const TTextLook& Look, double X, double Baseline, const std::string& Text,
              TAlign Align) {
  const double W = TextWidth(Cr, Font, Text);
  if (Align == TAlign::Centre) X -= W / 2;
  if (Align == TAlign::Right) X -= W;

  if (Look.GlowAlpha > 0 && Look.GlowRadius > 0)
    SoftCopy(Cr, Font, X, Baseline, Text, Look.Glow, Look.GlowAlpha, Look.OutlineWidth + 2, Look.GlowRadius, 0, 0);
  if (Look.ShadowAlpha > 0) {
    if (Look.ShadowBlur > 0) {
      SoftCopy(Cr, Font, X, Baseline, Text, pal::Ink, Look.ShadowAlpha, Look.OutlineWidth, Look.ShadowBlur,
               Look.ShadowDx, Look.ShadowDy);
    } else {
      cairo_new_path(Cr);
      AppendTextPath(Cr, Font, X + Look.ShadowDx, Baseline + Look.ShadowDy, Text);
      SetColor(Cr, pal::Ink, Look.ShadowAlpha);
      if (Look.OutlineWidth > 0) {
        cairo_set_line_width(Cr, Look.OutlineWidth);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        cairo_fill_preserve(Cr);
        cairo_stroke(Cr);
      } else {
        cairo_fill(Cr);
      }
    }
  }

  cairo_new_path(Cr);
  AppendTextPath(Cr, Font, X, Baseline, Text);
  double X0, Y0, X1, Y1;
  cairo_path_extents(Cr, &X0, &Y0, &X1, &Y1);
  if (Look.OutlineWidth > 0) {
    SetColor(Cr, Look.Outline, Look.OutlineAlpha * Look.Alpha);
    cairo_set_line_width(Cr, Look.OutlineWidth);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(Cr);
  }
  SetVerticalGradient(Cr, Baseline - CapHeight(Font), Look.Top, Baseline, Look.Bottom, Look.Alpha);
  cairo_fill(Cr);

  const double Pad = Look.OutlineWidth / 2;
  return {X0 - Pad, Y0 - Pad, X1 + Pad, Y1 + Pad};
}

void TReserved::Add(double X0, double Y0, double X1, double Y1, std::string What) {
  FAreas.push_back({{X0, Y0, X1, Y1}, std::move(What)});
}

void TReserved::Check(const TBox& Box, const std::string& Text) const {
  for (const TArea& A : FAreas)
    if (Box.Intersects(A.Box))
      throw std::runtime_error(FPicture + ": the label \"" + Text + "\" (x " + std::to_string(Box.X0) + ".." +
                               std::to_string(Box.X1) + ", y " + std::to_string(Box.Y0) + ".." + std::to_string(Box.Y1) +
                               ") runs into " + A.What);
}

double TScatter::Next() {
  FState = FState * 1664525u + 1013904223u;
  return (FState >> 8) / 16777216.0;
}

void Require(bool Condition, const std::string& Message) {
  if (!Condition) throw std::runtime_error(Message);
}

}  // namespace ui
