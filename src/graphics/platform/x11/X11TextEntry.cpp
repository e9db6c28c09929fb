// The text entry's child window.
#include "graphics/platform/x11/X11TextEntry.h"

#include "graphics/platform/shared/TextEntryView.h"

bool X11TextEntry::Open(Display* display, Window parent, const X11Presenter* presenter, const IRECT& rect,
                        PIX_IFont* font, const IText& style, const char* text, const char* filter,
                        int maxLength) {
  Close();
  if (rect.W() <= 0 || rect.H() <= 0 || !mBitmap.resize(rect.W(), rect.H())) return false;
  XSetWindowAttributes attrs;
  unsigned long mask = presenter->FillWindowAttributes(&attrs);
  // Presses inside the field are its own; letting them through would read as a click outside.
  attrs.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask;
  mask |= CWEventMask;
  mWindow = XCreateWindow(display, parent, rect.L, rect.T, static_cast<unsigned>(rect.W()),
                          static_cast<unsigned>(rect.H()), 0, presenter->Depth(), InputOutput,
                          presenter->GetVisual(), mask, &attrs);
  if (!mWindow) return false;
  mDisplay = display;
  mPresenter = presenter;
  mGC = XCreateGC(display, mWindow, 0, nullptr);
  mFont = font;
  mStyle = style;
  mModel.Reset(text, filter, maxLength);
  XMapRaised(display, mWindow);
  Paint();
  return true;
}

void X11TextEntry::Close() {
  if (!mWindow) return;
  if (mGC) XFreeGC(mDisplay, mGC);
  XDestroyWindow(mDisplay, mWindow);
  mGC = nullptr;
  mWindow = 0;
}

void X11TextEntry::Paint() {
  if (!mWindow) return;
  PaintTextEntry(&mBitmap, mFont, mStyle, mModel);
  mPresenter->Put(mWindow, mGC, &mBitmap, 0, 0, mBitmap.getWidth(), mBitmap.getHeight());
  XFlush(mDisplay);
}
