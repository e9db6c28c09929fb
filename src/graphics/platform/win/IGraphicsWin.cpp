// The Windows editor window: window procedure, painting, input and prompts.
#include "graphics/platform/win/IGraphicsWin.h"

#include "base/ModulePath.h"
#include "base/WideText.h"
#include "graphics/IControl.h"
#include "graphics/platform/win/WinInput.h"
#include "graphics/platform/win/WinPaths.h"
#include "graphics/platform/win/WinPopupMenu.h"
#include "graphics/platform/win/WinPresenter.h"
#include "graphics/platform/win/WinScreen.h"
#include "graphics/platform/win/WinTextEntry.h"
#include "graphics/platform/win/WinWindowClass.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr int kMenuGap = 0;

WinWindowClass& EditorClass(WNDPROC proc) {
  static WinWindowClass windowClass(L"QuorvaneEditor", proc, CS_DBLCLKS, IDC_ARROW);
  return windowClass;
}

HWND ToHWND(void* p) { return static_cast<HWND>(p); }

}  // namespace

struct IGraphicsWin::WinState {
  HWND mWindow = nullptr;
  bool mTimerRunning = false;
  // The paint message's context while it is handled: presenting goes there.
  HDC mPaintDC = nullptr;
  bool mTrackingLeave = false;
  // We hold the mouse capture for a press; a change of capture while it is set was not ours.
  bool mCaptured = false;
  int mLastX = 0, mLastY = 0;
  WheelNotches mWheel;
  WinTextEntry mTextEntry;
  IControl* mEntryControl = nullptr;
  IParam* mEntryParam = nullptr;
};

IGraphicsWin::IGraphicsWin(IPlugin* plug, int w, int h, int fps) : IGraphics(plug, w, h, fps) {}

IGraphicsWin::~IGraphicsWin() { CloseWindow(); }

// ---- Window lifecycle ----------------------------------------------------------------------------

void* IGraphicsWin::OpenWindow(void* parent) {
  CloseWindow();
  HWND parentWindow = ToHWND(parent);
  if (parentWindow && !IsWindow(parentWindow)) return nullptr;
  if (!EditorClass(&Proc).Acquire()) return nullptr;
  mW = std::make_unique<WinState>();
  const DWORD style =
      parentWindow ? WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS
                   : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE | WS_CLIPCHILDREN;
  RECT frame = {0, 0, WindowWidth(), WindowHeight()};
  if (!parentWindow) AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int x = parentWindow ? 0 : CW_USEDEFAULT, y = parentWindow ? 0 : CW_USEDEFAULT;
  // The procedure finds the engine through the window's user data, set while it is created.
  HWND window =
      CreateWindowExW(0, EditorClass(&Proc).Name(), L"Quorvane", style, x, y, frame.right - frame.left,
                      frame.bottom - frame.top, parentWindow, nullptr, ThisModule(), this);
  if (!window) {
    mW.reset();
    EditorClass(&Proc).Release();
    return nullptr;
  }
  mW->mWindow = window;
  mW->mTimerRunning =
      SetTimer(window, kFrameTimer, static_cast<UINT>(std::max(1, 1000 / std::max(1, FPS()))), nullptr) != 0;
  // The first picture, whether or not a paint message follows at once.
  if (GetBits()) {
    IRECT all(0, 0, Width(), Height());
    Draw(&all);
  }
  return mW ? mW->mWindow : nullptr;
}

