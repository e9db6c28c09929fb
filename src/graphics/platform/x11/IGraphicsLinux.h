// IGraphicsLinux: the editor engine's window on Linux, with Xlib. OpenWindow gets the host's X
// window id (the "X11EmbedWindowID" of a VST 3 view, cast to void*) and puts a child window of
// the editor's size into it, on a display connection of its own, so nothing we do can disturb
// the host's connection or be disturbed by it.
//
// Event loop. X has no process-wide loop, so the window runs on the host's: the IRunLoopBridge
// set with SetHostRunLoop before OpenWindow watches the connection's descriptor and runs the
// frame timer (1000 / frame rate ms), both on the host's UI thread. Each call drains the pending
// X events and repaints what is exposed or dirty. Both registrations end with CloseWindow. The
// bridge must outlive the open window (or be replaced with SetHostRunLoop(nullptr) first).
//
// A host without a run loop (no bridge, or one that refuses both the descriptor and the timer):
// the editor is painted once, completely, when it opens, and stays a still picture without
// input. Nothing runs behind the host's back: no thread of ours touches the engine or the
// display, so nothing can race the host's UI thread or block it. Anyone on the UI thread may
// call OnTimer() to drain events and repaint, and a bridge handed over later (SetHostRunLoop
// while open) is taken up at once. With only one of the two accepted: descriptor only, the
// editor repaints whenever X events arrive; timer only, events wait for the next tick.
//
// Prompts are our own: a text entry in a child window over the editor, popup menus in
// override-redirect windows with a nested event loop, both painted with the engine's fonts.
// Message boxes, file and colour prompts and tooltips keep the engine's defaults (IWindowFace.h):
// a message box writes to stderr and answers with its default button (1), a file prompt answers
// "cancelled", no tooltips are shown.
//
// X errors on our connection (a window the host destroyed under us, a bad parent id) are
// caught and ignored (see X11ErrorTrap); losing the connection altogether leaves the window
// dead but the host alive, since the connection's exit handler returns instead of exiting.
#pragma once

#include "graphics/IGraphics.h"
#include "graphics/platform/IRunLoopBridge.h"
#include "graphics/platform/shared/EditorKey.h"

#include <memory>

typedef struct _XDisplay Display;

class IGraphicsLinux : public IGraphics, public IRunLoopBridge::Client {
 public:
  IGraphicsLinux(IPlugin* plug, int w, int h, int fps = 0);
  ~IGraphicsLinux() override;

  // Presents the area of the back buffer (clipped to it); false without an open window.
  bool DrawScreen(IRECT* r) override;
  // Closes an open text entry without applying it.
  void ForceEndUserEdit() override;
  void Resize(int w, int h) override;
  const char* GetGUIAPI() override { return "X11 GUI"; }
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                       IParam* param) override;
  void HostPath(StrBuf* path) override;
  // The folder holding the plug-in bundle, followed by "/".
  void PluginPath(StrBuf* path) override;
  void DesktopPath(StrBuf* path) override;
  void AppSupportPath(StrBuf* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(StrBuf* path) override;
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  // parent: an X window id; null puts the editor in a top-level window of its own. Null when no
  // display can be opened or the parent does not exist.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(StrBuf* str) override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  PIX_IBitmap* OSLoadBitmap(int ID, const char* name) override;
  // <bundle>/Contents/Resources/<leaf of name> for PNG names.
  std::string OSBitmapFile(int ID, const char* name) override;
  void SetHostRunLoop(IRunLoopBridge* runLoop) override;
  // GDK_SCALE or QT_SCALE_FACTOR when set, else the Xft.dpi resource over 96.
  double DesktopScale() override;
  // The monitor under the window (see X11WorkArea.h).
  bool ScreenWorkArea(int* width, int* height) const override;

  // IRunLoopBridge::Client: drain the X events, then repaint what is exposed or dirty.
  void OnFDReady(int fd) override;
  void OnTimer() override;

  // ---- Inspection (tests, tools) -----------------------------------------------------------------
  // The window's own display connection while open, else null.
  Display* GetDisplay() const;
  bool TextEntryOpen() const;
  // Whether the host's run loop accepted the descriptor and the timer.
  bool WatchingFD() const;
  bool TimerRunning() const;

 private:
  struct XState;
  class MenuHost;

  void OnScaleChanged() override;
  void Pump();
  void HandleEvent(union _XEvent& event);
  void OnButtonPress(unsigned button, unsigned state, int x, int y, unsigned long time);
  void OnButtonRelease(unsigned button, unsigned state, int x, int y);
  void OnMotion(unsigned state, int x, int y);
  void OnKey(const EditorKey& key, int x, int y);
  void RepaintPending();
  void CloseTextEntry();
  void CommitTextEntry();
  void Register();
  void Unregister();

  std::unique_ptr<XState> mX;
  IRunLoopBridge* mRunLoop = nullptr;
  bool mPumping = false;
  bool mInMenu = false;
};
