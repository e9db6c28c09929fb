// The built bundle's editor embedded by the host library in real X11 windows and used the way a
// person would: synthetic pointer input (XTest), pictures read back from the screen, processing
// driven between frames. Needs an X server (the test command runs one); skipped without DISPLAY.
// Set QV_UPDATE_GOLDEN=1 to rewrite the reference picture after an intended change, and look at
// it before committing.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/audio/DemoSynth.h"
#include "host/editor/EditorHost.h"
#include "host/editor/PngFile.h"
#include "host/vst3/BlockProcessor.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

using namespace qvhost;
using vst3abi::ParamID;

namespace {

const char* kGolden = "tools/data/editor.png";
constexpr int kWidth = 664, kHeight = 662;
enum : ParamID { kMakeUp = 4, kThreshold = 7, kBypass = 11, kRatio = 13, kTurbo = 15 };

struct Box {
  int x, y, w, h;
  int cx() const { return x + w / 2; }
  int cy() const { return y + h / 2; }
};

// A control's rectangle: its top-left from the layout, its size from the film strip in the bundle.
Box controlBox(const char* image, int frames, int x, int y) {
  std::ifstream f(std::string(QV_BUNDLE_PATH) + "/Contents/Resources/" + image, std::ios::binary);
  unsigned char head[24] = {};
  f.read(reinterpret_cast<char*>(head), sizeof head);
  const auto word = [&head](int at) {
    return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
  };
  return Box{x, y, word(16), word(20) / frames};
}

const Box kMakeUpKnob = controlBox("MAKEUP.png", 121, 252, 272);
const Box kThresholdKnob = controlBox("THRESHOLD.png", 121, 58, 271);
const Box kBypassSwitch = controlBox("BYPASS.png", 2, 413, 124);
const Box kMeter = controlBox("METER.png", 211, 92, 57);

Box scaled(const Box& b, double s) {
  const auto px = [s](int v) { return static_cast<int>(std::floor(v * s + 0.5)); };
  return Box{px(b.x), px(b.y), px(b.x + b.w) - px(b.x), px(b.y + b.h) - px(b.y)};
}

std::vector<uint32_t> crop(const std::vector<uint32_t>& pixels, const Box& b, int width = kWidth) {
  std::vector<uint32_t> out;
  for (int y = b.y; y < b.y + b.h; ++y) {
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
    out.insert(out.end(), row + b.x, row + b.x + b.w);
  }
  return out;
}

struct Editor {
  std::unique_ptr<PluginInstance> plugin;
  std::unique_ptr<BlockProcessor> proc;
  std::unique_ptr<EditorHost> host;
};

class EditorE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Sizes the editor remembers go to a folder of the tests' own, never the user's settings.
    sSettings = ::testing::TempDir() + "qv-editor-settings-" + std::to_string(getpid());
    setenv("XDG_CONFIG_HOME", sSettings.c_str(), 1);
    if (!std::getenv("DISPLAY")) return;
    std::string error;
    sModule = Module::load(QV_BUNDLE_PATH, &error).release();
    ASSERT_NE(sModule, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete sModule;
    sModule = nullptr;
    std::remove((sSettings + "/Quorvane/editor.conf").c_str());
    rmdir((sSettings + "/Quorvane").c_str());
    rmdir(sSettings.c_str());
  }
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    // A server that has just lost its last client resets and refuses connections meanwhile.
    for (int attempt = 0; !mInput && attempt < 50; ++attempt) {
      if (!(mInput = XOpenDisplay(nullptr))) std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    ASSERT_NE(mInput, nullptr);
    int event, error, major, minor;
    ASSERT_TRUE(XTestQueryExtension(mInput, &event, &error, &major, &minor)) << "the X server lacks XTest";
  }
  void TearDown() override {
    if (mInput) XCloseDisplay(mInput);
  }

