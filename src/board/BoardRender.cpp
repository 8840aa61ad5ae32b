// TMemBoard::Render: the board's cells painted into the play area with the
// level background, the shadow mask and the drop shadow of edges and trails.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/FastImaging.h"
#include "common/CommonTypes.h"

namespace {

constexpr std::uint8_t BorderGrey = 160;
constexpr std::int32_t ShadeValues = TShadowMask::MaxShade + 1;

// Every product of the renderer for every shade value, each computed the way
// the single product would be: the shade factor c = (255 - shade) / 255 held
// as a float, the product in extended precision, rounded half to even.
struct TRenderTables {
  std::uint8_t Free[ShadeValues][256];     // v * c
  std::uint8_t Claimed[ShadeValues][256];  // v * c / 1.35
  std::uint8_t Near[ShadeValues][256];     // v * c / 2: the shadow next to an edge or trail
  std::uint8_t Far[ShadeValues][256];      // v * c / 1.5: the shadow two pixels from an edge
  std::uint8_t Edge[ShadeValues];          // 255 * c
  std::uint8_t Trail1[ShadeValues];        // 192 * c
  std::uint8_t Trail2Red[ShadeValues];     // 172 * c

  TRenderTables() {
    for (std::int32_t S = 0; S < ShadeValues; ++S) {
      const float C = static_cast<float>(static_cast<long double>(255 - S) / 255.0L);
      const long double CX = C;
      auto Product = [](long double V) { return static_cast<std::uint8_t>(RoundHalfEven(V)); };
      for (std::int32_t V = 0; V < 256; ++V) {
        const long double VC = static_cast<long double>(V) * CX;
        Free[S][V] = Product(VC);
        Claimed[S][V] = Product(VC / 1.35L);
        Near[S][V] = Product(VC / 2.0L);
        Far[S][V] = Product(VC / 1.5L);
      }
      Edge[S] = Product(255.0L * CX);
      Trail1[S] = Product(192.0L * CX);
      Trail2Red[S] = Product(172.0L * CX);
    }
  }
};

const TRenderTables& Tables() {
  static const TRenderTables Instance;
  return Instance;
}

inline bool CastsNearShadow(std::uint8_t Code) { return Code == CellEdge || Code == CellTrail1 || Code == CellTrail2; }

// The Clear look's numbers. Free ground is lifted so that its darkest pixel
// still stands above claimed ground (space skies are nearly black); claimed
// ground keeps a little of its colour so the picture stays recognisable.
constexpr std::int32_t ClearFreeFloor = 40;      // what black free ground becomes
constexpr std::int32_t ClearClaimedKeep = 100;   // of 256: brightness claimed ground keeps
constexpr std::int32_t ClearClaimedColour = 96;  // of 256: colour kept against grey
constexpr std::int32_t ClearHaloKeep = 64;       // of 256: free ground beside a trail
constexpr std::uint8_t ClearBorder = 0;          // claimed side of an edge
constexpr std::uint8_t ClearTrail1[3] = {255, 255, 255};  // red, green, blue
constexpr std::uint8_t ClearTrail2[3] = {255, 226, 0};

struct TClearTables {
  std::uint8_t Lift[256];  // free ground, after the classic shade and drop shadow
  std::uint8_t Halo[256];  // free ground next to a trail, after the lift

