#include "platform/FakeDisplay.h"

#include <algorithm>
#include <utility>

TFakeDisplay::TFakeDisplay() {
  Desktop.BitsPerPel = 32;
  Desktop.PelsWidth = 1024;
  Desktop.PelsHeight = 768;
  Desktop.DisplayFrequency = 75;
  AcceptOnly({75});
}

void TFakeDisplay::AcceptOnly(std::vector<std::uint32_t> GameRefreshRates) {
  Accepted.assign(1, Desktop);
  for (std::uint32_t Rate : GameRefreshRates) {
    TDisplayMode Game = Desktop;
    Game.PelsWidth = 800;
    Game.PelsHeight = 600;
    Game.DisplayFrequency = Rate;
    Accepted.push_back(Game);
  }
}

int TFakeDisplay::Count(const std::string& Prefix) const {
  return static_cast<int>(std::count_if(Log.begin(), Log.end(), [&](const std::string& Entry) {
    return Entry.compare(0, Prefix.size(), Prefix) == 0;
  }));
}

std::string TFakeDisplay::Describe(const TDisplayMode& Mode) {
  return std::to_string(Mode.PelsWidth) + "x" + std::to_string(Mode.PelsHeight) + "x" +
         std::to_string(Mode.BitsPerPel) + "@" + std::to_string(Mode.DisplayFrequency);
}

int TFakeDisplay::Next(std::vector<int>& Results) {
  if (Results.empty()) return DispChangeSuccessful;
  const int Result = Results.front();
  if (Results.size() > 1) Results.erase(Results.begin());
  return Result;
}

TDisplayMode TFakeDisplay::CurrentMode() { return Desktop; }

int TFakeDisplay::TestMode(const TDisplayMode& Mode) {
  Log.push_back("test " + Describe(Mode));
  const bool Known = std::any_of(Accepted.begin(), Accepted.end(), [&](const TDisplayMode& A) {
    return A.BitsPerPel == Mode.BitsPerPel && A.PelsWidth == Mode.PelsWidth && A.PelsHeight == Mode.PelsHeight &&
           A.DisplayFrequency == Mode.DisplayFrequency;
  });
  return Known ? DispChangeSuccessful : DispChangeBadMode;
}

int TFakeDisplay::EnterMode(const TDisplayMode& Mode) {
  Log.push_back("enter " + Describe(Mode));
  const int Result = Next(EnterResults);
  if (Result == DispChangeSuccessful) InGameMode = true;
  return Result;
}

int TFakeDisplay::RestoreMode(const TDisplayMode& Mode) {
  Log.push_back("restore " + Describe(Mode));
  const int Result = Next(RestoreResults);
  if (Result == DispChangeSuccessful) InGameMode = false;
  return Result;
}

void TFakeDisplay::BroadcastDisplayChange(std::uint32_t Message, std::uintptr_t WParam, std::intptr_t LParam) {
  Log.push_back("broadcast " + std::to_string(Message) + " " + std::to_string(WParam) + " " + std::to_string(LParam));
}

void TFakeDisplay::ShowCursor(bool Visible) {
  CursorVisible = Visible;
  Log.push_back(Visible ? "cursor show" : "cursor hide");
}

void TFakeDisplay::SetBorderStyle(TBorderStyle Style) {
  Border = Style;
  Log.push_back(Style == TBorderStyle::None ? "border none" : "border fixed");
}

void TFakeDisplay::SetClientSize(int Width, int Height) {
  Client = {Width, Height};
  Log.push_back("client " + std::to_string(Width) + "x" + std::to_string(Height));
}

TSize TFakeDisplay::OuterSize() {
  if (Border == TBorderStyle::None || !Framed) return Client;
  return {Client.Width + 2 * FrameWidth, Client.Height + CaptionHeight + 2 * FrameWidth};
}

void TFakeDisplay::SetPosition(int NewLeft, int NewTop) {
  Left = NewLeft;
  Top = NewTop;
  Log.push_back("position " + std::to_string(NewLeft) + "," + std::to_string(NewTop));
}

void TFakeDisplay::SetFrameChangedHandler(std::function<void()> Handler) { FFrameChanged = std::move(Handler); }

void TFakeDisplay::FrameWindow() {
  if (Framed) return;
  Framed = true;
  Log.push_back("framed");
  if (Border == TBorderStyle::Fixed && FFrameChanged) FFrameChanged();
}

TSize TFakeDisplay::DesktopSize() {
  if (InGameMode) return {800, 600};
  return {static_cast<int>(Desktop.PelsWidth), static_cast<int>(Desktop.PelsHeight)};
}
