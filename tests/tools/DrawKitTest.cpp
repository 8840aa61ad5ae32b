// The generator's drawing kit: handles that cannot leave a dangling pointer,
// and the one blur every picture's glows and shadows go through.
#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

#include "kit/DrawKit.h"

namespace {

using namespace kit;

// Only a living handle hands out its pointer.
static_assert(std::is_convertible_v<TSurfacePtr&, cairo_surface_t*>);
static_assert(std::is_convertible_v<const TPatternPtr&, cairo_pattern_t*>);
static_assert(!std::is_convertible_v<TSurfacePtr&&, cairo_surface_t*>);
static_assert(!std::is_convertible_v<TContextPtr, cairo_t*>);
static_assert(!std::is_copy_constructible_v<TSurfacePtr>);

std::uint32_t Pixel(cairo_surface_t* S, int X, int Y) {
  cairo_surface_flush(S);
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(S) +
                                                static_cast<std::size_t>(Y) * cairo_image_surface_get_stride(S))[X];
}

TEST(DrawKit, HandlesMoveTheirObjectAndFreeItOnce) {
  TSurfacePtr A = NewSurface(4, 4);
  cairo_surface_t* Raw = A;
  // A reference of our own shows how many owners the surface has.
  cairo_surface_reference(Raw);
  {
    TSurfacePtr B = std::move(A);
    EXPECT_EQ(A.Get(), nullptr);
    EXPECT_EQ(B.Get(), Raw);
    EXPECT_EQ(cairo_surface_get_reference_count(Raw), 2u);
  }
  EXPECT_EQ(cairo_surface_get_reference_count(Raw), 1u);
  cairo_surface_destroy(Raw);
}

TEST(DrawKit, BlurKeepsAUniformOpaquePictureUniformToItsEdges) {
  // Edges repeat outwards: a flat background must not darken at its border,
  // and an opaque surface has no alpha to hold its colours down.
  const TSurfacePtr S = NewOpaqueSurface(31, 17);
  {
    const TContextPtr Cr = NewContext(S);
    SetColor(Cr, Rgb(200, 120, 40));
    cairo_paint(Cr);
  }
  const std::uint32_t Before = Pixel(S, 15, 8) & 0xFFFFFF;
  BlurSurface(S, 6);
  for (int Y : {0, 8, 16})
    for (int X : {0, 1, 15, 29, 30}) EXPECT_EQ(Pixel(S, X, Y) & 0xFFFFFF, Before) << X << "," << Y;
}

TEST(DrawKit, BlurSpreadsADotSymmetricallyAndKeepsItsInk) {
  // Three box passes of radius R spread one pixel over 6R + 1 pixels each
  // way, symmetrically, with the total ink unchanged up to rounding.
  const int Side = 41, C = 20, R = 3;
  const TSurfacePtr S = NewSurface(Side, Side);
  {
    const TContextPtr Cr = NewContext(S);
    cairo_rectangle(Cr, C, C, 1, 1);
    cairo_set_source_rgba(Cr, 1, 1, 1, 1);
    cairo_fill(Cr);
  }
  BlurSurface(S, R);
  double Ink = 0;
  int Reach = 0;
  for (int Y = 0; Y < Side; ++Y)
    for (int X = 0; X < Side; ++X) {
      const std::uint32_t A = Pixel(S, X, Y) >> 24;
      Ink += A;
      if (A > 0) Reach = std::max(Reach, std::abs(X - C));
      EXPECT_EQ(A, Pixel(S, 2 * C - X, Y) >> 24) << X << "," << Y;
      EXPECT_EQ(A, Pixel(S, Y, X) >> 24) << X << "," << Y;
      // Premultiplied: no colour above its alpha.
      EXPECT_LE((Pixel(S, X, Y) >> 16) & 0xFF, A);
    }
  EXPECT_NEAR(Ink, 255.0, 255.0 * 0.1);
  EXPECT_LE(Reach, 3 * R);
  EXPECT_GE(Reach, 2 * R);
  EXPECT_GT(Pixel(S, C, C) >> 24, Pixel(S, C + R, C) >> 24);
}

}  // namespace
