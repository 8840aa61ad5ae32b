#include "game/GameData.h"

#include <algorithm>
#include <exception>

#include "actors/Evil.h"
#include "actors/ItemSpawn.h"
#include "actors/Item_dollar01.h"
#include "actors/Item_dollar02.h"
#include "actors/Item_dollar03.h"
#include "actors/Item_heart.h"
#include "actors/Item_speed.h"
#include "actors/Player.h"
#include "actors/SmallEvilBase.h"
#include "audio/AudioObject.h"
#include "board/MemBoard.h"
#include "common/Fnv.h"
#include "common/OutOfMemory.h"
#include "game/LevelTable.h"
#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/MessageBox.h"
#include "platform/Panel.h"

namespace {

constexpr TColorValue Grey160 = TFastImageBuffer::MakeColor(160, 160, 160);

}  // namespace

TGameData::TGameData(std::int32_t GameWidth, std::int32_t StartLevel, std::int32_t StartLives,
                     const TPakFileReadable& Pak, TAudioObject* Audio, TConfig& Config, bool TwoPlayers,
                     const TFastImageBuffer& MenuBuffer, TPanel* BottomImage, TPanel* RightImage, TScreen* DC,
                     std::int32_t GameHeight, std::function<void()> PresentNow)
    : PlayArea(DC, 600, 550),
      Panels(DC),
      FPak(Pak),
      FAudio(Audio),
      FConfig(Config),
      FBottomImage(BottomImage),
      FRightImage(RightImage),
      FPresentNow(std::move(PresentNow)),
      FTwoPlayers(TwoPlayers) {
  // Nothing else paints the play area's place while the game runs.
  PlayArea.SetPaintsAlone(true);
  // 1. Sounds.
  FLevelEndedMusic = Pak.GetOptionalStream("level_ended.ogg");
  FGameEndedMusic = Pak.GetOptionalStream("game_ended.ogg");
  FFillSound = std::make_unique<TSoundEffect>(Pak, "fill.wav");

  // 2. The menu's picture stays under the loading bar.
  PlayArea.CopyRect(0, 0, MenuBuffer, 0, 0, 600, 550);
  TAlphaImage Loading;
  LoadPicture(Pak, "loading.png", Loading);
  Loading.Draw(PlayArea, 304, 285);
  ShowLoadingBar(MenuBuffer, 10);

  // 3.
  LoadPicture(Pak, "game_paused_menu.png", PauseImage);
  ShowLoadingBar(MenuBuffer, 20);
  // 4.
  Panels.ShowRightPicture(Pak, TwoPlayers, RightImage);
  Panels.LoadDeadImage(Pak);
  ShowLoadingBar(MenuBuffer, 30);
  // 5. The backgrounds came with the right picture.
  ShowLoadingBar(MenuBuffer, 40);
  Panels.ShowBottomPicture(Pak, BottomImage);
  Width = GameWidth;
  Height = GameHeight;
  ShowLoadingBar(MenuBuffer, 50);
  // 6.
  // An undecodable font sheet gives blank glyphs, as no sheet at all does.
  Text = std::make_unique<TGameText>(LoadPicture(Pak, TGameText::GlyphSheetName));
  Panels.CutDigits(Pak, 0);
  ShowLoadingBar(MenuBuffer, 60);
  Panels.CutDigits(Pak, 1);
  ShowLoadingBar(MenuBuffer, 70);
  Panels.CutDigits(Pak, 2);
  // 7.
  Items[ItemHeart] = std::make_unique<TItem_heart>(TPoint{0, 0}, Config, Pak);
  Items[ItemDollar01] = std::make_unique<TItem_dollar01>(TPoint{0, 0}, Config, Pak);
  Items[ItemDollar02] = std::make_unique<TItem_dollar02>(TPoint{0, 0}, Config, Pak);
  Items[ItemDollar03] = std::make_unique<TItem_dollar03>(TPoint{0, 0}, Config, Pak);
  Items[ItemSpeed] = std::make_unique<TItem_speed>(TPoint{0, 0}, Config, Pak);
  ShowLoadingBar(MenuBuffer, 80);
  // 8.
  LoadPicture(Pak, "bonus_awarded.png", BonusImage);
  LevelNumber = std::clamp(StartLevel, 1, LevelCount);
  ShowLoadingBar(MenuBuffer, 90);
  // 9.
  Players.push_back(std::make_unique<TPlayer>(TPointF{20, 20}, StartLives, Pak, Config, 0, "Player 1", "player01"));
  if (FTwoPlayers)
    Players.push_back(std::make_unique<TPlayer>(TPointF{static_cast<float>(Width - 20), 20}, StartLives, Pak, Config,
                                                1, "Player 2", "player02"));
  ShowLoadingBar(MenuBuffer, 100);
  // 10., 11.
  LoadLevel();
  DrawScoresAndLives();
  for (const auto& Player : Players) Player->PlayWarpSound();
}

