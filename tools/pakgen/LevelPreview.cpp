// Every level as the game will show it when it starts, and every actor on
// every level picture: drawn by the game's own board renderer, shadow mask
// and sprite blend from the written archive, with the level table the game
// plays from. Only for checking the art by eye.
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "Encode.h"
#include "Manifest.h"
#include "Preview.h"
#include "PreviewTool.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "game/LevelTable.h"
#include "gfx/AlphaImageList.h"
#include "pak/PakReader.h"

namespace {

constexpr std::int32_t TileWidth = 300;  // half the play area
constexpr std::int32_t TileHeight = 275;
constexpr std::int32_t Columns = 5;

// Each player's marker at the head of the unfinished trail the preview draws.
void DrawPlayers(const TPakFileReadable& Pak, TFastImageBuffer& PlayArea, const TShadowMask& Mask) {
  const char* const Sets[2] = {"player01", "player02"};
  for (int Player = 0; Player < 2; ++Player) {
    TAlphaImageList Frames;
    if (LoadImageSet(Pak, Sets[Player], 0, Frames) == 0) continue;
    const TTrailHead At = PreviewTrailHeads[Player];
    DrawShadedSprite(PlayArea, Frames[0], At.X - Frames[0].Width() / 2, At.Y - Frames[0].Height() / 2, Mask);
  }
}

// Pixel (X, Y) of the sheet gets the mean of the 2 x 2 block of the play
// area below it.
void PutHalfSize(const TFastImageBuffer& PlayArea, std::vector<std::uint8_t>& Sheet, std::int32_t SheetWidth,
                 std::int32_t Left, std::int32_t Top) {
  for (std::int32_t Y = 0; Y < TileHeight; ++Y)
    for (std::int32_t X = 0; X < TileWidth; ++X) {
      const TColorValue C[4] = {PlayArea.GetPixel(2 * X, 2 * Y), PlayArea.GetPixel(2 * X + 1, 2 * Y),
                                PlayArea.GetPixel(2 * X, 2 * Y + 1), PlayArea.GetPixel(2 * X + 1, 2 * Y + 1)};
      std::uint8_t* To = &Sheet[(static_cast<std::size_t>(Top + Y) * SheetWidth + (Left + X)) * 3];
      To[0] = static_cast<std::uint8_t>((GetRValue(C[0]) + GetRValue(C[1]) + GetRValue(C[2]) + GetRValue(C[3]) + 2) / 4);
      To[1] = static_cast<std::uint8_t>((GetGValue(C[0]) + GetGValue(C[1]) + GetGValue(C[2]) + GetGValue(C[3]) + 2) / 4);
      To[2] = static_cast<std::uint8_t>((GetBValue(C[0]) + GetBValue(C[1]) + GetBValue(C[2]) + GetBValue(C[3]) + 2) / 4);
    }
}

}  // namespace

void WriteLevelPreview(const std::string& PakPath, const std::string& Path) {
  const TPakFileReadable Pak(PakPath);
  const std::int32_t Rows = (LevelCount + Columns - 1) / Columns;
  const std::int32_t SheetWidth = Columns * TileWidth, SheetHeight = Rows * TileHeight;
  std::vector<std::uint8_t> Sheet(static_cast<std::size_t>(SheetWidth) * SheetHeight * 3, 0);
  for (std::int32_t Number = 1; Number <= LevelCount; ++Number) {
    const TLevelInfo& Level = LevelInfo(Number);
    TPreviewOptions Options;
    Options.Background = Level.Background;
    // The game draws a pattern at random; the preview shows them all in turn.
    Options.Shade = (Number - 1) % TShadowMask::PatternCount;
    Options.ImageSet = Level.EvilImageSet;
    Options.HasMessage = true;
    Options.Message = LevelTitle(Number, LevelInfo(Number).Name);
    try {
      TFastImageBuffer PlayArea = ComposePreview(Pak, Options);
      DrawPlayers(Pak, PlayArea, TShadowMask(Options.Shade));
      PutHalfSize(PlayArea, Sheet, SheetWidth, ((Number - 1) % Columns) * TileWidth, ((Number - 1) / Columns) * TileHeight);
    } catch (const EPreviewError&) {
      // A partial run (--only) lacks pictures; that level's tile stays black.
    }
  }
  WriteFile(Path, EncodePngRgb(Sheet.data(), SheetWidth, SheetHeight, 3));
}

namespace {

// One picture of the actor grid and where it sits on the board.
struct TGridCell {
  const TAlphaImage* Image;
  std::int32_t X, Y;  // the actor's position (the picture's centre)
};

// Lays the pictures out in rows, left to right: each row as tall as its
// tallest picture, a new row when the next one would cross the board's edge.
std::vector<TGridCell> LayOutGrid(const std::vector<std::vector<const TAlphaImage*>>& Rows, std::int32_t Width) {
  constexpr std::int32_t Margin = 26, Gap = 12;
  std::vector<TGridCell> Cells;
  std::int32_t Top = Margin;
  for (const auto& Row : Rows) {
    std::int32_t X = Margin, RowHeight = 0;
    std::vector<TGridCell> Line;
    auto Flush = [&] {
      for (TGridCell& C : Line) C.Y = Top + RowHeight / 2;
      Cells.insert(Cells.end(), Line.begin(), Line.end());
      Line.clear();
      Top += RowHeight + Gap;
      X = Margin;
      RowHeight = 0;
    };
    for (const TAlphaImage* Image : Row) {
      if (X + Image->Width() > Width - Margin) Flush();
      Line.push_back({Image, X + Image->Width() / 2, 0});
      X += Image->Width() + Gap;
      RowHeight = std::max(RowHeight, Image->Height());
    }
    if (!Line.empty()) Flush();
  }
  return Cells;
}

}  // namespace