void IGraphicsWin::CloseWindow() {
  if (!mW) return;
  std::unique_ptr<WinState> w = std::move(mW);
  if (mCursorHidden) {
    mCursorHidden = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  w->mTextEntry.Close();
  // Gone already when the host destroyed its own window first.
  if (w->mWindow && IsWindow(w->mWindow)) {
    SetWindowLongPtrW(w->mWindow, GWLP_USERDATA, 0);
    DestroyWindow(w->mWindow);
  }
  EditorClass(&Proc).Release();
}

void* IGraphicsWin::GetWindow() { return mW ? mW->mWindow : nullptr; }

bool IGraphicsWin::TextEntryOpen() const { return mW && mW->mTextEntry.IsOpen(); }
bool IGraphicsWin::TimerRunning() const { return mW && mW->mTimerRunning; }

void IGraphicsWin::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  // The engine deletes its controls, the open prompt's among them.
  CloseTextEntry();
  IGraphics::Resize(w, h);
  FitWindowToScale();
}

void IGraphicsWin::OnScaleChanged() {
  // An open prompt sits at the old size and place.
  CloseTextEntry();
  FitWindowToScale();
  if (mW && GetBits()) {
    IRECT all(0, 0, Width(), Height());
    Draw(&all);
  }
}

void IGraphicsWin::FitWindowToScale() {
  if (!mW || !mW->mWindow) return;
  const LONG style = GetWindowLongW(mW->mWindow, GWL_STYLE);
  RECT frame = {0, 0, WindowWidth(), WindowHeight()};
  if (!(style & WS_CHILD)) AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE, 0);
  SetWindowPos(mW->mWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double IGraphicsWin::DesktopScale() { return WindowDpiScale(mW ? mW->mWindow : nullptr); }

bool IGraphicsWin::ScreenWorkArea(int* width, int* height) const {
  RECT area;
  if (!width || !height || !MonitorWorkArea(mW ? mW->mWindow : nullptr, &area)) return false;
  *width = area.right - area.left;
  *height = area.bottom - area.top;
  return true;
}

void IGraphicsWin::OnDpiChanged() {
  if (mW && mW->mWindow) SetHostScale(WindowDpiScale(mW->mWindow));
}

// ---- Painting -----------------------------------------------------------------------------------

bool IGraphicsWin::DrawScreen(IRECT* r) {
  PIX_IBitmap* back = BackBufferBitmap();
  if (!mW || !mW->mWindow || !r || !back) return false;
  const IRECT px = ToPixels(*r);
  if (mW->mPaintDC) return PresentBitmap(mW->mPaintDC, back, px.L, px.T, px.W(), px.H());
  HDC dc = GetDC(mW->mWindow);
  if (!dc) return false;
  const bool ok = PresentBitmap(dc, back, px.L, px.T, px.W(), px.H());
  ReleaseDC(mW->mWindow, dc);
  return ok;
}

void IGraphicsWin::OnFrame() {
  if (!mW || !GetBits()) return;
  IRECT dirty;
  if (IsDirty(&dirty)) Draw(&dirty);
}

// ---- Messages -----------------------------------------------------------------------------------

intptr_t IGraphicsWin::Proc(HWND__* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* creator = static_cast<IGraphicsWin*>(create->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creator));
    // Messages come while CreateWindowEx runs, before it answers with the window.
    if (creator && creator->mW) creator->mW->mWindow = hwnd;
  }
  auto* gui = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  intptr_t result = 0;
  if (gui && gui->mW && gui->mW->mWindow == hwnd && gui->HandleMessage(msg, wParam, lParam, &result))
    return result;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// After any engine call below the window may be gone (the host closing the editor in answer to
