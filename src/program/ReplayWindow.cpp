#include "program/ReplayWindow.h"

#include <algorithm>

#include "app/Main.h"
#include "platform/EventLoop.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/TimerScheduler.h"
#include "platform/VirtualKeys.h"
#include "program/ReplayPlayer.h"

namespace {

bool Stops(const TInputEvent& E) {
  return E.Kind == TInputKind::Close || (E.Kind == TInputKind::KeyDown && E.Code == Vk::Escape);
}

// The pacing loop: true when stopped by the window's own input.
bool Pace(TReplayPlayer& Player, TTimerScheduler& Timers, IEventSource& Source, IPresenter& Presenter,
          TScreen& Screen, const std::function<void()>& Turn) {
  IClock& Clock = Timers.Clock();
  std::uint64_t Due = Clock.NowMs();
  for (;;) {
    if (Turn) Turn();
    TInputEvent Own;
    while (Source.WaitEvent(0, Own))
      if (Stops(Own)) return true;
    // The recorded ticks come at their timers' pace; the focus monitor's
    // ticks fall between them and do not hold the picture back.
    if (const TInputEvent* Next = Player.NextEvent();
        Next && Next->Kind == TInputKind::Timer && Next->Code < Timers.Count() && Timers.Enabled(Next->Code) &&
        Next->Code != Player.Form().FocusMonitor) {
      const std::uint64_t Now = Clock.NowMs();
      if (Now < Due) {
        const auto Wait = static_cast<std::uint32_t>(std::min<std::uint64_t>(Due - Now, TEventLoop::MaxWaitMs));
        if (Source.WaitEvent(Wait, Own) && Stops(Own)) return true;
        continue;
      }
      Due = std::max(Due + Timers.Interval(Next->Code), Now);
    }
    if (!Player.Step()) return false;
    if (Screen.IsDirty()) {
      Presenter.Present(Screen);
      Screen.ClearDirty();
    }
  }
}

}  // namespace

TReplayEnd PlayReplayInWindow(const TReplay& Replay, const std::string& Folder, TMainForm& Form,
                              TTimerScheduler& Timers, IEventSource& Source, IPresenter& Presenter, TScreen& Screen,
                              const std::function<void()>& Turn) {
  TReplayPlayer Player(Replay, Form);
  TReplayEnd End = TReplayEnd::Failed;
  if (Player.PrepareFolder(Folder) && Player.Start()) {
    Presenter.Present(Screen);
    End = Pace(Player, Timers, Source, Presenter, Screen, Turn) ? TReplayEnd::Stopped
          : Player.Desynced()                                     ? TReplayEnd::Failed
                                                                  : TReplayEnd::Finished;
  }
  if (End == TReplayEnd::Failed) ShowMessageBox("The replay does not match this game: " + Player.Problem());
  return End;
}
