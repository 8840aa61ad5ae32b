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
  void Build();
  void Free();

  void DrawContent() override;
  void DrawCursor() override { DrawArrows(false); }
  void EraseCursor() override { DrawArrows(true); }
  void Activate(std::int32_t Entry) override;
  bool Scrolls() const override { return true; }
  void BeforeMove() override { EraseList(false); }
  void AfterMove() override { DrawList(false); }
  void KeyPressed(char Ch) override;

  int SubmitStatus() const { return FSubmitStatus; }
  const TAlphaImage* View() const { return FView.get(); }

private:
  void DrawList(bool Force);
  void EraseList(bool Force);
  void DrawArrows(bool Erase);
  void Submit();
  const TAlphaImage& StatusImage() const;

  THighScore& FTable;
  std::unique_ptr<TAlphaImage> FList;
  std::unique_ptr<TAlphaImage> FView;
  int FSubmitStatus = StatusHint;
  TAlphaImage FHeading;
  TAlphaImage FArrowDown;
  TAlphaImage FArrowUp;
  TAlphaImage FSubmitHint;
  TAlphaImage FSubmitting;
  TAlphaImage FSubmitOk;
  TAlphaImage FSubmitError;
};
