// The screen-size rule on X servers of the test's own (Xvfb, so the screen can be small and split
// into monitors): the editor never takes a size whose window the monitor it is on cannot show.
// gtest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/platform/x11/IGraphicsLinux.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// An Xvfb of the given screens, on a display number it picks itself; DISPLAY points at it while
// it runs.
class OwnXServer {
 public:
  explicit OwnXServer(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    args.insert(args.begin(), {"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp"});
    mPid = fork();
    if (mPid == 0) {
      close(fds[0]);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execvp("Xvfb", argv.data());
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    while (mPid > 0 && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return;
    mDisplay = ":" + number;
    const char* old = std::getenv("DISPLAY");
    mOldDisplay = old ? old : "";
    setenv("DISPLAY", mDisplay.c_str(), 1);
  }
  ~OwnXServer() {
    if (!mOldDisplay.empty()) setenv("DISPLAY", mOldDisplay.c_str(), 1);
    if (mPid > 0) {
      kill(mPid, SIGTERM);
      waitpid(mPid, nullptr, 0);
    }
  }
  bool Running() const { return !mDisplay.empty(); }

 private:
  pid_t mPid = -1;
  std::string mDisplay, mOldDisplay;
};

void SetWorkArea(Display* dpy, long x, long y, long w, long h) {
  const long area[4] = {x, y, w, h};
  XChangeProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_WORKAREA", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(area), 4);
  XSync(dpy, False);
}

Window MapWindowAt(Display* dpy, int x, int y, int w, int h) {
  Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), x, y, w, h, 0, 0, 0);
  XMapWindow(dpy, win);
  XSync(dpy, False);
  return win;
}

void* Id(Window w) { return reinterpret_cast<void*>(w); }

// 150 % of 664 x 662 is 996 x 993, 125 % is 830 x 828.
constexpr int kW = 664, kH = 662;

TEST(X11ScreenSize, ARememberedSizeShrinksToTheLargestStepTheScreenShows) {
  OwnXServer server({"-screen", "0", "1600x900x24"});
  if (!server.Running()) GTEST_SKIP() << "Xvfb could not be started";
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  FakePlugin plug{EditorPlugOptions()};
  auto* gui = new IGraphicsLinux(&plug, kW, kH);
  plug.AttachGraphics(gui);
  gui->SetScaleMemory([] { return 1.5; }, [](double) {});
  gui->ChooseInitialScale();
  EXPECT_EQ(gui->GetScale(), 1.25);

  // A panel of the window manager's takes 80 rows: 828 no longer fit.
  SetWorkArea(dpy, 0, 40, 1600, 820);
  gui->ChooseInitialScale();
  EXPECT_EQ(gui->GetScale(), 1.0);
  SetWorkArea(dpy, 0, 0, 1600, 900);

  // Open, in a host window that puts a 100-row toolbar above the editor: room for 800 rows.
  Window host = MapWindowAt(dpy, 0, 0, 1000, 1000);
  Window frame = XCreateSimpleWindow(dpy, host, 0, 100, 900, 900, 0, 0, 0);
  XMapWindow(dpy, frame);
  XSync(dpy, False);
  ASSERT_NE(gui->OpenWindow(Id(frame)), nullptr);
  EXPECT_FALSE(gui->SetUserScale(1.25));
  EXPECT_EQ(gui->GetScale(), 1.0);
  EXPECT_EQ(gui->ScaleForWindow(1328, 1324), 1.0);
  gui->CloseWindow();
  XDestroyWindow(dpy, host);
  XCloseDisplay(dpy);
}

// Declares a RandR monitor, as a desktop's display settings do (libXrandr looked up at run time,
// as the window does).
bool AddMonitor(Display* dpy, const char* name, int x, int y, int w, int h) {
  struct Monitor {
    Atom name;
    Bool primary, automatic;
    int noutput, x, y, width, height, mwidth, mheight;
    XID* outputs;
  };
  void* randr = dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
  auto set =
      randr ? reinterpret_cast<void (*)(Display*, Window, Monitor*)>(dlsym(randr, "XRRSetMonitor")) : nullptr;
  if (!set) return false;
  Monitor m{XInternAtom(dpy, name, False), False, False, 0, x, y, w, h, w / 4, h / 4, nullptr};
  set(dpy, DefaultRootWindow(dpy), &m);
  XSync(dpy, False);
  return true;
}

TEST(X11ScreenSize, TheMonitorUnderTheWindowCounts) {
  // Two monitors side by side: a large one and a small one to its right.
  OwnXServer server({"-screen", "0", "2624x1400x24"});
  if (!server.Running()) GTEST_SKIP() << "Xvfb could not be started";
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  if (!AddMonitor(dpy, "LEFT", 0, 0, 1600, 1400) || !AddMonitor(dpy, "RIGHT", 1600, 0, 1024, 768))
    GTEST_SKIP() << "no libXrandr";
  FakePlugin plug{EditorPlugOptions()};
  auto* gui = new IGraphicsLinux(&plug, kW, kH);
  plug.AttachGraphics(gui);

  Window host = MapWindowAt(dpy, 100, 0, 1400, 1400);
  ASSERT_NE(gui->OpenWindow(Id(host)), nullptr);
  EXPECT_TRUE(gui->SetUserScale(2.0));
  EXPECT_EQ(gui->GetScale(), 2.0);

  // Moved onto the small monitor: the editor shrinks to what it shows, and asks its host.
  XMoveWindow(dpy, host, 1700, 0);
  XSync(dpy, False);
  plug.log.clear();
  EXPECT_TRUE(gui->FitToScreen());
  EXPECT_EQ(gui->GetScale(), 1.0);
  EXPECT_EQ(plug.log, Calls{"resize 664 662"});
  gui->CloseWindow();
  XDestroyWindow(dpy, host);
  XCloseDisplay(dpy);
}

}  // namespace
