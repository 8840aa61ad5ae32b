#include "game/Level.h"

#include <algorithm>
#include <cstring>

#include "actors/Evil.h"
#include "actors/Itembase.h"
#include "actors/SmallEvil_evil01.h"
#include "actors/SmallEvil_evil02.h"
#include "actors/SmallEvil_evil03.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "game/GamePanels.h"
#include "gfx/ArchivePictures.h"
#include "gfx/FastImaging.h"

TLevel::TLevel() = default;

TLevel::TLevel(std::unique_ptr<TEvil> NewEvil, const TPakFileReadable& Pak, std::int32_t LevelWidth,
               std::int32_t LevelHeight, const std::string& LevelName, std::int32_t LevelNumber,
               const std::string& BackgroundName, std::int32_t SmallEvilSet)
    : Name(LevelName), Evil(std::move(NewEvil)), Width(LevelWidth), Height(LevelHeight), Number(LevelNumber) {
  Board = std::make_unique<TMemBoard>(Width, Height);
  Board->SetUpLevelBoard();
  Background = std::make_unique<TFastImageBuffer>(nullptr, Width, Height);
  LoadJpeg(Pak, BackgroundName, *Background);
  ShadowMask = std::make_unique<TShadowMask>();
  const float EX = Evil ? Evil->X : static_cast<float>(Width / 2);
  const float EY = Evil ? Evil->Y : static_cast<float>(Height / 2);
  for (const TSmallEvilPlacement& P : SmallEvilPlacements(SmallEvilSet, EX, EY)) {
    const TPointF Pos{P.X, P.Y};
    if (P.Kind == 1) SmallEvils.push_back(std::make_unique<TSmallEvil_evil01>(Pos, Pak, Number));
    else if (P.Kind == 2) SmallEvils.push_back(std::make_unique<TSmallEvil_evil02>(Pos, Pak, Number));
    else SmallEvils.push_back(std::make_unique<TSmallEvil_evil03>(Pos, Pak, Number));
  }
}

TLevel::~TLevel() = default;

void TLevel::PlaceItem(TItemBase& NewItem) {
  Item = &NewItem;
  NewItem.RandomizeLifetime();
  NewItem.Finished = false;
  NewItem.Collected = false;
}

namespace {

// No cell ever holds it (codes are 0..7).
constexpr std::uint8_t Unsettled = 255;
// How far up and left a pixel's look reaches among the cells.
constexpr std::int32_t ShadowReach = 2;

}  // namespace

bool TLevel::ClipToBoard(TRect& Rect) const {
  if (!Board || !Background || !ShadowMask) return false;
  Rect.Left = std::max(Rect.Left, 0);
  Rect.Top = std::max(Rect.Top, 0);
  Rect.Right = std::min(Rect.Right, Board->Width - 1);
  Rect.Bottom = std::min(Rect.Bottom, Board->Height - 1);
  return Rect.Left <= Rect.Right && Rect.Top <= Rect.Bottom;
}

void TLevel::RenderPicture(const TRect& Rect) {
  const std::int32_t W = Board->Width, H = Board->Height;
  if (!FPicture) {
    FPicture = std::make_unique<TFastImageBuffer>(nullptr, W, H);
    FRenderedCells.assign(static_cast<std::size_t>(W) * static_cast<std::size_t>(H), Unsettled);
  }
  Board->Render(Rect, *FPicture, *Background, *ShadowMask, GroundLook);
  // A cell settles when every pixel it shows in (itself and up to two steps
  // down and to the right, as far as the board goes) was just rendered; one
  // whose pixels were rendered only in part, and that changed, unsettles.
  const auto Inside = [&](std::int32_t X, std::int32_t Y) {
    return X >= Rect.Left && X <= Rect.Right && Y >= Rect.Top && Y <= Rect.Bottom;
  };
  const auto Settle = [&](std::int32_t X, std::int32_t Y, const std::uint8_t* Cells, std::uint8_t* Rendered) {
    bool All = true;
    for (std::int32_t K = 0; K <= ShadowReach && All; ++K)
      if (X + K < W && Y + K < H) All = Inside(X + K, Y + K);
    if (All) Rendered[Y] = Cells[Y];
    else if (Rendered[Y] != Cells[Y]) Rendered[Y] = Unsettled;
  };
  for (std::int32_t X = std::max(Rect.Left - ShadowReach, 0); X <= Rect.Right; ++X) {
    const std::uint8_t* Cells = Board->Column(X);
    std::uint8_t* Rendered = FRenderedCells.data() + Board->CellIndex(X, 0);
    // The inner part of a column settles whole; only the edges need asking.
    std::int32_t InnerTop = Rect.Bottom + 1, InnerBottom = Rect.Bottom;
    if (X >= Rect.Left && X <= Rect.Right - ShadowReach) {
      InnerTop = Rect.Top;
      InnerBottom = Rect.Bottom - ShadowReach;
      if (InnerBottom >= InnerTop)
        std::memcpy(Rendered + InnerTop, Cells + InnerTop, static_cast<std::size_t>(InnerBottom - InnerTop + 1));
      else
        InnerTop = Rect.Bottom + 1;
    }
    for (std::int32_t Y = std::max(Rect.Top - ShadowReach, 0); Y < InnerTop; ++Y) Settle(X, Y, Cells, Rendered);
    for (std::int32_t Y = std::max(InnerBottom + 1, InnerTop); Y <= Rect.Bottom; ++Y) Settle(X, Y, Cells, Rendered);
  }
}

