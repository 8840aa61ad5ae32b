// Message boxes as SDL's simple modal box with an error icon. Where no box
// can appear (SDL's dummy or offscreen video, or the box fails) the text goes
// to stderr instead, so a headless run never waits on a box nobody sees.
#pragma once

#include "platform/MessageBox.h"

struct SDL_Window;

class TSdlMessageBox : public IMessageBox {
public:
  void SetParent(SDL_Window* Parent) { FParent = Parent; }
  void Show(const std::string& Caption, const std::string& Text) override;

private:
  SDL_Window* FParent = nullptr;
};
