#include "game/GameData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

#include "actors/ActorSprite.h"
#include "actors/Evil.h"
#include "actors/Itembase.h"
#include "actors/Player.h"
#include "actors/SmallEvilBase.h"
#include "actors/SmallEvil_evil03.h"
#include "board/MemBoard.h"
#include "common/Fnv.h"
#include "game/LevelTable.h"
#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "persist/TestFolder.h"
#include "common/TimeOfDay.h"
#include "platform/FakeDisplay.h"
#include "platform/Panel.h"
#include "platform/Screen.h"

namespace {

// A game on the generated archive, with its window picture and panels,
// sound off (the tests listen to nothing).
class GameFixture : public ::testing::Test {
protected:
  GameFixture() : Config(Display, Folder.Path) {
    Config.SoundOff = true;
    TimeOfDay(1234567);
  }
  static void TimeOfDay(std::uint32_t Ms) {
    SetTimeOfDaySource([Ms] { return Ms; });
  }

  std::unique_ptr<TGameData> Start(std::int32_t Level, std::int32_t Lives = 2, bool TwoPlayers = false,
                                   const std::string& PakName = VYRN_GAME_PAK) {
    RandSeed = 4242;
    Pak = std::make_unique<TPakFileReadable>(PakName);
    return std::make_unique<TGameData>(600, Level, Lives, *Pak, nullptr, Config, TwoPlayers, MenuBuffer, &Bottom,
                                       &Right, &Screen, 550);
  }
  // Ticks until the title has faded; the players may move afterwards.
  static std::int32_t PlayIntro(TGameData& Game) {
    std::int32_t Ticks = 0;
    while (Game.Level->Intro && Ticks < 1000) {
      Game.Update();
      ++Ticks;
    }
    return Ticks;
  }
  // Cells holding Code, within Inset pixels of the board's edges.
  static std::int32_t CountCells(const TMemBoard& Board, std::uint8_t Code, std::int32_t Inset = 0) {
    std::int32_t N = 0;
    for (std::int32_t X = Inset; X < Board.Width - Inset; ++X)
      for (std::int32_t Y = Inset; Y < Board.Height - Inset; ++Y) N += Board.GetCell(X, Y) == Code;
    return N;
  }
  // Sets the claimed cells so that the share is Percent of the target.
  static void ClaimShare(TGameData& Game, long double Percent) {
    const std::int32_t N = std::min(Game.LevelNumber, 20);
    const long double Target = (N / 250.0L + 0.73L) * 330000.0L;
    Game.Level->ClaimedCells = static_cast<std::int32_t>(std::ceil(Target * Percent / 100.0L));
    Game.DrawPercent();
  }
  // Updates until the level-end countdown holds Value (at most 400 ticks).
  static void RunTo(TGameData& Game, std::uint8_t Value) {
    for (int I = 0; I < 400 && Game.Level->EndCountdown != Value; ++I) Game.Update();
    ASSERT_EQ(Game.Level->EndCountdown, Value);
  }

  TTestFolder Folder;
  TFakeDisplay Display;
  TConfig Config;
  TScreen Screen;
  TPanel Bottom{Screen, 0, 550, 600, 50};
  TPanel Right{Screen, 600, 0, 200, 600};
  TFastImageBuffer MenuBuffer{nullptr, 800, 600};
  std::unique_ptr<TPakFileReadable> Pak;
};

}  // namespace

TEST(LevelSetupTest, SmallEnemiesAroundTheBigOne) {
  EXPECT_TRUE(SmallEvilPlacements(0, 300, 275).empty());
  const auto One = SmallEvilPlacements(1, 300, 275);
  ASSERT_EQ(One.size(), 1u);
  EXPECT_EQ(One[0].Kind, 3);
  EXPECT_EQ(One[0].X, 400);
  EXPECT_EQ(One[0].Y, 375);
  EXPECT_EQ(SmallEvilPlacements(2, 300, 275).size(), 2u);
  EXPECT_EQ(SmallEvilPlacements(5, 300, 275).size(), 5u);
  // Unknown sets play as set 3.
  const auto Three = SmallEvilPlacements(3, 300, 275);
  const auto Odd = SmallEvilPlacements(9, 300, 275);
  ASSERT_EQ(Three.size(), 3u);
  ASSERT_EQ(Odd.size(), 3u);
  EXPECT_EQ(Odd[2].Kind, 2);
  EXPECT_EQ(Odd[2].Y, 175);
  const auto Six = SmallEvilPlacements(6, 300, 275);
  ASSERT_EQ(Six.size(), 6u);
  EXPECT_EQ(Six[5].X, 450);
  EXPECT_EQ(Six[0].Kind, 1);
  // Positions are whole pixels, halves to even.
  EXPECT_EQ(SmallEvilPlacements(1, 300.5f, 274.5f)[0].X, 400);
  EXPECT_EQ(SmallEvilPlacements(1, 300.5f, 274.5f)[0].Y, 374);
  EXPECT_EQ(LevelTitle(29, "End Game"), "Level 29 - \"End Game\"");
  EXPECT_EQ(LevelTitle(3, "Space 1"), "Level 3 - \"Space 1\"");
}

