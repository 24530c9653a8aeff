// Xvfb started with -displayfd, so it picks a free display itself; pointer input through XTEST.
#include "support/x_session.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// Reads the display number the server writes once it accepts connections; empty on failure.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  char c = 0;
  while (read(fd, &c, 1) == 1 && c != '\n') number += c;
  return number;
}

}  // namespace

XServer::XServer() {
  int ready[2];
  if (pipe(ready) != 0) return;
  const std::string fd = std::to_string(ready[1]);
  server_ = fork();
  if (server_ == 0) {
    // The server goes with the test process, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    close(ready[0]);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp", nullptr);
    _exit(127);
  }
  close(ready[1]);
  if (server_ < 0) {
    close(ready[0]);
    return;
  }
  const std::string number = ReadDisplayNumber(ready[0]);
  close(ready[0]);
  if (number.empty()) return;
  display_ = ":" + number;
  if (const char* previous = std::getenv("DISPLAY")) {
    hadDisplay_ = true;
    previousDisplay_ = previous;
  }
  setenv("DISPLAY", display_.c_str(), 1);
}

XServer::~XServer() {
  if (hadDisplay_)
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
  else
    unsetenv("DISPLAY");
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
}

XUser::XUser() {
  display_ = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (display_ && !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
    XCloseDisplay(display_);
    display_ = nullptr;
  }
}

XUser::~XUser() {
  if (display_) XCloseDisplay(display_);
}

void XUser::ClickAt(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XSync(display_, False);
  XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
  XSync(display_, False);
  XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
  XSync(display_, False);
}

void XUser::RequestClose(unsigned long window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XSync(display_, False);
}
