#include "Manifest.h"

#include <cstdio>
#include <stdexcept>

namespace {

// Frame counts of the animated sets are ours to choose. The big enemy shows
// each frame for 20 div count ticks, so counts that divide 20 give an even
// cycle; every set the game picks a random start frame from needs at least two
// images.
const std::vector<TImageSet>& Sets() {
  static const std::vector<TImageSet> List = {
      // Player markers: one picture per direction (0 up, 1 right, 2 down, 3 left).
      {"player01", 0, 4},
      {"player02", 0, 4},
      {"explo01", 1, 12},
      // Big enemies of the level table.
      {"evil_simple01", 1, 10},
      {"evil_simple02", 1, 20},
      {"evil_space01", 1, 10},
      {"evil_space02", 1, 10},
      {"evil_cartoon01", 1, 10},
      {"evil_cartoon02", 1, 10},
      {"evil_mystic01", 1, 20},
      {"evil_mystic02", 1, 10},
      {"evil_horror01", 1, 10},
      {"evil_horror02", 1, 20},
      {"evil_insect01", 1, 10},
      {"evil_insect02", 1, 10},
      {"evil_heaven01", 1, 10},
      {"evil_heaven02", 1, 20},
      {"evil_end01", 1, 20},
      // Small enemies: the first kind animates at 20 div count ticks a frame,
      // the other two at 2 ticks a frame.
      {"small_evil01", 1, 10},
      {"small_evil02", 1, 8},
      {"small_evil03", 1, 12},
      // Items, 2 ticks a frame; the coins' turn wants small steps.
      {"item_speed", 1, 16},
      {"item_dollar01", 1, 24},
      {"item_dollar02", 1, 24},
      {"item_dollar03", 1, 24},
      {"item_heart", 1, 16},
  };
  return List;
}

struct TSingle {
  const char* Name;
  TAssetKind Kind;
  int Width;
  int Height;
};

// Every entry that is not part of an image set, grouped by who reads it.
const TSingle Singles[] = {
    // Level backgrounds (600 x 550 play area).
    {"back_simple01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_simple02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_space01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_space02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_cartoon01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_cartoon02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_mystic01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_mystic02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_horror01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_horror02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_insect01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_insect02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_heaven01.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_heaven02.jpg", TAssetKind::Jpeg, 600, 550},
    {"back_end01.jpg", TAssetKind::Jpeg, 600, 550},
    // Game panels and game pictures.
    {"main_right_1p.jpg", TAssetKind::Jpeg, 200, 600},
    {"main_right_2p.jpg", TAssetKind::Jpeg, 200, 600},
    {"main_bottom.jpg", TAssetKind::Jpeg, 600, 50},
    {"numerics_score.png", TAssetKind::Png, 120, 14},
    {"numerics_large.png", TAssetKind::Png, 160, 18},
    {"numerics_bonus.png", TAssetKind::Png, 120, 12},
    {"chars.png", TAssetKind::Png, 756, 18},
    {"loading.png", TAssetKind::Png, 0, 0},
    {"game_paused_menu.png", TAssetKind::Png, 0, 0},
    {"dead.png", TAssetKind::Png, 0, 0},
    {"bonus_awarded.png", TAssetKind::Png, 0, 0},
    // Menu.
    {"menu_back.jpg", TAssetKind::Jpeg, 800, 600},
    {"menu_main.png", TAssetKind::Png, 0, 0},
    {"small_chars.png", TAssetKind::Png, 432, 8},
    {"music_rotator.png", TAssetKind::Png, 55, 55},
    {"music_rotator_center.png", TAssetKind::Png, 55, 55},
    {"music_rotator_leftbar.png", TAssetKind::Png, 27, 139},
    {"music_rotator_rightbar.png", TAssetKind::Png, 27, 139},
    {"arrow.png", TAssetKind::Png, 0, 0},
    {"credits.png", TAssetKind::Png, 0, 0},
    {"options.png", TAssetKind::Png, 0, 0},
    {"volume_control.png", TAssetKind::Png, 0, 0},
    {"player_keys.png", TAssetKind::Png, 0, 0},
    {"player_1_keys.png", TAssetKind::Png, 0, 0},
    {"player_2_keys.png", TAssetKind::Png, 0, 0},
    {"highscore.png", TAssetKind::Png, 0, 0},
    {"highscore_achieved.png", TAssetKind::Png, 0, 0},
    {"submit_hi.png", TAssetKind::Png, 0, 0},
    {"submit_hi_error.png", TAssetKind::Png, 0, 0},
    {"submit_hi_ok.png", TAssetKind::Png, 0, 0},
    {"submit_hi_submitting.png", TAssetKind::Png, 0, 0},
    {"cheat_on.png", TAssetKind::Png, 0, 0},
    // Sound effects.
    {"player_draw.wav", TAssetKind::Wav, 0, 0},
    {"player_run.wav", TAssetKind::Wav, 0, 0},
    {"player_explosion.wav", TAssetKind::Wav, 0, 0},
    {"player_warp.wav", TAssetKind::Wav, 0, 0},
    {"player_vanish.wav", TAssetKind::Wav, 0, 0},
    {"item_heart.wav", TAssetKind::Wav, 0, 0},
    {"item_speed.wav", TAssetKind::Wav, 0, 0},
    {"item_dollar.wav", TAssetKind::Wav, 0, 0},
    {"fill.wav", TAssetKind::Wav, 0, 0},
    {"menu_tick.wav", TAssetKind::Wav, 0, 0},
    {"menu_choose.wav", TAssetKind::Wav, 0, 0},
    {"menu_scroll.wav", TAssetKind::Wav, 0, 0},
    {"menu_scroll_rest.wav", TAssetKind::Wav, 0, 0},
    {"menu_foldin.wav", TAssetKind::Wav, 0, 0},
    {"menu_foldout.wav", TAssetKind::Wav, 0, 0},
    {"menu_error.wav", TAssetKind::Wav, 0, 0},
    // Music.
    {"vyrn_menu.ogg", TAssetKind::Ogg, 0, 0},
    {"level_ended.ogg", TAssetKind::Ogg, 0, 0},
    {"game_ended.ogg", TAssetKind::Ogg, 0, 0},
    {"quillon_logo.ogg", TAssetKind::Ogg, 0, 0},
    // The menu's demos, played by the game itself once the rest is packed.
    {"demo1.vrp", TAssetKind::Replay, 0, 0},
    {"demo2.vrp", TAssetKind::Replay, 0, 0},
    {"demo3.vrp", TAssetKind::Replay, 0, 0},
};

// The splash's 50 logo frames, "Quillon2_01.jpg" .. "Quillon2_50.jpg".
constexpr int SplashFrames = 50;

}  // namespace

