#include "program/ProgramParts.h"

#include <exception>

#include "audio/AudioObject.h"
#include "common/OutOfMemory.h"
#include "frontend/Menu.h"
#include "frontend/SplashScreen.h"
#include "game/GameData.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "persist/FileStore.h"
#include "platform/Audio.h"
#include "platform/Screen.h"
#include "platform/MessageBox.h"
#include "program/Demo.h"

std::unique_ptr<TConfig> TProgramParts::CreateConfig() { return std::make_unique<TConfig>(FDisplay, FFolder); }

std::unique_ptr<TAudioObject> TProgramParts::CreateAudio() { return std::make_unique<TAudioObject>(); }

std::unique_ptr<TPakFileReadable> TProgramParts::CreatePak(const std::string& FileName) {
  // The archive's name alone where it was always looked for, in the working folder.
  return std::make_unique<TPakFileReadable>(FArchiveFolder == "." ? FileName : JoinPath(FArchiveFolder, FileName));
}

std::unique_ptr<ISplashScreen> TProgramParts::CreateSplash(TScreen& DC, int Width, int Height, TAudioObject& Audio,
                                                           const TPakFileReadable& Pak) {
  return std::make_unique<TSplashScreen>(DC, Width, Height, Audio, Pak);
}

std::unique_ptr<IMenu> TProgramParts::CreateMenu(TMenuScreen Screen, const TPakFileReadable& Pak, TAudioObject& Audio,
                                                 TConfig& Config, TScreen& DC) {
  return std::make_unique<TMenu>(Screen, Pak, Audio, Config, DC);
}

std::unique_ptr<IGameData> TProgramParts::CreateGame(int Width, int StartLevel, int StartLives,
                                                     const TPakFileReadable& Pak, TAudioObject& Audio, TConfig& Config,
                                                     bool TwoPlayers, TFastImageBuffer& MenuBuffer, TPanel& BottomImage,
                                                     TPanel& RightImage, TScreen& DC, int Height) {
  try {
    // The loading bar is shown as it fills, through the screen's own presenter.
    auto Game = std::make_unique<TGameData>(Width, StartLevel, StartLives, Pak, &Audio, Config, TwoPlayers,
                                            MenuBuffer, &BottomImage, &RightImage, &DC, Height,
                                            [&DC] { DC.PresentNow(); });
    if (FOfferHints) Game->OfferHints();
    return Game;
  } catch (const std::exception& E) {
    // Missing pictures and sounds are left out by the game itself; this is
    // an archive that cannot be read at all. Stay in the menu.
    ShowMessageBox(std::string("The game could not be started: ") + FailureText(E));
    return nullptr;
  }
}

std::unique_ptr<IDemo> TProgramParts::CreateDemo(int Number, const TPakFileReadable& Pak, const TConfig& Config,
                                                 TScreen& DC) {
  auto Demo = MakeDemo(Number, Pak, DC);
  if (Demo) Demo->SetSilence(Config.MusicOff, Config.SoundOff);
  return Demo;
}

void PollAudio(TAudioObject* Engine) {
  CurrentAudio().Poll();
  if (Engine) Engine->CheckEnd();
}
