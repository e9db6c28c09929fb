// IURLControl: an invisible area that opens a web address (or a file) when clicked, with a second
// address to try when the first cannot be opened.
#pragma once

#include "graphics/IControl.h"

class IURLControl : public IControl {
 public:
  static constexpr int kURLBufSize = 512;

  // Longer strings are cut to fit the buffers.
  IURLControl(IPlugin* plug, const IRECT& rect, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics*) override { return true; }

  const char* GetURL() const { return mURL; }
  const char* GetBackupURL() const { return mBackupURL; }
  const char* GetErrorMessage() const { return mErrMsg; }

 protected:
  char mURL[kURLBufSize] = {};
  char mBackupURL[kURLBufSize] = {};
  char mErrMsg[kURLBufSize] = {};
};