  // An instance, processing set up as a DAW would, and its editor showing a settled picture; a
  // scale above 0 is the host's content scale factor.
  Editor open(double scale = 0) {
    Editor e;
    std::string error;
    e.plugin = PluginInstance::create(*sModule, *sModule->findAudioEffect("Quorvane"), &error);
    EXPECT_TRUE(e.plugin) << error;
    if (!e.plugin) return e;
    e.plugin->handler().logGestures(true);
    e.proc = std::make_unique<BlockProcessor>(*e.plugin);
    EXPECT_TRUE(e.proc->start(ProcessConfig{}, &error)) << error;
    e.host = EditorHost::open(*e.plugin, *mLoop, &error, scale);
    EXPECT_TRUE(e.host) << error;
    if (e.host) settled(e);
    return e;
  }

  // Brought to the front first: what another window covers reads back as anything.
  std::vector<uint32_t> settled(Editor& e) {
    XRaiseWindow(mInput, e.host->window().xid());
    XSync(mInput, False);
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(waitForPicture(*e.host, *mLoop, 20000, true, &pixels)) << "no settled picture";
    return pixels;
  }

  std::vector<uint32_t> capture(Editor& e) {
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(e.host->window().capture(&pixels));
    return pixels;
  }

  // Runs the loop until done() or the time is up; false on timeout.
  bool pump(
      int ms, const std::function<bool()>& done = [] { return false; }) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      mLoop->runOnce(5);
    }
    return true;
  }

  // Synthetic pointer input lands wherever the window is on the screen.
  void pointerTo(Editor& e, int x, int y) {
    Window child;
    int rx, ry;
    XTranslateCoordinates(mInput, e.host->window().xid(), DefaultRootWindow(mInput), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(mInput, -1, rx, ry, CurrentTime);
    XFlush(mInput);
    pump(30);
  }
  void button(bool down, unsigned which = 1) {
    XTestFakeButtonEvent(mInput, which, down ? True : False, CurrentTime);
    XFlush(mInput);
    pump(30);
  }
  // Vertical drag from a control's centre, in steps as a hand moves.
  void drag(Editor& e, const Box& b, int dy) {
    pointerTo(e, b.cx(), b.cy());
    button(true);
    for (int step = 1; step <= 6; ++step) pointerTo(e, b.cx(), b.cy() + dy * step / 6);
    button(false);
  }
  void click(Editor& e, const Box& b, unsigned which = 1) {
    pointerTo(e, b.cx(), b.cy());
    button(true, which);
    button(false, which);
  }

  // Output RMS of the demo's first seconds (or as long a silence) processed through the
  // instance, with the editor's loop running between blocks.
  double process(Editor& e, double seconds, bool demo = true) {
    DemoSynth synth(48000, seconds);
    std::vector<double> l(512), r(512), ol(512), orr(512);
    double* in[2] = {l.data(), r.data()};
    double* out[2] = {ol.data(), orr.data()};
    double sum = 0;
    size_t frames = 0;
    std::string error;
    while (size_t n = synth.read(in, 512)) {
      EXPECT_TRUE(e.proc->process(demo ? in : nullptr, nullptr, out, static_cast<vst3abi::int32>(n), &error));
      for (size_t i = 0; i < n; ++i) sum += ol[i] * ol[i] + orr[i] * orr[i];
      frames += n;
      mLoop->runOnce(0);
    }
    return std::sqrt(sum / (2.0 * static_cast<double>(frames)));
  }

  static Module* sModule;
  static std::string sSettings;
  Ref<HostRunLoop> mLoop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  Display* mInput = nullptr;
};

Module* EditorE2E::sModule = nullptr;
std::string EditorE2E::sSettings;

TEST_F(EditorE2E, PointerEditsReachTheHostInOrderAndChangeTheSound) {
  Editor e = open();
  ASSERT_TRUE(e.host);
  const double before = process(e, 0.5);
  e.plugin->handler().takeGestures();

  drag(e, kMakeUpKnob, -120);
  const auto gestures = e.plugin->handler().takeGestures();
  ASSERT_GE(gestures.size(), 3u);
  EXPECT_EQ(gestures.front().kind, ComponentHandler::Gesture::kBegin);
  EXPECT_EQ(gestures.back().kind, ComponentHandler::Gesture::kEnd);
  double last = 0;
  for (size_t i = 1; i + 1 < gestures.size(); ++i) {
    EXPECT_EQ(gestures[i].kind, ComponentHandler::Gesture::kPerform);
    EXPECT_GT(gestures[i].value, last);
    last = gestures[i].value;
  }
  for (const auto& g : gestures) EXPECT_EQ(g.id, kMakeUp);
  EXPECT_DOUBLE_EQ(e.plugin->controller()->getParamNormalized(kMakeUp), last);
  EXPECT_GT(last, 0.2);
  const double after = process(e, 0.5);
  EXPECT_GT(20 * std::log10(after / before), 2.0) << "the edit did not reach the processor";

  const auto engaged = crop(capture(e), kBypassSwitch);
  click(e, kBypassSwitch);
  EXPECT_EQ(e.plugin->controller()->getParamNormalized(kBypass), 0.0);
  EXPECT_TRUE(pump(2000, [&] { return crop(capture(e), kBypassSwitch) != engaged; })) << "the switch stayed";
}

