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

// Cond ? IfTrue : Else with masks instead of a branch, so that loops over
// cells stay free of jumps and can be vectorised.
inline std::uint8_t Pick(bool Cond, std::uint8_t IfTrue, std::uint8_t Else) {
  const std::uint8_t Mask = static_cast<std::uint8_t>(-static_cast<int>(Cond));
  return static_cast<std::uint8_t>((IfTrue & Mask) | (Else & ~Mask));
}

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
  if (!Contains(X, Y)) return;

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

  // The same test as Enter, for the run fill: a pass code outside 0..255
  // matches no cell, so it falls back to the free code.
  const std::uint8_t PassByte = (PassCode >= 0 && PassCode <= 255) ? static_cast<std::uint8_t>(PassCode) : CellFree;

  std::uint8_t& Start = FCells[CellIndex(X, Y)];
  Start = Mark[Start];

  if (!Enter[MarkCode]) {
    // Every entered cell turns into a code that is never entered again, so
    // the marked set is simply the connected region: fill it run by run.
    FloodMarkRuns(X, Y, PassByte, Mark.data());
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

void TMemBoard::FloodMarkRuns(std::int32_t X, std::int32_t Y, std::uint8_t PassByte, const std::uint8_t* Mark) {
  // Runs follow the columns, which are contiguous in memory. A seed names an
  // enterable cell of a run still to be filled and the run it was found
  // beside: that run is already marked, so its cells need no second look.
  auto Enter = [PassByte](std::uint8_t C) { return C == CellFree || C == PassByte; };
  const std::int32_t W = Width;  // locals: cell writes may alias the fields
  const std::int32_t H = Height;
  FSeeds.clear();
  auto ScanSide = [&](std::int32_t NX, std::int32_t From, std::int32_t To, std::int32_t RunX, std::int32_t RunY0,
                      std::int32_t RunY1) {
    const std::uint8_t* Side = Column(NX);
    std::int32_t I = From;
    while (I <= To) {
      while (I <= To && !Enter(Side[I])) ++I;
      if (I > To) break;
      FSeeds.push_back(TFloodSeed{NX, I, RunX, RunY0, RunY1});
      while (I <= To && Enter(Side[I])) ++I;
    }
  };

  // The start cell is already rewritten; its neighbours have no run beside
  // them yet.
  constexpr std::int32_t NoRun = -1;
  if (X > 0 && Enter(GetCell(X - 1, Y))) FSeeds.push_back(TFloodSeed{X - 1, Y, NoRun, 0, -1});
  if (X < W - 1 && Enter(GetCell(X + 1, Y))) FSeeds.push_back(TFloodSeed{X + 1, Y, NoRun, 0, -1});
  if (Y > 0 && Enter(GetCell(X, Y - 1))) FSeeds.push_back(TFloodSeed{X, Y - 1, NoRun, 0, -1});
  if (Y < H - 1 && Enter(GetCell(X, Y + 1))) FSeeds.push_back(TFloodSeed{X, Y + 1, NoRun, 0, -1});

  while (!FSeeds.empty()) {
    const TFloodSeed Seed = FSeeds.back();
    FSeeds.pop_back();

    std::uint8_t* Col = Column(Seed.X);
    if (!Enter(Col[Seed.Y])) continue;  // filled since it was pushed
    std::int32_t Y0 = Seed.Y;
    while (Y0 > 0 && Enter(Col[Y0 - 1])) --Y0;
    std::int32_t Y1 = Y0;
    for (; Y1 < H && Enter(Col[Y1]); ++Y1) Col[Y1] = Mark[Col[Y1]];
    --Y1;

    if (Seed.FromX == NoRun) {
      if (Seed.X > 0) ScanSide(Seed.X - 1, Y0, Y1, Seed.X, Y0, Y1);
      if (Seed.X < W - 1) ScanSide(Seed.X + 1, Y0, Y1, Seed.X, Y0, Y1);
      continue;
    }
    // The far side in full; on the near side only what lies beyond the run
    // the seed came from.
    const std::int32_t FarX = 2 * Seed.X - Seed.FromX;
    if (FarX >= 0 && FarX < W) ScanSide(FarX, Y0, Y1, Seed.X, Y0, Y1);
    ScanSide(Seed.FromX, Y0, std::min(Y1, Seed.FromY0 - 1), Seed.X, Y0, Y1);
    ScanSide(Seed.FromX, std::max(Y0, Seed.FromY1 + 1), Y1, Seed.X, Y0, Y1);
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
    if (!Contains(NX, NY)) continue;
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
  // First pass. What the trail codes become depends on who claims: the
  // claiming trail turns edge wherever it is; the other trail is claimed
  // where the flood missed it and stays a trail where the flood reached it.
  const std::uint8_t Trail1To = TrailCode == CellTrail1 ? CellEdge : CellClaimed;
  const std::uint8_t Trail2To = TrailCode == CellTrail2 ? CellEdge : CellClaimed;
  const std::uint8_t Trail1MarkedTo = TrailCode == CellTrail1 ? CellEdge : CellTrail1;
  const std::uint8_t Trail2MarkedTo = TrailCode == CellTrail2 ? CellEdge : CellTrail2;
  const std::uint8_t Trail1Counts = Trail1To == CellClaimed ? 1 : 0;
  const std::uint8_t Trail2Counts = Trail2To == CellClaimed ? 1 : 0;

  // Locals: writes through the byte pointers below could otherwise alias
  // the fields and force them to be reloaded for every cell.
  const std::int32_t W = Width;
  const std::int32_t H = Height;
  std::int32_t Count = 0;
  TRectGrowth Growth;
  for (std::int32_t X = 0; X < W; ++X) {
    std::uint8_t* Col = Column(X);
    // Only free cells grow the rectangle; find the column's first and last.
    if (const void* First = std::memchr(Col, CellFree, static_cast<std::size_t>(H))) {
      std::int32_t Last = H - 1;
      while (Col[Last] != CellFree) --Last;
      Growth.AddColumn(X, static_cast<std::int32_t>(static_cast<const std::uint8_t*>(First) - Col), Last);
    }
    // Branch-free so that the compiler can process many cells at once.
    std::uint32_t ColumnCount = 0;
    for (std::int32_t Y = 0; Y < H; ++Y) {
      const std::uint8_t C = Col[Y];
      ColumnCount += static_cast<std::uint32_t>(C == CellFree) + static_cast<std::uint32_t>((C == CellTrail1) & Trail1Counts) +
                     static_cast<std::uint32_t>((C == CellTrail2) & Trail2Counts);
      std::uint8_t N = C;
      N = Pick(C == CellFree, CellClaimed, N);
      N = Pick(C == CellEvilSide, CellFree, N);
      N = Pick(C == CellTrail1, Trail1To, N);
      N = Pick(C == CellTrail2, Trail2To, N);
      N = Pick(C == CellTrail1Marked, Trail1MarkedTo, N);
      N = Pick(C == CellTrail2Marked, Trail2MarkedTo, N);
      Col[Y] = N;
    }
    Count += static_cast<std::int32_t>(ColumnCount);
  }

  // Second pass: edges with claimed area on both sides (straight across or
  // around a corner) are claimed too. In place and in scan order, so an edge
  // claimed here already counts for the cells after it.
  for (std::int32_t X = 1; X + 1 < W; ++X) {
    const std::uint8_t* Left = Column(X - 1);
    std::uint8_t* Col = Column(X);
    const std::uint8_t* Right = Column(X + 1);
    std::int32_t Y = 1;
    while (Y + 1 < H) {
      const void* Found = std::memchr(Col + Y, CellEdge, static_cast<std::size_t>(H - 1 - Y));
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

std::int32_t TMemBoard::Claim(std::int32_t PlayerX, std::int32_t PlayerY, std::int32_t EvilX, std::int32_t EvilY,
                              std::uint8_t TrailCode, TRect& DirtyRect) {
  if (Contains(PlayerX, PlayerY)) SetCell(PlayerX, PlayerY, CellEdge);
  // The other player's trail does not stop the enemy's side.
  const std::int32_t PassCode = TrailCode == CellTrail1 ? CellTrail2 : CellTrail1;
  FloodMark(EvilX, EvilY, CellEvilSide, PassCode);
  return ClaimUnmarked(TrailCode, DirtyRect);
}
