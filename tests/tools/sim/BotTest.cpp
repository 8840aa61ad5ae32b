// The rules the soak checks after every tick: a game that keeps them
// passes, and each way of breaking one is reported.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Bot.h"
#include "actors/Player.h"
#include "board/MemBoard.h"
#include "game/GameData.h"
#include "game/Level.h"
#include "pak/PakReader.h"
#include "common/CommonTypes.h"
#include "common/TimeOfDay.h"
#include "persist/Config.h"
#include "persist/TestFolder.h"
#include "platform/FakeDisplay.h"
#include "platform/Panel.h"
#include "platform/Screen.h"

namespace {

class GameRules : public ::testing::Test {
protected:
  GameRules() : Config(Display, Folder.Path) {
    Config.SoundOff = true;
    SetTimeOfDaySource([] { return 777u; });
    RandSeed = 99;
    Game = std::make_unique<TGameData>(600, 1, 2, Pak, nullptr, Config, true, MenuBuffer, &Bottom, &Right, &Screen,
                                       550);
  }
  ~GameRules() override { SetTimeOfDaySource(nullptr); }
  TMemBoard& Board() { return *Game->Level->Board; }

  TTestFolder Folder;
  TFakeDisplay Display;
  TConfig Config;
  TScreen Screen;
  TPanel Bottom{Screen, 0, 550, 600, 50};
  TPanel Right{Screen, 600, 0, 200, 600};
  TFastImageBuffer MenuBuffer{nullptr, 800, 600};
  TPakFileReadable Pak{VYRN_GAME_PAK};
  std::unique_ptr<TGameData> Game;
  TGameInvariants Rules;
};

TEST_F(GameRules, AFreshGameKeepsThemAll) { EXPECT_EQ(Rules.Check(*Game, true), ""); }

TEST_F(GameRules, CellCodesOnlyOutsideAClaimAndTrailsOnlyOfDrawingMarkers) {
  Board().SetCell(300, 200, CellEvilSide);
  EXPECT_NE(Rules.Check(*Game, true), "");
  EXPECT_EQ(Rules.Check(*Game, false), "") << "the scan is what finds it";
  Board().SetCell(300, 200, 9);
  EXPECT_NE(Rules.Check(*Game, true).find("code 9"), std::string::npos);
  Board().SetCell(300, 200, CellTrail2);
  EXPECT_NE(Rules.Check(*Game, true).find("player 2"), std::string::npos);
  Game->Players[1]->IsDrawing = true;
  EXPECT_EQ(Rules.Check(*Game, true), "");
  Board().SetCell(300, 201, CellTrail1);
  Game->Players[0]->IsExploding = true;
  EXPECT_EQ(Rules.Check(*Game, true), "");
}

TEST_F(GameRules, ScoresAndTheClaimNeverFallWithinALevel) {
  Game->Players[0]->Score = 500;
  Game->Level->ClaimedCells = 1000;
  ASSERT_EQ(Rules.Check(*Game, false), "");
  Game->Players[0]->Score = 499;
  EXPECT_NE(Rules.Check(*Game, false).find("score fell"), std::string::npos);
  Game->Players[0]->Score = 600;
  Game->Level->ClaimedCells = 999;
  EXPECT_NE(Rules.Check(*Game, false).find("claimed"), std::string::npos);
  // A new level starts its claim from nothing.
  Game->LevelNumber = 2;
  EXPECT_EQ(Rules.Check(*Game, false), "");
}

TEST_F(GameRules, LivesAndPositionsStayInRange) {
  Game->Players[1]->Lives = -1;
  EXPECT_NE(Rules.Check(*Game, false).find("lives"), std::string::npos);
  Game->Players[1]->Lives = 0;
  Game->Players[0]->X = std::numeric_limits<float>::quiet_NaN();
  EXPECT_NE(Rules.Check(*Game, false).find("outside"), std::string::npos);
  Game->Players[0]->X = 600;  // one past the last column
  EXPECT_NE(Rules.Check(*Game, false).find("outside"), std::string::npos);
  Game->Players[0]->X = 599;
  EXPECT_EQ(Rules.Check(*Game, false), "");
}

}  // namespace
