#include "pak/PakReader.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <new>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "pak/PakWriter.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Bytes(const std::string& S) { return TBytes(S.begin(), S.end()); }

void PutU32(TBytes& B, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) B.push_back(static_cast<std::uint8_t>(V >> (8 * i)));
}
void PatchU32(TBytes& B, std::size_t At, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) B[At + i] = static_cast<std::uint8_t>(V >> (8 * i));
}
void PutDirEntry(TBytes& B, const std::string& Name, std::uint32_t Size, std::uint32_t Offset) {
  B.push_back(static_cast<std::uint8_t>(Name.size()));
  B.insert(B.end(), Name.begin(), Name.end());
  PutU32(B, Size);
  PutU32(B, Offset);
}

// A scratch file per test, removed afterwards.
class PakReaderTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    FPath = (std::filesystem::temp_directory_path() /
             ("vyrn_pak_" + std::to_string(::getpid()) + "_" + Info->name() + ".pak"))
                .string();
  }
  void TearDown() override {
    std::error_code Ec;
    std::filesystem::remove_all(FPath, Ec);
  }
  void WriteFile(const TBytes& B) {
    std::ofstream Out(FPath, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(B.data()), static_cast<std::streamsize>(B.size()));
  }
  std::string Contents(const std::string& Name) {
    auto S = TPakFileReadable(FPath).GetStream(Name);
    if (!S) return "<none>";
    return std::string(S->Bytes().begin(), S->Bytes().end());
  }

  // Header, data of "beta" then "alpha" (directory lists alpha first), then
  // the directory; data deliberately not in directory order.
  TBytes OutOfOrderArchive() {
    TBytes B;
    PutU32(B, 0);
    const std::uint32_t BetaAt = static_cast<std::uint32_t>(B.size());
    for (std::uint8_t c : Bytes("BBBBBB")) B.push_back(c);
    const std::uint32_t AlphaAt = static_cast<std::uint32_t>(B.size());
    for (std::uint8_t c : Bytes("alpha-data")) B.push_back(c);
    PatchU32(B, 0, static_cast<std::uint32_t>(B.size()));
    PutDirEntry(B, "alpha.png", 10, AlphaAt);
    PutDirEntry(B, "mid.wav", 2, BetaAt + 1);  // overlaps beta's bytes
    PutDirEntry(B, "beta.jpg", 6, BetaAt);
    return B;
  }

  std::string FPath;
};

TEST_F(PakReaderTest, FindsFirstMiddleAndLastEntryWhateverTheDataOrder) {
  WriteFile(OutOfOrderArchive());
  EXPECT_EQ(Contents("alpha.png"), "alpha-data");
  EXPECT_EQ(Contents("mid.wav"), "BB");
  EXPECT_EQ(Contents("beta.jpg"), "BBBBBB");
  auto S = TPakFileReadable(FPath).GetStream("alpha.png");
  ASSERT_TRUE(S);
  EXPECT_EQ(S->Position(), 0u);
  EXPECT_EQ(S->Size(), 10u);
}

TEST_F(PakReaderTest, NamesCompareExactly) {
  WriteFile(OutOfOrderArchive());
  EXPECT_EQ(Contents("Alpha.png"), "<none>");
  EXPECT_EQ(Contents("ALPHA.PNG"), "<none>");
  EXPECT_EQ(Contents("alpha.png "), "<none>");
  EXPECT_EQ(Contents("alpha"), "<none>");
  EXPECT_EQ(Contents(""), "<none>");
  EXPECT_EQ(Contents(std::string(300, 'x')), "<none>");  // longer than any name: scans to the end
}

