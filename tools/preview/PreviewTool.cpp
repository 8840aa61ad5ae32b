#include "PreviewTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "actors/Evil.h"
#include "actors/Item_dollar01.h"
#include "actors/Item_dollar02.h"
#include "actors/Item_dollar03.h"
#include "actors/Item_heart.h"
#include "actors/Item_speed.h"
#include "actors/Player.h"
#include "actors/SmallEvil_evil01.h"
#include "actors/SmallEvil_evil02.h"
#include "actors/SmallEvil_evil03.h"
#include "PngEncode.h"
#include "board/MemBoard.h"
#include "board/ShadowMask.h"
#include "gfx/AlphaImageList.h"
#include "gfx/GameText.h"
#include "gfx/ImageErrors.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/FakeDisplay.h"
#include "platform/MessageBox.h"

#include <filesystem>
#include <unistd.h>

namespace {

constexpr std::int32_t BoardWidth = 600;
constexpr std::int32_t BoardHeight = 550;

const char* const Usage =
    "Usage: vyrn-preview [options] BACKGROUND SHADE IMAGESET [MESSAGE]\n"
    "\n"
    "Renders the 600 x 550 play area as a level shows it and writes a PNG:\n"
    "the level's starting board with one claimed region and an unfinished\n"
    "trail of each player, over the background, darkened by the shade\n"
    "pattern; the image set's first picture at the centre, shaded as the\n"
    "actors draw themselves; and the message in the game's bitmap font.\n"
    "\n"
    "  BACKGROUND   JPEG entry of the archive, e.g. back_simple01.jpg\n"
    "  SHADE        shade pattern, 0..18\n"
    "  IMAGESET     image set, e.g. evil_simple01 (its first picture is used)\n"
    "  MESSAGE      optional text, e.g. 'Level 1 - \"Simple 1\"'\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE   PNG to write (default preview.png)\n"
    "      --pak FILE      archive to read (default game.pak in the working directory)\n"
    "      --first N       number of the set's first picture (default: 00 when the\n"
    "                      archive has it, as the players' sets, else 01)\n"
    "      --actors KIND   draw the level's actors with their own drawing code\n"
    "                      instead: IMAGESET as the big enemy at the centre, two\n"
    "                      small enemies of KIND (1..3), both players at the ends\n"
    "                      of their trails and an item\n"
    "      --item SET      the item's set with --actors (default item_dollar01)\n"
    "      --clear         claimed ground, free ground and trails in the Clear look\n"
    "  -h, --help          this text\n"
    "\n"
    "Exit status: 0 written, 1 archive, entry or picture problem, 2 usage error.\n";

bool ParseInt(const std::string& Text, std::int32_t Min, std::int32_t Max, std::int32_t& Value) {
  if (Text.empty() || Text.size() > 9) return false;
  std::int64_t V = 0;
  for (char Ch : Text) {
    if (Ch < '0' || Ch > '9') return false;
    V = V * 10 + (Ch - '0');
  }
  if (V < Min || V > Max) return false;
  Value = static_cast<std::int32_t>(V);
  return true;
}

// One player's finished trail from the top border down and across to the
// right border, claimed the way the game claims it: the region the big
// enemy at the centre cannot reach.
void ClaimCorner(TMemBoard& Board) {
  Board.VerticalLine(20, 140, 420, CellTrail1);
  Board.HorizontalLine(420, 580, 140, CellTrail1);
  Board.FloodMark(BoardWidth / 2, BoardHeight / 2, CellEvilSide, CellTrail2);
  TRect Dirty;
  Board.ClaimUnmarked(CellTrail1, Dirty);
}

// Unfinished trails: player 1 from the left border, player 2 from the
// bottom border, each with one turn, ending at PreviewTrailHeads.
void DrawTrails(TMemBoard& Board) {
  const TTrailHead H1 = PreviewTrailHeads[0], H2 = PreviewTrailHeads[1];
  Board.HorizontalLine(21, H1.X, 330, CellTrail1);
  Board.VerticalLine(330, H1.Y, H1.X, CellTrail1);
  Board.VerticalLine(529, H2.Y, 470, CellTrail2);
  Board.HorizontalLine(470, H2.X, H2.Y, CellTrail2);
}

// The actors want settings; a scratch folder keeps the preview from touching
// the player's own config.dat.
class TScratchSettings {
public:
  TScratchSettings() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "vyrn-preview-XXXXXX").string();
    if (::mkdtemp(Pattern.data()) == nullptr) throw EPreviewError("cannot make a scratch folder for the settings");
    FFolder = Pattern;
    FSettings = std::make_unique<TConfig>(FDisplay, FFolder);
  }
  ~TScratchSettings() {
    FSettings.reset();
    std::error_code Ignored;
    std::filesystem::remove_all(FFolder, Ignored);
  }
  TConfig& Settings() { return *FSettings; }

