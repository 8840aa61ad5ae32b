// What the X server itself says of a window, for tests; kept apart from
// X's headers, whose macros clash with the game's names.
#pragma once

#include <SDL.h>

class TX11Probe {
public:
  // A connection of its own to the display in DISPLAY.
  TX11Probe();
  ~TX11Probe();
  bool Connected() const { return FDisplay != nullptr; }
  // Place and size of Window as the server has it.
  SDL_Rect Geometry(SDL_Window* Window);
  // Whether a window manager has announced itself on the root window.
  bool ManagerAnnounced();
  // Whether the root window has the property Name (of any kind).
  bool RootHas(const char* Name);
  // Whether a window of the probe's own, shown, is taken in by the window
  // manager (framed) within Ms: the manager is past its start and looks
  // after new windows.
  bool ManagerTakesWindows(int Ms);

private:
  void* FDisplay = nullptr;
};