TEST_F(PakReaderTest, FirstOfDuplicateNamesWins) {
  TBytes B;
  PutU32(B, 0);
  for (std::uint8_t c : Bytes("firstsecond")) B.push_back(c);
  PatchU32(B, 0, static_cast<std::uint32_t>(B.size()));
  PutDirEntry(B, "other", 1, 4);
  PutDirEntry(B, "dup.wav", 5, 4);
  PutDirEntry(B, "dup.wav", 6, 9);
  WriteFile(B);
  EXPECT_EQ(Contents("dup.wav"), "first");
  const auto List = TPakFileReadable(FPath).ListEntries();
  ASSERT_EQ(List.size(), 3u);
  EXPECT_EQ(List[2], (TPakDirEntry{"dup.wav", 6, 9}));
}

TEST_F(PakReaderTest, EmptyEntryGivesEmptyStreamNotNothing) {
  TBytes B;
  PutU32(B, 4);
  PutDirEntry(B, "empty", 0, 4);
  // An empty entry may sit exactly at the end of the file.
  PutDirEntry(B, "atend", 0, static_cast<std::uint32_t>(B.size() + 1 + 5 + 8));
  WriteFile(B);
  auto S = TPakFileReadable(FPath).GetStream("empty");
  ASSERT_TRUE(S);
  EXPECT_EQ(S->Size(), 0u);
  auto T = TPakFileReadable(FPath).GetStream("atend");
  ASSERT_TRUE(T);
  EXPECT_EQ(T->Size(), 0u);
}

TEST_F(PakReaderTest, EmptyDirectoryFindsNothing) {
  TBytes B;
  PutU32(B, 8);
  for (std::uint8_t c : Bytes("junk")) B.push_back(c);
  WriteFile(B);
  EXPECT_EQ(Contents("junk"), "<none>");
  EXPECT_TRUE(TPakFileReadable(FPath).ListEntries().empty());
  std::string Problem = "x";
  EXPECT_TRUE(TPakFileReadable(FPath).CheckArchive(Problem)) << Problem;
  EXPECT_TRUE(Problem.empty());
}

TEST_F(PakReaderTest, DirectoryCutInsideAnEntryEndsTheScanWithoutMatch) {
  TBytes Full;
  PutU32(Full, 0);
  for (std::uint8_t c : Bytes("0123456789")) Full.push_back(c);
  const std::size_t Dir = Full.size();
  PatchU32(Full, 0, static_cast<std::uint32_t>(Dir));
  PutDirEntry(Full, "ok", 3, 4);
  const std::size_t Second = Full.size();
  PutDirEntry(Full, "abc", 2, 8);
  // Every cut inside the second entry: in its name, in its size, in its offset.
  for (std::size_t Cut = Second + 1; Cut < Full.size(); ++Cut) {
    SCOPED_TRACE("cut at " + std::to_string(Cut));
    WriteFile(TBytes(Full.begin(), Full.begin() + static_cast<std::ptrdiff_t>(Cut)));
    EXPECT_EQ(Contents("ok"), "012");
    EXPECT_EQ(Contents("abc"), "<none>");
    // The name read so far must not match either.
    EXPECT_EQ(Contents("ab"), "<none>");
    EXPECT_EQ(Contents("a"), "<none>");
    EXPECT_EQ(TPakFileReadable(FPath).ListEntries().size(), 1u);
  }
  WriteFile(Full);
  EXPECT_EQ(Contents("abc"), "45");
}

TEST_F(PakReaderTest, EntryReachingPastTheEndIsAReadError) {
  TBytes B;
  PutU32(B, 0);
  for (std::uint8_t c : Bytes("abcd")) B.push_back(c);
  PatchU32(B, 0, 8);
  PutDirEntry(B, "long", 1000, 4);
  PutDirEntry(B, "huge", 0xFFFFFFFFu, 4);  // must not allocate 4 GiB
  PutDirEntry(B, "far", 1, 0xFFFFFFF0u);
  PutDirEntry(B, "fine", 4, 4);
  const std::uint32_t End = static_cast<std::uint32_t>(B.size() + 1 + 4 + 8);
  PutDirEntry(B, "edge", 1, End);  // starts exactly at the end: one byte too many
  WriteFile(B);
  const TPakFileReadable Pak(FPath);
  EXPECT_THROW(Pak.GetStream("long"), EPakReadError);
  EXPECT_THROW(Pak.GetStream("huge"), EPakReadError);
  EXPECT_THROW(Pak.GetStream("far"), EPakReadError);
  EXPECT_THROW(Pak.GetStream("edge"), EPakReadError);
  EXPECT_EQ(Contents("fine"), "abcd");
  try {
    Pak.GetStream("huge");
  } catch (const EPakReadError& E) {
    EXPECT_NE(std::string(E.what()).find("huge"), std::string::npos) << E.what();
  }
  std::string Problem;
  EXPECT_FALSE(Pak.CheckArchive(Problem));
  EXPECT_NE(Problem.find("long"), std::string::npos) << Problem;
}