bool TLevel::PictureCurrent(const TRect& Rect) const {
  if (!FPicture) return false;
  const std::int32_t Top = std::max(Rect.Top - ShadowReach, 0);
  const auto Length = static_cast<std::size_t>(Rect.Bottom - Top + 1);
  for (std::int32_t X = std::max(Rect.Left - ShadowReach, 0); X <= Rect.Right; ++X) {
    const std::size_t At = Board->CellIndex(X, Top);
    if (std::memcmp(Board->Data() + At, FRenderedCells.data() + At, Length) != 0) return false;
  }
  return true;
}

void TLevel::Redraw(TRect Rect, TFastImageBuffer& Target) {
  if (!ClipToBoard(Rect)) return;
  RenderPicture(Rect);
  Target.CopyRect(Rect.Left, Rect.Top, *FPicture, Rect.Left, Rect.Top, Rect.Right - Rect.Left + 1,
                  Rect.Bottom - Rect.Top + 1);
}

void TLevel::Restore(TRect Rect, TFastImageBuffer& Target) {
  if (!ClipToBoard(Rect)) return;
  if (!PictureCurrent(Rect)) RenderPicture(Rect);
  Target.CopyRect(Rect.Left, Rect.Top, *FPicture, Rect.Left, Rect.Top, Rect.Right - Rect.Left + 1,
                  Rect.Bottom - Rect.Top + 1);
}

float TLevel::ClaimedPercent() {
  const float Percent = ClaimedShare();
  if (Percent >= 100.0f) Completed = true;
  return Percent;
}

float TLevel::ClaimedShare() const {
  // The target is 73.4 % of the whole 600 x 550 board (margin included) on
  // level 1 and rises by 0.4 % a level up to 81 % from level 20 on.
  const std::int32_t N = std::min(Number, 20);
  // ClaimedCells * 100 is a 32-bit product (it wraps rather than overflow).
  const std::int32_t Scaled =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(ClaimedCells) * 100u);
  const long double Target = (static_cast<long double>(N) / 250.0L + 0.73L) * 330000.0L;
  return static_cast<float>(static_cast<long double>(Scaled) / Target);
}

std::vector<TSmallEvilPlacement> SmallEvilPlacements(std::int32_t SmallEvilSet, float EvilX, float EvilY) {
  // Whole pixels around the big enemy: each coordinate rounded.
  auto At = [&](std::int32_t Kind, long double DX, long double DY) {
    return TSmallEvilPlacement{Kind, static_cast<float>(RoundHalfEven(EvilX + DX)),
                               static_cast<float>(RoundHalfEven(EvilY + DY))};
  };
  std::vector<TSmallEvilPlacement> List;
  switch (SmallEvilSet) {
    case 0:
      break;
    case 6:
      List = {At(1, 100, 100), At(1, -100, 100), At(1, 100, -100),
              At(2, 0, 100),   At(2, 100, 0),    At(2, 150, 150)};
      break;
    default:
      List.push_back(At(3, 100, 100));
      if (SmallEvilSet == 1) break;
      List.push_back(At(1, -100, 100));
      if (SmallEvilSet == 2) break;
      List.push_back(At(2, 100, -100));
      if (SmallEvilSet == 4 || SmallEvilSet == 5) List.push_back(At(2, 0, 100));
      if (SmallEvilSet == 5) List.push_back(At(2, 100, 0));
      break;
  }
  return List;
}

