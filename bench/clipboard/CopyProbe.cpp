// Plays "another program" that copies text: takes the CLIPBOARD selection,
// serves its text, and reports the time from taking it until a window with
// the given name is mapped (the clipboard prompt appearing). Repeats after
// the window is unmapped again. Prints one line per copy and the median.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

struct TAtoms {
  Atom Clipboard, Targets, Utf8, Text;
};

std::string WindowName(Display* display, Window window) {
  char* name = nullptr;
  std::string result;
  if (XFetchName(display, window, &name) != 0 && name != nullptr) {
    result = name;
    XFree(name);
  }
  return result;
}

void Serve(Display* display, const XSelectionRequestEvent& request, const TAtoms& atoms,
           const std::string& text) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = request.display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  reply.property = request.property == None ? request.target : request.property;
  if (request.target == atoms.Targets) {
    Atom offered[] = {atoms.Targets, atoms.Utf8, XA_STRING, atoms.Text};
    XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(offered), 4);
  } else if (request.target == atoms.Utf8 || request.target == XA_STRING ||
             request.target == atoms.Text) {
    XChangeProperty(display, request.requestor, reply.property, request.target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
  } else {
    reply.property = None;
  }
  XEvent event{};
  event.xselection = reply;
  XSendEvent(display, request.requestor, False, NoEventMask, &event);
  XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
  const int copies = argc > 1 ? std::atoi(argv[1]) : 5;
  const std::string wanted = argc > 2 ? argv[2] : "Verbalune MP3";
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  const Window root = XDefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  const Window owner = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
  const TAtoms atoms{
      XInternAtom(display, "CLIPBOARD", False), XInternAtom(display, "TARGETS", False),
      XInternAtom(display, "UTF8_STRING", False), XInternAtom(display, "TEXT", False)};
  std::vector<double> times;
  for (int i = 0; i < copies; ++i) {
    const std::string text = "Text copied by the probe, copy number " + std::to_string(i + 1) + ".";
    const auto start = TClock::now();
    XSetSelectionOwner(display, atoms.Clipboard, owner, CurrentTime);
    XFlush(display);
    Window prompt = None;
    bool unmapped = false;
    const auto deadline = start + std::chrono::seconds(30);
    while (!unmapped && TClock::now() < deadline) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == SelectionRequest) {
        Serve(display, event.xselectionrequest, atoms, text);
      } else if (event.type == MapNotify && prompt == None &&
                 WindowName(display, event.xmap.window) == wanted) {
        prompt = event.xmap.window;
        const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        times.push_back(ms);
        std::printf("copy %d: prompt mapped after %.1f ms\n", i + 1, ms);
        std::fflush(stdout);
      } else if (event.type == UnmapNotify && prompt != None && event.xunmap.window == prompt) {
        unmapped = true;  // answered (by its countdown): ready for the next copy
      }
    }
    if (!unmapped) {
      std::fprintf(stderr, "copy %d: no prompt came and went\n", i + 1);
      return 1;
    }
  }
  std::sort(times.begin(), times.end());
  std::printf("median %.1f ms, max %.1f ms over %zu copies\n", times[times.size() / 2],
              times.back(), times.size());
  XCloseDisplay(display);
  return 0;
}
