// The one place that sees X's own headers (through SDL's system window
// information): they define macros that clash with the game's names.
#include <SDL.h>
#include <SDL_syswm.h>

// Declared in SdlWindow.h, which cannot be included after X's headers.
int X11ConnectionFd(SDL_Window* Window);

int X11ConnectionFd(SDL_Window* Window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo Info;
  SDL_VERSION(&Info.version);
  if (SDL_GetWindowWMInfo(Window, &Info) && Info.subsystem == SDL_SYSWM_X11 && Info.info.x11.display)
    return ConnectionNumber(Info.info.x11.display);
#else
  (void)Window;
#endif
  return -1;
}
