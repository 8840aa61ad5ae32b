// Every level as the game will show it when it starts: drawn by the game's
// own board renderer and shadow mask from the written archive, with the
// level table the game plays from. Only for checking the art by eye.
#include <cstdint>
#include <string>
#include <vector>

#include "Encode.h"
#include "Preview.h"
#include "PreviewTool.h"
#include "board/ShadowMask.h"
#include "game/LevelTable.h"
#include "gfx/AlphaImageList.h"
#include "pak/PakReader.h"

namespace {

constexpr std::int32_t TileWidth = 300;  // half the play area
constexpr std::int32_t TileHeight = 275;
constexpr std::int32_t Columns = 5;

// The level's title as the game words it.
std::string LevelTitle(std::int32_t Number) {
  return "Level " + std::to_string(Number) + " - \"" + LevelInfo(Number).Name + "\"";
}

// Each player's marker at the head of the unfinished trail the preview draws.
void DrawPlayers(const TPakFileReadable& Pak, TFastImageBuffer& PlayArea, const TShadowMask& Mask) {
  struct TMarker {
    const char* Set;
    std::int32_t X, Y;
  };
  for (const TMarker& M : {TMarker{"player01", 160, 430}, TMarker{"player02", 360, 410}}) {
    TAlphaImageList Frames;
    if (LoadImageSet(Pak, M.Set, 0, Frames) == 0) continue;
    DrawShadedSprite(PlayArea, Frames[0], M.X - Frames[0].Width() / 2, M.Y - Frames[0].Height() / 2, Mask);
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
    Options.Message = LevelTitle(Number);
    try {
      TFastImageBuffer PlayArea = ComposePreview(Pak, Options);
      DrawPlayers(Pak, PlayArea, TShadowMask(Options.Shade));
      PutHalfSize(PlayArea, Sheet, SheetWidth, ((Number - 1) % Columns) * TileWidth, ((Number - 1) / Columns) * TileHeight);
    } catch (const EPreviewError&) {
      // A partial run (--only) lacks pictures; that level's tile stays black.
    }
  }
  TPngFormat Format;
  Format.Width = SheetWidth;
  Format.Height = SheetHeight;
  Format.Colour = TPngColour::Rgb;
  Format.Compression = 3;
  WriteFile(Path, EncodePng(Format, Sheet.data(), static_cast<std::size_t>(SheetWidth) * 3));
}
