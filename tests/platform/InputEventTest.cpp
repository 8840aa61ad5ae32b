#include <gtest/gtest.h>

#include <vector>

#include "platform/InputEvent.h"

TEST(InputEvent, EveryKindSurvivesEncodingAndDecoding) {
  const std::vector<TInputEvent> Events = {
      TInputEvent::TimerTick(3),
      TInputEvent::KeyDown(37, ShiftShift | ShiftCtrl),
      TInputEvent::KeyUp(0xFFFF, ShiftAlt),
      TInputEvent::KeyPress('\xE9'),
      TInputEvent::KeyPress('\0'),
      TInputEvent::FocusGained(),
      TInputEvent::FocusLost(),
      TInputEvent::CloseRequest(),
      TInputEvent::CloseRequest(CloseTerminate),
      TInputEvent::Click(),
  };
  for (const TInputEvent& E : Events) {
    const auto Decoded = DecodeInputEvent(EncodeInputEvent(E));
    ASSERT_TRUE(Decoded.has_value()) << DescribeInputEvent(E);
    EXPECT_EQ(*Decoded, E) << DescribeInputEvent(E);
  }
  EXPECT_EQ(EncodeInputEvent(TInputEvent::KeyDown(0x1234, ShiftShift)), (TEncodedInputEvent{2, 1, 0x34, 0x12}));
  EXPECT_EQ(TInputEvent::KeyPress('\xE9').Code, 0xE9);  // the character as unsigned
}

TEST(InputEvent, DecodingRejectsBytesNoEventMakes) {
  EXPECT_FALSE(DecodeInputEvent({0, 0, 0, 0}));
  EXPECT_FALSE(DecodeInputEvent({9, 0, 0, 0}));
  EXPECT_FALSE(DecodeInputEvent({8, 0, 1, 0}));     // a click with a code
  EXPECT_FALSE(DecodeInputEvent({1, 1, 0, 0}));     // a tick with modifiers
  EXPECT_FALSE(DecodeInputEvent({4, 0, 0, 1}));     // a character above 255
  EXPECT_FALSE(DecodeInputEvent({5, 0, 1, 0}));     // focus with a code
  EXPECT_FALSE(DecodeInputEvent({7, 0, 2, 0}));     // unknown close reason
  EXPECT_TRUE(DecodeInputEvent({3, 7, 0xFF, 0xFF}));
}

TEST(InputEvent, Utf8TextBecomesLatin1Characters) {
  EXPECT_EQ(Utf8ToLatin1("Az 9!"), "Az 9!");
  EXPECT_EQ(Utf8ToLatin1("\xC3\xA9\xC3\x9F"), "\xE9\xDF");         // é ß
  EXPECT_EQ(Utf8ToLatin1("a\xE2\x82\xAC" "b"), "ab");                // € has no 8-bit form
  EXPECT_EQ(Utf8ToLatin1("\xF0\x9F\x98\x80x"), "x");                 // emoji dropped
  EXPECT_EQ(Utf8ToLatin1("\xC0\x80" "a"), "a");                      // overlong NUL
  EXPECT_EQ(Utf8ToLatin1("\xE0\x80\xC1" "b"), "b");                  // overlong and cut
  EXPECT_EQ(Utf8ToLatin1("\x80\xBFq\xC3"), "q");                     // stray and truncated bytes
  EXPECT_EQ(Utf8ToLatin1("\xC2\xA0\xC3\xBF"), "\xA0\xFF");           // top of Latin-1
}
