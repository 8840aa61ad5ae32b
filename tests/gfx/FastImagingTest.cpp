#include "gfx/FastImaging.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/AlphaImage.h"
#include "platform/Screen.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Snapshot(const TFastImageBuffer& B) {
  const std::uint8_t* P = B.Bitmap().Bits();
  return TBytes(P, P + B.Bitmap().TotalSize());
}

// Each pixel a distinct colour derived from its position and a salt.
void FillPattern(TFastImageBuffer& B, std::uint32_t Salt) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      B.SetPixel(X, Y, RGB(X * 7 + Salt, Y * 13 + Salt * 3, (X ^ Y) + Salt * 5));
}

TEST(FastImageBufferTest, RowsArePaddedBottomUpBgr) {
  const int Widths[] = {1, 2, 3, 5};
  const int Strides[] = {4, 8, 12, 16};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(Widths[i]);
    TFastImageBuffer B(nullptr, Widths[i], 3);
    EXPECT_EQ(B.Width(), Widths[i]);
    EXPECT_EQ(B.Height(), 3);
    EXPECT_EQ(B.Bitmap().Stride(), Strides[i]);
    EXPECT_EQ(B.Bitmap().RowPadding(), Widths[i] % 4);
    EXPECT_EQ(B.Bitmap().TotalSize(), Strides[i] * 3);
    EXPECT_EQ(Snapshot(B), TBytes(Strides[i] * 3, 0));  // starts black
    // Picture line 0 is the last memory row; bytes blue, green, red.
    B.SetPixel(Widths[i] - 1, 0, RGB(0x11, 0x22, 0x33));
    const std::uint8_t* Bits = B.Bitmap().Bits();
    const std::uint8_t* P = Bits + 2 * Strides[i] + 3 * (Widths[i] - 1);
    EXPECT_EQ(P[0], 0x33);
    EXPECT_EQ(P[1], 0x22);
    EXPECT_EQ(P[2], 0x11);
    EXPECT_EQ(B.Bitmap().Row(2), Bits + 2 * Strides[i]);
    EXPECT_EQ(B.ScanLine(0), Bits + 2 * Strides[i]);
    EXPECT_EQ(B.ScanLine(2), Bits);
    EXPECT_EQ(B.GetPixel(Widths[i] - 1, 0), RGB(0x11, 0x22, 0x33));
  }
}

TEST(FastImageBufferTest, AccessOutsideReadsBlackAndWritesNothing) {
  TFastImageBuffer B(nullptr, 5, 4);
  B.FillRect({0, 0, 4, 3}, RGB(200, 100, 50));
  const TBytes Before = Snapshot(B);
  const int Outside[][2] = {{-1, 0}, {5, 0}, {0, 4}, {0, -1}, {-1, -1}, {5, 4}, {INT32_MIN, 0}, {0, INT32_MAX}};
  for (const auto& P : Outside) {
    EXPECT_EQ(B.GetPixel(P[0], P[1]), 0u);
    B.SetPixel(P[0], P[1], RGB(1, 2, 3));
    B.BlendPixel(P[0], P[1], RGB(1, 2, 3), 128);
  }
  EXPECT_EQ(Snapshot(B), Before);
  EXPECT_EQ(B.GetPixel(4, 3), RGB(200, 100, 50));
}

TEST(FastImageBufferTest, MakeColorUsesLowBytes) {
  EXPECT_EQ(TFastImageBuffer::MakeColor(0x12, 0x34, 0x56), 0x563412u);
  EXPECT_EQ(TFastImageBuffer::MakeColor(0x1FF, -1, 0x102), 0x02FFFFu);
}

