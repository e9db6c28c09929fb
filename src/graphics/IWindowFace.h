// IWindowFace: what the editor engine asks of a window system. A platform (graphics/platform/<name>/)
// is one class deriving from IGraphics that overrides these: the five under "must supply", and of
// the rest only what its system has something to say about. The engine's defaults answer as a
// window without that feature would (no prompt, no tooltip, nothing on the clipboard).
//
// Threads: every call comes on the UI thread (the host's editor thread; the main thread on macOS),
// except that OSLoadBitmap and OSBitmapFile also run where the plug-in builds its editor (its
// constructor, on the thread the host creates it on). None is called with the plug-in's mutex
// held, and none may take it: the audio thread holds it for a whole block.
//
// A new system is a folder graphics/platform/<name>/ holding its IGraphics subclass, plus three
// one-line branches elsewhere: graphics/CMakeLists.txt builds the folder as qv_graphics_platform,
// plugin/MakeGraphics.cpp creates the class, and each adapter names the window type it accepts.
//
// Units: "window units" are the host's units for the editor's window (physical pixels on X11 and
// Windows, points on macOS); layout rectangles are turned into them with IGraphics::LayoutToWindow.
#pragma once

#include "graphics/IColor.h"
#include "graphics/IRECT.h"

#include <string>

class IControl;
class IParam;
class IPopupMenu;
class IRunLoopBridge;
class PIX_IBitmap;
class StrBuf;
struct IText;

enum EFileAction {
  kFileOpen = 0,
  kFileSave = 1,
};

class IWindowFace {
 public:
  virtual ~IWindowFace() = default;

  // ---- Must supply ---------------------------------------------------------------------------------
  // Shows the layout rectangle r of the back buffer (IGraphics::GetBackBuffer, in pixels via
  // IGraphics::ToPixels) in the window; false when there is no window to show it in.
  virtual bool DrawScreen(IRECT* r) = 0;
  // Opens the editor's window as a child of the host's parent (an X window id, an NSView*, an
  // HWND), at IGraphics::WindowWidth() x WindowHeight(); the window's handle, or null when it
  // cannot be opened. An open window is closed first.
  virtual void* OpenWindow(void* parent) = 0;
  // Closes the window; nothing when none is open. Also called from the platform's destructor.
  virtual void CloseWindow() = 0;
  // The open window's handle, else null.
  virtual void* GetWindow() = 0;
  // The image a resource name stands for (the bundle's or module's copy of "resources/img/X.png");
  // null when it is missing or does not decode. The caller owns it.
  virtual PIX_IBitmap* OSLoadBitmap(int ID, const char* name) = 0;

  // ---- May supply (defaults in IWindowFace.cpp) -----------------------------------------------------
  // Closes an open text entry without applying it. Default: nothing (no text entry of its own).
  virtual void ForceEndUserEdit() {}
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  // A short name of the window system, for traces.
  virtual const char* GetGUIAPI() { return ""; }
  // The button the user picked. Default: "caption: text" to stderr, answered with 1 (the default
  // button), for systems without a window of their own for it.
  virtual int ShowMessageBox(const char* text, const char* caption, int type);
  // Runs the menu modally below or beside areaRect (layout units); the menu (or submenu) whose
  // item was chosen, with its chosen index set, or null when nothing was chosen. Disabled items
  // cannot be chosen. Default: null.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect);
  // Opens a one-line text field over textRect (layout units) holding str; a confirmed entry goes
  // to IGraphics::SetFromStringAfterPrompt (with a parameter) or IControl::TextFromTextEntry.
  // Default: nothing opens.
  virtual void CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                               IParam* param);
  // Folders, as UTF-8; each leaves the path as it was when the system has no answer (the default).
  virtual void HostPath(StrBuf* path);
  // The folder holding the plug-in bundle, followed by the separator.
  virtual void PluginPath(StrBuf* path);
  virtual void DesktopPath(StrBuf* path);
  virtual void AppSupportPath(StrBuf* path, bool isSystem = false);
  virtual void SandboxSafeAppSupportPath(StrBuf* path);
  // The chosen file in fileName (empty when cancelled) and its folder in dir. Default: cancelled,
  // with an empty dir filled with the desktop folder while the window is open.
  virtual void PromptForFile(StrBuf* fileName, EFileAction action = kFileOpen, StrBuf* dir = nullptr,
                             const char* extensions = "");
  // True when the user picked a colour into color. Default: false.
  virtual bool PromptForColor(IColor* color, const char* prompt = "");
  // True when the link (a web address or a file path) was handed to the system. Default: false.
  virtual bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
                       const char* errMsgOnFailure = nullptr);
  // The old carbon-style window entry points; only macOS has a use for the sub-window pair.
  virtual void* OpenWindow(void*, void*, short, short) { return nullptr; }
  virtual void AttachSubWindow(void*) {}
  virtual void RemoveSubWindow() {}
  // True with the clipboard's text in str; false with str emptied when there is none (the default).
  virtual bool GetTextFromClipboard(StrBuf* str);
  // Hides the pointer during a fine drag and shows it again where it was; set mCursorHidden.
  virtual void HideMouseCursor() {}
  virtual void ShowMouseCursor() {}
  // Registers every shown control's target rectangle as a tooltip area (after OpenWindow and a
  // change of size), when IGraphics::TooltipsEnabled(). Default: no tooltips.
  virtual void UpdateTooltips() {}
  // The file an image name stands for, when the platform keeps images as plain files; such images
  // are decoded when first drawn. "" (the default) loads them at once through OSLoadBitmap.
  virtual std::string OSBitmapFile(int, const char*) { return std::string(); }
  // The host's UI event loop, for windows that need one handed to them (X11); set by the editor
  // view before OpenWindow and cleared (null) after CloseWindow. Not owned. Default: unused.
  virtual void SetHostRunLoop(IRunLoopBridge*) {}
  // The scale the desktop asks editors to use (1 when it says nothing, the default); read when an
  // editor opens without a size of its own.
  virtual double DesktopScale() { return 1.0; }
  // The room the editor's window may take, in window units: the work area (the screen less task
  // bars, panels and the dock) of the screen the window is on, or, before it opens, the screen it
  // will most likely open on. False when unknown (the default): the editor then takes any size.
  virtual bool ScreenWorkArea(int* /*width*/, int* /*height*/) const { return false; }

 protected:
  // The window follows a new scale: it takes the new size (IGraphics::WindowWidth() x
  // WindowHeight()), drops an open text entry and redraws; the back buffer is new. Default: nothing.
  virtual void OnScaleChanged() {}
};
