// The program on the headless platform: the window, the fake display and
// the main form wired to the program's parts, the way the tools and tests
// run whole sessions without a screen.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/Main.h"
#include "platform/FakeDisplay.h"
#include "platform/HeadlessWindow.h"
#include "program/ProgramParts.h"

// The program's own parts with the archive named by its file, wherever the
// tool or test keeps it.
class THeadlessParts : public TProgramParts {
public:
  THeadlessParts(IDisplay& Display, const std::string& Folder, std::string PakFile)
      : TProgramParts(Display, Folder), FPakFile(std::move(PakFile)) {}
  std::unique_ptr<TPakFileReadable> CreatePak(const std::string& FileName) override;

private:
  std::string FPakFile;
};

class THeadlessSession : public THeadlessWindow {
public:
  using TMakeParts = std::function<std::unique_ptr<IFormParts>(IDisplay& Display)>;

  // The program's own parts on the archive PakFile, with the settings and
  // the high-score table in Folder.
  THeadlessSession(const std::string& PakFile, const std::string& Folder);
  // Parts of the caller's making (a menu of its own, a game kept beyond its
  // end), on the session's display.
  explicit THeadlessSession(const TMakeParts& MakeParts);

  TFakeDisplay Display;
  IFormParts& Parts() { return *FParts; }
  TMainForm& Form() { return FForm; }

private:
  std::unique_ptr<IFormParts> FParts;
  TMainForm FForm;  // after the parts: it goes first
};