TGameData::~TGameData() {
  // The items outlive the level that may still point at one of them.
  Level.reset();
  TGamePanels::ClearPanel(FBottomImage);
  TGamePanels::ClearPanel(FRightImage);
  if (FFillSound) FFillSound->Halt();
}

void TGameData::ShowLoadingBar(const TFastImageBuffer& MenuBuffer, std::int32_t Percent) {
  const std::int32_t B = static_cast<std::int32_t>(RoundHalfEven(static_cast<long double>(Percent) * 197.0L / 100.0L));
  PlayArea.CopyRect(305, 295, MenuBuffer, 305, 295, B, 9);
  for (std::int32_t Y = 295; Y <= 303; ++Y)
    for (std::int32_t X = 305; X <= 305 + B; ++X) PlayArea.BlendPixel(X, Y, TFastImageBuffer::MakeColor(160, 0, 0), 70);
  PlayArea.PaintTo(0, 0);
  if (FPresentNow) FPresentNow();
}

void TGameData::LoadLevel() {
  Level.reset();
  LevelNumber = std::clamp(LevelNumber, 1, LevelCount);
  const TLevelInfo& Info = LevelInfo(LevelNumber);
  const TPointF Centre{static_cast<float>(Width / 2), static_cast<float>(Height / 2)};
  auto Evil = std::make_unique<TEvil>(Centre, Info.EvilImageSet, Info.NormalMaxSpeed, Info.RushMaxSpeed,
                                      Info.Attraction, FPak);
  Level = std::make_unique<TLevel>(std::move(Evil), FPak, Width, Height, Info.Name, LevelNumber, Info.Background,
                                   Info.SmallEvilSet);
  Level->GroundLook = FConfig.Extras.ClaimedGround;
  Text->ShowText(LevelTitle(LevelNumber, Info.Name), 100, 50);
  Level->Redraw({0, 0, Width - 1, Height - 1}, PlayArea);
  FadeOut = false;
  DrawLevelNumber();
  DrawPercent();
  DrawTimeBar();
  // Every new enemy hunts the nearer player from the start.
  const TPlayer& P1 = *Players[0];
  Level->Evil->ChooseTarget(P1, Player2());
  for (const auto& Small : Level->SmallEvils) Small->ChooseTarget(P1, Player2());
}

void TGameData::OfferHints() {
  if (FConfig.Extras.HintsSeen) return;
  std::vector<std::uint16_t> DrawKeys{FConfig.PlayerKey(1, TConfig::KeyDraw)};
  if (FTwoPlayers) DrawKeys.push_back(FConfig.PlayerKey(2, TConfig::KeyDraw));
  FHints = std::make_unique<TIntroHints>(*Text, TIntroHints::Lines(DrawKeys), Width);
}

bool TGameData::HintsOnScreen() const {
  // The pause menu and the level end have the middle of the field to themselves.
  return FHints && FHints->Visible() && Level && !FPaused && !Level->Completed && !BonusShown && !FadeOut;
}

// ---- Movement -------------------------------------------------------------

void TGameData::MovePlayer1(std::int8_t DX, std::int8_t DY, bool DrawKey) { MovePlayer(0, DX, DY, DrawKey); }

void TGameData::MovePlayer2(std::int8_t DX, std::int8_t DY, bool DrawKey) {
  if (FTwoPlayers) MovePlayer(1, DX, DY, DrawKey);
}