// An archive of Gap bytes of holes after the header (taking no disk space)
// and a directory of the given entries behind them.
void WriteSparseArchive(const std::string& Path, std::uint32_t Gap,
                        const std::vector<std::pair<std::string, std::uint32_t>>& Entries) {
  TBytes Head;
  PutU32(Head, 4 + Gap);
  TBytes Directory;
  for (const auto& [Name, Size] : Entries) PutDirEntry(Directory, Name, Size, 4);
  const int Fd = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(Fd, 0);
  ASSERT_EQ(::write(Fd, Head.data(), Head.size()), 4);
  ASSERT_EQ(::ftruncate(Fd, 4 + static_cast<off_t>(Gap)), 0);
  ASSERT_EQ(::pwrite(Fd, Directory.data(), Directory.size(), 4 + static_cast<off_t>(Gap)),
            static_cast<ssize_t>(Directory.size()));
  ::close(Fd);
}

TEST_F(PakReaderTest, EntriesLargerThanTheirKindNeedsAreRefusedBeforeAnyAllocation) {
  // Sixteen sounds over one 3 GiB hole: the file is long enough for each,
  // so only the bound of their kind stops a 3 GiB allocation per sound.
  std::vector<std::pair<std::string, std::uint32_t>> Entries;
  for (int I = 0; I < 16; ++I) Entries.emplace_back("sound" + std::to_string(I) + ".wav", 3u << 30);
  WriteSparseArchive(FPath, (3u << 30) + 16, Entries);
  const TPakFileReadable Pak(FPath);
  std::string Problem;
  EXPECT_FALSE(Pak.CheckArchive(Problem));
  EXPECT_NE(Problem.find("sound0.wav"), std::string::npos) << Problem;
  EXPECT_NE(Problem.find("damaged"), std::string::npos) << Problem;
  EXPECT_EQ(Pak.GetOptionalStream("sound3.wav"), nullptr);

  // Under an address-space limit the refusal must come before allocating:
  // a bad_alloc there is what took the game down.
  const pid_t Pid = ::fork();
  ASSERT_GE(Pid, 0);
  if (Pid == 0) {
#if !defined(__SANITIZE_ADDRESS__)  // its shadow memory already takes more
    const rlimit Limit{rlim_t{1} << 30, rlim_t{1} << 30};
    ::setrlimit(RLIMIT_AS, &Limit);
#endif
    int Code = 0;
    for (int I = 0; I < 16 && Code == 0; ++I) {
      try {
        Pak.GetStream("sound" + std::to_string(I) + ".wav");
        Code = 1;
      } catch (const EPakReadError&) {
      } catch (const std::bad_alloc&) {
        Code = 2;
      } catch (...) {
        Code = 3;
      }
    }
    std::_Exit(Code);
  }
  int Status = 0;
  ASSERT_EQ(::waitpid(Pid, &Status, 0), Pid);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0) << "1: read, 2: bad_alloc, 3: another error";
}

