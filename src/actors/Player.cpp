#include "actors/Player.h"

#include <algorithm>

#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "common/CommonTypes.h"
#include "persist/Config.h"

namespace {

// What a read outside the board yields: neither free, edge, trail nor
// claimed, so the marker neither walks nor draws off the board.
constexpr std::uint8_t CellOutside = 0xFF;

std::uint8_t CellAt(const TMemBoard& Board, std::int32_t X, std::int32_t Y) {
  return Board.Contains(X, Y) ? Board.GetCell(X, Y) : CellOutside;
}

void SetCellIfInside(TMemBoard& Board, std::int32_t X, std::int32_t Y, std::uint8_t Code) {
  if (Board.Contains(X, Y)) Board.SetCell(X, Y, Code);
}

// 2 * Nearest(V / 2): trails turn on even pixels.
float Snapped(float V) { return static_cast<float>(2 * RoundHalfEven(static_cast<long double>(V) / 2)); }

std::int32_t StartDirection(std::int32_t PlayerIndex) { return PlayerIndex == 1 ? 3 : 1; }

}  // namespace

TPlayer::TPlayer(TPointF StartPos, std::int32_t Lives, const TPakFileReadable& Pak, TConfig& Settings,
                 std::int32_t PlayerIndex, const std::string& DisplayName, const std::string& ImageSetName)
    : DrawSound(Pak, "player_draw.wav", true),
      RunSound(Pak, "player_run.wav", true),
      ExplosionSound(Pak, "player_explosion.wav"),
      WarpSound(Pak, "player_warp.wav"),
      VanishSound(Pak, "player_vanish.wav"),
      ExtraLifeSound(Pak, "item_heart.wav"),
      Settings(Settings) {
  LoadRequiredImageSet(Pak, ImageSetName, 0, Images);
  LoadImageSet(Pak, "explo01", 1, ExplosionImages);
  this->PlayerIndex = PlayerIndex;
  Direction = StartDirection(PlayerIndex);
  TrailStartDirection = Direction;
  X = StartX = SafeX = StartPos.X;
  Y = StartY = SafeY = StartPos.Y;
  TrailStartX = StartPos.X;
  TrailStartY = StartPos.Y;
  this->Lives = Lives;
  this->DisplayName = DisplayName;
  TrailCode = PlayerIndex + 4;
}

float TPlayer::GetSpeed() const {
  if (IsDrawing) return static_cast<float>(static_cast<long double>(Speed) * 2 / 3);
  return Speed;
}

const TAlphaImage& TPlayer::CurrentImage() const {
  if (IsExploding) return ImageOrEmpty(ExplosionImages, std::min(ExplosionFrame, ExplosionImages.Count() - 1));
  return ImageOrEmpty(Images, Direction);
}

float TPlayer::Reach(const TMemBoard& Board, float FromX, float FromY, std::int32_t DX, std::int32_t DY,
                     std::uint8_t Expected, float Limit) const {
  const auto Cell = [&](std::int32_t D) {
    return CellAt(Board, NearestPixel(static_cast<float>(static_cast<long double>(FromX) + D * DX)),
                  NearestPixel(static_cast<float>(static_cast<long double>(FromY) + D * DY)));
  };
  std::int32_t D = 1;
  while (D <= Limit && Cell(D) == Expected) {
    const std::uint8_t Next = Cell(D + 1);
    if (Next != Expected && Next != CellEdge) break;
    ++D;
  }
  if (Cell(D) == CellEdge) return static_cast<float>(D);
  if (D > Limit) return Limit;
  return static_cast<float>(D - 1);
}

