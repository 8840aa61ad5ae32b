#include "frontend/Menu.h"
#include "frontend/CreditsPage.h"
#include "frontend/HighScoreListPage.h"
#include "frontend/MainPage.h"
#include "frontend/NameEntryPage.h"
#include "frontend/OptionsPage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/AudioObject.h"
#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/Screen.h"
#include "platform/VirtualKeys.h"
#include "platform/WaveOut.h"

namespace {

// Single-precision fields are stepped in extended precision and stored back,
// as every "rounded" value of the game is computed.
float Single(long double Value) { return static_cast<float>(Value); }

std::int32_t Round(long double Value) { return static_cast<std::int32_t>(RoundHalfEven(Value)); }

constexpr long double TwoPi = 2.0L * std::numbers::pi_v<long double>;

std::string FolderOf(const std::string& Path) {
  const auto Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? std::string(".") : Path.substr(0, Slash == 0 ? 1 : Slash);
}

}  // namespace

TMenu::TMenu(TMenuScreen Screen, const TPakFileReadable& Pak, TAudioObject& Audio, TConfig& Config, TScreen& DC)
    : FConfig(Config),
      FCanvas(DC),
      FHighScores(FolderOf(Config.FilePath())),
      FMusic(Pak, Audio, Config, [&Pak](const std::string& Name) { return LoadPicture(Pak, Name); }),
      FSounds(Pak, Config),
      FContext{FCanvas, FSounds, FMusic, FConfig, FState, *this},
      FKeyRows(Config) {
  const TMenuPictureLoader Load = [&Pak](const std::string& Name) { return LoadPicture(Pak, Name); };
  FCanvas.CutGlyphs(Load("small_chars.png"));
  FMain = std::make_unique<TMainPage>(FContext, Load);
  FHighScoreList = std::make_unique<THighScoreListPage>(FContext, Load, FHighScores);
  FNameEntry = std::make_unique<TNameEntryPage>(FContext, Load, FHighScores);
  FCredits = std::make_unique<TCreditsPage>(FContext, Load);
  FOptions = std::make_unique<TOptionsPage>(FContext, Load);
  FKeys1 = std::make_unique<TKeysPage>(FContext, Load, 1, FKeyRows);
  FKeys2 = std::make_unique<TKeysPage>(FContext, Load, 2, FKeyRows);
  FPages = {FMain.get(), FHighScoreList.get(), FNameEntry.get(), FCredits.get(),
            FOptions.get(), FKeys1.get(), FKeys2.get()};
  FCheatMark = Load("cheat_on.png");

  // The animation values as SetScreen sets them, without erasing.
  FState.Screen = Screen;
  FState.CursorPhase = std::numbers::pi_v<float>;
  FFrame = std::make_unique<TMenuFrame>(FCanvas, Current().Info().HalfWidth, Current().Info().FrameHeight);

  FCanvas.LoadBackground(Pak, DC);
  FSounds.PlaySound(TMenuSound::FoldOut);
}

TMenu::~TMenu() = default;

void TMenu::StopSound(TMenuSound Sound) { FSounds.StopSound(Sound); }

void TMenu::StopMusic() { FMusic.StopMusic(); }

void TMenu::RestartMusic() { FMusic.RestartMusic(); }

void TMenu::SetPaused(bool Paused) { FMusic.SetPaused(Paused); }

void TMenu::ShowCheatMark() {
  FCheatMarkAlpha = 255;
  FSounds.PlaySound(TMenuSound::Tick);
}

void TMenu::SetGameResult(std::int64_t Score1, std::int64_t Score2) { FNameEntry->SetGameResult(Score1, Score2); }

std::int64_t TMenu::PendingScore1() const { return FNameEntry->PendingScore1(); }
std::int64_t TMenu::PendingScore2() const { return FNameEntry->PendingScore2(); }
std::int64_t TMenu::BestScore() const { return FNameEntry->BestScore(); }
const std::string& TMenu::NameText() const { return FNameEntry->NameText(); }
std::int32_t TMenu::NameCursor() const { return FNameEntry->NameCursor(); }
std::int32_t TMenu::OptionCooldown() const { return FOptions->OptionCooldown(); }
int TMenu::SubmitStatus() const { return FHighScoreList->SubmitStatus(); }
const TAlphaImage* TMenu::HighScoreView() const { return FHighScoreList->HighScoreView(); }

// Screens -------------------------------------------------------------------

void TMenu::SetScreen(TMenuScreen Screen) {
  FFrame->Erase(Round(FFrame->HalfWidth()));
  FState.Screen = Screen;
  FState.Cursor = 0;
  FFrame->Open(Current().Info().HalfWidth, Current().Info().FrameHeight);
  FFadingIn = FFadingOut = false;
  FState.ContentAlpha = 0;
  FState.CursorPhase = std::numbers::pi_v<float>;
  FState.RepeatDelay = 0;
  FStartOnePlayer = FStartTwoPlayers = false;
  FNameEntry->ClearName();
  FIdleTicks = 0;
}

