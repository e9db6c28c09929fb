// The Windows editor window, run under wine (or Windows): embedding in a host's window, presenting
// the back buffer, the frame timer, mouse messages with capture, wheel and double clicks, scaling,
// the value prompt's keys, and a host that destroys its window first. Input comes as the messages
// the system would send, so the window procedure is what is tested; the XTest path through the X
// server is the Windows editor script's.
#include <gtest/gtest.h>

#include "graphics/GraphicsTestSupport.h"
#include "graphics/platform/win/IGraphicsWin.h"
#include "graphics/platform/win/WinInput.h"
#include "graphics/platform/win/WinPaths.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class WinWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPED | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!parent) GTEST_SKIP() << "no window can be made here (wine without a display?)";
    plug.GetParam(0)->InitDouble("Gain", 1.0, -10.0, 10.0, 0.01);
    gui = new IGraphicsWin(&plug, 200, 100);
    gui->AttachPanelBackground(&COLOR_BLUE);
    probe = new WindowProbe(&plug, IRECT(20, 20, 80, 60), COLOR_RED);
    gui->AttachControl(probe);
    entry = new WindowProbe(&plug, IRECT(100, 20, 180, 40), COLOR_GREEN, 0);
    gui->AttachControl(entry);
    plug.AttachGraphics(gui);
  }
  void TearDown() override {
    if (gui) gui->CloseWindow();
    if (parent && IsWindow(parent)) DestroyWindow(parent);
  }

  HWND Open() {
    auto* w = static_cast<HWND>(gui->OpenWindow(parent));
    Pump(50);
    return w;
  }
  // Dispatches this thread's messages for a while, or until done.
  bool Pump(
      int ms, const std::function<bool()>& done = [] { return false; }) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (done()) return true;
      if (std::chrono::steady_clock::now() > until) return false;
      Sleep(5);
    }
  }
  COLORREF Pixel(HWND w, int x, int y) {
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
  }

  HWND parent = nullptr;
  FakePlugin plug{EditorPlugOptions()};
  IGraphicsWin* gui = nullptr;  // owned by the plug-in
  WindowProbe* probe = nullptr;
  WindowProbe* entry = nullptr;
};

TEST_F(WinWindow, EmbedsPresentsTheBackBufferAndRepaintsDirtyControls) {
  EXPECT_STREQ(gui->GetGUIAPI(), "Win32 GUI");
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetParent(w), parent);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
  EXPECT_TRUE(gui->TimerRunning());
  EXPECT_TRUE(
      Pump(2000, [&] { return Pixel(w, 50, 40) == RGB(255, 0, 0) && Pixel(w, 150, 80) == RGB(0, 0, 255); }));
  // Dirty controls are repainted by the frame timer.
  probe->colour = COLOR_GREEN;
  probe->SetDirty(false);
  EXPECT_TRUE(Pump(2000, [&] { return Pixel(w, 50, 40) == RGB(0, 255, 0); }));

  gui->CloseWindow();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(gui->GetWindow(), nullptr);
  IRECT all(0, 0, 200, 100);
  EXPECT_FALSE(gui->DrawScreen(&all));
  // A parent that is no window is refused.
  EXPECT_EQ(gui->OpenWindow(reinterpret_cast<void*>(0x1234)), nullptr);
}

TEST_F(WinWindow, MouseMessagesReachTheEngineWithCaptureWheelAndDoubleClicks) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  // The drag goes on outside the window.
  EXPECT_EQ(GetCapture(), w);
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, At(40, 35));
  SendMessageW(w, WM_LBUTTONUP, 0, At(40, 35));
  EXPECT_NE(GetCapture(), w);
  SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(31, 31));
  SendMessageW(w, WM_LBUTTONUP, 0, At(31, 31));
  SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, At(50, 50));
  SendMessageW(w, WM_RBUTTONUP, 0, At(50, 50));
  // Wheel positions are on the screen; half notches count once they add up.
  POINT p = {30, 30};
  ClientToScreen(w, &p);
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), At(p.x, p.y));
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), At(p.x, p.y));
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), At(p.x, p.y));
  EXPECT_EQ(probe->events,
            (std::vector<std::string>{"down 30 30 L", "drag 40 35 L S", "up 40 35 L", "dbl 31 31 L",
                                      "up 31 31 L", "down 50 50 R", "up 50 50 R", "wheel 1", "wheel -2"}));

  // Capture taken away mid-drag ends the gesture where it was.
  probe->events.clear();
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, At(33, 33));
  ReleaseCapture();
  EXPECT_EQ(probe->events, (std::vector<std::string>{"down 30 30 L", "drag 33 33 L", "up 33 33"}));
}

