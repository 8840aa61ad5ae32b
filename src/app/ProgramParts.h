// The program's real parts behind the main window's interfaces: the
// settings over the display, the music engine over the current audio output,
// the archive reader on game.pak. The splash, the
// menu and the game are not part of the program yet: the factory makes none,
// and the window runs its timers over a black screen without them.
#pragma once

#include <string>

#include "app/FormParts.h"
#include "audio/AudioObject.h"
#include "pak/PakReader.h"
#include "persist/Config.h"

class TConfigLink : public IFormConfig {
public:
  TConfigLink(IDisplay& Display, std::string Folder) : Config(Display, std::move(Folder)) {}

  std::uint8_t Volume() const override { return Config.Volume; }
  bool FullScreen() const override { return Config.FullScreen; }
  std::uint16_t Key(int Slot) const override;
  bool TerminateRequested() const override { return Config.TerminateRequested; }
  bool WindowRebuilt() const override { return Config.WindowRebuilt; }
  void ClearWindowRebuilt() override { Config.WindowRebuilt = false; }
  void SetFullScreen(bool Value) override { Config.SetFullScreen(Value); }
  void SwitchDisplayMode(bool& FullScreen) override { Config.SwitchDisplayMode(FullScreen); }

  TConfig Config;
};

class TPakLink : public IFormPak {
public:
  explicit TPakLink(std::string FileName) : Pak(std::move(FileName)) {}
  bool CheckArchive(std::string& Problem) const override { return Pak.CheckArchive(Problem); }

  TPakFileReadable Pak;
};

class TAudioLink : public IFormAudio {
public:
  // Slot points at the link while it lives, for the loop's end check.
  explicit TAudioLink(TAudioLink** Slot) : FSlot(Slot) { *FSlot = this; }
  ~TAudioLink() override { *FSlot = nullptr; }
  TAudioLink(const TAudioLink&) = delete;
  TAudioLink& operator=(const TAudioLink&) = delete;
  void SetVolume(int Percent) override { Audio.SetVolume(Percent); }

  TAudioObject Audio;

private:
  TAudioLink** FSlot;
};

class TProgramParts : public IFormParts {
public:
  // Display must outlive the settings made here; config.dat lives in Folder.
  explicit TProgramParts(IDisplay& Display, std::string Folder = ".") : FDisplay(Display), FFolder(std::move(Folder)) {}

  std::unique_ptr<IFormConfig> CreateConfig() override;
  std::unique_ptr<IFormAudio> CreateAudio() override;
  std::unique_ptr<IFormPak> CreatePak(const std::string& FileName) override;
  std::unique_ptr<ISplashScreen> CreateSplash(TScreen&, int, int, IFormAudio&, IFormPak&) override { return nullptr; }
  std::unique_ptr<IMenu> CreateMenu(int, IFormPak&, IFormAudio&, IFormConfig&, TScreen&) override { return nullptr; }
  // Once per loop turn: delivers the finished-sound notices and lets the
  // music engine see the end of a piece.
  void PollAudio();

  std::unique_ptr<IGameData> CreateGame(int, int, int, IFormPak&, IFormAudio&, IFormConfig&, bool, TFastImageBuffer&,
                                        TPanel&, TPanel&, TScreen&, int) override {
    return nullptr;
  }

private:
  IDisplay& FDisplay;
  std::string FFolder;
  TAudioLink* FAudio = nullptr;
};
