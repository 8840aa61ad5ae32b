#include "common/TimeOfDay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "common/CommonTypes.h"

TEST(TimeOfDayTest, ARecordingReplaysEveryReadInOrderWithoutTheClock) {
  std::uint32_t Clock = 1000;
  {
    TTimeOfDayRecording Recording;
    Recording.Record([&] { return Clock += 7; });
    EXPECT_EQ(UtcMillisecondsOfDay(), 1007u);
    Randomize();
    EXPECT_EQ(RandSeed, 1014u);
    EXPECT_EQ(Recording.Reads(), (std::vector<std::uint32_t>{1007, 1014}));

    Clock = 0;
    Recording.Replay();
    EXPECT_EQ(UtcMillisecondsOfDay(), 1007u);
    Randomize();
    EXPECT_EQ(RandSeed, 1014u);
    EXPECT_EQ(Recording.Overruns(), 0u);
    // A replay that reads more than was recorded has gone another way.
    EXPECT_EQ(UtcMillisecondsOfDay(), 1014u);
    EXPECT_EQ(Recording.Overruns(), 1u);
    EXPECT_EQ(Clock, 0u);

    Recording.Replay({5, 6});
    EXPECT_EQ(UtcMillisecondsOfDay(), 5u);
    EXPECT_EQ(UtcMillisecondsOfDay(), 6u);
    EXPECT_EQ(Recording.Overruns(), 0u);

    // Recording again forgets the old reads.
    Recording.Record([] { return 42u; });
    EXPECT_EQ(UtcMillisecondsOfDay(), 42u);
    EXPECT_EQ(Recording.Reads(), std::vector<std::uint32_t>{42});
  }
  // Gone: the machine's clock is back (two reads a moment apart).
  const auto Now = static_cast<long>(UtcMillisecondsOfDay());
  const auto System = static_cast<long>(SystemUtcMillisecondsOfDay());
  EXPECT_LT(Now, 86400000L);
  EXPECT_TRUE(std::labs(System - Now) < 10000 || std::labs(System - Now) > 86390000) << Now << " " << System;
}
