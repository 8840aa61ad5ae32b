#include "frontend/Menu.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/AudioObject.h"
#include "gfx/ArchivePictures.h"
#include "pak/PakReader.h"
#include "persist/Config.h"
#include "platform/Screen.h"
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

const char* const SoundNames[7] = {"menu_tick.wav",        "menu_choose.wav",   "menu_scroll.wav",
                                   "menu_scroll_rest.wav", "menu_foldout.wav", "menu_foldin.wav",
                                   "menu_error.wav"};

constexpr TColorValue White = RGB(255, 255, 255);

}  // namespace

const TMenu::TScreenInfo& TMenu::Info(int Screen) {
  static const TScreenInfo Table[ScreenCount] = {
      {80, 189, 5, true, 4, 2, -1},     // main
      {146, 200, 28, false, 1, 8, -2},  // high-score list
      {144, 102, 0, false, 1, 0, -1},   // name entry
      {160, 200, 0, false, 0, 0, 0},    // credits
      {100, 210, 6, true, 4, 2, 6},     // options
      {85, 182, 5, true, 4, 2, 5},      // player 1 keys
      {85, 182, 5, true, 4, 2, 5},      // player 2 keys
  };
  return Table[std::clamp(Screen, 0, ScreenCount - 1)];
}

int TMenu::GlyphIndex(char Ch) {
  if (Ch >= 'A' && Ch <= 'Z') return Ch - 'A';
  if (Ch >= 'a' && Ch <= 'z') return Ch - 'a';
  if (Ch >= '0' && Ch <= '9') return 26 + (Ch - '0');
  static constexpr char Marks[] = ",.-_[]|'*:<>;!\\/";
  for (int I = 0; Marks[I] != 0; ++I)
    if (Marks[I] == Ch) return 36 + I;
  if (Ch == '+') return 53;
  return 52;
}