// an edit): nothing of it is touched afterwards.
bool IGraphicsWin::HandleMessage(unsigned msg, uintptr_t wParam, intptr_t lParam, intptr_t* result) {
  WinState& w = *mW;
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  *result = 0;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w.mWindow, &ps);
      if (dc && GetBits()) {
        IRECT r = WindowToLayout(IRECT(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom));
        IRECT dirty;
        if (IsDirty(&dirty)) r = r.Union(dirty);
        w.mPaintDC = dc;
        if (!r.Empty()) Draw(&r);
        if (mW) mW->mPaintDC = nullptr;
      }
      if (mW) EndPaint(mW->mWindow, &ps);
      return true;
    }
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_TIMER:
      if (wParam != kFrameTimer) return false;
      OnFrame();
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      OnButtonDown(msg != WM_RBUTTONDOWN, wParam, x, y, msg == WM_LBUTTONDBLCLK);
      return true;
    case WM_RBUTTONDBLCLK:
      // A double right click is two presses.
      OnButtonDown(false, wParam, x, y, false);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      OnButtonUp(msg == WM_LBUTTONUP, wParam, x, y);
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, x, y);
      return true;
    case WM_MOUSELEAVE:
      w.mTrackingLeave = false;
      if (GetCapture() != w.mWindow) OnMouseOut();
      return true;
    case WM_CAPTURECHANGED:
      // Capture taken away mid-drag (a system dialog, task switch): the gesture ends where it was.
      if (w.mCaptured && reinterpret_cast<HWND>(lParam) != w.mWindow) {
        w.mCaptured = false;
        if (GetMouseCapture() >= 0) {
          IMouseMod mod = MouseModFromFlags(0);
          OnMouseUp(ToLayout(w.mLastX), ToLayout(w.mLastY), &mod);
        }
      }
      return true;
    case WM_MOUSEWHEEL: {
      POINT p = {x, y};
      ScreenToClient(w.mWindow, &p);
      RECT client;
      GetClientRect(w.mWindow, &client);
      // Outside the editor the wheel goes to the host (the default passes it to the parent).
      if (!PtInRect(&client, p)) return false;
      const int notches = w.mWheel.Add(GET_WHEEL_DELTA_WPARAM(wParam));
      if (notches != 0) {
        IMouseMod mod = MouseModFromFlags(GET_KEYSTATE_WPARAM(wParam));
        OnMouseWheel(ToLayout(p.x), ToLayout(p.y), &mod, notches);
      }
      return true;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != w.mWindow) return false;
      SetCursor(mCursorHidden ? nullptr : LoadCursorW(nullptr, IDC_ARROW));
      *result = TRUE;
      return true;
    case WM_GETDLGCODE:
      // Arrows, Tab, Return and Escape are the editor's, not the host dialog's.
      *result = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
      return true;
    case WM_KEYDOWN:
    case WM_CHAR:
      if (OnKeyMessage(msg == WM_CHAR, wParam)) return true;
      return PassKeyToHost(msg, wParam, lParam);
    case WM_KEYUP:
      return PassKeyToHost(msg, wParam, lParam);
    case WM_DPICHANGED:
    case WM_DPICHANGED_AFTERPARENT:
      OnDpiChanged();
      return true;
    case WM_DESTROY:
      // The host destroyed its window, and ours with it.
      w.mWindow = nullptr;
      w.mTimerRunning = false;
      return false;
    default:
      return false;
  }
}

void IGraphicsWin::OnButtonDown(bool left, uintptr_t flags, int x, int y, bool doubleClick) {
  WinState& w = *mW;
  SetFocus(w.mWindow);
  SetCapture(w.mWindow);
  w.mCaptured = true;
  w.mLastX = x;
  w.mLastY = y;
  // The field's own window takes presses inside it, so this one is outside.
  if (w.mTextEntry.IsOpen()) CloseTextEntry();
  IMouseMod mod = MouseModFromFlags(flags);
  mod.L = left;
  mod.R = !left;
  if (doubleClick)
    OnMouseDblClick(ToLayout(x), ToLayout(y), &mod);
  else
    OnMouseDown(ToLayout(x), ToLayout(y), &mod);
}