void TMenu::ShowHighScores(std::int64_t BestScore) {
  SetScreen(TMenuScreen::HighScores);
  FHighScoreList->BuildHighScoreImage();
  if (BestScore >= 0)
    FState.Cursor = std::min(FHighScores.RankOf(BestScore) * 20 / 7, FHighScoreList->Info().Last);
}

void TMenu::RequestStart(bool TwoPlayers) { (TwoPlayers ? FStartTwoPlayers : FStartOnePlayer) = true; }

void TMenu::Activate() {
  const std::int32_t Entry = FChosenEntry;
  FChosenEntry = -1;
  Current().Activate(Entry);
}

// Keys ----------------------------------------------------------------------

bool TMenu::HeldKeyMayAct(THeldKey Key) {
  FThisTickKey = Key;
  if (Key != FLastTickKey) {
    FHeldTicks = -1;
    return true;
  }
  return FHeldTicks < 0 || FHeldTicks >= FirstRepeatDelay;
}

void TMenu::KeyActed(std::int32_t RepeatDelay) {
  FState.RepeatDelay = RepeatDelay;
  if (FHeldTicks < 0) FHeldTicks = 0;
}

void TMenu::Choose() {
  FThisTickKey = THeldKey::Enter;
  FChosenEntry = FState.Cursor;
  if (Current().ActsNow(FState.Cursor)) {
    Activate();
    return;
  }
  if (Opening() || Closing() || Resizing() || FFadingOut) return;
  FSounds.PlaySound(TMenuSound::Choose);
  FState.ContentAlpha = 255;
  FFadingOut = true;
  if (Current().StartsGame(FState.Cursor)) FMusic.StartFadeOut();
}

void TMenu::Back() {
  FThisTickKey = THeldKey::Escape;
  const std::int32_t Entry = Current().Info().EscEntry;
  if (Entry == -1) return;
  if (Entry >= 0) FState.Cursor = Entry;
  Choose();
}

void TMenu::MoveCursor(int Delta, bool Page) {
  TMenuPage& P = Current();
  const TScreenInfo& I = P.Info();
  if (FState.RepeatDelay > 0) return;
  // Page keys work during transitions too; the others wait for the content.
  if (!Page && FState.ContentAlpha != 255) return;
  const bool List = P.Scrolls();
  if (Page) FSounds.PlaySound(TMenuSound::Tick);
  P.BeforeMove();
  P.EraseCursor();
  std::int32_t C = FState.Cursor + Delta * (Page ? I.PageStep : 1);
  if (I.Wraps) {
    if (C < 0) C += I.Last + 1;
    else if (C > I.Last) C -= I.Last + 1;
    if (!Page) FSounds.PlaySound(TMenuSound::Tick);
  } else if (C < 0 || C > I.Last) {
    C = std::clamp(C, 0, I.Last);
    if (!Page && List) FSounds.StopSound(TMenuSound::Scroll);
  } else if (!Page) {
    FSounds.PlaySound(List ? TMenuSound::Scroll : TMenuSound::Tick);
  }
  FState.Cursor = C;
  if (P.MoveRestartsPulse()) FState.CursorPhase = 0;
  KeyActed(I.RepeatDelay);
  P.AfterMove();
}

void TMenu::CursorUp() {
  if (HeldKeyMayAct(THeldKey::Up)) MoveCursor(-1, false);
}
void TMenu::CursorDown() {
  if (HeldKeyMayAct(THeldKey::Down)) MoveCursor(+1, false);
}
void TMenu::PageUp() {
  if (HeldKeyMayAct(THeldKey::PageUp)) MoveCursor(-1, true);
}
void TMenu::PageDown() {
  if (HeldKeyMayAct(THeldKey::PageDown)) MoveCursor(+1, true);
}

void TMenu::CursorHome() {
  if (HeldKeyMayAct(THeldKey::Home)) JumpCursor(false);
}
void TMenu::CursorEnd() {
  if (HeldKeyMayAct(THeldKey::End)) JumpCursor(true);
}

void TMenu::JumpCursor(bool ToEnd) {
  if (FState.RepeatDelay > 0 || FState.ContentAlpha != 255) return;
  TMenuPage& P = Current();
  P.BeforeMove();
  P.EraseCursor();
  FState.Cursor = ToEnd ? P.Info().Last : 0;
  P.Jumped(ToEnd);
  if (P.MoveRestartsPulse()) FState.CursorPhase = 0;
  KeyActed(P.Info().RepeatDelay);
  P.AfterMove();
}

void TMenu::CursorLeft() {
  if (!HeldKeyMayAct(THeldKey::Left)) return;
  if (FState.RepeatDelay > 0 || FState.ContentAlpha != 255) return;
  Current().LeftRight(false);
  KeyActed(Current().Info().RepeatDelay);
}

