// vyrn-preview: a scratch archive in, a PNG of the shaded board out; clear
// errors for missing archives, entries and sets, and for bad arguments.
#include "PreviewTool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "JpegEncode.h"
#include "PngEncode.h"
#include "board/ShadowMask.h"
#include "gfx/AlphaImage.h"
#include "gfx/FastImaging.h"
#include "gfx/PNGObjectImprov.h"
#include "pak/PakReader.h"
#include "pak/PakWriter.h"

namespace {

TBytes EncodePngPixels(int W, int H, const std::vector<TRGBAPixel>& Pixels) {
  TBytes Rgba;
  for (TRGBAPixel P : Pixels) Rgba.insert(Rgba.end(), {PixelR(P), PixelG(P), PixelB(P), PixelA(P)});
  return EncodePngRgba(Rgba.data(), W, H);
}

class PreviewToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = std::filesystem::temp_directory_path() / ("vyrn_preview_" + std::to_string(::getpid()) + "_" + Info->name());
    std::filesystem::create_directories(FDir);
    FPak = (FDir / "game.pak").string();
    FOut = (FDir / "out.png").string();

    // A background of soft gradients, a 32 x 32 opaque sprite in set
    // "evil_test" (numbered from 01) and a glyph sheet of opaque green cells.
    TBytes Rgb;
    for (int Y = 0; Y < 550; ++Y)
      for (int X = 0; X < 600; ++X) {
        Rgb.push_back(static_cast<std::uint8_t>(60 + X / 4));
        Rgb.push_back(static_cast<std::uint8_t>(90 + Y / 5));
        Rgb.push_back(150);
      }
    FBackJpeg = EncodeJpegRgb(Rgb.data(), 600, 550);
    const std::vector<TRGBAPixel> Sprite(32 * 32, MakeRGBA(200, 40, 10, 255));
    const std::vector<TRGBAPixel> Glyphs(42 * 18 * 18, MakeRGBA(0, 255, 0, 255));
    WritePakFile(FPak, {TPakEntry{"back_test.jpg", FBackJpeg}, TPakEntry{"evil_test_01.png", EncodePngPixels(32, 32, Sprite)},
                        TPakEntry{"chars.png", EncodePngPixels(42 * 18, 18, Glyphs)}});
  }
  void TearDown() override {
    std::error_code Ec;
    std::filesystem::remove_all(FDir, Ec);
  }

  int Run(std::vector<std::string> Args) {
    FStdout.str("");
    FStderr.str("");
    return RunPreviewTool(Args, FStdout, FStderr);
  }

  std::filesystem::path FDir;
  std::string FPak, FOut;
  TBytes FBackJpeg;
  std::ostringstream FStdout, FStderr;
};

TColorValue PngPixel(const TPNGObjectImprov& Png, int X, int Y) {
  const std::uint8_t* P = Png.Row(Y) + 4 * X;
  return RGB(P[0], P[1], P[2]);
}

TEST_F(PreviewToolTest, WritesTheShadedBoardWithSpriteAndMessage) {
  ASSERT_EQ(Run({"--pak", FPak, "-o", FOut, "back_test.jpg", "3", "evil_test", "a"}), 0) << FStderr.str();
  EXPECT_NE(FStdout.str().find("wrote"), std::string::npos);

  std::ifstream In(FOut, std::ios::binary);
  const TBytes Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  TPNGObjectImprov Png;
  Png.LoadFromMemory(Bytes.data(), Bytes.size());
  ASSERT_EQ(Png.Width(), 600);
  ASSERT_EQ(Png.Height(), 550);
  EXPECT_EQ(Png.Row(10)[3], 255);  // no transparency in the written picture

  TFastImageBuffer Back(nullptr, 1, 1);
  TMemoryStream BackStream(FBackJpeg);
  Back.LoadJpegFromStream(BackStream);
  const TShadowMask Mask(3);
  auto C = [&](int X, int Y) { return static_cast<long double>((255.0f - Mask.GetShade(X, Y)) / 255.0f); };
  auto Round = [](long double V) { return static_cast<std::uint32_t>(std::llrint(V)); };

  EXPECT_EQ(PngPixel(Png, 0, 100), RGB(160, 160, 160));
  EXPECT_EQ(PngPixel(Png, 300, 0), RGB(160, 160, 160));
  // Free field, plain shade.
  const TColorValue B = Back.GetPixel(200, 450);
  EXPECT_EQ(PngPixel(Png, 200, 450),
            RGB(Round(GetRValue(B) * C(200, 450)), Round(GetGValue(B) * C(200, 450)), Round(GetBValue(B) * C(200, 450))));
  // The claimed corner (right of x = 420, above y = 140).
  const TColorValue BC = Back.GetPixel(500, 60);
  EXPECT_EQ(PngPixel(Png, 500, 60), RGB(Round(GetRValue(BC) * C(500, 60) / 1.35L), Round(GetGValue(BC) * C(500, 60) / 1.35L),
                                        Round(GetBValue(BC) * C(500, 60) / 1.35L)));
  // The claim's trail became edge; player 1's open trail is grey 192, player
  // 2's yellowish.
  const std::uint32_t Edge = Round(255 * C(420, 100));
  EXPECT_EQ(PngPixel(Png, 420, 100), RGB(Edge, Edge, Edge));
  const std::uint32_t T1 = Round(192 * C(160, 380));
  EXPECT_EQ(PngPixel(Png, 160, 380), RGB(T1, T1, T1));
  EXPECT_EQ(PngPixel(Png, 470, 480), RGB(Round(172 * C(470, 480)), Round(192 * C(470, 480)), 0));
  // The sprite at the centre, shaded by the mask.
  EXPECT_EQ(PngPixel(Png, 290, 270), RGB(Round(200 * C(290, 270)), Round(40 * C(290, 270)), Round(10 * C(290, 270))));
  // The message's one cell over it: x = 300 - 9 + 18, y = 275 - 9.
  EXPECT_EQ(PngPixel(Png, 309, 266), RGB(0, 255, 0));
  EXPECT_EQ(PngPixel(Png, 326, 283), RGB(0, 255, 0));
}