void TGameData::MovePlayer(std::int32_t Index, std::int8_t DX, std::int8_t DY, bool DrawKey) {
  TPlayer& Player = *Players[static_cast<std::size_t>(Index)];
  if (Frozen || Player.GameOver || !Level || !Level->Board) return;
  TMemBoard& Board = *Level->Board;
  bool ClosedTrail = false;
  Player.Move(DX, DY, DrawKey, Board, ClosedTrail);
  if (!ClosedTrail) return;

  PlaySound(4);
  TRect Dirty;
  const std::int32_t Count = Board.Claim(NearestPixel(Player.X), NearestPixel(Player.Y), NearestPixel(Level->Evil->X),
                                         NearestPixel(Level->Evil->Y), Index == 0 ? CellTrail1 : CellTrail2, Dirty);
  Level->ClaimedCells += Count;
  if (FHints) {
    // The first claim: the player has the idea, the hints stop for good.
    FHints.reset();
    FHintFrame.reset();
    FConfig.Extras.SetHintsSeen(true);
  }
  Player.SetScore(Player.Score + ClaimScore(Count, LevelNumber));

  if (FTwoPlayers) {
    TPlayer& Other = *Players[static_cast<std::size_t>(1 - Index)];
    const std::int32_t OX = NearestPixel(Other.X), OY = NearestPixel(Other.Y);
    if (Board.Contains(OX, OY) && Board.GetCell(OX, OY) == CellClaimed) Other.StartVanish();
  }

  Level->Redraw(Dirty, PlayArea);
  if (Index == 0) DrawScore1();
  else DrawScore2();
  if (Player.ExtraLifeAwarded) {
    if (Index == 0) DrawLives1();
    else DrawLives2();
  }
  DrawPercent();
}

void TGameData::MoveEvil() {
  if (Frozen || !Level) return;
  if (Random(100) == 0) Level->Evil->ChooseTarget(*Players[0], Player2());
  Level->Evil->Move(*Level->Board);
}

void TGameData::MoveSmallEvils() {
  if (Frozen || !Level) return;
  for (const auto& Small : Level->SmallEvils) {
    if (Random(100) == 0) Small->ChooseTarget(*Players[0], Player2());
    Small->Move(TPoint{Width, Height});
  }
}

void TGameData::SpawnItems() {
  if (!Level) return;
  if (!SpawnChance(Frozen || FEnded, Level->TimeBonus < 0, Level->Item != nullptr)) return;
  TItemBase* Item = nullptr;
  switch (ChooseItemKind(LevelNumber, *Players[0], Player2())) {
    case TItemKind::Dollar03: Item = Items[ItemDollar03].get(); break;
    case TItemKind::Dollar02: Item = Items[ItemDollar02].get(); break;
    case TItemKind::Dollar01: Item = Items[ItemDollar01].get(); break;
    case TItemKind::Speed: Item = Items[ItemSpeed].get(); break;
    case TItemKind::Heart: Item = Items[ItemHeart].get(); break;
    case TItemKind::None: return;
  }
  TPoint Spot;
  // When no free spot turns up the last one drawn is used, as ever.
  FindFreeSpot(*Level->Board, Spot);
  Item->X = Spot.X;
  Item->Y = Spot.Y;
  Level->PlaceItem(*Item);
}

// ---- Update -----------------------------------------------------------------

void TGameData::EraseBox(std::int32_t X, std::int32_t Y, std::int32_t RX, std::int32_t RY) {
  Level->Restore({X - RX, Y - RY, X + RX, Y + RY}, PlayArea);
}

void TGameData::EraseItemBox(const TItemBase& Item) {
  const TAlphaImage& Image = Item.CurrentImage();
  EraseBox(Item.X, Item.Y, Image.Width() / 2, Image.Height() / 2);
}

void TGameData::EraseItemOnField() {
  if (!Level->Item) return;
  EraseItemBox(*Level->Item);
  Level->ClearItem();
}

void TGameData::EraseMoverBox(float X, float Y, float Step, const TAlphaImage& Image) {
  const std::int32_t RX =
      static_cast<std::int32_t>(RoundHalfEven(static_cast<long double>(Step) + Image.Width() / 2.0L)) + 1;
  const std::int32_t RY =
      static_cast<std::int32_t>(RoundHalfEven(static_cast<long double>(Step) + Image.Height() / 2.0L)) + 1;
  EraseBox(NearestPixel(X), NearestPixel(Y), RX, RY);
}

void TGameData::EraseSprites() {
  if (TItemBase* Item = Level->Item) {
    EraseItemBox(*Item);
    if (Item->Finished) {
      if (Item->Collected) {
        Text->ShowText(Item->Message, 70, 50);
        DrawScoresAndLives();
      }
      Level->ClearItem();
    }
  }
  for (const auto& Player : Players)
    if (!Player->GameOver || Player->IsExploding)
      EraseMoverBox(Player->X, Player->Y, Player->GetSpeed(), Player->CurrentImage());
  const TEvil& Evil = *Level->Evil;
  EraseMoverBox(Evil.X, Evil.Y, Evil.Velocity(), Evil.CurrentImage());
  for (const auto& Small : Level->SmallEvils)
    EraseMoverBox(Small->X, Small->Y, Small->Velocity(), Small->CurrentImage());
  if (Text->Opacity() > 0 && !Text->IsIdle())
    EraseBox(Width / 2 + 18, Height / 2, Text->TextWidth(), Text->TextHeight());
}

