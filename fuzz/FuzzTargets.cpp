#include "FuzzTargets.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <span>

#include "SimScript.h"
#include "audio/WavePlayer.h"
#include "gfx/FastImaging.h"
#include "gfx/ImageErrors.h"
#include "gfx/JpegDecode.h"
#include "gfx/PNGObjectImprov.h"
#include "pak/MemoryStream.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "persist/HighScore.h"
#include "platform/FakeDisplay.h"
#include "platform/HeadlessAudio.h"
#include "platform/MessageBox.h"

namespace {

// One folder for the whole run: the file readers take names, not bytes.
const std::filesystem::path& Scratch() {
  static const std::filesystem::path Folder = [] {
    std::string Pattern = (std::filesystem::temp_directory_path() / "vyrn-fuzz-XXXXXX").string();
    if (!::mkdtemp(Pattern.data())) std::abort();
    std::atexit([] {
      std::error_code Ec;
      std::filesystem::remove_all(Scratch(), Ec);
    });
    return std::filesystem::path(Pattern);
  }();
  return Folder;
}

void WriteScratch(const char* Name, const std::uint8_t* Data, std::size_t Size) {
  std::ofstream Out(Scratch() / Name, std::ios::binary | std::ios::trunc);
  Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
}

// The readers may show a box for damaged data; nobody is there to close it.
class TSilentBox : public IMessageBox {
public:
  void Show(const std::string&, const std::string&) override {}
};

void Silence() {
  static TSilentBox Box;
  SetMessageBoxHandler(&Box);
}

}  // namespace

int FuzzArchive(const std::uint8_t* Data, std::size_t Size) {
  WriteScratch("game.pak", Data, Size);
  const TPakFileReadable Pak((Scratch() / "game.pak").string());
  try {
    std::string Problem;
    Pak.CheckArchive(Problem);
    // Entries by the names a real archive holds, and one that is not there.
    for (const char* Name : {"splash01.png", "font_small.png", "music01.ogg", "fill.wav", "no such entry"})
      if (auto S = Pak.GetStream(Name)) (void)S->Size();
  } catch (const EPakReadError&) {
  }
  return 0;
}

int FuzzConfig(const std::uint8_t* Data, std::size_t Size) {
  Silence();
  WriteScratch(TConfig::FileName, Data, Size);
  TFakeDisplay Display;
  const TConfig Config(Display, Scratch().string());
  return 0;
}

int FuzzHighScores(const std::uint8_t* Data, std::size_t Size) {
  Silence();
  WriteScratch(THighScore::FileName, Data, Size);
  const THighScore Table(Scratch().string());
  return 0;
}

int FuzzSoundLayout(const std::uint8_t* Data, std::size_t Size) {
  (void)ReadSoundLayout(std::span<const std::uint8_t>(Data, Size));
  return 0;
}

int FuzzPng(const std::uint8_t* Data, std::size_t Size) {
  try {
    TPNGObjectImprov Png;
    Png.LoadFromMemory(Data, Size);
  } catch (const EImageDecodeError&) {
  }
  return 0;
}

int FuzzJpeg(const std::uint8_t* Data, std::size_t Size) {
  try {
    TFastBMP Bmp;
    DecodeJpeg(Data, Size, Bmp);
  } catch (const EImageDecodeError&) {
  }
  return 0;
}

int FuzzOgg(const std::uint8_t* Data, std::size_t Size) {
  (void)ReadOggVorbisInfo(std::span<const std::uint8_t>(Data, Size));
  return 0;
}

int FuzzSimScript(const std::uint8_t* Data, std::size_t Size) {
  TScriptEvents Events;
  std::string Problem;
  ParseScript(std::string(reinterpret_cast<const char*>(Data), Size), "fuzz", Events, Problem);
  return 0;
}

const std::vector<TFuzzTarget>& FuzzTargets() {
  static const std::vector<TFuzzTarget> Targets = {
      {"archive", FuzzArchive}, {"config", FuzzConfig}, {"highscores", FuzzHighScores},
      {"sound_layout", FuzzSoundLayout}, {"png", FuzzPng}, {"jpeg", FuzzJpeg},
      {"ogg", FuzzOgg}, {"replay", FuzzReplay}, {"sim_script", FuzzSimScript},
  };
  return Targets;
}