TEST_F(EditorE2E, AutomationMovesKnobsAndTheMeterFollowsCompression) {
  Editor e = open();
  ASSERT_TRUE(e.host);
  const auto shown = capture(e);
  e.proc->queueParameter(kThreshold, 0.0);
  e.proc->queueParameter(kRatio, 1.0);
  process(e, 0.02, false);
  EXPECT_TRUE(pump(2000, [&] { return crop(capture(e), kThresholdKnob) != crop(shown, kThresholdKnob); }));
  EXPECT_EQ(e.plugin->controller()->getParamNormalized(kThreshold), 0.0);

  const auto rest = crop(shown, kMeter);
  process(e, 1.0);
  EXPECT_TRUE(pump(2000, [&] { return crop(capture(e), kMeter) != rest; })) << "the meter stayed at rest";
  process(e, 2.0, false);
  EXPECT_TRUE(pump(2000, [&] { return crop(capture(e), kMeter) == rest; })) << "the meter did not fall back";
}

TEST_F(EditorE2E, ClosingAndReopeningKeepsEveryValue) {
  Editor e = open();
  ASSERT_TRUE(e.host);
  e.proc->queueParameter(kThreshold, 0.25);
  e.proc->queueParameter(kTurbo, 1.0);
  process(e, 0.02, false);
  drag(e, kMakeUpKnob, -60);
  process(e, 0.02, false);
  pump(200);
  const auto shown = settled(e);
  std::vector<double> values;
  for (ParamID id = 1; id <= 16; ++id) values.push_back(e.plugin->controller()->getParamNormalized(id));

  // Closed as a window manager asks, then by the host.
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = e.host->window().xid();
  close.xclient.message_type = XInternAtom(mInput, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(mInput, "WM_DELETE_WINDOW", False));
  XSendEvent(mInput, e.host->window().xid(), False, NoEventMask, &close);
  XFlush(mInput);
  EXPECT_TRUE(pump(2000, [&] { return e.host->closeRequested(); }));
  e.host->close();

  std::string error;
  e.host = EditorHost::open(*e.plugin, *mLoop, &error);
  ASSERT_TRUE(e.host) << error;
  EXPECT_TRUE(settled(e) == shown) << "the reopened editor shows other values";
  for (ParamID id = 1; id <= 16; ++id)
    EXPECT_EQ(e.plugin->controller()->getParamNormalized(id), values[id - 1]);
}

TEST_F(EditorE2E, TwoInstancesEditAtOnceEachItsOwn) {
  Editor a = open();
  Editor b = open();
  ASSERT_TRUE(a.host && b.host);
  const auto shownA = settled(a);
  EXPECT_TRUE(settled(b) == shownA);
  // Both windows sit at the same place; the one raised last takes the pointer.
  drag(b, kMakeUpKnob, -60);
  EXPECT_GT(b.plugin->controller()->getParamNormalized(kMakeUp), 0.0);
  EXPECT_EQ(a.plugin->controller()->getParamNormalized(kMakeUp), 0.0);
  EXPECT_TRUE(a.plugin->handler().takeGestures().empty());
  EXPECT_TRUE(settled(a) == shownA);
  EXPECT_FALSE(settled(b) == shownA);
}

