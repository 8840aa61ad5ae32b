// A whole window on the headless platform: a clock that moves only when
// told (or when the event source waits), the timers on it, the screen, the
// window control, an event source whose queue stands for the player and a
// presenter that counts. What tests and tools drive the window with.
#pragma once

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Screen.h"
#include "platform/TimerScheduler.h"
#include "platform/WindowControl.h"

struct THeadlessWindow {
  THeadlessWindow() = default;
  THeadlessWindow(const THeadlessWindow&) = delete;
  THeadlessWindow& operator=(const THeadlessWindow&) = delete;

  TManualClock Clock;
  TTimerScheduler Timers{Clock};
  TScreen Screen;
  THeadlessWindowControl Window;
  THeadlessEventSource Source{Clock, &Window};
  THeadlessPresenter Presenter;
};
