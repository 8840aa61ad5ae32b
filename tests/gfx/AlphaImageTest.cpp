// Drawing pictures with alpha into frame buffers: the blend's rounding, the
// clipping at picture and buffer edges, rotation, mixing and raw copies.
#include "gfx/AlphaImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "gfx/FastImaging.h"

namespace {

std::uint32_t Next(std::uint32_t& V) {
  V = V * 1664525u + 1013904223u;
  return V >> 8;
}

TAlphaImage RandomImage(std::int32_t W, std::int32_t H, std::uint32_t Seed) {
  TAlphaImage Image(W, H);
  for (std::int32_t X = 0; X < W; ++X)
    for (std::int32_t Y = 0; Y < H; ++Y) {
      std::uint32_t A = Next(Seed) & 0xFF;
      // Plenty of the two special alphas.
      if (A < 40) A = 0;
      if (A > 215) A = 255;
      Image.SetPixel(X, Y, MakeRGBA(Next(Seed), Next(Seed), Next(Seed), A));
    }
  return Image;
}

TFastImageBuffer RandomBuffer(std::int32_t W, std::int32_t H, std::uint32_t Seed) {
  TFastImageBuffer B(nullptr, W, H);
  for (std::int32_t Y = 0; Y < H; ++Y)
    for (std::int32_t X = 0; X < W; ++X) B.SetPixel(X, Y, Next(Seed) & 0xFFFFFF);
  return B;
}

TFastImageBuffer Copy(const TFastImageBuffer& B) {
  TFastImageBuffer C(nullptr, 0, 0);
  C.CopyFrom(B);
  return C;
}

// The blend written out in extended precision, as the game defines it.
std::uint8_t RefChannel(std::uint32_t S, std::uint32_t D, std::uint32_t A) {
  return static_cast<std::uint8_t>(std::llrint(S * (A / 255.0L) + D * ((255 - A) / 255.0L)));
}
TColorValue RefBlend(TRGBAPixel P, TColorValue D, std::uint32_t A) {
  return RGB(RefChannel(PixelR(P), GetRValue(D), A), RefChannel(PixelG(P), GetGValue(D), A),
             RefChannel(PixelB(P), GetBValue(D), A));
}
std::uint32_t RefAlpha(std::uint32_t Opacity, std::uint32_t A) {
  return static_cast<std::uint32_t>(std::llrint(static_cast<long double>(Opacity * A) / 255.0L));
}

// Every buffer pixel: Source(x, y) gives the picture pixel landing there and
// its effective alpha, or nothing.
struct TLanding {
  bool Hit = false;
  TRGBAPixel Pixel = 0;
  std::uint32_t Alpha = 0;
};
void ExpectBlended(const TFastImageBuffer& Before, const TFastImageBuffer& After,
                   const std::function<TLanding(std::int32_t, std::int32_t)>& Source) {
  int Bad = 0;
  for (std::int32_t Y = 0; Y < After.Height(); ++Y)
    for (std::int32_t X = 0; X < After.Width(); ++X) {
      const TLanding L = Source(X, Y);
      const TColorValue Want = L.Hit ? RefBlend(L.Pixel, Before.GetPixel(X, Y), L.Alpha) : Before.GetPixel(X, Y);
      if (After.GetPixel(X, Y) != Want && Bad++ < 6)
        ADD_FAILURE() << "buffer (" << X << "," << Y << ") is " << std::hex << After.GetPixel(X, Y) << " not " << Want;
    }
}

TEST(AlphaImage, NewPictureIsTransparentBlackAndReadsOutsideGiveZero) {
  TAlphaImage Image(3, 2);
  EXPECT_EQ(Image.GetPixel(2, 1), 0u);
  Image.SetPixel(0, 0, MakeRGBA(1, 2, 3, 4));
  Image.SetPixel(2, 1, MakeRGBA(250, 251, 252, 253));
  EXPECT_EQ(Image.GetAlpha(-1, 0), 0);
  EXPECT_EQ(Image.GetRed(3, 0), 0);
  EXPECT_EQ(Image.GetGreen(0, 2), 0);
  EXPECT_EQ(Image.GetBlue(0, -1), 0);
  EXPECT_EQ(Image.GetRed(2, 1), 250);
  EXPECT_EQ(Image.GetAlpha(2, 1), 253);
  Image.SetPixel(3, 0, 0xFFFFFFFF);
  Image.SetPixel(-1, 1, 0xFFFFFFFF);
  EXPECT_EQ(Image.GetPixel(0, 1), 0u);
  EXPECT_EQ(Image.GetPixel(2, 0), 0u);
  EXPECT_EQ(TAlphaImage(-5, 4).Width(), 0);
}

TEST(AlphaImage, DrawBlendsEveryPixelAndCutsAtTheBufferEdges) {
  const TAlphaImage Image = RandomImage(9, 7, 1);
  for (auto [PX, PY] : {std::pair{5, 4}, std::pair{-3, -2}, std::pair{16, 9}, std::pair{-9, 0}, std::pair{20, 12}}) {
    SCOPED_TRACE(::testing::Message() << "at " << PX << "," << PY);
    const TFastImageBuffer Before = RandomBuffer(20, 12, 2);
    TFastImageBuffer After = Copy(Before);
    Image.Draw(After, PX, PY);
    ExpectBlended(Before, After, [&](std::int32_t X, std::int32_t Y) {
      const std::int32_t SX = X - PX, SY = Y - PY;
      if (SX < 0 || SY < 0 || SX >= 9 || SY >= 7) return TLanding{};
      return TLanding{true, Image.GetPixel(SX, SY), Image.GetAlpha(SX, SY)};
    });
  }
}

TEST(AlphaImage, DrawAlphaScalesTheAlphaWithRounding) {
  const TAlphaImage Image = RandomImage(8, 8, 3);
  const TFastImageBuffer Before = RandomBuffer(12, 12, 4);
  {
    TFastImageBuffer After = Copy(Before);
    Image.DrawAlpha(After, 2, 2, 0);
    ExpectBlended(Before, After, [](std::int32_t, std::int32_t) { return TLanding{}; });
  }
  {
    TFastImageBuffer Full = Copy(Before), Plain = Copy(Before);
    Image.DrawAlpha(Full, 2, 3, 255);
    Image.Draw(Plain, 2, 3);
    for (std::int32_t Y = 0; Y < 12; ++Y)
      for (std::int32_t X = 0; X < 12; ++X) ASSERT_EQ(Full.GetPixel(X, Y), Plain.GetPixel(X, Y));
  }
  for (std::uint32_t Opacity : {1u, 100u, 128u, 200u, 254u}) {
    TFastImageBuffer After = Copy(Before);
    Image.DrawAlpha(After, -1, 4, static_cast<std::int32_t>(Opacity));
    ExpectBlended(Before, After, [&](std::int32_t X, std::int32_t Y) {
      const std::int32_t SX = X + 1, SY = Y - 4;
      if (SX < 0 || SY < 0 || SX >= 8 || SY >= 8) return TLanding{};
      return TLanding{true, Image.GetPixel(SX, SY), RefAlpha(Opacity, Image.GetAlpha(SX, SY))};
    });
  }
}

TEST(AlphaImage, DrawAlphaHoldsOpacityToAByte) {
  const TAlphaImage Image = RandomImage(4, 4, 5);
  const TFastImageBuffer Before = RandomBuffer(6, 6, 6);
  TFastImageBuffer Over = Copy(Before), Full = Copy(Before), Under = Copy(Before);
  Image.DrawAlpha(Over, 1, 1, 650);
  Image.DrawAlpha(Full, 1, 1, 255);
  Image.DrawAlpha(Under, 1, 1, -20);
  for (std::int32_t Y = 0; Y < 6; ++Y)
    for (std::int32_t X = 0; X < 6; ++X) {
      EXPECT_EQ(Over.GetPixel(X, Y), Full.GetPixel(X, Y));
      EXPECT_EQ(Under.GetPixel(X, Y), Before.GetPixel(X, Y));
    }
}

TEST(AlphaImage, DrawPartKeepsTheOffsetOfItsRectangle) {
  TAlphaImage Image(4, 3);
  Image.SetPixel(2, 1, MakeRGBA(10, 20, 30, 255));
  Image.SetPixel(0, 0, MakeRGBA(99, 99, 99, 255));
  const TFastImageBuffer Before = RandomBuffer(10, 10, 7);

  // One pixel: exactly one buffer pixel changes.
  TFastImageBuffer One = Copy(Before);
  Image.DrawPart(One, 5, 6, TRect{2, 1, 2, 1});
  ExpectBlended(Before, One, [&](std::int32_t X, std::int32_t Y) {
    return X == 5 && Y == 6 ? TLanding{true, Image.GetPixel(2, 1), 255} : TLanding{};
  });

  // A rectangle reaching left of and above the picture: picture pixel (0, 0)
  // still lands 2 right and 1 below the given position.
  TFastImageBuffer Out = Copy(Before);
  Image.DrawPart(Out, 3, 3, TRect{-2, -1, 0, 0});
  ExpectBlended(Before, Out, [&](std::int32_t X, std::int32_t Y) {
    return X == 5 && Y == 4 ? TLanding{true, Image.GetPixel(0, 0), 255} : TLanding{};
  });

  // Empty or wholly outside rectangles draw nothing.
  TFastImageBuffer None = Copy(Before);
  Image.DrawPart(None, 0, 0, TRect{3, 0, 2, 2});
  Image.DrawPart(None, 0, 0, TRect{0, 2, 3, 1});
  Image.DrawPart(None, 0, 0, TRect{4, 0, 100, 100});
  Image.DrawPart(None, 0, 0, TRect{std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max(), -1});
  ExpectBlended(Before, None, [](std::int32_t, std::int32_t) { return TLanding{}; });
}

TEST(AlphaImage, DrawPartAlphaMatchesTheReference) {
  const TAlphaImage Image = RandomImage(10, 10, 8);
  const TFastImageBuffer Before = RandomBuffer(12, 12, 9);
  TFastImageBuffer After = Copy(Before);
  const TRect Src{3, 2, 8, 6};
  Image.DrawPartAlpha(After, 9, -1, Src, 77);  // cut at the right and top
  ExpectBlended(Before, After, [&](std::int32_t X, std::int32_t Y) {
    const std::int32_t SX = X - 9 + Src.Left, SY = Y + 1 + Src.Top;
    if (SX < Src.Left || SX > Src.Right || SY < Src.Top || SY > Src.Bottom) return TLanding{};
    return TLanding{true, Image.GetPixel(SX, SY), RefAlpha(77, Image.GetAlpha(SX, SY))};
  });
}

TEST(AlphaImage, DrawRotatedByWholeTurnsIsThePlainPicture) {
  const TAlphaImage Image = RandomImage(7, 6, 10);
  const TFastImageBuffer Before = RandomBuffer(14, 12, 11);
  TFastImageBuffer Plain = Copy(Before);
  Image.DrawAlpha(Plain, 3, 4, 200);
  for (float Angle : {0.0f, 360.0f, -360.0f, 720.0f, -1080.0f}) {
    TFastImageBuffer Turned = Copy(Before);
    Image.DrawRotated(Turned, 3, 4, 200, Angle);
    for (std::int32_t Y = 0; Y < 12; ++Y)
      for (std::int32_t X = 0; X < 14; ++X)
        ASSERT_EQ(Turned.GetPixel(X, Y), Plain.GetPixel(X, Y)) << "angle " << Angle << " at " << X << "," << Y;
  }
}

TEST(AlphaImage, DrawRotatedByQuarterAndHalfTurns) {
  // Odd and even sides; the centre is (Width div 2, Height div 2).
  for (auto [W, H] : {std::pair{5, 4}, std::pair{6, 6}, std::pair{4, 7}}) {
    const TAlphaImage Image = RandomImage(W, H, 12 + W);
    const std::int32_t CX = W / 2, CY = H / 2;
    struct TCase {
      float Angle;
      std::function<std::pair<int, int>(int, int)> Source;  // (dx, dy) -> source offset from the centre
    };
    const TCase Cases[] = {
        {90.0f, [](int DX, int DY) { return std::pair{-DY, DX}; }},
        {-270.0f, [](int DX, int DY) { return std::pair{-DY, DX}; }},
        {180.0f, [](int DX, int DY) { return std::pair{-DX, -DY}; }},
        {270.0f, [](int DX, int DY) { return std::pair{DY, -DX}; }},
    };
    for (const TCase& Case : Cases) {
      SCOPED_TRACE(::testing::Message() << W << "x" << H << " angle " << Case.Angle);
      const TFastImageBuffer Before = RandomBuffer(16, 16, 13);
      TFastImageBuffer After = Copy(Before);
      Image.DrawRotated(After, 4, 5, 255, Case.Angle);
      ExpectBlended(Before, After, [&](std::int32_t X, std::int32_t Y) {
        const int J = X - 4, I = Y - 5;
        if (J < 0 || I < 0 || J >= W || I >= H) return TLanding{};
        const auto [OX, OY] = Case.Source(J - CX, I - CY);
        const int SX = CX + OX, SY = CY + OY;
        if (SX < 0 || SY < 0 || SX >= W || SY >= H) return TLanding{};  // turned in from outside: untouched
        return TLanding{true, Image.GetPixel(SX, SY), Image.GetAlpha(SX, SY)};
      });
    }
  }
}

TEST(AlphaImage, DrawRotatedWithStrangeAnglesEnds) {
  const TAlphaImage Image = RandomImage(4, 4, 14);
  const TFastImageBuffer Before = RandomBuffer(8, 8, 15);
  TFastImageBuffer After = Copy(Before);
  Image.DrawRotated(After, 2, 2, 255, std::numeric_limits<float>::quiet_NaN());
  Image.DrawRotated(After, 2, 2, 255, std::numeric_limits<float>::infinity());
  ExpectBlended(Before, After, [](std::int32_t, std::int32_t) { return TLanding{}; });
  Image.DrawRotated(After, 2, 2, 255, 1e30f);  // returns at all
  Image.DrawRotated(After, 2, 2, 255, -3.0e9f);
}

TEST(AlphaImage, MixIntoAveragesColoursAndAddsAlphas) {
  TAlphaImage Source(3, 1), Target(4, 2);
  Source.SetPixel(0, 0, MakeRGBA(1, 2, 255, 255));
  Source.SetPixel(1, 0, MakeRGBA(2, 0, 100, 200));
  Source.SetPixel(2, 0, MakeRGBA(200, 7, 9, 100));
  Target.SetPixel(1, 1, MakeRGBA(2, 3, 0, 255));
  Target.SetPixel(2, 1, MakeRGBA(3, 0, 101, 200));
  Target.SetPixel(3, 1, MakeRGBA(0, 6, 9, 50));
  Target.SetPixel(0, 0, MakeRGBA(5, 5, 5, 5));
  Source.MixInto(Target, 1, 1);
  // 1 and 2 give 2, 2 and 3 give 2 (halves to even), 255 and 0 give 128.
  EXPECT_EQ(Target.GetPixel(1, 1), MakeRGBA(2, 2, 128, 255));
  EXPECT_EQ(Target.GetPixel(2, 1), MakeRGBA(2, 0, 100, 255));  // 200 + 200 held at 255; 100, 101 give 100
  EXPECT_EQ(Target.GetPixel(3, 1), MakeRGBA(100, 6, 9, 150));  // 7, 6 give 6; 100 + 50
  EXPECT_EQ(Target.GetPixel(0, 0), MakeRGBA(5, 5, 5, 5));      // outside the mixed block

  // Transparent pixels still average the colours; parts outside the target
  // are dropped.
  TAlphaImage Clear(2, 2), Onto(2, 2);
  Onto.SetPixel(0, 0, MakeRGBA(100, 50, 10, 0));
  Onto.SetPixel(1, 1, MakeRGBA(100, 50, 10, 30));
  Clear.MixInto(Onto, -1, -1);
  EXPECT_EQ(Onto.GetPixel(0, 0), MakeRGBA(50, 25, 5, 0));
  EXPECT_EQ(Onto.GetPixel(1, 1), MakeRGBA(100, 50, 10, 30));
  Clear.MixInto(Onto, 5, 0);
  Clear.MixInto(Onto, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(Onto.GetPixel(1, 1), MakeRGBA(100, 50, 10, 30));
}

TEST(AlphaImage, CopyRectCopiesRawPixelsAndCutsAtBothPictures) {
  TAlphaImage Strip(36, 3);
  for (std::int32_t X = 0; X < 36; ++X)
    for (std::int32_t Y = 0; Y < 3; ++Y) Strip.SetPixel(X, Y, MakeRGBA(X, Y, 7, X % 5 == 0 ? 0 : 90));
  TAlphaImage Cell(12, 3);
  Cell.SetPixel(0, 0, MakeRGBA(1, 1, 1, 1));
  Cell.CopyRect(0, 0, Strip, 12, 0, 12, 3);  // "digit 1" of a 12-pixel strip
  for (std::int32_t X = 0; X < 12; ++X)
    for (std::int32_t Y = 0; Y < 3; ++Y) ASSERT_EQ(Cell.GetPixel(X, Y), Strip.GetPixel(12 + X, Y));

  // Sticking out of both pictures: only the overlapping pixels move, each
  // keeping its offset.
  TAlphaImage Small(4, 4);
  Small.CopyRect(2, -1, Strip, 34, 0, 5, 3);
  EXPECT_EQ(Small.GetPixel(2, 0), Strip.GetPixel(34, 1));
  EXPECT_EQ(Small.GetPixel(3, 1), Strip.GetPixel(35, 2));
  EXPECT_EQ(Small.GetPixel(2, 2), 0u);
  EXPECT_EQ(Small.GetPixel(1, 0), 0u);
  Small.CopyRect(0, 0, Strip, -100, -100, 50, 50);
  Small.CopyRect(std::numeric_limits<std::int32_t>::max(), 0, Strip, 0, 0, 36, 3);
  EXPECT_EQ(Small.GetPixel(0, 0), 0u);

  // Within one picture the block moves as a whole.
  TAlphaImage Row(5, 1);
  for (std::int32_t X = 0; X < 5; ++X) Row.SetPixel(X, 0, MakeRGBA(X, 0, 0, 255));
  Row.CopyRect(1, 0, Row, 0, 0, 4, 1);
  for (std::int32_t X = 1; X < 5; ++X) EXPECT_EQ(Row.GetRed(X, 0), X - 1);
}

}  // namespace
