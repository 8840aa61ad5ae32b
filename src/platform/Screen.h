// The window's screen: the 800 x 600 picture every frame buffer paints into
// and that the event loop presents after each callback that painted. It is
// plain memory so that the game and its tests never need a real window; the
// right and bottom panels are regions of it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class TScreen {
public:
  static constexpr int BytesPerPixel = 3;  // blue, green, red

  TScreen(int Width = 800, int Height = 600)
      : FWidth(Width), FHeight(Height), FPixels(static_cast<std::size_t>(Width) * Height * BytesPerPixel, 0) {}

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

  // Set by whoever painted; the loop presents and clears it.
  void MarkDirty() { FDirty = true; }
  // Shows the picture at once, for the rare callback that must be seen
  // before it blocks (the high-score submission); the program installs the
  // presenter, headless runs have none and nothing happens.
  std::function<void(const TScreen&)> Presenter;
  void PresentNow() {
    if (Presenter) Presenter(*this);
  }
  bool TakeDirty() {
    const bool Was = FDirty;
    FDirty = false;
    return Was;
  }

private:
  int FWidth;
  int FHeight;
  std::vector<std::uint8_t> FPixels;
  bool FDirty = false;
};
