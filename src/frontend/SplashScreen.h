// The maker's logo at start-up: 50 JPEG frames shown one per splash tick in
// a box in the middle of the window, faded in from dark, held, faded out,
// with a short piece of music. Any key ends it early.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/FormParts.h"
#include "gfx/FastImaging.h"

class TAudioObject;
class TMemoryStream;
class TPakFileReadable;

class TSplashScreen : public ISplashScreen {
public:
  static constexpr int FrameCount = 50;
  // Ticks of black box before the first frame (FrameCounter starts here).
  static constexpr std::int32_t FirstCounter = -10;

  // Decodes each frame on the tick that shows it (one small picture a tick)
  // rather than all up front, so that the window shows something at once
  // and never holds fifty frames. A frame missing from the archive, or one
  // that cannot be decoded, shows as black; missing music plays nothing.
  TSplashScreen(TScreen& DC, std::int32_t Width, std::int32_t Height, TAudioObject& Audio,
                const TPakFileReadable& Pak);
  ~TSplashScreen() override;

  void Tick() override;
  void SetDC(TScreen& DC) override;
  // True also stops the logo music, so a key ends the music at once.
  void SetFinished(bool Value) override;
  bool Finished() const override { return FFinished; }

  std::int32_t FrameCounter() const { return FFrameCounter; }
  const TFastImageBuffer& MainBuffer() const { return FMainBuffer; }
  // Frame Index + 1 as the archive holds it, decoded anew.
  TFastImageBuffer Frame(int Index) const;

private:
  TFastImageBuffer FMainBuffer;
  const TPakFileReadable& FPak;
  std::int32_t FFrameCounter = FirstCounter;
  bool FFinished = false;
  TAudioObject& FAudio;
  std::unique_ptr<TMemoryStream> FMusic;
};
