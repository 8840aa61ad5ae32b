#include "frontend/MenuFrame.h"

#include <algorithm>
#include <cmath>

#include "frontend/MenuCanvas.h"

namespace {

constexpr TColorValue White = RGB(255, 255, 255);

}  // namespace

TMenuFrame::TMenuFrame(TMenuCanvas& Canvas, std::int32_t HalfWidth, std::int32_t Height)
    : FCanvas(Canvas), FFrameHeightF(static_cast<float>(Height)), FTargetHalfWidth(HalfWidth), FFrameHeight(Height) {}

void TMenuFrame::Open(std::int32_t HalfWidth, std::int32_t Height) {
  FOpening = true;
  FClosing = FResizing = false;
  FFrameHeightF = static_cast<float>(FFrameHeight);
  FResizeSpeed = 0;
  FTargetHalfWidth = HalfWidth;
  FFrameHeight = Height;
  FHalfWidth = 5;
  FFoldSpeed = FFoldAcceleration = 0;
}

void TMenuFrame::StartClosing() {
  FClosing = true;
  FFoldSpeed = FFoldAcceleration = 0;
  FHalfWidth = static_cast<float>(FTargetHalfWidth);
}

void TMenuFrame::StartResizing(std::int32_t Height) {
  FOpening = false;
  FTargetHeight = Height;
  FResizing = true;
  FClosing = false;
}

void TMenuFrame::StepFold() {
  FFoldAcceleration = std::min(MenuSingle(static_cast<long double>(FFoldAcceleration) + 0.1L), 1.0f);
  FFoldSpeed = std::min(MenuSingle(static_cast<long double>(FFoldSpeed) + FFoldAcceleration), 12.0f);
}

bool TMenuFrame::StepOpening() {
  StepFold();
  FHalfWidth = MenuSingle(static_cast<long double>(FHalfWidth) + FFoldSpeed);
  if (FHalfWidth <= static_cast<float>(FTargetHalfWidth)) {
    Draw(MenuRound(FHalfWidth));
    return false;
  }
  Draw(FTargetHalfWidth);
  FOpening = false;
  return true;
}

bool TMenuFrame::StepClosing() {
  StepFold();
  FHalfWidth = MenuSingle(static_cast<long double>(FHalfWidth) - FFoldSpeed);
  if (FHalfWidth >= 5) {
    Draw(MenuRound(FHalfWidth));
    return false;
  }
  FFrameHeightF = static_cast<float>(FFrameHeight);
  FResizeSpeed = 0;
  Draw(5);
  return true;
}

bool TMenuFrame::StepResizing() {
  bool Done = false;
  const long double Gap = FTargetHeight - static_cast<long double>(FFrameHeightF);
  if (std::fabs(Gap) > 2) {
    FResizeSpeed = MenuSingle(static_cast<long double>(FResizeSpeed) + (Gap < 0 ? -0.5L : 0.5L));
  } else {
    FResizing = false;
    FOpening = true;
    FResizeSpeed = 0;
    Done = true;
  }
  FResizeSpeed = std::min(FResizeSpeed, 8.0f);
  FFrameHeightF = MenuSingle(static_cast<long double>(FFrameHeightF) + FResizeSpeed);
  FFrameHeight = FOpening ? FTargetHeight : MenuRound(FFrameHeightF);
  Draw(5);
  return Done;
}

void TMenuFrame::EraseNow() { Erase(MenuRound(FHalfWidth)); }

void TMenuFrame::Erase(std::int32_t W) {
  const std::int32_t H = FFrameHeight;
  FCanvas.CopyBack(385 - W, 506 - H, 32, H + 17);
  FCanvas.CopyBack(382 + W, 506 - H, 32, H + 17);
}

void TMenuFrame::Draw(std::int32_t W) {
  Erase(W);
  const std::int32_t H = FFrameHeight;
  TFastImageBuffer& Buffer = FCanvas.FrameBuffer();
  auto Dot = [&Buffer](std::int32_t X, std::int32_t Y) { Buffer.BlendPixel(X, Y, White, 128); };
  for (std::int32_t Y = 519 - H; Y <= 519; ++Y) {
    Dot(399 - W, Y);
    Dot(399 + W, Y);
  }
  // The hooks at both ends, mirrored about x = 399.
  static constexpr std::int32_t HookX[4] = {1, 2, 3, 4};
  static constexpr std::int32_t HookBottom[4] = {520, 521, 522, 522};
  static constexpr std::int32_t HookTop[4] = {518, 517, 516, 516};
  for (int I = 0; I < 4; ++I) {
    Dot(399 - W + HookX[I], HookBottom[I]);
    Dot(399 + W - HookX[I], HookBottom[I]);
    Dot(399 - W + HookX[I], HookTop[I] - H);
    Dot(399 + W - HookX[I], HookTop[I] - H);
  }
}
