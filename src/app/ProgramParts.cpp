#include "app/ProgramParts.h"

#include "platform/Audio.h"

std::uint16_t TConfigLink::Key(int Slot) const {
  if (Slot < TConfig::FirstKey || Slot > TConfig::LastKey) return 0;
  return Config.Keys[static_cast<std::size_t>(Slot)];
}

std::unique_ptr<IFormConfig> TProgramParts::CreateConfig() { return std::make_unique<TConfigLink>(FDisplay, FFolder); }

std::unique_ptr<IFormAudio> TProgramParts::CreateAudio() { return std::make_unique<TAudioLink>(&FAudio); }

void TProgramParts::PollAudio() {
  CurrentAudio().Poll();
  if (FAudio) FAudio->Audio.CheckEnd();
}

std::unique_ptr<IFormPak> TProgramParts::CreatePak(const std::string& FileName) {
  return std::make_unique<TPakLink>(FileName);
}
