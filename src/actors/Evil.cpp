#include "actors/Evil.h"

#include <cmath>

#include "actors/Chase.h"
#include "actors/Player.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "common/CommonTypes.h"

TEvil::TEvil(TPointF StartPos, const std::string& ImageSetName, float NormalMaxSpeed, float RushMaxSpeed,
             float Attraction, const TPakFileReadable& Pak)
    : X(StartPos.X), Y(StartPos.Y), NormalMaxSpeed(NormalMaxSpeed), RushMaxSpeed(RushMaxSpeed),
      Attraction(Attraction) {
  LoadRequiredImageSet(Pak, ImageSetName, 1, Images);
  const std::int32_t Count = Images.Count();
  Frame = Random(Count - 1);  // never the last picture; drawn even for an empty set, as replays expect
  // An empty set gets no animation at all instead of a division by zero.
  FrameDuration = Count > 0 ? 20 / Count : 0;
}

void TEvil::ChooseTarget(const TPlayer& Player1, const TPlayer* Player2) {
  Target = NearerPlayer(X, Y, Player1, Player2);
}

const TAlphaImage& TEvil::CurrentImage() const { return ImageOrEmpty(Images, Frame); }

float TEvil::Velocity() const { return VelocityLength(VX, VY); }

std::array<std::int32_t, 4> TEvil::BorderCounts(const TMemBoard& Board) const {
  std::array<std::int32_t, 4> Counts{};
  const TAlphaImage& Image = CurrentImage();
  const std::int32_t W = Image.Width();
  const std::int32_t H = Image.Height();
  const TPoint TopLeft = SpriteTopLeft(X, Y, Image);
  for (std::int32_t C = 0; C < W; ++C) {
    const std::int64_t BX = static_cast<std::int64_t>(TopLeft.X) + C;
    if (BX < 0 || BX >= Board.Width) continue;  // outside the board: nothing claimed
    const std::uint8_t* Column = Board.Column(static_cast<std::int32_t>(BX));
    for (std::int32_t R = 0; R < H; ++R) {
      const std::int64_t BY = static_cast<std::int64_t>(TopLeft.Y) + R;
      if (BY < 0 || BY >= Board.Height || Column[BY] != CellClaimed) continue;
      ++Counts[R < H / 2 ? 0 : 2];
      ++Counts[C >= W / 2 ? 1 : 3];
    }
  }
  return Counts;
}

TPoint TEvil::BorderPush(const TMemBoard& Board) const {
  const std::array<std::int32_t, 4> Counts = BorderCounts(Board);
  std::size_t Winner = 0;
  for (std::size_t I = 1; I < Counts.size(); ++I)
    if (Counts[I] > Counts[Winner]) Winner = I;
  if (Counts[Winner] == 0) return TPoint{0, 0};
  static constexpr TPoint Away[4] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
  return Away[Winner];
}

void TEvil::Move(const TMemBoard& Board) {
  if (Rushing) {
    if (Random(50) == 0) Rushing = false;
  } else if (Random(200) == 0) {
    Rushing = true;
  }

  const TPoint Push = BorderPush(Board);
  long double AX = 0;
  long double AY = 0;
  if (Push.X != 0 || Push.Y != 0) {
    AX = (Push.X + RandomReal() * 0.1L) * NormalMaxSpeed;
    AY = (Push.Y + RandomReal() * 0.1L) * NormalMaxSpeed;
    Rushing = false;
  } else if (Rushing) {
    VX *= 2;
    VY *= 2;
  } else {
    AX = (RandomReal() * 2 - 1) * (10 - static_cast<long double>(Jitter));
    AY = (RandomReal() * 2 - 1) * (10 - static_cast<long double>(Jitter));
    if (Target != nullptr) {
      const long double S = Target->IsDrawing ? static_cast<long double>(Attraction) * 10 : Attraction;
      const long double PullX = (RandomReal() / 2 + 0.5L) * S;
      AX = Target->X > X ? AX + PullX : AX - PullX;
      const long double PullY = (RandomReal() / 2 + 0.5L) * S;
      AY = Target->Y > Y ? AY + PullY : AY - PullY;
    }
  }
  VX = static_cast<float>(VX + AX);
  VY = static_cast<float>(VY + AY);

  const float Length = Velocity();
  const float Cap = MaxSpeed();
  if (Cap < Length && std::isfinite(Length)) {
    VX = static_cast<float>(static_cast<long double>(Cap) * VX / Length);
    VY = static_cast<float>(static_cast<long double>(Cap) * VY / Length);
  }
  X = static_cast<float>(static_cast<long double>(X) + VX);
  Y = static_cast<float>(static_cast<long double>(Y) + VY);
  VX = static_cast<float>(VX * 0.98L);
  VY = static_cast<float>(VY * 0.98L);
}

void TEvil::Draw(TFastImageBuffer& Buffer, const TMemBoard& Board, bool Frozen, const TShadowMask& ShadowMask) {
  HitTrail = -1;
  AdvanceFrame(Frame, FrameTicks, FrameDuration, Images.Count(), Frozen);

  const TAlphaImage& Image = CurrentImage();
  const TPoint TopLeft = SpriteTopLeft(X, Y, Image);
  PaintActorSprite(Buffer, Image, TopLeft, ShadowMask);

  // Painting never changes the board, so the hit test can follow the
  // painting. The trail met last in the scan (rows top-down, columns left
  // to right) wins, so the scan runs backwards and stops at the first hit.
  const std::int32_t W = Image.Width();
  const std::int32_t H = Image.Height();
  for (std::int32_t R = H - 1; R >= 0; --R) {
    const std::int64_t BY = static_cast<std::int64_t>(TopLeft.Y) + R;
    if (BY < 0 || BY >= Board.Height) continue;
    for (std::int32_t C = W - 1; C >= 0; --C) {
      const std::int64_t BX = static_cast<std::int64_t>(TopLeft.X) + C;
      if (BX < 0 || BX >= Board.Width) continue;
      if (PixelA(Image.Column(C)[R]) <= HitAlphaThreshold) continue;
      const std::uint8_t Cell = Board.GetCell(static_cast<std::int32_t>(BX), static_cast<std::int32_t>(BY));
      if (Cell == CellTrail1 || Cell == CellTrail2) {
        HitTrail = Cell == CellTrail1 ? 0 : 1;
        return;
      }
    }
  }
}
