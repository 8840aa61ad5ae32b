#include "frontend/OptionsPage.h"

#include <algorithm>
#include <string>

#include "audio/AudioObject.h"
#include "frontend/MenuMusic.h"
#include "frontend/MenuSounds.h"
#include "persist/Config.h"

namespace {

constexpr TScreenInfo OptionsInfo{100, 240, 7, true, 4, 2, 7};
constexpr TColorValue White = RGB(255, 255, 255);
// "options.png" has no row for the claimed-ground look: its upper part
// (heading and rows 0..3) stands 30 pixels higher than the picture's own
// place, the new row takes the freed band, and the lower part (the key
// screens and back) stays where it always was. The frame grows by the row.
constexpr std::int32_t OptionsTop = 282;
constexpr std::int32_t UpperTop = OptionsTop - 30;
constexpr std::int32_t UpperRows = 36 + 30 * 4;  // picture rows of the upper part
constexpr std::int32_t GroundRow = 4;
constexpr std::int32_t GroundRowTop = UpperTop + UpperRows;  // the new band, 30 high

// Window line of the first highlight line of a row.
constexpr std::int32_t RowTop(std::int32_t Row) { return UpperTop + 36 + 30 * Row; }

// First glyph of the "on/off" display of rows 0, 1 and 3.
struct TSwitchPlace {
  std::int32_t X, Y;
};
constexpr TSwitchPlace MusicPlace{366, RowTop(0) + 5};
constexpr TSwitchPlace SoundPlace{380, RowTop(1) + 5};
constexpr TSwitchPlace FullScreenPlace{410, RowTop(3) + 5};
constexpr std::int32_t VolumeX = 380, VolumeY = RowTop(2) + 5, VolumeTrack = 110;
// The claimed-ground row, set in the small font: a gold label as the
// picture's labels are, the two looks after it as the switches show theirs.
constexpr const char* GroundLabel = "CLAIMED";
constexpr const char* GroundLeftWord = "classic";
constexpr const char* GroundRightWord = "clear";
constexpr TSwitchPlace GroundPlace{390, RowTop(GroundRow) + 5};
constexpr std::int32_t GroundWidth = 8 * 13;
constexpr std::int32_t LabelInset = 6;  // the picture's labels start there

}  // namespace

TOptionsPage::TOptionsPage(TMenuContext& Context, const TMenuPictureLoader& Load)
    : TMenuPage(Context, OptionsInfo), FPicture(Load("options.png")), FVolumeMarker(Load("volume_control.png")) {}

std::int32_t TOptionsPage::PictureRowAt(std::int32_t Y) {
  if (Y < GroundRowTop) return Y - UpperTop;
  if (Y < GroundRowTop + 30) return -1;
  return Y - OptionsTop;
}

void TOptionsPage::DrawPicture(std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H, bool Faded) {
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  for (std::int32_t Line = Y; Line < Y + H; ++Line) {
    const std::int32_t Row = PictureRowAt(Line);
    if (Row < 0) continue;
    const TRect Src{X - L, Row, X - L + W - 1, Row};
    if (Faded) FPicture.DrawPartAlpha(Buffer(), X, Line, Src, ContentAlpha());
    else FPicture.DrawPart(Buffer(), X, Line, Src);
  }
}

void TOptionsPage::DrawScreenContent() {
  if (ContentAlpha() == 255) return;
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  const std::int32_t Bottom = OptionsTop + FPicture.Height();
  Ctx.Canvas.CopyBack(L, UpperTop, FPicture.Width(), Bottom - UpperTop);
  FPicture.DrawPartAlpha(Buffer(), L, UpperTop, TRect{0, 0, FPicture.Width() - 1, UpperRows - 1}, ContentAlpha());
  FPicture.DrawPartAlpha(Buffer(), L, GroundRowTop + 30,
                         TRect{0, UpperRows, FPicture.Width() - 1, FPicture.Height() - 1}, ContentAlpha());
  DrawGroundLabel();
  DrawOptionValues();
}

