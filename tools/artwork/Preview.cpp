// Preview composition through the raster library's PNG loader and source-alpha blit.
#include "Preview.h"

#include "Strips.h"

#include "pix/PIX_Blit.h"
#include "pix/PIX_PNG.h"

#include <cmath>
#include <memory>

bool ComposePreview(const std::string& dir, double frameFraction, bool litSwitches, double scale,
                    PIX_MemBitmap* out) {
  std::unique_ptr<PIX_IBitmap> bg(PIX_LoadPNG((dir + "/BG.png").c_str()));
  if (!bg) return false;
  PIX_Copy(out, bg.get());
  for (const StripInfo& s : AllStrips()) {
    if (s.file == "BG.png") continue;
    std::unique_ptr<PIX_IBitmap> strip(PIX_LoadPNG((dir + "/" + s.file).c_str()));
    if (!strip) return false;
    const int fh = strip->getHeight() / s.frames;
    int k = (int)std::lround(frameFraction * (s.frames - 1));
    if (s.frames == 2) k = litSwitches ? 1 : 0;
    PIX_Blit(out, strip.get(), (int)std::lround(s.x * scale), (int)std::lround(s.y * scale), 0, k * fh,
             strip->getWidth(), fh, 1.0f, PIX_BLIT_USE_SRC_ALPHA);
  }
  return true;
}
