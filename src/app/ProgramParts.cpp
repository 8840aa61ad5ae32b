#include "app/ProgramParts.h"

#include "audio/AudioObject.h"
#include "frontend/Menu.h"
#include "frontend/SplashScreen.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "persist/FileStore.h"
#include "platform/Audio.h"

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

std::unique_ptr<IMenu> TProgramParts::CreateMenu(int Screen, const TPakFileReadable& Pak, TAudioObject& Audio,
                                                 TConfig& Config, TScreen& DC) {
  return std::make_unique<TMenu>(Screen, Pak, Audio, Config, DC);
}

// The game arrives with its subsystem; until then the menu stays up.

std::unique_ptr<IGameData> TProgramParts::CreateGame(int, int, int, const TPakFileReadable&, TAudioObject&, TConfig&,
                                                     bool, TFastImageBuffer&, TPanel&, TPanel&, TScreen&, int) {
  return nullptr;
}

void PollAudio(TAudioObject* Engine) {
  CurrentAudio().Poll();
  if (Engine) Engine->CheckEnd();
}
