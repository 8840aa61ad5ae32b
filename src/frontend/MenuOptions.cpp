// The options screen (music, sound effects, volume, full screen, the way to
// the key screens) and the two key screens of the menu.
#include "audio/AudioObject.h"
#include "frontend/Menu.h"
#include "persist/Config.h"
#include "common/Scramble.h"

namespace {

constexpr TColorValue White = RGB(255, 255, 255);
constexpr TColorValue Red = RGB(255, 0, 0);
constexpr std::int32_t OptionsTop = 282;
constexpr std::int32_t KeysTop = 348;

// First glyph of the "on/off" display of options rows 0, 1 and 3.
struct TSwitchPlace {
  std::int32_t X, Y;
};
constexpr TSwitchPlace MusicPlace{366, 323};
constexpr TSwitchPlace SoundPlace{380, 353};
constexpr TSwitchPlace FullScreenPlace{410, 413};
constexpr std::int32_t VolumeX = 380, VolumeY = 383, VolumeTrack = 110;

}  // namespace

void TMenu::DrawOptionsContent() {
  const TAlphaImage& Picture = Image(TImage::Options);
  CopyBack(Left(Picture), OptionsTop, Picture.Width(), Picture.Height());
  Picture.DrawAlpha(FFrameBuffer, Left(Picture), OptionsTop, FContentAlpha);
  DrawOptionValues();
}

void TMenu::DrawOptionValues() {
  const TAlphaImage& Picture = Image(TImage::Options);
  const std::int32_t L = Left(Picture);
  // The picture's own pixels under a value, so the value can be redrawn alone.
  auto Restore = [&](std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H) {
    CopyBack(X, Y, W, H);
    Picture.DrawPartAlpha(FFrameBuffer, X, Y, TRect{X - L, Y - OptionsTop, X - L + W - 1, Y - OptionsTop + H - 1},
                          FContentAlpha);
  };
  auto Switch = [&](TSwitchPlace Place, bool On) {
    Restore(Place.X, Place.Y, 48, 8);
    const std::int32_t Full = FContentAlpha, Half = FContentAlpha / 2;
    DrawText("on", Place.X, Place.Y, On ? Full : Half);
    DrawGlyph('/', Place.X + 16, Place.Y, Full);
    DrawText("off", Place.X + 24, Place.Y, On ? Half : Full);
  };
  Switch(MusicPlace, !FConfig.MusicOff);
  Switch(SoundPlace, !FConfig.SoundOff);
  Switch(FullScreenPlace, FConfig.FullScreen);
  const TAlphaImage& Marker = Image(TImage::Volume);
  Restore(VolumeX, VolumeY, VolumeTrack, Marker.Height());
  Marker.DrawAlpha(FFrameBuffer, VolumeX + FConfig.Volume, VolumeY, FContentAlpha);
}

void TMenu::DrawOptionCursor(bool Erase) {
  const TAlphaImage& Picture = Image(TImage::Options);
  const std::int32_t L = Left(Picture);
  const std::int32_t Width = 2 * (Picture.Width() / 2) + 1;
  for (std::int32_t Row : {36 + 30 * FCursor, 51 + 30 * FCursor}) {
    const std::int32_t Y = OptionsTop + Row;
    if (Erase) {
      CopyBack(L, Y, Width, 1);
      Picture.DrawPart(FFrameBuffer, L, Y, TRect{0, Row, Picture.Width() - 1, Row});
    } else {
      const std::int32_t P = PulseAlpha();
      for (std::int32_t X = L; X < L + Width; ++X) FFrameBuffer.BlendPixel(X, Y, White, P);
    }
  }
}

void TMenu::OptionLeftRight(bool Right) {
  switch (FCursor) {
    case 0:
      if (!Right && FConfig.MusicOff) {
        PlaySound(SoundTick);
        FConfig.SetMusicOff(false);
        RestartMusic();
        DrawOptionValues();
      } else if (Right && !FConfig.MusicOff) {
        PlaySound(SoundTick);
        FConfig.SetMusicOff(true);
        StopMusic();
        DrawOptionValues();
      }
      return;
    case 1:
      // The flag goes first, so turning sound off is silent.
      FConfig.SetSoundOff(Right);
      PlaySound(SoundTick);
      DrawOptionValues();
      return;
    case 2: {
      const int Volume = FConfig.Volume;
      int NewVolume = Volume;
      if (!Right && Volume > 0) NewVolume = Volume <= 3 ? 0 : Volume - 4;
      else if (Right && Volume < 100) NewVolume = std::min(Volume + 4, 100);
      else return;
      FConfig.Volume = static_cast<std::uint8_t>(NewVolume);
      FMusicLevel = NewVolume;
      FAudio.SetVolume(NewVolume);
      PlaySound(SoundTick);
      DrawOptionValues();
      return;
    }
    case 3:
      if (Right == FConfig.FullScreen) {
        FConfig.SetFullScreen(!Right);
        PlaySound(SoundTick);
        DrawOptionValues();
      }
      return;
    default: return;
  }
}