void TMenu::CursorRight() {
  if (!HeldKeyMayAct(THeldKey::Right)) return;
  if (FState.RepeatDelay > 0 || FState.ContentAlpha != 255) return;
  Current().LeftRight(true);
  KeyActed(Current().Info().RepeatDelay);
}

void TMenu::EraseChar(std::uint16_t Key) {
  if (!HeldKeyMayAct(Key == Vk::Delete ? THeldKey::Delete : THeldKey::Backspace)) return;
  if (FState.RepeatDelay > 0 || FState.ContentAlpha != 255) return;
  Current().EraseChar(Key);
  KeyActed(Current().Info().RepeatDelay);
}

void TMenu::KeyPress(char Ch) {
  FKeySeen = true;
  TMenuPage& P = Current();
  P.KeyPressed(Ch);
  if (P.QueueTyping(Ch)) return;
  if (FState.RepeatDelay % 3 != 0) return;
  P.Type(Ch);
  FState.RepeatDelay = P.Info().RepeatDelay;
}

void TMenu::KeyDown(std::uint16_t& Key) {
  FKeySeen = true;
  if (!FKeyRows.KeyDown(Key, FSounds)) return;
  if (FState.Screen == TMenuScreen::Keys1) FKeys1->DrawKeysScreen(true);
  else if (FState.Screen == TMenuScreen::Keys2) FKeys2->DrawKeysScreen(true);
}

// The tick ------------------------------------------------------------------

bool TMenu::TakeDemoCue() {
  if (FIdleTicks < DemoIdleTicks) return false;
  FIdleTicks = 0;
  return true;
}

void TMenu::StepFrameAndContent() {
  if (Opening() && FFrame->StepOpening()) {
    FSounds.StopSound(TMenuSound::FoldOut);
    FFadingIn = true;
    FState.ContentAlpha = 0;
  }

  if (FFadingIn) {
    FState.ContentAlpha += 20;
    if (FState.ContentAlpha > 254) {
      FState.ContentAlpha = 255;
      FFadingIn = false;
    }
    Current().DrawScreenContent();
  }

  if (FFadingOut) {
    FState.ContentAlpha -= 30;
    if (FState.ContentAlpha < 1) {
      FSounds.PlaySound(TMenuSound::FoldIn);
      FFadingOut = false;
      FState.ContentAlpha = 0;
      FFrame->StartClosing();
    }
    Current().DrawScreenContent();
  }

  if (Closing() && FFrame->StepClosing()) {
    Activate();
    // Activate may have changed the screen: the frame takes the new height,
    // and an entry that stays on this screen ends the fold here.
    FFrame->StartResizing(Current().Info().FrameHeight);
  }

  if (Resizing() && FFrame->StepResizing()) {
    FSounds.StopSound(TMenuSound::FoldIn);
    FSounds.PlaySound(TMenuSound::FoldOut);
  }
}

void TMenu::StepIdle() {
  if (Opening() || Closing() || Resizing() || FFadingOut) return;
  TMenuPage& P = Current();
  P.EraseCursor();
  P.DrawCursor();
  FState.CursorPhase = Single(static_cast<long double>(FState.CursorPhase) + 0.3L);
  if (FState.CursorPhase > TwoPi) FState.CursorPhase = Single(static_cast<long double>(FState.CursorPhase) - TwoPi);
  if (FState.RepeatDelay > 0) --FState.RepeatDelay;
  P.IdleTick();
}

void TMenu::StepCheatMark() {
  if (FCheatMarkAlpha == 0) return;
  FCheatMarkAlpha = static_cast<std::uint8_t>(FCheatMarkAlpha > 5 ? FCheatMarkAlpha - 5 : 0);
  FCanvas.CopyBack(2, 2, FCheatMark.Width(), FCheatMark.Height());
  FCheatMark.DrawAlpha(FCanvas.FrameBuffer(), 2, 2, FCheatMarkAlpha);
}

void TMenu::Tick() {
  FMusic.Tick(FCanvas);
  StepFrameAndContent();
  StepIdle();
  if (FStartOnePlayer || FStartTwoPlayers) FFrame->Erase(5);
  FOptions->CoolDown();

  const int Volume = GetWaveOutVolume();
  if (Volume != FConfig.Volume) {
    FConfig.Volume = static_cast<std::uint8_t>(Volume);
    Current().VolumeChanged();
  }

  StepCheatMark();
  FCanvas.FrameBuffer().PaintTo(0, 0);

  // A key held on from before counts as a player there, as does a fresh one.
  if (FState.Screen != TMenuScreen::Main || FKeySeen || FThisTickKey != THeldKey::None) FIdleTicks = 0;
  else ++FIdleTicks;
  FKeySeen = false;

  // A tick without a held-key call means every key was let go.
  FLastTickKey = FThisTickKey;
  FThisTickKey = THeldKey::None;
  if (FLastTickKey != THeldKey::None && FHeldTicks >= 0) ++FHeldTicks;
}