TMenu::TMenu(int Screen, const TPakFileReadable& Pak, TAudioObject& Audio, TConfig& Config, TScreen& DC)
    : FAudio(Audio),
      FFrameBuffer(&DC, 800, 600),
      FBackground(nullptr, 800, 600),
      FConfig(Config),
      FHighScores(FolderOf(Config.FilePath())) {
  FAudio.SetGlobalVolumes(FConfig.MusicOff ? 100 : 0);
  try {
    FMusicData = Pak.GetStream("vyrn_menu.ogg");
  } catch (const std::exception&) {
    FMusicData.reset();
  }
  FPendingScore1 = FPendingScore2 = FBestScore = -1;

  // The animation values as SetScreen sets them, without erasing.
  FScreen = std::clamp(Screen, 0, ScreenCount - 1);
  FCursor = 0;
  FOpening = true;
  FFrameHeight = Info(FScreen).FrameHeight;
  FFrameHeightF = static_cast<float>(FFrameHeight);
  FTargetHalfWidth = Info(FScreen).HalfWidth;
  FHalfWidth = 5;
  FCursorPhase = std::numbers::pi_v<float>;
  FMusicFadingIn = true;
  FMusicLevel = 0;

  const TAlphaImage Chars = LoadPicture(Pak, "small_chars.png");
  for (int I = 0; I < GlyphCount; ++I) {
    TAlphaImage& Glyph = FGlyphs[static_cast<std::size_t>(I)];
    Glyph = TAlphaImage(8, 8);
    Glyph.CopyRect(0, 0, Chars, 8 * I, 0, 8, 8);
  }

  if (!FConfig.MusicOff) PlayMenuMusic();

  for (int I = 0; I < 7; ++I)
    FSounds[static_cast<std::size_t>(I)] =
        std::make_unique<TSoundEffect>(Pak, SoundNames[I], I + SoundTick == SoundScroll);

  auto Set = [this, &Pak](TImage Which, const char* Name) {
    FImages[static_cast<std::size_t>(Which)] = LoadPicture(Pak, Name);
  };
  Set(TImage::Main, "menu_main.png");
  Set(TImage::Rotator, "music_rotator.png");
  Set(TImage::LeftBar, "music_rotator_leftbar.png");
  Set(TImage::RightBar, "music_rotator_rightbar.png");
  Set(TImage::RotatorCentre, "music_rotator_center.png");
  Set(TImage::SubmitHint, "submit_hi.png");
  Set(TImage::SubmitError, "submit_hi_error.png");
  Set(TImage::SubmitOk, "submit_hi_ok.png");
  Set(TImage::Submitting, "submit_hi_submitting.png");
  Set(TImage::ArrowDown, "arrow.png");
  Set(TImage::Achieved, "highscore_achieved.png");
  Set(TImage::Credits, "credits.png");
  Set(TImage::Options, "options.png");
  Set(TImage::Volume, "volume_control.png");
  Set(TImage::Keys, "player_keys.png");
  Set(TImage::Player1Keys, "player_1_keys.png");
  Set(TImage::Player2Keys, "player_2_keys.png");
  Set(TImage::Cheat, "cheat_on.png");
  Set(TImage::HighScore, "highscore.png");
  const TAlphaImage& Down = Image(TImage::ArrowDown);
  TAlphaImage Up(Down.Width(), Down.Height());
  for (std::int32_t Y = 0; Y < Down.Height(); ++Y) Up.CopyRect(0, Y, Down, 0, Down.Height() - 1 - Y, Down.Width(), 1);
  FImages[static_cast<std::size_t>(TImage::ArrowUp)] = std::move(Up);

  try {
    if (auto Stream = Pak.GetStream("menu_back.jpg")) FBackground.LoadJpegFromStream(*Stream);
  } catch (const std::exception&) {
    // A black background then.
  }
  FFrameBuffer.CopyFrom(FBackground);
  FFrameBuffer.DC = &DC;
  if (FFrameBuffer.Width() != 800 || FFrameBuffer.Height() != 600) {
    // The window always shows 800 x 600; a background of another size only
    // covers part of it.
    TFastImageBuffer Full(&DC, 800, 600);
    Full.CopyRect(0, 0, FBackground, 0, 0, FBackground.Width(), FBackground.Height());
    FFrameBuffer = std::move(Full);
  }
  FFrameBuffer.FrameRect(TRect{0, 0, 799, 599}, RGB(160, 160, 160));

  PlaySound(SoundFoldOut);
}

TMenu::~TMenu() = default;

TSoundEffect* TMenu::Sound(int Index) {
  if (Index < SoundTick || Index > SoundError) return nullptr;
  return FSounds[static_cast<std::size_t>(Index - SoundTick)].get();
}

bool TMenu::SoundPlaying(int Index) {
  TSoundEffect* S = Sound(Index);
  return S && S->State() == TWavePlayer::Playing;
}

void TMenu::PlaySound(int Index) {
  if (FConfig.SoundOff) return;
  TSoundEffect* S = Sound(Index);
  if (!S) return;
  if (Index == SoundScroll) {
    if (S->State() == TWavePlayer::Playing) return;
    S->Play();
    if (TSoundEffect* Rest = Sound(SoundScrollRest)) Rest->Halt();
    return;
  }
  S->Play();
}

void TMenu::StopSound(int Index) {
  TSoundEffect* S = Sound(Index);
  if (!S) return;
  if (Index == SoundScroll) {
    if (S->State() != TWavePlayer::Playing) return;
    S->Halt();
    PlaySound(SoundScrollRest);
    return;
  }
  S->Halt();
}

// Music ---------------------------------------------------------------------

void TMenu::PlayMenuMusic() {
  if (FMusicData) FAudio.PlayFromStream(FMusicData.get());
}

void TMenu::ResetRotators() {
  FLeftLevel = 0;
  FLeftSpeed = 10;
  FRightLevel = 0;
  FRightSpeed = 10;
}

void TMenu::StopMusic() {
  ResetRotators();
  FAudio.Stop();
  FMusicLevel = 100;
}

void TMenu::RestartMusic() {
  ResetRotators();
  FMusicFadingOut = false;
  if (!FConfig.MusicOff) PlayMenuMusic();
}

