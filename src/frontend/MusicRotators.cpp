#include "frontend/MusicRotators.h"

#include <algorithm>
#include <cmath>

#include "audio/AudioObject.h"
#include "persist/Config.h"

TMusicRotators::TMusicRotators(const TMenuPictureLoader& Load)
    : FRotator(Load("music_rotator.png")),
      FLeftBar(Load("music_rotator_leftbar.png")),
      FRightBar(Load("music_rotator_rightbar.png")),
      FCentre(Load("music_rotator_center.png")) {}

void TMusicRotators::Reset() {
  FLeft.Level = 0;
  FLeft.Speed = 10;
  FRight.Level = 0;
  FRight.Speed = 10;
}

void TMusicRotators::Draw(TMenuCanvas& Canvas, TAudioObject& Audio, const TConfig& Config) {
  std::uint32_t Right = 0, Left = 0;
  if (!Config.MusicOff) Audio.GetLevels(Right, Left);
  DrawLevels(Canvas, Left, Right);
}

std::int32_t TMusicRotators::ScaledLevel(std::uint32_t EngineLevel) {
  const std::uint32_t Level = std::min<std::uint32_t>(EngineLevel, 32768);
  return static_cast<std::int32_t>((Level * FullLevel + 16384) / 32768);
}

void TMusicRotators::DrawLevels(TMenuCanvas& Canvas, std::uint32_t Left, std::uint32_t Right) {
  Canvas.CopyBack(11, 370, 55, 55);
  Canvas.CopyBack(734, 370, 55, 55);
  Canvas.CopyBack(11, 230, 27, 139);
  Canvas.CopyBack(762, 230, 27, 139);

  auto Bar = [&Canvas](const TAlphaImage& Image, std::int32_t X, float Speed) {
    const std::int32_t Top = std::max<std::int32_t>(0, 138 - MenuRound(static_cast<long double>(Speed) * 2));
    if (Top > 138) return;
    Image.DrawPart(Canvas.FrameBuffer(), X, 230 + Top, TRect{0, Top, Image.Width() - 1, 138});
  };
  Bar(FLeftBar, 11, FLeft.Speed);
  Bar(FRightBar, 762, FRight.Speed);

  DrawDisc(Canvas, FLeft, ScaledLevel(Left), 11, -1);
  DrawDisc(Canvas, FRight, ScaledLevel(Right), 734, +1);
}

void TMusicRotators::DrawDisc(TMenuCanvas& Canvas, TDisc& Disc, std::int32_t Level, std::int32_t X,
                              int Direction) const {
  Disc.Speed = MenuSingle(static_cast<long double>(Disc.Speed) + (Level - Disc.Level));
  if (Disc.Speed > 100) Disc.Speed = 10;
  Disc.Angle = MenuSingle(static_cast<long double>(Disc.Angle) + static_cast<long double>(Disc.Speed) / 10);
  if (Disc.Angle > 360) Disc.Angle = MenuSingle(static_cast<long double>(Disc.Angle) - 360);
  // A falling level turns the disc backwards; keep the angle small so its
  // precision does not wear away over a long session.
  if (Disc.Angle < -360)
    Disc.Angle = MenuSingle(static_cast<long double>(Disc.Angle) + 360 * std::floor(-Disc.Angle / 360.0L));
  FRotator.DrawRotated(Canvas.FrameBuffer(), X, 370, 200, Direction * Disc.Angle);
  FCentre.DrawAlpha(Canvas.FrameBuffer(), X, 370,
                    static_cast<std::uint8_t>(RoundHalfEven(static_cast<long double>(Disc.Speed))));
  Disc.Level = Level;
}
