// The program's real parts behind the main window's factory: the settings
// over the display, the music engine over the current audio output, the
// archive reader on game.pak, and the splash, menu and game. This is the one
// place that knows every subsystem; the window itself only sees the part
// interfaces.
#pragma once

#include <string>

#include "app/FormParts.h"

class IDisplay;

class TProgramParts : public IFormParts {
public:
  // Display must outlive the settings made here; config.dat lives in Folder,
  // the archive in ArchiveFolder.
  explicit TProgramParts(IDisplay& Display, std::string Folder = ".", std::string ArchiveFolder = ".")
      : FDisplay(Display), FFolder(std::move(Folder)), FArchiveFolder(std::move(ArchiveFolder)) {}

  // The games made here show the intro hints of a player's first games.
  // Off unless asked for: replays, tools and tests play without them.
  void SetOfferHints(bool Value) { FOfferHints = Value; }

  std::unique_ptr<TConfig> CreateConfig() override;
  std::unique_ptr<TAudioObject> CreateAudio() override;
  std::unique_ptr<TPakFileReadable> CreatePak(const std::string& FileName) override;
  std::unique_ptr<ISplashScreen> CreateSplash(TScreen& DC, int Width, int Height, TAudioObject& Audio,
                                              const TPakFileReadable& Pak) override;
  std::unique_ptr<IMenu> CreateMenu(TMenuScreen Screen, const TPakFileReadable& Pak, TAudioObject& Audio, TConfig& Config,
                                    TScreen& DC) override;
  std::unique_ptr<IGameData> CreateGame(int Width, int StartLevel, int StartLives, const TPakFileReadable& Pak,
                                        TAudioObject& Audio, TConfig& Config, bool TwoPlayers,
                                        TFastImageBuffer& MenuBuffer, TPanel& BottomImage, TPanel& RightImage,
                                        TScreen& DC, int Height) override;
  // The archive's demo1.vrp, demo2.vrp, ... in turn.
  std::unique_ptr<IDemo> CreateDemo(int Number, const TPakFileReadable& Pak, const TConfig& Config,
                                    TScreen& DC) override;

private:
  IDisplay& FDisplay;
  std::string FFolder;
  std::string FArchiveFolder;
  bool FOfferHints = false;
};

// Once per loop turn: delivers the finished-sound notices and lets the music
// engine (the window's, while it has one) see the end of a piece.
void PollAudio(TAudioObject* Engine);
