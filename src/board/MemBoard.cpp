#include "board/MemBoard.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Rectangle growth shared by ClearTrails and ClaimUnmarked: -1 means "not set
// yet", so the first cell found sets every side.
struct TRectGrowth {
  std::int32_t Left = -1;
  std::int32_t Top = -1;
  std::int32_t Right = -1;
  std::int32_t Bottom = -1;

  // One column X whose touched cells span MinY..MaxY. Columns arrive in
  // ascending X, so Left is the first and Right the last column seen.
  void AddColumn(std::int32_t X, std::int32_t MinY, std::int32_t MaxY) {
    if (Left < 0) Left = X;
    Right = X;
    Top = Top < 0 ? MinY : std::min(Top, MinY);
    Bottom = Bottom < 0 ? MaxY : std::max(Bottom, MaxY);
  }

  // Widened by 3 on every side; callers clip it when repainting.
  TRect Widened() const { return TRect{Left - 3, Top - 3, Right + 3, Bottom + 3}; }
};

}  // namespace

TMemBoard::TMemBoard(std::int32_t Width, std::int32_t Height)
    : Width(std::max(Width, 0)),
      Height(std::max(Height, 0)),
      FCells(static_cast<std::size_t>(this->Width) * static_cast<std::size_t>(this->Height), CellFree) {}

void TMemBoard::HorizontalLine(std::int32_t X1, std::int32_t X2, std::int32_t Y, std::uint8_t Code) {
  if (Y < 0 || Y >= Height) return;
  const std::int32_t From = std::max(std::min(X1, X2), 0);
  const std::int32_t To = std::min(std::max(X1, X2), Width - 1);
  for (std::int32_t X = From; X <= To; ++X) FCells[CellIndex(X, Y)] = Code;
}

void TMemBoard::VerticalLine(std::int32_t Y1, std::int32_t Y2, std::int32_t X, std::uint8_t Code) {
  if (X < 0 || X >= Width) return;
  const std::int32_t From = std::max(std::min(Y1, Y2), 0);
  const std::int32_t To = std::min(std::max(Y1, Y2), Height - 1);
  if (From > To) return;
  std::memset(Column(X) + From, Code, static_cast<std::size_t>(To - From + 1));
}

void TMemBoard::SetUpLevelBoard() {
  HorizontalLine(20, Width - 20, 20, CellEdge);
  HorizontalLine(20, Width - 20, Height - 20, CellEdge);
  VerticalLine(20, Height - 20, 20, CellEdge);
  VerticalLine(20, Height - 20, Width - 20, CellEdge);
  // The margin outside the border becomes claimed, so no free cell lies
  // within 21 pixels of the board's edge.
  FloodMark(0, 0, CellClaimed, PassNone);
}

void TMemBoard::ClearTrails(bool ClearTrail1, bool ClearTrail2, TRect& DirtyRect) {
  std::array<bool, 256> Clear{};
  Clear[CellTrail1] = ClearTrail1;
  Clear[CellTrail2] = ClearTrail2;

  TRectGrowth Growth;
  if (ClearTrail1 || ClearTrail2) {
    for (std::int32_t X = 0; X < Width; ++X) {
      std::uint8_t* Col = Column(X);
      std::int32_t MinY = -1;
      std::int32_t MaxY = -1;
      for (std::int32_t Y = 0; Y < Height; ++Y) {
        if (!Clear[Col[Y]]) continue;
        Col[Y] = CellFree;
        if (MinY < 0) MinY = Y;
        MaxY = Y;
      }
      if (MinY >= 0) Growth.AddColumn(X, MinY, MaxY);
    }
  }
  DirtyRect = Growth.Widened();
}

