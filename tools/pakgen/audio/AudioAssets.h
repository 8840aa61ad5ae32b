// Every sound and piece of music of the game, by archive entry name, with the
// renderer that synthesises it. GenerateAudio packs them; the tests render
// them one by one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Dsp.h"
#include "Sequencer.h"

namespace PakAudio {

struct TEffectAsset {
  std::string Name;  // archive entry, e.g. "player_draw.wav"
  bool Loops;        // played in a loop by the game: the end must run into the start
  TMono (*Render)();
};

// The sound effects, rendered at SampleRate, mono.
const std::vector<TEffectAsset>& SoundEffects();

struct TMusicAsset {
  std::string Name;     // archive entry, e.g. "vyrn_menu.ogg"
  bool Loops;           // restarted by the game when it nears its end
  // For a looping piece: seconds of the loop's own start appended after its
  // end. The game cuts the last ~100 ms of a piece when it restarts it, so
  // this tail puts the cut right at the loop point.
  double LoopTailSeconds;
  TStereo (*Render)();  // the piece without the appended tail
};

// The music, rendered at SampleRate, stereo.
const std::vector<TMusicAsset>& MusicPieces();

// The finished archive entries: a WAV file for an effect, an Ogg Vorbis file
// for a piece (a looping piece with its tail appended).
std::vector<std::uint8_t> EncodeEffect(const TEffectAsset& Effect);
std::vector<std::uint8_t> EncodeMusic(const TMusicAsset& Piece);

// Renderers, exposed for the tests.
TStereo RenderMenuTheme();
TStereo RenderLevelEnded();
TStereo RenderGameEnded();
TStereo RenderLogoJingle();

// The menu theme's tempo grid, which its loop must respect.
constexpr double MenuThemeBpm = 125.0;
constexpr int MenuThemeBars = 40;

// The menu theme's written score, for checking it stays in key.
struct TMenuThemeScore {
  std::vector<std::string> Chords;  // one per bar
  std::vector<TNote> Melodies;      // every melodic line, at its place in the piece
};
TMenuThemeScore MenuThemeScore();

}  // namespace PakAudio
