#include "DemoRecord.h"

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>

#include "Bot.h"
#include "app/Main.h"
#include "game/GameData.h"
#include "platform/EventLoop.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKeys.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayRecorder.h"

namespace {

// The bot's keys go to the recorder just before each tick of the game, and
// the count of those ticks tells when the demo has played long enough. The
// bot's pauses are left out: a demo that stops to show the pause box is no
// show.
class TBotInputs : public IInputSink {
public:
  TBotInputs(TMainForm& Form, IInputSink& Next, std::uint32_t Seed) : FForm(Form), FNext(Next), FBot(Seed) {}
  void Dispatch(const TInputEvent& Event) override {
    const auto* Game = dynamic_cast<const TGameData*>(FForm.Game());
    if (Game) Started = true;
    else if (Started) Over = true;
    if (Game && Event.Kind == TInputKind::Timer && Event.Code == FForm.GameTimer && FForm.TimerRuns(FForm.GameTimer)) {
      FKeys.clear();
      FBot.Plan(FForm, *Game, FKeys);
      for (const TInputEvent& K : FKeys)
        if (K.Code != Vk::Escape) FNext.Dispatch(K);
      ++Ticks;
    }
    FNext.Dispatch(Event);
  }

  bool Started = false;
  bool Over = false;
  int Ticks = 0;

private:
  TMainForm& FForm;
  IInputSink& FNext;
  TBot FBot;
  std::vector<TInputEvent> FKeys;
};

std::vector<std::uint8_t> ReadBytes(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

}  // namespace

const std::vector<TDemoPlan>& DemoPlans() {
  static const std::vector<TDemoPlan> Plans = {
      // Picked with vyrn-demo-record for a busy game on three kinds of ground.
      {1, 111, 1500},
      {3, 111, 1500},
      {11, 88, 1500},
  };
  return Plans;
}

std::vector<std::uint8_t> RecordDemo(const std::string& PakFile, const TDemoPlan& Plan) {
  if (Plan.Level < 1 || Plan.Level > 28) throw std::runtime_error("a demo starts on levels 1 to 28");
  // The menu's keys by the loop's clock: past the splash, the level word,
  // then the first entry (one player).
  std::multimap<std::uint64_t, TInputEvent> Keys;
  const auto Press = [&Keys](std::uint64_t Ms, std::uint16_t Key) {
    Keys.emplace(Ms, TInputEvent::KeyDown(Key));
    Keys.emplace(Ms + 80, TInputEvent::KeyUp(Key));
  };
  Press(500, Vk::Return);
  // The level word, then the lives word: the bot is no master, and a demo
  // that ends in its first minute shows little.
  std::string Words = "VIGOR9";
  if (Plan.Level > 1) Words = "VAULT" + std::string(Plan.Level < 10 ? "0" : "") + std::to_string(Plan.Level) + Words;
  for (std::size_t I = 0; I < Words.size(); ++I) Press(1500 + 200 * I, static_cast<std::uint16_t>(Words[I]));
  Press(1500 + 200 * Words.size() + 500, Vk::Return);

  const std::string Folder = MakeReplayFolder();
  if (Folder.empty()) throw std::runtime_error("no temporary folder for a demo");
  const std::string Out = Folder + "/demo.vrp";
  TRecordingMessageBox Box;
  IMessageBox* OuterBox = SetMessageBoxHandler(&Box);
  std::string Problem;
  {
    THeadlessSession Session(PakFile, Folder);
    TMainForm& Form = Session.Form();
    const std::uint32_t Seed = Plan.Seed;
    TReplayRecorder Recorder(Out, Form, Folder, [Seed] { return Seed % 86400000u; });
    if (Recorder.Failed()) Problem = "cannot write " + Out;
    else if (!Form.FormCreate()) Problem = "the window could not start";
    else {
      Recorder.Started();
      TBotInputs Sink(Form, Recorder, Plan.Seed);
      TEventLoop Loop(Session.Timers, Session.Source, Sink, Session.Presenter, Session.Screen);
      auto Next = Keys.begin();
      // Ten minutes of the loop's clock at most, whatever happens.
      while (Sink.Ticks < Plan.GameTicks && !Sink.Over && Session.Clock.NowMs() < 600000) {
        for (; Next != Keys.end() && Next->first <= Session.Clock.NowMs(); ++Next) Session.Source.Push(Next->second);
        if (!Loop.Step()) break;
      }
      if (!Sink.Started) Problem = "the demo's game never started";
    }
    if (!Recorder.Finish() && Problem.empty()) Problem = "cannot write " + Out;
    Form.FormDestroy();
  }
  SetMessageBoxHandler(OuterBox);
  std::vector<std::uint8_t> Bytes = ReadBytes(Out);
  RemoveReplayFolder(Folder);
  if (Problem.empty() && !Box.Shown.empty()) Problem = "the game said: " + Box.Shown.front().second;
  if (!Problem.empty()) throw std::runtime_error("demo on level " + std::to_string(Plan.Level) + ": " + Problem);
  return Bytes;
}