void TMemBoard::FloodMark(std::int32_t X, std::int32_t Y, std::uint8_t MarkCode, std::int32_t PassCode) {
  if (X < 0 || Y < 0 || X >= Width || Y >= Height) return;

  // Enter[c]: a neighbour holding c is entered. Mark[c]: what an entered cell
  // holding c becomes.
  std::array<std::uint8_t, 256> Enter{};
  std::array<std::uint8_t, 256> Mark{};
  for (std::int32_t C = 0; C < 256; ++C) {
    Enter[C] = (C == CellFree || C == PassCode) ? 1 : 0;
    Mark[C] = MarkCode;
  }
  Mark[CellTrail1] = CellTrail1Marked;
  Mark[CellTrail2] = CellTrail2Marked;

  std::uint8_t& Start = FCells[CellIndex(X, Y)];
  Start = Mark[Start];

  if (!Enter[MarkCode]) {
    // Every entered cell turns into a code that is never entered again, so
    // the marked set is simply the connected region: fill it run by run.
    FloodMarkRuns(X, Y, Enter.data(), Mark.data());
  } else if (MarkCode == CellTrail1 || MarkCode == CellTrail2) {
    // Marked cells can be entered once more (and then hold 6 or 7); the
    // outcome depends on the visiting order, so follow it step by step.
    FloodMarkOrdered(X, Y, Enter.data(), Mark.data(), false);
  } else {
    // MarkCode is free or the pass code: marked cells would be entered
    // forever. Enter every cell of the region once instead.
    FloodMarkOrdered(X, Y, Enter.data(), Mark.data(), true);
  }
}

void TMemBoard::FloodMarkRuns(std::int32_t X, std::int32_t Y, const std::uint8_t* Enter, const std::uint8_t* Mark) {
  // Seeds are (x, y) pairs; each names an enterable cell of a run still to
  // be filled. Runs follow the columns, which are contiguous in memory.
  FSeeds.clear();
  auto PushSeed = [this](std::int32_t SX, std::int32_t SY) {
    FSeeds.push_back(SX);
    FSeeds.push_back(SY);
  };
  if (X > 0 && Enter[GetCell(X - 1, Y)]) PushSeed(X - 1, Y);
  if (X < Width - 1 && Enter[GetCell(X + 1, Y)]) PushSeed(X + 1, Y);
  if (Y > 0 && Enter[GetCell(X, Y - 1)]) PushSeed(X, Y - 1);
  if (Y < Height - 1 && Enter[GetCell(X, Y + 1)]) PushSeed(X, Y + 1);

  while (!FSeeds.empty()) {
    const std::int32_t SY = FSeeds.back();
    FSeeds.pop_back();
    const std::int32_t SX = FSeeds.back();
    FSeeds.pop_back();

    std::uint8_t* Col = Column(SX);
    if (!Enter[Col[SY]]) continue;  // filled since it was pushed
    std::int32_t Y0 = SY;
    while (Y0 > 0 && Enter[Col[Y0 - 1]]) --Y0;
    std::int32_t Y1 = SY;
    while (Y1 < Height - 1 && Enter[Col[Y1 + 1]]) ++Y1;
    for (std::int32_t I = Y0; I <= Y1; ++I) Col[I] = Mark[Col[I]];

    // One seed per enterable run beside the filled run, on either side.
    for (const std::int32_t NX : {SX - 1, SX + 1}) {
      if (NX < 0 || NX >= Width) continue;
      const std::uint8_t* Side = Column(NX);
      bool InRun = false;
      for (std::int32_t I = Y0; I <= Y1; ++I) {
        if (Enter[Side[I]]) {
          if (!InRun) PushSeed(NX, I);
          InRun = true;
        } else {
          InRun = false;
        }
      }
    }
  }
}