TEST_F(PakReaderTest, EachKindIsBoundedByItsOwnLimit) {
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("back.jpg"), TPakFileReadable::MaxPictureSize);
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("CHARS.PNG"), TPakFileReadable::MaxPictureSize);
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("fill.wav"), TPakFileReadable::MaxSoundSize);
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("menu.ogg"), TPakFileReadable::MaxMusicSize);
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("a.vrp"), TPakFileReadable::MaxReplaySize);
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("noext"), TPakFileReadable::MaxOtherSize);
  EXPECT_EQ(TPakFileReadable::MaxEntrySize("x.wav.png"), TPakFileReadable::MaxPictureSize);

  // Exactly the bound reads; one byte more is damage. Music may be larger
  // than a sound, so the same size passes as music.
  const std::uint32_t Sound = TPakFileReadable::MaxSoundSize;
  WriteSparseArchive(FPath, Sound + 1, {{"edge.wav", Sound}, {"over.wav", Sound + 1}, {"song.ogg", Sound + 1}});
  const TPakFileReadable Pak(FPath);
  const auto Edge = Pak.GetStream("edge.wav");
  ASSERT_NE(Edge, nullptr);
  EXPECT_EQ(Edge->Size(), Sound);
  EXPECT_THROW(Pak.GetStream("over.wav"), EPakReadError);
  EXPECT_EQ(Pak.GetStream("song.ogg")->Size(), Sound + 1);
  std::string Problem;
  EXPECT_FALSE(Pak.CheckArchive(Problem));
  EXPECT_NE(Problem.find("over.wav"), std::string::npos) << Problem;
}

TEST_F(PakReaderTest, DirectoryOffsetPastTheEndFindsNothingAndFailsTheCheck) {
  TBytes B;
  PutU32(B, 1000);
  PutDirEntry(B, "x", 0, 4);
  WriteFile(B);
  EXPECT_EQ(Contents("x"), "<none>");
  EXPECT_TRUE(TPakFileReadable(FPath).ListEntries().empty());
  std::string Problem;
  EXPECT_FALSE(TPakFileReadable(FPath).CheckArchive(Problem));
  EXPECT_NE(Problem.find("1000"), std::string::npos) << Problem;
}

TEST_F(PakReaderTest, TwoLookupsGiveIndependentStreams) {
  WriteFile(OutOfOrderArchive());
  const TPakFileReadable Pak(FPath);
  auto A = Pak.GetStream("beta.jpg");
  auto B = Pak.GetStream("beta.jpg");
  ASSERT_TRUE(A && B);
  EXPECT_NE(A.get(), B.get());
  EXPECT_EQ(A->Bytes(), B->Bytes());
  A->Data()[0] = 'X';
  char Buf[3];
  EXPECT_EQ(A->Read(Buf, 3), 3u);
  EXPECT_EQ(B->Data()[0], 'B');
  EXPECT_EQ(B->Position(), 0u);
}

TEST_F(PakReaderTest, MissingArchiveGivesNothingQuietly) {
  const TPakFileReadable Pak(FPath + ".missing");
  EXPECT_EQ(Pak.FileName, FPath + ".missing");
  EXPECT_EQ(Pak.GetStream("anything"), nullptr);
  EXPECT_EQ(Pak.GetStream(""), nullptr);
  EXPECT_THROW(Pak.ListEntries(), EPakReadError);
  std::string Problem;
  EXPECT_FALSE(Pak.CheckArchive(Problem));
  EXPECT_NE(Problem.find(Pak.FileName), std::string::npos) << Problem;
}

TEST_F(PakReaderTest, SomethingUnreadableInPlaceOfTheArchiveThrows) {
  WriteFile(Bytes("ab"));  // too short for the directory offset
  EXPECT_THROW(TPakFileReadable(FPath).GetStream("a"), EPakReadError);
  std::string Problem;
  EXPECT_FALSE(TPakFileReadable(FPath).CheckArchive(Problem));
  EXPECT_FALSE(Problem.empty());

  std::filesystem::remove(FPath);
  std::filesystem::create_directory(FPath);
  EXPECT_THROW(TPakFileReadable(FPath).GetStream("a"), EPakReadError);
  EXPECT_FALSE(TPakFileReadable(FPath).CheckArchive(Problem));
}

