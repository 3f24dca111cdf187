// The validator's private Xvfb, when there is no DISPLAY: its checks' child
// processes connect one after another, each as the one before has left.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "PrivateDisplay.h"

// Last: Xlib's macros (None, Bool) would break the test framework's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

TEST(PrivateDisplayTest, OutlivesItsLastClientAndTakesTheNextAtOnce) {
  unsetenv("DISPLAY");
  PrivateDisplay display;
  ASSERT_NE(std::getenv("DISPLAY"), nullptr);

  // A server that resets when its last client leaves forgets the root
  // window's properties, and refuses connections while it resets.
  const std::string mark = "FLINTMOOR_STILL_HERE";
  Display* first = XOpenDisplay(nullptr);
  ASSERT_NE(first, nullptr);
  const Atom property = XInternAtom(first, mark.c_str(), False);
  const unsigned char value = 1;
  XChangeProperty(first, DefaultRootWindow(first), property, XA_INTEGER, 8, PropModeReplace, &value,
                  1);
  XCloseDisplay(first);

  int refused = 0;
  for (int i = 0; i < 200; ++i) {
    Display* next = XOpenDisplay(nullptr);
    if (next == nullptr) {
      ++refused;
      continue;
    }
    XSync(next, False);
    XCloseDisplay(next);
  }
  EXPECT_EQ(refused, 0) << "of 200 connections, each right after the one before left";

  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Display* last = XOpenDisplay(nullptr);
  ASSERT_NE(last, nullptr);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom known = XInternAtom(last, mark.c_str(), True);
  if (known != None) {
    XGetWindowProperty(last, DefaultRootWindow(last), known, 0, 1, False, AnyPropertyType, &type,
                       &format, &count, &after, &data);
  }
  EXPECT_EQ(count, 1u) << "the server was reset when its last client left";
  if (data != nullptr) XFree(data);
  XCloseDisplay(last);
}

}  // namespace
