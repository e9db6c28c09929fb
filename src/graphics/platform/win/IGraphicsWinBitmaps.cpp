// The editor's bitmaps: its back buffer as the presenter takes it, and its images. Away from the
// system's headers, whose RECT and HDC our drawing layer's names would meet.
#include "graphics/platform/win/IGraphicsWin.h"

#include "graphics/platform/win/WinPaths.h"
#include "pix/PIX_PNG.h"
#include "pix/PIX_SysBitmap.h"

PIX_IBitmap* IGraphicsWin::BackBufferBitmap() const { return GetBackBuffer(); }

PIX_IBitmap* IGraphicsWin::OSLoadBitmap(int, const char* name) {
  const std::string resource = PNGLeafName(name);
  return resource.empty() ? nullptr : PIX_LoadPNGFromNamedResource(resource.c_str());
}