void IGraphicsWin::OnButtonUp(bool left, uintptr_t flags, int x, int y) {
  // Released first: the engine may open a menu or close the window in answer.
  if (!(flags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == mW->mWindow) {
    mW->mLastX = x;
    mW->mLastY = y;
    mW->mCaptured = false;
    ReleaseCapture();
  }
  IMouseMod mod = MouseModFromFlags(flags);
  mod.L = left;
  mod.R = !left;
  OnMouseUp(ToLayout(x), ToLayout(y), &mod);
}

void IGraphicsWin::OnMouseMove(uintptr_t flags, int x, int y) {
  WinState& w = *mW;
  if (x == w.mLastX && y == w.mLastY && !(flags & (MK_LBUTTON | MK_RBUTTON))) return;
  w.mLastX = x;
  w.mLastY = y;
  if (!w.mTrackingLeave) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, w.mWindow, 0};
    w.mTrackingLeave = TrackMouseEvent(&track) != 0;
  }
  IMouseMod mod = MouseModFromFlags(flags);
  if (mod.L || mod.R) {
    if (!w.mTextEntry.IsOpen()) OnMouseDrag(ToLayout(x), ToLayout(y), &mod);
  } else if (CanHandleMouseOver()) {
    OnMouseOver(ToLayout(x), ToLayout(y), &mod);
  }
}

bool IGraphicsWin::PassKeyToHost(unsigned msg, uintptr_t wParam, intptr_t lParam) {
  // The editor has the keyboard once clicked; keys it does not take (the space bar for the host's
  // transport, the host's shortcuts) go on to the host's window. Posted, so a host that hands
  // them back cannot recurse.
  HWND parent = mW && mW->mWindow ? GetParent(mW->mWindow) : nullptr;
  return parent && PostMessageW(parent, msg, wParam, lParam);
}

bool IGraphicsWin::OnKeyMessage(bool character, uintptr_t code) {
  WinState& w = *mW;
  const EditorKey key = character ? KeyFromChar(code) : KeyFromVirtualKey(code);
  const bool paste = !character && code == 'V' && GetKeyState(VK_CONTROL) < 0;
  if (key.mNamed == ENamedKey::kNone && key.mChar == 0 && !paste) return false;
  if (!w.mTextEntry.IsOpen()) {
    const int engineCode = EditorKeyCode(key);
    POINT p = {w.mLastX, w.mLastY};
    return engineCode >= 0 && OnKeyDown(ToLayout(p.x), ToLayout(p.y), engineCode);
  }
  using EOutcome = TextEntryModel::EOutcome;
  EOutcome outcome;
  if (paste) {
    StrBuf pasted;
    outcome =
        GetTextFromClipboard(&pasted) ? w.mTextEntry.Model().InsertText(pasted.Get()) : EOutcome::kIgnored;
  } else {
    outcome = w.mTextEntry.Model().HandleKey(key);
  }
  if (outcome == EOutcome::kCommit)
    CommitTextEntry();
  else if (outcome == EOutcome::kCancel)
    CloseTextEntry();
  else if (outcome == EOutcome::kEdited)
    w.mTextEntry.Paint();
  return true;
}

// ---- Text entry ---------------------------------------------------------------------------------

void IGraphicsWin::CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                                   IParam* param) {
  if (!control || !text || !textRect || !mW || !mW->mWindow || mW->mTextEntry.IsOpen()) return;
  const IRECT r = LayoutToWindow(textRect->Intersect(IRECT(0, 0, Width(), Height())));
  if (r.W() <= 0 || r.H() <= 0) return;
  PIX_IFont* font = nullptr;
  const IText style = PromptStyle(*text, &font);
  // Only a parameter's value is constrained; a control's own text is free.
  const char* filter = TextEntryModel::FilterFor(param);
  const int maxLength = param ? control->GetTextEntryLength() : 0;
  if (!mW->mTextEntry.Open(mW->mWindow, r, font, style, str, filter, maxLength)) return;
  mW->mEntryControl = control;
  mW->mEntryParam = param;
  SetFocus(mW->mWindow);
}

void IGraphicsWin::ForceEndUserEdit() { CloseTextEntry(); }

void IGraphicsWin::CloseTextEntry() {
  if (!mW || !mW->mTextEntry.IsOpen()) return;
  mW->mTextEntry.Close();
  mW->mEntryControl = nullptr;
  mW->mEntryParam = nullptr;
}

