#include "platform/MessageBox.h"

#include <algorithm>
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

std::string MessageBoxLines(const std::string& Text, std::size_t MaxColumns) {
  if (MaxColumns == 0) MaxColumns = 1;
  std::string Out;
  std::string Line;
  auto FlushWrapped = [&] {
    while (Line.size() > MaxColumns) {
      // Break after the last space or separator that keeps the line within
      // the width; a space at the break is dropped.
      std::size_t Cut = std::string::npos;
      for (std::size_t I = MaxColumns; I > 0; --I) {
        const char C = Line[I - 1];
        if (C == ' ' || C == '/' || C == '\\') {
          Cut = I;
          break;
        }
      }
      if (Cut == std::string::npos) Cut = MaxColumns;
      std::string Head = Line.substr(0, Cut);
      if (!Head.empty() && Head.back() == ' ') Head.pop_back();
      Out += Head;
      Out += '\n';
      Line.erase(0, Cut);
      Line.erase(0, std::min(Line.size(), Line.find_first_not_of(' ')));
    }
    Out += Line;
    Line.clear();
  };
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    if (C == '\r' || C == '\n') {
      if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
      FlushWrapped();
      Out += '\n';
    } else {
      Line += C;
    }
  }
  FlushWrapped();
  return Out;
}

IMessageBox* SetMessageBoxHandler(IMessageBox* Handler) {
  IMessageBox* Old = Current;
  Current = Handler ? Handler : &DefaultBox;
  return Old;
}

IMessageBox& CurrentMessageBox() { return *Current; }

void ShowMessageBox(const std::string& Text, const std::string& Caption) { Current->Show(Caption, Text); }
