// examora-bench-start: starts a program and prints the milliseconds from the spawn until a
// top-level window whose title holds a given text is mapped on the X server, then ends the
// program (its whole process group). Nothing in the measured program knows it is measured.
//
//   examora-bench-start [--timeout SECONDS] --title TEXT -- PROGRAM [ARGS...]
//
// Output: one line "<ms>" on success; exit status 1 with a message on stderr when the program
// ends or the timeout passes before such a window appears.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string WindowTitle(Display* display, Window window) {
  // _NET_WM_NAME carries UTF-8; WM_NAME may be in the locale's encoding, so it is the fallback.
  const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    title.assign(reinterpret_cast<const char*>(data), count);
    XFree(data);
  }
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
      title = name;
      XFree(name);
    }
  }
  return title;
}

// A window may be gone by the time its title is asked for (a helper window, or one of the
// previous run's); Xlib's default handler would end this program on that error.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

void EndGroup(pid_t pid) {
  ::kill(-pid, SIGTERM);
  for (int i = 0; i < 300; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) {
      // The leader is gone; helpers it started may linger in the group a moment longer.
      ::kill(-pid, SIGKILL);
      return;
    }
    ::usleep(10'000);
  }
  ::kill(-pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

int Usage() {
  std::fprintf(
      stderr, "usage: examora-bench-start [--timeout SECONDS] --title TEXT -- PROGRAM [ARGS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string wanted;
  double timeoutSeconds = 60;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg == "--title" && i + 1 < argc) {
      wanted = argv[++i];
    } else if (arg == "--timeout" && i + 1 < argc) {
      timeoutSeconds = std::atof(argv[++i]);
    } else {
      return Usage();
    }
  }
  if (wanted.empty() || i >= argc) return Usage();
  std::vector<char*> command(argv + i, argv + argc);
  command.push_back(nullptr);

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "examora-bench-start: cannot open the X display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  // Without a window manager every top-level window is a child of the root window, so its map
  // shows up here as MapNotify.
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, True);  // drop whatever happened before this run

  const Clock::time_point spawn = Clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    std::perror("fork");
    return 1;
  }
  if (pid == 0) {
    ::setpgid(0, 0);
    ::execv(command[0], command.data());
    std::perror(command[0]);
    ::_exit(127);
  }
  ::setpgid(pid, pid);

  const Clock::time_point deadline =
      spawn + std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
  const int fd = ConnectionNumber(display);
  while (Clock::now() < deadline) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify) continue;
      const Clock::time_point shown = Clock::now();
      if (WindowTitle(display, event.xmap.window).find(wanted) == std::string::npos) continue;
      const double ms = std::chrono::duration<double, std::milli>(shown - spawn).count();
      EndGroup(pid);
      std::printf("%.1f\n", ms);
      XCloseDisplay(display);
      return 0;
    }
    if (::waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "examora-bench-start: the program ended before showing \"%s\"\n",
                   wanted.c_str());
      XCloseDisplay(display);
      return 1;
    }
    pollfd p{fd, POLLIN, 0};
    ::poll(&p, 1, 20);
  }
  EndGroup(pid);
  std::fprintf(stderr, "examora-bench-start: no window \"%s\" within %.0f s\n", wanted.c_str(),
               timeoutSeconds);
  XCloseDisplay(display);
  return 1;
}
