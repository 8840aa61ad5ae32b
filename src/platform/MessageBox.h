// Modal message boxes with one OK button. Game code calls ShowMessageBox; the
// platform installs the real box, tests install a recorder.
#pragma once

#include <string>
#include <utility>
#include <vector>

class IMessageBox {
public:
  virtual ~IMessageBox() = default;
  virtual void Show(const std::string& Caption, const std::string& Text) = 0;
};

// Remembers every box instead of showing it; the default until the platform
// installs its own, so headless runs never block on a box.
class TRecordingMessageBox : public IMessageBox {
public:
  void Show(const std::string& Caption, const std::string& Text) override { Shown.emplace_back(Caption, Text); }
  std::vector<std::pair<std::string, std::string>> Shown;
};

inline constexpr const char* ApplicationTitle = "Vyrn Rekindled";

// The text as a box shows it: the game's bare carriage returns become line
// breaks, and lines longer than MaxColumns are wrapped after a space or a
// path separator (or cut, where a line has none), so a long folder name
// stays on the screen.
std::string MessageBoxLines(const std::string& Text, std::size_t MaxColumns = 64);

// Installs the handler (nullptr restores the default recorder); returns the old one.
IMessageBox* SetMessageBoxHandler(IMessageBox* Handler);
IMessageBox& CurrentMessageBox();
void ShowMessageBox(const std::string& Text, const std::string& Caption = ApplicationTitle);
