// Replay files: the reader against damage, and the recorded golden games
// played back through the program's own parts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <new>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/Main.h"
#include "common/CommonTypes.h"
#include "persist/HighScore.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKeys.h"
#include "program/HeadlessSession.h"
#include "program/ReplayFolder.h"
#include "program/ReplayFormat.h"
#include "program/ReplayPlayer.h"
#include "program/ReplayWindow.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
}

std::string Golden(const char* Name) { return std::string(VYRN_REPLAYS) + "/" + Name + ".vrp"; }

TReplay SampleReplay(std::uint32_t Seed) {
  TReplay R;
  R.BuildId = "test-build";
  R.Seed = Seed;
  R.ConfigText = std::string("a,b\0c", 5);
  R.HighScoresText = "";
  RandSeed = Seed;
  std::uint32_t Ticks = 0;
  for (int I = 0; I < 700; ++I) {
    TReplayRecord Rec;
    switch (Random(3)) {
      case 0:
        Rec.Kind = TReplayRecordKind::Event;
        Rec.Event = TInputEvent::KeyDown(static_cast<std::uint16_t>(Random(65536)), static_cast<TShiftState>(Random(8)));
        break;
      case 1:
        Rec.Kind = TReplayRecordKind::Time;
        Rec.Value = static_cast<std::uint32_t>(Random(86400000));
        break;
      default:
        Rec.Kind = TReplayRecordKind::Event;
        Rec.Event = TInputEvent::TimerTick(Random(4));
        if (++Ticks % ReplayCheckEvery == 0) {
          R.Records.push_back(Rec);
          Rec.Kind = TReplayRecordKind::Check;
          Rec.Event = {};
          Rec.Value = Ticks;
          Rec.Checksum = (static_cast<std::uint64_t>(Random(1 << 30)) << 32) | static_cast<std::uint32_t>(Random(1 << 30));
        }
    }
    R.Records.push_back(Rec);
  }
  return R;
}

// Plays a replay headless as vyrn-sim does; returns the player's problem
// (empty when it played to its end) and leaves the folder's files behind.
struct TPlayback {
  std::string Problem;
  std::uint32_t Checks = 0;
  std::vector<THighScore_element> Table;
};

TPlayback Play(const TReplay& Replay) {
  TRecordingMessageBox Box;
  SetMessageBoxHandler(&Box);
  TPlayback Out;
  const std::string Folder = MakeReplayFolder();
  {
    THeadlessSession Session(VYRN_GAME_PAK, Folder);
    TMainForm& Form = Session.Form();
    TReplayPlayer Player(Replay, Form);
    if (Player.PrepareFolder(Folder) && Player.Start())
      while (Player.Step()) {
      }
    Out.Problem = Player.Problem();
    if (Out.Problem.empty() && !Player.Finished()) Out.Problem = "stopped early";
    Out.Checks = Player.ChecksCompared();
    Form.FormDestroy();
  }
  THighScore Table(Folder);
  Out.Table.assign(Table.Entries.begin(), Table.Entries.end());
  RemoveReplayFolder(Folder);
  SetMessageBoxHandler(nullptr);
  return Out;
}

}  // namespace

TEST(ReplayFile, WrittenAndReadBackRecordForRecord) {
  for (std::uint32_t Seed : {1u, 77u, 123456u}) {
    const TReplay R = SampleReplay(Seed);
    const auto Bytes = SerializeReplay(R);
    const TReplay Back = ParseReplay(Bytes.data(), Bytes.size());
    EXPECT_EQ(Back.BuildId, R.BuildId);
    EXPECT_EQ(Back.Seed, R.Seed);
    EXPECT_EQ(Back.ConfigText, R.ConfigText);
    EXPECT_EQ(Back.HighScoresText, R.HighScoresText);
    EXPECT_EQ(Back.Records, R.Records);
  }
}