TEST(FastImageBufferTest, FillRectEdgesAreInclusiveAndClipped) {
  TFastImageBuffer B(nullptr, 6, 5);
  const TColorValue C = RGB(9, 8, 7);
  auto Count = [&] {
    int N = 0;
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 6; ++X) N += B.GetPixel(X, Y) == C;
    return N;
  };
  B.FillRect({2, 3, 2, 3}, C);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(B.GetPixel(2, 3), C);

  B.FillRect({4, 0, 3, 4}, C);  // Right < Left: none
  EXPECT_EQ(Count(), 1);

  B.FillRect({0, 4, 0, 2}, C);  // Bottom above Top: rows taken in order
  EXPECT_EQ(Count(), 4);
  EXPECT_EQ(B.GetPixel(0, 2), C);
  EXPECT_EQ(B.GetPixel(0, 4), C);

  TFastImageBuffer D(nullptr, 6, 5);
  D.FillRect({4, -3, 100, 1}, C);  // cut at the right and top edges
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 6; ++X) EXPECT_EQ(D.GetPixel(X, Y) == C, X >= 4 && Y <= 1) << X << "," << Y;

  // Entirely outside: nothing, not the nearest edge.
  TFastImageBuffer E(nullptr, 6, 5);
  E.FillRect({-5, 0, -1, 4}, C);
  E.FillRect({6, 0, 9, 4}, C);
  E.FillRect({0, 5, 5, 8}, C);
  E.FillRect({0, -4, 5, -1}, C);
  EXPECT_EQ(Snapshot(E), TBytes(E.Bitmap().TotalSize(), 0));
}

TEST(FastImageBufferTest, FrameRectDrawsTheFourEdgesOnly) {
  TFastImageBuffer B(nullptr, 8, 7);
  const TColorValue C = RGB(255, 0, 0);
  B.FrameRect({1, 2, 5, 5}, C);
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 8; ++X) {
      const bool OnEdge = X >= 1 && X <= 5 && Y >= 2 && Y <= 5 && (X == 1 || X == 5 || Y == 2 || Y == 5);
      EXPECT_EQ(B.GetPixel(X, Y) == C, OnEdge) << X << "," << Y;
    }
  // Edges beyond the buffer move onto its border.
  TFastImageBuffer D(nullptr, 4, 3);
  D.FrameRect({-10, -10, 100, 100}, C);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(D.GetPixel(X, Y) == C, X == 0 || X == 3 || Y == 0 || Y == 2) << X << "," << Y;
  TFastImageBuffer E(nullptr, 4, 3);
  E.FrameRect({5, 0, 9, 2}, C);
  EXPECT_EQ(Snapshot(E), TBytes(E.Bitmap().TotalSize(), 0));
}

TEST(FastImageBufferTest, BlendPixelMixesAndRoundsPerChannel) {
  TFastImageBuffer B(nullptr, 3, 1);
  B.SetPixel(0, 0, RGB(10, 20, 30));
  B.BlendPixel(0, 0, RGB(200, 210, 220), 0);
  EXPECT_EQ(B.GetPixel(0, 0), RGB(10, 20, 30));
  B.BlendPixel(0, 0, RGB(200, 210, 220), 255);
  EXPECT_EQ(B.GetPixel(0, 0), RGB(200, 210, 220));

  // By hand: red 100*127/255 + 200*128/255 = 38300/255 = 150.196 -> 150;
  // green 255*127/255 + 0 = 127; blue 0 + 255*128/255 = 128;
  B.SetPixel(1, 0, RGB(100, 255, 0));
  B.BlendPixel(1, 0, RGB(200, 0, 255), 128);
  EXPECT_EQ(B.GetPixel(1, 0), RGB(150, 127, 128));
  // red 3*254/255 + 4*1/255 = 766/255 = 3.004 -> 3; green 1*1/255 + 9*254/255
  // = 2287/255 = 8.969 -> 9; blue 50*254/255 + 51/255 = 12751/255 = 50.004 -> 50
  B.SetPixel(2, 0, RGB(3, 9, 50));
  B.BlendPixel(2, 0, RGB(4, 1, 51), 1);
  EXPECT_EQ(B.GetPixel(2, 0), RGB(3, 9, 50));
  B.BlendPixel(2, 0, RGB(4, 1, 51), 254);  // 3/255+4*254/255 = 3.996 -> 4
  EXPECT_EQ(B.GetPixel(2, 0), RGB(4, 1, 51));

  // Alpha outside 0..255 is held at the ends instead of spilling over.
  B.SetPixel(0, 0, RGB(10, 20, 30));
  B.BlendPixel(0, 0, RGB(200, 210, 220), 300);
  EXPECT_EQ(B.GetPixel(0, 0), RGB(200, 210, 220));
  B.BlendPixel(0, 0, RGB(0, 0, 0), -7);
  EXPECT_EQ(B.GetPixel(0, 0), RGB(200, 210, 220));
}