void TMenu::SetPaused(bool Paused) {
  if (Paused) {
    FAudio.Pause();
  } else {
    FAudio.Resume();
    ResetRotators();
  }
}

void TMenu::ShowCheatMark() {
  FCheatMarkAlpha = 255;
  PlaySound(SoundTick);
}

// Drawing helpers -----------------------------------------------------------

void TMenu::CopyBack(std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H) {
  FFrameBuffer.CopyRect(X, Y, FBackground, X, Y, W, H);
}

void TMenu::DrawGlyph(char Ch, std::int32_t X, std::int32_t Y, std::int32_t Alpha) {
  FGlyphs[static_cast<std::size_t>(GlyphIndex(Ch))].DrawAlpha(FFrameBuffer, X, Y, Alpha);
}

void TMenu::DrawText(const std::string& Text, std::int32_t X, std::int32_t Y, std::int32_t Alpha) {
  for (std::size_t I = 0; I < Text.size(); ++I) DrawGlyph(Text[I], X + 8 * static_cast<std::int32_t>(I), Y, Alpha);
}

std::int32_t TMenu::PulseAlpha(std::int32_t Swing, std::int32_t Middle) const {
  return Round(std::cos(static_cast<long double>(FCursorPhase)) * Swing + Middle);
}

void TMenu::EraseFrame(std::int32_t W) {
  const std::int32_t H = FFrameHeight;
  CopyBack(385 - W, 506 - H, 32, H + 17);
  CopyBack(382 + W, 506 - H, 32, H + 17);
}

void TMenu::DrawFrame(std::int32_t W) {
  EraseFrame(W);
  const std::int32_t H = FFrameHeight;
  auto Dot = [this](std::int32_t X, std::int32_t Y) { FFrameBuffer.BlendPixel(X, Y, White, 128); };
  for (std::int32_t Y = 519 - H; Y <= 519; ++Y) {
    Dot(399 - W, Y);
    Dot(399 + W, Y);
  }
  // The hooks at both ends, mirrored about x = 399.
  static constexpr std::int32_t HookX[4] = {1, 2, 3, 4};
  static constexpr std::int32_t HookBottom[4] = {520, 521, 522, 522};
  static constexpr std::int32_t HookTop[4] = {518, 517, 516, 516};
  for (int I = 0; I < 4; ++I) {
    Dot(399 - W + HookX[I], HookBottom[I]);
    Dot(399 + W - HookX[I], HookBottom[I]);
    Dot(399 - W + HookX[I], HookTop[I] - H);
    Dot(399 + W - HookX[I], HookTop[I] - H);
  }
}

void TMenu::DrawRotators() {
  std::uint32_t Right = 0, Left = 0;
  if (!FConfig.MusicOff) FAudio.GetLevels(Right, Left);
  CopyBack(11, 370, 55, 55);
  CopyBack(734, 370, 55, 55);
  CopyBack(11, 230, 27, 139);
  CopyBack(762, 230, 27, 139);

  auto Bar = [this](const TAlphaImage& Image, std::int32_t X, float Speed) {
    const std::int32_t Top = std::max<std::int32_t>(0, 138 - Round(static_cast<long double>(Speed) * 2));
    if (Top > 138) return;
    Image.DrawPart(FFrameBuffer, X, 230 + Top, TRect{0, Top, Image.Width() - 1, 138});
  };
  Bar(Image(TImage::LeftBar), 11, FLeftSpeed);
  Bar(Image(TImage::RightBar), 762, FRightSpeed);

  auto Disc = [this](std::int32_t Level, std::int32_t& LastLevel, float& Angle, float& Speed, std::int32_t X,
                     int Direction) {
    Speed = Single(static_cast<long double>(Speed) + (Level - LastLevel));
    if (Speed > 100) Speed = 10;
    Angle = Single(static_cast<long double>(Angle) + static_cast<long double>(Speed) / 10);
    if (Angle > 360) Angle = Single(static_cast<long double>(Angle) - 360);
    // A falling level turns the disc backwards; keep the angle small so its
    // precision does not wear away over a long session.
    if (Angle < -360) Angle = Single(static_cast<long double>(Angle) + 360 * std::floor(-Angle / 360.0L));
    Image(TImage::Rotator).DrawRotated(FFrameBuffer, X, 370, 200, Direction * Angle);
    Image(TImage::RotatorCentre)
        .DrawAlpha(FFrameBuffer, X, 370, static_cast<std::uint8_t>(RoundHalfEven(static_cast<long double>(Speed))));
    LastLevel = Level;
  };
  Disc(static_cast<std::int32_t>(Left), FLeftLevel, FLeftAngle, FLeftSpeed, 11, -1);
  Disc(static_cast<std::int32_t>(Right), FRightLevel, FRightAngle, FRightSpeed, 734, +1);
}