TEST(ReplayFile, RecordsChangedInPlaceKeepTheirNeighboursWhole) {
  TReplay R = SampleReplay(5);
  const TReplay Copy = ParseReplay(SerializeReplay(R));  // the file adopted as storage
  EXPECT_EQ(Copy.Records, R.Records);
  std::vector<TReplayRecord> Plain(R.Records.begin(), R.Records.end());
  std::size_t FirstCheck = 0;
  while (Plain[FirstCheck].Kind != TReplayRecordKind::Check) ++FirstCheck;

  // Removing a record before a check, and turning an event into a check
  // (longer) and a check into a clock reading (shorter), shifts what follows.
  R.Records.Erase(1);
  Plain.erase(Plain.begin() + 1);
  TReplayRecord Check;
  Check.Kind = TReplayRecordKind::Check;
  Check.Value = 42;
  Check.Checksum = 0x0123456789ABCDEFull;
  R.Records.Set(0, Check);
  Plain[0] = Check;
  TReplayRecord Clock;
  Clock.Kind = TReplayRecordKind::Time;
  Clock.Value = 1234;
  R.Records.Set(FirstCheck - 1, Clock);
  Plain[FirstCheck - 1] = Clock;
  ASSERT_EQ(R.Records.size(), Plain.size());
  for (std::size_t I = 0; I < Plain.size(); ++I) {
    EXPECT_EQ(R.Records[I], Plain[I]) << I;
    EXPECT_EQ(R.Records.KindAt(I), Plain[I].Kind) << I;
  }
  TReplayRecord End;
  End.Kind = TReplayRecordKind::End;
  EXPECT_THROW(R.Records.push_back(End), std::invalid_argument);
}

// The largest replay a file may hold, read in a child whose address space
// allows little more than twice its size beyond what it already uses: the
// reader must fit (it once took seven times the file).
TEST(ReplayFile, TheLargestReplayIsReadWithinTwiceItsSize) {
  const std::string Path = MakeReplayFolder() + "/large.vrp";
  std::size_t FileSize = 0;
  {
    TReplay Header;
    Header.BuildId = "large";
    std::vector<std::uint8_t> File = SerializeReplayHeader(Header);
    File.reserve(ReplayMaxFileSize);
    const auto Tick = SerializeReplayRecord({TReplayRecordKind::Event, TInputEvent::TimerTick(2), 0, 0});
    std::uint32_t Ticks = 0, Records = 0;
    constexpr std::size_t CheckBytes = 13;
    while (File.size() + 2 * CheckBytes + 16 < ReplayMaxFileSize) {
      File.insert(File.end(), Tick.begin(), Tick.end());
      ++Records;
      if (++Ticks % ReplayCheckEvery == 0) {
        const auto Check = SerializeReplayRecord({TReplayRecordKind::Check, {}, Ticks, Ticks * 7919ull});
        File.insert(File.end(), Check.begin(), Check.end());
        ++Records;
      }
    }
    const auto End = SerializeReplayRecord({TReplayRecordKind::End, {}, Records, 0});
    File.insert(File.end(), End.begin(), End.end());
    const std::uint32_t Hash = ReplayHash(File.data(), File.size());
    for (int I = 0; I < 4; ++I) File.push_back(static_cast<std::uint8_t>(Hash >> (8 * I)));
    FileSize = File.size();
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(File.data()),
                                                static_cast<std::streamsize>(File.size()));
  }
  ASSERT_LE(FileSize, ReplayMaxFileSize);
  ASSERT_GT(FileSize, ReplayMaxFileSize - 64);

  const auto StatusKb = [](const char* Field) {
    std::ifstream In("/proc/self/status");
    std::string Line;
    while (std::getline(In, Line))
      if (Line.rfind(Field, 0) == 0) return std::stoll(Line.substr(std::string(Field).size()));
    return -1LL;
  };
  int Pipe[2];
  ASSERT_EQ(::pipe(Pipe), 0);
  const pid_t Pid = ::fork();
  ASSERT_GE(Pid, 0);
  if (Pid == 0) {
    // Peak resident memory from here on: the kernel forgets the old peak.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long RssBefore = StatusKb("VmRSS:");
#if !defined(__SANITIZE_ADDRESS__)
    const long long Used = StatusKb("VmSize:") * 1024;
    const rlim_t Allowed = static_cast<rlim_t>(Used) + 2 * static_cast<rlim_t>(FileSize) + (16u << 20);
    const rlimit Limit{Allowed, Allowed};
    ::setrlimit(RLIMIT_AS, &Limit);
#endif
    int Code = 0;
    try {
      const TReplay R = LoadReplay(Path);
      if (R.Records.size() < FileSize / 13) Code = 4;
    } catch (const std::bad_alloc&) {
      Code = 2;
    } catch (...) {
      Code = 3;
    }
    const long long Grown = StatusKb("VmHWM:") - RssBefore;
    if (::write(Pipe[1], &Grown, sizeof Grown) != sizeof Grown) Code = 5;
    std::_Exit(Code);
  }
  long long GrownKb = 0;
  EXPECT_EQ(::read(Pipe[0], &GrownKb, sizeof GrownKb), static_cast<ssize_t>(sizeof GrownKb));
  ::close(Pipe[0]);
  ::close(Pipe[1]);
  int Status = 0;
  ASSERT_EQ(::waitpid(Pid, &Status, 0), Pid);
  RemoveReplayFolder(Path.substr(0, Path.rfind('/')));
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0) << "2: out of memory, 3: refused, 4: records lost";
  std::printf("reading a %zu-byte replay raised the peak resident memory by %lld KiB\n", FileSize, GrownKb);
  RecordProperty("PeakGrowthKiB", std::to_string(GrownKb));
  EXPECT_LE(GrownKb * 1024, static_cast<long long>(2 * FileSize));
}

