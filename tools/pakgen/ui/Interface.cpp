// The game's interface pictures: panels, digit strips, glyph sheets, the
// pictures of the running game and of the menu, and composites that show how
// they line up with what the game draws over them.
#include "Generators.h"
#include "ui/UiParts.h"

void GenerateInterface(std::vector<TPakEntry>& Out, const std::string& PreviewDir) {
  ui::TUiAssets Assets(Out);
  ui::MakeGlyphSheets(Assets);
  ui::MakeGamePictures(Assets);
  ui::MakeMenuPictures(Assets);
  ui::MakeMenuScreens(Assets);
  if (!PreviewDir.empty()) ui::WriteComposites(Assets, Out, PreviewDir);
}
