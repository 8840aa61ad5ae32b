// The parts the main window owns and the factory that makes them. The
// settings, the music engine and the archive reader are the real objects
// (they run headless in tests); the splash, the menu and the running game
// implement the interfaces below, so the window's logic can be driven with
// fakes of them. Header only: the front end and the game implement these
// without depending on the window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TScreen;
class TPanel;
class TFastImageBuffer;
class TConfig;
class TAudioObject;
class TPakFileReadable;

class ISplashScreen {
public:
  virtual ~ISplashScreen() = default;
  virtual void Tick() = 0;
  virtual void SetDC(TScreen& DC) = 0;
  virtual void SetFinished(bool Value) = 0;
  virtual bool Finished() const = 0;
};

// The menu's screens, in the order of its screen table.
enum class TMenuScreen : int { Main, HighScores, NameEntry, Credits, Options, Keys1, Keys2 };
constexpr int MenuScreenCount = 7;

// The menu's sound effects.
enum class TMenuSound : int { Tick, Choose, Scroll, ScrollRest, FoldOut, FoldIn, Error };
constexpr int MenuSoundCount = 7;

// The running game's sounds: each player's drawing and running sounds, and
// everything at once (both players, the fill sound and the music engine).
enum class TGameSound : int { Player1Draw, Player2Draw, Player1Run, Player2Run, All };

class IMenu {
public:
  virtual ~IMenu() = default;
  virtual void SetScreen(TMenuScreen Screen) = 0;
  virtual void SetGameResult(std::int64_t Score1, std::int64_t Score2) = 0;
  virtual void RestartMusic() = 0;
  // May set Key to 0 to swallow it.
  virtual void KeyDown(std::uint16_t& Key) = 0;
  virtual void KeyPress(char Ch) = 0;
  virtual void SetTargetDC(TScreen& DC) = 0;
  virtual void ShowCheatMark() = 0;
  virtual void SetPaused(bool Paused) = 0;
  virtual void CursorUp() = 0;
  virtual void CursorDown() = 0;
  virtual void CursorLeft() = 0;
  virtual void CursorRight() = 0;
  virtual void Choose() = 0;
  virtual void CursorHome() = 0;
  virtual void CursorEnd() = 0;
  virtual void PageUp() = 0;
  virtual void PageDown() = 0;
  virtual void Back() = 0;
  virtual void EraseChar(std::uint16_t Key) = 0;
  virtual void StopSound(TMenuSound Sound) = 0;
  virtual void StopMusic() = 0;
  virtual void Tick() = 0;
  virtual TFastImageBuffer& FrameBuffer() = 0;
  virtual bool StartOnePlayer() const = 0;
  virtual bool StartTwoPlayers() const = 0;
  virtual bool QuitRequested() const = 0;
  // True once the main screen has waited DemoIdleTicks without a key; the
  // count then starts again, so a window that cannot show its demo asks
  // again only after another wait.
  virtual bool TakeDemoCue() = 0;
};

// Ticks of the menu's timer (30 ms) the main screen waits untouched before
// it shows its demo: 30 seconds.
constexpr int DemoIdleTicks = 1000;

// A game that plays itself from a recording while the menu waits for a
// player. It draws into the window's screen; the settings and the
// high-score table it plays with are its own, never the player's.
class IDemo {
public:
  virtual ~IDemo() = default;
  // Sets the recorded session going; false when it cannot be played.
  virtual bool Start() = 0;
  // One tick of the game's timer; false once the demo is over (played out,
  // its game over, or the recording no longer matching the game).
  virtual bool Tick() = 0;
};

class IGameData {
public:
  virtual ~IGameData() = default;
  virtual void MovePlayer1(std::int8_t DX, std::int8_t DY, bool DrawKey) = 0;
  virtual void MovePlayer2(std::int8_t DX, std::int8_t DY, bool DrawKey) = 0;
  virtual void StopSound(TGameSound Sound) = 0;
  virtual void MoveEvil() = 0;
  virtual void MoveSmallEvils() = 0;
  virtual void SpawnItems() = 0;
  virtual void Update() = 0;
  virtual void SetPaused(bool Value) = 0;
  virtual void ConfirmQuit() = 0;
  virtual std::int64_t Score1() const = 0;
  virtual std::int64_t Score2() const = 0;
  virtual bool TwoPlayers() const = 0;
  virtual bool Paused() const = 0;
  virtual bool Ended() const = 0;
  virtual void SetWaitForKey(bool Value) = 0;
  // The game's state that a desync would change (board, players, enemies,
  // scores), hashed on from Hash: an FNV-1a hash (64 bits) of what the
  // caller hashed before it. Replays compare it.
  virtual std::uint64_t StateChecksum(std::uint64_t Hash) const = 0;
};

// Makes the window's long-lived objects. The window owns what comes back
// and frees it; the parts it hands the settings, the music engine and the
// archive reader to keep references and never free them. A factory that
// cannot make a splash, menu or game returns nothing and the window carries
// on without it.
class IFormParts {
public:
  virtual ~IFormParts() = default;
  virtual std::unique_ptr<TConfig> CreateConfig() = 0;
  virtual std::unique_ptr<TAudioObject> CreateAudio() = 0;
  virtual std::unique_ptr<TPakFileReadable> CreatePak(const std::string& FileName) = 0;
  virtual std::unique_ptr<ISplashScreen> CreateSplash(TScreen& DC, int Width, int Height, TAudioObject& Audio,
                                                      const TPakFileReadable& Pak) = 0;
  virtual std::unique_ptr<IMenu> CreateMenu(TMenuScreen Screen, const TPakFileReadable& Pak, TAudioObject& Audio,
                                            TConfig& Config, TScreen& DC) = 0;
  virtual std::unique_ptr<IGameData> CreateGame(int Width, int StartLevel, int StartLives, const TPakFileReadable& Pak,
                                                TAudioObject& Audio, TConfig& Config, bool TwoPlayers,
                                                TFastImageBuffer& MenuBuffer, TPanel& BottomImage,
                                                TPanel& RightImage, TScreen& DC, int Height) = 0;
  // The demo numbered Number (counting on; the parts go round the demos
  // they have), drawn into DC, silent where the player's Config says so.
  // Nothing when there is none to show.
  virtual std::unique_ptr<IDemo> CreateDemo(int Number, const TPakFileReadable& Pak, const TConfig& Config,
                                            TScreen& DC) {
    (void)Number, (void)Pak, (void)Config, (void)DC;
    return nullptr;
  }
};