TEST_F(GameFixture, LevelsAreBuiltFromTheTable) {
  auto Game = Start(3);
  ASSERT_EQ(Game->Level->SmallEvilCount(), 1);
  const TSmallEvilBase& Small = Game->Level->SmallEvil(0);
  EXPECT_NE(dynamic_cast<const TSmallEvil_evil03*>(&Small), nullptr);
  EXPECT_EQ(Small.X, 400);
  EXPECT_EQ(Small.Y, 375);
  EXPECT_EQ(Game->Level->Evil->NormalMaxSpeed, 4.5f);
  EXPECT_TRUE(Game->Level->Intro);
  EXPECT_TRUE(Game->Frozen);
  EXPECT_EQ(Game->Score2(), -1);

  auto First = Start(1);
  EXPECT_EQ(First->Level->SmallEvilCount(), 0);
  auto Last = Start(29, 2, true);
  EXPECT_EQ(Last->Level->SmallEvilCount(), 6);
  EXPECT_EQ(Last->Level->Evil->Attraction, 0.08f);
  EXPECT_EQ(Last->Score2(), 0);
}

TEST_F(GameFixture, IntroEscapeAndTimeBonus) {
  auto Game = Start(1);
  Game->Update();
  Game->SetPaused(true);  // Escape during the intro does nothing
  EXPECT_FALSE(Game->Paused());
  PlayIntro(*Game);
  EXPECT_FALSE(Game->Frozen);
  // The tick that ended the intro already counted.
  EXPECT_EQ(Game->Level->TimeBonus, 1999);
  for (int I = 0; I < 2000; ++I) Game->Update();
  EXPECT_EQ(Game->Level->TimeBonus, -1);
  for (int I = 0; I < 50; ++I) Game->Update();
  EXPECT_EQ(Game->Level->TimeBonus, -1);  // stops below 0

  Game->SetPaused(true);
  EXPECT_TRUE(Game->Paused());
  EXPECT_TRUE(Game->Frozen);
  EXPECT_FALSE(Game->PauseImageDrawn);
  Game->Update();
  EXPECT_TRUE(Game->PauseImageDrawn);
  Game->SetPaused(false);
  EXPECT_FALSE(Game->Frozen);
  EXPECT_FALSE(Game->PauseImageDrawn);
}

TEST_F(GameFixture, ClaimScoresTheEnclosedCells) {
  auto Game = Start(1);
  PlayIntro(*Game);
  const TMemBoard& Board = *Game->Level->Board;
  // The border runs along x = 20 and 580, y = 20 and 530; inside it all is free.
  EXPECT_EQ(CountCells(Board, CellClaimed), 600 * 550 - 561 * 511);
  EXPECT_EQ(CountCells(Board, CellClaimed, 21), 0);
  // Along the top edge, down into the field and back left to the border.
  for (int I = 0; I < 10; ++I) Game->MovePlayer1(1, 0, false);
  for (int I = 0; I < 15; ++I) Game->MovePlayer1(0, 1, true);
  for (int I = 0; I < 40 && Game->Level->ClaimedCells == 0; ++I) Game->MovePlayer1(-1, 0, true);
  const std::int32_t Claimed = Game->Level->ClaimedCells;
  ASSERT_GT(Claimed, 0);
  // Counted are the free cells won, not the border edges the claim buried.
  EXPECT_EQ(Claimed, CountCells(Board, CellClaimed, 21));
  EXPECT_EQ(CountCells(Board, CellTrail1), 0);
  // The corner rectangle, nowhere near the enemy.
  EXPECT_LT(Claimed, 100 * 100);
  const long double Expected = std::round(std::pow(Claimed / 49.0, 1.05));
  EXPECT_EQ(Game->Score1(), static_cast<std::int64_t>(Expected));
}

