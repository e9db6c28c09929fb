// IGraphicsHeadless: every window operation realised in memory, answered from the script.
#include "graphics/platform/headless/IGraphicsHeadless.h"

#include "graphics/IControl.h"
#include "graphics/IPopupMenu.h"
#include "pix/PIX_PNG.h"
#include "pix/PIX_PNGWrite.h"
#include "pix/PIX_SysBitmap.h"

namespace {
// Images are found by their last path component, as the bundle windows find them.
const char* LastPathComponent(const char* name) {
  const char* leaf = name;
  for (const char* p = name; *p; ++p)
    if (*p == '/' || *p == '\\') leaf = p + 1;
  return leaf;
}
}  // namespace

IGraphicsHeadless::IGraphicsHeadless(IPlugin* plug, int w, int h, int fps) : IGraphics(plug, w, h, fps) {}

IGraphicsHeadless::~IGraphicsHeadless() { CloseWindow(); }

std::string IGraphicsHeadless::OSBitmapFile(int, const char* name) {
  if (!mDeferImages || mResourceDir.empty() || !name) return std::string();
  ++mBitmapLoads;
  return mResourceDir + "/" + LastPathComponent(name);
}

PIX_IBitmap* IGraphicsHeadless::OSLoadBitmap(int, const char* name) {
  if (!name) return nullptr;
  ++mBitmapLoads;
  const char* leaf = LastPathComponent(name);
  if (mResourceDir.empty()) return PIX_LoadPNGFromNamedResource(leaf);
  return PIX_LoadPNG((mResourceDir + "/" + leaf).c_str());
}

bool IGraphicsHeadless::DrawScreen(IRECT* r) {
  ++mPresents;
  if (r) mPresented = mPresented.Union(*r);
  return true;
}

void IGraphicsHeadless::ResetPresents() {
  mPresents = 0;
  mPresented.Clear();
}

std::vector<PIX_Pixel> IGraphicsHeadless::Snapshot() {
  std::vector<PIX_Pixel> pixels;
  PIX_SysBitmap* back = GetBackBuffer();
  if (!back || !back->getBits()) return pixels;
  const int w = back->getWidth(), h = back->getHeight(), span = back->getRowSpan();
  pixels.reserve(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const PIX_Pixel* row = back->getBits() + static_cast<long>(y) * span;
    pixels.insert(pixels.end(), row, row + w);
  }
  return pixels;
}

int IGraphicsHeadless::CountDifferences(const std::vector<PIX_Pixel>& snapshot) {
  const std::vector<PIX_Pixel> now = Snapshot();
  if (now.size() != snapshot.size())
    return static_cast<int>(now.size() > snapshot.size() ? now.size() : snapshot.size());
  int n = 0;
  for (size_t i = 0; i < now.size(); ++i) n += now[i] != snapshot[i];
  return n;
}

bool IGraphicsHeadless::SaveBackBuffer(const char* path) {
  PIX_SysBitmap* back = GetBackBuffer();
  return back && PIX_WritePNGFile(back, path);
}

void IGraphicsHeadless::CreateTextEntry(IControl* control, IText*, IRECT* textRect, const char* str,
                                        IParam* param) {
  // One field at a time, and only in an open window, as in a real one.
  if (!control || mTextEntryOpen || !mWindow) return;
  mTextEntryOpen = true;
  ++mNTextEntries;
  mTextEntry.mControl = control;
  mTextEntry.mParam = param;
  mTextEntry.mRect = textRect ? *textRect : IRECT();
  mTextEntry.mText = str ? str : "";
}

bool IGraphicsHeadless::TypeIntoTextEntry(const char* text) {
  if (!mTextEntryOpen) return false;
  mTextEntryOpen = false;
  mTextEntry.mText = text ? text : "";
  if (mTextEntry.mParam)
    SetFromStringAfterPrompt(mTextEntry.mControl, mTextEntry.mParam, mTextEntry.mText.c_str());
  else
    mTextEntry.mControl->TextFromTextEntry(mTextEntry.mText.c_str());
  return true;
}

