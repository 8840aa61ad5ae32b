#include "program/ReplaySession.h"

#include "app/Main.h"
#include "common/CommonTypes.h"
#include "common/Fnv.h"

#ifndef VYRN_BUILD_ID
#define VYRN_BUILD_ID "unknown"
#endif

const char* ReplayBuildId() { return VYRN_BUILD_ID; }

std::uint64_t SessionChecksum(const TMainForm& Form) {
  TFnv64 H;
  H.Value(RandSeed);
  H.Value(Form.TimerRuns(Form.FocusMonitor));
  H.Value(Form.TimerRuns(Form.SplashScreenTimer));
  H.Value(Form.TimerRuns(Form.MenuTimer));
  H.Value(Form.TimerRuns(Form.GameTimer));
  H.Value(Form.StartLevel);
  H.Value(Form.StartLives);
  H.Value(Form.CheatUsed);
  const IGameData* Game = Form.Game();
  H.Value(Game != nullptr);
  return Game ? Game->StateChecksum(H.Get()) : H.Get();
}
