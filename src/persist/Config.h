// The one settings object: options, key bindings and the display mode.
// The three switches and the ten key bindings live in config.dat as scrambled
// text; every setter writes the file at once, nothing is saved on exit.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "persist/ExtraSettings.h"
#include "platform/Display.h"

// Output volume in percent (0..100), from the wave-out device with volume
// control (the last one found), or the wave mapper when none has it.
int GetWaveOutVolume();

// Five key codes in the order up, down, left, right, draw.
using TKeyGroup = std::array<std::uint16_t, 5>;

class TConfig {
public:
  // Key slots: player 1 up, down, left, right, draw, then player 2 the same.
  static constexpr int FirstKey = 4;
  static constexpr int LastKey = 13;
  static constexpr int Player1Keys = 4;
  static constexpr int Player2Keys = 9;
  static constexpr int KeyUp = 0, KeyDown = 1, KeyLeft = 2, KeyRight = 3, KeyDraw = 4;
  // The slot of player 1's or 2's key Which (KeyUp..KeyDraw).
  static constexpr int KeySlot(int Player, int Which) { return (Player == 1 ? Player1Keys : Player2Keys) + Which; }
  static constexpr std::array<std::uint16_t, 14> DefaultKeys = {0, 0, 0, 0, 38, 40, 37, 39, 32, 87, 83, 65, 68, 17};

  static constexpr const char* FileName = "config.dat";
  static constexpr const char* DamagedMessage = "Error decrypting config.dat - rebuilding...";

  // Runs the display tests, reads the volume, then loads (or rebuilds)
  // config.dat in Folder and applies the window style. Display is the main
  // window's display and must outlive the object.
  explicit TConfig(IDisplay& Display, std::string Folder = ".");
  TConfig(const TConfig&) = delete;
  TConfig& operator=(const TConfig&) = delete;

  // The settings beyond the classic ones, in their own file beside config.dat.
  TExtraSettings Extras;

  std::uint8_t Volume = 0;  // not saved; the menu keeps it in step with the device
  bool MusicOff = false;
  bool SoundOff = false;
  bool FullScreen = false;
  std::array<std::uint16_t, 14> Keys{};  // slots 4..13 used
  std::uint16_t PlayerKey(int Player, int Which) const { return Keys[static_cast<std::size_t>(KeySlot(Player, Which))]; }
  TDisplayMode DesktopMode;
  TDisplayMode GameMode;
  bool TerminateRequested = false;
  bool FullScreenPossible = false;
  bool WindowRebuilt = false;

  // Reads config.dat; a missing file silently gives the defaults, a damaged
  // one is reported once and rebuilt with them. One that cannot be read is
  // reported and kept: the defaults play in memory, nothing is saved over it
  // this run.
  void Load();
  // Writes config.dat (atomically: the old file stays intact when the write
  // fails, and the failure is reported in a message box). True when written;
  // false also when saving is held back after a read error.
  bool Save();

  void SetMusicOff(bool Value);
  void SetSoundOff(bool Value);
  void SetPlayer1Keys(const TKeyGroup& K);
  void SetPlayer2Keys(const TKeyGroup& K);
  // Switches the display, applies the window style, stores the mode that
  // resulted and saves.
  void SetFullScreen(bool Value);

  // True: into the game mode; false: back to the desktop. On return FullScreen
  // is false when the game mode is not in use.
  void SwitchDisplayMode(bool& FullScreen);
  // Border, cursor, size and position for the current FullScreen.
  void ApplyWindowStyle();

  const std::string& FilePath() const { return FPath; }
  // True after a read error: the file on disk is kept as it is.
  bool SavingHeldBack() const { return FHoldSaves; }

private:
  void TestDisplay();
  // Centres the outer window (border included) on the desktop.
  void CentreWindow();
  void TakeDefaults();
  std::string PlainText() const;

  IDisplay& FDisplay;
  std::string FPath;
  bool FWriteFailureShown = false;
  bool FHoldSaves = false;
  // Expires with this object: the display may outlive the settings (or the
  // settings a display) and must then not reach them.
  std::shared_ptr<int> FLifetime = std::make_shared<int>(0);
};
