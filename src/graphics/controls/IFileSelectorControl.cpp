// IFileSelectorControl: the prompt cycle and the file name hand-over.
#include "graphics/controls/IFileSelectorControl.h"

IFileSelectorControl::IFileSelectorControl(IPlugin* plug, const IRECT& rect, int paramIdx,
                                           const IBitmap* bitmap, EFileAction action, const char* dir,
                                           const char* extensions)
    : IControl(plug, rect, paramIdx),
      mBitmap(bitmap ? *bitmap : IBitmap()),
      mDir(dir),
      mExtensions(extensions),
      mFileAction(action) {}

void IFileSelectorControl::OnMouseDown(int, int, IMouseMod*) {
  // Without a window there is nobody to ask, and flipping the value would announce a choice.
  IGraphics* gui = GetGUI();
  if (!gui || !gui->WindowIsOpen()) return;
  mState = kFSSelecting;
  SetDirty(false);
  gui->PromptForFile(&mFile, mFileAction, &mDir, mExtensions.Get());
  const double next = GetValue() + 1.0;
  SetValue(next > 1.0 ? 0.0 : next);
  mState = kFSDone;
  SetDirty(true);
}

bool IFileSelectorControl::Draw(IGraphics* graphics) {
  if (mState == kFSSelecting && mBitmap.mData) graphics->DrawBitmap(&mBitmap, &mRECT, 0, 0, nullptr);
  return true;
}

bool IFileSelectorControl::IsDirty() {
  if (IControl::IsDirty()) return true;
  if (mState == kFSDone) {
    mState = kFSNone;
    return true;
  }
  return false;
}

void IFileSelectorControl::GetLastSelectedFileForPlug(StrBuf* fileName) const {
  if (fileName) fileName->Set(mFile.Get());
}

void IFileSelectorControl::SetLastSelectedFileFromPlug(const char* fileName) { mFile.Set(fileName); }
