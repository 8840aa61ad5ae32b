// The headless tools' message box: boxes go to standard error under the
// tool's name, so a run never blocks on one.
#pragma once

#include <cstdio>
#include <string>

#include "platform/MessageBox.h"

class TStderrMessageBox : public IMessageBox {
public:
  explicit TStderrMessageBox(const char* Tool) : FTool(Tool) {}
  void Show(const std::string& Caption, const std::string& Text) override {
    std::fprintf(stderr, "%s: [%s] %s\n", FTool, Caption.c_str(), Text.c_str());
  }

private:
  const char* FTool;
};
