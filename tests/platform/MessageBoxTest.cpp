#include <gtest/gtest.h>

#include <sstream>

#include "platform/MessageBox.h"

namespace {
std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Out;
  std::istringstream In(Text);
  for (std::string L; std::getline(In, L);) Out.push_back(L);
  return Out;
}
}  // namespace

TEST(MessageBoxLines, CarriageReturnsBecomeLineBreaksAndShortTextStaysAsItIs) {
  EXPECT_EQ(MessageBoxLines("Error changing resolution (800x600)\rReason: bad\r\nGame will run in windowed mode."),
            "Error changing resolution (800x600)\nReason: bad\nGame will run in windowed mode.");
  EXPECT_EQ(MessageBoxLines(""), "");
  EXPECT_EQ(MessageBoxLines("a\r\rb"), "a\n\nb");
}

TEST(MessageBoxLines, LongLinesBreakAfterSpacesOrSeparatorsAndLoseNoCharacter) {
  const std::string Folder = "/home/player/games/some/rather/deeply/nested/installation/folder/of/vyrn/rekindled";
  const std::string Text = "The game cannot start: its archive \"game.pak\" could not be read in the folder \"" +
                           Folder + "\".\rThe archive is damaged.";
  const std::string Wrapped = MessageBoxLines(Text, 40);
  std::string Joined;
  for (const std::string& L : Lines(Wrapped)) {
    EXPECT_LE(L.size(), 40u) << L;
    Joined += L;
  }
  // Only the spaces at the breaks are gone.
  std::string Expected = Text;
  std::erase(Expected, ' ');
  std::erase(Expected, '\r');
  std::erase(Joined, ' ');
  EXPECT_EQ(Joined, Expected);
  // The path breaks after its separators, never inside a folder name.
  for (const std::string& L : Lines(Wrapped)) {
    if (L.find("/home") != std::string::npos || L.find("nested") != std::string::npos) {
      EXPECT_TRUE(L.back() == '/' || L.back() == '"' || L.back() == '.') << L;
    }
  }
}

TEST(MessageBoxLines, AWordLongerThanTheLineIsCut) {
  EXPECT_EQ(MessageBoxLines(std::string(10, 'x'), 4), "xxxx\nxxxx\nxx");
  EXPECT_EQ(MessageBoxLines("ab cd", 0), "a\nb\nc\nd");
}