// Every cut of a real file, and a changed byte in its header, is refused
// with a message; nothing is read past the end (the sanitizer build).
// A replay of one game says how it starts; a session's file stays as it was.
TEST(ReplayFile, AOneGameReplayKeepsHowItStarts) {
  TReplay Game = SampleReplay(11);
  Game.Start = TReplayStart::TwoPlayerGame;
  auto Bytes = SerializeReplay(Game);
  const TReplay Back = ParseReplay(Bytes.data(), Bytes.size());
  EXPECT_EQ(Back.Start, TReplayStart::TwoPlayerGame);
  EXPECT_EQ(Back.Version, ReplayGameVersion);
  EXPECT_EQ(Back.Records, Game.Records);
  const auto Session = SerializeReplay(SampleReplay(11));
  EXPECT_EQ(Session[8], ReplayVersion);
  EXPECT_EQ(Session.size() + 1, Bytes.size());
  // The start byte follows the seed: magic, version, id length, id, seed.
  const std::size_t At = 8 + 2 + 1 + Game.BuildId.size() + 4;
  for (std::uint8_t Wrong : {0, 3}) {
    auto Bad = Bytes;
    Bad[At] = Wrong;
    EXPECT_THROW(ParseReplay(Bad.data(), Bad.size(), false), TReplayError) << int(Wrong);
  }
}

TEST(ReplayFile, DamagedTruncatedAndForeignFilesAreRefused) {
  const auto Good = ReadAll(Golden("twoplayers_death"));
  ASSERT_GT(Good.size(), 100u);
  EXPECT_NO_THROW(ParseReplay(Good.data(), Good.size()));
  for (std::size_t N = 0; N < Good.size(); ++N)
    EXPECT_THROW(ParseReplay(Good.data(), N), TReplayError) << "cut at " << N;

  auto Refused = [&](std::size_t At, std::uint8_t Value, const char* Expect) {
    auto Bad = Good;
    Bad[At] = Value;
    try {
      ParseReplay(Bad.data(), Bad.size());
      ADD_FAILURE() << "byte " << At << " accepted";
    } catch (const TReplayError& E) {
      EXPECT_NE(std::string(E.what()).find(Expect), std::string::npos) << E.what();
    }
  };
  Refused(0, 'X', "not a Vyrn Rekindled replay");
  Refused(8, 3, "version");  // 2 is a replay of one game
  Refused(10, 0, "build identifier");
  Refused(10, 200, "build identifier");
  // Any byte changed anywhere: the hash at the end no longer matches.
  for (std::size_t At = 0; At < Good.size(); ++At) {
    auto Bad = Good;
    Bad[At] ^= 0x55;
    EXPECT_THROW(ParseReplay(Bad.data(), Bad.size()), TReplayError) << "byte " << At;
  }
  auto Longer = Good;
  Longer.push_back(0);
  EXPECT_THROW(ParseReplay(Longer.data(), Longer.size()), TReplayError);
  // A PNG is not a replay.
  const std::uint8_t Png[] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13};
  EXPECT_THROW(ParseReplay(Png, sizeof Png), TReplayError);
}

