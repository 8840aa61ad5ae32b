// A game controller for the tests: SDL's virtual joystick with every standard
// button and axis.
#pragma once

#include <SDL.h>

// Attaches a pad; button and axis numbers are SDL's controller numbers.
// Returns its device index, or -1 when SDL cannot attach one.
inline int AttachPad() {
  SDL_VirtualJoystickDesc Desc{};
  Desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  Desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  Desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  Desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  Desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  Desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  Desc.name = "Test pad";
  return SDL_JoystickAttachVirtualEx(&Desc);
}