void TOptionsPage::DrawGroundLabel() {
  if (FGroundLabel.Width() == 0) {
    // The small font's warm white turned into the labels' gold, lighter at
    // the top as theirs are.
    const std::string Text = GroundLabel;
    FGroundLabel = TAlphaImage(8 * static_cast<std::int32_t>(Text.size()), 8);
    for (std::size_t I = 0; I < Text.size(); ++I) {
      const TAlphaImage& Glyph = Ctx.Canvas.CharImage(Text[I]);
      for (std::int32_t Y = 0; Y < 8; ++Y)
        for (std::int32_t X = 0; X < 8; ++X) {
          const std::int32_t Lum = Glyph.GetRed(X, Y);
          auto Tint = [&](std::int32_t Top, std::int32_t Foot) {
            return static_cast<std::uint32_t>((Top * (7 - Y) + Foot * Y) / 7 * Lum / 255);
          };
          const TRGBAPixel Pixel = Tint(255, 252) | Tint(248, 196) << 8 | Tint(226, 96) << 16 |
                                   static_cast<TRGBAPixel>(Glyph.GetAlpha(X, Y)) << 24;
          FGroundLabel.SetPixel(8 * static_cast<std::int32_t>(I) + X, Y, Pixel);
        }
    }
  }
  const std::int32_t X = TMenuCanvas::Left(FPicture) + LabelInset, Y = GroundPlace.Y;
  FGroundLabel.DrawAlpha(Buffer(), X, Y, ContentAlpha());
  // The dotted leader the picture draws between a label and its value.
  const TColorValue Dots = RGB(184, 170, 226);
  for (std::int32_t DX = X + FGroundLabel.Width() + 4; DX < GroundPlace.X - 5; DX += 3)
    Buffer().BlendPixel(DX, Y + 6, Dots, 102 * ContentAlpha() / 255);
}

void TOptionsPage::VolumeChanged() {
  if (ContentAlpha() == 255) DrawOptionValues();
}

void TOptionsPage::DrawOptionValues() {
  const std::int32_t Alpha = ContentAlpha();
  // The picture's own pixels under a value, so the value can be redrawn alone.
  auto Restore = [&](std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H) {
    Ctx.Canvas.CopyBack(X, Y, W, H);
    DrawPicture(X, Y, W, H, true);
  };
  const std::int32_t Full = Alpha, Half = Alpha / 2;
  auto Switch = [&](TSwitchPlace Place, bool On) {
    Restore(Place.X, Place.Y, 48, 8);
    Ctx.Canvas.DrawText("on", Place.X, Place.Y, On ? Full : Half);
    Ctx.Canvas.DrawGlyph('/', Place.X + 16, Place.Y, Full);
    Ctx.Canvas.DrawText("off", Place.X + 24, Place.Y, On ? Half : Full);
  };
  const TConfig& Config = Ctx.Config;
  Switch(MusicPlace, !Config.MusicOff);
  Switch(SoundPlace, !Config.SoundOff);
  Switch(FullScreenPlace, Config.FullScreen);
  Restore(VolumeX, VolumeY, VolumeTrack, FVolumeMarker.Height());
  FVolumeMarker.DrawAlpha(Buffer(), VolumeX + Config.Volume, VolumeY, Alpha);

  const bool Clear = Config.Extras.ClaimedGround == TClaimedGroundLook::Clear;
  const std::int32_t LeftWidth = 8 * static_cast<std::int32_t>(std::string(GroundLeftWord).size());
  Ctx.Canvas.CopyBack(GroundPlace.X, GroundPlace.Y, GroundWidth, 8);
  Ctx.Canvas.DrawText(GroundLeftWord, GroundPlace.X, GroundPlace.Y, Clear ? Half : Full);
  Ctx.Canvas.DrawGlyph('/', GroundPlace.X + LeftWidth, GroundPlace.Y, Full);
  Ctx.Canvas.DrawText(GroundRightWord, GroundPlace.X + LeftWidth + 8, GroundPlace.Y, Clear ? Full : Half);
}

