// The window's screen: the 800 x 600 picture every frame buffer paints into
// and that the event loop presents after each callback that painted. It is
// plain memory so that the game and its tests never need a real window; the
// right and bottom panels are regions of it. Painters say which boxes they
// changed, so that the window shows only those and nothing when none did.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

struct TScreenRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
  int Right() const { return X + Width; }
  int Bottom() const { return Y + Height; }
  bool Empty() const { return Width <= 0 || Height <= 0; }
  friend bool operator==(const TScreenRect&, const TScreenRect&) = default;
};

class TScreen {
public:
  static constexpr int BytesPerPixel = 3;  // blue, green, red

  TScreen(int Width = 800, int Height = 600)
      : FWidth(Width), FHeight(Height), FPixels(static_cast<std::size_t>(Width) * Height * BytesPerPixel, 0) {
    FDirty.reserve(MaxDirtyRects + 1);
  }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Stride() const { return FWidth * BytesPerPixel; }

  // Top-down rows: row 0 is the top line of the window.
  std::uint8_t* Row(int Y) { return FPixels.data() + static_cast<std::size_t>(Y) * Stride(); }
  const std::uint8_t* Row(int Y) const { return FPixels.data() + static_cast<std::size_t>(Y) * Stride(); }
  const std::vector<std::uint8_t>& Pixels() const { return FPixels; }

  // 0x00BBGGRR of one pixel; 0 outside.
  std::uint32_t PixelAt(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
    const std::uint8_t* P = Row(Y) + X * BytesPerPixel;
    return P[2] | (P[1] << 8) | (static_cast<std::uint32_t>(P[0]) << 16);
  }

  // Beyond this many separate boxes one box around them all is cheaper to
  // show than the bookkeeping.
  static constexpr std::size_t MaxDirtyRects = 16;

  // Set by whoever painted; the loop presents and clears it.
  void MarkDirty() { MarkDirty(0, 0, FWidth, FHeight); }
  void MarkDirty(int X, int Y, int Width, int Height) {
    if (Width <= 0 || Height <= 0) return;
    TScreenRect R{std::max(X, 0), std::max(Y, 0), 0, 0};
    R.Width = static_cast<int>(std::min<std::int64_t>(std::int64_t{X} + Width, FWidth) - R.X);
    R.Height = static_cast<int>(std::min<std::int64_t>(std::int64_t{Y} + Height, FHeight) - R.Y);
    if (R.Empty()) return;
    // Boxes that overlap or touch become one, which may touch others in turn.
    for (std::size_t I = 0; I < FDirty.size();) {
      const TScreenRect& D = FDirty[I];
      if (D.X <= R.Right() && R.X <= D.Right() && D.Y <= R.Bottom() && R.Y <= D.Bottom()) {
        R = Union(R, D);
        FDirty[I] = FDirty.back();
        FDirty.pop_back();
        I = 0;
      } else {
        ++I;
      }
    }
    if (FDirty.size() == MaxDirtyRects) {
      for (const TScreenRect& D : FDirty) R = Union(R, D);
      FDirty.clear();
    }
    FDirty.push_back(R);
  }
  bool IsDirty() const { return !FDirty.empty(); }
  // The changed boxes since the last ClearDirty: inside the screen, none
  // overlapping another.
  const std::vector<TScreenRect>& DirtyRects() const { return FDirty; }
  void ClearDirty() { FDirty.clear(); }

  // Shows the picture at once, for the rare callback that must be seen
  // before it blocks (the high-score submission); the program installs the
  // presenter, headless runs have none and nothing happens.
  std::function<void(const TScreen&)> Presenter;
  void PresentNow() {
    if (!Presenter) return;
    Presenter(*this);
    ClearDirty();
  }
  // Whether anything was painted since the last call; forgets the boxes.
  bool TakeDirty() {
    const bool Was = IsDirty();
    ClearDirty();
    return Was;
  }

private:
  int FWidth;
  int FHeight;
  std::vector<std::uint8_t> FPixels;
  std::vector<TScreenRect> FDirty;

  static TScreenRect Union(const TScreenRect& A, const TScreenRect& B) {
    const int L = std::min(A.X, B.X), T = std::min(A.Y, B.Y);
    return {L, T, std::max(A.Right(), B.Right()) - L, std::max(A.Bottom(), B.Bottom()) - T};
  }
};