// The menu's picture lies under the loading bar only; the menu may go away
// once the game is built (the sanitizer build catches any later read).
TEST_F(GameFixture, TheMenusPictureIsNotNeededAfterLoading) {
  RandSeed = 4242;
  Pak = std::make_unique<TPakFileReadable>(VYRN_GAME_PAK);
  auto Menu = std::make_unique<TFastImageBuffer>(nullptr, 800, 600);
  TGameData Game(600, 1, 2, *Pak, nullptr, Config, true, *Menu, &Bottom, &Right, &Screen, 550);
  Menu.reset();
  PlayIntro(Game);
  Game.SetPaused(true);
  for (int I = 0; I < 5; ++I) Game.Update();
  Game.SetPaused(false);
  for (int I = 0; I < 20; ++I) {
    Game.MovePlayer1(1, 0, false);
    Game.MovePlayer2(-1, 0, false);
    Game.Update();
  }
  EXPECT_FALSE(Game.Ended());
}

TEST_F(GameFixture, ConfirmQuitEndsAfter146TicksAndTheCountdownRests) {
  auto Game = Start(2);
  PlayIntro(*Game);
  Game->ConfirmQuit();  // not paused: no answer to give
  EXPECT_FALSE(Game->Level->Completed);
  Game->SetPaused(true);
  Game->Update();
  Game->ConfirmQuit();
  EXPECT_TRUE(Game->QuitConfirmed);
  std::int32_t Ticks = 0;
  while (!Game->Ended() && Ticks < 500) {
    Game->Update();
    ++Ticks;
    if (Ticks == 20) {
      Game->ConfirmQuit();  // a second yes does not restart the sequence
      Game->SetPaused(false);
      EXPECT_EQ(Game->Level->EndCountdown, 131);
    }
  }
  EXPECT_EQ(Ticks, 146);
  for (int I = 0; I < 600; ++I) Game->Update();
  EXPECT_EQ(Game->Level->EndCountdown, 0);
  EXPECT_TRUE(Game->Ended());
  EXPECT_TRUE(Game->Text->IsIdle());
}

TEST_F(GameFixture, LastDeathStartsGameOver) {
  auto Game = Start(3, 0);
  PlayIntro(*Game);
  TPlayer& Player = *Game->Players[0];
  TSmallEvilBase& Small = Game->Level->SmallEvil(0);
  Small.X = Player.X;
  Small.Y = Player.Y;
  Game->Update();
  EXPECT_TRUE(Player.GameOver);
  EXPECT_TRUE(Player.IsExploding);
  EXPECT_TRUE(Game->QuitConfirmed);
  std::int32_t Ticks = 1;  // the tick of the death
  while (!Game->Ended() && Ticks < 500) {
    Game->Update();
    ++Ticks;
  }
  EXPECT_EQ(Ticks, 175);
}

// The big enemy on player 1's trail and a small enemy on player 2 in the
// same tick: only player 2 dies. Without the small enemy player 1 would.
TEST_F(GameFixture, TwoHitsInOneTickKillTheLastReported) {
  for (bool WithSmall : {false, true}) {
    auto Game = Start(3, 2, true);
    PlayIntro(*Game);
    TEvil& Evil = *Game->Level->Evil;
    const std::int32_t EX = static_cast<std::int32_t>(Evil.X), EY = static_cast<std::int32_t>(Evil.Y);
    for (std::int32_t D = -3; D <= 3; ++D) Game->Level->Board->HorizontalLine(EX - 20, EX + 20, EY + D, CellTrail1);
    TSmallEvilBase& Small = Game->Level->SmallEvil(0);
    if (WithSmall) {
      Small.X = Game->Players[1]->X;
      Small.Y = Game->Players[1]->Y;
    }
    Game->Update();
    EXPECT_EQ(Game->Players[0]->Lives, WithSmall ? 2 : 1) << WithSmall;
    EXPECT_EQ(Game->Players[1]->Lives, WithSmall ? 1 : 2) << WithSmall;
  }
}