void TOptionsPage::DrawHighlight(bool Erase) {
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  const std::int32_t Width = 2 * (FPicture.Width() / 2) + 1;
  for (std::int32_t Y : {RowTop(Cursor()), RowTop(Cursor()) + 15}) {
    if (Erase) {
      Ctx.Canvas.CopyBack(L, Y, Width, 1);
      DrawPicture(L, Y, FPicture.Width(), 1, false);
    } else {
      const std::int32_t P = PulseAlpha();
      for (std::int32_t X = L; X < L + Width; ++X) Buffer().BlendPixel(X, Y, White, P);
    }
  }
}

void TOptionsPage::SetGroundLook(TClaimedGroundLook Look) {
  Ctx.Config.Extras.SetClaimedGround(Look);
  Ctx.Sounds.PlaySound(TMenuSound::Tick);
  DrawOptionValues();
}

void TOptionsPage::LeftRight(bool Right) {
  TConfig& Config = Ctx.Config;
  TMenuSounds& Sounds = Ctx.Sounds;
  switch (Cursor()) {
    case 0:
      if (!Right && Config.MusicOff) {
        Sounds.PlaySound(TMenuSound::Tick);
        Config.SetMusicOff(false);
        Ctx.Music.RestartMusic();
        DrawOptionValues();
      } else if (Right && !Config.MusicOff) {
        Sounds.PlaySound(TMenuSound::Tick);
        Config.SetMusicOff(true);
        Ctx.Music.StopMusic();
        DrawOptionValues();
      }
      return;
    case 1:
      // The flag goes first, so turning sound off is silent.
      Config.SetSoundOff(Right);
      Sounds.PlaySound(TMenuSound::Tick);
      DrawOptionValues();
      return;
    case 2: {
      const int Volume = Config.Volume;
      int NewVolume = Volume;
      if (!Right && Volume > 0) NewVolume = Volume <= 3 ? 0 : Volume - 4;
      else if (Right && Volume < 100) NewVolume = std::min(Volume + 4, 100);
      else return;
      Config.Volume = static_cast<std::uint8_t>(NewVolume);
      Ctx.Music.SetMusicLevel(NewVolume);
      Ctx.Music.SetVolume(NewVolume);
      Sounds.PlaySound(TMenuSound::Tick);
      DrawOptionValues();
      return;
    }
    case 3:
      if (Right == Config.FullScreen) {
        Config.SetFullScreen(!Right);
        Sounds.PlaySound(TMenuSound::Tick);
        DrawOptionValues();
      }
      return;
    case GroundRow: {
      const TClaimedGroundLook Wanted = Right ? TClaimedGroundLook::Clear : TClaimedGroundLook::Classic;
      if (Config.Extras.ClaimedGround != Wanted) SetGroundLook(Wanted);
      return;
    }
    default: return;
  }
}

void TOptionsPage::Activate(std::int32_t Entry) {
  switch (Entry) {
    case 5: Ctx.Host.SetScreen(TMenuScreen::Keys1); return;
    case 6: Ctx.Host.SetScreen(TMenuScreen::Keys2); return;
    case 7: Ctx.Host.SetScreen(TMenuScreen::Main); return;
    default:
      if (Entry >= 0) Toggle(Entry);
      return;
  }
}

void TOptionsPage::Toggle(std::int32_t Entry) {
  if (FOptionCooldown >= 1) return;
  TConfig& Config = Ctx.Config;
  switch (Entry) {
    case 0:
      Config.SetMusicOff(!Config.MusicOff);
      Ctx.Sounds.PlaySound(TMenuSound::Tick);
      DrawOptionValues();
      if (Config.MusicOff) Ctx.Music.StopMusic();
      else Ctx.Music.RestartMusic();
      break;
    case 1:
      Config.SetSoundOff(!Config.SoundOff);
      Ctx.Sounds.PlaySound(TMenuSound::Tick);
      DrawOptionValues();
      break;
    case 3:
      Config.SetFullScreen(!Config.FullScreen);
      Ctx.Sounds.PlaySound(TMenuSound::Tick);
      DrawOptionValues();
      break;
    case GroundRow:
      SetGroundLook(Config.Extras.ClaimedGround == TClaimedGroundLook::Clear ? TClaimedGroundLook::Classic
                                                                            : TClaimedGroundLook::Clear);
      break;
    default: return;  // the volume row has nothing to toggle
  }
  FOptionCooldown = 4;
}