  TClearTables() {
    for (std::int32_t V = 0; V < 256; ++V) {
      const std::int32_t Lifted = ClearFreeFloor + (V * (255 - ClearFreeFloor) + 127) / 255;
      Lift[V] = static_cast<std::uint8_t>(Lifted);
      Halo[V] = static_cast<std::uint8_t>((Lifted * ClearHaloKeep + 128) >> 8);
    }
  }
};

const TClearTables& ClearTables() {
  static const TClearTables Instance;
  return Instance;
}

inline bool IsTrail(std::uint8_t Code) { return Code == CellTrail1 || Code == CellTrail2; }

// The Clear look, pixel by pixel; the rare choice, so plainness over speed.
void RenderClear(const TMemBoard& Board, std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom,
                 TFastImageBuffer& Target, const TFastImageBuffer& Background, const TShadowMask& ShadowMask) {
  const TRenderTables& T = Tables();
  const TClearTables& C = ClearTables();
  auto CellAt = [&Board](std::int32_t X, std::int32_t Y) -> std::int32_t {
    return Board.Contains(X, Y) ? Board.GetCell(X, Y) : -1;
  };
  for (std::int32_t Y = Top; Y <= Bottom; ++Y)
    for (std::int32_t X = Left; X <= Right; ++X) {
      if (X == 0 || Y == 0) {
        Target.SetPixel(X, Y, RGB(BorderGrey, BorderGrey, BorderGrey));
        continue;
      }
      const std::int32_t S = TShadowMask::Covers(X, Y) ? ShadowMask.GetShade(X, Y) : 0;
      const TColorValue B = Background.GetPixel(X, Y);
      std::uint8_t Rgb[3] = {GetRValue(B), GetGValue(B), GetBValue(B)};
      switch (Board.GetCell(X, Y)) {
        case CellFree: {
          bool BesideTrail = false;
          for (std::int32_t DY = -1; DY <= 1; ++DY)
            for (std::int32_t DX = -1; DX <= 1; ++DX) {
              const std::int32_t N = CellAt(X + DX, Y + DY);
              BesideTrail = BesideTrail || (N >= 0 && IsTrail(static_cast<std::uint8_t>(N)));
            }
          const std::int32_t Diag1 = CellAt(X - 1, Y - 1);
          const bool Near = Diag1 >= 0 && CastsNearShadow(static_cast<std::uint8_t>(Diag1));
          const bool Far = CellAt(X - 2, Y - 2) == CellEdge;
          for (std::uint8_t& V : Rgb) {
            V = T.Free[S][V];
            if (Near) V = T.Near[S][V];
            if (Far) V = T.Far[S][V];
            V = BesideTrail ? C.Halo[V] : C.Lift[V];
          }
          break;
        }
        case CellEdge:
          Rgb[0] = Rgb[1] = Rgb[2] = T.Edge[S];
          break;
        case CellClaimed: {
          bool BesideEdge = false;
          for (auto [DX, DY] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}})
            BesideEdge = BesideEdge || CellAt(X + DX, Y + DY) == CellEdge;
          if (BesideEdge) {
            Rgb[0] = Rgb[1] = Rgb[2] = ClearBorder;
            break;
          }
          for (std::uint8_t& V : Rgb) V = T.Free[S][V];
          // Grey by the usual luma weights, then some colour back, then dark.
          const std::int32_t Grey = (77 * Rgb[0] + 150 * Rgb[1] + 29 * Rgb[2] + 128) >> 8;
          for (std::uint8_t& V : Rgb) {
            const std::int32_t Mixed = (Grey * 256 + (V - Grey) * ClearClaimedColour + 128) >> 8;
            V = static_cast<std::uint8_t>((Mixed * ClearClaimedKeep + 128) >> 8);
          }
          break;
        }
        case CellTrail1:
          std::copy(ClearTrail1, ClearTrail1 + 3, Rgb);
          break;
        case CellTrail2:
          std::copy(ClearTrail2, ClearTrail2 + 3, Rgb);
          break;
        default:  // as in the classic look: untouched
          continue;
      }
      Target.SetPixel(X, Y, RGB(Rgb[0], Rgb[1], Rgb[2]));
    }
}

}  // namespace