// A marker drawn into a pocket of trails has no move left; after 50 ticks
// of play (a pause does not count) its trail gives way as if hit: the
// explosion, a life, the respawn on the edge with the trail gone.
TEST_F(GameFixture, AWalledInMarkerGivesWayAfterFiftyTicksOfPlay) {
  auto Game = Start(1);
  PlayIntro(*Game);
  TPlayer& Player = *Game->Players[0];
  TMemBoard& Board = *Game->Level->Board;
  Game->MovePlayer1(1, 0, false);
  Game->MovePlayer1(1, 0, false);
  for (int I = 0; I < 3; ++I) Game->MovePlayer1(0, 1, true);
  ASSERT_TRUE(Player.IsDrawing);
  const std::int32_t X = NearestPixel(Player.X), Y = NearestPixel(Player.Y);
  ASSERT_EQ(X, 32);
  Board.HorizontalLine(X - 4, X + 4, Y + 2, CellTrail2);
  Board.VerticalLine(21, Y + 2, X - 2, CellTrail2);
  Board.VerticalLine(21, Y + 2, X + 2, CellTrail2);

  for (int Tick = 1; Tick <= 30; ++Tick) Game->Update();
  Game->SetPaused(true);
  for (int Tick = 1; Tick <= 100; ++Tick) Game->Update();
  Game->SetPaused(false);
  for (int Tick = 31; Tick < TPlayer::StuckLimit; ++Tick) {
    Game->MovePlayer1(0, 1, true);  // pressing on changes nothing
    Game->Update();
  }
  EXPECT_FALSE(Player.IsExploding);
  EXPECT_EQ(Player.Lives, 2);
  Game->Update();
  EXPECT_TRUE(Player.IsExploding);
  EXPECT_EQ(Player.Lives, 1);
  EXPECT_FALSE(Game->QuitConfirmed);
  for (int Tick = 0; Tick < 100 && Player.IsExploding; ++Tick) Game->Update();
  EXPECT_FALSE(Player.IsExploding);
  EXPECT_FALSE(Player.IsDrawing);
  EXPECT_EQ(Player.X, 32.0f);
  EXPECT_EQ(Player.Y, 20.0f);
  EXPECT_EQ(CountCells(Board, CellTrail1), 0);
  EXPECT_EQ(Board.GetCell(X, 20), CellEdge);
  // On the edge again it may run away.
  for (int Tick = 0; Tick < 80; ++Tick) Game->Update();  // past the blinking
  Game->MovePlayer1(1, 0, false);
  EXPECT_GT(Player.X, 32.0f);
}

// The last life walled in ends the game as a last hit does.
TEST_F(GameFixture, AWalledInLastLifeEndsTheGame) {
  auto Game = Start(1, 0);
  PlayIntro(*Game);
  TMemBoard& Board = *Game->Level->Board;
  Game->MovePlayer1(1, 0, false);
  Game->MovePlayer1(1, 0, false);
  for (int I = 0; I < 3; ++I) Game->MovePlayer1(0, 1, true);
  const std::int32_t X = NearestPixel(Game->Players[0]->X), Y = NearestPixel(Game->Players[0]->Y);
  Board.HorizontalLine(X - 4, X + 4, Y + 2, CellTrail2);
  Board.VerticalLine(21, Y + 2, X - 2, CellTrail2);
  Board.VerticalLine(21, Y + 2, X + 2, CellTrail2);
  for (int Tick = 0; Tick < TPlayer::StuckLimit; ++Tick) Game->Update();
  EXPECT_TRUE(Game->Players[0]->GameOver);
  EXPECT_TRUE(Game->QuitConfirmed);
}

// The respawn takes the dead player's trail off the screen; the sprites of
// that tick are drawn over the repaint, not cut by it.
TEST_F(GameFixture, TheTrailClearedAtARespawnLeavesTheSpritesWhole) {
  auto Game = Start(9);
  PlayIntro(*Game);
  TLevel& L = *Game->Level;
  const TEvil& Evil = *L.Evil;
  for (std::int32_t I = 0; I < L.SmallEvilCount(); ++I) {
    L.SmallEvil(I).X = 560;
    L.SmallEvil(I).Y = 510;
  }
  TPlayer& Player = *Game->Players[0];
  Player.X = 100;
  Player.Y = 100;
  Player.SafeX = 20;
  Player.SafeY = 20;
  Player.IsDrawing = true;
  Player.IsExploding = true;
  Player.ExplosionFrame = Player.ExplosionImages.Count();
  const std::int32_t EX = NearestPixel(Evil.X), EY = NearestPixel(Evil.Y);
  L.Board->VerticalLine(EY - 80, EY + 80, EX, CellTrail1);
  L.Redraw({EX, EY - 80, EX, EY + 80}, Game->PlayArea);

  Game->Update();
  ASSERT_FALSE(Player.IsExploding);
  ASSERT_EQ(CountCells(*L.Board, CellTrail1), 0);
  // What the tick should show around the enemy: the board without the
  // trail and the enemy's sprite over it.
  const TAlphaImage& Image = Evil.CurrentImage();
  ASSERT_GT(Image.Width(), 0);
  const TPoint TopLeft = SpriteTopLeft(Evil.X, Evil.Y, Image);
  const TRect Box{TopLeft.X, TopLeft.Y, TopLeft.X + Image.Width() - 1, TopLeft.Y + Image.Height() - 1};
  TFastImageBuffer Expected{nullptr, 600, 550};
  L.Redraw(Box, Expected);
  PaintActorSprite(Expected, Image, TopLeft, *L.ShadowMask);
  std::int32_t Opaque = 0;  // the sprite covers the trail's column
  for (std::int32_t Y = 0; Y < Image.Height(); ++Y) Opaque += Image.GetAlpha(EX - TopLeft.X, Y) > 0;
  ASSERT_GT(Opaque, 5);
  std::int32_t Wrong = 0;
  for (std::int32_t Y = Box.Top; Y <= Box.Bottom; ++Y)
    for (std::int32_t X = Box.Left; X <= Box.Right; ++X)
      Wrong += Game->PlayArea.GetPixel(X, Y) != Expected.GetPixel(X, Y);
  EXPECT_EQ(Wrong, 0);
}

