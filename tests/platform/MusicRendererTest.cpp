#include "platform/MusicRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Frame N holds N on the left and -N on the right; it gives out after
// Available frames, as a damaged stream would.
class TCountingSource : public IMusicSource {
public:
  explicit TCountingSource(int Available) : FAvailable(Available) {}
  int Read(std::int16_t* Out, int Frames) override {
    int N = 0;
    for (; N < Frames && FAt < FAvailable; ++N, ++FAt) {
      Out[2 * N] = static_cast<std::int16_t>(FAt);
      Out[2 * N + 1] = static_cast<std::int16_t>(-FAt);
    }
    return N;
  }
  void Rewind() override {
    FAt = 0;
    ++Rewinds;
  }
  int Rewinds = 0;

private:
  int FAvailable;
  int FAt = 0;
};

TEST(MusicRenderer, AStreamThatGivesOutEarlyIsSilentToItsStatedEndAndStartsAgainFromItsFirstFrame) {
  TMusicRenderer R;
  auto Owned = std::make_unique<TCountingSource>(1500);
  TCountingSource& Source = *Owned;
  R.Load(std::move(Owned), 2000);
  R.Start();
  EXPECT_EQ(Source.Rewinds, 1);
  std::vector<std::int16_t> Out(2 * 2500, 7);
  // Blocks of odd sizes, across the renderer's own block size.
  int Done = 0;
  for (const int N : {700, 900, 900}) {
    R.Render(Out.data() + 2 * Done, N);
    Done += N;
  }
  for (int F = 0; F < 1500; ++F) {
    ASSERT_EQ(Out[2 * F], F) << F;
    ASSERT_EQ(Out[2 * F + 1], -F) << F;
  }
  for (int F = 1500; F < 2500; ++F) ASSERT_EQ(Out[2 * F], 0) << F;
  EXPECT_EQ(R.PositionFrames(), 2000);
  EXPECT_EQ(R.LengthFrames(), 2000);

  R.Start();
  EXPECT_EQ(Source.Rewinds, 2);
  R.Render(Out.data(), 4);
  EXPECT_EQ(Out[0], 0);
  EXPECT_EQ(Out[6], 3);
  EXPECT_EQ(Out[7], -3);
  EXPECT_EQ(R.Levels().Left, 3);
  EXPECT_EQ(R.PositionFrames(), 4);
}

TEST(MusicRenderer, APausedStreamIsNotReadAndGoesOnWhereItStopped) {
  TMusicRenderer R;
  R.Load(std::make_unique<TCountingSource>(1000), 1000);
  R.Start();
  std::vector<std::int16_t> Out(2 * 100);
  R.Render(Out.data(), 100);
  R.Pause();
  R.Render(Out.data(), 100);
  EXPECT_EQ(Out[2 * 99], 0);
  EXPECT_EQ(R.PositionFrames(), 100);
  R.Resume();
  R.Render(Out.data(), 100);
  EXPECT_EQ(Out[0], 100);
  EXPECT_EQ(Out[2 * 99], 199);
}

}  // namespace