void TMenu::ActivateOption(int Entry) {
  if (FOptionCooldown >= 1) return;
  switch (Entry) {
    case 0:
      FConfig.SetMusicOff(!FConfig.MusicOff);
      PlaySound(SoundTick);
      DrawOptionValues();
      if (FConfig.MusicOff) StopMusic();
      else RestartMusic();
      break;
    case 1:
      FConfig.SetSoundOff(!FConfig.SoundOff);
      PlaySound(SoundTick);
      DrawOptionValues();
      break;
    case 3:
      FConfig.SetFullScreen(!FConfig.FullScreen);
      PlaySound(SoundTick);
      DrawOptionValues();
      break;
    default: return;  // the volume row has nothing to toggle
  }
  FOptionCooldown = 4;
}

void TMenu::DrawKeysScreen(int Player, bool Force) {
  if (FContentAlpha == 255 && !Force) return;
  const TAlphaImage& Keys = Image(TImage::Keys);
  const std::int32_t L = Left(Keys);
  CopyBack(L, KeysTop, Keys.Width() + 1, Keys.Height());
  Keys.DrawAlpha(FFrameBuffer, L, KeysTop, FContentAlpha);
  const TAlphaImage& Heading = Image(Player == 1 ? TImage::Player1Keys : TImage::Player2Keys);
  CopyBack(Left(Heading), 312, Heading.Width(), Heading.Height());
  Heading.DrawAlpha(FFrameBuffer, Left(Heading), 312, FContentAlpha);
  const int First = Player == 1 ? TConfig::Player1Keys : TConfig::Player2Keys;
  for (int Row = 0; Row < 5; ++Row)
    DrawText(KeyName(FConfig.Keys[static_cast<std::size_t>(First + Row)]), L + 56, 353 + 30 * Row,
             FContentAlpha / 2);
}

void TMenu::DrawKeysCursor(bool Erase) {
  const TAlphaImage& Keys = Image(TImage::Keys);
  const std::int32_t L = Left(Keys);
  const std::int32_t Width = 2 * (Keys.Width() / 2) + 1;
  const bool Waiting = FWaitingKey1 >= 0 || FWaitingKey2 >= 0;
  for (std::int32_t Row : {30 * FCursor, 15 + 30 * FCursor}) {
    const std::int32_t Y = KeysTop + Row;
    if (Erase) {
      CopyBack(L, Y, Width, 1);
      Keys.DrawPart(FFrameBuffer, L, Y, TRect{0, Row, Keys.Width() - 1, Row});
    } else {
      const TColorValue Color = Waiting ? Red : White;
      const std::int32_t Alpha = Waiting ? PulseAlpha(70, 170) : PulseAlpha();
      for (std::int32_t X = L; X < L + Width; ++X) FFrameBuffer.BlendPixel(X, Y, Color, Alpha);
    }
  }
}

bool TMenu::KeyInUse(std::uint16_t Key) const {
  const int Waiting = FWaitingKey1 >= 0 ? TConfig::Player1Keys + FWaitingKey1
                      : FWaitingKey2 >= 0 ? TConfig::Player2Keys + FWaitingKey2
                                          : -1;
  for (int Slot = TConfig::FirstKey; Slot <= TConfig::LastKey; ++Slot)
    if (Slot != Waiting && FConfig.Keys[static_cast<std::size_t>(Slot)] == Key) return true;
  return false;
}

void TMenu::KeyDown(std::uint16_t& Key) {
  if (FWaitingKey1 < 0 && FWaitingKey2 < 0) return;
  if (Key == 27) {
    FWaitingKey1 = FWaitingKey2 = -1;
  }
  if (!IsBindableKey(Key) || KeyInUse(Key)) {
    PlaySound(SoundError);
  } else {
    PlaySound(SoundTick);
    TKeyGroup K1, K2;
    for (int Row = 0; Row < 5; ++Row) {
      K1[static_cast<std::size_t>(Row)] = FConfig.Keys[static_cast<std::size_t>(TConfig::Player1Keys + Row)];
      K2[static_cast<std::size_t>(Row)] = FConfig.Keys[static_cast<std::size_t>(TConfig::Player2Keys + Row)];
    }
    if (FWaitingKey1 >= 0) K1[static_cast<std::size_t>(FWaitingKey1)] = Key;
    FConfig.SetPlayer1Keys(K1);
    FWaitingKey1 = -1;
    if (FWaitingKey2 >= 0) K2[static_cast<std::size_t>(FWaitingKey2)] = Key;
    FConfig.SetPlayer2Keys(K2);
    FWaitingKey2 = -1;
    if (FScreen == ScreenKeys1) DrawKeysScreen(1, true);
    else if (FScreen == ScreenKeys2) DrawKeysScreen(2, true);
  }
  Key = 0;
}