private:
  TFakeDisplay FDisplay;
  std::string FFolder;
  std::unique_ptr<TConfig> FSettings;
};

std::unique_ptr<TItemBase> MakeItem(const std::string& Set, TPoint Pos, TConfig& Settings,
                                    const TPakFileReadable& Pak) {
  if (Set == TItem_speed::ImageSetName) return std::make_unique<TItem_speed>(Pos, Settings, Pak);
  if (Set == TItem_dollar02::ImageSetName) return std::make_unique<TItem_dollar02>(Pos, Settings, Pak);
  if (Set == TItem_dollar03::ImageSetName) return std::make_unique<TItem_dollar03>(Pos, Settings, Pak);
  if (Set == TItem_heart::ImageSetName) return std::make_unique<TItem_heart>(Pos, Settings, Pak);
  if (Set == TItem_dollar01::ImageSetName) return std::make_unique<TItem_dollar01>(Pos, Settings, Pak);
  throw EPreviewError("unknown item set \"" + Set + "\"");
}

// Every actor drawn by its own code, as one tick of the game draws them:
// item, big enemy, small enemies, then the players.
void DrawActors(TFastImageBuffer& PlayArea, const TMemBoard& Board, const TShadowMask& Mask,
                const TPakFileReadable& Pak, const TPreviewOptions& Options) {
  // A set the archive lacks would show a message box; in a tool it is an error.
  TRecordingMessageBox Boxes;
  IMessageBox* Old = SetMessageBoxHandler(&Boxes);
  struct TRestore {
    IMessageBox* Old;
    ~TRestore() { SetMessageBoxHandler(Old); }
  } Restore{Old};

  TScratchSettings Scratch;
  auto At = [](TTrailHead H) { return TPointF{static_cast<float>(H.X), static_cast<float>(H.Y)}; };
  TPlayer P1(At(PreviewTrailHeads[0]), 2, Pak, Scratch.Settings(), 0, "Player 1", "player01");
  TPlayer P2(At(PreviewTrailHeads[1]), 2, Pak, Scratch.Settings(), 1, "Player 2", "player02");
  P1.Direction = 2;  // down its trail
  for (TPlayer* P : {&P1, &P2}) {
    P->Appearing = false;
    P->FadeAlpha = 255;
  }
  TEvil Evil({BoardWidth / 2, BoardHeight / 2}, Options.ImageSet, 0, 0, 0, Pak);
  Evil.Frame = 0;
  std::vector<std::unique_ptr<TSmallEvilBase>> Small;
  for (const TPointF At : {TPointF{200, 200}, TPointF{470, 290}}) {
    if (Options.SmallEvilKind == 1) Small.push_back(std::make_unique<TSmallEvil_evil01>(At, Pak, 1));
    if (Options.SmallEvilKind == 2) Small.push_back(std::make_unique<TSmallEvil_evil02>(At, Pak, 1));
    if (Options.SmallEvilKind == 3) Small.push_back(std::make_unique<TSmallEvil_evil03>(At, Pak, 1));
  }
  for (auto& S : Small) S->Frame = 0;  // the same picture on every run
  std::unique_ptr<TItemBase> Item = MakeItem(Options.Item, {250, 480}, Scratch.Settings(), Pak);
  if (!Boxes.Shown.empty()) throw EPreviewError(Boxes.Shown.front().second);

  Item->UpdateAndDraw(PlayArea, P1, true, Mask, &P2);
  Evil.Draw(PlayArea, Board, true, Mask);
  for (auto& S : Small) S->UpdateAndDraw(PlayArea, P1, true, Mask, &P2);
  P1.Draw(PlayArea, Mask, {P2.TrailStartX, P2.TrailStartY});
  P2.Draw(PlayArea, Mask, {P1.TrailStartX, P1.TrailStartY});
}

}  // namespace