TEST_F(PreviewToolTest, WithoutAMessageNothingIsWrittenOverTheSprite) {
  ASSERT_EQ(Run({"--pak", FPak, "--output", FOut, "back_test.jpg", "0", "evil_test"}), 0) << FStderr.str();
  std::ifstream In(FOut, std::ios::binary);
  const TBytes Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  TPNGObjectImprov Png;
  Png.LoadFromMemory(Bytes.data(), Bytes.size());
  EXPECT_NE(PngPixel(Png, 309, 266), RGB(0, 255, 0));
  EXPECT_GT(GetRValue(PngPixel(Png, 309, 266)), 100);  // the sprite's red
}

TEST_F(PreviewToolTest, ClearShowsTheBoardInTheClearLookAndTheSpriteAsBefore) {
  auto Load = [this](std::vector<std::string> Args) {
    EXPECT_EQ(Run(Args), 0) << FStderr.str();
    std::ifstream In(FOut, std::ios::binary);
    const TBytes Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    auto Png = std::make_unique<TPNGObjectImprov>();
    Png->LoadFromMemory(Bytes.data(), Bytes.size());
    return Png;
  };
  const auto Classic = Load({"--pak", FPak, "-o", FOut, "back_test.jpg", "3", "evil_test"});
  const auto Clear = Load({"--pak", FPak, "-o", FOut, "--clear", "back_test.jpg", "3", "evil_test"});
  auto Luma = [](TColorValue C) { return GetRValue(C) + GetGValue(C) + GetBValue(C); };
  // The claimed corner is darker than in the classic look; the open trail
  // of player 1 brighter; the sprite and the border line the same.
  EXPECT_LT(Luma(PngPixel(*Clear, 500, 60)), Luma(PngPixel(*Classic, 500, 60)));
  EXPECT_GT(Luma(PngPixel(*Clear, 160, 380)), Luma(PngPixel(*Classic, 160, 380)));
  EXPECT_EQ(PngPixel(*Clear, 290, 270), PngPixel(*Classic, 290, 270));
  EXPECT_EQ(PngPixel(*Clear, 0, 100), RGB(160, 160, 160));
}

