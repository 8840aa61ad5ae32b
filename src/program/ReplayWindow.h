// A replay shown in the window (`vyrn --replay FILE`): played at the pace
// of its timers, while the window's own input can only stop it.
#pragma once

#include <functional>
#include <string>

class IEventSource;
class IPresenter;
class TMainForm;
class TScreen;
class TTimerScheduler;
struct TReplay;

enum class TReplayEnd {
  Finished,  // played to its end
  Stopped,   // Escape or closing the window
  Failed,    // the window could not start it or the game parted from it
};

// Writes the recorded settings and table into Folder (where Form's parts
// read them), starts Form with the recorded clock and feeds it the replay,
// each timer tick when its timer is due on Timers' clock. Turn runs once
// per loop turn (the audio's polling). A failure is told in a message box
// saying where the game parted from its recording. The caller destroys
// Form afterwards.
TReplayEnd PlayReplayInWindow(const TReplay& Replay, const std::string& Folder, TMainForm& Form,
                              TTimerScheduler& Timers, IEventSource& Source, IPresenter& Presenter, TScreen& Screen,
                              const std::function<void()>& Turn);