void WriteActorGrid(const std::string& PakPath, const std::string& Folder) {
  const TPakFileReadable Pak(PakPath);
  // Every set's first picture; every facing of the markers; the explosion
  // also at its peak. Rows: markers, then the small actors, then the big
  // enemies.
  std::vector<TAlphaImageList> Sets(ManifestImageSets().size());
  std::vector<std::vector<const TAlphaImage*>> Rows(3);
  const TAlphaImage* FacingDown[2] = {nullptr, nullptr};  // each marker's, at the end of its trail
  for (std::size_t i = 0; i < Sets.size(); ++i) {
    const TImageSet& S = ManifestImageSets()[i];
    if (LoadImageSet(Pak, S.Name, S.First, Sets[i]) == 0) continue;  // a partial run (--only)
    const bool Marker = S.Name.rfind("player", 0) == 0;
    if (Marker && Sets[i].Count() > 2) FacingDown[S.Name == "player02"] = &Sets[i][2];
    auto& Row = Rows[Marker ? 0 : S.Name.rfind("evil_", 0) == 0 ? 2 : 1];
    const std::int32_t Shown = Marker ? std::min(4, Sets[i].Count()) : 1;
    for (std::int32_t n = 0; n < Shown; ++n) Row.push_back(&Sets[i][n]);
    if (S.Name == "explo01") Row.push_back(&Sets[i][std::max(0, Sets[i].Count() / 2 - 1)]);
  }
  const std::vector<TGridCell> Cells = LayOutGrid(Rows, TileWidth * 2);

  std::set<std::string> Backgrounds;
  std::int32_t Pattern = 0;
  for (std::int32_t Number = 1; Number <= LevelCount; ++Number) {
    const std::string Name = LevelInfo(Number).Background;
    if (!Backgrounds.insert(Name).second) continue;
    std::unique_ptr<TMemoryStream> Stream = Pak.GetStream(Name);
    if (!Stream) continue;
    TFastImageBuffer Background(nullptr, TileWidth * 2, TileHeight * 2);
    Background.LoadJpegFromStream(*Stream);
    const TShadowMask Mask(Pattern++ % TShadowMask::PatternCount);
    // The same layout twice: on free ground with the markers on their own
    // trails, and on claimed ground.
    TFastImageBuffer Halves[2] = {TFastImageBuffer(nullptr, Background.Width(), Background.Height()),
                                  TFastImageBuffer(nullptr, Background.Width(), Background.Height())};
    for (std::int32_t Claimed = 0; Claimed < 2; ++Claimed) {
      TMemBoard Board(Background.Width(), Background.Height());
      Board.SetUpLevelBoard();
      if (Claimed) {
        for (std::int32_t X = 21; X < Board.Width - 20; ++X)
          for (std::int32_t Y = 21; Y < Board.Height - 20; ++Y) Board.SetCell(X, Y, CellClaimed);
      } else {
        // Each marker facing down at the end of a trail from the top edge.
        for (std::int32_t Player = 0; Player < 2; ++Player)
          for (const TGridCell& C : Cells)
            if (FacingDown[Player] && C.Image == FacingDown[Player])
              Board.VerticalLine(21, C.Y, C.X, Player == 0 ? CellTrail1 : CellTrail2);
      }
      Board.Render({0, 0, Board.Width - 1, Board.Height - 1}, Halves[Claimed], Background, Mask);
      for (const TGridCell& C : Cells)
        DrawShadedSprite(Halves[Claimed], *C.Image, C.X - C.Image->Width() / 2, C.Y - C.Image->Height() / 2, Mask);
    }
    const std::int32_t Width = 2 * Background.Width() + 4, Height = Background.Height();
    std::vector<std::uint8_t> Rgb(static_cast<std::size_t>(Width) * Height * 3, 0);
    for (std::int32_t Half = 0; Half < 2; ++Half)
      for (std::int32_t Y = 0; Y < Height; ++Y)
        for (std::int32_t X = 0; X < Background.Width(); ++X) {
          const TColorValue C = Halves[Half].GetPixel(X, Y);
          std::uint8_t* To = &Rgb[(static_cast<std::size_t>(Y) * Width + X + Half * (Background.Width() + 4)) * 3];
          To[0] = GetRValue(C);
          To[1] = GetGValue(C);
          To[2] = GetBValue(C);
        }
    const std::string Base = Name.substr(0, Name.rfind('.'));
    WriteFile(Folder + "/actor_grid_" + Base + ".png", EncodePngRgb(Rgb.data(), Width, Height, 3));
  }
}