// Screens -------------------------------------------------------------------

void TMenu::SetScreen(int Screen) {
  EraseFrame(Round(FHalfWidth));
  FScreen = std::clamp(Screen, 0, ScreenCount - 1);
  FCursor = 0;
  FOpening = true;
  FClosing = FResizing = FFadingIn = FFadingOut = false;
  FFrameHeightF = static_cast<float>(FFrameHeight);
  FResizeSpeed = 0;
  FTargetHalfWidth = Info(FScreen).HalfWidth;
  FFrameHeight = Info(FScreen).FrameHeight;
  FHalfWidth = 5;
  FFoldSpeed = FFoldAcceleration = 0;
  FContentAlpha = 0;
  FCursorPhase = std::numbers::pi_v<float>;
  FRepeatDelay = 0;
  FStartOnePlayer = FStartTwoPlayers = false;
  FNameText.clear();
  FNameCursor = 0;
  FTypedAhead.clear();
}

void TMenu::DrawScreenContent() {
  switch (FScreen) {
    case ScreenMain:
    case ScreenCredits: {
      if (FContentAlpha == 255) return;
      const bool Main = FScreen == ScreenMain;
      const TAlphaImage& Picture = Image(Main ? TImage::Main : TImage::Credits);
      const std::int32_t X = Main ? 337 : Left(Picture);
      const std::int32_t Y = Main ? 300 : 286;
      CopyBack(X, Y, Picture.Width(), Picture.Height());
      Picture.DrawAlpha(FFrameBuffer, X, Y, FContentAlpha);
      return;
    }
    case ScreenHighScores:
      EraseHighScoreList(false);
      DrawHighScoreList(false);
      return;
    case ScreenNameEntry:
      DrawNameEntry();
      return;
    case ScreenOptions:
      if (FContentAlpha < 255) DrawOptionsContent();
      return;
    default:
      DrawKeysScreen(FScreen == ScreenKeys1 ? 1 : 2, false);
      return;
  }
}

void TMenu::DrawCursor() {
  switch (FScreen) {
    case ScreenMain: {
      const std::int32_t P = PulseAlpha();
      for (std::int32_t Y : {342 + 30 * FCursor, 357 + 30 * FCursor})
        for (std::int32_t X = 341; X <= 456; ++X) FFrameBuffer.BlendPixel(X, Y, White, P);
      return;
    }
    case ScreenHighScores: DrawArrows(false); return;
    case ScreenNameEntry: DrawNameField(false); return;
    case ScreenCredits: return;
    case ScreenOptions: DrawOptionCursor(false); return;
    default: DrawKeysCursor(false); return;
  }
}

void TMenu::EraseCursor() {
  switch (FScreen) {
    case ScreenMain: {
      const TAlphaImage& Picture = Image(TImage::Main);
      for (std::int32_t Row : {42 + 30 * FCursor, 57 + 30 * FCursor}) {
        CopyBack(341, 300 + Row, 116, 1);
        Picture.DrawPart(FFrameBuffer, 341, 300 + Row, TRect{4, Row, 119, Row});
      }
      return;
    }
    case ScreenHighScores: DrawArrows(true); return;
    case ScreenNameEntry: DrawNameField(true); return;
    case ScreenCredits: return;
    case ScreenOptions: DrawOptionCursor(true); return;
    default: DrawKeysCursor(true); return;
  }
}