bool TPlayer::HasLegalMove(const TMemBoard& Board) const {
  if (!IsDrawing) return true;
  static constexpr std::int32_t Ways[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
  for (const auto& [DX, DY] : Ways) {
    // Where Move would test from: a turn first snaps the coordinate the
    // trail ran along. The cell a snap may clear lies behind the marker,
    // never ahead of it.
    float FromX = X, FromY = Y;
    if (LastDX != DX) {
      if (LastDX == 0)
        FromY = Snapped(FromY);
      else
        FromX = Snapped(FromX);
    }
    if (Reach(Board, FromX, FromY, DX, DY, CellFree, GetSpeed()) > 0) return true;
  }
  return false;
}

bool TPlayer::CountStuckTick(const TMemBoard& Board) {
  if (IsExploding || GameOver || Vanishing || Appearing || HasLegalMove(Board)) {
    StuckTicks = 0;
    return false;
  }
  return ++StuckTicks >= StuckLimit;
}

void TPlayer::Move(std::int32_t DX, std::int32_t DY, bool DrawKey, TMemBoard& Board, bool& ClosedTrail) {
  ClosedTrail = false;
  if (Vanishing || Appearing) return;
  // Exactly one axis, one pixel's worth: anything else is no direction at
  // all, and a step along no axis would never leave the cell it tests.
  if (DX < -1 || DX > 1 || DY < -1 || DY > 1 || (DX == 0) == (DY == 0)) return;

  float OldX = X;
  float OldY = Y;
  const bool WasDrawingBefore = IsDrawing;

  if (IsDrawing && LastDX != DX) {
    if (LastDX == 0) {
      Y = Snapped(Y);
      const std::int32_t OldRow = NearestPixel(OldY);
      if (OldRow != NearestPixel(Y) && OldRow == NearestPixel(Y) + LastDY)
        SetCellIfInside(Board, NearestPixel(OldX), OldRow, CellFree);
    } else {
      X = Snapped(X);
      const std::int32_t OldColumn = NearestPixel(OldX);
      if (OldColumn != NearestPixel(X) && OldColumn == NearestPixel(X) + LastDX)
        SetCellIfInside(Board, OldColumn, NearestPixel(OldY), CellFree);
    }
  }
  if (!IsDrawing && DrawKey) {
    if (LastDX == 0)
      Y = Snapped(Y);
    else
      X = Snapped(X);
  }
  OldX = X;
  OldY = Y;

  if (DrawKey && CellAt(Board, NearestPixel(X) + DX, NearestPixel(Y) + DY) == CellFree) {
    IsDrawing = true;
    Blinking = false;
  }

  if (!IsExploding) {
    std::uint8_t Expected;
    if (IsDrawing) {
      Expected = CellFree;
      if (!WasDrawing) {
        SafeX = TrailStartX = X;
        SafeY = TrailStartY = Y;
        TrailStartDirection = Direction;
      }
    } else {
      Expected = CellEdge;
      SafeX = X;
      SafeY = Y;
    }
    const float Step = Reach(Board, X, Y, DX, DY, Expected, GetSpeed());
    X = static_cast<float>(X + static_cast<long double>(DX) * Step);
    Y = static_cast<float>(Y + static_cast<long double>(DY) * Step);
    if (Step > 0) {
      if (DY < 0)
        Direction = 0;
      else if (DX > 0)
        Direction = 1;
      else if (DY > 0)
        Direction = 2;
      else if (DX < 0)
        Direction = 3;
    }
    WasDrawing = IsDrawing;
  }

  const bool NowDrawing = IsDrawing;
  if (CellAt(Board, NearestPixel(X), NearestPixel(Y)) == CellEdge) IsDrawing = false;

  if (!IsExploding) {
    const auto Code = static_cast<std::uint8_t>(TrailCode);
    if (WasDrawingBefore || NowDrawing) {
      if (DX == 0)
        Board.VerticalLine(NearestPixel(OldY), NearestPixel(Y), NearestPixel(X), Code);
      else
        Board.HorizontalLine(NearestPixel(OldX), NearestPixel(X), NearestPixel(Y), Code);
    }
    if (NowDrawing && !WasDrawingBefore) SetCellIfInside(Board, NearestPixel(OldX), NearestPixel(OldY), CellEdge);
    if (!IsDrawing && (WasDrawingBefore || NowDrawing)) ClosedTrail = true;
  }

  if (NearestPixel(X) == NearestPixel(OldX) && NearestPixel(Y) == NearestPixel(OldY)) {
    StopRunSound();
    StopDrawSound();
    return;
  }
  LastDX = static_cast<std::int8_t>(DX);
  LastDY = static_cast<std::int8_t>(DY);
  if (IsDrawing) {
    StopRunSound();
    StartDrawSound();
  } else {
    StopDrawSound();
    StartRunSound();
  }
}

void TPlayer::Draw(TFastImageBuffer& Buffer, const TShadowMask& ShadowMask, TPointF OtherTrailStart) {
  if (IsExploding) {
    if (ExplosionFrame > ExplosionImages.Count() - 1) {
      // The animation is over: back to the last safe place, protected.
      X = SafeX;
      Y = SafeY;
      Direction = TrailStartDirection;
      Respawned = true;
      ExplosionFrame = 0;
      Blinking = true;
      BlinkTicks = BlinkDuration;
      if (!GameOver) PlayWarpSound();
      return;
    }
    Respawned = false;
    PaintSprite(Buffer, ShadowMask, OtherTrailStart);
    if (++ExplosionTicks == FrameDuration) {
      ExplosionTicks = 0;
      ++ExplosionFrame;
    }
    return;
  }
  if (Blinking) {
    if (--BlinkTicks <= 0) Blinking = false;
  }
  if (Blinking && BlinkTicks % 4 == 0) return;
  PaintSprite(Buffer, ShadowMask, OtherTrailStart);
}

void TPlayer::PaintSprite(TFastImageBuffer& Buffer, const TShadowMask& ShadowMask, TPointF OtherTrailStart) {
  if (Appearing) {
    if (FadeAlpha < 245) {
      FadeAlpha += 10;
    } else {
      Appearing = false;
      FadeAlpha = 255;
    }
  } else if (Vanishing) {
    if (FadeAlpha > 10) {
      FadeAlpha -= 10;
    } else {
      Vanishing = false;
      Appearing = true;
      FadeAlpha = 0;
      PlayWarpSound();
      X = SafeX = OtherTrailStart.X;
      Y = SafeY = OtherTrailStart.Y;
    }
  }
  const TAlphaImage& Image = CurrentImage();
  PaintActorSprite(Buffer, Image, SpriteTopLeft(X, Y, Image), ShadowMask, FadeAlpha);
}

void TPlayer::SetLives(std::int32_t Value) {
  if (Value < 0) {
    Lives = 0;
    GameOver = true;
  } else {
    Lives = Value;
  }
}

void TPlayer::SetScore(std::int64_t Value) {
  const std::int64_t Old = Score;
  Score = Value;
  for (std::int64_t K = 1; K <= ExtraLifeSteps; ++K) {
    const std::int64_t Threshold = ExtraLifeStep * K;
    if (Old < Threshold && Value >= Threshold) {
      ++Lives;
      PlayExtraLifeSound();
      ExtraLifeAwarded = true;
    }
  }
}

void TPlayer::ResetToStart() {
  X = StartX;
  Y = StartY;
  Direction = StartDirection(PlayerIndex);
  TrailStartDirection = Direction;
  SafeX = X;
  SafeY = Y;
  IsDrawing = false;
  WasDrawing = false;
}

void TPlayer::StartVanish() {
  if (Appearing) return;
  Vanishing = true;
  if (FadeAlpha == 255) PlayVanishSound();
}

void TPlayer::PlayUnlessOff(TSoundEffect& Sound) {
  // Play leaves a sound that is already playing alone.
  if (!Settings.SoundOff) Sound.Play();
}

void TPlayer::StartDrawSound() { PlayUnlessOff(DrawSound); }
void TPlayer::StartRunSound() { PlayUnlessOff(RunSound); }
void TPlayer::PlayExplosionSound() { PlayUnlessOff(ExplosionSound); }
void TPlayer::PlayWarpSound() { PlayUnlessOff(WarpSound); }
void TPlayer::PlayVanishSound() { PlayUnlessOff(VanishSound); }
void TPlayer::PlayExtraLifeSound() { PlayUnlessOff(ExtraLifeSound); }
void TPlayer::StopDrawSound() { DrawSound.Halt(); }
void TPlayer::StopRunSound() { RunSound.Halt(); }
