#include "actors/SmallEvilBase.h"

#include <cmath>

#include "actors/Chase.h"
#include "actors/Player.h"
#include "board/ShadowMask.h"
#include "common/CommonTypes.h"

namespace {

// (VX, VY) scaled to Length; a velocity without direction stays as it is
// instead of turning into NaN.
void ScaleTo(float& VX, float& VY, long double Length) {
  const long double Current = std::sqrt(static_cast<long double>(VX) * VX + static_cast<long double>(VY) * VY);
  if (Current == 0 || !std::isfinite(Current)) return;
  VX = static_cast<float>(Length * VX / Current);
  VY = static_cast<float>(Length * VY / Current);
}

}  // namespace

TSmallEvilBase::TSmallEvilBase(TPointF StartPos, const TPakFileReadable& Pak, const std::string& ImageSetName)
    : X(StartPos.X), Y(StartPos.Y) {
  LoadRequiredImageSet(Pak, ImageSetName, 1, Images);
  const std::int32_t Count = Images.Count();
  Frame = Random(Count - 1);
  MaxSpeed = 6.0f;
  VX = static_cast<float>(RandomReal());
  VY = static_cast<float>(RandomReal());
  ScaleTo(VX, VY, MaxSpeed);
  FrameDuration = Count > 0 ? 20 / Count : 0;
}

void TSmallEvilBase::ChooseTarget(const TPlayer& Player1, const TPlayer* Player2) {
  Target = NearerPlayer(X, Y, Player1, Player2);
}

const TAlphaImage& TSmallEvilBase::CurrentImage() const { return ImageOrEmpty(Images, Frame); }

float TSmallEvilBase::Velocity() const { return VelocityLength(VX, VY); }

void TSmallEvilBase::Drift(std::int32_t Divisor) {
  VX = static_cast<float>(VX + (RandomReal() * 2 - 1) / Divisor);
  VY = static_cast<float>(VY + (RandomReal() * 2 - 1) / Divisor);
  if (Velocity() > MaxSpeed) ScaleTo(VX, VY, MaxSpeed);
}

void TSmallEvilBase::Dash() {
  if (Target == nullptr) return;  // nobody to dash at yet: keep drifting as before
  float DX = static_cast<float>(static_cast<long double>(Target->X) - X);
  float DY = static_cast<float>(static_cast<long double>(Target->Y) - Y);
  if (DX == 0 && DY == 0) return;  // already on the target: no direction, keep the velocity
  ScaleTo(DX, DY, MaxSpeed);
  VX = DX;
  VY = DY;
}

void TSmallEvilBase::BrakeThenDash(std::int32_t& Countdown, std::int32_t DriftDivisor) {
  if (Countdown == 0) {
    Drift(DriftDivisor);
  } else if (--Countdown > 0) {
    VX = static_cast<float>(VX / 1.1L);
    VY = static_cast<float>(VY / 1.1L);
  } else {
    Dash();
  }
}

float TSmallEvilBase::LevelSpeed(std::int32_t Base, std::int32_t LevelNumber) {
  return static_cast<float>(Base - static_cast<long double>(20 - LevelNumber) / 20);
}

void TSmallEvilBase::BounceAndStep(TPoint FieldSize) {
  const TAlphaImage& Image = CurrentImage();
  const std::int32_t MX = Image.Width() / 2 - 4;
  const std::int32_t MY = Image.Height() / 2 - 4;
  const long double NextX = static_cast<long double>(X) + VX;
  const long double NextY = static_cast<long double>(Y) + VY;
  if (NextX < MX || NextX > FieldSize.X - MX) VX = -VX;
  if (NextY < MY || NextY > FieldSize.Y - MY) VY = -VY;
  X = static_cast<float>(static_cast<long double>(X) + VX);
  Y = static_cast<float>(static_cast<long double>(Y) + VY);
}

void TSmallEvilBase::UpdateAndDraw(TFastImageBuffer& Buffer, const TPlayer& Player1, bool Frozen,
                                   const TShadowMask& ShadowMask, const TPlayer* Player2) {
  if (Target == nullptr) ChooseTarget(Player1, Player2);
  HitPlayer = -1;
  if (!Frozen) ++FrameTicks;
  if (FrameTicks == FrameDuration) {
    ++Frame;
    if (Frame >= Images.Count()) Frame = 0;
    FrameTicks = 0;
  }

  const TAlphaImage& Image = CurrentImage();
  PaintActorSprite(Buffer, Image, SpriteTopLeft(X, Y, Image), ShadowMask);

  const auto Reaches = [this](const TPlayer& P) {
    const long double DX = static_cast<long double>(X) - P.X;
    const long double DY = static_cast<long double>(Y) - P.Y;
    return DX * DX + DY * DY < HitRadiusSquared && !P.Blinking;
  };
  if (Reaches(Player1)) HitPlayer = Player1.PlayerIndex;
  if (Player2 != nullptr && Reaches(*Player2)) HitPlayer = Player2->PlayerIndex;
}
