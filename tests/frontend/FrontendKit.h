// A headless world for the front end: settings on a fake display in a fresh
// folder, the headless mixer and wave-out, a music engine, and an archive
// written by the test with just the entries it wants.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "JpegEncode.h"
#include "audio/AudioObject.h"
#include "audio/TestSounds.h"
#include "gfx/PngTestUtil.h"
#include "pak/PakReader.h"
#include "pak/PakWriter.h"
#include "persist/Config.h"
#include "persist/TestFolder.h"
#include "platform/FakeDisplay.h"
#include "platform/HeadlessAudio.h"
#include "platform/Screen.h"
#include "platform/WaveOut.h"

// A picture of one colour.
inline TBytes SolidPng(int Width, int Height, TRGBAPixel Pixel) {
  return pngtest::EncodeRgba(Width, Height, std::vector<TRGBAPixel>(static_cast<std::size_t>(Width) * Height, Pixel));
}

// A short one-channel sound, Samples long so that sounds are told apart.
inline TBytes ShortWave(int Samples) {
  TWaveShape Shape;
  return BuildWave(Shape, Pcm16(std::vector<std::int16_t>(static_cast<std::size_t>(Samples), 1000)));
}

// The grey of the menu's frame: white at half opacity over black.
inline bool IsFrameGrey(TColorValue C) { return C == RGB(128, 128, 128); }

// The menu's seven sounds, each a little over a second long (and each
// of another length), so that one started in a tick still plays when a test
// looks.
inline std::vector<TPakEntry> MenuSoundEntries() {
  static const char* const Names[] = {"menu_tick.wav",    "menu_choose.wav", "menu_scroll.wav", "menu_scroll_rest.wav",
                                      "menu_foldout.wav", "menu_foldin.wav", "menu_error.wav"};
  std::vector<TPakEntry> Entries;
  for (int I = 0; I < 7; ++I) Entries.push_back({Names[I], ShortWave(22050 + 100 * I)});
  return Entries;
}

class TFrontendWorld {
public:
  explicit TFrontendWorld(const std::vector<TPakEntry>& Entries = {}) {
    OldAudio = SetAudioHandler(&Audio);
    OldWaveOut = SetWaveOutHandler(&WaveOut);
    if (!Entries.empty()) WritePakFile(Folder.File("game.pak"), Entries);
    Config = std::make_unique<TConfig>(Display, Folder.Path);
    Engine = std::make_unique<TAudioObject>(0);
    Pak = std::make_unique<TPakFileReadable>(Folder.File("game.pak"));
  }
  ~TFrontendWorld() {
    Engine.reset();
    SetAudioHandler(OldAudio);
    SetWaveOutHandler(OldWaveOut);
  }
  TFrontendWorld(const TFrontendWorld&) = delete;
  TFrontendWorld& operator=(const TFrontendWorld&) = delete;

  TTestFolder Folder;
  TFakeDisplay Display;
  THeadlessAudio Audio;
  THeadlessWaveOut WaveOut;
  IAudio* OldAudio = nullptr;
  IWaveOut* OldWaveOut = nullptr;
  std::unique_ptr<TConfig> Config;
  std::unique_ptr<TAudioObject> Engine;
  std::unique_ptr<TPakFileReadable> Pak;
  TScreen Screen;
};
