// The one place that sees X's own headers (through SDL's system window
// information): they define macros that clash with the game's names.
#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

// Declared in SdlWindow.h and SdlDisplay.h, which cannot be included after
// X's headers.
int X11ConnectionFd(SDL_Window* Window);
bool FullScreenRequestsAnswered(SDL_Window* Window);

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

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

Window WindowProperty(Display* D, Window Of, Atom Name) {
  Atom Type = None;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  Window Found = None;
  if (XGetWindowProperty(D, Of, Name, 0, 1, False, XA_WINDOW, &Type, &Format, &Count, &After, &Data) == Success &&
      Type == XA_WINDOW && Format == 32 && Count == 1 && Data)
    Found = static_cast<Window>(*reinterpret_cast<unsigned long*>(Data));
  if (Data) XFree(Data);
  return Found;
}

bool ListsAtom(Display* D, Window Of, Atom Name, Atom Wanted) {
  Atom Type = None;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  bool Found = false;
  if (XGetWindowProperty(D, Of, Name, 0, 4096, False, XA_ATOM, &Type, &Format, &Count, &After, &Data) == Success &&
      Type == XA_ATOM && Format == 32 && Data) {
    const auto* Atoms = reinterpret_cast<const unsigned long*>(Data);
    for (unsigned long I = 0; I < Count && !Found; ++I) Found = Atoms[I] == Wanted;
  }
  if (Data) XFree(Data);
  return Found;
}
}  // namespace
#endif

bool FullScreenRequestsAnswered(SDL_Window* Window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo Info;
  SDL_VERSION(&Info.version);
  if (!SDL_GetWindowWMInfo(Window, &Info) || Info.subsystem != SDL_SYSWM_X11 || !Info.info.x11.display) return true;
  Display* D = Info.info.x11.display;
  XWindowAttributes Attributes;
  if (!XGetWindowAttributes(D, Info.info.x11.window, &Attributes)) return true;
  const ::Window Root = RootWindowOfScreen(Attributes.screen);
  const Atom Check = XInternAtom(D, "_NET_SUPPORTING_WM_CHECK", False);
  const Atom Supported = XInternAtom(D, "_NET_SUPPORTED", False);
  const Atom FullScreen = XInternAtom(D, "_NET_WM_STATE_FULLSCREEN", False);
  // A window manager that has ended leaves its properties on the root
  // window; its check window then is gone (an error, ignored here rather
  // than ending the program) or no longer names itself.
  XSync(D, False);
  int (*Before)(Display*, XErrorEvent*) = XSetErrorHandler(IgnoreErrors);
  const ::Window Manager = WindowProperty(D, Root, Check);
  const bool Live = Manager != None && WindowProperty(D, Manager, Check) == Manager;
  const bool Answered = Live && ListsAtom(D, Root, Supported, FullScreen);
  XSync(D, False);
  XSetErrorHandler(Before);
  return Answered;
#else
  (void)Window;
  return true;
#endif
}