void TGameData::Kill(TPlayer& Player) {
  Player.StopDrawSound();
  Player.PlayExplosionSound();
  Player.IsExploding = true;
  Player.SetLives(Player.Lives - 1);
}

void TGameData::StartGameOver(std::uint8_t Countdown) {
  Level->Completed = true;
  QuitConfirmed = true;
  Level->EndCountdown = Countdown;
}

void TGameData::ResolveHits() {
  // The last small enemy that reports a hit overrides the big enemy.
  std::int32_t Hit = Level->Evil->HitTrail;
  for (const auto& Small : Level->SmallEvils)
    if (Small->HitPlayer >= 0) Hit = Small->HitPlayer;
  if (Hit < 0) return;
  if (FTwoPlayers) {
    if (Hit > 1) return;
    TPlayer& Player = *Players[static_cast<std::size_t>(Hit)];
    if (Player.IsExploding || Player.GameOver) return;
    Kill(Player);
    if (Players[0]->GameOver && Players[1]->GameOver) StartGameOver(TLevel::EndCountdownStart);
  } else {
    TPlayer& Player = *Players[0];
    if (Player.IsExploding || Player.GameOver) return;
    Kill(Player);
    if (Player.GameOver) StartGameOver(TLevel::EndCountdownStart);
  }
}

void TGameData::FreeStuckPlayers() {
  bool Died = false;
  for (const auto& Player : Players) {
    if (!Player->CountStuckTick(*Level->Board)) continue;
    Kill(*Player);
    Died = true;
  }
  if (!Died) return;
  const bool AllOut = Players[0]->GameOver && (!FTwoPlayers || Players[1]->GameOver);
  if (AllOut) StartGameOver(TLevel::EndCountdownStart);
}

void TGameData::ClearRespawnedTrail(std::size_t Index) {
  TPlayer& Player = *Players[Index];
  Player.IsDrawing = false;
  Player.IsExploding = false;
  TRect Dirty;
  Level->Board->ClearTrails(Index == 0, Index == 1, Dirty);
  Level->Redraw(Dirty, PlayArea);
  Player.Respawned = false;
  if (Index == 0) DrawLives1();
  else DrawLives2();
}

void TGameData::Update() {
  if (!Level) return;
  // 1. The play area.
  if (!FPaused || Level->Intro || Level->Completed || FEnded) {
    if (FadeOut) {
      PlayArea.Lightness(-12);
      PlayArea.FillRect({0, 0, Width - 1, 0}, Grey160);
      PlayArea.FillRect({0, 0, 0, Height - 1}, Grey160);
    } else if (!BonusShown) {
      EraseSprites();
      const TShadowMask& Mask = *Level->ShadowMask;
      const auto DrawPlayer = [&](std::size_t I) {
        TPlayer& Player = *Players[I];
        const TPlayer& Other = FTwoPlayers ? *Players[1 - I] : Player;
        Player.Draw(PlayArea, Mask, TPointF{Other.TrailStartX, Other.TrailStartY});
      };
      // A player whose explosion is over respawns first: the repaint that
      // takes its trail off the screen reaches across the field and would
      // cut through every sprite already drawn this tick. Its respawn
      // paints nothing, and it is out of reach of the hits below either way
      // (exploding before, blinking and without a trail after).
      std::array<bool, 2> DrawnAlready{};
      for (std::size_t I = 0; I < Players.size(); ++I) {
        if (!Players[I]->ExplosionOver()) continue;
        DrawPlayer(I);
        DrawnAlready[I] = true;
        if (Players[I]->Respawned) ClearRespawnedTrail(I);
      }
      const bool Pause = Frozen && !Level->Intro;
      if (Level->Item) Level->Item->UpdateAndDraw(PlayArea, *Players[0], Pause, Mask, Player2());
      Level->Evil->Draw(PlayArea, *Level->Board, Pause, Mask);
      for (const auto& Small : Level->SmallEvils)
        Small->UpdateAndDraw(PlayArea, *Players[0], Pause, Mask, Player2());
      ResolveHits();
      if (!Frozen) FreeStuckPlayers();
      for (std::size_t I = 0; I < Players.size(); ++I) {
        const TPlayer& Player = *Players[I];
        if (DrawnAlready[I] || (Player.GameOver && !Player.IsExploding)) continue;
        DrawPlayer(I);
      }
      // A death whose explosion has no frames respawns at once.
      for (std::size_t I = 0; I < Players.size(); ++I)
        if (Players[I]->Respawned) ClearRespawnedTrail(I);
      Text->Draw(PlayArea);
      if (Level->Intro && Text->Opacity() == 0) {
        Level->Intro = false;
        Frozen = false;
      }
      if (!Level->Intro && !Level->Completed && Level->TimeBonus >= 0) {
        Level->TickTimeBonus();
        DrawTimeBar();
      }
    }
  }

  // 2. The level-end and game-over sequences.
  if (Level->Completed && !FWaitForKey) RunEndSequence();
  if (!Level) return;

  // 3. The pause menu, once per pause.
  if (FPaused && !PauseImageDrawn) {
    PauseImage.Draw(PlayArea, Width / 2 - PauseImage.Width() / 2, Height / 2 - PauseImage.Height() / 2);
    PauseImageDrawn = true;
  }

  // 4. Present.
  Panels.RepaintPictures();  // once, then they are gone
  if (FHints) FHints->Step(Level->Intro);
  if (HintsOnScreen()) {
    if (!FHintFrame) FHintFrame = std::make_unique<TFastImageBuffer>(nullptr, 0, 0);
    FHintFrame->DC = PlayArea.DC;
    FHintFrame->CopyFrom(PlayArea);
    FHints->Draw(*FHintFrame);
    FHintFrame->PaintTo(0, 0);
  } else {
    PlayArea.PaintTo(0, 0);
  }
  Panels.Present(FTwoPlayers);
}