TEST_F(GameFixture, NoItemOnceTheTimeBonusIsSpent) {
  for (std::int32_t TimeBonus : {0, -1}) {
    auto Game = Start(1);
    PlayIntro(*Game);
    Game->Level->TimeBonus = TimeBonus;
    for (int I = 0; I < 50000 && !Game->Level->Item; ++I) Game->SpawnItems();
    EXPECT_EQ(Game->Level->Item != nullptr, TimeBonus == 0) << TimeBonus;
  }
}

TEST_F(GameFixture, EightLivesBlockHeartsForBoth) {
  for (std::int32_t Lives : {7, 8}) {
    auto Game = Start(1, 0, true);
    PlayIntro(*Game);
    Game->Players[0]->SetLives(Lives);
    for (int I = 0; I < 50000 && !Game->Level->Item; ++I) Game->SpawnItems();
    EXPECT_EQ(Game->Level->Item != nullptr, Lives == 7) << Lives;
  }
}

TEST_F(GameFixture, LevelCompleteBonusWaitAndNextLevel) {
  auto Game = Start(7, 2, true);
  PlayIntro(*Game);
  Game->Players[1]->SetLives(-1);  // out of the game: no bonus, no reset
  Game->Players[1]->X = 300;
  Game->Level->TimeBonus = 800;
  ClaimShare(*Game, 103.2L);
  EXPECT_TRUE(Game->Level->Completed);
  Game->SetPaused(true);  // Escape during the level end does nothing
  EXPECT_FALSE(Game->Paused());
  RunTo(*Game, 90);
  EXPECT_TRUE(Game->BonusShown);
  RunTo(*Game, 70);
  EXPECT_EQ(Game->Score1(), 3700);
  EXPECT_EQ(Game->Score2(), 0);
  EXPECT_TRUE(Game->WaitForKey());
  for (int I = 0; I < 30; ++I) Game->Update();
  EXPECT_EQ(Game->Level->EndCountdown, 70);  // waits for a key
  Game->SetWaitForKey(false);
  RunTo(*Game, 1);
  Game->Players[0]->X = 123;
  Game->Update();
  EXPECT_EQ(Game->LevelNumber, 8);
  EXPECT_TRUE(Game->Level->Intro);
  EXPECT_FALSE(Game->Ended());
  EXPECT_EQ(Game->Players[0]->X, 20);   // back at the start
  EXPECT_EQ(Game->Players[1]->X, 300);  // out of the game: stays
  EXPECT_EQ(Game->Level->SmallEvilCount(), 2);
}

TEST_F(GameFixture, CompletingLevel29WinsTheGame) {
  auto Game = Start(29);
  PlayIntro(*Game);
  ClaimShare(*Game, 100.7L);
  std::int32_t Ticks = 0;
  while (!Game->Ended() && Ticks < 400) {
    Game->Update();
    ++Ticks;
    if (Game->WaitForKey()) Game->SetWaitForKey(false);
  }
  EXPECT_EQ(Ticks, 180);
  EXPECT_EQ(Game->LevelNumber, 29);
  // 100.7 % brings no percent bonus, only the time.
  EXPECT_EQ(Game->Score1(), (1999 / 2) * 29);
}

TEST_F(GameFixture, MissingArchiveNeverCrashes) {
  TRecordingMessageBox Boxes;
  IMessageBox* Old = SetMessageBoxHandler(&Boxes);
  auto Game = Start(28, 1, true, Folder.File("no.pak"));
  EXPECT_FALSE(Boxes.Shown.empty());  // the empty image sets were reported
  PlayIntro(*Game);
  for (int I = 0; I < 100; ++I) {
    Game->MovePlayer1(0, 1, true);
    Game->MovePlayer2(-1, 0, false);
    Game->MoveEvil();
    Game->MoveSmallEvils();
    Game->SpawnItems();
    Game->Update();
  }
  ClaimShare(*Game, 150.0L);
  for (int I = 0; I < 400 && Game->LevelNumber == 28; ++I) {
    Game->Update();
    if (Game->WaitForKey()) Game->SetWaitForKey(false);
  }
  EXPECT_EQ(Game->LevelNumber, 29);
  SetMessageBoxHandler(Old);
}