const std::vector<TImageSet>& ManifestImageSets() { return Sets(); }

const TImageSet& ManifestImageSet(const std::string& SetName) {
  for (const TImageSet& S : Sets())
    if (S.Name == SetName) return S;
  throw std::out_of_range("no image set " + SetName + " in the manifest");
}

const std::vector<TManifestEntry>& PakManifest() {
  static const std::vector<TManifestEntry> List = [] {
    std::vector<TManifestEntry> L;
    for (const TImageSet& S : Sets())
      for (int n = S.First; n < S.First + S.Count; ++n)
        L.push_back({ImageSetEntryName(S.Name, n), TAssetKind::Png, 0, 0, S.Name});
    for (const TSingle& E : Singles) L.push_back({E.Name, E.Kind, E.Width, E.Height, ""});
    for (int n = 1; n <= SplashFrames; ++n) {
      char Name[32];
      std::snprintf(Name, sizeof Name, "Quillon2_%02d.jpg", n);
      L.push_back({Name, TAssetKind::Jpeg, 320, 240, ""});
    }
    return L;
  }();
  return List;
}

const char* AssetKindName(TAssetKind Kind) {
  switch (Kind) {
    case TAssetKind::Png: return "PNG";
    case TAssetKind::Jpeg: return "JPEG";
    case TAssetKind::Wav: return "WAV";
    case TAssetKind::Ogg: return "Ogg";
    case TAssetKind::Replay: return "replay";
  }
  return "?";
}