void IGraphicsHeadless::ForceEndUserEdit() { mTextEntryOpen = false; }

IPopupMenu* IGraphicsHeadless::CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) {
  ReleaseMouseCapture();
  if (!menu || !mWindow) return nullptr;
  Menu shown;
  shown.mRect = areaRect ? *areaRect : IRECT();
  for (int i = 0; i < menu->GetNItems(); ++i) {
    IPopupMenuItem* item = menu->GetItem(i);
    shown.mItems.push_back(item->GetText());
    shown.mEnabled.push_back(item->GetEnabled());
    if (shown.mChecked < 0 && item->GetChecked()) shown.mChecked = i;
  }
  mMenus.push_back(shown);

  int choice = kDismissMenu;
  if (!mMenuAnswers.empty()) {
    choice = mMenuAnswers.front();
    mMenuAnswers.pop_front();
  }
  // A disabled item cannot be chosen: the menu stays up until dismissed.
  if (choice < 0 || choice >= menu->GetNItems() || !menu->GetItem(choice)->GetEnabled()) return nullptr;
  menu->SetChosenItemIdx(choice);
  return menu;
}

int IGraphicsHeadless::ShowMessageBox(const char* text, const char* caption, int type) {
  mAlerts.push_back({text ? text : "", caption ? caption : "", type});
  if (mMessageBoxAnswers.empty()) return 0;
  const int answer = mMessageBoxAnswers.front();
  mMessageBoxAnswers.pop_front();
  return answer;
}

void IGraphicsHeadless::SetPath(EPathKind kind, const char* path) {
  if (kind >= 0 && kind < kNumPathKinds) mPaths[kind] = path ? path : "";
}

bool IGraphicsHeadless::ScreenWorkArea(int* width, int* height) const {
  if (mWorkWidth <= 0 || mWorkHeight <= 0 || !width || !height) return false;
  *width = mWorkWidth;
  *height = mWorkHeight;
  return true;
}

void IGraphicsHeadless::AppSupportPath(StrBuf* path, bool isSystem) {
  path->Set(mPaths[isSystem ? kPathSystemAppSupport : kPathAppSupport].c_str());
}

void IGraphicsHeadless::PromptForFile(StrBuf* fileName, EFileAction action, StrBuf* dir,
                                      const char* extensions) {
  if (!fileName) return;
  if (!mWindow) {
    fileName->Set("");
    return;
  }
  mFilePrompts.push_back({action, fileName->Get(), dir ? dir->Get() : "", extensions ? extensions : ""});
  fileName->Set("");
  if (mFileAnswers.empty()) return;
  const std::string answer = mFileAnswers.front();
  mFileAnswers.pop_front();
  if (answer.empty()) return;
  fileName->Set(answer.c_str());
  if (dir) {
    const size_t slash = answer.rfind('/');
    dir->Set(slash == std::string::npos ? "" : answer.substr(0, slash + 1).c_str());
  }
}

bool IGraphicsHeadless::OpenURL(const char* url, const char*, const char*, const char*) {
  mURLs.push_back(url ? url : "");
  return mOpenURLResult;
}

void* IGraphicsHeadless::OpenWindow(void* parent) {
  CloseWindow();
  mParent = parent;
  mWindow = &mWindowToken;
  UpdateTooltips();
  return mWindow;
}

void IGraphicsHeadless::CloseWindow() {
  ForceEndUserEdit();
  mWindow = nullptr;
  mParent = nullptr;
  mTooltips.clear();
}

bool IGraphicsHeadless::GetTextFromClipboard(StrBuf* str) {
  if (!str) return false;
  str->Set(mClipboard.c_str());
  return !mClipboard.empty();
}

void IGraphicsHeadless::UpdateTooltips() {
  if (!mWindow || !TooltipsEnabled()) return;
  mTooltips.clear();
  for (int i = 0; i < NControls(); ++i) {
    IControl* control = GetControl(i);
    if (!control->IsHidden() && !control->GetTargetRECT()->Empty())
      mTooltips.push_back(*control->GetTargetRECT());
  }
}
