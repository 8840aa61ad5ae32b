#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Screen.h"

namespace {
// Whether every pixel of the marked boxes is covered exactly once, and the
// pixels in Must are among them: counted cell by cell, not from the boxes'
// own arithmetic.
void ExpectCover(const TScreen& S, const std::vector<TScreenRect>& Must) {
  std::vector<int> Count(static_cast<std::size_t>(S.Width() * S.Height()), 0);
  for (const TScreenRect& R : S.DirtyRects()) {
    ASSERT_FALSE(R.Empty());
    ASSERT_GE(R.X, 0);
    ASSERT_GE(R.Y, 0);
    ASSERT_LE(R.Right(), S.Width());
    ASSERT_LE(R.Bottom(), S.Height());
    for (int Y = R.Y; Y < R.Bottom(); ++Y)
      for (int X = R.X; X < R.Right(); ++X) ++Count[static_cast<std::size_t>(Y * S.Width() + X)];
  }
  for (int C : Count) ASSERT_LE(C, 1) << "boxes overlap";
  for (const TScreenRect& R : Must)
    for (int Y = R.Y; Y < R.Bottom(); ++Y)
      for (int X = R.X; X < R.Right(); ++X) ASSERT_EQ(Count[static_cast<std::size_t>(Y * S.Width() + X)], 1) << X << "," << Y;
}
}  // namespace

TEST(Screen, DirtyBoxesAreClippedMergedWhenTheyMeetAndNeverOverlap) {
  TScreen S(100, 80);
  EXPECT_FALSE(S.IsDirty());
  S.MarkDirty(-5, -5, 10, 10);   // only 5 x 5 of it is on the screen
  S.MarkDirty(200, 10, 5, 5);    // entirely off
  S.MarkDirty(10, 10, 0, 5);     // empty
  S.MarkDirty(95, 70, 2000000000, 2000000000);  // far past the corner, no overflow
  ASSERT_EQ(S.DirtyRects().size(), 2u);
  EXPECT_EQ(S.DirtyRects()[0], (TScreenRect{0, 0, 5, 5}));
  EXPECT_EQ(S.DirtyRects()[1], (TScreenRect{95, 70, 5, 10}));

  // A box joining two others merges all three into one.
  S.ClearDirty();
  S.MarkDirty(10, 10, 5, 5);
  S.MarkDirty(30, 10, 5, 5);
  S.MarkDirty(14, 12, 17, 2);
  ASSERT_EQ(S.DirtyRects().size(), 1u);
  EXPECT_EQ(S.DirtyRects()[0], (TScreenRect{10, 10, 25, 5}));

  // Scattered boxes stay apart up to the limit, then become one around all.
  S.ClearDirty();
  std::vector<TScreenRect> Marked;
  for (int I = 0; I < static_cast<int>(TScreen::MaxDirtyRects); ++I) {
    Marked.push_back({(I % 8) * 12, (I / 8) * 20, 3, 3});
    S.MarkDirty(Marked.back().X, Marked.back().Y, 3, 3);
  }
  EXPECT_EQ(S.DirtyRects().size(), TScreen::MaxDirtyRects);
  ExpectCover(S, Marked);
  Marked.push_back({50, 70, 4, 4});
  S.MarkDirty(50, 70, 4, 4);
  ExpectCover(S, Marked);
  EXPECT_LT(S.DirtyRects().size(), TScreen::MaxDirtyRects);

  S.MarkDirty();
  ASSERT_EQ(S.DirtyRects().size(), 1u);
  EXPECT_EQ(S.DirtyRects()[0], (TScreenRect{0, 0, 100, 80}));
  EXPECT_TRUE(S.TakeDirty());
  EXPECT_FALSE(S.IsDirty());
}

TEST(Screen, PresentingNowShowsWhatIsPendingAndForgetsIt) {
  TScreen S(50, 40);
  S.PresentNow();  // nobody to show it: nothing happens
  THeadlessPresenter P;
  S.Presenter = [&P](const TScreen& Shown) { P.Present(Shown); };
  S.MarkDirty(1, 2, 3, 4);
  S.PresentNow();
  EXPECT_EQ(P.Presented, 1);
  EXPECT_EQ(P.PresentedPixels, 12);
  EXPECT_FALSE(S.IsDirty());
  // Nothing pending: the whole picture.
  S.PresentNow();
  EXPECT_EQ(P.PresentedPixels, 12 + 50 * 40);
}
