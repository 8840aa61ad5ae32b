#include "app/ProgramParts.h"

#include "audio/AudioObject.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/Audio.h"

std::unique_ptr<TConfig> TProgramParts::CreateConfig() { return std::make_unique<TConfig>(FDisplay, FFolder); }

std::unique_ptr<TAudioObject> TProgramParts::CreateAudio() { return std::make_unique<TAudioObject>(); }

std::unique_ptr<TPakFileReadable> TProgramParts::CreatePak(const std::string& FileName) {
  return std::make_unique<TPakFileReadable>(FileName);
}

// The splash, the menu and the game arrive with their subsystems; until then
// the window runs its timers over a black screen without them.
std::unique_ptr<ISplashScreen> TProgramParts::CreateSplash(TScreen&, int, int, TAudioObject&,
                                                           const TPakFileReadable&) {
  return nullptr;
}

std::unique_ptr<IMenu> TProgramParts::CreateMenu(int, const TPakFileReadable&, TAudioObject&, TConfig&, TScreen&) {
  return nullptr;
}

std::unique_ptr<IGameData> TProgramParts::CreateGame(int, int, int, const TPakFileReadable&, TAudioObject&, TConfig&,
                                                     bool, TFastImageBuffer&, TPanel&, TPanel&, TScreen&, int) {
  return nullptr;
}

void PollAudio(TAudioObject* Engine) {
  CurrentAudio().Poll();
  if (Engine) Engine->CheckEnd();
}
