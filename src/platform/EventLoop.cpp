#include "platform/EventLoop.h"

#include <algorithm>

#include "platform/WindowControl.h"

void TEventLoop::Deliver(const TInputEvent& Event) {
  FSink.Dispatch(Event);
  if (FScreen.IsDirty()) {
    FPresenter.Present(FScreen);
    FScreen.ClearDirty();
  }
  if (Event.Kind == TInputKind::Close) FFinished = true;
}

bool TEventLoop::Step() {
  if (FFinished) return false;
  if (FTurnHook) FTurnHook();
  TInputEvent Event;
  // Input goes before timers, as window messages went before timer messages.
  if (FSource.WaitEvent(0, Event)) {
    Deliver(Event);
    return !FFinished;
  }
  const std::uint64_t Now = FTimers.Clock().NowMs();
  if (const auto Id = FTimers.PopDue(Now)) {
    Deliver(TInputEvent::TimerTick(*Id));
    return !FFinished;
  }
  std::uint32_t Wait = MaxWaitMs;
  if (const auto Deadline = FTimers.WakeDeadline())
    Wait = static_cast<std::uint32_t>(std::min<std::uint64_t>(*Deadline - Now, MaxWaitMs));
  if (FSource.WaitEvent(Wait, Event)) Deliver(Event);
  return !FFinished;
}

void TEventLoop::Run() {
  while (Step()) {
  }
}

bool THeadlessEventSource::WaitEvent(std::uint32_t TimeoutMs, TInputEvent& Event) {
  if (FWindow && FWindow->TerminateRequested) {
    FWindow->TerminateRequested = false;
    Event = TInputEvent::CloseRequest(CloseTerminate);
    return true;
  }
  if (FWindow && FWindow->CloseRequested) {
    FWindow->CloseRequested = false;
    Event = TInputEvent::CloseRequest(CloseWindow);
    return true;
  }
  if (!FQueue.empty()) {
    Event = FQueue.front();
    FQueue.pop_front();
    return true;
  }
  FClock.Advance(TimeoutMs);
  return false;
}
