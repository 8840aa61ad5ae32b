// vyrn-record: records a session on the headless platform from a script of
// timed key presses, through the program's own parts (splash, menu, game)
// and the same recorder as `vyrn --record`. The golden replays under tests/
// are made with it; the settings and the high-score table start as defaults
// in a fresh folder, so a re-recording gives the same bytes.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/Main.h"
#include "common/Scramble.h"
#include "platform/EventLoop.h"
#include "platform/MessageBox.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayRecorder.h"

#include "SimScript.h"
#include "StderrMessageBox.h"

namespace {

const char* const Usage = "usage: vyrn-record --pak FILE --seed N --script FILE --out FILE\n"
                          "script lines: TIME down KEY | TIME up KEY | TIME type TEXT | MS end\n"
                          "TIME: milliseconds on the loop's clock, or gN: before the running game's tick N\n";

int Fail(const std::string& Message) {
  std::fprintf(stderr, "vyrn-record: %s\n", Message.c_str());
  return 1;
}

// Hands the inputs of a game tick to the recorder just before that tick, so
// scripts written for vyrn-sim's game ticks keep their timing.
class TGameTickInputs : public IInputSink {
public:
  TGameTickInputs(TMainForm& Form, IInputSink& Next, std::multimap<long long, TInputEvent> Inputs)
      : FForm(Form), FNext(Next), FInputs(std::move(Inputs)) {}
  void Dispatch(const TInputEvent& Event) override {
    if (!FForm.Game()) FTick = 0;
    if (Event.Kind == TInputKind::Timer && Event.Code == FForm.GameTimer && FForm.TimerRuns(FForm.GameTimer) &&
        FForm.Game()) {
      const auto [B, E] = FInputs.equal_range(FTick);
      for (auto It = B; It != E; ++It) FNext.Dispatch(It->second);
      ++FTick;
    }
    FNext.Dispatch(Event);
  }

private:
  TMainForm& FForm;
  IInputSink& FNext;
  std::multimap<long long, TInputEvent> FInputs;
  long long FTick = 0;
};

}  // namespace

int main(int Argc, char** Argv) {
  std::string Pak = "game.pak", Script, Out;
  long long Seed = -1;
  for (int I = 1; I + 1 < Argc; I += 2) {
    const std::string A = Argv[I], V = Argv[I + 1];
    if (A == "--pak") Pak = V;
    else if (A == "--script") Script = V;
    else if (A == "--out") Out = V;
    else if (A == "--seed") {
      if (!ParseInt(V, 0, 4294967295LL, Seed)) return Fail("bad seed\n" + std::string(Usage));
    } else
      return Fail("unknown option " + A + "\n" + Usage);
  }
  if (Argc % 2 == 0 || Script.empty() || Out.empty() || Seed < 0) return Fail(Usage);

  // Time (ms on the loop's clock) -> inputs due then; -1 marks the end.
  std::multimap<long long, TInputEvent> Inputs, GameInputs;
  long long EndMs = -1;
  {
    std::ifstream In(Script);
    if (!In) return Fail("cannot read \"" + Script + "\"");
    std::string Line;
    for (int N = 1; std::getline(In, Line); ++N) {
      if (!Line.empty() && Line.back() == '\r') Line.pop_back();
      if (Line.empty() || Line[0] == '#') continue;
      const bool GameTime = Line[0] == 'g';
      if (GameTime) Line.erase(0, 1);
      const auto S1 = Line.find(' ');
      const auto S2 = S1 == std::string::npos ? S1 : Line.find(' ', S1 + 1);
      long long Ms = 0;
      const std::string What = Line.substr(S1 == std::string::npos ? Line.size() : S1 + 1,
                                           S2 == std::string::npos ? std::string::npos : S2 - S1 - 1);
      const std::string Rest = S2 == std::string::npos ? "" : Line.substr(S2 + 1);
      std::uint16_t Key = 0;
      const std::string Where = Script + ":" + std::to_string(N) + ": ";
      if (S1 == std::string::npos || !ParseInt(Line.substr(0, S1), 0, LLONG_MAX, Ms)) return Fail(Where + "expected a time");
      auto& To = GameTime ? GameInputs : Inputs;
      if (What == "end" && !GameTime) EndMs = Ms;
      else if (What == "type")
        // One character per 100 ms (or per game tick), as typed.
        for (std::size_t I = 0; I < Rest.size(); ++I)
          To.emplace(Ms + static_cast<long long>(I) * (GameTime ? 1 : 100), TInputEvent::KeyPress(Rest[I]));
      else if ((What == "down" || What == "up") && KeyFromText(Rest, Key))
        To.emplace(Ms, What == "down" ? TInputEvent::KeyDown(Key) : TInputEvent::KeyUp(Key));
      else
        return Fail(Where + "expected \"down KEY\", \"up KEY\", \"type TEXT\" or \"end\"");
    }
  }
  if (EndMs < 0) return Fail("the script has no end line");

  const std::string Folder = MakeReplayFolder();
  if (Folder.empty()) return Fail("cannot create a temporary folder");
  TStderrMessageBox Box("vyrn-record");
  SetMessageBoxHandler(&Box);
  int Exit = 0;
  {
    THeadlessSession Session(Pak, Folder);
    TMainForm& Form = Session.Form();
    const auto FixedSeed = static_cast<std::uint32_t>(Seed);
    TReplayRecorder Recorder(Out, Form, Folder, [FixedSeed] { return FixedSeed % 86400000u; });
    if (Recorder.Failed()) Exit = Fail("cannot write \"" + Out + "\"");
    else if (!Form.FormCreate()) Exit = Fail("the window could not start");
    else {
      Recorder.Started();
      TGameTickInputs Sink(Form, Recorder, std::move(GameInputs));
      TEventLoop Loop(Session.Timers, Session.Source, Sink, Session.Presenter, Session.Screen);
      auto Next = Inputs.begin();
      while (static_cast<long long>(Session.Clock.NowMs()) < EndMs) {
        for (; Next != Inputs.end() && Next->first <= static_cast<long long>(Session.Clock.NowMs()); ++Next)
          Session.Source.Push(Next->second);
        if (!Loop.Step()) break;
      }
    }
    if (!Recorder.Finish() && Exit == 0) Exit = Fail("cannot write \"" + Out + "\"");
    Form.FormDestroy();
  }
  SetMessageBoxHandler(nullptr);
  RemoveReplayFolder(Folder);
  return Exit;
}
