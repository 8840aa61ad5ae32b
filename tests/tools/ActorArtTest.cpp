// The actors in the built archive as a player has to read them: markers that
// outweigh every other small actor and wear a dark outline inside a light
// halo, colours apart from each other and from the level pictures, an
// explosion that fills its space, animations in small steps, and no actor
// that melts into the ground it is met on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CieLab.h"
#include "Manifest.h"
#include "PictureDecode.h"
#include "game/LevelTable.h"
#include "pak/PakReader.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Opaque = 128;  // alpha from which a pixel counts as covered

const TPakFileReadable& Pak() {
  static const TPakFileReadable P(VYRN_GAME_PAK);
  return P;
}

// Decoded once: several tests read the same pictures. Empty when missing.
const TRgbaPicture& Picture(const std::string& Name) {
  static std::map<std::string, TRgbaPicture> Cache;
  auto It = Cache.find(Name);
  if (It == Cache.end()) {
    TRgbaPicture P;
    if (const auto S = Pak().GetStream(Name)) P = DecodePicture(S->Data(), S->Size());
    It = Cache.emplace(Name, std::move(P)).first;
  }
  return It->second;
}

// Frame Index (from 0) of a set of the manifest.
const TRgbaPicture& Frame(const std::string& Set, int Index) {
  const TImageSet& S = ManifestImageSet(Set);
  return Picture(ImageSetEntryName(S.Name, S.First + Index));
}

int OpaqueArea(const TRgbaPicture& P) {
  int N = 0;
  for (int y = 0; y < P.Height; ++y)
    for (int x = 0; x < P.Width; ++x) N += P.Alpha(x, y) >= Opaque;
  return N;
}

struct TBox {
  int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1;
  int Width() const { return Right >= Left ? Right - Left + 1 : 0; }
  int Height() const { return Bottom >= Top ? Bottom - Top + 1 : 0; }
};

TBox OpaqueBox(const TRgbaPicture& P) {
  TBox B;
  for (int y = 0; y < P.Height; ++y)
    for (int x = 0; x < P.Width; ++x)
      if (P.Alpha(x, y) >= Opaque) {
        B.Left = std::min(B.Left, x);
        B.Right = std::max(B.Right, x);
        B.Top = std::min(B.Top, y);
        B.Bottom = std::max(B.Bottom, y);
      }
  return B;
}

double Luma(const std::uint8_t* P) { return 0.2126 * P[0] + 0.7152 * P[1] + 0.0722 * P[2]; }

// Angle between two hues in degrees, 0..180.
double HueGap(double H1, double H2) {
  const double D = std::fmod(std::fabs(H1 - H2), 360.0);
  return std::min(D, 360 - D);
}

// The hue of the strongly coloured, fully opaque pixels: the direction of
// their summed (a*, b*).
double BodyHue(const TRgbaPicture& P, double* Chroma = nullptr) {
  double SA = 0, SB = 0, SC = 0;
  int N = 0;
  for (int y = 0; y < P.Height; ++y)
    for (int x = 0; x < P.Width; ++x) {
      if (P.Alpha(x, y) < 255) continue;
      const TLab C = ToLab(P.At(x, y));
      if (C.Chroma() < 40) continue;
      SA += C.A;
      SB += C.B;
      SC += C.Chroma();
      ++N;
    }
  if (Chroma) *Chroma = N ? SC / N : 0;
  return std::atan2(SB, SA) * 180 / Pi;
}

// The backgrounds of the level table, each once.
std::vector<std::string> Backgrounds() {
  std::vector<std::string> Names;
  std::set<std::string> Seen;
  for (std::int32_t N = 1; N <= LevelCount; ++N)
    if (Seen.insert(LevelInfo(N).Background).second) Names.push_back(LevelInfo(N).Background);
  return Names;
}

