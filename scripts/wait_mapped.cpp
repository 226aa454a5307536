// wait_mapped CLASS COMMAND [ARGS...]
//
// Starts COMMAND and prints, in milliseconds, the time from just before its exec until a
// top-level window of the class CLASS is mapped on the X display, then its process id.
// Used by measure-startup: measured from outside the program, with no help from it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool hasClass(Display* display, Window window, const char* name) {
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return false;
  const bool match = (hint.res_name && std::strcmp(hint.res_name, name) == 0) ||
                     (hint.res_class && std::strcmp(hint.res_class, name) == 0);
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return match;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: wait_mapped CLASS COMMAND [ARGS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "wait_mapped: no X display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  // Waits for the window, but not for ever: a program that ends or shows nothing within
  // 20 s fails the measure.
  bool mapped = false;
  while (!mapped) {
    while (!mapped && XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      mapped = event.type == MapNotify && hasClass(display, event.xmap.window, argv[1]);
    }
    if (mapped) break;
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "wait_mapped: %s ended without showing a window\n", argv[2]);
      return 1;
    }
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) {
      std::fprintf(stderr, "wait_mapped: no window of %s after 20 s\n", argv[2]);
      kill(pid, SIGKILL);
      return 1;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 5);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%.1f %d\n", std::chrono::duration<double, std::milli>(elapsed).count(), static_cast<int>(pid));
  return 0;
}