// The menu may paint one more frame over the window after the game was
// created; the game's first frame brings its panel pictures back.
TEST_F(GameFixture, FirstFrameRestoresThePanelPictures) {
  auto Game = Start(1);
  TFastImageBuffer Right(nullptr, 0, 0), Bottom(nullptr, 0, 0);
  ASSERT_TRUE(LoadJpeg(*Pak, "main_right_1p.jpg", Right));
  ASSERT_TRUE(LoadJpeg(*Pak, "main_bottom.jpg", Bottom));
  for (int Y = 0; Y < 600; ++Y) std::fill(Screen.Row(Y), Screen.Row(Y) + Screen.Stride(), 0x5A);
  Game->Update();
  EXPECT_EQ(Screen.PixelAt(610, 300), Right.GetPixel(10, 300));
  EXPECT_EQ(Screen.PixelAt(790, 590), Right.GetPixel(190, 590));
  EXPECT_EQ(Screen.PixelAt(5, 590), Bottom.GetPixel(5, 40));
  EXPECT_NE(Screen.PixelAt(610, 300), 0x5A5A5Au);
}

// The checksum replays compare: the same start hashes the same, it carries
// on from the hash it is given, and each piece of state a desync would
// change changes it.
TEST_F(GameFixture, StateChecksumFollowsWhatADesyncWouldChange) {
  const auto A = Start(3, 2, true);
  const std::uint64_t Base = A->StateChecksum(TFnv64::Basis);
  EXPECT_EQ(Start(3, 2, true)->StateChecksum(TFnv64::Basis), Base);
  EXPECT_NE(A->StateChecksum(TFnv64::Basis + 1), Base);
  const auto Changes = [&](const char* What, const std::function<void(TGameData&)>& Change) {
    const auto G = Start(3, 2, true);
    Change(*G);
    EXPECT_NE(G->StateChecksum(TFnv64::Basis), Base) << What;
  };
  Changes("a board cell", [](TGameData& G) {
    G.Level->Board->SetCell(300, 300, static_cast<std::uint8_t>(G.Level->Board->GetCell(300, 300) ^ 1));
  });
  Changes("player 2's place", [](TGameData& G) { G.Players[1]->Y += 1; });
  Changes("a score", [](TGameData& G) { G.Players[0]->Score += 1; });
  Changes("the lives", [](TGameData& G) { G.Players[1]->Lives -= 1; });
  Changes("a small enemy", [](TGameData& G) { G.Level->SmallEvil(G.Level->SmallEvilCount() - 1).X += 1; });
  Changes("the big enemy", [](TGameData& G) { G.Level->Evil->Y += 1; });
  Changes("the claimed cells", [](TGameData& G) { G.Level->ClaimedCells += 1; });
  Changes("the time bonus", [](TGameData& G) { G.Level->TimeBonus -= 1; });
  Changes("the level", [](TGameData& G) { G.LevelNumber += 1; });
  Changes("the freeze", [](TGameData& G) { G.Frozen = !G.Frozen; });
}

// ---- Intro hints -------------------------------------------------------------

namespace {

// Player 1 runs right along the top edge, cuts down into the field and back
// left to the border: a small claim in the corner once the intro is over.
void CornerClaimStep(TGameData& Game, std::int32_t PlayTick) {
  if (PlayTick < 10) Game.MovePlayer1(1, 0, false);
  else if (PlayTick < 25) Game.MovePlayer1(0, 1, true);
  else Game.MovePlayer1(-1, 0, true);
}

}  // namespace