TEST_F(PakReaderTest, OptionalStreamsAreNothingWhereGetStreamWouldThrow) {
  WriteFile(Bytes("ab"));
  EXPECT_EQ(TPakFileReadable(FPath).GetOptionalStream("a"), nullptr);
  // An entry reaching past the end of the file.
  TBytes B;
  PutU32(B, 4);
  PutDirEntry(B, "far", 100, 0);
  WriteFile(B);
  ASSERT_THROW(TPakFileReadable(FPath).GetStream("far"), EPakReadError);
  EXPECT_EQ(TPakFileReadable(FPath).GetOptionalStream("far"), nullptr);
  // Otherwise the same as GetStream.
  WritePakFile(FPath, {TPakEntry{"beta.jpg", Bytes("BBB")}});
  const TPakFileReadable Pak(FPath);
  ASSERT_NE(Pak.GetOptionalStream("beta.jpg"), nullptr);
  EXPECT_EQ(Pak.GetOptionalStream("beta.jpg")->Bytes(), Bytes("BBB"));
  EXPECT_EQ(Pak.GetOptionalStream("gamma.jpg"), nullptr);
  EXPECT_EQ(TPakFileReadable(FPath + ".missing").GetOptionalStream("beta.jpg"), nullptr);
}

TEST_F(PakReaderTest, ArchiveThatCannotBeOpenedThrowsEvenForRoot) {
  // A link to itself cannot be opened whatever the permissions.
  std::filesystem::create_symlink(std::filesystem::path(FPath).filename(), FPath);
  EXPECT_THROW(TPakFileReadable(FPath).GetStream("alpha.png"), EPakReadError);
  EXPECT_THROW(TPakFileReadable(FPath).ListEntries(), EPakReadError);
  std::string Problem;
  EXPECT_FALSE(TPakFileReadable(FPath).CheckArchive(Problem));
  EXPECT_NE(Problem.find(FPath), std::string::npos) << Problem;
  // A path through a plain file names nothing: missing, not damaged.
  std::filesystem::remove(FPath);
  WriteFile(OutOfOrderArchive());
  EXPECT_EQ(TPakFileReadable(FPath + "/game.pak").GetStream("alpha.png"), nullptr);
}

TEST_F(PakReaderTest, PipesAndDevicesAreRefusedWithoutWaiting) {
  // Nobody writes into the pipe: opening or reading it plainly would hang.
  ASSERT_EQ(::mkfifo(FPath.c_str(), 0600), 0);
  EXPECT_THROW(TPakFileReadable(FPath).GetStream("alpha.png"), EPakReadError);
  std::string Problem;
  EXPECT_FALSE(TPakFileReadable(FPath).CheckArchive(Problem));
  EXPECT_NE(Problem.find("not a regular file"), std::string::npos) << Problem;
  // A device that never ends would be read for ever.
  EXPECT_THROW(TPakFileReadable("/dev/zero").GetStream("alpha.png"), EPakReadError);
}

TEST_F(PakReaderTest, TooManyEntriesAreRefusedAsDamaged) {
  const auto Archive = [](std::size_t Count) {
    TBytes B;
    PutU32(B, 4);
    for (std::size_t I = 0; I < Count; ++I) PutDirEntry(B, "", 0, 4);
    PutDirEntry(B, "last", 0, 4);
    return B;
  };
  WriteFile(Archive(TPakFileReadable::MaxEntries - 1));
  EXPECT_TRUE(TPakFileReadable(FPath).GetStream("last"));
  WriteFile(Archive(TPakFileReadable::MaxEntries));
  EXPECT_THROW(TPakFileReadable(FPath).GetStream("last"), EPakReadError);
  std::string Problem;
  EXPECT_FALSE(TPakFileReadable(FPath).CheckArchive(Problem));
}