TEST_F(WinWindow, ScaledWindowsTakeTheirSizeAndMapThePointerBack) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(gui->SetScale(2.0, false));
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_TRUE(Pump(2000, [&] { return Pixel(w, 100, 80) == RGB(255, 0, 0); }));
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, At(61, 61));
  SendMessageW(w, WM_LBUTTONUP, 0, At(61, 61));
  EXPECT_EQ(probe->events, (std::vector<std::string>{"down 30 30 L", "up 30 30 L"}));
  // wine's screens are 96 dpi unless told otherwise.
  EXPECT_EQ(gui->DesktopScale(), 1.0);
  // The room for the window: the screen less task bars, never more than the screen.
  int roomW = 0, roomH = 0;
  ASSERT_TRUE(gui->ScreenWorkArea(&roomW, &roomH));
  EXPECT_GT(roomW, 0);
  EXPECT_GT(roomH, 0);
  EXPECT_LE(roomW, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(roomH, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(WinWindow, ValuePromptTakesKeysAndCommitsOrCancels) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  IRECT r(100, 20, 180, 40);
  gui->PromptUserInput(entry, plug.GetParam(0), &r);
  ASSERT_TRUE(gui->TextEntryOpen());
  // The whole text is selected: typing replaces it; letters are not a number's.
  for (char c : std::string("-2x.5")) SendMessageW(w, WM_CHAR, static_cast<WPARAM>(c), 0);
  SendMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_DOUBLE_EQ(plug.GetParam(0)->GetValue(), -2.5);

  gui->PromptUserInput(entry, plug.GetParam(0), &r);
  SendMessageW(w, WM_CHAR, '7', 0);
  SendMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_DOUBLE_EQ(plug.GetParam(0)->GetValue(), -2.5);

  // A click outside the prompt closes it without applying it.
  gui->PromptUserInput(entry, plug.GetParam(0), &r);
  SendMessageW(w, WM_CHAR, '3', 0);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  SendMessageW(w, WM_LBUTTONUP, 0, At(30, 30));
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_DOUBLE_EQ(plug.GetParam(0)->GetValue(), -2.5);
}

TEST_F(WinWindow, TheCursorHidesForADragAndComesBackWhereItWas) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  POINT start = {150, 150};
  ClientToScreen(w, &start);
  SetCursorPos(start.x, start.y);
  gui->HideMouseCursor();
  // The window keeps the pointer blank while it is over it.
  EXPECT_EQ(SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(GetCursor(), nullptr);
  SetCursorPos(start.x + 60, start.y + 40);
  gui->ShowMouseCursor();
  POINT now;
  ASSERT_TRUE(GetCursorPos(&now));
  EXPECT_EQ(now.x, start.x);
  EXPECT_EQ(now.y, start.y);
  SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), nullptr);
}

// A host window that notes the keys it is given.
std::vector<WPARAM> gHostKeys;
LRESULT CALLBACK KeyNotingHost(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KEYDOWN) gHostKeys.push_back(wParam);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(WinWindow, KeysTheEditorDoesNotTakeGoOnToTheHost) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = KeyNotingHost;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QvKeyNotingHost";
  RegisterClassW(&wc);
  DestroyWindow(parent);
  parent = CreateWindowExW(0, L"QvKeyNotingHost", L"host", WS_OVERLAPPED | WS_VISIBLE, 100, 100, 400, 300,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  gHostKeys.clear();
  // F5 means nothing to the editor; an arrow over the probe is the probe's.
  SendMessageW(w, WM_MOUSEMOVE, 0, At(30, 30));
  SendMessageW(w, WM_KEYDOWN, VK_F5, 0);
  SendMessageW(w, WM_KEYDOWN, VK_UP, 0);
  Pump(100);
  EXPECT_EQ(gHostKeys, std::vector<WPARAM>{VK_F5});
  EXPECT_EQ(probe->events.back(), "key 1");
}

TEST_F(WinWindow, AHostDestroyingItsWindowFirstLeavesAClosedEditor) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  IRECT r(100, 20, 180, 40);
  gui->PromptUserInput(entry, plug.GetParam(0), &r);
  DestroyWindow(parent);
  parent = nullptr;
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(gui->GetWindow(), nullptr);
  gui->CloseWindow();
  // And a new window opens as before.
  parent = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPED | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(Open(), nullptr);
}

TEST(WinRules, PluginFoldersImageNamesAndWheelNotches) {
  EXPECT_EQ(PluginFolderOf(
                "C:\\Program Files\\Common Files\\VST3\\Quorvane.vst3\\Contents\\x86_64-win\\Quorvane.vst3"),
            "C:\\Program Files\\Common Files\\VST3\\");
  EXPECT_EQ(PluginFolderOf("D:\\J\xC3\xB6rg\\CLAP\\Quorvane.clap"), "D:\\J\xC3\xB6rg\\CLAP\\");
  EXPECT_EQ(PluginFolderOf("Quorvane.clap"), "");
  EXPECT_EQ(PNGLeafName("resources/img/KNOB.PNG"), "KNOB.PNG");
  EXPECT_EQ(PNGLeafName("img\\knob.png"), "knob.png");
  EXPECT_EQ(PNGLeafName("knob.bmp"), "");

  WheelNotches wheel;
  EXPECT_EQ(wheel.Add(40), 0);
  EXPECT_EQ(wheel.Add(80), 1);
  EXPECT_EQ(wheel.Add(-240), -2);
  EXPECT_EQ(wheel.Add(-60), 0);
  EXPECT_EQ(wheel.Add(60), 0);
}

}  // namespace