TFastImageBuffer ComposePreview(const TPakFileReadable& Pak, const TPreviewOptions& Options) {
  std::string Problem;
  if (!Pak.CheckArchive(Problem)) throw EPreviewError(Problem);

  TFastImageBuffer Background(nullptr, BoardWidth, BoardHeight);
  std::unique_ptr<TMemoryStream> BackStream = Pak.GetStream(Options.Background);
  if (!BackStream) throw EPreviewError("entry \"" + Options.Background + "\" not found in " + Pak.FileName);
  try {
    Background.LoadJpegFromStream(*BackStream);
  } catch (const EImageDecodeError& E) {
    throw EPreviewError("background \"" + Options.Background + "\": " + E.what());
  }

  TAlphaImageList Images;
  std::int32_t First = Options.FirstIndex;
  if (First < 0) First = Pak.GetStream(ImageSetEntryName(Options.ImageSet, 0)) ? 0 : 1;
  try {
    if (LoadImageSet(Pak, Options.ImageSet, First, Images) == 0)
      throw EPreviewError(MissingImageSetText(Options.ImageSet) + " (looked for " +
                          ImageSetEntryName(Options.ImageSet, First) + ")");
  } catch (const EImageDecodeError& E) {
    throw EPreviewError("image set \"" + Options.ImageSet + "\": " + E.what());
  }

  TMemBoard Board(BoardWidth, BoardHeight);
  Board.SetUpLevelBoard();
  ClaimCorner(Board);
  DrawTrails(Board);

  const TShadowMask Mask(Options.Shade);
  TFastImageBuffer PlayArea(nullptr, BoardWidth, BoardHeight);
  Board.Render(TRect{0, 0, BoardWidth - 1, BoardHeight - 1}, PlayArea, Background, Mask, Options.Look);

  if (Options.SmallEvilKind > 0) {
    DrawActors(PlayArea, Board, Mask, Pak, Options);
  } else {
    const TAlphaImage& Sprite = Images[0];
    DrawShadedSprite(PlayArea, Sprite, BoardWidth / 2 - Sprite.Width() / 2, BoardHeight / 2 - Sprite.Height() / 2,
                     Mask);
  }

  if (Options.HasMessage) {
    try {
      TGameText Text(Pak);
      if (Text.GlyphSheet().Width() == 0)
        throw EPreviewError(std::string("entry \"") + TGameText::GlyphSheetName + "\" not found in " + Pak.FileName);
      Text.ShowText(Options.Message, 100, 30);
      Text.Draw(PlayArea);
    } catch (const EImageDecodeError& E) {
      throw EPreviewError(std::string(TGameText::GlyphSheetName) + ": " + E.what());
    }
  }
  return PlayArea;
}