// The golden game with a claim, a death and a game over: it plays to its
// end with every checksum matching, and the name typed at the end is in the
// table with the score the game reported.
TEST(ReplayGolden, GameOverWithNameEntryPlaysBackAndFillsTheTable) {
  const TPlayback P = Play(LoadReplay(Golden("complete_level1")));
  EXPECT_EQ(P.Problem, "");
  EXPECT_GE(P.Checks, 30u);
  bool Found = false;
  for (const auto& E : P.Table)
    if (E.Name == "ANNA") Found = E.Score == 5849;
  EXPECT_TRUE(Found) << P.Table[0].Name << " " << P.Table[0].Score << " / " << P.Table[19].Name << " "
                     << P.Table[19].Score;
}

// One changed key press parts the game from its recording, and the player
// says at which check.
TEST(ReplayGolden, AChangedInputIsCaughtAsADesync) {
  TReplay R = LoadReplay(Golden("twoplayers_death"));
  std::size_t Changed = 0;
  for (std::size_t I = 0; I < R.Records.size(); ++I) {
    TReplayRecord Rec = R.Records[I];
    if (Rec.Kind == TReplayRecordKind::Event && Rec.Event.Kind == TInputKind::KeyDown && Rec.Event.Code == 40) {
      Rec.Event.Code = 38;  // down becomes up
      R.Records.Set(I, Rec);
      ++Changed;
    }
  }
  ASSERT_GT(Changed, 0u);
  const TPlayback P = Play(R);
  // Either a checksum or the clock reads (the level's end draws on the
  // generator) find it first; both name the tick.
  EXPECT_NE(P.Problem.find("tick"), std::string::npos) << P.Problem;

  // Without one of its clock reads the start no longer matches.
  TReplay NoClock = LoadReplay(Golden("twoplayers_death"));
  for (std::size_t I = 0; I < NoClock.Records.size(); ++I)
    if (NoClock.Records[I].Kind == TReplayRecordKind::Time) {
      NoClock.Records.Erase(I);
      break;
    }
  EXPECT_NE(Play(NoClock).Problem, "");
}

namespace {

// A replay shown as `vyrn --replay` shows it, through the same function,
// on the headless window: its clock moves only while the pacing waits.
struct TShown {
  TReplayEnd End = TReplayEnd::Failed;
  std::uint64_t Ms = 0;  // on the window's clock when it ended
  int Presented = 0;
  std::vector<std::pair<std::string, std::string>> Boxes;
};

TShown Show(const TReplay& Replay, const std::function<void(THeadlessSession&)>& OnTurn = {}) {
  TRecordingMessageBox Box;
  SetMessageBoxHandler(&Box);
  TShown Out;
  const std::string Folder = MakeReplayFolder();
  {
    THeadlessSession Session(VYRN_GAME_PAK, Folder);
    Out.End = PlayReplayInWindow(Replay, Folder, Session.Form(), Session.Timers, Session.Source, Session.Presenter,
                                 Session.Screen, [&] {
                                   if (OnTurn) OnTurn(Session);
                                 });
    Out.Ms = Session.Clock.NowMs();
    Out.Presented = Session.Presenter.Presented;
  }
  RemoveReplayFolder(Folder);
  SetMessageBoxHandler(nullptr);
  Out.Boxes = Box.Shown;
  return Out;
}

// The milliseconds the recorded ticks of the splash, menu and game timers
// take at their pace (the focus monitor's fall in between).
std::uint64_t PacedMs(const TReplay& Replay) {
  const std::uint64_t Interval[] = {0, 40, 30, 30};
  std::uint64_t Ms = 0;
  for (const TReplayRecord& R : Replay.Records)
    if (R.Kind == TReplayRecordKind::Event && R.Event.Kind == TInputKind::Timer && R.Event.Code < 4)
      Ms += Interval[R.Event.Code];
  return Ms;
}

}  // namespace