// Over the screen through the intro and the fade after it, never in the
// play area itself; the pause and a game without the offer show none.
TEST_F(GameFixture, HintsShowOverTheIntroOfAFirstGame) {
  auto Game = Start(1);
  Game->OfferHints();
  ASSERT_NE(Game->Hints(), nullptr);
  Game->Update();
  ASSERT_TRUE(Game->HintsOnScreen());
  const TRect Box = Game->Hints()->Box();
  const auto Differs = [&](std::int32_t X, std::int32_t Y) { return Screen.PixelAt(X, Y) != Game->PlayArea.GetPixel(X, Y); };
  std::int32_t Shaded = 0;
  for (std::int32_t X = Box.Left + 1; X < Box.Right; X += 7) Shaded += Differs(X, Box.Bottom - 2);
  EXPECT_GT(Shaded, 0);
  EXPECT_FALSE(Differs(Box.Left - 1, Box.Top + 5));
  EXPECT_FALSE(Differs(300, Box.Top - 1));

  PlayIntro(*Game);
  EXPECT_TRUE(Game->HintsOnScreen());  // fading
  for (std::int32_t I = 0; I < TIntroHints::FadeTicks; ++I) Game->Update();
  EXPECT_FALSE(Game->HintsOnScreen());
  EXPECT_NE(Game->Hints(), nullptr);  // back at the next level's intro
  for (std::int32_t X = Box.Left; X <= Box.Right; X += 5) ASSERT_FALSE(Differs(X, Box.Bottom - 2)) << X;

  auto Plain = Start(1);  // not offered: a replay's or a tool's game
  EXPECT_EQ(Plain->Hints(), nullptr);
  Plain->Update();
  EXPECT_FALSE(Plain->HintsOnScreen());
}

TEST_F(GameFixture, HintsOnceSeenAreNotShownAgain) {
  Config.Extras.SetHintsSeen(true);
  auto Game = Start(1, 2, true);
  Game->OfferHints();
  EXPECT_EQ(Game->Hints(), nullptr);
  Game->Update();
  EXPECT_FALSE(Game->HintsOnScreen());
  for (std::int32_t Y = 300; Y < 530; Y += 3) ASSERT_EQ(Screen.PixelAt(300, Y), Game->PlayArea.GetPixel(300, Y));
}

// The first claim of a game with hints is remembered in extras.dat; a game
// without the offer (replay, tool) claims without writing anything.
TEST_F(GameFixture, TheFirstClaimMarksTheHintsSeenAndSavesIt) {
  auto Plain = Start(1);
  PlayIntro(*Plain);
  for (std::int32_t T = 0; T < 70 && Plain->Level->ClaimedCells == 0; ++T) CornerClaimStep(*Plain, T);
  ASSERT_GT(Plain->Level->ClaimedCells, 0);
  EXPECT_FALSE(Config.Extras.HintsSeen);
  EXPECT_FALSE(std::filesystem::exists(Folder.File(TExtraSettings::FileName)));

  auto Game = Start(1);
  Game->OfferHints();
  PlayIntro(*Game);
  std::int32_t T = 0;
  for (; T < 70 && Game->Level->ClaimedCells == 0; ++T) {
    EXPECT_FALSE(Config.Extras.HintsSeen);
    CornerClaimStep(*Game, T);
  }
  ASSERT_GT(Game->Level->ClaimedCells, 0);
  EXPECT_TRUE(Config.Extras.HintsSeen);
  EXPECT_EQ(Game->Hints(), nullptr);
  Game->Update();
  EXPECT_FALSE(Game->HintsOnScreen());  // gone at once, even mid-fade
  const TExtraSettings Reread(Folder.Path);
  EXPECT_TRUE(Reread.HintsSeen);
}

// The hints are pictures over the screen only: the same game with and
// without them runs through the same states and paints the same play area,
// claim and all.
TEST_F(GameFixture, AGameWithHintsPlaysTheSameAsOneWithout) {
  struct TRun {
    std::vector<std::uint64_t> Sums;
    std::uint64_t PlayAreaHash = 0;
  };
  const auto Play = [&](bool Hints) {
    Config.Extras.HintsSeen = false;  // in memory only: no file written here
    auto Game = Start(2);
    if (Hints) Game->OfferHints();
    TRun Run;
    std::int32_t PlayTick = 0;
    for (std::int32_t Tick = 0; Tick < 300; ++Tick) {
      if (!Game->Level->Intro) CornerClaimStep(*Game, PlayTick++);
      Game->MoveEvil();
      Game->MoveSmallEvils();
      Game->SpawnItems();
      Game->Update();
      TFnv64 H(Game->StateChecksum(TFnv64::Basis));
      H.Value(RandSeed);
      Run.Sums.push_back(H.Get());
      if (Tick == 40) {  // mid-intro, hints at full strength
        TFnv64 P;
        for (std::int32_t Y = 0; Y < 550; ++Y) P.Bytes(Game->PlayArea.ScanLine(Y), 600 * 3);
        Run.PlayAreaHash = P.Get();
      }
    }
    EXPECT_GT(Game->Level->ClaimedCells, 0);
    EXPECT_EQ(Config.Extras.HintsSeen, Hints);
    return Run;
  };
  const TRun Without = Play(false);
  const TRun With = Play(true);
  ASSERT_EQ(With.Sums.size(), Without.Sums.size());
  for (std::size_t I = 0; I < With.Sums.size(); ++I) ASSERT_EQ(With.Sums[I], Without.Sums[I]) << "tick " << I;
  EXPECT_EQ(With.PlayAreaHash, Without.PlayAreaHash);
}

