// IGraphicsHeadless: the window half of the editor engine, in memory. Presenting, prompts, menus,
// file panels, alerts and URLs are recorded and answered from a script that tests or tools set,
// and images load from a resource folder. Tests drive editors with it; tools render editors
// offscreen with it.
#pragma once

#include "graphics/IGraphics.h"

#include <deque>
#include <string>
#include <vector>

class IGraphicsHeadless : public IGraphics {
 public:
  // A menu answer that dismisses the menu.
  static constexpr int kDismissMenu = -1;

  enum EPathKind {
    kPathHost = 0,
    kPathPlugin,
    kPathDesktop,
    kPathAppSupport,
    kPathSystemAppSupport,
    kPathSandboxSafe,
    kNumPathKinds
  };

  struct TextEntry {
    IControl* mControl = nullptr;
    IParam* mParam = nullptr;
    IRECT mRect;
    std::string mText;
  };

  struct Menu {
    std::vector<std::string> mItems;
    int mChecked = -1;  // first checked item
    IRECT mRect;
  };

  struct FilePrompt {
    EFileAction mAction = kFileOpen;
    std::string mFile, mDir, mExtensions;
  };

  struct Alert {
    std::string mText, mCaption;
    int mType = 0;
  };

  IGraphicsHeadless(IPlugin* plug, int w, int h, int fps = 0);
  ~IGraphicsHeadless() override;

  // ---- Images ------------------------------------------------------------------------------------
  // Folder that image names are looked up in by their last path component; empty (the default)
  // means the plug-in bundle's resources.
  void SetResourceDir(const char* dir) { mResourceDir = dir ? dir : ""; }
  // With a resource folder set, images found there are decoded when first drawn, as the windows'
  // images are; off by default.
  void SetDeferImages(bool defer) { mDeferImages = defer; }
  int NBitmapLoads() const { return mBitmapLoads; }

  // ---- Presentation ------------------------------------------------------------------------------
  int NPresents() const { return mPresents; }
  // Union of every presented rectangle since the last reset.
  const IRECT& PresentedArea() const { return mPresented; }
  void ResetPresents();
  // The back buffer's pixels, row by row without padding; empty before PrepDraw.
  std::vector<PIX_Pixel> Snapshot();
  // Pixels that differ from a snapshot; every pixel counts when the sizes differ.
  int CountDifferences(const std::vector<PIX_Pixel>& snapshot);
  // Writes the back buffer as an 8-bit RGBA PNG file.
  bool SaveBackBuffer(const char* path);

  // Text entries, menus and file prompts need an open window (OpenWindow), as on a real system.

  // ---- Text entry --------------------------------------------------------------------------------
  bool TextEntryOpen() const { return mTextEntryOpen; }
  // The entry opened last (still valid after it closed).
  const TextEntry& LastTextEntry() const { return mTextEntry; }
  int NTextEntries() const { return mNTextEntries; }
  // Ends the open entry as if the user typed text and confirmed it; false when none is open.
  bool TypeIntoTextEntry(const char* text);

  // ---- Scripted answers --------------------------------------------------------------------------
  // Queued in order; an empty queue dismisses menus, cancels file prompts and answers message
  // boxes with 0.
  void QueueMenuChoice(int itemIdx) { mMenuAnswers.push_back(itemIdx); }
  // An empty path cancels.
  void QueueFileChoice(const char* path) { mFileAnswers.push_back(path ? path : ""); }
  void QueueMessageBoxAnswer(int answer) { mMessageBoxAnswers.push_back(answer); }
  void SetOpenURLResult(bool ok) { mOpenURLResult = ok; }
  void SetClipboardText(const char* text) { mClipboard = text ? text : ""; }
  void SetPath(EPathKind kind, const char* path);

  // ---- What was asked ----------------------------------------------------------------------------
  const std::vector<Menu>& Menus() const { return mMenus; }
  const std::vector<FilePrompt>& FilePrompts() const { return mFilePrompts; }
  const std::vector<Alert>& Alerts() const { return mAlerts; }
  const std::vector<std::string>& OpenedURLs() const { return mURLs; }
  const std::vector<IRECT>& Tooltips() const { return mTooltips; }
  void* WindowParent() const { return mParent; }
  bool CursorHidden() const { return mCursorHidden; }

  // ---- Window operations -------------------------------------------------------------------------
  bool DrawScreen(IRECT* r) override;
  void ForceEndUserEdit() override;
  const char* GetGUIAPI() override { return "Headless"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                       IParam* param) override;
  void HostPath(StrBuf* path) override { path->Set(mPaths[kPathHost].c_str()); }
  void PluginPath(StrBuf* path) override { path->Set(mPaths[kPathPlugin].c_str()); }
  void DesktopPath(StrBuf* path) override { path->Set(mPaths[kPathDesktop].c_str()); }
  void AppSupportPath(StrBuf* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(StrBuf* path) override { path->Set(mPaths[kPathSandboxSafe].c_str()); }
  void PromptForFile(StrBuf* fileName, EFileAction action = kFileOpen, StrBuf* dir = nullptr,
                     const char* extensions = "") override;
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindow() override { return mWindow; }
  bool GetTextFromClipboard(StrBuf* str) override;
  void HideMouseCursor() override { mCursorHidden = true; }
  void ShowMouseCursor() override { mCursorHidden = false; }
  void UpdateTooltips() override;
  PIX_IBitmap* OSLoadBitmap(int ID, const char* name) override;
  std::string OSBitmapFile(int ID, const char* name) override;

 private:
  std::string mResourceDir;
  bool mDeferImages = false;
  int mBitmapLoads = 0;

  int mPresents = 0;
  IRECT mPresented;

  bool mTextEntryOpen = false;
  int mNTextEntries = 0;
  TextEntry mTextEntry;

  std::deque<int> mMenuAnswers;
  std::deque<std::string> mFileAnswers;
  std::deque<int> mMessageBoxAnswers;
  bool mOpenURLResult = true;
  std::string mClipboard;
  std::string mPaths[kNumPathKinds];

  std::vector<Menu> mMenus;
  std::vector<FilePrompt> mFilePrompts;
  std::vector<Alert> mAlerts;
  std::vector<std::string> mURLs;
  std::vector<IRECT> mTooltips;

  // Any non-null token stands in for the native view.
  int mWindowToken = 0;
  void* mWindow = nullptr;
  void* mParent = nullptr;
};
