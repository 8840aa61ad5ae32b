#include <algorithm>
#include <filesystem>

#include "AudioAssets.h"
#include "AudioEncode.h"
#include "Encode.h"
#include "Generators.h"

namespace {
// Vorbis quality: about 128 kbit/s for stereo music, plenty for synthesised
// material and small enough for the archive.
constexpr float MusicQuality = 0.4f;

// A looping piece gets a copy of its own start appended (see TMusicAsset).
PakAudio::TStereo WithLoopTail(PakAudio::TStereo Loop, double TailSeconds) {
  const std::size_t Tail = std::min(Loop.Size(), PakAudio::SecondsToFrames(TailSeconds));
  const std::size_t N = Loop.Size();
  Loop.L.resize(N + Tail);
  Loop.R.resize(N + Tail);
  for (std::size_t i = 0; i < Tail; ++i) {
    Loop.L[N + i] = Loop.L[i];
    Loop.R[N + i] = Loop.R[i];
  }
  return Loop;
}
}  // namespace

void GenerateAudio(std::vector<TPakEntry>& Out, const std::string& PreviewDir) {
  using namespace PakAudio;
  // Listening copies of every sound, beside the contact sheets.
  const std::string Listen = PreviewDir.empty() ? "" : PreviewDir + "/audio";
  if (!Listen.empty()) std::filesystem::create_directories(Listen);
  for (const TEffectAsset& Effect : SoundEffects()) {
    TPakEntry Entry{Effect.Name, EncodeWav(Effect.Render())};
    if (!Listen.empty()) WriteFile(Listen + "/" + Effect.Name, Entry.Data);
    Out.push_back(std::move(Entry));
  }
  for (const TMusicAsset& Piece : MusicPieces()) {
    TStereo Samples = Piece.Render();
    if (Piece.Loops) Samples = WithLoopTail(std::move(Samples), Piece.LoopTailSeconds);
    TPakEntry Entry{Piece.Name, EncodeOgg(Samples, MusicQuality)};
    if (!Listen.empty()) WriteFile(Listen + "/" + Piece.Name, Entry.Data);
    Out.push_back(std::move(Entry));
  }
}
