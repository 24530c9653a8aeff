// A private X server for tests of the program on the X11 platform, and a user at its mouse.
#pragma once

#include <sys/types.h>

#include <string>

struct _XDisplay;

// While it lives, a virtual X server runs on a free display and DISPLAY names it.
class XServer {
 public:
  XServer();
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Ready() const { return server_ > 0 && !display_.empty(); }

 private:
  pid_t server_ = -1;
  std::string display_;
  std::string previousDisplay_;
  bool hadDisplay_ = false;
};

// A connection of its own to the display named by DISPLAY, acting as the person at the mouse and as a
// window manager would. Usable from any one thread.
class XUser {
 public:
  XUser();
  ~XUser();
  XUser(const XUser&) = delete;
  XUser& operator=(const XUser&) = delete;

  bool Ready() const { return display_ != nullptr; }
  // Moves the pointer to (x, y) of the screen and clicks the left button there.
  void ClickAt(int x, int y);
  // Asks the top-level window to close, as a window manager does when its close box is clicked.
  void RequestClose(unsigned long window);

 private:
  _XDisplay* display_ = nullptr;
};
