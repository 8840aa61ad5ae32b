#include "platform/sdl/X11Probe.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

TX11Probe::TX11Probe() : FDisplay(XOpenDisplay(nullptr)) {}

TX11Probe::~TX11Probe() {
  if (FDisplay) XCloseDisplay(static_cast<Display*>(FDisplay));
}

SDL_Rect TX11Probe::Geometry(SDL_Window* Window) {
  SDL_SysWMinfo Info;
  SDL_VERSION(&Info.version);
  if (!SDL_GetWindowWMInfo(Window, &Info)) return {};
  // SDL may hold requests it has not flushed yet.
  XSync(Info.info.x11.display, False);
  auto* D = static_cast<Display*>(FDisplay);
  XWindowAttributes A{};
  XGetWindowAttributes(D, Info.info.x11.window, &A);
  int X = 0, Y = 0;
  ::Window Child;
  XTranslateCoordinates(D, Info.info.x11.window, DefaultRootWindow(D), 0, 0, &X, &Y, &Child);
  return {X, Y, A.width, A.height};
}

bool TX11Probe::ManagerAnnounced() {
  auto* D = static_cast<Display*>(FDisplay);
  const Atom Check = XInternAtom(D, "_NET_SUPPORTING_WM_CHECK", False);
  Atom Type;
  int Format;
  unsigned long Count = 0, After;
  unsigned char* Data = nullptr;
  const bool Found = XGetWindowProperty(D, DefaultRootWindow(D), Check, 0, 1, False, XA_WINDOW, &Type, &Format,
                                        &Count, &After, &Data) == Success &&
                     Count == 1;
  if (Data) XFree(Data);
  return Found;
}

bool TX11Probe::RootHas(const char* Name) {
  auto* D = static_cast<Display*>(FDisplay);
  int Count = 0;
  Atom* Atoms = XListProperties(D, DefaultRootWindow(D), &Count);
  const Atom Wanted = XInternAtom(D, Name, False);
  bool Found = false;
  for (int I = 0; I < Count && !Found; ++I) Found = Atoms[I] == Wanted;
  if (Atoms) XFree(Atoms);
  return Found;
}

bool TX11Probe::ManagerTakesWindows(int Ms) {
  auto* D = static_cast<Display*>(FDisplay);
  const ::Window Root = DefaultRootWindow(D);
  // A window shown while the manager is still starting may be left to
  // itself; a new one is tried every second.
  for (int Waited = 0; Waited <= Ms;) {
    const ::Window Probe = XCreateSimpleWindow(D, Root, 0, 0, 16, 16, 0, 0, 0);
    XMapWindow(D, Probe);
    bool Framed = false;
    for (int Tried = 0; Tried < 1000 && !Framed; Tried += 20, Waited += 20) {
      XSync(D, False);
      ::Window RootReturn, Parent = Root, *Children = nullptr;
      unsigned int Count = 0;
      if (XQueryTree(D, Probe, &RootReturn, &Parent, &Children, &Count) && Children) XFree(Children);
      Framed = Parent != Root;
      if (!Framed) usleep(20000);
    }
    XDestroyWindow(D, Probe);
    XSync(D, False);
    if (Framed) return true;
  }
  return false;
}
