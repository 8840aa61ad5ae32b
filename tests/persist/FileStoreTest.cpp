#include "persist/FileStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestFolder.h"

TEST(FileStoreTest, ReplacesTheWholeFileAndLeavesNoTemporary) {
  TTestFolder Folder;
  std::string Error;
  const std::string Path = Folder.File("data.dat");
  ASSERT_TRUE(ReplaceFile(Path, "first, longer content", Error)) << Error;
  ASSERT_TRUE(ReplaceFile(Path, std::string("sh\0rt", 5), Error)) << Error;
  EXPECT_EQ(Folder.Read("data.dat"), std::string("sh\0rt", 5));
  EXPECT_EQ(Folder.Names(), std::vector<std::string>{"data.dat"});

  std::string Bytes;
  EXPECT_EQ(ReadWholeFile(Path, Bytes, Error), TReadResult::Read);
  EXPECT_EQ(Bytes, std::string("sh\0rt", 5));
  EXPECT_EQ(ReadWholeFile(Folder.File("none.dat"), Bytes, Error), TReadResult::Missing);
  EXPECT_TRUE(Bytes.empty());
}

TEST(FileStoreTest, TargetThatCannotBeReplacedStaysAsItWas) {
  TTestFolder Folder;
  std::filesystem::create_directories(Folder.File("data.dat/inside"));
  std::string Error, Bytes;
  EXPECT_FALSE(ReplaceFile(Folder.File("data.dat"), "new", Error));
  EXPECT_FALSE(Error.empty());
  EXPECT_TRUE(std::filesystem::exists(Folder.File("data.dat/inside")));
  EXPECT_FALSE(Folder.Exists("data.dat.tmp"));
  // Reading a folder is an error, not a missing file.
  EXPECT_EQ(ReadWholeFile(Folder.File("data.dat"), Bytes, Error), TReadResult::Failed);
}

TEST(FileStoreTest, OversizedFilesAndFifosAreRefusedNotReadForever) {
  TTestFolder Folder;
  std::string Error, Bytes;
  Folder.Write("big.dat", std::string(static_cast<std::size_t>(MaxDataFileSize) + 1, 'x'));
  EXPECT_EQ(ReadWholeFile(Folder.File("big.dat"), Bytes, Error), TReadResult::Failed);
  EXPECT_TRUE(Bytes.empty());
  Folder.Write("edge.dat", std::string(static_cast<std::size_t>(MaxDataFileSize), 'x'));
  EXPECT_EQ(ReadWholeFile(Folder.File("edge.dat"), Bytes, Error), TReadResult::Read);
  EXPECT_EQ(Bytes.size(), static_cast<std::size_t>(MaxDataFileSize));

  // Nobody writes into this pipe: a blocking read would hang the start-up.
  ASSERT_EQ(::mkfifo(Folder.File("pipe.dat").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(Folder.File("pipe.dat"), Bytes, Error), TReadResult::Failed);
  EXPECT_FALSE(Error.empty());
}

TEST(FileStoreTest, FolderThatIsAFileOrMissingCannotBeWritten) {
  TTestFolder Folder;
  Folder.Write("file", "x");
  std::string Error;
  EXPECT_FALSE(ReplaceFile(Folder.File("file/data.dat"), "new", Error));
  EXPECT_FALSE(ReplaceFile(Folder.File("nowhere/data.dat"), "new", Error));
  EXPECT_EQ(Folder.Read("file"), "x");
}

TEST(FileStoreTest, TemporaryThatCannotBeWrittenKeepsTheOldFile) {
  // Failures that permissions cannot give, since root ignores those: a
  // folder standing where the temporary file must go, and a full device.
  TTestFolder Folder;
  Folder.Write("data.dat", "old");
  std::filesystem::create_directory(Folder.File("data.dat.tmp"));
  std::string Error;
  EXPECT_FALSE(ReplaceFile(Folder.File("data.dat"), "new", Error));
  EXPECT_FALSE(Error.empty());
  EXPECT_EQ(Folder.Read("data.dat"), "old");
  EXPECT_TRUE(std::filesystem::is_directory(Folder.File("data.dat.tmp")));  // not ours to remove

  Folder.Write("full.dat", "old");
  std::filesystem::create_symlink("/dev/full", Folder.File("full.dat.tmp"));
  Error.clear();
  EXPECT_FALSE(ReplaceFile(Folder.File("full.dat"), "new", Error));
  EXPECT_EQ(Error, std::strerror(ENOSPC));
  EXPECT_EQ(Folder.Read("full.dat"), "old");
  EXPECT_FALSE(Folder.Exists("full.dat.tmp"));
}

TEST(FileStoreTest, WriteCutShortKeepsTheOldFileWhole) {
  // A file-size limit makes the write fail half-way, as a full disk would;
  // it holds for root as well.
  TTestFolder Folder;
  Folder.Write("data.dat", "old content");
  rlimit Old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &Old), 0);
  auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit Small = Old;
  Small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &Small), 0);
  std::string Error;
  const bool Written = ReplaceFile(Folder.File("data.dat"), std::string(10000, 'n'), Error);
  ::setrlimit(RLIMIT_FSIZE, &Old);
  std::signal(SIGXFSZ, OldHandler);
  EXPECT_FALSE(Written);
  EXPECT_FALSE(Error.empty());
  EXPECT_EQ(Folder.Read("data.dat"), "old content");
  EXPECT_FALSE(Folder.Exists("data.dat.tmp"));
}

TEST(FileStoreTest, JoinPath) {
  EXPECT_EQ(JoinPath(".", "config.dat"), "./config.dat");
  EXPECT_EQ(JoinPath("/tmp/", "a"), "/tmp/a");
  EXPECT_EQ(JoinPath("", "a"), "a");
}
