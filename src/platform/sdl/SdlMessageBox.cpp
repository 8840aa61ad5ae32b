#include "platform/sdl/SdlMessageBox.h"

#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool Headless() {
  const char* Driver = SDL_GetCurrentVideoDriver();
  // Before the video starts, SDL takes the driver it is told to use.
  if (!Driver) Driver = SDL_getenv("SDL_VIDEODRIVER");
  return Driver && (std::strcmp(Driver, "dummy") == 0 || std::strcmp(Driver, "offscreen") == 0);
}
}  // namespace

void TSdlMessageBox::Show(const std::string& Caption, const std::string& RawText) {
  // The game's texts break lines with a bare carriage return, which SDL's box
  // (and a terminal) would not show as a new line, and SDL's box does not
  // wrap long lines.
  const std::string Text = MessageBoxLines(RawText);
  if (!Headless() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, Caption.c_str(), Text.c_str(), FParent) == 0)
    return;
  std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
}
