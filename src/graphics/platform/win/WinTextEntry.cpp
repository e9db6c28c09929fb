// The text entry's child window.
#include "graphics/platform/win/WinTextEntry.h"

#include "graphics/platform/win/WinPresenter.h"
#include "graphics/platform/win/WinWindowClass.h"

#include <windows.h>

namespace {
WinWindowClass& PromptClass(WNDPROC proc) {
  static WinWindowClass windowClass(L"QuorvaneValuePrompt", proc, 0, IDC_IBEAM);
  return windowClass;
}
}  // namespace

bool WinTextEntry::Open(HWND__* parent, const IRECT& rect, PIX_IFont* font, const IText& style,
                        const char* text, const char* filter, int maxLength) {
  Close();
  if (!parent || rect.W() <= 0 || rect.H() <= 0 || !mBitmap.resize(rect.W(), rect.H())) return false;
  if (!PromptClass(&Proc).Acquire()) return false;
  mFont = font;
  mStyle = style;
  mModel.Reset(text, filter, maxLength);
  mWindow = CreateWindowExW(0, PromptClass(&Proc).Name(), L"", WS_CHILD | WS_CLIPSIBLINGS, rect.L, rect.T,
                            rect.W(), rect.H(), parent, nullptr, ThisModule(), this);
  if (!mWindow) {
    PromptClass(&Proc).Release();
    return false;
  }
  SetWindowPos(mWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Paint();
  return true;
}

void WinTextEntry::Close() {
  if (!mWindow) return;
  HWND window = mWindow;
  mWindow = nullptr;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  PromptClass(&Proc).Release();
}

void WinTextEntry::Paint() {
  if (!mWindow) return;
  Render();
  Present();
}

void WinTextEntry::Present() {
  HDC dc = GetDC(mWindow);
  if (!dc) return;
  PresentBitmap(dc, &mBitmap, 0, 0, mBitmap.getWidth(), mBitmap.getHeight());
  ReleaseDC(mWindow, dc);
}

intptr_t WinTextEntry::Proc(HWND__* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* entry = reinterpret_cast<WinTextEntry*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (entry && dc)
        PresentBitmap(dc, &entry->mBitmap, 0, 0, entry->mBitmap.getWidth(), entry->mBitmap.getHeight());
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    // Presses inside the field only keep it open: passed on, they would read as a click outside.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}