TEST(ReplayInWindow, PlaysToItsEndAtThePaceOfItsTimers) {
  const TReplay R = LoadReplay(Golden("twoplayers_death"));
  const TShown S = Show(R);
  EXPECT_EQ(S.End, TReplayEnd::Finished);
  EXPECT_TRUE(S.Boxes.empty());
  EXPECT_GT(S.Presented, 0);
  // Every tick but the last waited its timer's interval.
  const std::uint64_t Paced = PacedMs(R);
  EXPECT_LE(S.Ms, Paced);
  EXPECT_GE(S.Ms + 40, Paced);
}

// Escape or closing the window stops the replay where it is, without a
// message; other keys of the player's are ignored.
TEST(ReplayInWindow, EscapeOrClosingStopsIt) {
  const TReplay R = LoadReplay(Golden("twoplayers_death"));
  ASSERT_GT(PacedMs(R), 10000u);
  const auto At = [](std::uint64_t Ms, const std::function<void(THeadlessSession&)>& Act) {
    return [Ms, Act, Done = false](THeadlessSession& Session) mutable {
      if (Done || Session.Clock.NowMs() < Ms) return;
      Done = true;
      Act(Session);
    };
  };
  const TShown Escape = Show(R, At(3000, [](THeadlessSession& S) {
                               S.Source.Push(TInputEvent::KeyDown(Vk::Left));
                               S.Source.Push(TInputEvent::KeyDown(Vk::Escape));
                             }));
  EXPECT_EQ(Escape.End, TReplayEnd::Stopped);
  EXPECT_TRUE(Escape.Boxes.empty());
  EXPECT_GE(Escape.Ms, 3000u);
  EXPECT_LT(Escape.Ms, 3100u);

  const TShown Closed = Show(R, At(5000, [](THeadlessSession& S) { S.Window.Close(); }));
  EXPECT_EQ(Closed.End, TReplayEnd::Stopped);
  EXPECT_TRUE(Closed.Boxes.empty());
  EXPECT_GE(Closed.Ms, 5000u);
  EXPECT_LT(Closed.Ms, 5100u);

  // A key that is not Escape lets it play on to its end.
  const TShown Other = Show(R, At(3000, [](THeadlessSession& S) { S.Source.Push(TInputEvent::KeyDown(Vk::Left)); }));
  EXPECT_EQ(Other.End, TReplayEnd::Finished);
}

// A recorded checksum the game does not reach ends the replay there, with
// a message that names the tick.
TEST(ReplayInWindow, AChecksumThatDiffersEndsItWithTheMessage) {
  TReplay R = LoadReplay(Golden("twoplayers_death"));
  std::uint32_t Tick = 0;
  for (std::size_t I = 0; I < R.Records.size(); ++I) {
    TReplayRecord Rec = R.Records[I];
    if (Rec.Kind == TReplayRecordKind::Check && Rec.Value == 3 * ReplayCheckEvery) {
      Rec.Checksum ^= 1;
      R.Records.Set(I, Rec);
      Tick = Rec.Value;
    }
  }
  ASSERT_EQ(Tick, 3 * ReplayCheckEvery);
  const TShown S = Show(R);
  EXPECT_EQ(S.End, TReplayEnd::Failed);
  ASSERT_EQ(S.Boxes.size(), 1u);
  EXPECT_NE(S.Boxes[0].second.find("The replay does not match this game"), std::string::npos) << S.Boxes[0].second;
  EXPECT_NE(S.Boxes[0].second.find("at tick 300"), std::string::npos) << S.Boxes[0].second;
  // It ended at that check: not much beyond 300 ticks of play.
  EXPECT_LT(S.Ms, 300u * 50u);
  EXPECT_LT(S.Ms, PacedMs(R) / 2);
}
