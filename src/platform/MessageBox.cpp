#include "platform/MessageBox.h"

#include <cstdio>

namespace {
class TStderrMessageBox : public TRecordingMessageBox {
public:
  void Show(const std::string& Caption, const std::string& Text) override {
    TRecordingMessageBox::Show(Caption, Text);
    std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
  }
};

TStderrMessageBox DefaultBox;
IMessageBox* Current = &DefaultBox;
}  // namespace

IMessageBox* SetMessageBoxHandler(IMessageBox* Handler) {
  IMessageBox* Old = Current;
  Current = Handler ? Handler : &DefaultBox;
  return Old;
}

IMessageBox& CurrentMessageBox() { return *Current; }

void ShowMessageBox(const std::string& Text, const std::string& Caption) { Current->Show(Caption, Text); }
