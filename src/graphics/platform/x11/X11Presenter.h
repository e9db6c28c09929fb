// X11Presenter: the visual our windows are created with and the copy of a rectangle of a raster
// bitmap (0xAARRGGBB words) into one of them.
//
// A 24-bit TrueColor visual with red, green and blue in the usual places, stored as 32-bit
// pixels, takes the bitmap's words as they are: the image wraps the bitmap's memory. Any other
// TrueColor default visual gets the rectangle converted pixel by pixel; on anything else
// (palette visuals) nothing is shown rather than garbage. Pixels go through the connection
// (XPutImage), not shared memory: only dirty areas are sent, and a remote or sandboxed display
// works the same.
#pragma once

#include "pix/PIX_IBitmap.h"

#include <X11/Xlib.h>

class X11Presenter {
 public:
  enum class EPath {
    kNone = 0,
    kDirect,
    kConvert,
  };

  void Init(Display* display, int screen);
  // Frees the colormap made for a non-default visual.
  void Release();

  EPath Path() const { return mPath; }
  Visual* GetVisual() const { return mVisual; }
  int Depth() const { return mDepth; }
  Colormap GetColormap() const { return mColormap; }

  // Attributes for XCreateWindow with this visual: colormap, border pixel (and the mask bits).
  unsigned long FillWindowAttributes(XSetWindowAttributes* attrs) const;

  // Copies bitmap pixels (x, y, w, h) to the same place in the drawable, clipped to the bitmap.
  void Put(Drawable drawable, GC gc, PIX_IBitmap* bitmap, int x, int y, int w, int h) const;

 private:
  void PutConverted(Drawable drawable, GC gc, PIX_IBitmap* bitmap, int x, int y, int w, int h) const;

  Display* mDisplay = nullptr;
  Visual* mVisual = nullptr;
  int mDepth = 0;
  Colormap mColormap = 0;
  bool mOwnColormap = false;
  EPath mPath = EPath::kNone;
};