TEST_F(PakReaderTest, OneReaderSeesTheArchiveAsItIsNow) {
  const TBytes Old = OutOfOrderArchive();
  WriteFile(Old);
  TPakFileReadable Pak(FPath);
  EXPECT_EQ(Pak.GetStream("beta.jpg")->Bytes(), Bytes("BBBBBB"));

  // Rewritten in place with the same size: only the time tells.
  TBytes Same = Old;
  for (std::size_t I = 4; I < 10; ++I) Same[I] = 'C';
  const auto Stamp = std::filesystem::last_write_time(FPath);
  WriteFile(Same);
  std::filesystem::last_write_time(FPath, Stamp + std::chrono::seconds(5));
  EXPECT_EQ(Pak.GetStream("beta.jpg")->Bytes(), Bytes("CCCCCC"));

  // Shorter, then gone, then back.
  WriteFile(TBytes{4, 0, 0, 0});
  EXPECT_EQ(Pak.GetStream("beta.jpg"), nullptr);
  std::filesystem::remove(FPath);
  EXPECT_EQ(Pak.GetStream("beta.jpg"), nullptr);
  WriteFile(Old);
  EXPECT_EQ(Pak.GetStream("beta.jpg")->Bytes(), Bytes("BBBBBB"));

  // Another path, and copies that read on their own.
  const TPakFileReadable Copy = Pak;
  Pak.FileName += ".other";
  EXPECT_EQ(Pak.GetStream("beta.jpg"), nullptr);
  EXPECT_EQ(Copy.GetStream("beta.jpg")->Bytes(), Bytes("BBBBBB"));
}

// The plain reading of the format, entry by entry from the directory offset,
// as the reference for the indexed reader.
struct TReference {
  std::vector<TPakDirEntry> Entries;
  std::optional<TBytes> Find(const TBytes& File, const std::string& Name) const {
    for (const TPakDirEntry& E : Entries)
      if (E.Name == Name) return TBytes(File.begin() + E.Offset, File.begin() + E.Offset + E.Size);
    return std::nullopt;
  }
};
TReference ReadReference(const TBytes& File) {
  TReference R;
  const auto U32 = [&](std::size_t At) {
    return static_cast<std::uint32_t>(File[At] | File[At + 1] << 8 | File[At + 2] << 16 | File[At + 3] << 24);
  };
  std::size_t At = U32(0);
  while (At < File.size()) {
    const std::size_t Length = File[At];
    if (At + 1 + Length + 8 > File.size()) break;
    const std::string Name(File.begin() + At + 1, File.begin() + At + 1 + Length);
    R.Entries.push_back({Name, U32(At + 1 + Length), U32(At + 1 + Length + 4)});
    At += 1 + Length + 8;
  }
  return R;
}

TEST_F(PakReaderTest, IndexedLookupsAgreeWithAPlainScan) {
  std::mt19937 Rng(1234);
  const std::vector<std::string> Names = {"a.png", "b.png", "A.png", "a.pn", "explo01_07.png", "", "x", "dup.wav"};
  TPakFileReadable Pak(FPath);
  const auto Start = std::filesystem::file_time_type::clock::now();
  for (int Round = 0; Round < 100; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    // Data, then a directory of random names (duplicates likely), every
    // entry inside the file, the directory possibly cut short.
    TBytes B;
    PutU32(B, 0);
    const std::size_t Data = 5 + Rng() % 40;
    while (B.size() < Data) B.push_back(static_cast<std::uint8_t>(Rng()));
    PatchU32(B, 0, static_cast<std::uint32_t>(B.size()));
    const int Count = static_cast<int>(Rng() % 12);
    for (int I = 0; I < Count; ++I) {
      const std::uint32_t Offset = static_cast<std::uint32_t>(4 + Rng() % (Data - 4));
      const std::uint32_t Size = static_cast<std::uint32_t>(Rng() % (Data - Offset + 1));
      PutDirEntry(B, Names[Rng() % Names.size()], Size, Offset);
    }
    if (Count > 0 && Rng() % 3 == 0) B.resize(B.size() - Rng() % 8);  // never into the data
    const std::string Temp = FPath + ".new";
    {
      std::ofstream Out(Temp, std::ios::binary);
      Out.write(reinterpret_cast<const char*>(B.data()), static_cast<std::streamsize>(B.size()));
    }
    // A rebuilt archive, as the tools write it. Its own time: a new file may
    // reuse the old one's inode within the clock's granularity.
    std::filesystem::last_write_time(Temp, Start + std::chrono::seconds(Round));
    std::filesystem::rename(Temp, FPath);

    const TReference Want = ReadReference(B);
    EXPECT_EQ(Pak.ListEntries(), Want.Entries);
    for (const std::string& Name : Names) {
      const auto Expected = Want.Find(B, Name);
      const auto Got = Pak.GetStream(Name);
      ASSERT_EQ(Got != nullptr, Expected.has_value()) << Name;
      if (Got) {
        EXPECT_EQ(Got->Bytes(), *Expected) << Name;
      }
    }
  }
}

