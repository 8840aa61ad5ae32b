// The high-score list: the table as one picture scrolled through a window
// under its heading, with arrows while there is more above or below, and a
// status line for sending the table to the server ('s').
#pragma once

#include <memory>

#include "frontend/MenuPage.h"

class THighScore;

class THighScoreListPage : public TMenuPage {
public:
  // The status picture under the list.
  enum TSubmitStatus : int { StatusHint, StatusSubmitting, StatusOk, StatusError };

  THighScoreListPage(TMenuContext& Context, const TMenuPictureLoader& Load, THighScore& Table);
  ~THighScoreListPage() override;

  // The pictures live only while the list is shown.
  void BuildHighScoreImage();
  void FreeHighScoreImage();

  void DrawScreenContent() override;
  void DrawCursor() override { DrawArrows(false); }
  void EraseCursor() override { DrawArrows(true); }
  void Activate(std::int32_t Entry) override;
  bool Scrolls() const override { return true; }
  void BeforeMove() override { EraseHighScoreList(false); }
  void AfterMove() override { DrawHighScoreList(false); }
  void KeyPressed(char Ch) override;

  int SubmitStatus() const { return FSubmitStatus; }
  const TAlphaImage* HighScoreView() const { return FHighScoreView.get(); }

private:
  void DrawHighScoreList(bool Force);
  void EraseHighScoreList(bool Force);
  void DrawArrows(bool Erase);
  void Submit();
  const TAlphaImage& StatusImage() const;

  THighScore& FTable;
  std::unique_ptr<TAlphaImage> FHighScoreList;
  std::unique_ptr<TAlphaImage> FHighScoreView;
  int FSubmitStatus = StatusHint;
  TAlphaImage FHeading;
  TAlphaImage FArrowDown;
  TAlphaImage FArrowUp;
  TAlphaImage FSubmitHint;
  TAlphaImage FSubmitting;
  TAlphaImage FSubmitOk;
  TAlphaImage FSubmitError;
};