TEST_F(EditorE2E, DestroyingThePlugInUnderAnOpenEditorIsClean) {
  Editor e = open();
  ASSERT_TRUE(e.host);
  e.proc.reset();
  e.plugin.reset();  // the host tears the instance down; the view still holds the plug-in
  pump(200);
  drag(e, kMakeUpKnob, -30);  // edits now reach no handler and are dropped
  e.host.reset();
  EXPECT_EQ(mLoop->registrationCount(), 0u);
}

// A right-click on a knob opens the host's menu for its parameter where the click was, as in a DAW.
TEST_F(EditorE2E, RightClickOpensTheHostMenuForThatParameter) {
  Editor e = open();
  ASSERT_TRUE(e.host);
  const auto atDefault = crop(capture(e), kMakeUpKnob);
  drag(e, kMakeUpKnob, -60);
  process(e, 0.02, false);
  ASSERT_GT(e.plugin->controller()->getParamNormalized(kMakeUp), 0.0);
  e.plugin->handler().takeGestures();

  click(e, kMakeUpKnob, 3);
  ContextMenu* menu = nullptr;
  ASSERT_TRUE(pump(2000, [&] { return (menu = e.host->lastMenu()) && menu->isShown(); }));
  EXPECT_EQ(menu->popupX(), kMakeUpKnob.cx());
  EXPECT_EQ(menu->popupY(), kMakeUpKnob.cy());
  int wx, wy, mx, my;
  Window child;
  XTranslateCoordinates(mInput, e.host->window().xid(), DefaultRootWindow(mInput), 0, 0, &wx, &wy, &child);
  XTranslateCoordinates(mInput, menu->window(), DefaultRootWindow(mInput), 0, 0, &mx, &my, &child);
  EXPECT_EQ(mx, wx + kMakeUpKnob.cx());
  EXPECT_EQ(my, wy + kMakeUpKnob.cy());
  const auto names = menu->itemNames();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0].rfind("Make-Up Gain: ", 0), 0u) << names[0];
  EXPECT_EQ(names[2], "Reset to Default");
  EXPECT_TRUE(e.plugin->handler().takeGestures().empty()) << "the right-click began or ended a gesture";

  int x, y;
  ASSERT_TRUE(menu->itemCentre(2, &x, &y));
  XTestFakeMotionEvent(mInput, -1, x, y, CurrentTime);
  button(true);
  button(false);
  EXPECT_TRUE(pump(2000, [&] { return !menu->isShown(); }));
  EXPECT_EQ(e.plugin->controller()->getParamNormalized(kMakeUp), 0.0);
  process(e, 0.02, false);
  EXPECT_TRUE(pump(2000, [&] { return crop(capture(e), kMakeUpKnob) == atDefault; })) << "the knob stayed";

  // A click outside closes the menu without choosing, and the editor does not get it.
  click(e, kMakeUpKnob, 3);
  ASSERT_TRUE(pump(2000, [&] { return (menu = e.host->lastMenu()) && menu->isShown(); }));
  pump(100);
  click(e, kBypassSwitch);
  EXPECT_TRUE(pump(2000, [&] { return !menu->isShown(); }));
  EXPECT_EQ(e.plugin->controller()->getParamNormalized(kBypass), 1.0);
  EXPECT_TRUE(e.plugin->handler().takeGestures().empty()) << "the dismissing click reached the editor";
}

