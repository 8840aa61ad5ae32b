// The display and the main window as the settings see them: the desktop
// mode, testing and switching to the 800 x 600 game mode and back, and the
// window's border, cursor, size and position. The SDL implementation lives in
// platform/sdl; tests drive every branch through TFakeDisplay.
#pragma once

#include <cstdint>
#include <functional>

// A display-mode record in the classic form: the record's own size, the mask
// of the fields that count (bits per pixel, width, height, display flags and
// refresh), then those fields.
struct TDisplayMode {
  static constexpr std::uint32_t RecordSize = 156;
  static constexpr std::uint32_t UsedFields = 0x7C0000;

  std::uint32_t Size = RecordSize;
  std::uint32_t Fields = UsedFields;
  std::uint32_t BitsPerPel = 0;
  std::uint32_t PelsWidth = 0;
  std::uint32_t PelsHeight = 0;
  std::uint32_t DisplayFlags = 0;
  std::uint32_t DisplayFrequency = 0;

  friend bool operator==(const TDisplayMode&, const TDisplayMode&) = default;
};

// Result codes of testing or applying a display mode.
enum : int {
  DispChangeSuccessful = 0,
  DispChangeRestart = 1,
  DispChangeFailed = -1,
  DispChangeBadMode = -2,
  DispChangeNotUpdated = -3,
  DispChangeBadFlags = -4,
};

// The message that tells every top-level window that the display changed.
inline constexpr std::uint32_t DisplayChangeMessage = 0x7E;

enum class TBorderStyle { None, Fixed };

struct TSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

class IDisplay {
public:
  virtual ~IDisplay() = default;

  // Bits per pixel, resolution and vertical refresh of the display the window
  // is on, as it is now.
  virtual TDisplayMode CurrentMode() = 0;
  // Whether the display could take Mode, without applying it.
  virtual int TestMode(const TDisplayMode& Mode) = 0;
  // Switches the display to Mode for this program (full screen).
  virtual int EnterMode(const TDisplayMode& Mode) = 0;
  // Gives the display back its desktop mode (Mode is the desktop as found at start).
  virtual int RestoreMode(const TDisplayMode& Mode) = 0;
  // Tells every top-level window that the display changed.
  virtual void BroadcastDisplayChange(std::uint32_t Message, std::uintptr_t WParam, std::intptr_t LParam) = 0;

  virtual void ShowCursor(bool Visible) = 0;
  virtual void SetBorderStyle(TBorderStyle Style) = 0;
  virtual void SetClientSize(int Width, int Height) = 0;
  // The window's size including its border and caption.
  virtual TSize OuterSize() = 0;
  // Position of the window's outer top-left corner on the desktop.
  virtual void SetPosition(int Left, int Top) = 0;
  virtual TSize DesktopSize() = 0;
  // A window manager frames a window some time after it is shown, so the
  // border read before then is none. Handler runs whenever the window's
  // border turns out other than last read; an empty one removes it.
  virtual void SetFrameChangedHandler(std::function<void()> Handler) = 0;
};
