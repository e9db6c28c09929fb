// Preview composition through the raster library's PNG loader and source-alpha blit.
#include "Preview.h"

#include "plugin/artwork/Strips.h"

#include "pix/PIX_Blit.h"
#include "pix/PIX_PNG.h"

#include <cmath>
#include <cstdio>
#include <memory>

std::string StripFileName(const std::string& file, double scale) {
  if (scale == 1.0) return file;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "@%gx.png", scale);
  return file.substr(0, file.size() - 4) + suffix;
}

bool ComposePreview(const std::string& dir, double frameFraction, bool litSwitches, double scale,
                    PIX_MemBitmap* out) {
  std::unique_ptr<PIX_IBitmap> bg(PIX_LoadPNG((dir + "/" + StripFileName("BG.png", scale)).c_str()));
  if (!bg) return false;
  PIX_Copy(out, bg.get());
  for (const StripInfo& s : AllStrips()) {
    if (s.file == "BG.png") continue;
    std::unique_ptr<PIX_IBitmap> strip(PIX_LoadPNG((dir + "/" + StripFileName(s.file, scale)).c_str()));
    if (!strip) return false;
    const int fh = strip->getHeight() / s.frames;
    int k = (int)std::lround(frameFraction * (s.frames - 1));
    if (s.frames == 2) k = litSwitches ? 1 : 0;
    PIX_Blit(out, strip.get(), (int)std::lround(s.x * scale), (int)std::lround(s.y * scale), 0, k * fh,
             strip->getWidth(), fh, 1.0f, PIX_BLIT_USE_SRC_ALPHA);
  }
  return true;
}
