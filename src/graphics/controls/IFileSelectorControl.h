// IFileSelectorControl: asks the user for a file when clicked. The plug-in learns of a choice
// through its parameter, which flips between 0 and 1 on every completed prompt, and then reads the
// file name back from the control.
#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"

class IFileSelectorControl : public IControl {
 public:
  enum EFileSelectorState {
    kFSNone = 0,
    kFSSelecting = 1,
    kFSDone = 2,
  };

  // extensions: allowed file types separated by spaces, e.g. "wav aif".
  IFileSelectorControl(IPlugin* plug, const IRECT& rect, int paramIdx, const IBitmap* bitmap,
                       EFileAction action = kFileOpen, const char* dir = "", const char* extensions = "");

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  // The bitmap shows only while the prompt is open.
  bool Draw(IGraphics* graphics) override;
  // A finished selection asks for one more redraw, which clears the "selecting" image.
  bool IsDirty() override;

  void GetLastSelectedFileForPlug(StrBuf* fileName) const;
  void SetLastSelectedFileFromPlug(const char* fileName);
  EFileSelectorState GetState() const { return mState; }
  const char* GetDir() const { return mDir.Get(); }

 protected:
  IBitmap mBitmap;
  StrBuf mDir, mFile, mExtensions;
  EFileAction mFileAction;
  EFileSelectorState mState = kFSNone;
};
