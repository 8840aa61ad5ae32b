// One player's marker: runs along the edges, cuts trails into the free
// field while the draw key is held, and carries the player's lives, score,
// name and sounds.
#pragma once

#include <cstdint>
#include <string>

#include "actors/ActorSprite.h"
#include "audio/SoundEffect.h"
#include "gfx/AlphaImageList.h"

class TConfig;
class TMemBoard;
class TPakFileReadable;

class TPlayer {
public:
  static constexpr std::int32_t ExtraLifeStep = 50000;
  static constexpr std::int32_t ExtraLifeSteps = 10;  // no life above 500,000
  static constexpr std::int32_t BlinkDuration = 70;
  static constexpr float StartSpeed = 5.0f;
  // A drawing marker walled in by trails for this many ticks (1.5 s) gives
  // way as if its trail were hit; otherwise it would stand there for good.
  static constexpr std::int32_t StuckLimit = 50;

  // StartPos (20, 20) for player 1, (580, 20) for player 2. Loads the
  // player set ImageSetName from number 00 (with the empty-set box) and the
  // explosion set "explo01" from 01 (silently), and the six sounds.
  TPlayer(TPointF StartPos, std::int32_t Lives, const TPakFileReadable& Pak, TConfig& Settings,
          std::int32_t PlayerIndex, const std::string& DisplayName, const std::string& ImageSetName);
  TPlayer(const TPlayer&) = delete;
  TPlayer& operator=(const TPlayer&) = delete;

  std::int32_t Direction = 1;  // 0 up, 1 right, 2 down, 3 left; index into Images
  std::int32_t ExplosionFrame = 0;
  std::int32_t ExplosionTicks = 0;
  std::int32_t FrameDuration = 2;
  TAlphaImageList Images;
  TAlphaImageList ExplosionImages;
  float X = 0;
  float Y = 0;
  float Speed = StartSpeed;
  bool IsDrawing = false;
  bool IsExploding = false;  // set and cleared by the running game
  bool Respawned = false;    // one tick after the explosion; the running game clears it
  float SafeX = 0;
  float SafeY = 0;
  float TrailStartX = 0;
  float TrailStartY = 0;
  bool WasDrawing = false;
  std::int32_t TrailStartDirection = 1;
  std::int64_t Score = 0;
  std::int32_t Lives = 0;
  float StartX = 0;
  float StartY = 0;
  std::string DisplayName;
  bool GameOver = false;
  std::int32_t PlayerIndex = 0;
  std::int8_t LastDX = 0;
  std::int8_t LastDY = 0;
  std::int32_t TrailCode = 4;  // PlayerIndex + 4: CellTrail1 or CellTrail2
  bool Vanishing = false;
  bool Appearing = true;
  std::int32_t FadeAlpha = 0;
  bool Blinking = false;
  std::int32_t BlinkTicks = 0;
  bool ExtraLifeAwarded = false;  // the running game redraws the lives and clears it
  std::int32_t StuckTicks = 0;    // ticks in a row a drawing marker had no way on
  TSoundEffect DrawSound;
  TSoundEffect RunSound;
  TSoundEffect ExplosionSound;
  TSoundEffect WarpSound;
  TSoundEffect VanishSound;
  TSoundEffect ExtraLifeSound;
  TConfig& Settings;  // not owned; only SoundOff is read

  // One step: DX, DY are -1, 0 or 1 with exactly one non-zero (any other
  // pair does nothing). ClosedTrail
  // is set when the step ended a trail on an edge cell; the running game
  // then claims and sets the end cell back to edge.
  void Move(std::int32_t DX, std::int32_t DY, bool DrawKey, TMemBoard& Board, bool& ClosedTrail);
  // Advances the fade, blink and explosion state and paints the sprite.
  // OtherTrailStart: the other player's TrailStartX/Y (this player's own in
  // a one-player game), where a vanished marker reappears.
  void Draw(TFastImageBuffer& Buffer, const TShadowMask& ShadowMask, TPointF OtherTrailStart);

  // Whether a Move in some direction would take the marker anywhere from
  // where it stands (turn snapping included). Only a drawing marker can be
  // walled in: on the edge it always has a way back along the edge.
  bool HasLegalMove(const TMemBoard& Board) const;
  // Once per tick of play: counts the ticks a drawing marker has had no
  // legal move and says true when they reach StuckLimit. Anything else (on
  // the edge, a way out, exploding, fading, out of the game) starts the
  // count afresh.
  bool CountStuckTick(const TMemBoard& Board);
  // The explosion has shown its last frame: the next Draw respawns.
  bool ExplosionOver() const { return IsExploding && ExplosionFrame > ExplosionImages.Count() - 1; }

  // Speed * 2 / 3 while drawing, else Speed.
  float GetSpeed() const;
  // The explosion frame while exploding, else the direction picture; an
  // empty 0 x 0 picture where the set has none.
  const TAlphaImage& CurrentImage() const;

  // Negative values store 0 and set GameOver.
  void SetLives(std::int32_t Value);
  // Stores Value and awards a life for each 50,000 step crossed upwards,
  // up to 500,000.
  void SetScore(std::int64_t Value);
  // Back to the level start, facing the start direction, not drawing.
  void ResetToStart();
  // Fade out (ignored while fading in); the marker reappears at the other
  // player's trail start.
  void StartVanish();

  // Unless SoundOff: start the sound; one already playing goes on.
  void StartDrawSound();
  void StartRunSound();
  void PlayExplosionSound();
  void PlayWarpSound();
  void PlayVanishSound();
  void PlayExtraLifeSound();
  // Halt the looping sounds at once, SoundOff or not.
  void StopDrawSound();
  void StopRunSound();

private:
  // How far a marker at (FromX, FromY) may go along (DX, DY) over cells
  // holding Expected, at most Limit.
  float Reach(const TMemBoard& Board, float FromX, float FromY, std::int32_t DX, std::int32_t DY,
              std::uint8_t Expected, float Limit) const;
  void PlayUnlessOff(TSoundEffect& Sound);
  void PaintSprite(TFastImageBuffer& Buffer, const TShadowMask& ShadowMask, TPointF OtherTrailStart);
};
