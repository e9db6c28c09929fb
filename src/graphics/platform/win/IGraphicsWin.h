// IGraphicsWin: the editor engine's window on Windows. OpenWindow gets the host's HWND (a VST 3
// view's "HWND" parent, a CLAP "win32" window) and puts a child window of the editor's size into
// it. Everything runs on the thread that opened the window, the host's UI thread: the window's
// own messages, and the frame timer (SetTimer, 1000 / frame rate ms), which repaints what is dirty.
// No host run loop is needed.
//
// The window's units are physical pixels, as on X11: the scale is the monitor's DPI over 96
// (followed when the window moves to another monitor), a host's content scale factor, or the size
// the user chose. A host that is not DPI-aware sees 96 dpi and lets the system stretch the window.
//
// Input: the mouse is captured while a button is held, so a knob drag goes on outside the window;
// the cursor hides during knob drags and comes back where it was hidden. Keys reach the editor
// (and its value prompt) once a click has given the window the focus; those it does not take go
// on to the host's window.
//
// The value prompt is our own, as on X11 (a child window painted with the engine's fonts); popup
// menus, message boxes, the clipboard and URLs are the system's. File and colour prompts and
// tooltips are the window face's defaults (cancelled, none), as on X11.
#pragma once

#include "graphics/IGraphics.h"

#include <cstdint>
#include <memory>

struct HWND__;

class IGraphicsWin : public IGraphics {
 public:
  IGraphicsWin(IPlugin* plug, int w, int h, int fps = 0);
  ~IGraphicsWin() override;

  // Presents the area of the back buffer (clipped to it); false without an open window.
  bool DrawScreen(IRECT* r) override;
  // Closes an open value prompt without applying it.
  void ForceEndUserEdit() override;
  void Resize(int w, int h) override;
  const char* GetGUIAPI() override { return "Win32 GUI"; }
  // type: MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO...; the answer is IDOK, IDNO, IDCANCEL...
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                       IParam* param) override;
  // Paths are UTF-8; folders end without a separator except PluginPath's.
  void HostPath(StrBuf* path) override;
  // The folder holding the plug-in bundle (or the module outside a bundle), followed by "\".
  void PluginPath(StrBuf* path) override;
  void DesktopPath(StrBuf* path) override;
  // %APPDATA% (the roaming application data), or the machine's ProgramData with isSystem.
  void AppSupportPath(StrBuf* path, bool isSystem = false) override;
  // The user's Music folder.
  void SandboxSafeAppSupportPath(StrBuf* path) override;
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  // parent: an HWND; null puts the editor in a top-level window of its own. Null when the window
  // cannot be made (a parent that is no window among them).
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(StrBuf* str) override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  PIX_IBitmap* OSLoadBitmap(int ID, const char* name) override;
  // The DPI of the window's monitor (the system's before it opens) over 96.
  double DesktopScale() override;
  // The work area of the window's monitor (the primary one before it opens), in the host's pixels.
  bool ScreenWorkArea(int* width, int* height) const override;

  // ---- Inspection (tests, tools) -----------------------------------------------------------------
  bool TextEntryOpen() const;
  bool TimerRunning() const;

 private:
  struct WinState;

  // The editor window's procedure (a WNDPROC: the types are LRESULT, HWND, UINT, WPARAM, LPARAM
  // on x64) and its work; HandleMessage is true when the message was handled.
  static intptr_t Proc(HWND__* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
  bool HandleMessage(unsigned msg, uintptr_t wParam, intptr_t lParam, intptr_t* result);
  void OnScaleChanged() override;
  PIX_IBitmap* BackBufferBitmap() const;
  void OnButtonDown(bool left, uintptr_t flags, int x, int y, bool doubleClick);
  void OnButtonUp(bool left, uintptr_t flags, int x, int y);
  void OnMouseMove(uintptr_t flags, int x, int y);
  bool OnKeyMessage(bool character, uintptr_t code);
  bool PassKeyToHost(unsigned msg, uintptr_t wParam, intptr_t lParam);
  void OnFrame();
  void OnDpiChanged();
  void CloseTextEntry();
  void CommitTextEntry();
  void FitWindowToScale();

  std::unique_ptr<WinState> mW;
};
