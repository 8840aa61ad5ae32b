#include "game/IntroHints.h"

#include <algorithm>
#include <sstream>

#include "common/Scramble.h"
#include "gfx/FastImaging.h"
#include "gfx/GameText.h"

namespace {

constexpr std::int32_t LinePitch = TGameText::CellSize + 3;
constexpr std::int32_t GapHeight = 6;
constexpr std::int32_t PaddingX = 8;
constexpr std::int32_t PaddingY = 8;

// A key name the font shows whole; otherwise a gap in the middle of the
// sentence would leave the player guessing.
std::string ShownKey(std::uint16_t Key) {
  const std::string Name = KeyName(Key);
  return Name.empty() || !TGameText::CanShow(Name) ? "the draw key" : Name;
}

}  // namespace

std::vector<std::string> TIntroHints::Wrap(const std::string& Text, std::size_t Width) {
  std::vector<std::string> Lines;
  std::istringstream Words(Text);
  std::string Word, Line;
  while (Words >> Word) {
    if (!Line.empty() && Line.size() + 1 + Word.size() > Width) {
      Lines.push_back(Line);
      Line.clear();
    }
    if (!Line.empty()) Line += ' ';
    Line += Word;
  }
  if (!Line.empty()) Lines.push_back(Line);
  return Lines;
}

std::vector<std::string> TIntroHints::Lines(const std::vector<std::uint16_t>& DrawKeys) {
  std::vector<std::string> Hints;
  if (DrawKeys.size() >= 2) {
    Hints.push_back("Draw keys: " + ShownKey(DrawKeys[0]) + " for player 1, " + ShownKey(DrawKeys[1]) +
                    " for player 2. Hold it and steer to cut into the field.");
  } else {
    Hints.push_back("Hold " + (DrawKeys.empty() ? std::string("the draw key") : ShownKey(DrawKeys[0])) +
                    " and steer to cut into the field.");
  }
  Hints.push_back("Close the cut on an edge: you claim what the big enemy cannot reach.");
  // The font has no percent sign.
  Hints.push_back("Fill the panel to 100 percent.");
  Hints.push_back("Esc pauses.");

  std::vector<std::string> Out;
  for (const std::string& Hint : Hints) {
    if (!Out.empty()) Out.emplace_back();
    for (std::string& Line : Wrap(Hint, MaxLineLength)) Out.push_back(std::move(Line));
  }
  return Out;
}

TIntroHints::TIntroHints(const TGameText& Text, const std::vector<std::string>& Lines, std::int32_t FieldWidth) {
  std::int32_t Widest = 0, Height = 0;
  for (const std::string& Line : Lines) {
    if (Line.empty()) {
      Height += GapHeight;
      continue;
    }
    TLine Shown{Text.Render(Line), 0, BoxTop + PaddingY + Height};
    Widest = std::max(Widest, Shown.Picture.Width());
    Height += LinePitch;
    FLines.push_back(std::move(Shown));
  }
  if (FLines.empty()) return;
  Height -= LinePitch - TGameText::CellSize;  // no spacing under the last line
  const std::int32_t Left = FieldWidth / 2 - Widest / 2 - PaddingX;
  FBox = {Left, BoxTop, Left + Widest + 2 * PaddingX - 1, BoxTop + Height + 2 * PaddingY - 1};
  for (TLine& Line : FLines) Line.X = FieldWidth / 2 - Line.Picture.Width() / 2;
}

void TIntroHints::Step(bool Intro) {
  if (Intro) FOpacity = 100;
  else FOpacity = std::max(0, FOpacity - 100 / FadeTicks);
}

void TIntroHints::Draw(TFastImageBuffer& Buffer) const {
  if (!Visible() || FLines.empty()) return;
  const std::int32_t Shade = BoxAlpha * FOpacity / 100;
  constexpr TColorValue Black = TFastImageBuffer::MakeColor(0, 0, 0);
  constexpr TColorValue Rim = TFastImageBuffer::MakeColor(210, 210, 210);
  for (std::int32_t Y = FBox.Top; Y <= FBox.Bottom; ++Y)
    for (std::int32_t X = FBox.Left; X <= FBox.Right; ++X) {
      const bool Edge = Y == FBox.Top || Y == FBox.Bottom || X == FBox.Left || X == FBox.Right;
      Buffer.BlendPixel(X, Y, Edge ? Rim : Black, Edge ? Shade / 2 : Shade);
    }
  const auto Weight = static_cast<std::int32_t>(RoundHalfEven(static_cast<long double>(FOpacity) * 2.55L));
  for (const TLine& Line : FLines) Line.Picture.DrawAlpha(Buffer, Line.X, Line.Y, Weight);
}
