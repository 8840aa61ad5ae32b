// A picture area of the window: a fixed rectangle of the window's screen. The
// game paints its panel backgrounds and scores into the right-hand and bottom
// panels.
#pragma once

#include "platform/Screen.h"

class TPanel {
public:
  TPanel(TScreen& Screen, int Left, int Top, int Width, int Height)
      : FScreen(Screen), FLeft(Left), FTop(Top), FWidth(Width), FHeight(Height) {}

  TScreen& Screen() const { return FScreen; }
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

private:
  TScreen& FScreen;
  int FLeft, FTop, FWidth, FHeight;
};
