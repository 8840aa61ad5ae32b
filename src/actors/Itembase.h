// Items: animated pick-ups that stay a few seconds on a free spot of the
// playfield. A marker whose centre enters the picture collects the item;
// the kinds differ only in what Collect does to the player.
#pragma once

#include <cstdint>
#include <string>

#include "actors/ActorSprite.h"
#include "audio/SoundEffect.h"
#include "gfx/AlphaImageList.h"

class TConfig;
class TFastImageBuffer;
class TPakFileReadable;
class TPlayer;
class TShadowMask;

class TItemBase {
public:
  TItemBase(const TItemBase&) = delete;
  TItemBase& operator=(const TItemBase&) = delete;
  virtual ~TItemBase() = default;

  std::uint8_t Frame = 0;
  std::uint8_t FrameTicks = 0;
  std::uint8_t Lifetime = 0;  // ticks left on the field
  std::int32_t FrameDuration = 2;
  TAlphaImageList Images;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool Finished = false;  // collected or expired; the running game removes it next tick
  TSoundEffect PickupSound;
  TConfig& Settings;  // not owned; only SoundOff is read
  std::string Message;
  bool Collected = false;  // the running game then shows Message

  // Lifetime = 150 + Random(100).
  void RandomizeLifetime();
  const TAlphaImage& CurrentImage() const;
  // Animation (unless Frozen), painting, pick-up by either player, expiry.
  // Player2 is nullptr in a one-player game.
  void UpdateAndDraw(TFastImageBuffer& Buffer, TPlayer& Player1, bool Frozen, const TShadowMask& ShadowMask,
                     TPlayer* Player2);
  // The kind's effect on Player and its Message; each kind ends with the
  // base, which sets Collected and plays the pick-up sound (unless SoundOff
  // or already playing).
  virtual void Collect(TPlayer& Player);

protected:
  // Loads ImageSetName from number 01 (with the empty-set box) and the
  // pick-up sound ItemSoundName(ImageSetName); Lifetime is drawn at once.
  TItemBase(TPoint Pos, TConfig& Settings, const TPakFileReadable& Pak, const std::string& ImageSetName);

  // True when Player's centre lies strictly inside the picture at its
  // current place.
  bool Touches(const TPlayer& Player) const;
};

// The pick-up sound of a set: the three money items share "item_dollar.wav",
// every other kind uses its set name + ".wav".
std::string ItemSoundName(const std::string& ImageSetName);
