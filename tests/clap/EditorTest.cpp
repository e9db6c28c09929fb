// Quorvane.clap's editor embedded by the host library through the gui extension, on the host's
// timers and descriptor watches: its picture is the VST 3 editor's reference picture, and a knob
// dragged with synthetic pointer input reaches the host as gesture-begin, values, gesture-end.
// Needs an X server with XTest (the test command runs one); skipped without DISPLAY.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <sys/wait.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/editor/EditorHost.h"
#include "host/editor/EditorWindow.h"
#include "host/editor/PngFile.h"
#include "host/vst3/HostRunLoop.h"

using namespace qvhost;

namespace {

constexpr clap_id kMakeUp = 4;
// The make-up knob's centre in the layout.
constexpr int kKnobX = 252 + 46, kKnobY = 272 + 46;

class ClapEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    // No size a user chose elsewhere: the editor opens at 100 %.
    setenv("XDG_CONFIG_HOME", (::testing::TempDir() + "qv-clap-editor-settings").c_str(), 1);
    for (int attempt = 0; !mInput && attempt < 50; ++attempt)
      if (!(mInput = XOpenDisplay(nullptr))) std::this_thread::sleep_for(std::chrono::milliseconds(40));
    ASSERT_NE(mInput, nullptr);
  }
  void TearDown() override {
    if (mInput) XCloseDisplay(mInput);
  }
  void pump(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
      mLoop->runOnce(5);
      if (mWindow) mWindow->processEvents();
    }
  }
  void pointerTo(int x, int y) {
    Window child;
    int rx, ry;
    XTranslateCoordinates(mInput, mWindow->xid(), DefaultRootWindow(mInput), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(mInput, -1, rx, ry, CurrentTime);
    XFlush(mInput);
    pump(30);
  }
  void button(bool down) {
    XTestFakeButtonEvent(mInput, 1, down ? True : False, CurrentTime);
    XFlush(mInput);
    pump(30);
  }

  Display* mInput = nullptr;
  Ref<HostRunLoop> mLoop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  std::unique_ptr<EditorWindow> mWindow;
};

}  // namespace

TEST_F(ClapEditor, CommandLineSnapshotIsTheVst3ReferencePicture) {
  const std::string out = ::testing::TempDir() + "clap-editor-snapshot.png";
  const std::string cmd = std::string(QV_HOST_EXE) + " editor " + QV_CLAP_PATH + " --snapshot " + out;
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd;
  std::vector<uint32_t> shot, golden;
  int w = 0, h = 0, gw = 0, gh = 0;
  std::string error;
  ASSERT_TRUE(readPng(out, &shot, &w, &h, &error)) << error;
  std::remove(out.c_str());
  ASSERT_TRUE(readPng("tools/data/editor.png", &golden, &gw, &gh, &error)) << error;
  EXPECT_EQ(w, gw);
  EXPECT_EQ(h, gh);
  EXPECT_TRUE(shot == golden);
}

TEST_F(ClapEditor, AKnobDragReachesTheHostAsOneGestureAndTheRegistrationsEndWithTheEditor) {
  std::string error;
  auto module = ClapModule::load(QV_CLAP_PATH, &error);
  ASSERT_TRUE(module) << error;
  auto plugin = ClapPlugin::create(*module, *module->find(), &error);
  ASSERT_TRUE(plugin) << error;
  plugin->setRunLoop(mLoop.get());
  const clap_plugin_gui_t* gui = plugin->gui();
  const clap_plugin_t* p = plugin->plugin();
  ASSERT_TRUE(gui && gui->create(p, CLAP_WINDOW_API_X11, false));
  uint32_t w = 0, h = 0;
  // The host's scale, then back to 100 %; a window of any shape gets the editor's aspect.
  ASSERT_TRUE(gui->set_scale(p, 1.5));
  ASSERT_TRUE(gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 996u);
  EXPECT_EQ(h, 993u);
  ASSERT_TRUE(gui->set_scale(p, 1.0));
  ASSERT_TRUE(gui->get_size(p, &w, &h));
  EXPECT_TRUE(gui->can_resize(p));
  uint32_t aw = 1200, ah = 900;
  ASSERT_TRUE(gui->adjust_size(p, &aw, &ah));
  EXPECT_TRUE(aw >= w && aw <= 2 * w) << aw;
  EXPECT_NEAR(static_cast<double>(aw) / ah, static_cast<double>(w) / h, 0.01);
  mWindow = EditorWindow::open(static_cast<int>(w), static_cast<int>(h), "test", &error);
  ASSERT_TRUE(mWindow) << error;
  clap_window_t parent{};
  parent.api = CLAP_WINDOW_API_X11;
  parent.x11 = mWindow->xid();
  ASSERT_TRUE(gui->set_parent(p, &parent));
  EXPECT_FALSE(gui->set_parent(p, &parent));  // one window at a time
  ASSERT_TRUE(gui->show(p));
  EXPECT_GE(plugin->registrations(), 2u);  // the X connection and a repaint timer
  std::vector<uint32_t> pixels;
  XRaiseWindow(mInput, mWindow->xid());
  ASSERT_TRUE(waitForPicture(*mWindow, *mLoop, 20000, true, &pixels));

  double before = 0, after = 0;
  ASSERT_TRUE(plugin->value(kMakeUp, &before));
  pointerTo(kKnobX, kKnobY);
  button(true);
  for (int step = 1; step <= 6; ++step) pointerTo(kKnobX, kKnobY - 40 * step / 6);
  button(false);
  pump(100);
  ASSERT_TRUE(plugin->value(kMakeUp, &after));
  EXPECT_GT(after, before);

  const auto events = plugin->takeHostEvents();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
  for (size_t i = 1; i + 1 < events.size(); ++i) EXPECT_EQ(events[i].type, CLAP_EVENT_PARAM_VALUE);
  for (const auto& e : events) EXPECT_EQ(e.id, kMakeUp);
  EXPECT_EQ(events[events.size() - 2].value, after);

  gui->destroy(p);
  EXPECT_EQ(plugin->registrations(), 0u);
  EXPECT_EQ(mLoop->registrationCount(), 0u);
}
