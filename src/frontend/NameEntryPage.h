// The name entry after a game: each player whose score has a place in the
// table types a name, player 1 first; the list then opens at the best score.
#pragma once

#include <string>

#include "frontend/MenuPage.h"

class THighScore;

class TNameEntryPage : public TMenuPage {
public:
  static constexpr int NameLength = 16;

  TNameEntryPage(TMenuContext& Context, const TMenuPictureLoader& Load, THighScore& Table);

  // Keeps the scores that have a place in the table (-1: none); with none,
  // the name entry gives way to the main menu.
  void SetGameResult(std::int64_t Score1, std::int64_t Score2);
  // Drops the name and the letters still waiting, as every change of screen
  // does.
  void ClearName();

  void DrawScreenContent() override;
  void DrawCursor() override { DrawField(false); }
  void EraseCursor() override { DrawField(true); }
  void Activate(std::int32_t Entry) override;
  void Jumped(bool ToEnd) override;
  void LeftRight(bool Right) override;
  void EraseChar(std::uint16_t Key) override;
  bool QueueTyping(char Ch) override;
  void Type(char Ch) override;
  void IdleTick() override;

  std::int64_t PendingScore1() const { return FPendingScore1; }
  std::int64_t PendingScore2() const { return FPendingScore2; }
  std::int64_t BestScore() const { return FBestScore; }
  const std::string& NameText() const { return FNameText; }
  std::int32_t NameCursor() const { return FNameCursor; }

private:
  void DrawField(bool Erase);
  void StoreName();

  THighScore& FTable;
  TAlphaImage FPicture;
  std::int64_t FPendingScore1 = -1;
  std::int64_t FPendingScore2 = -1;
  std::int64_t FBestScore = -1;
  std::string FNameText;
  std::int32_t FNameCursor = 0;
  std::string FTypedAhead;  // name letters typed faster than the repeat delay lets them in
};