TEST(FastImageBufferTest, BlendChannelEqualsExtendedPrecisionRoundingForEveryInput) {
  // The defining formula, in extended precision with round half to even.
  int Mismatches = 0;
  for (std::uint32_t A = 0; A < 256; ++A)
    for (std::uint32_t Old = 0; Old < 256; ++Old)
      for (std::uint32_t New = 0; New < 256; ++New) {
        const long double Exact = static_cast<long double>(Old) * (255 - static_cast<long double>(A)) / 255 +
                                  static_cast<long double>(New) * A / 255;
        if (TFastImageBuffer::BlendChannel(Old, New, A) != RoundHalfEven(Exact) && ++Mismatches < 5)
          ADD_FAILURE() << Old << " " << New << " " << A;
      }
  EXPECT_EQ(Mismatches, 0);
}

TEST(FastImageBufferTest, LightnessUsesTheFlooredTable) {
  TFastImageBuffer B(nullptr, 3, 2);  // width 3: three padding bytes per row
  for (int Y = 0; Y < 2; ++Y) std::memset(B.Bitmap().Row(Y) + 9, 0xAB, 3);
  B.SetPixel(0, 0, RGB(255, 100, 0));
  B.SetPixel(1, 0, RGB(1, 128, 254));
  B.SetPixel(2, 1, RGB(37, 200, 77));
  const TBytes Start = Snapshot(B);

  B.Lightness(0);
  EXPECT_EQ(Snapshot(B), Start);

  B.Lightness(64);  // i + (255 - i) * 64 >> 8
  EXPECT_EQ(B.GetPixel(0, 0), RGB(255, 100 + 38, 0 + 63));
  EXPECT_EQ(B.GetPixel(1, 0), RGB(1 + 63, 128 + 31, 254 + 0));
  for (int Y = 0; Y < 2; ++Y)
    for (int i = 9; i < 12; ++i) EXPECT_EQ(B.Bitmap().Row(Y)[i], 0xAB) << "padding touched";

  B.Lightness(-256);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) EXPECT_EQ(B.GetPixel(X, Y), 0u);

  // -25 thirty times: 255 -> 231 -> 209 -> ... -> 17.
  B.SetPixel(0, 0, RGB(255, 255, 255));
  for (int i = 0; i < 30; ++i) B.Lightness(-25);
  EXPECT_EQ(B.GetPixel(0, 0), RGB(17, 17, 17));

  B.Lightness(256);
  EXPECT_EQ(B.GetPixel(2, 1), RGB(255, 255, 255));

  // Beyond +-256 the table saturates rather than wrapping around.
  B.SetPixel(1, 1, RGB(10, 128, 250));
  B.Lightness(-300);
  EXPECT_EQ(B.GetPixel(1, 1), 0u);
  B.SetPixel(1, 1, RGB(10, 128, 250));
  B.Lightness(INT32_MIN);
  EXPECT_EQ(B.GetPixel(1, 1), 0u);
  B.SetPixel(1, 1, RGB(10, 128, 250));
  B.Lightness(INT32_MAX);
  EXPECT_EQ(B.GetPixel(1, 1), RGB(255, 255, 255));
}

