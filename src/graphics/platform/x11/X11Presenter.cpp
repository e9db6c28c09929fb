// Presenting raster bitmaps in X windows.
#include "graphics/platform/x11/X11Presenter.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
bool Stores24BitIn32(Display* display) {
  int n = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &n);
  bool found = false;
  for (int i = 0; i < n; ++i)
    if (formats[i].depth == 24 && formats[i].bits_per_pixel == 32) found = true;
  if (formats) XFree(formats);
  return found;
}

int NativeByteOrder() {
  const uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
}

// Places an 8-bit channel into a visual's colour mask.
struct Channel {
  int shift = 0, bits = 0;

  explicit Channel(unsigned long mask) {
    if (!mask) return;
    while (!(mask & 1)) {
      mask >>= 1;
      ++shift;
    }
    while (mask & 1) {
      mask >>= 1;
      ++bits;
    }
  }
  unsigned long Place(unsigned value) const {
    const unsigned long v = bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8) : value >> (8 - bits);
    return v << shift;
  }
};
}  // namespace

void X11Presenter::Init(Display* display, int screen) {
  Release();
  mDisplay = display;
  XVisualInfo info;
  if (XMatchVisualInfo(display, screen, 24, TrueColor, &info) && info.red_mask == 0xFF0000 &&
      info.green_mask == 0xFF00 && info.blue_mask == 0xFF && Stores24BitIn32(display)) {
    mVisual = info.visual;
    mDepth = 24;
    mPath = EPath::kDirect;
  } else {
    mVisual = DefaultVisual(display, screen);
    mDepth = DefaultDepth(display, screen);
    mPath = mVisual->c_class == TrueColor ? EPath::kConvert : EPath::kNone;
  }
  mOwnColormap = mVisual != DefaultVisual(display, screen);
  mColormap = mOwnColormap ? XCreateColormap(display, RootWindow(display, screen), mVisual, AllocNone)
                           : DefaultColormap(display, screen);
}

void X11Presenter::Release() {
  if (mDisplay && mOwnColormap && mColormap) XFreeColormap(mDisplay, mColormap);
  mColormap = 0;
  mOwnColormap = false;
  mPath = EPath::kNone;
}

unsigned long X11Presenter::FillWindowAttributes(XSetWindowAttributes* attrs) const {
  // Explicit colormap and border: a visual other than the parent's needs both. No background:
  // the server must not clear what we are about to paint.
  attrs->colormap = mColormap;
  attrs->border_pixel = 0;
  attrs->background_pixmap = None;
  return CWColormap | CWBorderPixel | CWBackPixmap;
}

void X11Presenter::Put(Drawable drawable, GC gc, PIX_IBitmap* bitmap, int x, int y, int w, int h) const {
  if (!mDisplay || !bitmap || !bitmap->getBits()) return;
  const int bw = bitmap->getWidth(), bh = bitmap->getHeight();
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, bw), y1 = std::min(y + h, bh);
  if (x1 <= x0 || y1 <= y0) return;
  if (mPath == EPath::kConvert) return PutConverted(drawable, gc, bitmap, x0, y0, x1 - x0, y1 - y0);
  if (mPath != EPath::kDirect) return;

  XImage* image = XCreateImage(mDisplay, mVisual, 24, ZPixmap, 0, reinterpret_cast<char*>(bitmap->getBits()),
                               bw, bh, 32, bitmap->getRowSpan() * 4);
  if (!image) return;
  // The words are in this machine's order; Xlib swaps for a server of the other.
  image->byte_order = NativeByteOrder();
  XPutImage(mDisplay, drawable, gc, image, x0, y0, x0, y0, static_cast<unsigned>(x1 - x0),
            static_cast<unsigned>(y1 - y0));
  image->data = nullptr;  // the bitmap's memory is not the image's to free
  XDestroyImage(image);
}

void X11Presenter::PutConverted(Drawable drawable, GC gc, PIX_IBitmap* bitmap, int x, int y, int w,
                                int h) const {
  XImage* image = XCreateImage(mDisplay, mVisual, static_cast<unsigned>(mDepth), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
  if (!image) return;
  image->data =
      static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(h)));
  if (!image->data) {
    XDestroyImage(image);
    return;
  }
  const Channel red(mVisual->red_mask), green(mVisual->green_mask), blue(mVisual->blue_mask);
  const PIX_Pixel* bits = bitmap->getBits();
  const int span = bitmap->getRowSpan();
  for (int j = 0; j < h; ++j) {
    const PIX_Pixel* row = bits + static_cast<long>(y + j) * span + x;
    for (int i = 0; i < w; ++i)
      XPutPixel(image, i, j,
                red.Place(PIX_GetR(row[i])) | green.Place(PIX_GetG(row[i])) | blue.Place(PIX_GetB(row[i])));
  }
  XPutImage(mDisplay, drawable, gc, image, 0, 0, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
  XDestroyImage(image);  // frees the converted pixels too
}
