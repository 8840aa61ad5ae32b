// The one place that sees X's own headers (through SDL's system window
// information): they define macros that clash with the game's names.
#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <vector>

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

// The 32-bit values of the property Name on the window Of, when it holds
// values of the kind Type.
std::vector<unsigned long> Property(Display* D, Window Of, Atom Name, Atom Type, long Most) {
  Atom Got = None;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  std::vector<unsigned long> Values;
  if (XGetWindowProperty(D, Of, Name, 0, Most, False, Type, &Got, &Format, &Count, &After, &Data) == Success &&
      Got == Type && Format == 32 && Data) {
    const auto* From = reinterpret_cast<const unsigned long*>(Data);
    Values.assign(From, From + Count);
  }
  if (Data) XFree(Data);
  return Values;
}

Window WindowProperty(Display* D, Window Of, Atom Name) {
  const std::vector<unsigned long> Values = Property(D, Of, Name, XA_WINDOW, 1);
  return Values.size() == 1 ? static_cast<Window>(Values[0]) : None;
}

bool ListsAtom(Display* D, Window Of, Atom Name, Atom Wanted) {
  const std::vector<unsigned long> Atoms = Property(D, Of, Name, XA_ATOM, 4096);
  return std::find(Atoms.begin(), Atoms.end(), Wanted) != Atoms.end();
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
