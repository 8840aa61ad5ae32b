#include "actors/Itembase.h"

#include "actors/Player.h"
#include "board/ShadowMask.h"
#include "common/CommonTypes.h"
#include "persist/Config.h"

std::string ItemSoundName(const std::string& ImageSetName) {
  if (ImageSetName.rfind("item_dollar", 0) == 0) return "item_dollar.wav";
  return ImageSetName + ".wav";
}

TItemBase::TItemBase(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak, const std::string& ImageSetName)
    : PickupSound(Pak, ItemSoundName(ImageSetName)), Settings(Settings) {
  LoadRequiredImageSet(Pak, ImageSetName, 1, Images);
  X = Pos.X;
  Y = Pos.Y;
  RandomizeLifetime();
}

void TItemBase::RandomizeLifetime() { Lifetime = static_cast<std::uint8_t>(150 + Random(100)); }

const TAlphaImage& TItemBase::CurrentImage() const { return ImageOrEmpty(Images, Frame); }

bool TItemBase::Touches(const TPlayer& Player) const {
  const TAlphaImage& Image = CurrentImage();
  const TPoint TopLeft = SpriteTopLeft(X, Y, Image);
  const long double Left = TopLeft.X;
  const long double Top = TopLeft.Y;
  return Left < Player.X && Player.X < Left + Image.Width() && Top < Player.Y && Player.Y < Top + Image.Height();
}

void TItemBase::UpdateAndDraw(TFastImageBuffer& Buffer, TPlayer& Player1, bool Frozen, const TShadowMask& ShadowMask,
                              TPlayer* Player2) {
  AdvanceFrame(Frame, FrameTicks, FrameDuration, Images.Count(), Frozen);

  const TAlphaImage& Image = CurrentImage();
  PaintActorSprite(Buffer, Image, SpriteTopLeft(X, Y, Image), ShadowMask);

  // Both players are asked, so two markers inside the picture in the same
  // tick both get the effect.
  if (Touches(Player1)) {
    Finished = true;
    Collect(Player1);
  }
  if (Player2 != nullptr && Touches(*Player2)) {
    Finished = true;
    Collect(*Player2);
  }

  // Counts on while frozen. Held at 0 so that an item left on the field
  // after it expired cannot come back to life with 255 ticks.
  if (Lifetime > 0 && --Lifetime == 0) Finished = true;
}

void TItemBase::Collect(TPlayer&) {
  Collected = true;
  if (!Settings.SoundOff) PickupSound.Play();  // one already playing goes on
}