// Share of an actor's opaque pixels that could pass for the picture: within
// a CIE76 distance of 20 of one of its common colours. The picture's colours
// are binned in L*a*b* cubes of 8 units; a bin holding at least 0.3 % of the
// pixels is a common colour, at the mean of its pixels. Only the actor's
// pixels of at least MinChroma count (a marker's body without its light halo
// and dark outline, which are there for grounds of their own lightness).
double CamouflagedShare(const TRgbaPicture& Actor, const TRgbaPicture& Ground, double MinChroma = 0) {
  struct TSum {
    double L = 0, A = 0, B = 0;
    int N = 0;
  };
  std::map<std::array<int, 3>, TSum> Bins;
  for (int y = 0; y < Ground.Height; ++y)
    for (int x = 0; x < Ground.Width; ++x) {
      const TLab C = ToLab(Ground.At(x, y));
      TSum& S = Bins[{static_cast<int>(std::floor(C.L / 8)), static_cast<int>(std::floor(C.A / 8)),
                      static_cast<int>(std::floor(C.B / 8))}];
      S.L += C.L, S.A += C.A, S.B += C.B, ++S.N;
    }
  std::vector<TLab> Common;
  for (const auto& [Key, S] : Bins)
    if (S.N >= 0.003 * Ground.Width * Ground.Height) Common.push_back({S.L / S.N, S.A / S.N, S.B / S.N});
  int Hidden = 0, All = 0;
  for (int y = 0; y < Actor.Height; ++y)
    for (int x = 0; x < Actor.Width; ++x) {
      if (Actor.Alpha(x, y) < 200) continue;
      const TLab C = ToLab(Actor.At(x, y));
      if (C.Chroma() < MinChroma) continue;
      ++All;
      Hidden += std::any_of(Common.begin(), Common.end(), [&](const TLab& G) {
        return C.DistanceTo(G) < 20;
      });
    }
  return All ? static_cast<double>(Hidden) / All : 1.0;
}

const char* const Markers[] = {"player01", "player02"};

TEST(ActorArtTest, MarkersOutweighEveryOtherSmallActor) {
  int Largest = 0;
  std::string LargestName;
  for (const TImageSet& S : ManifestImageSets()) {
    if (S.Name.rfind("small_evil", 0) != 0 && S.Name.rfind("item_", 0) != 0) continue;
    for (int i = 0; i < S.Count; ++i) {
      const int A = OpaqueArea(Frame(S.Name, i));
      if (A > Largest) Largest = A, LargestName = ImageSetEntryName(S.Name, S.First + i);
    }
  }
  ASSERT_GT(Largest, 0);
  for (const char* M : Markers)
    for (int d = 0; d < 4; ++d) {
      const int A = OpaqueArea(Frame(M, d));
      EXPECT_GE(A, Largest) << M << " frame " << d << " covers " << A << " pixels, " << LargestName << " " << Largest;
    }
}

TEST(ActorArtTest, MarkersWearADarkOutlineInsideALightHalo) {
  // Walking in from outside along rays from the centre: the first covered
  // pixels are light (the halo shows on dark ground), and within a few
  // pixels further in comes a dark one (the outline shows on light ground).
  for (const char* M : Markers)
    for (int d = 0; d < 4; ++d) {
      const TRgbaPicture& P = Frame(M, d);
      const double Cx = P.Width / 2, Cy = P.Height / 2;
      int Good = 0;
      constexpr int Rays = 48;
      for (int r = 0; r < Rays; ++r) {
        const double A = r * 2 * Pi / Rays, Dx = std::cos(A), Dy = std::sin(A);
        double Halo = -1, Outline = -1;
        for (double t = P.Width; t >= 0; t -= 0.25) {
          const int X = static_cast<int>(std::lround(Cx + t * Dx)), Y = static_cast<int>(std::lround(Cy + t * Dy));
          if (P.Alpha(X, Y) < Opaque) continue;
          const double L = Luma(P.At(X, Y));
          if (Halo < 0) {
            if (L < 170) break;  // the outermost covered pixel is not light
            Halo = t;
          } else if (L < 60) {
            Outline = t;
            break;
          }
          if (Halo - t > 4) break;
        }
        Good += Halo >= 0 && Outline >= 0;
      }
      EXPECT_GE(Good, Rays * 9 / 10) << M << " frame " << d;
    }
}

