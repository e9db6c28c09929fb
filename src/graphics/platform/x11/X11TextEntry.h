// X11TextEntry: the value prompt's own small child window over the editor. It holds the editing
// state and paints it with the engine's fonts; keys reach it through the editor window, which
// keeps the focus, and the editor decides what committing or cancelling means.
#pragma once

#include "graphics/IRECT.h"
#include "graphics/IText.h"
#include "graphics/platform/shared/TextEntryModel.h"
#include "graphics/platform/x11/X11Presenter.h"
#include "pix/PIX_MemBitmap.h"

#include <X11/Xlib.h>

class X11TextEntry {
 public:
  X11TextEntry() = default;
  ~X11TextEntry() { Close(); }
  X11TextEntry(const X11TextEntry&) = delete;
  X11TextEntry& operator=(const X11TextEntry&) = delete;

  // The window covers rect (editor coordinates) inside parent; false when it cannot be made.
  bool Open(Display* display, Window parent, const X11Presenter* presenter, const IRECT& rect,
            PIX_IFont* font, const IText& style, const char* text, const char* filter, int maxLength);
  void Close();
  // Forgets the window without a word to the server, once the connection is gone.
  void Abandon() {
    mWindow = 0;
    mGC = nullptr;
  }

  bool IsOpen() const { return mWindow != 0; }
  Window GetWindow() const { return mWindow; }
  TextEntryModel& Model() { return mModel; }
  void Paint();

 private:
  Display* mDisplay = nullptr;
  const X11Presenter* mPresenter = nullptr;
  Window mWindow = 0;
  GC mGC = nullptr;
  PIX_MemBitmap mBitmap;
  PIX_IFont* mFont = nullptr;
  IText mStyle;
  TextEntryModel mModel;
};
