#include "frontend/KeysPage.h"

#include "common/Scramble.h"
#include "frontend/MenuSounds.h"
#include "persist/Config.h"

namespace {

constexpr TScreenInfo KeysInfo{85, 182, 5, true, 4, 2, 5};
constexpr TColorValue White = RGB(255, 255, 255);
constexpr TColorValue Red = RGB(255, 0, 0);
constexpr std::int32_t KeysTop = 348;

}  // namespace

bool TKeyRows::Wait(int Player, std::int32_t Row) {
  std::int32_t& Waiting = Player == 1 ? FWaitingKey1 : FWaitingKey2;
  if (Waiting != -1) return false;
  Waiting = Row;
  return true;
}

bool TKeyRows::KeyInUse(std::uint16_t Key) const {
  const int Waiting = FWaitingKey1 >= 0 ? TConfig::Player1Keys + FWaitingKey1
                      : FWaitingKey2 >= 0 ? TConfig::Player2Keys + FWaitingKey2
                                       : -1;
  for (int Slot = TConfig::FirstKey; Slot <= TConfig::LastKey; ++Slot)
    if (Slot != Waiting && FConfig.Keys[static_cast<std::size_t>(Slot)] == Key) return true;
  return false;
}

bool TKeyRows::KeyDown(std::uint16_t& Key, TMenuSounds& Sounds) {
  if (FWaitingKey1 < 0 && FWaitingKey2 < 0) return false;
  if (Key == 27) {
    FWaitingKey1 = FWaitingKey2 = -1;
  }
  bool Bound = false;
  if (!IsBindableKey(Key) || KeyInUse(Key)) {
    Sounds.PlaySound(TMenuSound::Error);
  } else {
    Sounds.PlaySound(TMenuSound::Tick);
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
    Bound = true;
  }
  Key = 0;
  return Bound;
}

TKeysPage::TKeysPage(TMenuContext& Context, const TMenuPictureLoader& Load, int Player, TKeyRows& Rows)
    : TMenuPage(Context, KeysInfo),
      FPlayer(Player),
      FRows(Rows),
      FPicture(Load("player_keys.png")),
      FHeading(Load(Player == 1 ? "player_1_keys.png" : "player_2_keys.png")) {}

void TKeysPage::Activate(std::int32_t Entry) {
  if (Entry >= 0 && Entry <= 4) {
    if (FRows.Wait(FPlayer, Entry)) Ctx.Sounds.PlaySound(TMenuSound::Tick);
  } else if (Entry == 5) {
    Ctx.Host.SetScreen(TMenuScreen::Options);
  }
}

void TKeysPage::DrawKeysScreen(bool Force) {
  if (ContentAlpha() == 255 && !Force) return;
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  Ctx.Canvas.CopyBack(L, KeysTop, FPicture.Width() + 1, FPicture.Height());
  FPicture.DrawAlpha(Buffer(), L, KeysTop, ContentAlpha());
  ShowPicture(FHeading, TMenuCanvas::Left(FHeading), 312);
  const int First = FPlayer == 1 ? TConfig::Player1Keys : TConfig::Player2Keys;
  for (int Row = 0; Row < 5; ++Row)
    Ctx.Canvas.DrawText(KeyName(Ctx.Config.Keys[static_cast<std::size_t>(First + Row)]), L + 56, 353 + 30 * Row,
                        ContentAlpha() / 2);
}

void TKeysPage::DrawHighlight(bool Erase) {
  const std::int32_t L = TMenuCanvas::Left(FPicture);
  const std::int32_t Width = 2 * (FPicture.Width() / 2) + 1;
  const bool Waiting = FRows.Waiting();
  for (std::int32_t Row : {30 * Cursor(), 15 + 30 * Cursor()}) {
    const std::int32_t Y = KeysTop + Row;
    if (Erase) {
      Ctx.Canvas.CopyBack(L, Y, Width, 1);
      FPicture.DrawPart(Buffer(), L, Y, TRect{0, Row, FPicture.Width() - 1, Row});
    } else {
      const TColorValue Color = Waiting ? Red : White;
      const std::int32_t Alpha = Waiting ? PulseAlpha(70, 170) : PulseAlpha();
      for (std::int32_t X = L; X < L + Width; ++X) Buffer().BlendPixel(X, Y, Color, Alpha);
    }
  }
}