void TGameData::RunEndSequence() {
  Frozen = true;
  // A byte countdown: it rests at 0 instead of wrapping to 255, which would
  // run the whole sequence again.
  if (Level->EndCountdown > 0) --Level->EndCountdown;
  const std::uint8_t Value = Level->EndCountdown;
  const TRect Black{1, 1, Width, Height};

  if (QuitConfirmed) {
    if (Value == 150) {
      StopSound(TGameSound::All);
      PlaySound(6);
      EraseItemOnField();
      Text->ShowText("Game Over!", 100, 200);
    } else if (Value == 50) {
      FadeOut = true;
    } else if (Value <= 5) {
      Text->Clear();
      PlayArea.FillRect(Black, 0);
      FEnded = true;
    }
    return;
  }

  switch (Value) {
    case 170:
      StopSound(TGameSound::All);
      PlaySound(5);
      break;
    case 150:
      EraseItemOnField();
      Text->ShowText(LevelNumber > 28 ? "Game complete!" : "Level complete!", 100, 30);
      break;
    case 90:
      Text->Clear();
      BonusShown = true;
      DrawBonusScreen();
      break;
    case 70:
      AwardLevelBonus();
      DrawScore1();
      if (Players[0]->ExtraLifeAwarded) DrawLives1();
      if (FTwoPlayers) {
        DrawScore2();
        if (Players[1]->ExtraLifeAwarded) DrawLives2();
      }
      FWaitForKey = true;
      break;
    case 65:
      BonusShown = false;
      FadeOut = true;
      break;
    case 1:
      PlayArea.FillRect(Black, 0);
      break;
    case 0:
      if (LevelNumber > 28) {
        Text->Clear();
        FEnded = true;
        break;
      }
      for (const auto& Player : Players)
        if (!Player->GameOver) Player->ResetToStart();
      Text->Clear();
      ++LevelNumber;
      try {
        LoadLevel();
      } catch (const std::exception& E) {
        // The archive went bad under the running game: end it rather than
        // play on without a level.
        ShowMessageBox(std::string("The next level could not be loaded: ") + FailureText(E));
        FEnded = true;
      }
      break;
    default:
      break;
  }
}

void TGameData::ErasePauseBox() {
  EraseBox(Width / 2, Height / 2, PauseImage.Width() / 2, PauseImage.Height() / 2);
}

void TGameData::SetPaused(bool Value) {
  if (!Level || Level->Intro || Level->Completed) return;
  FPaused = Value;
  Frozen = Value;
  if (!Value) {
    ErasePauseBox();
    PauseImageDrawn = false;
  }
}

void TGameData::ConfirmQuit() {
  // Only from the pause menu of a level in play: a running end sequence is
  // never restarted.
  if (!Level || Level->Completed || !FPaused) return;
  Level->EndCountdown = 151;
  Level->Completed = true;
  QuitConfirmed = true;
  ErasePauseBox();
}

