#include "PakTool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "pak/PakReader.h"

namespace {

namespace fs = std::filesystem;

class PakToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = fs::temp_directory_path() / ("vyrn_paktool_" + std::to_string(::getpid()) + "_" + Info->name());
    fs::create_directories(FDir / "sub");
  }
  void TearDown() override {
    std::error_code Ec;
    fs::remove_all(FDir, Ec);
  }
  std::string Put(const std::string& Rel, const std::string& Data) {
    const fs::path P = FDir / Rel;
    std::ofstream(P, std::ios::binary) << Data;
    return P.string();
  }
  static std::string Read(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
  }
  int Run(const std::vector<std::string>& Args) {
    FOut.str("");
    FErr.str("");
    return RunPakTool(Args, FOut, FErr);
  }
  std::string Path(const std::string& Rel) const { return (FDir / Rel).string(); }

  fs::path FDir;
  std::ostringstream FOut, FErr;
};

TEST_F(PakToolTest, BuildListAndExtractRoundTrip) {
  const std::string Binary("\x89PNG\0\r\n\xff", 8);
  const std::vector<std::string> Args = {"build", Path("game.pak"), Put("sub/chars.png", Binary), Put("empty.wav", ""),
                                         Put("menu_back.jpg", "jpeg bytes")};
  ASSERT_EQ(Run(Args), 0) << FErr.str();
  EXPECT_EQ(FErr.str(), "");

  ASSERT_EQ(Run({"list", Path("game.pak")}), 0) << FErr.str();
  EXPECT_EQ(FOut.str(), "chars.png\t8\nempty.wav\t0\nmenu_back.jpg\t10\n");

  ASSERT_EQ(Run({"extract", Path("game.pak"), "chars.png", Path("out.png")}), 0) << FErr.str();
  EXPECT_EQ(Read(Path("out.png")), Binary);
  ASSERT_EQ(Run({"extract", Path("game.pak"), "empty.wav", Path("out.wav")}), 0) << FErr.str();
  EXPECT_TRUE(fs::exists(Path("out.wav")));
  EXPECT_EQ(fs::file_size(Path("out.wav")), 0u);

  // What the game reads is what went in.
  auto S = TPakFileReadable(Path("game.pak")).GetStream("menu_back.jpg");
  ASSERT_TRUE(S);
  EXPECT_EQ(std::string(S->Bytes().begin(), S->Bytes().end()), "jpeg bytes");
}

TEST_F(PakToolTest, ExtractReportsWhatIsMissing) {
  ASSERT_EQ(Run({"build", Path("game.pak"), Put("a.txt", "A")}), 0);
  EXPECT_EQ(Run({"extract", Path("game.pak"), "A.txt", Path("out")}), 1);
  EXPECT_NE(FErr.str().find("not found"), std::string::npos) << FErr.str();
  EXPECT_FALSE(fs::exists(Path("out")));
  EXPECT_EQ(Run({"extract", Path("nothing.pak"), "a.txt", Path("out")}), 1);
  EXPECT_NE(FErr.str().find("not found"), std::string::npos) << FErr.str();
  EXPECT_EQ(Run({"extract", Path("game.pak"), "a.txt", Path("no/such/dir/out")}), 2);
  EXPECT_NE(FErr.str().find("cannot write"), std::string::npos) << FErr.str();
}

TEST_F(PakToolTest, DamagedArchiveIsAReadError) {
  // Directory at 4: one entry "x" claiming 100 bytes at offset 0.
  Put("bad.pak", std::string("\x04\0\0\0\x01x\x64\0\0\0\0\0\0\0", 14));
  EXPECT_EQ(Run({"extract", Path("bad.pak"), "x", Path("out")}), 2);
  EXPECT_NE(FErr.str().find("past the end"), std::string::npos) << FErr.str();
  EXPECT_EQ(Run({"list", Path("bad.pak")}), 0);
  EXPECT_EQ(FOut.str(), "x\t100\n");
  EXPECT_EQ(Run({"list", Path("missing.pak")}), 2);
  EXPECT_NE(FErr.str().find("not found"), std::string::npos) << FErr.str();
  Put("short.pak", "ab");
  EXPECT_EQ(Run({"list", Path("short.pak")}), 2);
}

TEST_F(PakToolTest, BuildRefusesBadInputWithoutWriting) {
  const std::string A = Put("a.png", "1");
  const std::string B = Put("sub/a.png", "2");
  EXPECT_EQ(Run({"build", Path("game.pak"), A, B}), 2);
  EXPECT_NE(FErr.str().find("duplicate"), std::string::npos) << FErr.str();

  const std::string Long = Put(std::string(256, 'n'), "x");
  EXPECT_EQ(Run({"build", Path("game.pak"), A, Long}), 2);
  EXPECT_NE(FErr.str().find("255"), std::string::npos) << FErr.str();

  EXPECT_EQ(Run({"build", Path("game.pak"), A, Path("missing.png")}), 2);
  EXPECT_NE(FErr.str().find("missing.png"), std::string::npos) << FErr.str();
  EXPECT_EQ(Run({"build", Path("game.pak"), A, Path("sub")}), 2);
  EXPECT_FALSE(fs::exists(Path("game.pak")));

  // A name of exactly 255 bytes is fine.
  EXPECT_EQ(Run({"build", Path("game.pak"), Put(std::string(255, 'm'), "ok")}), 0) << FErr.str();
  EXPECT_TRUE(TPakFileReadable(Path("game.pak")).GetStream(std::string(255, 'm')));
}

TEST_F(PakToolTest, UsageErrors) {
  const std::vector<std::vector<std::string>> Wrong = {
      {}, {"frobnicate"}, {"build", Path("game.pak")}, {"list"}, {"list", "a", "b"}, {"extract", "a", "b"}, {"extract", "a", "b", "c", "d"}};
  for (const auto& Args : Wrong) {
    EXPECT_EQ(Run(Args), 2);
    EXPECT_NE(FErr.str().find("usage: vyrn-pak"), std::string::npos);
    EXPECT_EQ(FOut.str(), "");
  }
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(FOut.str().find("usage: vyrn-pak"), std::string::npos);
}

}  // namespace
