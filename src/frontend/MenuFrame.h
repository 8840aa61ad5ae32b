// The bracket-shaped frame round the menu's content and its animation: it
// unfolds sideways to the screen's half width, folds back to 5 when an entry
// is chosen, and then grows or shrinks to the next screen's height before it
// unfolds again.
#pragma once

#include <cstdint>

class TMenuCanvas;

class TMenuFrame {
public:
  TMenuFrame(TMenuCanvas& Canvas, std::int32_t HalfWidth, std::int32_t Height);

  // Starts unfolding from half width 5 to HalfWidth at Height, remembering
  // the old height for a resize.
  void Open(std::int32_t HalfWidth, std::int32_t Height);
  // Starts folding from the open half width.
  void StartClosing();
  // After the fold: grows or shrinks to Height, then unfolds.
  void StartResizing(std::int32_t Height);
  // One tick of each phase; true when the phase ended in this tick.
  bool StepOpening();
  bool StepClosing();
  bool StepResizing();

  void Draw(std::int32_t HalfWidth);
  void Erase(std::int32_t HalfWidth);
  // Erases the frame at its current half width, rounded.
  void EraseNow();

  bool Opening() const { return FOpening; }
  bool Closing() const { return FClosing; }
  bool Resizing() const { return FResizing; }
  float HalfWidth() const { return FHalfWidth; }
  std::int32_t FrameHeight() const { return FFrameHeight; }

private:
  void StepFold();

  TMenuCanvas& FCanvas;
  bool FOpening = true;
  bool FClosing = false;
  bool FResizing = false;
  float FFrameHeightF = 0;
  float FResizeSpeed = 0;
  std::int32_t FTargetHeight = 0;
  std::int32_t FTargetHalfWidth = 0;
  float FHalfWidth = 5;
  float FFoldSpeed = 0;
  float FFoldAcceleration = 0;
  std::int32_t FFrameHeight = 0;
};