std::int64_t TGameData::Score1() const { return Players[0]->Score; }

std::int64_t TGameData::Score2() const { return FTwoPlayers ? Players[1]->Score : -1; }

std::uint64_t TGameData::StateChecksum(std::uint64_t Hash) const {
  TFnv64 H(Hash);
  if (!Level) return H.Get();
  H.Value(LevelNumber);
  H.Value(Paused());
  H.Value(Frozen);
  const TLevel& L = *Level;
  H.Value(L.ClaimedCells);
  H.Value(L.TimeBonus);
  H.Value(L.EndCountdown);
  if (L.Board)
    for (std::int32_t X = 0; X < L.Board->Width; ++X) H.Bytes(L.Board->Column(X), static_cast<std::size_t>(L.Board->Height));
  for (const auto& P : Players) {
    H.Value(P->X);
    H.Value(P->Y);
    H.Value(P->Score);
    H.Value(P->Lives);
    H.Value(P->IsDrawing);
    H.Value(P->IsExploding);
  }
  if (L.Evil) {
    H.Value(L.Evil->X);
    H.Value(L.Evil->Y);
  }
  for (std::int32_t I = 0; I < L.SmallEvilCount(); ++I) {
    H.Value(L.SmallEvil(I).X);
    H.Value(L.SmallEvil(I).Y);
  }
  return H.Get();
}

// ---- Sounds -------------------------------------------------------------------

void TGameData::PlaySound(std::int32_t Index) {
  if (FConfig.SoundOff) return;
  if (Index == 4) {
    FFillSound->Halt();
    FFillSound->Play();
  } else if (Index == 5 || Index == 6) {
    const TMemoryStream* Music = Index == 5 ? FLevelEndedMusic.get() : FGameEndedMusic.get();
    if (FAudio && Music && FAudio->State() != TAudioEngine::StatePlaying) FAudio->PlayFromStream(Music);
  }
}

void TGameData::StopSound(TGameSound Sound) {
  switch (Sound) {
    case TGameSound::Player1Draw: Players[0]->StopDrawSound(); break;
    case TGameSound::Player2Draw: if (FTwoPlayers) Players[1]->StopDrawSound(); break;
    case TGameSound::Player1Run: Players[0]->StopRunSound(); break;
    case TGameSound::Player2Run: if (FTwoPlayers) Players[1]->StopRunSound(); break;
    case TGameSound::All:
      for (const auto& Player : Players) {
        Player->StopDrawSound();
        Player->StopRunSound();
      }
      if (FFillSound->State() == TWavePlayer::Playing) FFillSound->Halt();
      if (FAudio) FAudio->Stop();
      break;
  }
}

// ---- Panels -------------------------------------------------------------------

void TGameData::DrawScore1() { Panels.DrawScore(0, Players[0]->Score); }

void TGameData::DrawScore2() {
  if (FTwoPlayers) Panels.DrawScore(1, Players[1]->Score);
}

void TGameData::DrawLives1() {
  Panels.DrawLives(0, Players[0]->Lives, Players[0]->GameOver);
  Players[0]->ExtraLifeAwarded = false;
}

void TGameData::DrawLives2() {
  if (!FTwoPlayers) return;
  Panels.DrawLives(1, Players[1]->Lives, Players[1]->GameOver);
  Players[1]->ExtraLifeAwarded = false;
}

void TGameData::DrawScoresAndLives() {
  DrawScore1();
  DrawLives1();
  DrawScore2();
  DrawLives2();
}

void TGameData::DrawLevelNumber() { Panels.DrawLevelNumber(LevelNumber); }

void TGameData::DrawPercent() { Panels.DrawPercent(Level->ClaimedPercent()); }

void TGameData::DrawTimeBar() { Panels.DrawTimeBar(Level->TimeBonus, Level->TimeBonusStart); }

void TGameData::AwardLevelBonus() {
  const TLevelBonus Bonus = ComputeLevelBonus(Level->TimeBonus, Level->ClaimedPercent());
  for (const auto& Player : Players)
    if (!Player->GameOver) Player->SetScore(Player->Score + Bonus.Points(LevelNumber));
}

void TGameData::DrawBonusScreen() {
  Panels.DrawBonusScreen(PlayArea, BonusImage, LevelNumber,
                         ComputeLevelBonus(Level->TimeBonus, Level->ClaimedPercent()));
}
