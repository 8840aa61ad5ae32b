#include "frontend/SplashScreen.h"

#include "audio/AudioObject.h"
#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"
#include "common/Scramble.h"

namespace {

constexpr std::int32_t FrameWidth = 320;
constexpr std::int32_t FrameHeight = 240;
// Last counter value of the fade-in ramp and first of the fade-out.
constexpr std::int32_t FadeInTicks = 16;
constexpr std::int32_t FadeOutAfter = 100;
constexpr std::int32_t FinishAfter = 130;

}  // namespace

TSplashScreen::TSplashScreen(TScreen& DC, std::int32_t Width, std::int32_t Height, TAudioObject& Audio,
                             const TPakFileReadable& Pak)
    : FMainBuffer(&DC, Width, Height), FPak(Pak), FAudio(Audio) {
  FFrameCounter = FirstCounter;
  FFinished = false;
  FMusic = Pak.GetOptionalStream("quillon_logo.ogg");
}

// The engine plays its own copy of the music, so freeing ours here is safe
// even while the logo music still sounds.
TSplashScreen::~TSplashScreen() = default;

void TSplashScreen::Tick() {
  const std::int32_t C = FFrameCounter;
  if (C == 0 && FMusic) FAudio.PlayFromStream(FMusic.get());
  if (C >= 0 && C < FrameCount) FMainBuffer.CopyFrom(Frame(C));
  FFrameCounter = C + 1;
  const std::int32_t Next = FFrameCounter;
  if (Next >= 0 && Next < FadeInTicks) FMainBuffer.Lightness(12 * Next - 200);
  // Frames are no longer copied here, so the darkening accumulates.
  if (Next > FadeOutAfter) FMainBuffer.Lightness(-25);
  if (Next > FinishAfter) FFinished = true;
  FMainBuffer.PaintTo(400 - FMainBuffer.Width() / 2, 300 - FMainBuffer.Height() / 2);
}

TFastImageBuffer TSplashScreen::Frame(int Index) const {
  TFastImageBuffer Picture(nullptr, FrameWidth, FrameHeight);
  // A damaged frame stays black: the logo is not worth stopping the game for.
  LoadJpeg(FPak, "Quillon2_" + TwoDigits(Index + 1) + ".jpg", Picture);
  return Picture;
}

void TSplashScreen::SetDC(TScreen& DC) { FMainBuffer.DC = &DC; }

void TSplashScreen::SetFinished(bool Value) {
  FFinished = Value;
  if (Value) FAudio.Stop();
}