void TMenu::Activate() {
  const std::int32_t Entry = FChosenEntry;
  FChosenEntry = -1;
  switch (FScreen) {
    case ScreenMain:
      switch (Entry) {
        case 0: FStartOnePlayer = true; break;
        case 1: FStartTwoPlayers = true; break;
        case 2: SetScreen(ScreenOptions); break;
        case 3:
          SetScreen(ScreenHighScores);
          BuildHighScoreImage();
          break;
        case 4: SetScreen(ScreenCredits); break;
        case 5:
          StopMusic();
          FQuitRequested = true;
          break;
        default: break;
      }
      return;
    case ScreenHighScores:
      SetScreen(ScreenMain);
      FreeHighScoreImage();
      return;
    case ScreenNameEntry:
      if (Entry == 0) StoreName();
      return;
    case ScreenCredits:
      if (Entry == 0) SetScreen(ScreenMain);
      return;
    case ScreenOptions:
      if (Entry >= 0 && Entry <= 3) ActivateOption(Entry);
      else if (Entry == 4) SetScreen(ScreenKeys1);
      else if (Entry == 5) SetScreen(ScreenKeys2);
      else if (Entry == 6) SetScreen(ScreenMain);
      return;
    default:
      if (Entry >= 0 && Entry <= 4) {
        std::int32_t& Waiting = FScreen == ScreenKeys1 ? FWaitingKey1 : FWaitingKey2;
        if (Waiting == -1) {
          Waiting = Entry;
          PlaySound(SoundTick);
        }
      } else if (Entry == 5) {
        SetScreen(ScreenOptions);
      }
      return;
  }
}

// Keys ----------------------------------------------------------------------

void TMenu::Choose() {
  FChosenEntry = FCursor;
  const bool Now = (FScreen == ScreenOptions && FCursor <= 3) ||
                   ((FScreen == ScreenKeys1 || FScreen == ScreenKeys2) && FCursor <= 4);
  if (Now) {
    Activate();
    return;
  }
  if (FOpening || FClosing || FResizing || FFadingOut) return;
  PlaySound(SoundChoose);
  FContentAlpha = 255;
  FFadingOut = true;
  if (FScreen == ScreenMain && (FCursor == 0 || FCursor == 1)) {
    FMusicLevel = 100;
    FMusicFadingOut = true;
  }
}

void TMenu::Back() {
  const std::int32_t Entry = Info(FScreen).EscEntry;
  if (Entry == -1) return;
  if (Entry >= 0) FCursor = Entry;
  Choose();
}

void TMenu::MoveCursor(int Delta, bool Page) {
  const TScreenInfo& I = Info(FScreen);
  if (FRepeatDelay > 0) return;
  // Page keys work during transitions too; the others wait for the content.
  if (!Page && FContentAlpha != 255) return;
  const bool List = FScreen == ScreenHighScores;
  if (Page) PlaySound(SoundTick);
  if (List) EraseHighScoreList(false);
  EraseCursor();
  std::int32_t C = FCursor + Delta * (Page ? I.PageStep : 1);
  if (I.Wraps) {
    if (C < 0) C += I.Last + 1;
    else if (C > I.Last) C -= I.Last + 1;
    if (!Page) PlaySound(SoundTick);
  } else if (C < 0 || C > I.Last) {
    C = std::clamp(C, 0, I.Last);
    if (!Page && List) StopSound(SoundScroll);
  } else if (!Page) {
    PlaySound(List ? SoundScroll : SoundTick);
  }
  FCursor = C;
  if (FScreen == ScreenMain) FCursorPhase = 0;
  FRepeatDelay = I.RepeatDelay;
  if (List) DrawHighScoreList(false);
}