TEST_F(GameFixture, EachLevelIsDrawnInTheChosenGroundLookAndPlaysTheSame) {
  // One game after the other: both draw from the one program-wide generator.
  struct TOutcome {
    float EvilX, EvilY;
    std::int32_t TimeBonus;
    TColorValue Margin;
  };
  auto Play = [this](TClaimedGroundLook Look) {
    Config.Extras.SetClaimedGround(Look);
    auto Game = Start(3);
    EXPECT_EQ(Game->Level->GroundLook, Look);
    // The claimed margin left of the border, as the look paints it.
    TFastImageBuffer Want(nullptr, 600, 550);
    Game->Level->Board->Render({0, 0, 599, 549}, Want, *Game->Level->Background, *Game->Level->ShadowMask, Look);
    for (std::int32_t Y : {100, 300, 500}) EXPECT_EQ(Game->PlayArea.GetPixel(10, Y), Want.GetPixel(10, Y)) << Y;
    const TColorValue Margin = Game->PlayArea.GetPixel(10, 300);
    for (int T = 0; T < 400; ++T) Game->Update();
    return TOutcome{Game->Level->Evil->X, Game->Level->Evil->Y, Game->Level->TimeBonus, Margin};
  };
  const TOutcome Classic = Play(TClaimedGroundLook::Classic);
  const TOutcome Clear = Play(TClaimedGroundLook::Clear);
  EXPECT_NE(Classic.Margin, Clear.Margin);
  // The look is only paint: the same ticks play out the same.
  EXPECT_EQ(Classic.EvilX, Clear.EvilX);
  EXPECT_EQ(Classic.EvilY, Clear.EvilY);
  EXPECT_EQ(Classic.TimeBonus, Clear.TimeBonus);
}

// The board under a sprite is put back from the level's own rendering. Cells
// change behind it (trails drawn, cleared, single cells, the raw cells a
// claim writes) and some boxes are rendered again only in part: every box
// put back must still be exactly what a fresh render of the board shows.
TEST_F(GameFixture, BoxesPutBackMatchAFreshRenderOfTheBoard) {
  auto Game = Start(3);
  PlayIntro(*Game);
  TLevel& L = *Game->Level;
  TMemBoard& Board = *L.Board;
  std::uint32_t Seed = 2024;
  const auto Next = [&Seed](std::int32_t N) {
    Seed = Seed * 1664525u + 1013904223u;
    return static_cast<std::int32_t>((Seed >> 8) % static_cast<std::uint32_t>(N));
  };
  const std::uint8_t Codes[] = {CellFree, CellEdge, CellClaimed, CellTrail1, CellTrail2};
  TFastImageBuffer Put{nullptr, 600, 550};
  TFastImageBuffer Fresh{nullptr, 600, 550};
  std::int32_t Wrong = 0, Boxes = 0;
  for (std::int32_t Round = 0; Round < 300; ++Round) {
    const std::uint8_t Code = Codes[Next(5)];
    switch (Next(4)) {
      case 0: Board.HorizontalLine(Next(600), Next(600), Next(550), Code); break;
      case 1: Board.VerticalLine(Next(550), Next(550), Next(600), Code); break;
      case 2: Board.SetCell(Next(600), Next(550), Code); break;
      default: Board.Data()[Board.CellIndex(Next(600), Next(550))] = Code; break;
    }
    // Boxes of every size, some reaching past the board's edges.
    const std::int32_t X = Next(640) - 20, Y = Next(590) - 20;
    const TRect Box{X, Y, X + Next(60), Y + Next(60)};
    if (Next(3) == 0) {
      L.Redraw(Box, Put);
      continue;
    }
    L.Restore(Box, Put);
    Board.Render(Box, Fresh, *L.Background, *L.ShadowMask);
    ++Boxes;
    for (std::int32_t PY = std::max(Box.Top, 0); PY <= std::min(Box.Bottom, 549); ++PY)
      for (std::int32_t PX = std::max(Box.Left, 0); PX <= std::min(Box.Right, 599); ++PX)
        Wrong += Put.GetPixel(PX, PY) != Fresh.GetPixel(PX, PY);
  }
  EXPECT_GT(Boxes, 150);
  EXPECT_EQ(Wrong, 0);
}