TEST_F(PakReaderTest, ReadsWhatTheWriterWritesAndSeesARebuiltArchive) {
  std::vector<TPakEntry> Entries = {{"chars.png", Bytes("PNGDATA")},
                                    {std::string(255, 'n'), Bytes("longname")},
                                    {std::string("we\0ird\xff", 7), Bytes("binary name")},
                                    {"empty.wav", {}}};
  WritePakFile(FPath, Entries);
  const TPakFileReadable Pak(FPath);
  for (const TPakEntry& E : Entries) {
    auto S = Pak.GetStream(E.Name);
    ASSERT_TRUE(S) << E.Name;
    EXPECT_EQ(S->Bytes(), E.Data);
  }
  const auto List = Pak.ListEntries();
  ASSERT_EQ(List.size(), Entries.size());
  for (std::size_t i = 0; i < List.size(); ++i) {
    EXPECT_EQ(List[i].Name, Entries[i].Name);
    EXPECT_EQ(List[i].Size, Entries[i].Data.size());
  }
  std::string Problem;
  EXPECT_TRUE(Pak.CheckArchive(Problem)) << Problem;

  WritePakFile(FPath, {{"chars.png", Bytes("NEW")}});
  EXPECT_EQ(Contents("chars.png"), "NEW");
  EXPECT_EQ(Contents("empty.wav"), "<none>");
}

TEST(MemoryStreamTest, ReadSeekAndWrite) {
  TMemoryStream S(Bytes("hello world"));
  char Buf[16] = {};
  EXPECT_EQ(S.Read(Buf, 5), 5u);
  EXPECT_EQ(std::string(Buf, 5), "hello");
  EXPECT_EQ(S.Position(), 5u);
  EXPECT_EQ(S.Read(Buf, 16), 6u);  // only what is left
  EXPECT_EQ(S.Read(Buf, 16), 0u);
  EXPECT_EQ(S.Seek(-5, TSeekOrigin::End), 6u);
  EXPECT_EQ(S.RemainingSize(), 5u);
  EXPECT_EQ(S.Remaining()[0], 'w');
  EXPECT_EQ(S.Seek(-2, TSeekOrigin::Current), 4u);
  EXPECT_EQ(S.Seek(-100, TSeekOrigin::Current), 0u);
  EXPECT_EQ(S.Seek(50), 50u);
  EXPECT_EQ(S.Read(Buf, 1), 0u);
  EXPECT_EQ(S.RemainingSize(), 0u);

  TMemoryStream W;
  W.Seek(2);
  EXPECT_EQ(W.Write("ab", 2), 2u);
  EXPECT_EQ(W.Bytes(), (TBytes{0, 0, 'a', 'b'}));
  W.Seek(1);
  W.Write("Z", 1);
  EXPECT_EQ(W.Bytes(), (TBytes{0, 'Z', 'a', 'b'}));
  EXPECT_EQ(W.Position(), 2u);
}

}  // namespace