void TMenu::CursorUp() { MoveCursor(-1, false); }
void TMenu::CursorDown() { MoveCursor(+1, false); }
void TMenu::PageUp() { MoveCursor(-1, true); }
void TMenu::PageDown() { MoveCursor(+1, true); }

void TMenu::CursorHome() { JumpCursor(false); }
void TMenu::CursorEnd() { JumpCursor(true); }

void TMenu::JumpCursor(bool ToEnd) {
  if (FRepeatDelay > 0 || FContentAlpha != 255) return;
  const bool List = FScreen == ScreenHighScores;
  if (List) EraseHighScoreList(false);
  EraseCursor();
  FCursor = ToEnd ? Info(FScreen).Last : 0;
  if (FScreen == ScreenNameEntry) FNameCursor = ToEnd ? static_cast<std::int32_t>(FNameText.size()) : 0;
  if (FScreen == ScreenMain) FCursorPhase = 0;
  FRepeatDelay = Info(FScreen).RepeatDelay;
  if (List) DrawHighScoreList(false);
}

void TMenu::CursorLeft() {
  if (FRepeatDelay > 0 || FContentAlpha != 255) return;
  if (FScreen == ScreenOptions) OptionLeftRight(false);
  else if (FScreen == ScreenNameEntry && FNameCursor > 0) --FNameCursor;
  FRepeatDelay = Info(FScreen).RepeatDelay;
}

void TMenu::CursorRight() {
  if (FRepeatDelay > 0 || FContentAlpha != 255) return;
  if (FScreen == ScreenOptions) OptionLeftRight(true);
  else if (FScreen == ScreenNameEntry && FNameCursor < static_cast<std::int32_t>(FNameText.size())) ++FNameCursor;
  FRepeatDelay = Info(FScreen).RepeatDelay;
}

void TMenu::EraseChar(std::uint16_t Key) {
  if (FRepeatDelay > 0 || FContentAlpha != 255) return;
  if (FScreen == ScreenNameEntry) EditName(Key);
  FRepeatDelay = Info(FScreen).RepeatDelay;
}

void TMenu::KeyPress(char Ch) {
  if (Ch == 's' && FScreen == ScreenHighScores) Submit();
  // Several letters can arrive between two ticks; a name keeps every one of
  // them, in order, and takes them in at the usual pace.
  if (FScreen == ScreenNameEntry && (!FTypedAhead.empty() || FRepeatDelay % 3 != 0)) {
    FTypedAhead.push_back(Ch);
    return;
  }
  if (FRepeatDelay % 3 != 0) return;
  if (FScreen == ScreenNameEntry) TypeChar(Ch);
  FRepeatDelay = Info(FScreen).RepeatDelay;
}

// The tick ------------------------------------------------------------------

void TMenu::StepFold() {
  FFoldAcceleration = std::min(Single(static_cast<long double>(FFoldAcceleration) + 0.1L), 1.0f);
  FFoldSpeed = std::min(Single(static_cast<long double>(FFoldSpeed) + FFoldAcceleration), 12.0f);
}

