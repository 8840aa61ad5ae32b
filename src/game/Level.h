// One level of the running game: its board, background picture, shade
// mask, big enemy and small enemies, the claimed cells, the time bonus, the
// level-end countdown and the item on the field.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/CommonTypes.h"
#include "persist/ExtraSettings.h"

class TEvil;
class TFastImageBuffer;
class TItemBase;
class TMemBoard;
class TPakFileReadable;
class TShadowMask;
class TSmallEvilBase;

class TLevel {
public:
  static constexpr std::int32_t TimeBonusFull = 2000;
  static constexpr std::uint8_t EndCountdownStart = 180;

  // An empty level for the claim bookkeeping alone: no board, no enemies.
  TLevel();
  // The level as played: the board with its border and margin, the
  // background picture BackgroundName (black when the archive lacks it), a
  // shade pattern drawn from the generator, and the small enemies of
  // SmallEvilSet around the big enemy, which the level takes over.
  TLevel(std::unique_ptr<TEvil> Evil, const TPakFileReadable& Pak, std::int32_t Width, std::int32_t Height,
         const std::string& Name, std::int32_t Number, const std::string& BackgroundName,
         std::int32_t SmallEvilSet);
  ~TLevel();
  TLevel(const TLevel&) = delete;
  TLevel& operator=(const TLevel&) = delete;

  std::string Name;
  std::unique_ptr<TEvil> Evil;
  std::vector<std::unique_ptr<TSmallEvilBase>> SmallEvils;
  std::unique_ptr<TMemBoard> Board;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::unique_ptr<TFastImageBuffer> Background;
  std::unique_ptr<TShadowMask> ShadowMask;
  std::int32_t ClaimedCells = 0;  // cells claimed in this level
  std::int32_t Number = 1;        // level number 1..29
  bool Intro = true;              // the title shows; the game stays frozen
  bool Completed = false;
  std::uint8_t EndCountdown = EndCountdownStart;
  TItemBase* Item = nullptr;  // not owned: the game owns the five items
  std::int32_t TimeBonus = TimeBonusFull;
  std::int32_t TimeBonusStart = TimeBonusFull;
  // How claimed ground is drawn; the game sets it from the settings.
  TClaimedGroundLook GroundLook = TClaimedGroundLook::Classic;

  TSmallEvilBase& SmallEvil(std::int32_t Index) const { return *SmallEvils[static_cast<std::size_t>(Index)]; }
  std::int32_t SmallEvilCount() const { return static_cast<std::int32_t>(SmallEvils.size()); }

  // Puts Item on the field with a fresh lifetime, neither finished nor
  // collected.
  void PlaceItem(TItemBase& NewItem);
  void ClearItem() { Item = nullptr; }
  // Re-renders the board cells of Rect into Target.
  void Redraw(TRect Rect, TFastImageBuffer& Target);
  // The same picture as Redraw, copied from the level's own rendering of
  // the board where no cell it shows has changed since it was rendered:
  // what lies under a sprite is put back without rendering it again.
  void Restore(TRect Rect, TFastImageBuffer& Target);
  void TickTimeBonus() { --TimeBonus; }

  // The claimed share relative to this level's target, 100 at the target
  // (it may exceed 100 with the last claim). Sets Completed once it reaches
  // 100; Completed then stays set.
  float ClaimedPercent();
  // The same share, read without touching Completed.
  float ClaimedShare() const;

private:
  // Rect clipped to the board; false when nothing of it is left.
  bool ClipToBoard(TRect& Rect) const;
  // Renders Rect (clipped) into FPicture and brings FRenderedCells along.
  void RenderPicture(const TRect& Rect);
  // Whether every cell the pixels of Rect (clipped) depend on still holds
  // what it held when they were rendered.
  bool PictureCurrent(const TRect& Rect) const;

  // The board as last rendered, whole, and the cells it was rendered from.
  // A pixel depends on its own cell and on the cells one and two steps up
  // and to the left (the drop shadow); a cell whose dependent pixels were
  // not all rendered together holds Unsettled, so that it never matches.
  std::unique_ptr<TFastImageBuffer> FPicture;
  std::vector<std::uint8_t> FRenderedCells;
};

// The small enemies of a set (0..6, others as 3) around the big enemy at
// (EvilX, EvilY), in creation order: kind 1..3 and position.
struct TSmallEvilPlacement {
  std::int32_t Kind;
  float X;
  float Y;
};
std::vector<TSmallEvilPlacement> SmallEvilPlacements(std::int32_t SmallEvilSet, float EvilX, float EvilY);
