#include "frontend/OptionsPage.h"

#include <algorithm>

#include "audio/AudioObject.h"
#include "frontend/MenuMusic.h"
#include "frontend/MenuSounds.h"
#include "persist/Config.h"

namespace {

constexpr TScreenInfo OptionsInfo{100, 210, 6, true, 4, 2, 6};
constexpr TColorValue White = RGB(255, 255, 255);
constexpr std::int32_t OptionsTop = 282;

// First glyph of the "on/off" display of rows 0, 1 and 3.
struct TSwitchPlace {
  std::int32_t X, Y;
};
constexpr TSwitchPlace MusicPlace{366, 323};
constexpr TSwitchPlace SoundPlace{380, 353};
constexpr TSwitchPlace FullScreenPlace{410, 413};
constexpr std::int32_t VolumeX = 380, VolumeY = 383, VolumeTrack = 110;

}  // namespace

TOptionsPage::TOptionsPage(TMenuContext& Context, const TMenuPictureLoader& Load)
    : TMenuPage(Context, OptionsInfo), FPicture(Load("options.png")), FVolumeMarker(Load("volume_control.png")) {}

void TOptionsPage::DrawScreenContent() {
  if (ContentAlpha() == 255) return;
  ShowPicture(FPicture, TMenuCanvas::Left(FPicture), OptionsTop);
  DrawOptionValues();
}

void TOptionsPage::VolumeChanged() {
  if (ContentAlpha() == 255) DrawOptionValues();
}

void TOptionsPage::DrawOptionValues() {
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  const std::int32_t Alpha = ContentAlpha();
  // The picture's own pixels under a value, so the value can be redrawn alone.
  auto Restore = [&](std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H) {
    Ctx.Canvas.CopyBack(X, Y, W, H);
    FPicture.DrawPartAlpha(Buffer(), X, Y, TRect{X - L, Y - OptionsTop, X - L + W - 1, Y - OptionsTop + H - 1}, Alpha);
  };
  auto Switch = [&](TSwitchPlace Place, bool On) {
    Restore(Place.X, Place.Y, 48, 8);
    const std::int32_t Full = Alpha, Half = Alpha / 2;
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
}

void TOptionsPage::DrawHighlight(bool Erase) {
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  const std::int32_t Width = 2 * (FPicture.Width() / 2) + 1;
  for (std::int32_t Row : {36 + 30 * Cursor(), 51 + 30 * Cursor()}) {
    const std::int32_t Y = OptionsTop + Row;
    if (Erase) {
      Ctx.Canvas.CopyBack(L, Y, Width, 1);
      FPicture.DrawPart(Buffer(), L, Y, TRect{0, Row, FPicture.Width() - 1, Row});
    } else {
      const std::int32_t P = PulseAlpha();
      for (std::int32_t X = L; X < L + Width; ++X) Buffer().BlendPixel(X, Y, White, P);
    }
  }
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
    default: return;
  }
}

void TOptionsPage::Activate(std::int32_t Entry) {
  switch (Entry) {
    case 4: Ctx.Host.SetScreen(TMenuScreen::Keys1); return;
    case 5: Ctx.Host.SetScreen(TMenuScreen::Keys2); return;
    case 6: Ctx.Host.SetScreen(TMenuScreen::Main); return;
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
    default: return;  // the volume row has nothing to toggle
  }
  FOptionCooldown = 4;
}