// The command end to end at one scale; its picture is compared with the golden of that scale.
// env: extra VAR=value words for the command's environment.
std::vector<uint32_t> commandSnapshot(const std::string& scaleArg, const char* golden, int width, int height,
                                      const std::string& env = "") {
  const std::string out = ::testing::TempDir() + "editor-snapshot.png";
  // A remembered size would win over --scale: the command runs with settings of its own. The
  // bundle is named relative to the working directory, as a user would type it.
  const std::filesystem::path bundle(QV_BUNDLE_PATH);
  const std::string cmd = "cd " + bundle.parent_path().string() + " && " + env +
                          " XDG_CONFIG_HOME=" + ::testing::TempDir() + "qv-no-settings " + QV_HOST_EXE +
                          " editor " + bundle.filename().string() + scaleArg + " --snapshot " + out;
  const int status = std::system(cmd.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd;
  std::vector<uint32_t> shot, reference;
  int w = 0, h = 0;
  std::string error;
  EXPECT_TRUE(readPng(out, &shot, &w, &h, &error)) << error;
  std::remove(out.c_str());
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
  if (std::getenv("QV_UPDATE_GOLDEN")) {
    EXPECT_TRUE(writePng(golden, shot, w, h, &error)) << error;
  }
  EXPECT_TRUE(readPng(golden, &reference, &w, &h, &error))
      << error << " (run with QV_UPDATE_GOLDEN=1 from tests/)";
  size_t differ = reference.size() == shot.size() ? 0 : shot.size();
  for (size_t i = 0; i < reference.size() && i < shot.size(); ++i) differ += reference[i] != shot[i];
  EXPECT_EQ(differ, 0u) << golden;
  return shot;
}

TEST_F(EditorE2E, CommandLineSnapshotIsTheReferencePicture) {
  commandSnapshot("", kGolden, kWidth, kHeight);
  const std::string cmd = std::string(QV_HOST_EXE) + " editor " + QV_BUNDLE_PATH + " --snapshot /dev/null";
  const int noDisplay = std::system(("env -u DISPLAY " + cmd + " 2>/dev/null").c_str());
  EXPECT_TRUE(WIFEXITED(noDisplay) && WEXITSTATUS(noDisplay) == 2);
}

// A snapshot appears whole or not at all, and never over a file the host reads.
TEST_F(EditorE2E, SnapshotIsWrittenWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "snapshot-out";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto contents = [](const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  };
  const auto run = [](const std::string& args) {
    const int status = std::system((std::string(QV_HOST_EXE) + " editor " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };

  const fs::path keep = dir / "keep.png";
  std::ofstream(keep) << "an earlier picture";
  EXPECT_EQ(run(std::string(QV_BUNDLE_PATH) + " --class 'No Such' --snapshot " + keep.string()), 1);
  EXPECT_EQ(contents(keep), "an earlier picture");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
      << "a temporary file stayed";

  const fs::path module = dir / "Quorvane.so";
  fs::copy_file(fs::path(QV_BUNDLE_PATH) / "Contents/x86_64-linux/Quorvane.so", module);
  const std::string before = contents(module);
  EXPECT_EQ(run(module.string() + " --snapshot " + module.string()), 2);
  EXPECT_TRUE(contents(module) == before) << "the module was written over";
  fs::remove_all(dir);
}

// Windows read back only where they are on the screen; the 2x editor needs a large one.
bool screenFits(Display* display, int w, int h) {
  return DisplayWidth(display, DefaultScreen(display)) >= w &&
         DisplayHeight(display, DefaultScreen(display)) >= h;
}

int luma(uint32_t p) { return (((p >> 16) & 255) * 3 + ((p >> 8) & 255) * 6 + (p & 255)) / 10; }

// The larger pictures are drawn for their pixels: the logo's letters at 2x have edges as steep as
// at 1x (a stretched 1x picture would halve them) and are not made of 2 x 2 blocks.
TEST_F(EditorE2E, LargerScalesAreDrawnSharpAtTheirOwnSize) {
  if (!screenFits(mInput, 1328, 1324)) GTEST_SKIP() << "the X screen is smaller than the 2x editor";
  commandSnapshot(" --scale 1.5", "tools/data/editor@1.5x.png", 996, 993);
  const auto big = commandSnapshot(" --scale 2", "tools/data/editor@2x.png", 1328, 1324);
  std::vector<uint32_t> small;
  int w = 0, h = 0;
  std::string error;
  ASSERT_TRUE(readPng(kGolden, &small, &w, &h, &error)) << error;
  ASSERT_EQ(big.size(), 1328u * 1324u);
  const Box logo{440, 62, 184, 30};
  const auto steepest = [](const std::vector<uint32_t>& px, int width, const Box& b) {
    int best = 0;
    for (int y = b.y; y < b.y + b.h; ++y)
      for (int x = b.x; x + 1 < b.x + b.w; ++x)
        best = std::max(best, std::abs(luma(px[y * width + x + 1]) - luma(px[y * width + x])));
    return best;
  };
  const Box logo2 = scaled(logo, 2);
  EXPECT_GE(steepest(big, 1328, logo2) * 10, steepest(small, kWidth, logo) * 8);
  int blocks = 0, uneven = 0;
  for (int y = logo2.y; y < logo2.y + logo2.h; y += 2)
    for (int x = logo2.x; x < logo2.x + logo2.w; x += 2) {
      const uint32_t a = big[y * 1328 + x];
      ++blocks;
      uneven +=
          a != big[y * 1328 + x + 1] || a != big[(y + 1) * 1328 + x] || a != big[(y + 1) * 1328 + x + 1];
    }
  EXPECT_GT(uneven * 2, blocks);
}

// The buttons' legends are the plug-in's own glyphs: with fontconfig shown no DejaVu at all (only
// Liberation, where installed), the editor at 100 % and 200 % is still the reference picture.
TEST_F(EditorE2E, LegendsLookTheSameWithoutTheSystemsDejaVu) {
  if (!screenFits(mInput, 1328, 1324)) GTEST_SKIP() << "the X screen is smaller than the 2x editor";
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "qv-fonts-without-dejavu";
  fs::create_directories(dir / "cache");
  const fs::path conf = dir / "fonts.conf";
  {
    std::ofstream f(conf);
    f << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
      << "  <dir>/usr/share/fonts/truetype/liberation</dir>\n  <cachedir>" << (dir / "cache").string()
      << "</cachedir>\n</fontconfig>\n";
  }
  const std::string env = "FONTCONFIG_FILE=" + conf.string();
  commandSnapshot("", kGolden, kWidth, kHeight, env);
  commandSnapshot(" --scale 2", "tools/data/editor@2x.png", 1328, 1324, env);
}

// At twice the size, as a host on a scaled screen opens it: knobs and switches work in the
// window's pixels, the logo's size menu resizes the window through the host's frame, and the
// chosen size comes back in a new instance, where the host's factor changing is still followed.
TEST_F(EditorE2E, AtTwiceTheSizeEditingAndTheSizeMenuWork) {
  if (!screenFits(mInput, 1328, 1324)) GTEST_SKIP() << "the X screen is smaller than the 2x editor";
  Editor e = open(2.0);
  ASSERT_TRUE(e.host);
  EXPECT_EQ(e.host->window().width(), 1328);
  EXPECT_EQ(e.host->window().height(), 1324);

  // One knob height at this scale is a quarter of the range.
  const Box knob = scaled(kMakeUpKnob, 2);
  drag(e, knob, -knob.h);
  EXPECT_NEAR(e.plugin->controller()->getParamNormalized(kMakeUp), 0.25, 0.02);
  click(e, scaled(kBypassSwitch, 2));
  EXPECT_EQ(e.plugin->controller()->getParamNormalized(kBypass), 0.0);

  const int asked = e.host->frame().resizeRequests();
  // The menu runs its own loop inside the click, so the keys come from another connection.
  std::thread keys([] {
    Display* d = XOpenDisplay(nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    for (KeySym sym : {XK_Down, XK_Down, XK_Down, XK_Return}) {  // 100 %, 125 %, 150 %
      const KeyCode code = XKeysymToKeycode(d, sym);
      XTestFakeKeyEvent(d, code, True, CurrentTime);
      XTestFakeKeyEvent(d, code, False, CurrentTime);
      XFlush(d);
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    XCloseDisplay(d);
  });
  click(e, scaled(Box{428, 58, 208, 50}, 2));
  keys.join();
  EXPECT_TRUE(pump(3000, [&] { return e.host->window().width() == 996; }));
  EXPECT_EQ(e.host->window().height(), 993);
  EXPECT_GT(e.host->frame().resizeRequests(), asked);
  settled(e);

  Editor next = open(2.0);
  ASSERT_TRUE(next.host);
  EXPECT_EQ(next.host->window().width(), 996) << "the chosen size was not remembered";
  EXPECT_TRUE(next.host->setContentScale(1.25));
  EXPECT_TRUE(pump(3000, [&] { return next.host->window().width() == 830; }));
  EXPECT_EQ(next.host->window().height(), 828);
  // Later editors open at 100 % again.
  std::remove((sSettings + "/Quorvane/editor.conf").c_str());
}

}  // namespace
