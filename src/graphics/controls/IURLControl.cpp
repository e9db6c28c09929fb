// IURLControl: opening the link and its fallback.
#include "graphics/controls/IURLControl.h"

#include "graphics/IGraphics.h"

#include <cstring>

namespace {
void CopyCut(char (&dest)[IURLControl::kURLBufSize], const char* src) {
  if (src && *src) std::strncpy(dest, src, IURLControl::kURLBufSize - 1);
}
}  // namespace

IURLControl::IURLControl(IPlugin* plug, const IRECT& rect, const char* url, const char* backupURL,
                         const char* errMsgOnFailure)
    : IControl(plug, rect) {
  CopyCut(mURL, url);
  CopyCut(mBackupURL, backupURL);
  CopyCut(mErrMsg, errMsgOnFailure);
}

void IURLControl::OnMouseDown(int, int, IMouseMod*) {
  IGraphics* gui = GetGUI();
  if (!gui) return;
  if (mURL[0] && gui->OpenURL(mURL, mErrMsg, nullptr, nullptr)) return;
  if (mBackupURL[0]) gui->OpenURL(mBackupURL, mErrMsg, nullptr, nullptr);
}