// Per-pixel model of CopyRect: every block pixel whose source and target both
// lie inside their buffers is copied, nothing else changes.
void ReferenceCopyRect(TFastImageBuffer& Dest, int DestX, int DestY, const TFastImageBuffer& Source, int SrcX,
                       int SrcY, int W, int H) {
  for (int k = 0; k < H; ++k)
    for (int j = 0; j < W; ++j) {
      const int SX = SrcX + j, SY = SrcY + k, DX = DestX + j, DY = DestY + k;
      if (SX < 0 || SY < 0 || SX >= Source.Width() || SY >= Source.Height()) continue;
      if (DX < 0 || DY < 0 || DX >= Dest.Width() || DY >= Dest.Height()) continue;
      Dest.SetPixel(DX, DY, Source.GetPixel(SX, SY));
    }
}

TEST(FastImageBufferTest, CopyRectMatchesThePerPixelModelIncludingNegativeOffsets) {
  TFastImageBuffer Source(nullptr, 7, 6);
  FillPattern(Source, 1);
  RandSeed = 12345;
  for (int Trial = 0; Trial < 3000; ++Trial) {
    TFastImageBuffer Dest(nullptr, 5 + Random(4), 4 + Random(4));
    TFastImageBuffer Model(nullptr, Dest.Width(), Dest.Height());
    FillPattern(Dest, 2);
    FillPattern(Model, 2);
    const int DX = Random(16) - 8, DY = Random(16) - 8, SX = Random(16) - 8, SY = Random(16) - 8;
    const int W = Random(14) - 2, H = Random(14) - 2;
    Dest.CopyRect(DX, DY, Source, SX, SY, W, H);
    ReferenceCopyRect(Model, DX, DY, Source, SX, SY, W, H);
    ASSERT_EQ(Snapshot(Dest), Snapshot(Model))
        << "dest " << Dest.Width() << "x" << Dest.Height() << " at " << DX << "," << DY << " from " << SX << ","
        << SY << " size " << W << "x" << H;
  }
}

TEST(FastImageBufferTest, CopyRectStickingOutBelowKeepsPlacement) {
  TFastImageBuffer Source(nullptr, 4, 10);
  FillPattern(Source, 3);
  TFastImageBuffer Dest(nullptr, 4, 5);
  Dest.CopyRect(0, 3, Source, 0, 0, 4, 10);  // only source rows 0 and 1 fit, at 3 and 4
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(Dest.GetPixel(X, Y), Y >= 3 ? Source.GetPixel(X, Y - 3) : 0u) << X << "," << Y;
  // Huge sizes and far-out positions neither overflow nor copy wrongly.
  Dest.CopyRect(INT32_MIN + 1, INT32_MIN + 1, Source, 0, 0, INT32_MAX, INT32_MAX);
  Dest.CopyRect(0, 0, Source, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(Dest.GetPixel(X, Y), Y >= 3 ? Source.GetPixel(X, Y - 3) : 0u) << X << "," << Y;
  Dest.CopyRect(-2, -8, Source, 0, 0, INT32_MAX, INT32_MAX);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 4; ++X) {
      TColorValue Expect = Y >= 3 ? Source.GetPixel(X, Y - 3) : 0u;
      if (X < 2 && Y < 2) Expect = Source.GetPixel(X + 2, Y + 8);
      EXPECT_EQ(Dest.GetPixel(X, Y), Expect) << X << "," << Y;
    }
}

TEST(FastImageBufferTest, CopyFromTakesSizeAndPixels) {
  TFastImageBuffer Source(nullptr, 5, 3);
  FillPattern(Source, 4);
  TFastImageBuffer Dest(nullptr, 2, 9);
  Dest.CopyFrom(Source);
  EXPECT_EQ(Dest.Width(), 5);
  EXPECT_EQ(Dest.Height(), 3);
  EXPECT_EQ(Dest.Bitmap().Stride(), 16);
  EXPECT_EQ(Snapshot(Dest), Snapshot(Source));
  Dest.CopyFrom(Dest);
  EXPECT_EQ(Snapshot(Dest), Snapshot(Source));
  TFastImageBuffer Empty(nullptr, 0, 0);
  Dest.CopyFrom(Empty);
  EXPECT_EQ(Dest.Width(), 0);
  EXPECT_EQ(Dest.GetPixel(0, 0), 0u);
}

