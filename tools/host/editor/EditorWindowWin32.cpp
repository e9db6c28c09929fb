// The host's top-level Win32 window.
#include "host/editor/EditorWindow.h"

#include <windows.h>

#include <cwchar>

#include "base/WideText.h"

namespace qvhost {

namespace {

constexpr int kMaxSide = 16384;
constexpr wchar_t kClassName[] = L"QuorvaneHostEditor";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool registerClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

// The outer size for a client area of width x height.
SIZE frameFor(int width, int height) {
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

intptr_t EditorWindow::proc(HWND__* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_CLOSE && window) {
    // The user asked; the command decides when the window goes.
    window->mCloseRequested = true;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool EditorWindow::displayAvailable(std::string*) { return true; }

std::unique_ptr<EditorWindow> EditorWindow::open(int width, int height, const std::string& title,
                                                 std::string* error) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    if (error)
      *error =
          "the editor asked for an unusable size " + std::to_string(width) + " x " + std::to_string(height);
    return nullptr;
  }
  if (!registerClass(&EditorWindow::proc)) {
    if (error) *error = "cannot register the host window's class";
    return nullptr;
  }
  std::unique_ptr<EditorWindow> w(new EditorWindow);
  w->mWidth = width;
  w->mHeight = height;
  const SIZE frame = frameFor(width, height);
  const std::wstring wideTitle = Utf8ToWide(title.c_str());
  // At the screen's corner: a test reading the screen back finds it there, unclipped.
  w->mWindow = CreateWindowExW(0, kClassName, wideTitle.c_str(), kStyle, 0, 0, frame.cx, frame.cy, nullptr,
                               nullptr, GetModuleHandleW(nullptr), w.get());
  if (!w->mWindow) {
    if (error) *error = "cannot create the host window";
    return nullptr;
  }
  ShowWindow(w->mWindow, SW_SHOWNORMAL);
  UpdateWindow(w->mWindow);
  return w;
}

EditorWindow::~EditorWindow() {
  if (mWindow) {
    SetWindowLongPtrW(mWindow, GWLP_USERDATA, 0);
    DestroyWindow(mWindow);
  }
}

bool EditorWindow::resize(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  const SIZE frame = frameFor(width, height);
  if (!SetWindowPos(mWindow, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
    return false;
  mWidth = width;
  mHeight = height;
  return true;
}

bool EditorWindow::processEvents() {
  // Every window of this thread, the plug-in's among them: the plug-in's window runs on ours.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      mCloseRequested = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return !mCloseRequested;
}

bool EditorWindow::capture(std::vector<uint32_t>* pixels) {
  if (!pixels || !mWindow || !IsWindowVisible(mWindow) || IsIconic(mWindow)) return false;
  // The client area as it is on the screen, the plug-in's child window included.
  POINT origin = {0, 0};
  ClientToScreen(mWindow, &origin);
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = mWidth;
  info.bmiHeader.biHeight = -mHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  bool ok = false;
  if (dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    ok = BitBlt(memory, 0, 0, mWidth, mHeight, screen, origin.x, origin.y, SRCCOPY) != 0;
    GdiFlush();
    if (ok) {
      const auto* p = static_cast<const uint32_t*>(bits);
      pixels->assign(p, p + static_cast<size_t>(mWidth) * mHeight);
      // A screen has no alpha: every pixel is opaque.
      for (uint32_t& px : *pixels) px |= 0xFF000000u;
    }
    SelectObject(memory, old);
  }
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace qvhost