void TMemBoard::Render(TRect Rect, TFastImageBuffer& Target, const TFastImageBuffer& Background,
                       const TShadowMask& ShadowMask, TClaimedGroundLook Look) const {
  const TRenderTables& T = Tables();
  // Clipped to the board, then to the target, whose outside pixels would be
  // dropped anyway.
  const std::int32_t Left = std::max(Rect.Left, 0);
  const std::int32_t Top = std::max(Rect.Top, 0);
  const std::int32_t Right = std::min({Rect.Right, Width - 1, Target.Width() - 1});
  const std::int32_t Bottom = std::min({Rect.Bottom, Height - 1, Target.Height() - 1});
  if (Right < Left || Bottom < Top) return;
  if (Look == TClaimedGroundLook::Clear) {
    RenderClear(*this, Left, Top, Right, Bottom, Target, Background, ShadowMask);
    return;
  }

  // Walked column by column: cells and shades are stored that way, and each
  // pixel's result depends only on cells and its own background pixel, so
  // the order does not change the picture.
  const std::int32_t LastShadeX = TShadowMask::Size - TShadowMask::Margin - 1;
  const std::int32_t LastShadeY = std::min(Bottom, LastShadeX);
  const std::int32_t TargetStride = Target.Bitmap().Stride();
  const std::int32_t BackStride = Background.Bitmap().Stride();
  const std::int32_t BackRight = Background.Width() - 1;
  const std::int32_t BackBottom = Background.Height() - 1;

  std::uint8_t* const TargetBits = Target.Bitmap().Bits();
  const std::uint8_t* const BackBits = Background.Bitmap().Bits();
  // Byte offset of picture line Y, column X: lines are stored bottom-up.
  auto TargetOffset = [&](std::int32_t X, std::int32_t Y) {
    return static_cast<std::ptrdiff_t>(Target.Height() - 1 - Y) * TargetStride + 3 * X;
  };
  auto BackOffset = [&](std::int32_t X, std::int32_t Y) {
    return static_cast<std::ptrdiff_t>(Background.Height() - 1 - Y) * BackStride + 3 * X;
  };

  for (std::int32_t X = Left; X <= Right; ++X) {
    std::ptrdiff_t DOff = TargetOffset(X, Top);
    if (X == 0) {
      for (std::int32_t Y = Top; Y <= Bottom; ++Y, DOff -= TargetStride)
        TargetBits[DOff] = TargetBits[DOff + 1] = TargetBits[DOff + 2] = BorderGrey;
      continue;
    }
    const std::uint8_t* Cells = Column(X);
    const std::uint8_t* Diag1 = Column(X - 1);  // X >= 1 here
    const std::uint8_t* Diag2 = X >= 2 ? Column(X - 2) : nullptr;
    // Pixels beyond the mask's square count as unshaded.
    const std::uint8_t* Shades = X <= LastShadeX ? ShadowMask.Column(X) + TShadowMask::Margin : nullptr;
    const std::int32_t ShadedUpTo = Shades ? LastShadeY : -1;
    // Background pixels outside the background read black.
    const std::int32_t BackUpTo = X <= BackRight ? BackBottom : -1;
    std::ptrdiff_t BOff = BackOffset(X, Top);

    for (std::int32_t Y = Top; Y <= Bottom; ++Y, DOff -= TargetStride, BOff -= BackStride) {
      std::uint8_t* D = TargetBits + DOff;
      if (Y == 0) {
        D[0] = D[1] = D[2] = BorderGrey;
        continue;
      }
      static constexpr std::uint8_t Black[3] = {0, 0, 0};
      const std::uint8_t* B = Y <= BackUpTo ? BackBits + BOff : Black;
      const std::uint8_t Code = Cells[Y];
      const std::int32_t S = Y <= ShadedUpTo ? Shades[Y] : 0;
      switch (Code) {
        case CellFree: {
          const std::uint8_t* Row = T.Free[S];
          std::uint8_t Blue = Row[B[0]];
          std::uint8_t Green = Row[B[1]];
          std::uint8_t Red = Row[B[2]];
          if (CastsNearShadow(Diag1[Y - 1])) {
            const std::uint8_t* N = T.Near[S];
            Blue = N[Blue];
            Green = N[Green];
            Red = N[Red];
          }
          // Cells beyond the board's edge cast nothing.
          if (Diag2 && Y >= 2 && Diag2[Y - 2] == CellEdge) {
            const std::uint8_t* F = T.Far[S];
            Blue = F[Blue];
            Green = F[Green];
            Red = F[Red];
          }
          D[0] = Blue;
          D[1] = Green;
          D[2] = Red;
          break;
        }
        case CellEdge:
          D[0] = D[1] = D[2] = T.Edge[S];
          break;
        case CellClaimed: {
          const std::uint8_t* Row = T.Claimed[S];
          D[0] = Row[B[0]];
          D[1] = Row[B[1]];
          D[2] = Row[B[2]];
          break;
        }
        case CellTrail1:
          D[0] = D[1] = D[2] = T.Trail1[S];
          break;
        case CellTrail2:
          D[0] = 0;
          D[1] = T.Trail1[S];
          D[2] = T.Trail2Red[S];
          break;
        default:  // CellEvilSide, the marked trails and anything else: untouched
          break;
      }
    }
  }
}