TEST(FastImageBufferTest, PaintToPlacesThePictureOneToOneClipped) {
  TScreen Screen(20, 10);
  TFastImageBuffer B(&Screen, 6, 4);
  FillPattern(B, 5);
  B.PaintTo(3, 2);
  EXPECT_TRUE(Screen.TakeDirty());
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 20; ++X) {
      const bool Inside = X >= 3 && X < 9 && Y >= 2 && Y < 6;
      EXPECT_EQ(Screen.PixelAt(X, Y), Inside ? B.GetPixel(X - 3, Y - 2) : 0u) << X << "," << Y;
    }
  TScreen Corner(20, 10);
  B.DC = &Corner;
  B.PaintTo(-4, 8);  // only columns 4, 5 of lines 0, 1 are on screen
  B.PaintTo(17, -3);  // columns 0..2 of line 3
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 20; ++X) {
      TColorValue Expect = 0;
      if (X < 2 && Y >= 8) Expect = B.GetPixel(X + 4, Y - 8);
      if (X >= 17 && Y == 0) Expect = B.GetPixel(X - 17, 3);
      EXPECT_EQ(Corner.PixelAt(X, Y), Expect) << X << "," << Y;
    }
  B.PaintTo(100, 100);
  B.PaintTo(INT32_MIN, INT32_MAX);
  B.DC = nullptr;
  B.PaintTo(0, 0);  // never presented: nothing happens
  EXPECT_EQ(Screen.PixelAt(0, 0), 0u);
}

}  // namespace

TEST(FastImageBufferTest, PaintToMarksOnlyTheBoxesWhosePixelsChanged) {
  TScreen Screen(200, 150);
  TFastImageBuffer B(&Screen, 120, 100);
  FillPattern(B, 9);
  B.PaintTo(10, 20);
  ASSERT_TRUE(Screen.IsDirty());
  Screen.ClearDirty();
  // The same frame again: nothing to show.
  B.PaintTo(10, 20);
  EXPECT_FALSE(Screen.IsDirty());

  // Two far-apart changes, one of them only in its red byte (the last byte
  // of the pixel): two small boxes, each holding its pixel.
  B.SetPixel(5, 5, RGB(1, 2, 3));
  const TColorValue Old = B.GetPixel(100, 90);
  B.SetPixel(100, 90, Old ^ 0x01);
  B.PaintTo(10, 20);
  ASSERT_EQ(Screen.DirtyRects().size(), 2u);
  const auto Holds = [](const TScreenRect& R, int X, int Y) {
    return X >= R.X && X < R.Right() && Y >= R.Y && Y < R.Bottom();
  };
  for (const TScreenRect& R : Screen.DirtyRects()) {
    EXPECT_TRUE(Holds(R, 15, 25) != Holds(R, 110, 110));
    EXPECT_EQ(R.Width * R.Height, 1);
  }
  for (int Y = 0; Y < 100; ++Y)
    for (int X = 0; X < 120; ++X) ASSERT_EQ(Screen.PixelAt(X + 10, Y + 20), B.GetPixel(X, Y)) << X << "," << Y;

  // Changes a few lines apart share one box spanning both.
  Screen.ClearDirty();
  B.SetPixel(30, 40, 0);
  B.SetPixel(60, 43, 0);
  B.PaintTo(10, 20);
  ASSERT_EQ(Screen.DirtyRects().size(), 1u);
  EXPECT_EQ(Screen.DirtyRects()[0], (TScreenRect{40, 60, 31, 4}));
}

