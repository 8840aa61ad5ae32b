#include "program/HeadlessSession.h"

#include "pak/PakReader.h"

std::unique_ptr<TPakFileReadable> THeadlessParts::CreatePak(const std::string&) {
  return std::make_unique<TPakFileReadable>(FPakFile);
}

THeadlessSession::THeadlessSession(const std::string& PakFile, const std::string& Folder)
    : THeadlessSession([&](IDisplay& Shown) { return std::make_unique<THeadlessParts>(Shown, Folder, PakFile); }) {}

THeadlessSession::THeadlessSession(const TMakeParts& MakeParts)
    : FParts(MakeParts(Display)), FForm(*FParts, Window, Screen, Timers) {}
