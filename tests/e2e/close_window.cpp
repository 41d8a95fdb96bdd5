// Asks a window to close the way a window manager does (WM_DELETE_WINDOW),
// for end-to-end tests that run without one. Usage: close_window WINDOW_ID
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: close_window WINDOW_ID\n");
    return 1;
  }
  Display* D = XOpenDisplay(nullptr);
  if (!D) {
    std::fprintf(stderr, "close_window: no display\n");
    return 1;
  }
  const Window W = static_cast<Window>(std::strtoul(Argv[1], nullptr, 0));
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = W;
  E.xclient.message_type = XInternAtom(D, "WM_PROTOCOLS", False);
  E.xclient.format = 32;
  E.xclient.data.l[0] = static_cast<long>(XInternAtom(D, "WM_DELETE_WINDOW", False));
  E.xclient.data.l[1] = CurrentTime;
  XSendEvent(D, W, False, NoEventMask, &E);
  XFlush(D);
  XCloseDisplay(D);
  return 0;
}