void TMemBoard::FloodMarkOrdered(std::int32_t X, std::int32_t Y, const std::uint8_t* Enter, const std::uint8_t* Mark,
                                 bool EnterOnce) {
  // Depth-first in the order left, right, up, down, with the pending
  // neighbour of every open cell on an explicit stack.
  static constexpr std::int32_t DX[4] = {-1, 1, 0, 0};
  static constexpr std::int32_t DY[4] = {0, 0, -1, 1};

  std::vector<std::uint8_t> Entered;
  if (EnterOnce) {
    Entered.assign(FCells.size(), 0);
    Entered[CellIndex(X, Y)] = 1;
  }

  FFrames.clear();
  FFrames.push_back(TFloodFrame{X, Y, 0});
  while (!FFrames.empty()) {
    TFloodFrame& Top = FFrames.back();
    if (Top.NextNeighbour == 4) {
      FFrames.pop_back();
      continue;
    }
    const std::int32_t D = Top.NextNeighbour++;
    const std::int32_t NX = Top.X + DX[D];
    const std::int32_t NY = Top.Y + DY[D];
    if (NX < 0 || NY < 0 || NX >= Width || NY >= Height) continue;
    const std::size_t Index = CellIndex(NX, NY);
    if (!Enter[FCells[Index]]) continue;
    if (EnterOnce) {
      if (Entered[Index]) continue;
      Entered[Index] = 1;
    }
    FCells[Index] = Mark[FCells[Index]];
    FFrames.push_back(TFloodFrame{NX, NY, 0});  // Top is not used past here
  }
}

std::int32_t TMemBoard::ClaimUnmarked(std::uint8_t TrailCode, TRect& DirtyRect) {
  // First pass: what each code becomes and whether that counts as claimed.
  std::array<std::uint8_t, 256> Next{};
  std::array<std::int32_t, 256> Counts{};
  for (std::int32_t C = 0; C < 256; ++C) Next[C] = static_cast<std::uint8_t>(C);
  Next[CellFree] = CellClaimed;
  Counts[CellFree] = 1;
  Next[CellEvilSide] = CellFree;
  Next[CellTrail1] = TrailCode == CellTrail1 ? CellEdge : CellClaimed;
  Next[CellTrail2] = TrailCode == CellTrail2 ? CellEdge : CellClaimed;
  Counts[CellTrail1] = Next[CellTrail1] == CellClaimed ? 1 : 0;
  Counts[CellTrail2] = Next[CellTrail2] == CellClaimed ? 1 : 0;
  Next[CellTrail1Marked] = TrailCode == CellTrail1 ? CellEdge : CellTrail1;
  Next[CellTrail2Marked] = TrailCode == CellTrail2 ? CellEdge : CellTrail2;

  std::int32_t Count = 0;
  TRectGrowth Growth;
  for (std::int32_t X = 0; X < Width; ++X) {
    std::uint8_t* Col = Column(X);
    std::int32_t MinY = -1;
    std::int32_t MaxY = -1;
    for (std::int32_t Y = 0; Y < Height; ++Y) {
      const std::uint8_t C = Col[Y];
      if (C == CellFree) {
        if (MinY < 0) MinY = Y;
        MaxY = Y;
      }
      Col[Y] = Next[C];
      Count += Counts[C];
    }
    if (MinY >= 0) Growth.AddColumn(X, MinY, MaxY);
  }

  // Second pass: edges with claimed area on both sides (straight across or
  // around a corner) are claimed too. In place and in scan order, so an edge
  // claimed here already counts for the cells after it.
  for (std::int32_t X = 1; X + 1 < Width; ++X) {
    const std::uint8_t* Left = Column(X - 1);
    std::uint8_t* Col = Column(X);
    const std::uint8_t* Right = Column(X + 1);
    std::int32_t Y = 1;
    while (Y + 1 < Height) {
      const void* Found = std::memchr(Col + Y, CellEdge, static_cast<std::size_t>(Height - 1 - Y));
      if (!Found) break;
      Y = static_cast<std::int32_t>(static_cast<const std::uint8_t*>(Found) - Col);
      const bool L = Left[Y] == CellClaimed;
      const bool R = Right[Y] == CellClaimed;
      const bool U = Col[Y - 1] == CellClaimed;
      const bool D = Col[Y + 1] == CellClaimed;
      const bool LU = Left[Y - 1] == CellClaimed;
      const bool LD = Left[Y + 1] == CellClaimed;
      const bool RU = Right[Y - 1] == CellClaimed;
      const bool RD = Right[Y + 1] == CellClaimed;
      if ((R && L) || (D && U) || (R && D && LU) || (R && U && LD) || (L && D && RU) || (L && U && RD)) {
        Col[Y] = CellClaimed;
      }
      ++Y;
    }
  }

  DirtyRect = Growth.Widened();
  return Count;
}