void IGraphicsWin::CommitTextEntry() {
  const std::string text = mW->mTextEntry.Model().Text();
  IControl* control = mW->mEntryControl;
  IParam* param = mW->mEntryParam;
  // Closed first, so applying the value may open a new prompt.
  CloseTextEntry();
  ApplyPromptText(control, param, text.c_str());
}

// ---- Popup menu ---------------------------------------------------------------------------------

IPopupMenu* IGraphicsWin::CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) {
  if (!menu || !areaRect || !mW || !mW->mWindow) return nullptr;
  ReleaseMouseCapture();
  if (GetCapture() == mW->mWindow) {
    mW->mCaptured = false;
    ReleaseCapture();
  }
  const IRECT area = LayoutToWindow(*areaRect);
  POINT at = {area.L, area.B + kMenuGap};
  ClientToScreen(mW->mWindow, &at);
  return RunSystemPopupMenu(mW->mWindow, menu, at);
}

// ---- Cursor, clipboard ----------------------------------------------------------------------------

void IGraphicsWin::HideMouseCursor() {
  if (mCursorHidden || !mW || !mW->mWindow) return;
  POINT p;
  if (GetCursorPos(&p)) {
    mHiddenMousePointX = p.x;
    mHiddenMousePointY = p.y;
  }
  mCursorHidden = true;
  SetCursor(nullptr);
}

void IGraphicsWin::ShowMouseCursor() {
  if (!mCursorHidden) return;
  mCursorHidden = false;
  if (!mW || !mW->mWindow) return;
  SetCursorPos(mHiddenMousePointX, mHiddenMousePointY);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool IGraphicsWin::GetTextFromClipboard(StrBuf* str) {
  if (!str) return false;
  str->Set("");
  if (!mW || !mW->mWindow || !OpenClipboard(mW->mWindow)) return false;
  bool ok = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      str->Set(WideToUtf8(text).c_str());
      GlobalUnlock(data);
      ok = true;
    }
  }
  CloseClipboard();
  return ok;
}

// ---- Dialogs, URLs, paths, resources ------------------------------------------------------------

int IGraphicsWin::ShowMessageBox(const char* text, const char* caption, int type) {
  const std::wstring wideText = Utf8ToWide(text ? text : ""),
                     wideCaption = Utf8ToWide(caption ? caption : "");
  HWND owner = mW ? mW->mWindow : nullptr;
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), static_cast<UINT>(type));
}

bool IGraphicsWin::OpenURL(const char* url, const char*, const char*, const char*) {
  if (!url || !*url) return false;
  const std::wstring wide = Utf8ToWide(url);
  // ShellExecute answers a value above 32 on success.
  const auto answer = reinterpret_cast<INT_PTR>(
      ShellExecuteW(mW ? mW->mWindow : nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return answer > 32;
}

void IGraphicsWin::HostPath(StrBuf* path) {
  const std::string exe = ProgramFileName();
  if (path && !exe.empty()) path->Set(exe.c_str());
}

void IGraphicsWin::PluginPath(StrBuf* path) {
  const std::string folder = PluginFolderOf(ThisModulePath());
  if (path && !folder.empty()) path->Set(folder.c_str());
}

void IGraphicsWin::DesktopPath(StrBuf* path) {
  if (path) path->Set(ShellFolder(CSIDL_DESKTOPDIRECTORY).c_str());
}

void IGraphicsWin::AppSupportPath(StrBuf* path, bool isSystem) {
  if (path) path->Set(ShellFolder(isSystem ? CSIDL_COMMON_APPDATA : CSIDL_APPDATA).c_str());
}

void IGraphicsWin::SandboxSafeAppSupportPath(StrBuf* path) {
  if (path) path->Set(ShellFolder(CSIDL_MYMUSIC).c_str());
}
