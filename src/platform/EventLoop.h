// The program's one loop: input first, then the earliest due timer, then
// sleep until the next deadline. After every dispatched input the screen is
// presented if something painted into it. Nothing here knows SDL: the
// platform supplies the event source and the presenter.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/Clock.h"
#include "platform/InputEvent.h"
#include "platform/Screen.h"
#include "platform/TimerScheduler.h"

class THeadlessWindowControl;

class IEventSource {
public:
  virtual ~IEventSource() = default;
  // Waits at most TimeoutMs (0: just looks) for the next input. Timer ticks
  // never come from here: the loop makes them from its scheduler.
  virtual bool WaitEvent(std::uint32_t TimeoutMs, TInputEvent& Event) = 0;
};

class IPresenter {
public:
  virtual ~IPresenter() = default;
  // Shows the screen's dirty boxes (all of it when it names none); the
  // caller clears them afterwards.
  virtual void Present(const TScreen& Screen) = 0;
};

class TEventLoop {
public:
  TEventLoop(TTimerScheduler& Timers, IEventSource& Source, IInputSink& Sink, IPresenter& Presenter, TScreen& Screen)
      : FTimers(Timers), FSource(Source), FSink(Sink), FPresenter(Presenter), FScreen(Screen) {}

  // Longest single sleep, so that a loop without timers still looks at its
  // source now and then.
  static constexpr std::uint32_t MaxWaitMs = 100;

  // Handles one input or one timer tick, or sleeps until one is due (which
  // then counts as a step without dispatch). False once a Close event has
  // been dispatched: the loop is over.
  bool Step();
  // Steps until a Close event has been dispatched.
  void Run();
  bool Finished() const { return FFinished; }
  // Runs at the start of every step: the audio's polled notices and end
  // check, which stand where the classic platform had timers of their own.
  void SetTurnHook(std::function<void()> Hook) { FTurnHook = std::move(Hook); }

private:
  void Deliver(const TInputEvent& Event);

  TTimerScheduler& FTimers;
  IEventSource& FSource;
  IInputSink& FSink;
  IPresenter& FPresenter;
  TScreen& FScreen;
  std::function<void()> FTurnHook;
  bool FFinished = false;
};

// A queue of inputs on a manual clock: waiting for an input that is not
// there moves the clock on by the timeout, so a headless loop runs its
// timers at full speed. Close or Terminate on the attached window control
// come out as Close events, as the real window does.
class THeadlessEventSource : public IEventSource {
public:
  THeadlessEventSource(TManualClock& Clock, THeadlessWindowControl* Window = nullptr)
      : FClock(Clock), FWindow(Window) {}
  void Push(const TInputEvent& Event) { FQueue.push_back(Event); }
  bool WaitEvent(std::uint32_t TimeoutMs, TInputEvent& Event) override;
  std::size_t Pending() const { return FQueue.size(); }

private:
  TManualClock& FClock;
  THeadlessWindowControl* FWindow;
  std::deque<TInputEvent> FQueue;
};

// Counts presentations and the pixels they would copy, and keeps nothing
// else: the screen itself is the picture.
class THeadlessPresenter : public IPresenter {
public:
  void Present(const TScreen& Screen) override {
    ++Presented;
    std::int64_t Area = 0;
    for (const TScreenRect& R : Screen.DirtyRects()) Area += std::int64_t{R.Width} * R.Height;
    PresentedPixels += Screen.IsDirty() ? Area : std::int64_t{Screen.Width()} * Screen.Height();
  }
  int Presented = 0;
  std::int64_t PresentedPixels = 0;
};
