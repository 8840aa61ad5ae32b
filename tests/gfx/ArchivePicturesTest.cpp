#include "gfx/ArchivePictures.h"

#include <gtest/gtest.h>

#include <fstream>

#include "JpegEncode.h"
#include "gfx/FastImaging.h"
#include "gfx/PngTestUtil.h"
#include "pak/PakReader.h"

using namespace pngtest;

namespace {

constexpr TRGBAPixel Red = MakeRGBA(255, 0, 0, 255);
constexpr TRGBAPixel Shade = MakeRGBA(16, 32, 64, 128);

// An archive with a good and a cut-off picture of each kind.
class ArchivePicturesTest : public ::testing::Test {
protected:
  void SetUp() override {
    const TBytes Png = EncodeRgba(2, 3, std::vector<TRGBAPixel>(6, Red));
    const TBytes Jpeg = EncodeJpegRgb(TBytes(4 * 5 * 3, 200).data(), 4, 5);
    FPak.Write({TPakEntry{"good.png", Png}, TPakEntry{"cut.png", TBytes(Png.begin(), Png.begin() + 40)},
                TPakEntry{"good.jpg", Jpeg}, TPakEntry{"cut.jpg", TBytes(Jpeg.begin(), Jpeg.begin() + 40)}});
  }
  TPakFileReadable Reader() const { return TPakFileReadable(FPak.Path()); }

  TScratchPak FPak{"archive_pictures"};
};

TEST_F(ArchivePicturesTest, PicturesLoadWhereTheEntryDecodes) {
  TAlphaImage Image;
  ASSERT_TRUE(LoadPicture(Reader(), "good.png", Image));
  EXPECT_EQ(Image.Width(), 2);
  EXPECT_EQ(Image.Height(), 3);
  EXPECT_EQ(Image.GetPixel(1, 2), Red);
  EXPECT_EQ(LoadPicture(Reader(), "good.png").GetPixel(0, 0), Red);

  TFastImageBuffer Buffer(nullptr, 1, 1);
  ASSERT_TRUE(LoadJpeg(Reader(), "good.jpg", Buffer));
  EXPECT_EQ(Buffer.Width(), 4);
  EXPECT_EQ(Buffer.Height(), 5);
}

TEST_F(ArchivePicturesTest, MissingOrDamagedEntriesLeaveThePictureAsItWas) {
  for (const char* Name : {"cut.png", "none.png", "good.jpg"}) {
    TAlphaImage Image(1, 1);
    Image.SetPixel(0, 0, Shade);
    EXPECT_FALSE(LoadPicture(Reader(), Name, Image)) << Name;
    EXPECT_EQ(Image.Width(), 1) << Name;
    EXPECT_EQ(Image.GetPixel(0, 0), Shade) << Name;
    EXPECT_EQ(LoadPicture(Reader(), Name).Width(), 0) << Name;
  }
  for (const char* Name : {"cut.jpg", "none.jpg", "good.png"}) {
    TFastImageBuffer Buffer(nullptr, 2, 2);
    Buffer.SetPixel(1, 1, RGB(1, 2, 3));
    EXPECT_FALSE(LoadJpeg(Reader(), Name, Buffer)) << Name;
    EXPECT_EQ(Buffer.Width(), 2) << Name;
    EXPECT_EQ(Buffer.GetPixel(1, 1), RGB(1, 2, 3)) << Name;
  }
}

TEST_F(ArchivePicturesTest, ArchivesThatCannotBeReadGiveNothing) {
  const std::string Junk = FPak.Path() + ".junk";
  {
    std::ofstream Out(Junk, std::ios::binary);
    Out << "\xff\xff\xff\x7fjunk";
  }
  for (const std::string& Path : {Junk, FPak.Path() + ".missing"}) {
    const TPakFileReadable Pak(Path);
    TAlphaImage Image;
    EXPECT_FALSE(LoadPicture(Pak, "good.png", Image)) << Path;
    TFastImageBuffer Buffer(nullptr, 2, 2);
    EXPECT_FALSE(LoadJpeg(Pak, "good.jpg", Buffer)) << Path;
    EXPECT_EQ(Buffer.Width(), 2) << Path;
  }
  std::remove(Junk.c_str());
}

}  // namespace
