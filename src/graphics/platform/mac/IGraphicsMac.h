// IGraphicsMac: the editor engine's macOS window. It puts the editor view into a host's NSView
// (or a borderless child of a host window), presents the back buffer, and offers the native
// text fields, menus, panels, alerts, paths, cursor, clipboard and bundle images the engine asks
// for. Plain C++, so the plug-in's .cpp files can create one; the Cocoa side is in the .mm files,
// which are built only for macOS.
#pragma once

#include "base/StrBuf.h"
#include "graphics/IGraphics.h"

typedef struct CGColorSpace* CGColorSpaceRef;

class IGraphicsMac : public IGraphics {
 public:
  IGraphicsMac(IPlugin* plug, int w, int h, int fps = 0);
  ~IGraphicsMac() override;

  // Identifier of the plug-in bundle that carries the images; set right after construction.
  void SetBundleID(const char* bundleID) { mBundleID.Set(bundleID); }
  const char* GetBundleID() const { return mBundleID.Get(); }

  // The system version code (0x1070 for 10.7), also reported to the trace hook.
  static int GetUserOSVersion();

  bool DrawScreen(IRECT* r) override;
  bool MeasureIText(IText* txt, const char* str, IRECT* destRect) override;
  void ForceEndUserEdit() override;
  void Resize(int w, int h) override;
  bool WindowIsOpen() override { return mGraphicsCocoa != nullptr; }
  const char* GetGUIAPI() override { return "Cocoa GUI"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                       IParam* param) override;
  void HostPath(StrBuf* path) override;
  void PluginPath(StrBuf* path) override;
  void DesktopPath(StrBuf* path) override;
  void AppSupportPath(StrBuf* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(StrBuf* path) override;
  void PromptForFile(StrBuf* fileName, EFileAction action = kFileOpen, StrBuf* dir = nullptr,
                     const char* extensions = "") override;
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  void* OpenWindow(void* parentView) override;
  using IGraphics::OpenWindow;
  void AttachSubWindow(void* hostWindowRef) override;
  void RemoveSubWindow() override;
  void CloseWindow() override;
  void* GetWindow() override { return mGraphicsCocoa; }
  bool GetTextFromClipboard(StrBuf* str) override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  void UpdateTooltips() override;
  PIX_IBitmap* OSLoadBitmap(int ID, const char* name) override;

 protected:
  // The view (and the host sub-window) take the new size in points; the view redraws.
  void OnScaleChanged() override;

 private:
  // The open editor view (IGraphicsCocoa*), holding one reference; null when closed.
  void* mGraphicsCocoa = nullptr;
  StrBuf mBundleID;
  // Made on the first present, released with the engine.
  CGColorSpaceRef mColorSpace = nullptr;
  // The host window wrapper and our borderless child of it, while AttachSubWindow's window is up;
  // one reference each.
  void* mHostNSWindow = nullptr;
  void* mSubNSWindow = nullptr;
};

// The bundle's PNG resource named by the file name's last component; null when the name is not a
// PNG, the bundle or resource is missing, or the image does not decode. The caller owns it.
PIX_IBitmap* LoadImgFromResourceOSX(const char* bundleID, const char* fileName);
// The system version code from Gestalt's "sysv" selector; 0 when unavailable.
int GetSystemVersion();
