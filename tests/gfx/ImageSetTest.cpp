// Image sets: the numbering rule, where a set ends, and the empty-set box.
#include "gfx/AlphaImageList.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/ImageErrors.h"
#include "gfx/PngTestUtil.h"
#include "pak/PakReader.h"
#include "platform/MessageBox.h"

using namespace pngtest;

namespace {

// A 1 x 1 picture whose red sample is Tag, to tell the pictures apart.
TPakEntry Picture(const std::string& Name, std::uint8_t Tag) {
  return TPakEntry{Name, EncodeRgba(1, 1, {MakeRGBA(Tag, 0, 0, 255)})};
}

class ImageSetTest : public ::testing::Test {
protected:
  void SetUp() override { FOld = SetMessageBoxHandler(&FBoxes); }
  void TearDown() override { SetMessageBoxHandler(FOld); }

  TRecordingMessageBox FBoxes;
  IMessageBox* FOld = nullptr;
};

TEST(ImageSetName, NumbersBelowTenGetALeadingZero) {
  EXPECT_EQ(ImageSetEntryName("player01", 0), "player01_00.png");
  EXPECT_EQ(ImageSetEntryName("item_heart", 1), "item_heart_01.png");
  EXPECT_EQ(ImageSetEntryName("s", 9), "s_09.png");
  EXPECT_EQ(ImageSetEntryName("s", 10), "s_10.png");
  EXPECT_EQ(ImageSetEntryName("s", 99), "s_99.png");
  EXPECT_EQ(ImageSetEntryName("s", 100), "s_100.png");
  EXPECT_EQ(ImageSetEntryName("s", 1234), "s_1234.png");
}

TEST_F(ImageSetTest, LoadsAcrossNineToTenAndStopsAtTheFirstGap) {
  TScratchPak Pak("set");
  std::vector<TPakEntry> Entries;
  for (int N = 1; N <= 12; ++N) Entries.push_back(Picture(ImageSetEntryName("evil_simple01", N), static_cast<std::uint8_t>(N)));
  Entries.push_back(Picture("evil_simple01_14.png", 14));  // after the gap: not part of the set
  Entries.push_back(Picture("evil_simple01_9.png", 99));   // a one-digit name is never asked for
  Entries.push_back(Picture("evil_simple01_00.png", 100)); // before the first index
  Pak.Write(Entries);

  TAlphaImageList List;
  EXPECT_EQ(LoadImageSet(TPakFileReadable(Pak.Path()), "evil_simple01", 1, List), 12);
  ASSERT_EQ(List.Count(), 12);
  for (int I = 0; I < 12; ++I) EXPECT_EQ(List[I].GetRed(0, 0), I + 1);
  EXPECT_TRUE(FBoxes.Shown.empty());
}

TEST_F(ImageSetTest, ThreeDigitNumbersAndAppendingToAFilledList) {
  TScratchPak Pak("three");
  Pak.Write({Picture("big_98.png", 98), Picture("big_99.png", 99), Picture("big_100.png", 100), Picture("big_101.png", 101),
             Picture("big_0100.png", 7)});
  TAlphaImageList List;
  List.Add(std::make_unique<TAlphaImage>(2, 2));
  EXPECT_EQ(LoadImageSet(TPakFileReadable(Pak.Path()), "big", 98, List), 4);
  ASSERT_EQ(List.Count(), 5);
  EXPECT_EQ(List[0].Width(), 2);
  EXPECT_EQ(List[3].GetRed(0, 0), 100);
  EXPECT_EQ(List[4].GetRed(0, 0), 101);
}

TEST_F(ImageSetTest, AMissingFirstNumberLoadsNothingAndTheActorShowsTheBox) {
  TScratchPak Pak("gap");
  Pak.Write({Picture("item_heart_02.png", 2), Picture("item_heart_03.png", 3)});
  TPakFileReadable Reader(Pak.Path());
  TAlphaImageList List;
  EXPECT_EQ(LoadImageSet(Reader, "item_heart", 1, List), 0);
  EXPECT_TRUE(FBoxes.Shown.empty());  // the plain loader never complains
  EXPECT_EQ(LoadRequiredImageSet(Reader, "item_heart", 1, List), 0);
  EXPECT_EQ(List.Count(), 0);
  ASSERT_EQ(FBoxes.Shown.size(), 1u);
  EXPECT_EQ(FBoxes.Shown[0].second, "No ImageSet \"item_heart\" was found!");
  EXPECT_EQ(MissingImageSetText("player01"), "No ImageSet \"player01\" was found!");

  // Starting later picks up the rest of the run.
  EXPECT_EQ(LoadRequiredImageSet(Reader, "item_heart", 2, List), 2);
  EXPECT_EQ(FBoxes.Shown.size(), 1u);
}

TEST_F(ImageSetTest, AMissingArchiveIsAnEmptySet) {
  TAlphaImageList List;
  EXPECT_EQ(LoadRequiredImageSet(TPakFileReadable("/nonexistent/dir/game.pak"), "player01", 0, List), 0);
  ASSERT_EQ(FBoxes.Shown.size(), 1u);
  EXPECT_EQ(FBoxes.Shown[0].second, "No ImageSet \"player01\" was found!");
}

TEST_F(ImageSetTest, ADamagedPictureReachesTheCallerAsOurError) {
  TScratchPak Pak("damaged");
  TPakEntry Broken = Picture("set_02.png", 2);
  ASSERT_GT(Broken.Data.size(), 40u);
  Broken.Data.erase(Broken.Data.end() - 20, Broken.Data.end());  // cut into the image data
  Pak.Write({Picture("set_01.png", 1), Broken, Picture("set_03.png", 3)});
  TAlphaImageList List;
  EXPECT_THROW(LoadImageSet(TPakFileReadable(Pak.Path()), "set", 1, List), EImageDecodeError);
  EXPECT_EQ(List.Count(), 1);
}

TEST(AlphaImageList, IndexOutsideTheListIsAnError) {
  TAlphaImageList List;
  EXPECT_THROW(List.Items(0), std::out_of_range);
  EXPECT_EQ(List.Add(std::make_unique<TAlphaImage>(1, 1)), 0);
  EXPECT_EQ(List.Add(std::make_unique<TAlphaImage>(2, 1)), 1);
  EXPECT_EQ(List.Items(1).Width(), 2);
  EXPECT_THROW(List.Items(2), std::out_of_range);
  EXPECT_THROW(List.Items(-1), std::out_of_range);
  EXPECT_THROW(List.Add(nullptr), std::invalid_argument);
  EXPECT_EQ(List.Count(), 2);
}

}  // namespace
