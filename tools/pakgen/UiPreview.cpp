// The menu's screens and the game's panels, loading bar, pause menu and bonus
// screen as the game draws them: the real menu and the real panels run
// headless on the written archive, with sample values, and their pictures are
// saved. Only for checking the art by eye; nothing here goes into game.pak.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "Encode.h"
#include "Preview.h"
#include "audio/AudioObject.h"
#include "common/CommonTypes.h"
#include "frontend/Menu.h"
#include "game/GameData.h"
#include "game/GamePanels.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/FakeDisplay.h"
#include "platform/HeadlessAudio.h"
#include "platform/Http.h"
#include "platform/Panel.h"
#include "platform/Screen.h"
#include "platform/WaveOut.h"

namespace {

// Any 24-bit picture the game draws into, read a pixel at a time.
using TPixelSource = std::function<TColorValue(std::int32_t X, std::int32_t Y)>;

struct TCrop {
  std::int32_t X, Y, W, H;
};

// Saves a rectangle of a picture, each pixel Zoom x Zoom.
void SavePicture(const TPixelSource& Pixel, TCrop Crop, const std::string& Path, std::int32_t Zoom = 1) {
  const std::int32_t W = Crop.W * Zoom, H = Crop.H * Zoom;
  std::vector<std::uint8_t> Rgb(static_cast<std::size_t>(W) * H * 3);
  for (std::int32_t Y = 0; Y < H; ++Y)
    for (std::int32_t X = 0; X < W; ++X) {
      const TColorValue C = Pixel(Crop.X + X / Zoom, Crop.Y + Y / Zoom);
      std::uint8_t* To = &Rgb[(static_cast<std::size_t>(Y) * W + X) * 3];
      To[0] = GetRValue(C);
      To[1] = GetGValue(C);
      To[2] = GetBValue(C);
    }
  WriteFile(Path, EncodePngRgb(Rgb.data(), W, H, 3));
}

TPixelSource PixelsOf(const TFastImageBuffer& Buffer) {
  return [&Buffer](std::int32_t X, std::int32_t Y) { return Buffer.GetPixel(X, Y); };
}

TPixelSource PixelsOf(const TScreen& Screen) {
  return [&Screen](std::int32_t X, std::int32_t Y) { return static_cast<TColorValue>(Screen.PixelAt(X, Y)); };
}

// A fresh folder for the settings and the high scores the menu writes.
class TScratchFolder {
public:
  TScratchFolder() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "vyrn-preview-XXXXXX").string();
    if (!::mkdtemp(Pattern.data())) throw std::runtime_error("cannot make a folder for the menu's files");
    Path = Pattern;
  }
  ~TScratchFolder() {
    std::error_code Ignored;
    std::filesystem::remove_all(Path, Ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string Path;
};

// The headless platform the menu and the game run on while the previews are
// drawn; the server answers as told and never leaves the machine.
class THeadlessWorld : public IHttpClient {
public:
  THeadlessWorld() {
    FOldAudio = SetAudioHandler(&Audio);
    FOldWaveOut = SetWaveOutHandler(&WaveOut);
    FOldHttp = SetHttpClient(this);
    Config = std::make_unique<TConfig>(Display, Folder.Path);
    Engine = std::make_unique<TAudioObject>(0);
  }
  ~THeadlessWorld() override {
    Engine.reset();
    SetHttpClient(FOldHttp);
    SetWaveOutHandler(FOldWaveOut);
    SetAudioHandler(FOldAudio);
  }
  THeadlessWorld(const THeadlessWorld&) = delete;
  THeadlessWorld& operator=(const THeadlessWorld&) = delete;

  bool Get(const std::string&) override {
    if (OnRequest) OnRequest();
    return Answer;
  }

  TScratchFolder Folder;
  TFakeDisplay Display;
  THeadlessAudio Audio;
  THeadlessWaveOut WaveOut;
  std::unique_ptr<TConfig> Config;
  std::unique_ptr<TAudioObject> Engine;
  TScreen Screen;
  bool Answer = false;
  std::function<void()> OnRequest;

private:
  IAudio* FOldAudio = nullptr;
  IWaveOut* FOldWaveOut = nullptr;
  IHttpClient* FOldHttp = nullptr;
};

// Drives the menu as the window does: one call, one tick, 30 ms of music.
class TMenuDriver {
public:
  TMenuDriver(THeadlessWorld& World, TMenu& Menu) : W(World), M(Menu) {}

  void Tick(int Ticks = 1) {
    for (int I = 0; I < Ticks; ++I) {
      M.Tick();
      W.Audio.Advance(30);
    }
  }
  void Hold(void (TMenu::*Key)(), int Ticks = 1) {
    for (int I = 0; I < Ticks; ++I) {
      (M.*Key)();
      Tick();
    }
  }
  void Settle() {
    for (int I = 0; I < 500 && !M.Idle(); ++I) Tick();
  }
  void GoTo(int Entry) {
    for (int I = 0; I < 40 && M.Cursor() != Entry; ++I) Hold(&TMenu::CursorDown, 4);
  }
  void Choose() {
    M.Choose();
    Tick();
    Settle();
  }
  void Back() {
    M.Back();
    Tick();
    Settle();
  }
  // Chooses a one- or two-player game and lets the menu fold away as the
  // window does before it starts the game.
  void StartGame(bool TwoPlayers = false) {
    GoTo(TwoPlayers ? 1 : 0);
    M.Choose();
    for (int I = 0; I < 200 && !M.StartOnePlayer() && !M.StartTwoPlayers(); ++I) Tick();
    M.StopSound(TMenuSound::FoldOut);
    M.StopMusic();
  }
  // Ticks until the highlight comes round to bright.
  void Rest() {
    Tick();
    for (int I = 0; I < 25 && std::cos(M.CursorPhase()) < 0.95; ++I) Tick();
  }
  void Save(const std::string& Folder, const std::string& Name, TCrop Zoomed, std::int32_t Zoom) {
    SavePicture(PixelsOf(M.FrameBuffer()), {0, 0, 800, 600}, Folder + "/" + Name + ".png");
    SavePicture(PixelsOf(M.FrameBuffer()), Zoomed, Folder + "/" + Name + "_zoom.png", Zoom);
  }

private:
  THeadlessWorld& W;
  TMenu& M;
};

void WriteMenuScreens(const TPakFileReadable& Pak, const std::string& Folder) {
  THeadlessWorld W;
  TMenu Menu(TMenuScreen::Main, Pak, *W.Engine, *W.Config, W.Screen);
  TMenuDriver D(W, Menu);
  D.Settle();
  D.Tick(60);  // the music fades in and the rotators turn
  D.Hold(&TMenu::CursorDown);
  Menu.ShowCheatMark();
  D.Tick(3);
  D.Save(Folder, "ui_menu_main", {300, 280, 200, 250}, 3);

  D.GoTo(4);
  D.Choose();
  D.Rest();
  D.Save(Folder, "ui_menu_credits", {230, 280, 340, 250}, 2);
  D.Back();

  // Options: sound off, the volume at 60, the highlight on the volume.
  D.GoTo(2);
  D.Choose();
  D.Hold(&TMenu::CursorDown, 1);
  D.Tick(4);
  D.Hold(&TMenu::CursorRight);
  D.Tick(4);
  D.Hold(&TMenu::CursorDown);
  for (int I = 0; I < 10; ++I) {
    D.Tick(4);
    D.Hold(&TMenu::CursorLeft);
  }
  D.Rest();
  D.Save(Folder, "ui_menu_options", {280, 270, 240, 260}, 3);

  // Player 1's keys with the right arrow's row waiting for a key; player 2's
  // with the highlight on the way back.
  D.GoTo(4);
  D.Choose();
  D.GoTo(3);
  Menu.Choose();
  D.Rest();
  D.Save(Folder, "ui_menu_keys_p1", {290, 300, 220, 230}, 3);
  std::uint16_t Escape = 27;
  Menu.KeyDown(Escape);
  D.GoTo(5);
  D.Choose();
  D.GoTo(5);
  D.Choose();
  D.GoTo(5);
  D.Rest();
  D.Save(Folder, "ui_menu_keys_p2", {290, 300, 220, 230}, 3);
  D.Back();
  D.Back();

  // The name entry after a game, a name half typed: the menu folds into a
  // one-player game and comes back as the window brings it back.
  D.StartGame();
  Menu.SetScreen(TMenuScreen::NameEntry);
  Menu.SetGameResult(123456, -1);
  Menu.RestartMusic();
  D.Settle();
  for (char Ch : std::string("Stargazer")) {
    Menu.KeyPress(Ch);
    D.Tick();
  }
  D.Rest();
  D.Save(Folder, "ui_menu_name_entry", {250, 400, 300, 130}, 3);

  // Stored: the list opens at the new score.
  D.Choose();
  D.Hold(&TMenu::CursorDown, 3);  // a little way down: both arrows show
  D.Rest();
  D.Save(Folder, "ui_menu_highscores", {240, 276, 320, 320}, 2);

  // The three other states of the line under the list, one above the other:
  // submitting (while the request runs), then refused, then accepted.
  const TCrop Line{180, 535, 440, 40};
  TScreen Stack(Line.W, 3 * Line.H);
  auto Keep = [&](int Row) {
    for (std::int32_t Y = 0; Y < Line.H; ++Y)
      for (std::int32_t X = 0; X < Line.W; ++X) {
        const TColorValue C = Menu.FrameBuffer().GetPixel(Line.X + X, Line.Y + Y);
        std::uint8_t* P = Stack.Row(Row * Line.H + Y) + X * TScreen::BytesPerPixel;
        P[0] = GetBValue(C);
        P[1] = GetGValue(C);
        P[2] = GetRValue(C);
      }
  };
  bool Kept = false;
  W.OnRequest = [&] {
    if (!Kept) Keep(0);
    Kept = true;
  };
  W.Answer = false;
  Menu.KeyPress('s');
  Keep(1);
  W.Answer = true;
  Menu.KeyPress('s');
  Keep(2);
  SavePicture(PixelsOf(Stack), {0, 0, Line.W, 3 * Line.H}, Folder + "/ui_menu_submit_states.png", 2);
}

// Sample values in the panels of a running game, over its first level.
void WritePanels(TGameData& Game, const TScreen& Screen, const std::string& Folder) {
  const bool TwoPlayers = Game.TwoPlayers();
  TGamePanels& Panels = Game.Panels;
  Panels.DrawScore(0, TwoPlayers ? 9999999999 : 12345);
  Panels.DrawLives(0, 3, false);
  if (TwoPlayers) {
    Panels.DrawScore(1, 487650);
    Panels.DrawLives(1, 0, true);
  }
  Panels.DrawLevelNumber(TwoPlayers ? 29 : 7);
  Panels.DrawPercent(TwoPlayers ? 100.0f : 63.4f);
  Panels.DrawTimeBar(1200, 2000);  // 60 % left
  Panels.Present(TwoPlayers);
  const std::string Name = Folder + (TwoPlayers ? "/ui_panels_2p" : "/ui_panels_1p");
  SavePicture(PixelsOf(Screen), {0, 0, 800, 600}, Name + ".png");
  SavePicture(PixelsOf(Screen), {600, 0, 200, 600}, Name + "_right_zoom.png", 2);
  SavePicture(PixelsOf(Screen), {0, 550, 600, 50}, Name + "_bottom_zoom.png", 2);
}

// The bonus screen over a copy of the game's play area.
void WriteBonusScreen(const TGameData& Game, const std::string& Folder, const TLevelBonus& Bonus, std::int32_t Level,
                      const std::string& Suffix) {
  TFastImageBuffer PlayArea(nullptr, Game.PlayArea.Width(), Game.PlayArea.Height());
  PlayArea.CopyFrom(Game.PlayArea);
  Game.Panels.DrawBonusScreen(PlayArea, Game.BonusImage, Level, Bonus);
  SavePicture(PixelsOf(PlayArea), {0, 0, 600, 550}, Folder + "/ui_bonus" + Suffix + ".png");
  SavePicture(PixelsOf(PlayArea), {80, 170, 440, 210}, Folder + "/ui_bonus" + Suffix + "_zoom.png", 2);
}

// A game chosen on the main menu: its loading bar at 60 % over the menu's
// last picture; once the first level's title has gone, its panels with
// sample values, the bonus screen and the pause menu.
void WriteGameScreens(const TPakFileReadable& Pak, const std::string& Folder, bool TwoPlayers) {
  THeadlessWorld W;
  W.Config->SoundOff = true;
  TMenu Menu(TMenuScreen::Main, Pak, *W.Engine, *W.Config, W.Screen);
  TMenuDriver D(W, Menu);
  D.Settle();
  D.Tick(30);
  D.StartGame(TwoPlayers);
  RandSeed = 4242;  // the same enemies on every run
  int Presented = 0;
  TPanel Right(W.Screen, TGamePanels::RightPanelLeft, 0, 200, 600);
  TPanel Bottom(W.Screen, 0, 550, 600, 50);
  const std::string Loading = Folder + "/ui_game_loading";
  TGameData Game(600, 1, 3, Pak, nullptr, *W.Config, TwoPlayers, Menu.FrameBuffer(), &Bottom, &Right, &W.Screen, 550,
                 [&] {
                   if (TwoPlayers || ++Presented != 6) return;
                   SavePicture(PixelsOf(W.Screen), {0, 0, 600, 550}, Loading + ".png");
                   SavePicture(PixelsOf(W.Screen), {280, 270, 250, 70}, Loading + "_zoom.png", 3);
                 });
  for (int I = 0; I < 1000 && Game.Level->Intro; ++I) Game.Update();
  WritePanels(Game, W.Screen, Folder);
  if (TwoPlayers) return;
  WriteBonusScreen(Game, Folder, TLevelBonus{400, 3}, 7, "");
  WriteBonusScreen(Game, Folder, TLevelBonus{1000, 133}, 29, "_widest");
  Game.SetPaused(true);
  Game.Update();
  SavePicture(PixelsOf(W.Screen), {0, 0, 800, 600}, Folder + "/ui_game_paused.png");
}

}  // namespace

void WriteUiPreviews(const std::string& PakPath, const std::string& Folder) {
  const TPakFileReadable Pak(PakPath);
  WriteMenuScreens(Pak, Folder);
  try {
    WriteGameScreens(Pak, Folder, false);
    WriteGameScreens(Pak, Folder, true);
  } catch (const std::exception&) {
    // A partial run (--only) may lack what a level needs; no game pictures then.
  }
}
