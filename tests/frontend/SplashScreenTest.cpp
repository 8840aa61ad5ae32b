#include "frontend/SplashScreen.h"

#include <gtest/gtest.h>

#include "frontend/FrontendKit.h"
#include "common/Scramble.h"

namespace {

// Frame n is a flat grey of 60 + 3n with a brighter left half, so every
// frame differs from its neighbours and a lightness pass shows.
TBytes FramePicture(int N, int Width, int Height) {
  TBytes Rgb;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const auto V = static_cast<std::uint8_t>(60 + 3 * N + (X < Width / 2 ? 40 : 0));
      Rgb.insert(Rgb.end(), {V, V, V});
    }
  return EncodeJpegRgb(Rgb.data(), Width, Height, 95);
}

std::vector<TPakEntry> SplashEntries(int Width = 320, int Height = 240) {
  std::vector<TPakEntry> Entries;
  for (int N = 1; N <= 50; ++N) Entries.push_back({"Quillon2_" + TwoDigits(N) + ".jpg", FramePicture(N, Width, Height)});
  std::vector<float> Music(44100 * 2, 0.0f);  // one second of quiet stereo
  for (std::size_t I = 0; I < Music.size(); ++I) Music[I] = 0.2f * static_cast<float>((I / 40) % 2) - 0.1f;
  Entries.push_back({"quillon_logo.ogg", EncodeOggVorbis(Music, 2, 44100)});
  return Entries;
}

// The darkening written out per channel: i - i * d / 256, floored.
std::uint8_t Darken(std::uint8_t I, int D) { return static_cast<std::uint8_t>(I - I * D / 256); }

// What the window should show at (X, Y) of the box: the frame's pixel with
// the given darkenings applied in turn.
TColorValue Expected(const TFastImageBuffer& Frame, int X, int Y, const std::vector<int>& Darkenings) {
  TColorValue C = Frame.GetPixel(X, Y);
  std::uint8_t R = GetRValue(C), G = GetGValue(C), B = GetBValue(C);
  for (int D : Darkenings) {
    R = Darken(R, D);
    G = Darken(G, D);
    B = Darken(B, D);
  }
  return RGB(R, G, B);
}

}  // namespace

TEST(SplashScreenTest, TimelineShowsEachFrameWithItsLightnessAndEndsAfter141Ticks) {
  TFrontendWorld W(SplashEntries());
  TSplashScreen Splash(W.Screen, 320, 240, *W.Engine, *W.Pak);
  const int Probes[][2] = {{10, 10}, {300, 200}};
  for (int Tick = 1; Tick <= 141; ++Tick) {
    ASSERT_FALSE(Splash.Finished()) << Tick;
    Splash.Tick();
    // Which frame is shown and how it was darkened, from the timeline:
    // black box, fade-in over frames 1..15, frames 16..50, hold, fade-out.
    int Frame = 0;
    std::vector<int> Darkenings;
    if (Tick >= 11 && Tick <= 60) Frame = Tick - 10;
    if (Tick > 60) Frame = 50;
    if (Tick >= 11 && Tick <= 25) Darkenings.push_back(188 - 12 * (Tick - 11));
    for (int T = 111; T <= Tick; ++T) Darkenings.push_back(25);
    for (const auto& P : Probes) {
      const TColorValue Shown = W.Screen.PixelAt(240 + P[0], 180 + P[1]);
      if (Frame == 0) EXPECT_EQ(Shown, 0u) << "tick " << Tick;
      else EXPECT_EQ(Shown, Expected(Splash.Frame(Frame - 1), P[0], P[1], Darkenings)) << "tick " << Tick;
    }
    // The music starts with the first frame.
    EXPECT_EQ(W.Engine->State() == TAudioEngine::StatePlaying, Tick >= 11) << Tick;
    if (Tick == 11) W.Audio.Advance(10);
  }
  EXPECT_TRUE(Splash.Finished());
  // The 31 fade-out steps leave frame 50 at 231/256 per step.
  EXPECT_NE(W.Screen.PixelAt(250, 190), 0u);
}

TEST(SplashScreenTest, KeysEndItAndStopTheMusicWhenever) {
  {
    // During the black ticks: finished before the music ever starts.
    TFrontendWorld W(SplashEntries());
    TSplashScreen Splash(W.Screen, 320, 240, *W.Engine, *W.Pak);
    for (int I = 0; I < 5; ++I) Splash.Tick();
    Splash.SetFinished(true);
    EXPECT_TRUE(Splash.Finished());
    EXPECT_NE(W.Engine->State(), TAudioEngine::StatePlaying);
  }
  {
    // After the last tick, before the window frees it: the music still stops.
    TFrontendWorld W(SplashEntries());
    TSplashScreen Splash(W.Screen, 320, 240, *W.Engine, *W.Pak);
    while (!Splash.Finished()) Splash.Tick();
    W.Audio.Advance(100);
    ASSERT_EQ(W.Engine->State(), TAudioEngine::StatePlaying);
    Splash.SetFinished(true);
    EXPECT_EQ(W.Engine->State(), TAudioEngine::StateStopped);
  }
}

TEST(SplashScreenTest, MusicOutlivesTheSplashSafely) {
  // The engine plays its own copy: freeing the splash (and its stream) while
  // the logo music sounds must leave the music intact (ASan watches).
  TFrontendWorld W(SplashEntries());
  auto Splash = std::make_unique<TSplashScreen>(W.Screen, 320, 240, *W.Engine, *W.Pak);
  for (int I = 0; I < 12; ++I) Splash->Tick();
  ASSERT_EQ(W.Engine->State(), TAudioEngine::StatePlaying);
  Splash.reset();
  W.Audio.Advance(300);
  W.Engine->CheckEnd();
  EXPECT_EQ(W.Engine->State(), TAudioEngine::StatePlaying);
  EXPECT_GE(W.Engine->PositionMs(), 300);
  EXPECT_EQ(W.Engine->LengthMs(), 1000);
}

TEST(SplashScreenTest, OtherFrameSizesAreCentredAndMissingFramesShowBlack) {
  {
    TFrontendWorld W(SplashEntries(160, 120));
    TSplashScreen Splash(W.Screen, 320, 240, *W.Engine, *W.Pak);
    for (int I = 0; I < 30; ++I) Splash.Tick();  // frame 20, undarkened
    EXPECT_EQ(Splash.MainBuffer().Width(), 160);
    EXPECT_EQ(W.Screen.PixelAt(320, 240), Splash.Frame(19).GetPixel(0, 0));
    EXPECT_EQ(W.Screen.PixelAt(319, 240), 0u);
    EXPECT_EQ(W.Screen.PixelAt(320 + 159, 240 + 119), Splash.Frame(19).GetPixel(159, 119));
  }
  {
    // Nothing in the archive at all, then a damaged archive: black, silent, no crash.
    TFrontendWorld W;
    TSplashScreen Splash(W.Screen, 320, 240, *W.Engine, *W.Pak);
    while (!Splash.Finished()) Splash.Tick();
    EXPECT_EQ(W.Screen.PixelAt(400, 300), 0u);
    W.Folder.Write("game.pak", "junk");
    TSplashScreen Damaged(W.Screen, 320, 240, *W.Engine, *W.Pak);
    for (int I = 0; I < 20; ++I) Damaged.Tick();
    EXPECT_EQ(W.Engine->State(), TAudioEngine::StateStopped);
  }
}
