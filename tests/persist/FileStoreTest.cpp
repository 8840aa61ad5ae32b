#include "persist/FileStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <memory>

#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

TEST(FileStoreTest, ThingsPlantedUnderTheOldTemporaryNameAreLeftAlone) {
  // A link at the name a save used to write through, to a file of the
  // player's and to a full device; a folder in the same place.
  TTestFolder Folder;
  Folder.Write("victim", "precious");
  Folder.Write("data.dat", "old");
  std::filesystem::create_symlink(Folder.File("victim"), Folder.File("data.dat.tmp"));
  std::string Error;
  EXPECT_TRUE(ReplaceFile(Folder.File("data.dat"), "new", Error)) << Error;
  EXPECT_EQ(Folder.Read("data.dat"), "new");
  EXPECT_EQ(Folder.Read("victim"), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("data.dat.tmp")));  // not ours to remove

  Folder.Write("full.dat", "old");
  std::filesystem::create_symlink("/dev/full", Folder.File("full.dat.tmp"));
  EXPECT_TRUE(ReplaceFile(Folder.File("full.dat"), "new", Error)) << Error;
  EXPECT_EQ(Folder.Read("full.dat"), "new");

  Folder.Write("dir.dat", "old");
  std::filesystem::create_directory(Folder.File("dir.dat.tmp"));
  EXPECT_TRUE(ReplaceFile(Folder.File("dir.dat"), "new", Error)) << Error;
  EXPECT_EQ(Folder.Read("dir.dat"), "new");
  EXPECT_TRUE(std::filesystem::is_directory(Folder.File("dir.dat.tmp")));
}

TEST(FileStoreTest, NewFilesTakeTheUsualModeUnderTheUmask) {
  TTestFolder Folder;
  const mode_t Old = ::umask(027);
  std::string Error;
  const bool Written = ReplaceFile(Folder.File("data.dat"), "x", Error);
  ::umask(Old);
  ASSERT_TRUE(Written) << Error;
  struct stat Info {};
  ASSERT_EQ(::stat(Folder.File("data.dat").c_str(), &Info), 0);
  EXPECT_EQ(Info.st_mode & 0777, 0640u);
}

TEST(FileStoreTest, ALinkedFileKeepsItsLinkAndItsTargetIsReplaced) {
  TTestFolder Folder;
  std::filesystem::create_directory(Folder.File("sub"));
  Folder.Write("sub/real.dat", "old");
  // A chain: a relative link to an absolute one.
  std::filesystem::create_symlink(Folder.File("sub/real.dat"), Folder.File("sub/abs.dat"));
  std::filesystem::create_symlink("sub/abs.dat", Folder.File("data.dat"));
  std::string Error;
  ASSERT_TRUE(ReplaceFile(Folder.File("data.dat"), "new", Error)) << Error;
  EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("data.dat")));
  EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("sub/abs.dat")));
  EXPECT_EQ(Folder.Read("sub/real.dat"), "new");
  EXPECT_EQ(Folder.Names().size(), 2u);  // data.dat and sub: the temporary went beside the target

  // A dangling link gets its target made.
  std::filesystem::create_symlink("sub/later.dat", Folder.File("later.dat"));
  ASSERT_TRUE(ReplaceFile(Folder.File("later.dat"), "made", Error)) << Error;
  EXPECT_EQ(Folder.Read("sub/later.dat"), "made");

  // A loop is a failure that touches nothing, and cannot be read either.
  std::filesystem::create_symlink("b.dat", Folder.File("a.dat"));
  std::filesystem::create_symlink("a.dat", Folder.File("b.dat"));
  Error.clear();
  EXPECT_FALSE(ReplaceFile(Folder.File("a.dat"), "x", Error));
  EXPECT_EQ(Error, std::strerror(ELOOP));
  EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("a.dat")));
  std::string Bytes;
  EXPECT_EQ(ReadWholeFile(Folder.File("a.dat"), Bytes, Error), TReadResult::Failed);
}

TEST(FileStoreTest, WritersAtOnceNeverShowAReaderAShortFile) {
  // Three processes save different contents into one file as fast as they
  // can while a fourth reads it: every read must be one content whole.
  TTestFolder Folder;
  const std::string Path = Folder.File("data.dat");
  const std::vector<std::string> Contents = {std::string(300, 'a'), std::string(500, 'b'), std::string(700, 'c')};
  std::string Error;
  ASSERT_TRUE(ReplaceFile(Path, Contents[0], Error));
  std::vector<pid_t> Children;
  for (std::size_t W = 0; W <= Contents.size(); ++W) {
    const pid_t Pid = ::fork();
    ASSERT_GE(Pid, 0);
    if (Pid > 0) {
      Children.push_back(Pid);
      continue;
    }
    int Bad = 0;
    std::string Mine;
    for (int I = 0; I < 400; ++I) {
      if (W < Contents.size()) {
        if (!ReplaceFile(Path, Contents[W], Mine)) ++Bad;
      } else {
        std::string Bytes;
        if (ReadWholeFile(Path, Bytes, Mine) != TReadResult::Read ||
            std::find(Contents.begin(), Contents.end(), Bytes) == Contents.end())
          ++Bad;
      }
    }
    std::_Exit(Bad == 0 ? 0 : 1);
  }
  for (const pid_t Pid : Children) {
    int Status = 0;
    ASSERT_EQ(::waitpid(Pid, &Status, 0), Pid);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
  }
  EXPECT_EQ(Folder.Names(), std::vector<std::string>{"data.dat"});
}

TEST(FileStoreTest, LockIsHeldByOneHolderAtATime) {
  TTestFolder Folder;
  const std::string Path = Folder.File("data.dat");
  int ToChild[2], ToParent[2];
  ASSERT_EQ(::pipe(ToChild), 0);
  ASSERT_EQ(::pipe(ToParent), 0);
  // Forked before the parent locks: a child must not inherit the lock.
  const pid_t Pid = ::fork();
  ASSERT_GE(Pid, 0);
  if (Pid == 0) {
    char Go = 0;
    if (::read(ToChild[0], &Go, 1) != 1) std::_Exit(1);
    TFileLock Mine(Path);  // waits for the parent
    const char Got = Mine.Held() ? 'y' : 'n';
    std::_Exit(::write(ToParent[1], &Got, 1) == 1 ? 0 : 1);
  }
  auto Lock = std::make_unique<TFileLock>(Path);
  ASSERT_TRUE(Lock->Held());
  ASSERT_EQ(::write(ToChild[1], "g", 1), 1);
  pollfd Wait{ToParent[0], POLLIN, 0};
  EXPECT_EQ(::poll(&Wait, 1, 200), 0) << "the child took a lock the parent holds";
  Lock.reset();
  char Got = 0;
  EXPECT_EQ(::read(ToParent[0], &Got, 1), 1);
  EXPECT_EQ(Got, 'y');
  int Status = 0;
  ::waitpid(Pid, &Status, 0);
  for (int Fd : {ToChild[0], ToChild[1], ToParent[0], ToParent[1]}) ::close(Fd);
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
