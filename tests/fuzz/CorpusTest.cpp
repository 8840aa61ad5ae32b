// The fuzzing's corpus and the crash inputs it found, through the same entry
// functions, in every build: a fixed crash stays fixed without clang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzTargets.h"

namespace fs = std::filesystem;

void PrintTo(const TFuzzTarget& Target, std::ostream* Out) { *Out << Target.Name; }

class FuzzCorpus : public ::testing::TestWithParam<TFuzzTarget> {};

TEST_P(FuzzCorpus, EveryKeptInputIsReadWithoutHarm) {
  const fs::path Folder = fs::path(VYRN_FUZZ_CORPUS) / GetParam().Name;
  ASSERT_TRUE(fs::is_directory(Folder)) << Folder;
  int Files = 0;
  for (const auto& Entry : fs::directory_iterator(Folder)) {
    if (!Entry.is_regular_file()) continue;
    std::ifstream In(Entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(Entry.path().string());
    EXPECT_EQ(GetParam().Entry(Data.data(), Data.size()), 0);
    ++Files;
  }
  EXPECT_GT(Files, 0) << "no seed inputs for " << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, ::testing::ValuesIn(FuzzTargets()),
                         [](const auto& Info) { return std::string(Info.param.Name); });