// A buffer that paints alone copies only what was written since its last
// paint; whatever way a pixel was written, each paint must leave its screen
// exactly as a full copy leaves another, with the same boxes marked.
TEST(FastImageBufferPaintsAlone, EveryPaintMatchesAFullCopy) {
  TScreen Tracked(160, 120), Plain(160, 120);
  TFastImageBuffer A(&Tracked, 100, 80), B(&Plain, 100, 80);
  A.SetPaintsAlone(true);
  EXPECT_TRUE(A.PaintsAlone());
  TFastImageBuffer Source(nullptr, 40, 30);
  FillPattern(Source, 9);
  TAlphaImage Sprite(9, 7);
  for (int X = 0; X < 9; ++X)
    for (int Y = 0; Y < 7; ++Y) Sprite.SetPixel(X, Y, MakeRGBA(X * 20, Y * 30, 200, (X + Y) % 3 ? 255 : 90));
  std::uint32_t Seed = 7;
  const auto Next = [&Seed](int N) {
    Seed = Seed * 1664525u + 1013904223u;
    return static_cast<int>((Seed >> 8) % static_cast<std::uint32_t>(N));
  };
  int PaintX = 10, PaintY = 5, Changed = 0;
  for (int Step = 0; Step < 600; ++Step) {
    const int X = Next(120) - 10, Y = Next(100) - 10;
    const TColorValue C = RGB(Next(256), Next(256), Next(256));
    const auto Both = [&](auto&& Write) {
      Write(A);
      Write(B);
    };
    // Drawn before the writes, which run twice.
    const int W = Next(30), H = Next(30), SX = Next(40), SY = Next(30), Rare = Next(20), Byte = Next(100 * 3);
    switch (Next(11)) {
      case 0: Both([&](TFastImageBuffer& T) { T.SetPixel(X, Y, C); }); break;
      case 1: Both([&](TFastImageBuffer& T) { T.BlendPixel(X, Y, C, 100); }); break;
      case 2: Both([&](TFastImageBuffer& T) { T.FillRect({X, Y, X + W, Y + H}, C); }); break;
      case 3: Both([&](TFastImageBuffer& T) { T.FrameRect({X, Y, X + 25, Y + 12}, C); }); break;
      case 4: Both([&](TFastImageBuffer& T) { T.CopyRect(X, Y, Source, SX, SY, 30, 20); }); break;
      case 5:
        if (Y >= 0 && Y < 80) {
          const int L = std::max(X, 0), R = std::min(X + 8, 99);
          Both([&](TFastImageBuffer& T) {
            std::uint8_t* Line = T.ScanLine(Y, L, R);
            for (int P = 3 * L; P < 3 * (R + 1); ++P) Line[P] = static_cast<std::uint8_t>(P + Step);
          });
        }
        break;
      case 6: Both([&](TFastImageBuffer& T) { Sprite.Draw(T, X, Y); }); break;
      case 7: Both([&](TFastImageBuffer& T) { Sprite.DrawRotated(T, X, Y, 200, static_cast<float>(Step * 7)); }); break;
      case 8:
        if (Rare == 0) Both([&](TFastImageBuffer& T) { T.Lightness(-30); });
        break;
      case 9:
        // Written behind the buffer's methods: the whole bitmap counts.
        if (Rare < 2) Both([&](TFastImageBuffer& T) { T.Bitmap().Bits()[Byte] ^= 0x5A; });
        break;
      default:
        // Moved elsewhere now and then: everything is copied there.
        if (Rare == 3) {
          PaintX = Next(80) - 20;
          PaintY = Next(60) - 20;
        }
        A.PaintTo(PaintX, PaintY);
        B.PaintTo(PaintX, PaintY);
        ASSERT_TRUE(Tracked.Pixels() == Plain.Pixels()) << "step " << Step;
        ASSERT_EQ(Tracked.DirtyRects(), Plain.DirtyRects()) << "step " << Step;
        Changed += Plain.IsDirty();
        Tracked.ClearDirty();
        Plain.ClearDirty();
        break;
    }
  }
  EXPECT_GT(Changed, 20);
  // Another screen gets the whole picture at once.
  TScreen Other(160, 120), OtherPlain(160, 120);
  A.DC = &Other;
  B.DC = &OtherPlain;
  A.PaintTo(PaintX, PaintY);
  B.PaintTo(PaintX, PaintY);
  EXPECT_TRUE(Other.Pixels() == OtherPlain.Pixels());
  EXPECT_EQ(Other.DirtyRects(), OtherPlain.DirtyRects());
}
