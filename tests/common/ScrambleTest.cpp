#include "common/Scramble.h"

#include <gtest/gtest.h>

#include "common/CommonTypes.h"

namespace {
const std::string DefaultSettings = "0,0,1,38,40,37,39,32,87,83,65,68,17,";

// Plain bytes turned into pairs by hand with a fixed pad, to feed the reader
// texts the writer would never produce.
std::string Pairs(const std::string& Plain, unsigned char Pad = 100) {
  std::string Out;
  for (char C : Plain) {
    Out.push_back(static_cast<char>(Pad));
    Out.push_back(static_cast<char>(Pad ^ static_cast<unsigned char>(C)));
  }
  return Out;
}

std::string XorPairs(const std::string& Scrambled) {
  std::string Plain;
  for (std::size_t I = 0; I + 1 < Scrambled.size(); I += 2) Plain.push_back(static_cast<char>(Scrambled[I] ^ Scrambled[I + 1]));
  return Plain;
}
}  // namespace

TEST(ScrambleTest, DefaultSettingsTextCarriesSum1778) {
  RandSeed = 4711;
  ASSERT_EQ(DefaultSettings.size(), 36u);
  std::string Text = DefaultSettings;
  ScrambleText(Text);
  ASSERT_EQ(Text.size(), 80u);
  EXPECT_EQ(XorPairs(Text), DefaultSettings + "1778");
  EXPECT_TRUE(UnscrambleText(Text));
  EXPECT_EQ(Text, DefaultSettings);
}

TEST(ScrambleTest, PadAndDataBytesStayInTheirRangesForEveryByteValue) {
  std::string All;
  for (int B = 0; B < 256; ++B) All.push_back(static_cast<char>(B));
  All += ",";
  for (std::uint32_t Seed : {0u, 1u, 0xDEADBEEFu, 0xFFFFFFFFu}) {
    RandSeed = Seed;
    std::string Text = All;
    ScrambleText(Text);
    ASSERT_EQ(Text.size() % 2, 0u);
    for (std::size_t I = 0; I < Text.size(); I += 2) {
      const unsigned Pad = static_cast<unsigned char>(Text[I]);
      const unsigned Data = static_cast<unsigned char>(Text[I + 1]);
      EXPECT_GE(Pad, 50u) << I;
      EXPECT_LE(Pad, 199u) << I;
      EXPECT_GE(Data, 66u) << I;
      EXPECT_LE(Data, 128u) << I;
    }
    EXPECT_TRUE(UnscrambleText(Text));
    EXPECT_EQ(Text, All);
  }
}

TEST(ScrambleTest, SameTextTwiceGivesDifferentBytesOfTheSameLength) {
  RandSeed = 99;
  std::string A = "3Vyrn-master,100000,", B = A;
  ScrambleText(A);
  ScrambleText(B);
  EXPECT_NE(A, B);
  EXPECT_EQ(A.size(), B.size());
  EXPECT_EQ(XorPairs(A), "3Vyrn-master,100000,1556");
  EXPECT_EQ(A.size(), 2 * (20 + 4));  // 20 bytes and the four digits of their sum, 1556
  EXPECT_TRUE(UnscrambleText(A));
  EXPECT_TRUE(UnscrambleText(B));
  EXPECT_EQ(A, B);
}

TEST(ScrambleTest, AnyChangedByteFailsTheCheck) {
  RandSeed = 1234;
  std::string Good = "1,0,1,38,";
  ScrambleText(Good);
  for (std::size_t I = 0; I < Good.size(); ++I) {
    for (int Delta = 1; Delta < 256; ++Delta) {
      std::string Bad = Good;
      Bad[I] = static_cast<char>(Bad[I] ^ Delta);
      EXPECT_FALSE(UnscrambleText(Bad)) << "byte " << I << " xor " << Delta;
    }
  }
}

TEST(ScrambleTest, OddTrailingByteIsIgnored) {
  RandSeed = 5;
  std::string Text = DefaultSettings;
  ScrambleText(Text);
  Text.push_back('\x7F');
  EXPECT_TRUE(UnscrambleText(Text));
  EXPECT_EQ(Text, DefaultSettings);
}

TEST(ScrambleTest, ShortAndMalformedTextsFailButStillGiveThePayload) {
  std::string Empty;
  EXPECT_FALSE(UnscrambleText(Empty));
  EXPECT_EQ(Empty, "");
  std::string One = "A";
  EXPECT_FALSE(UnscrambleText(One));
  EXPECT_EQ(One, "");

  // Check text that is no number: the payload is still handed back.
  std::string NotNumber = Pairs("1,2,abc");
  EXPECT_FALSE(UnscrambleText(NotNumber));
  EXPECT_EQ(NotNumber, "1,2,");

  // "1,2," sums to 187; only the plain decimal form of it passes.
  std::string Right = Pairs("1,2,187");
  EXPECT_TRUE(UnscrambleText(Right));
  EXPECT_EQ(Right, "1,2,");
  for (const char* Check : {"", "188", "-187", "187 ", " 187", "0x187", "18 7", "99999999999"}) {
    std::string Bad = Pairs(std::string("1,2,") + Check);
    EXPECT_FALSE(UnscrambleText(Bad)) << '"' << Check << '"';
  }
  // Leading zeros are still the same number.
  std::string Zeros = Pairs("1,2,000187");
  EXPECT_TRUE(UnscrambleText(Zeros));
}