void TMenu::Tick() {
  DrawRotators();

  if (FMusicFadingIn) {
    FAudio.SetGlobalVolumes(FMusicLevel);
    if (++FMusicLevel > 100) {
      FMusicLevel = 100;
      FMusicFadingIn = false;
    }
  } else if (FMusicFadingOut) {
    FAudio.SetGlobalVolumes(FMusicLevel);
    FMusicLevel -= 2;
    if (FMusicLevel < 0) FMusicLevel = 0;
  }

  // Only a theme that plays starts again: the one freed for a game (this
  // tick still runs after the start) stays freed.
  if (!FConfig.MusicOff && FMusicData && FAudio.State() == TAudioEngine::StatePlaying &&
      FAudio.PositionMs() > FAudio.LengthMs() - 100) {
    FAudio.SetGlobalVolumes(0);
    PlayMenuMusic();
    FAudio.SetGlobalVolumes(FConfig.Volume);
  }

  if (FOpening) {
    StepFold();
    FHalfWidth = Single(static_cast<long double>(FHalfWidth) + FFoldSpeed);
    if (FHalfWidth <= static_cast<float>(FTargetHalfWidth)) {
      DrawFrame(Round(FHalfWidth));
    } else {
      StopSound(SoundFoldOut);
      DrawFrame(FTargetHalfWidth);
      FOpening = false;
      FFadingIn = true;
      FContentAlpha = 0;
    }
  }

  if (FFadingIn) {
    FContentAlpha += 20;
    if (FContentAlpha > 254) {
      FContentAlpha = 255;
      FFadingIn = false;
    }
    DrawScreenContent();
  }

  if (FFadingOut) {
    FContentAlpha -= 30;
    if (FContentAlpha < 1) {
      PlaySound(SoundFoldIn);
      FFadingOut = false;
      FContentAlpha = 0;
      FClosing = true;
      FFoldSpeed = FFoldAcceleration = 0;
      FHalfWidth = static_cast<float>(FTargetHalfWidth);
    }
    DrawScreenContent();
  }

  if (FClosing) {
    StepFold();
    FHalfWidth = Single(static_cast<long double>(FHalfWidth) - FFoldSpeed);
    if (FHalfWidth >= 5) {
      DrawFrame(Round(FHalfWidth));
    } else {
      FFrameHeightF = static_cast<float>(FFrameHeight);
      FResizeSpeed = 0;
      DrawFrame(5);
      Activate();
      FOpening = false;
      FTargetHeight = Info(FScreen).FrameHeight;
      FResizing = true;
      // SetScreen (through Activate) cleared Closing for a new screen; an
      // entry that stays on this screen must end it here.
      FClosing = false;
    }
  }

  if (FResizing) {
    const long double Gap = FTargetHeight - static_cast<long double>(FFrameHeightF);
    if (std::fabs(Gap) > 2) {
      FResizeSpeed = Single(static_cast<long double>(FResizeSpeed) + (Gap < 0 ? -0.5L : 0.5L));
    } else {
      StopSound(SoundFoldIn);
      PlaySound(SoundFoldOut);
      FResizing = false;
      FOpening = true;
      FResizeSpeed = 0;
    }
    FResizeSpeed = std::min(FResizeSpeed, 8.0f);
    FFrameHeightF = Single(static_cast<long double>(FFrameHeightF) + FResizeSpeed);
    FFrameHeight = FOpening ? FTargetHeight : Round(FFrameHeightF);
    DrawFrame(5);
  }

  if (!FOpening && !FClosing && !FResizing && !FFadingOut) {
    EraseCursor();
    DrawCursor();
    FCursorPhase = Single(static_cast<long double>(FCursorPhase) + 0.3L);
    if (FCursorPhase > TwoPi) FCursorPhase = Single(static_cast<long double>(FCursorPhase) - TwoPi);
    if (FRepeatDelay > 0) --FRepeatDelay;
    if (!FTypedAhead.empty() && FRepeatDelay % 3 == 0) {
      TypeChar(FTypedAhead.front());
      FTypedAhead.erase(0, 1);
      FRepeatDelay = Info(FScreen).RepeatDelay;
    }
  }

  if (FStartOnePlayer || FStartTwoPlayers) EraseFrame(5);

  if (FOptionCooldown > 0) --FOptionCooldown;

  const int Volume = GetWaveOutVolume();
  if (Volume != FConfig.Volume) {
    FConfig.Volume = static_cast<std::uint8_t>(Volume);
    if (FScreen == ScreenOptions && FContentAlpha == 255) DrawOptionValues();
  }

  if (FCheatMarkAlpha > 0) {
    FCheatMarkAlpha = static_cast<std::uint8_t>(FCheatMarkAlpha > 5 ? FCheatMarkAlpha - 5 : 0);
    const TAlphaImage& Mark = Image(TImage::Cheat);
    CopyBack(2, 2, Mark.Width(), Mark.Height());
    Mark.DrawAlpha(FFrameBuffer, 2, 2, FCheatMarkAlpha);
  }

  FFrameBuffer.PaintTo(0, 0);
}
