#include <algorithm>
#include <filesystem>

#include "AudioAssets.h"
#include "AudioEncode.h"
#include "Encode.h"
#include "Generators.h"

namespace PakAudio {

namespace {
// Vorbis quality: about 128 kbit/s for stereo music, plenty for synthesised
// material and small enough for the archive.
constexpr float MusicQuality = 0.4f;

// A looping piece gets a copy of its own start appended (see TMusicAsset).
TStereo WithLoopTail(TStereo Loop, double TailSeconds) {
  const std::size_t N = Loop.Size();
  const std::size_t Tail = std::min(N, SecondsToFrames(TailSeconds));
  Loop.L.resize(N + Tail);
  Loop.R.resize(N + Tail);
  for (std::size_t i = 0; i < Tail; ++i) {
    Loop.L[N + i] = Loop.L[i];
    Loop.R[N + i] = Loop.R[i];
  }
  return Loop;
}
}  // namespace

std::vector<std::uint8_t> EncodeEffect(const TEffectAsset& Effect) { return EncodeWav(Effect.Render()); }

std::vector<std::uint8_t> EncodeMusic(const TMusicAsset& Piece) {
  TStereo Samples = Piece.Render();
  if (Piece.Loops) Samples = WithLoopTail(std::move(Samples), Piece.LoopTailSeconds);
  return EncodeOgg(Samples, MusicQuality);
}

}  // namespace PakAudio

void GenerateAudio(std::vector<TPakEntry>& Out, const std::string& PreviewDir) {
  using namespace PakAudio;
  // Listening copies of every sound, beside the contact sheets.
  const std::string Listen = PreviewDir.empty() ? "" : PreviewDir + "/audio";
  if (!Listen.empty()) std::filesystem::create_directories(Listen);
  auto Add = [&](const std::string& Name, std::vector<std::uint8_t> Bytes) {
    if (!Listen.empty()) WriteFile(Listen + "/" + Name, Bytes);
    Out.push_back({Name, std::move(Bytes)});
  };
  for (const TEffectAsset& Effect : SoundEffects()) Add(Effect.Name, EncodeEffect(Effect));
  for (const TMusicAsset& Piece : MusicPieces()) Add(Piece.Name, EncodeMusic(Piece));
}