TEST_F(PreviewToolTest, MissingArchiveEntryOrSetAreClearErrors) {
  EXPECT_EQ(Run({"--pak", (FDir / "none.pak").string(), "-o", FOut, "back_test.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("none.pak"), std::string::npos) << FStderr.str();
  EXPECT_FALSE(std::filesystem::exists(FOut));

  EXPECT_EQ(Run({"--pak", FPak, "-o", FOut, "back_nope.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("entry \"back_nope.jpg\" not found"), std::string::npos) << FStderr.str();

  EXPECT_EQ(Run({"--pak", FPak, "-o", FOut, "back_test.jpg", "1", "evil_nope"}), 1);
  EXPECT_NE(FStderr.str().find("No ImageSet \"evil_nope\" was found!"), std::string::npos) << FStderr.str();

  // A set starting at 01 asked for from 05.
  EXPECT_EQ(Run({"--pak", FPak, "-o", FOut, "--first", "5", "back_test.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("evil_test_05.png"), std::string::npos) << FStderr.str();

  // A picture that is not a JPEG.
  WritePakFile(FPak, {TPakEntry{"back_test.jpg", TBytes{1, 2, 3}}});
  EXPECT_EQ(Run({"--pak", FPak, "-o", FOut, "back_test.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("back_test.jpg"), std::string::npos) << FStderr.str();
  EXPECT_FALSE(std::filesystem::exists(FOut));

  // An output path that cannot be written.
  WritePakFile(FPak, {TPakEntry{"back_test.jpg", FBackJpeg},
                      TPakEntry{"evil_test_00.png", EncodePngPixels(1, 1, {MakeRGBA(1, 2, 3, 255)})}});
  EXPECT_EQ(Run({"--pak", FPak, "-o", (FDir / "no" / "such" / "dir.png").string(), "back_test.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("cannot write"), std::string::npos) << FStderr.str();
}

TEST_F(PreviewToolTest, ActorsAreDrawnByTheirOwnCodeAndMissingSetsAreErrors) {
  EXPECT_EQ(Run({"--pak", FPak, "-o", FOut, "--actors", "1", "back_test.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("No ImageSet \"player01\" was found!"), std::string::npos) << FStderr.str();

  std::vector<TPakEntry> Entries = {{"back_test.jpg", FBackJpeg},
                                    {"evil_test_01.png", EncodePngPixels(3, 3, std::vector<TRGBAPixel>(9, MakeRGBA(255, 0, 0, 255)))}};
  const auto Solid = [](std::uint8_t R, std::uint8_t G, std::uint8_t B) {
    return EncodePngPixels(3, 3, std::vector<TRGBAPixel>(9, MakeRGBA(R, G, B, 255)));
  };
  for (int D = 0; D < 4; ++D) {
    Entries.push_back({"player01_0" + std::to_string(D) + ".png", Solid(0, 255, 0)});
    Entries.push_back({"player02_0" + std::to_string(D) + ".png", Solid(0, 0, 255)});
  }
  Entries.push_back({"small_evil03_01.png", Solid(255, 255, 0)});
  Entries.push_back({"item_heart_01.png", Solid(255, 0, 255)});
  WritePakFile(FPak, Entries);
  EXPECT_EQ(Run({"--pak", FPak, "-o", FOut, "--actors", "3", "--item", "item_bogus", "back_test.jpg", "1", "evil_test"}), 1);
  EXPECT_NE(FStderr.str().find("item_bogus"), std::string::npos) << FStderr.str();
  ASSERT_EQ(Run({"--pak", FPak, "-o", FOut, "--actors", "3", "--item", "item_heart", "back_test.jpg", "1", "evil_test"}), 0)
      << FStderr.str();
  std::ifstream In(FOut, std::ios::binary);
  const TBytes Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  TPNGObjectImprov Png;
  Png.LoadFromMemory(Bytes.data(), Bytes.size());
  const TShadowMask Mask(1);
  const auto Shaded = [&](int X, int Y, std::uint8_t R, std::uint8_t G, std::uint8_t B) {
    const long double L = (255.0L - Mask.GetShade(X, Y)) / 255;
    return RGB(static_cast<std::uint32_t>(std::llrint(R * L)), static_cast<std::uint32_t>(std::llrint(G * L)),
               static_cast<std::uint32_t>(std::llrint(B * L)));
  };
  EXPECT_EQ(PngPixel(Png, 300, 275), Shaded(300, 275, 255, 0, 0));  // the big enemy at the centre
  EXPECT_EQ(PngPixel(Png, 161, 431), Shaded(161, 431, 0, 255, 0));  // player 1 at its trail's end
  EXPECT_EQ(PngPixel(Png, 360, 410), Shaded(360, 410, 0, 0, 255));  // player 2
  EXPECT_EQ(PngPixel(Png, 200, 200), Shaded(200, 200, 255, 255, 0));
  EXPECT_EQ(PngPixel(Png, 470, 290), Shaded(470, 290, 255, 255, 0));
  EXPECT_EQ(PngPixel(Png, 250, 480), Shaded(250, 480, 255, 0, 255));
}

TEST_F(PreviewToolTest, UsageErrorsAndHelp) {
  EXPECT_EQ(Run({"--actors", "4", "a", "1", "b"}), 2);
  EXPECT_EQ(Run({"--actors", "0", "a", "1", "b"}), 2);
  EXPECT_EQ(Run({"a", "1", "b", "--item"}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(FStdout.str().find("Usage: vyrn-preview"), std::string::npos);
  EXPECT_NE(FStdout.str().find("SHADE"), std::string::npos);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"back_test.jpg", "1"}), 2);
  EXPECT_EQ(Run({"back_test.jpg", "19", "evil_test"}), 2);
  EXPECT_NE(FStderr.str().find("0 to 18"), std::string::npos);
  EXPECT_EQ(Run({"back_test.jpg", "-1", "evil_test"}), 2);
  EXPECT_EQ(Run({"back_test.jpg", "x", "evil_test"}), 2);
  EXPECT_EQ(Run({"a", "1", "b", "c", "d"}), 2);
  EXPECT_EQ(Run({"--bogus", "a", "1", "b"}), 2);
  EXPECT_EQ(Run({"a", "1", "b", "-o"}), 2);
  EXPECT_EQ(Run({"--first", "x", "a", "1", "b"}), 2);
}

}  // namespace
