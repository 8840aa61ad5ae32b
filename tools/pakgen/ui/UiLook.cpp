#include "ui/UiLook.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "PictureDecode.h"

namespace ui {

TImage SurfaceToImage(cairo_surface_t* Surface) {
  TImage Img;
  Img.Width = cairo_image_surface_get_width(Surface);
  Img.Height = cairo_image_surface_get_height(Surface);
  Img.Rgba = SurfaceToRgba(Surface);
  return Img;
}

void TUiAssets::AddPng(const std::string& Name, cairo_surface_t* Surface) { AddPng(Name, SurfaceToImage(Surface)); }

void TUiAssets::AddPng(const std::string& Name, const TImage& Image) {
  FOut.push_back({Name, EncodePngRgba(Image.Rgba.data(), Image.Width, Image.Height)});
  FImages[Name] = Image;
}

void TUiAssets::AddJpeg(const std::string& Name, cairo_surface_t* Surface) {
  TBytes Bytes = SurfaceToJpeg(Surface, 90);
  // Keep what the game will see, compression artefacts included.
  FImages[Name] = DecodePicture(Bytes.data(), Bytes.size());
  FOut.push_back({Name, std::move(Bytes)});
}

const TImage& TUiAssets::Get(const std::string& Name) const {
  auto It = FImages.find(Name);
  if (It == FImages.end()) throw std::out_of_range("interface picture " + Name + " not drawn yet");
  return It->second;
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