TEST(ActorArtTest, MarkersPointWhereTheyHead) {
  // Frames 0..3 face up, right, down, left: the covered area reaches further
  // ahead of the centre than behind it.
  const int Ahead[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
  for (const char* M : Markers)
    for (int d = 0; d < 4; ++d) {
      const TRgbaPicture& P = Frame(M, d);
      int Front = 0, Back = 0;
      for (int y = 0; y < P.Height; ++y)
        for (int x = 0; x < P.Width; ++x) {
          if (P.Alpha(x, y) < Opaque) continue;
          const int Along = (x - P.Width / 2) * Ahead[d][0] + (y - P.Height / 2) * Ahead[d][1];
          Front = std::max(Front, Along);
          Back = std::max(Back, -Along);
        }
      EXPECT_GE(Front - Back, 2) << M << " frame " << d << ": reaches " << Front << " ahead, " << Back << " behind";
    }
}

TEST(ActorArtTest, MarkerColoursDifferFromEachOtherAndFromEveryGround) {
  double Chroma1 = 0, Chroma2 = 0;
  const double Hue1 = BodyHue(Frame("player01", 0), &Chroma1);
  const double Hue2 = BodyHue(Frame("player02", 0), &Chroma2);
  EXPECT_GE(Chroma1, 45);
  EXPECT_GE(Chroma2, 45);
  EXPECT_GE(HueGap(Hue1, Hue2), 90) << Hue1 << " against " << Hue2;
  std::printf("marker hues %5.1f and %5.1f, chroma %4.1f and %4.1f\n", Hue1, Hue2, Chroma1, Chroma2);
  // A picture's dominant hue: the peak of its hue histogram (24 bins),
  // weighted by chroma, over its coloured pixels.
  for (const std::string& Name : Backgrounds()) {
    const TRgbaPicture& G = Picture(Name);
    ASSERT_GT(G.Width, 0) << Name;
    std::array<double, 24> Weight{};
    for (int y = 0; y < G.Height; ++y)
      for (int x = 0; x < G.Width; ++x) {
        const TLab C = ToLab(G.At(x, y));
        if (C.Chroma() < 15) continue;
        const double H = std::atan2(C.B, C.A) * 180 / Pi + 360;
        Weight[static_cast<std::size_t>(H / 15) % 24] += C.Chroma();
      }
    const auto Peak = std::max_element(Weight.begin(), Weight.end()) - Weight.begin();
    const double Dominant = Peak * 15 + 7.5;
    std::printf("%-20s dominant hue %5.1f; markers %5.1f and %5.1f degrees away\n", Name.c_str(), Dominant,
                HueGap(Hue1, Dominant), HueGap(Hue2, Dominant));
    EXPECT_GE(HueGap(Hue1, Dominant), 20) << Name << ": player01";
    EXPECT_GE(HueGap(Hue2, Dominant), 20) << Name << ": player02";
  }
}

// An sRGB colour as seen with deuteranopia: Machado, Oliveira and Fernandes
// (2009), severity 1, applied in linear light.
TLab DeuteranopeSees(const double Srgb[3]) {
  static constexpr double M[3][3] = {
      {0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}};
  double Lin[3], Out[3];
  for (int c = 0; c < 3; ++c) Lin[c] = SrgbToLinear(static_cast<std::uint8_t>(std::lround(Srgb[c])));
  for (int r = 0; r < 3; ++r)
    Out[r] = std::clamp(M[r][0] * Lin[0] + M[r][1] * Lin[1] + M[r][2] * Lin[2], 0.0, 1.0);
  return LinearToLab(Out[0], Out[1], Out[2]);
}

// A pixel of an actor laid over a plain grey ground (alpha over in sRGB, as
// the game blends), as seen with deuteranopia.
TLab DeuteranopeSees(const TRgbaPicture& P, int X, int Y, std::uint8_t Ground) {
  const std::uint8_t* C = P.At(X, Y);
  double Over[3];
  for (int c = 0; c < 3; ++c) Over[c] = (C[c] * C[3] + Ground * (255 - C[3])) / 255.0;
  return DeuteranopeSees(Over);
}

// The mean colour of the strongly coloured, fully opaque pixels, as seen
// with deuteranopia.
TLab DeuteranopeSeesBody(const TRgbaPicture& P) {
  double Sum[3] = {0, 0, 0};
  int N = 0;
  for (int y = 0; y < P.Height; ++y)
    for (int x = 0; x < P.Width; ++x) {
      if (P.Alpha(x, y) < 255 || ToLab(P.At(x, y)).Chroma() < 40) continue;
      for (int c = 0; c < 3; ++c) Sum[c] += P.At(x, y)[c];
      ++N;
    }
  for (double& S : Sum) S /= std::max(N, 1);
  return DeuteranopeSees(Sum);
}

TEST(ActorArtTest, MarkersAreToldApartByShapeWhereTheirColoursLookAlike) {
  // Frames facing the same way share a size: the game centres a marker on
  // its trail pixel, so a size of its own would shift one player's picture.
  for (int d = 0; d < 4; ++d) {
    const TRgbaPicture& A = Frame("player01", d);
    const TRgbaPicture& B = Frame("player02", d);
    ASSERT_GT(A.Width, 0);
    EXPECT_EQ(A.Width, B.Width) << "frame " << d;
    EXPECT_EQ(A.Height, B.Height) << "frame " << d;
    EXPECT_EQ(A.Width % 2, 1) << "frame " << d;
    EXPECT_EQ(A.Height % 2, 1) << "frame " << d;
  }
  // Silhouettes: a good share of the pixels either marker covers is covered
  // by one only.
  for (int d = 0; d < 4; ++d) {
    const TRgbaPicture& A = Frame("player01", d);
    const TRgbaPicture& B = Frame("player02", d);
    if (A.Width != B.Width || A.Height != B.Height) continue;
    int Union = 0, OneOnly = 0;
    for (int y = 0; y < A.Height; ++y)
      for (int x = 0; x < A.Width; ++x) {
        const bool InA = A.Alpha(x, y) >= Opaque, InB = B.Alpha(x, y) >= Opaque;
        Union += InA || InB;
        OneOnly += InA != InB;
      }
    ASSERT_GT(Union, 0);
    std::printf("markers facing %d: %d of %d covered pixels in one silhouette only\n", d, OneOnly, Union);
    EXPECT_GE(OneOnly * 100, Union * 20) << "frame " << d << ": " << OneOnly << " of " << Union;
  }
  // With deuteranopia the bodies' colours come close. On dark, middle and
  // light ground, the pictures must still differ, by clearly more than the
  // bodies' colours do, in a good share of the pixels either covers: the
  // difference lies in where halo, outline and body are, not in hue.
  const TLab Body1 = DeuteranopeSeesBody(Frame("player01", 0)), Body2 = DeuteranopeSeesBody(Frame("player02", 0));
  const double BodyGap = Body1.DistanceTo(Body2);
  const double Apart = std::max(30.0, 1.5 * BodyGap);
  std::printf("with deuteranopia the bodies are %.1f apart; pixels count as apart from %.1f\n", BodyGap, Apart);
  for (const std::uint8_t Ground : {std::uint8_t{20}, std::uint8_t{128}, std::uint8_t{235}})
    for (int d = 0; d < 4; ++d) {
      const TRgbaPicture& A = Frame("player01", d);
      const TRgbaPicture& B = Frame("player02", d);
      if (A.Width != B.Width || A.Height != B.Height) continue;
      int Union = 0, Different = 0;
      for (int y = 0; y < A.Height; ++y)
        for (int x = 0; x < A.Width; ++x) {
          if (A.Alpha(x, y) < Opaque && B.Alpha(x, y) < Opaque) continue;
          ++Union;
          Different += DeuteranopeSees(A, x, y, Ground).DistanceTo(DeuteranopeSees(B, x, y, Ground)) >= Apart;
        }
      std::printf("ground %3d, facing %d: %d of %d pixels apart\n", Ground, d, Different, Union);
      EXPECT_GE(Different * 100, Union * 20) << "ground " << int(Ground) << ", frame " << d;
    }
}

TEST(ActorArtTest, ExplosionFillsItsSpaceWithAWhiteCoreAndDarkSmoke) {
  // The peak: the frame with the most fire (light covered pixels).
  const TImageSet& S = ManifestImageSet("explo01");
  int Most = 0, PeakFrame = 0;
  for (int i = 0; i < S.Count; ++i) {
    const TRgbaPicture& P = Frame("explo01", i);
    int Fire = 0;
    for (int y = 0; y < P.Height; ++y)
      for (int x = 0; x < P.Width; ++x) Fire += P.Alpha(x, y) >= Opaque && Luma(P.At(x, y)) > 200;
    if (Fire > Most) Most = Fire, PeakFrame = i;
  }
  const TBox Peak = OpaqueBox(Frame("explo01", PeakFrame));
  EXPECT_GE(Peak.Width(), 40);
  EXPECT_GE(Peak.Height(), 40);
  std::printf("explosion peak: frame %d of %d, %d x %d covered\n", PeakFrame + 1, S.Count, Peak.Width(), Peak.Height());
  // At the peak: the centre white-hot, and dark smoke around the fire.
  const TRgbaPicture& P = Frame("explo01", PeakFrame);
  const std::uint8_t* Centre = P.At(P.Width / 2, P.Height / 2);
  EXPECT_GE(std::min({Centre[0], Centre[1], Centre[2]}), 220);
  EXPECT_GE(Centre[3], 200);
  int Dark = 0, Bright = 0, Covered = 0;
  double DarkReach = 0, BrightReach = 0;
  for (int y = 0; y < P.Height; ++y)
    for (int x = 0; x < P.Width; ++x) {
      if (P.Alpha(x, y) < Opaque) continue;
      ++Covered;
      const double L = Luma(P.At(x, y)), R = std::hypot(x - P.Width / 2, y - P.Height / 2);
      if (L < 70) ++Dark, DarkReach += R;
      if (L > 200) ++Bright, BrightReach += R;
    }
  ASSERT_GT(Dark, 0);
  ASSERT_GT(Bright, 0);
  EXPECT_GE(Dark * 100, Covered * 15) << Dark << " dark of " << Covered;
  EXPECT_GT(DarkReach / Dark, BrightReach / Bright + 5);
}

TEST(ActorArtTest, CoinsTurnInSmallSteps) {
  // The coverage of the centre row (its alphas summed) is the coin's
  // projected width, 2 R |cos a| plus about the rim's width, the narrowest: the turning angle follows
  // as acos((width - narrowest) / (widest - narrowest)). From frame to frame
  // (and from the last back to the first) it may change by little.
  for (const char* Set : {"item_dollar01", "item_dollar02", "item_dollar03"}) {
    const TImageSet& S = ManifestImageSet(Set);
    std::vector<double> Widths;
    for (int i = 0; i < S.Count; ++i) {
      const TRgbaPicture& P = Frame(Set, i);
      double W = 0;
      for (int x = 0; x < P.Width; ++x) W += P.Alpha(x, P.Height / 2) / 255.0;
      Widths.push_back(W);
    }
    const double Widest = *std::max_element(Widths.begin(), Widths.end());
    const double Narrowest = *std::min_element(Widths.begin(), Widths.end());
    ASSERT_GT(Widest, Narrowest) << Set << " does not turn";
    auto Angle = [&](int i) { return std::acos((Widths[i] - Narrowest) / (Widest - Narrowest)) * 180 / Pi; };
    for (int i = 0; i < S.Count; ++i) {
      const double A0 = Angle(i), A1 = Angle((i + 1) % S.Count);
      EXPECT_LE(std::fabs(A1 - A0), 30) << Set << " frames " << i << " to " << (i + 1) % S.Count;
    }
  }
}

TEST(ActorArtTest, BigEnemiesCycleInShortEvenSteps) {
  // The game shows a big enemy's frames in turn, 20 div count ticks each: a
  // count that divides 20 keeps the steps even, and ten or more keep each
  // picture up for at most two ticks.
  for (const TImageSet& S : ManifestImageSets()) {
    if (S.Name.rfind("evil_", 0) != 0) continue;
    EXPECT_EQ(20 % S.Count, 0) << S.Name;
    EXPECT_GE(S.Count, 10) << S.Name;
  }
}

// Mean difference of two frames of one set, colour weighted by coverage, per
// channel and pixel (0..255).
double FrameDistance(const TRgbaPicture& A, const TRgbaPicture& B) {
  if (A.Width != B.Width || A.Height != B.Height || A.Width == 0) return 0;
  double Sum = 0;
  for (int y = 0; y < A.Height; ++y)
    for (int x = 0; x < A.Width; ++x) {
      const std::uint8_t* P = A.At(x, y);
      const std::uint8_t* Q = B.At(x, y);
      for (int c = 0; c < 3; ++c) Sum += std::fabs(P[c] * P[3] / 255.0 - Q[c] * Q[3] / 255.0);
      Sum += std::fabs(double(P[3]) - Q[3]);
    }
  return Sum / (4.0 * A.Width * A.Height);
}

TEST(ActorArtTest, LoopsRunOnFromTheirLastFrameToTheirFirst) {
  // Every set but the markers' directions and the explosion plays round and
  // round. A last frame that all but repeats the first holds the picture
  // still once in every cycle. The step from the last frame back to the
  // first must not be both far below the set's usual step and so small that
  // the two pictures look the same (a coin resting face on, or a heart
  // between beats, rests on purpose, in steps like the wrap's).
  for (const TImageSet& S : ManifestImageSets()) {
    if (S.Name.rfind("player", 0) == 0 || S.Name.rfind("explo", 0) == 0) continue;
    std::vector<double> Steps;
    for (int i = 0; i + 1 < S.Count; ++i) Steps.push_back(FrameDistance(Frame(S.Name, i), Frame(S.Name, i + 1)));
    const double Wrap = FrameDistance(Frame(S.Name, S.Count - 1), Frame(S.Name, 0));
    std::sort(Steps.begin(), Steps.end());
    const double Median = Steps[Steps.size() / 2];
    const bool NearDuplicate = Wrap < 0.5 * Median && Wrap < 1.0;
    EXPECT_FALSE(NearDuplicate) << S.Name << ": from the last frame to the first " << Wrap
                                << ", the median step " << Median;
  }
}

TEST(ActorArtTest, ActorsStandApartFromTheGroundTheyMeet) {
  struct TPair {
    const char* Set;
    const char* Ground;
    double MinChroma = 0;
  };
  // The pairs that were hard to see (a marker by its body colour: its halo
  // and outline are meant to match one ground or another).
  const TPair Pairs[] = {{"small_evil02", "back_insect01.jpg"}, {"item_dollar03", "back_insect01.jpg"},
                         {"player02", "back_insect01.jpg", 40},  {"evil_end01", "back_end01.jpg"},
                         {"small_evil01", "back_end01.jpg"}};
  for (const TPair& P : Pairs) {
    const double Share = CamouflagedShare(Frame(P.Set, 0), Picture(P.Ground), P.MinChroma);
    EXPECT_LE(Share, 0.3) << P.Set << " on " << P.Ground;
    std::printf("%-14s on %-20s %5.1f %% in the ground's common colours\n", P.Set, P.Ground, 100 * Share);
  }
}

}  // namespace