void WriteBufferPng(const TFastImageBuffer& Buffer, const std::string& Path) {
  if (Buffer.Width() < 1 || Buffer.Height() < 1) throw EPreviewError("nothing to write");
  // Frame-buffer rows are blue, green, red.
  const std::size_t RowBytes = static_cast<std::size_t>(Buffer.Width()) * 3;
  std::vector<std::uint8_t> Rgb(RowBytes * static_cast<std::size_t>(Buffer.Height()));
  for (std::int32_t Y = 0; Y < Buffer.Height(); ++Y) {
    const std::uint8_t* From = Buffer.ScanLine(Y);
    std::uint8_t* To = Rgb.data() + RowBytes * static_cast<std::size_t>(Y);
    for (std::size_t I = 0; I < RowBytes; I += 3) {
      To[I] = From[I + 2];
      To[I + 1] = From[I + 1];
      To[I + 2] = From[I];
    }
  }
  const TBytes Png = EncodePngRgb(Rgb.data(), Buffer.Width(), Buffer.Height());

  std::FILE* File = std::fopen(Path.c_str(), "wb");
  if (!File) throw EPreviewError("cannot write " + Path + ": " + std::strerror(errno));
  const bool Written = std::fwrite(Png.data(), 1, Png.size(), File) == Png.size();
  const int WriteErrno = errno;
  const bool Closed = std::fclose(File) == 0;
  if (!Written || !Closed) {
    std::remove(Path.c_str());
    throw EPreviewError("cannot write " + Path + ": " + std::strerror(Written ? errno : WriteErrno));
  }
}

int RunPreviewTool(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
  TPreviewOptions Options;
  std::vector<std::string> Positional;
  for (std::size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    auto Value = [&](std::string& Into) {
      if (I + 1 >= Args.size()) return false;
      Into = Args[++I];
      return true;
    };
    if (A == "-h" || A == "--help") {
      Out << Usage;
      return 0;
    } else if (A == "-o" || A == "--output") {
      if (!Value(Options.OutputPath)) {
        Err << "vyrn-preview: " << A << " needs a file name\n";
        return 2;
      }
    } else if (A == "--pak") {
      if (!Value(Options.PakPath)) {
        Err << "vyrn-preview: --pak needs a file name\n";
        return 2;
      }
    } else if (A == "--first") {
      std::string N;
      if (!Value(N) || !ParseInt(N, 0, 999999, Options.FirstIndex)) {
        Err << "vyrn-preview: --first needs a number\n";
        return 2;
      }
    } else if (A == "--actors") {
      std::string N;
      if (!Value(N) || !ParseInt(N, 1, 3, Options.SmallEvilKind)) {
        Err << "vyrn-preview: --actors needs a small-enemy kind, 1 to 3\n";
        return 2;
      }
    } else if (A == "--item") {
      if (!Value(Options.Item)) {
        Err << "vyrn-preview: --item needs an item set\n";
        return 2;
      }
    } else if (A == "--clear") {
      Options.Look = TClaimedGroundLook::Clear;
    } else if (A == "--") {
      Positional.insert(Positional.end(), Args.begin() + static_cast<std::ptrdiff_t>(I) + 1, Args.end());
      break;
    } else if (A.size() > 1 && A[0] == '-') {
      Err << "vyrn-preview: unknown option " << A << "\n" << Usage;
      return 2;
    } else {
      Positional.push_back(A);
    }
  }
  if (Positional.size() < 3 || Positional.size() > 4) {
    Err << Usage;
    return 2;
  }
  Options.Background = Positional[0];
  if (!ParseInt(Positional[1], 0, TShadowMask::PatternCount - 1, Options.Shade)) {
    Err << "vyrn-preview: shade pattern must be a number from 0 to " << TShadowMask::PatternCount - 1 << ", not \""
        << Positional[1] << "\"\n";
    return 2;
  }
  Options.ImageSet = Positional[2];
  if (Positional.size() == 4) {
    Options.HasMessage = true;
    Options.Message = Positional[3];
  }

  try {
    const TPakFileReadable Pak(Options.PakPath);
    const TFastImageBuffer Picture = ComposePreview(Pak, Options);
    WriteBufferPng(Picture, Options.OutputPath);
  } catch (const EPreviewError& E) {
    Err << "vyrn-preview: " << E.what() << "\n";
    return 1;
  } catch (const EPakReadError& E) {
    Err << "vyrn-preview: " << E.what() << "\n";
    return 1;
  }
  Out << "wrote " << Options.OutputPath << "\n";
  return 0;
}
