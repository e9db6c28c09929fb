// Presenting with SetDIBitsToDevice.
#include "graphics/platform/win/WinPresenter.h"

#include <algorithm>

bool PresentBitmap(HDC dc, PIX_IBitmap* bitmap, int x, int y, int w, int h) {
  if (!dc || !bitmap || !bitmap->getBits()) return false;
  const int right = std::min(x + w, bitmap->getWidth()), bottom = std::min(y + h, bitmap->getHeight());
  x = std::max(x, 0);
  y = std::max(y, 0);
  if (right <= x || bottom <= y) return false;
  const int rows = bottom - y;
  // The DIB starts at the rectangle's first row and is exactly its height, top-down: the source
  // origin is then 0 whichever way up the system counts a top-down DIB's rows.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = bitmap->getRowSpan();
  info.bmiHeader.biHeight = -rows;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const PIX_Pixel* first = bitmap->getBits() + static_cast<size_t>(y) * bitmap->getRowSpan();
  return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(right - x), static_cast<DWORD>(rows), x, 0, 0,
                           static_cast<UINT>(rows), first, &info, DIB_RGB_COLORS) > 0;
}
