// What the main window asks of its platform window: the caption, giving up
// and taking back the screen when the focus goes and comes, and ending.
#pragma once

#include <string>

class IWindowControl {
public:
  virtual ~IWindowControl() = default;
  virtual void SetCaption(const std::string& Caption) = 0;
  virtual void Minimise() = 0;
  virtual void Restore() = 0;
  // What the platform reports right now; the game itself follows the focus
  // events of the input seam instead, so that replays see the same focus.
  virtual bool HasFocus() const = 0;
  // Asks the loop to close the window: the close request comes back through
  // the input seam as a Close event.
  virtual void Close() = 0;
  // Asks the program to end without the normal closing steps.
  virtual void Terminate() = 0;
};

// Remembers what was asked; the headless event source turns Close and
// Terminate into Close events.
class THeadlessWindowControl : public IWindowControl {
public:
  void SetCaption(const std::string& Value) override { Caption = Value; }
  void Minimise() override {
    Minimised = true;
    ++MinimiseCount;
  }
  void Restore() override {
    Minimised = false;
    ++RestoreCount;
  }
  bool HasFocus() const override { return Focused; }
  void Close() override { CloseRequested = true; }
  void Terminate() override { TerminateRequested = true; }

  std::string Caption;
  bool Minimised = false;
  bool Focused = true;
  bool CloseRequested = false;
  bool TerminateRequested = false;
  int MinimiseCount = 0;
  int RestoreCount = 0;
};