TEST(ScrambleTest, WithoutACommaThePayloadIsTheFirstTwoBytes) {
  // No comma from the second byte on: the check is everything after the first
  // byte ("150") and the payload the first two bytes ("e1": 101 + 49 = 150).
  std::string Text = Pairs("e150");
  EXPECT_TRUE(UnscrambleText(Text));
  EXPECT_EQ(Text, "e1");
  // A comma in the first byte does not count as one.
  std::string Leading = Pairs(",5");
  EXPECT_FALSE(UnscrambleText(Leading));
  EXPECT_EQ(Leading, ",5");
}

TEST(ScrambleTest, EmptyPayloadHasSumZero) {
  RandSeed = 3;
  std::string Text;
  ScrambleText(Text);
  EXPECT_EQ(Text.size(), 2u);  // just "0"
  EXPECT_FALSE(UnscrambleText(Text));  // one plain byte: too short to hold a check
}

TEST(KeyNameTest, BindableKeysAreExactlyTheListedCodes) {
  const std::vector<std::pair<int, int>> Ranges = {{8, 9},    {13, 13}, {16, 18}, {27, 27},   {32, 40},   {45, 46},
                                                   {48, 57},  {65, 93}, {96, 107}, {109, 109}, {111, 123}};
  int Count = 0;
  for (int Key = 0; Key <= 0xFFFF; ++Key) {
    bool Listed = false;
    for (auto [Low, High] : Ranges) Listed = Listed || (Key >= Low && Key <= High);
    EXPECT_EQ(IsBindableKey(static_cast<std::uint16_t>(Key)), Listed) << Key;
    Count += IsBindableKey(static_cast<std::uint16_t>(Key));
  }
  EXPECT_EQ(Count, 83);
  EXPECT_FALSE(IsBindableKey(108));
  EXPECT_FALSE(IsBindableKey(110));
  EXPECT_FALSE(IsBindableKey(256 + 38));  // high byte set: not the Up arrow
}

TEST(KeyNameTest, NamesOfSpecialKeysAndCharactersOfOthers) {
  EXPECT_EQ(KeyName(8), "Backspace");
  EXPECT_EQ(KeyName(13), "Enter");
  EXPECT_EQ(KeyName(17), "Ctrl");
  EXPECT_EQ(KeyName(33), "Page Up");
  EXPECT_EQ(KeyName(37), "Left Arrow");
  EXPECT_EQ(KeyName(40), "Down Arrow");
  EXPECT_EQ(KeyName(46), "Delete");
  EXPECT_EQ(KeyName(93), "App. key");
  EXPECT_EQ(KeyName(96), "Numeric 0");
  EXPECT_EQ(KeyName(105), "Numeric 9");
  EXPECT_EQ(KeyName(106), "Numeric *");
  EXPECT_EQ(KeyName(109), "Numeric -");
  EXPECT_EQ(KeyName(111), "Numeric /");
  const char* const FunctionKeys[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
  for (int F = 1; F <= 12; ++F) EXPECT_EQ(KeyName(static_cast<std::uint16_t>(111 + F)), FunctionKeys[F - 1]);
  // Escape is bindable but has no name: it shows as its own character.
  EXPECT_EQ(KeyName(27), std::string(1, '\x1B'));
  EXPECT_EQ(KeyName(65), "A");
  EXPECT_EQ(KeyName(55), "7");
  EXPECT_EQ(KeyName(108), "l");
  EXPECT_EQ(KeyName(0x141), "A");  // only the low byte counts
  EXPECT_EQ(KeyName(0), std::string(1, '\0'));
}

TEST(KeyNameTest, TwoDigits) {
  EXPECT_EQ(TwoDigits(1), "01");
  EXPECT_EQ(TwoDigits(9), "09");
  EXPECT_EQ(TwoDigits(10), "10");
  EXPECT_EQ(TwoDigits(12), "12");
  EXPECT_EQ(TwoDigits(100), "100");
}

TEST(DecimalTest, OnlySignedDecimalsInRange) {
  std::int32_t V32 = 7;
  EXPECT_TRUE(TryDecimalToInt32("2147483647", V32));
  EXPECT_EQ(V32, 2147483647);
  EXPECT_TRUE(TryDecimalToInt32("-2147483648", V32));
  EXPECT_TRUE(TryDecimalToInt32("+12", V32));
  EXPECT_EQ(V32, 12);
  for (const char* Bad : {"", "-", "+", "2147483648", "1a", " 1", "1 ", "+-1", "--1", "$10"}) {
    V32 = 7;
    EXPECT_FALSE(TryDecimalToInt32(Bad, V32)) << Bad;
    EXPECT_EQ(V32, 7) << Bad;
  }
  std::int64_t V64 = 0;
  EXPECT_TRUE(TryDecimalToInt64("-9223372036854775808", V64));
  EXPECT_EQ(V64, INT64_MIN);
  EXPECT_FALSE(TryDecimalToInt64("9223372036854775808", V64));
}
